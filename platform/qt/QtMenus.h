#pragma once
// Model menus on Qt. A TQtMenuSync keeps a QMenuBar or QMenu showing a list
// of menu items: one QAction per item, a QMenu for an item with items, the
// caption with the shortcut's name after a tab, check marks, enabled and
// visible states. The keys are the model's (Application::IsKeyMsg): no
// QAction carries a Qt shortcut, so a key is handled once. Choosing an
// action clicks its item; opening a menu clicks the item above it and
// updates the actions of the items in it, as the model's menus open.

#include <QtCore/QPointer>
#include <QtGui/QAction>
#include <QtWidgets/QWidget>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/Menus.h"

namespace vk {

// Menus move over disabled items as the keyboard goes: a mnemonic that two
// items share (one of them greyed) turns to the next one at each press, and
// the arrows stop on greyed items too. Without it Qt's default style keeps
// landing on the first, greyed, item. Installed on the application by
// TQtPlatform.
void UseDesktopMenuStyle();

class TQtMenuSync {
public:
  TQtMenuSync();
  ~TQtMenuSync();
  TQtMenuSync(const TQtMenuSync&) = delete;
  TQtMenuSync& operator=(const TQtMenuSync&) = delete;

  // Brings the widget's actions (and those of the menus under them) to the
  // items.
  void Sync(QWidget& menu, const std::vector<TMenuItem*>& items);
  // The action that shows an item (nullptr: none).
  QAction* ActionOf(const TMenuItem* item) const;

private:
  class TWatch;
  QAction* ActionFor(QWidget& menu, TMenuItem& item);
  void Forget(TComponent* item);
  void Opened(TMenuItem* item);

  // By component: an item is forgotten while it is being destroyed.
  std::unordered_map<const TComponent*, QPointer<QAction>> FActions;
  std::unique_ptr<TWatch> FWatch;
};

// The items of a menu item, in order.
std::vector<TMenuItem*> ItemsOf(const TMenuItem& item);

class TQtPopupPresenter : public TPopupPresenter {
public:
  // Opens a QMenu at the screen point until the user chooses or leaves it.
  void Present(TPopupMenu& menu, int x, int y) override;
};

}  // namespace vk
