// Tab through every form of the program, page by page: the focus goes
// through the fields in the order they are laid out.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "dialogs/CompilerDlg.h"
#include "app/Program.h"
#include "dialogs/AsciiCodeForm.h"
#include "dialogs/AvrImage.h"
#include "dialogs/BitToByteForm.h"
#include "dialogs/EnvironmentDlg.h"
#include "dialogs/MakefileWizardForm.h"
#include "dialogs/PrjName.h"
#include "dialogs/about.h"
#include "platform/PageControls.h"
#include "tests/app/IdeTestSupport.h"

namespace vk::test {
namespace {

// The windows below the parent as a reader meets them: each container's
// rows from top to bottom (a window joins a row when its top lies within
// the height of the row's first window), each row from left to right, a
// container before what it holds.
void ReadingOrder(const TWinControl& parent, std::vector<TWinControl*>& order) {
  std::vector<TWinControl*> children;
  for (int i = 0; i < parent.ControlCount(); ++i)
    if (auto* child = dynamic_cast<TWinControl*>(parent.Controls(i))) children.push_back(child);
  std::stable_sort(children.begin(), children.end(), [](auto* a, auto* b) { return a->Top() < b->Top(); });
  for (auto row = children.begin(); row != children.end();) {
    const int rowBottom = (*row)->Top() + (*row)->Height();
    auto end = std::find_if(row + 1, children.end(), [&](auto* c) { return c->Top() >= rowBottom; });
    std::stable_sort(row, end, [](auto* a, auto* b) { return a->Left() < b->Left(); });
    for (; row != end; ++row) {
      order.push_back(*row);
      ReadingOrder(**row, order);
    }
  }
}

std::string Describe(const std::vector<TWinControl*>& controls) {
  std::ostringstream s;
  for (const TWinControl* c : controls)
    s << "\n  " << c->ClassName() << " '" << c->Caption().substr(0, 16) << "' at (" << c->Left() << ", " << c->Top()
      << ") in " << c->Parent()->ClassName() << " '" << c->Parent()->Caption().substr(0, 16) << "'";
  return s.str();
}

class FormTabOrderTest : public TIdeCase {
protected:
  // The windows Tab visits from the first of the form's tab order until it
  // comes back there.
  static std::vector<TWinControl*> TabCycle(TCustomForm& form) {
    std::vector<TWinControl*> visited;
    TWinControl* first = form.FindNextControl(nullptr, true, true, false);
    if (!first) return visited;
    first->SetFocus();
    visited.push_back(first);
    for (int i = 0; i < 100; ++i) {
      PressKey(VK_TAB);
      if (FocusedControl() == first || FocusedControl() == visited.back()) break;
      visited.push_back(FocusedControl());
    }
    return visited;
  }
  static void ExpectTabFollowsLayout(TCustomForm& form, const std::string& where) {
    std::vector<TWinControl*> cycle = TabCycle(form), laidOut;
    ReadingOrder(form, laidOut);
    std::erase_if(laidOut, [&](TWinControl* c) { return std::find(cycle.begin(), cycle.end(), c) == cycle.end(); });
    EXPECT_TRUE(cycle == laidOut) << where << "\nTab goes:" << Describe(cycle) << "\nlaid out:" << Describe(laidOut);
  }
};

TEST_F(FormTabOrderTest, TabFollowsTheLayoutOfEveryForm) {
  const std::string folder = LookUpInstallFolder().Folder;
  mkdir(folder.c_str(), 0755);
  for (const char* name : {"FindF.ini", "ReplaceF.ini", "ReplaceR.ini"}) WriteTextFile(folder + "/" + name, "");
  CreateStartupForms();
  MainForm->Show();
  MainForm->FileNewCmd->Execute();
  auto* environment = NewForm<TEnvironmentDlg>(&Application());
  environment->SetProject("", "");
  environment->SetTargets(nullptr, {});
  const std::pair<const char*, TCustomForm*> forms[] = {
      {"main window", MainForm},
      {"document window", MainForm->ActiveDocument()},
      {"find", FindForm},
      {"replace", ReplaceFind},
      {"replace question", ReplaceSelect},
      {"compiler result", CompilerDlg},
      {"makefile wizard", FormMakeWizzard},
      {"part picture", ImageForm},
      {"project header", PrjNameForm},
      {"bit to byte", BitToByteForm},
      {"ascii code", ASCIICodeForm},
      {"about", NewForm<TAboutBox>(&Application())},
      {"settings", environment},
  };
  for (auto [name, form] : forms) {
    form->Show();
    ExpectTabFollowsLayout(*form, name);
    // Every page of the form's page controls in turn.
    std::vector<TWinControl*> windows;
    ReadingOrder(*form, windows);
    for (TWinControl* window : windows)
      if (auto* pages = dynamic_cast<TPageControl*>(window))
        for (int page = 0; page < pages->PageCount(); ++page) {
          pages->SetActivePage(pages->Pages(page));
          ExpectTabFollowsLayout(*form, std::string(name) + ", page " + std::to_string(page));
        }
    if (form->FormStyle() == fsNormal) form->Hide();
  }
}

}  // namespace
}  // namespace vk::test
