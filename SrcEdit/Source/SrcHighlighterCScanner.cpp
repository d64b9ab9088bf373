#include "SrcEdit/Source/SrcHighlighterCScanner.h"

#include <algorithm>
#include <bit>

#include "SrcEdit/Source/SrcEditMiscProcs.h"

namespace vk {

namespace {

// The operators, grouped by first character, longer spellings before the
// shorter ones they begin with: the first that matches is the longest.
struct TOperator {
  std::string_view Text;
  TxtkTokenKind Kind;
};

constexpr TOperator kOperators[] = {
    {"!=", xtkNotEqual},         {"!", xtkLogComplement},    {"%=", xtkModAssign},
    {"%", xtkMod},               {"&&", xtkLogAnd},          {"&=", xtkAndAssign},
    {"&", xtkAnd},               {"(", xtkRoundOpen},        {")", xtkRoundClose},
    {"*=", xtkMultiplyAssign},   {"*", xtkStar},             {"++", xtkIncrement},
    {"+=", xtkAddAssign},        {"+", xtkAdd},              {",", xtkComma},
    {"--", xtkDecrement},        {"-=", xtkSubtractAssign},  {"->", xtkArrow},
    {"-", xtkSubtract},          {"...", xtkEllipse},        {".", xtkPoint},
    {"/=", xtkDivideAssign},     {"/", xtkDivide},           {"::", xtkScopeResolution},
    {":", xtkColon},             {";", xtkSemiColon},        {"<<=", xtkShiftLeftAssign},
    {"<<", xtkShiftLeft},        {"<=", xtkLessThanEqual},   {"<", xtkLessThan},
    {"==", xtkLogEqual},         {"=", xtkAssign},           {">>=", xtkShiftRightAssign},
    {">>", xtkShiftRight},       {">=", xtkGreaterThanEqual}, {">", xtkGreaterThan},
    {"?", xtkQuestion},          {"[", xtkSquareOpen},       {"]", xtkSquareClose},
    {"^=", xtkXorAssign},        {"^", xtkXor},              {"{", xtkBraceOpen},
    {"|=", xtkIncOrAssign},      {"||", xtkLogOr},           {"|", xtkIncOr},
    {"}", xtkBraceClose},        {"~", xtkBitComplement},
};

// What the byte under the scan position starts.
enum TCharClass : uint8_t {
  ccEnd,
  ccSpace,
  ccLineFeed,
  ccReturn,
  ccQuote,
  ccApostrophe,
  ccHash,
  ccSlash,
  ccZero,
  ccDigit,
  ccWord,
  ccSymbol,
  ccUnknown
};

// Byte sets the scanning loops run over.
enum TCharFlag : uint8_t {
  cfSpace = 1,   // bytes 1 to 32 except LF and CR
  cfWord = 2,    // letters, digits, underscore
  cfNumber = 4,  // digits, ".", hex letters and the suffix letters L U X
  cfHex = 8,     // digits, hex letters, X
  // Outside strings, comments and preprocessor lines, a token that holds
  // such a byte is that byte alone: stray bytes, a line feed, and the
  // operators of one character that no longer operator continues with.
  cfAlone = 16,
};

struct TCharTables {
  std::array<TCharClass, 256> Class{};
  std::array<uint8_t, 256> Flags{};
};

constexpr bool StartsOperator(int c) {
  for (const TOperator& op : kOperators)
    if (static_cast<unsigned char>(op.Text[0]) == c) return true;
  return false;
}

constexpr bool InRange(int c, char first, char last) { return c >= first && c <= last; }

// The only operator that starts with the byte is the byte itself, and no
// operator holds it after its first character.
constexpr bool IsLoneOperator(int c) {
  int starting = 0;
  for (const TOperator& op : kOperators) {
    if (static_cast<unsigned char>(op.Text[0]) == c && (++starting > 1 || op.Text.size() > 1)) return false;
    for (size_t i = 1; i < op.Text.size(); ++i)
      if (static_cast<unsigned char>(op.Text[i]) == c) return false;
  }
  return starting == 1;
}

constexpr TCharTables MakeCharTables() {
  TCharTables t;
  for (int c = 0; c < 256; ++c) {
    const bool digit = InRange(c, '0', '9');
    const bool letter = InRange(c, 'A', 'Z') || InRange(c, 'a', 'z');
    const bool hexLetter = InRange(c, 'A', 'F') || InRange(c, 'a', 'f');
    const bool x = c == 'X' || c == 'x';
    uint8_t flags = 0;
    if (c >= 1 && c <= 32 && c != '\n' && c != '\r') flags |= cfSpace;
    if (digit || letter || c == '_') flags |= cfWord;
    if (digit || hexLetter || x || c == '.' || c == 'L' || c == 'l' || c == 'U' || c == 'u') flags |= cfNumber;
    if (digit || hexLetter || x) flags |= cfHex;
    t.Flags[c] = flags;

    TCharClass cls = ccUnknown;  // "$", "\", "`", "@", DEL and bytes >= 128
    if (c == 0) cls = ccEnd;
    else if (c == '\n') cls = ccLineFeed;
    else if (c == '\r') cls = ccReturn;
    else if (flags & cfSpace) cls = ccSpace;
    else if (c == '"') cls = ccQuote;
    else if (c == '\'') cls = ccApostrophe;
    else if (c == '#') cls = ccHash;
    else if (c == '/') cls = ccSlash;
    else if (c == '0') cls = ccZero;
    else if (digit) cls = ccDigit;
    else if (letter || c == '_') cls = ccWord;
    else if (StartsOperator(c)) cls = ccSymbol;
    t.Class[c] = cls;
    // A zero byte inside the line is a stray byte.
    if (cls == ccUnknown || cls == ccEnd || cls == ccLineFeed || IsLoneOperator(c)) t.Flags[c] |= cfAlone;
  }
  return t;
}

constexpr TCharTables kChars = MakeCharTables();
static_assert((kChars.Flags[','] & cfAlone) && (kChars.Flags['('] & cfAlone) && !(kChars.Flags['='] & cfAlone) &&
              !(kChars.Flags['.'] & cfAlone) && !(kChars.Flags['\r'] & cfAlone));

bool Has(unsigned char c, TCharFlag flag) { return (kChars.Flags[c] & flag) != 0; }

// For each first character, where its operators start in kOperators and
// how many there are.
struct TOperatorRange {
  uint8_t First = 0;
  uint8_t Count = 0;
};

constexpr std::array<TOperatorRange, 256> MakeOperatorIndex() {
  std::array<TOperatorRange, 256> index{};
  for (size_t i = 0; i < std::size(kOperators); ++i) {
    TOperatorRange& range = index[static_cast<unsigned char>(kOperators[i].Text[0])];
    if (range.Count == 0) range.First = static_cast<uint8_t>(i);
    ++range.Count;
  }
  return index;
}

constexpr std::array<TOperatorRange, 256> kOperatorIndex = MakeOperatorIndex();

// Each group holds every operator of its first character and ends with the
// one-character operator, so a match is certain.
constexpr bool GroupsAreWholeAndEndWithOneCharacter() {
  for (int c = 0; c < 256; ++c) {
    const TOperatorRange range = kOperatorIndex[c];
    for (int i = range.First; i < range.First + range.Count; ++i)
      if (static_cast<unsigned char>(kOperators[i].Text[0]) != c) return false;
    if (range.Count != 0 && kOperators[range.First + range.Count - 1].Text.size() != 1) return false;
  }
  return true;
}
static_assert(GroupsAreWholeAndEndWithOneCharacter());

}  // namespace

void TSrcCScanner::SetLine(std::string_view line) {
  FLine = line;
  FRun = 0;
  FCommentOpenerPending = false;
  Next();
}

void TSrcCScanner::Next() {
  FTokenPos = FRun;
  if (FRange == rsAnsiC || FRange == rsDirectiveComment) {
    AnsiCProc();
    return;
  }
  if (InDirective()) {
    DirectiveProc();
    return;
  }
  if (FRange == rsLineComment) {
    LineCommentProc();
    return;
  }
  if (InContinuedLiteral()) {
    ContinuedLiteralProc();
    return;
  }
  const unsigned char c = At(FRun);
  switch (kChars.Class[c]) {
    // A zero byte within the line is a stray byte like any other.
    case ccEnd: FRun < FLine.size() ? UnknownProc() : NullProc(); break;
    case ccSpace: SpaceProc(); break;
    case ccLineFeed: LineFeedProc(); break;
    case ccReturn: ReturnProc(); break;
    case ccQuote: LiteralProc('"'); break;
    case ccApostrophe: LiteralProc('\''); break;
    case ccHash: DirectiveProc(); break;
    case ccSlash: SlashProc(); break;
    case ccZero: HexProc(); break;
    case ccDigit: NumberProc(); break;
    case ccWord: IdentProc(); break;
    case ccSymbol: SymbolProc(); break;
    case ccUnknown: UnknownProc(); break;
  }
}

namespace {

constexpr size_t kBlock = 16;

}  // namespace

// Sixteen bytes at a time; the rest of a line of sixteen bytes or more as
// its last sixteen, of which those already passed are left out. Inlined:
// the range scan looks for stops once or twice a line, and a call costs
// about as much as a block.
template <char... Stops>
[[gnu::always_inline]] inline size_t TSrcCScanner::Find(size_t position) const {
  const char* text = FLine.data();
  const size_t length = FLine.size();
  if (position >= length) return position;
  for (; length - position >= kBlock; position += kBlock)
    if (const uint32_t mask = StopMask<Stops...>(text + position)) return position + std::countr_zero(mask);
  if (position == length) return length;
  if (length >= kBlock) {
    const uint32_t mask = StopMask<Stops...>(text + length - kBlock) >> (kBlock - (length - position));
    return mask ? position + std::countr_zero(mask) : length;
  }
  auto isStop = [](char c) { return ((c == Stops) || ...); };
  while (position < length && !isStop(text[position])) ++position;
  return position;
}

void TSrcCScanner::SkipLine(std::string_view line) {
  FLine = line;
  FRun = 0;
  FCommentOpenerPending = false;
  FTokenID = ctkUnknown;  // no token yet, and not the end
  while (!Eol()) {
    // Outside comments and preprocessor lines only the tokens that start
    // with a quote, "#" or "/" (and the line end) are scanned as tokens:
    // no other token holds any of these bytes.
    if (!InRunOfAnyBytes()) {
      FRun = Find<'"', '\'', '#', '/'>(FRun);
      // No byte left on the line can change the state: it ends as Next
      // would end it.
      if (FRun >= FLine.size()) {
        FTokenPos = FRun;
        NullProc();
        return;
      }
    }
    Next();
  }
}

uint32_t TSrcCScanner::State() const { return FRange | (FCommentOpenerPending ? kOpenerPending : 0); }

void TSrcCScanner::Resume(std::string_view line, size_t position, uint32_t state, size_t toward) {
  FLine = line;
  FRun = std::min(position, line.size());
  FRange = static_cast<TRangeState>(state & 0xFF);
  FCommentOpenerPending = (state & kOpenerPending) != 0;
  SkipToward(std::min(toward, line.size()));
  Next();
}

// As SkipLine does: comments and preprocessor lines, which may hold any
// byte, and the tokens that start with a quote, "#" or "/" are scanned;
// the text between them holds only tokens that change no state. A token
// that would end past the target is left for Next.
void TSrcCScanner::SkipToward(size_t target) {
  while (FRun < target) {
    const size_t start = FRun;
    const TRangeState range = FRange;
    const bool pending = FCommentOpenerPending;
    if (!InRunOfAnyBytes()) {
      FRun = Find<'"', '\'', '#', '/'>(FRun);
      if (FRun > target) {
        FRun = LastTokenStart(start, target);
        return;
      }
      if (FRun == target) return;
    }
    const size_t at = FRun;
    Next();
    if (FRun > target) {
      FRun = at;
      FRange = range;
      FCommentOpenerPending = pending;
      return;
    }
  }
}

// The last token start in (from, target], or from: the text between holds
// no string, comment or preprocessor line, so a token ends after a byte
// that is a token alone, and where blanks meet other text.
size_t TSrcCScanner::LastTokenStart(size_t from, size_t target) const {
  // Lines without such a place for long are scanned from the token start.
  constexpr size_t kLookBack = 256;
  const size_t limit = target - from > kLookBack ? target - kLookBack : from;
  for (size_t r = target; r > limit; --r) {
    const unsigned char before = static_cast<unsigned char>(FLine[r - 1]);
    if (Has(before, cfAlone) || (Has(before, cfSpace) && !Has(At(r), cfSpace))) return r;
  }
  return from;
}

void TSrcCScanner::SpaceProc() {
  FTokenID = ctkSpace;
  ++FRun;
  while (FRun < FLine.size() && Has(static_cast<unsigned char>(FLine[FRun]), cfSpace)) ++FRun;
}

void TSrcCScanner::LineFeedProc() {
  FTokenID = ctkSpace;
  ++FRun;
}

// A carriage return takes a line feed right after it into the same token.
void TSrcCScanner::ReturnProc() {
  FTokenID = ctkSpace;
  ++FRun;
  if (At(FRun) == '\n') ++FRun;
}

void TSrcCScanner::UnknownProc() {
  FTokenID = ctkUnknown;
  ++FRun;
}

void TSrcCScanner::LineEndProc(unsigned char c) {
  if (c == '\n') LineFeedProc();
  else if (c == '\r') ReturnProc();
  else NullProc();
}

// A word takes letters, digits and underscores; the word table decides its
// kind by its exact spelling.
void TSrcCScanner::IdentProc() {
  ++FRun;
  while (FRun < FLine.size() && Has(static_cast<unsigned char>(FLine[FRun]), cfWord)) ++FRun;
  const int kind = FWords.Find(Token());
  FTokenID = static_cast<uint8_t>(kind < 0 ? int(ctkIdentifier) : kind);
}

// A number runs over digits, ".", hex letters and suffix letters, but stops
// before ".." so that "1..2" is not one number.
void TSrcCScanner::NumberProc() {
  FTokenID = ctkNumber;
  ++FRun;
  for (;;) {
    const unsigned char c = At(FRun);
    if (!Has(c, cfNumber) || (c == '.' && At(FRun + 1) == '.')) break;
    ++FRun;
  }
}

// "0x" starts a hexadecimal number whose suffix letters are a word of their
// own; any other "0" starts an ordinary number.
void TSrcCScanner::HexProc() {
  const unsigned char next = At(FRun + 1);
  if (!FHexPrefix || (next != 'x' && next != 'X')) {
    NumberProc();
    return;
  }
  FTokenID = FHexKind;
  FRun += 2;
  while (Has(At(FRun), cfHex)) ++FRun;
}

void TSrcCScanner::LiteralProc(char quote) {
  FTokenID = ctkString;
  ++FRun;
  EndLiteral(quote, ScanLiteral(quote, false));
}

// Only a literal joined to the next line leaves a state behind.
void TSrcCScanner::EndLiteral(char quote, TLiteralEnd end) {
  const bool escaped = end == leJoinedEscaped;
  if (end < leJoined) FRange = rsUnknown;
  else if (quote == '"') FRange = escaped ? rsString34Escaped : rsString34;
  else FRange = escaped ? rsString39Escaped : rsString39;
}

// The line after one that a literal's backslash joined to it: the literal
// goes on from the line's start; an empty line ends it unterminated.
void TSrcCScanner::ContinuedLiteralProc() {
  if (AtLineEnd(FRun)) {
    ContinuedLineEndProc();
    return;
  }
  FTokenID = ctkString;
  const bool escaped = FRange == rsString34Escaped || FRange == rsString39Escaped;
  const char quote = FRange == rsString34 || FRange == rsString34Escaped ? '"' : '\'';
  EndLiteral(quote, ScanLiteral(quote, escaped));
}

// A string or character literal ends after its closing quote; a backslash
// escapes the byte after it. A backslash that the line end follows (blanks
// may stand between) is no escape: the compiler joins the next line there,
// before it reads escapes, so the literal goes on on that line, and a
// backslash before the joining one escapes that line's first byte.
// Otherwise an unterminated literal ends with the line. escaped: the byte at
// the scan position is escaped.
template <char Quote>
TSrcCScanner::TLiteralEnd TSrcCScanner::ScanLiteral(bool escaped) {
  for (;;) {
    if (!escaped) FRun = Find<Quote, '\\', '\n', '\r'>(FRun);
    if (At(FRun) == '\\') {
      if (const size_t end = JoinedLineEnd(FRun); end != std::string_view::npos) {
        FRun = end;
        return escaped ? leJoinedEscaped : leJoined;
      }
    }
    if (AtLineEnd(FRun)) return leLineEnd;
    const unsigned char c = At(FRun++);
    if (escaped) {
      escaped = false;
    } else if (c == static_cast<unsigned char>(Quote)) {
      return leClosed;
    } else {
      escaped = true;  // a backslash
    }
  }
}

TSrcCScanner::TLiteralEnd TSrcCScanner::ScanLiteral(char quote, bool escaped) {
  return quote == '"' ? ScanLiteral<'"'>(escaped) : ScanLiteral<'\''>(escaped);
}

void TSrcCScanner::SlashProc() {
  const unsigned char next = At(FRun + 1);
  if (next == '/') {
    FTokenID = ctkComment;
    FRun = Find<'\n', '\r'>(FRun + 2);
    // A backslash at the line end joins the next line to the comment, as
    // the compiler joins them.
    if (JoinsNextLine(FRun)) FRange = rsLineComment;
  } else if (next == '*') {
    FTokenID = ctkComment;
    FRange = rsAnsiC;
    FRun += 2;  // "/*/" does not close the comment
    ScanToCommentEnd();
  } else {
    SymbolProc();
  }
}

void TSrcCScanner::SymbolProc() {
  const TOperator* op = &kOperators[kOperatorIndex[At(FRun)].First];
  while (FLine.substr(FRun, op->Text.size()) != op->Text) ++op;
  FTokenID = ctkSymbol;
  FExtTokenID = op->Kind;
  FRun += op->Text.size();
}

// Moves past "*/" and leaves the comment, or stops before the line end
// with the comment still open.
void TSrcCScanner::ScanToCommentEnd() {
  for (;;) {
    FRun = Find<'\n', '\r', '*'>(FRun);
    if (AtLineEnd(FRun)) return;
    if (At(FRun + 1) == '/') {
      FRun += 2;
      FRange = FRange == rsDirectiveComment ? rsDirective : rsUnknown;
      return;
    }
    ++FRun;
  }
}

// Inside a block comment: the comment runs to its "*/" or to the line end;
// a line end on its own (also an empty line) keeps the comment open.
void TSrcCScanner::AnsiCProc() {
  if (AtLineEnd(FRun)) {
    LineEndProc(At(FRun));
    return;
  }
  FTokenID = ctkComment;
  if (FCommentOpenerPending) {
    FCommentOpenerPending = false;
    FRun += 2;
  }
  ScanToCommentEnd();
}

// A line end inside a preprocessor line, a "//" comment or a literal that
// goes on from the line before: they go on over it only when a backslash
// joins the next line.
void TSrcCScanner::ContinuedLineEndProc() {
  if (!JoinsNextLine(FRun)) FRange = rsUnknown;
  LineEndProc(At(FRun));
}

namespace {

// The bytes the compiler takes as blanks within a line: between the words
// of a preprocessor line, and between a backslash and the line end it joins
// the next line at.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v' || c == '\0'; }

}  // namespace

size_t TSrcCScanner::JoinedLineEnd(size_t backslash) const {
  size_t end = backslash + 1;
  while (end < FLine.size() && IsBlank(FLine[end])) ++end;
  return AtLineEnd(end) ? end : std::string_view::npos;
}

bool TSrcCScanner::JoinsNextLine(size_t end) const {
  while (end > 0 && IsBlank(FLine[end - 1])) --end;
  return end > 0 && FLine[end - 1] == '\\';
}

// The line after one that continued a "//" comment: comment up to its end,
// which continues it again when a backslash joins the next line; a line
// end on its own (also an empty line) ends it.
void TSrcCScanner::LineCommentProc() {
  if (AtLineEnd(FRun)) {
    ContinuedLineEndProc();
    return;
  }
  FTokenID = ctkComment;
  FRun = Find<'\n', '\r'>(FRun);
  if (!JoinsNextLine(FRun)) FRange = rsUnknown;
}

// A preprocessor line runs from "#" (or from the start of a continued line)
// to the line end or to a comment, which follows as a token of its own. A
// backslash at the line end continues it on the next line. In a string or
// character literal, and in the header name of an include line, "//" and
// "/*" are text, as the compiler reads them.
void TSrcCScanner::DirectiveProc() {
  if (AtLineEnd(FRun)) {
    ContinuedLineEndProc();
    return;
  }
  FTokenID = ctkDirective;
  if (FRange == rsDirectiveString34 || FRange == rsDirectiveString39) {
    const char quote = FRange == rsDirectiveString34 ? '"' : '\'';
    if (!GoOnAfterDirectiveLiteral(quote, ScanLiteral(quote, false))) return;
  } else if (FRange != rsDirective) {
    FRun = HeaderNameEnd();
  }
  for (;;) {
    FRun = Find<'\n', '\r', '/', '\\', '"', '\''>(FRun);
    const unsigned char c = At(FRun);
    const unsigned char next = At(FRun + 1);
    if (AtLineEnd(FRun) || (c == '/' && next == '/')) {
      FRange = rsUnknown;
      return;
    }
    if (c == '/' && next == '*') {
      FRange = rsDirectiveComment;
      FCommentOpenerPending = true;
      return;
    }
    if (c == '"' || c == '\'') {
      ++FRun;
      if (!GoOnAfterDirectiveLiteral(static_cast<char>(c), ScanLiteral(static_cast<char>(c), false))) return;
      continue;
    }
    if (c == '\\') {
      if (const size_t end = JoinedLineEnd(FRun); end != std::string_view::npos) {
        FRun = end;
        FRange = rsDirective;
        return;
      }
    }
    ++FRun;
  }
}

// After a closed literal the preprocessor line goes on; one the line end
// cuts off ends it too, one joined to the next line goes on there.
bool TSrcCScanner::GoOnAfterDirectiveLiteral(char quote, TLiteralEnd end) {
  if (end == leClosed) return true;
  FRange = end == leLineEnd ? rsUnknown : quote == '"' ? rsDirectiveString34 : rsDirectiveString39;
  return false;
}

// "#include", "#include_next" and "#import" (blanks may stand around the
// word) take a header name in <...> or "...", in which a backslash
// escapes nothing. A name that does not end on its line is none: the
// compiler then reads "<" as an operator.
size_t TSrcCScanner::HeaderNameEnd() const {
  auto skipBlanks = [&](size_t at) {
    while (at < FLine.size() && IsBlank(FLine[at])) ++at;
    return at;
  };
  const size_t word = skipBlanks(FRun + 1);
  // All three start so: other preprocessor lines go without comparing.
  if (At(word) != 'i') return FRun;
  size_t wordEnd = word;
  while (Has(At(wordEnd), cfWord)) ++wordEnd;
  const std::string_view name = FLine.substr(word, wordEnd - word);
  if (name != "include" && name != "include_next" && name != "import") return FRun;
  const size_t open = skipBlanks(wordEnd);
  const size_t close = At(open) == '<'   ? Find<'>', '\n', '\r'>(open + 1)
                       : At(open) == '"' ? Find<'"', '\n', '\r'>(open + 1)
                                         : FLine.size();
  return AtLineEnd(close) ? FRun : close + 1;
}

// ------------------------------------------------------------ highlighter

TSrcCTextHighlighter::TSrcCTextHighlighter(TComponent* owner, const TSrcCScanner& scanner)
    : TSrcCustomHighlighter(owner), FScanner(scanner) {
  FAsmAttri = AddKindAttribute(ctkAsm, SRCS_AttrAssembler, clNone, {});
  FCommentAttri = AddKindAttribute(ctkComment, SRCS_AttrComment, clNone, {fsItalic});
  FIdentifierAttri = AddKindAttribute(ctkIdentifier, SRCS_AttrIdentifier, clNone, {});
  FInvalidAttri = AddKindAttribute(ctkUnknown, SRCS_AttrIllegalChar, clNone, {});
  FKeyAttri = AddKindAttribute(ctkKey, SRCS_AttrReservedWord, clNone, {fsBold});
  FNumberAttri = AddKindAttribute(ctkNumber, SRCS_AttrNumber, clNone, {});
  FSpaceAttri = AddKindAttribute(ctkSpace, SRCS_AttrSpace, clWindow, {});
  FStringAttri = AddKindAttribute(ctkString, SRCS_AttrString, clNone, {});
  FSymbolAttri = AddKindAttribute(ctkSymbol, SRCS_AttrSymbol, clNone, {});
  FDirecAttri = AddKindAttribute(ctkDirective, SRCS_AttrPreprocessor, clNone, {});
  SetDefaultFilter(SRCS_FilterCPP);
}

TSrcHighlighterAttributes* TSrcCTextHighlighter::AddKindAttribute(uint8_t kind, const char* name, TColor foreground,
                                                                  TFontStyles style) {
  auto attribute = std::make_unique<TSrcHighlighterAttributes>(name);
  attribute->SetForeground(foreground);
  attribute->SetStyle(style);
  TSrcHighlighterAttributes* added = AddAttribute(std::move(attribute));
  FKindAttributes.at(kind) = added;
  return added;
}

TSrcHighlighterAttributes* TSrcCTextHighlighter::GetDefaultAttribute(int index) const {
  switch (index) {
    case 0: return FCommentAttri;
    case 2: return FKeyAttri;
    case 4: return FSpaceAttri;
    default: return nullptr;
  }
}

TSrcIdentChars TSrcCTextHighlighter::GetIdentChars() const {
  TSrcIdentChars chars;
  chars.IncludeRange('0', '9');
  chars.IncludeRange('A', 'Z');
  chars.IncludeRange('a', 'z');
  return chars;
}

TSrcHighlighterAttributes* TSrcCTextHighlighter::GetTokenAttribute() const {
  const uint8_t kind = FScanner.TokenID();
  return kind < FKindAttributes.size() ? FKindAttributes[kind] : nullptr;
}

void TSrcCTextHighlighter::SetRange(TSrcEditRange value) {
  FScanner.SetRange(value >= rsUnknown && value <= rsLastRange ? static_cast<TRangeState>(value) : rsUnknown);
}

}  // namespace vk
