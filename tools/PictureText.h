#pragma once
// Text on the generated pictures: one sans-serif family (matched by
// fontconfig), shrunk where a long name would not fit its place.

#include <QtCore/QString>
#include <QtCore/Qt>
#include <QtGui/QFont>

class QColor;
class QPainter;
class QRectF;

namespace vk::tools {

QFont PictureFont(double pixelSize, bool bold = false);

// Draws the text aligned in the rectangle, in the font made smaller as far as
// needed for the text to fit the rectangle's width (never below 8 pixels).
void DrawFittedText(QPainter& painter, const QRectF& rect, const QString& text, QFont font, const QColor& colour,
                    Qt::Alignment alignment = Qt::AlignCenter);

}  // namespace vk::tools
