#pragma once
// The main window: an MDI parent holding the menu bar, the tool bar, the side
// panel (project tree, file browser, build output), the error pane, the status
// bar, the highlighters every document shares, the common dialogs and the
// action list whose commands drive the document windows (ChildWin.h).
//
// The implementation is split by concern:
//   Main.cpp         the components, their layout and the status bar
//   MainActions.cpp  the command table (captions, shortcuts, tags, handlers)
//   MainMenus.cpp    the menu bar, the popup menus and the tool bar
//   MainStartup.cpp  create, show (settings, associations), idle update, close,
//                    the document command group
//   MainProject.cpp  New, Open, Save, Save As, Save All, Close, Close All and
//                    the environment command
//   MainCommands.cpp undo, redo, zoom, comments, the gutter, find and replace
//                    handed to the document, printing, help, the font
//                    editor, tool bar and side panel visibility
//   MainBrowser.cpp  the file browser and the project tree's navigation
//   MainIncludes.cpp the #include lines inserted before a build and by hand
//   MainTools.cpp    the makefile wizard, the tool windows, About and the
//                    project-header commands
//   MainBuild.cpp    the build command (F9): save, check, clean, make with
//                    its output in Memo1
//   MainErrorPane.cpp  the build output sorted into the error pane, the
//                    counts, the result box, the jump from a pane line to
//                    its source line, the pane's view and colour menus
//
// The current project is the text of status panels 4 (its folder, ending in
// "/") and 5 (the main file's name); both are empty without a project.

#include <cstdint>
#include <string>
#include <vector>

#include "SrcEdit/Source/SrcEdit.h"
#include "SrcEdit/Source/SrcHighlighterAvr.h"
#include "SrcEdit/Source/SrcHighlighterErrorWarning.h"
#include "platform/ComboBoxes.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/ImageList.h"
#include "platform/ListViews.h"
#include "platform/Memos.h"
#include "platform/Menus.h"
#include "platform/PageControls.h"
#include "platform/Panels.h"
#include "platform/PrintDialogs.h"
#include "platform/Splitters.h"
#include "platform/StandardActions.h"
#include "platform/StatusBars.h"
#include "platform/ToolBars.h"
#include "platform/TreeViews.h"
#include "services/BuildOutput.h"

namespace vk {

class TMDIChild;
class TProcessRunner;

// Status bar panels.
enum TStatusPanelIndex : int {
  spMouse = 0,          // "X120-Y45": the pointer over the active editor
  spCaret = 1,          // line and column of the caret
  spInsert = 2,         // "Insert" while the Insert key is down
  spModified = 3,       // "Modified" while the active document has changes
  spProjectFolder = 4,  // the current project's folder
  spMainFile = 5,       // the current project's main file name
  spPrint = 6,          // "Print..." while printing
  spUnused = 7,
};

class TMainForm : public TForm {
public:
  explicit TMainForm(TComponent* owner);
  ~TMainForm() override;
  std::string ClassName() const override { return "TMainForm"; }

  // ----- the current project and the documents
  std::string ProjectFolder() const { return PanelText(spProjectFolder); }
  std::string MainFileName() const { return PanelText(spMainFile); }
  std::string PanelText(int index) const;
  void SetPanelText(int index, const std::string& text);
  // The front document's caret, Insert and Modified panels and the save
  // commands, which follow its modified state; a document behind another
  // one shows nothing. Without a document (nullptr) those panels are empty
  // and the save commands off.
  void ShowDocumentState(TMDIChild* document);
  // The document windows that are not closing, front first; a window whose
  // close went ahead stays an MDI child until it is released, but no
  // command sees it any more.
  int DocumentCount() const;
  TMDIChild* Documents(int index) const;
  // The front document window, or nullptr.
  TMDIChild* ActiveDocument() const;
  // The open document window of the file, or nullptr.
  TMDIChild* FindDocument(const std::string& path) const;
  // Sends the document command (ChildWin.h) to the active document window.
  void SendDocumentCommand(int code);

  // ----- project and document management (MainProject.cpp)
  // A document window captioned with the path, made the last one created;
  // the document commands are enabled.
  TMDIChild* CreateMDIChild(const std::string& path);
  // The active document saved under a name the person chooses, which becomes
  // the current project; false when there is no document, or the person
  // cancelled.
  bool SaveActiveAs();
  // Every document saved (new ones through the Save dialog); false when a
  // Save dialog was cancelled or a document kept its changes unwritten (the
  // person kept the file on disk).
  bool SaveAll();
  // The build's save: every modified document that has a file, without a
  // question of its own. The first one that was not written (the person
  // declined one of the save's questions), which ends the saving; nullptr
  // when every one was. A failed write raises.
  TMDIChild* SaveChangedDocuments();
  // Closes every document window, front first, each asking its own question;
  // stops at a window that stays open and answers false. When all closed,
  // the document commands are off and the project is closed.
  bool CloseAll();
  // Turns the commands that need a document on or off as a document window
  // closes; lastWindow adds the save commands. The selection commands are
  // FollowSelection's alone.
  void SetDocumentCommands(bool on, bool lastWindow);
  // Empties the error pane with its counts, the build output and the
  // project tree.
  void ClearProjectViews();

  // ----- the build's results (MainErrorPane.cpp)
  // Sorts Memo1 into the error pane, sets ErrorCount and WarningCount and
  // shows them in MemoErrorCount; a build that failed without saying so
  // gets a pane line of its own.
  void ParseBuildOutput(const TBuildEnd& end);
  // ErrorCount and WarningCount, also in MemoErrorCount ("Ok" for none).
  void ShowBuildCounts(int errors, int warnings);
  // The counts to a new result box, shown modally, which says whether the
  // user stopped the build.
  void ShowBuildResult(const TBuildEnd& end);
  void ShowCompilerResult(const TBuildEnd& end);
  // A build is running: no other one starts.
  bool Building() const { return FBuilding; }

  // Files dropped on the window are taken and ignored.
  void WndProc(TMessage& message) override;

  // ----- event handlers
  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void ActionList1Update(TBasicAction* Action, bool& Handled);
  void FileExitCmdExecute(TObject* Sender);
  void FileNewCmdExecute(TObject* Sender);
  void FileOpenCmdExecute(TObject* Sender);
  void FileSave1Click(TObject* Sender);
  void ToBtnFileSaveItemClick(TObject* Sender);
  void FileSaveAll1Click(TObject* Sender);
  void FileSaveAsCmdExecute(TObject* Sender);
  void FileCloseCmdExecute(TObject* Sender);
  void FileCloseAllCmdExecute(TObject* Sender);
  void SetupAvrCmdExecute(TObject* Sender);
  // MainTools.cpp
  void WizzardMakefileCmdExecute(TObject* Sender);
  void ProjectCmdExecute(TObject* Sender);
  void ViewImageViewCmdExecute(TObject* Sender);
  void ViewAsciiCodeCmdExecute(TObject* Sender);
  void HelpAboutCmdExecute(TObject* Sender);
  void PrjNametInsertCommentCmdExecute(TObject* Sender);
  void PrjNametDeleteCommentCmdExecute(TObject* Sender);
  void RunRunCmdExecute(TObject* Sender);
  void SrcEditErrLineDblClick(TObject* Sender);
  void SetupErrWindowShow1Click(TObject* Sender);
  // The eight actions of the error pane's colour menu: each checks its own
  // item and clears the others of its submenu.
  void SetUpErrColorCmdExecute(TObject* Sender);

  // ----- editing, view and tool commands (MainCommands.cpp); each one that
  // works on a document does nothing without one
  void EditUndoCmdExecute(TObject* Sender);
  void EditRedoCmdExecute(TObject* Sender);
  void EditlOneLineDelCmdExecute(TObject* Sender);
  void BtnFontMaxCmdExecute(TObject* Sender);
  void BtnFontMinCmdExecute(TObject* Sender);
  void EditInCommentCmdExecute(TObject* Sender);
  void EditOutCommentCmdExecute(TObject* Sender);
  void EditInCommentCmdUpdate(TObject* Sender);
  void Edit1Click(TObject* Sender);
  void EditLineCommentCmdExecute(TObject* Sender);
  // Also the Setup menu's EditLineNumber1.
  void EditLineNumberCmdExecute(TObject* Sender);
  void EditFindCmdExecute(TObject* Sender);
  void ToBtnFindClick(TObject* Sender);
  void EditReplaceCmdExecute(TObject* Sender);
  void EditBitToByteCmdExecute(TObject* Sender);
  void ComboBox2FindDropDown(TObject* Sender);
  void FilePrinterCmdExecute(TObject* Sender);
  void FilePrintSetupCmdExecute(TObject* Sender);
  void HelpHelpCmdExecute(TObject* Sender);
  void HelpMega103Click(TObject* Sender);
  void HelpMega603Click(TObject* Sender);
  void FontEdit1Click(TObject* Sender);
  void SetupToolBarShow1Click(TObject* Sender);
  void SetupIncWindowShow1Click(TObject* Sender);
  // The one place that decides the selection commands: comment in and out
  // (menu items, actions, tool buttons) and bit to byte, here and in the
  // front document, are on while its editor has selected text and off
  // without a document. Run wherever the selection or the front document
  // can change; costs no walk over the text.
  void FollowSelection();

  // ----- the file browser and the project tree (MainBrowser.cpp)
  void ComboBox1DIRChange(TObject* Sender);
  void ComboBox2FILEChange(TObject* Sender);
  void TreeView2Click(TObject* Sender);
  void TreeView2Expanding(TObject* Sender, TTreeNode* Node, bool& AllowExpansion);
  void TreeView2Collapsing(TObject* Sender, TTreeNode* Node, bool& AllowCollapse);
  void ListView1DblClick(TObject* Sender);
  // The popup items "Large Icon", "Small Icon", "List Icon" and "Report".
  void ListViewStyleClick(TObject* Sender);
  void TreeView1Change(TObject* Sender, TTreeNode* Node);
  void TreeView1DblClick(TObject* Sender);
  void TreeView1GetImageIndex(TObject* Sender, TTreeNode* Node);
  // The folder whose files the list shows, ending in "/" ("" for a drive
  // that has no folder).
  std::string FileListFolder;

  // ----- include insertion (MainIncludes.cpp)
  // The build runs it ahead of saving when "AutoInsertBool" is on: the
  // #include lines that the open documents' keywords call for go into the
  // project's main file when it is a C source with a window (brought
  // forward), as one undoable change that marks it modified.
  void AutoInsertIncludes();
  // "Insert include": a line for the header chosen in the file list, below
  // the last line of the active document that names a header.
  void PopIncludeAdd1Click(TObject* Sender);

  // ----- components
  TActionList* ActionList1 = new TActionList(this);
  // File
  TAction* FileNewCmd = new TAction(this);
  TAction* FileOpenCmd = new TAction(this);
  TAction* FileReOpenCmd = new TAction(this);
  TAction* FileSaveCmd = new TAction(this);
  TAction* FileSaveAsCmd = new TAction(this);
  TAction* FileSaveAllCmd = new TAction(this);
  TAction* FilePrinterCmd = new TAction(this);
  TAction* FilePrintSetupCmd = new TAction(this);
  TWindowClose* FileCloseCmd = new TWindowClose(this);
  TAction* FileCloseAllCmd = new TAction(this);
  TAction* FileExitCmd = new TAction(this);
  // Edit
  TEditUndo* EditUndoCmd = new TEditUndo(this);
  TAction* EditRedoCmd = new TAction(this);
  TAction* EditLineNumberCmd = new TAction(this);
  TEditCut* EditCutCmd = new TEditCut(this);
  TEditCopy* EditCopyCmd = new TEditCopy(this);
  TEditPaste* EditPasteCmd = new TEditPaste(this);
  TEditSelectAll* EditSelectAllCmd = new TEditSelectAll(this);
  TAction* EditInCommentCmd = new TAction(this);
  TAction* EditOutCommentCmd = new TAction(this);
  TAction* EditLineCommentCmd = new TAction(this);
  TAction* EditFindCmd = new TAction(this);
  TAction* EditlOneLineDelCmd = new TAction(this);
  TAction* EditReplaceCmd = new TAction(this);
  TAction* EditBitToByteCmd = new TAction(this);
  // Window
  TWindowCascade* WindowCascadeCmd = new TWindowCascade(this);
  TWindowTileHorizontal* WindowTileHorizontalCmd = new TWindowTileHorizontal(this);
  TWindowTileVertical* WindowTileVerticalCmd = new TWindowTileVertical(this);
  TWindowMinimizeAll* WindowMinimizeAllCmd = new TWindowMinimizeAll(this);
  TWindowArrange* WindowArrangeAllCmd = new TWindowArrange(this);
  // Help
  TAction* HelpAboutCmd = new TAction(this);
  TAction* HelpHelpCmd = new TAction(this);
  // Run, SetUp, Btn
  TAction* RunRunCmd = new TAction(this);
  TAction* SetupAvrCmd = new TAction(this);
  TAction* BtnFontMinCmd = new TAction(this);
  TAction* BtnFontMaxCmd = new TAction(this);
  TAction* SetUpErrFontBlackCmd = new TAction(this);
  TAction* SetUpErrFontGreenCmd = new TAction(this);
  TAction* SetUpErrFontGrayCmd = new TAction(this);
  TAction* SetUpErrFontRedCmd = new TAction(this);
  TAction* SetUpErrColorWhiteCmd = new TAction(this);
  TAction* SetUpErrColorTealCmd = new TAction(this);
  TAction* SetUpErrColorGreenCmd = new TAction(this);
  TAction* SetUpErrColorGrayCmd = new TAction(this);
  // Wizzard, View, Project
  TAction* WizzardMakefileCmd = new TAction(this);
  TAction* ViewImageViewCmd = new TAction(this);
  TAction* ViewAsciiCodeCmd = new TAction(this);
  TAction* PrjNametInsertCommentCmd = new TAction(this);
  TAction* PrjNametDeleteCommentCmd = new TAction(this);
  TAction* ProjectCmd = new TAction(this);

  // The menu bar (MainMenus.cpp).
  TMainMenu* MainMenu1 = new TMainMenu(this);
  TMenuItem* File1 = new TMenuItem(this);
  TMenuItem* FileNew1 = new TMenuItem(this);
  TMenuItem* FileOpen1 = new TMenuItem(this);
  TMenuItem* FileReopen1 = new TMenuItem(this);
  TMenuItem* FileSave1 = new TMenuItem(this);
  TMenuItem* FileSaveAs1 = new TMenuItem(this);
  TMenuItem* FileSaveAll1 = new TMenuItem(this);
  TMenuItem* FileClose1 = new TMenuItem(this);
  TMenuItem* FileCloseAll1 = new TMenuItem(this);
  TMenuItem* FilePrinter1 = new TMenuItem(this);
  TMenuItem* FilePrinterSetup1 = new TMenuItem(this);
  TMenuItem* FileExit1 = new TMenuItem(this);
  TMenuItem* Edit1 = new TMenuItem(this);
  TMenuItem* EditUndo1 = new TMenuItem(this);
  TMenuItem* EditRedo1 = new TMenuItem(this);
  TMenuItem* EditCut1 = new TMenuItem(this);
  TMenuItem* EditCopy1 = new TMenuItem(this);
  TMenuItem* EditPaste1 = new TMenuItem(this);
  TMenuItem* EditSelectAll1 = new TMenuItem(this);
  TMenuItem* EditInComment1 = new TMenuItem(this);
  TMenuItem* EditOutComment1 = new TMenuItem(this);
  TMenuItem* EditLineComment1 = new TMenuItem(this);
  TMenuItem* EditlOneLineDel1 = new TMenuItem(this);
  TMenuItem* EditFind1 = new TMenuItem(this);
  TMenuItem* EditReplace1 = new TMenuItem(this);
  TMenuItem* EditBitToByte1 = new TMenuItem(this);
  TMenuItem* Project1 = new TMenuItem(this);
  TMenuItem* ProjectNameInsertComment1 = new TMenuItem(this);
  TMenuItem* ProjectNameDeleteComment2 = new TMenuItem(this);
  TMenuItem* ProjectCmd1 = new TMenuItem(this);
  TMenuItem* Comfile1 = new TMenuItem(this);
  TMenuItem* ComfileRun1 = new TMenuItem(this);
  TMenuItem* Setup1 = new TMenuItem(this);
  TMenuItem* SetupAvr1 = new TMenuItem(this);
  TMenuItem* EditLineNumber1 = new TMenuItem(this);
  TMenuItem* SetupToolBarShow1 = new TMenuItem(this);
  TMenuItem* SetupIncWindowShow1 = new TMenuItem(this);
  TMenuItem* SetupErrWindowShow1 = new TMenuItem(this);
  TMenuItem* SetupErrWindows1 = new TMenuItem(this);
  TMenuItem* SetUpErrFont1 = new TMenuItem(this);
  TMenuItem* SetUpErrFontBlack1 = new TMenuItem(this);
  TMenuItem* SetUpErrFontGreen1 = new TMenuItem(this);
  TMenuItem* SetUpErrFontGray1 = new TMenuItem(this);
  TMenuItem* SetUpErrFontRed1 = new TMenuItem(this);
  TMenuItem* SetUpErrColor1 = new TMenuItem(this);
  TMenuItem* SetUpErrColorWhite1 = new TMenuItem(this);
  TMenuItem* SetUpErrColorTeal1 = new TMenuItem(this);
  TMenuItem* SetUpErrColorGreen1 = new TMenuItem(this);
  TMenuItem* SetUpErrColorGray1 = new TMenuItem(this);
  TMenuItem* Tools1 = new TMenuItem(this);
  TMenuItem* WizzardMakefile1 = new TMenuItem(this);
  TMenuItem* ViewImageView1 = new TMenuItem(this);
  TMenuItem* ViewAsciiCode1 = new TMenuItem(this);
  TMenuItem* FontEdit1 = new TMenuItem(this);
  TMenuItem* Window1 = new TMenuItem(this);
  TMenuItem* WindowCascade1 = new TMenuItem(this);
  TMenuItem* WindowTileHorizontal1 = new TMenuItem(this);
  TMenuItem* WindowTileVertical1 = new TMenuItem(this);
  TMenuItem* WindowMinimizeAll1 = new TMenuItem(this);
  TMenuItem* WindowArrangeAll1 = new TMenuItem(this);
  TMenuItem* Help1 = new TMenuItem(this);
  TMenuItem* HelpHelp1 = new TMenuItem(this);
  TMenuItem* HelpMega103 = new TMenuItem(this);
  TMenuItem* HelpMega603 = new TMenuItem(this);
  TMenuItem* HelpAbout1 = new TMenuItem(this);
  // The file list's popup menu: view styles and "Insert include".
  TPopupMenu* PopupMenu1 = new TPopupMenu(this);
  TMenuItem* N14 = new TMenuItem(this);
  TMenuItem* N15 = new TMenuItem(this);
  TMenuItem* N17 = new TMenuItem(this);
  TMenuItem* N19 = new TMenuItem(this);
  TMenuItem* PopIncludeAdd1 = new TMenuItem(this);

  // The tool bar (MainMenus.cpp) and its pictures.
  TImageList* ImageList1 = new TImageList(this, 16, 16);
  TToolBar* ToolBar2 = new TToolBar(this);
  TToolButton* ToBtnFileNewItem = new TToolButton(this);
  TToolButton* ToBtnFileOpenItem = new TToolButton(this);
  TToolButton* ToBtnFileSaveItem = new TToolButton(this);
  TToolButton* ToolButton1 = new TToolButton(this);
  TToolButton* ToBtnUndoItem = new TToolButton(this);
  TToolButton* ToBtnRedoItem = new TToolButton(this);
  TToolButton* ToolButton2 = new TToolButton(this);
  TToolButton* ToBtnInCommenItem = new TToolButton(this);
  TToolButton* ToBtnOutCommentItem = new TToolButton(this);
  TToolButton* ToBtnLineNumberItem = new TToolButton(this);
  TToolButton* ToolButton3 = new TToolButton(this);
  TToolButton* ToBtnFontMaxItem = new TToolButton(this);
  TToolButton* ToBtnFontMinItem = new TToolButton(this);
  TToolButton* ToolButton4 = new TToolButton(this);
  TToolButton* ImageToolButton = new TToolButton(this);
  TToolButton* ToBtnRun = new TToolButton(this);
  TToolButton* ToolButton5 = new TToolButton(this);
  TToolButton* ToBtnCommentInsert = new TToolButton(this);
  TToolButton* ToBtnCommentDelete = new TToolButton(this);
  TToolButton* ToolButton6 = new TToolButton(this);
  TComboBox* ComboBox2Find = new TComboBox(this);
  TToolButton* ToBtnFind = new TToolButton(this);

  // The status bar, the error pane along the bottom, the side panel.
  TStatusBar* StatusBar1 = new TStatusBar(this);
  TPanel* ErrorPanel = new TPanel(this);
  TSrcEdit* SrcEditErrLine = new TSrcEdit(this);
  TSplitter* Splitter3 = new TSplitter(this);
  TControlBar* ControlBar1 = new TControlBar(this);
  TMemo* MemoErrorCount = new TMemo(this);
  TSplitter* Splitter1 = new TSplitter(this);
  TPanel* IncludeFilePanel1 = new TPanel(this);
  TPageControl* PageControl1 = new TPageControl(this);
  // "Include ": the project's files and their functions.
  TTabSheet* TabSheet1 = new TTabSheet(this);
  TTreeView* TreeView1 = new TTreeView(this);
  TImageList* ImageList2 = new TImageList(this, 16, 16);
  // "File": drive, mask, folders and the files of the chosen folder.
  TTabSheet* TabSheet2 = new TTabSheet(this);
  TComboBox* ComboBox1DIR = new TComboBox(this);
  TComboBox* ComboBox2FILE = new TComboBox(this);
  TTreeView* TreeView2 = new TTreeView(this);
  TImageList* ImageList3 = new TImageList(this, 16, 16);
  TListView* ListView1 = new TListView(this);
  // "Compile": the build's output.
  TTabSheet* TabSheet3 = new TTabSheet(this);
  TMemo* Memo1 = new TMemo(this);
  TSplitter* Splitter2 = new TSplitter(this);
  // Hidden, without behaviour: each holds its own name.
  TMemo* CompilerOptionsMemo = new TMemo(this);
  TMemo* LinkerOptionsMemo = new TMemo(this);
  TMemo* McuAvrDudeFlagsMemo = new TMemo(this);

  // The highlighters: one for every document editor, one for the error pane.
  TSrcAvrHl* SrcAvrHl = new TSrcAvrHl(this);
  TErrorWarningHl* ErrorWarningHl1 = new TErrorWarningHl(this);

  TOpenDialog* OpenDialog = new TOpenDialog(this);
  TSaveDialog* SaveDialog = new TSaveDialog(this);
  TPrintDialog* PrintDialog = new TPrintDialog(this);
  TPrinterSetupDialog* PrinterSetupDialog = new TPrinterSetupDialog(this);

private:
  // Construction by concern.
  void CreateLayout();
  void CreateSidePanel();
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  // The open road for a C source: the main file, its headers and the extra
  // sources in document windows, the project panels set.
  void OpenProject(const std::string& path);
  // Opens a window on the file and loads it; an open window on the file is
  // brought forward instead. A file that cannot be read gets no window
  // (nullptr) and is named in a message, or added to unreadable for one
  // message that names several.
  TMDIChild* OpenDocument(const std::string& path, std::vector<std::string>* unreadable = nullptr);
  // The open window on the file brought forward, else a new window on it (as
  // File/Open opens a header: no project changes, and a file outside the
  // project folder is marked outside the project); nullptr when the file
  // cannot be read, which is reported, and no window is made.
  TMDIChild* ShowFile(const std::string& path);
  // Writes the document to the file, which becomes its caption and the
  // current project, and marks its text saved. A failed write raises and
  // changes nothing.
  void SaveAsProject(TMDIChild& document, const std::string& fileName);
  // The handlers of MainCommands.cpp and MainBrowser.cpp bound; the file
  // browser shows the drive "C:".
  void BindCommands();
  void StartFileBrowser();
  // The first document window whose file has the name, or nullptr.
  TMDIChild* DocumentNamed(const std::string& fileName) const;
  void ShowDocument(TMDIChild& document);
  // Opens the help file of the editor folder, or says that it is missing.
  void ShowHelpFile(const std::string& name);
  // The project's main window in front, maximised; false when it is not open.
  bool ShowMainFileWindow();
  // Runs AVRRUN.BAT; its output goes to Memo1 line by line as it comes.
  // Meanwhile the user's input is held: Memo1 scrolls, what is typed waits
  // for its window, and Escape or the close box asks whether to stop make.
  TBuildEnd RunBuildScript();
  void BuildOutputLine(const std::string& line);
  // While make runs: asks whether to stop it (No, the default, lets it
  // go on); Yes ends make with everything it started. One question at a
  // time, none once stopped.
  void AskToStopBuild();

  bool FShown = false;
  bool FBuilding = false;
  // make's runner while it runs, and whether the stop question is up.
  TProcessRunner* FBuildRunner = nullptr;
  bool FAskingToStop = false;
  // Where make was for each line of the error pane, for the jump.
  TPaneFolders FPaneFolders;
};

// The question Escape or the close box asks while make runs.
inline constexpr const char* StopBuildText = "make is still running. Stop the build?";

// The main window, made first at start-up.
extern TMainForm* MainForm;
// The install folder, "Vornkit" beside the program (LookUpInstallFolder),
// set by the first show; the current directory has no say in it.
extern std::string InstallFolder;
// The error and warning lines of the last build.
extern int ErrorCount;
extern int WarningCount;
// The document window made last by CreateMDIChild (nullptr once it is gone).
extern TMDIChild* LastMDIChild;
// Set by the file list: the next Open takes OpenFromListPath instead of
// asking with the Open dialog.
extern uint8_t OpenFromListFlag;
extern std::string OpenFromListPath;

}  // namespace vk
