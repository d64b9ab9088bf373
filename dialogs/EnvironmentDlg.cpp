// The settings dialog's form: the page control, OK and Cancel, and the
// dialog's life cycle.

#include "dialogs/EnvironmentDlg.h"

namespace vk {

std::string EditorFolderAtShow;
TEnvironmentDlg* EnvironmentDlg = nullptr;

TEnvironmentDlg::TEnvironmentDlg(TComponent* owner) : TForm(owner) {
  SetCaption("Environment ");
  SetBorderStyle(bsDialog);
  SetBounds(0, 0, 859, 692);
  SetPosition(poMainFormCenter);
  OnCreate = TNotifyEvent(this, &TEnvironmentDlg::FormCreate);
  OnShow = TNotifyEvent(this, &TEnvironmentDlg::FormShow);
  OnClose = TCloseEvent(this, &TEnvironmentDlg::FormClose);

  Panel1->SetParent(this);
  Panel1->SetHeight(41);
  Panel1->SetAlign(alBottom);
  Panel1->SetBevelOuter(bvNone);
  Place(OKBtn, Panel1, ClientWidth() - 184, 8, 80, 25)->SetCaption("OK");
  OKBtn->SetDefault(true);
  OKBtn->SetHint("Sace & Exit");
  OKBtn->OnClick = TNotifyEvent(this, &TEnvironmentDlg::OKBtnClick);
  Place(CancelBtn, Panel1, ClientWidth() - 96, 8, 80, 25)->SetCaption("Cancel");
  CancelBtn->SetCancel(true);
  CancelBtn->SetModalResult(mrCancel);
  CancelBtn->SetHint("Exit not save");
  CancelBtn->OnClick = TNotifyEvent(this, &TEnvironmentDlg::CancelBtnClick);

  PageControl->SetParent(this);
  PageControl->SetAlign(alClient);
  PageControl->SetTabOrder(0);  // the pages come before the buttons below them
  PageControl->Font().SetName("굴림체");
  PageControl->Font().SetHeight(-13);
  const std::pair<TTabSheet*, const char*> pages[] = {
      {AVRType, "McuType"},      {TabSheet2, "McuOptions"}, {ComfilerOption, "Compiler"}, {TabSheet11, "Linker"},
      {TabSheet13, "Library"},   {TabSheet12, "Debugging"}, {TabSheet14, "Programming"},  {AvrGccPath, "AvrGccPath"},
      {SourceAdd, "SourceAdd"},  {TabSheet1, "VornkitPath"}, {Display, "Editor"},         {Color, "Color"},
  };
  for (auto [page, caption] : pages) {
    page->SetCaption(caption);
    page->SetPageControl(PageControl);
  }

  CreatePartPages();
  CreateCompilerPages();
  CreateProgrammingPage();
  CreatePathPages();
  CreateSourcePage();
  CreateEditorPage();
  CreateColorPage();
  // A fresh project starts from the options of the Default buttons, so that
  // its first makefile compiles with flags and links a map.
  ShowMakefileOptions(TMakefileOptions());
}

void TEnvironmentDlg::SetProject(const std::string& folder, const std::string& mainFile) {
  FProjectFolder = folder;
  FMainFile = mainFile;
}

void TEnvironmentDlg::SetTargets(TSrcAvrHl* sharedHighlighter, std::vector<TOpenEditor> editors) {
  FSharedHighlighter = sharedHighlighter;
  FEditors = std::move(editors);
}

TEnvironmentDlg::~TEnvironmentDlg() {
  if (EnvironmentDlg == this) EnvironmentDlg = nullptr;
}

TLabel* TEnvironmentDlg::PlaceLabel(TLabel* label, TWinControl* parent, int left, int top, const std::string& caption) {
  label->SetCaption(caption);
  label->SetLeft(left);
  label->SetTop(top);
  label->SetParent(parent);
  return label;
}

TButton* TEnvironmentDlg::PlaceDefaultButton(TButton* button, TWinControl* parent, int left, int top, int width,
                                             const char* caption, void (TEnvironmentDlg::*handler)(TObject*)) {
  Place(button, parent, left, top, width, 25)->SetCaption(caption);
  button->SetHint("Default");
  button->OnClick = TNotifyEvent(this, handler);
  return button;
}

void TEnvironmentDlg::FormCreate(TObject*) { PageControl->SetActivePage(AVRType); }

void TEnvironmentDlg::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

void TEnvironmentDlg::CancelBtnClick(TObject*) {
  // Nothing was applied anywhere before OK, so there is nothing to undo.
  SetModalResult(mrCancel);
}

}  // namespace vk
