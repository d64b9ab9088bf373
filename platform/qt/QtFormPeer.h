#pragma once
// The peer of a form: a QMainWindow for the MDI parent (its client area
// holds the controls and the QMdiArea, placed where the model leaves room)
// and for a form with a menu bar, a QMdiSubWindow in the parent's area for
// an MDI child, a QDialog for any other form (shown modally while the model
// runs ShowModal's loop, modeless otherwise). The client area is exactly
// the model's client size; around it Qt's own frame and menu bar. The
// user's moving, sizing, maximising, activating and closing go back to the
// model; closing asks the model's Close.

#include <QtCore/QPointer>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMdiArea>
#include <QtWidgets/QMdiSubWindow>

#include "platform/Forms.h"
#include "platform/qt/QtMenus.h"
#include "platform/qt/QtPeer.h"

namespace vk {

class TQtFormPeer : public TQtPeer {
public:
  explicit TQtFormPeer(TCustomForm& form);
  ~TQtFormPeer() override;
  TQtFormPeer(const TQtFormPeer&) = delete;
  TQtFormPeer& operator=(const TQtFormPeer&) = delete;

  QWidget* Widget() const override { return FWindow; }
  QWidget* ChildArea() const override { return FClient; }
  void Attached() override;
  void PropertyChanged(TPeerProperty property) override;

  // The window kinds; nullptr where the form is another kind.
  QMainWindow* MainWindow() const { return qobject_cast<QMainWindow*>(FWindow); }
  QMdiSubWindow* SubWindow() const { return qobject_cast<QMdiSubWindow*>(FWindow); }
  QMdiArea* MdiArea() const { return FMdiArea; }
  // The action that shows a menu item of the form's bar.
  QAction* MenuAction(const TMenuItem* item) const { return FMenus.ActionOf(item); }

private:
  bool WindowEvent(QEvent& event);
  // Another window is shown modally over this one.
  bool BlockedByModal() const;
  // Window state, geometry and visibility from the model.
  void PlaceWindow();
  void SyncMenu();
  // The user moved or sized the window: the model follows.
  void WindowMoved();
  void SubWindowActivated(QMdiSubWindow* sub);
  int MenuBarHeight() const;

  TCustomForm& FForm;
  QPointer<QWidget> FWindow;
  QPointer<QWidget> FClient;
  QPointer<QMdiArea> FMdiArea;
  TQtMenuSync FMenus;
  bool FSyncing = false;
  // The window lost the activation to a modal box or dialog of the program.
  bool FUnderOwnModal = false;
  bool FMenuPending = false;
};

}  // namespace vk
