// The standard controls on the screen: one form with every kind, driven by
// clicks and keys on the widgets, checking that the model saw each change
// with the events it fires, and that the model's changes reach the widgets.

#include <gtest/gtest.h>

#include <QtCore/QCoreApplication>
#include <QtGui/QInputMethodEvent>
#include <QtGui/QTextCursor>
#include <QtGui/QTextDocument>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QSpinBox>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Buttons.h"
#include "platform/CheckBoxes.h"
#include "platform/CodePage.h"
#include "platform/ComboBoxes.h"
#include "platform/Edits.h"
#include "platform/Forms.h"
#include "platform/Labels.h"
#include "platform/ListBoxes.h"
#include "platform/Memos.h"
#include "platform/MessageBoxes.h"
#include "platform/Panels.h"
#include "platform/RadioGroups.h"
#include "platform/SpinEdits.h"
#include "platform/qt/QtEditPeers.h"
#include "platform/qt/QtPeer.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {
namespace {

// CP949 text from the UTF-8 literals of this file.
std::string Ansi(const char* utf8) { return CodePage::FromUtf8(utf8); }

class TControlsForm : public TForm {
public:
  explicit TControlsForm(TComponent* owner) : TForm(owner) {
    SetCaption(Ansi("표준 컨트롤"));
    SetBounds(0, 0, 560, 420);
    Place(FindLabel, 8, 12, 0, 0)->SetCaption("&Text to find:");
    Place(Find, 96, 8, 200, 21);
    Find->OnKeyPress = TKeyPressEvent(this, &TControlsForm::NoDigits);
    Find->OnChange = Logged("find change");
    Place(Combo, 304, 8, 120, 21);
    Combo->Items().SetText("ihex\nsrec\nbinary");
    Combo->SetText("ihex");
    Combo->OnDropDown = TNotifyEvent(this, &TControlsForm::Refill);
    Combo->OnChange = Logged("combo change");
    Place(List, 432, 8, 112, 60);
    List->Items().SetText("main.c\nled.c\nuart.c");
    List->OnClick = Logged("list click");
    List->OnDblClick = Logged("list dblclick");
    Place(Options, 8, 40, 200, 70)->SetCaption("Options");
    Case->SetParent(Options);
    Case->SetBounds(8, 18, 180, 17);
    Case->SetCaption("&Case sensitive");
    Case->OnClick = Logged("case click");
    Whole->SetParent(Options);
    Whole->SetBounds(8, 40, 180, 17);
    Whole->SetCaption(Ansi("단어 &단위로"));
    Place(Direction, 216, 40, 208, 70)->SetCaption("Direction");
    Forward->SetParent(Direction);
    Forward->SetBounds(8, 18, 190, 17);
    Forward->SetCaption("Forwor&d");
    Forward->SetChecked(true);
    Backward->SetParent(Direction);
    Backward->SetBounds(8, 40, 190, 17);
    Backward->SetCaption("&Backword");
    Backward->OnClick = Logged("backward click");
    Place(Memory, 8, 118, 416, 90)->SetCaption("External Memory Options Select");
    Memory->Items().SetText("Not Use external Options\n64 KB of external RAM used for variables (.data/.bss) and heap\n"
                            "64 KB of external RAM only used for heap");
    Memory->SetItemIndex(0);
    Memory->OnClick = Logged("memory click");
    Place(Output, 8, 216, 416, 110);
    Output->SetWordWrap(false);
    Output->SetScrollBars(ssBoth);
    Output->Lines().SetText(Ansi("Compiling: main.c\r\nmain.c:12: warning: 경고 한 개"));
    Place(Rich, 432, 76, 112, 132);
    Rich->SetText(Ansi("인쇄할 글\r\nint main(void)"));
    Place(SizeLabel, 8, 340, 0, 0)->SetCaption(Ansi("플래시 크기:"));
    Place(Size, 96, 340, 0, 0)->SetCaption("128KBytes");
    Size->Font().SetColor(clTeal);
    Size->Font().SetStyle({fsBold});
    Place(Gutter, 200, 336, 60, 21);
    Gutter->SetMinValue(0);
    Gutter->SetMaxValue(500);
    Gutter->SetValue(25);
    Gutter->OnChange = Logged("gutter change");
    Place(Shown, 268, 336, 156, 21);
    Shown->SetBorderStyle(bsNone);
    Shown->SetReadOnly(true);
    Shown->SetColor(clBtnFace);
    Shown->SetText("TEXT");
    Place(Formats, 432, 216, 112, 21);
    Formats->SetStyle(csDropDownList);
    Formats->Items().SetText("-std=gnu99\n-std=c99");
    Formats->SetItemIndex(0);
    Place(Next, 352, 364, 90, 25)->SetCaption("&Next>");
    Next->OnClick = Logged("next click");
    Place(Cancel, 452, 364, 90, 25)->SetCaption("&Cancel");
    Cancel->SetEnabled(false);
  }

  std::vector<std::string> Events;

  TLabel* FindLabel = new TLabel(this);
  TEdit* Find = new TEdit(this);
  TComboBox* Combo = new TComboBox(this);
  TListBox* List = new TListBox(this);
  TGroupBox* Options = new TGroupBox(this);
  TCheckBox* Case = new TCheckBox(this);
  TCheckBox* Whole = new TCheckBox(this);
  TGroupBox* Direction = new TGroupBox(this);
  TRadioButton* Forward = new TRadioButton(this);
  TRadioButton* Backward = new TRadioButton(this);
  TRadioGroup* Memory = new TRadioGroup(this);
  TMemo* Output = new TMemo(this);
  TRichEdit* Rich = new TRichEdit(this);
  TLabel* SizeLabel = new TLabel(this);
  TLabel* Size = new TLabel(this);
  TCSpinEdit* Gutter = new TCSpinEdit(this);
  TEdit* Shown = new TEdit(this);
  TComboBox* Formats = new TComboBox(this);
  TBitBtn* Next = new TBitBtn(this);
  TBitBtn* Cancel = new TBitBtn(this);

private:
  template <class T>
  T* Place(T* control, int left, int top, int width, int height) {
    control->SetParent(this);
    if (width)
      control->SetBounds(left, top, width, height);
    else
      control->SetBounds(left, top, control->Width(), control->Height());
    return control;
  }
  struct TLogged {
    TControlsForm* Form;
    std::string Name;
    void Run(TObject*) { Form->Events.push_back(Name); }
  };
  TNotifyEvent Logged(const std::string& name) {
    FLoggers.push_back(std::make_unique<TLogged>(TLogged{this, name}));
    return TNotifyEvent(FLoggers.back().get(), &TLogged::Run);
  }
  void NoDigits(TObject*, char& key) {
    if (key >= '0' && key <= '9') key = 0;
  }
  // The history is read again each time the list opens.
  void Refill(TObject*) {
    const std::string text = Combo->Text();
    Combo->Items().Clear();
    for (const char* line : {"ihex", "srec", "binary", "coff"}) Combo->Items().Add(line);
    Combo->SetText(text);
    Events.push_back("combo dropdown");
  }
  std::vector<std::unique_ptr<TLogged>> FLoggers;
};

class QtStdControlsTest : public testing::Test {
protected:
  QtStdControlsTest() {
    Form = NewForm<TControlsForm>(&Application());
    Form->Show();
    Window = QtPeerOf(Form)->Widget();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(Window));
  }
  ~QtStdControlsTest() override {
    CloseForms();
  }
  std::vector<std::string> TakeEvents() { return std::exchange(Form->Events, {}); }

  TControlsForm* Form;
  QWidget* Window;
};

TEST_F(QtStdControlsTest, EveryKindShowsItsModel) {
  QCoreApplication::processEvents();
  QImage image = Window->grab().toImage();
  std::cout << "screenshot: " << SaveScreenshot(image, "controls.png") << "\n";
  EXPECT_EQ(WidgetOf<QLabel>(Form->FindLabel)->text(), "Text to find:");
  EXPECT_EQ(WidgetOf<QLabel>(Form->SizeLabel)->text(), QString::fromUtf8("플래시 크기:"));
  EXPECT_EQ(WidgetOf<QLabel>(Form->Size)->palette().color(QPalette::WindowText), Rgb(clTeal));
  EXPECT_EQ(WidgetOf<QComboBox>(Form->Combo)->currentText(), "ihex");
  EXPECT_EQ(WidgetOf<QListWidget>(Form->List)->count(), 3);
  EXPECT_TRUE(WidgetOf<QRadioButton>(Form->Forward)->isChecked());
  EXPECT_TRUE(WidgetOf<QRadioButton>(Form->Memory->Buttons(0))->isChecked());
  EXPECT_EQ(qobject_cast<QGroupBox*>(QtPeerOf(Form->Memory)->Widget())->title(), "External Memory Options Select");
  EXPECT_EQ(WidgetOf<QPlainTextEdit>(Form->Output)->toPlainText(),
            QString::fromUtf8("Compiling: main.c\nmain.c:12: warning: 경고 한 개"));
  EXPECT_EQ(WidgetOf<QSpinBox>(Form->Gutter)->value(), 25);
  EXPECT_EQ(WidgetOf<QComboBox>(Form->Formats)->isEditable(), false);
  EXPECT_FALSE(WidgetOf<QPushButton>(Form->Cancel)->isEnabled());
  EXPECT_EQ(WidgetOf<QLineEdit>(Form->Shown)->palette().color(QPalette::Base), Rgb(clBtnFace));
  EXPECT_EQ(WidgetOf<QLineEdit>(Form->Find)->geometry(), QRect(96, 8, 200, 21)) << "the model's bounds";
}

TEST_F(QtStdControlsTest, TypingInAnEditGoesThroughTheModel) {
  auto* line = WidgetOf<QLineEdit>(Form->Find);
  QTest::mouseClick(line, Qt::LeftButton);
  EXPECT_EQ(FocusedControl(), Form->Find);
  QTest::keyClicks(line, "ab1c");
  EXPECT_EQ(Form->Find->Text(), "abc") << "OnKeyPress swallowed the digit";
  EXPECT_EQ(line->text(), "abc");
  EXPECT_EQ(TakeEvents(), std::vector<std::string>(3, "find change"));
  QTest::keyClick(line, Qt::Key_Backspace);
  QTest::keyClick(line, Qt::Key_Home, Qt::ShiftModifier);
  EXPECT_EQ(Form->Find->SelStart(), 0);
  EXPECT_EQ(Form->Find->SelLength(), 2) << "the widget's selection reaches the model";
  QTest::keyClick(line, Qt::Key_End);
  // The input method's result is typed by the model.
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8("한글"));
  QCoreApplication::sendEvent(line, &commit);
  EXPECT_EQ(Form->Find->Text(), "ab" + Ansi("한글"));
  EXPECT_EQ(line->text(), QString::fromUtf8("ab한글"));
  Form->Find->SetText("from code");
  EXPECT_EQ(line->text(), "from code");
  QTest::keyClick(line, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Form->Find->Text(), "from code") << "text from code cannot be undone";
  // Releasing a key or a button reaches the model's handlers.
  struct TUp {
    int Keys = 0, Buttons = 0;
    void Key(TObject*, uint16_t&, TShiftState) { ++Keys; }
    void Button(TObject*, TMouseButton, TShiftState, int, int) { ++Buttons; }
  } up;
  Form->Find->OnKeyUp = TKeyEvent(&up, &TUp::Key);
  Form->Find->OnMouseUp = TMouseEvent(&up, &TUp::Button);
  QTest::keyClick(line, Qt::Key_A);
  QTest::mouseClick(line, Qt::LeftButton);
  EXPECT_EQ(up.Keys, 1);
  EXPECT_EQ(up.Buttons, 1);
}

TEST_F(QtStdControlsTest, AMemoFollowsTheModelAndTheKeys) {
  auto* text = WidgetOf<QPlainTextEdit>(Form->Output);
  QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  Form->Output->SetSelStart(0);
  QTest::keyClicks(text, "$ ");
  QTest::keyClick(text, Qt::Key_Return);
  EXPECT_EQ(Form->Output->Lines().Strings(0), "$ ");
  EXPECT_EQ(Form->Output->Lines().Strings(1), "Compiling: main.c");
  for (int i = 0; i < 100; ++i) Form->Output->Lines().Add("line " + std::to_string(i));
  QCoreApplication::processEvents();
  EXPECT_EQ(text->document()->blockCount(), 103);
  EXPECT_EQ(text->textCursor().blockNumber(), 102) << "the caret follows the added lines";
  Form->Output->Lines().Clear();
  QCoreApplication::processEvents();
  EXPECT_EQ(text->toPlainText(), "");
}

TEST_F(QtStdControlsTest, AMemoShowsEveryChangeOfItsLines) {
  // Lines added at the end are appended to the widget; any other change
  // must still show in full. Double-byte lines check the conversion.
  TMemo& memo = *Form->Output;
  const struct {
    const char* Change;
    std::function<void()> Apply;
  } steps[] = {
      {"add", [&] { memo.Lines().Add(Ansi("링크: main.elf")); }},
      {"add two in one turn",
       [&] {
         memo.Lines().Add("a");
         memo.Lines().Add("b");
       }},
      {"put the first line", [&] { memo.Lines().Put(0, "first"); }},
      {"insert in the middle", [&] { memo.Lines().Insert(2, "x\r\ny"); }},
      {"delete the last line", [&] { memo.Lines().Delete(memo.Lines().Count() - 1); }},
      {"add, then put an earlier line",
       [&] {
         memo.Lines().Add("c");
         memo.Lines().Put(1, Ansi("둘"));
       }},
      {"text with a final break, then add",
       [&] {
         memo.Lines().SetText("p\r\nq\r\n");
         memo.Lines().Add("r");
       }},
      {"clear, then add",
       [&] {
         memo.Lines().Clear();
         memo.Lines().Add("only");
       }},
  };
  auto* text = WidgetOf<QPlainTextEdit>(&memo);
  for (const auto& step : steps) {
    step.Apply();
    QCoreApplication::processEvents();
    EXPECT_EQ(text->toPlainText().toStdString(), EditTextToQString(memo.Text()).toStdString()) << step.Change;
    EXPECT_EQ(text->textCursor().position(), EditIndexOf(memo.Text(), memo.SelStart())) << step.Change;
  }
}

TEST_F(QtStdControlsTest, AMemoReportsTheUsersSelectionAsByteOffsets) {
  // Widget characters on later lines, after double-byte ones, become the
  // model's byte offsets with CR LF between the lines.
  TMemo& memo = *Form->Output;
  memo.Lines().SetText("ab\r\n" + Ansi("둘셋") + "\r\nc");
  QCoreApplication::processEvents();
  auto* text = WidgetOf<QPlainTextEdit>(&memo);
  const struct {
    int Anchor, Position, SelStart, SelLength;
  } cases[] = {{0, 0, 0, 0}, {2, 2, 2, 0}, {3, 3, 4, 0}, {4, 4, 6, 0},
               {5, 5, 8, 0}, {7, 7, 11, 0}, {1, 4, 1, 5}, {6, 3, 4, 6}};
  for (const auto& c : cases) {
    QTextCursor cursor(text->document());
    cursor.setPosition(c.Anchor);
    cursor.setPosition(c.Position, QTextCursor::KeepAnchor);
    text->setTextCursor(cursor);
    QCoreApplication::processEvents();  // the model's echo of the selection
    EXPECT_EQ(memo.SelStart(), c.SelStart) << c.Anchor << ".." << c.Position;
    EXPECT_EQ(memo.SelLength(), c.SelLength) << c.Anchor << ".." << c.Position;
  }
}

TEST_F(QtStdControlsTest, ClicksOnChoicesReachTheModelWithTheirEvents) {
  QTest::mouseClick(WidgetOf<QCheckBox>(Form->Case), Qt::LeftButton);
  EXPECT_TRUE(Form->Case->Checked());
  QTest::mouseClick(WidgetOf<QRadioButton>(Form->Backward), Qt::LeftButton);
  EXPECT_FALSE(Form->Forward->Checked());
  EXPECT_FALSE(WidgetOf<QRadioButton>(Form->Forward)->isChecked());
  QTest::mouseClick(WidgetOf<QRadioButton>(Form->Backward), Qt::LeftButton);
  EXPECT_TRUE(WidgetOf<QRadioButton>(Form->Backward)->isChecked()) << "a checked radio button stays checked";
  QTest::mouseClick(WidgetOf<QRadioButton>(Form->Memory->Buttons(2)), Qt::LeftButton);
  EXPECT_EQ(Form->Memory->ItemIndex(), 2);
  QTest::mouseClick(WidgetOf<QPushButton>(Form->Next), Qt::LeftButton);
  EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"case click", "backward click", "memory click", "next click"}));
  // And back from code.
  Form->Case->SetChecked(false);
  Form->Memory->SetItemIndex(1);
  EXPECT_FALSE(WidgetOf<QCheckBox>(Form->Case)->isChecked());
  EXPECT_TRUE(WidgetOf<QRadioButton>(Form->Memory->Buttons(1))->isChecked());
  EXPECT_FALSE(WidgetOf<QRadioButton>(Form->Memory->Buttons(2))->isChecked());
  EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"case click", "memory click"}));
}

TEST_F(QtStdControlsTest, ListsReportTheUsersChoicesOnly) {
  auto* combo = WidgetOf<QComboBox>(Form->Combo);
  combo->showPopup();
  EXPECT_EQ(combo->count(), 4) << "OnDropDown filled the list before it opened";
  EXPECT_TRUE(Form->Combo->DroppedDown());
  combo->hidePopup();
  EXPECT_FALSE(Form->Combo->DroppedDown());
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_EQ(Form->Combo->ItemIndex(), 0);
  EXPECT_EQ(Form->Combo->Text(), "ihex");
  QTest::keyClicks(combo->lineEdit(), "x");
  EXPECT_EQ(Form->Combo->Text(), "ihexx");
  EXPECT_EQ(Form->Combo->ItemIndex(), -1);
  EXPECT_EQ(combo->count(), 4) << "typed text is no new item";
  auto* list = WidgetOf<QListWidget>(Form->List);
  const QPoint second = list->visualItemRect(list->item(1)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
  EXPECT_EQ(Form->List->ItemIndex(), 1);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
  QTest::keyClick(WidgetOf<QSpinBox>(Form->Gutter), Qt::Key_Up);
  EXPECT_EQ(Form->Gutter->Value(), 26);
  EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"combo dropdown", "combo change", "combo change", "list click",
                                                    "list dblclick", "gutter change"}));
  // The model's changes show without events.
  Form->Combo->SetItemIndex(2);
  Form->List->SetItemIndex(-1);
  Form->Gutter->SetValue(900);
  EXPECT_EQ(combo->currentText(), "binary");
  EXPECT_EQ(list->currentRow(), -1);
  EXPECT_EQ(WidgetOf<QSpinBox>(Form->Gutter)->value(), 500);
  EXPECT_EQ(TakeEvents(), std::vector<std::string>{"gutter change"}) << "a spin edit is an edit: its text changed";
}

TEST_F(QtStdControlsTest, TabMovesTheFocusInTheModelsOrder) {
  Form->Find->SetText("abc");
  Form->Find->SetFocus();
  QApplication::processEvents();
  QTest::keyClick(WidgetOf<QLineEdit>(Form->Find), Qt::Key_Tab);
  EXPECT_EQ(FocusedControl(), Form->Combo);
  EXPECT_TRUE(WidgetOf<QComboBox>(Form->Combo)->hasFocus());
  EXPECT_TRUE(WidgetOf<QComboBox>(Form->Combo)->window()->testAttribute(Qt::WA_KeyboardFocusChange))
      << "after Tab the focused control shows its focus frame";
  Form->Find->SetFocus();
  EXPECT_EQ(Form->Find->SelLength(), 3) << "entering selects the text";
  EXPECT_EQ(WidgetOf<QLineEdit>(Form->Find)->selectedText(), "abc");
}

TEST_F(QtStdControlsTest, AnAltChordTypesNothingAndALabelsKeyFocusesItsField) {
  const struct {
    TWinControl* Control;
    QWidget* Widget;
  } fields[] = {
      {Form->Find, WidgetOf<QLineEdit>(Form->Find)},
      {Form->Combo, WidgetOf<QComboBox>(Form->Combo)},
      {Form->Output, WidgetOf<QPlainTextEdit>(Form->Output)},
  };
  for (const auto& field : fields) {
    SCOPED_TRACE(field.Control->ClassName());
    const std::string text = field.Control->Text();
    field.Control->SetFocus();
    QTest::keyClick(field.Widget, Qt::Key_X, Qt::AltModifier);
    QTest::keyClick(field.Widget, Qt::Key_7, Qt::AltModifier);
    EXPECT_EQ(field.Control->Text(), text);
  }
  EXPECT_EQ(WidgetOf<QComboBox>(Form->Combo)->currentText(), "ihex");
  // Alt and the label's marked letter focus the field it names.
  Form->FindLabel->SetFocusControl(Form->Find);
  QTest::keyClick(WidgetOf<QSpinBox>(Form->Gutter), Qt::Key_T, Qt::AltModifier);
  EXPECT_EQ(FocusedControl(), Form->Find);
  EXPECT_TRUE(WidgetOf<QLineEdit>(Form->Find)->hasFocus());
}

}  // namespace
}  // namespace vk::test
