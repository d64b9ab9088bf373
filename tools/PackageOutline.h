#pragma once
// Top views of chip packages, drawn as the part pictures show them: a dark
// body with its marking, the leads or pads around it and the pin-1 mark.

#include <QtCore/QString>

class QPainter;
class QPointF;

namespace vk::tools {

enum class TPackageKind {
  DualInLine,    // through-hole, leads on two long sides
  SmallOutline,  // gull-wing leads on two long sides
  QuadFlat,      // gull-wing leads on four sides
  QuadNoLead,    // pads flush with the four edges
  LandGrid,      // pads under the body
};

struct TPackage {
  TPackageKind Kind;
  int Pins;
};

// The height every package drawing fits in, leads and pin labels included.
inline constexpr double PackageDrawingHeight = 220;

// Draws the package centred on centre, at most 600 pixels wide, with the
// marking (part name) and the package's name on its body.
void DrawPackage(QPainter& painter, const QPointF& centre, const TPackage& package, const QString& marking,
                 const QString& packageName);

}  // namespace vk::tools
