#include "platform/StandardActions.h"

#include "platform/Clipboard.h"
#include "platform/Forms.h"

namespace vk {

namespace {

TEditActionTarget* EditTarget() { return dynamic_cast<TEditActionTarget*>(FocusedControl()); }

TCustomForm* MDIParentTarget() {
  TCustomForm* main = Application().MainForm();
  return main && main->FormStyle() == fsMDIForm ? main : nullptr;
}

}  // namespace

bool TEditAction::UpdateFromTarget() {
  TEditActionTarget* target = EditTarget();
  if (!target) return false;
  switch (FKind) {
    case eaCut:
    case eaCopy: SetEnabled(target->HasSelectedText()); break;
    // The answer kept since the clipboard last changed: an idle pass never
    // waits for the desktop.
    case eaPaste: SetEnabled(Clipboard().HoldsText()); break;
    // The length alone: the whole text of a big document is not copied on
    // every idle update.
    case eaSelectAll: SetEnabled(FocusedControl()->Perform(WM_GETTEXTLENGTH) > 0); break;
    case eaUndo: SetEnabled(target->CanUndo()); break;
  }
  return true;
}

bool TEditAction::ExecuteOnTarget() {
  TEditActionTarget* target = EditTarget();
  if (!target) return false;
  switch (FKind) {
    case eaCut: target->CutToClipboard(); break;
    case eaCopy: target->CopyToClipboard(); break;
    case eaPaste: target->PasteFromClipboard(); break;
    case eaSelectAll: target->SelectAll(); break;
    case eaUndo: target->Undo(); break;
  }
  return true;
}

bool TWindowAction::UpdateFromTarget() {
  TCustomForm* parent = MDIParentTarget();
  if (!parent) return false;
  SetEnabled(FKind == waClose ? parent->ActiveMDIChild() != nullptr : parent->MDIChildCount() > 0);
  return true;
}

bool TWindowAction::ExecuteOnTarget() {
  TCustomForm* parent = MDIParentTarget();
  if (!parent) return false;
  switch (FKind) {
    case waClose:
      if (TCustomForm* child = parent->ActiveMDIChild()) child->Close();
      break;
    case waCascade: parent->Cascade(); break;
    case waTileHorizontal:
      parent->SetTileMode(tbHorizontal);
      parent->Tile();
      break;
    case waTileVertical:
      parent->SetTileMode(tbVertical);
      parent->Tile();
      break;
    case waMinimizeAll: parent->MinimizeAll(); break;
    case waArrange: parent->ArrangeIcons(); break;
  }
  return true;
}

}  // namespace vk
