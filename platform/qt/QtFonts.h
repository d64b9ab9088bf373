#pragma once
// Fonts over Qt: a logical font becomes the QFont that fontconfig matches for
// it ("Courier New" resolves to a monospaced face, Korean glyphs come from a
// font that has them), and the process's font metrics are answered from
// QFontMetrics. Fonts are made once per logical font and kept.

#include <QtGui/QFont>
#include <QtGui/QFontMetrics>
#include <QtGui/QStaticText>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/Canvas.h"

namespace vk {

// One logical font made real.
struct TQtFont {
  explicit TQtFont(const TLogFont& logFont);
  TLogFont LogFont;
  // Without underline and strike-out: the canvas draws those lines across
  // whole cells, so that they do not break between glyphs.
  QFont Font;
  QFontMetrics Metrics;
  TTextMetric TextMetric;
  // Where the text stands, below the top of its cell: the ascent of the
  // face's regular upright style, for every style. A face whose bold or
  // italic reaches higher would otherwise put those words lower in a row
  // than the plain text beside them.
  int Baseline;

  // A single-byte character laid out once, drawn (at its top left) as
  // often as it shows.
  const QStaticText& Glyph(unsigned code) const;

private:
  mutable std::unordered_map<unsigned, QStaticText> FGlyphs;
};

class TQtFontMetrics : public TFontMetrics {
public:
  TTextMetric TextMetrics(const TLogFont& font) const override;
  // A = left bearing, C = right bearing, B the rest of the advance.
  bool CharABCWidths(const TLogFont& font, unsigned code, TABC& abc) const override;
  int CharWidth(const TLogFont& font, unsigned code) const override;
  uint32_t FontLanguageInfo(const TLogFont& font) const override;

  // The font made for a logical font (made on first use).
  const TQtFont& Font(const TLogFont& font) const;

private:
  mutable std::unordered_map<std::string, std::unique_ptr<TQtFont>> FFonts;
};

// The font to draw a logical font with: the one the process's Qt metrics
// made, so that drawing and measuring agree; made into local when other
// metrics are installed.
const TQtFont& QtFontFor(const TLogFont& font, std::unique_ptr<TQtFont>& local);

}  // namespace vk
