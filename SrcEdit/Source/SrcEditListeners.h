#pragma once
// A list of listeners that an object tells about its changes, beside its
// own single event: editors that show another editor's lines hear that
// editor's line store and undo lists through it.

#include <cstddef>
#include <vector>

namespace vk {

// Listeners are kept in the order they were added and found by identity
// (operator==), so each one can leave at any time, whatever the order of
// adding and leaving.
//
// A notification calls the listeners that were in the list when it started:
// a listener removed meanwhile (by another listener) is not called any more,
// because its object may be gone; one added meanwhile hears the next change.
template <class T>
class TSrcListenerList {
public:
  // A listener already in the list is not added twice.
  void Add(const T& listener) {
    if (!Contains(listener)) FEntries.push_back({listener, false});
  }
  // Nothing when the listener is not in the list.
  void Remove(const T& listener) {
    for (size_t i = 0; i < FEntries.size(); ++i) {
      if (FEntries[i].Removed || !(FEntries[i].Listener == listener)) continue;
      if (FNotifying > 0) {
        FEntries[i].Removed = true;  // the running notification steps over it
        FHasRemoved = true;
      } else {
        FEntries.erase(FEntries.begin() + static_cast<std::ptrdiff_t>(i));
      }
      return;
    }
  }
  void Clear() {
    for (auto& entry : FEntries) entry.Removed = true;
    FHasRemoved = true;
    Compact();
  }
  bool Contains(const T& listener) const {
    for (const auto& entry : FEntries)
      if (!entry.Removed && entry.Listener == listener) return true;
    return false;
  }
  int Count() const {
    int count = 0;
    for (const auto& entry : FEntries) count += entry.Removed ? 0 : 1;
    return count;
  }

  // Calls call(listener) for every listener in the order they were added.
  template <class Call>
  void Notify(Call call) {
    TNotifying notifying(*this);
    const size_t count = FEntries.size();
    for (size_t i = 0; i < count; ++i) {
      // Copied out: the call may add listeners and so move the entries.
      if (FEntries[i].Removed) continue;
      T listener = FEntries[i].Listener;
      call(listener);
    }
  }

private:
  struct TEntry {
    T Listener;
    bool Removed;
  };

  // Drops the entries removed during notifications once the last one ends,
  // also when a listener raises.
  class TNotifying {
  public:
    explicit TNotifying(TSrcListenerList& list) : FList(list) { ++FList.FNotifying; }
    ~TNotifying() {
      if (--FList.FNotifying == 0) FList.Compact();
    }
    TNotifying(const TNotifying&) = delete;
    TNotifying& operator=(const TNotifying&) = delete;

  private:
    TSrcListenerList& FList;
  };

  void Compact() {
    if (FNotifying > 0 || !FHasRemoved) return;
    std::erase_if(FEntries, [](const TEntry& entry) { return entry.Removed; });
    FHasRemoved = false;
  }

  std::vector<TEntry> FEntries;
  int FNotifying = 0;
  bool FHasRemoved = false;
};

}  // namespace vk
