#pragma once
// What the Qt tests share: a probe control that logs its messages and paints
// a known picture, ways to show a host and read its pixels, a control's
// widget, and the end of a case that showed forms.

#include <gtest/gtest.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QEventLoop>
#include <QtCore/QTimer>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QScreen>
#include <QtGui/QWindow>
#include <QtTest/QTest>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/qt/QtControlHost.h"
#include "platform/qt/QtPeer.h"

namespace vk::test {

struct TLoggedMessage {
  uint32_t Msg;
  uintptr_t WParam;
  intptr_t LParam;
};

// A window that logs the messages it gets and paints its client area in
// Background, with Text at (TextX, TextY) in its font.
class TProbe : public TCustomControl {
public:
  explicit TProbe(TComponent* owner = nullptr) : TCustomControl(owner) { SetBounds(0, 0, 200, 100); }

  std::vector<TLoggedMessage> Log;
  std::vector<TRect> Painted;
  std::vector<TRect> PaintedRegion;  // of the last paint
  TColor Background = clWhite;
  std::string Text;
  int TextX = 4;
  int TextY = 4;
  uint32_t ExtraStyle = 0;
  uint32_t ExtraExStyle = 0;
  uint32_t RemovedClassStyle = 0;
  bool ThrowWhilePainting = false;

  // The logged messages of one kind.
  std::vector<TLoggedMessage> Messages(uint32_t msg) const {
    std::vector<TLoggedMessage> found;
    for (const TLoggedMessage& m : Log)
      if (m.Msg == msg) found.push_back(m);
    return found;
  }
  // The characters that arrived as WM_CHAR, in order.
  std::string Chars() const {
    std::string chars;
    for (const TLoggedMessage& m : Messages(WM_CHAR)) chars += static_cast<char>(m.WParam);
    return chars;
  }

  void WndProc(TMessage& message) override {
    if (message.Msg != WM_PAINT && message.Msg != WM_ERASEBKGND && message.Msg != WM_GETTEXTLENGTH &&
        message.Msg != WM_GETTEXT)
      Log.push_back({message.Msg, message.WParam, message.LParam});
    TCustomControl::WndProc(message);
  }

protected:
  void CreateParams(TCreateParams& params) override {
    TCustomControl::CreateParams(params);
    params.Style |= ExtraStyle;
    params.ExStyle |= ExtraExStyle;
    params.WindowClass.style &= ~RemovedClassStyle;
  }
  void Paint() override {
    Painted.push_back(Canvas().ClipRect());
    PaintedRegion = PaintRects();
    if (ThrowWhilePainting) throw Exception("paint failed");
    Canvas().Brush().SetColor(Background);
    Canvas().FillRect(ClientRect());
    if (!Text.empty()) {
      Canvas().Font().Assign(Font());
      Canvas().Brush().SetStyle(bsClear);
      Canvas().TextOut(TextX, TextY, Text);
    }
  }
};

// Shows a host as a window of its own and waits until it is on the screen
// and active.
inline void ShowAndActivate(TQtControlHost& host) {
  host.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
  host.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
}

// What the screen shows of a window (the pixels Qt flushed), after the
// pending paints are done.
inline QImage ScreenImage(QWidget& window) {
  QCoreApplication::processEvents();
  return QGuiApplication::primaryScreen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

inline QRgb Rgb(TColor color) {
  TColorRef c = ColorToRGB(color);
  return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

// Pixels within r (widget coordinates) that differ from the colour.
inline int CountOther(const QImage& image, const QRect& r, QRgb color) {
  int count = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (image.pixel(x, y) != color) ++count;
  return count;
}

// The widget of the control's peer as the class asked for; nullptr when the
// control has no peer or its widget is of another class.
template <class Widget>
Widget* WidgetOf(const TControl* control) {
  return control->Peer() ? qobject_cast<Widget*>(QtPeerOf(control)->Widget()) : nullptr;
}

// Runs Qt's loop for the time: unlike QTest::qWait, it sleeps whenever
// nothing is to be done, so the application's idle work runs as it does in
// the program.
inline void RunLoopFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// Types the key as the window system delivers it: on a later turn of the
// loop, to the window that has the focus then.
inline void TypeLater(char key) {
  QMetaObject::invokeMethod(qApp, [key] {
    if (QWindow* window = QGuiApplication::focusWindow()) QTest::keyClick(window, key);
  }, Qt::QueuedConnection);
}

// Ends a case that showed forms: frees them, drops the answers no message
// box took, and lets Qt delete the widgets they leave.
inline void CloseForms() {
  Application().Reset();
  MessageBoxAnswers().Clear();
  QCoreApplication::processEvents();
}

// Saves an image under the build tree's screenshot folder; the path.
std::string SaveScreenshot(const QImage& image, const std::string& name);

// The face that tests looking at glyphs draw with: a monospaced font the
// set-up installs, loaded by file into the application's fonts by the tests'
// main, so that no other font on the machine changes a picture.
inline constexpr char TestFace[] = "DejaVu Sans Mono";

}  // namespace vk::test
