#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/SrcEdit/Source/EditorFixture.h"

namespace vk::test {
namespace {

using Text = std::vector<std::string>;

struct Prompt {
  int Line;
  int Column;
};

class SearchReplaceTest : public EditorTest {
protected:
  SearchReplaceTest() {
    Engine = new TSrcEditSearch(nullptr);
    Edit.SetSearchEngine(Engine);
    Edit.OnReplaceText = TReplaceTextEvent(this, &SearchReplaceTest::Answer);
  }
  ~SearchReplaceTest() override { delete Engine; }

  // Answers the prompts in turn; raCancel once the answers run out.
  void Answer(TObject*, const std::string&, const std::string&, int line, int column, TSrcReplaceAction& action) {
    Prompts.push_back({line, column});
    EXPECT_EQ(Edit.SelText(), Edit.Lines().Get(line - 1).substr(column - 1, Edit.SelText().size()));
    action = Prompts.size() <= Answers.size() ? Answers[Prompts.size() - 1] : raCancel;
  }

  TSrcEditSearch* Engine;
  std::vector<TSrcReplaceAction> Answers;
  std::vector<Prompt> Prompts;
};

TEST_F(SearchReplaceTest, WithoutAnEngineNothingIsSearched) {
  SetLines({"abc"});
  Edit.SetSearchEngine(nullptr);
  try {
    Edit.SearchReplace("b", "", {});
    FAIL() << "no error";
  } catch (const ESrcEditError& e) {
    EXPECT_EQ(e.Message(), "No search engine has been assigned");
  }
  Edit.SetSearchEngine(Engine);
  EXPECT_EQ(Edit.SearchReplace("", "x", {ssoReplaceAll}), 0);
  EXPECT_EQ(Lines(), Text{"abc"});
  // A freed engine is forgotten.
  delete Engine;
  Engine = nullptr;
  EXPECT_EQ(Edit.SearchEngine(), nullptr);
}

TEST_F(SearchReplaceTest, APlainSearchSelectsTheFirstMatchInTheScope) {
  struct Case {
    const char* Name;
    Text Lines;
    TBufferCoord Caret;
    TBufferCoord SelBegin;  // == SelEnd: no selection
    TBufferCoord SelEnd;
    TSrcSelectionMode Mode;
    std::string Pattern;
    TSrcSearchOptions Options;
    int Found;
    TBufferCoord Begin;  // the selected match
    TBufferCoord End;
    TBufferCoord CaretAfter;
  } cases[] = {
      {"from the caret, skipping a match left of it", {"ab ab ab"}, {3, 1}, {3, 1}, {3, 1}, smNormal, "ab", {},
       1, {4, 1}, {6, 1}, {6, 1}},
      {"entire scope starts at the top", {"x", "ab ab"}, {4, 2}, {4, 2}, {4, 2}, smNormal, "ab",
       {ssoEntireScope}, 1, {1, 2}, {3, 2}, {3, 2}},
      {"backward, skipping a match that ends right of the caret", {"ab ab ab"}, {5, 1}, {5, 1}, {5, 1}, smNormal,
       "ab", {ssoBackwards}, 1, {1, 1}, {3, 1}, {1, 1}},
      {"backward over lines", {"ab", "cd", "x"}, {1, 3}, {1, 3}, {1, 3}, smNormal, "ab", {ssoBackwards}, 1,
       {1, 1}, {3, 1}, {1, 1}},
      {"case folded", {"xx", "AB"}, {1, 1}, {1, 1}, {1, 1}, smNormal, "ab", {}, 1, {1, 2}, {3, 2}, {3, 2}},
      {"match case", {"AB ab"}, {1, 1}, {1, 1}, {1, 1}, smNormal, "ab", {ssoMatchCase}, 1, {4, 1}, {6, 1},
       {6, 1}},
      {"whole word", {"abc ab"}, {1, 1}, {1, 1}, {1, 1}, smNormal, "ab", {ssoWholeWord}, 1, {5, 1}, {7, 1},
       {7, 1}},
      {"nothing found", {"abc"}, {1, 1}, {1, 1}, {1, 1}, smNormal, "zz", {}, 0, {1, 1}, {1, 1}, {1, 1}},
      {"empty text", {}, {1, 1}, {1, 1}, {1, 1}, smNormal, "zz", {ssoEntireScope}, 0, {1, 1}, {1, 1}, {1, 1}},
      {"selected only without a selection searches from the caret", {"ab ab"}, {2, 1}, {2, 1}, {2, 1}, smNormal,
       "ab", {ssoSelectedOnly}, 1, {4, 1}, {6, 1}, {6, 1}},
      {"selection: a match sticking out at its start is skipped", {"abab ab"}, {1, 1}, {2, 1}, {8, 1}, smNormal,
       "ab", {ssoSelectedOnly}, 1, {3, 1}, {5, 1}, {5, 1}},
      {"selection: a match sticking out at its end is skipped", {"xx ab", "ab"}, {1, 1}, {4, 1}, {2, 2}, smNormal,
       "ab", {ssoSelectedOnly, ssoBackwards}, 1, {4, 1}, {6, 1}, {4, 1}},
      {"line selection holds its whole lines", {"ab x", "x ab"}, {1, 1}, {3, 1}, {2, 2}, smLine, "ab",
       {ssoSelectedOnly, ssoBackwards}, 1, {3, 2}, {5, 2}, {3, 2}},
      {"column selection skips matches sticking out", {"ab  ", " ab ", "  ab"}, {1, 1}, {2, 1}, {4, 3}, smColumn,
       "ab", {ssoSelectedOnly}, 1, {2, 2}, {4, 2}, {4, 2}},
      // The first line's match lies in columns 9..10, right of the block.
      {"column selection in display columns", {"\tab", "abcd"}, {1, 1}, {1, 1}, {5, 2}, smColumn, "ab",
       {ssoSelectedOnly}, 1, {1, 2}, {3, 2}, {3, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    SetLines(c.Lines);
    Edit.SetSelectionMode(c.Mode);
    Edit.SetCaretXY(c.Caret);
    if (c.SelBegin != c.SelEnd) Select(c.SelBegin, c.SelEnd);
    EXPECT_EQ(Edit.SearchReplace(c.Pattern, "", c.Options), c.Found);
    if (c.Found > 0) {
      EXPECT_EQ(Edit.BlockBegin(), c.Begin);
      EXPECT_EQ(Edit.BlockEnd(), c.End);
      EXPECT_EQ(Edit.CaretXY(), c.CaretAfter);
      EXPECT_EQ(Edit.ActiveSelectionMode(), smNormal);
    }
    EXPECT_EQ(Lines(), c.Lines);
    Edit.SetSelectionMode(smNormal);
  }
}

TEST_F(SearchReplaceTest, PromptsAreAnsweredInTurn) {
  struct Case {
    const char* Name;
    std::vector<TSrcReplaceAction> Answers;
    TSrcSearchOptions Options;
    int Found;
    size_t Prompts;
    std::string After;
  } cases[] = {
      {"skip, replace, replace all", {raSkip, raReplace, raReplaceAll}, {ssoPrompt, ssoReplaceAll, ssoEntireScope},
       5, 3, "x-Y-Y-Y-Y"},
      {"cancel at once", {raCancel}, {ssoPrompt, ssoReplaceAll, ssoEntireScope}, 1, 1, "x-x-x-x-x"},
      {"replace, then cancel", {raReplace}, {ssoPrompt, ssoReplaceAll, ssoEntireScope}, 2, 2, "Y-x-x-x-x"},
      {"a single replace ends after its answer", {raSkip}, {ssoPrompt, ssoReplace, ssoEntireScope}, 1, 1,
       "x-x-x-x-x"},
      {"all skipped", {raSkip, raSkip, raSkip, raSkip, raSkip}, {ssoPrompt, ssoReplaceAll, ssoEntireScope}, 5, 5,
       "x-x-x-x-x"},
      {"backward", {raReplace, raSkip, raReplaceAll},
       {ssoPrompt, ssoReplaceAll, ssoEntireScope, ssoBackwards}, 5, 3, "Y-Y-Y-x-Y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    SetLines({"x-x-x-x-x"});
    Edit.SetCaretXY({1, 1});
    Answers = c.Answers;
    Prompts.clear();
    EXPECT_EQ(Edit.SearchReplace("x", "Y", c.Options), c.Found);
    EXPECT_EQ(Prompts.size(), c.Prompts);
    EXPECT_EQ(Lines(), Text{c.After});
  }
}

TEST_F(SearchReplaceTest, PromptsNameTheMatchesWhereTheyStandNow) {
  SetLines({"ab ab", "ab"});
  Answers = {raReplace, raReplace, raReplace};
  EXPECT_EQ(Edit.SearchReplace("ab", "xyz", {ssoPrompt, ssoReplaceAll, ssoEntireScope}), 3);
  ASSERT_EQ(Prompts.size(), 3u);
  EXPECT_EQ(Prompts[1].Column, 5);  // moved right by the first replacement
  EXPECT_EQ(Prompts[2].Line, 2);
  EXPECT_EQ(Lines(), (Text{"xyz xyz", "xyz"}));
}

TEST_F(SearchReplaceTest, ASkippedMatchIsNotFoundAgain) {
  SetLines({"x x"});
  Answers = {raSkip};
  EXPECT_EQ(Edit.SearchReplace("x", "Y", {ssoPrompt, ssoReplace}), 1);
  Answers = {raReplace};
  Prompts.clear();
  EXPECT_EQ(Edit.SearchReplace("x", "Y", {ssoPrompt, ssoReplace}), 1);
  EXPECT_EQ(Prompts[0].Column, 3);
  EXPECT_EQ(Lines(), Text{"x Y"});
}

TEST_F(SearchReplaceTest, ReplaceAllOfOneCharacterByThreeIsUndoneInOneStep) {
  SetLines({"a.b.c.d", "e.f"});
  Edit.SetCaretXY({1, 1});
  EXPECT_EQ(Edit.SearchReplace(".", "<->", {ssoReplaceAll}), 4);
  EXPECT_EQ(Lines(), (Text{"a<->b<->c<->d", "e<->f"}));
  EXPECT_TRUE(Edit.Modified());
  Edit.Undo();
  EXPECT_EQ(Lines(), (Text{"a.b.c.d", "e.f"}));
  EXPECT_FALSE(Edit.Modified());
  EXPECT_FALSE(Edit.CanUndo());
  Edit.Redo();
  EXPECT_EQ(Lines(), (Text{"a<->b<->c<->d", "e<->f"}));
}

// A replace-all is one undo step however many items it records: the undo
// limit counts steps, so it stays undoable whole after the next change or
// a save (which adds a group break).
TEST_F(SearchReplaceTest, AReplaceAllOverTheUndoLimitIsUndoneWhole) {
  struct Case {
    const char* Name;
    int MaxUndo;
    const char* Replacement;
    const char* Then;  // "save", "type" or nothing
    int Undos;
  } cases[] = {
      {"a hundred items allowed", 100, "xyz", "", 1},
      {"with line breaks", 100, "x\r\ny", "", 1},
      {"the default limit, then a save", 1024, "PORTC", "save", 1},
      {"the default limit, then a typed character", 1024, "PORTC", "type", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Edit.SetMaxUndo(c.MaxUndo);
    Text before;
    for (int n = 0; n < 1100; ++n) before.push_back("PORTB = " + std::to_string(n) + "; PORTB;");
    SetLines(before);
    Edit.ClearUndo();
    Edit.SetCaretXY({1, 1});
    EXPECT_EQ(Edit.SearchReplace("PORTB", c.Replacement, {ssoReplaceAll, ssoEntireScope}), 2200);
    if (std::string(c.Then) == "save") Edit.SetModified(false);
    if (std::string(c.Then) == "type") Run(ecChar, 'x');
    for (int i = 0; i < c.Undos; ++i) Edit.Undo();
    EXPECT_EQ(Lines(), before);
    EXPECT_FALSE(Edit.CanUndo());
    EXPECT_TRUE(Edit.CanRedo());
  }
}

TEST_F(SearchReplaceTest, ReplaceAllKeepsToTheSelectionWhileItsEndMoves) {
  struct Case {
    const char* Name;
    std::string Replacement;
    Text After;
  } cases[] = {
      {"longer", "xyz", {"q xyz xyz a", "a"}},
      {"shorter", "", {"q   a", "a"}},
      {"with line breaks", "1\r\n2", {"q 1", "2 1", "2 a", "a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    SetLines({"q a a a", "a"});
    Select({3, 1}, {6, 1});  // "a a"
    EXPECT_EQ(Edit.SearchReplace("a", c.Replacement, {ssoReplaceAll, ssoSelectedOnly}), 2);
    EXPECT_EQ(Lines(), c.After);
  }
}

TEST_F(SearchReplaceTest, LineBreaksInTheReplacementKeepLaterMatchesOfTheLineInPlace) {
  SetLines({"a,b,c", "d,e"});
  EXPECT_EQ(Edit.SearchReplace(",", ";\r\n", {ssoReplaceAll, ssoEntireScope}), 3);
  EXPECT_EQ(Lines(), (Text{"a;", "b;", "c", "d;", "e"}));
  Edit.Undo();
  EXPECT_EQ(Lines(), (Text{"a,b,c", "d,e"}));
}

TEST_F(SearchReplaceTest, AReadOnlyEditorIsSearchedButNeverChanged) {
  SetLines({"a a", "a"});
  Edit.SetReadOnly(true);
  EXPECT_EQ(Edit.SearchReplace("a", "b", {ssoReplaceAll, ssoEntireScope}), 3);
  Answers = {raReplace, raReplaceAll};
  EXPECT_EQ(Edit.SearchReplace("a", "b", {ssoReplaceAll, ssoPrompt, ssoEntireScope}), 3);
  EXPECT_EQ(Lines(), (Text{"a a", "a"}));
  EXPECT_EQ(Edit.UndoList().ItemCount(), 0);
  EXPECT_FALSE(Edit.Modified());
}

TEST_F(SearchReplaceTest, InLineModeAReplaceTakesTheMatchOnly) {
  SetLines({"one two", "three"});
  Edit.SetSelectionMode(smLine);
  EXPECT_EQ(Edit.SearchReplace("two", "2", {ssoReplace}), 1);
  EXPECT_EQ(Lines(), (Text{"one 2", "three"}));
  EXPECT_EQ(Edit.SelectionMode(), smLine);
  // A word selected by the caret's word command is running text too.
  Edit.SetCaretXY({2, 2});
  Edit.SetSelWord();
  EXPECT_EQ(Edit.ActiveSelectionMode(), smNormal);
  EXPECT_EQ(Edit.SelText(), "three");
}

TEST_F(SearchReplaceTest, AFailingHandlerLeavesLocksBalancedAndTheEditsUndoable) {
  SetLines({"a a a"});
  struct Thrower {
    int Calls = 0;
    void Answer(TObject*, const std::string&, const std::string&, int, int, TSrcReplaceAction& action) {
      if (++Calls == 2) throw Exception("stop");
      action = raReplace;
    }
  } thrower;
  Edit.OnReplaceText = TReplaceTextEvent(&thrower, &Thrower::Answer);
  EXPECT_THROW(Edit.SearchReplace("a", "b", {ssoPrompt, ssoReplaceAll}), Exception);
  EXPECT_EQ(Lines(), Text{"b a a"});
  EXPECT_EQ(Edit.PaintLockCount(), 0);
  EXPECT_EQ(Edit.UndoList().BlockCount(), 0);
  Edit.Undo();
  EXPECT_EQ(Lines(), Text{"a a a"});
}

// The program's own changes (a replacement between two positions, search
// and replace) stand where the buffer positions say, on a line far longer
// than the scroll width too, whether the caret may pass line ends or not;
// no other byte changes, and one Undo gives the file back.
TEST_F(SearchReplaceTest, TheProgramsChangesStandAtTheirBufferPositionsOnLongLines) {
  const std::string head = "head\r\n", tail = "\ntail\rend";
  const std::string line = std::string(1100, 'a') + "KEY" + std::string(400, 'b') + "KEY" + "c";  // at 1101, 1504
  const std::string bytes = head + line + tail;
  auto with = [&](size_t at, size_t length, const std::string& value) {
    return head + std::string(line).replace(at, length, value) + tail;
  };
  const struct {
    const char* Name;
    std::function<void()> Change;
    std::string Saved;
  } rows[] = {
      {"insert at column 1,500", [&] { Edit.ReplaceRange({1500, 2}, {1500, 2}, "X"); }, with(1499, 0, "X")},
      {"replace across column 1,024", [&] { Edit.ReplaceRange({1000, 2}, {1050, 2}, "Y"); }, with(999, 50, "Y")},
      {"replace from a short line into the long one",
       [&] { Edit.ReplaceRange({3, 1}, {1102, 2}, "Z"); }, "heZ" + line.substr(1101) + tail},
      {"replace all past the scroll width",
       [&] { Edit.SearchReplace("KEY", "k", {ssoReplaceAll, ssoEntireScope}); },
       head + std::string(1100, 'a') + "k" + std::string(400, 'b') + "kc" + tail},
      {"replace asked, the second hit skipped",
       [&] {
         Answers = {raReplace, raSkip};
         Edit.SearchReplace("KEY", "k", {ssoPrompt, ssoReplaceAll, ssoEntireScope});
       },
       with(1100, 3, "k")},
      {"replace next from the caret", [&] {
         Edit.SetCaretXY({1200, 2});
         Edit.SearchReplace("KEY", "k", {ssoReplace});
       },
       with(1503, 3, "k")},
  };
  for (bool pastEol : {false, true}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(std::string(row.Name) + (pastEol ? ", caret past line ends" : ""));
      SetOption(eoScrollPastEol, pastEol);
      LoadBytes(bytes);
      Edit.ClearUndo();
      Edit.SetCaretXY({1, 1});
      Answers.clear();
      Prompts.clear();
      row.Change();
      EXPECT_EQ(SavedBytes(), row.Saved);
      Edit.Undo();
      EXPECT_EQ(SavedBytes(), bytes);
    }
  }
}

}  // namespace
}  // namespace vk::test
