#include "platform/Menus.h"

#include <algorithm>

#include "platform/Clipboard.h"
#include "platform/StringLists.h"

namespace vk {

namespace {

TPopupPresenter* GPopupPresenter = nullptr;


// The first item under root (depth first, root excluded) with the shortcut.
TMenuItem* FindShortCut(const TMenuItem& root, TShortCut shortCut) {
  for (int i = 0; i < root.Count(); ++i) {
    TMenuItem* item = root.Items(i);
    if (item->ShortCut() == shortCut) return item;
    if (TMenuItem* found = FindShortCut(*item, shortCut)) return found;
  }
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------- TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  // Each child leaves this item's list as it goes.
  while (!FItems.empty()) delete FItems.back();
  if (FParent) FParent->Remove(this);
}

void TMenuItem::Changed(bool rebuild) {
  const TMenuItem* root = this;
  while (root->FParent) root = root->FParent;
  // A menu that is being destroyed tells nobody.
  if (root->FMenu && !root->FMenu->ComponentState().Contains(csDestroying)) root->FMenu->MenuChanged(this, rebuild);
}

void TMenuItem::SetCaption(const std::string& value) {
  if (value == FCaption) return;
  FCaption = value;
  Changed(false);
}

void TMenuItem::SetShortCut(TShortCut value) {
  if (value == FShortCut) return;
  FShortCut = value;
  Changed(false);
}

void TMenuItem::SetChecked(bool value) {
  if (value == FChecked) return;
  FChecked = value;
  if (value && FRadioItem && FParent) {
    for (TMenuItem* other : FParent->FItems)
      if (other != this && other->FRadioItem && other->FGroupIndex == FGroupIndex) other->SetChecked(false);
  }
  Changed(false);
}

void TMenuItem::SetRadioItem(bool value) {
  if (value == FRadioItem) return;
  FRadioItem = value;
  Changed(false);
}

void TMenuItem::SetGroupIndex(int value) {
  if (value == FGroupIndex) return;
  FGroupIndex = value;
  Changed(true);
}

void TMenuItem::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  Changed(false);
}

void TMenuItem::SetVisible(bool value) {
  if (value == FVisible) return;
  FVisible = value;
  Changed(true);
}

void TMenuItem::SetHint(const std::string& value) {
  if (value == FHint) return;
  FHint = value;
  Changed(false);
}

void TMenuItem::SetAction(TBasicAction* action) {
  FLink.SetAction(action);
  if (TCustomAction* a = FLink.CustomAction()) {
    SetCaption(a->Caption());
    SetShortCut(a->ShortCut());
    SetChecked(a->Checked());
    SetEnabled(a->Enabled());
    SetVisible(a->Visible());
    SetHint(a->Hint());
  }
}

// A property follows the action while it still equals the action's value.
void TMenuItem::TLink::SetCaption(const std::string& value) {
  if (FItem.Caption() == CustomAction()->Caption()) FItem.SetCaption(value);
}
void TMenuItem::TLink::SetChecked(bool value) {
  if (FItem.Checked() == CustomAction()->Checked()) FItem.SetChecked(value);
}
void TMenuItem::TLink::SetEnabled(bool value) {
  if (FItem.Enabled() == CustomAction()->Enabled()) FItem.SetEnabled(value);
}
void TMenuItem::TLink::SetHint(const std::string& value) {
  if (FItem.Hint() == CustomAction()->Hint()) FItem.SetHint(value);
}
void TMenuItem::TLink::SetShortCut(TShortCut value) {
  if (FItem.ShortCut() == CustomAction()->ShortCut()) FItem.SetShortCut(value);
}
void TMenuItem::TLink::SetVisible(bool value) {
  if (FItem.Visible() == CustomAction()->Visible()) FItem.SetVisible(value);
}

TMenuItem* TMenuItem::Items(int index) const {
  CheckListIndex(index, Count());
  return FItems[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  CheckListIndex(index, Count() + 1);
  if (item->FParent) item->FParent->Remove(item);
  FItems.insert(FItems.begin() + index, item);
  item->FParent = this;
  Changed(true);
}

void TMenuItem::Remove(TMenuItem* item) {
  auto found = std::find(FItems.begin(), FItems.end(), item);
  if (found == FItems.end()) return;
  FItems.erase(found);
  item->FParent = nullptr;
  Changed(true);
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  TBasicAction* action = Action();
  if (OnClick && action && !(OnClick == action->OnExecute))
    OnClick(this);
  else if (action)
    FLink.Execute();
  else if (OnClick)
    OnClick(this);
}

void TMenuItem::InitiateActions() {
  // Paste may be among the items: the clipboard is asked afresh, in case
  // its owner changed it without a word.
  Clipboard().Changed();
  for (size_t i = 0; i < FItems.size(); ++i)
    if (TBasicAction* action = FItems[i]->Action()) action->Update();
}

// ---------------------------------------------------------------- TMenu

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(this)) { FItems->FMenu = this; }

void TMenu::MenuChanged(TMenuItem* source, bool rebuild) {
  if (OnChange) OnChange(this, source, rebuild);
  if (OnWindowChange) OnWindowChange(this);
}

bool TMenu::IsShortCut(TShortCut shortCut) {
  if (shortCut == scNone) return false;
  TMenuItem* item = FindShortCut(*FItems, shortCut);
  if (!item) return false;
  // The menus above it open first, and their handlers may change it.
  std::vector<TMenuItem*> path;
  for (TMenuItem* up = item->Parent(); up && up != FItems; up = up->Parent()) path.insert(path.begin(), up);
  for (TMenuItem* menu : path) {
    if (!menu->Enabled()) return false;
    menu->Click();
  }
  if (FindShortCut(*FItems, shortCut) != item || !item->Enabled()) return false;
  item->Click();
  return true;
}

// ---------------------------------------------------------------- TMainMenu

TMainMenu::~TMainMenu() {
  if (FMergedInto) FMergedInto->Unmerge(this);
  if (FMerged) FMerged->FMergedInto = nullptr;
}

void TMainMenu::Merge(TMainMenu* menu) {
  if (menu == FMerged || menu == this) return;
  if (FMerged) FMerged->FMergedInto = nullptr;
  FMerged = menu;
  if (menu) {
    if (menu->FMergedInto) menu->FMergedInto->Unmerge(menu);
    menu->FMergedInto = this;
  }
  TMenu::MenuChanged(nullptr, true);
}

void TMainMenu::Unmerge(TMainMenu* menu) {
  if (!menu || menu != FMerged) return;
  FMerged->FMergedInto = nullptr;
  FMerged = nullptr;
  TMenu::MenuChanged(nullptr, true);
}

void TMainMenu::MenuChanged(TMenuItem* source, bool rebuild) {
  TMenu::MenuChanged(source, rebuild);
  // The bar that shows this menu's items shows the change.
  if (FMergedInto) FMergedInto->TMenu::MenuChanged(source, rebuild);
}

std::vector<TMenuItem*> TMainMenu::BarItems() const {
  std::vector<TMenuItem*> bar;
  const TMenuItem* merged = FMerged ? FMerged->Items() : nullptr;
  auto mergedHas = [merged](int group) {
    for (int i = 0; i < merged->Count(); ++i)
      if (merged->Items(i)->GroupIndex() == group) return true;
    return false;
  };
  for (int i = 0; i < Items()->Count(); ++i)
    if (!merged || !mergedHas(Items()->Items(i)->GroupIndex())) bar.push_back(Items()->Items(i));
  if (!merged) return bar;
  for (int i = 0; i < merged->Count(); ++i) {
    TMenuItem* item = merged->Items(i);
    auto before = std::find_if(bar.begin(), bar.end(),
                               [item](const TMenuItem* b) { return b->GroupIndex() > item->GroupIndex(); });
    bar.insert(before, item);
  }
  return bar;
}

// ---------------------------------------------------------------- TPopupMenu

void SetPopupPresenter(TPopupPresenter* presenter) { GPopupPresenter = presenter; }

void TPopupMenu::SetPopupComponent(TComponent* component) {
  Link(FPopupComponent, component);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation == opRemove && component == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  Items()->InitiateActions();
  if (GPopupPresenter) GPopupPresenter->Present(*this, x, y);
}

}  // namespace vk
