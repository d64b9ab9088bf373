// Painting on the raster canvas: what lands where, in which colours, and
// that any clip rectangle paints the pixels of the whole window.

#include <algorithm>
#include <memory>
#include <random>

#include "SrcEdit/Source/SrcHighlighterAvr.h"
#include "platform/RasterCanvas.h"
#include "platform/RecordingCanvas.h"
#include "tests/SrcEdit/Source/EditorFixture.h"

namespace vk::test {
namespace {

class PaintTest : public EditorTest {
protected:
  PaintTest() {
    Edit.SetColor(clWhite);
    Edit.Font().SetColor(clBlack);
    Edit.SelectedColor().SetBG(clNavy);
    Edit.SelectedColor().SetFG(clYellow);
    Edit.SetRightEdge(0);
  }
  // Paints the whole window onto a fresh raster canvas.
  TRasterCanvas& PaintAll() { return PaintRects({Edit.ClientRect()}); }
  TRasterCanvas& PaintRects(const std::vector<TRect>& rects) {
    auto canvas = std::make_unique<TRasterCanvas>(Edit.ClientWidth(), Edit.ClientHeight());
    TRasterCanvas& raster = *canvas;
    Edit.SetCanvas(std::move(canvas));
    Edit.ValidateAll();
    Edit.PaintRegion(rects, false);
    return raster;
  }
  // The pixel in the middle of a text cell (column, row are 1-based).
  TPoint Cell(int column, int row) const {
    return {Edit.TextOrigin() + (column - 1) * Edit.CellWidth() + 1, (row - 1) * Edit.RowHeight() + 1};
  }
  TColorRef Background(TRasterCanvas& canvas, int column, int row) const {
    const TPoint p = Cell(column, row);
    return canvas.PixelAt(p.X, p.Y);
  }
  const TRasterCanvas::TDrawnChar* CharAt(TRasterCanvas& canvas, int column, int row) const {
    const TPoint p = Cell(column, row);
    return canvas.CharAt(p.X, p.Y);
  }
};

TEST_F(PaintTest, AnyClipRectanglePaintsTheSamePixelsAsTheWholeWindow) {
  TSrcAvrHl highlighter(nullptr);
  highlighter.CommentAttri()->SetBackground(clAqua);
  Edit.SetHighlighter(&highlighter);
  TSrcEditorOptions options = Edit.Options();
  options.Include(eoShowSpecialChars);
  Edit.SetOptions(options);
  Edit.Gutter().SetShowLineNumbers(true);
  Edit.SetRightEdge(30);
  SetLines({"int main(void) { /* comment", "  still */ x = 1;\ty", "\xB0\xA1\xB0\xA2 \"text\"", "", "\t\tend"});
  Edit.SetSelectionMode(smColumn);
  Select({3, 1}, {6, 3});
  const TBitmap whole = PaintAll().Pixels();
  std::mt19937 random(7);
  for (int attempt = 0; attempt < 20; ++attempt) {
    const int w = Edit.ClientWidth();
    const int h = Edit.ClientHeight();
    const int left = std::uniform_int_distribution<int>(0, w - 1)(random);
    const int top = std::uniform_int_distribution<int>(0, h - 1)(random);
    const TRect clip = Rect(left, top, std::uniform_int_distribution<int>(left + 1, w)(random),
                            std::uniform_int_distribution<int>(top + 1, h)(random));
    TRasterCanvas& part = PaintRects({clip});
    for (int y = clip.Top; y < clip.Bottom; ++y)
      for (int x = clip.Left; x < clip.Right; ++x)
        ASSERT_EQ(part.PixelAt(x, y), whole.Pixel(x, y)) << x << "," << y << " in clip " << attempt;
  }
  Edit.SetHighlighter(nullptr);
}

// Typing at the end of a line longer than the window scrolls it: the
// update's region is the line's row and the strips the scroll uncovered,
// which cross that row. Its paint scans the line once, paints every pixel
// of the region and none besides.
TEST_F(PaintTest, AnUpdatePaintsItsRegionOnceAndNothingBesides) {
  struct TCounting : TCommentHighlighter {
    void SetLine(std::string_view line, int index) override {
      Scans += index == 1;
      TCommentHighlighter::SetLine(line, index);
    }
    int Scans = 0;
  } highlighter;
  Edit.SetHighlighter(&highlighter);
  Edit.SetColor(clSilver);
  SetLines({"a", std::string(200, 'x'), "b"});
  Goto(201, 2);
  Edit.Update();
  Run(ecChar, 'y');
  const std::vector<TRect> region = Edit.UpdateRegion();
  ASSERT_GT(region.size(), 1u);
  highlighter.Scans = 0;
  TRasterCanvas& canvas = PaintRects(region);
  EXPECT_EQ(highlighter.Scans, 1);
  int wrong = 0;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) {
      const bool inside =
          std::any_of(region.begin(), region.end(), [&](const TRect& r) { return PtInRect(r, {x, y}); });
      wrong += inside == (canvas.PixelAt(x, y) == ColorToRGB(clWhite));
    }
  EXPECT_EQ(wrong, 0);
  Edit.SetHighlighter(nullptr);
}

// The C highlighter without going on from kept points: every row it paints
// is scanned from its line's start.
class TFromTheStartAvrHl : public TSrcAvrHl {
public:
  using TSrcAvrHl::TSrcAvrHl;
  bool CanResumeLine() const override { return false; }
};

// Random C text with long lines (strings, comments, continued lines and
// comments, double-byte characters, TABs): at random left columns, among
// edits of the long lines, other texts of the same length put into them
// and lines inserted and deleted above them, with and without the special
// characters shown, the window shows what a window sharing the text shows
// whose rows are scanned from their lines' starts, cell by cell.
TEST_F(PaintTest, LongLinesPaintFromKeptPointsAsFromTheirLinesStarts) {
  TSrcAvrHl highlighter(nullptr);
  highlighter.CommentAttri()->SetForeground(clGreen);
  highlighter.StringAttri()->SetForeground(clRed);
  highlighter.DirecAttri()->SetForeground(clTeal);
  highlighter.NumberAttri()->SetForeground(clBlue);
  highlighter.SymbolAttri()->SetForeground(clMaroon);
  highlighter.InvalidAttri()->SetBackground(clYellow);
  TFromTheStartAvrHl reference(nullptr);
  reference.Assign(highlighter);
  Edit.SetHighlighter(&highlighter);
  TSrcEdit other(nullptr);
  other.HandleNeeded();
  other.SetBounds(0, 0, Edit.Width(), Edit.Height());
  other.SetColor(clWhite);
  other.Font().SetColor(clBlack);
  other.SetRightEdge(0);
  other.SetLinesPointer(&Edit);
  other.SetHighlighter(&reference);
  std::mt19937 random(20240703);
  // Code with strings and closed comments, so that long lines hold tokens
  // all along; what stays open to the line's end comes last.
  const std::string pieces[] = {"\\",        "\"a b\\\"\"",       "'\"'",     "x = 1; ", "\t",
                                "\t\t",       "x\t",             "  ",      "a / b",   "a * b",
                                "\xB0\xA1",   "0x1F, ",          ",",       "+b",      "if (a) b();",
                                "PORTB",      "/* c */",         "/* \xB0\xA1 */",        "\"\xC7\xD1\xB1\xDB\"",
                                std::string(300, 'a')};
  const std::string endings[] = {"", "// tail", "/* open", "#define X 1", " */ y", "\"open"};
  auto randomLine = [&](size_t length) {
    std::string line;
    while (line.size() < length) line += pieces[random() % std::size(pieces)];
    line += endings[random() % std::size(endings)];
    if (random() % 3 == 0) line += '\\';
    return line;
  };
  std::vector<std::string> lines;
  for (int i = 0; i < 12; ++i) lines.push_back(randomLine(i % 3 == 0 ? 20000 + random() % 20000 : random() % 200));
  SetLines(lines);
  auto cells = [&](TSrcEdit& edit) {
    auto canvas = std::make_unique<TRasterCanvas>(edit.ClientWidth(), edit.ClientHeight());
    TRasterCanvas& raster = *canvas;
    edit.SetCanvas(std::move(canvas));
    edit.ValidateAll();
    edit.PaintRegion({edit.ClientRect()}, false);
    std::vector<std::string> shown;
    for (int row = 1; row <= 25; ++row)
      for (int column = 1; column <= 80; ++column) {
        const TPoint p = Cell(edit.LeftChar() + column - 1, row);
        const TRasterCanvas::TDrawnChar* c = raster.CharAt(p.X, p.Y);
        shown.push_back(Format("%d,%d %s %x %d %x", column, row, c ? c->Text.c_str() : "-", c ? c->TextColor : 0,
                               c ? static_cast<int>(c->Style().Mask()) : 0, raster.PixelAt(p.X, p.Y)));
      }
    return shown;
  };
  for (int step = 0; step < 60; ++step) {
    const int line = static_cast<int>(random() % 12) / 3 * 3 + 1;
    switch (random() % 5) {
      case 0:
        Goto(static_cast<int>(random() % (Edit.Lines().Get(line - 1).size() + 1)) + 1, line);
        Run(ecChar, "a\"/*\\ "[random() % 6]);
        break;
      case 1: Edit.Lines().Insert(0, randomLine(random() % 50)); break;
      case 2: Edit.Lines().Delete(0); break;
      case 3: {
        // Another text of the same length (perhaps at the same address).
        std::string text = Edit.Lines().Get(line - 1);
        text.replace(0, 2, text.starts_with("//") ? "x " : "//");
        Edit.Lines().Put(line - 1, text);
        break;
      }
      default: break;
    }
    Edit.SetLeftChar(static_cast<int>(random() % 40000) + 1);
    SetOption(eoShowSpecialChars, step % 2 == 1);
    other.SetOptions(Edit.Options());
    other.SetTopLine(Edit.TopLine());
    other.SetLeftChar(Edit.LeftChar());
    ASSERT_EQ(cells(Edit), cells(other)) << "step " << step << " at column " << Edit.LeftChar();
  }
  other.SetHighlighter(nullptr);
  Edit.SetHighlighter(nullptr);
}

TEST_F(PaintTest, SelectionColoursInEveryMode) {
  struct TCase {
    TSrcSelectionMode Mode;
    TBufferCoord From, To;
    // Selected per row: columns [first, last).
    int First[3];
    int Last[3];
    std::vector<std::string> Text = {"abcdefgh", "abcdefgh", "abcdefgh"};
  };
  const TCase cases[] = {
      {smNormal, {3, 1}, {5, 3}, {3, 1, 1}, {99, 99, 5}},
      {smLine, {3, 1}, {5, 2}, {1, 1, 0}, {99, 99, 0}},
      {smColumn, {3, 1}, {6, 3}, {3, 3, 3}, {6, 6, 6}},
      {smColumn, {6, 1}, {3, 3}, {3, 3, 3}, {6, 6, 6}},  // drawn right to left: the same block
      // Both corners name the fifth character, which the TAB puts in column 12.
      {smColumn, {5, 1}, {5, 2}, {5, 5, 0}, {12, 12, 0}, {"x = PORTB;", "\tb = 2;", ""}},
  };
  for (const TCase& c : cases) {
    SetLines(c.Text);
    Edit.SetSelectionMode(c.Mode);
    Select(c.From, c.To);
    TRasterCanvas& canvas = PaintAll();
    for (int row = 1; row <= 3; ++row)
      for (int column = 1; column <= 8; ++column) {
        const bool selected = column >= c.First[row - 1] && column < c.Last[row - 1];
        EXPECT_EQ(Background(canvas, column, row), ColorToRGB(selected ? clNavy : clWhite))
            << c.Mode << " row " << row << " column " << column;
      }
  }
}

TEST_F(PaintTest, HiddenSelectionShowsOnlyWhileFocused) {
  SetLines({"abcdef"});
  Edit.SetHideSelection(true);
  Select({2, 1}, {4, 1});
  EXPECT_EQ(Background(PaintAll(), 2, 1), ColorToRGB(clWhite));
  Edit.SetFocus();
  EXPECT_EQ(Background(PaintAll(), 2, 1), ColorToRGB(clNavy));
  TWinControl::RemoveFocus(false);
}

TEST_F(PaintTest, SpecialLinesInvertTheirSelection) {
  SetLines({"abcdef", "abcdef"});
  struct TSpecial {
    void Colors(TObject*, int line, bool& special, TColor& fg, TColor& bg) {
      special = line == 2;
      if (special) {
        fg = clRed;
        bg = clLime;
      }
    }
  } special;
  Edit.OnSpecialLineColors = TSpecialLineColorsEvent(&special, &TSpecial::Colors);
  Select({1, 1}, {3, 2});
  TRasterCanvas& canvas = PaintAll();
  EXPECT_EQ(Background(canvas, 1, 2), ColorToRGB(clRed));  // selected: foreground as background
  EXPECT_EQ(CharAt(canvas, 1, 2)->TextColor, ColorToRGB(clLime));
  EXPECT_EQ(Background(canvas, 5, 2), ColorToRGB(clLime));
  EXPECT_EQ(CharAt(canvas, 5, 2)->TextColor, ColorToRGB(clRed));
  EXPECT_EQ(Background(canvas, 1, 1), ColorToRGB(clNavy));
  Edit.OnSpecialLineColors = nullptr;
}

TEST_F(PaintTest, TrailingCommentColourRunsToTheEndOfTheRow) {
  TSrcAvrHl highlighter(nullptr);
  highlighter.CommentAttri()->SetBackground(clAqua);
  highlighter.SpaceAttri()->SetBackground(clSilver);
  Edit.SetHighlighter(&highlighter);
  SetLines({"x = 1; // note", "x = 1;"});
  TRasterCanvas& canvas = PaintAll();
  EXPECT_EQ(Background(canvas, 12, 1), ColorToRGB(clAqua));
  EXPECT_EQ(Background(canvas, 60, 1), ColorToRGB(clAqua));
  EXPECT_EQ(Background(canvas, 60, 2), ColorToRGB(clSilver));
  Edit.SetHighlighter(nullptr);
}

// A backslash at the end of a "//" comment's line (blanks may follow it)
// joins the next line to the comment (and that one to the next, when it ends so too), as
// the compiler reads it; an edit that adds or takes away the backslash
// repaints the joined lines.
TEST_F(PaintTest, LinesJoinedToALineCommentPaintAsComment) {
  TSrcAvrHl highlighter(nullptr);
  highlighter.CommentAttri()->SetBackground(clAqua);
  Edit.SetHighlighter(&highlighter);
  struct TCase {
    std::vector<std::string> Lines;
    std::vector<bool> Comment;  // the first column of each row
  };
  const TCase cases[] = {
      {{"// a \\", "int y;", "z;"}, {true, true, false}},
      {{"// a \\", "b \\", "c", "d"}, {true, true, true, false}},
      {{"// a \\", "", "c"}, {true, false, false}},
      {{"// a \\ ", "b", "c"}, {true, true, false}},
      {{"#define X 1 // c \\", "d", "e"}, {false, true, false}},
      {{"/* a \\", "b */ c"}, {true, true}},
  };
  for (const TCase& c : cases) {
    SetLines(c.Lines);
    TRasterCanvas& canvas = PaintAll();
    for (size_t row = 0; row < c.Comment.size(); ++row)
      EXPECT_EQ(Background(canvas, 1, static_cast<int>(row) + 1), ColorToRGB(c.Comment[row] ? clAqua : clWhite))
          << c.Lines[0] << " row " << row + 1;
  }
  SetLines({"// a \\", "b \\", "c", "d"});
  TRasterCanvas& canvas = PaintAll();
  Goto(7, 1);
  Run(ecDeleteLastChar);
  Edit.Update();
  for (int row : {2, 3}) EXPECT_EQ(Background(canvas, 1, row), ColorToRGB(clWhite)) << "row " << row;
  Run(ecChar, '\\');
  Edit.Update();
  for (int row : {2, 3}) EXPECT_EQ(Background(canvas, 1, row), ColorToRGB(clAqua)) << "row " << row;
  EXPECT_EQ(Background(canvas, 1, 4), ColorToRGB(clWhite));
  Edit.SetHighlighter(nullptr);
}

TEST_F(PaintTest, SpecialCharactersShowWhereTheyBelong) {
  SetLines({"a b\tc", "a b\tc" + std::string(100, 'x')});
  Edit.SetTabWidth(8);
  TSrcEditorOptions options = Edit.Options();
  options.Include(eoShowSpecialChars);
  Edit.SetOptions(options);
  TSrcAvrHl highlighter(nullptr);
  TSrcCustomHighlighter* const highlighters[] = {nullptr, &highlighter};
  for (TSrcCustomHighlighter* h : highlighters) {
    Edit.SetHighlighter(h);
    Edit.SetLeftChar(1);
    TRasterCanvas& canvas = PaintAll();
    EXPECT_EQ(CharAt(canvas, 2, 1)->Text, "\xB7");
    // The TAB covers columns 4..8: its glyph sits on the middle cell, also
    // when the window shows the TAB from its middle.
    EXPECT_EQ(CharAt(canvas, 6, 1)->Text, "\xBB");
    EXPECT_EQ(CharAt(canvas, 4, 1)->Text, " ");
    EXPECT_EQ(CharAt(canvas, 10, 1)->Text, "\xB6");
    Edit.SetLeftChar(5);
    EXPECT_EQ(CharAt(PaintAll(), 6, 2)->Text, "\xBB") << (h ? "highlighted" : "plain");
  }
  Edit.SetHighlighter(nullptr);
  Edit.SetLeftChar(1);
  options.Exclude(eoShowSpecialChars);
  Edit.SetOptions(options);
  const std::string plain = PaintAll().TextAt(Cell(1, 1).Y);
  EXPECT_EQ(plain.find_first_of("\xB6\xB7\xBB"), std::string::npos) << plain;
  EXPECT_NE(plain.find('c'), std::string::npos);
}

TEST_F(PaintTest, RightEdgeRunsBelowTheLastLine) {
  SetLines({"abc"});
  Edit.SetRightEdge(10);
  Edit.SetRightEdgeColor(clRed);
  TRasterCanvas& canvas = PaintAll();
  const int x = Edit.TextOrigin() + 10 * Edit.CellWidth();
  EXPECT_EQ(canvas.PixelAt(x, 2), ColorToRGB(clRed));
  EXPECT_EQ(canvas.PixelAt(x, 5 * Edit.RowHeight()), ColorToRGB(clRed));
  Edit.SetRightEdge(0);
  EXPECT_NE(PaintAll().PixelAt(x, 2), ColorToRGB(clRed));
}

TEST_F(PaintTest, AnEmptyBufferPaintsItsFirstRowAndLineNumber) {
  Edit.Gutter().SetShowLineNumbers(true);
  Edit.Lines().Clear();
  TRasterCanvas& canvas = PaintAll();
  EXPECT_NE(canvas.TextAt(Edit.RowHeight() / 2).find('1'), std::string::npos);
  EXPECT_EQ(Background(canvas, 5, 3), ColorToRGB(clWhite));
}

TEST_F(PaintTest, TokensOfEqualColoursAreDrawnAsOneRun) {
  TSrcAvrHl highlighter(nullptr);
  Edit.SetHighlighter(&highlighter);
  SetLines({"alpha beta gamma delta"});
  auto recording = std::make_unique<TRecordingCanvas>();
  TRecordingCanvas& canvas = *recording;
  Edit.SetCanvas(std::move(recording));
  Edit.PaintRegion({Rect(Edit.GutterWidth(), 0, Edit.ClientWidth(), Edit.RowHeight())}, false);
  // Identifiers and the blanks between them: one text call.
  int withText = 0;
  for (const std::string& call : canvas.Calls("ExtTextOut"))
    if (call.find("\"alpha beta gamma delta\"") != std::string::npos) ++withText;
  EXPECT_EQ(withText, 1);
  Edit.SetHighlighter(nullptr);
}

TEST_F(PaintTest, TextAfterANulByteShowsInItsOwnColours) {
  TSrcAvrHl highlighter(nullptr);
  Edit.SetHighlighter(&highlighter);
  SetLines({std::string("x;\0int y;", 9)});
  TRasterCanvas& canvas = PaintAll();
  const TRasterCanvas::TDrawnChar* keyword = CharAt(canvas, 4, 1);
  ASSERT_NE(keyword, nullptr);
  EXPECT_EQ(keyword->Text, "i");
  EXPECT_EQ(keyword->TextColor, ColorToRGB(clBlack)) << "not in the blanks' colour";
  EXPECT_EQ(keyword->Style(), TFontStyles{fsBold});
  Edit.SetHighlighter(nullptr);
}

}  // namespace
}  // namespace vk::test
