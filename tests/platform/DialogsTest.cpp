#include "platform/Dialogs.h"

#include <gtest/gtest.h>

#include "platform/FilePaths.h"
#include "tests/platform/TempFolder.h"

namespace vk {
namespace {

class DialogsTest : public testing::Test {
protected:
  void SetUp() override {
    SetDialogService(nullptr);
    Dialogs = ScriptedDialogs();
  }
  TScriptedDialogs* Dialogs = nullptr;
};

TEST_F(DialogsTest, FiltersSplitIntoTextsAndMasks) {
  auto entries = ParseFilter("C  files [*.c,cpp]|*.C;*.CPP|ASM  files [*.s,*.asm]|*.S; *. ASM|makefile file|makefile|odd");
  ASSERT_EQ(4u, entries.size());
  EXPECT_EQ("C  files [*.c,cpp]", entries[0].Text);
  EXPECT_EQ((std::vector<std::string>{"*.C", "*.CPP"}), entries[0].Masks);
  EXPECT_EQ((std::vector<std::string>{"*.S", "*. ASM"}), entries[1].Masks);
  EXPECT_EQ((std::vector<std::string>{"makefile"}), entries[2].Masks);
  EXPECT_TRUE(entries[3].Masks.empty());
  EXPECT_TRUE(ParseFilter("").empty());
}

TEST_F(DialogsTest, ExecuteAsksTheServiceAndTakesTheAnswer) {
  test::TTempFolder folder;
  TSaveDialog save(nullptr);
  save.SetFilter("C  files [*.c]|*.c|H  files [*.h]|*.h");
  save.SetFileName("NONAME.C");
  save.SetDefaultExt("c");
  save.SetOptions({ofOverwritePrompt, ofNoChangeDir});
  Dialogs->FileDialogs.Push({{folder.File("blink")}, 2});
  Dialogs->FileDialogs.Push({});  // cancelled

  std::string before = GetCurrentDir();
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(folder.File("blink.c"), save.FileName());
  EXPECT_EQ(2, save.FilterIndex());
  EXPECT_EQ(before, GetCurrentDir());
  EXPECT_FALSE(save.Execute());
  EXPECT_EQ(folder.File("blink.c"), save.FileName());

  const TFileDialogRequest& asked = Dialogs->FileDialogs.Requests()[0];
  EXPECT_EQ(TFileDialogKind::Save, asked.Kind);
  EXPECT_EQ("NONAME.C", asked.FileName);
  EXPECT_TRUE(asked.Options.Contains(ofOverwritePrompt));

  TOpenDialog open(nullptr);
  Dialogs->FileDialogs.Push({{folder.File("a.c"), folder.File("b.h")}, 1});
  ASSERT_TRUE(open.Execute());
  EXPECT_EQ(2, open.Files().Count());
  EXPECT_EQ(folder.Path(), GetCurrentDir());  // the chosen file's folder becomes the current one
  SetCurrentDir(before);

  EXPECT_THROW(open.Execute(), EUnscriptedRequest);
  EXPECT_EQ(1u, Dialogs->FileDialogs.Unscripted().size());
}

TEST_F(DialogsTest, FolderPickerAndQuestionIcon) {
  Dialogs->Folders.Push("/home/user/blink");
  Dialogs->Folders.Push("");
  std::string folder = "unchanged";
  EXPECT_TRUE(SelectDirectory("Select a directory", "", folder));
  EXPECT_EQ("/home/user/blink", folder);
  EXPECT_FALSE(SelectDirectory("Select a directory", "", folder));
  EXPECT_EQ("/home/user/blink", folder);
  EXPECT_EQ("Select a directory", Dialogs->Folders.Requests()[1].Caption);

  TBitmap icon;
  ASSERT_TRUE(DialogService().StandardIcon(IDI_QUESTION, icon));
  EXPECT_EQ(32, icon.Width());
  EXPECT_TRUE(icon.Transparent());
  EXPECT_EQ(static_cast<TColorRef>(icon.TransparentColor()), icon.Pixel(0, 0));
  EXPECT_NE(icon.Pixel(0, 0), icon.Pixel(4, 16));
  EXPECT_FALSE(DialogService().StandardIcon(1, icon));
}

}  // namespace
}  // namespace vk
