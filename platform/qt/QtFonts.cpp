#include "platform/qt/QtFonts.h"

#include <algorithm>

#include "platform/qt/QtConvert.h"

namespace vk {

namespace {

// The height of a font whose logical description leaves it open.
constexpr int DefaultPixelSize = 12;

QFont MakeFont(const TLogFont& logFont) {
  QFont font(AnsiToQString(logFont.FaceName()));
  // Fixed pitch asks fontconfig for a monospaced face when the named one is
  // missing; it also tells Qt not to pick a proportional substitute.
  if ((logFont.lfPitchAndFamily & 3) == FIXED_PITCH) {
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
  }
  font.setWeight(logFont.lfWeight <= 0 ? QFont::Normal : QFont::Weight(std::clamp(logFont.lfWeight, 1, 1000)));
  font.setItalic(logFont.lfItalic != 0);
  font.setKerning(false);
  // Whole-pixel advances: the model measures a text as the sum of its
  // characters' advances, and a widget drawing it must take no more room
  // (a label sized by the model would otherwise clip its last letters).
  font.setHintingPreference(QFont::PreferFullHinting);
  if (logFont.lfHeight < 0) {
    font.setPixelSize(-logFont.lfHeight);
  } else if (logFont.lfHeight > 0) {
    // A positive height is the whole cell, leading included: shrink the
    // character height until the cell fits.
    font.setPixelSize(logFont.lfHeight);
    int cell = QFontMetrics(font).height();
    if (cell > logFont.lfHeight) font.setPixelSize(std::max(1, logFont.lfHeight * logFont.lfHeight / cell));
  } else {
    font.setPixelSize(DefaultPixelSize);
  }
  return font;
}

TTextMetric MeasureFont(const TLogFont& logFont, const QFont& font, const QFontMetrics& metrics) {
  TTextMetric tm = RequestedTextMetric(logFont);
  tm.tmHeight = metrics.height();
  tm.tmAscent = metrics.ascent();
  tm.tmDescent = metrics.descent();
  tm.tmInternalLeading = std::max(0, metrics.height() - font.pixelSize());
  tm.tmExternalLeading = std::max(0, metrics.leading());
  tm.tmAveCharWidth = metrics.averageCharWidth();
  tm.tmMaxCharWidth = metrics.maxWidth();
  return tm;
}

int RegularAscent(const TLogFont& logFont, const QFontMetrics& metrics) {
  if (logFont.lfWeight <= FW_NORMAL && logFont.lfItalic == 0) return metrics.ascent();
  TLogFont regular = logFont;
  regular.lfWeight = FW_NORMAL;
  regular.lfItalic = 0;
  return QFontMetrics(MakeFont(regular)).ascent();
}

}  // namespace

TQtFont::TQtFont(const TLogFont& logFont)
    : LogFont(logFont),
      Font(MakeFont(logFont)),
      Metrics(Font),
      TextMetric(MeasureFont(logFont, Font, Metrics)),
      Baseline(RegularAscent(logFont, Metrics)) {}

const QStaticText& TQtFont::Glyph(unsigned code) const {
  auto [slot, made] = FGlyphs.try_emplace(code);
  if (made) {
    slot->second.setText(QString(AnsiCharToQChar(code)));
    slot->second.setTextFormat(Qt::PlainText);
    slot->second.prepare(QTransform(), Font);
  }
  return slot->second;
}

const TQtFont& TQtFontMetrics::Font(const TLogFont& font) const {
  std::string key(reinterpret_cast<const char*>(&font), sizeof font);
  std::unique_ptr<TQtFont>& slot = FFonts[key];
  if (!slot) slot = std::make_unique<TQtFont>(font);
  return *slot;
}

TTextMetric TQtFontMetrics::TextMetrics(const TLogFont& font) const { return Font(font).TextMetric; }

bool TQtFontMetrics::CharABCWidths(const TLogFont& font, unsigned code, TABC& abc) const {
  const QFontMetrics& metrics = Font(font).Metrics;
  QChar c = AnsiCharToQChar(code);
  int advance = metrics.horizontalAdvance(c);
  abc.abcA = metrics.leftBearing(c);
  abc.abcB = static_cast<unsigned>(std::max(0, advance - abc.abcA - metrics.rightBearing(c)));
  // A + B + C is always the advance.
  abc.abcC = advance - abc.abcA - static_cast<int>(abc.abcB);
  return true;
}

int TQtFontMetrics::CharWidth(const TLogFont& font, unsigned code) const {
  return Font(font).Metrics.horizontalAdvance(AnsiCharToQChar(code));
}

const TQtFont& QtFontFor(const TLogFont& font, std::unique_ptr<TQtFont>& local) {
  if (auto* metrics = dynamic_cast<const TQtFontMetrics*>(&FontMetrics())) return metrics->Font(font);
  local = std::make_unique<TQtFont>(font);
  return *local;
}

uint32_t TQtFontMetrics::FontLanguageInfo(const TLogFont& font) const {
  // Which character sets hold double-byte characters is the code page's
  // business, not the font engine's: answer as every display does.
  return TFixedFontMetrics().FontLanguageInfo(font);
}

}  // namespace vk
