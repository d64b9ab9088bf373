#include "platform/RadioGroups.h"

#include <algorithm>

#include "platform/ScopeGuard.h"

namespace vk {

TRadioGroup::TRadioGroup(TComponent* owner) : TGroupBox(owner) {}

TRadioGroup::~TRadioGroup() {
  Withdraw();
  for (TRadioButton* button : FButtons) delete button;
}

TRadioButton* TRadioGroup::Buttons(int index) const {
  CheckListIndex(index, static_cast<int>(FButtons.size()));
  return FButtons[static_cast<size_t>(index)];
}

void TRadioGroup::SetItemIndex(int value) {
  value = std::clamp(value, -1, FItems.Count() - 1);
  if (value == FItemIndex) return;
  const int old = FItemIndex;
  FItemIndex = value;
  // Within an update of the items the buttons come at its end.
  const int buttons = static_cast<int>(FButtons.size());
  if (old >= 0 && old < buttons) FButtons[static_cast<size_t>(old)]->SetChecked(false);
  // The button's click is the group's (ButtonClick).
  if (value >= 0 && value < buttons) FButtons[static_cast<size_t>(value)]->SetChecked(true);
}

void TRadioGroup::ButtonClick(TObject* sender) {
  if (FUpdating) return;
  auto found = std::find(FButtons.begin(), FButtons.end(), sender);
  if (found == FButtons.end()) return;
  FItemIndex = static_cast<int>(found - FButtons.begin());
  Click();
}

void TRadioGroup::ItemsChanged(TItemChange, int) {
  FItemIndex = std::min(FItemIndex, FItems.Count() - 1);
  if (FItems.UpdateCount() == 0) UpdateButtons();
}

void TRadioGroup::UpdateButtons() {
  TTempValue updating(FUpdating, true);
  while (static_cast<int>(FButtons.size()) > FItems.Count()) {
    delete FButtons.back();
    FButtons.pop_back();
  }
  while (static_cast<int>(FButtons.size()) < FItems.Count()) {
    auto* button = new TRadioButton(this);
    button->OnClick = TNotifyEvent(this, &TRadioGroup::ButtonClick);
    button->SetParent(this);
    FButtons.push_back(button);
  }
  for (size_t i = 0; i < FButtons.size(); ++i) {
    FButtons[i]->SetCaption(FItems.Get(static_cast<int>(i)));
    FButtons[i]->SetChecked(static_cast<int>(i) == FItemIndex);
  }
  ArrangeButtons();
}

void TRadioGroup::ArrangeButtons() {
  if (FButtons.empty()) return;
  // Stacked below the caption, each as high as the client height shares.
  const int fontHeight = FontMetrics().TextMetrics(Font().LogFont()).tmHeight;
  const int count = static_cast<int>(FButtons.size());
  const int space = Height() - fontHeight - 5;
  const int buttonHeight = space / count;
  const int topMargin = fontHeight + 1 + (space % count) / 2;
  for (int i = 0; i < count; ++i)
    FButtons[static_cast<size_t>(i)]->SetBounds(8, i * buttonHeight + topMargin, Width() - 10, buttonHeight);
}

void TRadioGroup::SetBounds(int left, int top, int width, int height) {
  TGroupBox::SetBounds(left, top, width, height);
  ArrangeButtons();
}

void TRadioGroup::FontChanged() {
  TGroupBox::FontChanged();
  ArrangeButtons();
}

}  // namespace vk
