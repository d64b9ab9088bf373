#pragma once
// The common dialogs on the desktop: Qt's file dialog for open and save,
// its folder picker, and the style's question-mark icon.

#include <QtCore/QStringList>

#include "platform/Dialogs.h"

namespace vk {

class TQtDialogs : public TDialogService {
public:
  TFileDialogAnswer ExecuteFileDialog(const TFileDialogRequest& request) override;
  std::string SelectFolder(const TFolderRequest& request) override;
  bool StandardIcon(int id, TBitmap& icon) override;

  // Qt's name filters ("text (*.c *.cpp)") for a "text|mask" filter, with
  // runs of blanks simplified as the dialog shows them; a blank inside a
  // mask is dropped (Qt separates masks by blanks).
  static QStringList NameFilters(const std::string& filter);
};

}  // namespace vk
