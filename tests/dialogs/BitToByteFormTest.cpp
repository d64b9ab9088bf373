#include "dialogs/BitToByteForm.h"

#include <gtest/gtest.h>

#include "platform/Forms.h"
#include "tests/platform/FormsTestSupport.h"

namespace vk {
namespace {

class BitToByteFormTest : public test::TFormsCase {
protected:
  uint8_t Boxes() const {
    int byte = 0;
    for (int bit = 0; bit < 8; ++bit) byte |= Form->BitBox(bit)->Checked() << bit;
    return static_cast<uint8_t>(byte);
  }
  // Shows the form on a selection; the boxes and the text as it opened.
  std::pair<uint8_t, std::string> Open(const std::string& selection) {
    Form->FindTextEdit->SetText(selection);
    std::pair<uint8_t, std::string> shown;
    ModalAnswers().PushResponder([&](TCustomForm*) {
      shown = {Boxes(), Form->EditByte->Text()};
      return mrOk;
    });
    EXPECT_EQ(Form->ShowModal(), mrOk);
    return shown;
  }

  TBitToByteForm* Form = NewForm<TBitToByteForm>(&Application());
};

TEST_F(BitToByteFormTest, EveryByteTextTicksItsBitsAndEveryTickWritesTheByte) {
  char text[8];
  // Downwards from 0xFF, so that each byte changes a box of the last one.
  for (int value = 255; value >= 0; --value) {
    std::snprintf(text, sizeof text, "0x%02x", value);
    EXPECT_EQ(Open(text), std::make_pair(static_cast<uint8_t>(value), ByteText(static_cast<uint8_t>(value))))
        << text;
  }
  for (int bit = 0; bit < 8; ++bit) Form->BitBox(bit)->SetChecked(false);
  EXPECT_EQ(Form->EditByte->Text(), "0X00");
  for (int bit = 0; bit < 8; ++bit) {
    Form->BitBox(bit)->SetChecked(true);
    EXPECT_EQ(Form->EditByte->Text(), ByteText(static_cast<uint8_t>((2 << bit) - 1)));
  }
}

TEST_F(BitToByteFormTest, ASelectionThatHoldsNoByteLeavesTheBoxes) {
  EXPECT_EQ(Open("0x3f"), std::make_pair(uint8_t{0x3F}, std::string("0X3F")));
  EXPECT_EQ(Open("0x3f"), std::make_pair(uint8_t{0x3F}, std::string("0X3F"))) << "the same byte again";
  for (const char* selection : {"0x5", "0xG1", "", "1", "ab", "0x\xB0\xA1"})
    EXPECT_EQ(Open(selection), std::make_pair(uint8_t{0x3F}, std::string(selection))) << selection;
  EXPECT_EQ(Open("ab80").first, 0x80) << "the prefix is not read";
}

}  // namespace
}  // namespace vk
