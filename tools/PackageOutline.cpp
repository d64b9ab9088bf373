#include "tools/PackageOutline.h"

#include <algorithm>

#include <QtGui/QColor>
#include <QtGui/QLinearGradient>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

#include "tools/PictureText.h"

namespace vk::tools {
namespace {

const QColor BodyTop(0x3c, 0x3f, 0x45);
const QColor BodyBottom(0x24, 0x26, 0x2a);
const QColor BodyEdge(0x16, 0x17, 0x1a);
const QColor LeadFill(0xcf, 0xd3, 0xd9);
const QColor LeadEdge(0x85, 0x8b, 0x94);
const QColor MarkingText(0xf0, 0xf0, 0xf0);
const QColor PackageText(0xa8, 0xad, 0xb5);
const QColor PinLabel(0x4b, 0x55, 0x63);

void FillBody(QPainter& painter, const QPainterPath& outline) {
  QRectF box = outline.boundingRect();
  QLinearGradient shade(box.topLeft(), box.bottomLeft());
  shade.setColorAt(0, BodyTop);
  shade.setColorAt(1, BodyBottom);
  painter.setPen(QPen(BodyEdge, 1.5));
  painter.setBrush(shade);
  painter.drawPath(outline);
}

void FillLead(QPainter& painter, const QRectF& lead, double radius = 0) {
  painter.setPen(QPen(LeadEdge, 1));
  painter.setBrush(LeadFill);
  painter.drawRoundedRect(lead, radius, radius);
}

void DrawMarking(QPainter& painter, const QRectF& face, const QString& marking, const QString& packageName) {
  double nameSize = std::clamp(face.height() * 0.22, 15.0, 24.0);
  double packageSize = std::max(12.0, nameSize * 0.6);
  if (packageName.isEmpty()) {
    DrawFittedText(painter, face, marking, PictureFont(nameSize, true), MarkingText);
    return;
  }
  QRectF nameRect(face.left(), face.center().y() - nameSize * 1.1, face.width(), nameSize * 1.3);
  QRectF packageRect(face.left(), face.center().y() + nameSize * 0.3, face.width(), packageSize * 1.5);
  DrawFittedText(painter, nameRect, marking, PictureFont(nameSize, true), MarkingText);
  DrawFittedText(painter, packageRect, packageName, PictureFont(packageSize), PackageText);
}

void DrawPinOneLabel(QPainter& painter, const QRectF& place) {
  DrawFittedText(painter, place, QStringLiteral("1"), PictureFont(14, true), PinLabel);
}

// Leads on the two long sides, pin 1 at the lower left (the notch or dot to
// its left), counted anticlockwise as seen from above.
void DrawTwoSided(QPainter& painter, const QPointF& centre, const TPackage& package, const QString& marking,
                  const QString& packageName) {
  const bool throughHole = package.Kind == TPackageKind::DualInLine;
  const int perSide = std::max(1, package.Pins / 2);
  const double pitch = std::min(throughHole ? 48.0 : 38.0, 520.0 / perSide);
  const double end = throughHole ? 24 : 16;  // body beyond the outer leads
  const double leadLength = throughHole ? 26 : 20;
  const double height = throughHole ? (package.Pins >= 32 ? 128 : 100) : 84;
  const double length = perSide * pitch + 2 * end;
  const QRectF body(centre.x() - length / 2, centre.y() - height / 2, length, height);

  for (int i = 0; i < perSide; ++i) {
    double x = body.left() + end + pitch * (i + 0.5);
    for (bool top : {true, false}) {
      double from = top ? body.top() - leadLength : body.bottom();
      if (throughHole) {
        // A wide shoulder at the body, then the narrow pin.
        double shoulder = pitch * 0.5, pin = std::max(3.0, pitch * 0.2);
        double shoulderFrom = top ? body.top() - 10 : body.bottom();
        double pinFrom = top ? from : body.bottom() + 10;
        FillLead(painter, QRectF(x - pin / 2, pinFrom, pin, leadLength - 10), 1);
        FillLead(painter, QRectF(x - shoulder / 2, shoulderFrom, shoulder, 10), 1);
      } else {
        double width = pitch * 0.45;
        FillLead(painter, QRectF(x - width / 2, from, width, leadLength));
        // The bend where the gull wing's foot begins.
        double bend = top ? from + 7 : from + leadLength - 7;
        painter.setPen(QPen(LeadEdge, 1));
        painter.drawLine(QPointF(x - width / 2, bend), QPointF(x + width / 2, bend));
      }
    }
  }

  QPainterPath outline;
  outline.addRoundedRect(body, 3, 3);
  FillBody(painter, outline);
  painter.setPen(Qt::NoPen);
  painter.setBrush(BodyEdge);
  if (throughHole)
    painter.drawPie(QRectF(body.left() - 12, centre.y() - 12, 24, 24), -90 * 16, 180 * 16);
  else
    painter.drawEllipse(QPointF(body.left() + end * 0.6 + 4, body.bottom() - 12), 5, 5);

  double pinOne = body.left() + end + pitch / 2;
  DrawPinOneLabel(painter, QRectF(pinOne - 12, body.bottom() + leadLength + 2, 24, 18));
  DrawMarking(painter, body.adjusted(end, 6, -end, -6), marking, packageName);
}

// Leads or pads on four sides, pin 1 at the top of the left side, counted
// anticlockwise as seen from above.
void DrawFourSided(QPainter& painter, const QPointF& centre, const TPackage& package, const QString& marking,
                   const QString& packageName) {
  const TPackageKind kind = package.Kind;
  const int perSide = std::max(1, package.Pins / 4);
  const double side = kind == TPackageKind::QuadFlat ? 170 : 190;
  const double inset = kind == TPackageKind::QuadFlat ? 16 : 26;  // corner to the first lead
  const double leadLength = kind == TPackageKind::QuadFlat ? 20 : 14;
  const double pitch = (side - 2 * inset) / perSide;
  const double width = std::min(pitch * 0.5, 12.0);
  const QRectF body(centre.x() - side / 2, centre.y() - side / 2, side, side);

  // Lead i of a side, as a rectangle reaching leadLength outwards from the
  // body's edge (QuadFlat), or inwards from it (pads).
  auto lead = [&](int sideIndex, int i) {
    double along = inset + pitch * (i + 0.5);
    double out = kind == TPackageKind::QuadFlat ? leadLength : 0;
    double in = kind == TPackageKind::QuadFlat ? 0 : leadLength;
    double gap = kind == TPackageKind::LandGrid ? 6 : 0;  // pads sit under the body, clear of its edge
    switch (sideIndex) {
      case 0:  // left, top to bottom
        return QRectF(body.left() - out + gap, body.top() + along - width / 2, out + in, width);
      case 1:  // bottom, left to right
        return QRectF(body.left() + along - width / 2, body.bottom() - in - gap, width, out + in);
      case 2:  // right, bottom to top
        return QRectF(body.right() - in - gap, body.bottom() - along - width / 2, out + in, width);
      default:  // top, right to left
        return QRectF(body.right() - along - width / 2, body.top() - out + gap, width, out + in);
    }
  };

  if (kind == TPackageKind::QuadFlat)
    for (int s = 0; s < 4; ++s)
      for (int i = 0; i < perSide; ++i) FillLead(painter, lead(s, i));

  // The corner at pin 1 is bevelled.
  const double bevel = 12;
  QPainterPath outline;
  outline.moveTo(body.left() + bevel, body.top());
  outline.lineTo(body.topRight());
  outline.lineTo(body.bottomRight());
  outline.lineTo(body.bottomLeft());
  outline.lineTo(body.left(), body.top() + bevel);
  outline.closeSubpath();
  FillBody(painter, outline);

  if (kind != TPackageKind::QuadFlat)
    for (int s = 0; s < 4; ++s)
      for (int i = 0; i < perSide; ++i) FillLead(painter, lead(s, i), kind == TPackageKind::LandGrid ? width / 2 : 1);

  painter.setPen(Qt::NoPen);
  painter.setBrush(BodyEdge);
  double dot = inset + (kind == TPackageKind::QuadFlat ? 8 : 14);
  painter.drawEllipse(QPointF(body.left() + dot, body.top() + dot), 5, 5);

  QRectF first = lead(0, 0);
  double labelRight = kind == TPackageKind::QuadFlat ? first.left() - 2 : body.left() - 2;
  DrawPinOneLabel(painter, QRectF(labelRight - 22, first.center().y() - 9, 20, 18));
  double face = inset + (kind == TPackageKind::QuadFlat ? 4 : leadLength);
  DrawMarking(painter, body.adjusted(face, face, -face, -face), marking, packageName);
}

}  // namespace

void DrawPackage(QPainter& painter, const QPointF& centre, const TPackage& package, const QString& marking,
                 const QString& packageName) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  if (package.Kind == TPackageKind::DualInLine || package.Kind == TPackageKind::SmallOutline)
    DrawTwoSided(painter, centre, package, marking, packageName);
  else
    DrawFourSided(painter, centre, package, marking, packageName);
  painter.restore();
}

}  // namespace vk::tools
