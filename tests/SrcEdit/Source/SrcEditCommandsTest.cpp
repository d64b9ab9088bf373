// The command processor: events and hooked handlers, typed command data,
// the read-only rule and the paint lock around a failing command.

#include <functional>
#include <string>
#include <vector>

#include "tests/SrcEdit/Source/EditorFixture.h"

namespace vk::test {
namespace {

// Records what the events and hooks see; can swallow or raise.
struct TCommandSpy {
  std::vector<std::string> Calls;
  TSrcEditorCommand Swallow = ecNone;
  bool HandleBefore = false;
  TCustomSrcEdit* Edit = nullptr;
  THookedCommandEvent Other;

  void Process(TObject*, TSrcEditorCommand& command, char&, const TSrcCommandData&) {
    Calls.push_back("process " + IntToStr(command));
    if (command == Swallow) command = ecNone;
  }
  void Processed(TObject*, TSrcEditorCommand& command, char&, const TSrcCommandData&) {
    Calls.push_back("processed " + IntToStr(command));
  }
  void Hook(TObject*, bool after, bool& handled, TSrcEditorCommand& command, char&, const TSrcCommandData&,
            void* data) {
    Calls.push_back(std::string(after ? "after " : "before ") + static_cast<const char*>(data) + " " +
                    IntToStr(command));
    if (!after && HandleBefore) handled = true;
  }
  // Leaves, taking another handler with it, while it is being called.
  void Leaving(TObject*, bool, bool&, TSrcEditorCommand&, char&, const TSrcCommandData&, void*) {
    Calls.push_back("leaving");
    Edit->UnregisterCommandHandler(THookedCommandEvent(this, &TCommandSpy::Leaving));
    Edit->UnregisterCommandHandler(Other);
  }
  void Throw(TObject*) { throw Exception("handler failed"); }
};

class CommandsTest : public EditorTest {
protected:
  void Attach(TCommandSpy& spy) {
    Edit.OnProcessCommand = TProcessCommandEvent(&spy, &TCommandSpy::Process);
    Edit.OnProcessUserCommand = TProcessCommandEvent(&spy, &TCommandSpy::Process);
    Edit.OnCommandProcessed = TProcessCommandEvent(&spy, &TCommandSpy::Processed);
  }
  void Detach() {
    Edit.OnProcessCommand = nullptr;
    Edit.OnProcessUserCommand = nullptr;
    Edit.OnCommandProcessed = nullptr;
  }
};

TEST_F(CommandsTest, SwallowedCommandsStillReachOnCommandProcessed) {
  TCommandSpy spy;
  Attach(spy);
  static char name[] = "h";
  Edit.RegisterCommandHandler(THookedCommandEvent(&spy, &TCommandSpy::Hook), name);
  spy.Swallow = ecChar;
  Edit.CommandProcessor(ecChar, 'x');
  EXPECT_EQ(spy.Calls, (std::vector<std::string>{"process 511", "processed 0"}));
  EXPECT_EQ(Lines(), std::vector<std::string>{});

  // A user command is never executed: events and hooks only.
  spy.Calls.clear();
  Edit.CommandProcessor(ecUserFirst, 0);
  EXPECT_EQ(spy.Calls, (std::vector<std::string>{"process 1001", "before h 1001", "after h 1001", "processed 1001"}));
  Edit.UnregisterCommandHandler(THookedCommandEvent(&spy, &TCommandSpy::Hook));
  Detach();
}

TEST_F(CommandsTest, HookedHandlersAllRunAndHandledStopsExecution) {
  TCommandSpy spy;
  static char first[] = "1";
  static char second[] = "2";
  Edit.RegisterCommandHandler(THookedCommandEvent(&spy, &TCommandSpy::Hook), first);
  Edit.RegisterCommandHandler(THookedCommandEvent(&spy, &TCommandSpy::Hook), second);  // kept once, with "1"
  EXPECT_EQ(Edit.GetHookedCommandHandlersCount(), 1);
  TCommandSpy other;
  Edit.RegisterCommandHandler(THookedCommandEvent(&other, &TCommandSpy::Hook), second);
  spy.HandleBefore = true;
  Edit.CommandProcessor(ecChar, 'x');
  EXPECT_EQ(spy.Calls, (std::vector<std::string>{"before 1 511"}));
  EXPECT_EQ(other.Calls, (std::vector<std::string>{"before 2 511"}));  // still called
  EXPECT_TRUE(Lines().empty());
  Edit.UnregisterCommandHandler(THookedCommandEvent(&spy, &TCommandSpy::Hook));
  Edit.UnregisterCommandHandler(THookedCommandEvent(&spy, &TCommandSpy::Hook));  // no longer there
  Edit.UnregisterCommandHandler(THookedCommandEvent(&other, &TCommandSpy::Hook));
  EXPECT_EQ(Edit.GetHookedCommandHandlersCount(), 0);
}

TEST_F(CommandsTest, HandlersMayUnregisterThemselvesAndOthersWhileCalled) {
  TCommandSpy leaving;
  TCommandSpy removed;
  TCommandSpy last;
  leaving.Edit = &Edit;
  leaving.Other = THookedCommandEvent(&removed, &TCommandSpy::Hook);
  static char name[] = "x";
  Edit.RegisterCommandHandler(THookedCommandEvent(&leaving, &TCommandSpy::Leaving), nullptr);
  Edit.RegisterCommandHandler(leaving.Other, name);
  Edit.RegisterCommandHandler(THookedCommandEvent(&last, &TCommandSpy::Hook), name);
  Edit.CommandProcessor(ecNone + ecUserFirst, 0);
  EXPECT_EQ(leaving.Calls, std::vector<std::string>{"leaving"});
  EXPECT_TRUE(removed.Calls.empty());
  EXPECT_EQ(last.Calls, (std::vector<std::string>{"before x 1001", "after x 1001"}));
  EXPECT_EQ(Edit.GetHookedCommandHandlersCount(), 1);
  Edit.UnregisterCommandHandler(THookedCommandEvent(&last, &TCommandSpy::Hook));
}

TEST_F(CommandsTest, CommandsWithoutTheirDataAreRefused) {
  SetLines({"abc", "def"});
  Edit.CommandProcessor(ecGotoXY, 0);
  EXPECT_EQ(Edit.CaretXY(), (TBufferCoord{1, 1}));
  Edit.CommandProcessor(ecGotoXY, 0, TBufferCoord{3, 2});
  EXPECT_EQ(Edit.CaretXY(), (TBufferCoord{3, 2}));
  Edit.CommandProcessor(ecImeStr, 0);
  Edit.CommandProcessor(ecImeStr, 0, TBufferCoord{1, 1});
  EXPECT_EQ(Lines(), (std::vector<std::string>{"abc", "def"}));
  Edit.CommandProcessor(ecImeStr, 0, std::string("xy"));
  EXPECT_EQ(Lines(), (std::vector<std::string>{"abc", "dexyf"}));
}

TEST_F(CommandsTest, TextChangingCommandsDoNothingOnAReadOnlyEditor) {
  const TSrcEditorCommand edits[] = {ecDeleteLastChar, ecDeleteChar,   ecDeleteWord,     ecDeleteLastWord,
                                     ecDeleteBOL,      ecDeleteEOL,    ecDeleteLine,     ecClearAll,
                                     ecLineBreak,      ecInsertLine,   ecChar,           ecImeStr,
                                     ecUndo,           ecRedo,         ecCut,            ecPaste,
                                     ecBlockIndent,    ecBlockUnindent, ecTab,           ecShiftTab,
                                     ecUpperCase,      ecLowerCase,    ecToggleCase,     ecTitleCase,
                                     ecUpperCaseBlock, ecLowerCaseBlock, ecToggleCaseBlock};
  SetLines({"  first line", "second line"});
  Edit.CommandProcessor(ecGotoXY, 0, TBufferCoord{5, 1});
  Edit.CommandProcessor(ecChar, 'x');
  Edit.CommandProcessor(ecUndo, 0);  // one item to undo... and one to redo
  Edit.CommandProcessor(ecChar, 'y');
  MemoryClipboard();
  Edit.SetBlockBegin({3, 1});
  Edit.SetBlockEnd({4, 2});
  Edit.CommandProcessor(ecCopy, 0);
  Edit.SetReadOnly(true);
  const std::vector<std::string> text = Lines();
  const int undoItems = Edit.UndoList().ItemCount();
  for (TSrcEditorCommand command : edits) {
    Edit.SetBlockBegin({3, 1});
    Edit.SetBlockEnd({4, 2});
    Edit.CommandProcessor(command, 'z', std::string("ime"));
    EXPECT_EQ(Lines(), text) << command;
    EXPECT_EQ(Edit.UndoList().ItemCount(), undoItems) << command;
  }
  // Moving, selecting, scrolling, bookmarks, modes and copying still work.
  Edit.CommandProcessor(ecEditorTop, 0);
  Edit.CommandProcessor(ecSelRight, 0);
  EXPECT_EQ(Edit.SelText(), " ");
  Edit.CommandProcessor(ecCopy, 0);
  EXPECT_EQ(Clipboard().AsText(), " ");
  Edit.CommandProcessor(ecSetMarker3, 0);
  EXPECT_TRUE(Edit.IsBookmark(3));
  Edit.CommandProcessor(ecToggleMode, 0);
  EXPECT_FALSE(Edit.InsertMode());
  Edit.CommandProcessor(ecLineSelect, 0);
  EXPECT_EQ(Edit.SelectionMode(), smLine);
  Edit.CommandProcessor(ecSelectAll, 0);
  EXPECT_TRUE(Edit.SelAvail());
}

TEST_F(CommandsTest, TheCommandReleasesThePaintLockWhenAHandlerRaises) {
  SetLines({"abc"});
  TCommandSpy spy;
  Edit.OnChange = TNotifyEvent(&spy, &TCommandSpy::Throw);
  EXPECT_THROW(Edit.CommandProcessor(ecChar, 'x'), Exception);
  Edit.OnChange = nullptr;
  EXPECT_EQ(Edit.PaintLockCount(), 0);
  EXPECT_EQ(Edit.UndoList().BlockCount(), 0);
  Edit.CommandProcessor(ecChar, 'y');  // the editor goes on
  EXPECT_EQ(Lines(), std::vector<std::string>{"xyabc"});
}

// Commands at the edges of the text (column 1, an empty text, a window
// narrower than one column) raise nothing and change only what they should.
TEST_F(CommandsTest, CommandsAtTheEdgesOfTheTextRaiseNothing) {
  using Lines_ = std::vector<std::string>;
  struct Case {
    const char* Name;
    Lines_ Before;
    std::function<void()> Steps;
    Lines_ After;
  } cases[] = {
      {"Shift+Tab in column 1 with a tab width of 1", {" ab"},
       [&] {
         Edit.SetTabWidth(1);
         Goto(1, 1);
         Run(ecShiftTab);
       },
       {" ab"}},
      {"typing over a line selection in an empty text", {},
       [&] {
         Run(ecLineSelect);
         Goto(3, 1);
         Run(ecSelLeft);
         Run(ecChar, 'x');
       },
       {" x"}},
      {"Delete, Backspace, Cut, Enter and Paste there", {},
       [&] {
         for (TSrcEditorCommand command : {ecDeleteChar, ecDeleteLastChar, ecCut, ecLineBreak, ecPaste}) {
           SetLines({});
           Run(ecLineSelect);
           Goto(3, 1);
           Run(ecSelLeft);
           Run(command);
         }
       },
       {"x"}},
      {"redo of a column paste into an empty text", {},
       [&] {
         SetLines({"ab", "cd"});
         Run(ecColumnSelect);
         Select({1, 1}, {2, 2});
         Run(ecCopy);
         SetLines({});
         Edit.ClearUndo();
         Run(ecPaste);
         Edit.Undo();
         Edit.Redo();
       },
       {"a", "c"}},
      {"Home and End with word wrap in a window narrower than a column", {"  ab", "cd"},
       [&] {
         SetOption(eoEnhanceHomeKey, true);
         Edit.SetWordWrap(true);
         SizeTo(0, 10);
         Goto(4, 1);
         Run(ecLineStart);
         Run(ecLineEnd);
         Run(ecSelLineStart);
       },
       {"  ab", "cd"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Clipboard().SetAsText("x\r\n");
    SetLines(c.Before);
    Edit.ClearUndo();
    EXPECT_NO_THROW(c.Steps());
    EXPECT_EQ(c.After, Lines());
    Edit.SetWordWrap(false);
    SizeTo(80, 25);
    Edit.SetSelectionMode(smNormal);
  }
}

TEST_F(CommandsTest, SetMarkerTogglesOnItsLineAndMovesElsewhere) {
  SetLines({"a", "b", "c"});
  Edit.CommandProcessor(ecSetMarker3, 0, TBufferCoord{1, 2});
  int x = 0;
  int y = 0;
  ASSERT_TRUE(Edit.GetBookMark(3, x, y));
  EXPECT_EQ(y, 2);
  Edit.CommandProcessor(ecSetMarker3, 0, TBufferCoord{1, 3});
  ASSERT_TRUE(Edit.GetBookMark(3, x, y));
  EXPECT_EQ(y, 3);
  Edit.CommandProcessor(ecSetMarker3, 0, TBufferCoord{1, 3});
  EXPECT_FALSE(Edit.IsBookmark(3));
}

TEST_F(CommandsTest, PageDownMovesByTheWindowOrHalfOfIt) {
  std::vector<std::string> lines(100, "x");
  SetLines(lines);
  SizeTo(80, 21);
  struct TCase {
    std::vector<TSrcEditorOption> Options;
    int Rows;
  };
  for (const TCase& c : {TCase{{}, 21}, TCase{{eoHalfPageScroll}, 10}, TCase{{eoHalfPageScroll, eoScrollByOneLess}, 9}}) {
    TSrcEditorOptions options = Edit.Options();
    options.Exclude(eoHalfPageScroll);
    options.Exclude(eoScrollByOneLess);
    for (TSrcEditorOption option : c.Options) options.Include(option);
    Edit.SetOptions(options);
    Edit.CommandProcessor(ecEditorTop, 0);
    Edit.CommandProcessor(ecPageDown, 0);
    EXPECT_EQ(Edit.CaretY(), 1 + c.Rows);
  }
}

}  // namespace
}  // namespace vk::test
