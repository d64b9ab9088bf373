#pragma once
// The standard actions. The edit actions work on the focused control when
// it edits text (it implements TEditActionTarget); the window actions on
// the MDI parent, the main form. Without a target they are disabled. A
// standard action given an OnExecute of its own runs that instead.

#include <string>

#include "platform/Actions.h"

namespace vk {

// What the edit actions need of the control they work on.
class TEditActionTarget {
public:
  virtual ~TEditActionTarget() = default;
  virtual int SelLength() const = 0;
  // SelLength() > 0; the actions ask on every idle update, so a control
  // whose length is costly to count answers it more cheaply.
  virtual bool HasSelectedText() const { return SelLength() > 0; }
  virtual bool CanUndo() const = 0;
  virtual void CutToClipboard() = 0;
  virtual void CopyToClipboard() = 0;
  virtual void PasteFromClipboard() = 0;
  virtual void SelectAll() = 0;
  virtual void Undo() = 0;
};

// The edit action kinds: cut and copy need a selection, paste text on the
// clipboard, select all some text, undo something to undo.
enum TEditActionKind : uint8_t { eaCut, eaCopy, eaPaste, eaSelectAll, eaUndo };

class TEditAction : public TAction {
public:
  TEditAction(TComponent* owner, TEditActionKind kind) : TAction(owner), FKind(kind) {}
  std::string ClassName() const override { return "TEditAction"; }

protected:
  bool UpdateFromTarget() override;
  bool ExecuteOnTarget() override;

private:
  TEditActionKind FKind;
};

class TEditCut : public TEditAction {
public:
  explicit TEditCut(TComponent* owner) : TEditAction(owner, eaCut) {}
  std::string ClassName() const override { return "TEditCut"; }
};
class TEditCopy : public TEditAction {
public:
  explicit TEditCopy(TComponent* owner) : TEditAction(owner, eaCopy) {}
  std::string ClassName() const override { return "TEditCopy"; }
};
class TEditPaste : public TEditAction {
public:
  explicit TEditPaste(TComponent* owner) : TEditAction(owner, eaPaste) {}
  std::string ClassName() const override { return "TEditPaste"; }
};
class TEditSelectAll : public TEditAction {
public:
  explicit TEditSelectAll(TComponent* owner) : TEditAction(owner, eaSelectAll) {}
  std::string ClassName() const override { return "TEditSelectAll"; }
};
class TEditUndo : public TEditAction {
public:
  explicit TEditUndo(TComponent* owner) : TEditAction(owner, eaUndo) {}
  std::string ClassName() const override { return "TEditUndo"; }
};

// The window action kinds: close the active child (needs one), cascade,
// tile, minimise or arrange the children (needs some).
enum TWindowActionKind : uint8_t {
  waClose,
  waCascade,
  waTileHorizontal,
  waTileVertical,
  waMinimizeAll,
  waArrange
};

class TWindowAction : public TAction {
public:
  TWindowAction(TComponent* owner, TWindowActionKind kind) : TAction(owner), FKind(kind) {}
  std::string ClassName() const override { return "TWindowAction"; }

protected:
  bool UpdateFromTarget() override;
  bool ExecuteOnTarget() override;

private:
  TWindowActionKind FKind;
};

class TWindowClose : public TWindowAction {
public:
  explicit TWindowClose(TComponent* owner) : TWindowAction(owner, waClose) {}
  std::string ClassName() const override { return "TWindowClose"; }
};
class TWindowCascade : public TWindowAction {
public:
  explicit TWindowCascade(TComponent* owner) : TWindowAction(owner, waCascade) {}
  std::string ClassName() const override { return "TWindowCascade"; }
};
class TWindowTileHorizontal : public TWindowAction {
public:
  explicit TWindowTileHorizontal(TComponent* owner) : TWindowAction(owner, waTileHorizontal) {}
  std::string ClassName() const override { return "TWindowTileHorizontal"; }
};
class TWindowTileVertical : public TWindowAction {
public:
  explicit TWindowTileVertical(TComponent* owner) : TWindowAction(owner, waTileVertical) {}
  std::string ClassName() const override { return "TWindowTileVertical"; }
};
class TWindowMinimizeAll : public TWindowAction {
public:
  explicit TWindowMinimizeAll(TComponent* owner) : TWindowAction(owner, waMinimizeAll) {}
  std::string ClassName() const override { return "TWindowMinimizeAll"; }
};
class TWindowArrange : public TWindowAction {
public:
  explicit TWindowArrange(TComponent* owner) : TWindowAction(owner, waArrange) {}
  std::string ClassName() const override { return "TWindowArrange"; }
};

}  // namespace vk
