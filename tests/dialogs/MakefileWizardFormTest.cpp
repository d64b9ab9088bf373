#include "dialogs/MakefileWizardForm.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "services/EnvironmentMakefile.h"
#include "platform/Registry.h"
#include "platform/ScopeGuard.h"
#include "tests/dialogs/AvrProject.h"
#include "tests/platform/FormsTestSupport.h"

namespace vk {
namespace {

class MakeFileWizzardTest : public test::TFormsCase {
protected:
  MakeFileWizzardTest() {
    TRegistry reg;
    reg.OpenKey("SOFTWARE\\ZE_VAD\\Editor", true);
    reg.WriteString("Editor Path", Editor.Path());
  }
  void InstallTemplate() {
    std::filesystem::copy_file(VK_SOURCE_DIR "/data/makefile",
                               Editor.File("makefile"));
  }
  // Runs a new wizard as the wizard command does, the person acting in
  // each round of its modal loop (a close the wizard refuses starts the next).
  using TRound = std::function<void(TFormMakeWizzard&)>;
  void RunWizard(const std::vector<TRound>& rounds) {
    Application().CreateForm(FormMakeWizzard);
    for (const TRound& round : rounds)
      ModalAnswers().PushResponder([&](TCustomForm* form) {
        round(*static_cast<TFormMakeWizzard*>(form));
        return mrNone;
      });
    FormMakeWizzard->ShowModal();
    Application().ProcessMessages();
  }
  static void NextTo(TFormMakeWizzard& wizard, int page) {
    while (wizard.PageIndex() < page) wizard.BitBtn2->Click();
  }
  // Picks the entries of the files list that the Add button opens.
  static void Pick(TButton* add, TListBox* list, const std::vector<int>& entries) {
    for (int entry : entries) {
      add->Click();
      list->UserSelect(entry);
      list->Perform(WM_LBUTTONDBLCLK, 0, 0);
    }
  }
  static std::string LastBox() { return MessageBoxAnswers().Requests().back().Text; }

  test::TRegistryScope Registry;
  test::TTempFolder Editor;
};

// (MakefileBuildTest builds what the wizard writes.)
TEST_F(MakeFileWizzardTest, ThePagesWriteTheMakefileOfTheirValues) {
  InstallTemplate();
  test::TAvrProject project;
  project.Write("my a.c", "int x;\n");
  // The file dialog makes the chosen file's folder the current one.
  const TScopeExit backHome([cwd = std::filesystem::current_path()] { std::filesystem::current_path(cwd); });
  std::vector<std::string> text;
  RunWizard({[&](TFormMakeWizzard& wizard) {
    EXPECT_FALSE(wizard.BitBtn1->Enabled());
    NextTo(wizard, 1);
    wizard.ComboAvrMpu->UserEdit("atmega16");
    NextTo(wizard, 3);
    EXPECT_FALSE(wizard.BitBtn2->Enabled()) << "no main source yet";
    wizard.BtnCSourceAdd->Click();
    EXPECT_FALSE(wizard.PanelCSourceAdd->Visible()) << "no folder to list yet";
    ScriptedDialogs()->FileDialogs.Push({{project.File("main.c")}});
    wizard.BtnMainSource->Click();
    EXPECT_EQ(wizard.EditSource->Text(), "main");
    EXPECT_EQ(wizard.CBUnitPath->Text(), project.Folder());
    EXPECT_TRUE(wizard.BitBtn2->Enabled());
    Pick(wizard.BtnCSourceAdd, wizard.ListBoxAddSourceC, {0, 1});
    EXPECT_EQ(test::LinesOf(wizard.ListBoxAddSourceC->Items()),
              (std::vector<std::string>{"a.c", "b.c", "main.c", "my a.c"}));
    EXPECT_FALSE(wizard.PanelCSourceAdd->Visible());
    MessageBoxAnswers().Push(IDOK);
    Pick(wizard.BtnCSourceAdd, wizard.ListBoxAddSourceC, {3});
    EXPECT_EQ(LastBox().find("make cannot take the file name \"my a.c\""), 0u);
    EXPECT_TRUE(wizard.PanelCSourceAdd->Visible()) << "the list stays open for another pick";
    Pick(wizard.BtnAsmSourceAdd, wizard.ListBoxAddSourceAsm, {0});
    EXPECT_EQ(wizard.EditAddSorceC->Text(), "a.c b.c");
    EXPECT_EQ(wizard.EditAssmbl->Text(), "twice.S");
    NextTo(wizard, 5);
    text = test::LinesOf(wizard.Memo1->Lines());
    ASSERT_GT(text.size(), 30u);
    EXPECT_EQ(text[16], "\tMCU=atmega16");
    EXPECT_EQ(text[18], "\tTRG=main");
    EXPECT_EQ(text.back(), "twice.o: twice.S");
    NextTo(wizard, 6);
    EXPECT_EQ(wizard.BitBtn2->Caption(), "&Completion");
    MessageBoxAnswers().Push(IDYES);
    wizard.BitBtn2->Click();
    EXPECT_EQ(LastBox(), "Do you want to build Makefile?");
    EXPECT_TRUE(wizard.Done());
  }});
  EXPECT_FALSE(FormMakeWizzard->Visible()) << "a finished wizard closes without asking";
  std::string saved;
  for (const std::string& line : text) saved += line + "\r\n";
  EXPECT_EQ(project.Read("makefile"), saved);
}

TEST_F(MakeFileWizzardTest, WithoutATemplateNothingIsWrittenAndEachRunAsksBeforeItCloses) {
  test::TTempFolder project;
  test::WriteTextFile(project.File("makefile"), "the user's own");
  RunWizard({[&](TFormMakeWizzard& wizard) {
    NextTo(wizard, 3);
    wizard.EditSource->UserEdit("main", 4);
    MessageBoxAnswers().Push(IDOK);
    NextTo(wizard, 6);
    EXPECT_EQ(LastBox(), Editor.File("makefile") + "Cannot open file!");
    MessageBoxAnswers().Push(IDOK);
    wizard.BitBtn2->Click();
    EXPECT_EQ(LastBox(), "C Source Target File needs to be chosen!") << "a typed name gives no folder";

    wizard.CBUnitPath->SetText(project.Path());
    MessageBoxAnswers().Push(IDYES);
    MessageBoxAnswers().Push(IDOK);
    wizard.BitBtn2->Click();
    EXPECT_EQ(LastBox(), Editor.File("makefile") + "Cannot open file!");
    EXPECT_EQ(wizard.PageIndex(), 6);
    MessageBoxAnswers().Push(IDNO);
    wizard.BitBtn3->Click();
  }, [&](TFormMakeWizzard& wizard) {
    EXPECT_EQ(LastBox(), "Exit?");
    EXPECT_EQ(wizard.PageIndex(), 6) << "No keeps the wizard open";
    MessageBoxAnswers().Push(IDYES);
    wizard.BitBtn3->Click();
  }});
  EXPECT_EQ(FormMakeWizzard, nullptr) << "Yes frees the wizard";
  EXPECT_EQ(test::ReadTextFile(project.File("makefile")), "the user's own");

  // A run finished without saving closes at once; the next one asks again.
  RunWizard({[&](TFormMakeWizzard& wizard) {
    wizard.CBUnitPath->SetText(project.Path());
    NextTo(wizard, 3);
    wizard.EditSource->UserEdit("main", 4);
    MessageBoxAnswers().Push(IDOK);
    NextTo(wizard, 6);
    MessageBoxAnswers().Push(IDNO);
    wizard.BitBtn2->Click();
  }});
  EXPECT_FALSE(FormMakeWizzard->Visible());
  RunWizard({[&](TFormMakeWizzard& wizard) {
    MessageBoxAnswers().Push(IDYES);
    wizard.BitBtn3->Click();
  }});
  EXPECT_EQ(LastBox(), "Exit?");
  EXPECT_EQ(FormMakeWizzard, nullptr);
}

// Esc cancels the wizard as its Cancel button does, wherever the focus is.
TEST_F(MakeFileWizzardTest, EscCancelsTheWizardOnEveryPageAndField) {
  InstallTemplate();
  const struct {
    const char* Name;
    int Page;
    TWinControl* (*Focus)(TFormMakeWizzard&);
  } cases[] = {
      {"welcome, on Next", 0, [](TFormMakeWizzard& w) -> TWinControl* { return w.BitBtn2; }},
      {"part combo", 1, [](TFormMakeWizzard& w) -> TWinControl* { return w.ComboAvrMpu; }},
      {"path edit", 1, [](TFormMakeWizzard& w) -> TWinControl* { return w.Avr_GccBinPathEdit; }},
      {"flags edit", 2, [](TFormMakeWizzard& w) -> TWinControl* { return w.Avr_GccDefaultAsmEdit; }},
      {"main source edit", 3, [](TFormMakeWizzard& w) -> TWinControl* { return w.EditSource; }},
      {"guide text", 2, [](TFormMakeWizzard& w) -> TWinControl* { return w.Memo4; }},
      {"folders, on Back", 4, [](TFormMakeWizzard& w) -> TWinControl* { return w.BitBtn1; }},
      {"makefile text", 5, [](TFormMakeWizzard& w) -> TWinControl* { return w.Memo1; }},
      {"end, on Completion", 6, [](TFormMakeWizzard& w) -> TWinControl* { return w.BitBtn2; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    MessageBoxAnswers().Clear();
    RunWizard({[&](TFormMakeWizzard& wizard) {
                 if (c.Page > 3) wizard.EditSource->SetText("main");
                 NextTo(wizard, c.Page);
                 c.Focus(wizard)->SetFocus();
                 ASSERT_EQ(FocusedControl(), c.Focus(wizard));
                 MessageBoxAnswers().Push(IDNO);
                 PressKey(VK_ESCAPE);
               },
               [&](TFormMakeWizzard& wizard) {
                 EXPECT_EQ(wizard.PageIndex(), c.Page) << "No keeps the wizard open";
                 MessageBoxAnswers().Push(IDYES);
                 PressKey(VK_ESCAPE);
               }});
    ASSERT_EQ(MessageBoxAnswers().Requests().size(), 2u);
    EXPECT_EQ(LastBox(), "Exit?");
    EXPECT_EQ(FormMakeWizzard, nullptr) << "Yes frees the wizard";
  }
}

// The wizard writes the makefile make reads in the source folder, and
// replaces one the settings dialog did not write only when the user agrees
// (then kept beside it); declined, the wizard stays on its last page.
TEST_F(MakeFileWizzardTest, AMakefileOfAnotherOriginIsReplacedOnlyWhenTheUserAgrees) {
  InstallTemplate();
  const std::string own = MakefileText(TMakefileOptions());
  const std::string foreign = "all:\n\tavr-gcc -mmcu=atmega8 main.c\n";
  const std::string wizards = "# Makefile template of the Vornkit makefile wizard, for avr-gcc and make.\n" + foreign;
  std::string wizardsAlike;  // what this wizard writes: nothing is lost
  const struct {
    const char* Name;
    const char* File;
    const std::string* Old;    // nullptr: no makefile yet
    std::vector<int> Answers;  // to the question; none: no question
    bool Replaced;
  } cases[] = {
      {"none yet", "makefile", nullptr, {}, true},
      {"the settings dialog's", "makefile", &own, {}, true},
      {"the wizard's own, building the same", "makefile", &wizardsAlike, {}, true},
      {"the wizard's own, building otherwise, Yes", "makefile", &wizards, {IDYES}, true},
      {"foreign makefile, Yes", "makefile", &foreign, {IDYES}, true},
      {"foreign makefile, No", "makefile", &foreign, {IDNO}, false},
      {"foreign Makefile, Yes", "Makefile", &foreign, {IDYES}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    test::TTempFolder project;
    if (c.Old) test::WriteTextFile(project.File(c.File), *c.Old);
    test::WriteTextFile(project.File("main.c"), "int main(void) { return 0; }\n");
    MessageBoxAnswers().Clear();
    RunWizard({[&](TFormMakeWizzard& wizard) {
      wizard.CBUnitPath->SetText(project.Path());
      NextTo(wizard, 3);
      wizard.EditSource->UserEdit("main", 4);
      NextTo(wizard, 6);
      MessageBoxAnswers().Push(IDYES);  // build it
      for (int answer : c.Answers) MessageBoxAnswers().Push(answer);
      wizard.BitBtn2->Click();
      EXPECT_EQ(wizard.Done(), c.Replaced);
      if (c.Replaced) return;
      EXPECT_EQ(wizard.PageIndex(), 6);
      MessageBoxAnswers().Push(IDYES);  // Exit?
      wizard.BitBtn3->Click();
    }});
    std::vector<std::string> boxes;
    for (const TMessageBoxRequest& request : MessageBoxAnswers().Requests()) boxes.push_back(request.Text);
    ASSERT_EQ(boxes.size(), 1 + c.Answers.size() + (c.Replaced ? 0 : 1));
    EXPECT_EQ(boxes[0], "Do you want to build Makefile?");
    if (!c.Answers.empty()) {
      // With what the wizard's makefile will not do as the old one did.
      const char* origin = c.Old == &wizards ? " was written by the makefile wizard." : " was not written by Vornkit.";
      EXPECT_TRUE(boxes[1].starts_with(project.File(c.File) + origin + " Replace it? The old file is kept as " +
                                       c.File +
                                       ".bak.\n\nThe new makefile will not build the same:\n- main.c: compiled "
                                       "-mmcu=atmega128 in place of -mmcu=atmega8"))
          << boxes[1];
    }
    const std::string written = test::ReadTextFile(project.File(c.File));
    EXPECT_EQ(written.starts_with("# Makefile template of the Vornkit makefile wizard"), c.Replaced);
    if (!c.Old) wizardsAlike = written;
    const std::string other = c.File == std::string("makefile") ? "Makefile" : "makefile";
    EXPECT_FALSE(std::filesystem::exists(project.File(other)));
    const bool keptOld = c.Replaced && !c.Answers.empty();
    EXPECT_EQ(std::filesystem::exists(project.File(c.File + std::string(".bak"))), keptOld);
    if (keptOld) {
      EXPECT_EQ(test::ReadTextFile(project.File(c.File + std::string(".bak"))), *c.Old);
    }
  }
}

}  // namespace
}  // namespace vk
