#pragma once
// The component model of the class library: components owned by another
// component that frees them, named, told when components they refer to go
// away; and collections of owned items.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Objects.h"
#include "platform/Sets.h"

namespace vk {

class EComponentError : public Exception {
  using Exception::Exception;
};

enum TOperation { opInsert, opRemove };

enum TComponentStateFlag : uint8_t { csLoading, csDestroying, csDesigning };

using TComponentState = TSet<TComponentStateFlag>;

// A component with an owner is created with new and belongs to the owner,
// which frees it (last inserted first). Deleting a component earlier removes
// it from its owner. When a component goes, its owner tells every component
// it owns, and every component linked to it by FreeNotification is told, by
// Notification(component, opRemove).
class TComponent : public TPersistent {
public:
  // Joins the owner (when given); the owner's components are told with
  // opInsert. A name is only given later, so joining cannot clash.
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  std::string ClassName() const override { return "TComponent"; }

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  // An identifier (letters, digits, "_", not starting with a digit) or "";
  // raises EComponentError "'%s' is not a valid component name" or, when
  // the owner holds another component of that name (any letter case),
  // "A component named %s already exists".
  virtual void SetName(const std::string& name);
  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  // Raises EListError "List index out of bounds (%d)" outside 0..count-1.
  TComponent* Components(int index) const;
  // The owned component of that name (any letter case), or nullptr.
  TComponent* FindComponent(const std::string& name) const;

  TComponentState ComponentState() const { return FComponentState; }
  // The stored-form reader brackets its work with BeginLoading (csLoading on)
  // and Loaded (csLoading off), so components can stay quiet while their
  // properties are set one by one.
  void BeginLoading() { FComponentState.Include(csLoading); }
  virtual void Loaded() { FComponentState.Exclude(csLoading); }
  // Marks this component and everything it owns as being designed; a
  // component inserted later into a designed owner is designed too.
  void SetDesigning(bool designing);

  // Links the two components both ways: whichever is destroyed first tells
  // the other with Notification(itself, opRemove), and the link is gone.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);
  // Points a field of this component at another one, moving the link from
  // the old component to the new; false when the field held it already.
  template <class T>
  bool Link(T*& field, T* component) {
    if (component == field) return false;
    if (field) RemoveFreeNotification(field);
    field = component;
    if (component) FreeNotification(component);
    return true;
  }

protected:
  // Told about components joining (opInsert) and leaving (opRemove) this
  // component's owner, and about linked components that are destroyed. The
  // base passes the news on to every component this one owns; overrides call
  // it. While a component is being destroyed its own override no longer runs
  // unless its destructor began with BeforeDestruction.
  virtual void Notification(TComponent* component, TOperation operation);

  // The teardown that the class library runs before any field of the
  // derived class goes: csDestroying on this component and all it owns, the
  // linked components told, the owned components freed, and this component
  // removed from its owner. ~TComponent runs it when it has not run yet; a
  // class whose Notification partners still reach into its fields calls it
  // first thing in its own destructor.
  void BeforeDestruction();

private:
  void MarkDestroying();
  void RemoveComponent(TComponent* component);

  TComponent* FOwner = nullptr;
  std::string FName;
  int FTag = 0;
  TComponentState FComponentState;
  bool FTornDown = false;
  std::vector<TComponent*> FComponents;     // owned, in insertion order
  std::vector<TComponent*> FFreeNotifies;   // linked both ways
};

class TCollection;

// An item of a collection: it joins the collection it is created for, which
// then owns it. Deleting an item removes it from its collection.
class TCollectionItem : public TPersistent {
public:
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;
  std::string ClassName() const override { return "TCollectionItem"; }

  TCollection* Collection() const { return FCollection; }
  // Position in the collection; -1 outside one.
  int Index() const;
  // The name shown for the item; the class name by default.
  virtual std::string DisplayName() const { return ClassName(); }
  virtual void SetDisplayName(const std::string&) {}

protected:
  // Reports a change: of this item only, or of the whole collection
  // (allItems). Silent while the collection is inside BeginUpdate/EndUpdate.
  void Changed(bool allItems);

private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
};

// An ordered list of owned items. A derived collection creates its kind of
// item in CreateItem and hears about changes in Update.
class TCollection : public TPersistent {
public:
  // The owner is what GetOwner answers (the component the collection
  // belongs to); it is not freed by the collection.
  explicit TCollection(TPersistent* owner = nullptr);
  ~TCollection() override;
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;
  std::string ClassName() const override { return "TCollection"; }

  TPersistent* GetOwner() const { return FOwner; }
  // Appends a new item (CreateItem) and answers it.
  TCollectionItem* Add();
  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises EListError "List index out of bounds (%d)" outside 0..count-1.
  TCollectionItem* Items(int index) const;
  // Frees the item at the index.
  void Delete(int index);
  // Frees every item, with one change report at the end.
  void Clear();

  // Nested brackets: changes inside are reported once, by the outermost
  // EndUpdate, as a change of the whole collection.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // From another collection: the items are replaced by new ones, each
  // assigned from the source's item at the same position.
  void Assign(const TPersistent& source) override;

protected:
  // The item for Add; the derived collection creates its own kind, joined to
  // this collection (new TMyItem(this)).
  virtual TCollectionItem* CreateItem() = 0;
  // Called for every change outside BeginUpdate/EndUpdate: the item that
  // changed, or nullptr when the whole collection did.
  virtual void Update(TCollectionItem*) {}

private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);
  void Changed();

  TPersistent* FOwner;
  std::vector<TCollectionItem*> FItems;  // owned
  int FUpdateCount = 0;
};

// Keeps a BeginUpdate/EndUpdate bracket of a collection open for a scope.
class TCollectionUpdate {
public:
  explicit TCollectionUpdate(TCollection& collection) : FCollection(collection) { FCollection.BeginUpdate(); }
  ~TCollectionUpdate() { FCollection.EndUpdate(); }
  TCollectionUpdate(const TCollectionUpdate&) = delete;
  TCollectionUpdate& operator=(const TCollectionUpdate&) = delete;

private:
  TCollection& FCollection;
};

}  // namespace vk
