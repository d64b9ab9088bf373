#pragma once
// Actions: commands with a caption, shortcut, check mark and enabled state
// that menu items and buttons show and run. An action list holds a form's
// actions, runs their shortcuts and brings their states up to date when the
// application is idle. A client (menu item, button) reaches its action
// through a link; the action tells the links of every change, and a client
// follows a property for as long as its own value equals the action's, so a
// client that was given a value of its own keeps it.

#include <string>
#include <vector>

#include "platform/Components.h"
#include "platform/Events.h"
#include "platform/Keyboard.h"

namespace vk {

class TBasicAction;
class TCustomAction;
class TActionList;

// A client's link to its action. The action calls the setters before it
// takes the new value, so a link can compare the client with the action.
class TActionLink {
public:
  TActionLink() = default;
  virtual ~TActionLink();
  TActionLink(const TActionLink&) = delete;
  TActionLink& operator=(const TActionLink&) = delete;

  TBasicAction* Action() const { return FAction; }
  // The action, when it is one with a caption and states.
  TCustomAction* CustomAction() const;
  void SetAction(TBasicAction* action);
  // Runs the action; true when something ran it.
  bool Execute();

  virtual void SetCaption(const std::string&) {}
  virtual void SetChecked(bool) {}
  virtual void SetEnabled(bool) {}
  virtual void SetHint(const std::string&) {}
  virtual void SetImageIndex(int) {}
  virtual void SetShortCut(TShortCut) {}
  virtual void SetVisible(bool) {}

private:
  friend class TBasicAction;
  TBasicAction* FAction = nullptr;
};

class TBasicAction : public TComponent {
public:
  explicit TBasicAction(TComponent* owner) : TComponent(owner) {}
  // Leaves the clients without an action.
  ~TBasicAction() override;
  std::string ClassName() const override { return "TBasicAction"; }

  // Runs the action: true when something ran it.
  virtual bool Execute();
  // Brings the action's state up to date: true when something did.
  virtual bool Update();

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

protected:
  // Calls step(link) for every client's link.
  template <class Step>
  void ForEachLink(Step step) {
    for (TActionLink* link : std::vector<TActionLink*>(FLinks)) step(*link);
  }

private:
  friend class TActionLink;
  std::vector<TActionLink*> FLinks;
};

// An action with the states its clients show, kept in an action list.
class TCustomAction : public TBasicAction {
public:
  explicit TCustomAction(TComponent* owner) : TBasicAction(owner) {}
  ~TCustomAction() override;
  std::string ClassName() const override { return "TCustomAction"; }

  TActionList* ActionList() const { return FActionList; }
  void SetActionList(TActionList* list);
  const std::string& Category() const { return FCategory; }
  void SetCategory(const std::string& value) { FCategory = value; }

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  // With no handler at all (no update handler, no execute handler, no
  // target) an update disables the action. On by default.
  bool DisableIfNoHandler() const { return FDisableIfNoHandler; }
  void SetDisableIfNoHandler(bool value) { FDisableIfNoHandler = value; }

  // The list's OnUpdate first; when it did not handle the action, the
  // action's OnUpdate, else a standard action's target.
  bool Update() override;
  // Updates first; a disabled action does nothing. Then the list's
  // OnExecute, the action's OnExecute, a standard action's target.
  bool Execute() override;

protected:
  // A standard action finds what it works on (the focused control, the
  // active form), updates from it or runs on it; false when there is none.
  virtual bool UpdateFromTarget() { return false; }
  virtual bool ExecuteOnTarget() { return false; }

private:
  TActionList* FActionList = nullptr;
  std::string FCategory;
  std::string FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  std::string FHint;
  int FImageIndex = -1;
  TShortCut FShortCut = scNone;
  bool FVisible = true;
  bool FDisableIfNoHandler = true;
};

class TAction : public TCustomAction {
public:
  explicit TAction(TComponent* owner) : TCustomAction(owner) {}
  std::string ClassName() const override { return "TAction"; }
};

// Handler of a list for each of its actions; set Handled to stop there.
using TActionEvent = TDelegate<void(TBasicAction* Action, bool& Handled)>;

class TActionList : public TComponent {
public:
  explicit TActionList(TComponent* owner) : TComponent(owner) {}
  ~TActionList() override;
  std::string ClassName() const override { return "TActionList"; }

  int ActionCount() const { return static_cast<int>(FActions.size()); }
  // Raises EListError "List index out of bounds (%d)" outside 0..count-1.
  TCustomAction* Actions(int index) const;

  // The first action with this shortcut runs; true when it ran (a
  // disabled one ends the search unhandled).
  bool IsShortCut(TShortCut shortCut);
  // Every action updates, as the application does when it is idle.
  void UpdateActions();

  TActionEvent OnExecute;
  TActionEvent OnUpdate;

private:
  friend class TCustomAction;
  std::vector<TCustomAction*> FActions;  // not owned
};

}  // namespace vk
