// Undo and redo over thousands of random edit sequences on CP949 files
// whose lines end in CR, LF and CR LF, one kind or mixed, with empty lines
// between them: every command in every selection mode, blocks of each mode
// and plain text from the clipboard (longer than the scroll width, ending
// in a lead byte), double-byte characters typed as two character messages,
// replace-all (of more than 1,024 hits in a large file) and other changes a
// program makes (the whole text replaced as a reload does), page and document moves, undo and redo in between, option
// and TAB-width changes, narrow and wrapped windows, empty documents, the
// default undo limit and a limit of a few steps.
// Column blocks drawn with Shift keys copy the block from where the caret
// stood to where it stands, also when a first key left it without width.
// Bookmarks and plain marks stand on random lines, some sharing one.
// The texts compared are the bytes a save writes. After each command the
// editor shows the lines those bytes read back as, and the caret stands on
// a character's first byte (and within its line without eoScrollPastEol);
// a block unindent straight after a block indent gives back the text, also
// of a column block whose corners name one character on lines with TABs.
// Each undo gives back exactly the text and the marks' places before the
// last change, or before a run of one typing or deleting command under
// eoGroupUndo, and each redo those after it; at the end undoing everything
// gives the original text and marks (or those after the last step the
// limit dropped) and redoing as many steps gives the final ones again.

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "tests/SrcEdit/Source/EditorFixture.h"

namespace vk::test {
namespace {

class UndoPropertyTest : public EditorTest, public ::testing::WithParamInterface<int> {
protected:
  UndoPropertyTest() { Edit.SetSearchEngine(&FEngine); }
  ~UndoPropertyTest() override { Edit.SetSearchEngine(nullptr); }

  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(FRandom); }
  bool Chance(int percent) { return Pick(1, 100) <= percent; }
  std::string Text() { return SavedBytes(); }

  void Command(TSrcEditorCommand command, char c = 0, const TSrcCommandData& data = {}) {
    Log += EditorCommandToCodeString(command);
    if (c) Log += Format("'%c'", c);
    Log += ' ';
    // An undo with nothing to undo leaves the caret alone.
    FUndid = command == ecUndo && Edit.CanUndo();
    auto run = [&] { Edit.CommandProcessor(command, c, data); };
    if (command == ecUndo)
      Undo(run);
    else if (command == ecRedo)
      Redo(run);
    else
      Change(UndoRunOf(command), run);
    // An undo followed by a change leaves the saved state behind for good.
    FSavedStateMayBeSkipped = FSavedStateMayBeSkipped || command == ecUndo;
  }

  // The steps undo and redo can take, as the text was before and after
  // each and where it began on the undo list.
  struct TStep {
    std::string Before;
    std::string After;
    TSrcEditorCommand Run;
    size_t Start;
    std::string MarksBefore;
    std::string MarksAfter;
  };
  // A change recorded on the undo list (more than a group break, which a
  // caret move adds) is a step; it ends what could be redone. It begins
  // after the group breaks its own caret moves added first (the limit may
  // have dropped them with the step before).
  void Change(TSrcEditorCommand run, const std::function<void()>& change) {
    const std::string before = Text();
    const std::string marksBefore = MarkPlaces();
    const TSrcEditUndoList& list = Edit.UndoList();
    size_t start = list.PushPosition();
    change();
    const size_t front = list.PushPosition() - static_cast<size_t>(list.ItemCount());
    while (start < list.PushPosition() &&
           (start < front || list.Items(static_cast<int>(start - front))->FChangeReason == crGroupBreak))
      ++start;
    if (start == list.PushPosition()) return;
    FDone.push_back({before, Text(), run, start, marksBefore, MarkPlaces()});
    FUndone.clear();
  }
  // One undo takes back the last step, or the last steps of one run under
  // eoGroupUndo, and leaves the text as it was before them.
  void Undo(const std::function<void()>& undo) {
    const std::string text = Text();
    const bool couldUndo = Edit.CanUndo();
    undo();
    if (!couldUndo) {
      ASSERT_EQ(text, Text()) << "an undo with nothing to undo\n" << Log;
      return;
    }
    ASSERT_FALSE(FDone.empty()) << "an undo of nothing done\n" << Log;
    const size_t start = Edit.UndoList().PushPosition();
    size_t first = FDone.size();
    while (first > 0 && FDone[first - 1].Start > start) --first;
    ASSERT_TRUE(first > 0 && FDone[first - 1].Start == start) << "an undo stopped inside a change\n" << Log;
    --first;
    ASSERT_EQ(FDone[first].Before, Text()) << "an undo did not give back the text before the change\n" << Log;
    ASSERT_EQ(FDone[first].MarksBefore, MarkPlaces()) << "an undo did not put the marks back\n" << Log;
    for (size_t i = first + 1; i < FDone.size(); ++i) {
      ASSERT_TRUE(Edit.Options().Contains(eoGroupUndo) && FDone[i].Run != ecNone && FDone[i].Run == FDone[first].Run)
          << "one undo took back two changes\n" << Log;
    }
    FUndone.emplace_back(FDone.begin() + static_cast<std::ptrdiff_t>(first), FDone.end());
    FDone.resize(first);
  }
  // One redo brings back what one undo took, as one step.
  void Redo(const std::function<void()>& redo) {
    const std::string text = Text();
    const size_t start = Edit.UndoList().PushPosition();
    redo();
    if (FUndone.empty()) {
      ASSERT_EQ(text, Text()) << "a redo with nothing to redo\n" << Log;
      return;
    }
    const std::vector<TStep>& undone = FUndone.back();
    ASSERT_EQ(undone.back().After, Text()) << "a redo did not give back the text after the change\n" << Log;
    ASSERT_EQ(undone.back().MarksAfter, MarkPlaces()) << "a redo did not put the marks where the change had\n" << Log;
    FDone.push_back({undone.front().Before, undone.back().After, undone.front().Run, start, undone.front().MarksBefore,
                     undone.back().MarksAfter});
    FUndone.pop_back();
  }
  void Option(TSrcEditorOption option, bool on) {
    Log += Format("%s%d ", on ? "+" : "-", static_cast<int>(option));
    // Undo steps then merge across the saved state or part there.
    FSavedStateMayBeSkipped = FSavedStateMayBeSkipped || option == eoGroupUndo;
    SetOption(option, on);
  }

  // A file of lines with indentation, TABs, trailing and only blanks,
  // double-byte characters and empty lines, broken by CR, LF and CR LF (one
  // kind or mixed), with a break at the end or not; none at all now and
  // then, and now and then some 750 lines (a replace-all of blanks then
  // has more than 1,024 hits).
  void RandomText() { LoadBytes(RandomBytes()); }
  std::string RandomBytes() {
    static const char* const Samples[] = {"int main(void)", "  x = y + 1;  ", "\tif (a) {", "", "",
                                          "    \xB0\xA1\xB0\xA2 text", "}  ", "word another word", "a", "x",
                                          "\xC7\xD1\xB1\xDB\t\xB0\xA1", "   ", "a\tb \t", "\xC7\xD1\xC7\xD1xyz",
                                          "9\x80\xFF@Z", "lead at the end\xFE", "x = PORTB;", "\tb = 2;"};
    constexpr int SampleCount = sizeof Samples / sizeof Samples[0];
    static const char* const Breaks[] = {"\r", "\n", "\r\n"};
    const int style = Pick(0, 3);  // 3: mixed
    auto lineBreak = [&] { return Breaks[style < 3 ? style : Pick(0, 2)]; };
    const int lines = Chance(10) ? 0 : Chance(2) ? Pick(700, 800) : Pick(1, 6);
    std::string file;
    for (int i = 0; i < lines; ++i) {
      if (i > 0) file += lineBreak();
      file += Samples[Pick(0, SampleCount - 1)];
    }
    if (lines > 0 && Chance(30)) file += lineBreak();
    return file;
  }
  // Bookmarks and plain marks, a few on one line now and then.
  void RandomMarks() {
    Edit.Marks().Clear();
    const int lines = std::max(1, Edit.Lines().Count());
    for (int i = Pick(0, 6); i > 0; --i) {
      const int line = Pick(1, lines);
      const int column = Pick(1, 12);
      if (Chance(50)) {
        Edit.SetBookMark(Pick(0, 9), column, line);
        continue;
      }
      auto mark = std::make_unique<TSrcEditMark>(&Edit);
      mark->SetLine(line);
      mark->SetChar(column);
      Edit.Marks().Add(std::move(mark));
    }
  }
  TBufferCoord RandomPoint() {
    const int count = Edit.Lines().Count();
    const int line = Pick(1, count + 1);
    const int length = line <= count ? static_cast<int>(Edit.Lines().Get(line - 1).size()) : 0;
    return {Pick(1, length + 4), line};
  }
  void Goto(TSrcEditorCommand command) { Goto(command, RandomPoint()); }
  void Goto(TSrcEditorCommand command, const TBufferCoord& point) {
    Log += Format("(%d,%d)", point.Char, point.Line);
    Command(command, 0, point);
  }
  void Select() {
    static const TSrcEditorCommand Modes[] = {ecNormalSelect, ecLineSelect, ecColumnSelect};
    Command(Modes[Pick(0, 2)]);
    Goto(ecGotoXY);
    if (Edit.SelectionMode() == smColumn && Chance(40)) {
      DrawWithShiftKeys();
      return;
    }
    if (Edit.SelectionMode() != smColumn || Chance(50)) {
      Goto(ecSelGotoXY);
      return;
    }
    // Column blocks whose corners name one character (or its neighbour,
    // which an indent makes the same), in other columns where a TAB stands
    // before either.
    Goto(ecSelGotoXY, {Edit.CaretX() + Pick(-1, 1), RandomPoint().Line});
    if (Chance(50)) CommandThenUnindent(ecBlockIndent);
  }
  // Shift keys draw a column block, often one row up or down first (a block
  // of no width yet): it keeps where the caret stood as one corner, and
  // copies what the block set at once between the two corners copies.
  void DrawWithShiftKeys() {
    const TBufferCoord anchor = Edit.CaretXY();
    if (Chance(70)) Command(Chance(50) ? ecSelUp : ecSelDown);
    // Each Shift key: the selecting twins of the caret moves.
    for (int i = Pick(1, 3); i > 0; --i) Command(Pick(ecSelLeft, ecSelEditorBottom));
    auto copied = [&] {
      Clipboard().Clear();
      Command(ecCopy);
      return Clipboard().AsText();
    };
    const std::string drawn = copied();
    const TBufferCoord corner = Edit.BlockBegin() == anchor ? Edit.BlockEnd() : Edit.BlockBegin();
    Goto(ecGotoXY, anchor);
    Goto(ecSelGotoXY, corner);
    ASSERT_EQ(copied(), drawn) << "Shift keys drew another column block\n" << Log;
  }
  // What another program or this editor left on the clipboard.
  void FillClipboard() {
    // Longer than the scroll width, and ending in a lead byte, too.
    static const std::string Long(1030, 'b');
    static const std::string Plain[] = {"xy",     "xy\r\n", "a\r\nb",         "\r\n",         "p\nq\rr",     "\t z  ",
                                        "\xB0\xA1\r\n", Long,     "x\r\n" + Long, "q\xFE", "\xB0\xA1\xC7", "a\r\n\xFE\r\n"};
    constexpr int PlainCount = sizeof Plain / sizeof Plain[0];
    const int kind = Pick(0, 2);
    if (kind == 0) {
      Select();
      Command(ecCopy);
      return;
    }
    const std::string text = Plain[Pick(0, PlainCount - 1)];
    Log += "clipboard ";
    if (kind == 1) {
      Clipboard().SetAsText(text);
    } else {
      // A block of any mode, the empty one included.
      const std::string block = Chance(20) ? std::string() : text;
      Clipboard().SetAsText(block);
      Clipboard().SetData(BlockTypeClipboardFormat(), std::string(1, static_cast<char>(Pick(0, 2))) + block + '\0');
    }
  }
  void ChangeSettings() {
    switch (Pick(0, 6)) {
      case 0: Option(eoGroupUndo, !Edit.Options().Contains(eoGroupUndo)); break;
      case 1: Option(eoTrimTrailingSpaces, !Edit.Options().Contains(eoTrimTrailingSpaces)); break;
      case 2: Option(eoScrollPastEol, !Edit.Options().Contains(eoScrollPastEol)); break;
      case 3: Option(eoSmartTabs, !Edit.Options().Contains(eoSmartTabs)); break;
      case 4: Option(eoTabsToSpaces, !Edit.Options().Contains(eoTabsToSpaces)); break;
      case 5: {
        static const int Widths[] = {1, 2, 4, 8};
        const int width = Widths[Pick(0, 3)];
        Log += Format("tab%d ", width);
        Edit.SetTabWidth(width);
        break;
      }
      default: {
        // A window narrower than one column, with and without word wrap.
        const bool narrow = Chance(50);
        Log += narrow ? "narrow " : "wide ";
        SizeTo(narrow ? 0 : 80, 25);
        Edit.SetWordWrap(Chance(50));
        break;
      }
    }
  }
  // Unindent straight after an indent gives back the bytes (unless the
  // indent's line lost its trailing blanks).
  void CommandThenUnindent(TSrcEditorCommand command) {
    const std::string before = Text();
    Command(command);
    if (command == ecBlockIndent && Text() != before && !Edit.Options().Contains(eoTrimTrailingSpaces)) {
      Command(ecBlockUnindent);
      ASSERT_EQ(before, Text()) << "an unindent straight after an indent changed the text\n" << Log;
    }
  }
  void RandomEdit() {
    static const TSrcEditorCommand Simple[] = {
        ecDeleteLastChar, ecDeleteChar,    ecDeleteWord,   ecDeleteLastWord, ecDeleteBOL,    ecDeleteEOL,
        ecDeleteLine,     ecLineBreak,     ecInsertLine,   ecTab,            ecShiftTab,     ecBlockIndent,
        ecBlockUnindent,  ecUpperCase,     ecToggleCase,   ecLowerCaseBlock, ecTitleCase,    ecCut,
        ecPaste,          ecToggleMode,    ecSelWord,      ecLeft,           ecRight,        ecDown,
        ecUp,             ecLineStart,     ecLineEnd,      ecSelLeft,        ecSelLineEnd,   ecPageUp,
        ecPageDown,       ecPageTop,       ecPageBottom,   ecEditorTop,      ecEditorBottom, ecSelPageDown,
        ecSelPageBottom,  ecSelEditorTop,  ecNormalSelect, ecLineSelect,     ecColumnSelect, ecSelectAll,
        ecUndo,           ecRedo,          ecWordRight,    ecSelWordLeft};
    constexpr int SimpleCount = sizeof Simple / sizeof Simple[0];
    Log += "\n";
    FUndid = false;
    switch (Pick(0, 13)) {
      case 0: Goto(ecGotoXY); break;
      case 1: Select(); break;
      case 2: {
        static const char Typed[] = "ab x(; ";
        for (int i = Pick(1, 3); i > 0; --i) Command(ecChar, Typed[Pick(0, 6)]);
        break;
      }
      case 3: {
        static const char* const Composed[] = {"\xB0\xA1", "xyz", "\xC7\xD1" "a"};
        Command(ecImeStr, 0, std::string(Composed[Pick(0, 2)]));
        break;
      }
      case 4: FillClipboard(); break;
      case 5: ChangeSettings(); break;
      case 9: {
        // Replace-all, in the whole text or the selection.
        static const char* const Found[] = {"a", " ", "\xB0\xA1", "x"};
        static const char* const With[] = {"", "xyz", " ", "q\r\n"};
        TSrcSearchOptions options{ssoReplaceAll, Chance(50) ? ssoEntireScope : ssoSelectedOnly};
        if (Chance(30)) options.Include(ssoBackwards);
        Log += "replace-all ";
        Change(ecNone, [&] { Edit.SearchReplace(Found[Pick(0, 3)], With[Pick(0, 3)], options); });
        break;
      }
      case 10: {
        // A double-byte character typed as two character messages, after
        // any byte, over a selection or not, inserting or overwriting.
        static const unsigned char Leads[] = {0x81, 0xB0, 0xC7, 0xFE};
        static const unsigned char Trails[] = {0xA1, 0xD1, 0x81, 0xFE, 'A', 'z'};
        if (Chance(40)) Select();
        if (Chance(30)) Command(ecToggleMode);
        const unsigned char lead = Leads[Pick(0, 3)];
        const unsigned char trail = Trails[Pick(0, 5)];
        Log += Format("WM_CHAR %02X %02X ", lead, trail);
        Change(ecChar, [&] {
          Edit.Perform(WM_CHAR, lead, 0);
          CheckCaret(false);
          Edit.Perform(WM_CHAR, trail, 0);
        });
        break;
      }
      case 11: {
        // What the program's commands do: a replacement of the selection
        // (comments, separator, header, include, bit to byte) or of the
        // next hit; or the whole text, as a window's reload does.
        if (Chance(20)) {
          const std::string bytes = RandomBytes();
          const int count = Edit.Lines().Count();
          const TBufferCoord end{static_cast<int>(Edit.Lines().GetView(count - 1).size()) + 1, std::max(count, 1)};
          Log += "reload ";
          Change(ecNone, [&] { Edit.ReplaceRange({1, 1}, end, bytes, tbKept); });
        } else if (Chance(50)) {
          static const char* const With[] = {"/*x*/", "", "//---\r\n", "0X3F"};
          const char* with = With[Pick(0, 3)];
          Log += Format("SetSelText(%s) ", with);
          Change(ecNone, [&] { Edit.SetSelText(with); });
        } else {
          Log += "replace ";
          Change(ecNone, [&] { Edit.SearchReplace("a", "A\xB0\xA1", {ssoReplace}); });
        }
        break;
      }
      case 12: {
        // A run of Backspace or Delete.
        const TSrcEditorCommand deletion = Chance(50) ? ecDeleteLastChar : ecDeleteChar;
        for (int i = Pick(1, 3); i > 0; --i) Command(deletion);
        break;
      }
      case 6: {
        // Redo right after a change of any kind gives its text back.
        Command(Simple[Pick(0, SimpleCount - 1)]);
        const std::string changed = Text();
        Command(ecUndo);
        const bool undid = FUndid;
        Command(ecRedo);
        if (undid) {
          ASSERT_EQ(changed, Text()) << Log;
        }
        break;
      }
      default: CommandThenUnindent(Simple[Pick(0, SimpleCount - 1)]); break;
    }
  }

  // The caret on the first byte of a character and, without
  // eoScrollPastEol, within its line, except where eoTrimTrailingSpaces
  // dropped blanks under it (the caret keeps its place after them, as
  // typing a blank or Tab puts it, and a redo brings it back there); after
  // an undo always.
  void CheckCaret(bool undone) {
    const int line = Edit.CaretY();
    const std::string text = line <= Edit.Lines().Count() ? Edit.Lines().Get(line - 1) : std::string();
    const int column = Edit.CaretX();
    ASSERT_FALSE(column <= static_cast<int>(text.size()) &&
                 CodePage::ByteTypeAt(text, static_cast<size_t>(column - 1)) == mbTrailByte)
        << "caret on a trail byte at (" << column << "," << line << ")\n"
        << Log;
    const bool trimmedBlanks = Edit.Options().Contains(eoTrimTrailingSpaces) && !undone;
    if (!Edit.Options().Contains(eoScrollPastEol) && !trimmedBlanks) {
      ASSERT_LE(column, static_cast<int>(text.size()) + 1) << "caret beyond its line at line " << line << "\n"
                                                          << Log;
    }
  }

  // The editor shows the lines its saved bytes read back as (one empty
  // line shows as no line).
  void CheckShownAsSaved() {
    std::vector<std::string> shown = Lines();
    if (shown == std::vector<std::string>{""}) shown.clear();
    ASSERT_EQ(LinesReadBack(Text()), shown) << "the saved bytes read back otherwise\n" << Log;
  }

  void RunSequence(unsigned seed) {
    FRandom.seed(seed);
    Log.clear();
    TSrcEditorOptions options = TSrcEditorOptions::FromMask(SRCEDIT_DEFAULT_OPTIONS);
    for (TSrcEditorOption option : {eoGroupUndo, eoTabsToSpaces, eoSmartTabs, eoTrimTrailingSpaces, eoScrollPastEol,
                                    eoAutoIndent, eoEnhanceHomeKey, eoTabIndent, eoSmartTabDelete})
      Chance(50) ? options.Include(option) : options.Exclude(option);
    Clipboard().Clear();
    Edit.SetWordWrap(false);
    SizeTo(80, 25);
    Edit.SetOptions(options);
    Edit.SetTabWidth(Chance(70) ? 8 : 4);
    Edit.SetInsertMode(true);
    Edit.SetSelectionMode(smNormal);
    // The default limit, or a few steps.
    Edit.SetMaxUndo(Chance(90) ? 1024 : Pick(1, 4));
    RandomText();
    RandomMarks();
    Log = Format("options %x, tab width %d, undo limit %d, text \"%s\", marks %s", Edit.Options().Mask(),
                 Edit.TabWidth(), Edit.MaxUndo(), Text().c_str(), MarkPlaces().c_str());
    Edit.ClearUndo();
    FDone.clear();
    FUndone.clear();
    Edit.SetCaretXY({1, 1});
    Edit.SetModified(true);
    Edit.SetModified(false);
    const std::string original = Text();
    const std::string originalMarks = MarkPlaces();
    const int edits = Pick(5, 30);
    const int saveAt = Pick(0, edits);
    std::string saved = original;
    FSavedStateMayBeSkipped = false;
    for (int i = 0; i <= edits; ++i) {
      if (i == saveAt) {
        Edit.SetModified(false);
        saved = Text();
      }
      if (i == edits) break;
      try {
        RandomEdit();
      } catch (const std::exception& e) {
        FAIL() << "raised \"" << e.what() << "\"\n" << Log;
      }
      CheckCaret(FUndid);
      CheckShownAsSaved();
      if (HasFatalFailure()) return;
    }
    const std::string final = Text();
    const std::string finalMarks = MarkPlaces();
    const bool couldRedo = Edit.CanRedo();
    bool savedStateSeen = !Edit.Modified();
    auto checkSavedState = [&] {
      if (Edit.Modified()) return;
      savedStateSeen = true;
      ASSERT_EQ(Text(), saved) << Log;
    };
    int steps = 0;
    try {
      for (; Edit.CanUndo() && steps < 1000; ++steps) {
        Undo([this] { Edit.Undo(); });
        CheckCaret(true);
        CheckShownAsSaved();
        checkSavedState();
        if (HasFatalFailure()) return;
      }
      // What the limit dropped stays done.
      ASSERT_EQ(Text(), FDone.empty() ? original : FDone.back().After) << Log;
      ASSERT_EQ(MarkPlaces(), FDone.empty() ? originalMarks : FDone.back().MarksAfter) << Log;
      for (int i = 0; i < steps; ++i) {
        Redo([this] { Edit.Redo(); });
        CheckCaret(false);
        CheckShownAsSaved();
        checkSavedState();
        if (HasFatalFailure()) return;
      }
    } catch (const std::exception& e) {
      FAIL() << "undo or redo raised \"" << e.what() << "\"\n" << Log;
    }
    ASSERT_EQ(Text(), final) << Log;
    ASSERT_EQ(MarkPlaces(), finalMarks) << Log;
    ASSERT_EQ(Edit.CanRedo(), couldRedo) << Log;
    // A save before the dropped steps cannot be reached.
    if (!FSavedStateMayBeSkipped && !Edit.UndoList().FullUndoImpossible()) {
      EXPECT_TRUE(savedStateSeen) << Log;
    }
    if (final != saved) {
      EXPECT_TRUE(Edit.Modified()) << Log;
    }
  }

  std::string Log;

private:
  std::vector<TStep> FDone;
  // What each undo took back, the last undo last.
  std::vector<std::vector<TStep>> FUndone;
  std::mt19937 FRandom;
  TSrcEditSearch FEngine{nullptr};
  bool FUndid = false;
  bool FSavedStateMayBeSkipped = false;
};

TEST_P(UndoPropertyTest, UndoAllAndRedoAllRestoreTheTexts) {
  constexpr unsigned Sequences = 750;
  for (unsigned seed = GetParam() * Sequences + 1; seed <= (GetParam() + 1) * Sequences; ++seed) {
    SCOPED_TRACE(seed);
    RunSequence(seed);
    if (HasFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Shards, UndoPropertyTest, ::testing::Range(0, 8));

}  // namespace
}  // namespace vk::test
