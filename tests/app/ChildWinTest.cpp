// The document window: the stored settings applied when it is shown, the
// document command, the close question, and the status bar and command
// states its editor's events keep.

#include <fcntl.h>
#include <sys/stat.h>

#include <functional>

#include "SrcEdit/Source/SrcEditKeyCmds.h"
#include "services/SettingsStore.h"
#include "services/SharedTables.h"
#include "platform/Clipboard.h"
#include "platform/FileStamps.h"
#include "platform/InputState.h"
#include "platform/Registry.h"
#include "platform/ScopeGuard.h"
#include "platform/Streams.h"
#include "tests/app/IdeTestSupport.h"

namespace vk::test {
namespace {

// The file clock of a row: the real one; one whose single tick holds every
// write of the test, as a coarse file system's would; or that, with the
// file stamped a tick ahead, and the clock reaching the stamp once the file
// was opened, or only after the window's first time to the front.
enum TClock { ckReal, ckCoarse, ckStampAheadReached, ckStampAheadReachedLater };
constexpr int64_t kCoarseTickNs = 1'000'000'000'000'000'000;
constexpr int64_t kAheadNs = 4'100'000'000'000'000'000;  // early in 2100
int64_t gClockNs = 0;  // 0: the real time

int64_t TestClock() {
  if (gClockNs) return gClockNs;
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void StampAhead(const std::string& path) {
  const timespec times[2] = {{kAheadNs / 1'000'000'000, 0}, {kAheadNs / 1'000'000'000, 0}};
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

class ChildWinTest : public TIdeCase {
protected:
  ChildWinTest() { StartIde(); }
  template <class T>
  static void Store(const std::string& key, const std::string& name, T value) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(SettingsKeyPath(key), true));
    if constexpr (std::is_same_v<T, int>)
      registry.WriteInteger(name, value);
    else
      registry.WriteString(name, value);
  }
  TMDIChild* OpenFile(const std::string& name, const std::string& text) {
    WriteTextFile(Project.File(name), text);
    Open(Project.File(name));
    return MainForm->ActiveDocument();
  }
};

TEST_F(ChildWinTest, EveryShowAppliesTheStoredSettings) {
  Store("Editor", EditorValue::Gutter, 0);
  Store("Editor", EditorValue::GutterWidth, 40);
  Store("Editor", EditorValue::EditorFont, std::string("DejaVu Sans Mono"));
  Store("Editor", EditorValue::EditorFontSize, 14);
  Store("Editor", EditorValue::SmartTabBool, 1);
  Store("Editor", EditorValue::InserModeBool, 0);
  Store("Editor", EditorValue::EditorTabstop, std::string("4"));
  Store("Editor", EditorValue::EditorUndoLimit, std::string("77"));
  for (int i = 0; i < HighlighterAttrCount; ++i) Store(AttrKeyNames[i], AttributeValue::Foreground, 0x010101 * i);
  MainForm->FileNewCmd->Execute();
  TSrcEdit& editor = *MainForm->ActiveDocument()->Editor;
  EXPECT_FALSE(editor.Gutter().Visible());
  EXPECT_FALSE(MainForm->ActiveDocument()->EditLineNumber1->Checked());
  EXPECT_EQ(editor.Gutter().Width(), 40);
  EXPECT_EQ(editor.Font().Name(), "DejaVu Sans Mono");
  EXPECT_EQ(editor.Font().Size(), 14);
  EXPECT_TRUE(editor.Options().Contains(eoSmartTabs));
  EXPECT_FALSE(editor.InsertMode());
  EXPECT_EQ(editor.TabWidth(), 4);
  EXPECT_EQ(editor.MaxUndo(), 77);
  EXPECT_EQ(editor.Highlighter(), MainForm->SrcAvrHl);
  for (int i = 0; i < HighlighterAttrCount; ++i)
    EXPECT_EQ(HighlighterAttribute(*MainForm->SrcAvrHl, i).Foreground(), 0x010101 * i) << AttrKeyNames[i];

  // A value of another kind ends the reading of its key: what comes before
  // it applies to the next window, the rest keeps the editor's own state.
  Store("Editor", EditorValue::Gutter, 1);
  Store("Editor", EditorValue::GutterWidth, std::string("55"));
  MainForm->FileNewCmd->Execute();
  TSrcEdit& next = *MainForm->ActiveDocument()->Editor;
  EXPECT_TRUE(next.Gutter().Visible());
  EXPECT_TRUE(MainForm->ActiveDocument()->EditLineNumber1->Checked());
  EXPECT_NE(next.Gutter().Width(), 55);
  EXPECT_NE(next.TabWidth(), 4);
}

TEST_F(ChildWinTest, TheDesignRemovesTwoKeysAndSharesTheHighlighter) {
  MainForm->FileNewCmd->Execute();
  TSrcEdit& editor = *MainForm->ActiveDocument()->Editor;
  EXPECT_LT(editor.Keystrokes().FindShortcut(ShortCut(VK_RETURN, {ssShift})), 0);
  EXPECT_LT(editor.Keystrokes().FindShortcut(ShortCut(VK_F1, {})), 0);
  EXPECT_GE(editor.Keystrokes().FindShortcut(ShortCut(VK_RETURN, {})), 0);
  EXPECT_EQ(editor.RightEdge(), 100);
  EXPECT_TRUE(editor.WantTabs());
}

// A paste of another program's text, by Ctrl+V or from the Edit menu, says
// how many of its characters the code page has no form for: each became
// '?'. The program's own text carries every byte and pastes without a word.
TEST_F(ChildWinTest, APasteSaysHowManyCharactersBecameQuestionMarks) {
  TSrcEdit& editor = *OpenFile("main.c", "")->Editor;
  auto& desktop = static_cast<TMemoryClipboard&>(Clipboard().Backend());
  const auto ctrlV = [] { PressKey('V', {ssCtrl}); };
  const struct {
    const char* Name;
    std::function<void()> Copy;
    std::function<void()> Paste;
    const char* Box;  // nullptr: none
  } cases[] = {
      {"one", [&] { desktop.PutForeignText("caf? ?", 1); }, ctrlV,
       "1 character of the pasted text has no form in the code page and was pasted as \"?\"."},
      {"three, from the Edit menu", [&] { desktop.PutForeignText("caf? ?", 3); },
       [] { MainForm->EditPasteCmd->Execute(); },
       "3 characters of the pasted text have no form in the code page and were pasted as \"?\"."},
      {"none", [&] { desktop.PutForeignText("caf? ?", 0); }, ctrlV, nullptr},
      {"the program's own",
       [&] {
         desktop.PutForeignText("caf? ?", 2);
         editor.SrcSetText("caf? ?");
         editor.SelectAll();
         editor.CopyToClipboard();
         editor.ClearAll();
       },
       ctrlV, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    editor.ClearAll();
    c.Copy();
    MessageBoxAnswers().Clear();
    if (c.Box) MessageBoxAnswers().Push(IDOK);
    c.Paste();
    EXPECT_EQ(editor.Lines().Get(0), "caf? ?");
    ASSERT_EQ(MessageBoxAnswers().Requests().size(), c.Box ? 1u : 0u);
    if (c.Box) {
      EXPECT_EQ(MessageBoxAnswers().Requests()[0].Text, c.Box);
    }
  }
  editor.SetModified(false);
}

TEST_F(ChildWinTest, TheDocumentCommandSavesOrRunsThePopupCommands) {
  CreateSearchDialogs();
  TMDIChild* document = OpenFile("main.c", "old");
  const struct {
    int Code;
    bool Saves;
    const char* FindText;  // what the find dialog was shown with; nullptr: no dialog
  } cases[] = {{dcSave, true, nullptr},
               {dcSaveAll, true, nullptr},
               {13, false, nullptr},
               {dcFind, false, "new"},
               {dcFindToolbar, false, "from the box"}};
  MainForm->ComboBox2Find->SetText("from the box");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Code);
    const std::string before = ReadTextFile(Project.File("main.c"));
    const std::string text = "new " + std::to_string(c.Code);
    document->Editor->SrcSetText("");
    document->Editor->SetSelText(text);
    document->Editor->SetCaretAndSelection({4, 1}, {1, 1}, {4, 1});
    std::string shown;
    if (c.FindText) {
      ModalAnswers().PushResponder([&](TCustomForm* const&) {
        shown = FindForm->ComboFindText->Text();
        return mrCancel;
      });
    }
    EXPECT_EQ(document->Perform(WM_DOCUMENTCOMMAND, static_cast<uintptr_t>(c.Code), 0), 0);
    EXPECT_EQ(ReadTextFile(Project.File("main.c")), c.Saves ? text : before);
    EXPECT_EQ(document->Editor->Modified(), !c.Saves);
    EXPECT_EQ(shown, c.FindText ? c.FindText : "");
    EXPECT_EQ(FindFromToolbarFlag, 0);
  }
}

// Close and Close All ask the same question of a changed window, named or
// new: Yes saves (a new one through the Save dialog), No discards, Cancel or
// a cancelled Save dialog keeps the window with its text.
TEST_F(ChildWinTest, ClosingAChangedWindowAsksAndCancelKeepsIt) {
  const struct {
    const char* Caption;
    bool CloseAll;  // else Close
    int Answer;
    int Dialog;  // 0: none, 1: a name chosen, 2: cancelled
    bool Stays;
    const char* Saved;
  } cases[] = {
      {"main.c", false, IDYES, 0, false, "new"},    {"main.c", true, IDNO, 0, false, "old"},
      {"main.c", false, IDCANCEL, 0, true, "old"},  {"NONAME3", false, IDYES, 1, false, "new"},
      {"NONAME3", true, IDYES, 2, true, "old"},     {"NONAME3", false, IDNO, 0, false, "old"},
      {"Noname3", true, IDNO, 0, false, "old"},     {"NONAME3", true, IDCANCEL, 0, true, "old"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Caption) + (c.CloseAll ? " Close All " : " Close ") + std::to_string(c.Answer) +
                 " " + std::to_string(c.Dialog));
    const std::string file = Project.File("main.c");
    WriteTextFile(file, "old");
    TMDIChild* document = MainForm->CreateMDIChild(std::string(c.Caption) == "main.c" ? file : c.Caption);
    document->Editor->SetSelText("new");
    Answer(c.Answer);
    if (c.Dialog == 1) ChooseFile(file);
    if (c.Dialog == 2) CancelFileDialog();
    (c.CloseAll ? MainForm->FileCloseAllCmd : MainForm->FileCloseCmd)->Execute();
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Save to file?"});
    EXPECT_EQ(document->Closing(), !c.Stays);
    EXPECT_EQ(ReadTextFile(file), c.Saved);
    if (c.Stays) {
      EXPECT_EQ(document->Editor->SrcGetText(), "new");
      EXPECT_TRUE(document->Editor->Modified());
    }
    document->Editor->SetModified(false);
    if (c.Stays) document->Close();
    Settle();
    MessageBoxAnswers().Clear();
  }
}

// A file opened, changed by a character typed and deleted, and saved, is
// written back byte for byte, whatever its line breaks; a file with NUL
// bytes is reported when it opens, and changes are written over it only
// when the person says so.
TEST_F(ChildWinTest, SavingWritesBackEveryByteThatWasNotEdited) {
  const struct {
    const char* Name;
    std::string Bytes;
    bool Deleted;  // the typed character deleted again
    int Answer;    // to the question before writing over NUL bytes; 0: none
    std::string Saved;
  } cases[] = {
      {"LF", "int a;\nint b;\n", true, 0, "int a;\nint b;\n"},
      {"CR LF", "int a;\r\nint b;\r\n", true, 0, "int a;\r\nint b;\r\n"},
      {"CR", "int a;\rint b;\r", true, 0, "int a;\rint b;\r"},
      {"mixed", "int a;\r\nint b;\nint c;\rint d;\n\r", true, 0, "int a;\r\nint b;\nint c;\rint d;\n\r"},
      {"no final break", "int a;\nint b;", true, 0, "int a;\nint b;"},
      {"NUL bytes", std::string("i\0t a;\rb\0\r\n", 12), true, IDYES, std::string("i\0t a;\rb\0\r\n", 12)},
      {"NUL bytes, not written over", std::string("i\0t a;\rb", 9), false, IDNO, std::string("i\0t a;\rb", 9)},
  };
  int row = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    MessageBoxAnswers().Clear();
    const std::string name = "file" + std::to_string(row++) + ".c";
    const bool nul = c.Bytes.find('\0') != std::string::npos;
    if (nul) Answer(IDOK);
    TMDIChild* document = OpenFile(name, c.Bytes);
    EXPECT_EQ(Boxes(), nul ? std::vector<std::string>{Project.File(name) + NulBytesOpenText}
                           : std::vector<std::string>{});
    TSrcEdit& editor = *document->Editor;
    editor.SetCaretXY({2, 1});
    editor.CommandProcessor(ecChar, 'x');
    if (c.Deleted) editor.CommandProcessor(ecDeleteLastChar, 0);
    if (c.Answer) Answer(c.Answer);
    document->Perform(WM_DOCUMENTCOMMAND, dcSave, 0);
    EXPECT_EQ(ReadTextFile(Project.File(name)), c.Saved);
    EXPECT_EQ(editor.Modified(), c.Answer == IDNO);
    if (c.Answer) {
      EXPECT_EQ(Boxes().back(), Project.File(name) + NulBytesSaveText);
    }
    editor.SetModified(false);
  }
}

// Declining to write over a file with NUL bytes when the window closes
// keeps the window with its changes.
TEST_F(ChildWinTest, ClosingKeepsAWindowWhoseNulBytesFileWasNotWrittenOver) {
  Answer(IDOK);
  TMDIChild* document = OpenFile("main.c", std::string("a\0b", 3));
  document->Editor->SetSelText("x");
  Answer(IDYES);  // "Save to file?"
  Answer(IDNO);   // write over the NUL bytes
  document->Close();
  EXPECT_FALSE(document->Closing());
  EXPECT_TRUE(document->Editor->Modified());
  EXPECT_EQ(ReadTextFile(Project.File("main.c")), std::string("a\0b", 3));
  document->Editor->SetModified(false);
}

// A window that comes to the front shows what another program made of its
// file: the new bytes when it holds no changes of its own, else what the
// person answers (Yes reloads, No keeps the changes, which a save then
// writes over the file). A deleted file is reported and its text stays, to
// be saved again. The same state of the file is asked about once, and the
// bytes, not the file's times, decide whether it changed.
TEST_F(ChildWinTest, AWindowComingToTheFrontShowsItsFileAsAnotherProgramLeftIt) {
  const std::string initial = "int a;\r\nint b;\n";
  const struct {
    const char* Name;
    bool Typed;                    // a change of its own, "x" typed in front
    std::function<void(const std::string&)> Change;  // what another program does to the file
    int Answer;                    // to the question; 0: none is asked
    const char* Box;               // what is said after the path; nullptr: nothing
    std::string Saved;             // what a save then writes
    TClock Clock = ckReal;
    bool Undone = false;           // the typed change undone after the first time to the front
  } cases[] = {
      {"a line appended", false, [&](const std::string& f) { WriteTextFile(f, initial + "int c;\r"); }, 0,
       nullptr, initial + "int c;\r"},
      {"written again in place, same size, at once", false,
       [](const std::string& f) { WriteTextFile(f, "int A;\r\nint B;\n"); }, 0, nullptr, "int A;\r\nint B;\n"},
      {"replaced by a rename", false, [](const std::string& f) { SaveBytesToFile(f, "int A;\nint B;\n"); }, 0,
       nullptr, "int A;\nint B;\n"},
      {"written again with the same bytes, over changes", true,
       [&](const std::string& f) { WriteTextFile(f, initial); }, 0, nullptr, "x" + initial},
      {"changed under changes, reloaded", true,
       [](const std::string& f) { WriteTextFile(f, "int c;\r\nint d;\rint e;\n"); }, IDYES, ChangedOnDiskText,
       "int c;\r\nint d;\rint e;\n"},
      {"changed under changes, kept", true, [](const std::string& f) { WriteTextFile(f, "int c;\n"); }, IDNO,
       ChangedOnDiskText, "x" + initial},
      {"deleted", false, [](const std::string& f) { std::remove(f.c_str()); }, 0, DeletedOnDiskText, initial},
      {"deleted under changes", true, [](const std::string& f) { std::remove(f.c_str()); }, 0, DeletedOnDiskText,
       "x" + initial},
      {"changed under changes, kept, then undone", true, [](const std::string& f) { WriteTextFile(f, "int c;\n"); },
       IDNO, ChangedOnDiskText, "int c;\n", ckReal, true},
      {"written again in place within one tick of a coarse clock", false,
       [](const std::string& f) { WriteTextFile(f, "int A;\r\nint B;\n"); }, 0, nullptr, "int A;\r\nint B;\n",
       ckCoarse},
      {"stamped ahead, written again with that stamp as the clock reaches it", false,
       [](const std::string& f) {
         WriteTextFile(f, "int A;\r\nint B;\n");
         StampAhead(f);
       },
       0, nullptr, "int A;\r\nint B;\n", ckStampAheadReached},
      // Until the clock reaches a stamp ahead of it the stamp is trusted:
      // one read when it gets there, not one at every check before.
      {"stamped ahead, written again with that stamp before the clock reaches it", false,
       [](const std::string& f) {
         WriteTextFile(f, "int A;\r\nint B;\n");
         StampAhead(f);
       },
       0, nullptr, "int A;\r\nint B;\n", ckStampAheadReachedLater},
  };
  TMDIChild* other = OpenFile("other.h", "int o;\n");
  int row = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    MessageBoxAnswers().Clear();
    const std::string name = "file" + std::to_string(row++) + ".h";
    const std::string path = Project.File(name);
    TScopeExit realClock([] {
      SetFileClockForTesting({});
      gClockNs = 0;
    });
    if (c.Clock != ckReal) SetFileClockForTesting({&TestClock, kCoarseTickNs});
    WriteTextFile(path, initial);
    if (c.Clock == ckStampAheadReached || c.Clock == ckStampAheadReachedLater) StampAhead(path);
    Open(path);
    TMDIChild* document = MainForm->ActiveDocument();
    if (c.Clock == ckStampAheadReached) gClockNs = kAheadNs;
    TSrcEdit& editor = *document->Editor;
    editor.SetCaretXY({3, 2});
    if (c.Typed) {
      editor.SetCaretXY({1, 1});
      editor.CommandProcessor(ecChar, 'x');
      editor.SetCaretXY({3, 2});
    }
    c.Change(path);
    if (c.Answer) Answer(c.Answer);
    if (c.Box && !c.Answer) Answer(IDOK);
    // Twice to the front: the second time asks nothing.
    for (int i = 0; i < 2; ++i) {
      other->BringToFront();
      document->BringToFront();
      Settle();
      if (c.Undone && i == 0) {
        editor.Undo();
        editor.SetCaretXY({3, 2});
      }
      if (c.Clock == ckStampAheadReachedLater && i == 0) {
        EXPECT_EQ(editor.Lines().Get(0), "int a;") << "the stamp is trusted before the clock reaches it";
        gClockNs = kAheadNs;
      }
    }
    EXPECT_EQ(Boxes(), c.Box ? std::vector<std::string>{path + c.Box} : std::vector<std::string>{});
    const bool reloaded = c.Saved != initial && c.Saved != "x" + initial;
    EXPECT_EQ(editor.Modified(), !reloaded && (c.Typed || c.Box == DeletedOnDiskText));
    // A reload is a step undo takes back.
    EXPECT_EQ(editor.CanUndo(), c.Typed || reloaded);
    EXPECT_EQ(editor.CaretY(), 2);
    ExpectSaveOffered(editor.Modified());
    document->Perform(WM_DOCUMENTCOMMAND, dcSave, 0);
    EXPECT_EQ(ReadTextFile(path), c.Saved);
    EXPECT_FALSE(editor.Modified());
  }
}

// A change typed, then another program changes the file: the question to
// reload defaults to No and takes no key typed for the editor. Yes is one
// undo step: Undo gives back the bytes the window held, which a save then
// writes without a question about the state it was reloaded from, as it
// writes a kept text.
TEST_F(ChildWinTest, AReloadIsOneUndoStepAndItsQuestionDefaultsToNo) {
  using namespace std::string_literals;
  const struct {
    const char* Name;
    std::string Held, OnDisk;  // the file as opened, and as another program writes it
    int Answer;
  } cases[] = {
      {"breaks of every style, NUL bytes, CP949", "a\0;\r\nb\n/* 한글 */\rc\n\r"s, "x\r\n/* 글 */\n\r", IDYES},
      {"emptied", "int a;\n", "", IDYES},
      {"kept", "int a;\n", "int b;\n", IDNO},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    if (c.Held.find('\0') != std::string::npos) Answer(IDOK);
    TMDIChild* document = OpenFile("reload.h", c.Held);
    TSrcEdit& editor = *document->Editor;
    editor.SetSelText("/* own */");
    WriteTextFile(document->Caption(), c.OnDisk);
    MessageBoxAnswers().PushResponder([&](const TMessageBoxRequest& box) {
      EXPECT_EQ(box.DefaultAnswer(), IDNO);
      EXPECT_TRUE(box.Flags & MB_UNASKED);
      return c.Answer;
    });
    document->Perform(WM_CHECKDISKFILE, 0, 0);
    if (c.Answer == IDYES) editor.Undo();
    EXPECT_TRUE(editor.Modified());
    document->Perform(WM_DOCUMENTCOMMAND, dcSave, 0);
    EXPECT_EQ(ReadTextFile(document->Caption()), "/* own */" + c.Held);
    document->Close();
    Settle();
    MessageBoxAnswers().Clear();
  }
}

// Another program writes the file while one of a save's questions is open:
// the disk check comes after every question, right before the write, and
// asks about the state that program left; No keeps its text. A write while
// the disk question itself is open is caught as the save replaces the file,
// and asked about in its turn, for a few rounds. While a question is open
// the window, whose check the box's loop handles, asks nothing else.
TEST_F(ChildWinTest, AWriteWhileASaveQuestionIsOpenIsAskedAboutBeforeTheWrite) {
  const struct {
    const char* Name;
    std::string Bytes;
    std::function<void(TMDIChild&)> Save;
    std::vector<std::string> Boxes;  // in turn; one beginning with a blank follows the path
    size_t WrittenDuring;            // the box during which the other program writes
    bool KeepsWriting = false;       // it writes during every box, each answered Yes
  } cases[] = {
      {"the NUL-byte question", std::string("a\0b;\n", 5),
       [](TMDIChild& d) { d.Perform(WM_DOCUMENTCOMMAND, dcSave, 0); }, {NulBytesSaveText, ChangedOnDiskSaveText}, 0},
      {"File/Save's question", "ab;\n", [](TMDIChild&) { MainForm->FileSave1->Click(); },
       {"Save to File?", ChangedOnDiskSaveText}, 0},
      {"the close question", "ab;\n", [](TMDIChild& d) { d.Close(); }, {"Save to file?", ChangedOnDiskSaveText}, 0},
      {"the disk question", "ab;\n",
       [](TMDIChild& d) {
         WriteTextFile(d.Caption(), "first other text\n");
         d.Perform(WM_DOCUMENTCOMMAND, dcSave, 0);
       },
       {ChangedOnDiskSaveText, ChangedOnDiskSaveText}, 0},
      {"Save All's disk question, the file changed before it", "ab;\n",
       [](TMDIChild& d) {
         WriteTextFile(d.Caption(), "first other text\n");
         MainForm->FileSaveAll1->Click();
       },
       {ChangedOnDiskSaveText, ChangedOnDiskSaveText}, 0},
      // The failure is shown first; the check that the window's coming to
      // the front posted waits until it has gone, and then asks.
      {"every disk question, by a program that keeps writing, then its failure", "ab;\n",
       [](TMDIChild& d) {
         WriteTextFile(d.Caption(), "first other text\n");
         try {
           d.Perform(WM_DOCUMENTCOMMAND, dcSave, 0);
         } catch (const ETargetChangedError& e) {
           Application().HandleException(e);
         }
         WriteTextFile(d.Caption(), "third text\n");
       },
       {ChangedOnDiskSaveText, ChangedOnDiskSaveText, ChangedOnDiskSaveText, "", ChangedOnDiskText}, 0, true},
  };
  int row = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    MessageBoxAnswers().Clear();
    const std::string path = Project.File("q" + std::to_string(row++) + ".h");
    if (c.Bytes.find('\0') != std::string::npos) Answer(IDOK);
    TMDIChild* document = OpenFile(ExtractFileName(path), c.Bytes);
    document->Editor->SetSelText("x");
    for (size_t i = 0; i < c.Boxes.size(); ++i)
      MessageBoxAnswers().PushResponder([&, i](const TMessageBoxRequest&) {
        if (i == c.WrittenDuring || c.KeepsWriting) WriteTextFile(path, i % 2 ? "other text 1\n" : "other text\n");
        Settle();
        if (c.Boxes[i].empty()) return IDOK;
        return (i + 1 < c.Boxes.size() || c.KeepsWriting) && c.Boxes[i] != ChangedOnDiskText ? IDYES : IDNO;
      });
    c.Save(*document);
    Settle();
    std::vector<std::string> boxes = Boxes();
    if (!boxes.empty() && c.Bytes.find('\0') != std::string::npos) boxes.erase(boxes.begin());
    std::vector<std::string> expected;
    const std::string failure = "Cannot save file \"" + path + "\". Another program changed it meanwhile.";
    for (const std::string& box : c.Boxes)
      expected.push_back(box.starts_with(' ') ? path + box : box.empty() ? failure : box);
    EXPECT_EQ(boxes, expected);
    EXPECT_EQ(ReadTextFile(path), "other text\n");
    EXPECT_TRUE(document->Editor->Modified());
    EXPECT_FALSE(document->Closing());
    document->Editor->SetModified(false);
  }
}

TEST_F(ChildWinTest, ClosingTheLastWindowClosesTheProject) {
  TMDIChild* first = OpenFile("main.c", "int x;\n");
  MainForm->FileNewCmd->Execute();
  MainForm->SrcEditErrLine->Lines().Add("main.c:1: error: x");
  MainForm->Memo1->Lines().Add("make: *** [main.o] Error 1");
  first->Close();
  EXPECT_EQ(Panel(spMainFile), "main.c");
  EXPECT_EQ(MainForm->TreeView1->Items()->Count(), 1);
  EXPECT_TRUE(MainForm->RunRunCmd->Enabled());
  MainForm->ActiveDocument()->Close();
  EXPECT_EQ(Panel(spProjectFolder), "");
  EXPECT_EQ(Panel(spMainFile), "");
  EXPECT_EQ(MainForm->SrcEditErrLine->Lines().Count(), 0);
  EXPECT_EQ(MainForm->Memo1->Lines().Count(), 0);
  EXPECT_EQ(MainForm->TreeView1->Items()->Count(), 0);
  for (bool enabled : {MainForm->RunRunCmd->Enabled(), MainForm->FileSave1->Enabled(),
                       MainForm->EditFindCmd->Enabled(), MainForm->ToBtnFileSaveItem->Enabled()})
    EXPECT_FALSE(enabled);
  EXPECT_TRUE(MainForm->FilePrinterSetup1->Enabled());
}

TEST_F(ChildWinTest, TheEditorsEventsKeepTheStatusBarAndTheCommands) {
  TMDIChild* document = OpenFile("main.c", "int x;\nint y;\n");
  TSrcEdit& editor = *document->Editor;
  // Undo and Redo follow the editor from the start, before any change.
  for (bool enabled : {document->EditUndoCmd->Enabled(), document->EditRedoCmd->Enabled()}) EXPECT_FALSE(enabled);
  editor.SetCaretXY({3, 2});
  EXPECT_EQ(Panel(spCaret), "  2행   3열");
  EXPECT_EQ(CurrentLine, 2);

  editor.SetSelText("z");
  uint16_t key = 'Z';
  SetKeyDown(VK_INSERT, true);
  editor.OnKeyDown(&editor, key, {});
  EXPECT_EQ(Panel(spInsert), "Insert");
  ReleaseAllKeys();
  editor.OnKeyUp(&editor, key, {});
  EXPECT_TRUE(document->EditUndoCmd->Enabled());
  EXPECT_EQ(Panel(spModified), "Modified");
  EXPECT_EQ(Panel(spInsert), "");
  EXPECT_TRUE(MainForm->FileSave1->Enabled());
  EXPECT_TRUE(MainForm->ToBtnFileSaveItem->Enabled());

  // The selection decides the comment commands as the pointer moves.
  for (bool selected : {true, false}) {
    SCOPED_TRACE(selected);
    editor.SetCaretAndSelection({1, 1}, {1, 1}, {selected ? 4 : 1, 1});
    editor.OnMouseMove(&editor, {}, 120, 45);
    EXPECT_EQ(Panel(spMouse), "X120-Y45");
    for (bool enabled : {MainForm->EditInCommentCmd->Enabled(), MainForm->EditInComment1->Enabled(),
                         MainForm->ToBtnOutCommentItem->Enabled(), document->PoEditInComment1->Enabled(),
                         document->EditBitToByteCmd->Enabled(), MainForm->EditBitToByteCmd->Enabled()})
      EXPECT_EQ(enabled, selected);
  }
}

// The selection commands (comment in and out, bit to byte), here and in the
// main window, follow the front document's selection however it was made:
// by the mouse, by the keys, by a command, or by another window coming to
// the front; the Edit menu opening and an idle update leave them as they
// are, and then cut and copy agree with them.
TEST_F(ChildWinTest, TheSelectionCommandsFollowTheSelectionHoweverItIsMade) {
  TMDIChild* other = OpenFile("other.h", "int b;\n");
  other->Editor->SetCaretAndSelection({4, 1}, {1, 1}, {4, 1});
  TMDIChild* document = OpenFile("main.h", "int x;\nint y;\n");
  TSrcEdit& editor = *document->Editor;
  ASSERT_EQ(FocusedControl(), &editor);
  auto press = [](uint16_t key, TShiftState shift = {}) { return [=] { PressKey(key, shift); }; };
  // The left button at a character cell of the editor.
  auto mouse = [&](uint32_t message, TBufferCoord cell, uintptr_t keys = MK_LBUTTON) {
    const TPoint at = editor.RowColumnToPixels(editor.BufferToDisplayPos(cell));
    editor.Perform(message, keys, MakeLParam(at.X + 2, at.Y + 4));
  };
  const struct {
    const char* Name;
    std::function<void()> Step;
    bool Offered;
  } steps[] = {
      {"a press without a selection, the button still down", [&] { mouse(WM_LBUTTONDOWN, {2, 1}); }, false},
      {"released", [&] { mouse(WM_LBUTTONUP, {2, 1}, 0); }, false},
      {"the Edit menu opens", [] { MainForm->Edit1->Click(); }, false},
      {"an idle update", [] { Application().Idle(); }, false},
      {"a drag selects",
       [&] {
         mouse(WM_LBUTTONDOWN, {1, 1});
         mouse(WM_MOUSEMOVE, {3, 2});
         mouse(WM_MOUSEMOVE, {4, 2});
         mouse(WM_LBUTTONUP, {4, 2}, 0);
       },
       true},
      {"a click clears it",
       [&] {
         mouse(WM_LBUTTONDOWN, {2, 1});
         mouse(WM_LBUTTONUP, {2, 1}, 0);
       },
       false},
      {"Shift+Right", press(VK_RIGHT, {ssShift}), true},
      {"Right", press(VK_RIGHT), false},
      {"Shift+Down", press(VK_DOWN, {ssShift}), true},
      {"typed over", [&] { editor.CommandProcessor(ecChar, 'z'); }, false},
      {"Select All", press('A', {ssCtrl}), true},
      {"a window behind loses its selection", [&] { other->Editor->SetCaretXY({1, 1}); }, true},
      {"Ctrl+End", press(VK_END, {ssCtrl}), false},
      {"a window with a selection comes to the front",
       [&] {
         other->Editor->SetCaretAndSelection({4, 1}, {1, 1}, {4, 1});
         other->BringToFront();
       },
       true},
      {"and the other one back", [&] { document->BringToFront(); }, false},
      {"the front window closes, one with a selection comes forward",
       [&] {
         editor.SetModified(false);
         document->Close();
         Settle();
       },
       true},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.Name);
    step.Step();
    TMDIChild& front = *MainForm->ActiveDocument();
    auto expectOffered = [&](std::initializer_list<bool> states) {
      for (bool enabled : states) EXPECT_EQ(enabled, step.Offered);
    };
    expectOffered({MainForm->EditInCommentCmd->Enabled(), MainForm->EditOutCommentCmd->Enabled(),
                   MainForm->EditInComment1->Enabled(), MainForm->EditOutComment1->Enabled(),
                   MainForm->ToBtnInCommenItem->Enabled(), MainForm->ToBtnOutCommentItem->Enabled(),
                   MainForm->EditBitToByteCmd->Enabled(), front.EditInComment1->Enabled(),
                   front.EditOutComment1->Enabled(), front.PoEditInComment1->Enabled(),
                   front.PoEditOutComment1->Enabled(), front.EditBitToByteCmd->Enabled()});
    Application().Idle();
    expectOffered({MainForm->EditInComment1->Enabled(), MainForm->EditBitToByteCmd->Enabled(),
                   front.EditCutCmd->Enabled(), front.EditCopyCmd->Enabled(), MainForm->EditCutCmd->Enabled(),
                   MainForm->EditCopyCmd->Enabled()});
  }
}

// Find and Replace opened on a selection over several lines take its first
// line, without trailing blanks, as the history stores it; the search then
// finds it, also when it begins or ends inside a word: "Whole words only"
// is off for that search, and on again after it.
TEST_F(ChildWinTest, FindAndReplaceTakeTheSelectionsFirstLine) {
  CreateSearchDialogs();
  TMDIChild* document = OpenFile("main.c", "PORTB = 1;  \r\nPORTB = 2;\rDDRB = 3;\n");
  TSrcEdit& editor = *document->Editor;
  ReplaceFind->CBWholeWord->SetChecked(true);
  const struct {
    const char* Name;
    TBufferCoord From, To;
    TSrcSelectionMode Mode;
    const char* Shown;
    bool WholeWords = true;  // as the dialog shows it
  } cases[] = {
      {"two lines", {1, 1}, {6, 2}, smNormal, "PORTB = 1;"},
      {"three lines, from within a line", {7, 2}, {3, 3}, smNormal, "= 2;"},
      {"whole lines", {1, 2}, {1, 3}, smLine, "PORTB = 2;"},
      {"a column over two rows", {1, 1}, {6, 2}, smColumn, "PORTB"},
      {"from inside a word", {3, 1}, {11, 1}, smNormal, "RTB = 1;", false},
      {"ending inside a word", {1, 3}, {3, 3}, smNormal, "DD", false},
      {"a column from inside a word", {2, 2}, {4, 3}, smColumn, "OR", false},
  };
  for (const auto& c : cases) {
    for (bool replace : {false, true}) {
      SCOPED_TRACE(std::string(c.Name) + (replace ? ", replace" : ", find"));
      TCheckBox& wholeWords = *(replace ? ReplaceFind->CBWholeWord : FindForm->CBWholeWord);
      editor.SetActiveSelectionMode(c.Mode);
      editor.SetCaretAndSelection(c.To, c.From, c.To);
      std::string shown, asked;
      bool shownWholeWords = !c.WholeWords;
      ModalAnswers().PushResponder([&](TCustomForm* const& form) {
        shown = (replace ? ReplaceFind->ComboFindText : FindForm->ComboFindText)->Text();
        shownWholeWords = wholeWords.Checked();
        if (replace) ReplaceFind->ComboReplaceText->SetText(shown);
        return form == FindForm || form == ReplaceFind ? mrOk : mrCancel;
      });
      ModalAnswers().PushResponder([&](TCustomForm* const&) {
        asked = editor.SelText();
        return mrCancel;
      });
      (replace ? MainForm->EditReplaceCmd : MainForm->EditFindCmd)->Execute();
      EXPECT_EQ(shown, c.Shown);
      EXPECT_EQ(asked, c.Shown);
      EXPECT_EQ(shownWholeWords, c.WholeWords);
      EXPECT_TRUE(wholeWords.Checked());
    }
  }
}

}  // namespace
}  // namespace vk::test
