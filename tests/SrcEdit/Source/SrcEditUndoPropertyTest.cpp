// Undo and redo over thousands of random edit sequences on CP949 text: every
// command in every selection mode, blocks of each mode and plain text from
// the clipboard, replace-all, page and document moves, undo and redo in
// between, option and TAB-width changes, narrow and wrapped windows and
// empty documents.
// After each command the caret stands on a character's first byte (and
// within its line without eoScrollPastEol); at the end undoing everything
// gives the original text byte for byte and redoing as many steps gives the
// final text again.

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
  std::string Text() const { return Edit.Lines().GetTextStr(); }

  void Command(TSrcEditorCommand command, char c = 0, const TSrcCommandData& data = {}) {
    Log += EditorCommandToCodeString(command);
    if (c) Log += Format("'%c'", c);
    Log += ' ';
    // An undo with nothing to undo leaves the caret alone.
    FUndid = command == ecUndo && Edit.CanUndo();
    Edit.CommandProcessor(command, c, data);
    // An undo followed by a change leaves the saved state behind for good.
    FSavedStateMayBeSkipped = FSavedStateMayBeSkipped || command == ecUndo;
  }
  void Option(TSrcEditorOption option, bool on) {
    Log += Format("%s%d ", on ? "+" : "-", static_cast<int>(option));
    // Undo steps then merge across the saved state or part there.
    FSavedStateMayBeSkipped = FSavedStateMayBeSkipped || option == eoGroupUndo;
    SetOption(option, on);
  }

  // Lines with indentation, TABs, trailing and only blanks and double-byte
  // characters; none at all now and then.
  void RandomText() {
    static const char* const Samples[] = {"int main(void)", "  x = y + 1;  ", "\tif (a) {", "",
                                          "    \xB0\xA1\xB0\xA2 text", "}  ", "word another word",
                                          "\xC7\xD1\xB1\xDB\t\xB0\xA1", "   ", "a\tb \t", "\xC7\xD1\xC7\xD1xyz"};
    std::vector<std::string> lines;
    for (int i = Chance(10) ? 0 : Pick(1, 6); i > 0; --i) lines.push_back(Samples[Pick(0, 10)]);
    SetLines(lines);
  }
  TBufferCoord RandomPoint() {
    const int count = Edit.Lines().Count();
    const int line = Pick(1, count + 1);
    const int length = line <= count ? static_cast<int>(Edit.Lines().Get(line - 1).size()) : 0;
    return {Pick(1, length + 4), line};
  }
  void Goto(TSrcEditorCommand command) {
    const TBufferCoord point = RandomPoint();
    Log += Format("(%d,%d)", point.Char, point.Line);
    Command(command, 0, point);
  }
  void Select() {
    static const TSrcEditorCommand Modes[] = {ecNormalSelect, ecLineSelect, ecColumnSelect};
    Command(Modes[Pick(0, 2)]);
    Goto(ecGotoXY);
    Goto(ecSelGotoXY);
  }
  // What another program or this editor left on the clipboard.
  void FillClipboard() {
    static const char* const Plain[] = {"xy", "xy\r\n", "a\r\nb", "\r\n", "p\nq\rr", "\t z  ", "\xB0\xA1\r\n"};
    const int kind = Pick(0, 2);
    if (kind == 0) {
      Select();
      Command(ecCopy);
      return;
    }
    const std::string text = Plain[Pick(0, 6)];
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
    switch (Pick(0, 10)) {
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
        Edit.SearchReplace(Found[Pick(0, 3)], With[Pick(0, 3)], options);
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
      default: Command(Simple[Pick(0, SimpleCount - 1)]); break;
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
    RandomText();
    Log = Format("options %x, tab width %d, text \"%s\"", Edit.Options().Mask(), Edit.TabWidth(), Text().c_str());
    Edit.ClearUndo();
    Edit.SetCaretXY({1, 1});
    Edit.SetModified(true);
    Edit.SetModified(false);
    const std::string original = Text();
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
      if (HasFatalFailure()) return;
    }
    const std::string final = Text();
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
        Edit.Undo();
        CheckCaret(true);
        checkSavedState();
        if (HasFatalFailure()) return;
      }
      ASSERT_EQ(Text(), original) << Log;
      for (int i = 0; i < steps; ++i) {
        Edit.Redo();
        CheckCaret(false);
        checkSavedState();
        if (HasFatalFailure()) return;
      }
    } catch (const std::exception& e) {
      FAIL() << "undo or redo raised \"" << e.what() << "\"\n" << Log;
    }
    ASSERT_EQ(Text(), final) << Log;
    ASSERT_EQ(Edit.CanRedo(), couldRedo) << Log;
    if (!FSavedStateMayBeSkipped) {
      EXPECT_TRUE(savedStateSeen) << Log;
    }
    if (final != saved) {
      EXPECT_TRUE(Edit.Modified()) << Log;
    }
  }

  std::string Log;

private:
  std::mt19937 FRandom;
  TSrcEditSearch FEngine{nullptr};
  bool FUndid = false;
  bool FSavedStateMayBeSkipped = false;
};

TEST_P(UndoPropertyTest, UndoAllAndRedoAllRestoreTheTexts) {
  constexpr unsigned Sequences = 2500;
  for (unsigned seed = GetParam() * Sequences + 1; seed <= (GetParam() + 1) * Sequences; ++seed) {
    SCOPED_TRACE(seed);
    RunSequence(seed);
    if (HasFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Shards, UndoPropertyTest, ::testing::Range(0, 4));

}  // namespace
}  // namespace vk::test
