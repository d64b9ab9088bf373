#pragma once
// Chains of keyboard and mouse handlers that other objects (plugins,
// completion popups) hook into an editor; the editor runs the matching chain
// before its own input handling.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "SrcEdit/Source/SrcEditTypes.h"
#include "platform/Events.h"
#include "platform/Keyboard.h"
#include "platform/Mouse.h"
#include "platform/StringLists.h"  // EListError
#include "platform/SysUtils.h"

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
  void Add(const Event& handler) { FItems.push_back({handler, ++FLastId}); }
  // Removes the most recently added copy of the handler; nothing when absent.
  void Remove(const Event& handler) {
    for (size_t i = FItems.size(); i-- > 0;)
      if (FItems[i].Handler == handler) {
        FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(i));
        return;
      }
  }
  int Count() const { return static_cast<int>(FItems.size()); }
  // The handler at index (0 = first added); raises EListError
  // "List index out of bounds (%d)" outside 0..Count-1.
  const Event& Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
    return FItems[static_cast<size_t>(index)].Handler;
  }

  // Calls every handler with the arguments (shared, so a handler sees what
  // earlier ones changed) until stop() answers true after a call.
  template <class Stop, class... Args>
  void Run(Stop stop, Args&&... args) {
    if (FRunning || FItems.empty()) return;
    TRunning running(FRunning);
    const std::vector<TEntry> snapshot = FItems;
    for (size_t i = snapshot.size(); i-- > 0;) {
      if (!Contains(snapshot[i].Id)) continue;
      snapshot[i].Handler(args...);
      if (stop()) return;
    }
  }

private:
  struct TEntry {
    Event Handler;
    uint64_t Id;  // tells two copies of one handler apart
  };
  // Sets the re-entry flag for a run and clears it however the run ends.
  class TRunning {
  public:
    explicit TRunning(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TRunning() { FFlag = false; }
    TRunning(const TRunning&) = delete;
    TRunning& operator=(const TRunning&) = delete;

  private:
    bool& FFlag;
  };

  bool Contains(uint64_t id) const {
    for (const TEntry& entry : FItems)
      if (entry.Id == id) return true;
    return false;
  }

  std::vector<TEntry> FItems;
  uint64_t FLastId = 0;
  bool FRunning = false;
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
