// The compiler: a recursive-descent parser that emits the byte program in
// two passes (count, then write), followed by the start optimisations the
// search uses: start character, anchoring, must-have literal and the set of
// bytes a match can start with.

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "SrcEdit/Source/SrcRegexProgram.h"

namespace vk {

using namespace regex_program;

namespace {

// Characters that end a literal run.
constexpr char kMetaChars[] = "^$.[()|?+*\\{";

bool IsQuantifier(char c) { return c == '*' || c == '+' || c == '?' || c == '{'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// White space that extended syntax leaves out of the pattern.
bool IsExtendedBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

int CountMembers(const TSetOfREChar& set) {
  int count = 0;
  for (uint8_t bits : set.Bits) count += std::popcount(bits);
  return count;
}

}  // namespace

TRegexCompiler::TRegexCompiler(TRegex& owner, const char* pattern) : FOwner(owner), FPattern(pattern) {}

TRegexProgram TRegexCompiler::Compile() {
  RunPass(true);  // errors raise here, before anything is allocated
  size_t counted = FSize;
  FCode.assign(counted, 0);
  RunPass(false);
  // Both passes take the same path, so a difference is a bug in this file.
  if (FSize != counted) throw std::logic_error("TRegex: emitted program differs from its counted size");

  TRegexProgram program;
  program.Modifiers = FOwner.FModifiers;
  program.Code = std::move(FCode);
  FindStartOptimisations(program, FTopFlags);
  FindBackLoops(program);
  FindPossessiveRepeats(program);
  return program;
}

void TRegexCompiler::RunPass(bool sizing) {
  FSizing = sizing;
  FSize = 0;
  FModifiers = FOwner.FModifiers;
  FCursor = FPattern;
  FNextGroup = 1;
  EmitByte(kMagic);
  ParseExpression(false, FTopFlags);
}

void TRegexCompiler::Fail(int code) { FOwner.RaiseError(code); }

// ---- Emitting ----------------------------------------------------------------
// In the sizing pass every emit only counts, and every node is kSizingNode.

void TRegexCompiler::CheckRoom(size_t bytes) const {
  if (FSize + bytes > FCode.size()) throw std::logic_error("TRegex: program larger than its counted size");
}

int TRegexCompiler::EmitNode(uint8_t op) {
  if (FSizing) {
    FSize += kNodeHeaderSize;
    return kSizingNode;
  }
  CheckRoom(kNodeHeaderSize);
  int node = static_cast<int>(FSize);
  FCode[FSize] = op;
  WriteInt(&FCode[FSize + 1], 0);
  FSize += kNodeHeaderSize;
  return node;
}

void TRegexCompiler::EmitByte(uint8_t value) {
  if (!FSizing) {
    CheckRoom(1);
    FCode[FSize] = value;
  }
  ++FSize;
}

void TRegexCompiler::EmitInt(int32_t value) {
  if (!FSizing) {
    CheckRoom(kIntSize);
    WriteInt(&FCode[FSize], value);
  }
  FSize += kIntSize;
}

// Places op (and size - 1 zero bytes) in front of the operand node, which is
// the last thing emitted; the operand's links are relative and stay valid.
void TRegexCompiler::InsertOperator(uint8_t op, int operand, int size) {
  if (!FSizing) {
    CheckRoom(size);
    uint8_t* at = &FCode[operand];
    std::memmove(at + size, at, FSize - operand);
    at[0] = op;
    std::memset(at + 1, 0, size - 1);
  }
  FSize += size;
}

int TRegexCompiler::NextOf(int node) const {
  int32_t offset = ReadInt(&FCode[node + 1]);
  return offset == 0 ? -1 : node + offset;
}

// Links the last node of chain to target.
void TRegexCompiler::Tail(int chain, int target) {
  if (FSizing) return;
  int last = chain;
  for (int next = NextOf(last); next >= 0; next = NextOf(last)) last = next;
  WriteInt(&FCode[last + 1], target - last);
}

// Links the last node of a BRANCH's operand chain to target.
void TRegexCompiler::OpTail(int node, int target) {
  if (FSizing || FCode[node] != opBranch) return;
  Tail(node + kNodeHeaderSize, target);
}

// ---- Parsing -------------------------------------------------------------------

// The top level or a group: alternatives separated by "|".
int TRegexCompiler::ParseExpression(bool group, int& flags) {
  flags = kFlagNonEmpty;
  int groupNumber = 0;
  int open = 0;
  if (group) {
    if (FNextGroup >= kMaxGroups) Fail(reTooManyGroups);
    groupNumber = FNextGroup++;
    open = EmitNode(static_cast<uint8_t>(opOpen + groupNumber));
  }
  int savedModifiers = FModifiers;

  int branchFlags;
  int branch = ParseBranch(branchFlags);
  int ret = group ? open : branch;
  if (group) Tail(open, branch);
  for (;;) {
    if (!(branchFlags & kFlagNonEmpty)) flags &= ~kFlagNonEmpty;
    flags |= branchFlags & kFlagRepeatStart;
    if (*FCursor != '|') break;
    ++FCursor;
    Tail(ret, ParseBranch(branchFlags));
  }

  int ender = EmitNode(static_cast<uint8_t>(group ? opClose + groupNumber : opEnd));
  Tail(ret, ender);
  // Every alternative continues after the alternation.
  if (!FSizing)
    for (int node = ret; node >= 0; node = NextOf(node)) OpTail(node, ender);

  if (group) {
    if (*FCursor != ')') Fail(reUnclosedGroup);
    ++FCursor;
  } else if (*FCursor != 0) {
    Fail(*FCursor == ')' ? reUnopenedGroup : reTrailingJunk);
  }
  FModifiers = savedModifiers;  // inline modifiers end with their group
  return ret;
}

// One alternative: a BRANCH whose operand is the chain of its pieces.
int TRegexCompiler::ParseBranch(int& flags) {
  flags = 0;
  int ret = EmitNode(opBranch);
  bool first = true;
  int chain = 0;
  while (*FCursor != 0 && *FCursor != '|' && *FCursor != ')') {
    int pieceFlags;
    int latest = ParsePiece(pieceFlags);
    flags |= pieceFlags & kFlagNonEmpty;
    if (first)
      flags |= pieceFlags & kFlagRepeatStart;
    else
      Tail(chain, latest);
    chain = latest;
    first = false;
  }
  if (first) EmitNode(opNothing);
  return ret;
}

// An atom and its quantifier, if any.
int TRegexCompiler::ParsePiece(int& flags) {
  int atomFlags;
  int ret = ParseAtom(atomFlags);
  flags = atomFlags;
  char quantifier = *FCursor;
  if (!IsQuantifier(quantifier)) return ret;
  if (!(atomFlags & kFlagNonEmpty) && quantifier != '?') Fail(reEmptyRepeatOperand);

  int min = 0;
  int max = 0;
  if (quantifier == '{' && !ParseBraces(min, max)) return ret;  // a literal "{"
  ++FCursor;
  bool lazy = *FCursor == '?' || !Has(RegexModG);
  if (*FCursor == '?') ++FCursor;
  bool single = (atomFlags & kFlagSingleChar) != 0;

  switch (quantifier) {
    case '*':
      flags = kFlagRepeatStart;
      if (single)
        InsertOperator(lazy ? opStarNG : opStar, ret, kNodeHeaderSize);
      else if (lazy)
        EmitCountedLoop(ret, 0, kMaxBracesArg, true);
      else
        EmitStarLoop(ret);
      break;
    case '+':
      flags = kFlagNonEmpty | kFlagRepeatStart;
      if (single)
        InsertOperator(lazy ? opPlusNG : opPlus, ret, kNodeHeaderSize);
      else if (lazy)
        EmitCountedLoop(ret, 1, kMaxBracesArg, true);
      else
        EmitPlusLoop(ret);
      break;
    case '?':
      flags = 0;
      if (!lazy)
        EmitOptional(ret);
      else if (single)
        EmitBraces(ret, 0, 1, true);
      else
        EmitCountedLoop(ret, 0, 1, true);
      break;
    default:  // braces
      flags = (min > 0 ? kFlagNonEmpty : 0) | (max > 0 ? kFlagRepeatStart : 0);
      if (single)
        EmitBraces(ret, min, max, lazy);
      else
        EmitCountedLoop(ret, min, max, lazy);
      break;
  }
  if (IsQuantifier(*FCursor)) Fail(reNestedQuantifier);
  return ret;
}

// "{min}", "{min,}" or "{min,max}" at the cursor: true with the cursor on
// the "}", or false with the cursor unmoved when the text is no quantifier.
bool TRegexCompiler::ParseBraces(int& min, int& max) {
  const char* minStart = FCursor + 1;
  const char* p = minStart;
  while (IsDigit(*p)) ++p;
  const char* minEnd = p;
  if (minEnd == minStart || (*p != '}' && *p != ',')) return false;
  const char* maxStart = nullptr;
  const char* maxEnd = nullptr;
  if (*p == ',') {
    maxStart = ++p;
    while (IsDigit(*p)) ++p;
    maxEnd = p;
    if (*p != '}') return false;
  }
  min = BracesNumber(minStart, minEnd);
  if (maxStart == nullptr)
    max = min;
  else
    max = maxEnd == maxStart ? kMaxBracesArg : BracesNumber(maxStart, maxEnd);
  FCursor = p;
  if (max < min) Fail(reBracesMinAboveMax);
  return true;
}

int TRegexCompiler::BracesNumber(const char* start, const char* end) {
  if (end - start > 8) {
    FCursor = start;
    Fail(reBracesArgTooBig);
  }
  int value = 0;
  for (const char* p = start; p < end; ++p) value = value * 10 + (*p - '0');
  return value;
}

void TRegexCompiler::EmitBraces(int atom, int min, int max, bool lazy) {
  InsertOperator(lazy ? opBracesNG : opBraces, atom, kNodeHeaderSize + 2 * kIntSize);
  if (FSizing) return;
  WriteInt(&FCode[atom + kNodeHeaderSize], min);
  WriteInt(&FCode[atom + kNodeHeaderSize + kIntSize], max);
}

// Greedy "*" over a complex atom: BRANCH(atom, BACK to itself), BRANCH(NOTHING).
void TRegexCompiler::EmitStarLoop(int atom) {
  InsertOperator(opBranch, atom, kNodeHeaderSize);
  OpTail(atom, EmitNode(opBack));
  OpTail(atom, atom);
  Tail(atom, EmitNode(opBranch));
  Tail(atom, EmitNode(opNothing));
}

// Greedy "+" over a complex atom: atom, BRANCH(BACK to the atom), BRANCH(NOTHING).
void TRegexCompiler::EmitPlusLoop(int atom) {
  int loopBranch = EmitNode(opBranch);
  Tail(atom, loopBranch);
  Tail(EmitNode(opBack), atom);
  Tail(loopBranch, EmitNode(opBranch));
  Tail(atom, EmitNode(opNothing));
}

// Greedy "?": BRANCH(atom), BRANCH(NOTHING), both continuing at the NOTHING.
void TRegexCompiler::EmitOptional(int atom) {
  InsertOperator(opBranch, atom, kNodeHeaderSize);
  Tail(atom, EmitNode(opBranch));
  int nothing = EmitNode(opNothing);
  Tail(atom, nothing);
  OpTail(atom, nothing);
}

// LOOPENTRY in front of the atom, then LOOP/LOOPNG with min, max and the way
// back to the atom; the atom's chain ends at the loop node.
void TRegexCompiler::EmitCountedLoop(int atom, int min, int max, bool lazy) {
  InsertOperator(opLoopEntry, atom, kNodeHeaderSize);
  int loop = EmitNode(lazy ? opLoopNG : opLoop);
  int body = atom + kNodeHeaderSize;
  EmitInt(min);
  EmitInt(max);
  EmitInt(body - loop);
  Tail(atom, loop);
  Tail(body, loop);
}

int TRegexCompiler::ParseAtom(int& flags) {
  flags = 0;
  switch (*FCursor) {
    case 0:
    case '|':
    case ')':
      Fail(reNoAtom);
    case '*':
    case '+':
    case '?':
      Fail(reQuantifierFollowsNothing);
    case '^':
      ++FCursor;
      return EmitNode(LineMode() ? opBolML : opBol);
    case '$':
      ++FCursor;
      return EmitNode(LineMode() ? opEolML : opEol);
    case '.':
      ++FCursor;
      if (Has(RegexModS)) {
        flags = kFlagNonEmpty | kFlagSingleChar;
        return EmitNode(opAny);
      }
      flags = kFlagNonEmpty;
      return EmitNode(opAnyML);
    case '[':
      ++FCursor;
      flags = kFlagNonEmpty | kFlagSingleChar;
      return ParseClass();
    case '(':
      ++FCursor;
      return ParseGroupOrInline(flags);
    case '\\':
      ++FCursor;
      return ParseEscapeAtom(flags);
    default:
      return ParseLiteralRun(flags);
  }
}

// "^" and "$" work per line only where there is something to split lines at.
bool TRegexCompiler::LineMode() const {
  return Has(RegexModM) && (!FOwner.FLineSeparators.empty() || FOwner.FPairSet);
}

// After "(": a comment, inline modifiers, or a group.
int TRegexCompiler::ParseGroupOrInline(int& flags) {
  if (*FCursor != '?') {
    int groupFlags;
    int ret = ParseExpression(true, groupFlags);
    flags = groupFlags & (kFlagNonEmpty | kFlagRepeatStart);
    return ret;
  }
  if (FCursor[1] == '#') {
    FCursor += 2;
    while (*FCursor != 0 && *FCursor != ')') ++FCursor;
    if (*FCursor == 0) Fail(reUnclosedComment);
    ++FCursor;
    return EmitNode(opComment);
  }
  const char* start = ++FCursor;
  while (*FCursor != 0 && *FCursor != ')') ++FCursor;
  if (*FCursor == 0 || !TRegex::ParseModifiersStr(std::string(start, FCursor), FModifiers))
    Fail(reBadInlineModifier);
  ++FCursor;
  return EmitNode(opComment);
}

// After a backslash outside a class.
int TRegexCompiler::ParseEscapeAtom(int& flags) {
  constexpr int kOneChar = kFlagNonEmpty | kFlagSingleChar;
  char c = *FCursor;
  if (c == 0) Fail(reTrailingBackslash);
  auto emitSimple = [&](uint8_t op, int nodeFlags) {
    ++FCursor;
    flags = nodeFlags;
    return EmitNode(op);
  };
  switch (c) {
    case 'd': return emitSimple(opAnyDigit, kOneChar);
    case 'D': return emitSimple(opNotDigit, kOneChar);
    case 'A': return emitSimple(opBol, 0);
    case 'Z': return emitSimple(opEol, 0);
    case 'b': return emitSimple(opBound, 0);
    case 'B': return emitSimple(opNotBound, 0);
    case 'w':
    case 'W':
    case 's':
    case 'S': {
      ++FCursor;
      flags = kOneChar;
      TSetOfREChar members;
      members.IncludeChars(c == 'w' || c == 'W' ? FOwner.FWordChars : FOwner.FSpaceChars);
      return EmitClassNode(members, c == 'W' || c == 'S');
    }
    default:
      break;
  }
  flags = kOneChar;
  if (c >= '1' && c <= '9') {
    int node = emitSimple(Has(RegexModI) ? opBSubExpCI : opBSubExp, kOneChar);
    EmitByte(static_cast<uint8_t>(c - '0'));
    return node;
  }
  uint8_t ch = ParseEscapedChar();
  int node = EmitNode(Has(RegexModI) ? opExactlyCI : opExactly);
  EmitByte(ch);
  EmitByte(0);
  return node;
}

// The character after a backslash (the cursor is on it, and it is no NUL).
uint8_t TRegexCompiler::ParseEscapedChar() {
  char c = *FCursor++;
  switch (c) {
    case 't': return 9;
    case 'n': return 10;
    case 'r': return 13;
    case 'f': return 12;
    case 'a': return 7;
    case 'e': return 27;
    case 'x': return ParseHexEscape();
    default: return static_cast<uint8_t>(c);
  }
}

// After "\x": two hex digits, or hex digits in braces worth at most 255.
uint8_t TRegexCompiler::ParseHexEscape() {
  if (*FCursor == 0) Fail(reNoHexCode);
  int value = 0;
  if (*FCursor != '{') {
    for (int digit = 0; digit < 2; ++digit, ++FCursor) {
      if (*FCursor == 0) Fail(reNoHexCode);
      value = value * 16 + HexDigitAtCursor();
    }
    return static_cast<uint8_t>(value);
  }
  ++FCursor;
  if (*FCursor == '}') Fail(reNoHexCode);
  for (; *FCursor != '}'; ++FCursor) {
    if (*FCursor == 0) Fail(reNoHexCode);
    int digit = HexDigitAtCursor();
    if (value >= 16) Fail(reHexCodeTooBig);  // one more digit would pass 255
    value = value * 16 + digit;
  }
  ++FCursor;
  return static_cast<uint8_t>(value);
}

int TRegexCompiler::HexDigitAtCursor() {
  int value = HexValue(*FCursor);
  if (value < 0) Fail(reBadHexDigit);
  return value;
}

// A stretch of ordinary characters (or, with extended syntax, of blanks or a
// comment, which emit only a COMMENT).
int TRegexCompiler::ParseLiteralRun(int& flags) {
  bool extended = Has(RegexModX);
  if (extended && (IsExtendedBlank(*FCursor) || *FCursor == '#')) {
    SkipExtendedFiller();
    return EmitNode(opComment);
  }
  size_t length = std::strcspn(FCursor, kMetaChars);
  if (length == 0) {
    if (*FCursor != '{') Fail(reEmptyLiteral);
    length = std::strcspn(FCursor + 1, kMetaChars) + 1;  // "{" that is no quantifier
  }
  // A quantifier after the run applies to its last character alone.
  if (length > 1 && IsQuantifier(FCursor[length])) --length;
  flags = kFlagNonEmpty | (length == 1 ? kFlagSingleChar : 0);
  int node = EmitNode(Has(RegexModI) ? opExactlyCI : opExactly);
  for (; length > 0 && !(extended && *FCursor == '#'); --length, ++FCursor)
    if (!(extended && IsExtendedBlank(*FCursor))) EmitByte(static_cast<uint8_t>(*FCursor));
  EmitByte(0);
  return node;
}

void TRegexCompiler::SkipExtendedFiller() {
  if (*FCursor == '#') {
    while (*FCursor != 0 && *FCursor != '\n' && *FCursor != '\r') ++FCursor;
    while (*FCursor == '\n' || *FCursor == '\r') ++FCursor;
  } else {
    while (IsExtendedBlank(*FCursor)) ++FCursor;
  }
}

// After "[": members up to "]".
int TRegexCompiler::ParseClass() {
  bool negated = *FCursor == '^';
  if (negated) ++FCursor;
  TSetOfREChar members;
  bool canStartRange = false;
  uint8_t rangeStart = 0;
  auto addSingle = [&](uint8_t c) {
    AddClassMember(members, c);
    rangeStart = c;
    canStartRange = true;
  };
  if (*FCursor == ']') {
    addSingle(']');
    ++FCursor;
  }
  while (*FCursor != 0 && *FCursor != ']') {
    if (*FCursor == '-' && canStartRange && FCursor[1] != 0 && FCursor[1] != ']' &&
        !IsClassShorthand(FCursor + 1, "dDsSwW")) {
      ++FCursor;
      const char* endAt = FCursor;
      AddClassRange(members, rangeStart, ParseClassChar(), endAt);
      canStartRange = false;  // a "-" after a range is a plain member
    } else if (IsClassShorthand(FCursor, "dsw")) {
      char kind = FCursor[1];
      FCursor += 2;
      const std::string& chars =
          kind == 'd' ? std::string("0123456789") : kind == 's' ? FOwner.FSpaceChars : FOwner.FWordChars;
      for (char c : chars) AddClassMember(members, static_cast<uint8_t>(c));
      canStartRange = false;
    } else {
      addSingle(ParseClassChar());
    }
  }
  if (*FCursor == 0) Fail(reUnclosedClass);
  ++FCursor;
  return EmitClassNode(members, negated);
}

bool TRegexCompiler::IsClassShorthand(const char* at, const char* letters) const {
  return at[0] == '\\' && at[1] != 0 && std::strchr(letters, at[1]) != nullptr;
}

// One member character, written plainly or as an escape.
uint8_t TRegexCompiler::ParseClassChar() {
  if (*FCursor != '\\') return static_cast<uint8_t>(*FCursor++);
  ++FCursor;
  if (*FCursor == 0) Fail(reClassTrailingBackslash);
  return ParseEscapedChar();
}

void TRegexCompiler::AddClassMember(TSetOfREChar& members, uint8_t c) const {
  members.Include(c);
  if (Has(RegexModI)) members.Include(FOwner.FInvertTable[c]);
}

void TRegexCompiler::AddClassRange(TSetOfREChar& members, uint8_t first, uint8_t last, const char* lastAt) {
  // With modifier r the Cyrillic alphabet ranges of code page 1251 include
  // the letter yo, which lies outside them.
  constexpr uint8_t kLowerA = 0xE0, kLowerYa = 0xFF, kLowerYo = 0xB8;
  constexpr uint8_t kUpperA = 0xC0, kUpperYa = 0xDF, kUpperYo = 0xA8;
  bool lower = first == kLowerA && last == kLowerYa;
  bool upper = first == kUpperA && last == kUpperYa;
  bool both = first == kLowerA && last == kUpperYa;
  if (Has(RegexModR) && (lower || upper || both)) {
    if (lower || both) AddCharRange(members, kLowerA, kLowerYa, kLowerYo);
    if (upper || both) AddCharRange(members, kUpperA, kUpperYa, kUpperYo);
    return;
  }
  if (last < first) {
    FCursor = lastAt;
    Fail(reBadRange);
  }
  for (int c = first; c <= last; ++c) AddClassMember(members, static_cast<uint8_t>(c));
}

void TRegexCompiler::AddCharRange(TSetOfREChar& members, uint8_t first, uint8_t last, uint8_t extra) const {
  for (int c = first; c <= last; ++c) AddClassMember(members, static_cast<uint8_t>(c));
  AddClassMember(members, extra);
}

// Up to three members as a tiny set (padded with the highest), more as a
// 32-byte set (complemented when negated).
int TRegexCompiler::EmitClassNode(const TSetOfREChar& members, bool negated) {
  int count = CountMembers(members);
  if (count == 0) {
    // Only empty space or word characters get here.
    FOwner.FLastError = reNoAtom;
    throw ERegex("TRegex.ParseAtom(subroutine EmitRangeC): empty range", reNoAtom, CursorPos());
  }
  if (count > kTinySetSize) {
    int node = EmitNode(opAnyOfFullSet);
    TSetOfREChar set = members;
    if (negated) set.Complement();
    for (uint8_t bits : set.Bits) EmitByte(bits);
    return node;
  }
  int node = EmitNode(negated ? opAnyButTinySet : opAnyOfTinySet);
  uint8_t tiny[kTinySetSize];
  int found = 0;
  for (int c = 0; c < 256; ++c)
    if (members.Contains(static_cast<uint8_t>(c))) tiny[found++] = static_cast<uint8_t>(c);
  for (int i = 0; i < kTinySetSize; ++i) EmitByte(tiny[i < found ? i : found - 1]);
  return node;
}

// ---- Start optimisations ---------------------------------------------------------

void TRegexCompiler::FindStartOptimisations(TRegexProgram& program, int topFlags) const {
  const uint8_t* top = program.FirstNode();
  std::vector<const uint8_t*> loopsInProgress;
  FillFirstCharSet(program, top, program.FirstCharSet, loopsInProgress, false);

  if (OpOf(NextNode(top)) != opEnd) return;  // more than one alternative
  const uint8_t* first = Operand(top);
  if (OpOf(first) == opExactly)
    program.StartChar = *Operand(first);
  else if (OpOf(first) == opBol)
    program.Anchored = true;
  if (!(topFlags & kFlagRepeatStart)) return;

  // The longest literal on the alternative's own chain must occur in every match.
  const uint8_t* longest = nullptr;
  size_t longestLength = 0;
  for (const uint8_t* node = first; node != nullptr; node = NextNode(node)) {
    if (OpOf(node) != opExactly) continue;
    size_t length = std::strlen(reinterpret_cast<const char*>(Operand(node)));
    if (length >= longestLength) {
      longest = Operand(node);
      longestLength = length;
    }
  }
  if (longest != nullptr && longestLength > 0) {
    program.MustHaveOffset = static_cast<int>(longest - program.Code.data());
    program.MustHaveLength = longestLength;
  }
}

// Adds the bytes a match from node can start with, walking on along the
// chain while the node can match without consuming. Midway (a node inside a
// loop's body) a loop may be left after any pass, not only after its
// minimum.
void TRegexCompiler::FillFirstCharSet(const TRegexProgram& program, const uint8_t* node, TSetOfREChar& set,
                                      std::vector<const uint8_t*>& loopsInProgress, bool midway) const {
  auto fill = [&](const uint8_t* from) { FillFirstCharSet(program, from, set, loopsInProgress, midway); };
  auto entered = [&](const uint8_t* loop) {
    if (std::find(loopsInProgress.begin(), loopsInProgress.end(), loop) != loopsInProgress.end()) return true;
    loopsInProgress.push_back(loop);
    return false;
  };
  for (; node != nullptr; node = NextNode(node)) {
    uint8_t op = OpOf(node);
    const uint8_t* operand = Operand(node);
    switch (op) {
      case opEnd:
      case opAny:
      case opAnyML:
      case opBSubExp:
      case opBSubExpCI:
        set.IncludeAll();
        return;
      case opBol:
      case opBolML:
      case opBound:
      case opNotBound:
      case opNothing:
      case opComment:
        continue;
      case opBack:
        // Once round a loop adds all it can.
        if (entered(node)) return;
        continue;
      case opEol:
      case opEolML:
        set.Include(0);
        if (program.Modifiers & RegexModM) {
          set.IncludeChars(FOwner.FLineSeparators);
          if (FOwner.FPairSet) set.Include(FOwner.FPairHead);
        }
        return;
      case opExactly:
        set.Include(operand[0]);
        return;
      case opExactlyCI:
        set.Include(operand[0]);
        set.Include(FOwner.FInvertTable[operand[0]]);
        return;
      case opAnyDigit:
      case opNotDigit:
        for (int c = 0; c < 256; ++c)
          if ((c >= '0' && c <= '9') == (op == opAnyDigit)) set.Include(static_cast<uint8_t>(c));
        return;
      case opAnyOfTinySet:
        for (int i = 0; i < kTinySetSize; ++i) set.Include(operand[i]);
        return;
      case opAnyButTinySet:
        for (int c = 0; c < 256; ++c)
          if (std::memchr(operand, c, kTinySetSize) == nullptr) set.Include(static_cast<uint8_t>(c));
        return;
      case opAnyOfFullSet: {
        TSetOfREChar members;
        std::memcpy(members.Bits.data(), operand, kFullSetSize);
        set.IncludeSet(members);
        return;
      }
      case opLoopEntry:
        fill(NextNode(node));
        return;
      case opBranch:
        if (OpOf(NextNode(node)) != opBranch) {  // the only alternative
          fill(operand);
          return;
        }
        for (const uint8_t* alt = node; alt != nullptr && OpOf(alt) == opBranch; alt = NextNode(alt))
          fill(Operand(alt));
        return;
      case opStar:
      case opStarNG:
        fill(operand);
        continue;
      case opPlus:
      case opPlusNG:
        fill(operand);
        return;
      case opBraces:
      case opBracesNG:
        fill(operand + 2 * kIntSize);
        if (RepeatMin(node) > 0) return;
        continue;
      case opLoop:
      case opLoopNG:
        // A body that can pass without consuming leads back here; what
        // follows the loop is covered below when the loop may end.
        if (entered(node)) return;
        fill(LoopBody(node));
        loopsInProgress.erase(std::find(loopsInProgress.begin(), loopsInProgress.end(), node));
        if (midway || RepeatMin(node) == 0) fill(NextNode(node));
        return;
      default:
        if (IsGroupOpen(op) || IsGroupClose(op)) {
          fill(NextNode(node));
          return;
        }
        FOwner.RaiseError(reBadOpcode);
    }
  }
}

// Records, for every BACK node, where its loop is left. The loop is either
// BRANCH(atom ... BACK) BRANCH(NOTHING) for "*", whose BACK leads to the
// first BRANCH, or atom BRANCH(BACK) BRANCH(NOTHING) for "+", whose BACK is
// the first BRANCH's operand; both leave at the NOTHING.
void TRegexCompiler::FindBackLoops(TRegexProgram& program) const {
  const uint8_t* code = program.Code.data();
  const uint8_t* end = code + program.Code.size();
  program.LineStarOperand.assign(program.Code.size(), 0);
  for (const uint8_t* node = program.FirstNode(); node < end; node += NodeSpan(node)) {
    if (OpOf(node) != opBack) continue;
    const uint8_t* target = NextNode(node);
    const uint8_t* loopBranch = OpOf(target) == opBranch ? target : node - kNodeHeaderSize;
    program.BackLoops.push_back({node, NextNode(NextNode(loopBranch))});
    // A loop whose body is one "." that stops at line ends (the atom of "*"
    // is the loop's first node, that of "+" the node BACK returns to).
    const uint8_t* atom = OpOf(target) == opBranch ? Operand(target) : target;
    if (OpOf(atom) == opAnyML && (NextNode(atom) == node || NextNode(atom) == loopBranch))
      program.LineStarOperand[static_cast<size_t>(loopBranch - code)] = static_cast<int32_t>(atom - code);
  }
}

// A simple repetition whose operand shares no byte with anything that can
// follow it gives nothing back: with fewer passes the next byte would be one
// the operand took, which the continuation cannot start with. Such a
// repetition offers only its longest count.
void TRegexCompiler::FindPossessiveRepeats(TRegexProgram& program) const {
  const uint8_t* code = program.Code.data();
  const uint8_t* end = code + program.Code.size();
  program.Possessive.assign(program.Code.size(), false);
  for (const uint8_t* node = program.FirstNode(); node < end; node += NodeSpan(node)) {
    const uint8_t op = OpOf(node);
    if (op != opStar && op != opStarNG && op != opPlus && op != opPlusNG && op != opBraces && op != opBracesNG)
      continue;
    const uint8_t* operand = Operand(node) + (op == opBraces || op == opBracesNG ? 2 * kIntSize : 0);
    TSetOfREChar own, following;
    std::vector<const uint8_t*> loops;
    FillFirstCharSet(program, operand, own, loops, true);
    loops.clear();
    FillFirstCharSet(program, NextNode(node), following, loops, true);
    bool shared = false;
    for (size_t i = 0; i < own.Bits.size(); ++i) shared |= (own.Bits[i] & following.Bits[i]) != 0;
    program.Possessive[static_cast<size_t>(node - code)] = !shared;
  }
}

}  // namespace vk
