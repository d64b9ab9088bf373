#include "platform/qt/QtGuard.h"

#include <QtCore/QtGlobal>

#include "platform/qt/QtConvert.h"

namespace vk {

void ReportEventException(const char* message) { qWarning("%s", qPrintable(AnsiToQString(message))); }

}  // namespace vk
