#pragma once
// The hint window: a small top-level window that shows a text at a screen
// rectangle. The editors share one, made on first use from the current hint
// window class with the application as owner.

#include <string>

#include "platform/Controls.h"

namespace vk {

class THintWindow : public TCustomControl {
public:
  // Hidden, with the info colours; it never takes the focus.
  explicit THintWindow(TComponent* owner);
  std::string ClassName() const override { return "THintWindow"; }

  // The rectangle (at 0, 0) that shows text: wrapped at spaces to at most
  // maxWidth pixels, plus a margin of 6 pixels across and 2 down.
  virtual TRect CalcHintRect(int maxWidth, const std::string& text);
  // Shows text at rect (screen coordinates, kept on the screen).
  virtual void ActivateHint(const TRect& rect, const std::string& text);
  // Hides the window; it keeps its window for the next hint.
  void ReleaseHint() { Hide(); }

  bool CanFocus() const override { return false; }

protected:
  void Paint() override;
  void TextChanged() override { Invalidate(); }

private:
  // The text cut into the lines that fit maxWidth.
  std::vector<std::string> WrapLines(const std::string& text, int maxWidth);
};

using THintWindowClass = THintWindow* (*)(TComponent* owner);
// Makes a THintWindow until another class is set.
THintWindowClass HintWindowClass();
void SetHintWindowClass(THintWindowClass factory);

// The hint window the editors share, made on first use (Application owns it).
THintWindow& SharedHintWindow();

}  // namespace vk
