// The source editor in a real Qt window: what it shows (highlighting,
// gutter, bookmarks, selection, caret), what Qt's input does to it, the
// desktop's clipboard and scrolling.

#include <gtest/gtest.h>

#include <QtCore/QMimeData>
#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtWidgets/QScrollBar>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "SrcEdit/Source/SrcEdit.h"
#include "SrcEdit/Source/SrcHighlighterAvr.h"
#include "platform/Caret.h"
#include "platform/SystemMetrics.h"
#include "platform/qt/QtControlHost.h"
#include "platform/qt/QtPlatform.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {
namespace {

// "hangeul" in the code page and in UTF-8.
const std::string HangeulAnsi = "\xC7\xD1\xB1\xDB";
const char HangeulUtf8[] = "\xED\x95\x9C\xEA\xB8\x80";

const char AvrSample[] =
    "#include <avr/io.h>\r\n"
    "#define LED PB5\r\n"
    "\r\n"
    "int main(void) {\r\n"
    "  DDRB |= 0x20;  // LED pin as output\r\n"
    "  for (;;) {\r\n"
    "    PORTB ^= (1 << LED);\r\n"
    "    puts(\"blink\");\r\n"
    "  }\r\n"
    "  return 0;\r\n"
    "}";

// The token colours of the sample; the AVR names and hex numbers keep the
// highlighter's own.
const TColor KeywordColor = clNavy, CommentColor = clGreen, DirectiveColor = clTeal, StringColor = clPurple;

std::vector<std::string> LinesOf(const TCustomSrcEdit& edit) {
  std::vector<std::string> lines;
  for (int i = 0; i < edit.Lines().Count(); ++i) lines.push_back(edit.Lines().Get(i));
  return lines;
}

QImage ToRgb32(const QPixmap& pixmap) { return pixmap.toImage().convertToFormat(QImage::Format_RGB32); }

int CountColor(const QImage& image, const QRect& r, QRgb color) {
  return r.width() * r.height() - CountOther(image, r, color);
}

// The bounds of the pixels where two images differ; null when none do.
QRect DifferingPixels(const QImage& a, const QImage& b) {
  QRect bounds;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) bounds |= QRect(x, y, 1, 1);
  return bounds;
}

// An AVR highlighter coloured as the IDE colours it, and an editor with the
// line numbers on shown in a host window with the focus.
class QtEditorTest : public testing::Test {
protected:
  QtEditorTest() {
    QGuiApplication::clipboard()->clear();
    Caret.SetBlinkTime(0);  // a caret that stays put for the pictures
    Highlighter.KeyAttri()->SetForeground(KeywordColor);
    Highlighter.CommentAttri()->SetForeground(CommentColor);
    Highlighter.DirecAttri()->SetForeground(DirectiveColor);
    Highlighter.StringAttri()->SetForeground(StringColor);
    SetUpEditor(Edit, Host);
  }
  ~QtEditorTest() override {
    Caret.SetBlinkTime(SavedBlinkTime);
    QGuiApplication::clipboard()->clear();
  }

  void SetUpEditor(TSrcEdit& edit, TQtControlHost& host) {
    edit.SetBounds(0, 0, 520, 260);
    edit.Font().SetName(TestFace);
    edit.SetHighlighter(&Highlighter);
    edit.Gutter().SetShowLineNumbers(true);
    edit.SrcSetText(AvrSample);
    ShowAndActivate(host);
    edit.SetFocus();
  }

  // A fresh paint of the whole client area.
  QImage Grab() { return ToRgb32(Host.ClientArea()->grab()); }
  // The client pixels of count cells from a text position.
  QRect Cells(int line, int column, int count) const {
    TPoint p = Edit.RowColumnToPixels(Edit.BufferToDisplayPos({column, line}));
    return QRect(p.X, p.Y, count * Edit.CellWidth(), Edit.RowHeight());
  }
  // What the screen shows equals what a fresh paint shows: every change
  // reached the window.
  void ExpectScreenIsUpToDate() {
    QImage screen = ScreenImage(Host), fresh = ToRgb32(Host.grab());
    QRect stale = DifferingPixels(screen, fresh);
    EXPECT_TRUE(stale.isNull()) << "stale pixels at " << stale.x() << "," << stale.y() << " " << stale.width() << "x"
                                << stale.height();
  }
  QWidget* Client() const { return Host.ClientArea(); }

  TQtCaret& Caret = TQtPlatform::Instance()->Caret();
  const int SavedBlinkTime = Caret.BlinkTime();
  TSrcAvrHl Highlighter{nullptr};
  TSrcEdit Edit{nullptr};
  TQtControlHost Host{Edit};
};

TEST_F(QtEditorTest, AHighlightedFileShowsItsColoursGutterBookmarkSelectionAndCaret) {
  Edit.SetBookMark(1, 1, 4);
  Edit.SetCaretAndSelection({24, 7}, {14, 7}, {24, 7});  // "(1 << LED)"
  std::cout << "screenshot: " << SaveScreenshot(ToRgb32(Host.grab()), "editor-avr.png") << "\n";
  QImage image = Grab();

  // Each token's cells carry its colour and none of the others'.
  struct TToken {
    int Line, Column, Length;
    TColor Color;
  } tokens[] = {
      {1, 1, 8, DirectiveColor},
      {4, 1, 3, KeywordColor},
      {5, 3, 4, Highlighter.AvrVarAttri()->Foreground()},
      {5, 11, 4, Highlighter.HexKeyAttri()->Foreground()},
      {5, 18, 20, CommentColor},
      {6, 3, 3, KeywordColor},
      {8, 10, 7, StringColor},
      {10, 3, 6, KeywordColor},
  };
  for (const TToken& token : tokens) {
    QRect cells = Cells(token.Line, token.Column, token.Length);
    EXPECT_GT(CountColor(image, cells, Rgb(token.Color)), token.Length) << token.Line << ":" << token.Column;
    for (const TToken& other : tokens)
      if (other.Color != token.Color) {
        EXPECT_EQ(CountColor(image, cells, Rgb(other.Color)), 0) << token.Line << ":" << token.Column;
      }
    EXPECT_EQ(CountColor(image, cells, Rgb(clHighlight)), 0);
  }

  // The selected cells: highlight behind highlight-coloured text.
  QRect selected = Cells(7, 14, 10);
  EXPECT_GT(CountColor(image, selected, Rgb(clHighlight)), selected.width() * selected.height() / 2);
  EXPECT_GT(CountColor(image, selected, Rgb(clHighlightText)), 20);
  EXPECT_EQ(CountColor(image, Cells(7, 5, 8), Rgb(clHighlight)), 0);

  // The gutter: each line's number right-aligned in its row, the bookmark
  // glyph on line 4, nothing below the text.
  const int gutter = Edit.GutterWidth(), numbersRight = gutter - Edit.Gutter().RightOffset() - 2;
  const QRgb gutterColor = Rgb(Edit.Gutter().Color());
  auto inkBounds = [&](const QRect& area) {
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        if (image.pixel(x, y) != gutterColor) bounds |= QRect(x, y, 1, 1);
    return bounds;
  };
  const int rowHeight = Edit.RowHeight(), numbersLeft = Edit.Gutter().LeftOffset();
  int singleDigitLeft = numbersRight;
  for (int line = 1; line <= Edit.RowsInWindow(); ++line) {
    QRect number = inkBounds(QRect(numbersLeft, (line - 1) * rowHeight, numbersRight - numbersLeft, rowHeight));
    if (line > Edit.Lines().Count()) {
      EXPECT_TRUE(number.isNull()) << line;
      continue;
    }
    ASSERT_FALSE(number.isNull()) << line;
    EXPECT_GE(number.right(), numbersRight - 3) << line;
    if (line < 10) singleDigitLeft = std::min(singleDigitLeft, number.left());
    if (line >= 10) {
      EXPECT_LT(number.left(), singleDigitLeft - 2) << line;
    }
    QRect glyph = inkBounds(QRect(0, (line - 1) * rowHeight, numbersLeft, rowHeight));
    EXPECT_EQ(glyph.isNull(), line != 4) << line;
  }
  EXPECT_LT(inkBounds(QRect(0, 3 * rowHeight, numbersLeft, rowHeight)).left(),
            Edit.BookMarkOptions().LeftMargin() + 2);

  // The caret: the pixels of its shape at the caret's cell, in both modes.
  struct TCaretCase {
    bool Insert;
    QRect Shape;  // relative to the cell
  } carets[] = {{true, QRect(-1, 1, 2, rowHeight - 2)}, {false, QRect(0, 1, Edit.CellWidth(), rowHeight - 2)}};
  for (const TCaretCase& c : carets) {
    Edit.SetInsertMode(c.Insert);
    QImage shown = Grab();
    HideCaret(&Edit);
    QImage hidden = Grab();
    ShowCaret(&Edit);
    EXPECT_EQ(DifferingPixels(shown, hidden), c.Shape.translated(Cells(7, 24, 1).topLeft())) << c.Insert;
  }
}

// A key pressed in the window (a typed character sent with its text, as a
// keyboard sends Shift+Q as "Q"), and a command run on a headless editor.
struct TKey {
  Qt::Key Key;
  Qt::KeyboardModifiers Modifiers = Qt::NoModifier;
  const char* Text = "";  // UTF-8
};
struct TCommand {
  TSrcEditorCommand Command;
  char Char = 0;
};

TEST_F(QtEditorTest, KeysInTheWindowChangeTheTextAsTheirCommandsDoHeadless) {
  const Qt::KeyboardModifiers shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
  struct TCase {
    const char* Name;
    std::vector<TKey> Keys;
    std::vector<TCommand> Commands;
  } cases[] = {
      {"typing",
       {{Qt::Key_X, {}, "x"}, {Qt::Key_Y, {}, "y"}, {Qt::Key_Space, {}, " "}},
       {{ecChar, 'x'}, {ecChar, 'y'}, {ecChar, ' '}}},
      {"selecting", {{Qt::Key_Right, shift}, {Qt::Key_Right, shift}, {Qt::Key_Down, shift}},
       {{ecSelRight}, {ecSelRight}, {ecSelDown}}},
      {"typing over a selection", {{Qt::Key_End, shift}, {Qt::Key_Q, shift, "Q"}}, {{ecSelLineEnd}, {ecChar, 'Q'}}},
      {"undo",
       {{Qt::Key_A, {}, "a"}, {Qt::Key_B, {}, "b"}, {Qt::Key_Z, ctrl}},
       {{ecChar, 'a'}, {ecChar, 'b'}, {ecUndo}}},
      {"undo and redo", {{Qt::Key_Right, shift}, {Qt::Key_Delete}, {Qt::Key_Z, ctrl}, {Qt::Key_Z, ctrl | shift}},
       {{ecSelRight}, {ecDeleteChar}, {ecUndo}, {ecRedo}}},
      {"lines", {{Qt::Key_Return}, {Qt::Key_Backspace}, {Qt::Key_Backspace}, {Qt::Key_Y, ctrl}},
       {{ecLineBreak}, {ecDeleteLastChar}, {ecDeleteLastChar}, {ecDeleteLine}}},
      // A layout's letter outside ASCII has no virtual key: it still goes
      // down before its characters, which a movement key's down must not eat.
      {"a letter without a virtual key after a movement",
       {{Qt::Key_Right}, {Qt::Key(0xD55C), {}, "\xED\x95\x9C"}},
       {{ecRight}, {ecChar, '\xC7'}, {ecChar, '\xD1'}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSrcEdit headless(nullptr);
    headless.SetBounds(0, 0, Edit.Width(), Edit.Height());
    headless.HandleNeeded();
    headless.SrcSetText(AvrSample);
    Edit.SrcSetText(AvrSample);
    Edit.ClearUndo();
    Edit.SetModified(false);
    for (TCustomSrcEdit* edit : {static_cast<TCustomSrcEdit*>(&Edit), static_cast<TCustomSrcEdit*>(&headless)})
      edit->SetCaretXY({7, 4});  // after "int ma"
    for (const TKey& key : c.Keys)
      QTest::sendKeyEvent(QTest::Click, Client(), key.Key, QString::fromUtf8(key.Text), key.Modifiers);
    for (const TCommand& command : c.Commands) headless.CommandProcessor(command.Command, command.Char);
    EXPECT_EQ(LinesOf(Edit), LinesOf(headless));
    EXPECT_EQ(Edit.CaretXY(), headless.CaretXY());
    EXPECT_EQ(Edit.BlockBegin(), headless.BlockBegin());
    EXPECT_EQ(Edit.BlockEnd(), headless.BlockEnd());
    EXPECT_EQ(Edit.Modified(), headless.Modified());
    ExpectScreenIsUpToDate();
  }
}

TEST_F(QtEditorTest, TheMousePlacesTheCaretSelectsByDraggingAndSelectsAWordByDoubleClicking) {
  // Just right of a cell's left edge: the caret goes before that character.
  auto at = [&](int line, int column) { return Cells(line, column, 1).topLeft() + QPoint(1, 3); };
  QTest::mouseClick(Client(), Qt::LeftButton, {}, at(4, 5));
  EXPECT_EQ(Edit.CaretXY(), (TBufferCoord{5, 4}));
  EXPECT_FALSE(Edit.SelAvail());

  QTest::mousePress(Client(), Qt::LeftButton, {}, at(7, 5));
  QTest::mouseMove(Client(), at(7, 10));
  QTest::mouseRelease(Client(), Qt::LeftButton, {}, at(7, 10));
  EXPECT_EQ(Edit.SelText(), "PORTB");
  EXPECT_EQ(Edit.CaretXY(), (TBufferCoord{10, 7}));

  // The desktop's order: press, release, double click, release.
  QTest::mouseClick(Client(), Qt::LeftButton, {}, at(4, 6));
  QTest::mouseDClick(Client(), Qt::LeftButton, {}, at(4, 6));
  QTest::mouseRelease(Client(), Qt::LeftButton, {}, at(4, 6));
  EXPECT_EQ(Edit.SelText(), "main");
  ExpectScreenIsUpToDate();
}

TEST_F(QtEditorTest, AKoreanStringCommittedByTheInputMethodLandsAsItsAnsiBytes) {
  Edit.SetCaretXY({21, 5});  // after "// "
  QInputMethodEvent preedit(QString::fromUtf8("\xE3\x85\x8E"), {});  // jamo "h" being composed
  QCoreApplication::sendEvent(Client(), &preedit);
  EXPECT_EQ(Edit.Lines().Get(4), "  DDRB |= 0x20;  // LED pin as output");
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8(HangeulUtf8));
  QCoreApplication::sendEvent(Client(), &commit);
  EXPECT_EQ(Edit.Lines().Get(4), "  DDRB |= 0x20;  // " + HangeulAnsi + "LED pin as output");
  EXPECT_EQ(Edit.CaretXY(), (TBufferCoord{25, 5}));
  ExpectScreenIsUpToDate();
  // Each character's glyph spans both of its cells, in the comment's colour
  // (thin strokes: blends of green and white). The caret would cover the
  // last cell's edge.
  HideCaret(&Edit);
  QImage image = Grab();
  ShowCaret(&Edit);
  const QRgb background = Rgb(clWindow);
  for (int column : {21, 22, 23, 24}) {
    QRect cell = Cells(5, column, 1);
    EXPECT_GT(CountOther(image, cell, background), 3) << column;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      for (int x = cell.left(); x <= cell.right(); ++x) {
        QRgb p = image.pixel(x, y);
        if (p != background) {
          EXPECT_TRUE(qGreen(p) > qRed(p) && qRed(p) == qBlue(p)) << column << " " << std::hex << p;
        }
      }
  }
  // One undo step takes the whole string back.
  QTest::keyClick(Client(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Edit.Lines().Get(4), "  DDRB |= 0x20;  // LED pin as output");
}

TEST_F(QtEditorTest, AColumnCopiedInOneEditorIsPastedAsAColumnInAnother) {
  Edit.SrcSetText("abcdef\r\nghijkl\r\nmnopqr");
  Edit.SetSelectionMode(smColumn);
  Edit.SetCaretAndSelection({4, 3}, {2, 1}, {4, 3});
  QTest::keyClick(Client(), Qt::Key_C, Qt::ControlModifier);

  // Plain text for other programs, the block with its mode for this one.
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->text(), QStringLiteral("bc\nhi\nno"));
  QByteArray block = data->data(QStringLiteral("application/x-vornkit-srcedit-control-block-type"));
  ASSERT_FALSE(block.isEmpty());
  EXPECT_EQ(block.at(0), 2);  // column mode

  TSrcEdit second(nullptr);
  TQtControlHost secondHost(second);
  SetUpEditor(second, secondHost);
  second.SrcSetText("12345\r\n67890\r\nABCDE\r\nFGHIJ");
  second.SetCaretXY({3, 2});
  QTest::keyClick(secondHost.ClientArea(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(LinesOf(second), (std::vector<std::string>{"12345", "67bc890", "ABhiCDE", "FGnoHIJ"}));
  EXPECT_EQ(second.SelectionMode(), smNormal);  // the block keeps its mode, not the editor's
}

TEST_F(QtEditorTest, PlainTextGoesToOtherProgramsAsUtf8AndComesBackInTheCodePage) {
  Edit.SrcSetText("// " + HangeulAnsi + " LED");
  Edit.SelectAll();
  QTest::keyClick(Client(), Qt::Key_C, Qt::ControlModifier);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->data(QStringLiteral("text/plain")), QByteArray("// ") + HangeulUtf8 + " LED");

  QGuiApplication::clipboard()->setText(QString::fromUtf8(HangeulUtf8) + QStringLiteral("\nx"));
  Edit.SetCaretXY({4, 1});
  QTest::keyClick(Client(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(LinesOf(Edit), (std::vector<std::string>{"// " + HangeulAnsi, "x" + HangeulAnsi + " LED"}));
}

TEST_F(QtEditorTest, EveryRepaintShowsWhatAFreshPaintOfTheWindowShows) {
  // Comment lines (italic) that end in glyphs reaching past their cell and
  // in double-byte characters, and enough lines to scroll.
  std::string text = "// int add(int d)\r\n// path /\r\n// " + HangeulAnsi + "\r\nint x; // " + HangeulAnsi +
                     "d\r\nPORTB = 1;\r\n";
  for (int line = 6; line <= 40; ++line) text += "// line " + std::to_string(line) + " d\r\n";
  Edit.SrcSetText(text);
  // A size at which the italic "d" and the trail bytes reach past the cell.
  TFont font;
  font.Assign(Edit.Font());
  font.SetHeight(-15);
  Edit.SetFont(font);
  Edit.SetCaretXY({1, 1});
  auto command = [&](TSrcEditorCommand c, const TSrcCommandData& data = {}) { Edit.CommandProcessor(c, 0, data); };
  auto invalidateColumns = [&](int first, int count) {
    const int left = Edit.RowColumnToPixels({first, 1}).X;
    Edit.InvalidateRect(Rect(left, 0, left + count * Edit.CellWidth(), Edit.ClientHeight()), false);
  };
  struct TCase {
    const char* Name;
    std::function<void()> Edit;
  } cases[] = {
      {"typing double-byte characters at a line end",
       [&] {
         Edit.SetCaretXY({1, 5});
         command(ecLineEnd);
         command(ecImeStr, " // " + HangeulAnsi);
       }},
      {"deleting the double-byte character at a line end", [&] { command(ecDeleteLastChar); }},
      {"deleting an italic glyph at a line end",
       [&] {
         Edit.SetCaretXY({18, 1});
         command(ecDeleteLastChar);
       }},
      {"a paste that shortens a line", [&] {
         Edit.SetCaretAndSelection({16, 4}, {11, 4}, {16, 4});
         Edit.SetSelText("y");
       }},
      {"a selection over italic and double-byte line ends",
       [&] { Edit.SetCaretAndSelection({3, 4}, {4, 1}, {3, 4}); }},
      {"the selection removed", [&] { Edit.SetCaretXY({1, 5}); }},
      {"scrolling down and up",
       [&] {
         Edit.SetTopLine(7);
         QCoreApplication::processEvents();
         Edit.SetTopLine(2);
       }},
      {"scrolling sideways", [&] { Edit.SetLeftChar(3); }},
      {"scrolling back", [&] { Edit.SetLeftChar(1); }},
      {"narrower and wider",
       [&] {
         Edit.SetBounds(0, 0, 300, 260);
         QCoreApplication::processEvents();
         Edit.SetBounds(0, 0, 520, 260);
       }},
      {"any clip rectangle",
       [&] {
         for (int column = 1; column <= 24; ++column) {
           invalidateColumns(column, 1);
           QCoreApplication::processEvents();
         }
         invalidateColumns(7, 5);
       }},
  };
  const QRgb unpainted = qRgb(255, 0, 255);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Edit();
    ExpectScreenIsUpToDate();
    // A paint over a picture in a colour the editor never uses leaves none of it.
    QImage painted(Client()->size(), QImage::Format_RGB32);
    painted.fill(unpainted);
    Client()->render(&painted, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(CountColor(painted, painted.rect(), unpainted), 0);
  }
}

// A file of 100,000 lines: comments and code holding double-byte characters
// (the highlighter hands each of their bytes over as a token of its own in
// code), every ninth line empty. Scrolled as a user scrolls it, and with
// any column repainted alone, the window shows what a fresh paint shows.
TEST_F(QtEditorTest, ALargeFileOfDoubleByteAndEmptyLinesRepaintsAsAFreshPaint) {
  std::string text;
  for (int line = 1; line <= 100000; ++line) {
    const std::string number = std::to_string(line);
    if (line % 9 == 0)
      text += "\r\n";
    else if (line % 3 == 1)
      text += "// " + HangeulAnsi + " comment " + number + "\r\n";
    else
      text += "PORTB = " + number + "; " + HangeulAnsi + " x" + HangeulAnsi + "\r\n";
  }
  Edit.SrcSetText(text);
  TFont font;
  font.Assign(Edit.Font());
  font.SetHeight(-13);
  Edit.SetFont(font);
  auto key = [&](Qt::Key k, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(Client(), k, modifiers); };
  auto eachColumnAlone = [&] {
    for (int column = 1; column <= 40; ++column) {
      const int left = Edit.RowColumnToPixels({column, 1}).X;
      Edit.InvalidateRect(Rect(left, 0, left + Edit.CellWidth(), Edit.ClientHeight()), false);
      QCoreApplication::processEvents();
    }
  };
  struct TCase {
    const char* Name;
    std::function<void()> Steps;
  } cases[] = {
      {"page down, then to the end", [&] {
         key(Qt::Key_PageDown);
         key(Qt::Key_End, Qt::ControlModifier);
       }},
      {"each column repainted alone", eachColumnAlone},
      {"up past empty lines, then page up", [&] {
         for (int i = 0; i < 30; ++i) key(Qt::Key_Up, Qt::ControlModifier);
         key(Qt::Key_PageUp);
       }},
      {"each column repainted alone there", eachColumnAlone},
      {"the caret before each double-byte character of a code line, then away", [&] {
         const int line = Edit.TopLine() + 1;  // a code line: "PORTB = n; " and the characters
         for (int column : {12, 14, 17, 19}) {
           Edit.SetCaretXY({column, line});
           QCoreApplication::processEvents();
           key(Qt::Key_Down);
           QCoreApplication::processEvents();
         }
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Steps();
    ExpectScreenIsUpToDate();
  }
}

// The C highlighter, counting the scans of one line that paints start.
class TCountingAvrHl : public TSrcAvrHl {
public:
  using TSrcAvrHl::TSrcAvrHl;
  void ResumeLine(std::string_view line, int index, const TSrcScanPoint& point, int toward) override {
    Scans += index == Counted;
    TSrcAvrHl::ResumeLine(line, index, point, toward);
  }
  int Counted = -1;
  int Scans = 0;
};

// Typing at the end of a long line scrolls the window with every key: each
// key's repaint scans the line once, and the window shows what a fresh
// paint shows.
TEST_F(QtEditorTest, TypingAtTheEndOfALongLineScansItOncePerKey) {
  TCountingAvrHl counting(nullptr);
  counting.Assign(Highlighter);
  Edit.SetHighlighter(&counting);
  std::string table = "const uint8_t font[] PROGMEM = {";
  while (table.size() < 20000) table += "0x1F, ";
  Edit.SrcSetText("int a;\r\n" + table + "\r\nint b;");
  Edit.SetCaretXY({static_cast<int>(table.size()) + 1, 2});
  QCoreApplication::processEvents();
  counting.Counted = 1;
  for (int key = 0; key < 3; ++key) {
    counting.Scans = 0;
    QTest::sendKeyEvent(QTest::Click, Client(), Qt::Key_X, "x", Qt::NoModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(counting.Scans, 1) << "key " << key;
  }
  EXPECT_GT(Edit.LeftChar(), 19000);
  ExpectScreenIsUpToDate();
  Edit.SetHighlighter(&Highlighter);
}

TEST_F(QtEditorTest, TheWheelAndTheScrollBarMoveTheTopLine) {
  std::string text;
  for (int line = 1; line <= 200; ++line) text += "int line" + std::to_string(line) + ";\r\n";
  Edit.SrcSetText(text);
  const int rows = Edit.RowsInWindow(), last = Edit.Lines().Count() - rows + 1;
  QScrollBar* bar = Host.ScrollBar(SB_VERT);
  ASSERT_TRUE(bar->isVisible());

  auto wheel = [&](int delta) {
    QPointF at(100, 50);
    QWheelEvent event(at, Client()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Client(), &event);
  };
  struct TCase {
    const char* Name;
    std::function<void()> Action;
    int TopLine;
  } cases[] = {
      {"wheel down", [&] { wheel(-120); }, 1 + WheelScrollLines()},
      {"wheel down twice", [&] { wheel(-240); }, 1 + 3 * WheelScrollLines()},
      {"wheel up", [&] { wheel(120); }, 1 + 2 * WheelScrollLines()},
      {"line down", [&] { bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); }, 2 + 2 * WheelScrollLines()},
      {"page down", [&] { bar->triggerAction(QAbstractSlider::SliderPageStepAdd); }, 2 + 2 * WheelScrollLines() + rows},
      {"to the end", [&] { bar->triggerAction(QAbstractSlider::SliderToMaximum); }, last},
      {"line up", [&] { bar->triggerAction(QAbstractSlider::SliderSingleStepSub); }, last - 1},
      {"thumb dragged",
       [&] {
         bar->setSliderDown(true);
         bar->setSliderPosition(50);
         bar->setSliderDown(false);
       },
       50},
      {"from code", [&] { Edit.SetTopLine(120); }, 120},
      {"to the top", [&] { bar->triggerAction(QAbstractSlider::SliderToMinimum); }, 1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Action();
    EXPECT_EQ(Edit.TopLine(), c.TopLine);
    EXPECT_EQ(bar->value(), c.TopLine);
    ExpectScreenIsUpToDate();
  }
}

}  // namespace
}  // namespace vk::test
