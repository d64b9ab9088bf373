#include "SrcEdit/Source/SrcHighlighterErrorWarning.h"

#include <gtest/gtest.h>

#include "tests/SrcEdit/Source/HighlighterScan.h"

namespace vk {
namespace {

using test::Scan;
using test::TToken;
using H = TErrorWarningHl;

TEST(SrcHighlighterErrorWarningTest, BuildOutputLinesAreCutAsCText) {
  const struct {
    std::string Line;
    std::vector<TToken> Tokens;
  } cases[] = {
      {"main.c:12: error: expected ';'",
       {{"main", H::tkIdentifier}, {".", H::tkSymbol, xtkPoint}, {"c", H::tkIdentifier}, {":", H::tkSymbol, xtkColon},
        {"12", H::tkNumber}, {":", H::tkSymbol, xtkColon}, {" ", H::tkSpace}, {"error", H::tkErrorKey},
        {":", H::tkSymbol, xtkColon}, {" ", H::tkSpace}, {"expected", H::tkIdentifier}, {" ", H::tkSpace},
        {"';'", H::tkString}}},
      {"Warnings:", {{"Warnings", H::tkWarningKey}, {":", H::tkSymbol, xtkColon}}},
      {"Warning warnings warning", {{"Warning", H::tkWarningKey}, {" ", H::tkSpace}, {"warnings", H::tkWarningKey},
                                    {" ", H::tkSpace}, {"warning", H::tkWarningKey}}},
      {"Errors errors Error", {{"Errors", H::tkErrorKey}, {" ", H::tkSpace}, {"errors", H::tkErrorKey},
                               {" ", H::tkSpace}, {"Error", H::tkErrorKey}}},
      {"ERROR WARNING errorz", {{"ERROR", H::tkIdentifier}, {" ", H::tkSpace}, {"WARNING", H::tkIdentifier},
                                {" ", H::tkSpace}, {"errorz", H::tkIdentifier}}},
      {"0 0x10 10 0x1FUL", {{"0", H::tkNumber}, {" ", H::tkSpace}, {"0x10", H::tkNumber}, {" ", H::tkSpace},
                            {"10", H::tkNumber}, {" ", H::tkSpace}, {"0x1FUL", H::tkNumber}}},
      {"doesn't error", {{"doesn", H::tkIdentifier}, {"'t error", H::tkString}}},
      {"x.c:3: # error", {{"x", H::tkIdentifier}, {".", H::tkSymbol, xtkPoint}, {"c", H::tkIdentifier},
                          {":", H::tkSymbol, xtkColon}, {"3", H::tkNumber}, {":", H::tkSymbol, xtkColon},
                          {" ", H::tkSpace}, {"# error", H::tkDirective}}},
      {"printf asm PORTB", {{"printf", H::tkIdentifier}, {" ", H::tkSpace}, {"asm", H::tkIdentifier},
                            {" ", H::tkSpace}, {"PORTB", H::tkIdentifier}}},
  };
  TErrorWarningHl hl(nullptr);
  for (const auto& c : cases) {
    const test::TScanResult result = Scan(hl, c.Line, rsUnknown);
    EXPECT_EQ(c.Tokens, result.Tokens) << c.Line;
    EXPECT_EQ(rsUnknown, result.End) << c.Line;
  }
  // Block comments carry over lines as in C text.
  EXPECT_EQ(rsAnsiC, Scan(hl, "/* error", rsUnknown).End);
  EXPECT_EQ((std::vector<TToken>{{"error */", H::tkComment}, {"error", H::tkErrorKey}}),
            Scan(hl, "error */error", rsAnsiC).Tokens);
}

TEST(SrcHighlighterErrorWarningTest, AttributesAndTheirTokens) {
  TErrorWarningHl hl(nullptr);
  const char* names[] = {"Assembler", "Comment", "Identifier", "Illegal Char", "Number",       "Preprocessor",
                         "Reserved Word", "Space", "String",   "Symbol",       "System Value", "Variable"};
  ASSERT_EQ(12, hl.GetAttribCount());
  for (int i = 0; i < 12; ++i) EXPECT_EQ(names[i], hl.GetAttribute(i)->Name());
  EXPECT_EQ(clRed, hl.ErrorAttri()->Foreground());
  EXPECT_EQ(clBlue, hl.WarningAttri()->Foreground());
  EXPECT_TRUE(hl.ErrorAttri()->Style().Empty());
  EXPECT_EQ("Variable", hl.ErrorAttri()->Name());
  EXPECT_EQ("System Value", hl.WarningAttri()->Name());

  hl.SetLine("error", 0);
  EXPECT_EQ(hl.ErrorAttri(), hl.GetTokenAttribute());
  EXPECT_EQ(H::tkErrorKey, hl.GetTokenID());
  hl.SetLine("warnings", 0);
  EXPECT_EQ(hl.WarningAttri(), hl.GetTokenAttribute());
  hl.SetLine("12", 0);
  EXPECT_EQ(hl.NumberAttri(), hl.GetTokenAttribute());
  hl.NextToEol();
  EXPECT_EQ(nullptr, hl.GetTokenAttribute());
  EXPECT_EQ(hl.SpaceAttri(), hl.GetDefaultAttribute(4));
  EXPECT_EQ("C/C++", hl.LanguageName());
}

TEST(SrcHighlighterErrorWarningTest, IsRegisteredBesideTheAvrHighlighterAndFoundByClass) {
  TErrorWarningHl hl(nullptr);
  const int index = GetPlaceableHighlighters().FindByClass(&hl);
  ASSERT_GE(index, 0);
  EXPECT_TRUE(GetPlaceableHighlighters().GetItem(index)->IsInstance(&hl));
}

}  // namespace
}  // namespace vk
