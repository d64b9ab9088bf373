#pragma once
// TRegex, the editor's regular-expression engine: a pattern is compiled into
// a byte program that a backtracking matcher runs against 8-bit text. The
// multi-language highlighter finds its scheme markers with it.
//
// Patterns and input end at their first NUL byte. Positions handed to and
// returned from callers are 1-based byte positions.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Objects.h"
#include "platform/StringLists.h"
#include "platform/SysUtils.h"

namespace vk {

class TRegex;
class TRegexCompiler;
class TRegexMatcher;
struct TRegexProgram;

// A set of the 256 byte values; value c is bit (c mod 8) of byte (c div 8).
struct TSetOfREChar {
  std::array<uint8_t, 32> Bits{};

  bool Contains(uint8_t c) const { return (Bits[c >> 3] >> (c & 7)) & 1; }
  void Include(uint8_t c) { Bits[c >> 3] |= static_cast<uint8_t>(1u << (c & 7)); }
  void IncludeAll() { Bits.fill(0xFF); }
  void Clear() { Bits.fill(0); }
  void Complement() {
    for (uint8_t& b : Bits) b = static_cast<uint8_t>(~b);
  }
  void IncludeSet(const TSetOfREChar& other) {
    for (size_t i = 0; i < Bits.size(); ++i) Bits[i] |= other.Bits[i];
  }
  void IncludeChars(const std::string& chars) {
    for (char c : chars) Include(static_cast<uint8_t>(c));
  }
};

using TRegexInvertCaseFunction = std::function<char(char)>;
using TRegexReplaceFunction = std::function<std::string(TRegex&)>;

// Every failure of the engine. Compile errors (codes below 1000) carry the
// byte position in the pattern where compiling stopped; run errors carry 0.
class ERegex : public Exception {
public:
  ERegex(std::string message, int errorCode, int compilerErrorPos)
      : Exception(std::move(message)), FErrorCode(errorCode), FCompilerErrorPos(compilerErrorPos) {}
  int ErrorCode() const { return FErrorCode; }
  int CompilerErrorPos() const { return FCompilerErrorPos; }

private:
  int FErrorCode;
  int FCompilerErrorPos;
};

// Error codes raised through TRegex::Error (codes below 1000: compiling).
enum : int {
  reNullPattern = 100,
  reTooManyGroups = 102,
  reUnclosedGroup = 103,
  reUnopenedGroup = 104,
  reTrailingJunk = 105,
  reEmptyRepeatOperand = 106,
  reNestedQuantifier = 107,
  reBadHexDigit = 108,
  reBadRange = 109,
  reClassTrailingBackslash = 110,
  reNoHexCode = 111,
  reHexCodeTooBig = 112,
  reUnclosedClass = 113,
  reNoAtom = 114,
  reQuantifierFollowsNothing = 115,
  reTrailingBackslash = 116,
  reEmptyLiteral = 119,
  reBracesArgTooBig = 122,
  reBracesMinAboveMax = 124,
  reUnclosedComment = 125,
  reBadInlineModifier = 127,
  reBadPairedSeparator = 128,
  reBadRepeatOperand = 1000,
  reBadOpcode = 1001,
  reBrokenChain = 1002,
  reNoExpression = 1003,
  reCorruptProgram = 1004,
  reNoInput = 1005,
  reBadOffset = 1006,
  reNoPreviousMatch = 1007,
  reNoInputString = 1008,
  reDumpBadOpcode = 1011,
  reBadModifier = 1013,
  reLoopNestingExceeded = 1014,
  reLoopWithoutEntry = 1015,
  // A search that needs more backtracking memory or work than the limits
  // of TRegex allow stops with these instead of exhausting the machine.
  reBacktrackStackExceeded = 1016,
  reMatchStepLimitExceeded = 1017,
};

// Modifier indexes of GetModifier/SetModifier and their bits.
enum : int {
  RegexModI = 1,   // case-insensitive
  RegexModR = 2,   // Cyrillic ranges in classes
  RegexModS = 4,   // "." matches line separators too
  RegexModG = 8,   // greedy quantifiers
  RegexModM = 16,  // "^" and "$" per line
  RegexModX = 32,  // extended syntax
};

// Defaults every new TRegex copies once; a host may change them.
extern bool RegexModifierI;
extern bool RegexModifierR;
extern bool RegexModifierS;
extern bool RegexModifierG;
extern bool RegexModifierM;
extern bool RegexModifierX;
extern std::string RegexSpaceChars;
extern std::string RegexWordChars;
extern std::string RegexLineSeparators;
extern std::string RegexLinePairedSeparator;
extern TRegexInvertCaseFunction RegexInvertCaseFunction;

class TRegex : public TObject {
public:
  // Backtracking entries one search may hold (24 bytes each), and choices
  // one whole search may resume (MaxBacktrackSteps, and
  // MaxBacktrackStepsPerByte more for every byte it has moved on from where
  // it started), before the search raises 1016 / 1017.
  static constexpr size_t MaxBacktrackEntries = size_t{1} << 21;
  static constexpr int64_t MaxBacktrackSteps = 10'000'000;
  static constexpr int64_t MaxBacktrackStepsPerByte = 64;

  TRegex();
  ~TRegex() override;
  TRegex(const TRegex&) = delete;
  TRegex& operator=(const TRegex&) = delete;
  std::string ClassName() const override { return "TRegex"; }

  static int VersionMajor() { return 0; }
  static int VersionMinor() { return 952; }

  // The expression; setting a different one discards the program.
  const std::string& Expression() const { return FExpression; }
  void SetExpression(const std::string& expression);

  // Modifiers by index 1..6 (i, r, s, g, m, x); another index raises 1013.
  // A change is noticed on the next run, which recompiles.
  bool Modifier(int index) const;
  void SetModifier(int index, bool on);
  // "gsr-imx" style: letters of the modifiers on, then "-", then those off.
  std::string ModifierStr() const;
  // Applies the letters of a modifier string; a bad letter raises 1013 and
  // changes nothing.
  void SetModifierStr(const std::string& text);
  // Letters i r s g m x (either case) set bits, after "-" clear them; any
  // other character stops with false (the letters before it stay applied).
  static bool ParseModifiersStr(const std::string& text, int& modifiers);

  const std::string& SpaceChars() const { return FSpaceChars; }
  void SetSpaceChars(const std::string& chars);
  const std::string& WordChars() const { return FWordChars; }
  void SetWordChars(const std::string& chars);
  const TRegexInvertCaseFunction& InvertCase() const { return FInvertCase; }
  void SetInvertCase(TRegexInvertCaseFunction function);
  // The code page's single-byte case mapping: lower case when upper-casing
  // changes nothing, else upper case.
  static char InvertCaseFunction(char ch);

  // Each character is a line separator; a change discards the program.
  const std::string& LineSeparators() const { return FLineSeparators; }
  void SetLineSeparators(const std::string& separators);
  // Two different characters that count as one line break (CR LF), or "".
  std::string LinePairedSeparator() const;
  void SetLinePairedSeparator(const std::string& pair);

  // Compiling. Errors raise ERegex; Compile without an expression raises 1003.
  void Compile();
  bool CompileRegex(const char* pattern);
  void InvalidateProgram();
  // Recompiles when the modifiers changed or no program exists.
  bool IsProgramOk();
  int CompilerErrorPos() const;
  // The code of the last error, which is then reset to 0.
  int LastError();
  virtual std::string ErrorMsg(int code) const;
  // Raises ERegex for code.
  virtual void Error(int code) const;

  // Work the searches to come may still take together (choices resumed),
  // for a caller that runs many searches over one text: a search stops at
  // its own bound or at what is left, whichever comes first (raising 1017),
  // and takes what it used. Negative, the default: each search has only its
  // own bound.
  int64_t SharedStepBudget() const { return FSharedStepBudget; }
  void SetSharedStepBudget(int64_t steps) { FSharedStepBudget = steps; }

  // Input and runs.
  const std::string& InputString() const;
  void SetInputString(const std::string& text);
  bool Exec(const std::string& text);
  bool Exec();
  bool Exec(int offset);
  bool ExecPos(int offset = 1);
  bool ExecNext();

  // Results of slot 0 (whole match) and groups 1..14: -1 / empty when the
  // slot is out of range, unmatched, or there is no input.
  int MatchPos(int index) const;
  int MatchLen(int index) const;
  std::string Match(int index) const;
  int SubExprMatchCount() const;

  // Text operations on the last match / on every match of text.
  std::string Substitute(const std::string& templ);
  void Split(const std::string& text, TStrings& pieces);
  std::string Replace(const std::string& text, const std::string& replacement,
                      bool useSubstitution = false);
  std::string ReplaceEx(const std::string& text, const TRegexReplaceFunction& function);
  std::string Replace(const std::string& text, const TRegexReplaceFunction& function);

  // Diagnostics: a listing of the compiled program.
  std::string Dump();
  std::string DumpOp(uint8_t op);

private:
  friend class TRegexCompiler;
  friend class TRegexMatcher;

  ERegex ErrorException(int code) const;
  [[noreturn]] void RaiseError(int code) const;
  bool ExecPrim(int offset);
  bool SlotMatched(int index) const;
  void ClearMatches();
  void DiscardProgram();
  void RebuildLineSeparatorSet();
  template <typename TReplacement>
  std::string ReplaceEach(const std::string& text, TReplacement replacementOf);

  // Match slots: 0 the whole match, 1..14 the groups; pointers into FInput.
  std::array<const char*, 15> FStartP{};
  std::array<const char*, 15> FEndP{};

  std::string FExpression;
  bool FCompiled = false;
  std::unique_ptr<TRegexProgram> FProgram;
  const TRegexCompiler* FActiveCompiler = nullptr;
  std::unique_ptr<TRegexMatcher> FMatcher;

  std::string FInput;
  bool FHasInput = false;

  mutable int FLastError = 0;
  int FModifiers = 0;
  int64_t FSharedStepBudget = -1;

  std::string FSpaceChars;
  std::string FWordChars;
  TSetOfREChar FWordSet;
  TRegexInvertCaseFunction FInvertCase;
  std::array<uint8_t, 256> FInvertTable{};  // FInvertCase of every byte
  std::string FLineSeparators;
  bool FPairSet = false;
  uint8_t FPairHead = 0;
  uint8_t FPairTail = 0;
  TSetOfREChar FLineSeparatorSet;
};

// Convenience functions; each uses a temporary TRegex with the defaults.
bool ExecRegex(const std::string& expression, const std::string& text);
void SplitRegex(const std::string& expression, const std::string& text, TStrings& pieces);
std::string ReplaceRegex(const std::string& expression, const std::string& text,
                         const std::string& replacement, bool useSubstitution = false);
// A backslash before each of "^$.[()|?+*\{]}".
std::string QuoteRegexMetaChars(const std::string& text);

// One parenthesised sub-expression found by RegexSubExpressions.
struct TRegexSubExpression {
  std::string Text;  // between the parentheses (item 0: the whole expression)
  int Position = 0;  // 1-based position of "(" (item 0: 1)
  int Length = 0;    // from "(" to ")" inclusive (item 0: the expression's length)
};

// Lists the sub-expressions by scanning the text alone. Returns 0, or the
// last problem found: the position of a stray ")", -1 for an unclosed "(",
// -(position + 1) for an unclosed "[".
int RegexSubExpressions(const std::string& expression, std::vector<TRegexSubExpression>& list,
                        bool extendedSyntax = false);

}  // namespace vk
