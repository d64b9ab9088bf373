#pragma once
// Private to the regular-expression engine: the byte program's layout, the
// compiled program with its start optimisations, and the compiler and matcher
// that TRegex drives. Nothing outside SrcRegex*.cpp includes this header.

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "SrcEdit/Source/SrcRegex.h"

namespace vk {

// Opcodes of the byte program. The reserved ones are never emitted; the
// matcher and the dump reject them like any unknown opcode.
enum TRegexOp : uint8_t {
  opEnd = 0,
  opBol = 1,
  opEol = 2,
  opAny = 3,
  opAnyOf = 4,
  opAnyBut = 5,
  opBranch = 6,
  opBack = 7,
  opExactly = 8,
  opNothing = 9,
  opStar = 10,
  opPlus = 11,
  opAnyDigit = 12,
  opNotDigit = 13,
  opAnyLetter = 14,
  opNotLetter = 15,
  opAnySpace = 16,
  opNotSpace = 17,
  opBraces = 18,
  opComment = 19,
  opExactlyCI = 20,
  opAnyOfCI = 21,
  opAnyButCI = 22,
  opLoopEntry = 23,
  opLoop = 24,
  opAnyOfTinySet = 25,
  opAnyButTinySet = 26,
  opAnyOfFullSet = 27,
  opBSubExp = 28,
  opBSubExpCI = 29,
  opStarNG = 30,
  opPlusNG = 31,
  opBracesNG = 32,
  opLoopNG = 33,
  opBolML = 34,
  opEolML = 35,
  opAnyML = 36,
  opBound = 37,
  opNotBound = 38,
  opOpen = 39,   // + group number 1..14
  opClose = 54,  // + group number 1..14
  opLastOpcode = 68,
};

namespace regex_program {

constexpr uint8_t kMagic = 216;
constexpr int kNodeHeaderSize = 5;  // opcode + signed 32-bit next offset
constexpr int kIntSize = 4;
constexpr int kTinySetSize = 3;
constexpr int kFullSetSize = 32;
constexpr int kMaxGroups = 15;  // slot 0 is the whole match
constexpr int kMaxLoopLevels = 10;
constexpr int kMaxRepeat = 2147483647;
constexpr int kMaxBracesArg = 2147483646;

// Parse flags passed upwards while compiling.
constexpr int kFlagNonEmpty = 1;
constexpr int kFlagSingleChar = 2;
constexpr int kFlagRepeatStart = 4;

// The program stores integers little-endian at any byte offset.
static_assert(std::endian::native == std::endian::little);

inline int32_t ReadInt(const uint8_t* at) {
  int32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}
inline void WriteInt(uint8_t* at, int32_t value) { std::memcpy(at, &value, sizeof value); }

inline uint8_t OpOf(const uint8_t* node) { return node[0]; }
inline int32_t NextOffset(const uint8_t* node) { return ReadInt(node + 1); }
inline const uint8_t* Operand(const uint8_t* node) { return node + kNodeHeaderSize; }

// The node that follows along the next offset, or nullptr at a chain's end.
inline const uint8_t* NextNode(const uint8_t* node) {
  int32_t offset = NextOffset(node);
  return offset == 0 ? nullptr : node + offset;
}

inline bool IsGroupOpen(uint8_t op) { return op > opOpen && op < opClose; }
inline bool IsGroupClose(uint8_t op) { return op > opClose && op <= opLastOpcode; }

// Simple and counted repetitions keep min and max right after the header.
inline int32_t RepeatMin(const uint8_t* node) { return ReadInt(Operand(node)); }
inline int32_t RepeatMax(const uint8_t* node) { return ReadInt(Operand(node) + kIntSize); }
// A counted loop's third integer leads back to the loop body.
inline const uint8_t* LoopBody(const uint8_t* node) {
  return node + ReadInt(Operand(node) + 2 * kIntSize);
}

// Bytes from a node to the node that follows it in memory: the header and
// the operand bytes that are no node themselves.
inline size_t NodeSpan(const uint8_t* node) {
  switch (OpOf(node)) {
    case opExactly:
    case opExactlyCI:
      return kNodeHeaderSize + std::strlen(reinterpret_cast<const char*>(Operand(node))) + 1;
    case opAnyOfTinySet:
    case opAnyButTinySet:
      return kNodeHeaderSize + kTinySetSize;
    case opAnyOfFullSet:
      return kNodeHeaderSize + kFullSetSize;
    case opBSubExp:
    case opBSubExpCI:
      return kNodeHeaderSize + 1;
    case opBraces:
    case opBracesNG:
      return kNodeHeaderSize + 2 * kIntSize;
    case opLoop:
    case opLoopNG:
      return kNodeHeaderSize + 3 * kIntSize;
    default:
      return kNodeHeaderSize;
  }
}

}  // namespace regex_program

// A compiled expression with what the search needs besides the nodes.
struct TRegexProgram {
  std::vector<uint8_t> Code;
  int Modifiers = 0;  // the modifiers it was compiled with
  uint8_t StartChar = 0;
  bool Anchored = false;
  int MustHaveOffset = -1;  // operand of the longest required literal
  size_t MustHaveLength = 0;
  TSetOfREChar FirstCharSet;
  // Each loop built from BRANCH and BACK, found by its BACK node, with the
  // node that leaves it; an iteration that consumes nothing leaves there.
  struct TBackLoop {
    const uint8_t* Back;
    const uint8_t* Exit;
  };
  std::vector<TBackLoop> BackLoops;
  // By node offset: the simple repetitions that never give back a pass.
  std::vector<bool> Possessive;
  // By node offset: for the BRANCH of a greedy "*" or "+" loop over "."
  // that stops at line ends, the offset of that "." node (else 0); the
  // matcher repeats it as a simple repetition.
  std::vector<int32_t> LineStarOperand;

  const uint8_t* FirstNode() const { return Code.data() + 1; }
  const char* MustHave() const {
    return MustHaveOffset < 0 ? nullptr : reinterpret_cast<const char*>(Code.data() + MustHaveOffset);
  }
};

// Turns a pattern into a TRegexProgram in two passes: the first counts the
// bytes, the second writes them into a block of exactly that size.
class TRegexCompiler {
public:
  TRegexCompiler(TRegex& owner, const char* pattern);
  TRegexProgram Compile();
  // Bytes from the pattern start to the parse cursor (error positions).
  int CursorPos() const { return static_cast<int>(FCursor - FPattern); }

private:
  static constexpr int kSizingNode = -1;  // node "address" during the sizing pass

  void RunPass(bool sizing);
  [[noreturn]] void Fail(int code);

  // Emitting; nodes are byte offsets into the program.
  int EmitNode(uint8_t op);
  void EmitByte(uint8_t value);
  void EmitInt(int32_t value);
  void InsertOperator(uint8_t op, int operand, int size);
  void Tail(int chain, int target);
  void OpTail(int node, int target);
  int NextOf(int node) const;
  void CheckRoom(size_t bytes) const;

  // Parsing, one level of the grammar each.
  int ParseExpression(bool group, int& flags);
  int ParseBranch(int& flags);
  int ParsePiece(int& flags);
  int ParseAtom(int& flags);
  int ParseGroupOrInline(int& flags);
  int ParseEscapeAtom(int& flags);
  int ParseLiteralRun(int& flags);
  void SkipExtendedFiller();
  bool LineMode() const;
  bool Has(int modifier) const { return (FModifiers & modifier) != 0; }

  // Quantifiers.
  bool ParseBraces(int& min, int& max);
  int BracesNumber(const char* start, const char* end);
  void EmitBraces(int atom, int min, int max, bool lazy);
  void EmitStarLoop(int atom);
  void EmitPlusLoop(int atom);
  void EmitOptional(int atom);
  void EmitCountedLoop(int atom, int min, int max, bool lazy);

  // Escapes and classes.
  uint8_t ParseEscapedChar();
  uint8_t ParseHexEscape();
  int HexDigitAtCursor();
  int ParseClass();
  bool IsClassShorthand(const char* at, const char* letters) const;
  uint8_t ParseClassChar();
  void AddClassMember(TSetOfREChar& members, uint8_t c) const;
  void AddClassRange(TSetOfREChar& members, uint8_t first, uint8_t last, const char* lastAt);
  void AddCharRange(TSetOfREChar& members, uint8_t first, uint8_t last, uint8_t extra) const;
  int EmitClassNode(const TSetOfREChar& members, bool negated);

  // After the emit pass.
  void FindStartOptimisations(TRegexProgram& program, int topFlags) const;
  void FillFirstCharSet(const TRegexProgram& program, const uint8_t* node, TSetOfREChar& set,
                        std::vector<const uint8_t*>& loopsInProgress, bool midway) const;
  void FindBackLoops(TRegexProgram& program) const;
  void FindPossessiveRepeats(TRegexProgram& program) const;

  TRegex& FOwner;
  const char* FPattern;
  const char* FCursor = nullptr;
  int FModifiers = 0;
  int FNextGroup = 1;
  int FTopFlags = 0;
  bool FSizing = true;
  size_t FSize = 0;  // bytes counted (sizing) or written (emit)
  std::vector<uint8_t> FCode;
};

// Runs a program against the input of its TRegex. The backtracking lives on
// an explicit stack, so neither deep nesting nor long input can exhaust the
// machine stack; the stack and the work per search are capped instead.
class TRegexMatcher {
public:
  explicit TRegexMatcher(TRegex& owner) : FOwner(owner) {}
  // One search from start; true with slot 0 set when a match was found.
  bool Search(const TRegexProgram& program, const char* start);
  // The choices the last search resumed.
  int64_t Steps() const { return FSteps; }

  // One entry of the backtracking stack: a choice to resume, or an old value
  // to put back.
  struct TEntry {
    enum TKind : uint8_t {
      kUndoSlot,        // Value: slot index (groups' starts 0..14, ends 15..29)
      kUndoLoop,        // Level, and Value/Pos of level SlotLevel
      kUndoBackPos,     // Value: index into FBackPos
      kChoiceBranch,    // Node: the next alternative's BRANCH
      kChoiceRepeat,    // Node: the repetition; Pos: next candidate; Value: candidates left
      kChoiceLoopExit,  // Node: greedy loop; leave it at Pos
      kChoiceLoopPass,  // Node: lazy loop; run another pass from Pos
    };
    const uint8_t* Node;
    const char* Pos;
    int32_t Value;
    TKind Kind;
    uint8_t Level;
    uint8_t SlotLevel;
  };

private:
  bool Contains(const char* from, const char* text, size_t length) const;
  bool TryAt(const char* at);
  bool Run(const uint8_t* node, const char*& pos);

  // Tests of single nodes.
  bool ConsumeIf(const char*& pos, bool test) const;
  bool SameByte(uint8_t input, uint8_t wanted, bool ignoreCase) const;
  bool SameText(const char* input, const char* wanted, size_t length, bool ignoreCase) const;
  bool MatchLiteral(const uint8_t* node, const char*& pos) const;
  bool MatchBackReference(const uint8_t* node, const char*& pos) const;
  bool IsPairAt(const char* pos) const;
  bool IsLineStart(const char* pos) const;
  bool IsLineEnd(const char* pos) const;
  bool IsWordBoundary(const char* pos) const;

  // Repetitions and loops. A repetition is a simple repetition node or a
  // marked loop BRANCH (see TRegexProgram::LineStarOperand).
  struct TRepeat {
    const uint8_t* Operand;
    const uint8_t* Follower;
    int Min;
    int Max;
    bool Lazy;
    bool Possessive;
  };
  TRepeat RepeatOf(const uint8_t* node) const;
  bool StartRepeat(const uint8_t* node, const uint8_t*& next, const char*& pos);
  bool OfferRepeat(const uint8_t* node, const char* candidate, int left, const uint8_t*& next,
                   const char*& pos);
  int RepeatStep(const uint8_t* operand) const;
  int RepeatCount(const uint8_t* operand, const char* pos, int max, int step) const;
  const uint8_t* PassBack(const uint8_t* back, const char* pos);
  void EnterLoop(const char* pos);
  bool PassLoop(const uint8_t* loop, const uint8_t*& next, const char*& pos);
  void StartPass(int counter, const char* pos);
  void LeaveLoop();

  // State changes, each undone on backtracking.
  void Push(const TEntry& entry);
  const char*& Slot(int index);
  void SetSlot(int index, const char* value);
  void SaveLoopState(int slotLevel);
  bool Backtrack(const uint8_t*& node, const char*& pos);

  TRegex& FOwner;
  const TRegexProgram* FProgram = nullptr;
  const char* FBegin = nullptr;  // input start
  const char* FEnd = nullptr;    // the input's terminating NUL
  int FLevel = 0;
  int FCounters[regex_program::kMaxLoopLevels + 1] = {};
  const char* FIterStart[regex_program::kMaxLoopLevels + 1] = {};
  std::vector<const char*> FBackPos;  // last pass through each BACK node
  std::vector<TEntry> FStack;
  const char* FSearchStart = nullptr;
  int64_t FSteps = 0;  // choices resumed in this search
  int64_t FStepLimit = 0;
};

}  // namespace vk
