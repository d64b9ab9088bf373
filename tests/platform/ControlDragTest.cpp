// Control drag and drop: the source's mouse messages move the drag, the
// window under the pointer is asked and takes the drop, Escape and the loss
// of the capture cancel.

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/InputState.h"

namespace vk {
namespace {

class TDragProbe : public TCustomControl {
public:
  explicit TDragProbe(bool accepts) : TCustomControl(nullptr), Accepts(accepts) {}
  std::vector<std::string> Log;
  bool Accepts;

protected:
  void DragOver(TObject*, int x, int y, TDragState state, bool& accept) override {
    static const char* const States[] = {"enter", "leave", "move"};
    Log.push_back(std::string(States[state]) + " " + IntToStr(x) + "," + IntToStr(y));
    accept = Accepts;
  }
  void DragDrop(TObject*, int x, int y) override { Log.push_back("drop " + IntToStr(x) + "," + IntToStr(y)); }
  void DragCanceled() override { Log.push_back("cancelled"); }
  void DoEndDrag(TObject* target, int, int) override { Log.push_back(target ? "end on target" : "end"); }
};

class ControlDragTest : public testing::Test {
protected:
  ControlDragTest() {
    Source.SetBounds(0, 0, 100, 100);
    Target.SetBounds(200, 0, 100, 100);
    Refusing.SetBounds(400, 0, 100, 100);
    for (TDragProbe* probe : {&Source, &Target, &Refusing}) probe->HandleNeeded();
  }
  ~ControlDragTest() override { ReleaseAllKeys(); }
  // A mouse message at a screen point, to the control holding the capture.
  void Mouse(uint32_t message, int x, int y) {
    SetCursorPos(x, y);
    TControl* target = CaptureControl() ? CaptureControl() : &Source;
    const TPoint at = target->ScreenToClient({x, y});
    target->Perform(message, MK_LBUTTON, MakeLParam(at.X, at.Y));
  }
  TDragProbe Source{false};
  TDragProbe Target{true};
  TDragProbe Refusing{false};
};

TEST_F(ControlDragTest, ADragStartsPastTheThresholdAndDropsWhereAccepted) {
  SetCursorPos(10, 10);
  Source.BeginDrag(false, 5);
  EXPECT_TRUE(Source.Dragging());
  EXPECT_TRUE(Source.MouseCapture());
  Mouse(WM_MOUSEMOVE, 12, 12);  // within the threshold: nothing yet
  EXPECT_TRUE(Source.Log.empty());
  Mouse(WM_MOUSEMOVE, 210, 20);
  Mouse(WM_MOUSEMOVE, 215, 20);
  Mouse(WM_LBUTTONUP, 215, 20);
  EXPECT_EQ(Target.Log, (std::vector<std::string>{"enter 10,20", "move 15,20", "drop 15,20"}));
  EXPECT_EQ(Source.Log, std::vector<std::string>{"end on target"});
  EXPECT_FALSE(Source.Dragging());
  EXPECT_EQ(CaptureControl(), nullptr);
}

TEST_F(ControlDragTest, NoDropWhereRefusedAndEscapeOrLostCaptureCancel) {
  SetCursorPos(10, 10);
  Source.BeginDrag(true);
  Mouse(WM_MOUSEMOVE, 410, 10);
  Mouse(WM_LBUTTONUP, 410, 10);
  EXPECT_EQ(Refusing.Log, (std::vector<std::string>{"enter 10,10", "leave 10,10"}));
  EXPECT_EQ(Source.Log.back(), "end");

  Source.Log.clear();
  Source.BeginDrag(true);
  Target.Perform(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_FALSE(Source.Dragging());
  EXPECT_EQ(Source.Log.back(), "end");
  EXPECT_NE(std::find(Source.Log.begin(), Source.Log.end(), "cancelled"), Source.Log.end());

  Source.BeginDrag(true);
  Target.SetMouseCapture(true);
  EXPECT_FALSE(Source.Dragging());
  Target.SetMouseCapture(false);
}

}  // namespace
}  // namespace vk
