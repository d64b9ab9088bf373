// The main window's command table: every action with its category,
// caption, shortcut, tag, hint and state at start, and the handlers of
// those this window runs itself. An action without a handler is disabled
// by the action list's update.

#include "app/Main.h"

#include "app/ChildWin.h"
#include "app/MenuLayout.h"
#include "app/ToolBarImages.h"

namespace vk {

namespace {

struct TActionRow {
  TCustomAction* Action;
  const char* Category;
  const char* Caption;
  TShortCut ShortCut;
  int Tag;
  const char* Hint;
  bool Enabled;
};

}  // namespace

void TMainForm::CreateActions() {
  const TActionRow rows[] = {
      {FileNewCmd, "File", "새파일", Ctrl('N'), 0, "New File", true},
      {FileOpenCmd, "File", "열기", Ctrl('O'), 0, "File Open", true},
      {FileReOpenCmd, "File", "다시열기", scNone, 0, "", true},
      {FileSaveCmd, "File", "파일저장", Ctrl('S'), 0, "", true},
      {FileSaveAsCmd, "File", "다른이름으로저장", scNone, 0, "", false},
      {EditUndoCmd, "Edit", "지우기취소", ShortCut(VK_BACK, {ssAlt}), 0, "Undo", false},
      {FileSaveAllCmd, "File", "모두저장", scNone, 0, "", true},
      {FilePrinterCmd, "File", "인쇄", scNone, 0, "", false},
      {FilePrintSetupCmd, "File", "프린터설정", scNone, 0, "", true},
      {FileCloseCmd, "File", "닫기", scNone, 0, "", true},
      {FileCloseAllCmd, "File", "모두닫기", scNone, 0, "", false},
      {EditRedoCmd, "Edit", "지우기반복", scNone, 0, "Redo", false},
      {EditLineNumberCmd, "Edit", "라인번호", scNone, 0, "Visible Line Number ", false},
      {FileExitCmd, "File", "종료", scNone, 0, "", true},
      {EditCutCmd, "Edit", "잘라내기", Ctrl('X'), 0, "", true},
      {EditCopyCmd, "Edit", "복사", Ctrl('C'), 0, "", true},
      {EditPasteCmd, "Edit", "붙이기", Ctrl('V'), 0, "", true},
      {EditSelectAllCmd, "Edit", "전체선택", Ctrl('A'), 0, "", true},
      {WindowCascadeCmd, "Window", "&Cascade", scNone, 0, "", true},
      {WindowTileHorizontalCmd, "Window", "Tile &Horizontally", scNone, 0, "", true},
      {WindowTileVerticalCmd, "Window", "Tile &Vertically", scNone, 0, "", true},
      {WindowMinimizeAllCmd, "Window", "&Minimize All", scNone, 0, "", true},
      {WindowArrangeAllCmd, "Window", "&Arrange All", scNone, 0, "", true},
      {HelpAboutCmd, "Help", "&About...", scNone, 0, "", true},
      {EditInCommentCmd, "Edit", "선택영역주석", scNone, 0, "Insert Select Comment", false},
      {EditOutCommentCmd, "Edit", "선택영역주석지움", scNone, 0, "Delete Select Comment", false},
      {EditLineCommentCmd, "Edit", "한라인주석삽입", scNone, 0, "", false},
      {EditFindCmd, "Edit", "찻기", scNone, dcFind, "", false},
      {EditlOneLineDelCmd, "Edit", "한줄지우기", Ctrl('Y'), 0, "", false},
      {EditReplaceCmd, "Edit", "바꾸기", scNone, dcReplace, "", false},
      {RunRunCmd, "Run", "컴파일", scNone, 0, "Compile and Build", false},
      {HelpHelpCmd, "Help", "도움말", scNone, 0, "", true},
      {SetupAvrCmd, "SetUp", "Avr셋업", scNone, 0, "", false},
      {BtnFontMinCmd, "Btn", "축소", scNone, 0, "Zoom In", false},
      {BtnFontMaxCmd, "Btn", "확대", scNone, 0, "Zoom Out", false},
      {SetUpErrFontBlackCmd, "SetUp", "글자(검정)", scNone, 0, "", true},
      {SetUpErrFontGreenCmd, "SetUp", "글자(녹색)", scNone, 0, "", true},
      {SetUpErrFontGrayCmd, "SetUp", "글자(회색)", scNone, 0, "", true},
      {SetUpErrFontRedCmd, "SetUp", "글자(적색)", scNone, 0, "", true},
      {SetUpErrColorWhiteCmd, "SetUp", "바탕(흰색)", scNone, 0, "", true},
      {SetUpErrColorTealCmd, "SetUp", "바탕(바탕색)", scNone, 0, "", true},
      {SetUpErrColorGreenCmd, "SetUp", "바탕(녹색)", scNone, 0, "", true},
      {SetUpErrColorGrayCmd, "SetUp", "바탕(회색)", scNone, 0, "", true},
      {WizzardMakefileCmd, "Wizzard", "Makefile생성", scNone, 0, "", true},
      {ViewImageViewCmd, "View", "ViewImageView", scNone, 0, "Mcu Image View", true},
      {PrjNametInsertCommentCmd, "Project", "프로젝트명삽입", Ctrl('L'), 0, "", false},
      {PrjNametDeleteCommentCmd, "Project", "ProjectNametDeleteCommentCmd", Ctrl('K'), 0, "", false},
      {ProjectCmd, "Project", "ProjeectCmd", scNone, 0, "", false},
      {EditBitToByteCmd, "Edit", "EditBitToByteCmd", Ctrl('B'), dcBitToByte, "", false},
      {ViewAsciiCodeCmd, "View", "Ascii Code View", scNone, 0, "", true},
  };
  for (const TActionRow& row : rows) {
    row.Action->SetActionList(ActionList1);
    row.Action->SetCategory(row.Category);
    row.Action->SetCaption(row.Caption);
    row.Action->SetShortCut(row.ShortCut);
    row.Action->SetTag(row.Tag);
    row.Action->SetHint(row.Hint);
    row.Action->SetEnabled(row.Enabled);
  }

  PrjNametInsertCommentCmd->SetImageIndex(tiProjectNameInsert);
  PrjNametDeleteCommentCmd->SetImageIndex(tiProjectNameDelete);

  ActionList1->OnUpdate = TActionEvent(this, &TMainForm::ActionList1Update);
  FileNewCmd->OnExecute = TNotifyEvent(this, &TMainForm::FileNewCmdExecute);
  FileOpenCmd->OnExecute = TNotifyEvent(this, &TMainForm::FileOpenCmdExecute);
  FileSaveAsCmd->OnExecute = TNotifyEvent(this, &TMainForm::FileSaveAsCmdExecute);
  FileCloseCmd->OnExecute = TNotifyEvent(this, &TMainForm::FileCloseCmdExecute);
  FileCloseAllCmd->OnExecute = TNotifyEvent(this, &TMainForm::FileCloseAllCmdExecute);
  FileExitCmd->OnExecute = TNotifyEvent(this, &TMainForm::FileExitCmdExecute);
  SetupAvrCmd->OnExecute = TNotifyEvent(this, &TMainForm::SetupAvrCmdExecute);
  WizzardMakefileCmd->OnExecute = TNotifyEvent(this, &TMainForm::WizzardMakefileCmdExecute);
  ProjectCmd->OnExecute = TNotifyEvent(this, &TMainForm::ProjectCmdExecute);
  ViewImageViewCmd->OnExecute = TNotifyEvent(this, &TMainForm::ViewImageViewCmdExecute);
  ViewAsciiCodeCmd->OnExecute = TNotifyEvent(this, &TMainForm::ViewAsciiCodeCmdExecute);
  HelpAboutCmd->OnExecute = TNotifyEvent(this, &TMainForm::HelpAboutCmdExecute);
  PrjNametInsertCommentCmd->OnExecute = TNotifyEvent(this, &TMainForm::PrjNametInsertCommentCmdExecute);
  PrjNametDeleteCommentCmd->OnExecute = TNotifyEvent(this, &TMainForm::PrjNametDeleteCommentCmdExecute);
  RunRunCmd->OnExecute = TNotifyEvent(this, &TMainForm::RunRunCmdExecute);
  for (TAction* colour : {SetUpErrFontBlackCmd, SetUpErrFontGreenCmd, SetUpErrFontGrayCmd, SetUpErrFontRedCmd,
                          SetUpErrColorWhiteCmd, SetUpErrColorTealCmd, SetUpErrColorGreenCmd, SetUpErrColorGrayCmd})
    colour->OnExecute = TNotifyEvent(this, &TMainForm::SetUpErrColorCmdExecute);
}

}  // namespace vk
