#pragma once
// A control's colours on its widget: its Color as the face (the field of an
// edit or list, the background of a label) and its font's colour as the
// text. A disabled widget keeps the style's grey text.

#include <QtGui/QPalette>
#include <QtWidgets/QWidget>

#include "platform/Controls.h"

namespace vk {

// A face that is the parent's colour (ParentColor) is left to the parent
// unless always is set.
void ShowControlColors(QWidget& widget, const TControl& control, QPalette::ColorRole face, QPalette::ColorRole text,
                       bool always);

}  // namespace vk
