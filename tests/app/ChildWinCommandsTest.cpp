// Find and replace in a document window: the dialogs answered as a person
// would, the question at each hit, and the boxes; every editing command of
// the program is one undo step.

#include "SrcEdit/Source/SrcEditKeyCmds.h"
#include "services/EditCommands.h"
#include "dialogs/BitToByteForm.h"
#include "services/ProjectHeader.h"
#include "dialogs/PrjName.h"
#include "tests/app/IdeTestSupport.h"

namespace vk::test {
namespace {

using TLines = std::vector<std::string>;
using TAnswers = std::vector<TModalResult>;
const std::string kText = "PORTB = 1; portb = 2;\r\nPORTB = 3;";

class ChildWinCommandsTest : public TIdeCase {
protected:
  ChildWinCommandsTest() {
    StartIde();
    CreateSearchDialogs();
    WriteTextFile(Project.File("main.c"), kText);
    Open(Project.File("main.c"));
    Editor = MainForm->ActiveDocument()->Editor;
  }

  // The dialog's answer after the person set its options and text.
  template <class Form>
  static void AnswerDialog(const std::string& text, TModalResult result, std::function<void(Form&)> options = {}) {
    ModalAnswers().PushResponder([=](TCustomForm* const& form) {
      auto* dialog = dynamic_cast<Form*>(form);
      EXPECT_NE(dialog, nullptr);
      if (!dialog) return mrCancel;
      dialog->ComboFindText->SetText(text);
      if (options) options(*dialog);
      return result;
    });
  }
  // The person's answers at the hits; each records where the question was.
  void AnswerHits(const TAnswers& answers) {
    for (TModalResult answer : answers)
      ModalAnswers().PushResponder([this, answer](TCustomForm* const& form) {
        EXPECT_EQ(form, ReplaceSelect);
        Questions.push_back(Editor->SelText());
        const TPoint caret = Editor->ClientToScreen({Editor->CaretXPix(), Editor->CaretYPix()});
        EXPECT_GE(ReplaceSelect->Left(), caret.X);
        EXPECT_GT(ReplaceSelect->Top(), caret.Y);
        return answer;
      });
  }

  // The bytes Save writes for the front document.
  std::string Saved() {
    MainForm->ActiveDocument()->Perform(WM_DOCUMENTCOMMAND, dcSave, 0);
    return ReadTextFile(Project.File("main.c"));
  }

  TSrcEdit* Editor = nullptr;
  TLines Questions;
};

TEST_F(ChildWinCommandsTest, FindVisitsEveryHitAndNeverChangesTheText) {
  const struct {
    const char* Name;
    std::string Text;
    bool MatchCase;
    TAnswers Hits;
    TLines Questions;
    TLines Boxes;
  } cases[] = {
      {"every hit in turn", "PORTB", true, {mrYes, mrYes}, {"PORTB", "PORTB"}, {}},
      {"any case", "portb", false, {mrYes, mrYes, mrYes}, {"PORTB", "portb", "PORTB"}, {}},
      {"cancelled at the first hit", "PORTB", false, {mrCancel}, {"PORTB"}, {}},
      {"not found", "DDRB", false, {}, {}, {"The end of the search!"}},
      {"nothing to find", "", false, {}, {}, {"Select the string to find!"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Questions.clear();
    MessageBoxAnswers().Clear();
    AnswerDialog<TFindForm>(c.Text, mrOk, [&](TFindForm& form) { form.CBMatchCase->SetChecked(c.MatchCase); });
    AnswerHits(c.Hits);
    for (size_t i = 0; i < c.Boxes.size(); ++i) Answer(IDOK);
    MainForm->EditFindCmd->Execute();
    EXPECT_EQ(Questions, c.Questions);
    EXPECT_EQ(Boxes(), c.Boxes);
    EXPECT_EQ(Editor->SrcGetText(), kText);
    EXPECT_FALSE(Editor->Modified());
    if (!c.Hits.empty()) {
      EXPECT_EQ(ReplaceSelect->Mode(), cmFind);
      EXPECT_EQ(ReplaceSelect->LabelTxt->Caption(), "found character " + c.Text + "Replace?");
    }
  }
}

TEST_F(ChildWinCommandsTest, TheFindTextComesFromTheSelectionOrTheToolBar) {
  Editor->SetCaretAndSelection({6, 1}, {1, 1}, {6, 1});
  std::string shown;
  ModalAnswers().PushResponder([&](TCustomForm* const&) {
    shown = FindForm->ComboFindText->Text();
    return mrCancel;
  });
  MainForm->EditFind1->Click();  // the item's own tag is another command's
  EXPECT_EQ(shown, "PORTB");

  MainForm->ComboBox2Find->SetText("portb");
  ModalAnswers().PushResponder([&](TCustomForm* const&) {
    shown = FindForm->ComboFindText->Text();
    return mrCancel;
  });
  MainForm->ToBtnFind->Click();
  EXPECT_EQ(shown, "portb");
  EXPECT_EQ(FindFromToolbarFlag, 0);
  EXPECT_EQ(MainForm->ActiveDocument()->Perform(WM_DOCUMENTCOMMAND, 99, 0), 0);

  // Bit to byte goes to the converter with the selection.
  Application().CreateForm(BitToByteForm);
  Editor->SetCaretAndSelection({6, 1}, {1, 1}, {6, 1});
  // As a click that selects enables them.
  MainForm->EditBitToByteCmd->SetEnabled(true);
  MainForm->ActiveDocument()->EditBitToByteCmd->SetEnabled(true);
  ModalAnswers().PushResponder([&](TCustomForm* const& form) {
    shown = form == BitToByteForm ? BitToByteForm->FindTextEdit->Text() : "another form";
    return mrCancel;
  });
  MainForm->EditBitToByte1->Click();
  EXPECT_EQ(shown, "PORTB");
}

TEST_F(ChildWinCommandsTest, ReplaceAsksAtEachHitWhenToldTo) {
  const struct {
    const char* Name;
    TModalResult Button;
    bool Prompt;
    TAnswers Hits;
    std::string After;
    TLines Boxes;
  } cases[] = {
      {"the next hit, unasked", mrOk, false, {}, "PORTC = 1; portb = 2;\r\nPORTB = 3;", {}},
      {"all, unasked", mrAll, false, {}, "PORTC = 1; PORTC = 2;\r\nPORTC = 3;", {}},
      {"replace, skip, all", mrAll, true, {mrYes, mrNo, mrAll}, "PORTC = 1; portb = 2;\r\nPORTC = 3;", {}},
      {"cancelled", mrAll, true, {mrYes, mrCancel}, "PORTC = 1; portb = 2;\r\nPORTB = 3;", {}},
      {"not found", mrOk, false, {}, kText, {"The end of the search! "}},
      {"the dialog cancelled", mrCancel, false, {}, kText, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Questions.clear();
    MessageBoxAnswers().Clear();
    Editor->SrcSetText(kText);
    Editor->SetModified(false);
    Editor->SetCaretXY({1, 1});
    const std::string find = c.Boxes.empty() ? "portb" : "DDRB";
    AnswerDialog<TReplaceFind>(find, c.Button, [&](TReplaceFind& form) {
      form.ComboReplaceText->SetText("PORTC");
      form.CBPrompt->SetChecked(c.Prompt);
      form.CBMatchCase->SetChecked(false);
      form.RBFromCursor->SetChecked(true);
    });
    AnswerHits(c.Hits);
    for (size_t i = 0; i < c.Boxes.size(); ++i) Answer(IDOK);
    MainForm->EditReplaceCmd->Execute();
    EXPECT_EQ(Editor->SrcGetText(), c.After);
    EXPECT_EQ(Questions.size(), c.Hits.size());
    EXPECT_EQ(Boxes(), c.Boxes);
    ExpectSaveOffered(c.After != kText);
  }
  Answer(IDOK);
  AnswerDialog<TReplaceFind>("", mrOk);
  MainForm->EditReplace1->Click();
  EXPECT_EQ(MessageBoxAnswers().Requests().back(),
            (TMessageBoxRequest{"Select the string to find!", "Character to find", MB_ICONERROR}));
  EXPECT_EQ(ReplaceSelect->Mode(), cmReplace);
}

// Every change the program makes places its text by buffer position, also
// on a line longer than the scroll width (1,024 columns), where the user's
// caret stops with the setting "Cursor move Eol" on; one Undo (Ctrl+Z)
// restores the bytes the file had.
TEST_F(ChildWinCommandsTest, ProgramChangesOnALineLongerThanTheScrollWidthPlaceTextByPosition) {
  Application().CreateForm(PrjNameForm);
  Application().CreateForm(BitToByteForm);
  // A source whose last line is 1,140 bytes long, with its hits beyond
  // column 1,024 (in the second, one starts before that column and ends
  // after it). It closes a comment that the first line opens, so the
  // includes go below it.
  const auto source = [](size_t pad) {
    std::string line = "char pad[] = \"" + std::string(pad, '.') + "\"; PORTB = 0x3f; /*PORTB*/ // end";
    line += std::string(1139 - line.size(), ' ') + "x";
    return "/* the next line closes this comment\n" + line;
  };
  const std::string far = source(1080);
  const std::string across = source(1005);
  const size_t lineStart = far.find('\n') + 1;
  ASSERT_EQ(far.size() - lineStart, 1140u);
  ASSERT_GT(far.find("PORTB") - lineStart, 1024u);
  ASSERT_LT(across.find("PORTB") - lineStart, 1024u);
  ASSERT_GT(across.find("PORTB") - lineStart + 5, 1024u);
  const auto with = [](std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
  };
  std::string header;
  for (const std::string& line : ProjectHeaderLines({})) header += "\n" + line;
  // The question at a hit records what is marked (it cannot stand right of
  // a caret beyond the window's edge, as AnswerHits expects).
  auto answerHit = [this](TModalResult answer) {
    ModalAnswers().PushResponder([this, answer](TCustomForm* const&) {
      Questions.push_back(Editor->SelText());
      return answer;
    });
  };
  auto find = [&](const std::string& text) {
    AnswerDialog<TFindForm>(text, mrOk);
    answerHit(mrCancel);  // the hit stays marked
    MainForm->EditFindCmd->Execute();
    // As the mouse selects, which offers the selection commands.
    Editor->OnMouseUp(Editor, mbLeft, {}, 0, 0);
  };
  auto replace = [&](TModalResult button, bool prompt) {
    AnswerDialog<TReplaceFind>("PORTB", button, [prompt](TReplaceFind& form) {
      form.ComboReplaceText->SetText("PORTC");
      form.CBPrompt->SetChecked(prompt);
      form.CBMatchCase->SetChecked(true);
      form.RBFromCursor->SetChecked(true);
    });
    if (prompt) answerHit(mrYes);
    MainForm->EditReplaceCmd->Execute();
  };
  const struct {
    const char* Name;
    std::string Text;
    std::function<void(TMDIChild&)> Command;
    std::string After;
    TLines Questions = {};  // the text marked at each question
  } cases[] = {
      {"include insertion", far, [](TMDIChild&) { MainForm->AutoInsertIncludes(); }, far + "\n#include <avr/io.h>"},
      {"separator line", far,
       [](TMDIChild& d) {
         d.Editor->SetCaretXY({1, 2});
         d.EditLineCommentCmd->Execute();
       },
       far + "\n" + SeparatorLine()},
      {"header delete", far + header, [](TMDIChild&) { MainForm->PrjNametDeleteCommentCmd->Execute(); }, far},
      {"comment in on a found hit", far,
       [&](TMDIChild& d) {
         find("0x3f");
         d.EditInCommentCmd->Execute();
       },
       with(far, "0x3f", "/*0x3f*/"), {"0x3f"}},
      {"comment out on a found hit", far,
       [&](TMDIChild& d) {
         find("/*PORTB*/");
         d.EditOutCommentCmd->Execute();
       },
       with(far, "/*PORTB*/", "PORTB"), {"/*PORTB*/"}},
      {"bit to byte on a found hit", far,
       [&](TMDIChild&) {
         find("0x3f");
         ModalAnswers().PushResponder([](TCustomForm* const&) {
           BitToByteForm->CheckBox7->SetChecked(true);
           return mrOk;
         });
         MainForm->SendDocumentCommand(dcBitToByte);
       },
       with(far, "0x3f", "0XBF"), {"0x3f"}},
      {"typing over a found hit", far,
       [&](TMDIChild& d) {
         find("0x3f");
         d.Editor->CommandProcessor(ecChar, '7');
       },
       with(far, "0x3f", "7"), {"0x3f"}},
      {"replace, asked", far, [&](TMDIChild&) { replace(mrOk, true); }, with(far, "PORTB", "PORTC"), {"PORTB"}},
      {"replace, asked, a hit across the scroll width", across, [&](TMDIChild&) { replace(mrOk, true); },
       with(across, "PORTB", "PORTC"), {"PORTB"}},
      {"replace next", far, [&](TMDIChild&) { replace(mrOk, false); }, with(far, "PORTB", "PORTC")},
      {"replace all", far, [&](TMDIChild&) { replace(mrAll, false); },
       with(with(far, "PORTB", "PORTC"), "PORTB", "PORTC")},
  };
  const std::string path = Project.File("main.c");
  for (bool pastEol : {false, true}) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(SettingsKeyPath("Editor"), true));
    registry.WriteBool(EditorValue::CursorMoveEolBool, pastEol);
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.Name) + (pastEol ? ", Cursor move Eol" : ""));
      Questions.clear();
      WriteTextFile(path, c.Text);
      Open(path);
      TMDIChild& document = *MainForm->ActiveDocument();
      Editor = document.Editor;
      ASSERT_EQ(Editor->Options().Contains(eoScrollPastEol), pastEol);
      c.Command(document);
      EXPECT_EQ(Saved(), c.After);
      EXPECT_EQ(Questions, c.Questions);
      document.EditUndoCmd->Execute();
      EXPECT_EQ(Saved(), c.Text);
    }
  }
  EXPECT_EQ(Boxes(), TLines{});
}

// The commands that rewrite a selection change only what they are for:
// the comments add or take off their marks, the others the text they
// replace; every other byte is saved as the file had it, line breaks of
// every kind included, and one Undo (Ctrl+Z) gives back the file.
TEST_F(ChildWinCommandsTest, ASelectionCommandChangesNoOtherByte) {
  Application().CreateForm(BitToByteForm);
  const std::string mixed = "l1\r\nl2\nl3\rl4\r\nl5\n";
  auto replaceAll = [](const char* find, const char* with) {
    return [=](TMDIChild&) {
      AnswerDialog<TReplaceFind>(find, mrAll, [=](TReplaceFind& form) {
        form.ComboReplaceText->SetText(with);
        form.CBPrompt->SetChecked(false);
        form.RBSelectedOnly->SetChecked(true);
      });
      MainForm->EditReplaceCmd->Execute();
    };
  };
  auto command = [](TSrcEditorCommand number) {
    return [=](TMDIChild& d) { d.Editor->CommandProcessor(number, 0); };
  };
  // The document's own commands and the main window's.
  auto commentIn = [](TMDIChild& d) { d.EditInCommentCmd->Execute(); };
  auto commentOut = [](TMDIChild&) { MainForm->EditOutCommentCmd->Execute(); };
  const struct {
    const char* Name;
    std::string Text;
    TBufferCoord From, To;
    TSrcSelectionMode Mode;
    std::function<void(TMDIChild&)> Command;
    std::string After;
  } cases[] = {
      {"comment in over an LF and a CR LF", "a;\nb;\r\nc;\nd;\n", {1, 1}, {3, 2}, smNormal, commentIn,
       "/*a;\nb;*/\r\nc;\nd;\n"},
      {"comment in over an LF before a lone CR", mixed, {1, 2}, {3, 3}, smNormal, commentIn,
       "l1\r\n/*l2\nl3*/\rl4\r\nl5\n"},
      {"comment out gives back the bytes", "l1\r\n/*l2\nl3*/\rl4\r\nl5\n", {1, 2}, {5, 3}, smNormal, commentOut,
       mixed},
      {"comment in on whole lines, their breaks inside", mixed, {1, 2}, {2, 3}, smLine, commentIn,
       "l1\r\n/*l2\nl3\r*/l4\r\nl5\n"},
      {"comment out on the same whole lines", "l1\r\n/*l2\nl3\r*/l4\r\nl5\n", {1, 2}, {2, 3}, smLine, commentOut,
       mixed},
      {"comment in up to the start of a line", mixed, {1, 2}, {1, 4}, smNormal, commentIn,
       "l1\r\n/*l2\nl3\r*/l4\r\nl5\n"},
      {"comment out up to the start of the end mark's line", "l1\r\n/*l2\nl3\r*/l4\r\nl5\n", {1, 2}, {1, 4},
       smNormal, commentOut, mixed},
      {"comment in on a column block over a short line", "abcd\nab\r\nabcd\r", {2, 1}, {4, 3}, smColumn,
       commentIn, "a/*bcd\nab\r\nabc*/d\r"},
      {"comment out on a column block", "a/*bcd\nab\r\nabc*/d\r", {2, 1}, {6, 3}, smColumn, commentOut,
       "abcd\nab\r\nabcd\r"},
      {"bit to byte within a line", "x\ry = 0x3f;\nz\r\n", {5, 2}, {9, 2}, smNormal,
       [](TMDIChild&) {
         ModalAnswers().PushResponder([](TCustomForm* const&) {
           BitToByteForm->CheckBox7->SetChecked(true);
           return mrOk;
         });
         MainForm->SendDocumentCommand(dcBitToByte);
       },
       "x\ry = 0XBF;\nz\r\n"},
      {"replace all in the selected text", "a;\nb;\r\na;\ra;\n", {1, 1}, {3, 3}, smNormal, replaceAll("a", "bb"),
       "bb;\nb;\r\nbb;\ra;\n"},
      {"upper case of the selection", mixed, {1, 2}, {3, 3}, smNormal, command(ecUpperCaseBlock),
       "l1\r\nL2\nL3\rl4\r\nl5\n"},
      {"block unindent", "l1\r\n\tl2\n\tl3\rl4\r\nl5\n", {1, 2}, {4, 3}, smNormal, command(ecBlockUnindent), mixed},
      {"block indent of whole lines to column 1", mixed, {1, 2}, {1, 4}, smLine, command(ecBlockIndent),
       "l1\r\n        l2\n        l3\r        l4\r\nl5\n"},
  };
  const std::string path = Project.File("main.c");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteTextFile(path, c.Text);
    Open(path);
    TMDIChild& document = *MainForm->ActiveDocument();
    Editor = document.Editor;
    Editor->SetSelectionMode(c.Mode);
    Editor->SetCaretAndSelection(c.To, c.From, c.To);
    c.Command(document);
    EXPECT_EQ(Saved(), c.After);
    document.EditUndoCmd->Execute();
    EXPECT_EQ(Saved(), c.Text);
  }
  EXPECT_EQ(Boxes(), TLines{});
}

// "Selected text" is the block the person selected: a column block's
// columns, whole lines, a running stretch; the find and the replace, asked
// or not, stay inside it.
TEST_F(ChildWinCommandsTest, SelectedTextIsTheBlockInEverySelectionMode) {
  const std::string grid = "aaaa\naaaa\naaaa\n";
  std::vector<TBufferCoord> hits;
  auto answerHits = [&](const TAnswers& answers) {
    for (TModalResult answer : answers)
      ModalAnswers().PushResponder([&hits, answer, this](TCustomForm* const&) {
        hits.push_back(Editor->BlockBegin());
        return answer;
      });
  };
  auto replace = [&](bool prompt, const TAnswers& answers) {
    return [=, &answerHits] {
      AnswerDialog<TReplaceFind>("a", mrAll, [=](TReplaceFind& form) {
        form.ComboReplaceText->SetText("B");
        form.CBPrompt->SetChecked(prompt);
        form.RBSelectedOnly->SetChecked(true);
      });
      answerHits(answers);
      MainForm->EditReplaceCmd->Execute();
    };
  };
  auto find = [&](const TAnswers& answers) {
    return [=, &answerHits] {
      AnswerDialog<TFindForm>("a", mrOk, [](TFindForm& form) {
        form.CBWholeWord->SetChecked(false);
        form.RBSelectedOnly->SetChecked(true);
      });
      answerHits(answers);
      MainForm->EditFindCmd->Execute();
    };
  };
  const TAnswers next(6, mrYes);
  const struct {
    const char* Name;
    TBufferCoord From, To;
    TSrcSelectionMode Mode;
    std::function<void()> Command;
    std::string After;
    std::vector<TBufferCoord> Hits = {};
  } cases[] = {
      {"replace all in a column block", {2, 1}, {4, 3}, smColumn, replace(false, {}), "aBBa\naBBa\naBBa\n"},
      {"replace all in a column block drawn leftwards", {4, 1}, {2, 3}, smColumn, replace(false, {}),
       "aBBa\naBBa\naBBa\n"},
      {"replace all in whole lines", {3, 2}, {2, 2}, smLine, replace(false, {}), "aaaa\nBBBB\naaaa\n"},
      {"replace all in a running selection", {2, 1}, {4, 3}, smNormal, replace(false, {}), "aBBB\nBBBB\nBBBa\n"},
      {"asked in a column block", {2, 1}, {4, 3}, smColumn, replace(true, {mrYes, mrNo, mrAll}),
       "aBaa\naBBa\naBBa\n", {{2, 1}, {3, 1}, {2, 2}}},
      {"found in a column block", {2, 1}, {4, 3}, smColumn, find(next), grid,
       {{2, 1}, {3, 1}, {2, 2}, {3, 2}, {2, 3}, {3, 3}}},
  };
  const std::string path = Project.File("main.c");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    hits.clear();
    WriteTextFile(path, grid);
    Open(path);
    Editor = MainForm->ActiveDocument()->Editor;
    // As the person chose the mode (Alt with the mouse selects a block).
    Editor->SetSelectionMode(c.Mode);
    Editor->SetCaretAndSelection(c.To, c.From, c.To);
    c.Command();
    EXPECT_EQ(Saved(), c.After);
    EXPECT_EQ(hits, c.Hits);
  }
  EXPECT_EQ(Boxes(), TLines{});
}

// After a run of typing, each command of the program changes the text as
// one step: one Undo (Ctrl+Z) takes back exactly that command and leaves
// the typing, one Redo brings it back.
using ChildWinUndoStepTest = TIdeCase;

TEST_F(ChildWinUndoStepTest, EachEditingCommandIsOneUndoStep) {
  StartIde();
  CreateSearchDialogs();
  Application().CreateForm(PrjNameForm);
  Application().CreateForm(BitToByteForm);
  const std::string text = "PORTB = 0x3f;\r\n/*c*/ value;\r\nvalue end";
  WriteTextFile(Project.File("main.c"), text);
  Open(Project.File("main.c"));
  TMDIChild& document = *MainForm->ActiveDocument();
  TSrcEdit& editor = *document.Editor;
  ASSERT_TRUE(editor.Options().Contains(eoGroupUndo));
  auto replace = [](TModalResult button) {
    return [button] {
      ModalAnswers().PushResponder([button](TCustomForm* const&) {
        ReplaceFind->ComboFindText->SetText("value");
        ReplaceFind->ComboReplaceText->SetText("v");
        ReplaceFind->CBPrompt->SetChecked(false);
        ReplaceFind->RBFromCursor->SetChecked(true);
        return button;
      });
      MainForm->EditReplaceCmd->Execute();
    };
  };
  const TBufferCoord none{0, 0};
  const struct {
    const char* Name;
    TBufferCoord From, To;  // the selection the command works on ({0, 0}: the caret at (1, 1))
    std::function<void()> Command;
    std::function<void()> Before = {};  // what the text needs before the typing
  } cases[] = {
      {"replace", none, none, replace(mrOk)},
      {"replace all", none, none, replace(mrAll)},
      {"paste", {1, 2}, {6, 2},
       [&] {
         Clipboard().SetAsText("p\r\nq");
         editor.PasteFromClipboard();
       }},
      {"cut", {1, 1}, {6, 1}, [&] { editor.CutToClipboard(); }},
      {"comment in", {1, 3}, {6, 3}, [&] { document.EditInCommentCmd->Execute(); }},
      {"comment out", {1, 2}, {6, 2}, [&] { document.EditOutCommentCmd->Execute(); }},
      {"separator line", none, none, [&] { document.EditLineCommentCmd->Execute(); }},
      {"delete line", none, none, [&] { document.EditlOneLineDel->Execute(); }},
      {"block indent", {1, 1}, {1, 3}, [&] { editor.CommandProcessor(ecBlockIndent, 0); }},
      {"block unindent", {1, 1}, {1, 3}, [&] { editor.CommandProcessor(ecBlockUnindent, 0); },
       [&] { editor.SrcSetText("\t" + text); }},
      {"header insert", none, none, [] { MainForm->PrjNametInsertCommentCmd->Execute(); }},
      {"header delete", none, none, [] { MainForm->PrjNametDeleteCommentCmd->Execute(); },
       [] { MainForm->PrjNametInsertCommentCmd->Execute(); }},
      {"include insertion", none, none, [] { MainForm->AutoInsertIncludes(); }},
      {"bit to byte", {9, 1}, {13, 1},
       [] {
         ModalAnswers().PushResponder([](TCustomForm* const&) {
           BitToByteForm->CheckBox7->SetChecked(true);
           return mrOk;
         });
         MainForm->SendDocumentCommand(dcBitToByte);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    editor.SrcSetText(text);
    editor.ClearUndo();
    if (c.Before) c.Before();
    editor.CommandProcessor(ecEditorBottom, 0);
    for (char typed : std::string("xyz")) editor.CommandProcessor(ecChar, typed);
    if (c.From.Line > 0)
      editor.SetCaretAndSelection(c.To, c.From, c.To);
    else
      editor.SetCaretXY({1, 1});
    // As the mouse selects, which offers the selection commands.
    editor.OnMouseUp(&editor, mbLeft, {}, 0, 0);
    const std::string before = editor.SrcGetText();
    c.Command();
    const std::string after = editor.SrcGetText();
    EXPECT_NE(after, before);
    document.EditUndoCmd->Execute();
    EXPECT_EQ(editor.SrcGetText(), before);
    document.EditRedoCmd->Execute();
    EXPECT_EQ(editor.SrcGetText(), after);
  }
}

}  // namespace
}  // namespace vk::test
