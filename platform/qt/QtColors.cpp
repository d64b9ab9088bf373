#include "platform/qt/QtColors.h"

#include "platform/qt/QtConvert.h"

namespace vk {

void ShowControlColors(QWidget& widget, const TControl& control, QPalette::ColorRole face, QPalette::ColorRole text,
                       bool always) {
  QPalette palette = widget.palette();
  const QColor textColor = ToQColor(ColorToRGB(control.Font().Color()));
  palette.setColor(QPalette::Active, text, textColor);
  palette.setColor(QPalette::Inactive, text, textColor);
  const bool ownFace = always || !control.ParentColor();
  if (ownFace) palette.setColor(face, ToQColor(ColorToRGB(control.Color())));
  widget.setPalette(palette);
  if (face == QPalette::Window) widget.setAutoFillBackground(ownFace);
}

}  // namespace vk
