#include "dialogs/PrjName.h"

#include <gtest/gtest.h>

#include "services/SettingsStore.h"
#include "platform/Registry.h"
#include "tests/platform/FormsTestSupport.h"
#include "tests/platform/RegistryScope.h"

namespace vk {
namespace {

class PrjNameTest : public test::TFormsCase {
protected:
  std::string Stored(int field) {
    TRegistry reg;
    reg.OpenKey("SOFTWARE\\ZE_VAD\\PRJNAME", false);
    return reg.ReadString(ProjectHeaderFields[field].Name);
  }
  // Types a character into the focused control, as the keyboard does.
  static void Type(char c) { Application().KeyboardMessage(*FocusedControl(), WM_CHAR, static_cast<uint8_t>(c), 0); }

  test::TRegistryScope Registry;
};

TEST_F(PrjNameTest, EnterMovesFromEachFieldToTheNextAndFromTheLastToOk) {
  auto* form = NewForm<TPrjNameForm>(&Application());
  ModalAnswers().PushResponder([&](TCustomForm*) {
    form->FieldEdit(0)->SetFocus();
    for (int field = 0; field < PrjNameFieldCount; ++field) {
      EXPECT_EQ(FocusedControl(), form->FieldEdit(field));
      EXPECT_EQ(form->FieldEdit(field)->Tag(), field);
      Type('x');
      PressKey(VK_RETURN);
      Type('\r');
      EXPECT_EQ(form->FieldEdit(field)->Text(), "x");
    }
    EXPECT_EQ(FocusedControl(), form->Button1);
    return mrCancel;
  });
  form->ShowModal();
  EXPECT_EQ(form->ModalResult(), mrCancel);
}

TEST_F(PrjNameTest, OkStoresTheSeventeenFieldsAndTheNextShowingReadsThemBack) {
  TRegistry reg;
  reg.OpenKey("SOFTWARE\\ZE_VAD\\PRJNAME", true);
  reg.WriteString("Author", "stored author");
  auto* form = NewForm<TPrjNameForm>(&Application());
  ModalAnswers().PushResponder([&](TCustomForm*) {
    EXPECT_EQ(form->AuthorEdit->Text(), "stored author");
    EXPECT_EQ(form->SubMenuEdit->Text(), "") << "a missing value shows empty";
    for (int field = 0; field < PrjNameFieldCount; ++field) form->FieldEdit(field)->SetText("f" + std::to_string(field));
    form->Button1->Click();
    return mrNone;
  });
  form->ShowModal();
  for (int field = 0; field < PrjNameFieldCount; ++field) EXPECT_EQ(Stored(field), "f" + std::to_string(field));

  // Cancel stores nothing; a new dialog shows what OK stored.
  auto* next = NewForm<TPrjNameForm>(&Application());
  ModalAnswers().PushResponder([&](TCustomForm*) {
    EXPECT_EQ(next->Fields(), form->Fields());
    next->SubMenuEdit->SetText("not kept");
    next->Button2->Click();
    return mrNone;
  });
  next->ShowModal();
  EXPECT_EQ(Stored(pfSubMenu), "f16");
}

}  // namespace
}  // namespace vk
