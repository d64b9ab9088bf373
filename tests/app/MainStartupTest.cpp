// The main window's start: the first-run settings and the associations, the
// command states, dropped files; and its close with the save question.

#include "services/SettingsStore.h"
#include "services/SharedTables.h"
#include "platform/DropFiles.h"
#include "platform/Registry.h"
#include "tests/app/IdeTestSupport.h"

namespace vk::test {
namespace {

class MainStartupTest : public TIdeCase {
protected:
  std::string RegistryFile(const std::string& root) const { return Registry.Folder().File(root + ".reg"); }
  static std::string ClassesValue(const std::string& key) {
    TRegistry registry;
    registry.SetRootKey(HKEY_CLASSES_ROOT);
    return registry.OpenKeyReadOnly(key) ? registry.ReadString("") : "no key";
  }
};

TEST_F(MainStartupTest, TheFirstRunWritesTheDefaultsAndTheNextOnlyTheAssociations) {
  StartIde();
  const std::string lookedUp = Install.Path() + "/Vornkit";
  EXPECT_FALSE(IsFirstRun());
  TSettingsReader editor(AttrKeyNames[EditorKeyIndex]);
  EXPECT_EQ(editor.String(EditorValue::EditorPath), lookedUp);
  EXPECT_EQ(editor.String(EditorValue::AvrGccPath), lookedUp + "/WinAvr");
  // The colours are the shared highlighter's as the window was built.
  for (int i = 0; i < HighlighterAttrCount; ++i) {
    TSettingsReader attribute(AttrKeyNames[i]);
    EXPECT_EQ(attribute.Integer(AttributeValue::Foreground),
              static_cast<int>(HighlighterAttribute(*MainForm->SrcAvrHl, i).Foreground()))
        << AttrKeyNames[i];
  }
  EXPECT_EQ(ReadProjectHeaderFields()[0], "Vornkit Prj");
  EXPECT_EQ(ClassesValue(".c\\shell\\open\\command"), lookedUp + "/Vornkit.exe %1");
  EXPECT_EQ(ClassesValue(".rom\\DefaultIcon"), lookedUp + "/ROM_ICON.ico, 0");

  // The next start leaves the settings byte for byte and writes the
  // associations again.
  const std::string settings = ReadTextFile(RegistryFile("HKEY_CURRENT_USER"));
  Application().Reset();
  ASSERT_TRUE(DeleteFile(RegistryFile("HKEY_CLASSES_ROOT")));
  StartIde();
  EXPECT_EQ(ReadTextFile(RegistryFile("HKEY_CURRENT_USER")), settings);
  EXPECT_EQ(ClassesValue(".h\\DefaultIcon"), lookedUp + "/H_ICON.ico, 0");
}

TEST_F(MainStartupTest, ARegistryThatCannotBeWrittenIsReportedAndTheWindowComesUp) {
  WriteTextFile(Install.File("plain-file"), "");
  setenv("VORNKIT_REGISTRY_DIR", Install.File("plain-file/registry").c_str(), 1);
  Answer(IDOK);
  StartIde();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_TRUE(MainForm->Visible());
}

// Started from any folder, the program keeps the install folder beside it:
// the build writes its script there, never into the folder it was started
// from.
TEST_F(MainStartupTest, TheInstallFolderIsBesideTheProgramWhateverFolderItStartsFrom) {
  TTempFolder elsewhere;
  const std::string install = Install.File("Vornkit");
  WriteTextFile(Project.File("main.c"), "int main(void) { return 0; }\n");
  WriteTextFile(Project.File("makefile"), "all:\n\t@echo built\n");
  for (const std::string& current : {elsewhere.Path(), Project.Path(), Install.Path(), install}) {
    SCOPED_TRACE(current);
    ASSERT_TRUE(SetCurrentDir(current));
    StartIde();
    EXPECT_EQ(InstallFolder, install);
    Open(Project.File("main.c"));
    ModalAnswers().Push(mrOk);  // the result box
    MainForm->RunRunCmd->Execute();
    EXPECT_EQ(LinesOf(MainForm->Memo1->Lines()), std::vector<std::string>{"built"});
    EXPECT_TRUE(FileExists(install + "/AVRRUN.BAT"));
    if (current != install) {
      EXPECT_FALSE(FileExists(current + "/AVRRUN.BAT"));
    }
    DeleteFile(install + "/AVRRUN.BAT");
    Application().Reset();
  }
}

TEST_F(MainStartupTest, TheShownWindowOffersOnlyWhatNeedsNoDocument) {
  StartIde();
  TMainForm& m = *MainForm;
  const struct {
    const char* Name;
    bool Enabled;
    bool Expected;
  } states[] = {
      {"FileNewCmd", m.FileNewCmd->Enabled(), true},
      {"FileOpenCmd", m.FileOpenCmd->Enabled(), true},
      {"FilePrinterSetup1", m.FilePrinterSetup1->Enabled(), true},
      {"SetUpErrFontRedCmd", m.SetUpErrFontRedCmd->Enabled(), true},
      {"FileSave1", m.FileSave1->Enabled(), false},
      {"FileSaveAll1", m.FileSaveAll1->Enabled(), false},
      {"FileSaveAsCmd", m.FileSaveAsCmd->Enabled(), false},
      {"FileCloseAllCmd", m.FileCloseAllCmd->Enabled(), false},
      {"RunRunCmd", m.RunRunCmd->Enabled(), false},
      {"SetupAvrCmd", m.SetupAvrCmd->Enabled(), false},
      {"EditReplaceCmd", m.EditReplaceCmd->Enabled(), false},
      {"ToBtnFileSaveItem", m.ToBtnFileSaveItem->Enabled(), false},
      {"ToBtnFind", m.ToBtnFind->Enabled(), false},
      {"ProjectCmd", m.ProjectCmd->Enabled(), false},
  };
  for (const auto& state : states) EXPECT_EQ(state.Enabled, state.Expected) << state.Name;
}

TEST_F(MainStartupTest, DroppedFilesAreTakenAndIgnored) {
  StartIde();
  const int live = LiveDropHandleCount();
  EXPECT_TRUE(DropFiles(*MainForm, {Project.File("main.c")}, {10, 10}));
  EXPECT_EQ(LiveDropHandleCount(), live);
  EXPECT_EQ(MainForm->DocumentCount(), 0);
}

TEST_F(MainStartupTest, ClosingAsksToSaveOnlyWhileDocumentsAreOpen) {
  const struct {
    const char* Name;
    bool Document;
    int Answer;            // 0: no question expected
    bool CancelSaveAs;     // the document is new and its Save dialog is cancelled
    bool Ends;
    const char* Saved;     // the file's text afterwards
    int Overwrite = 0;     // another program wrote "other" to the file: the answer to writing over it
  } cases[] = {
      {"no document", false, 0, false, true, "old"},
      {"cancel", true, IDCANCEL, false, false, "old"},
      {"no", true, IDNO, false, true, "old"},
      {"yes", true, IDYES, false, true, "new"},
      {"yes, new file not named", true, IDYES, true, false, "old"},
      {"yes, a file changed on disk written over", true, IDYES, false, true, "new", IDYES},
      {"yes, a file changed on disk kept", true, IDYES, false, false, "other", IDNO},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string file = Project.File("main.c");
    WriteTextFile(file, "old");
    StartIde();
    if (c.Document) {
      if (c.CancelSaveAs)
        MainForm->FileNewCmd->Execute();
      else
        Open(file);
      MainForm->ActiveDocument()->Editor->SrcSetText("new");
      MainForm->ActiveDocument()->Editor->SetModified(true);
    }
    if (c.Overwrite) WriteTextFile(file, "other");
    if (c.Answer) Answer(c.Answer);
    if (c.Overwrite) Answer(c.Overwrite);
    if (c.CancelSaveAs) CancelFileDialog();
    MainForm->Close();
    EXPECT_EQ(Application().Terminated(), c.Ends);
    EXPECT_EQ(Boxes().size(), (c.Answer ? 1u : 0u) + (c.Overwrite ? 1u : 0u));
    EXPECT_EQ(ReadTextFile(file), c.Saved);
    MessageBoxAnswers().Clear();
    Application().Reset();
  }
}

}  // namespace
}  // namespace vk::test
