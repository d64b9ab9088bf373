#include "SrcEdit/Source/SrcEditUndoList.h"

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "SrcEdit/Source/SrcEditKeyCmds.h"

namespace vk {
namespace {

struct RecordCounter {
  int Count = 0;
  void Recorded(TObject*) { ++Count; }
};

void AddInsert(TSrcEditUndoList& list, const std::string& text = "x") {
  list.AddChange(crInsert, BufferCoord(1, 1), BufferCoord(2, 1), text, smNormal);
}

std::vector<uint32_t> Numbers(const TSrcEditUndoList& list) {
  std::vector<uint32_t> numbers;
  for (int i = 0; i < list.ItemCount(); ++i) numbers.push_back(list.Items(i)->FChangeNumber);
  return numbers;
}

TEST(SrcEditUndoListTest, ChangesOutsideBlocksGetTheirOwnNumbers) {
  TSrcEditUndoList list;
  AddInsert(list);
  AddInsert(list);
  EXPECT_EQ((std::vector<uint32_t>{1, 2}), Numbers(list));
  EXPECT_EQ(3u, list.NextChangeNumber());
}

TEST(SrcEditUndoListTest, NestedBlocksShareOneNumber) {
  TSrcEditUndoList list;
  RecordCounter counter;
  list.OnChangeRecorded = TNotifyEvent(&counter, &RecordCounter::Recorded);
  AddInsert(list);
  {
    TSrcUndoBlock outer(list);
    AddInsert(list);
    {
      TSrcUndoBlock inner(list);
      AddInsert(list);
    }
    EXPECT_EQ(1, list.BlockCount());
    AddInsert(list);
  }
  AddInsert(list);
  EXPECT_EQ((std::vector<uint32_t>{1, 2, 2, 2, 3}), Numbers(list));
  // Each item, plus the outer block closing with items of its number.
  EXPECT_EQ(6, counter.Count);
  EXPECT_EQ(0, list.BlockCount());
  EXPECT_EQ(0u, list.BlockChangeNumber());
  list.EndBlock();  // without an open block: nothing
  EXPECT_EQ(0, list.BlockCount());
  EXPECT_EQ(4u, list.NextChangeNumber());
}

TEST(SrcEditUndoListTest, AnEmptyBlockStillUsesUpANumberButFiresNothing) {
  TSrcEditUndoList list;
  RecordCounter counter;
  list.OnChangeRecorded = TNotifyEvent(&counter, &RecordCounter::Recorded);
  { TSrcUndoBlock block(list); }
  EXPECT_EQ(0, counter.Count);
  EXPECT_EQ(2u, list.NextChangeNumber());
}

TEST(SrcEditUndoListTest, NumbersWrapPastTheTopToOne) {
  TSrcEditUndoList list;
  list.SetNextChangeNumber(0xFFFFFFFE);
  AddInsert(list);
  AddInsert(list);
  AddInsert(list);
  EXPECT_EQ((std::vector<uint32_t>{0xFFFFFFFE, 0xFFFFFFFF, 1}), Numbers(list));
  list.SetNextChangeNumber(0xFFFFFFFF);
  { TSrcUndoBlock block(list); }
  EXPECT_EQ(1u, list.NextChangeNumber());
}

TEST(SrcEditUndoListTest, MaximumDropsTheOldestItems) {
  struct Case {
    int Maximum, Added, Kept;
    bool Impossible;
  } cases[] = {{0, 3, 0, true}, {2, 3, 2, true}, {3, 3, 3, false}, {-5, 1, 0, true}, {1024, 10, 10, false}};
  for (const auto& c : cases) {
    TSrcEditUndoList list;
    RecordCounter counter;
    list.OnChangeRecorded = TNotifyEvent(&counter, &RecordCounter::Recorded);
    list.SetMaxUndoActions(c.Maximum);
    for (int i = 0; i < c.Added; ++i) AddInsert(list, std::to_string(i));
    EXPECT_EQ(c.Kept, list.ItemCount()) << c.Maximum;
    EXPECT_EQ(c.Kept > 0, list.CanUndo());
    EXPECT_EQ(c.Impossible, list.FullUndoImpossible());
    EXPECT_EQ(c.Added, counter.Count) << "every change is still reported";
    if (c.Kept > 0) {
      EXPECT_EQ(std::to_string(c.Added - 1), list.PeekItem()->FChangeStr);
    }
    list.Clear();
    EXPECT_FALSE(list.FullUndoImpossible());
  }
}

TEST(SrcEditUndoListTest, LoweringTheMaximumEnforcesItAtOnce) {
  TSrcEditUndoList list;
  for (int i = 0; i < 5; ++i) AddInsert(list, std::to_string(i));
  list.SetMaxUndoActions(2);
  EXPECT_EQ(2, list.ItemCount());
  EXPECT_EQ("3", list.Items(0)->FChangeStr);
  EXPECT_TRUE(list.FullUndoImpossible());
}

// The limit counts undo steps, not items: a block, or a run of equal
// changes with group undo, is kept or dropped whole, the newest steps stay
// whatever their size, and a group break (a save adds one) is no step.
TEST(SrcEditUndoListTest, TheLimitCountsWholeSteps) {
  // Items per step: > 1 a block, < -1 that many inserts of one typing run,
  // 0 a group break.
  struct Case {
    const char* Name;
    bool GroupUndo;
    int Maximum;
    std::vector<int> Steps;
    int Kept;
  } cases[] = {
      {"a block over the limit stays", false, 3, {5}, 5},
      {"and so does the next change", false, 3, {5, 1}, 6},
      {"older steps go first", false, 2, {2, 3, 4}, 7},
      {"a group break is no step", false, 2, {1200, 0, 1}, 1202},
      {"and goes with the step before it", false, 2, {3, 0, 1, 1}, 2},
      {"equal inserts are one step with group undo", true, 2, {-4, 1}, 5},
      {"and go whole", true, 2, {-4, 1, 1}, 2},
      {"each insert its own step without", false, 2, {-4}, 2},
      {"no limit keeps nothing", false, 0, {3, 0}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TSrcEditUndoList list;
    list.SetGroupUndo(c.GroupUndo);
    list.SetMaxUndoActions(c.Maximum);
    for (size_t i = 0; i < c.Steps.size(); ++i) {
      if (c.Steps[i] == 0) {
        list.AddGroupBreak();
        continue;
      }
      // Steps after the first alternate reasons so that they stay apart.
      const TSrcChangeReason reason = i % 2 == 0 ? crInsert : crDelete;
      const int count = std::abs(c.Steps[i]);
      TSrcUndoRun run(list, c.Steps[i] < -1 ? ecChar : ecNone);
      if (c.Steps[i] > 1) list.BeginBlock();
      for (int n = 0; n < count; ++n) list.AddChange(reason, BufferCoord(1, 1), BufferCoord(2, 1), "", smNormal);
      if (c.Steps[i] > 1) list.EndBlock();
    }
    EXPECT_EQ(c.Kept, list.ItemCount());
  }
}

// Undoing everything after the limit dropped steps ends right after the
// last dropped one: the saved state is recognised there and nowhere else.
TEST(SrcEditUndoListTest, TheSavedStateFollowsDroppedSteps) {
  TSrcEditUndoList list;
  list.SetMaxUndoActions(1);
  AddInsert(list);
  list.SetInitialState(true);
  list.AddChange(crDelete, BufferCoord(1, 1), BufferCoord(2, 1), "", smNormal);
  list.PopItem();
  EXPECT_TRUE(list.InitialState());
  list.SetInitialState(true);
  AddInsert(list);
  AddInsert(list);
  list.PopItem();
  EXPECT_FALSE(list.InitialState());
  // Saved on the group break after a change: dropped with it.
  AddInsert(list);
  list.AddGroupBreak();
  list.SetInitialState(true);
  AddInsert(list);
  EXPECT_EQ(1, list.ItemCount());
  list.PopItem();
  EXPECT_TRUE(list.InitialState());
}

TEST(SrcEditUndoListTest, GroupBreaksAreNotDoubledAndNotReported) {
  TSrcEditUndoList list;
  RecordCounter counter;
  list.OnChangeRecorded = TNotifyEvent(&counter, &RecordCounter::Recorded);
  EXPECT_EQ(crNothing, list.LastChangeReason());
  list.AddGroupBreak();
  list.AddGroupBreak();
  EXPECT_EQ(1, list.ItemCount());
  EXPECT_EQ(crGroupBreak, list.LastChangeReason());
  EXPECT_EQ(0, counter.Count);
  AddInsert(list);
  list.AddGroupBreak();
  EXPECT_EQ(3, list.ItemCount());
  auto breakItem = std::make_unique<TSrcEditUndoItem>();
  breakItem->FChangeReason = crGroupBreak;
  list.PushItem(std::move(breakItem));
  list.PushItem(nullptr);
  EXPECT_EQ(4, list.ItemCount());
  EXPECT_EQ(1, counter.Count);
}

TEST(SrcEditUndoListTest, LockedListsRecordNothing) {
  TSrcEditUndoList list;
  list.Lock();
  list.Lock();
  AddInsert(list);
  list.Unlock();
  AddInsert(list);
  list.Unlock();
  list.Unlock();  // never below zero
  EXPECT_FALSE(list.IsLocked());
  AddInsert(list);
  EXPECT_EQ(1, list.ItemCount());
}

TEST(SrcEditUndoListTest, PopAndPeekWorkFromTheEnd) {
  TSrcEditUndoList list;
  EXPECT_EQ(nullptr, list.PeekItem());
  EXPECT_EQ(nullptr, list.PopItem());
  AddInsert(list, "a");
  AddInsert(list, "b");
  EXPECT_EQ("b", list.PeekItem()->FChangeStr);
  auto item = list.PopItem();
  EXPECT_EQ("b", item->FChangeStr);
  EXPECT_EQ(1, list.ItemCount());
  list.DeleteItem(0);
  EXPECT_FALSE(list.CanUndo());
}

// The saved-state mark against the list's contents.
TEST(SrcEditUndoListTest, InitialStateMatrix) {
  struct Case {
    const char* Name;
    std::function<void(TSrcEditUndoList&)> Steps;
    bool AtInitialState;
  } cases[] = {
      {"new list", [](auto&) {}, true},
      {"one change", [](auto& l) { AddInsert(l); }, false},
      {"saved after a change", [](auto& l) { AddInsert(l), l.SetInitialState(true); }, true},
      {"change after saving", [](auto& l) { AddInsert(l), l.SetInitialState(true), AddInsert(l); }, false},
      {"undone back to the save",
       [](auto& l) { AddInsert(l), l.SetInitialState(true), AddInsert(l), l.PopItem(); }, true},
      {"undone past the save", [](auto& l) { AddInsert(l), l.SetInitialState(true), l.PopItem(); }, false},
      {"saved empty", [](auto& l) { l.SetInitialState(true); }, true},
      {"unsaved while at the save", [](auto& l) { l.SetInitialState(false); }, false},
      {"unsaved elsewhere keeps the mark",
       [](auto& l) { AddInsert(l), l.SetInitialState(true), AddInsert(l), l.SetInitialState(false), l.PopItem(); },
       true},
      {"unreachable save after changes",
       [](auto& l) { l.SetInitialState(false), AddInsert(l), l.PopItem(); }, false},
  };
  for (const auto& c : cases) {
    TSrcEditUndoList list;
    c.Steps(list);
    EXPECT_EQ(c.AtInitialState, list.InitialState()) << c.Name;
  }
}

// No change number, even one reached after the numbers wrap, may pass for
// the mark of a state that can no longer be reached.
TEST(SrcEditUndoListTest, ForgottenSaveIsNeverMistakenForAChangeNumber) {
  TSrcEditUndoList list;
  list.SetInitialState(false);
  list.SetNextChangeNumber(0xFFFFFFFF);
  AddInsert(list);
  EXPECT_EQ(0xFFFFFFFFu, list.PeekItem()->FChangeNumber);
  EXPECT_FALSE(list.InitialState());
}

TEST(SrcEditUndoListTest, AssignCopiesItemsAndCounters) {
  TSrcEditUndoList source;
  AddInsert(source, "a");
  source.BeginBlock();
  AddInsert(source, "b");
  source.SetMaxUndoActions(50);
  source.Lock();
  source.SetInsideRedo(true);
  TSrcEditUndoList copy;
  AddInsert(copy, "old");
  copy.Assign(source);
  EXPECT_EQ(Numbers(source), Numbers(copy));
  EXPECT_EQ("b", copy.PeekItem()->FChangeStr);
  EXPECT_NE(source.PeekItem(), copy.PeekItem());
  EXPECT_EQ(1, copy.BlockCount());
  EXPECT_EQ(source.BlockChangeNumber(), copy.BlockChangeNumber());
  EXPECT_EQ(50, copy.MaxUndoActions());
  EXPECT_TRUE(copy.IsLocked());
  EXPECT_TRUE(copy.InsideRedo());
  EXPECT_EQ(source.NextChangeNumber(), copy.NextChangeNumber());
}

TEST(SrcEditUndoItemTest, AssignCopiesAllFields) {
  TSrcEditUndoItem a, b;
  a.FChangeReason = crPaste;
  a.FChangeSelMode = smColumn;
  a.FChangeStartPos = BufferCoord(3, 4);
  a.FChangeEndPos = BufferCoord(5, 6);
  a.FChangeStr = "text";
  a.FChangeNumber = 9;
  a.FMarkShifts = std::make_shared<TSrcMarkShifts>();
  b.Assign(a);
  EXPECT_EQ(crPaste, b.FChangeReason);
  EXPECT_EQ(smColumn, b.FChangeSelMode);
  EXPECT_EQ(BufferCoord(3, 4), b.FChangeStartPos);
  EXPECT_EQ(BufferCoord(5, 6), b.FChangeEndPos);
  EXPECT_EQ("text", b.FChangeStr);
  EXPECT_EQ(9u, b.FChangeNumber);
  EXPECT_EQ(a.FMarkShifts, b.FMarkShifts);
  EXPECT_THROW(b.Assign(TPersistent()), EConvertError);
}

}  // namespace
}  // namespace vk
