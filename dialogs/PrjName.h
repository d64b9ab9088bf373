#pragma once
// The project-header field dialog: the 17 fields of the project-header
// block in edits, loaded from the registry when shown and stored on OK.
// Enter in a field moves to the next one. The edits are also the working
// store of the main window's insert command (Fields / SetFields).

#include <array>
#include <string>

#include "services/ProjectHeader.h"
#include "platform/Buttons.h"
#include "platform/Edits.h"
#include "platform/Forms.h"
#include "platform/Labels.h"
#include "platform/Panels.h"

namespace vk {

class TPrjNameForm : public TForm {
public:
  explicit TPrjNameForm(TComponent* owner);
  ~TPrjNameForm() override;
  std::string ClassName() const override { return "TPrjNameForm"; }

  // The edit of a field: its Tag and its tab order are the field's index.
  TEdit* FieldEdit(int field) const { return FEdits[static_cast<size_t>(field)]; }
  TPrjNameFields Fields() const;
  void SetFields(const TPrjNameFields& fields);

  // ----- event handlers
  void FormShow(TObject* Sender);
  void BitBtnOkClick(TObject* Sender);
  void BitBtnCencelClick(TObject* Sender);
  void ProjectNameEditKeyPress(TObject* Sender, char& Key);

  // ----- components
  TPanel* Panel1 = new TPanel(this);
  TEdit* ProjectNameEdit = new TEdit(this);
  TEdit* AuthorEdit = new TEdit(this);
  TEdit* CompanyrEdit = new TEdit(this);
  TEdit* DrafterEdit = new TEdit(this);
  TEdit* HomepageEdit = new TEdit(this);
  TEdit* EmailEdit = new TEdit(this);
  TEdit* PhoneNumberEdit = new TEdit(this);
  TEdit* FilenameEdit = new TEdit(this);
  TEdit* VersionEdit = new TEdit(this);
  TEdit* CreatedDateEdit = new TEdit(this);
  TEdit* ModifiedDateEdit = new TEdit(this);
  TEdit* LicenseEdit = new TEdit(this);
  TEdit* McuTypeEdit = new TEdit(this);
  TEdit* ClockFrequencyEdit = new TEdit(this);
  TEdit* AddSourceNameEdit = new TEdit(this);
  TEdit* CompilerEdit = new TEdit(this);
  TEdit* SubMenuEdit = new TEdit(this);
  std::array<TLabel*, PrjNameFieldCount> Labels{};
  TButton* Button1 = new TButton(this);
  TButton* Button2 = new TButton(this);

private:
  const std::array<TEdit*, PrjNameFieldCount> FEdits{
      ProjectNameEdit, AuthorEdit,     CompanyrEdit,    DrafterEdit,        HomepageEdit,      EmailEdit,
      PhoneNumberEdit, FilenameEdit,   VersionEdit,     CreatedDateEdit,    ModifiedDateEdit,  LicenseEdit,
      McuTypeEdit,     ClockFrequencyEdit, AddSourceNameEdit, CompilerEdit, SubMenuEdit};
};

// The instance made at start-up; the project command makes a new one here.
extern TPrjNameForm* PrjNameForm;

}  // namespace vk
