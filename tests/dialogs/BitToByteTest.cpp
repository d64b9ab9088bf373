#include "dialogs/BitToByte.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/Forms.h"
#include "tests/platform/FormsTestSupport.h"

namespace vk {
namespace {

TEST(BitToByteTest, EveryBitPatternWritesAndReadsItsByteText) {
  for (int value = 0; value < 256; ++value) {
    const auto byte = static_cast<uint8_t>(value);
    char expected[8];
    std::snprintf(expected, sizeof expected, "0X%02X", value);
    EXPECT_EQ(ByteText(byte), expected);
    EXPECT_EQ(ByteFromText(ByteText(byte)), byte);
    int sum = 0;
    for (int bit = 0; bit < 8; ++bit) sum += BitOf(byte, bit) << bit;
    EXPECT_EQ(sum, value);
  }
}

TEST(BitToByteTest, TextsThatHoldNoByteLeaveItUnread) {
  const struct {
    std::string text;
    std::optional<uint8_t> byte;
  } cases[] = {
      {"0x3f ", 0x3F}, {"0x3F", 0x3F}, {"ab3F", 0x3F}, {"0x0a", 0x0A},
      {"0x5", std::nullopt}, {"0xG1", std::nullopt}, {"0x1G", std::nullopt}, {"", std::nullopt},
      {"0", std::nullopt}, {"0x", std::nullopt}, {"0x\xB0\xA1", std::nullopt}, {"0x 1", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ByteFromText(c.text), c.byte) << c.text;
  EXPECT_EQ(HexDigitValue('f'), 15);
  EXPECT_EQ(HexDigitValue('\xC1'), 0);
}

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
