#include "platform/qt/QtImagePeer.h"

#include <QtGui/QPainter>

#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtGuard.h"

namespace vk {

namespace {

class TImageWidget : public QWidget {
public:
  explicit TImageWidget(TImage& image) : FImage(image) {}

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    FCanvas.Begin(painter);
    RunPaintGuarded([this] { FImage.PaintTo(FCanvas); });
    FCanvas.End();
  }

private:
  TImage& FImage;
  TQtCanvas FCanvas;
};

}  // namespace

TQtImagePeer::TQtImagePeer(TImage& image) : TQtWidgetPeer(image, new TImageWidget(image)) {}

void TQtImagePeer::PropertyChanged(TPeerProperty property) {
  if (property == ppPicture || property == ppStyle) Widget()->update();
  TQtWidgetPeer::PropertyChanged(property);
}

}  // namespace vk
