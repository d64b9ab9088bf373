#pragma once
// Conversions between the system's values and Qt's at the edge: 8-bit text
// in the ANSI code page and Qt's Unicode strings, colours, rectangles and
// points.

#include <QtCore/QPoint>
#include <QtCore/QRect>
#include <QtCore/QString>
#include <QtGui/QColor>
#include <QtGui/QImage>
#include <string>

#include "platform/Bitmaps.h"
#include "platform/Graphics.h"

namespace vk {

QString AnsiToQString(const std::string& ansi);
// Characters the code page lacks become '?'.
std::string QStringToAnsi(const QString& text);
// The Unicode character of one character of the code page: a byte, or lead
// byte * 256 + trail byte; U+FFFD for a code the code page does not define.
// Each code is converted once and remembered, so painting converts nothing.
QChar AnsiCharToQChar(unsigned code);

// A file name of the program (in the code page) as Qt spells it, and back;
// a name the code page has no form for raises EFileNameError.
QString FileNameToQString(const std::string& fileName);
std::string QStringToFileName(const QString& fileName);

// The picture's pixels; pixels less than half opaque become the transparent
// colour (RGB(255, 0, 255)) of the bitmap, which is then Transparent.
void QImageToBitmap(const QImage& image, TBitmap& bitmap);

inline QColor ToQColor(TColorRef color) { return QColor(GetRValue(color), GetGValue(color), GetBValue(color)); }

// Right and Bottom are exclusive here, as QRect's size is.
inline QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
inline TRect FromQRect(const QRect& r) { return Bounds(r.x(), r.y(), r.width(), r.height()); }
inline TPoint FromQPoint(const QPoint& p) { return {p.x(), p.y()}; }

}  // namespace vk
