// TRegex as an object: its settings, compiling on demand, errors, the input
// and the match results. Compiling, matching and the text operations live in
// SrcRegexCompiler.cpp, SrcRegexMatcher.cpp and SrcRegexText.cpp.

#include "SrcEdit/Source/SrcRegex.h"

#include <algorithm>
#include <cstring>

#include "SrcEdit/Source/SrcRegexProgram.h"
#include "platform/CodePage.h"
#include "platform/ScopeGuard.h"

namespace vk {

bool RegexModifierI = false;
bool RegexModifierR = true;
bool RegexModifierS = true;
bool RegexModifierG = true;
bool RegexModifierM = false;
bool RegexModifierX = false;
std::string RegexSpaceChars = " \t\n\r\f";
std::string RegexWordChars = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";
std::string RegexLineSeparators = "\r\n";
std::string RegexLinePairedSeparator = "\r\n";
TRegexInvertCaseFunction RegexInvertCaseFunction = TRegex::InvertCaseFunction;

namespace {

// Modifier letters in the order of their index and bit.
constexpr char kModifierLetters[] = "irsgmx";

int DefaultModifiers() {
  const bool defaults[] = {RegexModifierI, RegexModifierR, RegexModifierS,
                           RegexModifierG, RegexModifierM, RegexModifierX};
  int modifiers = 0;
  for (int i = 0; i < 6; ++i)
    if (defaults[i]) modifiers |= 1 << i;
  return modifiers;
}

}  // namespace

TRegex::TRegex()
    : FModifiers(DefaultModifiers()), FLineSeparators(RegexLineSeparators) {
  SetSpaceChars(RegexSpaceChars);
  SetWordChars(RegexWordChars);
  SetInvertCase(RegexInvertCaseFunction);
  SetLinePairedSeparator(RegexLinePairedSeparator);
}

TRegex::~TRegex() = default;

char TRegex::InvertCaseFunction(char ch) {
  unsigned char c = static_cast<unsigned char>(ch);
  unsigned char upper = CodePage::AsciiUpper(c);
  return static_cast<char>(upper == c ? CodePage::AsciiLower(c) : upper);
}

// ---- Settings ------------------------------------------------------------

void TRegex::SetExpression(const std::string& expression) {
  std::string text(expression.c_str());  // the pattern ends at its first NUL
  if (text == FExpression && FCompiled) return;
  FCompiled = false;
  FExpression = std::move(text);
  DiscardProgram();
}

bool TRegex::Modifier(int index) const {
  if (index < 1 || index > 6) RaiseError(reBadModifier);
  return (FModifiers & (1 << (index - 1))) != 0;
}

void TRegex::SetModifier(int index, bool on) {
  if (index < 1 || index > 6) RaiseError(reBadModifier);
  int bit = 1 << (index - 1);
  FModifiers = on ? FModifiers | bit : FModifiers & ~bit;
}

std::string TRegex::ModifierStr() const {
  std::string result = "-";
  for (int i = 0; i < 6; ++i) {
    if (FModifiers & (1 << i))
      result.insert(result.begin(), kModifierLetters[i]);
    else
      result += kModifierLetters[i];
  }
  if (result.back() == '-') result.pop_back();
  return result;
}

void TRegex::SetModifierStr(const std::string& text) {
  int modifiers = FModifiers;
  if (!ParseModifiersStr(text, modifiers)) RaiseError(reBadModifier);
  FModifiers = modifiers;
}

bool TRegex::ParseModifiersStr(const std::string& text, int& modifiers) {
  bool turnOn = true;
  for (char ch : text) {
    if (ch == '-') {
      turnOn = false;
      continue;
    }
    const char* letter = std::strchr(kModifierLetters, CodePage::AsciiLower(static_cast<unsigned char>(ch)));
    if (ch == 0 || letter == nullptr) return false;
    int bit = 1 << (letter - kModifierLetters);
    modifiers = turnOn ? modifiers | bit : modifiers & ~bit;
  }
  return true;
}

// \s, \w and case folding are built into the program, so a change of any of
// them compiles again.
void TRegex::SetSpaceChars(const std::string& chars) {
  if (chars == FSpaceChars) return;
  FSpaceChars = chars;
  DiscardProgram();
}

void TRegex::SetWordChars(const std::string& chars) {
  if (chars == FWordChars) return;
  FWordChars = chars;
  FWordSet.Clear();
  FWordSet.IncludeChars(FWordChars);
  DiscardProgram();
}

void TRegex::SetInvertCase(TRegexInvertCaseFunction function) {
  FInvertCase = function ? std::move(function) : TRegexInvertCaseFunction(InvertCaseFunction);
  for (int c = 0; c < 256; ++c)
    FInvertTable[c] = static_cast<uint8_t>(FInvertCase(static_cast<char>(c)));
  DiscardProgram();
}

void TRegex::SetLineSeparators(const std::string& separators) {
  if (separators == FLineSeparators) return;
  FLineSeparators = separators;
  DiscardProgram();
}

std::string TRegex::LinePairedSeparator() const {
  if (!FPairSet) return "";
  return {static_cast<char>(FPairHead), static_cast<char>(FPairTail)};
}

void TRegex::SetLinePairedSeparator(const std::string& pair) {
  if (pair.empty()) {
    if (FPairSet) DiscardProgram();
    FPairSet = false;
    return;
  }
  if (pair.size() != 2 || pair[0] == pair[1]) RaiseError(reBadPairedSeparator);
  uint8_t head = static_cast<uint8_t>(pair[0]);
  uint8_t tail = static_cast<uint8_t>(pair[1]);
  if (FPairSet && head == FPairHead && tail == FPairTail) return;
  FPairSet = true;
  FPairHead = head;
  FPairTail = tail;
  DiscardProgram();
}

void TRegex::RebuildLineSeparatorSet() {
  FLineSeparatorSet.Clear();
  FLineSeparatorSet.IncludeChars(FLineSeparators);
}

// ---- Compiling -------------------------------------------------------------

void TRegex::Compile() {
  if (FExpression.empty()) RaiseError(reNoExpression);
  CompileRegex(FExpression.c_str());
}

bool TRegex::CompileRegex(const char* pattern) {
  DiscardProgram();
  FCompiled = false;
  if (pattern == nullptr) RaiseError(reNullPattern);
  TRegexCompiler compiler(*this, pattern);
  // Error positions are read from the running compiler, and only while it runs.
  struct TActive {
    const TRegexCompiler*& Slot;
    ~TActive() { Slot = nullptr; }
  } active{FActiveCompiler};
  FActiveCompiler = &compiler;
  FProgram = std::make_unique<TRegexProgram>(compiler.Compile());
  FCompiled = true;
  return true;
}

void TRegex::InvalidateProgram() { DiscardProgram(); }

void TRegex::DiscardProgram() { FProgram.reset(); }

bool TRegex::IsProgramOk() {
  if (FProgram && FProgram->Modifiers != FModifiers) DiscardProgram();
  RebuildLineSeparatorSet();
  if (!FProgram) Compile();
  if (FProgram->Code.empty() || FProgram->Code[0] != regex_program::kMagic) RaiseError(reCorruptProgram);
  return true;
}

int TRegex::CompilerErrorPos() const { return FActiveCompiler ? FActiveCompiler->CursorPos() : 0; }

int TRegex::LastError() {
  int code = FLastError;
  FLastError = 0;
  return code;
}

std::string TRegex::ErrorMsg(int code) const {
  switch (code) {
    case 0: return "No errors";
    case 100: return "TRegex(comp): Null Argument";
    case 101: return "TRegex(comp): Regexp Too Big";
    case 102: return "TRegex(comp): ParseReg Too Many ()";
    case 103: return "TRegex(comp): ParseReg Unmatched ()";
    case 104: return "TRegex(comp): ParseReg Unmatched ()";
    case 105: return "TRegex(comp): ParseReg Junk On End";
    case 106: return "TRegex(comp): *+ Operand Could Be Empty";
    case 107: return "TRegex(comp): Nested *?+";
    case 108: return "TRegex(comp): Bad Hex Digit";
    case 109: return "TRegex(comp): Invalid [] Range";
    case 110: return "TRegex(comp): Parse Atom Trailing \\";
    case 111: return "TRegex(comp): No Hex Code After \\x";
    case 112: return "TRegex(comp): Hex Code After \\x Is Too Big";
    case 113: return "TRegex(comp): Unmatched []";
    case 114: return "TRegex(comp): Internal Urp";
    case 115: return "TRegex(comp): ?+*{ Follows Nothing";
    case 116: return "TRegex(comp): Trailing \\";
    case 119: return "TRegex(comp): RarseAtom Internal Disaster";
    case 122: return "TRegex(comp): BRACES Argument Too Big";
    case 124: return "TRegex(comp): BRACE Min Param Greater then Max";
    case 125: return "TRegex(comp): Unclosed (?#Comment)";
    case 126:
      return "TRegex(comp): If you want take part in beta-testing BRACES '{min,max}' and "
             "non-greedy ops '*?', '+?', '?\?' for complex cases - remove '.' from "
             "{.$DEFINE ComplexBraces}";
    case 127: return "TRegex(comp): Urecognized Modifier";
    case 128: return "TRegex(comp): LinePairedSeparator must countain two different chars or no chars at all";
    case 1000: return "TRegex(exec): RegRepeat Called Inappropriately";
    case 1001: return "TRegex(exec): MatchPrim Memory Corruption";
    case 1002: return "TRegex(exec): MatchPrim Corrupted Pointers";
    case 1003: return "TRegex(exec): Not Assigned Expression Property";
    case 1004: return "TRegex(exec): Corrupted Program";
    case 1005: return "TRegex(exec): No Input String Specified";
    case 1006: return "TRegex(exec): Offset Must Be Greater Then 0";
    case 1007: return "TRegex(exec): ExecNext Without Exec[Pos]";
    case 1008: return "TRegex(exec): GetInputString Without InputString";
    case 1011: return "TRegex(dump): Corrupted Opcode";
    case 1014: return "TRegex(exec): Loop Stack Exceeded";
    case 1015: return "TRegex(exec): Loop Without LoopEntry !";
    case 1016: return "TRegex(exec): Backtrack Stack Exceeded";
    case 1017: return "TRegex(exec): Match Step Limit Exceeded";
    case 2000: return "TRegex(misc): Bad p-code imported";
    default: return "Unknown error";
  }
}

ERegex TRegex::ErrorException(int code) const {
  int pos = CompilerErrorPos();
  std::string message = ErrorMsg(code);
  if (code < 1000) message += Format(" (pos %d)", pos);
  return ERegex(message, code, pos);
}

void TRegex::Error(int code) const {
  FLastError = code;
  throw ErrorException(code);
}

void TRegex::RaiseError(int code) const {
  Error(code);
  throw ErrorException(code);  // only reached when an override of Error returns
}

// ---- Input, runs and results -------------------------------------------------

const std::string& TRegex::InputString() const {
  if (!FHasInput) RaiseError(reNoInputString);
  return FInput;
}

void TRegex::SetInputString(const std::string& text) {
  ClearMatches();
  FInput.assign(text.c_str());  // the input ends at its first NUL
  FHasInput = true;
}

bool TRegex::Exec(const std::string& text) {
  SetInputString(text);
  return ExecPrim(1);
}

bool TRegex::Exec() { return ExecPrim(1); }
bool TRegex::Exec(int offset) { return ExecPrim(offset); }
bool TRegex::ExecPos(int offset) { return ExecPrim(offset); }

bool TRegex::ExecNext() {
  if (!SlotMatched(0)) RaiseError(reNoPreviousMatch);
  int offset = static_cast<int>(FEndP[0] - FInput.data()) + 1;
  if (FStartP[0] == FEndP[0]) ++offset;  // step over an empty match
  return ExecPrim(offset);
}

bool TRegex::ExecPrim(int offset) {
  ClearMatches();
  IsProgramOk();
  if (!FHasInput) RaiseError(reNoInput);
  if (offset < 1) RaiseError(reBadOffset);
  if (static_cast<size_t>(offset) > FInput.size() + 1) return false;
  if (!FMatcher) FMatcher = std::make_unique<TRegexMatcher>(*this);
  // However the search ends, a shared budget pays for its work.
  TScopeExit charge([this] {
    if (FSharedStepBudget >= 0) FSharedStepBudget = std::max<int64_t>(0, FSharedStepBudget - FMatcher->Steps());
  });
  return FMatcher->Search(*FProgram, FInput.data() + offset - 1);
}

void TRegex::ClearMatches() {
  FStartP.fill(nullptr);
  FEndP.fill(nullptr);
}

bool TRegex::SlotMatched(int index) const { return FStartP[index] && FEndP[index]; }

int TRegex::MatchPos(int index) const {
  if (index < 0 || index >= regex_program::kMaxGroups || !FHasInput || !SlotMatched(index)) return -1;
  return static_cast<int>(FStartP[index] - FInput.data()) + 1;
}

int TRegex::MatchLen(int index) const {
  if (index < 0 || index >= regex_program::kMaxGroups || !FHasInput || !SlotMatched(index)) return -1;
  return static_cast<int>(FEndP[index] - FStartP[index]);
}

std::string TRegex::Match(int index) const {
  int length = MatchLen(index);
  if (length < 0) return "";
  return std::string(FStartP[index], static_cast<size_t>(length));
}

int TRegex::SubExprMatchCount() const {
  if (!FHasInput) return -1;
  for (int i = regex_program::kMaxGroups - 1; i > 0; --i)
    if (SlotMatched(i)) return i;
  return 0;
}

}  // namespace vk
