#pragma once
// The caret on the screen: the process's one caret (platform/Caret.h) drawn
// over its window's painting, inverting the pixels under it, and blinking
// while it shows. Every change of the caret repaints the old and the new
// place and starts the blink afresh, so a moving caret is always seen; but
// a window hiding and showing its caret while it paints asks for no more
// painting (the caret is drawn over the painting as it stands at its end),
// or painting would never stop.

#include <QtCore/QTimer>
#include <QtGui/QPainter>

#include "platform/Caret.h"
#include "platform/Graphics.h"

namespace vk {

class TWinControl;

class TQtCaret {
public:
  // Draws the process's caret from now on (one at a time).
  TQtCaret();
  ~TQtCaret();
  TQtCaret(const TQtCaret&) = delete;
  TQtCaret& operator=(const TQtCaret&) = delete;

  // Milliseconds the caret is shown, then hidden; 0 keeps it shown.
  int BlinkTime() const { return FBlinkTime; }
  void SetBlinkTime(int ms);

  // Draws the caret when the control owns it and it shows now.
  void Draw(QPainter& painter, const TWinControl& control) const;

private:
  void CaretChanged();
  void Blink();
  void RepaintDrawnPlace();

  QTimer FTimer;
  int FBlinkTime;
  bool FPhaseOn = true;
  // Where the caret was last seen, so that a change repaints it there.
  TWinControl* FOwner = nullptr;
  TRect FRect;
  TCaretChangeEvent FPreviousHandler;
};

}  // namespace vk
