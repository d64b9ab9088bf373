#include "platform/qt/QtGuard.h"

#include <QtCore/QtGlobal>

#include "platform/Forms.h"
#include "platform/qt/QtConvert.h"

namespace vk {

void ReportEventException(const char* message) noexcept { qWarning("%s", qPrintable(AnsiToQString(message))); }

void HandleEventException(const std::exception& e) noexcept {
  try {
    Application().HandleException(e);
  } catch (const std::exception& failed) {
    ReportEventException(e.what());
    ReportEventException(failed.what());
  }
}

}  // namespace vk
