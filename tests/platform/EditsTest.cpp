// Edits and memos: typing through key presses the handler may change,
// text set by code versus changed by the user, undo, the clipboard keys,
// the edit messages, memo lines and the rich edit's printing.

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Clipboard.h"
#include "platform/Edits.h"
#include "platform/Forms.h"
#include "platform/Memos.h"
#include "platform/Printers.h"
#include "platform/StandardActions.h"
#include "tests/platform/FormsTestSupport.h"
#include "tests/platform/TempFolder.h"

namespace vk::test {
namespace {

struct TLog {
  std::vector<std::string> Events;
  char Swallow = 0;  // OnKeyPress swallows this key
  void Change(TObject*) { Events.push_back("change"); }
  void KeyPress(TObject*, char& key) {
    Events.push_back(std::string("key ") + key);
    if (key == Swallow) key = 0;
  }
  void Watch(TCustomEdit& edit) {
    edit.OnChange = TNotifyEvent(this, &TLog::Change);
    edit.OnKeyPress = TKeyPressEvent(this, &TLog::KeyPress);
  }
  int Count(const std::string& event) const { return static_cast<int>(std::count(Events.begin(), Events.end(), event)); }
  int Keys() const { return static_cast<int>(Events.size()) - Count("change"); }
};

void Type(TWinControl& control, const std::string& chars) {
  for (char c : chars) control.Perform(WM_CHAR, static_cast<unsigned char>(c));
}

class EditsTest : public TFormsCase {
protected:
  void SetUp() override { FSaved = Clipboard().SetBackend(std::make_unique<TMemoryClipboard>()); }
  void TearDown() override {
    Clipboard().SetBackend(std::move(FSaved));
    TFormsCase::TearDown();
  }
  TForm* Form = NewForm<TForm>(&Application());

  template <class T>
  T* Put() {
    auto* control = new T(Form);
    control->SetParent(Form);
    return control;
  }

private:
  std::unique_ptr<TClipboardBackend> FSaved;
};

TEST_F(EditsTest, TypingGoesThroughTheKeyPressHandler) {
  struct TCase {
    const char* Name;
    std::function<void(TEdit&, TLog&)> Prepare;
    std::string Chars;
    std::string Text;
    int Caret;
    int Changes;
  };
  const std::string han = "한";  // one double-byte character
  const TCase cases[] = {
      {"plain", [](TEdit&, TLog&) {}, "abc", "abc", 3, 3},
      {"swallowed key", [](TEdit&, TLog& log) { log.Swallow = 'b'; }, "abc", "ac", 2, 2},
      {"replaces the selection", [](TEdit& e, TLog&) { e.SetText("hello"), e.SetSelStart(1), e.SetSelLength(3); }, "E",
       "hEo", 2, 1},
      {"up to MaxLength", [](TEdit& e, TLog&) { e.SetMaxLength(2); }, "abc", "ab", 2, 2},
      {"double-byte character whole", [](TEdit&, TLog&) {}, "a" + han, "a" + han, 3, 2},
      {"no half character past MaxLength", [](TEdit& e, TLog&) { e.SetMaxLength(2); }, "a" + han, "a", 1, 1},
      {"backspace takes both bytes", [&](TEdit& e, TLog&) { e.SetText("a" + han), e.SetSelStart(3); }, "\b", "a", 1, 1},
      {"read-only", [](TEdit& e, TLog&) { e.SetReadOnly(true); }, "ab", "", 0, 0},
      {"Enter types nothing", [](TEdit&, TLog&) {}, "a\rb", "ab", 2, 2},
  };
  for (const TCase& c : cases) {
    auto* edit = Put<TEdit>();
    TLog log;
    c.Prepare(*edit, log);
    log.Watch(*edit);
    Type(*edit, c.Chars);
    EXPECT_EQ(edit->Text(), c.Text) << c.Name;
    EXPECT_EQ(edit->SelStart(), c.Caret) << c.Name;
    EXPECT_EQ(log.Count("change"), c.Changes) << c.Name;
    // Every key reaches the handler, a double-byte character byte by byte.
    EXPECT_EQ(log.Keys(), static_cast<int>(c.Chars.size())) << c.Name;
    delete edit;
  }
}

TEST_F(EditsTest, TextFromCodeFiresOnChangeOnlyWhenItChanges) {
  auto* edit = Put<TEdit>();
  TLog log;
  log.Watch(*edit);
  Type(*edit, "ab");
  edit->SetText("new");
  edit->SetText("new");
  EXPECT_EQ(log.Events, (std::vector<std::string>{"key a", "change", "key b", "change", "change"}));
  EXPECT_EQ(edit->SelStart(), 0);
  EXPECT_FALSE(edit->CanUndo()) << "text from code empties the undo buffer";
}

TEST_F(EditsTest, UndoTakesBackTheLastChangeAndRedoesIt) {
  struct TCase {
    const char* Name;
    std::function<void(TEdit&)> Change;
    std::string Before;
    std::string After;
  };
  const TCase cases[] = {
      {"a typing run", [](TEdit& e) { Type(e, "abc"); }, "x", "xabc"},
      {"Delete", [](TEdit& e) { e.SetSelStart(0), PressKey(VK_DELETE); }, "x", ""},
      {"Ctrl+X", [](TEdit& e) { e.SelectAll(), Type(e, "\x18"); }, "x", ""},
      {"a paste", [](TEdit& e) { Clipboard().SetAsText("yz"), Type(e, "\x16"); }, "x", "xyz"},
      {"the widget's own change", [](TEdit& e) { e.UserEdit("other", 5); }, "x", "other"},
  };
  for (const TCase& c : cases) {
    auto* edit = Put<TEdit>();
    edit->SetText("x");
    Form->Show();
    edit->SetFocus();
    edit->SetSelStart(1);
    c.Change(*edit);
    EXPECT_EQ(edit->Text(), c.After) << c.Name;
    ASSERT_TRUE(edit->CanUndo()) << c.Name;
    Type(*edit, "\x1A");
    EXPECT_EQ(edit->Text(), c.Before) << c.Name;
    edit->Undo();
    EXPECT_EQ(edit->Text(), c.After) << c.Name << ": a second undo redoes";
    delete edit;
  }
}

TEST_F(EditsTest, EditKeysAreTakenAndPasteKeepsOneLine) {
  auto* edit = Put<TEdit>();
  edit->SetText("one two");
  Form->Show();
  edit->SetFocus();
  edit->Perform(EM_SETSEL, 0, 3);
  EXPECT_EQ(edit->Perform(WM_KEYDOWN, VK_INSERT, 0), 0) << "Insert alone is no edit key";
  EXPECT_TRUE(PressKey(VK_INSERT, {ssCtrl}));
  EXPECT_EQ(Clipboard().AsText(), "one");
  edit->Perform(EM_SETSEL, 7, -1);
  Clipboard().SetAsText(" three\r\nfour");
  PressKey(VK_INSERT, {ssShift});
  EXPECT_EQ(edit->Text(), "one two three");
  EXPECT_EQ(edit->Perform(WM_KEYDOWN, VK_DELETE, 0), 1) << "Delete is taken: a widget must not delete again";
  EXPECT_EQ(edit->Perform(WM_KEYDOWN, VK_LEFT, 0), 0);
  struct TSwallow {
    void Key(TObject*, uint16_t& key, TShiftState) { key = 0; }
  } swallow;
  edit->OnKeyDown = TKeyEvent(&swallow, &TSwallow::Key);
  EXPECT_EQ(edit->Perform(WM_KEYDOWN, VK_LEFT, 0), 1) << "a key OnKeyDown swallowed is taken";
}

// Every byte travels through the clipboard, NUL bytes too, and a cut
// whose text the clipboard did not take deletes nothing.
TEST_F(EditsTest, TheClipboardKeysCarryEveryByteAndARefusedCutKeepsTheText) {
  using namespace std::string_literals;
  struct TCase {
    const char* Name;
    bool Memo;
    std::string Text;
    int SelStart, SelLength;
    std::string Keys;  // typed with the selection, "p\0q" on the clipboard
    std::string Expected;
  };
  const TCase cases[] = {
      {"an edit's cut, pasted back", false, "a\0b\0c"s, 1, 3, "\x18\x16", "a\0b\0c"s},
      {"a memo's cut after a NUL", true, "a\0b\r\ncd"s, 5, 2, "\x18", "a\0b\r\n"s},
      {"a memo's paste", true, "x", 1, 0, "\x16", "xp\0q"s},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TCustomEdit* edit = c.Memo ? static_cast<TCustomEdit*>(Put<TMemo>()) : Put<TEdit>();
    // A NUL ends a text set by a message; the user's edits and a memo's
    // lines keep it.
    if (c.Memo) static_cast<TMemo*>(edit)->Lines().SetTextStr(c.Text);
    else edit->UserEdit(c.Text, 0);
    Clipboard().SetAsText("p\0q"s);
    edit->SetSelStart(c.SelStart);
    edit->SetSelLength(c.SelLength);
    Type(*edit, c.Keys);
    EXPECT_EQ(edit->Text(), c.Expected);
    delete edit;
  }

  auto* edit = Put<TEdit>();
  edit->SetText("keep me");
  static_cast<TMemoryClipboard&>(Clipboard().Backend()).FailSet = CF_TEXT;
  for (const char* key : {"\x03", "\x18"}) {
    edit->SelectAll();
    EXPECT_THROW(Type(*edit, key), EClipboardError) << key;
    EXPECT_EQ(edit->Text(), "keep me");
  }
}

TEST_F(EditsTest, TheEditMessagesWorkOnTheSelection) {
  auto* edit = Put<TEdit>();
  edit->SetText("ab한cd");
  int32_t start = -1, end = -1;
  edit->Perform(EM_SETSEL, 6, 1);  // backwards
  EXPECT_EQ(edit->Perform(EM_GETSEL, reinterpret_cast<uintptr_t>(&start), reinterpret_cast<intptr_t>(&end)),
            MakeLParam(1, 6));
  EXPECT_EQ(start, 1);
  edit->Perform(EM_SETSEL, 3, 4);
  EXPECT_EQ(edit->SelText(), "한") << "a selection never ends inside a character";
  edit->Perform(EM_REPLACESEL, 1, reinterpret_cast<intptr_t>("XY"));
  EXPECT_EQ(edit->Text(), "abXYcd");
  EXPECT_EQ(edit->Perform(EM_CANUNDO), 1);
  edit->Perform(EM_REPLACESEL, 0, reinterpret_cast<intptr_t>("!"));
  EXPECT_EQ(edit->Perform(EM_CANUNDO), 0);
  edit->SetSelLength(INT32_MAX);
  EXPECT_EQ(edit->SelText(), "cd") << "a selection ends with the text";
}

TEST_F(EditsTest, EnteringAnEditSelectsItsTextAndTheEditActionsWorkOnIt) {
  auto* edit = Put<TEdit>();
  auto* memo = Put<TMemo>();
  edit->SetText("abc");
  memo->Lines().Add("line");
  Form->Show();
  memo->SetFocus();
  EXPECT_EQ(memo->SelLength(), 0) << "a memo does not select itself";
  edit->SetFocus();
  EXPECT_EQ(edit->SelLength(), 3);
  TEditCopy copy(Form);
  TEditUndo undo(Form);
  EXPECT_TRUE(copy.Execute());
  EXPECT_EQ(Clipboard().AsText(), "abc");
  undo.Update();
  EXPECT_FALSE(undo.Enabled());
  Type(*edit, "z");
  undo.Update();
  EXPECT_TRUE(undo.Enabled());
}

// ---------------------------------------------------------------- memos

TEST_F(EditsTest, MemoLinesKeepTheTextsFinalBreak) {
  // The caret goes after the changed lines.
  struct TCase {
    const char* Name;
    std::function<void(TStrings&)> Change;
    std::string Text;
    int Count;
    int Caret;
  };
  const TCase cases[] = {
      {"add to an empty memo", [](TStrings& l) { l.Add("a"); }, "a\r\n", 1, 3},
      {"add after a last line without break", [](TStrings& l) { l.SetText("a"), l.Add("b"); }, "a\r\nb", 2, 4},
      {"text with a final break", [](TStrings& l) { l.SetText("a\nb\r\n"); }, "a\r\nb\r\n", 2, 0},
      {"insert a text of two lines", [](TStrings& l) { l.SetText("a\r\nd"), l.Insert(1, "b\rc"); }, "a\r\nb\r\nc\r\nd", 4, 9},
      {"delete the only line", [](TStrings& l) { l.Add("a"), l.Delete(0); }, "", 0, 0},
      {"put", [](TStrings& l) { l.SetText("a\r\nb"), l.Put(1, "B"); }, "a\r\nB", 2, 4},
      {"put near the start", [](TStrings& l) { l.SetText("a\r\nbb\r\nccc\r\nd"), l.Put(0, "AAA"); },
       "AAA\r\nbb\r\nccc\r\nd", 4, 5},
      {"delete near the end", [](TStrings& l) { l.SetText("a\r\nbb\r\nccc\r\nd"), l.Delete(2); }, "a\r\nbb\r\nd", 3, 7},
      {"add after put and delete", [](TStrings& l) { l.SetText("a\r\nbb"), l.Put(0, "xyz"), l.Delete(1), l.Add("q"); },
       "xyz\r\nq", 2, 6},
  };
  for (const TCase& c : cases) {
    TMemo memo(nullptr);
    c.Change(memo.Lines());
    EXPECT_EQ(memo.Text(), c.Text) << c.Name;
    EXPECT_EQ(memo.Lines().Count(), c.Count) << c.Name;
    EXPECT_EQ(memo.SelStart(), c.Caret) << c.Name;
  }
  TMemo memo(nullptr);
  EXPECT_THROW(memo.Lines().Delete(0), EListError);
  EXPECT_THROW(memo.Lines().Get(0), EListError);
}

TEST_F(EditsTest, MemoChangesFireOnChangeOncePerChangeOrUpdate) {
  auto* memo = Put<TMemo>();
  TLog log;
  log.Watch(*memo);
  memo->Lines().Add("one");
  memo->Lines().Add("two");
  EXPECT_EQ(log.Count("change"), 2);
  EXPECT_EQ(memo->SelStart(), static_cast<int>(memo->Text().size())) << "the caret follows the added line";
  {
    TStringsUpdate update(memo->Lines());
    memo->Lines().Clear();
    for (int i = 0; i < 5; ++i) memo->Lines().Add("x");
  }
  EXPECT_EQ(log.Count("change"), 3);
  memo->SetSelStart(1);
  Type(*memo, "\r");
  EXPECT_EQ(memo->Lines().Count(), 6) << "Enter breaks the line";
  memo->SetWantReturns(false);
  Type(*memo, "\r");
  EXPECT_EQ(memo->Lines().Count(), 6);
  EXPECT_EQ(memo->Perform(WM_GETDLGCODE) & DLGC_WANTALLKEYS, 0) << "Enter is a dialog key then";
}

TEST_F(EditsTest, AHiddenMemoIsALineBufferWithoutAWindow) {
  TTempFolder folder;
  auto* buffer = Put<TMemo>();
  buffer->SetVisible(false);
  Form->Show();
  EXPECT_FALSE(buffer->HandleAllocated());
  buffer->Lines().Add("all: main.hex");
  buffer->Lines().Add("\tmake");
  buffer->Lines().SaveToFile(folder.File("AVRRUN.BAT"));
  buffer->Lines().Clear();
  buffer->Lines().LoadFromFile(folder.File("AVRRUN.BAT"));
  EXPECT_EQ(buffer->Lines().Text(), "all: main.hex\r\n\tmake\r\n");
  EXPECT_FALSE(buffer->HandleAllocated());
}

TEST_F(EditsTest, PastingIntoAMemoKeepsTheLines) {
  auto* memo = Put<TMemo>();
  Form->Show();
  memo->SetFocus();
  Clipboard().SetAsText("a\nb");
  memo->PasteFromClipboard();
  EXPECT_EQ(memo->Text(), "a\r\nb");
  EXPECT_EQ(memo->SelStart(), 4);
}

TEST_F(EditsTest, ARichEditPrintsItsLinesAsOneJob) {
  auto previous = SetPrinter(std::make_unique<TRecordingPrinter>());
  auto& printer = static_cast<TRecordingPrinter&>(Printer());
  auto* rich = Put<TRichEdit>();
  rich->SetVisible(false);
  rich->SetText("int main(void)\r\n{\r\n}");
  rich->Print("main.c");
  EXPECT_EQ(printer.Title(), "main.c");
  EXPECT_EQ(printer.FinishedJobs(), 1);
  ASSERT_EQ(printer.Pages().size(), 1u);
  SetPrinter(std::move(previous));
}

}  // namespace
}  // namespace vk::test
