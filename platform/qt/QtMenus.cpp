#include "platform/qt/QtMenus.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QProxyStyle>

#include "platform/Keyboard.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtGuard.h"

namespace vk {

namespace {

class TMenuStyle : public QProxyStyle {
public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_Menu_AllowActiveAndDisabled) return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

// A menu of the menu bar. Escape closes it and leaves the bar too: Qt would
// keep the bar highlighted, holding the keys until a second Escape, and no
// key would reach the window's shortcuts meanwhile.
class TBarMenu : public QMenu {
public:
  using QMenu::QMenu;

protected:
  void keyPressEvent(QKeyEvent* event) override {
    QMenu::keyPressEvent(event);
    auto* bar = qobject_cast<QMenuBar*>(parentWidget());
    if (event->key() != Qt::Key_Escape || !bar || !bar->hasFocus()) return;
    // The bar's own way out gives the focus back to where it was.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &escape);
  }
};

}  // namespace

void UseDesktopMenuStyle() {
  if (!dynamic_cast<TMenuStyle*>(QApplication::style())) QApplication::setStyle(new TMenuStyle);
}

// Hears when an item that has an action goes, so that no action outlives
// its item.
class TQtMenuSync::TWatch : public TComponent {
public:
  explicit TWatch(TQtMenuSync& sync) : TComponent(nullptr), FSync(sync) {}
  ~TWatch() override { BeforeDestruction(); }

protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove) FSync.Forget(component);
  }

private:
  TQtMenuSync& FSync;
};

std::vector<TMenuItem*> ItemsOf(const TMenuItem& item) {
  std::vector<TMenuItem*> items;
  for (int i = 0; i < item.Count(); ++i) items.push_back(item.Items(i));
  return items;
}

TQtMenuSync::TQtMenuSync() : FWatch(std::make_unique<TWatch>(*this)) {}

TQtMenuSync::~TQtMenuSync() = default;

QAction* TQtMenuSync::ActionOf(const TMenuItem* item) const {
  auto found = FActions.find(item);
  return found == FActions.end() ? nullptr : found->second.data();
}

void TQtMenuSync::Forget(TComponent* component) {
  auto found = FActions.find(component);
  if (found == FActions.end()) return;
  if (QAction* action = found->second) {
    // Later: the item may be going from inside the action's own signal.
    if (QMenu* menu = action->menu())
      menu->deleteLater();
    else
      action->deleteLater();
  }
  FActions.erase(found);
}

QAction* TQtMenuSync::ActionFor(QWidget& menu, TMenuItem& item) {
  const bool wantsMenu = item.Count() > 0;
  if (QAction* action = ActionOf(&item)) {
    if ((action->menu() != nullptr) == wantsMenu) return action;
    Forget(&item);
  }
  QAction* action;
  if (wantsMenu) {
    QMenu* sub = qobject_cast<QMenuBar*>(&menu) ? new TBarMenu(&menu) : new QMenu(&menu);
    action = sub->menuAction();
    QObject::connect(sub, &QMenu::aboutToShow, [this, item = &item] { Opened(item); });
  } else {
    action = new QAction(&menu);
    QObject::connect(action, &QAction::triggered, [this, item = &item] {
      // An item gone meanwhile has no action any more.
      if (ActionOf(item)) RunGuarded([item] { item->Click(); });
    });
  }
  FActions[&item] = action;
  FWatch->FreeNotification(&item);
  return action;
}

void TQtMenuSync::Opened(TMenuItem* item) {
  if (!ActionOf(item)) return;
  RunGuarded([item] {
    item->Click();
    item->InitiateActions();
  });
  if (QAction* action = ActionOf(item); action && action->menu()) Sync(*action->menu(), ItemsOf(*item));
}

void TQtMenuSync::Sync(QWidget& menu, const std::vector<TMenuItem*>& items) {
  QList<QAction*> wanted;
  for (TMenuItem* item : items) {
    QAction* action = ActionFor(menu, *item);
    action->setSeparator(item->IsLine());
    // A separator's caption "-" is only its mark: a style draws the text of
    // a separator action beside the line.
    QString text = item->IsLine() ? QString() : AnsiToQString(item->Caption());
    if (!item->IsLine() && item->ShortCut() != scNone)
      text += '\t' + AnsiToQString(ShortCutToText(item->ShortCut()));
    action->setText(text);
    action->setCheckable(item->Checked() || item->RadioItem());
    action->setChecked(item->Checked());
    action->setEnabled(item->Enabled());
    action->setVisible(item->Visible());
    action->setStatusTip(AnsiToQString(item->Hint()));
    if (QMenu* sub = action->menu()) Sync(*sub, ItemsOf(*item));
    wanted.push_back(action);
  }
  if (menu.actions() == wanted) return;
  for (QAction* action : menu.actions()) menu.removeAction(action);
  menu.addActions(wanted);
}

void TQtPopupPresenter::Present(TPopupMenu& menu, int x, int y) {
  QMenu popup;
  TQtMenuSync sync;
  sync.Sync(popup, ItemsOf(*menu.Items()));
  popup.exec(QPoint(x, y));
}

}  // namespace vk
