#pragma once
// The message-box service on the screen: a QMessageBox with the box's text,
// caption, buttons, default button and icon, over the active window,
// answered by the button the user pressed (closing the box answers Cancel,
// or the default button). Keys and clicks still waiting as it comes up
// never reach it; a box that comes up on its own (MB_UNASKED) takes none
// while the user is still typing.

#include "platform/MessageBoxes.h"

namespace vk {

class TQtMessageBoxes : public TMessageBoxService {
public:
  int Show(const TMessageBoxRequest& request) override;
};

}  // namespace vk
