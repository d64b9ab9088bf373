#pragma once
// Chains of keyboard and mouse handlers that other objects (plugins,
// completion popups) hook into an editor; the editor runs the matching chain
// before its own input handling.

#include <cstdint>
#include <optional>
#include <string>

#include "SrcEdit/Source/SrcEditTypes.h"
#include "platform/DelegateList.h"
#include "platform/Events.h"
#include "platform/Keyboard.h"
#include "platform/Mouse.h"

namespace vk {

using TMouseCursorEvent = TDelegate<void(TObject* Sender, const TBufferCoord& aLineCharPos, TCursor& aCursor)>;

// A list of event handlers, run from the last added to the first.
//
// A run calls the handlers that were in the list when it started; a handler
// removed meanwhile (by another handler) is skipped, because its object may
// be gone, and one added meanwhile waits for the next run. A handler that
// makes the same chain run again from inside is not re-entered.
template <class Event>
class TMethodList {
public:
  // The same handler may be added more than once.
  void Add(const Event& handler) { FHandlers.Add(handler); }
  // Removes the most recently added copy of the handler; nothing when absent.
  void Remove(const Event& handler) { FHandlers.Remove(handler, drLast); }
  int Count() const { return FHandlers.Count(); }
  // The handler at index (0 = first added); raises EListError
  // "List index out of bounds (%d)" outside 0..Count-1.
  const Event& Items(int index) const { return FHandlers.Items(index); }

  // Calls every handler with the arguments (shared, so a handler sees what
  // earlier ones changed) until stop() answers true after a call.
  template <class Stop, class... Args>
  void Run(Stop stop, Args&&... args) {
    if (FHandlers.Iterating()) return;
    typename TDelegateList<Event>::TIteration run(FHandlers, doBackward);
    while (std::optional<Event> handler = run.Next()) {
      (*handler)(args...);
      if (stop()) return;
    }
  }

private:
  TDelegateList<Event> FHandlers;
};

// The six input chains of one editor.
class TSrcEditKbdHandler : public TObject {
public:
  std::string ClassName() const override { return "TSrcEditKbdHandler"; }

  void AddKeyDownHandler(const TKeyEvent& handler) { FKeyDownChain.Add(handler); }
  void RemoveKeyDownHandler(const TKeyEvent& handler) { FKeyDownChain.Remove(handler); }
  void AddKeyUpHandler(const TKeyEvent& handler) { FKeyUpChain.Add(handler); }
  void RemoveKeyUpHandler(const TKeyEvent& handler) { FKeyUpChain.Remove(handler); }
  void AddKeyPressHandler(const TKeyPressEvent& handler) { FKeyPressChain.Add(handler); }
  void RemoveKeyPressHandler(const TKeyPressEvent& handler) { FKeyPressChain.Remove(handler); }
  void AddMouseDownHandler(const TMouseEvent& handler) { FMouseDownChain.Add(handler); }
  void RemoveMouseDownHandler(const TMouseEvent& handler) { FMouseDownChain.Remove(handler); }
  void AddMouseUpHandler(const TMouseEvent& handler) { FMouseUpChain.Add(handler); }
  void RemoveMouseUpHandler(const TMouseEvent& handler) { FMouseUpChain.Remove(handler); }
  void AddMouseCursorHandler(const TMouseCursorEvent& handler) { FMouseCursorChain.Add(handler); }
  void RemoveMouseCursorHandler(const TMouseCursorEvent& handler) { FMouseCursorChain.Remove(handler); }

  // The key chains stop once a handler has set the key to 0 (NUL for key
  // press): the key is taken. The mouse chains call every handler.
  void ExecuteKeyDown(TObject* sender, uint16_t& key, TShiftState shift);
  void ExecuteKeyUp(TObject* sender, uint16_t& key, TShiftState shift);
  void ExecuteKeyPress(TObject* sender, char& key);
  void ExecuteMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void ExecuteMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void ExecuteMouseCursor(TObject* sender, const TBufferCoord& aLineCharPos, TCursor& aCursor);

private:
  TMethodList<TKeyEvent> FKeyDownChain;
  TMethodList<TKeyEvent> FKeyUpChain;
  TMethodList<TKeyPressEvent> FKeyPressChain;
  TMethodList<TMouseEvent> FMouseDownChain;
  TMethodList<TMouseEvent> FMouseUpChain;
  TMethodList<TMouseCursorEvent> FMouseCursorChain;
};

}  // namespace vk
