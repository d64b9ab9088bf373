#include "tools/PartPictures.h"

#include <algorithm>

#include <QtCore/QStringList>
#include <QtGui/QColor>
#include <QtGui/QLinearGradient>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

#include "tools/PackageOutline.h"
#include "tools/PictureText.h"

namespace vk::tools {
namespace {

const QColor Paper(0xff, 0xff, 0xff);
const QColor Frame(0xd1, 0xd5, 0xdb);
const QColor TitleText(0x1f, 0x29, 0x37);
const QColor QuietText(0x6b, 0x72, 0x80);
const QColor TableHead(0xe5, 0xe7, 0xeb);
const QColor TableStripe(0xf6, 0xf7, 0xf9);
const QColor TableText(0x1f, 0x29, 0x37);

// A picture name is "<names>(<package>,<package>...).jpg", the names of the
// parts joined by "_" (the first one complete, the others often shortened);
// some names list no package.
struct TPictureName {
  QStringList Names;
  QStringList Packages;
};

TPictureName ParsePictureName(const std::string& pictureName) {
  QString stem = QString::fromLatin1(pictureName.c_str());
  stem.chop(stem.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) ? 4 : 0);
  TPictureName result;
  qsizetype open = stem.indexOf(QLatin1Char('('));
  if (open >= 0) {
    QString inside = stem.mid(open + 1);
    inside.remove(QLatin1Char(')'));
    result.Packages = inside.split(QLatin1Char(','), Qt::SkipEmptyParts);
    stem.truncate(open);
  }
  result.Names = stem.split(QLatin1Char('_'), Qt::SkipEmptyParts);
  return result;
}

TPackageKind KindOf(const QString& package) {
  auto is = [&](const char* prefix) { return package.startsWith(QLatin1String(prefix), Qt::CaseInsensitive); };
  if (is("PDIP") || is("DIP")) return TPackageKind::DualInLine;
  if (is("SO")) return TPackageKind::SmallOutline;
  if (is("QFN") || is("MLF")) return TPackageKind::QuadNoLead;
  if (is("LGA")) return TPackageKind::LandGrid;
  return TPackageKind::QuadFlat;
}

// Pin counts of the parts whose package is not the usual size for its kind.
struct TPinCount {
  const char* FirstName;
  int Pins;
};
constexpr TPinCount PinCounts[] = {
    {"ATtiny11", 8},   {"ATtiny12", 8},     {"ATtiny13", 8},   {"ATtiny22", 8},    {"ATtiny25", 8},
    {"AT90S2323", 8},  {"AT90S2343", 8},    {"ATtiny24", 14},  {"ATtiny26", 20},   {"ATtiny261", 20},
    {"ATtiny2313", 20}, {"AT90S1200", 20},  {"ATtiny28", 28},  {"AT90S2333", 28},  {"ATmega8", 28},
    {"ATmega48", 28},  {"ATmega48P", 28},   {"AT90PWM316", 32}, {"ATmega32C1", 32},
    {"ATmega32U4", 44}, {"ATmega406", 48},  {"ATmega640", 100}, {"Txmega64A1", 100},
};

int DefaultPins(TPackageKind kind) {
  switch (kind) {
    case TPackageKind::DualInLine: return 40;
    case TPackageKind::SmallOutline: return 24;
    case TPackageKind::QuadNoLead: return 32;
    case TPackageKind::LandGrid: return 36;
    case TPackageKind::QuadFlat: break;
  }
  return 64;
}

// The package drawn is the first one the name lists; a count in its name
// ("QFN32") wins over the table.
TPackage PackageOf(const TPictureName& name) {
  QString first = name.Packages.value(0);
  const TPackageKind kind = KindOf(first);
  TPackage package{kind, DefaultPins(kind)};
  for (const TPinCount& entry : PinCounts)
    if (name.Names.value(0) == QLatin1String(entry.FirstName)) package.Pins = entry.Pins;
  qsizetype digits = first.size();
  while (digits > 0 && first[digits - 1].isDigit()) --digits;
  if (digits < first.size()) package.Pins = first.mid(digits).toInt();
  return package;
}

QString SizeText(const char* size, const char* unit) {
  return QString::fromLatin1(size) + QLatin1Char(' ') + QLatin1String(unit);
}

QImage NewPicture(int width, int height, const QColor& background) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(background);
  return image;
}

void DrawFrame(QPainter& painter, const QImage& image) {
  painter.setPen(QPen(Frame, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(0.5, 0.5, image.width() - 1, image.height() - 1));
}

// Leads drawn as lines in the painter's pen, count on each side of the body:
// the first at first from the body's top or left corner, the next step
// further on; each line runs from gap to reach outside the body's edge.
void DrawLeadLines(QPainter& painter, const QRectF& body, int count, double first, double step, double gap,
                   double reach) {
  for (int i = 0; i < count; ++i) {
    double along = first + i * step;
    painter.drawLine(QPointF(body.left() - gap, body.top() + along), QPointF(body.left() - reach, body.top() + along));
    painter.drawLine(QPointF(body.right() + gap, body.top() + along), QPointF(body.right() + reach, body.top() + along));
    painter.drawLine(QPointF(body.left() + along, body.top() - gap), QPointF(body.left() + along, body.top() - reach));
    painter.drawLine(QPointF(body.left() + along, body.bottom() + gap),
                     QPointF(body.left() + along, body.bottom() + reach));
  }
}

constexpr double TableHeadHeight = 28, TableRowHeight = 25;

// The height of the parts table with its heading row and the rows given.
double PartsTableHeight(std::size_t rows) { return TableHeadHeight + TableRowHeight * static_cast<double>(rows); }

// The parts' names and memory sizes, one row each, below a heading row.
void DrawPartsTable(QPainter& painter, double top, const std::vector<const TMcuRow*>& parts) {
  constexpr double Width = 540, Padding = 12;
  constexpr double Columns[] = {0, 180, 300, 420, Width};
  const double left = (PartPictureWidth - Width) / 2;
  const double bottom = top + PartsTableHeight(parts.size());

  auto cells = [&](double y, double height, const QStringList& texts, const QFont& font) {
    for (int c = 0; c < 4; ++c) {
      QRectF cell(left + Columns[c] + Padding, y, Columns[c + 1] - Columns[c] - 2 * Padding, height);
      DrawFittedText(painter, cell, texts[c], font, TableText,
                     Qt::AlignVCenter | (c == 0 ? Qt::AlignLeft : Qt::AlignRight));
    }
  };

  painter.setPen(Qt::NoPen);
  painter.setBrush(TableHead);
  painter.drawRect(QRectF(left, top, Width, TableHeadHeight));
  cells(top, TableHeadHeight, {QStringLiteral("Part"), QStringLiteral("Flash"), QStringLiteral("EEPROM"), QStringLiteral("SRAM")},
        PictureFont(14, true));
  for (std::size_t r = 0; r < parts.size(); ++r) {
    double y = top + TableHeadHeight + TableRowHeight * static_cast<double>(r);
    if (r % 2 == 1) {
      painter.setPen(Qt::NoPen);
      painter.setBrush(TableStripe);
      painter.drawRect(QRectF(left, y, Width, TableRowHeight));
    }
    const TMcuRow& part = *parts[r];
    cells(y, TableRowHeight,
          {QString::fromLatin1(part.Name), SizeText(part.Flash, "KBytes"), SizeText(part.Eeprom, "Bytes"),
           SizeText(part.Sram, "Bytes")},
          PictureFont(14));
  }
  painter.setPen(QPen(Frame, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(left, top, Width, bottom - top));
}

}  // namespace

QImage DrawPartPicture(const std::string& pictureName, const std::vector<const TMcuRow*>& parts) {
  const TPictureName name = ParsePictureName(pictureName);
  QImage image = NewPicture(PartPictureWidth, PartPictureHeight, Paper);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);

  DrawFittedText(painter, QRectF(20, 14, PartPictureWidth - 40, 32), name.Names.join(QLatin1String(" / ")),
                 PictureFont(24, true), TitleText);
  if (!name.Packages.isEmpty()) {
    QString label = name.Packages.size() == 1 ? QStringLiteral("Package: ") : QStringLiteral("Packages: ");
    DrawFittedText(painter, QRectF(20, 48, PartPictureWidth - 40, 20), label + name.Packages.join(QLatin1String(", ")),
                   PictureFont(14), QuietText);
  }

  // The outline and the table share the space below the heading, centred.
  constexpr double HeadingBottom = 76, Gap = 22, Margin = 14;
  const double tableHeight = PartsTableHeight(parts.size());
  const double block = PackageDrawingHeight + Gap + tableHeight;
  const double top = HeadingBottom + std::max(0.0, (PartPictureHeight - Margin - HeadingBottom - block) / 2);
  DrawPackage(painter, QPointF(PartPictureWidth / 2.0, top + PackageDrawingHeight / 2), PackageOf(name),
              name.Names.value(0), name.Packages.value(0));
  DrawPartsTable(painter, top + PackageDrawingHeight + Gap, parts);
  DrawFrame(painter, image);
  return image;
}

QImage DrawNoPicture() {
  QImage image = NewPicture(PartPictureWidth, PartPictureHeight, QColor(0xf3, 0xf4, 0xf6));
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor ghost(0xa3, 0xa9, 0xb3);

  // An empty, dashed chip outline with its leads.
  const QRectF body(PartPictureWidth / 2.0 - 95, 90, 190, 190);
  QPen dashed(ghost, 3, Qt::DashLine);
  painter.setPen(dashed);
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(body, 10, 10);
  painter.setPen(QPen(ghost, 3, Qt::SolidLine, Qt::RoundCap));
  DrawLeadLines(painter, body, 6, 30, 26, 8, 24);
  DrawFittedText(painter, body, QStringLiteral("?"), PictureFont(120, true), ghost);
  DrawFittedText(painter, QRectF(20, 340, PartPictureWidth - 40, 40), QStringLiteral("No picture for this part"),
                 PictureFont(28, true), QColor(0x4b, 0x55, 0x63));
  DrawFrame(painter, image);
  return image;
}

QImage DrawAboutEmblem() {
  constexpr int Size = 256;
  QImage image = NewPicture(Size, Size, Paper);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);

  QLinearGradient sky(0, 0, Size, Size);
  sky.setColorAt(0, QColor(0x0f, 0x76, 0x6e));
  sky.setColorAt(1, QColor(0x1e, 0x3a, 0x8a));
  painter.fillRect(image.rect(), sky);

  // A chip with eight leads on each side and a "V" on its body.
  const QColor light(0xf8, 0xfa, 0xfc);
  const QRectF body(Size / 2.0 - 58, 40, 116, 116);
  painter.setPen(QPen(light, 6, Qt::SolidLine, Qt::RoundCap));
  DrawLeadLines(painter, body, 8, 12, 13.1, 6, 18);
  painter.setPen(QPen(light, 5));
  painter.setBrush(QColor(0x12, 0x2b, 0x4a));
  painter.drawRoundedRect(body, 12, 12);
  DrawFittedText(painter, body, QStringLiteral("V"), PictureFont(84, true), light);
  DrawFittedText(painter, QRectF(10, 186, Size - 20, 50), QStringLiteral("Vornkit"), PictureFont(40, true), light);
  return image;
}

}  // namespace vk::tools
