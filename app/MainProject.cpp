// Project and document management: new documents, the open road (a C
// source opens as a project with its headers and extra sources), saving,
// closing, and the environment command.

#include <filesystem>
#include <set>

#include "app/ChildWin.h"
#include "app/Main.h"
#include "services/HeaderSearch.h"
#include "services/ProjectFiles.h"
#include "dialogs/EnvironmentDlg.h"
#include "platform/FilePaths.h"
#include "platform/Streams.h"

namespace vk {

namespace {

// A path from the root, so that the project folder is never empty.
std::string AbsolutePath(const std::string& path) {
  return path.starts_with('/') ? path : PathFrom(GetCurrentDir(), path);
}

// The file lies in the folder or in one below it.
bool IsInFolder(const std::string& path, const std::string& folder) {
  if (folder.empty()) return false;
  const std::filesystem::path relative = std::filesystem::path(path).lexically_relative(folder);
  return !relative.empty() && *relative.begin() != "..";
}

// The files, one a line, in one message.
void ShowMissingFiles(const std::vector<std::string>& paths) {
  std::string names;
  for (const std::string& path : paths) names += (names.empty() ? "" : "\n") + path;
  ShowMessage(names + " Cannot find a file");
}

void ShowMissingFile(const std::string& path) { ShowMissingFiles({path}); }

// A file that cannot be opened for reading is named in a message.
bool ReportUnreadable(const std::string& path) {
  try {
    TFileStream(path, fmOpenRead | fmShareDenyNone);
  } catch (const EStreamError&) {
    ShowMissingFile(path);
    return true;
  }
  return false;
}

bool IsAssemblerExtension(const std::string& extension) {
  return extension == ".s" || extension == ".S" || extension == ".ASM" || extension == ".asm";
}

}  // namespace

TMDIChild* TMainForm::CreateMDIChild(const std::string& path) {
  auto* child = NewForm<TMDIChild>(&Application());
  child->SetCaption(path);
  LastMDIChild = child;
  for (TCustomAction* action : std::initializer_list<TCustomAction*>{
           FileSaveAsCmd, FilePrinterCmd, FilePrintSetupCmd, FileCloseAllCmd, EditUndoCmd, EditRedoCmd,
           EditLineCommentCmd, EditLineNumberCmd, EditFindCmd, EditReplaceCmd, EditlOneLineDelCmd, RunRunCmd,
           SetupAvrCmd, BtnFontMaxCmd, BtnFontMinCmd, PrjNametInsertCommentCmd, PrjNametDeleteCommentCmd, ProjectCmd})
    action->SetEnabled(true);
  EditLineNumber1->SetEnabled(true);
  ToBtnFind->SetEnabled(true);
  ComboBox2Find->SetEnabled(true);
  PopIncludeAdd1->SetEnabled(true);
  return child;
}

void TMainForm::FileNewCmdExecute(TObject*) { CreateMDIChild("NONAME" + IntToStr(DocumentCount() + 1)); }

// ---------------------------------------------------------------- opening

TMDIChild* TMainForm::OpenDocument(const std::string& path, std::vector<std::string>* unreadable) {
  // A second window on one file would overwrite the first one's saves.
  if (TMDIChild* open = FindDocument(path)) {
    // Opened on purpose, it counts among the project's sources.
    open->SetOutsideProject(false);
    open->BringToFront();
    return open;
  }
  // Read before the window is made, so that a file that cannot be read
  // leaves none behind.
  TDiskFile file;
  try {
    file = ReadDiskFile(path);
  } catch (const EStreamError&) {
    if (unreadable)
      unreadable->push_back(path);
    else
      ShowMissingFile(path);
    return nullptr;
  }
  TMDIChild* child = CreateMDIChild(path);
  child->Load(file, path);
  return child;
}

TMDIChild* TMainForm::ShowFile(const std::string& path) {
  if (TMDIChild* open = FindDocument(path)) {
    open->Show();
    return open;
  }
  TMDIChild* child = OpenDocument(path);
  // A header of the tool chain, say: no source of the project.
  if (child) child->SetOutsideProject(!IsInFolder(path, ProjectFolder()));
  return child;
}

void TMainForm::FileOpenCmdExecute(TObject*) {
  PageControl1->SetActivePage(TabSheet1);
  std::string path;
  if (OpenFromListFlag == 1)
    path = OpenFromListPath;
  else if (OpenDialog->Execute())
    path = OpenDialog->FileName();
  // The file list's choice is used once, whatever becomes of this open.
  OpenFromListFlag = 0;
  if (path.empty()) return;
  path = AbsolutePath(path);
  // A file that cannot be read changes nothing: the documents and the
  // project stay. (It is read after Close All, which may save it.)
  if (!FindDocument(path) && ReportUnreadable(path)) return;

  const std::string extension = ExtractFileExt(path);
  if (extension == ".h" || extension == ".H") {
    // Beside the project, in front of its windows: the file just opened.
    if (TMDIChild* header = OpenDocument(path)) ShowDocument(*header);
  } else {
    // Anything else replaces the open documents; a C source opens as a
    // project, an assembler source becomes one.
    if (!CloseAll()) return;
    if (extension == ".c" || extension == ".C") {
      OpenProject(path);
    } else if (OpenDocument(path) && IsAssemblerExtension(extension)) {
      SetPanelText(spProjectFolder, ExtractFilePath(path));
      SetPanelText(spMainFile, ExtractFileName(path));
    }
    ShowMainFileWindow();
  }
  FileSaveAs1->SetEnabled(true);
}

void TMainForm::OpenProject(const std::string& path) {
  TMDIChild* mainWindow = OpenDocument(path);
  if (!mainWindow) return;
  ImageToolButton->SetEnabled(true);
  RunRunCmd->SetEnabled(true);
  const std::string folder = ExtractFilePath(path);
  SetPanelText(spProjectFolder, folder);
  SetPanelText(spMainFile, ExtractFileName(path));
  TreeView1->Items()->Clear();
  TreeView1->Items()->Add(nullptr, ExtractFileName(path));

  // Every file is read once, as its window opens: one that cannot be read
  // gets no window, and all of them are named in one message at the end.
  std::set<std::string> tried;
  std::vector<std::string> unreadable;
  // A quoted header not beside the main file is where the main file's
  // compile finds it: in a folder its -iquote and -I options name, as
  // make's dry run prints them (asked once, at the first such header).
  std::set<std::string> headers;
  std::optional<std::vector<std::string>> headerFolders;
  auto headerPath = [&](const std::string& name) {
    const std::string beside = JoinPath(folder, name);
    if (FileExists(beside)) return beside;
    if (!headerFolders) {
      TBusyCursor busy;
      headerFolders = AskQuotedHeaderFolders(folder, MainFileName(), InstallFolder);
    }
    for (const std::string& searched : *headerFolders)
      if (const std::string path = JoinPath(searched, name); FileExists(path)) return path;
    return beside;  // named as missing
  };
  auto open = [&](const std::string& file) -> TMDIChild* {
    if (!tried.insert(file).second) return nullptr;
    return OpenDocument(headers.contains(file) ? headerPath(file) : JoinPath(folder, file), &unreadable);
  };
  // The quoted includes of the main file, then those of its first header,
  // then the extra sources.
  std::vector<std::string> files = QuotedIncludes(mainWindow->Editor->Lines());
  headers.insert(files.begin(), files.end());
  if (!files.empty() && !files.front().empty())
    if (TMDIChild* header = open(files.front())) {
      std::vector<std::string> more = QuotedIncludes(header->Editor->Lines());
      headers.insert(more.begin(), more.end());
      files.insert(files.end(), more.begin(), more.end());
    }
  if (std::optional<std::string> line = ReadExtraSourceLine(folder))
    for (const std::string& stem : ExtraSourceStems(*line))
      if (stem + ".c" != MainFileName()) files.push_back(stem + ".c");

  // An empty name ("") would be the folder itself.
  std::erase(files, std::string());
  for (const std::string& file : files) TreeView1->Items()->Add(nullptr, file);
  for (const std::string& file : files) open(file);
  if (!unreadable.empty()) ShowMissingFiles(unreadable);
}

bool TMainForm::ShowMainFileWindow() {
  TMDIChild* document = DocumentNamed(MainFileName());
  if (document) ShowDocument(*document);
  return document != nullptr;
}

// ---------------------------------------------------------------- saving

void TMainForm::FileSave1Click(TObject* Sender) {
  TMDIChild* document = ActiveDocument();
  if (!document) return;
  if (IsNonameCaption(document->Caption())) {
    SaveActiveAs();
    return;
  }
  if (document->Ask("Save to File?", "Save Message", MB_YESNOCANCEL) != IDYES) return;
  auto* sender = dynamic_cast<TComponent*>(Sender);
  SendDocumentCommand(sender ? sender->Tag() : dcSave);
}

void TMainForm::ToBtnFileSaveItemClick(TObject*) { FileSave1->Click(); }

bool TMainForm::SaveAll() {
  std::vector<TMDIChild*> documents;
  for (int i = 0; i < DocumentCount(); ++i) documents.push_back(Documents(i));
  bool saved = true;
  for (TMDIChild* document : documents) {
    document->Show();
    if (IsNonameCaption(document->Caption())) {
      saved = SaveActiveAs() && saved;
    } else {
      SendDocumentCommand(FileSaveAll1->Tag());
      // The person may have kept a file another program changed.
      saved = !document->Editor->Modified() && saved;
    }
  }
  return saved;
}

void TMainForm::FileSaveAll1Click(TObject*) { SaveAll(); }

TMDIChild* TMainForm::SaveChangedDocuments() {
  // make reads the files: an unchanged document has nothing to write (a
  // header nobody may write is left alone), and a never saved one has no
  // file in the build.
  for (int i = 0; i < DocumentCount(); ++i) {
    TMDIChild* document = Documents(i);
    if (document->Editor->Modified() && !IsNewFileCaption(document->Caption()) &&
        !document->Save(srEveryDocument))
      return document;
  }
  return nullptr;
}

bool TMainForm::SaveActiveAs() {
  TMDIChild* document = ActiveDocument();
  if (!document) return false;
  SaveDialog->SetFileName(ExtractFileName(document->Caption()));
  if (!SaveDialog->Execute()) return false;
  SaveAsProject(*document, SaveDialog->FileName());
  return true;
}

void TMainForm::SaveAsProject(TMDIChild& document, const std::string& fileName) {
  document.WriteTo(fileName);
  document.SetCaption(fileName);
  document.SetOutsideProject(false);
  SetPanelText(spProjectFolder, ExtractFilePath(fileName));
  SetPanelText(spMainFile, ExtractFileName(fileName));
}

void TMainForm::FileSaveAsCmdExecute(TObject*) { SaveActiveAs(); }

// ---------------------------------------------------------------- closing

// The project closes with the last window (TMDIChild::FormClose), not when
// the person keeps that window open.
void TMainForm::FileCloseCmdExecute(TObject*) {
  if (TMDIChild* document = ActiveDocument()) document->Close();
}

bool TMainForm::CloseAll() {
  std::vector<TMDIChild*> documents;
  for (int i = 0; i < DocumentCount(); ++i) documents.push_back(Documents(i));
  for (TMDIChild* document : documents) {
    document->Close();
    if (!document->Closing()) return false;
  }
  for (TMenuItem* item : {FileSave1, FileSaveAll1, PopIncludeAdd1}) item->SetEnabled(false);
  for (TCustomAction* action : std::initializer_list<TCustomAction*>{
           FileSaveCmd, FileSaveAsCmd, FilePrinterCmd, FileCloseAllCmd, EditUndoCmd, EditRedoCmd, EditInCommentCmd,
           EditOutCommentCmd, EditLineCommentCmd, EditLineNumberCmd, EditFindCmd, EditReplaceCmd, EditlOneLineDelCmd,
           RunRunCmd, BtnFontMaxCmd, BtnFontMinCmd, SetupAvrCmd, PrjNametInsertCommentCmd, PrjNametDeleteCommentCmd,
           ProjectCmd})
    action->SetEnabled(false);
  for (TToolButton* button : {ToBtnFileSaveItem, ToBtnFind, ImageToolButton}) button->SetEnabled(false);
  ComboBox2Find->SetEnabled(false);
  FilePrinterSetup1->SetEnabled(true);
  ClearProjectViews();
  SetPanelText(spProjectFolder, "");
  SetPanelText(spMainFile, "");
  return true;
}

void TMainForm::FileCloseAllCmdExecute(TObject*) { CloseAll(); }

// ---------------------------------------------------------------- the environment command

void TMainForm::SetupAvrCmdExecute(TObject*) {
  if (ProjectFolder().empty()) {
    // The settings belong to a project: the active document is saved first
    // and becomes it.
    SaveDialog->SetFileName("NONAME.C");
    if (SaveDialog->Execute()) {
      TMDIChild* document = ActiveDocument();
      try {
        if (document) SaveAsProject(*document, SaveDialog->FileName());
      } catch (const EStreamError&) {
        document = nullptr;
      }
      if (!document) ShowMessage(" Do not save file!");
    }
    if (ProjectFolder().empty()) {
      ShowMessage("Cannot open more than one '.c' files name!");
      return;
    }
  }
  // A new dialog each time, so that every control starts from its design
  // value; OK brings every open document up to date.
  Application().CreateForm(EnvironmentDlg);
  EnvironmentDlg->SetProject(ProjectFolder(), MainFileName());
  EnvironmentDlg->SetInstallFolder(InstallFolder);
  std::vector<TOpenEditor> editors;
  for (int i = 0; i < DocumentCount(); ++i) editors.push_back({Documents(i)->Editor, Documents(i)->EditLineNumberCmd});
  EnvironmentDlg->SetTargets(SrcAvrHl, std::move(editors));
  EnvironmentDlg->ShowModal();
}

}  // namespace vk
