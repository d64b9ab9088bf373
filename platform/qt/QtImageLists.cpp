#include "platform/qt/QtImageLists.h"

#include <QtGui/QPainter>
#include <QtGui/QPixmap>

#include "platform/qt/QtCanvas.h"

namespace vk {

QIcon ImageListIcon(const TImageList* images, int index) {
  if (!images || index < 0 || index >= images->Count()) return {};
  QPixmap pixmap(images->Width(), images->Height());
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  TQtCanvas canvas;
  canvas.Begin(painter);
  images->Draw(canvas, 0, 0, index);
  canvas.End();
  return QIcon(pixmap);
}

}  // namespace vk
