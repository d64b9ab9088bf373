#pragma once
// The 16-colour grid: the standard colours in four rows of four cells,
// black, maroon, green, olive / navy, purple, teal, silver / gray, red,
// lime, yellow / blue, fuchsia, aqua, white. It holds a foreground and a
// background colour index, marked "FG" and "BG" in their cells ("FB" when
// both are one cell). A left click picks the foreground, a right or middle
// click the background; a change of either index, from code or by a click,
// fires OnChange. The grid paints itself on its canvas.

#include <string>

#include "platform/Controls.h"

namespace vk {

// The colour of a grid index 0..15 (clNone outside).
TColor ColorGridColor(int index);

class TCColorGrid : public TCustomControl {
public:
  // 100 x 100 pixels; foreground black (0), background white (15).
  explicit TCColorGrid(TComponent* owner);
  std::string ClassName() const override { return "TCColorGrid"; }

  int ForegroundIndex() const { return FForegroundIndex; }
  // An index outside 0..15 raises EInvalidOperation "Grid index out of
  // range".
  void SetForegroundIndex(int value);
  int BackgroundIndex() const { return FBackgroundIndex; }
  void SetBackgroundIndex(int value);
  TColor ForegroundColor() const { return ColorGridColor(FForegroundIndex); }
  TColor BackgroundColor() const { return ColorGridColor(FBackgroundIndex); }
  // A disabled index is not marked and clicks do not pick it, unless
  // ClickEnablesColor, where a click enables it again.
  bool ForegroundEnabled() const { return FForegroundEnabled; }
  void SetForegroundEnabled(bool value);
  bool BackgroundEnabled() const { return FBackgroundEnabled; }
  void SetBackgroundEnabled(bool value);
  bool ClickEnablesColor() const { return FClickEnablesColor; }
  void SetClickEnablesColor(bool value) { FClickEnablesColor = value; }

  // The cell under a client point (-1 for none), and a cell's rectangle.
  int CellAt(int x, int y) const;
  TRect CellRect(int index) const;

  TNotifyEvent OnChange;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
  void SetIndex(int& field, int value);
  // A click on a cell for one of the indexes.
  void Pick(int& field, bool& enabled, int cell);

  int FForegroundIndex = 0;
  int FBackgroundIndex = 15;
  bool FForegroundEnabled = true;
  bool FBackgroundEnabled = true;
  bool FClickEnablesColor = false;
};

}  // namespace vk
