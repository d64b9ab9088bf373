// The main window's editing, view and tool commands, and the document
// window's own editing commands, on the active document.

#include <sys/stat.h>

#include "services/EditCommands.h"
#include "services/ProjectFiles.h"
#include "services/SettingsStore.h"
#include "platform/PrintDialogs.h"
#include "platform/Printers.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "tests/app/IdeTestSupport.h"

namespace vk::test {
namespace {

using TLines = std::vector<std::string>;

class MainCommandsTest : public TIdeCase {
protected:
  MainCommandsTest() { StartIde(); }
  ~MainCommandsTest() override { ScriptedShell()->Answers.Clear(); }
  TMDIChild* OpenFile(const std::string& name, const std::string& text) {
    WriteTextFile(Project.File(name), text);
    Open(Project.File(name));
    return MainForm->ActiveDocument();
  }
  static void StoreEditorValue(const std::string& name, const std::string& value) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(SettingsKeyPath("Editor"), true));
    registry.WriteString(name, value);
  }
};

TEST_F(MainCommandsTest, EditingCommandsWorkOnTheActiveDocumentFromBothWindows) {
  enum TCommand { InComment, OutComment, Separator, DeleteLine };
  const std::string rule = SeparatorLine();
  const struct {
    const char* Name;
    TCommand Command;
    TBufferCoord From, To;  // the selection; the caret at To
    TLines After;
    const char* Box;
  } cases[] = {
      {"comment in", InComment, {1, 2}, {4, 2}, {"int a;", "/*int*/ b;", "", "/* c */"}, ""},
      {"comment out, not a comment", OutComment, {1, 2}, {4, 2}, {"int a;", "int b;", "", "/* c */"},
       CommentIncorrectText},
      {"separator below a line", Separator, {2, 1}, {2, 1}, {"int a;", rule, "int b;", "", "/* c */"}, ""},
      {"delete line", DeleteLine, {2, 2}, {2, 2}, {"int a;", "", "/* c */"}, ""},
  };
  for (bool fromMainWindow : {true, false}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.Name) + (fromMainWindow ? ", main window" : ", document window"));
      TMDIChild* document = OpenFile("main.c", "int a;\r\nint b;\r\n\r\n/* c */");
      TSrcEdit& editor = *document->Editor;
      editor.SetCaretAndSelection(c.To, c.From, c.To);
      CurrentLine = 0;  // as another window may have left it
      if (*c.Box) Answer(IDOK);
      switch (c.Command) {
        case InComment:
          fromMainWindow ? MainForm->EditInCommentCmdExecute(nullptr) : document->EditInCommentCmdExecute(nullptr);
          break;
        case OutComment:
          fromMainWindow ? MainForm->EditOutCommentCmdExecute(nullptr) : document->EditOutCommentCmdExecute(nullptr);
          break;
        case Separator:
          fromMainWindow ? MainForm->EditLineCommentCmdExecute(nullptr)
                         : document->EditLineCommentCmdExecute(nullptr);
          break;
        case DeleteLine:
          fromMainWindow ? MainForm->EditlOneLineDelCmdExecute(nullptr) : document->EditlOneLineDelExecute(nullptr);
          break;
      }
      EXPECT_EQ(LinesOf(editor.Lines()), c.After);
      EXPECT_EQ(Boxes(), *c.Box ? TLines{c.Box} : TLines{});
      ExpectSaveOffered(!*c.Box);
      // The comment commands follow the selection left.
      if (c.Command == InComment || c.Command == OutComment) {
        EXPECT_EQ(MainForm->EditInCommentCmd->Enabled(), editor.SelAvail());
        EXPECT_EQ(MainForm->ToBtnOutCommentItem->Enabled(), editor.SelAvail());
      }
      // Undo and redo take the change back and bring it again.
      if (!*c.Box) {
        fromMainWindow ? MainForm->EditUndoCmdExecute(nullptr) : document->EditUndoCmdExecute(nullptr);
        EXPECT_EQ(LinesOf(editor.Lines()), (TLines{"int a;", "int b;", "", "/* c */"}));
        fromMainWindow ? MainForm->EditRedoCmdExecute(nullptr) : document->EditRedoCmdExecute(nullptr);
        EXPECT_EQ(LinesOf(editor.Lines()), c.After);
      }
      editor.SetModified(false);
      MainForm->FileCloseAllCmd->Execute();
      Settle();
      MessageBoxAnswers().Clear();
    }
  }
}

TEST_F(MainCommandsTest, ZoomGutterAndCommentStatesFollowTheDocument) {
  TMDIChild* document = OpenFile("main.c", "int a;\r\n");
  TSrcEdit& editor = *document->Editor;
  editor.Font().SetSize(10);
  MainForm->ToBtnFontMaxItem->Click();
  MainForm->ToBtnFontMaxItem->Click();
  EXPECT_EQ(editor.Font().Size(), 14);
  for (int i = 0; i < 10; ++i) MainForm->BtnFontMinCmdExecute(nullptr);
  EXPECT_EQ(editor.Font().Size(), 1);

  const bool shown = editor.Gutter().Visible();
  MainForm->EditLineNumber1->Click();
  EXPECT_EQ(editor.Gutter().Visible(), !shown);
  EXPECT_EQ(MainForm->EditLineNumber1->Checked(), !shown);
  EXPECT_EQ(document->EditLineNumber1->Checked(), !shown);
  document->EditLineNumberCmd->Execute();
  EXPECT_EQ(editor.Gutter().Visible(), shown);
  EXPECT_EQ(MainForm->EditLineNumber1->Checked(), shown);

  editor.SetCaretAndSelection({4, 1}, {1, 1}, {4, 1});
  MainForm->Edit1Click(nullptr);
  EXPECT_TRUE(MainForm->EditOutComment1->Enabled());
  editor.SetCaretXY({1, 1});
  MainForm->Edit1Click(nullptr);
  EXPECT_FALSE(MainForm->EditOutComment1->Enabled());
  MainForm->EditInCommentCmdUpdate(nullptr);
  EXPECT_FALSE(MainForm->EditOutComment1->Enabled());
}

TEST_F(MainCommandsTest, WithoutADocumentTheCommandsDoNothing) {
  for (auto handler :
       {&TMainForm::EditUndoCmdExecute, &TMainForm::EditRedoCmdExecute, &TMainForm::EditlOneLineDelCmdExecute,
        &TMainForm::BtnFontMaxCmdExecute, &TMainForm::BtnFontMinCmdExecute, &TMainForm::EditInCommentCmdExecute,
        &TMainForm::EditOutCommentCmdExecute, &TMainForm::EditLineCommentCmdExecute,
        &TMainForm::EditLineNumberCmdExecute, &TMainForm::EditFindCmdExecute, &TMainForm::ToBtnFindClick,
        &TMainForm::EditReplaceCmdExecute, &TMainForm::FilePrinterCmdExecute, &TMainForm::PopIncludeAdd1Click,
        &TMainForm::TreeView1DblClick, &TMainForm::ListView1DblClick})
    (MainForm->*handler)(nullptr);
  MainForm->AutoInsertIncludes();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(MainForm->DocumentCount(), 0);
  EXPECT_FALSE(MainForm->EditInCommentCmd->Enabled());
}

TEST_F(MainCommandsTest, TheFindBoxListsTheHistoryOfTheEditorFolder) {
  TTempFolder editorFolder;
  StoreEditorValue(EditorValue::EditorPath, editorFolder.Path());
  WriteTextFile(editorFolder.File("FindF.ini"), "newest\r\nPORTB\r\n");
  MainForm->ComboBox2Find->SetText("typed");
  MainForm->ComboBox2Find->DropDown();
  EXPECT_EQ(LinesOf(MainForm->ComboBox2Find->Items()), (TLines{"newest", "PORTB"}));
  EXPECT_EQ(MainForm->ComboBox2Find->Text(), "typed");

  std::remove(editorFolder.File("FindF.ini").c_str());
  Answer(IDOK);
  MainForm->ComboBox2Find->DropDown();
  EXPECT_EQ(Boxes(), TLines{"Cannot find the file[FindF.ini]to read! "});
  EXPECT_EQ(MainForm->ComboBox2Find->Items().Count(), 0);
  EXPECT_EQ(MainForm->ComboBox2Find->Text(), "typed");
}

// A printer whose jobs fail as they start.
class TFailingPrinter : public TRecordingPrinter {
protected:
  void StartJob() override { throw EPrinter("The printer is out of paper"); }
};

TEST_F(MainCommandsTest, PrintSendsTheWholeTextAsOneJobNamedAfterTheFile) {
  auto* dialogs = dynamic_cast<TScriptedPrintDialogs*>(&PrintDialogBackend());
  auto* printer = dynamic_cast<TRecordingPrinter*>(&Printer());
  ASSERT_TRUE(dialogs && printer);
  OpenFile("main.c", "int main(void)\r\n{\r\n\treturn 0;\r\n}\r\n");
  const int jobs = printer->FinishedJobs();
  dialogs->PrintAnswers.Push(std::nullopt);
  MainForm->FilePrinterCmd->Execute();
  EXPECT_EQ(printer->FinishedJobs(), jobs);

  dialogs->PrintAnswers.Push(TPrintDialogData{});
  MainForm->FilePrinterCmd->Execute();
  EXPECT_EQ(printer->FinishedJobs(), jobs + 1);
  EXPECT_EQ(printer->Title(), "main.c");
  ASSERT_EQ(printer->Pages().size(), 1u);
  std::string page;
  for (const std::string& call : printer->Pages()[0]) page += call + "\n";
  for (const char* text : {"int main(void)", "return 0;", "}"}) EXPECT_NE(page.find(text), std::string::npos) << text;
  EXPECT_EQ(Panel(spPrint), "");

  // A failed job goes on to the error report, and the status bar no longer
  // says that it prints.
  std::unique_ptr<TPrinter> saved = SetPrinter(std::make_unique<TFailingPrinter>());
  dialogs->PrintAnswers.Push(TPrintDialogData{});
  EXPECT_THROW(MainForm->FilePrinterCmdExecute(nullptr), EPrinter);
  EXPECT_EQ(Panel(spPrint), "");
  SetPrinter(std::move(saved));

  dialogs->SetupAnswers.Push(std::nullopt);
  MainForm->FilePrintSetupCmd->Execute();
  EXPECT_EQ(dialogs->SetupAnswers.Requests().size(), 1u);
  dialogs->PrintAnswers.Clear();
  dialogs->SetupAnswers.Clear();
}

TEST_F(MainCommandsTest, HelpAndTheFontEditorOpenWhatExistsAndSayWhatIsMissing) {
  TTempFolder helpFolder;
  WriteTextFile(helpFolder.File("VornkitHelpE.HLP"), "help");
  StoreEditorValue(EditorValue::EditorPath, helpFolder.Path());
  ScriptedShell()->Answers.Push("");
  MainForm->HelpHelpCmd->Execute();
  ASSERT_EQ(ScriptedShell()->Answers.Requests().size(), 1u);
  EXPECT_EQ(ScriptedShell()->Answers.Requests()[0].Kind, TShellRequest::Help);
  EXPECT_EQ(ScriptedShell()->Answers.Requests()[0].Target, helpFolder.File("VornkitHelpE.HLP"));

  // The device help is not shipped; an empty editor folder is the install
  // folder.
  const std::string installFolder = LookUpInstallFolder().Folder;
  StoreEditorValue(EditorValue::EditorPath, "");
  Answer(IDOK);
  MainForm->HelpMega603->Click();
  Answer(IDOK);
  MainForm->FontEdit1->Click();
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_NE(Boxes()[0].find(JoinPath(installFolder, "MEGA103-603.HLP")), std::string::npos);
  EXPECT_NE(Boxes()[1].find("FontEdit"), std::string::npos);

  mkdir(JoinPath(installFolder, "FontEdit").c_str(), 0755);
  WriteTextFile(JoinPath(installFolder, "FontEdit/FontEdit.exe"), "");
  ScriptedShell()->Answers.Push("");
  MainForm->FontEdit1->Click();
  ASSERT_EQ(ScriptedShell()->Answers.Requests().size(), 2u);
  EXPECT_EQ(ScriptedShell()->Answers.Requests()[1].Kind, TShellRequest::Program);
}

TEST_F(MainCommandsTest, ToolBarAndSidePanelShowAndHide) {
  MainForm->SetupToolBarShow1->Click();
  EXPECT_FALSE(MainForm->ToolBar2->Visible());
  EXPECT_FALSE(MainForm->SetupToolBarShow1->Checked());
  MainForm->SetupToolBarShow1->Click();
  EXPECT_TRUE(MainForm->ToolBar2->Visible());

  const int splitterLeft = MainForm->Splitter2->Left();
  MainForm->SetupIncWindowShow1->Click();
  EXPECT_FALSE(MainForm->IncludeFilePanel1->Visible());
  EXPECT_FALSE(MainForm->Splitter2->Visible());
  MainForm->SetupIncWindowShow1->Click();
  EXPECT_TRUE(MainForm->IncludeFilePanel1->Visible());
  EXPECT_TRUE(MainForm->SetupIncWindowShow1->Checked());
  EXPECT_EQ(MainForm->Splitter2->Left(), splitterLeft);
}

}  // namespace
}  // namespace vk::test
