#pragma once
// The image control's peer: a widget that draws the picture through the
// model's own drawing on a Qt canvas, so it shows what the model says
// (placed, centred or stretched); the parent shows around it.

#include "platform/ExtImages.h"
#include "platform/qt/QtPeer.h"

namespace vk {

class TQtImagePeer : public TQtWidgetPeer {
public:
  explicit TQtImagePeer(TImage& image);
  void PropertyChanged(TPeerProperty property) override;
};

}  // namespace vk
