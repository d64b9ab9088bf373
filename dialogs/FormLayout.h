#pragma once
// Building a form's controls in its constructor: one call puts a control on
// its parent at its place with its caption; one sets the tab order.

#include <initializer_list>
#include <string>

#include "platform/Controls.h"

namespace vk {

// A width of 0 keeps the control's own size (a label sized to its text).
template <class T>
T* Place(T* control, TWinControl* parent, int left, int top, int width, int height, const std::string& caption = {}) {
  control->SetParent(parent);
  if (!caption.empty()) control->SetCaption(caption);
  if (width > 0)
    control->SetBounds(left, top, width, height);
  else
    control->SetBounds(left, top, control->Width(), control->Height());
  return control;
}

// The controls take the tab order in the order given.
inline void SetTabOrders(std::initializer_list<TWinControl*> controls) {
  int order = 0;
  for (TWinControl* control : controls) control->SetTabOrder(order++);
}

}  // namespace vk
