#include "platform/qt/QtPlatform.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>

#include "platform/FileIcons.h"
#include "platform/Forms.h"
#include "platform/SystemMetrics.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtFileIcons.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtInput.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtPrintDialogs.h"
#include "platform/qt/QtPrinter.h"

namespace vk {

namespace {

TQtPlatform* GInstance = nullptr;

}  // namespace

TQtPlatform::TQtPlatform()
    : FPreviousMetrics(SetFontMetrics(std::make_unique<TQtFontMetrics>())),
      FPreviousClipboard(Clipboard().SetBackend(std::make_unique<TQtClipboard>())),
      FPreviousPrinter(SetPrinter(std::make_unique<TQtPrinter>())),
      FPreviousPrintDialogs(SetPrintDialogBackend(std::make_unique<TQtPrintDialogs>())),
      FPreviousDialogs(SetDialogService(std::make_unique<TQtDialogs>())),
      FPreviousShell(SetShellService(std::make_unique<TDesktopShell>())),
      FPreviousPump(SetProcessPump(TProcessPump(this, &TQtPlatform::PumpEvents))),
      FPreviousMessageBoxes(SetMessageBoxService(std::make_unique<TQtMessageBoxes>())) {
  FileIcons().SetSource(std::make_unique<TQtFileIcons>());
  if (QScreen* screen = QGuiApplication::primaryScreen())
    SetScreenSize(screen->size().width(), screen->size().height());
  SetWheelScrollLines(QApplication::wheelScrollLines());
  SetPeerFactory(&FPeers);
  SetPopupPresenter(&FPopups);
  SetInputHoldBackend(&FInputHolds);
  UseDesktopMenuStyle();
  Screen().OnCursorChange = TDelegate<void(TCursor)>(this, &TQtPlatform::ShowScreenCursor);
  GInstance = this;
}

TQtPlatform::~TQtPlatform() {
  GInstance = nullptr;
  Screen().OnCursorChange = nullptr;
  ShowScreenCursor(crDefault);
  SetInputHoldBackend(nullptr);
  SetPopupPresenter(nullptr);
  SetPeerFactory(nullptr);
  FileIcons().SetSource(nullptr);
  SetMessageBoxService(std::move(FPreviousMessageBoxes));
  SetProcessPump(FPreviousPump);
  SetShellService(std::move(FPreviousShell));
  SetDialogService(std::move(FPreviousDialogs));
  SetPrintDialogBackend(std::move(FPreviousPrintDialogs));
  SetPrinter(std::move(FPreviousPrinter));
  Clipboard().SetBackend(std::move(FPreviousClipboard));
  SetFontMetrics(std::move(FPreviousMetrics));
}

TQtPlatform* TQtPlatform::Instance() { return GInstance; }

void TQtPlatform::ShowScreenCursor(TCursor cursor) {
  if (FCursorOverridden) QApplication::restoreOverrideCursor();
  FCursorOverridden = cursor != crDefault;
  if (FCursorOverridden) QApplication::setOverrideCursor(QCursor(CursorShapeOf(cursor)));
}

void TQtPlatform::PumpEvents() {
  // The keys typed while a tool is asked wait in Qt's queue unseen: a box
  // that waits for a pause in the typing counts it from when it sees them.
  if (TTypingHold* typing = TTypingHold::Current()) typing->Restart();
  // Without a hold, what the user does waits until the command has ended.
  QCoreApplication::processEvents(TInputHold::Current() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

}  // namespace vk
