#include "dialogs/PartListBox.h"

#include "services/EnvironmentToolChain.h"
#include "platform/ComboBoxes.h"
#include "platform/MessageBoxes.h"
#include "platform/StringLists.h"

namespace vk {

void MarkPartList(TComboBox& box) {
  TStrings& items = box.Items();
  TStringsUpdate update(items);
  for (int i = 0; i < items.Count(); ++i) {
    const std::string item = items.Get(i);
    const std::string marked = PartListItem(PartOfListItem(item));
    if (marked != item) items.Put(i, marked);
  }
}

void TakeChosenPart(TComboBox& box) {
  if (box.ItemIndex() < 0) return;
  const std::string part = PartOfListItem(box.Text());
  if (part != box.Text()) box.SetText(part);
  if (const std::string message = PartSupportMessage(part); !message.empty()) ShowMessage(message);
}

}  // namespace vk
