#pragma once
// The desktop behind the headless platform layer: while a TQtPlatform lives,
// fonts are measured by Qt, the clipboard is the desktop's, the timers run
// on real time from Qt's event loop, the caret is drawn and blinks, and the
// screen size and wheel setting are the desktop's, and controls get Qt
// peers (QtPeerFactory.h) when their windows are made. The program's main (and
// the Qt tests) make one after the QApplication and drop it before.

#include <memory>

#include "platform/Canvas.h"
#include "platform/Clipboard.h"
#include "platform/qt/QtCaret.h"
#include "platform/qt/QtPeerFactory.h"
#include "platform/qt/QtTimers.h"

namespace vk {

class TQtPlatform {
public:
  TQtPlatform();
  // Puts the headless services back.
  ~TQtPlatform();
  TQtPlatform(const TQtPlatform&) = delete;
  TQtPlatform& operator=(const TQtPlatform&) = delete;

  // The one that lives, or nullptr.
  static TQtPlatform* Instance();

  TQtCaret& Caret() { return FCaret; }

private:
  std::unique_ptr<TFontMetrics> FPreviousMetrics;
  std::unique_ptr<TClipboardBackend> FPreviousClipboard;
  TQtCaret FCaret;
  TQtTimerDriver FTimers;
  TQtPeerFactory FPeers;
};

}  // namespace vk
