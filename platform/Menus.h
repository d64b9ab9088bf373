#pragma once
// Menus: a tree of menu items under a menu's root item. A main menu is a
// form's menu bar; a child form's main menu can be merged into it by group
// index. A popup menu belongs to a control and opens on a right click. The
// window that shows a menu hears of every change through OnWindowChange.

#include <string>
#include <vector>

#include "platform/Actions.h"
#include "platform/Components.h"
#include "platform/Events.h"
#include "platform/Keyboard.h"

namespace vk {

class TMenu;

class TMenuItem : public TComponent {
public:
  explicit TMenuItem(TComponent* owner);
  // Frees the items under it and leaves its parent.
  ~TMenuItem() override;
  std::string ClassName() const override { return "TMenuItem"; }

  // "&" marks the accelerator ("&&" is an "&"); "-" makes a separator.
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value);
  bool IsLine() const { return FCaption == "-"; }
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut value);
  // Checking a radio item unchecks the radio items of its group index
  // under the same parent.
  bool Checked() const { return FChecked; }
  void SetChecked(bool value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool value);
  // The group of a radio item; for a menu bar's items, the merge group.
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& value);

  // The action the item shows and runs; linking takes over its caption,
  // shortcut, check, enabled state, visibility and hint.
  TBasicAction* Action() const { return FLink.Action(); }
  void SetAction(TBasicAction* action);

  // ----- the tree
  TMenuItem* Parent() const { return FParent; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises EListError "List index out of bounds (%d)" outside 0..count-1.
  TMenuItem* Items(int index) const;
  void Add(TMenuItem* item);
  // Raises EListError for an index outside 0..count.
  void Insert(int index, TMenuItem* item);
  // Takes the item out of this one's items (it is not freed).
  void Remove(TMenuItem* item);

  // The user chose the item: its action runs, else OnClick; an OnClick of
  // its own that is not the action's handler runs instead of the action.
  // A disabled item does nothing. A menu that opens clicks its item first.
  virtual void Click();
  // Brings the actions of the items under it up to date, as opening the
  // menu does.
  void InitiateActions();

  TNotifyEvent OnClick;

private:
  friend class TMenu;
  class TLink : public TActionLink {
  public:
    explicit TLink(TMenuItem& item) : FItem(item) {}
    void SetCaption(const std::string& value) override;
    void SetChecked(bool value) override;
    void SetEnabled(bool value) override;
    void SetHint(const std::string& value) override;
    void SetShortCut(TShortCut value) override;
    void SetVisible(bool value) override;

  private:
    TMenuItem& FItem;
  };

  // Tells the menu that the item changed (its tree, with rebuild).
  void Changed(bool rebuild);

  std::string FCaption;
  TShortCut FShortCut = scNone;
  bool FChecked = false;
  bool FRadioItem = false;
  int FGroupIndex = 0;
  bool FEnabled = true;
  bool FVisible = true;
  std::string FHint;
  TLink FLink{*this};
  TMenuItem* FParent = nullptr;
  std::vector<TMenuItem*> FItems;
  TMenu* FMenu = nullptr;  // set on a menu's root item
};

using TMenuChangeEvent = TDelegate<void(TObject* Sender, TMenuItem* Source, bool Rebuild)>;

class TMenu : public TComponent {
public:
  explicit TMenu(TComponent* owner);
  std::string ClassName() const override { return "TMenu"; }

  // The root item: the menu's items are its items.
  TMenuItem* Items() const { return FItems; }
  // The item with this shortcut (a hidden one too) runs: the menus above
  // it are clicked first, as opening them would; true when it was enabled
  // and ran.
  bool IsShortCut(TShortCut shortCut);

  // An item changed; Rebuild when items came or went.
  TMenuChangeEvent OnChange;
  // The window that shows the menu hears of every change here.
  TNotifyEvent OnWindowChange;

protected:
  virtual void MenuChanged(TMenuItem* source, bool rebuild);

private:
  friend class TMenuItem;
  TMenuItem* FItems;
};

class TMainMenu : public TMenu {
public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
  ~TMainMenu() override;
  std::string ClassName() const override { return "TMainMenu"; }

  // Shows another menu's items in this one's bar (one menu at a time): a
  // merged item takes the place of this menu's items of its group index
  // and stands among the others by group index. Unmerge ends it.
  void Merge(TMainMenu* menu);
  void Unmerge(TMainMenu* menu);
  // The items the bar shows, left to right (hidden ones included).
  std::vector<TMenuItem*> BarItems() const;

protected:
  void MenuChanged(TMenuItem* source, bool rebuild) override;

private:
  TMainMenu* FMerged = nullptr;
  TMainMenu* FMergedInto = nullptr;
};

class TPopupMenu;

// What shows a popup menu on the screen: the backend's, which opens a
// native menu whose choice clicks the item.
class TPopupPresenter {
public:
  virtual ~TPopupPresenter() = default;
  virtual void Present(TPopupMenu& menu, int x, int y) = 0;
};
// Registers the backend's presenter (nullptr: none; a popup then only runs
// OnPopup and updates its items, and a test clicks the item itself).
void SetPopupPresenter(TPopupPresenter* presenter);

class TPopupMenu : public TMenu {
public:
  explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
  std::string ClassName() const override { return "TPopupMenu"; }

  // Opens at the screen point: OnPopup, the items' actions updated, then
  // the presenter shows it.
  virtual void Popup(int x, int y);
  // The control that opened the menu last.
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* component);
  // A right click on the control opens the menu (on by default).
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool value) { FAutoPopup = value; }

  TNotifyEvent OnPopup;

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  TComponent* FPopupComponent = nullptr;
  bool FAutoPopup = true;
};

}  // namespace vk
