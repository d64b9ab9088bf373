#include "platform/Dialogs.h"

#include "platform/FilePaths.h"

namespace vk {

std::vector<TFilterEntry> ParseFilter(const std::string& filter) {
  std::vector<std::string> parts;
  for (size_t start = 0;;) {
    size_t bar = filter.find('|', start);
    parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  std::vector<TFilterEntry> entries;
  if (filter.empty()) return entries;
  for (size_t i = 0; i < parts.size(); i += 2) {
    TFilterEntry entry{parts[i], {}};
    if (i + 1 < parts.size())
      for (size_t start = 0; start <= parts[i + 1].size();) {
        size_t semicolon = parts[i + 1].find(';', start);
        std::string mask = Trim(parts[i + 1].substr(start, semicolon == std::string::npos ? std::string::npos : semicolon - start));
        if (!mask.empty()) entry.Masks.push_back(mask);
        if (semicolon == std::string::npos) break;
        start = semicolon + 1;
      }
    entries.push_back(entry);
  }
  return entries;
}

// ------------------------------------------------------------------ services

namespace {

// A blue disc with a white question mark, on a transparent background.
void DrawQuestionIcon(TBitmap& icon) {
  static const char* const mark[] = {
      " ##### ", "##   ##", "##   ##", "     ##", "    ## ", "   ##  ", "   ##  ", "       ", "   ##  ", "   ##  ",
  };
  const TColorRef clear = RGB(255, 0, 255), disc = RGB(0, 84, 166), white = RGB(255, 255, 255);
  icon.SetSize(32, 32);
  icon.Fill(Rect(0, 0, 32, 32), clear);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if ((2 * x - 31) * (2 * x - 31) + (2 * y - 31) * (2 * y - 31) <= 30 * 30) icon.SetPixel(x, y, disc);
  for (int row = 0; row < 10; ++row)
    for (int col = 0; col < 7; ++col)
      if (mark[row][col] == '#') icon.Fill(Rect(9 + 2 * col, 6 + 2 * row, 11 + 2 * col, 8 + 2 * row), white);
  icon.SetTransparentColor(static_cast<TColor>(clear));
  icon.SetTransparent(true);
}

const char* KindName(TFileDialogKind kind) { return kind == TFileDialogKind::Open ? "Open" : "Save"; }

std::unique_ptr<TDialogService>& Installed() {
  static std::unique_ptr<TDialogService> service = std::make_unique<TScriptedDialogs>();
  return service;
}

}  // namespace

bool TDialogService::StandardIcon(int id, TBitmap& icon) {
  if (id != IDI_QUESTION) return false;
  DrawQuestionIcon(icon);
  return true;
}

TFileDialogAnswer TScriptedDialogs::ExecuteFileDialog(const TFileDialogRequest& request) {
  return FileDialogs.Take(request, Format("%s dialog \"%s\" (file name \"%s\", filter \"%s\")", KindName(request.Kind),
                                          request.Title.c_str(), request.FileName.c_str(), request.Filter.c_str()));
}

std::string TScriptedDialogs::SelectFolder(const TFolderRequest& request) {
  return Folders.Take(request, Format("Folder picker \"%s\"", request.Caption.c_str()));
}

TDialogService& DialogService() { return *Installed(); }

std::unique_ptr<TDialogService> SetDialogService(std::unique_ptr<TDialogService> service) {
  std::unique_ptr<TDialogService> previous = std::move(Installed());
  Installed() = service ? std::move(service) : std::make_unique<TScriptedDialogs>();
  return previous;
}

TScriptedDialogs* ScriptedDialogs() { return dynamic_cast<TScriptedDialogs*>(&DialogService()); }

// ------------------------------------------------------------------- dialogs

bool TOpenDialog::Execute() {
  TFileDialogRequest request{Kind(), FTitle, FFilter, FFilterIndex, FInitialDir, FFileName, FDefaultExt, FOptions};
  TFileDialogAnswer answer = DialogService().ExecuteFileDialog(request);
  if (answer.FileNames.empty()) return false;
  FFiles.Clear();
  for (std::string name : answer.FileNames) {
    if (!FDefaultExt.empty() && ExtractFileExt(ExtractFileName(name)).empty()) name += "." + FDefaultExt;
    FFiles.Add(name);
  }
  FFileName = FFiles.Strings(0);
  FFilterIndex = answer.FilterIndex;
  // As on the original platform, the chosen file's folder becomes the
  // current one unless the dialog is told otherwise.
  if (!FOptions.Contains(ofNoChangeDir) && !ExtractFilePath(FFileName).empty()) SetCurrentDir(ExtractFilePath(FFileName));
  return true;
}

bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory) {
  std::string chosen = DialogService().SelectFolder({caption, root});
  if (chosen.empty()) return false;
  directory = chosen;
  return true;
}

}  // namespace vk
