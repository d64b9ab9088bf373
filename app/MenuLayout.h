#pragma once
// Building menus and command tables in code: one call adds an item to its
// menu with its action and caption, one a menu to the bar, one a separator;
// Ctrl writes a Ctrl shortcut.

#include <string>

#include "platform/Actions.h"
#include "platform/Keyboard.h"
#include "platform/Menus.h"

namespace vk {

// Adds the item to the parent: it runs the action (when given) and shows
// the caption (its own one, when given, wins over the action's).
inline TMenuItem* Add(TMenuItem* parent, TMenuItem* item, const std::string& caption,
                      TBasicAction* action = nullptr) {
  if (action) item->SetAction(action);
  if (!caption.empty()) item->SetCaption(caption);
  parent->Add(item);
  return item;
}

// A menu on the menu bar; menus of one group index take each other's
// place when windows merge their menus.
inline TMenuItem* AddMenu(TMenuItem* bar, TMenuItem* menu, const std::string& caption, int groupIndex) {
  menu->SetGroupIndex(groupIndex);
  return Add(bar, menu, caption);
}

// A separator line the owner frees.
inline void AddSeparator(TComponent* owner, TMenuItem* parent) { Add(parent, new TMenuItem(owner), "-"); }

// Ctrl with the key, and the further modifiers given.
inline TShortCut Ctrl(char key, TShiftState more = {}) {
  more.Include(ssCtrl);
  return ShortCut(static_cast<uint16_t>(key), more);
}

}  // namespace vk
