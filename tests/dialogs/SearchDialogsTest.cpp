// The find and replace dialogs shown modally, answered as a person would:
// what each button answers and stores in the histories, and the boxes.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "dialogs/FindText.h"
#include "dialogs/ReplaceFind.h"
#include "platform/Registry.h"
#include "tests/services/ServicesTestSupport.h"
#include "tests/platform/FormsTestSupport.h"

namespace vk {
namespace {

using TLines = std::vector<std::string>;
using TFile = std::optional<TLines>;  // none: no file

// The given lines, then "text0", "text1" ... up to count lines in all.
TLines Numbered(int count, TLines first = {}) {
  for (int i = 0; static_cast<int>(first.size()) < count; ++i) first.push_back("text" + std::to_string(i));
  return first;
}

const TMessageBoxRequest ErrorBox(const std::string& text) { return {text, "Error", MB_OK | MB_ICONERROR}; }

// How the person leaves the dialog after typing.
using TLeave = std::function<void(TButton* ok, TButton* all, TButton* cancel)>;

class SearchDialogsTest : public test::TFormsCase {
protected:
  static inline const TLeave ClickOk = [](TButton* ok, TButton*, TButton*) { ok->Click(); };
  static inline const TLeave ClickAll = [](TButton*, TButton* all, TButton*) { all->Click(); };
  static inline const TLeave ClickCancel = [](TButton*, TButton*, TButton* cancel) { cancel->Click(); };
  static inline const TLeave PressEnter = [](TButton*, TButton*, TButton*) { PressKey(VK_RETURN); };
  static inline const TLeave PressEsc = [](TButton*, TButton*, TButton*) { PressKey(VK_ESCAPE); };

  SearchDialogsTest() {
    setenv("VORNKIT_INSTALL_README", (Install.Path() + "/").c_str(), 1);
    SetEditorPath(Editor.Path());
  }
  ~SearchDialogsTest() override { unsetenv("VORNKIT_INSTALL_README"); }

  static void SetEditorPath(const std::string& folder) {
    TRegistry registry;
    registry.OpenKey("SOFTWARE\\ZE_VAD\\Editor", true);
    registry.WriteString("Editor Path", folder);
  }
  void WriteHistory(const std::string& name, const TFile& lines) const {
    std::remove(Editor.File(name).c_str());
    if (!lines) return;
    std::string text;
    for (const std::string& line : *lines) text += line + "\r\n";
    test::WriteTextFile(Editor.File(name), text);
  }
  TFile History(const std::string& name) const {
    if (!std::filesystem::exists(Editor.File(name))) return std::nullopt;
    return LinesOfFile(name);
  }
  TLines LinesOfFile(const std::string& name) const {
    TStringList lines;
    lines.LoadFromFile(Editor.File(name));
    return test::LinesOf(lines);
  }

  test::TRegistryScope Registry;
  test::TTempFolder Install;
  test::TTempFolder Editor;
};

TEST_F(SearchDialogsTest, FindButtonsAnswerAndStoreTheTextAsTyped) {
  const std::string long30(30, 'x');
  const struct {
    const char* Name;
    TFile Before;
    std::string Typed;
    TLeave Leave;
    TModalResult Result;
    TFile After;
  } cases[] = {
      {"Ok puts a text used again first", TLines{"a", "b"}, "b", ClickOk, mrOk, TLines{"b", "a"}},
      {"Enter is Ok", TLines{"a"}, "new", PressEnter, mrOk, TLines{"new", "a"}},
      {"Ok writes nothing for a text too long to store", Numbered(45), long30, ClickOk, mrOk, Numbered(45)},
      {"Find writes the history, cut to 40, in any case", Numbered(45), "", ClickAll, mrAll, Numbered(40)},
      {"Cancel stores nothing", TLines{"a"}, "new", ClickCancel, mrCancel, TLines{"a"}},
      {"Esc is Cancel", TLines{"a"}, "new", PressEsc, mrCancel, TLines{"a"}},
      {"the first use makes the file", std::nullopt, "first", ClickOk, mrOk, TLines{"first"}},
  };
  FindForm = NewForm<TFindForm>(&Application());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteHistory("FindF.ini", c.Before);
    MessageBoxAnswers().Clear();
    if (!c.Before) MessageBoxAnswers().Push(IDOK);
    FindForm->ComboFindText->SetText("pre-filled ");
    ModalAnswers().PushResponder([&](TCustomForm*) {
      EXPECT_EQ(FindForm->ActiveControl(), FindForm->ComboFindText);
      EXPECT_EQ(FindForm->ComboFindText->Text(), "pre-filled ");
      EXPECT_EQ(test::LinesOf(FindForm->ComboFindText->Items()), c.Before.value_or(TLines{}));
      FindForm->ComboFindText->UserEdit(c.Typed);
      c.Leave(FindForm->OKBtn, FindForm->ReplaceAllBtn, FindForm->CancelBtn);
      return mrNone;
    });
    EXPECT_EQ(FindForm->ShowModal(), c.Result);
    EXPECT_EQ(FindForm->ComboFindText->Text(), c.Typed);
    EXPECT_EQ(History("FindF.ini"), c.After);
    std::vector<TMessageBoxRequest> boxes;
    if (!c.Before) boxes.push_back(ErrorBox("Cannot find the file [FindF.ini] to read!"));
    EXPECT_EQ(MessageBoxAnswers().Requests(), boxes);
  }
}

TEST_F(SearchDialogsTest, ReplaceButtonsStoreBothTextsEachOnItsOwn) {
  const std::string long30(30, 'x');
  const TLines f = {"f"}, r = {"r"};
  const struct {
    const char* Name;
    TLines FindBefore, ReplaceBefore;
    std::string Find, Replace;
    TLeave Leave;
    TModalResult Result;
    TLines FindAfter, ReplaceAfter;
  } cases[] = {
      {"the same text goes into both", f, r, "abc", "abc", ClickOk, mrOk, {"abc", "f"}, {"abc", "r"}},
      {"replace by nothing stores the find text only", f, r, "abc", "", ClickAll, mrAll, {"abc", "f"}, {"r"}},
      {"a find text too long to store", f, r, long30, "z", ClickOk, mrOk, {"f"}, {"z", "r"}},
      {"a find text over lines, from a selection", f, r, "ab\r\ncd", "z", ClickOk, mrOk, {"ab", "f"}, {"z", "r"}},
      {"the oldest leaves each history", Numbered(40, f), Numbered(40, r), "new", "new2", ClickAll, mrAll,
       Numbered(40, {"new", "f"}), Numbered(40, {"new2", "r"})},
      {"Cancel stores nothing", f, r, "abc", "z", ClickCancel, mrCancel, f, r},
  };
  ReplaceFind = NewForm<TReplaceFind>(&Application());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteHistory("ReplaceF.ini", c.FindBefore);
    WriteHistory("ReplaceR.ini", c.ReplaceBefore);
    ReplaceFind->ComboFindText->SetText(c.Find);
    ModalAnswers().PushResponder([&](TCustomForm*) {
      EXPECT_EQ(test::LinesOf(ReplaceFind->ComboFindText->Items()), c.FindBefore);
      EXPECT_EQ(test::LinesOf(ReplaceFind->ComboReplaceText->Items()), c.ReplaceBefore);
      // Alt+R goes to the field labelled "&Replace with:".
      PressKey('R', {ssAlt});
      EXPECT_EQ(FocusedControl(), ReplaceFind->ComboReplaceText);
      ReplaceFind->ComboReplaceText->UserEdit(c.Replace);
      c.Leave(ReplaceFind->OKBtn, ReplaceFind->ReplaceAllBtn, ReplaceFind->CancelBtn);
      return mrNone;
    });
    EXPECT_EQ(ReplaceFind->ShowModal(), c.Result);
    EXPECT_EQ(ReplaceFind->ComboFindText->Text(), c.Find);
    EXPECT_EQ(ReplaceFind->ComboReplaceText->Text(), c.Replace);
    EXPECT_EQ(LinesOfFile("ReplaceF.ini"), c.FindAfter);
    EXPECT_EQ(LinesOfFile("ReplaceR.ini"), c.ReplaceAfter);
  }
}

// A folder that holds no history and cannot take one: every box comes, one
// after the other, the dialogs open with their texts and still answer their
// buttons, so the search runs.
TEST_F(SearchDialogsTest, HistoriesThatCannotBeWrittenAreReportedAndTheSearchGoesOn) {
  SetEditorPath(Editor.File("no such folder"));
  FindForm = NewForm<TFindForm>(&Application());
  ReplaceFind = NewForm<TReplaceFind>(&Application());
  for (int i = 0; i < 6; ++i) MessageBoxAnswers().Push(IDOK);
  FindForm->ComboFindText->SetText("x");
  ModalAnswers().PushResponder([](TCustomForm*) {
    FindForm->ReplaceAllBtn->Click();
    return mrNone;
  });
  EXPECT_EQ(FindForm->ShowModal(), mrAll);
  ReplaceFind->ComboFindText->SetText("x");
  ReplaceFind->ComboReplaceText->SetText("y");
  ModalAnswers().PushResponder([](TCustomForm*) {
    EXPECT_EQ(ReplaceFind->ComboFindText->Text(), "x");
    EXPECT_EQ(ReplaceFind->ComboReplaceText->Text(), "y");
    ReplaceFind->OKBtn->Click();
    return mrNone;
  });
  EXPECT_EQ(ReplaceFind->ShowModal(), mrOk);
  EXPECT_EQ(MessageBoxAnswers().Requests(),
            (std::vector{ErrorBox("Cannot find the file [FindF.ini] to read!"),
                         ErrorBox("Cannot find the file [FindF.ini] to save!"),
                         ErrorBox("Cannot find the file[ReplaceF.ini]to read! "),
                         ErrorBox("Cannot find the file[ReplaceR.ini]to read! "),
                         ErrorBox("Cannot find the file [ReplaceF.ini]to save!"),
                         ErrorBox("Cannot find the file [ReplaceR.ini]to save!")}));
}

}  // namespace
}  // namespace vk
