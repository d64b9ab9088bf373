#include "platform/qt/QtCaret.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QStyleHints>
#include <algorithm>
#include <utility>

#include "platform/Controls.h"
#include "platform/qt/QtControlHost.h"
#include "platform/qt/QtConvert.h"

namespace vk {

TQtCaret::TQtCaret() : FBlinkTime(QGuiApplication::styleHints()->cursorFlashTime() / 2) {
  QObject::connect(&FTimer, &QTimer::timeout, [this] { Blink(); });
  FPreviousHandler = SetCaretChangeHandler(TCaretChangeEvent(this, &TQtCaret::CaretChanged));
  CaretChanged();
}

TQtCaret::~TQtCaret() { SetCaretChangeHandler(std::exchange(FPreviousHandler, nullptr)); }

void TQtCaret::SetBlinkTime(int ms) {
  FBlinkTime = std::max(ms, 0);
  CaretChanged();
}

void TQtCaret::RepaintDrawnPlace() {
  if (TQtControlHost* host = HostOf(FOwner)) host->RepaintClientRect(FRect);
}

void TQtCaret::CaretChanged() {
  const TCaretState& caret = CaretState();
  const TRect rect = Bounds(caret.Pos.X, caret.Pos.Y, caret.Width, caret.Height);
  TQtControlHost* host = HostOf(FOwner);
  if (caret.Owner == FOwner && rect == FRect && host && host->Painting()) return;
  RepaintDrawnPlace();
  FOwner = caret.Owner;
  FRect = rect;
  FPhaseOn = true;
  if (caret.Visible() && FBlinkTime > 0)
    FTimer.start(FBlinkTime);
  else
    FTimer.stop();
  RepaintDrawnPlace();
}

void TQtCaret::Blink() {
  FPhaseOn = !FPhaseOn;
  RepaintDrawnPlace();
}

void TQtCaret::Draw(QPainter& painter, const TWinControl& control) const {
  const TCaretState& caret = CaretState();
  if (caret.Owner != &control || !caret.Visible() || !FPhaseOn) return;
  painter.save();
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.fillRect(ToQRect(FRect), Qt::white);
  painter.restore();
}

}  // namespace vk
