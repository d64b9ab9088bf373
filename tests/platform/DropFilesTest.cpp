#include "platform/DropFiles.h"

#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/Ime.h"

namespace vk {
namespace {

// Reads a drop as a receiver does and finishes it.
struct TDropReceiver : TWinControl {
  using TWinControl::TWinControl;
  std::vector<std::string> Files;
  TPoint At;
  void WndProc(TMessage& message) override {
    if (message.Msg != WM_DROPFILES) return TWinControl::WndProc(message);
    HDROP drop = message.WParam;
    unsigned count = DragQueryFile(drop, 0xFFFFFFFFu, nullptr, 0);
    for (unsigned i = 0; i < count; ++i) {
      char buffer[261];
      DragQueryFile(drop, i, buffer, sizeof buffer);
      Files.push_back(buffer);
    }
    DragQueryPoint(drop, At);
    DragFinish(drop);
  }
};

TEST(DropFilesTest, OnlyRegisteredWindowsReceiveDroppedFiles) {
  int live = LiveDropHandleCount();
  TDropReceiver receiver(nullptr);
  EXPECT_FALSE(DropFiles(receiver, {"/a.c"}, {1, 2}));
  receiver.HandleNeeded();
  EXPECT_FALSE(DropFiles(receiver, {"/a.c"}, {1, 2}));
  DragAcceptFiles(receiver, true);
  EXPECT_TRUE(AcceptsDroppedFiles(receiver));
  EXPECT_TRUE(DropFiles(receiver, {"/src/a.c", "/src/b.h"}, {3, 4}));
  EXPECT_EQ(receiver.Files, (std::vector<std::string>{"/src/a.c", "/src/b.h"}));
  EXPECT_EQ(receiver.At, Point(3, 4));
  EXPECT_EQ(LiveDropHandleCount(), live);
  // The registration goes with the window.
  receiver.RecreateWnd();
  EXPECT_FALSE(AcceptsDroppedFiles(receiver));
}

TEST(DropFilesTest, QueriesAreBoundedAndCheckTheHandle) {
  HDROP drop = CreateDropHandle({"/long/name.c"}, {0, 0});
  char small[5];
  EXPECT_EQ(DragQueryFile(drop, 0, nullptr, 0), 12u);
  EXPECT_EQ(DragQueryFile(drop, 0, small, sizeof small), 4u);
  EXPECT_STREQ(small, "/lon");
  EXPECT_EQ(DragQueryFile(drop, 1, small, sizeof small), 0u);
  DragFinish(drop);
  TPoint point;
  EXPECT_FALSE(DragQueryPoint(drop, point));
  EXPECT_EQ(DragQueryFile(drop, 0xFFFFFFFFu, nullptr, 0), 0u);
}

TEST(ImeTest, TheResultStringIsReadFromTheWindowsContext) {
  TWinControl control(nullptr);
  EXPECT_EQ(ImmGetContext(control), 0u);
  control.HandleNeeded();
  HIMC context = ImmGetContext(control);
  ASSERT_NE(context, 0u);
  InputContext(context).ResultString = "\xC7\xD1\xB1\xDB";
  EXPECT_EQ(ImmGetCompositionString(context, GCS_RESULTSTR, nullptr, 0), 4);
  char buffer[8] = {};
  EXPECT_EQ(ImmGetCompositionString(context, GCS_RESULTSTR, buffer, 2), 2);
  EXPECT_EQ(std::string(buffer), "\xC7\xD1");
  EXPECT_EQ(ImmGetCompositionString(context, GCS_COMPSTR, buffer, 8), 0);
  TCompositionForm form;
  form.dwStyle = CFS_POINT;
  form.ptCurrentPos = {5, 6};
  EXPECT_TRUE(ImmSetCompositionWindow(context, form));
  EXPECT_EQ(control.ImeContext().Window.ptCurrentPos, Point(5, 6));
  EXPECT_TRUE(ImmReleaseContext(control, context));
}

}  // namespace
}  // namespace vk
