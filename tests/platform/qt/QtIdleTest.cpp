// The application's idle work on Qt's loop: a second in which nothing
// happens runs no idle passes and no painting of its own, and the clipboard
// is asked again only after it changed or as a menu opens.

#include <gtest/gtest.h>

#include <QtCore/QAbstractEventDispatcher>
#include <QtGui/QClipboard>
#include <memory>

#include "platform/Clipboard.h"
#include "platform/Menus.h"
#include "platform/ScopeGuard.h"
#include "platform/StandardActions.h"
#include "platform/qt/QtPlatform.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {
namespace {

// The desktop's clipboard, counting the questions put to it; each one
// wakes the loop, as the reply of a round trip to the desktop does.
class TCountingClipboard : public TClipboardBackend {
public:
  explicit TCountingClipboard(TClipboardBackend& desktop) : FDesktop(desktop) {}
  bool Open() override { return FDesktop.Open(); }
  void Close() override { FDesktop.Close(); }
  bool Clear() override { return FDesktop.Clear(); }
  bool SetData(TClipboardFormat format, const std::string& bytes) override { return FDesktop.SetData(format, bytes); }
  std::optional<std::string> GetData(TClipboardFormat format) override {
    Asked();
    return FDesktop.GetData(format);
  }
  bool HasFormat(TClipboardFormat format) override {
    Asked();
    return FDesktop.HasFormat(format);
  }
  int Questions = 0;

private:
  void Asked() {
    ++Questions;
    QCoreApplication::instance()->eventDispatcher()->wakeUp();
  }
  TClipboardBackend& FDesktop;
};

// A focused text window with a caret that it hides while it paints, as
// windows do; the paste command works on it.
class TCaretWindow : public TCustomControl, public TEditActionTarget {
public:
  using TCustomControl::TCustomControl;
  int SelLength() const override { return 0; }
  bool CanUndo() const override { return false; }
  void CutToClipboard() override {}
  void CopyToClipboard() override {}
  void PasteFromClipboard() override {}
  void SelectAll() override {}
  void Undo() override {}
  int Paints = 0;

protected:
  void Paint() override {
    ++Paints;
    HideCaret(this);
    Canvas().FillRect(ClientRect());
    ShowCaret(this);
  }
};

struct TCounter {
  int Count = 0;
  void Add(TObject*) { ++Count; }
};

TEST(QtIdleTest, AQuietSecondRunsNoIdleWorkAndTheClipboardIsAskedOnlyAfterAChange) {
  std::unique_ptr<TClipboardBackend> desktop = Clipboard().SetBackend(nullptr);
  auto counting = std::make_unique<TCountingClipboard>(*desktop);
  TCountingClipboard& clipboard = *counting;
  Clipboard().SetBackend(std::move(counting));
  TQtCaret& caret = TQtPlatform::Instance()->Caret();
  const int blinkTime = caret.BlinkTime();
  caret.SetBlinkTime(0);  // a blinking caret wakes the loop by design
  TScopeExit restore([&] {
    caret.SetBlinkTime(blinkTime);
    Clipboard().SetBackend(std::move(desktop));
    CloseForms();
  });
  QGuiApplication::clipboard()->clear();

  TForm* form = NewForm<TForm>(&Application());
  form->SetBounds(0, 0, 300, 200);
  auto* list = new TActionList(form);
  auto* paste = new TEditPaste(form);
  paste->SetActionList(list);
  TCounter passes;
  auto* pass = new TAction(form);
  pass->SetActionList(list);
  pass->OnUpdate = TNotifyEvent(&passes, &TCounter::Add);
  auto* window = new TCaretWindow(form);
  window->SetBounds(0, 0, 200, 100);
  window->SetParent(form);
  form->Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(QtPeerOf(form)->Widget()));
  window->SetFocus();
  ASSERT_TRUE(CreateCaret(*window, 2, 14));
  ShowCaret(window);
  RunLoopFor(100);
  EXPECT_FALSE(paste->Enabled()) << "nothing to paste";

  passes.Count = clipboard.Questions = window->Paints = 0;
  RunLoopFor(1000);
  EXPECT_LE(passes.Count, 2);
  EXPECT_LE(window->Paints, 1);
  EXPECT_EQ(clipboard.Questions, 0);

  // Another program copies: the next pass asks once, and so does a menu
  // about to open.
  QGuiApplication::clipboard()->setText(QStringLiteral("from elsewhere"));
  RunLoopFor(100);
  EXPECT_TRUE(paste->Enabled());
  EXPECT_EQ(clipboard.Questions, 1);
  auto* menu = new TMenuItem(form);
  auto* item = new TMenuItem(form);
  item->SetAction(paste);
  menu->Add(item);
  menu->InitiateActions();
  EXPECT_EQ(clipboard.Questions, 2);
}

}  // namespace
}  // namespace vk::test
