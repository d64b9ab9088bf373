#pragma once
// Tool bars: a bar that places its controls in a row, tool buttons (plain,
// check and separator) sized by the bar, and the control bar, a container
// that holds bars and other controls as they are placed.

#include <memory>
#include <string>

#include "platform/Controls.h"
#include "platform/ImageList.h"

namespace vk {

enum TToolButtonStyle : uint8_t { tbsButton, tbsCheck, tbsSeparator };

class TToolButton : public TControl {
public:
  explicit TToolButton(TComponent* owner);
  std::string ClassName() const override { return "TToolButton"; }

  TToolButtonStyle Style() const { return FStyle; }
  void SetStyle(TToolButtonStyle value);
  // A check button's pressed state; a grouped one releases the others of
  // its group (adjacent grouped check buttons) when pressed.
  bool Down() const { return FDown; }
  void SetDown(bool value);
  bool Grouped() const { return FGrouped; }
  void SetGrouped(bool value) { FGrouped = value; }
  // The image of the bar's image list the button shows.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value);

  // The user pressed the button: a check button toggles, then the action
  // or OnClick runs.
  void Click() override;

protected:
  std::unique_ptr<TControlActionLink> CreateActionLink() override;
  void ActionChange(TCustomAction& action) override;

private:
  class TLink : public TControlActionLink {
  public:
    explicit TLink(TToolButton& button) : TControlActionLink(button), FButton(button) {}
    void SetChecked(bool value) override;
    void SetImageIndex(int value) override;

  private:
    TToolButton& FButton;
  };

  TToolButtonStyle FStyle = tbsButton;
  bool FDown = false;
  bool FGrouped = false;
  int FImageIndex = -1;
};

class TToolBar : public TWinControl {
public:
  explicit TToolBar(TComponent* owner);
  std::string ClassName() const override { return "TToolBar"; }

  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int value);
  int ButtonHeight() const { return FButtonHeight; }
  void SetButtonHeight(int value);
  // The images the buttons show by index.
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);
  // Buttons without a frame until the pointer is over them.
  bool Flat() const { return FFlat; }
  void SetFlat(bool value);

  int ButtonCount() const;
  // The index-th tool button among the bar's controls, or nullptr.
  TToolButton* Buttons(int index) const;

protected:
  bool ArrangesControls() const override { return true; }
  // The visible controls in a row, left to right in the order they joined
  // the bar: buttons at the bar's button size, separators and other
  // controls at their own width, centred in the button height.
  void AlignControls(TRect& rect) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  int FButtonWidth = 23;
  int FButtonHeight = 22;
  TImageList* FImages = nullptr;
  bool FFlat = false;
};

// A container for tool bars and other controls, which keep their places.
class TControlBar : public TWinControl {
public:
  explicit TControlBar(TComponent* owner);
  std::string ClassName() const override { return "TControlBar"; }
};

}  // namespace vk
