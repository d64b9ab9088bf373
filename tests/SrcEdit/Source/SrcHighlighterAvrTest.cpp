#include "SrcEdit/Source/SrcHighlighterAvr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "SrcEdit/Source/SrcEdit.h"
#include "SrcEdit/Source/SrcHighlighterErrorWarning.h"
#include "SrcEdit/Source/SrcHighlighterMulti.h"
#include "tests/SrcEdit/Source/HighlighterScan.h"

namespace vk {
namespace {

using test::Scan;
using test::TToken;
using H = TSrcAvrHl;

struct TLineCase {
  TRangeState Start;
  std::string Line;
  std::vector<TToken> Tokens;
  TRangeState End;
};

void ExpectScans(const std::vector<TLineCase>& cases) {
  TSrcAvrHl hl(nullptr);
  for (const TLineCase& c : cases) {
    const test::TScanResult result = Scan(hl, c.Line, c.Start);
    EXPECT_EQ(c.Tokens, result.Tokens) << "line: " << c.Line;
    EXPECT_EQ(c.End, result.End) << "line: " << c.Line;
  }
}

TToken Sym(const char* text, TxtkTokenKind kind) { return {text, H::tkSymbol, kind}; }

TEST(SrcHighlighterAvrTest, Numbers) {
  ExpectScans({
      {rsUnknown, "0x1F", {{"0x1F", H::tkHexKey}}, rsUnknown},
      {rsUnknown, "0X1f", {{"0X1f", H::tkHexKey}}, rsUnknown},
      {rsUnknown, "0x", {{"0x", H::tkHexKey}}, rsUnknown},
      {rsUnknown, "0x1FUL", {{"0x1F", H::tkHexKey}, {"UL", H::tkIdentifier}}, rsUnknown},
      {rsUnknown, "0", {{"0", H::tkNumber}}, rsUnknown},
      {rsUnknown, "07", {{"07", H::tkNumber}}, rsUnknown},
      {rsUnknown, "0.5", {{"0.5", H::tkNumber}}, rsUnknown},
      {rsUnknown, ".5", {Sym(".", xtkPoint), {"5", H::tkNumber}}, rsUnknown},
      {rsUnknown, "1.5e10", {{"1.5e10", H::tkNumber}}, rsUnknown},
      {rsUnknown, "100UL", {{"100UL", H::tkNumber}}, rsUnknown},
      {rsUnknown, "1e+5", {{"1e", H::tkNumber}, Sym("+", xtkAdd), {"5", H::tkNumber}}, rsUnknown},
      {rsUnknown, "1..2", {{"1", H::tkNumber}, Sym(".", xtkPoint), Sym(".", xtkPoint), {"2", H::tkNumber}}, rsUnknown},
      {rsUnknown, "9z", {{"9", H::tkNumber}, {"z", H::tkIdentifier}}, rsUnknown},
  });
}

TEST(SrcHighlighterAvrTest, EveryOperatorAloneAndWithTheLongestMatch) {
  const std::pair<const char*, TxtkTokenKind> operators[] = {
      {"+", xtkAdd},          {"+=", xtkAddAssign},        {"&", xtkAnd},
      {"&=", xtkAndAssign},   {"->", xtkArrow},            {"=", xtkAssign},
      {"~", xtkBitComplement}, {"}", xtkBraceClose},       {"{", xtkBraceOpen},
      {":", xtkColon},        {",", xtkComma},             {"--", xtkDecrement},
      {"/", xtkDivide},       {"/=", xtkDivideAssign},     {"...", xtkEllipse},
      {">", xtkGreaterThan},  {">=", xtkGreaterThanEqual}, {"|", xtkIncOr},
      {"|=", xtkIncOrAssign}, {"++", xtkIncrement},        {"<", xtkLessThan},
      {"<=", xtkLessThanEqual}, {"&&", xtkLogAnd},         {"!", xtkLogComplement},
      {"==", xtkLogEqual},    {"||", xtkLogOr},            {"%", xtkMod},
      {"%=", xtkModAssign},   {"*=", xtkMultiplyAssign},   {"!=", xtkNotEqual},
      {".", xtkPoint},        {"?", xtkQuestion},          {")", xtkRoundClose},
      {"(", xtkRoundOpen},    {"::", xtkScopeResolution},  {";", xtkSemiColon},
      {"<<", xtkShiftLeft},   {"<<=", xtkShiftLeftAssign}, {">>", xtkShiftRight},
      {">>=", xtkShiftRightAssign}, {"]", xtkSquareClose}, {"[", xtkSquareOpen},
      {"*", xtkStar},         {"-", xtkSubtract},          {"-=", xtkSubtractAssign},
      {"^", xtkXor},          {"^=", xtkXorAssign},
  };
  ASSERT_EQ(47u, std::size(operators));
  std::vector<TLineCase> cases;
  for (const auto& [text, kind] : operators) {
    cases.push_back({rsUnknown, text, {Sym(text, kind)}, rsUnknown});
    // Followed by a letter the operator stays the same token.
    cases.push_back({rsUnknown, std::string(text) + "a", {Sym(text, kind), {"a", H::tkIdentifier}}, rsUnknown});
  }
  cases.push_back({rsUnknown, "x<<=2", {{"x", H::tkIdentifier}, Sym("<<=", xtkShiftLeftAssign), {"2", H::tkNumber}}, rsUnknown});
  cases.push_back({rsUnknown, "a->b", {{"a", H::tkIdentifier}, Sym("->", xtkArrow), {"b", H::tkIdentifier}}, rsUnknown});
  cases.push_back({rsUnknown, "..", {Sym(".", xtkPoint), Sym(".", xtkPoint)}, rsUnknown});
  cases.push_back({rsUnknown, "....", {Sym("...", xtkEllipse), Sym(".", xtkPoint)}, rsUnknown});
  cases.push_back({rsUnknown, "&&&", {Sym("&&", xtkLogAnd), Sym("&", xtkAnd)}, rsUnknown});
  cases.push_back({rsUnknown, "+++", {Sym("++", xtkIncrement), Sym("+", xtkAdd)}, rsUnknown});
  cases.push_back({rsUnknown, "|||", {Sym("||", xtkLogOr), Sym("|", xtkIncOr)}, rsUnknown});
  cases.push_back({rsUnknown, ">>>=", {Sym(">>", xtkShiftRight), Sym(">=", xtkGreaterThanEqual)}, rsUnknown});
  cases.push_back({rsUnknown, "-->", {Sym("--", xtkDecrement), Sym(">", xtkGreaterThan)}, rsUnknown});
  cases.push_back({rsUnknown, "===", {Sym("==", xtkLogEqual), Sym("=", xtkAssign)}, rsUnknown});
  ExpectScans(cases);
}

TEST(SrcHighlighterAvrTest, StringsAndCharacterLiterals) {
  ExpectScans({
      {rsUnknown, "\"abc\" x", {{"\"abc\"", H::tkString}, {" ", H::tkSpace}, {"x", H::tkIdentifier}}, rsUnknown},
      {rsUnknown, R"("a\"b" x)", {{R"("a\"b")", H::tkString}, {" ", H::tkSpace}, {"x", H::tkIdentifier}}, rsUnknown},
      {rsUnknown, R"("a\\" b)", {{R"("a\\")", H::tkString}, {" ", H::tkSpace}, {"b", H::tkIdentifier}}, rsUnknown},
      {rsUnknown, R"("a\n'b")", {{R"("a\n'b")", H::tkString}}, rsUnknown},
      {rsUnknown, "\"open to the end", {{"\"open to the end", H::tkString}}, rsUnknown},
      // A backslash at the line end (blanks may follow) joins the next line
      // before escapes are read; one before it escapes that line's first byte.
      {rsUnknown, R"("ends in \)", {{R"("ends in \)", H::tkString}}, rsString34},
      {rsUnknown, "\"a\\ \t", {{"\"a\\ \t", H::tkString}}, rsString34},
      {rsUnknown, R"("a\\)", {{R"("a\\)", H::tkString}}, rsString34Escaped},
      {rsUnknown, R"("a\\\)", {{R"("a\\\)", H::tkString}}, rsString34},
      {rsUnknown, R"("a\ b)", {{R"("a\ b)", H::tkString}}, rsUnknown},
      {rsUnknown, "'a\\", {{"'a\\", H::tkString}}, rsString39},
      {rsString34, "de\" x", {{"de\"", H::tkString}, {" ", H::tkSpace}, {"x", H::tkIdentifier}}, rsUnknown},
      {rsString34, "", {}, rsUnknown},
      {rsString34, "a\\\nb\"", {{"a\\", H::tkString}, {"\n", H::tkSpace}, {"b\"", H::tkString}}, rsUnknown},
      {rsString34Escaped, "\" x\";", {{"\" x\"", H::tkString}, Sym(";", xtkSemiColon)}, rsUnknown},
      {rsString34Escaped, "\\", {{"\\", H::tkString}}, rsString34Escaped},
      {rsString39, "' x", {{"'", H::tkString}, {" ", H::tkSpace}, {"x", H::tkIdentifier}}, rsUnknown},
      {rsString39Escaped, "''", {{"''", H::tkString}}, rsUnknown},
      {rsUnknown, "\"", {{"\"", H::tkString}}, rsUnknown},
      {rsUnknown, "\"a\rb\"", {{"\"a", H::tkString}, {"\r", H::tkSpace}, {"b", H::tkIdentifier}, {"\"", H::tkString}}, rsUnknown},
      {rsUnknown, "'a'", {{"'a'", H::tkString}}, rsUnknown},
      {rsUnknown, R"('\'')", {{R"('\'')", H::tkString}}, rsUnknown},
      {rsUnknown, R"('\\')", {{R"('\\')", H::tkString}}, rsUnknown},
      {rsUnknown, "'\"'", {{"'\"'", H::tkString}}, rsUnknown},
      {rsUnknown, "don't stop", {{"don", H::tkIdentifier}, {"'t stop", H::tkString}}, rsUnknown},
  });
}

TEST(SrcHighlighterAvrTest, CommentsAcrossLines) {
  ExpectScans({
      {rsUnknown, "a // b */", {{"a", H::tkIdentifier}, {" ", H::tkSpace}, {"// b */", H::tkComment}}, rsUnknown},
      {rsUnknown, "/* x */ y", {{"/* x */", H::tkComment}, {" ", H::tkSpace}, {"y", H::tkIdentifier}}, rsUnknown},
      {rsUnknown, "/**/", {{"/**/", H::tkComment}}, rsUnknown},
      {rsUnknown, "/*/ x", {{"/*/ x", H::tkComment}}, rsAnsiC},
      {rsUnknown, "/*", {{"/*", H::tkComment}}, rsAnsiC},
      {rsAnsiC, "", {}, rsAnsiC},
      {rsAnsiC, "still */", {{"still */", H::tkComment}}, rsUnknown},
      {rsAnsiC, "*/ x", {{"*/", H::tkComment}, {" ", H::tkSpace}, {"x", H::tkIdentifier}}, rsUnknown},
      {rsAnsiC, "/*/", {{"/*/", H::tkComment}}, rsUnknown},
      {rsAnsiC, "no end", {{"no end", H::tkComment}}, rsAnsiC},
      {rsAnsiC, "a\nb", {{"a", H::tkComment}, {"\n", H::tkSpace}, {"b", H::tkComment}}, rsAnsiC},
      {rsUnknown, "/* a\r\n", {{"/* a", H::tkComment}, {"\r\n", H::tkSpace}}, rsAnsiC},
      // A backslash right before the line end joins the next line to a
      // "//" comment, and that line to the one after it.
      {rsUnknown, "a // b \\", {{"a", H::tkIdentifier}, {" ", H::tkSpace}, {"// b \\", H::tkComment}}, rsLineComment},
      {rsUnknown, "//\\", {{"//\\", H::tkComment}}, rsLineComment},
      {rsUnknown, "// b \\ c", {{"// b \\ c", H::tkComment}}, rsUnknown},
      // Blanks between the backslash and the line end join the lines too.
      {rsUnknown, "// b \\ ", {{"// b \\ ", H::tkComment}}, rsLineComment},
      {rsUnknown, std::string("// \\\t\f\v\0", 8), {{std::string("// \\\t\f\v\0", 8), H::tkComment}}, rsLineComment},
      {rsLineComment, "x \\  ", {{"x \\  ", H::tkComment}}, rsLineComment},
      {rsLineComment, "  ", {{"  ", H::tkComment}}, rsUnknown},
      {rsLineComment, "x = 1;", {{"x = 1;", H::tkComment}}, rsUnknown},
      {rsLineComment, "third \\", {{"third \\", H::tkComment}}, rsLineComment},
      {rsLineComment, "\\", {{"\\", H::tkComment}}, rsLineComment},
      {rsLineComment, "", {}, rsUnknown},
      {rsLineComment, "/* x", {{"/* x", H::tkComment}}, rsUnknown},
      {rsLineComment, "a\\\nb", {{"a\\", H::tkComment}, {"\n", H::tkSpace}, {"b", H::tkComment}}, rsUnknown},
      {rsLineComment, "a\nb", {{"a", H::tkComment}, {"\n", H::tkSpace}, {"b", H::tkIdentifier}}, rsUnknown},
      {rsAnsiC, "a // b \\", {{"a // b \\", H::tkComment}}, rsAnsiC},
  });
}

TEST(SrcHighlighterAvrTest, DirectivesWithContinuationsAndComments) {
  ExpectScans({
      {rsUnknown, "#define A 1\\", {{"#define A 1\\", H::tkDirective}}, rsDirective},
      {rsDirective, "+ 2", {{"+ 2", H::tkDirective}}, rsUnknown},
      {rsDirective, "", {}, rsUnknown},
      {rsDirective, "more \\", {{"more \\", H::tkDirective}}, rsDirective},
      {rsUnknown, "#define A 1 \\ \t", {{"#define A 1 \\ \t", H::tkDirective}}, rsDirective},
      {rsUnknown, "#a\\ b", {{"#a\\ b", H::tkDirective}}, rsUnknown},
      {rsUnknown, "#include <avr/io.h> // x",
       {{"#include <avr/io.h> ", H::tkDirective}, {"// x", H::tkComment}}, rsUnknown},
      {rsUnknown, "#define B /* c", {{"#define B ", H::tkDirective}, {"/* c", H::tkComment}}, rsDirectiveComment},
      {rsDirectiveComment, "", {}, rsDirectiveComment},
      {rsDirectiveComment, "d */ 3", {{"d */", H::tkComment}, {" 3", H::tkDirective}}, rsUnknown},
      {rsDirectiveComment, "d */", {{"d */", H::tkComment}}, rsUnknown},
      {rsUnknown, "#if /**/ X", {{"#if ", H::tkDirective}, {"/**/", H::tkComment}, {" X", H::tkDirective}}, rsUnknown},
      {rsUnknown, "#x /*/ y", {{"#x ", H::tkDirective}, {"/*/ y", H::tkComment}}, rsDirectiveComment},
      {rsDirective, "// c", {{"", H::tkDirective}, {"// c", H::tkComment}}, rsUnknown},
      {rsDirective, "/* c */x", {{"", H::tkDirective}, {"/* c */", H::tkComment}, {"x", H::tkDirective}}, rsUnknown},
      {rsUnknown, "a # b \"c", {{"a", H::tkIdentifier}, {" ", H::tkSpace}, {"# b \"c", H::tkDirective}}, rsUnknown},
      {rsUnknown, "#a\\b", {{"#a\\b", H::tkDirective}}, rsUnknown},
      {rsUnknown, "#a\\/* c", {{"#a\\", H::tkDirective}, {"/* c", H::tkComment}}, rsDirectiveComment},
      {rsUnknown, "#a\\\nb", {{"#a\\", H::tkDirective}, {"\n", H::tkSpace}, {"b", H::tkDirective}}, rsUnknown},
      {rsUnknown, "#define X 1 // c \\", {{"#define X 1 ", H::tkDirective}, {"// c \\", H::tkComment}}, rsLineComment},
      {rsDirective, "// c \\", {{"", H::tkDirective}, {"// c \\", H::tkComment}}, rsLineComment},
      // In a literal, and in an include line's header name, "//" and "/*"
      // are text: as avr-gcc -E reads them.
      {rsUnknown, "#define URL \"http://x\"", {{"#define URL \"http://x\"", H::tkDirective}}, rsUnknown},
      {rsUnknown, "#define MSG \"a /* b\"", {{"#define MSG \"a /* b\"", H::tkDirective}}, rsUnknown},
      {rsUnknown, "#define C '/' /* c */ x",
       {{"#define C '/' ", H::tkDirective}, {"/* c */", H::tkComment}, {" x", H::tkDirective}}, rsUnknown},
      {rsUnknown, "#define Q '\"' // \"", {{"#define Q '\"' ", H::tkDirective}, {"// \"", H::tkComment}}, rsUnknown},
      {rsUnknown, "#error don't // x", {{"#error don't // x", H::tkDirective}}, rsUnknown},
      {rsUnknown, "#include <a//b.h>", {{"#include <a//b.h>", H::tkDirective}}, rsUnknown},
      {rsUnknown, "#  include<a/*c/d.h>", {{"#  include<a/*c/d.h>", H::tkDirective}}, rsUnknown},
      {rsUnknown, "#include_next <a//b.h>", {{"#include_next <a//b.h>", H::tkDirective}}, rsUnknown},
      {rsUnknown, "#import <a//b.h>", {{"#import <a//b.h>", H::tkDirective}}, rsUnknown},
      {rsUnknown, "#warning <a//b.h>", {{"#warning <a", H::tkDirective}, {"//b.h>", H::tkComment}}, rsUnknown},
      {rsUnknown, "#include <a//b.h", {{"#include <a", H::tkDirective}, {"//b.h", H::tkComment}}, rsUnknown},
      {rsUnknown, R"(#include "a\"//b.h")", {{R"(#include "a\")", H::tkDirective}, {R"(//b.h")", H::tkComment}}, rsUnknown},
      {rsUnknown, "#define S \"ab\\", {{"#define S \"ab\\", H::tkDirective}}, rsDirectiveString34},
      {rsUnknown, "#define S \"ab\\\\", {{"#define S \"ab\\\\", H::tkDirective}}, rsDirectiveString34},
      {rsDirectiveString34, " // x\" tail", {{" // x\" tail", H::tkDirective}}, rsUnknown},
      {rsDirectiveString34, "a\" \\", {{"a\" \\", H::tkDirective}}, rsDirective},
      {rsDirectiveString34, "", {}, rsUnknown},
      {rsUnknown, "#define Q 'ab\\", {{"#define Q 'ab\\", H::tkDirective}}, rsDirectiveString39},
      {rsDirectiveString39, " /* x' // c", {{" /* x' ", H::tkDirective}, {"// c", H::tkComment}}, rsUnknown},
  });
}

TEST(SrcHighlighterAvrTest, WordKindsComeFromTheTableByExactSpelling) {
  const std::pair<const char*, H::TtkTokenKind> words[] = {
      {"printf", H::tkKey},          {"print", H::tkKey},           {"while", H::tkKey},
      {"WHILE", H::tkIdentifier},    {"IF", H::tkIdentifier},       {"if", H::tkKey},
      {"sprintf", H::tkAvrGccKey},   {"printf_P", H::tkAvrGccKey},  {"uint8_t", H::tkAvrGccKey},
      {"cos", H::tkAvrGccKey},       {"__assert", H::tkAvrGccKey},  {"strlen_P", H::tkAvrGccKey},
      {"__ELPM_classic__", H::tkAvrGccKey}, {"__boot_rww_enable", H::tkAvrGccKey},
      {"__BOOT_RWW_ENABLE", H::tkAvrGccKey}, {"__Boot_Rww_Enable", H::tkIdentifier},
      {"PORTB", H::tkAvrKey},        {"portb", H::tkIdentifier},    {"Portb", H::tkIdentifier},
      {"__EEPROM_REG_LOCATIONS__", H::tkAvrKey}, {"_VECTORS_SIZE", H::tkAvrKey},
      {"asm", H::tkAsm},             {"_asm", H::tkAsm},            {"__asm", H::tkAsm},
      {"ASM", H::tkIdentifier},      {"_foo", H::tkIdentifier},     {"PORTBX", H::tkIdentifier},
      {"PORT", H::tkIdentifier},     {"x9_", H::tkIdentifier},
  };
  std::vector<TLineCase> cases;
  for (const auto& [word, kind] : words) cases.push_back({rsUnknown, word, {{word, kind}}, rsUnknown});
  ExpectScans(cases);
}

TEST(SrcHighlighterAvrTest, SpacesLineEndsAndStrayBytes) {
  ExpectScans({
      {rsUnknown, "", {}, rsUnknown},
      {rsUnknown, " \t\x01\x1F x", {{" \t\x01\x1F ", H::tkSpace}, {"x", H::tkIdentifier}}, rsUnknown},
      {rsUnknown, "a\r\nb", {{"a", H::tkIdentifier}, {"\r\n", H::tkSpace}, {"b", H::tkIdentifier}}, rsUnknown},
      {rsUnknown, "\r\r\n\n", {{"\r", H::tkSpace}, {"\r\n", H::tkSpace}, {"\n", H::tkSpace}}, rsUnknown},
      {rsUnknown, "\xC8@$\\`\x7F", {{"\xC8", H::tkUnknown}, {"@", H::tkUnknown}, {"$", H::tkUnknown},
                                     {"\\", H::tkUnknown}, {"`", H::tkUnknown}, {"\x7F", H::tkUnknown}}, rsUnknown},
      // A zero byte is a stray byte: the text after it is scanned.
      {rsUnknown, std::string("ab\0cd", 5),
       {{"ab", H::tkIdentifier}, {std::string(1, '\0'), H::tkUnknown}, {"cd", H::tkIdentifier}}, rsUnknown},
      {rsAnsiC, std::string("x\0*/", 4), {{std::string("x\0*/", 4), H::tkComment}}, rsUnknown},
      {rsUnknown, std::string("\"\0\" // \0", 8),
       {{std::string("\"\0\"", 3), H::tkString}, {" ", H::tkSpace}, {std::string("// \0", 4), H::tkComment}},
       rsUnknown},
      {rsUnknown, std::string("#a\0\\", 4), {{std::string("#a\0\\", 4), H::tkDirective}}, rsDirective},
  });
}

TEST(SrcHighlighterAvrTest, TheWordTableHoldsEachSpellingOnceWithItsKind) {
  const TKeywordIndex& words = TSrcAvrHl::Keywords();
  int counts[14] = {};
  for (const TKeywordEntry& entry : words.Entries()) {
    ++counts[entry.Kind];
    EXPECT_EQ(entry.Kind, words.Find(entry.Word)) << entry.Word;
  }
  EXPECT_EQ(3350u, words.Entries().size());
  EXPECT_EQ(3, counts[H::tkAsm]);
  EXPECT_EQ(90, counts[H::tkKey]);
  EXPECT_EQ(2989, counts[H::tkAvrKey]);
  EXPECT_EQ(268, counts[H::tkAvrGccKey]);
  EXPECT_EQ(-1, words.Find(""));
  EXPECT_EQ(-1, words.Find(std::string(200, 'A')));
}

TEST(SrcHighlighterAvrTest, AttributesNamesDefaultsAndTokenMapping) {
  TSrcAvrHl hl(nullptr);
  const char* names[] = {"Assembler", "Comment",       "Identifier", "Illegal Char", "Internal Function",
                         "Number",    "Preprocessor",  "Reserved Word", "Space",     "String",
                         "Symbol",    "System Value",  "Variable"};
  ASSERT_EQ(13, hl.GetAttribCount());
  for (int i = 0; i < 13; ++i) EXPECT_EQ(names[i], hl.GetAttribute(i)->Name());

  EXPECT_EQ(TFontStyles{fsItalic}, hl.CommentAttri()->Style());
  EXPECT_EQ(TFontStyles{fsBold}, hl.KeyAttri()->Style());
  EXPECT_EQ(clWindow, hl.SpaceAttri()->Foreground());
  EXPECT_EQ(0x00408080, hl.HexKeyAttri()->Foreground());
  EXPECT_EQ(0x000080FF, hl.AvrVarAttri()->Foreground());
  EXPECT_EQ(0x000080FF, hl.AvrGccKeyAttri()->Foreground());
  EXPECT_EQ(TFontStyles{fsBold}, hl.AvrGccKeyAttri()->Style());
  EXPECT_EQ(clNone, hl.StringAttri()->Foreground());
  for (int i = 0; i < 13; ++i) {
    EXPECT_EQ(clNone, hl.GetAttribute(i)->Background());
    EXPECT_FALSE(hl.GetAttribute(i)->GetForegroundColorStored());
  }

  const std::pair<const char*, TSrcHighlighterAttributes*> tokens[] = {
      {"asm", hl.AsmAttri()},      {"// c", hl.CommentAttri()}, {"#if", hl.DirecAttri()},
      {"x", hl.IdentifierAttri()}, {"for", hl.KeyAttri()},      {"12", hl.NumberAttri()},
      {" ", hl.SpaceAttri()},      {"\"s\"", hl.StringAttri()}, {";", hl.SymbolAttri()},
      {"@", hl.InvalidAttri()},    {"0x1", hl.HexKeyAttri()},   {"PORTB", hl.AvrVarAttri()},
      {"cli", hl.AvrGccKeyAttri()}, {"", nullptr},
  };
  for (const auto& [line, attribute] : tokens) {
    hl.ResetRange();
    hl.SetLine(line, 0);
    EXPECT_EQ(attribute, hl.GetTokenAttribute()) << line;
  }

  EXPECT_EQ(hl.CommentAttri(), hl.GetDefaultAttribute(0));
  EXPECT_EQ(hl.KeyAttri(), hl.GetDefaultAttribute(2));
  EXPECT_EQ(hl.SpaceAttri(), hl.GetDefaultAttribute(4));
  for (int index : {-1, 1, 3, 5}) EXPECT_EQ(nullptr, hl.GetDefaultAttribute(index));

  const TSrcIdentChars ident = hl.GetIdentChars();
  EXPECT_TRUE(ident.Contains('a') && ident.Contains('Z') && ident.Contains('5'));
  EXPECT_FALSE(ident.Contains('_') || ident.Contains(' ') || ident.Contains(0xC8));
  EXPECT_EQ("C/C++", hl.LanguageName());
  EXPECT_EQ("C/C++ Files (*.c;*.cpp;*.h;*.hpp)|*.c;*.cpp;*.h;*.hpp", hl.GetDefaultFilter());
}

TEST(SrcHighlighterAvrTest, IsRegisteredAsPlaceableHighlighter) {
  TSrcAvrHl hl(nullptr);
  const int index = GetPlaceableHighlighters().FindByClass(&hl);
  ASSERT_GE(index, 0);
  EXPECT_EQ("C/C++", GetPlaceableHighlighters().GetItem(index)->GetLanguageName());
  EXPECT_EQ(index, GetPlaceableHighlighters().FindByClass(&hl));
}

TEST(SrcHighlighterAvrTest, RangeValuesThatAreNoStateStartFresh) {
  TSrcAvrHl hl(nullptr);
  for (TSrcEditRange bad : {TSrcEditRange(-1), TSrcEditRange(rsLastRange + 1), TSrcEditRange(1) << 40}) {
    hl.SetRange(bad);
    hl.SetLine("x */", 0);
    EXPECT_EQ(H::tkIdentifier, hl.GetTokenID());
  }
}

// Random bytes cut at random places: the tokens follow each other without a
// gap, cover the whole line (zero bytes too), every call advances or
// changes the state, and no byte past the line is read (the line sits in a
// buffer of exactly its size, so the sanitizer build sees any stray read).
// The line starts in a state that startLine sets; endsWell checks the state
// at its end.
void ExpectContiguousTokens(TSrcCustomHighlighter& hl, const std::function<void(std::mt19937&)>& startLine,
                            const std::function<bool()>& endsWell) {
  std::mt19937 random(20240607);
  const std::string fragments[] = {"/*", "*/", "//", "#",  "\\",  "\"",   "'",
                                   "0x", "\r", "\n", "..", "<<=", "<c>", "</C>", "#include <", ">"};
  for (int round = 0; round < 4000; ++round) {
    std::string text;
    const int length = random() % 70;
    while (static_cast<int>(text.size()) < length) {
      if (random() % 3 == 0) text += fragments[random() % std::size(fragments)];
      else text += static_cast<char>(random() % 256);
    }
    std::unique_ptr<char[]> exact(new char[text.size()]);
    std::copy(text.begin(), text.end(), exact.get());
    const std::string_view line(exact.get(), text.size());

    startLine(random);
    const TSrcEditRange start = hl.GetRange();
    hl.SetLine(line, 0);
    size_t end = 0;
    int calls = 0;
    while (!hl.GetEol()) {
      ASSERT_EQ(end, static_cast<size_t>(hl.GetTokenPos())) << "gap in round " << round;
      const std::string token = hl.GetToken();
      ASSERT_EQ(line.substr(end, token.size()), token);
      end += token.size();
      ASSERT_LE(++calls, 2 * static_cast<int>(text.size()) + 2) << "no progress in round " << round;
      hl.Next();
    }
    EXPECT_EQ(text.size(), end) << "round " << round;
    EXPECT_EQ(text.size(), static_cast<size_t>(hl.GetTokenPos()));
    // Running to the line end without cutting the tokens ends in the same state.
    const TSrcEditRange range = hl.GetRange();
    hl.SetRange(start);
    EXPECT_EQ(range, hl.ScanLineEnd(line, 0)) << "round " << round;
    EXPECT_TRUE(hl.GetEol());
    EXPECT_EQ(range, hl.GetRange());
    EXPECT_TRUE(endsWell()) << "round " << round;
  }
}

TEST(SrcHighlighterAvrTest, RandomLinesAreCutIntoContiguousTokens) {
  TSrcAvrHl hl(nullptr);
  const TRangeState starts[] = {rsUnknown,         rsAnsiC,          rsDirective,         rsDirectiveComment,
                                rsLineComment,     rsString34,       rsString39,          rsString34Escaped,
                                rsString39Escaped, rsDirectiveString34, rsDirectiveString39};
  ExpectContiguousTokens(
      hl, [&](std::mt19937& random) { hl.SetRange(starts[random() % std::size(starts)]); },
      [&] { return std::find(std::begin(starts), std::end(starts), hl.GetRange()) != std::end(starts); });

  // The same C text with build-output regions between "<c>" and "</c>" in
  // any case, each line starting where the one before ended.
  TErrorWarningHl output(nullptr);
  TSrcMultiHl multi(nullptr);
  multi.SetDefaultHighlighter(&hl);
  TScheme& scheme = *multi.Schemes()->Add();
  scheme.SetStartExpr("<c>");
  scheme.SetEndExpr("</c>");
  scheme.SetCaseSensitive(false);
  scheme.SetHighlighter(&output);
  TSrcEditRange previous = 0;
  ExpectContiguousTokens(
      multi, [&](std::mt19937&) { multi.SetRange(previous); },
      [&] {
        previous = multi.GetRange();
        multi.SetRange(previous);
        return multi.GetRange() == previous;
      });
}

// Random C text in long lines, begun in any state: a scan that goes on from
// the line's start or from the point after any token of a scan from there,
// toward any position, starts at one of that scan's tokens (at or before
// the position) and cuts the rest of the line into the same tokens, ending
// in the same state.
TEST(SrcHighlighterAvrTest, AScanResumedAtAPointCutsTheRestAsTheScanFromTheStart) {
  std::mt19937 random(20240701);
  const std::string pieces[] = {"/*", "*/", "//", "#define X ", "\\", "\"a b\\\"\"", "'\"'", "x = 1; ", "\t", "  ",
                                "/", "*", "#", "\xB0\xA1", "0x1F, ", "if (a) b();", ",", "(", "+b", "\r", "\n",
                                std::string(300, 'a'), std::string(300, ' '), "#include <a//b>", "#import \"a\\\"//\""};
  const TRangeState starts[] = {rsUnknown,         rsAnsiC,          rsDirective,         rsDirectiveComment,
                                rsLineComment,     rsString34,       rsString39,          rsString34Escaped,
                                rsString39Escaped, rsDirectiveString34, rsDirectiveString39};
  struct TScanned {
    int Position, Length, Kind;
    TSrcScanPoint After;
  };
  TSrcAvrHl hl(nullptr);
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const size_t length = random() % 6000;
    while (text.size() < length) text += pieces[random() % std::size(pieces)];
    hl.SetRange(starts[random() % std::size(starts)]);
    const TSrcScanPoint lineStart = hl.LineStartPoint();
    std::vector<TScanned> full;
    for (hl.SetLine(text, 0); !hl.GetEol(); hl.Next())
      full.push_back({hl.GetTokenPos(), hl.GetTokenLength(), hl.GetTokenKind(), hl.GetScanPoint()});
    const TSrcEditRange end = hl.GetRange();
    for (int attempt = 0; attempt < 20; ++attempt) {
      const size_t after = random() % (full.size() + 1);
      const TSrcScanPoint from = after == 0 ? lineStart : full[after - 1].After;
      const int toward = from.Position + static_cast<int>(random() % (text.size() - from.Position + 2));
      hl.ResumeLine(text, 0, from, toward);
      const int first = hl.GetTokenPos();
      ASSERT_LE(first, std::max(toward, from.Position)) << "round " << round;
      auto token = std::find_if(full.begin(), full.end(), [&](const TScanned& t) { return t.Position >= first; });
      ASSERT_TRUE(token == full.end() ? first == static_cast<int>(text.size()) : token->Position == first)
          << "no token of the full scan starts at " << first << " in round " << round;
      // The empty preprocessor token before a comment may lie behind it.
      if (token != full.end() && token->Length == 0 && hl.GetTokenLength() != 0) ++token;
      for (; !hl.GetEol(); hl.Next(), ++token) {
        ASSERT_NE(token, full.end()) << "round " << round;
        ASSERT_EQ(token->Position, hl.GetTokenPos()) << "round " << round;
        ASSERT_EQ(token->Length, hl.GetTokenLength()) << "at " << token->Position << " in round " << round;
        ASSERT_EQ(token->Kind, hl.GetTokenKind()) << "at " << token->Position << " in round " << round;
      }
      ASSERT_EQ(token, full.end()) << "round " << round;
      ASSERT_EQ(end, hl.GetRange()) << "round " << round;
    }
  }
}

// Text an editor loads gets, line by line, the state a token-by-token scan
// from the first line leaves.
TEST(SrcHighlighterAvrTest, AnEditorStoresTheRangesOfAFullScan) {
  std::mt19937 random(20240612);
  const std::string pieces[] = {"/*", "*/", "/*/", "//", "#define X", "\\", "\"a/*\\\"\"", "'\"'", "x = 1;",
                                "\t", "  ", "/", "*", "#", "\xB0\xA1", "0x1F", "if (a) b();", "#include <a//b>"};
  std::string text;
  for (int line = 0; line < 3000; ++line) {
    const int count = random() % 5;
    for (int i = 0; i < count; ++i) text += pieces[random() % std::size(pieces)];
    text += "\r\n";
  }
  TSrcAvrHl hl(nullptr), reference(nullptr);
  TSrcEdit edit(nullptr);
  edit.SetHighlighter(&hl);
  edit.Lines().SetTextStr(text);
  TSrcEditRange state = rsUnknown;
  for (int i = 0; i < edit.Lines().Count(); ++i) {
    state = Scan(reference, edit.Lines().Get(i), state).End;
    ASSERT_EQ(state, edit.Lines().GetRange(i)) << "line " << i + 1 << ": " << edit.Lines().Get(i);
  }
  edit.SetHighlighter(nullptr);
}

}  // namespace
}  // namespace vk
