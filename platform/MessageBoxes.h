#pragma once
// The message-box service: a box with a text, a caption, a set of buttons
// and an icon, answered by the button the user pressed. Headless it is a
// scripted double: each box is recorded and answered from the queue, and a
// box nobody scripted raises EUnscriptedRequest with its text, so no test
// can hang on one or pass by accident. A backend installs its own service.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ScriptedAnswers.h"

namespace vk {

// Buttons (the low four bits of the flags).
constexpr uint32_t MB_OK = 0x0;
constexpr uint32_t MB_OKCANCEL = 0x1;
constexpr uint32_t MB_YESNOCANCEL = 0x3;
constexpr uint32_t MB_YESNO = 0x4;
// Icons (bits 4 to 7).
constexpr uint32_t MB_ICONERROR = 0x10;
constexpr uint32_t MB_ICONSTOP = MB_ICONERROR;
constexpr uint32_t MB_ICONQUESTION = 0x20;
constexpr uint32_t MB_ICONWARNING = 0x30;
constexpr uint32_t MB_ICONINFORMATION = 0x40;
// The default button (bits 8 to 11): the one Return and Space press as the
// box shows; the first one unless the second is named.
constexpr uint32_t MB_DEFBUTTON2 = 0x100;
// A box that comes up without the user asking for it (a file changed on
// disk, a failure): it takes no key while the user is still typing
// (TTypingHold, platform/InputHold.h). A box the user called up with a key
// takes keys at once.
constexpr uint32_t MB_UNASKED = 0x10000000;
// Answers: the button pressed.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

struct TMessageBoxRequest {
  std::string Text;
  std::string Caption;
  uint32_t Flags = MB_OK;

  uint32_t Buttons() const { return Flags & 0x0F; }
  uint32_t Icon() const { return Flags & 0xF0; }
  // The answers of the box's buttons, in their order.
  std::vector<int> Answers() const;
  // The answer of the default button.
  int DefaultAnswer() const;
  // Whether the box has a button that gives the answer.
  bool HasAnswer(int answer) const;
  friend bool operator==(const TMessageBoxRequest&, const TMessageBoxRequest&) = default;
};

class TMessageBoxService {
public:
  virtual ~TMessageBoxService() = default;
  // Shows the box until the user presses a button; answers it.
  virtual int Show(const TMessageBoxRequest& request) = 0;
};

// Shows a box through the service in use and answers the button pressed.
// Input given before the box showed was meant for the window in front
// then: a backend keeps the keys still waiting in its queue from the box
// and hands them to their windows once it has gone. One box at a time:
// the posted messages wait while a box is up, so that a question they
// would ask comes after it.
int MessageBox(const std::string& text, const std::string& caption, uint32_t flags);
// A box with the text, the application's title and an OK button.
void ShowMessage(const std::string& text);

// The headless double's script: a test queues the answers and reads the
// recorded boxes. An answer that is no button of its box raises
// EInvalidOperation.
TScriptedAnswers<TMessageBoxRequest, int>& MessageBoxAnswers();

// Installs a backend's service (nullptr: the scripted double); answers the
// one it replaces.
std::unique_ptr<TMessageBoxService> SetMessageBoxService(std::unique_ptr<TMessageBoxService> service);

}  // namespace vk
