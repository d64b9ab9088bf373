#pragma once
// The user's input held while a command runs on the GUI thread (a build,
// during which the process pump keeps the windows painting): while a
// TInputHold lives, no key, click or close reaches the program's windows,
// so nothing typed meanwhile starts a command or answers a box that comes
// up later. The backend keeps keys and typed text and hands them over, in
// the order typed, when the hold ends; mouse input reaches only the live
// controls (an output the user scrolls and reads); Escape and a window's
// close box become a stop request to the hold's owner (OnStopRequest), which
// may ask with a box: a modal box takes the input as usual. Headless nothing
// is held, and a test raises the stop request itself.

#include <memory>
#include <vector>

#include "platform/Events.h"

namespace vk {

class TControl;
class TInputHold;
class TTimer;
class TTypingHold;

using TStopRequestEvent = TDelegate<void()>;

// What a backend keeps while one hold lives; destroying it hands the kept
// input over.
class THeldInput {
public:
  virtual ~THeldInput() = default;
};

class TInputHoldBackend {
public:
  virtual ~TInputHoldBackend() = default;
  virtual std::unique_ptr<THeldInput> Hold(TInputHold& hold) = 0;
  virtual std::unique_ptr<THeldInput> HoldTyping(TTypingHold& hold) = 0;
};

// Registers the backend's holds (nullptr: none).
void SetInputHoldBackend(TInputHoldBackend* backend);

class TInputHold {
public:
  // Holds the input from now on; the live controls keep taking the mouse.
  explicit TInputHold(std::vector<TControl*> liveControls);
  // Hands the kept input over.
  ~TInputHold();
  TInputHold(const TInputHold&) = delete;
  TInputHold& operator=(const TInputHold&) = delete;

  // The newest hold that lives, or nullptr.
  static TInputHold* Current();

  const std::vector<TControl*>& LiveControls() const { return FLiveControls; }

  // The user asked to stop the command.
  TStopRequestEvent OnStopRequest;
  void RequestStop();

private:
  std::vector<TControl*> FLiveControls;
  TInputHold* FPrevious;
  std::unique_ptr<THeldInput> FHeld;
};

// How long the user's typing pauses before a box that came up on its own
// takes a key.
constexpr int TypingPauseMs = 500;

// A box that comes up without the user asking for it (a file changed on
// disk, a build's result) takes no key typed for the editor: while a
// TTypingHold lives, a key typed within TypingPauseMs of the hold's start or
// of the key before waits, and once the hold ends the waiting keys reach the
// window that had the focus as it began (or the window they were typed in),
// in order, before anything typed later. After such a pause, or a click on
// the box, the box takes keys. The pause is measured on the application's
// timer clock. Headless nothing is held.
class TTypingHold {
public:
  TTypingHold();
  ~TTypingHold();
  TTypingHold(const TTypingHold&) = delete;
  TTypingHold& operator=(const TTypingHold&) = delete;

  // The newest hold that lives, or nullptr.
  static TTypingHold* Current();

  // Whether the box takes keys now.
  bool Open() const { return FOpen; }
  // A key was held, or the program was too busy to see the keys typed (it
  // asked a tool): the pause counts afresh, unless the box takes keys
  // already.
  void Restart();
  // The user clicked the box: it takes keys from now on.
  void OpenNow() { FOpen = true; }

private:
  void PauseEnded(TObject*);

  std::unique_ptr<TTimer> FPause;
  bool FOpen = false;
  TTypingHold* FPrevious;
  std::unique_ptr<THeldInput> FHeld;
};

}  // namespace vk
