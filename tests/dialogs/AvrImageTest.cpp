#include "dialogs/AvrImage.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "services/SettingsStore.h"
#include "platform/Registry.h"
#include "tests/platform/FormsTestSupport.h"
#include "tests/platform/RegistryScope.h"

namespace vk {
namespace {

class AvrImageTest : public test::TFormsCase {
protected:
  // The pictures the build draws into the install folder.
  static std::string ShippedFolder() { return LookUpInstallFolder().Folder; }

  void ShowPart(const std::string& part, const std::string& editorFolder) {
    TRegistry reg;
    reg.OpenKey("SOFTWARE\\ZE_VAD\\Editor", true);
    reg.WriteString("SouAvrMcu Type", part);
    reg.WriteString("Editor Path", editorFolder);
    Form->Show();
  }
  std::vector<std::string> Sizes() const {
    return {Form->McuTypeText->Text(), Form->Label11->Caption(), Form->Label12->Caption(), Form->Label18->Caption()};
  }

  test::TRegistryScope Registry;
  TImageForm* Form = NewForm<TImageForm>(&Application());
};

TEST_F(AvrImageTest, EachShowingShowsThePartsSizesAndPictureOrNone) {
  if (!std::filesystem::exists(ShippedFolder() + "/image/NotFoundImage.jpg"))
    GTEST_SKIP() << "the build has not drawn the part pictures";
  const std::string shipped = ShippedFolder();
  const test::TTempFolder empty;
  const struct {
    const char* Part;
    std::string Folder;
    std::vector<std::string> Sizes;
    int PictureWidth;
  } cases[] = {
      {"atmega128", shipped, {"atmega128", "128KBytes", "4096Bytes", "4096Bytes"}, 649},
      // a part whose picture is the one for parts without a picture
      {"attiny167", shipped, {"attiny167", "16KBytes", "512Bytes", "512Bytes"}, 649},
      // a picture that cannot be loaded shows none, not the last part's
      {"atmega8", empty.Path(), {"atmega8", "8KBytes", "1024Bytes", "512Bytes"}, 0},
      {"atmega128", shipped, {"atmega128", "128KBytes", "4096Bytes", "4096Bytes"}, 649},
      // no part of that name: no sizes either
      {"atmega999", shipped, {"atmega999", "0", "0", "0"}, 0},
  };
  for (const auto& c : cases) {
    ShowPart(c.Part, c.Folder);
    EXPECT_EQ(Sizes(), c.Sizes) << c.Part;
    EXPECT_EQ(Form->Image1->Picture()->Width(), c.PictureWidth) << c.Part;
    Form->OKBtn->Click();
    EXPECT_FALSE(Form->Visible());
  }
}

}  // namespace
}  // namespace vk
