// Input: keys and chords, the mouse and dragging the selection within one
// editor and between two, dropped files, keys and clicks on a line longer
// than the scroll width, the input method, the text messages and the
// keystroke table as forms store it.

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/DropFiles.h"
#include "platform/Ime.h"
#include "platform/SystemMetrics.h"
#include "tests/SrcEdit/Source/EditorFixture.h"

namespace vk::test {
namespace {

using TLines = std::vector<std::string>;

class InputTest : public EditorTest {
protected:
  // A mouse message at a client point of the editor, delivered as the
  // desktop does: to the control holding the capture, if any.
  void Mouse(uint32_t message, const TCustomSrcEdit& over, int x, int y, uintptr_t keys = MK_LBUTTON) {
    const TPoint screen = over.ClientToScreen({x, y});
    SetCursorPos(screen.X, screen.Y);
    TControl* target = CaptureControl() ? CaptureControl() : const_cast<TCustomSrcEdit*>(&over);
    const TPoint at = target->ScreenToClient(screen);
    target->Perform(message, keys, MakeLParam(at.X, at.Y));
  }
  // The client point of the middle of a character cell.
  TPoint At(const TCustomSrcEdit& edit, int column, int line) const {
    return {edit.TextOrigin() + (column - 1) * edit.CellWidth() + 2, (line - 1) * edit.RowHeight() + 4};
  }
  // Presses on one cell and releases on another, moving in steps beyond
  // the drag threshold.
  void Drag(TCustomSrcEdit& from, TBufferCoord start, TCustomSrcEdit& to, TBufferCoord end, uintptr_t keys = 0) {
    const TPoint a = At(from, start.Char, start.Line);
    const TPoint b = At(to, end.Char, end.Line);
    Mouse(WM_LBUTTONDOWN, from, a.X, a.Y, MK_LBUTTON | keys);
    Mouse(WM_MOUSEMOVE, from, a.X + 20, a.Y + 20, MK_LBUTTON | keys);
    Mouse(WM_MOUSEMOVE, to, b.X, b.Y, MK_LBUTTON | keys);
    Mouse(WM_MOUSEMOVE, to, b.X, b.Y, MK_LBUTTON | keys);
    Mouse(WM_LBUTTONUP, to, b.X, b.Y, keys);
  }
};

// ---------------------------------------------------------------- keys

TEST_F(InputTest, AKeyThatRunsACommandTypesNoCharacter) {
  SetLines({"abc"});
  Edit.Perform(WM_KEYDOWN, VK_RIGHT);
  Edit.Perform(WM_CHAR, 'q');  // the key's own character
  Edit.Perform(WM_CHAR, 'x');
  EXPECT_EQ(Lines(), TLines{"axbc"});
  // Alt+Backspace produces no character.
  int pressed = 0;
  struct TCounter {
    int* Count;
    void Press(TObject*, char&) { ++*Count; }
  } counter{&pressed};
  Edit.OnKeyPress = TKeyPressEvent(&counter, &TCounter::Press);
  Edit.Perform(WM_CHAR, 8, AltMask);
  EXPECT_EQ(pressed, 0);
  Edit.OnKeyPress = nullptr;
}

TEST_F(InputTest, TwoStrokeChordsAndKeysThatStartNone) {
  Edit.AddKey(ecUserFirst, 'K', {ssCtrl}, 'B', {ssCtrl});
  EXPECT_EQ(Edit.TranslateKeyCode('K', {ssCtrl}), ecNone);
  EXPECT_EQ(Edit.TranslateKeyCode('B', {ssCtrl}), ecUserFirst);
  EXPECT_EQ(Edit.TranslateKeyCode('B', {ssCtrl}), ecNone);
  // A key outside 30..145 starts no chord.
  EXPECT_EQ(Edit.TranslateKeyCode(VK_SHIFT, {}), ecNone);
  EXPECT_EQ(Edit.TranslateKeyCode('B', {ssCtrl}), ecNone);
}

// ---------------------------------------------------------------- the mouse and dragging

TEST_F(InputTest, AClickInTheSelectionPlacesTheCaretUnlessItBecomesADrag) {
  SetLines({"abc def ghi"});
  Select({1, 1}, {8, 1});
  const TPoint p = At(Edit, 3, 1);
  Mouse(WM_LBUTTONDOWN, Edit, p.X, p.Y);
  Mouse(WM_MOUSEMOVE, Edit, p.X + GetSystemMetrics(SM_CXDRAG) - 1, p.Y);
  Mouse(WM_LBUTTONUP, Edit, p.X, p.Y, 0);
  EXPECT_FALSE(Edit.SelAvail());
  EXPECT_EQ(Edit.CaretX(), 3);
  EXPECT_EQ(DragSourceControl(), nullptr);
  EXPECT_EQ(Lines(), TLines{"abc def ghi"});

  Select({1, 1}, {4, 1});
  Drag(Edit, {2, 1}, Edit, {9, 1});
  EXPECT_EQ(Lines(), TLines{" def abcghi"});
  EXPECT_EQ(Edit.SelText(), "abc");
  Edit.Undo();
  EXPECT_EQ(Lines(), TLines{"abc def ghi"});
}

// A right click inside a column block keeps it, also where its corners
// name one character across a TAB (the block spans columns 5 to 11).
TEST_F(InputTest, ARightClickInsideAColumnBlockKeepsIt) {
  SetOption(eoRightMouseMovesCursor, true);
  SetLines({"x = PORTB;", "\tb = 2;"});
  Edit.SetSelectionMode(smColumn);
  for (const auto& [column, kept] : {std::pair{10, true}, std::pair{12, false}}) {
    Select({5, 1}, {5, 2});
    const TPoint p = At(Edit, column, 2);
    Mouse(WM_RBUTTONDOWN, Edit, p.X, p.Y, MK_RBUTTON);
    Mouse(WM_RBUTTONUP, Edit, p.X, p.Y, 0);
    EXPECT_EQ(kept, Edit.SelAvail()) << "column " << column;
  }
}

TEST_F(InputTest, DroppingTextInOneEditor) {
  struct TCase {
    TLines Text;
    TBufferCoord From, To, Drop;
    bool Copy;
    TLines Expected;
  };
  const TCase cases[] = {
      // A moved block lands where it was dropped, also after a selection
      // of several lines.
      {{"abcd", "efgh", "ijkl"}, {3, 1}, {3, 2}, {4, 2}, false, {"abgcd", "efh", "ijkl"}},
      {{"abcdef"}, {2, 1}, {4, 1}, {6, 1}, false, {"adebcf"}},
      {{"abcdef"}, {2, 1}, {4, 1}, {3, 1}, false, {"abcdef"}},  // into itself
      {{"abcdef"}, {2, 1}, {4, 1}, {4, 1}, true, {"abcbcdef"}},  // a copy at the end
  };
  for (const TCase& c : cases) {
    SetLines(c.Text);
    Select(c.From, c.To);
    SetKeyDown(VK_CONTROL, c.Copy);
    Drag(Edit, c.From, Edit, c.Drop, c.Copy ? MK_CONTROL : 0);
    SetKeyDown(VK_CONTROL, false);
    EXPECT_EQ(Lines(), c.Expected) << c.Drop.Char << "," << c.Drop.Line;
  }
}

TEST_F(InputTest, DroppingTextIntoAnotherEditor) {
  TSrcEdit other(nullptr);
  other.HandleNeeded();
  other.SetBounds(Edit.Width() + 100, 0, Edit.Width(), Edit.Height());
  other.Lines().Add("12345");
  SetLines({"abcdef"});
  // Copy by default, move with Shift.
  Select({2, 1}, {4, 1});
  Drag(Edit, {2, 1}, other, {3, 1});
  EXPECT_EQ(other.Lines().Get(0), "12bc345");
  EXPECT_EQ(Lines(), TLines{"abcdef"});
  Select({2, 1}, {4, 1});
  SetKeyDown(VK_SHIFT, true);
  Drag(Edit, {2, 1}, other, {1, 1}, MK_SHIFT);
  EXPECT_EQ(other.Lines().Get(0), "bc12bc345");
  EXPECT_EQ(Lines(), TLines{"adef"});
  // Out of a read-only editor a drag is always a copy.
  Edit.SetReadOnly(true);
  Select({1, 1}, {3, 1});
  Drag(Edit, {1, 1}, other, {1, 1}, MK_SHIFT);
  SetKeyDown(VK_SHIFT, false);
  EXPECT_EQ(other.Lines().Get(0), "adbc12bc345");
  EXPECT_EQ(Lines(), TLines{"adef"});
  // Nothing is dropped on a read-only editor.
  other.SetReadOnly(true);
  Edit.SetReadOnly(false);
  Select({1, 1}, {3, 1});
  Drag(Edit, {1, 1}, other, {1, 1});
  EXPECT_EQ(other.Lines().Get(0), "adbc12bc345");
  // A move that empties a line between a lone CR and a lone LF leaves one
  // CR LF break, which undo splits again.
  other.SetReadOnly(false);
  LoadBytes("a\rb\nc");
  Select({1, 2}, {2, 2});
  SetKeyDown(VK_SHIFT, true);
  Drag(Edit, {1, 2}, other, {1, 1}, MK_SHIFT);
  SetKeyDown(VK_SHIFT, false);
  EXPECT_EQ(SavedBytes(), "a\r\nc");
  Edit.Undo();
  EXPECT_EQ(SavedBytes(), "a\rb\nc");
}

TEST_F(InputTest, DroppedFilesReachTheEventAndTheHandleIsFinished) {
  TSrcEditorOptions options = Edit.Options();
  options.Include(eoDropFiles);
  Edit.SetOptions(options);
  struct TFiles {
    std::vector<std::string> Names;
    TPoint At;
    void Dropped(TObject*, int x, int y, TStrings& files) {
      At = {x, y};
      for (int i = 0; i < files.Count(); ++i) Names.push_back(files.Get(i));
    }
  } files;
  Edit.OnDropFiles = TDropFilesEvent(&files, &TFiles::Dropped);
  ASSERT_TRUE(DropFiles(Edit, {"/src/a.c", "/src/b.h"}, {5, 6}));
  EXPECT_EQ(files.Names, (std::vector<std::string>{"/src/a.c", "/src/b.h"}));
  EXPECT_EQ(files.At, (TPoint{5, 6}));
  EXPECT_EQ(LiveDropHandleCount(), 0);
  Edit.OnDropFiles = nullptr;
}

// ---------------------------------------------------------------- a line longer than the scroll width

// A font table written as one initializer of 100,000 bytes: every byte of
// it is reached by the keys and the mouse, typed at, selected and copied,
// whether or not the caret may pass line ends, and the caret stays in
// view. One Undo takes back the typed character.
TEST_F(InputTest, EveryByteOfALineLongerThanTheScrollWidthIsReachedAndEdited) {
  std::string table = "const uint8_t font[] = {";
  for (int i = 0; table.size() < 99998; ++i) table += Format("0x%02X, ", i & 0xFF);
  table.resize(99998);
  table += "};";
  const std::string head = "#include <avr/pgmspace.h>\r\n";
  const std::string file = head + table;
  const auto with = [&](size_t at, size_t count, const std::string& text) {
    return head + std::string(table).replace(at, count, text);
  };
  const auto key = [this](uint16_t code, TShiftState shift = {}) {
    SetKeyDown(VK_SHIFT, shift.Contains(ssShift));
    SetKeyDown(VK_CONTROL, shift.Contains(ssCtrl));
    Edit.Perform(WM_KEYDOWN, code);
    SetKeyDown(VK_SHIFT, false);
    SetKeyDown(VK_CONTROL, false);
  };
  const auto scroll = [this](int code, int times = 1) {
    for (int i = 0; i < times; ++i) Edit.Perform(WM_HSCROLL, static_cast<uintptr_t>(code));
  };
  const auto click = [this](int column, bool twice = false) {
    const TPoint p = At(Edit, column, 2);
    Mouse(WM_LBUTTONDOWN, Edit, p.X, p.Y);
    Mouse(WM_LBUTTONUP, Edit, p.X, p.Y, 0);
    if (!twice) return;
    Mouse(WM_LBUTTONDBLCLK, Edit, p.X, p.Y);
    Mouse(WM_LBUTTONUP, Edit, p.X, p.Y, 0);
  };
  // Where two texts first differ: a readable failure for 100,000 bytes.
  const auto firstDifference = [](const std::string& a, const std::string& b) {
    const auto [i, j] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return i == a.end() && j == b.end() ? std::string::npos : static_cast<size_t>(i - a.begin());
  };
  const struct {
    const char* Name;
    std::function<void()> Steps;  // from column 1 of the table's line
    std::string Saved;            // once "X" is typed
  } cases[] = {
      {"column 1,025", [&] { Goto(1025, 2); }, with(1024, 0, "X")},
      {"the line's end", [&] { Goto(100001, 2); }, file + "X"},
      {"End", [&] { key(VK_END); }, file + "X"},
      {"Right across column 1,024",
       [&] {
         Goto(1024, 2);
         key(VK_RIGHT);
         key(VK_RIGHT);
       },
       with(1025, 0, "X")},
      {"Ctrl+Right across column 1,024",
       [&] {
         Goto(1024, 2);
         key(VK_RIGHT, {ssCtrl});
       },
       with(table.find("0x", 1023), 0, "X")},
      {"Shift+End from column 1,000",
       [&] {
         Goto(1000, 2);
         key(VK_END, {ssShift});
       },
       with(999, std::string::npos, "X")},
      {"Select All, Copy, Ctrl+End, Paste",
       [&] {
         key('A', {ssCtrl});
         key('C', {ssCtrl});
         key(VK_END, {ssCtrl});
         key('V', {ssCtrl});
       },
       file + file + "X"},
      {"a click after paging right 13 times",
       [&] {
         scroll(SB_PAGERIGHT, 13);
         click(Edit.LeftChar());
       },
       with(1040, 0, "X")},
      {"a double click on a number at column 2,000",
       [&] {
         Goto(2000, 2);
         click(2000, true);
       },
       with(table.rfind("0x", 1999), 4, "X")},
      {"a click on the last column after scrolling right to the end",
       [&] {
         scroll(SB_RIGHT);
         click(Edit.LeftChar() + Edit.ColumnsInWindow() - 1);
       },
       with(99999, 0, "X")},
  };
  for (const bool pastEol : {true, false}) {
    SetOption(eoScrollPastEol, pastEol);
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.Name) + (pastEol ? ", caret past line ends" : ""));
      LoadBytes(file);
      Goto(1, 2);
      c.Steps();
      const std::string before = SavedBytes();
      // As the desktop types: the key, then its character.
      key('X');
      Edit.Perform(WM_CHAR, 'X');
      EXPECT_EQ(firstDifference(SavedBytes(), c.Saved), std::string::npos);
      EXPECT_TRUE(Edit.CaretInView());
      Edit.Undo();
      EXPECT_EQ(firstDifference(SavedBytes(), before), std::string::npos);
    }
  }
}

// ---------------------------------------------------------------- input method and text messages

TEST_F(InputTest, AnInputMethodResultIsTypedOnce) {
  SetLines({"ab"});
  Edit.CommandProcessor(ecGotoXY, 0, TBufferCoord{2, 1});
  InputContext(ImmGetContext(Edit)).ResultString = "\xB0\xA1";
  Edit.Perform(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
  Edit.Perform(WM_CHAR, 0xB0);
  Edit.Perform(WM_CHAR, 0xA1);
  EXPECT_EQ(Lines(), TLines{"a\xB0\xA1" "b"});
  Edit.Perform(WM_CHAR, 'x');
  EXPECT_EQ(Lines(), TLines{"a\xB0\xA1xb"});
}

TEST_F(InputTest, GetTextCopiesWithinTheBuffer) {
  SetLines({"abcdefghijkl"});
  char buffer[16];
  std::fill(std::begin(buffer), std::end(buffer), '#');
  EXPECT_EQ(Edit.Perform(WM_GETTEXT, 0, reinterpret_cast<intptr_t>(buffer + 1)), 0);
  EXPECT_EQ(std::string(buffer, 16), std::string(16, '#'));
  EXPECT_EQ(Edit.Perform(WM_GETTEXT, 10, reinterpret_cast<intptr_t>(buffer)), 9);
  EXPECT_EQ(std::string(buffer), "abcdefghi");
  EXPECT_EQ(Edit.Perform(WM_GETTEXTLENGTH), 12);
  Edit.SetReadOnly(true);
  EXPECT_EQ(Edit.Perform(WM_CUT), 1);
  EXPECT_EQ(Lines(), TLines{"abcdefghijkl"});
}

// ---------------------------------------------------------------- keystrokes in forms

TEST_F(InputTest, KeystrokeDifferencesRoundTrip) {
  EXPECT_FALSE(Edit.KeystrokesDiffer(nullptr));
  TSrcEditKeyStrokes& keys = Edit.Keystrokes();
  keys.Delete(keys.FindShortcut2(ShortCut(VK_RETURN, {ssShift}), 0));
  keys.Delete(keys.FindShortcut2(ShortCut(VK_F1, {}), 0));
  Edit.AddKey(ecUserFirst, 'Q', {ssCtrl});
  ASSERT_TRUE(Edit.KeystrokesDiffer(nullptr));
  TSrcEditKeyStrokes removed(nullptr);
  TSrcEditKeyStrokes added(nullptr);
  Edit.WriteRemovedKeystrokes(removed, nullptr);
  Edit.WriteAddedKeystrokes(added, nullptr);
  ASSERT_EQ(removed.Count(), 2);
  EXPECT_EQ(removed.Items(0)->Command(), ecLineBreak);
  EXPECT_EQ(removed.Items(1)->Command(), ecContextHelp);
  ASSERT_EQ(added.Count(), 1);
  EXPECT_EQ(added.Items(0)->Command(), ecUserFirst);

  TSrcEdit loaded(nullptr);
  loaded.ReadRemovedKeystrokes(removed);
  loaded.ReadAddedKeystrokes(added);
  EXPECT_FALSE(loaded.KeystrokesDiffer(&Edit.Keystrokes()));
}

}  // namespace
}  // namespace vk::test
