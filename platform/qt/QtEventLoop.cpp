#include "platform/qt/QtEventLoop.h"

#include <QtCore/QAbstractEventDispatcher>
#include <QtCore/QCoreApplication>
#include <QtCore/QEventLoop>

#include "platform/qt/QtGuard.h"

namespace vk {

namespace {

void WaitForEvents() { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); }

// A message was posted: the event loop dispatches it when it gets there.
void MessagePosted() {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [] { Application().HandlePostedMessages(); }, Qt::QueuedConnection);
}

}  // namespace

TQtEventLoop::TQtEventLoop() {
  QAbstractEventDispatcher* dispatcher = QCoreApplication::instance()->eventDispatcher();
  FAboutToBlock = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [dispatcher] {
    RunGuarded([] { Application().Idle(); });
    // Idle work that ended the application must not leave the loop asleep.
    if (Application().Terminated()) dispatcher->wakeUp();
  });
  SetMessagePostedHook(MessagePosted);
  Application().SetEventLoop(this);
}

TQtEventLoop::~TQtEventLoop() {
  Application().SetEventLoop(nullptr);
  SetMessagePostedHook(nullptr);
  QObject::disconnect(FAboutToBlock);
}

void TQtEventLoop::Run() {
  while (!Application().Terminated()) WaitForEvents();
}

void TQtEventLoop::ProcessMessages() {
  QCoreApplication::processEvents();
  Application().HandlePostedMessages();
}

void TQtEventLoop::RunModal(TCustomForm& form) {
  while (form.ModalResult() == mrNone && !Application().Terminated()) WaitForEvents();
}

}  // namespace vk
