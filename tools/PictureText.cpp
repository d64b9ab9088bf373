#include "tools/PictureText.h"

#include <QtGui/QColor>
#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>

namespace vk::tools {

QFont PictureFont(double pixelSize, bool bold) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(static_cast<int>(pixelSize));
  font.setBold(bold);
  return font;
}

void DrawFittedText(QPainter& painter, const QRectF& rect, const QString& text, QFont font, const QColor& colour,
                    Qt::Alignment alignment) {
  while (font.pixelSize() > 8 && QFontMetricsF(font).horizontalAdvance(text) > rect.width())
    font.setPixelSize(font.pixelSize() - 1);
  painter.setFont(font);
  painter.setPen(colour);
  painter.drawText(rect, static_cast<int>(alignment), text);
}

}  // namespace vk::tools
