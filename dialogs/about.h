#pragma once
// The about box: the program's emblem (image/About.jpg of the install
// folder, drawn at build time), its name, version, rights notice and
// contacts. Made anew and shown modally by the About command.

#include <string>

#include "platform/Buttons.h"
#include "platform/ExtImages.h"
#include "platform/Forms.h"
#include "platform/Labels.h"
#include "platform/Panels.h"

namespace vk {

// The emblem's file in the install folder.
std::string AboutPicturePath();

class TAboutBox : public TForm {
public:
  explicit TAboutBox(TComponent* owner);
  ~TAboutBox() override;
  std::string ClassName() const override { return "TAboutBox"; }

  // ----- components
  TPanel* Panel1 = new TPanel(this);
  TImage* ProgramIcon = new TImage(this);
  TLabel* ProductName = new TLabel(this);
  TLabel* Version = new TLabel(this);
  TLabel* Copyright = new TLabel(this);
  TLabel* Homepage = new TLabel(this);
  TLabel* Email = new TLabel(this);
  TLabel* Forum = new TLabel(this);
  TButton* OKButton = new TButton(this);
};

// The box the About command made last.
extern TAboutBox* AboutBox;

}  // namespace vk
