#include "platform/HintWindow.h"

#include <algorithm>

#include "platform/Forms.h"

namespace vk {

namespace {

// Margins around the text, as the hint rectangle adds them.
constexpr int MarginX = 6;
constexpr int MarginY = 2;
// Where the text starts inside the window.
constexpr int TextInset = 2;

THintWindow* MakeHintWindow(TComponent* owner) { return new THintWindow(owner); }

THintWindowClass GHintWindowClass = &MakeHintWindow;

}  // namespace

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  SetVisible(false);
  SetColor(clInfoBk);
  Font().SetColor(clInfoText);
}

std::vector<std::string> THintWindow::WrapLines(const std::string& text, int maxWidth) {
  Canvas().Font().Assign(Font());
  std::vector<std::string> lines;
  size_t start = 0;
  do {
    size_t end = text.find('\n', start);
    std::string paragraph = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    start = end == std::string::npos ? text.size() + 1 : end + 1;
    // Words join a line while it fits; a word wider than maxWidth stands alone.
    std::string line;
    size_t pos = 0;
    while (pos <= paragraph.size()) {
      size_t space = paragraph.find(' ', pos);
      if (space == std::string::npos) space = paragraph.size();
      std::string word = paragraph.substr(pos, space - pos);
      std::string joined = line.empty() ? word : line + " " + word;
      if (!line.empty() && Canvas().TextWidth(joined) > maxWidth) {
        lines.push_back(line);
        line = word;
      } else {
        line = joined;
      }
      pos = space + 1;
    }
    lines.push_back(line);
  } while (start <= text.size());
  return lines;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& text) {
  std::vector<std::string> lines = WrapLines(text, maxWidth);
  int width = 0;
  for (const std::string& line : lines) width = std::max(width, Canvas().TextWidth(line));
  int height = static_cast<int>(lines.size()) * Canvas().TextHeight("Ag");
  return Rect(0, 0, width + MarginX, height + MarginY);
}

void THintWindow::ActivateHint(const TRect& rect, const std::string& text) {
  SetText(text);
  TRect r = rect;
  // Kept on the screen: pushed back from the right and bottom edges first,
  // so the top-left corner wins on a screen too small for the hint.
  OffsetRect(r, std::min(0, Screen().Width() - r.Right), std::min(0, Screen().Height() - r.Bottom));
  OffsetRect(r, std::max(0, -r.Left), std::max(0, -r.Top));
  SetBoundsRect(r);
  Show();
  HandleNeeded();
  Invalidate();
}

void THintWindow::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetColor(Color());
  canvas.Brush().SetStyle(bsSolid);
  canvas.FillRect(ClientRect());
  canvas.Font().Assign(Font());
  canvas.Brush().SetStyle(bsClear);
  int lineHeight = canvas.TextHeight("Ag");
  int y = TextInset;
  for (const std::string& line : WrapLines(Text(), ClientWidth() - TextInset)) {
    canvas.TextOut(TextInset, y, line);
    y += lineHeight;
  }
  canvas.Brush().SetStyle(bsSolid);
}

THintWindowClass HintWindowClass() { return GHintWindowClass; }

void SetHintWindowClass(THintWindowClass factory) { GHintWindowClass = factory ? factory : &MakeHintWindow; }

THintWindow& SharedHintWindow() {
  // Made once; Application owns it and lives until the process ends.
  static THintWindow* shared = HintWindowClass()(&Application());
  return *shared;
}

}  // namespace vk
