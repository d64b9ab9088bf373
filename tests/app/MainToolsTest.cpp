// The tool windows made at start-up and the main window's commands that
// open them; the project-header commands and the document window's
// bit-to-byte command on an open project.

#include "app/Program.h"
#include "services/SettingsStore.h"
#include "dialogs/AsciiCodeForm.h"
#include "dialogs/AvrImage.h"
#include "dialogs/BitToByteForm.h"
#include "dialogs/MakefileWizardForm.h"
#include "dialogs/PrjName.h"
#include "dialogs/about.h"
#include "tests/app/IdeTestSupport.h"

namespace vk::test {
namespace {

class MainToolsTest : public TIdeCase {
protected:
  // The program's start, and a project of one source open in it.
  void StartWithProject(const std::string& text) {
    CreateStartupForms();
    MainForm->Show();
    WriteTextFile(Project.File("main.c"), text);
    WriteTextFile(Project.File("AddFile.ini"), "[AddFile]\r\nled.c\r\n\r\n");
    WriteTextFile(Project.File("led.c"), "");
    Open(Project.File("main.c"));
  }
  static TSrcEdit& Editor() { return *MainForm->ActiveDocument()->Editor; }
  // Selects with the mouse, which offers the selection commands.
  static void Select(TBufferCoord from, TBufferCoord to) {
    Editor().SetCaretAndSelection(to, from, to);
    Editor().OnMouseUp(&Editor(), mbLeft, {}, 0, 0);
  }
  // Answers the next modal form with what a person does in it.
  template <class Form>
  static void WhenShown(std::function<TModalResult(Form&)> act) {
    ModalAnswers().PushResponder([act](TCustomForm* form) { return act(dynamic_cast<Form&>(*form)); });
  }
};

TEST_F(MainToolsTest, TheStartMakesTheToolWindowsAndTheFirstRunFillsTheFieldDialog) {
  CreateStartupForms();
  // The main window first, the tool windows in this order after it.
  const auto place = [](TCustomForm* form) {
    for (int i = 0; i < Screen().FormCount(); ++i)
      if (Screen().Forms(i) == form) return i;
    return -1;
  };
  const std::vector<TCustomForm*> made{MainForm, FormMakeWizzard, ImageForm, PrjNameForm, BitToByteForm, ASCIICodeForm};
  EXPECT_EQ(place(MainForm), 0);
  for (size_t i = 1; i < made.size(); ++i) EXPECT_LT(place(made[i - 1]), place(made[i])) << i;
  MainForm->Show();
  EXPECT_EQ(PrjNameForm->Fields()[pfProjectName], "Vornkit Prj");
  EXPECT_EQ(PrjNameForm->Fields(), ReadProjectHeaderFields());
}

TEST_F(MainToolsTest, TheHeaderCommandsPutTheBlockAboveTheSourceAndTakeItAway) {
  StartWithProject("int main(void) { return 0; }\n");
  MainForm->ToBtnCommentInsert->Click();
  ASSERT_EQ(Editor().Lines().Count(), 21);
  EXPECT_EQ(Editor().Lines().Get(8), "8. Filename\t        :main.c");
  EXPECT_EQ(Editor().Lines().Get(15), "15. Add Source Name\t:led.c");
  EXPECT_EQ(Editor().Lines().Get(19), "int main(void) { return 0; }");
  ExpectSaveOffered(true);
  EXPECT_EQ(PrjNameForm->FilenameEdit->Text(), "main.c") << "the dialog's edits are reloaded";

  Answer(IDOK);
  MainForm->PrjNametInsertCommentCmd->Execute();
  MainForm->ToBtnCommentDelete->Click();
  Answer(IDOK);
  MainForm->PrjNametDeleteCommentCmd->Execute();
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Already Created[Project] Comment!", "Cannot Found [Project] Comment!"}));
  EXPECT_EQ(LinesOf(Editor().Lines()), (std::vector<std::string>{"int main(void) { return 0; }", ""}));
}

TEST_F(MainToolsTest, BitToByteReplacesTheSelectionWithTheConvertersByte) {
  StartWithProject("PORTB = 0x3f  ;\n    x;\n");
  Select({9, 1}, {15, 1});
  WhenShown<TBitToByteForm>([](TBitToByteForm& form) {
    EXPECT_EQ(form.FindTextEdit->Text(), "0x3f");
    form.CheckBox7->SetChecked(true);
    return mrOk;
  });
  MainForm->SendDocumentCommand(dcBitToByte);
  EXPECT_EQ(Editor().Lines().Get(0), "PORTB = 0XBF;");
  ExpectSaveOffered(true);

  // Cancel changes nothing; OK without a selection says so.
  Select({9, 1}, {13, 1});
  ModalAnswers().Push(mrCancel);
  MainForm->SendDocumentCommand(dcBitToByte);
  // A selection of blanks hands over no text.
  Select({1, 2}, {4, 2});
  ModalAnswers().Push(mrOk);
  Answer(IDOK);
  MainForm->SendDocumentCommand(dcBitToByte);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Select the string to find!"}));
  EXPECT_EQ(Editor().Lines().Get(0), "PORTB = 0XBF;");
}

TEST_F(MainToolsTest, BitToByteConvertsOneLinesStretchInItsModeAndRefusesOtherShapes) {
  StartWithProject("");
  const std::vector<std::string> text{"a0x3fb", "c0x3fd"};
  const std::string refused = "Select the byte text within one line!";
  const struct {
    const char* Name;
    TSrcSelectionMode Mode;
    TBufferCoord From, To;
    std::vector<std::string> After;
    std::string Box;
  } cases[] = {
      {"a column of one row", smColumn, {2, 1}, {6, 1}, {"a0XBFb", "c0x3fd"}, ""},
      {"a column of two rows", smColumn, {2, 1}, {6, 2}, text, refused},
      {"running text over two lines", smNormal, {2, 1}, {6, 2}, text, refused},
      {"one whole line", smLine, {3, 2}, {5, 2}, {"a0x3fb", "0XBF"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    MessageBoxAnswers().Clear();
    Editor().SrcSetText(text[0] + "\r\n" + text[1]);
    Editor().ClearUndo();
    Editor().SetSelectionMode(c.Mode);
    Select(c.From, c.To);
    if (c.Box.empty())
      WhenShown<TBitToByteForm>([](TBitToByteForm& form) {
        form.EditByte->SetText("0XBF");
        return mrOk;
      });
    else
      Answer(IDOK);
    MainForm->SendDocumentCommand(dcBitToByte);
    EXPECT_EQ(LinesOf(Editor().Lines()), c.After);
    EXPECT_EQ(Boxes(), c.Box.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.Box});
    EXPECT_EQ(Editor().SelectionMode(), c.Mode);
    MainForm->ActiveDocument()->EditUndoCmd->Execute();
    EXPECT_EQ(LinesOf(Editor().Lines()), text) << "one undo step";
  }
}

TEST_F(MainToolsTest, TheToolCommandsShowTheirWindows) {
  StartWithProject("");
  TPrjNameForm* startup = PrjNameForm;
  EXPECT_TRUE(MainForm->ProjectCmd->Enabled()) << "offered with the document windows";
  WhenShown<TPrjNameForm>([&](TPrjNameForm& form) {
    EXPECT_NE(&form, startup) << "a new dialog";
    return mrCancel;
  });
  MainForm->ProjectCmd->Execute();
  WhenShown<TAboutBox>([](TAboutBox&) { return mrOk; });
  MainForm->HelpAboutCmd->Execute();
  WhenShown<TFormMakeWizzard>([](TFormMakeWizzard& wizard) {
    EXPECT_EQ(wizard.PageIndex(), 0);
    Answer(IDYES);
    return mrCancel;
  });
  MainForm->WizzardMakefileCmd->Execute();
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Exit?"}));

  MainForm->ViewImageViewCmd->Execute();
  EXPECT_TRUE(ImageForm->Visible());
  TASCIICodeForm* first = ASCIICodeForm;
  MainForm->ViewAsciiCodeCmd->Execute();
  MainForm->ViewAsciiCodeCmd->Execute();
  EXPECT_NE(ASCIICodeForm, first);
  EXPECT_TRUE(ASCIICodeForm->Visible());
}

}  // namespace
}  // namespace vk::test
