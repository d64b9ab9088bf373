#pragma once
// The common dialogs: open and save a file, pick a folder, and the desktop's
// standard question-mark icon. What the person chooses comes from the
// process's dialog service: scripted answers headless (an unscripted dialog
// raises EUnscriptedRequest), the desktop's own dialogs in the Qt program.

#include <memory>
#include <string>
#include <vector>

#include "platform/Bitmaps.h"
#include "platform/Components.h"
#include "platform/ScriptedAnswers.h"
#include "platform/Sets.h"
#include "platform/StringLists.h"

namespace vk {

enum TOpenOption {
  ofReadOnly,
  ofOverwritePrompt,   // a save dialog asks before it names an existing file
  ofHideReadOnly,
  ofNoChangeDir,       // the current folder stays; otherwise it becomes the chosen file's
  ofAllowMultiSelect,  // Files holds every chosen name
  ofPathMustExist,
  ofFileMustExist,
  ofEnableSizing,
};
using TOpenOptions = TSet<TOpenOption>;

// One "text|mask" pair of a filter; the masks split at ";" without blanks
// around them.
struct TFilterEntry {
  std::string Text;
  std::vector<std::string> Masks;
};
// Parses "text|mask|text|mask"; a text without its mask gets none.
std::vector<TFilterEntry> ParseFilter(const std::string& filter);

enum class TFileDialogKind { Open, Save };

// What a file dialog asks, as the service receives (and a test sees) it.
struct TFileDialogRequest {
  TFileDialogKind Kind = TFileDialogKind::Open;
  std::string Title;
  std::string Filter;
  int FilterIndex = 1;  // 1-based
  std::string InitialDir;
  std::string FileName;
  std::string DefaultExt;
  TOpenOptions Options;
};
// The chosen files (none: cancelled) and the filter in use at the end.
struct TFileDialogAnswer {
  std::vector<std::string> FileNames;
  int FilterIndex = 1;
};
struct TFolderRequest {
  std::string Caption;
  std::string Root;  // "" for the desktop
};

// Ids of the desktop's standard icons.
constexpr int IDI_QUESTION = 32514;

class TDialogService {
public:
  virtual ~TDialogService() = default;
  virtual TFileDialogAnswer ExecuteFileDialog(const TFileDialogRequest& request) = 0;
  // The chosen folder, or "" when the person cancelled.
  virtual std::string SelectFolder(const TFolderRequest& request) = 0;
  // A 32 x 32 picture of the icon (its transparent colour set); false for
  // an unknown id.
  virtual bool StandardIcon(int id, TBitmap& icon);
};

// The headless service: queued answers, every request recorded.
class TScriptedDialogs : public TDialogService {
public:
  TFileDialogAnswer ExecuteFileDialog(const TFileDialogRequest& request) override;
  std::string SelectFolder(const TFolderRequest& request) override;

  TScriptedAnswers<TFileDialogRequest, TFileDialogAnswer> FileDialogs;
  TScriptedAnswers<TFolderRequest, std::string> Folders;
};

// The process's service (scripted until a backend installs another).
TDialogService& DialogService();
// Installs a service (a fresh scripted one when null) and returns the old.
std::unique_ptr<TDialogService> SetDialogService(std::unique_ptr<TDialogService> service);
// The installed service when it is the scripted one, else null.
TScriptedDialogs* ScriptedDialogs();

class TOpenDialog : public TComponent {
public:
  explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
  std::string ClassName() const override { return "TOpenDialog"; }

  const std::string& Filter() const { return FFilter; }
  void SetFilter(const std::string& value) { FFilter = value; }
  int FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int value) { FFilterIndex = value; }
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& value) { FFileName = value; }
  const std::string& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const std::string& value) { FInitialDir = value; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& value) { FTitle = value; }
  // Added (after a ".") to a chosen name that has no extension.
  const std::string& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const std::string& value) { FDefaultExt = value; }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions value) { FOptions = value; }
  // Every chosen name (one unless ofAllowMultiSelect).
  TStrings& Files() { return FFiles; }

  // Shows the dialog; true when the person chose, with FileName, Files and
  // FilterIndex updated. Cancel changes nothing and answers false.
  bool Execute();

protected:
  virtual TFileDialogKind Kind() const { return TFileDialogKind::Open; }

private:
  std::string FFilter, FFileName, FInitialDir, FTitle, FDefaultExt;
  int FFilterIndex = 1;
  TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
  TStringList FFiles;
};

class TSaveDialog : public TOpenDialog {
public:
  using TOpenDialog::TOpenDialog;
  std::string ClassName() const override { return "TSaveDialog"; }

protected:
  TFileDialogKind Kind() const override { return TFileDialogKind::Save; }
};

// The folder picker: true with the folder in `directory` when the person
// chose one. root "" starts at the desktop; only folders can be chosen.
bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory);

}  // namespace vk
