#include "platform/Controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/InputState.h"
#include "platform/ScrollBars.h"
#include "platform/StringLists.h"
#include "platform/SystemMetrics.h"
#include "tests/platform/FontMetricsScope.h"

namespace vk {
namespace {

// A window that logs the messages and calls it gets, with what Focused
// answered at the time, and records the clip rectangle of every paint.
class TProbe : public TCustomControl {
public:
  explicit TProbe(TComponent* owner = nullptr, const std::string& name = "") : TCustomControl(owner), FName(name) {}

  std::vector<std::string> Log;
  std::vector<TRect> Painted;
  std::vector<TRect> PaintedRegion;  // of the last paint
  int Erased = 0;
  uint32_t ExtraStyle = 0;
  uint32_t ExtraExStyle = 0;
  TRect InvalidateWhilePainting;

  void WndProc(TMessage& message) override {
    switch (message.Msg) {
      case WM_SETFOCUS: Log.push_back(FName + " setfocus" + (Focused() ? " focused" : "")); break;
      case WM_KILLFOCUS: Log.push_back(FName + " killfocus" + (Focused() ? " focused" : "")); break;
      case WM_CAPTURECHANGED: Log.push_back(FName + " capturechanged"); break;
      case WM_SIZE: Log.push_back(Format("%s size %d %d", FName.c_str(), LoWord(message.LParam), HiWord(message.LParam))); break;
      case WM_ERASEBKGND: ++Erased; break;
      default: break;
    }
    TCustomControl::WndProc(message);
  }

protected:
  void CreateParams(TCreateParams& params) override {
    TCustomControl::CreateParams(params);
    params.Style |= ExtraStyle;
    params.ExStyle |= ExtraExStyle;
  }
  void Paint() override {
    Painted.push_back(Canvas().ClipRect());
    PaintedRegion = PaintRects();
    if (!IsRectEmpty(InvalidateWhilePainting)) InvalidateRect(InvalidateWhilePainting, false);
  }
  void DoEnter() override {
    Log.push_back(FName + " enter");
    TCustomControl::DoEnter();
  }
  void DoExit() override {
    Log.push_back(FName + " exit");
    TCustomControl::DoExit();
  }
  void Click() override { Log.push_back(FName + " click"); }
  void DblClick() override { Log.push_back(FName + " dblclick"); }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
    Log.push_back(Format("%s down %d %d %d %d", FName.c_str(), button, shift.Mask(), x, y));
  }
  void MouseUp(TMouseButton button, TShiftState, int x, int y) override {
    Log.push_back(Format("%s up %d %d %d", FName.c_str(), button, x, y));
  }

private:
  std::string FName;
};

// Every test leaves the process's keyboard as it found it.
class ControlsTest : public testing::Test {
protected:
  void TearDown() override { ReleaseAllKeys(); }
  test::TFontMetricsScope FMetrics{{.CellWidth = 8, .CellHeight = 16}};
};

// ---------------------------------------------------------------- bounds and layout

TEST_F(ControlsTest, AlignLaysOutChildrenSideBySide) {
  TWinControl parent(nullptr);
  parent.SetBounds(0, 0, 200, 100);
  TControl top(nullptr), bottom(nullptr), left(nullptr), right(nullptr), client(nullptr), free(nullptr);
  struct {
    TControl* Control;
    TAlign Align;
    TRect Expected;
  } cases[] = {
      {&top, alTop, Rect(0, 0, 200, 20)},       {&bottom, alBottom, Rect(0, 90, 200, 100)},
      {&left, alLeft, Rect(0, 20, 30, 90)},     {&right, alRight, Rect(160, 20, 200, 90)},
      {&client, alClient, Rect(30, 20, 160, 90)}, {&free, alNone, Rect(5, 6, 12, 14)},
  };
  top.SetBounds(50, 50, 7, 20);
  bottom.SetBounds(0, 0, 7, 10);
  left.SetBounds(0, 0, 30, 7);
  right.SetBounds(0, 0, 40, 7);
  free.SetBounds(5, 6, 7, 8);
  for (auto& c : cases) {
    c.Control->SetParent(&parent);
    c.Control->SetAlign(c.Align);
  }
  for (auto& c : cases) EXPECT_EQ(c.Control->BoundsRect(), c.Expected) << int(c.Align);

  parent.SetBounds(0, 0, 300, 50);
  EXPECT_EQ(client.BoundsRect(), Rect(30, 20, 260, 40));
  EXPECT_EQ(right.BoundsRect(), Rect(260, 20, 300, 40));

  top.Hide();
  EXPECT_EQ(client.BoundsRect(), Rect(30, 0, 260, 40));
  left.SetParent(nullptr);
  EXPECT_EQ(client.BoundsRect(), Rect(0, 0, 260, 40));
  EXPECT_EQ(parent.ControlCount(), 5);
  EXPECT_THROW(parent.Controls(5), EListError);
}

TEST_F(ControlsTest, AlignedControlsStackInTheOrderOfTheirPositions) {
  TWinControl parent(nullptr);
  parent.SetBounds(0, 0, 100, 100);
  TControl first(nullptr), second(nullptr);
  for (TControl* c : {&first, &second}) {
    c->SetBounds(0, 0, 10, 10);
    c->SetParent(&parent);
    c->SetAlign(alTop);
  }
  EXPECT_EQ(first.Top(), 0);
  EXPECT_EQ(second.Top(), 10);
  // Moved above the other, it is laid out first.
  second.SetTop(-1);
  EXPECT_EQ(second.Top(), 0);
  EXPECT_EQ(first.Top(), 10);
}

TEST_F(ControlsTest, ParentsAndChildrenGoInEitherOrder) {
  auto* parent = new TWinControl(nullptr);
  auto* child = new TWinControl(nullptr);
  child->SetParent(parent);
  parent->HandleNeeded();
  EXPECT_TRUE(child->HandleAllocated());
  delete parent;
  EXPECT_EQ(child->Parent(), nullptr);
  EXPECT_FALSE(child->HandleAllocated());
  delete child;

  TWinControl outer(nullptr);
  auto* inner = new TWinControl(nullptr);
  inner->SetParent(&outer);
  delete inner;
  EXPECT_EQ(outer.ControlCount(), 0);
  EXPECT_THROW(outer.SetParent(&outer), EInvalidOperation);
}

TEST_F(ControlsTest, FrameAndScrollBarsShrinkTheClientArea) {
  TProbe probe(nullptr, "p");
  probe.ExtraStyle = WS_BORDER;
  probe.ExtraExStyle = WS_EX_CLIENTEDGE;
  probe.SetBounds(10, 20, 100, 50);
  EXPECT_EQ(probe.ClientRect(), Rect(0, 0, 100, 50));  // no window: no frame yet
  probe.HandleNeeded();
  EXPECT_EQ(probe.ClientRect(), Rect(0, 0, 94, 44));
  EXPECT_EQ(probe.ClientOrigin(), Point(13, 23));
  EXPECT_EQ(probe.ScreenToClient({13, 23}), Point(0, 0));
  probe.Log.clear();
  ShowScrollBar(probe, SB_VERT, true);
  EXPECT_EQ(probe.ClientWidth(), 94 - GetSystemMetrics(SM_CXVSCROLL));
  ShowScrollBar(probe, SB_BOTH, true);
  EXPECT_EQ(probe.ClientHeight(), 44 - GetSystemMetrics(SM_CYHSCROLL));
  ShowScrollBar(probe, SB_BOTH, true);  // no change, no message
  EXPECT_EQ(probe.Log, (std::vector<std::string>{"p size 77 44", "p size 77 27"}));
}

TEST_F(ControlsTest, ParentFontAndColorFollowTheParent) {
  TWinControl parent(nullptr);
  TWinControl child(nullptr);
  child.SetParent(&parent);
  parent.Font().SetName("Courier New");
  parent.SetColor(clRed);
  EXPECT_EQ(child.Font().Name(), "Courier New");
  EXPECT_EQ(child.Color(), clRed);
  EXPECT_TRUE(child.ParentFont());
  child.Font().SetSize(20);
  EXPECT_FALSE(child.ParentFont());
  child.SetColor(clBlue);
  EXPECT_FALSE(child.ParentColor());
  parent.Font().SetName("Arial");
  parent.SetColor(clGreen);
  EXPECT_EQ(child.Font().Name(), "Courier New");
  EXPECT_EQ(child.Color(), clBlue);
}

TEST_F(ControlsTest, TextTravelsThroughTheWindowMessages) {
  TWinControl control(nullptr);
  control.SetText("Hello world");
  EXPECT_EQ(control.Text(), "Hello world");
  char buffer[4];
  EXPECT_EQ(control.Perform(WM_GETTEXT, sizeof buffer, reinterpret_cast<intptr_t>(buffer)), 3);
  EXPECT_STREQ(buffer, "Hel");
  EXPECT_EQ(control.Perform(WM_GETTEXTLENGTH), 11);
}

// ---------------------------------------------------------------- window creation

TEST_F(ControlsTest, WindowCreationUsesTheCreationParameters) {
  TWinControl parent(nullptr);
  TProbe probe(nullptr, "p");
  probe.SetParent(&parent);
  probe.SetTabStop(true);
  probe.ExtraStyle = WS_VSCROLL;
  probe.SetBounds(1, 2, 30, 40);
  EXPECT_FALSE(probe.HandleAllocated());
  probe.HandleNeeded();
  EXPECT_TRUE(parent.HandleAllocated());
  const TCreateParams& params = probe.WindowParams();
  EXPECT_EQ(params.Style & (WS_CHILD | WS_TABSTOP | WS_VISIBLE | WS_VSCROLL),
            WS_CHILD | WS_TABSTOP | WS_VISIBLE | WS_VSCROLL);
  EXPECT_EQ(params.WindowClass.style & (CS_HREDRAW | CS_VREDRAW), CS_HREDRAW | CS_VREDRAW);
  EXPECT_TRUE(probe.ScrollBar(SB_VERT).Visible);
  EXPECT_FALSE(probe.ScrollBar(SB_HORZ).Visible);
  EXPECT_EQ(probe.Log, (std::vector<std::string>{"p size 13 40"}));

  HWND first = probe.Handle();
  probe.RecreateWnd();
  EXPECT_NE(probe.Handle(), first);
  parent.DestroyHandle();
  EXPECT_FALSE(probe.HandleAllocated());
  EXPECT_EQ(probe.WindowParams().Style, 0u);
}

// ---------------------------------------------------------------- invalidation and painting

TEST_F(ControlsTest, InvalidationsMergeIntoTheUpdateRegion) {
  struct {
    const char* Name;
    std::vector<TRect> Invalidated;
    std::vector<TRect> Region;
  } cases[] = {
      {"one", {Rect(0, 0, 10, 10)}, {Rect(0, 0, 10, 10)}},
      {"stacked rows join", {Rect(0, 0, 100, 10), Rect(0, 10, 100, 20)}, {Rect(0, 0, 100, 20)}},
      {"overlapping columns join", {Rect(0, 0, 10, 50), Rect(5, 0, 30, 50)}, {Rect(0, 0, 30, 50)}},
      {"covered is dropped", {Rect(0, 0, 50, 50), Rect(10, 10, 20, 20)}, {Rect(0, 0, 50, 50)}},
      {"covering replaces", {Rect(10, 10, 20, 20), Rect(30, 30, 40, 40), Rect(0, 0, 50, 50)}, {Rect(0, 0, 50, 50)}},
      {"apart stays apart", {Rect(0, 0, 10, 10), Rect(20, 20, 30, 30)}, {Rect(0, 0, 10, 10), Rect(20, 20, 30, 30)}},
      {"joins cascade", {Rect(0, 0, 10, 10), Rect(0, 20, 10, 30), Rect(0, 10, 10, 20)}, {Rect(0, 0, 10, 30)}},
      {"cut to the client area", {Rect(-5, 90, 300, 150)}, {Rect(0, 90, 200, 100)}},
      {"outside is nothing", {Rect(300, 0, 400, 10)}, {}},
  };
  for (const auto& c : cases) {
    TProbe probe;
    probe.SetBounds(0, 0, 200, 100);
    probe.HandleNeeded();
    probe.ValidateAll();
    for (const TRect& r : c.Invalidated) probe.InvalidateRect(r, false);
    EXPECT_EQ(probe.UpdateRegion(), c.Region) << c.Name;
  }
}

TEST_F(ControlsTest, InvalidationNeedsAVisibleWindow) {
  TProbe probe;
  probe.SetBounds(0, 0, 50, 50);
  probe.Invalidate();
  EXPECT_TRUE(probe.UpdateRegion().empty());
  probe.HandleNeeded();
  probe.ValidateAll();
  probe.Hide();
  probe.InvalidateRect(Rect(0, 0, 5, 5), true);
  EXPECT_TRUE(probe.UpdateRegion().empty());
  probe.Show();
  EXPECT_EQ(probe.UpdateRect(), Rect(0, 0, 50, 50));
  probe.ValidateAll();
  probe.SetControlStyle(probe.ControlStyle() + TControlStyle{csOpaque});
  probe.Invalidate();
  EXPECT_FALSE(probe.UpdateErasePending());
}

TEST_F(ControlsTest, UpdatePaintsOnlyThePendingRectangles) {
  TProbe probe;
  probe.SetBounds(0, 0, 200, 100);
  probe.HandleNeeded();
  probe.Update();
  EXPECT_EQ(probe.Painted, std::vector<TRect>{Rect(0, 0, 200, 100)});
  EXPECT_EQ(probe.Erased, 1);

  // One paint for the region, clipped around it; its rectangles overlap
  // nowhere, in bands from the top and from the left within a band.
  struct TCase {
    std::vector<TRect> Invalidated;
    std::vector<TRect> Region;
  };
  const TCase cases[] = {
      {{Rect(50, 50, 60, 60), Rect(0, 0, 10, 10)}, {Rect(0, 0, 10, 10), Rect(50, 50, 60, 60)}},
      {{Rect(0, 16, 100, 32), Rect(90, 0, 100, 100), Rect(2, 0, 10, 100)},
       {Rect(2, 0, 10, 16), Rect(90, 0, 100, 16), Rect(0, 16, 100, 32), Rect(2, 32, 10, 100), Rect(90, 32, 100, 100)}},
      {{Rect(0, 0, 10, 20), Rect(5, 10, 30, 30), Rect(190, 90, 300, 300)},
       {Rect(0, 0, 10, 10), Rect(0, 10, 30, 20), Rect(5, 20, 30, 30), Rect(190, 90, 200, 100)}},
      {{Rect(0, 0, 10, 20), Rect(0, 10, 5, 30)}, {Rect(0, 0, 10, 20), Rect(0, 20, 5, 30)}},
  };
  for (const TCase& c : cases) {
    probe.Painted.clear();
    for (const TRect& r : c.Invalidated) probe.InvalidateRect(r, false);
    probe.Update();
    TRect around;
    for (const TRect& r : c.Region) UnionRect(around, around, r);
    EXPECT_EQ(probe.Painted, std::vector<TRect>{around});
    EXPECT_EQ(probe.PaintedRegion, c.Region);
    EXPECT_TRUE(probe.PaintRects().empty());
  }
  EXPECT_EQ(probe.Erased, 1);

  probe.Painted.clear();
  probe.InvalidateRect(Rect(0, 0, 10, 10), false);
  probe.InvalidateWhilePainting = Rect(100, 0, 110, 10);
  probe.Update();
  EXPECT_EQ(probe.Painted, std::vector<TRect>{Rect(0, 0, 10, 10)});
  // What was invalidated while painting waits for the next Update.
  EXPECT_EQ(probe.UpdateRegion(), std::vector<TRect>{Rect(100, 0, 110, 10)});
  probe.InvalidateWhilePainting = TRect{};
  probe.Painted.clear();
  probe.Update();
  EXPECT_EQ(probe.Painted, std::vector<TRect>{Rect(100, 0, 110, 10)});
  // The canvas is whole again after painting.
  EXPECT_NE(probe.Canvas().ClipRect(), Rect(100, 0, 110, 10));
}

TEST_F(ControlsTest, ResizingRepaintsWhatTheClassStyleAsks) {
  TProbe probe;
  probe.SetBounds(0, 0, 100, 50);
  probe.HandleNeeded();
  probe.ValidateAll();
  probe.SetBounds(0, 0, 120, 50);
  EXPECT_EQ(probe.UpdateRegion(), std::vector<TRect>{Rect(0, 0, 120, 50)});
}

TEST_F(ControlsTest, ScrollWindowMovesPendingDamageAndInvalidatesTheUncoveredBand) {
  TProbe probe;
  probe.SetBounds(0, 0, 100, 100);
  probe.HandleNeeded();
  probe.ValidateAll();
  probe.InvalidateRect(Rect(0, 40, 100, 50), false);
  probe.ScrollWindow(0, -20);
  EXPECT_EQ(probe.UpdateRegion(), (std::vector<TRect>{Rect(0, 40, 100, 50), Rect(0, 20, 100, 30), Rect(0, 80, 100, 100)}));
  ASSERT_EQ(probe.ScrollRequests().size(), 1u);
  EXPECT_EQ(probe.ScrollRequests()[0], (TWinControl::TScrollRequest{0, -20, Rect(0, 0, 100, 100)}));

  probe.ValidateAll();
  TRect area = Rect(10, 0, 100, 100);
  probe.ScrollWindow(30, 0, &area, nullptr);
  EXPECT_EQ(probe.UpdateRegion(), std::vector<TRect>{Rect(10, 0, 40, 100)});
}

// ---------------------------------------------------------------- focus and capture

TEST_F(ControlsTest, FocusMovesWithMessagesThenExitAndEnter) {
  TWinControl form(nullptr);
  TProbe a(nullptr, "a"), b(nullptr, "b");
  a.SetParent(&form);
  b.SetParent(&form);
  std::vector<std::string> log;
  a.SetFocus();
  EXPECT_TRUE(a.Focused());
  EXPECT_TRUE(a.HandleAllocated());
  EXPECT_EQ(FocusedControl(), &a);
  a.Log.clear();
  b.Log.clear();
  b.SetFocus();
  EXPECT_EQ(a.Log, (std::vector<std::string>{"a killfocus", "a exit"}));
  EXPECT_EQ(b.Log, (std::vector<std::string>{"b setfocus focused", "b enter"}));

  b.Log.clear();
  b.Hide();
  EXPECT_EQ(FocusedControl(), nullptr);
  EXPECT_EQ(b.Log, (std::vector<std::string>{"b killfocus", "b exit"}));
  EXPECT_FALSE(b.CanFocus());
  EXPECT_THROW(b.SetFocus(), EInvalidOperation);
  form.SetEnabled(false);
  try {
    a.SetFocus();
    FAIL();
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "Cannot focus a disabled or invisible window");
  }
}

TEST_F(ControlsTest, FocusIsKeptAcrossRecreationAndDroppedWithTheControl) {
  auto* a = new TProbe(nullptr, "a");
  a->SetFocus();
  a->Log.clear();
  a->RecreateWnd();
  EXPECT_TRUE(a->Focused());
  EXPECT_EQ(a->Log, (std::vector<std::string>{"a killfocus", "a size 0 0", "a setfocus focused"}));
  delete a;
  EXPECT_EQ(FocusedControl(), nullptr);
}

TEST_F(ControlsTest, MouseButtonsCaptureClickAndDoubleClick) {
  TProbe a(nullptr, "a"), b(nullptr, "b");
  a.SetBounds(0, 0, 50, 50);
  a.Perform(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MakeLParam(5, 6));
  EXPECT_TRUE(a.MouseCapture());
  EXPECT_EQ(CaptureControl(), &a);
  a.Perform(WM_LBUTTONUP, 0, MakeLParam(7, 8));
  EXPECT_FALSE(a.MouseCapture());
  a.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 6));
  a.Perform(WM_LBUTTONUP, 0, MakeLParam(-3, 8));  // released outside: no click
  a.Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakeLParam(1, 2));
  a.Perform(WM_LBUTTONUP, 0, MakeLParam(1, 2));
  EXPECT_EQ(a.Log, (std::vector<std::string>{"a down 0 9 5 6", "a capturechanged", "a click", "a up 0 7 8",
                                             "a down 0 8 5 6", "a capturechanged", "a up 0 -3 8", "a dblclick",
                                             "a down 0 72 1 2", "a capturechanged", "a up 0 1 2"}));

  a.Log.clear();
  a.SetMouseCapture(true);
  b.SetMouseCapture(true);
  EXPECT_EQ(a.Log, std::vector<std::string>{"a capturechanged"});
  b.SetEnabled(false);
  b.Perform(WM_RBUTTONDOWN, MK_RBUTTON, 0);  // no input reaches a disabled control
  EXPECT_TRUE(b.Log.empty());
  b.Hide();
  EXPECT_EQ(CaptureControl(), nullptr);
}

TEST_F(ControlsTest, KeyMessagesCarryTheShiftState) {
  TWinControl control(nullptr);
  struct TSeen {
    std::vector<std::string> Log;
    void KeyDown(TObject*, uint16_t& key, TShiftState shift) {
      Log.push_back(Format("down %d %d", key, shift.Mask()));
      key = 0;
    }
    void KeyPress(TObject*, char& key) { Log.push_back(std::string("press ") + key); }
    void KeyUp(TObject*, uint16_t& key, TShiftState shift) { Log.push_back(Format("up %d %d", key, shift.Mask())); }
  } seen;
  control.OnKeyDown = TKeyEvent(&seen, &TSeen::KeyDown);
  control.OnKeyPress = TKeyPressEvent(&seen, &TSeen::KeyPress);
  control.OnKeyUp = TKeyEvent(&seen, &TSeen::KeyUp);
  SetKeyDown(VK_SHIFT, true);
  SetKeyDown(VK_CONTROL, true);
  control.Perform(WM_KEYDOWN, VK_F5, AltMask);
  control.Perform(WM_CHAR, 'x');
  SetKeyDown(VK_CONTROL, false);
  control.Perform(WM_KEYUP, VK_F5);
  EXPECT_EQ(seen.Log, (std::vector<std::string>{"down 116 7", "press x", "up 116 1"}));
}

TEST_F(ControlsTest, WheelArrivesInClientCoordinates) {
  struct TWheel : TWinControl {
    using TWinControl::TWinControl;
    std::string Seen;
    bool MouseWheel(TShiftState shift, int delta, int x, int y) override {
      Seen = Format("%d %d %d %d", shift.Mask(), delta, x, y);
      return true;
    }
  } control(nullptr);
  control.SetBounds(100, 200, 50, 50);
  EXPECT_EQ(control.Perform(WM_MOUSEWHEEL, MK_CONTROL | (uintptr_t(uint16_t(-120)) << 16), MakeLParam(110, 205)), 1);
  EXPECT_EQ(control.Seen, "4 -120 10 5");
}

}  // namespace
}  // namespace vk
