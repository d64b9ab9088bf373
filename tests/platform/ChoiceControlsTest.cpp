// Check boxes, radio buttons and groups, combo and list boxes, labels, spin
// edits and anchors: which events a value set from code fires, which the
// user's actions fire, and in what order.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Buttons.h"
#include "platform/CheckBoxes.h"
#include "platform/ComboBoxes.h"
#include "platform/Edits.h"
#include "platform/Forms.h"
#include "platform/InputState.h"
#include "platform/Labels.h"
#include "platform/ListBoxes.h"
#include "platform/RadioGroups.h"
#include "platform/SpinEdits.h"
#include "tests/platform/FontMetricsScope.h"
#include "tests/platform/FormsTestSupport.h"

namespace vk::test {
namespace {

struct TLog {
  std::vector<std::string> Events;
  void Click(TObject*) { Events.push_back("click"); }
  void DblClick(TObject*) { Events.push_back("dblclick"); }
  void Change(TObject*) { Events.push_back("change"); }
  void DropDown(TObject*) { Events.push_back("dropdown"); }
  std::vector<std::string> Take() { return std::exchange(Events, {}); }
};

using TEvents = std::vector<std::string>;

class ChoiceControlsTest : public TFormsCase {
protected:
  TForm* Form = NewForm<TForm>(&Application());
  TLog Log;

  template <class T>
  T* Put() {
    auto* control = new T(Form);
    control->SetParent(Form);
    control->OnClick = TNotifyEvent(&Log, &TLog::Click);
    return control;
  }
};

TEST_F(ChoiceControlsTest, CheckedFiresOnClickWhenItChanges) {
  auto* box = Put<TCheckBox>();
  box->SetChecked(true);
  box->SetChecked(true);
  box->SetChecked(false);
  EXPECT_EQ(Log.Take(), (TEvents{"click", "click"}));
  // A mouse click reaches the box as its state (the widget sets it), not as
  // a click of its own.
  box->Perform(WM_LBUTTONDOWN, MK_LBUTTON, 0);
  box->Perform(WM_LBUTTONUP, 0, 0);
  EXPECT_TRUE(Log.Take().empty());
}

TEST_F(ChoiceControlsTest, ARadioButtonTurnsItsSiblingsOffSilently) {
  auto* a = Put<TRadioButton>();
  auto* b = Put<TRadioButton>();
  TLog other;
  b->OnClick = TNotifyEvent(&other, &TLog::Click);
  a->SetChecked(true);
  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_EQ(Log.Take(), TEvents{"click"}) << "a hears nothing of being turned off";
  EXPECT_EQ(other.Take(), TEvents{"click"});
  EXPECT_FALSE(a->TabStop());
  EXPECT_TRUE(b->TabStop());
  b->SetChecked(false);
  EXPECT_TRUE(other.Take().empty()) << "unchecking fires nothing";
}

TEST_F(ChoiceControlsTest, TheArrowKeysCheckTheRadioButtonTheyMoveTo) {
  auto* a = Put<TRadioButton>();
  auto* b = Put<TRadioButton>();
  a->SetChecked(true);
  Form->Show();
  a->SetFocus();
  PressKey(VK_DOWN);
  EXPECT_EQ(FocusedControl(), b);
  EXPECT_TRUE(b->Checked());
  EXPECT_FALSE(a->Checked());
  // The focus a mouse press brings leaves the choice to the click.
  SetKeyDown(VK_LBUTTON, true);
  a->SetFocus();
  SetKeyDown(VK_LBUTTON, false);
  EXPECT_TRUE(b->Checked());
}

TEST_F(ChoiceControlsTest, ARadioGroupClicksWhenItsIndexChanges) {
  auto* group = Put<TRadioGroup>();
  group->Items().Add("Not Use external Options");
  group->Items().Add("64 KB of external RAM used for variables (.data/.bss) and heap");
  group->Items().Add("64 KB of external RAM only used for heap");
  struct TCase {
    const char* Name;
    std::function<void()> Step;
    int Index;
    TEvents Events;
  };
  const TCase cases[] = {
      {"code selects", [&] { group->SetItemIndex(1); }, 1, {"click"}},
      {"the same again", [&] { group->SetItemIndex(1); }, 1, {}},
      {"the user's click", [&] { group->Buttons(2)->SetChecked(true); }, 2, {"click"}},
      {"past the items", [&] { group->SetItemIndex(9); }, 2, {}},
      {"none", [&] { group->SetItemIndex(-1); }, -1, {}},
      {"code selects again", [&] { group->SetItemIndex(0); }, 0, {"click"}},
      {"an item goes", [&] { group->SetItemIndex(2), Log.Take(), group->Items().Delete(2); }, 1, {}},
  };
  for (const TCase& c : cases) {
    c.Step();
    EXPECT_EQ(group->ItemIndex(), c.Index) << c.Name;
    EXPECT_EQ(Log.Take(), c.Events) << c.Name;
    for (int i = 0; i < group->Items().Count(); ++i) EXPECT_EQ(group->Buttons(i)->Checked(), i == c.Index) << c.Name;
  }
  EXPECT_EQ(group->Buttons(1)->Caption(), group->Items().Strings(1));
  EXPECT_THROW(group->Buttons(2), EListError);
}

TEST_F(ChoiceControlsTest, ARadioGroupStacksItsButtons) {
  TFontMetricsScope metrics;  // 16 pixels high
  auto* group = Put<TRadioGroup>();
  group->SetBounds(0, 0, 200, 101);
  group->Items().SetText("a\nb\nc");
  // (101 - 16 - 5) / 3 each, below the caption.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(group->Buttons(i)->BoundsRect(), Bounds(8, 18 + 26 * i, 190, 26));
}

TEST_F(ChoiceControlsTest, AComboBoxFiresOnlyForTheUsersActions) {
  auto* combo = Put<TComboBox>();
  combo->OnChange = TNotifyEvent(&Log, &TLog::Change);
  combo->Items().SetText("ihex\nsrec\nbinary");
  struct TCase {
    const char* Name;
    std::function<void()> Step;
    int Index;
    std::string Text;
    TEvents Events;
  };
  const TCase cases[] = {
      {"code selects", [&] { combo->SetItemIndex(1); }, 1, "srec", {}},
      {"code sets the text", [&] { combo->SetText("srec"); }, 1, "srec", {}},
      {"code sets another text", [&] { combo->SetText("bin"); }, -1, "bin", {}},
      {"the user picks", [&] { combo->UserSelect(2); }, 2, "binary", {"click", "change"}},
      {"the user picks it again", [&] { combo->UserSelect(2); }, 2, "binary", {}},
      {"the user types", [&] { combo->UserEdit("i"); }, -1, "i", {"change"}},
      {"typing in the open list", [&] { combo->DropDown(), combo->UserEdit("SR"); }, 1, "SR", {"change"}},
      {"typing what no item starts", [&] { combo->UserEdit("SRx"); }, -1, "SRx", {"change"}},
      {"the list goes", [&] { combo->CloseUp(), combo->Items().Clear(); }, -1, "", {}},
  };
  for (const TCase& c : cases) {
    c.Step();
    EXPECT_EQ(combo->ItemIndex(), c.Index) << c.Name;
    EXPECT_EQ(combo->Text(), c.Text) << c.Name;
    EXPECT_EQ(Log.Take(), c.Events) << c.Name;
  }
  combo->SetMaxLength(3);
  combo->UserEdit("12345");
  EXPECT_EQ(combo->Text(), "123");
}

TEST_F(ChoiceControlsTest, OnDropDownRefillsTheListBeforeItOpens) {
  auto* combo = Put<TComboBox>();
  combo->Items().Add("old");
  combo->SetText("typed");
  struct TRefill {
    TComboBox* Combo;
    std::vector<std::string>* Events;
    bool OpenWhileRefilling = true;
    void Run(TObject*) {
      OpenWhileRefilling = Combo->DroppedDown();
      const std::string text = Combo->Text();
      Combo->Items().Clear();
      for (const char* line : {"newest", "older"}) Combo->Items().Add(line);
      Combo->SetText(text);
      Events->push_back("dropdown");
    }
  } refill{combo, &Log.Events};
  combo->OnDropDown = TNotifyEvent(&refill, &TRefill::Run);
  combo->DropDown();
  EXPECT_FALSE(refill.OpenWhileRefilling);
  EXPECT_TRUE(combo->DroppedDown());
  EXPECT_EQ(combo->Items().Text(), "newest\r\nolder\r\n");
  EXPECT_EQ(combo->Text(), "typed");
  EXPECT_EQ(Log.Take(), TEvents{"dropdown"});
}

TEST_F(ChoiceControlsTest, ADropDownListShowsOnlyItsItems) {
  auto* combo = Put<TComboBox>();
  combo->SetStyle(csDropDownList);
  combo->Items().SetText("-std=gnu99\n-std=c99");
  combo->SetText("-std=c99");
  EXPECT_EQ(combo->ItemIndex(), 1);
  combo->UserEdit("typed");
  EXPECT_EQ(combo->Text(), "-std=c99");
  combo->SetText("none of them");
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), "");
}

TEST_F(ChoiceControlsTest, AListBoxClicksForTheUserAndKeepsItsSelectionOnItsItem) {
  auto* list = Put<TListBox>();
  list->OnDblClick = TNotifyEvent(&Log, &TLog::DblClick);
  list->Items().SetText("a.c\nb.c\nc.c");
  list->SetItemIndex(1);
  EXPECT_TRUE(Log.Take().empty());
  list->UserSelect(2);
  list->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakeLParam(5, 30));
  list->Perform(WM_LBUTTONUP, 0, MakeLParam(5, 30));
  EXPECT_EQ(Log.Take(), (TEvents{"click", "dblclick"}));
  struct TCase {
    const char* Name;
    std::function<void(TStrings&)> Change;
    int Index;
  };
  const TCase cases[] = {
      {"insert before", [](TStrings& s) { s.Insert(0, "0.c"); }, 2},
      {"insert after", [](TStrings& s) { s.Add("d.c"); }, 1},
      {"delete before", [](TStrings& s) { s.Delete(0); }, 0},
      {"delete it", [](TStrings& s) { s.Delete(1); }, -1},
      {"clear", [](TStrings& s) { s.Clear(); }, -1},
  };
  for (const TCase& c : cases) {
    list->Items().SetText("a.c\nb.c\nc.c");
    list->SetItemIndex(1);
    c.Change(list->Items());
    EXPECT_EQ(list->ItemIndex(), c.Index) << c.Name;
  }
  list->SetItemIndex(7);
  EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(ChoiceControlsTest, ALabelSizesItselfToItsText) {
  TFontMetricsScope metrics;  // 8 by 16 pixels a cell
  auto* label = Put<TLabel>();
  label->SetBounds(100, 10, 5, 5);
  label->SetCaption("&Text to find");
  EXPECT_EQ(label->DisplayText(), "Text to find");
  EXPECT_EQ(label->BoundsRect(), Bounds(100, 10, 96, 16));
  label->SetAlignment(taRightJustify);
  label->SetCaption("A && B");
  EXPECT_EQ(label->BoundsRect(), Bounds(156, 10, 40, 16)) << "the right edge stays";
  label->SetAutoSize(false);
  label->SetCaption("longer text");
  EXPECT_EQ(label->Width(), 40);
}

TEST_F(ChoiceControlsTest, AltAndALabelsKeyFocusTheFieldItNames) {
  auto* find = Put<TComboBox>();
  auto* replace = Put<TComboBox>();
  auto* label = Put<TLabel>();
  label->SetCaption("&Replace with:");
  label->SetFocusControl(replace);
  Put<TLabel>()->SetCaption("&Options");
  auto* other = Put<TLabel>();
  other->SetCaption("Fish && &chips");
  other->SetFocusControl(find);
  Form->Show();
  const struct {
    const char* Name;
    std::function<void()> Step;
    uint16_t Key;
    TShiftState Shift;
    TWinControl* Focused;
    bool Delivered;  // the key reached the focused control
  } rows[] = {
      {"Alt and the marked letter", {}, 'R', {ssAlt}, replace, false},
      {"the letter alone", {}, 'R', {}, find, true},
      {"Ctrl+Alt types (AltGr)", {}, 'R', {ssCtrl, ssAlt}, find, true},
      {"a label without a field", {}, 'O', {ssAlt}, find, true},
      {"the mark after a literal ampersand", [&] { other->SetFocusControl(replace); }, 'C', {ssAlt}, replace, false},
      {"a field that cannot take the focus", [&] { replace->SetEnabled(false); }, 'R', {ssAlt}, find, true},
      {"a field that is gone", [&] { delete replace; }, 'R', {ssAlt}, find, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    find->SetFocus();
    if (row.Step) row.Step();
    EXPECT_EQ(PressKey(row.Key, row.Shift), row.Delivered);
    EXPECT_EQ(FocusedControl(), row.Focused);
  }
  EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(ChoiceControlsTest, ASpinEditKeepsItsNumberWithinTheLimits) {
  auto* spin = Put<TCSpinEdit>();
  spin->OnChange = TNotifyEvent(&Log, &TLog::Change);
  spin->SetMinValue(0);
  spin->SetMaxValue(500);
  struct TCase {
    const char* Name;
    std::function<void()> Step;
    int Value;
    std::string Text;
  };
  auto* other = Put<TEdit>();
  Form->Show();
  spin->SetFocus();
  const TCase cases[] = {
      {"set", [&] { spin->SetValue(25); }, 25, "25"},
      {"above", [&] { spin->SetValue(900); }, 500, "500"},
      {"Up at the top", [&] { PressKey(VK_UP); }, 500, "500"},
      {"Down", [&] { PressKey(VK_DOWN); }, 499, "499"},
      {"letters are not typed", [&] { spin->SelectAll(), spin->Perform(WM_CHAR, 'x'), spin->Perform(WM_CHAR, '7'); }, 7, "7"},
      {"a typed number past the limit stays until the field is left",
       [&] { spin->Perform(WM_CHAR, '0'), spin->Perform(WM_CHAR, '0'); }, 700, "700"},
      {"leaving the field", [&] { other->SetFocus(); }, 500, "500"},
      {"no number", [&] { spin->SetText(""); }, 0, ""},
  };
  for (const TCase& c : cases) {
    c.Step();
    EXPECT_EQ(spin->Value(), c.Value) << c.Name;
    EXPECT_EQ(spin->Text(), c.Text) << c.Name;
  }
  spin->SetMaxValue(0);
  spin->SetValue(-4);
  EXPECT_EQ(spin->Value(), -4) << "equal limits do not limit";
}

TEST_F(ChoiceControlsTest, AnchoredControlsFollowTheParentsEdges) {
  Form->SetBounds(0, 0, 400, 100);
  auto* all = Put<TButton>();
  all->SetBounds(303, 55, 75, 25);
  all->SetAnchors({akTop, akRight});
  auto* field = Put<TComboBox>();
  field->SetBounds(10, 10, 300, 21);
  field->SetAnchors({akLeft, akTop, akRight});
  auto* still = Put<TBitBtn>();
  still->SetBounds(10, 55, 75, 25);
  const int wider = 60;
  Form->SetWidth(Form->Width() + wider);
  EXPECT_EQ(all->BoundsRect(), Bounds(303 + wider, 55, 75, 25));
  EXPECT_EQ(field->BoundsRect(), Bounds(10, 10, 300 + wider, 21));
  EXPECT_EQ(still->BoundsRect(), Bounds(10, 55, 75, 25));
}

TEST_F(ChoiceControlsTest, TabGoesThroughTheControlsThatTakeTheFocus) {
  auto* edit = Put<TCSpinEdit>();
  auto* group = Put<TRadioGroup>();
  group->Items().SetText("a\nb");
  group->SetItemIndex(1);
  auto* label = Put<TLabel>();
  auto* combo = Put<TComboBox>();
  auto* list = Put<TListBox>();
  auto* check = Put<TCheckBox>();
  auto* hidden = Put<TListBox>();
  hidden->Hide();
  auto* disabled = Put<TCheckBox>();
  disabled->SetEnabled(false);
  (void)label;
  Form->Show();
  edit->SetFocus();
  std::vector<TWinControl*> visited;
  for (int i = 0; i < 5; ++i) {
    PressKey(VK_TAB);
    visited.push_back(FocusedControl());
  }
  EXPECT_EQ(visited, (std::vector<TWinControl*>{group->Buttons(1), combo, list, check, edit}));
}

}  // namespace
}  // namespace vk::test
