#include "platform/ToolBars.h"

#include <algorithm>

namespace vk {

// ---------------------------------------------------------------- TToolButton

TToolButton::TToolButton(TComponent* owner) : TControl(owner) { SetBounds(0, 0, 23, 22); }

void TToolButton::SetStyle(TToolButtonStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  if (value == tbsSeparator && Width() == 23) SetWidth(8);
  NotifyPeer(ppStyle);
  if (Parent()) Parent()->Realign();
}

void TToolButton::SetDown(bool value) {
  if (value == FDown) return;
  FDown = value;
  if (value && FGrouped && Parent()) {
    // The grouped check buttons next to this one release.
    auto* bar = Parent();
    int index = 0;
    while (bar->Controls(index) != this) ++index;
    auto release = [&](int step) {
      for (int i = index + step; i >= 0 && i < bar->ControlCount(); i += step) {
        auto* other = dynamic_cast<TToolButton*>(bar->Controls(i));
        if (!other || !other->FGrouped || other->FStyle != tbsCheck) break;
        other->SetDown(false);
      }
    };
    release(-1);
    release(1);
  }
  NotifyPeer(ppChecked);
}

void TToolButton::SetImageIndex(int value) {
  if (value == FImageIndex) return;
  FImageIndex = value;
  NotifyPeer(ppImages);
}

void TToolButton::Click() {
  if (FStyle == tbsCheck && !Action()) SetDown(!FDown || FGrouped);
  TControl::Click();
}

std::unique_ptr<TControlActionLink> TToolButton::CreateActionLink() { return std::make_unique<TLink>(*this); }

void TToolButton::ActionChange(TCustomAction& action) {
  TControl::ActionChange(action);
  SetDown(action.Checked());
  SetImageIndex(action.ImageIndex());
}

void TToolButton::TLink::SetChecked(bool value) {
  if (FButton.Down() == CustomAction()->Checked()) FButton.SetDown(value);
}

void TToolButton::TLink::SetImageIndex(int value) {
  if (FButton.ImageIndex() == CustomAction()->ImageIndex()) FButton.SetImageIndex(value);
}

// ---------------------------------------------------------------- TToolBar

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
  SetColor(clBtnFace);
}

void TToolBar::SetButtonWidth(int value) {
  if (value == FButtonWidth) return;
  FButtonWidth = value;
  Realign();
}

void TToolBar::SetButtonHeight(int value) {
  if (value == FButtonHeight) return;
  FButtonHeight = value;
  Realign();
}

void TToolBar::SetImages(TImageList* images) {
  if (Link(FImages, images)) NotifyPeer(ppImages);
}

void TToolBar::SetFlat(bool value) {
  if (value == FFlat) return;
  FFlat = value;
  NotifyPeer(ppStyle);
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == FImages) {
    FImages = nullptr;
    NotifyPeer(ppImages);
  }
}

int TToolBar::ButtonCount() const {
  int count = 0;
  for (int i = 0; i < ControlCount(); ++i)
    if (dynamic_cast<TToolButton*>(Controls(i))) ++count;
  return count;
}

TToolButton* TToolBar::Buttons(int index) const {
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* button = dynamic_cast<TToolButton*>(Controls(i)); button && index-- == 0) return button;
  return nullptr;
}

void TToolBar::AlignControls(TRect& rect) {
  int x = rect.Left;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* control = Controls(i);
    if (!control->Visible()) continue;
    auto* button = dynamic_cast<TToolButton*>(control);
    if (button && button->Style() != tbsSeparator) {
      control->SetBounds(x, rect.Top, FButtonWidth, FButtonHeight);
    } else {
      int height = button ? FButtonHeight : control->Height();
      control->SetBounds(x, rect.Top + std::max((FButtonHeight - height) / 2, 0), control->Width(), height);
    }
    x += control->Width();
  }
}

// ---------------------------------------------------------------- TControlBar

TControlBar::TControlBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 100, 50);
  SetColor(clBtnFace);
}

}  // namespace vk
