#include "platform/Clipboard.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

// Each test works on a fresh memory clipboard of its own.
class ClipboardTest : public testing::Test {
protected:
  void SetUp() override {
    auto memory = std::make_unique<TMemoryClipboard>();
    FMemory = memory.get();
    FSaved = Clipboard().SetBackend(std::move(memory));
  }
  void TearDown() override { Clipboard().SetBackend(std::move(FSaved)); }

  TMemoryClipboard* FMemory = nullptr;
  std::unique_ptr<TClipboardBackend> FSaved;
};

TEST_F(ClipboardTest, RegisteredNamesKeepTheirNumber) {
  TClipboardFormat block = RegisterClipboardFormat("SrcEdit Control Block Type");
  EXPECT_GE(block, 0xC000u);
  EXPECT_EQ(block, RegisterClipboardFormat("srcedit control block type"));
  EXPECT_NE(block, RegisterClipboardFormat("Another Format"));
  EXPECT_EQ("SrcEdit Control Block Type", ClipboardFormatName(block));
  EXPECT_EQ("", ClipboardFormatName(CF_TEXT));
  EXPECT_EQ("", ClipboardFormatName(0xFFFF));
}

TEST_F(ClipboardTest, TextAndPrivateDataTravelTogether) {
  TClipboardFormat block = RegisterClipboardFormat("Block");
  {
    TClipboardOpen open(Clipboard());
    ASSERT_TRUE(open.Opened());
    EXPECT_TRUE(Clipboard().Clear());
    EXPECT_TRUE(Clipboard().SetData(CF_TEXT, std::string("ab\r\ncd\0", 7)));
    EXPECT_TRUE(Clipboard().SetData(block, std::string("\x02" "ab\r\ncd\0", 8)));
    EXPECT_TRUE(FMemory->IsOpen()) << "nested opens keep it open";
  }
  EXPECT_FALSE(FMemory->IsOpen());
  EXPECT_EQ("ab\r\ncd", Clipboard().AsText());
  EXPECT_TRUE(Clipboard().HasFormat(block));
  EXPECT_EQ(std::string("\x02" "ab\r\ncd\0", 8), *Clipboard().GetData(block));
  EXPECT_TRUE(Clipboard().SetAsText("plain"));
  EXPECT_FALSE(Clipboard().HasFormat(block)) << "new text replaces every format";
  EXPECT_EQ("plain", Clipboard().AsText());
  EXPECT_TRUE(Clipboard().SetAsText(std::string("a\0b", 3)));
  EXPECT_EQ(std::string("a\0b", 3), Clipboard().AsText()) << "the data's size ends the text";
}

TEST_F(ClipboardTest, FailuresAreReportedNotHidden) {
  TClipboardFormat block = RegisterClipboardFormat("Block");
  FMemory->FailOpen = true;
  EXPECT_FALSE(Clipboard().SetAsText("x"));
  EXPECT_FALSE(Clipboard().Open());
  FMemory->FailOpen = false;
  FMemory->FailSet = block;
  EXPECT_TRUE(Clipboard().SetAsText("kept"));
  EXPECT_FALSE(Clipboard().SetData(block, "x"));
  FMemory->FailGet = CF_TEXT;
  EXPECT_EQ("", Clipboard().AsText());
  EXPECT_FALSE(Clipboard().GetData(CF_TEXT).has_value());
  EXPECT_FALSE(FMemory->IsOpen());
}

}  // namespace
}  // namespace vk
