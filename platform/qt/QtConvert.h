#pragma once
// Conversions between the system's values and Qt's at the edge: 8-bit text
// in the ANSI code page and Qt's Unicode strings, colours, rectangles and
// points.

#include <QtCore/QPoint>
#include <QtCore/QRect>
#include <QtCore/QString>
#include <QtGui/QColor>
#include <string>

#include "platform/Graphics.h"

namespace vk {

QString AnsiToQString(const std::string& ansi);
// Characters the code page lacks become '?'.
std::string QStringToAnsi(const QString& text);
// The Unicode character of one character of the code page: a byte, or lead
// byte * 256 + trail byte; U+FFFD for a code the code page does not define.
// Each code is converted once and remembered, so painting converts nothing.
QChar AnsiCharToQChar(unsigned code);

inline QColor ToQColor(TColorRef color) { return QColor(GetRValue(color), GetGValue(color), GetBValue(color)); }

// Right and Bottom are exclusive here, as QRect's size is.
inline QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
inline TRect FromQRect(const QRect& r) { return Bounds(r.x(), r.y(), r.width(), r.height()); }
inline TPoint FromQPoint(const QPoint& p) { return {p.x(), p.y()}; }

}  // namespace vk
