#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SrcEdit/Source/SrcEdit.h"

namespace vk {
namespace {

// An editor that writes its name into a shared log whenever a batch of
// changes of the lines it shows ends.
class LoggedEdit : public TSrcEdit {
public:
  LoggedEdit(std::string name, std::vector<std::string>& log) : TSrcEdit(nullptr), FName(std::move(name)), FLog(log) {
    HandleNeeded();
  }
  const std::string& Name() const { return FName; }

protected:
  void LinesChanged(TObject* sender) override {
    FLog.push_back(FName);
    TSrcEdit::LinesChanged(sender);
  }

private:
  std::string FName;
  std::vector<std::string>& FLog;
};

TEST(SrcEditSharingTest, AnInsertionInOneEditorReachesTheOwnerFirstThenTheOthersInHookOrder) {
  for (bool cFirst : {false, true}) {
    SCOPED_TRACE(cFirst ? "C hooks first" : "B hooks first");
    std::vector<std::string> log;
    LoggedEdit a("A", log), b("B", log), c("C", log);
    if (cFirst) c.SetLinesPointer(&a);
    b.SetLinesPointer(&a);
    if (!cFirst) c.SetLinesPointer(&a);
    EXPECT_EQ(&a.Lines(), &b.Lines());
    EXPECT_EQ(&a.Lines(), &c.Lines());
    EXPECT_EQ(&a.UndoList(), &c.UndoList());
    EXPECT_EQ(&a.RedoList(), &b.RedoList());
    EXPECT_EQ(&a, b.SharedLinesSource());

    log.clear();
    b.Lines().Add("typed in B");
    EXPECT_EQ(cFirst ? (std::vector<std::string>{"A", "C", "B"}) : (std::vector<std::string>{"A", "B", "C"}), log);
    for (LoggedEdit* edit : {&a, &b, &c}) EXPECT_EQ(1, edit->ScrollBar(SB_VERT).Max) << edit->Name();
  }
}

TEST(SrcEditSharingTest, ARecordedChangeReachesEverySharingEditor) {
  std::vector<std::string> log;
  LoggedEdit a("A", log), b("B", log), c("C", log);
  b.SetLinesPointer(&a);
  c.SetLinesPointer(&a);
  c.UndoList().AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
  EXPECT_TRUE(a.Modified());
  EXPECT_TRUE(b.Modified());
  EXPECT_TRUE(c.Modified());
  // Back on its own history, an editor no longer follows the shared one.
  c.RemoveLinesPointer();
  EXPECT_FALSE(c.UndoList().CanUndo());
  a.UndoList().SetInitialState(true);
  a.UndoList().AddChange(crInsert, {2, 1}, {3, 1}, "", smNormal);
  EXPECT_EQ(0, c.UndoList().ChangeRecordedListenerCount());
  EXPECT_EQ(1, a.UndoList().ChangeRecordedListenerCount());
}

// One step of a scenario: an editor leaves the shared text, either by
// unhooking (and staying alive) or by being freed.
enum class Leave { Unhook, Free };

// Three editors: index 0 owns the text, 1 and 2 share it, hooking in the
// given order. They leave in the given order and way; after each step an
// insertion through every live editor reaches exactly the editors that
// still show the shared text (owner first, then in hook order), and the
// others are back on their own text.
void RunScenario(const std::array<int, 2>& hookOrder, const std::array<int, 3>& leaveOrder, Leave how) {
  std::vector<std::string> log;
  std::array<std::unique_ptr<LoggedEdit>, 3> edits;
  for (int i = 0; i < 3; ++i) edits[i] = std::make_unique<LoggedEdit>(std::string(1, char('A' + i)), log);
  std::array<TSrcEditStringList*, 3> own;
  for (int i = 0; i < 3; ++i) own[i] = &edits[i]->Lines();
  TSrcEditStringList* shared = own[0];
  for (int i : hookOrder) edits[i]->SetLinesPointer(edits[0].get());
  std::array<bool, 3> hooked = {true, true, true};  // shows the shared text

  for (int leaving : leaveOrder) {
    if (how == Leave::Unhook && leaving != 0) {
      edits[leaving]->RemoveLinesPointer();
    } else {
      edits[leaving].reset();
      // Freeing the owner returns everyone to their own text.
      if (leaving == 0) hooked = {false, false, false};
    }
    hooked[leaving] = false;

    std::vector<std::string> hearing;
    if (hooked[0]) hearing.push_back("A");
    for (int i : hookOrder)
      if (hooked[i]) hearing.push_back(std::string(1, char('A' + i)));
    for (int i = 0; i < 3; ++i) {
      if (!edits[i]) continue;
      LoggedEdit& edit = *edits[i];
      SCOPED_TRACE("typing in " + edit.Name());
      bool onShared = (i == 0 && hooked[0]) || (i != 0 && hooked[i]);
      EXPECT_EQ(onShared ? shared : own[i], &edit.Lines());
      EXPECT_EQ(i != 0 && onShared ? edits[0].get() : nullptr, edit.SharedLinesSource());
      int before = edit.Lines().Count();
      log.clear();
      edit.Lines().Add("x");
      EXPECT_EQ(before + 1, edit.Lines().Count());
      EXPECT_EQ(onShared ? hearing : std::vector<std::string>{edit.Name()}, log);
      EXPECT_EQ(edit.Lines().Count(), edit.ScrollBar(SB_VERT).Max);
    }
  }
}

TEST(SrcEditSharingTest, EditorsMayHookUnhookAndBeFreedInAnyOrder) {
  for (Leave how : {Leave::Unhook, Leave::Free}) {
    for (std::array<int, 2> hookOrder : {std::array<int, 2>{1, 2}, std::array<int, 2>{2, 1}}) {
      std::array<int, 3> leaveOrder = {0, 1, 2};
      do {
        SCOPED_TRACE(std::string(how == Leave::Free ? "free" : "unhook") + ", hook " +
                     std::to_string(hookOrder[0]) + std::to_string(hookOrder[1]) + ", leave " +
                     std::to_string(leaveOrder[0]) + std::to_string(leaveOrder[1]) + std::to_string(leaveOrder[2]));
        RunScenario(hookOrder, leaveOrder, how);
      } while (std::next_permutation(leaveOrder.begin(), leaveOrder.end()));
    }
  }
}

TEST(SrcEditSharingTest, FreeingTheSourceReturnsTheOthersToTheirOwnText) {
  std::vector<std::string> log;
  auto a = std::make_unique<LoggedEdit>("A", log);
  LoggedEdit b("B", log);
  b.Lines().Add("B's own line");
  a->Lines().Add("A1");
  a->Lines().Add("A2");
  b.SetLinesPointer(a.get());
  EXPECT_EQ(2, b.Lines().Count());
  EXPECT_EQ(2, b.ScrollBar(SB_VERT).Max);
  a.reset();
  EXPECT_EQ(nullptr, b.SharedLinesSource());
  ASSERT_EQ(1, b.Lines().Count());
  EXPECT_EQ("B's own line", b.Lines().Get(0));
  EXPECT_EQ(1, b.ScrollBar(SB_VERT).Max);
  b.UndoList().AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);  // its own list, alive
  EXPECT_TRUE(b.Modified());
}

TEST(SrcEditSharingTest, SharingWithASharerFollowsTheOwnerOfTheText) {
  std::vector<std::string> log;
  auto a = std::make_unique<LoggedEdit>("A", log);
  auto b = std::make_unique<LoggedEdit>("B", log);
  LoggedEdit c("C", log);
  b->SetLinesPointer(a.get());
  c.SetLinesPointer(b.get());
  EXPECT_EQ(a.get(), c.SharedLinesSource());
  b.reset();
  EXPECT_EQ(&a->Lines(), &c.Lines());
  log.clear();
  a->Lines().Add("x");
  EXPECT_EQ((std::vector<std::string>{"A", "C"}), log);
  a.reset();
  EXPECT_EQ(0, c.Lines().Count());
  EXPECT_EQ(nullptr, c.SharedLinesSource());
}

TEST(SrcEditSharingTest, BrokenPreconditionsRaiseAndChangeNothing) {
  std::vector<std::string> log;
  LoggedEdit a("A", log), b("B", log), other("X", log);
  TSrcEditStringList* ownOfB = &b.Lines();
  EXPECT_THROW(a.SetLinesPointer(&a), ESrcEditAssertion);
  EXPECT_EQ(0, a.Lines().ListenerCount());
  b.SetLinesPointer(&a);
  EXPECT_THROW(b.SetLinesPointer(&other), ESrcEditAssertion);
  EXPECT_THROW(b.UnHookTextBuffer(), ESrcEditAssertion);
  EXPECT_THROW(b.HookTextBuffer(other.Lines(), other.UndoList(), other.RedoList()), ESrcEditAssertion);
  // Sharing back with an editor that shows one's own text would be a loop.
  EXPECT_THROW(a.SetLinesPointer(&b), ESrcEditAssertion);
  EXPECT_EQ(&a.Lines(), &b.Lines());
  EXPECT_EQ(1, a.Lines().ListenerCount());
  b.RemoveLinesPointer();
  EXPECT_EQ(ownOfB, &b.Lines());
  EXPECT_EQ(0, a.Lines().ListenerCount());
  b.RemoveLinesPointer();  // on its own text already: nothing
  EXPECT_EQ(ownOfB, &b.Lines());
}

TEST(SrcEditSharingTest, AHookedEditorThatIsFreedLeavesTheStore) {
  std::vector<std::string> log;
  LoggedEdit a("A", log);
  {
    LoggedEdit b("B", log);
    b.HookTextBuffer(a.Lines(), a.UndoList(), a.RedoList());
    EXPECT_EQ(1, a.Lines().ListenerCount());
    EXPECT_EQ(1, a.UndoList().ChangeRecordedListenerCount());
  }
  EXPECT_EQ(0, a.Lines().ListenerCount());
  EXPECT_EQ(0, a.UndoList().ChangeRecordedListenerCount());
  EXPECT_EQ(0, a.RedoList().ChangeRecordedListenerCount());
  log.clear();
  a.Lines().Add("x");
  a.UndoList().AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
  EXPECT_EQ((std::vector<std::string>{"A"}), log);
}

}  // namespace
}  // namespace vk
