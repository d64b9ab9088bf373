// The main window's components and their layout, the status bar and the
// list of document windows.

#include "app/Main.h"

#include <algorithm>
#include <memory>
#include <tuple>

#include "app/ChildWin.h"
#include "dialogs/FormLayout.h"
#include "platform/Canvas.h"
#include "platform/FilePaths.h"
#include "platform/InputState.h"

namespace vk {

TMainForm* MainForm = nullptr;
std::string InstallFolder;
TMDIChild* LastMDIChild = nullptr;
uint8_t OpenFromListFlag = 0;
std::string OpenFromListPath;

namespace {

// A control aligned in its parent at its design place; the places order
// controls that stick to the same side (the one nearest to it first).
void Place(TControl* control, TWinControl* parent, TAlign align, int left, int top, int width, int height) {
  control->SetAlign(alNone);
  control->SetBounds(left, top, width, height);
  control->SetParent(parent);
  control->SetAlign(align);
}

// The caret panel's text.
std::string CaretPanelText(int line, int column) { return Format("%3d행 %3d열", line, column); }

}  // namespace

TMainForm::TMainForm(TComponent* owner) : TForm(owner) {
  SetFormStyle(fsMDIForm);
  SetCaption("Atmel AVR MCU Compiler (Vornkit Ver3.9)");
  SetBounds(0, 0, 1024, 740);
  SetPosition(poScreenCenter);
  SetWindowState(wsMaximized);
  OnCreate = TNotifyEvent(this, &TMainForm::FormCreate);
  OnShow = TNotifyEvent(this, &TMainForm::FormShow);
  OnClose = TCloseEvent(this, &TMainForm::FormClose);
  CreateLayout();
  CreateActions();
  CreateMenus();
  CreateToolBar();
  // Tab goes as the window is laid out: the tool bar's find box, the side
  // panel, then the error lines and their counts.
  SetTabOrders({ToolBar2, IncludeFilePanel1, ErrorPanel});
  SrcEditErrLine->SetTabOrder(0);
  BindCommands();
  StartFileBrowser();
}

TMainForm::~TMainForm() {
  if (MainForm == this) MainForm = nullptr;
}

void TMainForm::CreateLayout() {
  // Design places within a client area of about 1016 by 680 pixels.
  Place(StatusBar1, this, alBottom, 0, 661, 1016, 19);
  // The caret panel is as wide as a seven-digit line and a five-digit
  // column need in the bar's font.
  std::unique_ptr<TCanvas> canvas = CreateScreenCanvas();
  canvas->Font().Assign(StatusBar1->Font());
  const int caretWidth = std::max(80, canvas->TextWidth(CaretPanelText(9999999, 99999)) + 8);
  for (int width : {80, caretWidth, 44, 60, 340, 84, 46, 100}) StatusBar1->Panels()->Add()->SetWidth(width);

  // The error pane: the error lines, and the counts on the right.
  Place(ErrorPanel, this, alBottom, 0, 531, 1016, 130);
  ErrorPanel->SetBevelOuter(bvNone);
  Place(ControlBar1, ErrorPanel, alRight, 876, 0, 140, 130);
  Place(Splitter3, ErrorPanel, alRight, 873, 0, 3, 130);
  Place(MemoErrorCount, ControlBar1, alClient, 0, 0, 140, 130);
  MemoErrorCount->SetColor(clBlack);
  TFont white;
  white.Assign(MemoErrorCount->Font());
  white.SetColor(clWhite);
  MemoErrorCount->SetFont(white);
  ClearProjectViews();  // the count memo's labels, no counts yet
  Place(SrcEditErrLine, ErrorPanel, alClient, 0, 0, 873, 130);
  SrcEditErrLine->SetReadOnly(true);
  SrcEditErrLine->SetSelectionMode(smColumn);
  SrcEditErrLine->Gutter().SetVisible(false);
  SrcEditErrLine->SetRightEdge(0);
  SrcEditErrLine->SetHighlighter(ErrorWarningHl1);
  SrcEditErrLine->Lines().Add("error lines...");
  SrcEditErrLine->OnDblClick = TNotifyEvent(this, &TMainForm::SrcEditErrLineDblClick);
  Place(Splitter1, this, alBottom, 0, 527, 1016, 4);

  // The side panel: the project tree, the file browser, the build output.
  Place(IncludeFilePanel1, this, alLeft, 0, 29, 209, 498);
  IncludeFilePanel1->SetBevelOuter(bvNone);
  Place(PageControl1, IncludeFilePanel1, alClient, 0, 0, 209, 498);
  for (auto [sheet, caption] : {std::pair{TabSheet1, "Include "}, {TabSheet2, "File"}, {TabSheet3, "Compile"}}) {
    sheet->SetCaption(caption);
    sheet->SetPageControl(PageControl1);
  }
  Place(Splitter2, this, alLeft, 209, 29, 4, 498);
  CreateSidePanel();

  for (auto [memo, name] : {std::pair{CompilerOptionsMemo, "CompilerOptionsMemo"},
                            {LinkerOptionsMemo, "LinkerOptionsMemo"}, {McuAvrDudeFlagsMemo, "McuAvrDudeFlagsMemo"}}) {
    memo->SetVisible(false);
    memo->SetParent(this);
    memo->Lines().Add(name);
  }

  OpenDialog->SetFilter(
      "C  files [*.c,cpp]|*.C;*.CPP|H  files [*.h,hpp]|*.H;*.HPP|ASM  files [*.s,*.asm]|*.S; *. ASM|HEX  files [*.rom "
      ",*.hex,*.a90]|*.HEX; *.ROM;*.A90|EEP  files [*.eep]|*.EEP|TEXT files [*.txt]|*.TXT|LST files [*.lst]|*.LST|MAP "
      "files [*.map]|*.MAP|ELF  files [*.elf]|*.ELF|OBJ  files [*.obj, *.o]|*.OBJ;*.O|makefile file "
      "[makefile.*]|makefile|BAT file[*.bat]|*.bat|ALL files [*.*]|*.*");
  SaveDialog->SetFilter(
      "C  files [*.c]|*.c|H  files [*.h]|*.h|ASM  files [*.s,*.asm]|*.S; *. ASM|HEX  files [*.rom "
      ",*.hex,*.a90]|*.HEX; *.ROM;*.A90|EEP  files [*.eep]|*.EEP|TEXT files [*.txt]|*.TXT|LST files [*.lst]|*.LST|MAP "
      "files [*.map]|*.MAP|ELF  files [*.elf]|*.ELF|OBJ  files [*.obj]|*.OBJ|o  files [*.o]|*.o|makefile files "
      "[makefile.*]|makefile.*|BAT file[*.bat]|*.bat|ALL files [*.*]|*.*");
}

void TMainForm::CreateSidePanel() {
  // A sheet that is not shown is not laid out: each starts where the shown
  // one is, so that its controls keep their places when it is shown.
  for (TTabSheet* sheet : {TabSheet2, TabSheet3}) sheet->SetBoundsRect(TabSheet1->BoundsRect());
  Place(TreeView1, TabSheet1, alClient, 0, 0, TabSheet1->ClientWidth(), TabSheet1->ClientHeight());
  TreeView1->SetImages(ImageList2);

  // The file browser: the two boxes in a row, the folders above the files.
  const int width = TabSheet2->ClientWidth();
  const int height = TabSheet2->ClientHeight();
  ComboBox1DIR->SetParent(TabSheet2);
  ComboBox1DIR->SetBounds(0, 0, 60, 21);
  for (const char* drive : {"A:", "B:", "C:", "D:", "E:", "F:", "G:", "H:", "I:"}) ComboBox1DIR->Items().Add(drive);
  ComboBox1DIR->SetText("C:");
  ComboBox2FILE->SetParent(TabSheet2);
  ComboBox2FILE->SetBounds(63, 0, width - 63, 21);
  ComboBox2FILE->SetAnchors({akLeft, akTop, akRight});
  for (const char* mask : {"*.c", "*.h", "*.s", "*.asm", "*.rom", "*.hex", "*.a90", "*.*"})
    ComboBox2FILE->Items().Add(mask);
  ComboBox2FILE->SetText("*.c");
  TreeView2->SetParent(TabSheet2);
  TreeView2->SetBounds(0, 24, width, height / 2 - 24);
  TreeView2->SetAnchors({akLeft, akTop, akRight});
  TreeView2->SetImages(ImageList3);
  ListView1->SetParent(TabSheet2);
  ListView1->SetBounds(0, height / 2 + 3, width, height - height / 2 - 3);
  ListView1->SetAnchors({akLeft, akTop, akRight, akBottom});
  for (auto [caption, columnWidth, alignment] :
       {std::tuple{"파일명", 130, taLeftJustify}, {"파일크기", 60, taCenter}, {"생성일", 60, taCenter}}) {
    TListColumn* column = ListView1->Columns()->Add();
    column->SetCaption(caption);
    column->SetWidth(columnWidth);
    column->SetAlignment(alignment);
  }
  ListView1->SetViewStyle(vsReport);
  ListView1->SetSortType(stText);
  ListView1->SetPopupMenu(PopupMenu1);

  Place(Memo1, TabSheet3, alClient, 0, 0, TabSheet3->ClientWidth(), TabSheet3->ClientHeight());
  Memo1->SetWordWrap(false);
  Memo1->SetScrollBars(ssBoth);
}

// ---------------------------------------------------------------- status bar

std::string TMainForm::PanelText(int index) const { return StatusBar1->Panels()->Items(index)->Text(); }

void TMainForm::SetPanelText(int index, const std::string& text) { StatusBar1->Panels()->Items(index)->SetText(text); }

void TMainForm::ShowDocumentState(TMDIChild* document) {
  if (document && document != ActiveDocument()) return;
  const TSrcEdit* editor = document ? document->Editor : nullptr;
  const bool modified = editor && editor->Modified();
  if (!editor) SetPanelText(spMouse, "");
  SetPanelText(spCaret, editor ? CaretPanelText(editor->CaretY(), editor->CaretX()) : "");
  SetPanelText(spInsert, editor && GetKeyState(VK_INSERT) != 0 ? "Insert" : "");
  SetPanelText(spModified, modified ? "Modified" : "");
  ToBtnFileSaveItem->SetEnabled(modified);
  for (TMenuItem* item : {FileSave1, FileSaveAll1}) item->SetEnabled(modified);
}

// ---------------------------------------------------------------- documents

int TMainForm::DocumentCount() const {
  int count = 0;
  for (int i = 0; i < MDIChildCount(); ++i)
    if (auto* child = dynamic_cast<TMDIChild*>(MDIChildren(i)); child && !child->Closing()) ++count;
  return count;
}

TMDIChild* TMainForm::Documents(int index) const {
  for (int i = 0; i < MDIChildCount(); ++i)
    if (auto* child = dynamic_cast<TMDIChild*>(MDIChildren(i)); child && !child->Closing() && index-- == 0)
      return child;
  return nullptr;
}

TMDIChild* TMainForm::ActiveDocument() const { return Documents(0); }

TMDIChild* TMainForm::FindDocument(const std::string& path) const {
  for (int i = 0; i < DocumentCount(); ++i) {
    TMDIChild* document = Documents(i);
    if (document->Caption() == path) return document;
    // Two spellings of one file ("a//b.h", a link) are one document.
    if (SameFile(document->Caption(), path)) return document;
  }
  return nullptr;
}

void TMainForm::SendDocumentCommand(int code) {
  if (TMDIChild* document = ActiveDocument()) document->Perform(WM_DOCUMENTCOMMAND, static_cast<uintptr_t>(code), 0);
}

}  // namespace vk
