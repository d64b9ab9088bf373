#include <gtest/gtest.h>

#include <QtGui/QFontInfo>

#include "platform/qt/QtFonts.h"

namespace vk::test {
namespace {

TLogFont LogFont(const char* face, int height, int weight = FW_NORMAL, uint8_t pitch = DEFAULT_PITCH) {
  TLogFont font;
  font.SetFaceName(face);
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfPitchAndFamily = pitch;
  return font;
}

// Hangul "han" in the ANSI code page: lead byte 0xC7, trail byte 0xD1.
constexpr unsigned HangulHan = 0xC7D1;

TEST(QtFontsTest, CourierNewResolvesToAMonospacedFace) {
  // Equal advances, not the face's fixed-pitch flag: under a Korean locale
  // fontconfig picks a Korean coding face, whose Hangul is twice as wide and
  // which is not flagged fixed pitch.
  for (uint8_t pitch : {DEFAULT_PITCH, FIXED_PITCH}) {
    TQtFontMetrics metrics;
    TLogFont font = LogFont("Courier New", -16, FW_NORMAL, pitch);
    std::string family = QFontInfo(metrics.Font(font).Font).family().toStdString();
    EXPECT_GT(metrics.CharWidth(font, 'M'), 0);
    for (char c : {'i', 'W', '.', ' '}) EXPECT_EQ(metrics.CharWidth(font, c), metrics.CharWidth(font, 'M')) << family;
  }
}

TEST(QtFontsTest, TheLogicalFontSetsSizeWeightAndStyle) {
  TQtFontMetrics metrics;
  struct TCase {
    int Height;
    int Weight;
    uint8_t Italic;
  } cases[] = {{-16, FW_NORMAL, 0}, {-11, FW_BOLD, 0}, {-20, FW_NORMAL, 1}, {18, FW_BOLD, 1}, {0, 0, 0}};
  for (const TCase& c : cases) {
    TLogFont font = LogFont("DejaVu Sans Mono", c.Height, c.Weight);
    font.lfItalic = c.Italic;
    const TQtFont& made = metrics.Font(font);
    TTextMetric tm = metrics.TextMetrics(font);
    if (c.Height < 0) {
      EXPECT_EQ(made.Font.pixelSize(), -c.Height);
    } else if (c.Height > 0) {
      EXPECT_LE(tm.tmHeight, c.Height);  // a positive height is the whole cell
    }
    EXPECT_GT(tm.tmHeight, 0);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(made.Font.bold(), c.Weight >= FW_BOLD);
    EXPECT_EQ(made.Font.italic(), c.Italic != 0);
    EXPECT_EQ(tm.tmWeight, c.Weight);
    EXPECT_EQ(&metrics.Font(font), &made);  // made once
  }
}

TEST(QtFontsTest, AbcWidthsAddUpToTheAdvanceAlsoForHangul) {
  TQtFontMetrics metrics;
  for (int weight : {FW_NORMAL, FW_BOLD}) {
    TLogFont font = LogFont("Courier New", -15, weight);
    for (unsigned code : {unsigned('M'), unsigned('i'), unsigned(' '), HangulHan}) {
      TABC abc;
      ASSERT_TRUE(metrics.CharABCWidths(font, code, abc));
      EXPECT_EQ(abc.abcA + static_cast<int>(abc.abcB) + abc.abcC, metrics.CharWidth(font, code)) << code;
    }
  }
  // The Korean glyph comes from a font that has it: a real, wide glyph.
  TLogFont font = LogFont("Courier New", -15);
  EXPECT_GT(metrics.CharWidth(font, HangulHan), metrics.CharWidth(font, 'M'));
}

TEST(QtFontsTest, DoubleByteCharacterSetsReportDoubleByteFonts) {
  TQtFontMetrics metrics;
  TLogFont font = LogFont("Courier New", -15);
  font.lfCharSet = HANGEUL_CHARSET;
  EXPECT_EQ(metrics.FontLanguageInfo(font), GCP_DBCS);
  font.lfCharSet = ANSI_CHARSET;
  EXPECT_EQ(metrics.FontLanguageInfo(font), 0u);
}

}  // namespace
}  // namespace vk::test
