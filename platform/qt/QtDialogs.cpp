#include "platform/qt/QtDialogs.h"

#include <QtCore/QStandardPaths>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QStyle>

#include "platform/FilePaths.h"
#include "platform/qt/QtConvert.h"

namespace vk {

QStringList TQtDialogs::NameFilters(const std::string& filter) {
  QStringList filters;
  for (const TFilterEntry& entry : ParseFilter(filter)) {
    QStringList masks;
    for (std::string mask : entry.Masks) {
      std::erase(mask, ' ');
      masks << AnsiToQString(mask);
    }
    if (masks.isEmpty()) masks << QStringLiteral("*");
    // The dialog shows texts with their blanks simplified; so do these, for
    // the chosen filter to be found among them again.
    filters << (AnsiToQString(entry.Text) + QStringLiteral(" (") + masks.join(QLatin1Char(' ')) + QStringLiteral(")"))
                   .simplified();
  }
  return filters;
}

TFileDialogAnswer TQtDialogs::ExecuteFileDialog(const TFileDialogRequest& request) {
  bool save = request.Kind == TFileDialogKind::Save;
  QString title = request.Title.empty() ? (save ? QStringLiteral("Save As") : QStringLiteral("Open"))
                                        : AnsiToQString(request.Title);
  QFileDialog dialog(QApplication::activeWindow(), title);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (save) dialog.setFileMode(QFileDialog::AnyFile);
  else if (request.Options.Contains(ofAllowMultiSelect)) dialog.setFileMode(QFileDialog::ExistingFiles);
  else dialog.setFileMode(request.Options.Contains(ofFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (save && !request.Options.Contains(ofOverwritePrompt)) dialog.setOption(QFileDialog::DontConfirmOverwrite);

  QStringList filters = NameFilters(request.Filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size())
      dialog.selectNameFilter(filters[request.FilterIndex - 1]);
  }
  std::string folder = !request.InitialDir.empty() ? request.InitialDir : ExtractFilePath(request.FileName);
  dialog.setDirectory(FileNameToQString(folder.empty() ? GetCurrentDir() : folder));
  if (!request.FileName.empty()) dialog.selectFile(FileNameToQString(ExtractFileName(request.FileName)));

  TFileDialogAnswer answer;
  answer.FilterIndex = request.FilterIndex;
  if (dialog.exec() != QDialog::Accepted) return answer;
  for (const QString& name : dialog.selectedFiles()) answer.FileNames.push_back(QStringToFileName(name));
  if (int index = filters.indexOf(dialog.selectedNameFilter()); index >= 0) answer.FilterIndex = index + 1;
  return answer;
}

std::string TQtDialogs::SelectFolder(const TFolderRequest& request) {
  QString root = request.Root.empty() ? QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)
                                      : FileNameToQString(request.Root);
  QString chosen = QFileDialog::getExistingDirectory(QApplication::activeWindow(), AnsiToQString(request.Caption), root,
                                                     QFileDialog::ShowDirsOnly);
  return QStringToFileName(chosen);
}

bool TQtDialogs::StandardIcon(int id, TBitmap& icon) {
  if (id != IDI_QUESTION) return false;
  QImage image = QApplication::style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32).toImage();
  if (image.isNull()) return TDialogService::StandardIcon(id, icon);
  QImageToBitmap(image.scaled(32, 32), icon);
  return true;
}

}  // namespace vk
