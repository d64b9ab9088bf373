#include "platform/qt/QtPlatform.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>

#include "platform/SystemMetrics.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtMessageBoxes.h"

namespace vk {

namespace {

TQtPlatform* GInstance = nullptr;

}  // namespace

TQtPlatform::TQtPlatform()
    : FPreviousMetrics(SetFontMetrics(std::make_unique<TQtFontMetrics>())),
      FPreviousClipboard(Clipboard().SetBackend(std::make_unique<TQtClipboard>())),
      FPreviousMessageBoxes(SetMessageBoxService(std::make_unique<TQtMessageBoxes>())) {
  if (QScreen* screen = QGuiApplication::primaryScreen())
    SetScreenSize(screen->size().width(), screen->size().height());
  SetWheelScrollLines(QApplication::wheelScrollLines());
  SetPeerFactory(&FPeers);
  SetPopupPresenter(&FPopups);
  GInstance = this;
}

TQtPlatform::~TQtPlatform() {
  GInstance = nullptr;
  SetPopupPresenter(nullptr);
  SetPeerFactory(nullptr);
  SetMessageBoxService(std::move(FPreviousMessageBoxes));
  Clipboard().SetBackend(std::move(FPreviousClipboard));
  SetFontMetrics(std::move(FPreviousMetrics));
}

TQtPlatform* TQtPlatform::Instance() { return GInstance; }

}  // namespace vk
