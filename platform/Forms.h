#pragma once
// The application and the screen: the process-wide owner of shared windows,
// the clock the timers run on, and the screen's size and focus.

#include <string>

#include "platform/Components.h"
#include "platform/Controls.h"

namespace vk {

class TApplication : public TComponent {
public:
  explicit TApplication(TComponent* owner) : TComponent(owner) {}
  std::string ClassName() const override { return "TApplication"; }

  // Moves the timers' clock on (see platform/Timers.h).
  void AdvanceTimers(int ms);
};

// The application object; it lives until the process ends.
TApplication& Application();

class TScreen {
public:
  int Width() const;
  int Height() const;
  TWinControl* ActiveControl() const { return FocusedControl(); }
};

TScreen& Screen();

}  // namespace vk
