#include "platform/Components.h"

#include <algorithm>

#include "platform/StringLists.h"

namespace vk {

namespace {

bool IsValidIdent(const std::string& name) {
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (name.empty() || !letter(name[0])) return false;
  return std::all_of(name.begin(), name.end(), [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

template <class T>
void Erase(std::vector<T*>& list, T* item) {
  auto found = std::find(list.begin(), list.end(), item);
  if (found != list.end()) list.erase(found);
}


}  // namespace

// ---- TComponent ----

TComponent::TComponent(TComponent* owner) {
  if (!owner) return;
  FOwner = owner;
  owner->FComponents.push_back(this);
  if (owner->FComponentState.Contains(csDesigning)) FComponentState.Include(csDesigning);
  owner->Notification(this, opInsert);
}

TComponent::~TComponent() { BeforeDestruction(); }

void TComponent::MarkDestroying() {
  FComponentState.Include(csDestroying);
  for (TComponent* component : FComponents) component->MarkDestroying();
}

void TComponent::BeforeDestruction() {
  if (FTornDown) return;
  FTornDown = true;
  MarkDestroying();
  // Each link is undone before its partner hears of it, so a partner that
  // unlinks itself or others in its handler does no harm.
  while (!FFreeNotifies.empty()) {
    TComponent* partner = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    Erase(partner->FFreeNotifies, this);
    partner->Notification(this, opRemove);
  }
  // Last inserted first; each removes itself from this list as it goes.
  while (!FComponents.empty()) delete FComponents.back();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::RemoveComponent(TComponent* component) {
  Erase(FComponents, component);
  component->FOwner = nullptr;
  Notification(component, opRemove);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove) RemoveFreeNotification(component);
  // A handler may free components of this owner; walk down and re-check.
  for (size_t i = FComponents.size(); i-- > 0;) {
    if (i >= FComponents.size()) continue;
    FComponents[i]->Notification(component, operation);
  }
}

void TComponent::SetName(const std::string& name) {
  if (name == FName) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError(Format("'%s' is not a valid component name", name.c_str()));
  if (FOwner && !name.empty()) {
    TComponent* other = FOwner->FindComponent(name);
    if (other && other != this) throw EComponentError(Format("A component named %s already exists", name.c_str()));
  }
  FName = name;
}

TComponent* TComponent::Components(int index) const {
  CheckListIndex(index, ComponentCount());
  return FComponents[index];
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* component : FComponents)
    if (SameText(component->FName, name)) return component;
  return nullptr;
}

void TComponent::SetDesigning(bool designing) {
  if (designing)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  for (TComponent* component : FComponents) component->SetDesigning(designing);
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) != FFreeNotifies.end()) return;
  FFreeNotifies.push_back(component);
  component->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  Erase(FFreeNotifies, component);
  Erase(component->FFreeNotifies, this);
}

// ---- TCollectionItem ----

TCollectionItem::TCollectionItem(TCollection* collection) {
  if (collection) collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
  if (FCollection) FCollection->RemoveItem(this);
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  auto& items = FCollection->FItems;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::Changed(bool allItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(allItems ? nullptr : this);
}

// ---- TCollection ----

TCollection::TCollection(TPersistent* owner) : FOwner(owner) {}

TCollection::~TCollection() {
  // No change reports while the collection goes.
  FUpdateCount = 1;
  Clear();
}

TCollectionItem* TCollection::Add() {
  TCollectionItem* item = CreateItem();
  if (item->FCollection != this) InsertItem(item);
  return item;
}

TCollectionItem* TCollection::Items(int index) const {
  CheckListIndex(index, Count());
  return FItems[index];
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
  if (FItems.empty()) return;
  TCollectionUpdate update(*this);
  while (!FItems.empty()) delete FItems.back();
}

void TCollection::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TCollection*>(&source);
  if (!other) return TPersistent::Assign(source);
  if (other == this) return;
  TCollectionUpdate update(*this);
  Clear();
  for (TCollectionItem* item : other->FItems) Add()->Assign(*item);
}

void TCollection::InsertItem(TCollectionItem* item) {
  if (item->FCollection) item->FCollection->RemoveItem(item);
  FItems.push_back(item);
  item->FCollection = this;
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  Erase(FItems, item);
  item->FCollection = nullptr;
  Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

}  // namespace vk
