#pragma once
// The desktop behind the headless platform layer: while a TQtPlatform lives,
// fonts are measured by Qt, the clipboard is the desktop's, the timers run
// on real time from Qt's event loop, the caret is drawn and blinks, the
// screen size and wheel setting are the desktop's, controls get Qt peers
// (QtPeerFactory.h) when their windows are made, the application's loops run
// on Qt's, message boxes and popup menus open on the screen, the printers,
// the print dialogs, the common dialogs and file icons are Qt's, files and
// programs open on the desktop, and windows repaint while a command runs
// (and, while its input is held, QtInputHold.h, the user scrolls its output
// and may stop it).
// The program's main (and the Qt tests) make one after the QApplication and
// drop it before.

#include <memory>

#include "platform/Canvas.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/PrintDialogs.h"
#include "platform/Printers.h"
#include "platform/Processes.h"
#include "platform/Shell.h"
#include "platform/qt/QtCaret.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtInputHold.h"
#include "platform/qt/QtMenus.h"
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
  // What runs while a command runs: paint and timer events, and the user's
  // input when a TInputHold filters it; otherwise that stays queued until
  // the command has ended.
  void PumpEvents();

  // The program-wide pointer (Screen().Cursor()) over every window.
  void ShowScreenCursor(TCursor cursor);

  std::unique_ptr<TFontMetrics> FPreviousMetrics;
  std::unique_ptr<TClipboardBackend> FPreviousClipboard;
  std::unique_ptr<TPrinter> FPreviousPrinter;
  std::unique_ptr<TPrintDialogBackend> FPreviousPrintDialogs;
  std::unique_ptr<TDialogService> FPreviousDialogs;
  std::unique_ptr<TShellService> FPreviousShell;
  TProcessPump FPreviousPump;
  std::unique_ptr<TMessageBoxService> FPreviousMessageBoxes;
  TQtCaret FCaret;
  TQtTimerDriver FTimers;
  TQtEventLoop FLoop;
  TQtPeerFactory FPeers;
  TQtPopupPresenter FPopups;
  bool FCursorOverridden = false;
  TQtInputHolds FInputHolds;
};

}  // namespace vk
