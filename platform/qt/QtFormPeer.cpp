#include "platform/qt/QtFormPeer.h"

#include <QtCore/QTimer>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>
#include <QtWidgets/QMenuBar>
#include <utility>

#include "platform/ScopeGuard.h"
#include "platform/SystemMetrics.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtGuard.h"

namespace vk {

namespace {

// A dialog whose keys are the model's: Enter and Esc press the model's
// default and cancel buttons (or nothing), never Qt's.
class TQtDialog : public QDialog {
public:
  using QDialog::QDialog;

protected:
  void keyPressEvent(QKeyEvent* event) override { QWidget::keyPressEvent(event); }
};

TWindowState StateOf(Qt::WindowStates states) {
  if (states & Qt::WindowMinimized) return wsMinimized;
  if (states & Qt::WindowMaximized) return wsMaximized;
  return wsNormal;
}

}  // namespace

TQtFormPeer::TQtFormPeer(TCustomForm& form) : FForm(form), FClient(new QWidget) {
  if (form.FormStyle() == fsMDIChild) {
    auto* sub = new QMdiSubWindow;
    sub->setWidget(FClient);
    if (auto* parent = dynamic_cast<TQtFormPeer*>(QtPeerOf(Application().MainForm())); parent && parent->FMdiArea)
      parent->FMdiArea->addSubWindow(sub);
    FWindow = sub;
  } else if (form.FormStyle() == fsMDIForm || form.Menu()) {
    auto* main = new QMainWindow;
    main->setCentralWidget(FClient);
    if (form.FormStyle() == fsMDIForm) {
      FMdiArea = new QMdiArea(FClient);
      FMdiArea->setFrameShape(QFrame::NoFrame);
      QObject::connect(FMdiArea, &QMdiArea::subWindowActivated,
                       [this](QMdiSubWindow* sub) { SubWindowActivated(sub); });
    }
    FWindow = main;
  } else {
    FWindow = new TQtDialog;
    FClient->setParent(FWindow);
  }
  FClient->setAutoFillBackground(true);
  InstallEventFilter(*FWindow, [this](QEvent& e) { return WindowEvent(e); });
  InstallEventFilter(*FClient, [this](QEvent& e) {
    return e.type() == QEvent::KeyPress && OfferKeyToModel(FForm, static_cast<QKeyEvent&>(e));
  });
}

TQtFormPeer::~TQtFormPeer() { delete FWindow; }

void TQtFormPeer::Attached() {
  // The menu is synced here and now, not deferred as a change to it is.
  for (TPeerProperty p : {ppText, ppMDIClient, ppEnabled}) PropertyChanged(p);
  SyncMenu();
  PlaceWindow();
}

void TQtFormPeer::PropertyChanged(TPeerProperty property) {
  if (!FWindow) return;
  switch (property) {
    case ppText:
      FWindow->setWindowTitle(AnsiToQString(FForm.Caption()));
      break;
    case ppMenu:
      // Many changes come at once (a menu built, merged, updated): one
      // sync after them, from the event loop.
      if (!FMenuPending) {
        FMenuPending = true;
        QTimer::singleShot(0, FWindow, [this] {
          FMenuPending = false;
          SyncMenu();
        });
      }
      break;
    case ppMDIClient:
      if (FMdiArea) FMdiArea->setGeometry(ToQRect(FForm.MDIClientRect()));
      break;
    case ppEnabled:
      FWindow->setEnabled(FForm.Enabled());
      break;
    case ppFocus:
      if (FForm.Focused() && FClient) FClient->setFocus(Qt::OtherFocusReason);
      break;
    case ppActivated:
      if (!FForm.Visible()) break;
      if (QMdiSubWindow* sub = SubWindow()) {
        TTempValue syncing(FSyncing, true);
        if (QMdiArea* area = sub->mdiArea()) area->setActiveSubWindow(sub);
      } else {
        FWindow->raise();
        FWindow->activateWindow();
      }
      break;
    case ppBounds:
    case ppFrame:
    case ppVisible:
    case ppWindowState:
      PlaceWindow();
      break;
    default:
      break;
  }
}

int TQtFormPeer::MenuBarHeight() const {
  QMainWindow* main = MainWindow();
  return main && FForm.Menu() ? main->menuBar()->sizeHint().height() : 0;
}

void TQtFormPeer::SyncMenu() {
  QMainWindow* main = MainWindow();
  if (!main) return;
  const int before = MenuBarHeight();
  FMenus.Sync(*main->menuBar(), FForm.Menu() ? FForm.Menu()->BarItems() : std::vector<TMenuItem*>{});
  main->menuBar()->setVisible(FForm.Menu() != nullptr);
  if (MenuBarHeight() != before) PlaceWindow();
}

void TQtFormPeer::PlaceWindow() {
  TTempValue syncing(FSyncing, true);
  const TWindowState state = FForm.WindowState();
  if (QMdiSubWindow* sub = SubWindow()) {
    if (state == wsNormal) {
      if (sub->isMaximized() || sub->isMinimized()) sub->showNormal();
      QMargins m = sub->contentsMargins();
      sub->setGeometry(FForm.Left(), FForm.Top(), FForm.ClientWidth() + m.left() + m.right(),
                       FForm.ClientHeight() + m.top() + m.bottom());
    }
    if (!FForm.Visible()) {
      sub->hide();
    } else if (state == wsMaximized) {
      sub->showMaximized();
    } else if (state == wsMinimized) {
      sub->showMinimized();
    } else {
      sub->show();
    }
    return;
  }
  // A top-level window: its contents are the menu bar and the client area.
  const bool dialogFrame = FForm.BorderStyle() == bsDialog;
  if (state == wsNormal && !FWindow->isMaximized() && !FWindow->isMinimized()) {
    const TPoint origin = FForm.ClientOrigin();
    const int modelMenu = FForm.Menu() ? GetSystemMetrics(SM_CYMENU) : 0;
    const QRect content(origin.X, origin.Y - modelMenu, FForm.ClientWidth(), FForm.ClientHeight() + MenuBarHeight());
    FWindow->setMinimumSize(dialogFrame ? content.size() : QSize(0, 0));
    FWindow->setMaximumSize(dialogFrame ? content.size() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    FWindow->setGeometry(content);
    if (!MainWindow()) FClient->setGeometry(0, 0, content.width(), content.height());
  }
  if (!FForm.Visible()) {
    FWindow->hide();
    return;
  }
  if (FWindow->isHidden()) FWindow->setWindowModality(FForm.Modal() ? Qt::ApplicationModal : Qt::NonModal);
  switch (state) {
    case wsMaximized: FWindow->showMaximized(); break;
    case wsMinimized: FWindow->showMinimized(); break;
    case wsNormal: FWindow->isMaximized() || FWindow->isMinimized() ? FWindow->showNormal() : FWindow->show(); break;
  }
}

void TQtFormPeer::WindowMoved() {
  if (FSyncing || FForm.WindowState() != wsNormal) return;
  const int frameWidth = FForm.Width() - FForm.ClientWidth();
  const int frameHeight = FForm.Height() - FForm.ClientHeight();
  TRect bounds;
  if (QMdiSubWindow* sub = SubWindow()) {
    QMargins m = sub->contentsMargins();
    QSize content = sub->size().shrunkBy(m);
    bounds = Bounds(sub->x(), sub->y(), content.width() + frameWidth, content.height() + frameHeight);
  } else {
    const TPoint origin = FForm.ClientOrigin();
    const int modelMenu = FForm.Menu() ? GetSystemMetrics(SM_CYMENU) : 0;
    const QRect content = FWindow->geometry();
    bounds = Bounds(content.x() - (origin.X - FForm.Left()), content.y() + modelMenu - (origin.Y - FForm.Top()),
                    content.width() + frameWidth, content.height() - MenuBarHeight() + frameHeight);
  }
  if (bounds != FForm.BoundsRect()) RunGuarded([&] { FForm.SetBoundsRect(bounds); });
}

bool TQtFormPeer::BlockedByModal() const {
  QWidget* modal = QApplication::activeModalWidget();
  return modal && modal != FWindow;
}

bool TQtFormPeer::WindowEvent(QEvent& event) {
  switch (event.type()) {
    case QEvent::Close:
      event.ignore();
      RunGuarded([this] { FForm.Close(); });
      return true;
    case QEvent::Move:
    case QEvent::Resize:
      // After Qt's own handling, so that the new geometry is in place.
      QTimer::singleShot(0, FWindow, [this] { WindowMoved(); });
      return false;
    case QEvent::WindowStateChange:
      if (!FSyncing && StateOf(FWindow->windowState()) != FForm.WindowState())
        RunGuarded([this] { FForm.SetWindowState(StateOf(FWindow->windowState())); });
      return false;
    case QEvent::KeyPress:
      // No widget of the window has the focus (the focused control was
      // closed): the key is the form's, so its commands and those of the
      // main form still answer their shortcuts.
      return !QApplication::focusWidget() && OfferKeyToModel(FForm, static_cast<QKeyEvent&>(event));
    case QEvent::WindowDeactivate:
      FUnderOwnModal = BlockedByModal();
      return false;
    case QEvent::WindowActivate:
      // A window under a modal one that the system activates on its way
      // back to the modal one does not come to the front: the two would
      // take the front from each other without end. A window that is in
      // front already but lost the focus to another program's window gives
      // it back to its active control.
      // The program's own box or dialog going hands the activation back:
      // the user did not bring the window to the front.
      if (!FSyncing && !SubWindow() && FForm.Visible() && (!FForm.Active() || !FocusedControl()) &&
          !BlockedByModal())
        RunGuarded([this] { std::exchange(FUnderOwnModal, false) ? FForm.ReturnFocus() : FForm.BringToFront(); });
      FUnderOwnModal = false;
      // Qt gives the window's focus back to a widget of its choice: the
      // model's focused control takes it again.
      QTimer::singleShot(0, FWindow, [] {
        if (TQtPeer* focused = QtPeerOf(FocusedControl())) focused->PropertyChanged(ppFocus);
      });
      return false;
    default:
      return false;
  }
}

void TQtFormPeer::SubWindowActivated(QMdiSubWindow* sub) {
  if (FSyncing || !sub) return;
  for (int i = 0; i < FForm.MDIChildCount(); ++i) {
    TCustomForm* child = FForm.MDIChildren(i);
    if (QtPeerOf(child) && QtPeerOf(child)->Widget() == sub) {
      if (!child->Active()) RunGuarded([child] { child->BringToFront(); });
      return;
    }
  }
}

}  // namespace vk
