#pragma once
// The application's loops on Qt's event loop: Run and ShowModal handle Qt
// events until the application ends or the form has its modal result;
// posted messages are dispatched from the event loop; and whenever the loop
// is about to sleep, the application does its idle work (the actions'
// updates).

#include <QtCore/QMetaObject>

#include "platform/Forms.h"

namespace vk {

class TQtEventLoop : public TEventLoop {
public:
  // Needs the application's event dispatcher (a QCoreApplication). Installs
  // itself as the application's event loop.
  TQtEventLoop();
  ~TQtEventLoop() override;
  TQtEventLoop(const TQtEventLoop&) = delete;
  TQtEventLoop& operator=(const TQtEventLoop&) = delete;

  void Run() override;
  void ProcessMessages() override;
  void RunModal(TCustomForm& form) override;

private:
  QMetaObject::Connection FAboutToBlock;
};

}  // namespace vk
