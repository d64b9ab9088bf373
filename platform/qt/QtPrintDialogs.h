#pragma once
// The print dialogs over Qt: the desktop's print dialog (printer or PDF
// file, copies, page range) and a small printer choice for the printer
// setup. Both run modally over the active window.

#include "platform/PrintDialogs.h"

namespace vk {

class TQtPrintDialogs : public TPrintDialogBackend {
public:
  std::optional<TPrintDialogData> ExecutePrint(const TPrintDialogData& shown) override;
  std::optional<int> ExecuteSetup(const TPrinterSetupData& shown) override;
};

}  // namespace vk
