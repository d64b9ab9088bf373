#pragma once
// The document window: an MDI child of the main window showing one source
// file in its editor. Its caption is the file's full path and its identity:
// saving writes to the caption's path, and the main window finds a file's
// window by its caption. A new, never saved file is captioned "NONAME"
// followed by a number.
//
// The main window drives it with the document command (WM_DOCUMENTCOMMAND,
// the code in WParam); the settings stored in the registry are applied to
// the editor every time the window is shown; closing a changed window asks
// whether to save it; a file another program changed is noticed as the
// window comes to the front and before it is saved (ChildWinDiskFile.cpp).

#include <cstdint>
#include <optional>
#include <string>

#include "SrcEdit/Source/SrcEdit.h"
#include "SrcEdit/Source/SrcEditSearch.h"
#include "dialogs/ReplaceSelect.h"
#include "services/DiskFileState.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "platform/StandardActions.h"

namespace vk {

// The document command and its codes.
constexpr uint32_t WM_DOCUMENTCOMMAND = WM_USER + 100;
enum TDocumentCommand : int {
  dcSave = 11,         // save to the caption's path
  dcSaveAll = 12,      // the same, as one window of Save All
  dcFind = 31,         // find, the text from the selection
  dcFindToolbar = 70,  // find, the text from the tool bar's find box
  dcReplace = 32,
  dcBitToByte = 33,
};

// Posted when a document window comes to the front: its file is checked
// for a change made by another program once the focus has settled, and
// reloaded or asked about (ReloadIfChangedOnDisk).
constexpr uint32_t WM_CHECKDISKFILE = WM_USER + 101;

// What a document window says of a file with NUL bytes: when it opens it
// (after the file's path), and before it writes changes over it.
inline constexpr const char* NulBytesOpenText = " holds NUL bytes: it may not be a text file.";
inline constexpr const char* NulBytesSaveText = " held NUL bytes when it was opened. Write the changes over it?";
// What it says (after the file's path) of a file another program changed or
// deleted: as the window comes to the front with changes of its own, as it
// comes to the front, before a save would write over it, and before Save
// All or the build would write it again.
inline constexpr const char* ChangedOnDiskText =
    " has been changed by another program. Reload it and lose the changes made here? (No keeps them; "
    "saving writes them over the file.)";
inline constexpr const char* DeletedOnDiskText =
    " has been deleted by another program. Its text stays open here; saving writes the file again.";
inline constexpr const char* ChangedOnDiskSaveText =
    " has been changed by another program since it was opened or saved here. Write this text over it?";
inline constexpr const char* DeletedOnDiskSaveText = " was deleted by another program. Write it again?";
// What the build says (after the path) of a changed document it could not
// save: make would compile the file on disk, which the window does not show.
inline constexpr const char* NotSavedBuildText = " is not saved, so nothing was built.";

// A caption of a file that was never saved begins with these six letters.
bool IsNewFileCaption(const std::string& caption);
// The exact spelling the Save command sends to the Save dialog.
bool IsNonameCaption(const std::string& caption);

// Whether a save writes this one document (Save, the close question), which
// the person asked for, or every changed one (Save All, the build), which
// writes again a file another program deleted only when asked.
enum TSaveRequest : uint8_t { srThisDocument, srEveryDocument };

class TMDIChild : public TForm {
public:
  explicit TMDIChild(TComponent* owner);
  ~TMDIChild() override;
  std::string ClassName() const override { return "TMDIChild"; }

  // Puts the file's bytes, read already, into the editor, and keeps the
  // file's state as read; a file that holds NUL bytes, likely not text, is
  // reported.
  void Load(TDiskFile& file, const std::string& path);
  // Writes the lines to the caption's path and marks the text saved; false
  // when the person declined to write over the file (it held NUL bytes, or
  // another program changed it since it was read or written here, or, for
  // every document, deleted it). Every question comes first and the disk
  // check last: a change another program makes while a question is open,
  // or between the check and the write, is asked about in its turn, never
  // written over unasked. A failed write raises, and so does a file another
  // program changes again at each of a few attempts (ETargetChangedError);
  // the text stays modified.
  bool Save(TSaveRequest request);
  // Writes the lines to the file and marks the text saved, whichever
  // command saves (Save, Save As, the first save of a new document). Given
  // the stamp the file was checked with, it writes only while the file
  // still has it, else raises ETargetChangedError. A failed write raises,
  // and the text stays modified.
  void WriteTo(const std::string& fileName, const std::optional<TFileStamp>& expected = std::nullopt);
  // The file changed on disk since it was read or written here
  // (ChildWinDiskFile.cpp): without changes of its own the window reloads
  // it; with them it asks whether to reload, No being the default. A reload
  // is one undo step, which brings back the text the window held. A
  // deleted file is reported and the text marked modified. A state of the
  // file that was answered (in this question or a save's) while the
  // document held changes of its own is not asked about again while it
  // still holds them, and nothing is asked while another of the window's
  // questions is open: one question at a time.
  void ReloadIfChangedOnDisk();
  // A question about this document, through the message box: while it is
  // open the window asks nothing else.
  int Ask(const std::string& text, const std::string& caption, uint32_t flags);
  // The close went ahead: the window is released once the waiting messages
  // are handled.
  bool Closing() const { return FClosing; }
  // The error jump opened the file from outside the project folder: it is
  // none of the project's sources, and the include insertion's keyword scan
  // passes it over. Opening it by hand or saving it under a new name clears
  // the mark.
  bool OutsideProject() const { return FOutsideProject; }
  void SetOutsideProject(bool outside) { FOutsideProject = outside; }

  void WndProc(TMessage& message) override;
  void DoCommand(TMessage& message);

  // ----- event handlers
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void EditorStatusChange(TObject* Sender, TSrcStatusChanges Changes);
  void EditorEnter(TObject* Sender);
  void EditorKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void EditorKeyUp(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void EditorMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void EditorMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void EditorMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  // ChildWinBitToByte.cpp
  void EditBitToByteCmdExecute(TObject* Sender);
  // This window's own selection commands (the comment items of its Edit
  // menu and popup menu, its bit to byte), as the main window's
  // FollowSelection decides them.
  void EnableSelectionCommands(bool hasSelection);
  // ChildWinPaste.cpp
  void EditorPasteReplaced(TObject* Sender, int Count);

  // ----- editing commands (ChildWinCommands.cpp)
  // Find (the text from the selection, or from the tool bar's find box once
  // the document command asked for it) and replace, through their dialogs;
  // at each hit the question box beside the caret, worded for the command.
  void EditFindCmdExecute(TObject* Sender);
  void EditReplaceCmdExecute(TObject* Sender);
  void EditorReplaceText(TObject* Sender, const std::string& ASearch, const std::string& AReplace, int Line,
                         int Column, TSrcReplaceAction& Action);
  void EditUndoCmdExecute(TObject* Sender);
  void EditRedoCmdExecute(TObject* Sender);
  void EditlOneLineDelExecute(TObject* Sender);
  void EditInCommentCmdExecute(TObject* Sender);
  void EditOutCommentCmdExecute(TObject* Sender);
  // The separator line on the caret's line.
  void EditLineCommentCmdExecute(TObject* Sender);
  void EditLineNumberCmdExecute(TObject* Sender);
  // Shows or hides the gutter; this window's and the main window's
  // "Visible Line Number" follow.
  void ToggleGutter();

  // ----- components
  TSrcEdit* Editor = new TSrcEdit(this);
  TSrcEditSearch* SrcEditSearch1 = new TSrcEditSearch(this);

  TActionList* ActionList1 = new TActionList(this);
  TAction* EditUndoCmd = new TAction(this);
  TAction* EditRedoCmd = new TAction(this);
  TEditCut* EditCutCmd = new TEditCut(this);
  TEditCopy* EditCopyCmd = new TEditCopy(this);
  TEditPaste* EditPasteCmd = new TEditPaste(this);
  TEditSelectAll* EditSelectAllCmd = new TEditSelectAll(this);
  TAction* EditInCommentCmd = new TAction(this);
  TAction* EditOutCommentCmd = new TAction(this);
  TAction* EditLineCommentCmd = new TAction(this);
  TAction* EditLineNumberCmd = new TAction(this);
  TAction* EditFindCmd = new TAction(this);
  TAction* EditReplaceCmd = new TAction(this);
  TAction* EditlOneLineDel = new TAction(this);
  TAction* EditBitToByteCmd = new TAction(this);

  // The Edit menu that takes the main window's place while this window is
  // active.
  TMainMenu* MainMenu1 = new TMainMenu(this);
  TMenuItem* Edit1 = new TMenuItem(this);
  TMenuItem* EditUndo1 = new TMenuItem(this);
  TMenuItem* EditRedo1 = new TMenuItem(this);
  TMenuItem* EditCut1 = new TMenuItem(this);
  TMenuItem* EditCopy1 = new TMenuItem(this);
  TMenuItem* EditPaste1 = new TMenuItem(this);
  TMenuItem* EditSelctAll1 = new TMenuItem(this);
  TMenuItem* EditLineNumber1 = new TMenuItem(this);
  TMenuItem* EditInComment1 = new TMenuItem(this);
  TMenuItem* EditOutComment1 = new TMenuItem(this);
  TMenuItem* EditLineComment1 = new TMenuItem(this);
  TMenuItem* EditFind1 = new TMenuItem(this);
  TMenuItem* EditReplace1 = new TMenuItem(this);
  TMenuItem* EditBitToByteCmd1 = new TMenuItem(this);

  // The editor's popup menu.
  TPopupMenu* PopupMenu1 = new TPopupMenu(this);
  TMenuItem* PoEditUndo1 = new TMenuItem(this);
  TMenuItem* PoEditRedo1 = new TMenuItem(this);
  TMenuItem* PoEditCut1 = new TMenuItem(this);
  TMenuItem* PoEditlOneLineDel1 = new TMenuItem(this);
  TMenuItem* PoEditCopy1 = new TMenuItem(this);
  TMenuItem* PoEditPaste1 = new TMenuItem(this);
  TMenuItem* PoEditSelctAll1 = new TMenuItem(this);
  TMenuItem* PoEditInComment1 = new TMenuItem(this);
  TMenuItem* PoEditOutComment1 = new TMenuItem(this);
  TMenuItem* PoEditLineComment1 = new TMenuItem(this);
  TMenuItem* PoEditFind1 = new TMenuItem(this);
  TMenuItem* PoEditReplace1 = new TMenuItem(this);
  TMenuItem* PoEditBitToByte = new TMenuItem(this);

private:
  void CreateActions();
  void CreateMenus();
  void BindCommands();
  // "Save to file?" as a changed window closes, a new document's as a named
  // one's (Yes saves, through the Save dialog when it has no file yet; No
  // discards); false keeps the window: Cancel, a cancelled Save dialog, or
  // declining to write changes over NUL bytes.
  bool SaveBeforeClose();
  // On every event of the editor that can change the selection or the
  // front document (status change, keys, mouse, coming to the front) and
  // after a comment command: the main window's FollowSelection decides the
  // selection commands.
  void FollowSelection();
  // Undo and Redo follow what the editor can undo and redo.
  void FollowUndoState();
  // The file as another program left it, in place of the text, as one
  // undo step; the caret stays on its line.
  void Reload(TDiskFile& file);
  // Notes whether the file's bytes (which the text holds) include NUL
  // bytes, likely no text file, and says so (after the path).
  void NoteNulBytes(const std::string& path, std::string_view bytes);
  // The last step before a save's write: asks whether to write over a file
  // another program changed, or (for every document) to write again one it
  // deleted, unless the person chose this text over that very state; the
  // answer is kept. The stamp the file may be written over at; none when
  // the person keeps the file as it is.
  std::optional<TFileStamp> AskToWriteOverDiskFile(TSaveRequest request);

  bool FClosing = false;
  bool FOutsideProject = false;
  // One of the window's questions is open.
  bool FAsking = false;
  // The file held NUL bytes when it was read.
  bool FHeldNulBytes = false;
  // The file as it was read or written here.
  TDiskFileState FDiskFile;
  // The command whose search is running: the question's wording.
  TConfirmMode FPromptMode = cmReplace;
};

// 1: the next find takes its text from the main window's find box, 0: from
// the selection. Set by the document command, reset by the find.
extern uint8_t FindFromToolbarFlag;
// The caret line of the document that reported a status change last.
extern int CurrentLine;

}  // namespace vk
