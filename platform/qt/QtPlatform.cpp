#include "platform/qt/QtPlatform.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>

#include "platform/SystemMetrics.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtFonts.h"

namespace vk {

namespace {

TQtPlatform* GInstance = nullptr;

}  // namespace

TQtPlatform::TQtPlatform()
    : FPreviousMetrics(SetFontMetrics(std::make_unique<TQtFontMetrics>())),
      FPreviousClipboard(Clipboard().SetBackend(std::make_unique<TQtClipboard>())) {
  if (QScreen* screen = QGuiApplication::primaryScreen())
    SetScreenSize(screen->size().width(), screen->size().height());
  SetWheelScrollLines(QApplication::wheelScrollLines());
  SetPeerFactory(&FPeers);
  GInstance = this;
}

TQtPlatform::~TQtPlatform() {
  GInstance = nullptr;
  SetPeerFactory(nullptr);
  Clipboard().SetBackend(std::move(FPreviousClipboard));
  SetFontMetrics(std::move(FPreviousMetrics));
}

TQtPlatform* TQtPlatform::Instance() { return GInstance; }

}  // namespace vk
