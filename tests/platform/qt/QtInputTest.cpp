#include <gtest/gtest.h>

#include <QtCore/QMimeData>
#include <QtCore/QUrl>
#include <QtGui/QInputMethodEvent>
#include <QtTest/QTest>
#include <memory>

#include "SrcEdit/Source/SrcEditHotKey.h"
#include "platform/DropFiles.h"
#include "platform/Ime.h"
#include "platform/InputState.h"
#include "platform/qt/QtInput.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {
namespace {

TEST(QtInputTest, QtKeysBecomeVirtualKeys) {
  struct TCase {
    int Key;
    Qt::KeyboardModifiers Modifiers;
    uint16_t Vk;
  } cases[] = {
      {Qt::Key_A, {}, 'A'},
      {Qt::Key_Z, Qt::ShiftModifier, 'Z'},
      {Qt::Key_5, {}, '5'},
      {Qt::Key_5, Qt::KeypadModifier, VK_NUMPAD5},
      {Qt::Key_Exclam, Qt::ShiftModifier, '1'},
      {Qt::Key_F1, {}, VK_F1},
      {Qt::Key_F12, {}, VK_F12},
      {Qt::Key_Return, {}, VK_RETURN},
      {Qt::Key_Enter, Qt::KeypadModifier, VK_RETURN},
      {Qt::Key_Backtab, Qt::ShiftModifier, VK_TAB},
      {Qt::Key_PageDown, {}, VK_NEXT},
      {Qt::Key_Plus, Qt::KeypadModifier, VK_ADD},
      {Qt::Key_Plus, Qt::ShiftModifier, VK_OEM_PLUS},
      {Qt::Key_Colon, Qt::ShiftModifier, VK_OEM_1},
      {Qt::Key_BraceRight, Qt::ShiftModifier, VK_OEM_6},
      {Qt::Key_Control, {}, VK_CONTROL},
      {Qt::Key_Alt, {}, VK_MENU},
      {Qt::Key_Hangul, {}, 0},
  };
  for (const TCase& c : cases) EXPECT_EQ(VirtualKeyOf(c.Key, c.Modifiers), c.Vk) << c.Key;
}

TEST(QtInputTest, KeysTypeTheCharactersTheSystemsTranslationGives) {
  struct TCase {
    uint16_t Vk;
    Qt::KeyboardModifiers Modifiers;
    const char* Text;
    std::string Chars;
  } cases[] = {
      {'A', {}, "a", "a"},
      {'A', Qt::ShiftModifier, "A", "A"},
      {'A', Qt::ControlModifier, "a", "\x01"},
      {'Z', Qt::ControlModifier | Qt::ShiftModifier, "Z", "\x1A"},
      {VK_OEM_4, Qt::ControlModifier, "[", "\x1B"},
      {'1', Qt::ControlModifier, "1", ""},
      {VK_RETURN, {}, "\r", "\r"},
      {VK_RETURN, Qt::ControlModifier, "\r", "\n"},
      {VK_BACK, {}, "\b", "\b"},
      {VK_BACK, Qt::ControlModifier, "", "\x7F"},
      {VK_TAB, {}, "\t", "\t"},
      {VK_ESCAPE, {}, "\x1B", "\x1B"},
      {VK_DELETE, {}, "\x7F", ""},
      {VK_LEFT, {}, "", ""},
      {'Q', Qt::ControlModifier | Qt::AltModifier, "@", "@"},  // AltGr
      {0, {}, "\xED\x95\x9C", "\xC7\xD1"},                     // Hangul "han"
  };
  for (const TCase& c : cases)
    EXPECT_EQ(TypedChars(c.Vk, c.Modifiers, QString::fromUtf8(c.Text)), c.Chars) << c.Vk << " " << c.Text;
}

class QtInputHostTest : public testing::Test {
protected:
  QtInputHostTest() : FHost(FProbe) {
    ShowAndActivate(FHost);
    FProbe.SetFocus();
    FProbe.Log.clear();
  }
  ~QtInputHostTest() override { ReleaseAllKeys(); }
  QWidget* Client() { return FHost.ClientArea(); }

  TProbe FProbe;
  TQtControlHost FHost;
};

TEST_F(QtInputHostTest, KeyPressesBecomeKeyAndCharacterMessagesWithTheShiftState) {
  QTest::keyClick(Client(), Qt::Key_A);
  ASSERT_EQ(FProbe.Log.size(), 3u);
  EXPECT_EQ(FProbe.Log[0].Msg, WM_KEYDOWN);
  EXPECT_EQ(FProbe.Log[0].WParam, uintptr_t{'A'});
  EXPECT_EQ(FProbe.Log[1].Msg, WM_CHAR);
  EXPECT_EQ(FProbe.Log[1].WParam, uintptr_t{'a'});
  EXPECT_EQ(FProbe.Log[2].Msg, WM_KEYUP);
  EXPECT_NE(FProbe.Log[2].LParam & (intptr_t{1} << 31), 0);

  // Shift is held while its own key and the letter go down.
  struct TShiftProbe {
    std::vector<TShiftState> Seen;
    void KeyDown(TObject*, uint16_t&, TShiftState shift) { Seen.push_back(shift); }
  } shifts;
  FProbe.OnKeyDown = TKeyEvent(&shifts, &TShiftProbe::KeyDown);
  FProbe.Log.clear();
  QTest::keyClick(Client(), Qt::Key_B, Qt::ShiftModifier | Qt::ControlModifier);
  ASSERT_EQ(shifts.Seen.size(), 3u);  // Shift, Ctrl, B
  EXPECT_EQ(shifts.Seen[0], TShiftState{ssShift});
  EXPECT_EQ(shifts.Seen[2], (TShiftState{ssShift, ssCtrl}));
  EXPECT_EQ(FProbe.Chars(), "\x02");
  EXPECT_EQ(GetKeyState(VK_SHIFT), 0);  // released again

  // Alt makes system keys and characters.
  FProbe.Log.clear();
  QTest::keyClick(Client(), Qt::Key_X, Qt::AltModifier);
  EXPECT_EQ(FProbe.Messages(WM_SYSKEYDOWN).size(), 2u);  // Alt, X
  EXPECT_TRUE(FProbe.Messages(WM_KEYDOWN).empty());
  ASSERT_EQ(FProbe.Messages(WM_SYSCHAR).size(), 1u);
  EXPECT_NE(FProbe.Messages(WM_SYSCHAR)[0].LParam & AltMask, 0);
  EXPECT_TRUE(FProbe.Chars().empty());
}

TEST_F(QtInputHostTest, TabReachesOnlyAControlThatWantsIt) {
  QTest::keyClick(Client(), Qt::Key_Tab);
  EXPECT_TRUE(FProbe.Messages(WM_KEYDOWN).empty());

  TSrcHotKey hotKey(nullptr);
  hotKey.SetBounds(0, 0, 150, 24);
  TQtControlHost host(hotKey);
  ShowAndActivate(host);
  hotKey.SetFocus();
  QTest::keyClick(host.ClientArea(), Qt::Key_Tab);
  EXPECT_EQ(hotKey.Text(), "Alt+Tab");  // a key alone gets the control's modifiers
}

TEST_F(QtInputHostTest, TypingIntoTheHotKeyControlShowsTheShortcut) {
  TSrcHotKey hotKey(nullptr);
  hotKey.SetBounds(0, 0, 150, 24);
  TQtControlHost host(hotKey);
  ShowAndActivate(host);
  QTest::mouseClick(host.ClientArea(), Qt::LeftButton);  // the control takes the focus itself
  ASSERT_TRUE(hotKey.Focused());
  QTest::keyClick(host.ClientArea(), Qt::Key_F5, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(hotKey.Text(), "Ctrl+Shift+F5");
  EXPECT_EQ(hotKey.HotKey(), ShortCut(VK_F5, {ssCtrl, ssShift}));
  // The text is on the screen: ink from the text's left to its width, none after.
  QImage image = ScreenImage(host);
  int frame = hotKey.FrameWidth();
  int textRight = frame + 1 + hotKey.Canvas().TextWidth("Ctrl+Shift+F5");
  QRgb window = Rgb(clWindow);
  EXPECT_GT(CountOther(image, QRect(frame + 1, frame + 1, textRight - frame - 1, 12), window), 20);
  EXPECT_EQ(CountOther(image, QRect(textRight + 3, frame, 150 - frame - textRight - 6, 20), window), 0);
  SaveScreenshot(host.grab().toImage(), "hot-key-control.png");
}

TEST_F(QtInputHostTest, ACommittedKoreanTextArrivesAsItsAnsiBytes) {
  QInputMethodEvent preedit(QString::fromUtf8("\xE3\x85\x8E"), {});  // jamo "h" being composed
  QCoreApplication::sendEvent(Client(), &preedit);
  ASSERT_EQ(FProbe.Log.size(), 1u);
  EXPECT_EQ(FProbe.Log[0].Msg, WM_IME_STARTCOMPOSITION);

  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8("\xED\x95\x9C\xEA\xB8\x80"));  // "hangeul"
  QCoreApplication::sendEvent(Client(), &commit);
  std::vector<uint32_t> kinds;
  for (const TLoggedMessage& m : FProbe.Log) kinds.push_back(m.Msg);
  EXPECT_EQ(kinds, (std::vector<uint32_t>{WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_CHAR, WM_CHAR, WM_CHAR,
                                          WM_CHAR, WM_IME_ENDCOMPOSITION}));
  EXPECT_EQ(FProbe.Messages(WM_IME_COMPOSITION)[0].LParam, intptr_t{GCS_RESULTSTR});
  HIMC context = ImmGetContext(FProbe);
  char buffer[16] = {};
  int length = ImmGetCompositionString(context, GCS_RESULTSTR, buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer, length), "\xC7\xD1\xB1\xDB");
  EXPECT_EQ(FProbe.Chars(), "\xC7\xD1\xB1\xDB");
}

TEST_F(QtInputHostTest, TheCompositionWindowIsPlacedWhereTheControlAsks) {
  HIMC context = ImmGetContext(FProbe);
  TCompositionForm form;
  form.dwStyle = CFS_POINT;
  form.ptCurrentPos = {37, 21};
  ImmSetCompositionWindow(context, form);
  QRect cursor = Client()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  EXPECT_EQ(cursor.topLeft(), QPoint(37, 21));
  EXPECT_GT(cursor.height(), 0);
  // The text being composed shows there.
  QInputMethodEvent preedit(QString::fromUtf8("\xE3\x85\x8E"), {});
  QCoreApplication::sendEvent(Client(), &preedit);
  QImage image = ScreenImage(FHost);
  EXPECT_GT(CountOther(image, QRect(37, 21, 12, cursor.height()), Rgb(clWhite)), 5);
  EXPECT_EQ(CountOther(image, QRect(0, 0, 200, 20), Rgb(clWhite)), 0);
}

TEST_F(QtInputHostTest, MouseButtonsMovesDoubleClicksAndTheWheelReachTheControl) {
  QTest::mousePress(Client(), Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 12));
  EXPECT_TRUE(FProbe.MouseCapture());
  QTest::mouseMove(Client(), QPoint(30, 40));
  QTest::mouseRelease(Client(), Qt::LeftButton, {}, QPoint(31, 41));
  EXPECT_FALSE(FProbe.MouseCapture());
  QTest::mouseClick(Client(), Qt::RightButton, {}, QPoint(5, 6));
  QTest::mouseDClick(Client(), Qt::RightButton, {}, QPoint(5, 6));
  std::vector<std::pair<uint32_t, intptr_t>> seen;
  for (const TLoggedMessage& m : FProbe.Log)
    if (m.Msg >= WM_MOUSEMOVE && m.Msg <= WM_MBUTTONDBLCLK) seen.push_back({m.Msg, m.LParam});
  // QTest keeps the button of a double click held; let it go for later tests.
  QTest::mouseRelease(Client(), Qt::RightButton, {}, QPoint(5, 6));
  std::vector<std::pair<uint32_t, intptr_t>> expected = {
      {WM_LBUTTONDOWN, MakeLParam(10, 12)}, {WM_MOUSEMOVE, MakeLParam(30, 40)}, {WM_LBUTTONUP, MakeLParam(31, 41)},
      {WM_RBUTTONDOWN, MakeLParam(5, 6)},   {WM_RBUTTONUP, MakeLParam(5, 6)},   {WM_RBUTTONDBLCLK, MakeLParam(5, 6)}};
  EXPECT_EQ(seen, expected);
  auto presses = FProbe.Messages(WM_LBUTTONDOWN);
  EXPECT_EQ(presses[0].WParam, MK_LBUTTON | MK_SHIFT);
  EXPECT_EQ(FProbe.Messages(WM_MOUSEMOVE)[0].WParam, MK_LBUTTON);
  EXPECT_TRUE(FProbe.Messages(WM_SETCURSOR).empty());  // not asked while captured

  // The wheel: the delta in the high word, the pointer in screen coordinates.
  FProbe.Log.clear();
  QWheelEvent wheel(QPointF(20, 30), Client()->mapToGlobal(QPointF(20, 30)), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::ControlModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(Client(), &wheel);
  auto wheels = FProbe.Messages(WM_MOUSEWHEEL);
  ASSERT_EQ(wheels.size(), 1u);
  EXPECT_EQ(SmallHi(wheels[0].WParam), -120);
  EXPECT_EQ(LoWord(wheels[0].WParam), MK_CONTROL);
  TPoint screen = FProbe.ClientToScreen({20, 30});
  EXPECT_EQ(wheels[0].LParam, MakeLParam(screen.X, screen.Y));
}

TEST_F(QtInputHostTest, AWindowClassWithoutDoubleClicksGetsASecondPress) {
  TProbe probe;
  probe.RemovedClassStyle = CS_DBLCLKS;
  TQtControlHost host(probe);
  ShowAndActivate(host);
  QTest::mouseDClick(host.ClientArea(), Qt::LeftButton, {}, QPoint(5, 6));
  EXPECT_EQ(probe.Messages(WM_LBUTTONDOWN).size(), 1u);
  EXPECT_TRUE(probe.Messages(WM_LBUTTONDBLCLK).empty());
}

TEST_F(QtInputHostTest, ThePointerTakesTheShapeTheControlAsksFor) {
  FProbe.SetCursor(crIBeam);
  QTest::mouseMove(Client(), QPoint(10, 10));
  EXPECT_EQ(Client()->cursor().shape(), Qt::IBeamCursor);
  auto asked = FProbe.Messages(WM_SETCURSOR);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].WParam, FProbe.Handle());
  EXPECT_EQ(LoWord(static_cast<uintptr_t>(asked[0].LParam)), HTCLIENT);
  FProbe.SetCursor(crDefault);
  QTest::mouseMove(Client(), QPoint(11, 10));
  EXPECT_EQ(Client()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(QtInputHostTest, FilesDroppedFromTheDesktopArriveOnlyWhereTheyAreAccepted) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromUtf8("/tmp/\xED\x95\x9C.c")), QUrl::fromLocalFile("/tmp/b.h"),
                QUrl("https://example.org/x"), QUrl::fromLocalFile(QString::fromUtf8("/tmp/\xF0\x9F\x98\x80.c"))});
  QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
  QCoreApplication::sendEvent(Client(), &refused);
  EXPECT_FALSE(refused.isAccepted());

  DragAcceptFiles(FProbe, true);
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
  QCoreApplication::sendEvent(Client(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(15, 25), Qt::CopyAction, &data, Qt::LeftButton, {});
  MessageBoxAnswers().Push(IDOK);
  QCoreApplication::sendEvent(Client(), &drop);
  // The file whose name the code page lacks is reported; the others arrive.
  ASSERT_EQ(MessageBoxAnswers().Requests().size(), 1u);
  EXPECT_NE(MessageBoxAnswers().Requests()[0].Text.find("/tmp/?.c"), std::string::npos);
  auto drops = FProbe.Messages(WM_DROPFILES);
  ASSERT_EQ(drops.size(), 1u);
  HDROP handle = drops[0].WParam;
  ASSERT_EQ(DragQueryFile(handle, 0xFFFFFFFF, nullptr, 0), 2u);
  char name[64];
  DragQueryFile(handle, 0, name, sizeof name);
  EXPECT_EQ(std::string(name), "/tmp/\xC7\xD1.c");
  TPoint point;
  ASSERT_TRUE(DragQueryPoint(handle, point));
  EXPECT_EQ(point, (TPoint{15, 25}));
  DragFinish(handle);
}

}  // namespace
}  // namespace vk::test
