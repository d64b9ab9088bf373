#pragma once
// What the highlighters of C text share: the scanner that cuts one line
// into tokens (white space, words, numbers, literals, comments, preprocessor
// lines, operators) and carries block comments, and the preprocessor lines,
// "//" comments and literals a backslash continues, from one line to the
// next in a small range state; and the highlighter around it with the
// attributes every C-text highlighter has. A highlighter gives the scanner a
// word table that decides the kind of each word, and chooses whether a "0x"
// number is a token kind of its own.

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "SrcEdit/Source/SrcEditHighlighter.h"

namespace vk {

// Token kinds every C-text highlighter shares, numbered as the highlighters
// number them; a highlighter's own kinds start at ctkFirstOwn.
enum TCTokenKind : uint8_t {
  ctkAsm,
  ctkComment,
  ctkDirective,
  ctkIdentifier,
  ctkKey,
  ctkNull,
  ctkNumber,
  ctkSpace,
  ctkString,
  ctkSymbol,
  ctkUnknown,
  ctkFirstOwn
};

// What an operator or punctuation token is; it decides how many characters
// the token covers.
enum TxtkTokenKind : uint8_t {
  xtkAdd,
  xtkAddAssign,
  xtkAnd,
  xtkAndAssign,
  xtkArrow,
  xtkAssign,
  xtkBitComplement,
  xtkBraceClose,
  xtkBraceOpen,
  xtkColon,
  xtkComma,
  xtkDecrement,
  xtkDivide,
  xtkDivideAssign,
  xtkEllipse,
  xtkGreaterThan,
  xtkGreaterThanEqual,
  xtkIncOr,
  xtkIncOrAssign,
  xtkIncrement,
  xtkLessThan,
  xtkLessThanEqual,
  xtkLogAnd,
  xtkLogComplement,
  xtkLogEqual,
  xtkLogOr,
  xtkMod,
  xtkModAssign,
  xtkMultiplyAssign,
  xtkNotEqual,
  xtkPoint,
  xtkQuestion,
  xtkRoundClose,
  xtkRoundOpen,
  xtkScopeResolution,
  xtkSemiColon,
  xtkShiftLeft,
  xtkShiftLeftAssign,
  xtkShiftRight,
  xtkShiftRightAssign,
  xtkSquareClose,
  xtkSquareOpen,
  xtkStar,
  xtkSubtract,
  xtkSubtractAssign,
  xtkXor,
  xtkXorAssign
};

// The state at a line boundary. A line that ends with a backslash (blanks
// may follow it) is joined to the next one by the compiler: a preprocessor
// line (rsDirective), a "//" comment (rsLineComment), a string
// (rsString34) or a character literal (rsString39) goes on there, the
// literals' Escaped states when a backslash before the joining one escapes
// the next line's first byte. A literal on a preprocessor line goes on as
// rsDirectiveString34 or rsDirectiveString39, and the preprocessor line with
// it; at most 16 states fit a region of a multi-language highlighter, so
// these have no Escaped states: the next line's first byte is read as not
// escaped. rsAnsiC and rsDirectiveComment are open block comments. The asm
// states are never entered; they keep their numbers so that stored states
// stay comparable.
enum TRangeState : uint8_t {
  rsUnknown,
  rsAnsiC,
  rsAnsiCAsm,
  rsAnsiCAsmBlock,
  rsAsm,
  rsAsmBlock,
  rsDirective,
  rsDirectiveComment,
  rsString34,
  rsString39,
  rsLineComment,
  rsString34Escaped,
  rsString39Escaped,
  rsDirectiveString34,
  rsDirectiveString39,
  rsLastRange = rsDirectiveString39
};
static_assert(rsLastRange < 16, "a region of a multi-language highlighter keeps four bits of range");

// One spelling of a word table and the token kind it gives.
struct TKeywordEntry {
  std::string_view Word;
  uint8_t Kind;
};

constexpr uint32_t KeywordHash(std::string_view word) {
  uint32_t hash = 2166136261u;  // FNV-1a
  for (char c : word) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash;
}

// True when the spellings are in strictly ascending byte order, so the
// table holds each spelling once.
constexpr bool IsStrictlySorted(std::span<const TKeywordEntry> entries) {
  for (size_t i = 1; i < entries.size(); ++i)
    if (!(entries[i - 1].Word < entries[i].Word)) return false;
  return true;
}

// An open-addressing index over a word table, built by the compiler: a slot
// holds the entry's position + 1, 0 marks a free slot. At most half of the
// slots are used, so a lookup probes about two slots.
template <size_t N>
constexpr auto MakeKeywordSlots(const TKeywordEntry (&entries)[N]) {
  static_assert(N < UINT16_MAX, "a slot holds a 16-bit position");
  constexpr size_t size = std::bit_ceil(2 * N);
  std::array<uint16_t, size> slots{};
  for (size_t i = 0; i < N; ++i) {
    size_t slot = KeywordHash(entries[i].Word) & (size - 1);
    while (slots[slot] != 0) slot = (slot + 1) & (size - 1);
    slots[slot] = static_cast<uint16_t>(i + 1);
  }
  return slots;
}

// Exact, case-sensitive, bytewise lookup of a word; never allocates.
class TKeywordIndex {
public:
  template <size_t N, size_t S>
  constexpr TKeywordIndex(const TKeywordEntry (&entries)[N], const std::array<uint16_t, S>& slots)
      : FEntries(entries), FSlots(slots) {
    for (const TKeywordEntry& entry : FEntries)
      if (entry.Word.size() > FLongest) FLongest = entry.Word.size();
  }

  // The kind stored with exactly this spelling, or -1.
  int Find(std::string_view word) const {
    if (word.size() > FLongest) return -1;
    const size_t mask = FSlots.size() - 1;
    for (size_t slot = KeywordHash(word) & mask;; slot = (slot + 1) & mask) {
      const uint16_t position = FSlots[slot];
      if (position == 0) return -1;
      const TKeywordEntry& entry = FEntries[position - 1];
      if (entry.Word == word) return entry.Kind;
    }
  }

  std::span<const TKeywordEntry> Entries() const { return FEntries; }

private:
  std::span<const TKeywordEntry> FEntries;
  std::span<const uint16_t> FSlots;
  size_t FLongest = 0;
};

// Scans one line at a time. SetLine keeps no copy: the text must stay
// unchanged until the scan of that line is over. Nothing past the end of
// the given text is ever read; a zero byte in it is a byte of the line (a
// stray byte between tokens), so the text after it is scanned too.
class TSrcCScanner {
public:
  // hexKind is the kind of numbers written with "0x"/"0X"; without it such
  // numbers are plain ctkNumber tokens over the ordinary number characters.
  explicit TSrcCScanner(const TKeywordIndex& words) : FWords(words) {}
  TSrcCScanner(const TKeywordIndex& words, uint8_t hexKind) : FWords(words), FHexKind(hexKind), FHexPrefix(true) {}

  // Starts a line and scans its first token.
  void SetLine(std::string_view line);
  // Scans the next token; at the end of the line it stays at ctkNull.
  void Next();
  // Starts a line and moves to its end through the tokens that can change
  // the range state only: the same state as SetLine and Next until Eol.
  void SkipLine(std::string_view line);

  bool Eol() const { return FTokenID == ctkNull; }
  uint8_t TokenID() const { return FTokenID; }
  TxtkTokenKind ExtTokenID() const { return FExtTokenID; }
  int TokenPos() const { return static_cast<int>(FTokenPos); }
  std::string_view Token() const { return FLine.substr(FTokenPos, FRun - FTokenPos); }

  TRangeState Range() const { return FRange; }
  void SetRange(TRangeState range) { FRange = range; }

  // What the scan needs to go on after the current token besides the line
  // and the position (TokenPos + the token's length): the range and the
  // state of a preprocessor line stopped before "/*".
  uint32_t State() const;
  // Starts the line at a token start that a scan of it reached in the
  // state, or at a later one at or before toward, found without cutting the
  // tokens in between; scans the token there.
  void Resume(std::string_view line, size_t position, uint32_t state, size_t toward);

private:
  // The byte at a position, 0 past the end of the line.
  unsigned char At(size_t position) const {
    return position < FLine.size() ? static_cast<unsigned char>(FLine[position]) : 0;
  }
  // The line ends at the position: its end, or a line break in the text.
  bool AtLineEnd(size_t position) const {
    return position >= FLine.size() || FLine[position] == '\n' || FLine[position] == '\r';
  }
  // The first position from the given one whose byte is one of the stops,
  // or the line's length.
  template <char... Stops>
  size_t Find(size_t position) const;

  void NullProc() { FTokenID = ctkNull; }
  void SpaceProc();
  void LineFeedProc();
  void ReturnProc();
  void UnknownProc();
  void IdentProc();
  void NumberProc();
  void HexProc();
  void LiteralProc(char quote);
  void ContinuedLiteralProc();
  // How a literal's scan ended.
  enum TLiteralEnd : uint8_t { leClosed, leLineEnd, leJoined, leJoinedEscaped };
  template <char Quote>
  TLiteralEnd ScanLiteral(bool escaped);
  TLiteralEnd ScanLiteral(char quote, bool escaped);
  void EndLiteral(char quote, TLiteralEnd end);
  // Past the header name of an include line that starts at "#" at the scan
  // position, or the scan position when there is none.
  size_t HeaderNameEnd() const;
  // Whether the preprocessor line goes on after a literal in it that ended
  // so; sets the range where it does not.
  bool GoOnAfterDirectiveLiteral(char quote, TLiteralEnd end);
  void SlashProc();
  void SymbolProc();
  void DirectiveProc();
  void AnsiCProc();
  void LineCommentProc();
  void ContinuedLineEndProc();
  // Where the line ends when the backslash at the position joins the next
  // line to it (only blanks stand between them), else npos.
  size_t JoinedLineEnd(size_t backslash) const;
  // The line ending at the position is joined to the next one: a
  // backslash stands before the position, with only blanks between.
  bool JoinsNextLine(size_t end) const;
  // In a comment, a preprocessor line or a literal that goes on from the
  // line before, whose tokens may hold any byte.
  bool InRunOfAnyBytes() const {
    return FRange == rsAnsiC || FRange == rsDirectiveComment || InDirective() || FRange == rsLineComment ||
           InContinuedLiteral();
  }
  bool InDirective() const {
    return FRange == rsDirective || FRange == rsDirectiveString34 || FRange == rsDirectiveString39;
  }
  bool InContinuedLiteral() const {
    return FRange == rsString34 || FRange == rsString39 || FRange == rsString34Escaped || FRange == rsString39Escaped;
  }
  void SkipToward(size_t target);
  size_t LastTokenStart(size_t from, size_t target) const;
  void LineEndProc(unsigned char c);
  void ScanToCommentEnd();

  const TKeywordIndex& FWords;
  uint8_t FHexKind = ctkNumber;
  bool FHexPrefix = false;

  std::string_view FLine;
  size_t FRun = 0;
  size_t FTokenPos = 0;
  uint8_t FTokenID = ctkNull;
  TxtkTokenKind FExtTokenID = xtkAdd;
  TRangeState FRange = rsUnknown;
  // A preprocessor line stopped before "/*": the comment token that follows
  // starts at the "/*" and looks for its end only after it. State() holds it
  // in this bit beside the range.
  bool FCommentOpenerPending = false;
  static constexpr uint32_t kOpenerPending = 0x100;
};

// Display names of the attributes and the texts the C-text highlighters
// answer.
inline constexpr const char* SRCS_AttrAssembler = "Assembler";
inline constexpr const char* SRCS_AttrComment = "Comment";
inline constexpr const char* SRCS_AttrIdentifier = "Identifier";
inline constexpr const char* SRCS_AttrIllegalChar = "Illegal Char";
inline constexpr const char* SRCS_AttrReservedWord = "Reserved Word";
inline constexpr const char* SRCS_AttrNumber = "Number";
inline constexpr const char* SRCS_AttrSpace = "Space";
inline constexpr const char* SRCS_AttrString = "String";
inline constexpr const char* SRCS_AttrSymbol = "Symbol";
inline constexpr const char* SRCS_AttrPreprocessor = "Preprocessor";
inline constexpr const char* SRCS_AttrInternalFunction = "Internal Function";
inline constexpr const char* SRCS_AttrSystemValue = "System Value";
inline constexpr const char* SRCS_AttrVariable = "Variable";
inline constexpr const char* SRCS_LangCPP = "C/C++";
inline constexpr const char* SRCS_FilterCPP = "C/C++ Files (*.c;*.cpp;*.h;*.hpp)|*.c;*.cpp;*.h;*.hpp";

// A highlighter of C text: the scanner behind the token interface, and the
// ten attributes every C-text highlighter has. A concrete highlighter adds
// the attributes of its own token kinds, then binds them all with
// SetAttributesOnChange.
class TSrcCTextHighlighter : public TSrcCustomHighlighter {
public:
  std::string ClassName() const override { return "TSrcCTextHighlighter"; }
  static std::string GetLanguageName() { return SRCS_LangCPP; }

  // 0 comment, 2 reserved word, 4 white space; nullptr for any other index.
  TSrcHighlighterAttributes* GetDefaultAttribute(int index) const override;
  // Letters and digits only: the editor's word steps stop at "_".
  TSrcIdentChars GetIdentChars() const override;
  bool GetEol() const override { return FScanner.Eol(); }
  TSrcEditRange GetRange() const override { return FScanner.Range(); }
  std::string GetToken() const override { return std::string(FScanner.Token()); }
  int GetTokenLength() const override { return static_cast<int>(FScanner.Token().size()); }
  TSrcHighlighterAttributes* GetTokenAttribute() const override;
  int GetTokenKind() const override { return FScanner.TokenID(); }
  int GetTokenPos() const override { return FScanner.TokenPos(); }
  void Next() override { FScanner.Next(); }
  void SetLine(std::string_view line, int) override { FScanner.SetLine(line); }
  TSrcEditRange ScanLineEnd(std::string_view line, int) override {
    FScanner.SkipLine(line);
    return FScanner.Range();
  }
  bool CanResumeLine() const override { return true; }
  TSrcScanPoint LineStartPoint() const override { return {0, FScanner.Range()}; }
  TSrcScanPoint GetScanPoint() const override {
    return {FScanner.TokenPos() + GetTokenLength(), FScanner.State()};
  }
  void ResumeLine(std::string_view line, int, const TSrcScanPoint& point, int toward) override {
    FScanner.Resume(line, static_cast<size_t>(std::max(point.Position, 0)), point.State,
                    static_cast<size_t>(std::max(toward, 0)));
  }
  // A value that is no range state starts fresh.
  void SetRange(TSrcEditRange value) override;
  void ResetRange() override { FScanner.SetRange(rsUnknown); }

  // The operator kind of the current symbol token.
  TxtkTokenKind GetExtTokenID() const { return FScanner.ExtTokenID(); }

  TSrcHighlighterAttributes* AsmAttri() const { return FAsmAttri; }
  TSrcHighlighterAttributes* CommentAttri() const { return FCommentAttri; }
  TSrcHighlighterAttributes* DirecAttri() const { return FDirecAttri; }
  TSrcHighlighterAttributes* IdentifierAttri() const { return FIdentifierAttri; }
  TSrcHighlighterAttributes* InvalidAttri() const { return FInvalidAttri; }
  TSrcHighlighterAttributes* KeyAttri() const { return FKeyAttri; }
  TSrcHighlighterAttributes* NumberAttri() const { return FNumberAttri; }
  TSrcHighlighterAttributes* SpaceAttri() const { return FSpaceAttri; }
  TSrcHighlighterAttributes* StringAttri() const { return FStringAttri; }
  TSrcHighlighterAttributes* SymbolAttri() const { return FSymbolAttri; }

protected:
  TSrcCTextHighlighter(TComponent* owner, const TSrcCScanner& scanner);
  // Creates an attribute, hands it to the attribute list and paints the
  // token kind with it.
  TSrcHighlighterAttributes* AddKindAttribute(uint8_t kind, const char* name, TColor foreground, TFontStyles style);
  std::string GetLanguageNameProp() const override { return GetLanguageName(); }

private:
  TSrcCScanner FScanner;
  std::array<TSrcHighlighterAttributes*, 16> FKindAttributes{};  // by token kind; ctkNull has none
  TSrcHighlighterAttributes* FAsmAttri;
  TSrcHighlighterAttributes* FCommentAttri;
  TSrcHighlighterAttributes* FIdentifierAttri;
  TSrcHighlighterAttributes* FInvalidAttri;
  TSrcHighlighterAttributes* FKeyAttri;
  TSrcHighlighterAttributes* FNumberAttri;
  TSrcHighlighterAttributes* FSpaceAttri;
  TSrcHighlighterAttributes* FStringAttri;
  TSrcHighlighterAttributes* FSymbolAttri;
  TSrcHighlighterAttributes* FDirecAttri;
};

}  // namespace vk
