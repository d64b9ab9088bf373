// The main window's commands that open the makefile wizard, the tool
// windows and the about box, and the project-header commands on the active
// document.

#include "app/ChildWin.h"
#include "app/Main.h"
#include "dialogs/AsciiCodeForm.h"
#include "dialogs/AvrImage.h"
#include "dialogs/MakefileWizardForm.h"
#include "dialogs/PrjName.h"
#include "services/ProjectHeader.h"
#include "dialogs/about.h"
#include "platform/MessageBoxes.h"

namespace vk {

// Each run of the wizard, of the field dialog and of the about box starts
// from a new window.
void TMainForm::WizzardMakefileCmdExecute(TObject*) {
  Application().CreateForm(FormMakeWizzard);
  FormMakeWizzard->ShowModal();
}

void TMainForm::ProjectCmdExecute(TObject*) {
  Application().CreateForm(PrjNameForm);
  PrjNameForm->ShowModal();
}

void TMainForm::HelpAboutCmdExecute(TObject*) {
  Application().CreateForm(AboutBox);
  AboutBox->ShowModal();
}

// The viewer made at start-up shows the project's part again each time.
void TMainForm::ViewImageViewCmdExecute(TObject*) {
  if (ImageForm) ImageForm->Show();
}

// One more table window each time.
void TMainForm::ViewAsciiCodeCmdExecute(TObject*) {
  Application().CreateForm(ASCIICodeForm);
  ASCIICodeForm->Show();
}

void TMainForm::PrjNametInsertCommentCmdExecute(TObject*) {
  TMDIChild* document = ActiveDocument();
  if (!document) return;
  // The field dialog's edits are the fields' working store.
  TPrjNameFields fields = PrjNameForm ? PrjNameForm->Fields() : TPrjNameFields{};
  const TProjectHeaderResult result =
      InsertProjectHeader(*document->Editor, fields, {ProjectFolder(), document->Caption(), LocalTimeNow()});
  if (PrjNameForm) PrjNameForm->SetFields(fields);
  if (result == phAlreadyCreated) ShowMessage(HeaderAlreadyCreatedMessage);
}

void TMainForm::PrjNametDeleteCommentCmdExecute(TObject*) {
  TMDIChild* document = ActiveDocument();
  if (!document) return;
  if (DeleteProjectHeader(*document->Editor) == phNotFound) ShowMessage(HeaderNotFoundMessage);
}

}  // namespace vk
