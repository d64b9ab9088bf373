#include "platform/Actions.h"

#include <algorithm>

#include "platform/StringLists.h"

namespace vk {

// ---------------------------------------------------------------- TActionLink

TActionLink::~TActionLink() { SetAction(nullptr); }

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(FAction); }

void TActionLink::SetAction(TBasicAction* action) {
  if (action == FAction) return;
  if (FAction) std::erase(FAction->FLinks, this);
  FAction = action;
  if (FAction) FAction->FLinks.push_back(this);
}

bool TActionLink::Execute() { return FAction && FAction->Execute(); }

// ---------------------------------------------------------------- TBasicAction

TBasicAction::~TBasicAction() {
  for (TActionLink* link : FLinks) link->FAction = nullptr;
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

// ---------------------------------------------------------------- TCustomAction

TCustomAction::~TCustomAction() { SetActionList(nullptr); }

void TCustomAction::SetActionList(TActionList* list) {
  if (list == FActionList) return;
  if (FActionList) std::erase(FActionList->FActions, this);
  FActionList = list;
  if (FActionList) FActionList->FActions.push_back(this);
}

void TCustomAction::SetCaption(const std::string& value) {
  if (value == FCaption) return;
  ForEachLink([&](TActionLink& link) { link.SetCaption(value); });
  FCaption = value;
}

void TCustomAction::SetChecked(bool value) {
  if (value == FChecked) return;
  ForEachLink([&](TActionLink& link) { link.SetChecked(value); });
  FChecked = value;
}

void TCustomAction::SetEnabled(bool value) {
  if (value == FEnabled) return;
  ForEachLink([&](TActionLink& link) { link.SetEnabled(value); });
  FEnabled = value;
}

void TCustomAction::SetHint(const std::string& value) {
  if (value == FHint) return;
  ForEachLink([&](TActionLink& link) { link.SetHint(value); });
  FHint = value;
}

void TCustomAction::SetImageIndex(int value) {
  if (value == FImageIndex) return;
  ForEachLink([&](TActionLink& link) { link.SetImageIndex(value); });
  FImageIndex = value;
}

void TCustomAction::SetShortCut(TShortCut value) {
  if (value == FShortCut) return;
  ForEachLink([&](TActionLink& link) { link.SetShortCut(value); });
  FShortCut = value;
}

void TCustomAction::SetVisible(bool value) {
  if (value == FVisible) return;
  ForEachLink([&](TActionLink& link) { link.SetVisible(value); });
  FVisible = value;
}

bool TCustomAction::Update() {
  bool handled = false;
  if (FActionList && FActionList->OnUpdate) FActionList->OnUpdate(this, handled);
  if (handled || TBasicAction::Update() || UpdateFromTarget()) return true;
  if (FDisableIfNoHandler && !OnExecute) SetEnabled(false);
  return false;
}

bool TCustomAction::Execute() {
  Update();
  if (!FEnabled) return false;
  bool handled = false;
  if (FActionList && FActionList->OnExecute) FActionList->OnExecute(this, handled);
  return handled || TBasicAction::Execute() || ExecuteOnTarget();
}

// ---------------------------------------------------------------- TActionList

TActionList::~TActionList() {
  for (TCustomAction* action : std::vector<TCustomAction*>(FActions)) action->SetActionList(nullptr);
}

TCustomAction* TActionList::Actions(int index) const {
  CheckListIndex(index, ActionCount());
  return FActions[static_cast<size_t>(index)];
}

bool TActionList::IsShortCut(TShortCut shortCut) {
  if (shortCut == scNone) return false;
  for (TCustomAction* action : FActions)
    if (action->ShortCut() == shortCut) return action->Execute();
  return false;
}

void TActionList::UpdateActions() {
  // By index: a handler may free actions of the list.
  for (size_t i = 0; i < FActions.size(); ++i) FActions[i]->Update();
}

}  // namespace vk
