#include "dialogs/about.h"

#include "dialogs/FormLayout.h"
#include "services/ProjectFiles.h"
#include "services/SettingsStore.h"
#include "platform/SysUtils.h"

namespace vk {

TAboutBox* AboutBox = nullptr;

std::string AboutPicturePath() { return JoinPath(JoinPath(LookUpInstallFolder().Folder, "image"), "About.jpg"); }

TAboutBox::TAboutBox(TComponent* owner) : TForm(owner) {
  SetCaption("About");
  SetBorderStyle(bsDialog);
  SetPosition(poMainFormCenter);
  SetBounds(0, 0, 640, 480);  // a frame to size the client area in
  SetClientWidth(392);
  SetClientHeight(236);

  Place(Panel1, this, 8, 8, 376, 180);
  Panel1->SetBevelOuter(bvRaised);
  Place(ProgramIcon, Panel1, 12, 12, 128, 128);
  ProgramIcon->SetStretch(true);
  try {
    ProgramIcon->Picture()->LoadFromFile(AboutPicturePath());
  } catch (const Exception&) {
    // A missing emblem leaves the box without a picture.
  }
  Place(ProductName, Panel1, 156, 16, 0, 0, "Vornkit");
  ProductName->Font().SetSize(14);
  ProductName->Font().SetStyle({fsBold});
  Place(Version, Panel1, 156, 46, 0, 0, "Version 3.9");
  Place(Copyright, Panel1, 156, 68, 0, 0, "Copyright (C) the Vornkit developers");
  Place(Homepage, Panel1, 156, 100, 0, 0, "Homepage: vornkit.example");
  Place(Email, Panel1, 156, 122, 0, 0, "Email: support@vornkit.example");
  Place(Forum, Panel1, 156, 144, 0, 0, "Forum: forum.vornkit.example");

  Place(OKButton, this, (392 - 88) / 2, 198, 88, 28, "OK");
  OKButton->SetDefault(true);
  OKButton->SetModalResult(mrOk);
}

TAboutBox::~TAboutBox() {
  if (AboutBox == this) AboutBox = nullptr;
}

}  // namespace vk
