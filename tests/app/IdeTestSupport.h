#pragma once
// What the tests of the main and document windows share: a clean
// application with a private registry and install folder, the main window
// made and shown as at start-up, a project folder, and the scripted boxes
// and file dialogs (a test fails when one came up that nobody answered).

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "app/ChildWin.h"
#include "dialogs/FindText.h"
#include "app/Main.h"
#include "dialogs/ReplaceFind.h"
#include "dialogs/ReplaceSelect.h"
#include "services/SettingsStore.h"
#include "platform/Dialogs.h"
#include "platform/FilePaths.h"
#include "tests/services/ServicesTestSupport.h"
#include "tests/platform/FontMetricsScope.h"
#include "tests/platform/FormsTestSupport.h"

namespace vk::test {

class TIdeCase : public TFormsCase {
protected:
  // The install folder, "Vornkit" in Install, as an installation ships it.
  TIdeCase() : FCurrentDir(GetCurrentDir()) {
    setenv("VORNKIT_INSTALL_README", (Install.Path() + "/").c_str(), 1);
    ForceFolders(LookUpInstallFolder().Folder);
    ScriptedDialogs()->FileDialogs.Clear();
  }
  ~TIdeCase() override {
    unsetenv("VORNKIT_INSTALL_README");
    // The file dialogs make the chosen file's folder the current one.
    SetCurrentDir(FCurrentDir);
  }
  void TearDown() override {
    EXPECT_TRUE(ScriptedDialogs()->FileDialogs.Unscripted().empty());
    EXPECT_EQ(ScriptedDialogs()->FileDialogs.Pending(), 0u);
    TFormsCase::TearDown();
    OpenFromListFlag = 0;
  }

  // The main window as the program shows it at start.
  void StartIde() {
    Application().CreateForm(MainForm);
    MainForm->Show();
  }
  // The find and replace dialogs and the question at each hit, made as at
  // start-up, with the empty histories the install folder ships.
  void CreateSearchDialogs() {
    Application().CreateForm(ReplaceSelect);
    Application().CreateForm(ReplaceFind);
    Application().CreateForm(FindForm);
    const std::string folder = LookUpInstallFolder().Folder;
    for (const char* name : {"FindF.ini", "ReplaceF.ini", "ReplaceR.ini"}) WriteTextFile(folder + "/" + name, "");
  }
  // File/Open of a file, as the file list opens it.
  void Open(const std::string& path) {
    OpenFromListFlag = 1;
    OpenFromListPath = path;
    MainForm->FileOpenCmd->Execute();
  }
  // The closed windows go.
  static void Settle() { Application().ProcessMessages(); }

  // The open documents' captions, front first.
  static std::vector<std::string> Captions() {
    std::vector<std::string> captions;
    for (int i = 0; i < MainForm->DocumentCount(); ++i) captions.push_back(MainForm->Documents(i)->Caption());
    return captions;
  }
  static TMDIChild* Document(const std::string& caption) {
    for (int i = 0; i < MainForm->DocumentCount(); ++i)
      if (MainForm->Documents(i)->Caption() == caption) return MainForm->Documents(i);
    return nullptr;
  }
  static std::string Panel(int index) { return MainForm->PanelText(index); }
  // Save, Save All, the save button and the Modified panel say whether the
  // front document has changes, however they were made.
  static void ExpectSaveOffered(bool modified) {
    ASSERT_NE(MainForm->ActiveDocument(), nullptr);
    EXPECT_EQ(MainForm->ActiveDocument()->Editor->Modified(), modified);
    for (bool offered : {MainForm->FileSave1->Enabled(), MainForm->FileSaveAll1->Enabled(),
                         MainForm->ToBtnFileSaveItem->Enabled()})
      EXPECT_EQ(offered, modified);
    EXPECT_EQ(Panel(spModified), modified ? "Modified" : "");
  }

  static void Answer(int button) { MessageBoxAnswers().Push(button); }
  // The texts of the boxes shown so far.
  static std::vector<std::string> Boxes() {
    std::vector<std::string> texts;
    for (const TMessageBoxRequest& box : MessageBoxAnswers().Requests()) texts.push_back(box.Text);
    return texts;
  }
  static void ChooseFile(const std::string& path) { ScriptedDialogs()->FileDialogs.Push({{path}, 1}); }
  static void CancelFileDialog() { ScriptedDialogs()->FileDialogs.Push({}); }

  TRegistryScope Registry;
  TTempFolder Install;
  TTempFolder Project;
  TFontMetricsScope Metrics;

private:
  std::string FCurrentDir;
};

}  // namespace vk::test
