#include "platform/ColorGrids.h"

namespace vk {

namespace {

constexpr int Columns = 4;
constexpr int Cells = 16;

const TColor Palette[Cells] = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clSilver,
                               clGray,  clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};

// White letters on a dark cell, black on a light one.
TColor MarkColor(TColor cell) {
  TColorRef c = ColorToRGB(cell);
  return GetRValue(c) * 3 + GetGValue(c) * 6 + GetBValue(c) < 128 * 10 ? clWhite : clBlack;
}

}  // namespace

TColor ColorGridColor(int index) { return index >= 0 && index < Cells ? Palette[index] : clNone; }

TCColorGrid::TCColorGrid(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 100, 100);
  TControlStyle style = ControlStyle();
  SetControlStyle(style.Include(csOpaque));
}

void TCColorGrid::SetIndex(int& field, int value) {
  if (value < 0 || value >= Cells) throw EInvalidOperation("Grid index out of range");
  if (value == field) return;
  field = value;
  Invalidate();
  if (OnChange) OnChange(this);
}

void TCColorGrid::SetForegroundIndex(int value) { SetIndex(FForegroundIndex, value); }

void TCColorGrid::SetBackgroundIndex(int value) { SetIndex(FBackgroundIndex, value); }

void TCColorGrid::SetForegroundEnabled(bool value) {
  FForegroundEnabled = value;
  Invalidate();
}

void TCColorGrid::SetBackgroundEnabled(bool value) {
  FBackgroundEnabled = value;
  Invalidate();
}

TRect TCColorGrid::CellRect(int index) const {
  const TRect client = ClientRect();
  const int rows = Cells / Columns, column = index % Columns, row = index / Columns;
  return Rect(client.Width() * column / Columns, client.Height() * row / rows, client.Width() * (column + 1) / Columns,
              client.Height() * (row + 1) / rows);
}

int TCColorGrid::CellAt(int x, int y) const {
  for (int i = 0; i < Cells; ++i)
    if (PtInRect(CellRect(i), {x, y})) return i;
  return -1;
}

void TCColorGrid::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(Font());
  for (int i = 0; i < Cells; ++i) {
    const TRect r = CellRect(i);
    // A sunken cell: shadow above and left, light below and right.
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clBtnShadow);
    canvas.FillRect(Rect(r.Left, r.Top, r.Right, r.Top + 1));
    canvas.FillRect(Rect(r.Left, r.Top, r.Left + 1, r.Bottom));
    canvas.Brush().SetColor(clBtnHighlight);
    canvas.FillRect(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
    canvas.FillRect(Rect(r.Right - 1, r.Top, r.Right, r.Bottom));
    canvas.Brush().SetColor(Palette[i]);
    canvas.FillRect(Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1));

    const bool fore = FForegroundEnabled && i == FForegroundIndex;
    const bool back = FBackgroundEnabled && i == FBackgroundIndex;
    if (!fore && !back) continue;
    const std::string mark = fore && back ? "FB" : fore ? "FG" : "BG";
    canvas.Font().SetColor(MarkColor(Palette[i]));
    canvas.Brush().SetStyle(bsClear);
    const TSize size = canvas.TextExtent(mark);
    canvas.TextOut(r.Left + (r.Width() - size.cx) / 2, r.Top + (r.Height() - size.cy) / 2, mark);
  }
}

void TCColorGrid::Pick(int& field, bool& enabled, int cell) {
  if (!enabled && !FClickEnablesColor) return;
  if (!enabled) {
    enabled = true;
    Invalidate();
  }
  SetIndex(field, cell);
}

void TCColorGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  const int cell = CellAt(x, y);
  if (cell < 0) return;
  if (button == mbLeft)
    Pick(FForegroundIndex, FForegroundEnabled, cell);
  else
    Pick(FBackgroundIndex, FBackgroundEnabled, cell);
}

}  // namespace vk
