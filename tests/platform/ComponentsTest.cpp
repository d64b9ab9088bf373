#include "platform/Components.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/StringLists.h"

namespace vk {
namespace {

using TLog = std::vector<std::string>;

// Records what it hears; may drop a reference to a component that goes, as
// the editor does with its highlighter.
class TProbe : public TComponent {
public:
  TProbe(TComponent* owner, const std::string& name, TLog& log, bool earlyTeardown = false)
      : TComponent(owner), FLog(log), FEarlyTeardown(earlyTeardown) {
    SetName(name);
  }
  ~TProbe() override {
    if (FEarlyTeardown) BeforeDestruction();
    FLog.push_back("~" + Name());
  }

  TComponent* Reference = nullptr;
  std::unique_ptr<TComponent> FreeOnRemoval;  // freed when told of a removal
  bool RemovedWasDestroying = false;

protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    FLog.push_back(Name() + (operation == opInsert ? " +" : " -") + component->Name());
    if (operation == opRemove && component == Reference) Reference = nullptr;
    if (operation != opRemove) return;
    RemovedWasDestroying = component->ComponentState().Contains(csDestroying);
    FreeOnRemoval.reset();
  }

private:
  TLog& FLog;
  bool FEarlyTeardown;
};

TEST(ComponentsTest, OwnerFreesItsComponentsLastInsertedFirst) {
  TLog log;
  auto owner = std::make_unique<TProbe>(nullptr, "Owner", log, true);
  new TProbe(owner.get(), "A", log);
  auto* b = new TProbe(owner.get(), "B", log);
  new TProbe(owner.get(), "C", log);
  // The names are given after joining, so the news of a join has none yet.
  EXPECT_EQ(log, (TLog{"Owner +", "A +", "Owner +", "B +", "A +", "Owner +"}));
  ASSERT_EQ(owner->ComponentCount(), 3);
  EXPECT_EQ(owner->Components(1), b);
  EXPECT_EQ(b->Owner(), owner.get());
  EXPECT_EQ(owner->FindComponent("b"), b);
  EXPECT_EQ(owner->FindComponent("D"), nullptr);
  EXPECT_EQ(owner->FindComponent(""), nullptr);
  EXPECT_THROW(owner->Components(3), EListError);
  EXPECT_THROW(owner->Components(-1), EListError);

  // Freed early, a component leaves its owner, and the others hear of it.
  log.clear();
  delete b;
  EXPECT_EQ(log, (TLog{"~B", "C -B", "A -B", "Owner -B"}));
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->FindComponent("B"), nullptr);

  log.clear();
  owner.reset();
  EXPECT_EQ(log, (TLog{"~C", "A -C", "Owner -C", "~A", "Owner -A", "~Owner"}));
}

TEST(ComponentsTest, NamesAreIdentifiersUniqueWithinTheOwner) {
  TLog log;
  TComponent owner(nullptr);
  auto* a = new TProbe(&owner, "Editor1", log);
  auto* b = new TProbe(&owner, "", log);
  struct Case {
    std::string name;
    const char* message;  // nullptr: accepted
  } cases[] = {
      {"Editor2", nullptr},
      {"_x9", nullptr},
      {"", nullptr},
      {"EDITOR1", "A component named EDITOR1 already exists"},
      {"9lives", "'9lives' is not a valid component name"},
      {"two words", "'two words' is not a valid component name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      b->SetName(c.name);
      EXPECT_EQ(c.message, nullptr);
      EXPECT_EQ(b->Name(), c.name);
    } catch (const EComponentError& e) {
      ASSERT_NE(c.message, nullptr);
      EXPECT_EQ(e.Message(), c.message);
    }
  }
  a->SetName("EDITOR1");  // its own name in other letters
  EXPECT_EQ(a->Name(), "EDITOR1");
  TComponent free(nullptr);
  free.SetName("EDITOR1");  // no owner, no clash
}

TEST(ComponentsTest, FreeNotificationInEitherOrderOfDeath) {
  for (bool highlighterFirst : {true, false}) {
    SCOPED_TRACE(highlighterFirst);
    TLog log;
    auto highlighter = std::make_unique<TProbe>(nullptr, "Hl", log);
    auto editor = std::make_unique<TProbe>(nullptr, "Ed", log);
    editor->Reference = highlighter.get();
    highlighter->FreeNotification(editor.get());
    highlighter->FreeNotification(editor.get());  // once is enough
    if (highlighterFirst) {
      highlighter.reset();
      EXPECT_EQ(editor->Reference, nullptr);
      EXPECT_EQ(log, (TLog{"~Hl", "Ed -Hl"}));
      editor.reset();  // nothing left to tell
    } else {
      editor.reset();
      EXPECT_EQ(log, (TLog{"~Ed", "Hl -Ed"}));
      highlighter.reset();
    }
    EXPECT_EQ(log.size(), 3u);
  }
}

TEST(ComponentsTest, RemovedFreeNotificationIsSilent) {
  TLog log;
  auto a = std::make_unique<TProbe>(nullptr, "A", log);
  auto b = std::make_unique<TProbe>(nullptr, "B", log);
  a->FreeNotification(b.get());
  b->RemoveFreeNotification(a.get());  // from either side
  a.reset();
  b.reset();
  EXPECT_EQ(log, (TLog{"~A", "~B"}));
}

TEST(ComponentsTest, AHandlerMayFreeAnotherLinkedComponent) {
  TLog log;
  auto a = std::make_unique<TProbe>(nullptr, "A", log);
  auto b = std::make_unique<TProbe>(nullptr, "B", log);
  b->FreeOnRemoval = std::make_unique<TProbe>(nullptr, "C", log);
  a->FreeNotification(b->FreeOnRemoval.get());
  a->FreeNotification(b.get());  // told first: it frees C, also linked to A
  a.reset();
  EXPECT_EQ(log, (TLog{"~A", "B -A", "~C"}));
}

TEST(ComponentsTest, DerivedTeardownRunsWhileTheDerivedPartIsAlive) {
  TLog log;
  auto owner = std::make_unique<TProbe>(nullptr, "Owner", log, true);
  auto* child = new TProbe(owner.get(), "Child", log);
  auto partner = std::make_unique<TProbe>(nullptr, "Partner", log);
  child->FreeNotification(partner.get());
  log.clear();
  owner.reset();
  // The owner hears of its child's removal before its own destructor ends,
  // and everything it owned knew it was being destroyed.
  EXPECT_EQ(log, (TLog{"~Child", "Partner -Child", "Owner -Child", "~Owner"}));
  EXPECT_TRUE(partner->RemovedWasDestroying);
}

TEST(ComponentsTest, ComponentState) {
  TLog log;
  TComponent owner(nullptr);
  auto* child = new TProbe(&owner, "Child", log);
  EXPECT_TRUE(owner.ComponentState().Empty());
  child->BeginLoading();
  EXPECT_TRUE(child->ComponentState().Contains(csLoading));
  child->Loaded();
  EXPECT_FALSE(child->ComponentState().Contains(csLoading));
  owner.SetDesigning(true);
  EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
  auto* later = new TComponent(&owner);
  EXPECT_TRUE(later->ComponentState().Contains(csDesigning));
  owner.SetDesigning(false);
  EXPECT_FALSE(child->ComponentState().Contains(csDesigning));
  EXPECT_FALSE(later->ComponentState().Contains(csDesigning));
  later->SetTag(33);
  EXPECT_EQ(later->Tag(), 33);
}

// ---- collections ----

class TTestItem : public TCollectionItem {
public:
  using TCollectionItem::TCollectionItem;
  std::string ClassName() const override { return "TTestItem"; }
  void Assign(const TPersistent& source) override {
    if (auto* item = dynamic_cast<const TTestItem*>(&source)) return SetValue(item->Value);
    TCollectionItem::Assign(source);
  }
  void SetValue(int value, bool allItems = false) {
    Value = value;
    Changed(allItems);
  }
  int Value = 0;
};

class TTestCollection : public TCollection {
public:
  using TCollection::TCollection;
  TTestItem* Add() { return static_cast<TTestItem*>(TCollection::Add()); }
  TTestItem* Items(int index) const { return static_cast<TTestItem*>(TCollection::Items(index)); }
  std::vector<int> Updates;  // index of the item reported, -1 for all

protected:
  TCollectionItem* CreateItem() override { return new TTestItem(this); }
  void Update(TCollectionItem* item) override { Updates.push_back(item ? item->Index() : -1); }
};

TEST(ComponentsTest, CollectionOwnsItsItems) {
  TComponent owner(nullptr);
  TTestCollection collection(&owner);
  EXPECT_EQ(collection.GetOwner(), &owner);
  TTestItem* first = collection.Add();
  TTestItem* second = collection.Add();
  new TTestItem(&collection);  // joins by construction
  ASSERT_EQ(collection.Count(), 3);
  EXPECT_EQ(collection.Items(1), second);
  EXPECT_EQ(second->Index(), 1);
  EXPECT_EQ(second->Collection(), &collection);
  EXPECT_EQ(first->DisplayName(), "TTestItem");
  EXPECT_EQ(collection.Updates, (std::vector<int>{-1, -1, -1}));
  EXPECT_THROW(collection.Items(3), EListError);

  collection.Updates.clear();
  second->SetValue(5);
  second->SetValue(6, true);
  delete first;  // leaves the collection
  EXPECT_EQ(collection.Updates, (std::vector<int>{1, -1, -1}));
  EXPECT_EQ(second->Index(), 0);
  collection.Delete(0);
  EXPECT_EQ(collection.Count(), 1);

  TTestItem outside(nullptr);
  EXPECT_EQ(outside.Index(), -1);
}

TEST(ComponentsTest, CollectionUpdatesAreMergedIntoOne) {
  TTestCollection collection;
  collection.Add();
  collection.Add();
  collection.Updates.clear();
  {
    TCollectionUpdate outer(collection);
    collection.BeginUpdate();
    collection.Items(0)->SetValue(1);
    collection.Add();
    collection.EndUpdate();
    EXPECT_TRUE(collection.Updates.empty());
  }
  EXPECT_EQ(collection.Updates, (std::vector<int>{-1}));
  collection.EndUpdate();  // unbalanced: nothing happens
  collection.Updates.clear();
  collection.Clear();
  EXPECT_EQ(collection.Count(), 0);
  EXPECT_EQ(collection.Updates, (std::vector<int>{-1}));
}

TEST(ComponentsTest, CollectionAssignCopiesEveryItem) {
  TTestCollection source, dest;
  source.Add()->SetValue(1);
  source.Add()->SetValue(2);
  dest.Add()->SetValue(9);
  dest.Updates.clear();
  dest.Assign(source);
  ASSERT_EQ(dest.Count(), 2);
  EXPECT_EQ(dest.Items(0)->Value, 1);
  EXPECT_EQ(dest.Items(1)->Value, 2);
  EXPECT_EQ(dest.Updates, (std::vector<int>{-1}));
  TComponent component(nullptr);
  EXPECT_THROW(dest.Assign(component), EConvertError);
  EXPECT_THROW(dest.Items(0)->Assign(component), EConvertError);
}

}  // namespace
}  // namespace vk
