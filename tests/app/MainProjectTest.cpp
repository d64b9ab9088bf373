// Project and document management through the main window: the open road,
// new documents, saving, closing and the environment command's entry.

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "dialogs/EnvironmentDlg.h"
#include "platform/Streams.h"
#include "tests/app/IdeTestSupport.h"

namespace vk::test {
namespace {

class MainProjectTest : public TIdeCase {
protected:
  MainProjectTest() { StartIde(); }
  std::string Path(const std::string& name) const { return Project.File(name); }
  // A project: main.c includes Lcd.h (which includes delay.h and a missing
  // header), uart.h and an empty name; AddFile.ini names spi.c, a missing source and names
  // outside the project.
  void WriteProject() {
    WriteTextFile(Path("main.c"),
                  "#include <avr/io.h>\n#include \"Lcd.h\"\n/* #include \"old.h\"\n*/\n"
                  "#include \"uart.h\" // #include \"no.h\"\n#include \"\"\nint main(void) { return 0; }\n");
    WriteTextFile(Path("Lcd.h"), "#include \"delay.h\"\n#include \"gone.h\"\nvoid lcd_init(void);\n");
    WriteTextFile(Path("uart.h"), "void uart_init(void);\n");
    WriteTextFile(Path("delay.h"), "void delay(int);\n");
    WriteTextFile(Path("spi.c"), "void spi(void) {}\n");
    WriteTextFile(Path("AddFile.ini"), "[AddFile]\nmain.c spi.c missing.c ../evil.c sub/x.c\n\n");
  }
  // Typing: the text goes in, and the key's release offers the save commands.
  static void Type(TMDIChild* document, const std::string& text) {
    document->Editor->SetSelText(text);
    uint16_t key = 'X';
    document->Editor->OnKeyUp(document->Editor, key, {});
  }
};

TEST_F(MainProjectTest, TheOpenRoadOpensTheMainFileItsHeadersAndTheExtraSources) {
  WriteProject();
  // A header in a shared folder, where the main file's compile finds it.
  ForceFolders(Path("shared"));
  std::filesystem::rename(Path("uart.h"), Path("shared/uart.h"));
  WriteTextFile(Path("makefile"), "all:\n\tavr-gcc -Ishared -c main.c\n");
  Answer(IDOK);
  Open(Path("main.c"));

  // A file that cannot be read gets no window.
  std::vector<std::string> opened;
  for (const char* name : {"main.c", "Lcd.h", "shared/uart.h", "delay.h", "spi.c"}) opened.push_back(Path(name));
  std::vector<std::string> captions = Captions();
  std::sort(captions.begin(), captions.end());
  std::sort(opened.begin(), opened.end());
  EXPECT_EQ(captions, opened);
  // One message names every file that cannot be read.
  EXPECT_EQ(Boxes(), std::vector<std::string>{Path("gone.h") + "\n" + Path("missing.c") + " Cannot find a file"});
  EXPECT_EQ(Panel(spProjectFolder), Project.Path() + "/");
  EXPECT_EQ(Panel(spMainFile), "main.c");
  std::vector<std::string> nodes;
  for (int i = 0; i < MainForm->TreeView1->Items()->Count(); ++i)
    nodes.push_back(MainForm->TreeView1->Items()->Item(i)->Text());
  EXPECT_EQ(nodes, (std::vector<std::string>{"main.c", "Lcd.h", "uart.h", "delay.h", "gone.h", "spi.c", "missing.c"}));
  // The main file's window in front, maximised; each window holds its file,
  // read from the name as written.
  EXPECT_EQ(MainForm->ActiveDocument()->Caption(), Path("main.c"));
  EXPECT_EQ(MainForm->ActiveDocument()->WindowState(), wsMaximized);
  EXPECT_EQ(Document(Path("Lcd.h"))->Editor->Lines().Get(2), "void lcd_init(void);");
  EXPECT_FALSE(Document(Path("main.c"))->Editor->Modified());
  EXPECT_TRUE(MainForm->RunRunCmd->Enabled());
  EXPECT_TRUE(MainForm->ImageToolButton->Enabled());
  EXPECT_EQ(MainForm->PageControl1->ActivePage(), MainForm->TabSheet1);

  // Opening it again replaces the windows.
  Answer(IDOK);
  Open(Path("main.c"));
  Settle();
  EXPECT_EQ(MainForm->MDIChildCount(), 5);
  MessageBoxAnswers().Clear();
}

// A file that cannot be read, a header the project names or a path typed
// into Open, is named once with its path and gets no window; a typed one
// leaves the open documents and the project as they are, unasked.
TEST_F(MainProjectTest, AFileThatCannotBeReadIsNamedOnceAndGetsNoWindow) {
  ForceFolders(Path("folder.c"));
  const struct {
    const char* Name;
    const char* MainText;
    const char* Typed;  // then opened over the project; nullptr: none
    const char* Missing;
  } cases[] = {
      {"the first header", "#include \"lcd.h\"\n#include \"lcd.h\"\n", nullptr, "lcd.h"},
      {"a C source", "", "gone.c", "gone.c"},
      {"a header", "", "gone.h", "gone.h"},
      {"an assembler source", "", "gone.S", "gone.S"},
      {"another kind of file", "", "gone.txt", "gone.txt"},
      {"a folder", "", "folder.c", "folder.c"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteTextFile(Path("main.c"), c.MainText);
    Answer(IDOK);
    Open(Path("main.c"));
    if (c.Typed) {
      Type(MainForm->ActiveDocument(), "changed");
      Open(Path(c.Typed));
    }
    Settle();
    EXPECT_EQ(Boxes(), std::vector<std::string>{Path(c.Missing) + " Cannot find a file"});
    EXPECT_EQ(Captions(), std::vector<std::string>{Path("main.c")});
    EXPECT_EQ(Panel(spProjectFolder), Project.Path() + "/");
    EXPECT_EQ(Panel(spMainFile), "main.c");
    MainForm->ActiveDocument()->Editor->SetModified(false);
    MainForm->CloseAll();
    Settle();
    MessageBoxAnswers().Clear();
  }
}

TEST_F(MainProjectTest, OtherKindsOfFilesOpenAlongsideOrInsteadOfTheProject) {
  const struct {
    const char* File;
    int Documents;       // after opening it over the project of main.c
    const char* Folder;  // panel 4: "" none, "p" the project folder
    const char* Main;    // panel 5
  } cases[] = {
      {"lib.h", 2, "p", "main.c"},
      {"boot.S", 1, "p", "boot.S"},
      {"notes.CPP", 1, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.File);
    WriteTextFile(Path("main.c"), "int main(void) { return 0; }\n");
    WriteTextFile(Path(c.File), "text\n");
    Open(Path("main.c"));
    Open(Path(c.File));
    Settle();
    EXPECT_EQ(MainForm->DocumentCount(), c.Documents);
    EXPECT_EQ(Panel(spProjectFolder), *c.Folder ? Project.Path() + "/" : "");
    EXPECT_EQ(Panel(spMainFile), c.Main);
    // The file just opened is in front, maximised.
    EXPECT_EQ(MainForm->ActiveDocument()->Caption(), Path(c.File));
    EXPECT_EQ(MainForm->ActiveDocument()->WindowState(), wsMaximized);
    MainForm->CloseAll();
    Settle();
  }
  // A cancelled Open dialog changes nothing.
  CancelFileDialog();
  MainForm->FileOpenCmd->Execute();
  EXPECT_EQ(MainForm->DocumentCount(), 0);
}

TEST_F(MainProjectTest, AFileThatIsOpenAlreadyIsBroughtForward) {
  WriteTextFile(Path("a.h"), "a\n");
  WriteTextFile(Path("b.h"), "b\n");
  Open(Path("a.h"));
  Open(Path("b.h"));
  Open(Project.Path() + "//a.h");
  EXPECT_EQ(Captions(), (std::vector<std::string>{Path("a.h"), Path("b.h")}));
}

TEST_F(MainProjectTest, NewDocumentsAreNumberedAfterTheOpenOnes) {
  for (int i = 0; i < 3; ++i) MainForm->FileNewCmd->Execute();
  MainForm->FileNewCmd->Execute();
  EXPECT_EQ(MainForm->ActiveDocument()->Caption(), "NONAME4");
  EXPECT_EQ(MainForm->ActiveDocument()->Editor->Lines().Count(), 0);
  EXPECT_EQ(Panel(spMainFile), "");
}

TEST_F(MainProjectTest, SaveAsksFirstAndNewFilesGoThroughTheSaveDialog) {
  const struct {
    const char* Caption;
    int Answer;          // 0: no question
    bool ChoosesName;    // the Save dialog comes up
    const char* Saved;   // the file's text afterwards
  } cases[] = {
      {"main.c", IDYES, false, "new"},
      {"main.c", IDNO, false, "old"},
      {"main.c", IDCANCEL, false, "old"},
      {"Noname1", IDYES, false, "new"},  // the Save dialog is for NONAME only
      {"NONAME1", 0, true, "new"},
  };
  // A caption without a folder names a file in the current one.
  SetCurrentDir(Project.Path());
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Caption) + " " + std::to_string(c.Answer));
    const std::string file = Path(c.Caption);
    WriteTextFile(file, "old");
    TMDIChild* document = MainForm->CreateMDIChild(std::string(c.Caption) == "main.c" ? file : c.Caption);
    document->Editor->SrcSetText("");
    Type(document, "new");
    if (c.Answer) Answer(c.Answer);
    if (c.ChoosesName) ChooseFile(file);
    MainForm->FileSave1->Click();
    EXPECT_EQ(ReadTextFile(file), c.Saved);
    EXPECT_EQ(Boxes().size(), c.Answer ? 1u : 0u);
    MessageBoxAnswers().Clear();
    document->Editor->SetModified(false);
    document->Close();
    Settle();
  }
}

TEST_F(MainProjectTest, SaveAllSavesEveryDocumentWithoutAsking) {
  WriteTextFile(Path("a.c"), "a\n#include \"ro.h\"");
  // An unchanged header nobody may write has nothing to save.
  WriteTextFile(Path("ro.h"), "int r;");
  chmod(Path("ro.h").c_str(), 0444);
  Open(Path("a.c"));
  ASSERT_NE(Document(Path("ro.h")), nullptr);
  Type(MainForm->ActiveDocument(), "x");
  MainForm->FileNewCmd->Execute();
  Type(MainForm->ActiveDocument(), "fresh");
  ChooseFile(Path("fresh.c"));
  MainForm->FileSaveAll1->Click();
  EXPECT_EQ(ReadTextFile(Path("a.c")), "xa\n#include \"ro.h\"");
  EXPECT_EQ(ReadTextFile(Path("fresh.c")), "fresh");
  EXPECT_TRUE(Boxes().empty()) << Boxes().front();
  EXPECT_FALSE(Document(Path("a.c"))->Editor->Modified());
  // The new file became the project under its name.
  EXPECT_NE(Document(Path("fresh.c")), nullptr);
  EXPECT_EQ(Panel(spMainFile), "fresh.c");
}

TEST_F(MainProjectTest, ThePanelsAndTheSaveCommandsFollowTheFrontDocument) {
  WriteTextFile(Path("main.c"), "#include \"lcd.h\"\nint x;\n");
  WriteTextFile(Path("lcd.h"), "void lcd(void);\n");
  WriteTextFile(Path("other.c"), "int y;\n");
  Open(Path("main.c"));
  TMDIChild* main = Document(Path("main.c"));
  TMDIChild* lcd = Document(Path("lcd.h"));
  ASSERT_EQ(MainForm->ActiveDocument(), main);
  const struct {
    const char* Name;
    std::function<void()> Step;
    const char* Caret;  // "": no document
    bool Modified;
  } steps[] = {
      {"a separator line, made without a key",
       [&] {
         main->Editor->SetCaretXY({3, 2});
         MainForm->EditLineCommentCmd->Execute();
       },
       "  2행   3열", true},
      {"another window in front", [&] { lcd->BringToFront(); }, "  1행   1열", false},
      {"back again", [&] { main->BringToFront(); }, "  2행   3열", true},
      {"saved",
       [&] {
         Answer(IDYES);
         MainForm->FileSave1->Click();
       },
       "  2행   3열", false},
      {"a new document", [&] { MainForm->FileNewCmd->Execute(); }, "  1행   1열", false},
      {"another project, after a build",
       [&] {
         MainForm->MemoErrorCount->Lines().SetTextStr("Total Error:\r\n2\r\nTotal Warning:\r\nOk\r\n");
         Open(Path("other.c"));
         EXPECT_EQ(LinesOf(MainForm->MemoErrorCount->Lines()),
                   (std::vector<std::string>{"Total Error:", "", "Total Warning:", ""}));
       },
       "  1행   1열", false},
      {"Close All",
       [&] {
         MainForm->FileCloseAllCmd->Execute();
         Settle();
       },
       "", false},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.Name);
    step.Step();
    EXPECT_EQ(Panel(spCaret), step.Caret);
    if (*step.Caret) {
      ExpectSaveOffered(step.Modified);
      continue;
    }
    for (int panel : {spMouse, spInsert, spModified}) EXPECT_EQ(Panel(panel), "") << panel;
    for (bool offered : {MainForm->FileSave1->Enabled(), MainForm->FileSaveAll1->Enabled(),
                         MainForm->ToBtnFileSaveItem->Enabled()})
      EXPECT_FALSE(offered);
  }
}

TEST_F(MainProjectTest, SaveAsMakesTheSavedFileTheProject) {
  WriteTextFile(Path("main.c"), "int x;\n");
  Open(Path("main.c"));
  CancelFileDialog();
  MainForm->FileSaveAsCmd->Execute();
  EXPECT_EQ(Panel(spMainFile), "main.c");

  Type(MainForm->ActiveDocument(), "/* lib */");
  ChooseFile(Path("lib.h"));
  MainForm->FileSaveAsCmd->Execute();
  EXPECT_EQ(ReadTextFile(Path("lib.h")), "/* lib */int x;\n");
  EXPECT_EQ(MainForm->ActiveDocument()->Caption(), Path("lib.h"));
  EXPECT_EQ(Panel(spMainFile), "lib.h");
  const TFileDialogRequest& asked = ScriptedDialogs()->FileDialogs.Requests().back();
  EXPECT_EQ(asked.FileName, "main.c");
}

// Whichever command saved, the text is saved: the panel and the save
// commands say so, and the next Open closes the window without asking.
TEST_F(MainProjectTest, EverySaveMarksTheTextSaved) {
  const struct {
    const char* Name;
    bool New;  // a new document, else main.c opened
    std::function<void()> Save;
    std::vector<std::string> Boxes;
  } cases[] = {
      {"Save As", false, [] { MainForm->FileSaveAsCmd->Execute(); }, {}},
      {"Save of a new document", true, [] { MainForm->FileSave1->Click(); }, {}},
      {"Save All of a new document", true, [] { MainForm->FileSaveAll1->Click(); }, {}},
      {"the environment command on a new document", true,
       [] {
         Answer(IDOK);
         ModalAnswers().Push(mrCancel);
         MainForm->SetupAvrCmd->Execute();
       },
       {" makefile Cannot open file!"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteTextFile(Path("main.c"), "int x;\n");
    WriteTextFile(Path("other.c"), "int y;\n");
    if (c.New)
      MainForm->FileNewCmd->Execute();
    else
      Open(Path("main.c"));
    Type(MainForm->ActiveDocument(), "/* saved */");
    ChooseFile(Path("saved.c"));
    c.Save();
    EXPECT_EQ(ReadTextFile(Path("saved.c")), c.New ? "/* saved */" : "/* saved */int x;\n");
    ExpectSaveOffered(false);
    Open(Path("other.c"));
    Settle();
    EXPECT_EQ(Captions(), std::vector<std::string>{Path("other.c")});
    EXPECT_EQ(Boxes(), c.Boxes);
    MainForm->CloseAll();
    Settle();
    MessageBoxAnswers().Clear();
  }
}

// Save, Save All and Close ask before they write over a file another
// program changed since it was read or saved here: Yes writes, No keeps the
// file and the changes, unsaved (the window stays open). A deleted file is
// written again unasked by Save, and only when asked by Save All; what was
// answered, a write that then failed included, is not asked again as the
// window comes to the front.
TEST_F(MainProjectTest, ASaveAsksBeforeItWritesOverAFileAnotherProgramChanged) {
  const struct {
    const char* Name;
    std::function<void()> Command;
    std::vector<int> Answers;
    std::vector<std::string> Boxes;  // ChangedOnDiskSaveText after the file's path
    bool Deleted;                    // else another program wrote "other"
    bool Written;                    // the document's text is in the file
  } cases[] = {
      {"Save, written over", [] { MainForm->FileSave1->Click(); }, {IDYES, IDYES},
       {"Save to File?", ChangedOnDiskSaveText}, false, true},
      {"Save, kept", [] { MainForm->FileSave1->Click(); }, {IDYES, IDNO}, {"Save to File?", ChangedOnDiskSaveText},
       false, false},
      {"Save All, written over", [] { MainForm->FileSaveAll1->Click(); }, {IDYES}, {ChangedOnDiskSaveText}, false,
       true},
      {"Save All, kept", [] { MainForm->FileSaveAll1->Click(); }, {IDNO}, {ChangedOnDiskSaveText}, false, false},
      {"Close, kept", [] { MainForm->FileCloseCmd->Execute(); }, {IDYES, IDNO},
       {"Save to file?", ChangedOnDiskSaveText}, false, false},
      {"Close All, kept", [] { MainForm->FileCloseAllCmd->Execute(); }, {IDYES, IDNO},
       {"Save to file?", ChangedOnDiskSaveText}, false, false},
      {"Save of a deleted file", [] { MainForm->FileSave1->Click(); }, {IDYES}, {"Save to File?"}, true, true},
      {"Save All of a deleted file, left deleted", [] { MainForm->FileSaveAll1->Click(); }, {IDNO},
       {DeletedOnDiskSaveText}, true, false},
      {"Save, written over a read-only file, which fails",
       [] {
         chmod(MainForm->ActiveDocument()->Caption().c_str(), 0444);
         EXPECT_THROW(MainForm->FileSave1->Click(), EStreamError);
         chmod(MainForm->ActiveDocument()->Caption().c_str(), 0644);
       },
       {IDYES, IDYES}, {"Save to File?", ChangedOnDiskSaveText}, false, false},
      {"Save, kept as the window came to the front, undone, typed again",
       [] {
         Settle();
         MainForm->ActiveDocument()->Editor->Undo();
         Type(MainForm->ActiveDocument(), "new ");
         MainForm->FileSave1->Click();
       },
       {IDNO, IDYES, IDNO}, {ChangedOnDiskText, "Save to File?", ChangedOnDiskSaveText}, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string file = Path("main.c");
    WriteTextFile(file, "old");
    Open(file);
    TMDIChild* document = MainForm->ActiveDocument();
    Type(document, "new ");
    if (c.Deleted)
      std::remove(file.c_str());
    else
      WriteTextFile(file, "other");
    for (int answer : c.Answers) Answer(answer);
    c.Command();
    Settle();
    document->BringToFront();
    Settle();
    std::vector<std::string> boxes = c.Boxes;
    for (std::string& box : boxes)
      if (box.starts_with(' ')) box = file + box;
    EXPECT_EQ(Boxes(), boxes);
    EXPECT_EQ(ReadTextFile(file), c.Written ? "new old" : c.Deleted ? "" : "other");
    EXPECT_EQ(FileExists(file), !c.Deleted || c.Written);
    EXPECT_EQ(document->Editor->Modified(), !c.Written);
    EXPECT_EQ(MainForm->DocumentCount(), 1);
    document->Editor->SetModified(false);
    MainForm->CloseAll();
    Settle();
    MessageBoxAnswers().Clear();
  }
}

int FailingRename(const char*, const char*) {
  errno = EIO;
  return -1;
}

// Whatever makes a save fail, the message names the file and the system's
// reason, the old file stays as it was, no temporary file is left, and the
// text stays modified; closing with "Yes" fails the same way and keeps the
// window.
TEST_F(MainProjectTest, AFailedSaveNamesTheFileAndTheReasonAndKeepsTheOldFile) {
  struct rlimit unlimited {};
  getrlimit(RLIMIT_FSIZE, &unlimited);
  const struct {
    const char* Name;
    bool Exists;  // the file was there and opened; else a window on a name in a folder that is gone
    std::function<void(const std::string& folder)> Break, Mend;
    const char* Message;  // %F: the file
    bool BindsRoot;       // the superuser may write anyway
  } cases[] = {
      {"a folder that is gone", false, [](const std::string&) {}, [](const std::string&) {},
       "Cannot create file \"%F\". No such file or directory", true},
      {"the size limit of a file", true,
       [](const std::string&) {
         signal(SIGXFSZ, SIG_IGN);
         struct rlimit limit {};
         getrlimit(RLIMIT_FSIZE, &limit);
         limit.rlim_cur = 100;
         setrlimit(RLIMIT_FSIZE, &limit);
       },
       [&](const std::string&) {
         setrlimit(RLIMIT_FSIZE, &unlimited);
         signal(SIGXFSZ, SIG_DFL);
       },
       "Cannot save file \"%F\". File too large", true},
      {"a failed rename", true, [](const std::string&) { TSafeFileStream::SetRenameForTesting(&FailingRename); },
       [](const std::string&) { TSafeFileStream::SetRenameForTesting(nullptr); },
       "Cannot save file \"%F\". Input/output error", true},
      {"a read-only file", true, [](const std::string& f) { chmod((f + "/main.c").c_str(), 0444); },
       [](const std::string& f) { chmod((f + "/main.c").c_str(), 0644); },
       "Cannot create file \"%F\". Permission denied", true},
      {"a read-only folder", true, [](const std::string& f) { chmod(f.c_str(), 0555); },
       [](const std::string& f) { chmod(f.c_str(), 0755); }, "Cannot create file \"%F\". Permission denied", false},
  };
  int row = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    if (!c.BindsRoot && geteuid() == 0) continue;  // folder permissions do not bind root
    const std::string folder = Path("row" + std::to_string(row++));
    const std::string file = folder + (c.Exists ? "/main.c" : "/gone/main.c");
    ForceFolders(folder);
    if (c.Exists) {
      WriteTextFile(file, "old");
      Open(file);
    } else {
      MainForm->CreateMDIChild(file);
    }
    TMDIChild* document = MainForm->ActiveDocument();
    Type(document, std::string(200, 'x'));
    std::string message = c.Message;
    message.replace(message.find("%F"), 2, file);
    c.Break(folder);
    for (bool closing : {false, true}) {
      SCOPED_TRACE(closing ? "Close" : "Save");
      Answer(IDYES);
      try {
        closing ? document->Close() : MainForm->FileSave1->Click();
        ADD_FAILURE() << "saved";
      } catch (const EStreamError& e) {
        EXPECT_EQ(e.Message(), message);
      }
    }
    c.Mend(folder);
    EXPECT_FALSE(document->Closing());
    EXPECT_TRUE(document->Editor->Modified());
    EXPECT_EQ(ReadTextFile(file), c.Exists ? "old" : "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), c.Exists ? 1 : 0);
    document->Editor->SetModified(false);
    MainForm->CloseAll();
    Settle();
  }
}

// The project closes with its last window, not when the person keeps it
// open: Cancel, or a save that failed.
TEST_F(MainProjectTest, CloseOfTheLastWindowKeepsTheProjectWhenTheWindowStaysOpen) {
  WriteTextFile(Path("main.c"), "int x;\n");
  Open(Path("main.c"));
  Type(MainForm->ActiveDocument(), "y");
  Answer(IDCANCEL);
  MainForm->FileCloseCmd->Execute();
  chmod(Path("main.c").c_str(), 0444);
  Answer(IDYES);
  EXPECT_THROW(MainForm->FileCloseCmd->Execute(), EStreamError);
  EXPECT_EQ(MainForm->DocumentCount(), 1);
  EXPECT_EQ(Panel(spProjectFolder), Project.Path() + "/");
  EXPECT_EQ(Panel(spMainFile), "main.c");
}

TEST_F(MainProjectTest, CloseAllStopsAtAWindowThatStaysOpen) {
  for (const char* name : {"a.c", "b.c", "c.c"}) {
    WriteTextFile(Path(name), "");
    MainForm->CreateMDIChild(Path(name))->Editor->SrcSetText(name);
    Type(MainForm->ActiveDocument(), "!");
  }
  MainForm->SetPanelText(spProjectFolder, Project.Path() + "/");
  // Front first: c.c is saved and closed, b.c refuses.
  Answer(IDYES);
  Answer(IDCANCEL);
  EXPECT_FALSE(MainForm->CloseAll());
  Settle();
  EXPECT_EQ(Captions(), (std::vector<std::string>{Path("b.c"), Path("a.c")}));
  EXPECT_EQ(ReadTextFile(Path("c.c")), "!c.c");
  EXPECT_EQ(Panel(spProjectFolder), Project.Path() + "/");
  EXPECT_TRUE(MainForm->FileCloseAllCmd->Enabled());

  Answer(IDNO);
  Answer(IDNO);
  EXPECT_TRUE(MainForm->CloseAll());
  // An idle pass may come before the closed windows go.
  Application().Idle();
  Settle();
  Application().Idle();
  EXPECT_EQ(MainForm->MDIChildCount(), 0);
  EXPECT_EQ(Panel(spProjectFolder), "");
  for (bool enabled : {MainForm->FileCloseAllCmd->Enabled(), MainForm->RunRunCmd->Enabled(),
                       MainForm->FileSave1->Enabled(), MainForm->ToBtnFind->Enabled(), MainForm->ProjectCmd->Enabled(),
                       MainForm->EditUndoCmd->Enabled(), MainForm->EditRedoCmd->Enabled()})
    EXPECT_FALSE(enabled);
  EXPECT_TRUE(MainForm->FilePrinterSetup1->Enabled());
}

TEST_F(MainProjectTest, TheEnvironmentCommandFirstMakesTheDocumentAProject) {
  MainForm->FileNewCmd->Execute();
  Type(MainForm->ActiveDocument(), "int main;");
  CancelFileDialog();
  Answer(IDOK);
  MainForm->SetupAvrCmd->Execute();
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Cannot open more than one '.c' files name!"});

  MessageBoxAnswers().Clear();
  ChooseFile(Path("NONAME.C"));
  Answer(IDOK);  // the new project has no makefile yet
  ModalAnswers().Push(mrCancel);
  MainForm->SetupAvrCmd->Execute();
  EXPECT_EQ(ReadTextFile(Path("NONAME.C")), "int main;");
  EXPECT_EQ(MainForm->ActiveDocument()->Caption(), Path("NONAME.C"));
  EXPECT_EQ(Panel(spMainFile), "NONAME.C");
  EXPECT_EQ(ScriptedDialogs()->FileDialogs.Requests().back().FileName, "NONAME.C");
  EXPECT_EQ(Boxes(), std::vector<std::string>{" makefile Cannot open file!"});

  // A write that fails is reported too.
  MainForm->SetPanelText(spProjectFolder, "");
  MessageBoxAnswers().Clear();
  ChooseFile(Project.File("no-such-folder/x.c"));
  Answer(IDOK);
  Answer(IDOK);
  MainForm->SetupAvrCmd->Execute();
  EXPECT_EQ(Boxes(), (std::vector<std::string>{" Do not save file!", "Cannot open more than one '.c' files name!"}));
}

TEST_F(MainProjectTest, TheEnvironmentCommandOpensANewSettingsDialogForTheProjectAndItsDocuments) {
  WriteProject();
  Answer(IDOK);
  Answer(IDOK);
  Open(Path("main.c"));
  MessageBoxAnswers().Clear();
  Answer(IDOK);  // no makefile yet, on showing; OK then writes one without a word
  ModalAnswers().PushResponder([this](TCustomForm* form) {
    auto* dialog = dynamic_cast<TEnvironmentDlg*>(form);
    EXPECT_EQ(dialog, EnvironmentDlg);
    EXPECT_EQ(dialog->McuTargetDirEdit->Text(), Project.Path() + "/");
    EXPECT_EQ(dialog->McuTargetEdit->Text(), "main");
    dialog->CBSmartTab->SetChecked(true);
    dialog->CBGutter->SetChecked(false);
    dialog->LBElements->UserSelect(9);
    dialog->ColorGrid->SetForegroundIndex(12);
    dialog->OKBtn->Click();
    return mrNone;
  });
  MainForm->SetupAvrCmd->Execute();
  Settle();
  EXPECT_EQ(EnvironmentDlg, nullptr);  // gone when closed; the next command makes a new one
  EXPECT_EQ(MessageBoxAnswers().Pending(), 0u);
  EXPECT_TRUE(std::filesystem::exists(Path("makefile")));
  EXPECT_EQ(MainForm->SrcAvrHl->NumberAttri()->Foreground(), clBlue);
  ASSERT_GT(MainForm->DocumentCount(), 1);
  for (int i = 0; i < MainForm->DocumentCount(); ++i) {
    TMDIChild* document = MainForm->Documents(i);
    EXPECT_TRUE(document->Editor->Options().Contains(eoSmartTabs)) << document->Caption();
    EXPECT_FALSE(document->Editor->Gutter().Visible());
    EXPECT_FALSE(document->EditLineNumberCmd->Checked());
  }
}

}  // namespace
}  // namespace vk::test
