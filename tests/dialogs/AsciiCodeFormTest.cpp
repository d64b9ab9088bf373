#include "dialogs/AsciiCodeForm.h"

#include <gtest/gtest.h>

#include "services/AsciiCodeTable.h"
#include "tests/services/ServicesTestSupport.h"
#include "tests/platform/FontMetricsScope.h"
#include "tests/platform/FormsTestSupport.h"

namespace vk {
namespace {

class ASCIICodeTest : public test::TFormsCase {
protected:
  test::TFontMetricsScope Metrics;
};

TEST_F(ASCIICodeTest, TheMemoHoldsTheTableAndNeitherShiftEnterNorF1) {
  auto* form = NewForm<TASCIICodeForm>(&Application());
  const std::vector<std::string> lines = test::LinesOf(form->SrcMemo1->Lines());
  EXPECT_EQ(lines, AsciiCodeTableLines());
  ASSERT_EQ(lines.size(), 33u);
  EXPECT_EQ(lines[13].substr(0, 22), "Ctrl-L FF\t0X0C\t14\t12  ");
  const TSrcEditKeyStrokes& keys = form->SrcMemo1->Keystrokes();
  EXPECT_LT(keys.FindKeycode(VK_RETURN, {ssShift}), 0);
  EXPECT_LT(keys.FindKeycode(VK_F1, {}), 0);
  EXPECT_GE(keys.FindKeycode(VK_RETURN, {}), 0);
  EXPECT_FALSE(form->SrcMemo1->Gutter().Visible());

  form->Show();
  form->Button1->Click();
  EXPECT_FALSE(form->Visible());
}

}  // namespace
}  // namespace vk
