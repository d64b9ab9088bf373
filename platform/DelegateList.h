#pragma once
// A list of handlers (method delegates, listener pointers) that stays sound
// while it is being run: a handler may add or remove handlers, itself
// included, and may run the list again from inside.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <type_traits>
#include <vector>

#include "platform/StringLists.h"  // EListError
#include "platform/SysUtils.h"

namespace vk {

// Whether a list takes a second entry of a handler it already holds.
enum TDelegateDuplicates : uint8_t { ddAccept, ddIgnore };
// Which entries of a handler Remove takes.
enum TDelegateRemoval : uint8_t { drFirst, drLast, drAll };
// The direction of an iteration; doForwardWithAdded also reaches the entries
// added while it runs, the other two leave them for the next iteration.
enum TDelegateOrder : uint8_t { doForward, doBackward, doForwardWithAdded };

// Handlers are kept in the order they were added and found by identity
// (operator==).
//
// An iteration visits the entries that were in the list when it started; an
// entry removed meanwhile is skipped, because its object may be gone. While
// any iteration runs, removed entries are only marked, so no entry moves
// under a running iteration; the outermost iteration drops them when it
// ends, also when a handler raises.
template <class T>
class TDelegateList {
  // The marked entries are dropped in a destructor.
  static_assert(std::is_nothrow_move_assignable_v<T>);

public:
  explicit TDelegateList(TDelegateDuplicates duplicates = ddAccept) : FDuplicates(duplicates) {}
  // A list belongs to the object whose handlers it holds.
  TDelegateList(const TDelegateList&) = delete;
  TDelegateList& operator=(const TDelegateList&) = delete;

  // Appends the handler; with ddIgnore nothing when it is already there.
  void Add(const T& handler) {
    if (FDuplicates == ddIgnore && Contains(handler)) return;
    FEntries.push_back({handler, false});
    ++FCount;
  }
  // Nothing when the handler is not in the list.
  void Remove(const T& handler, TDelegateRemoval which) {
    const size_t size = FEntries.size();
    for (size_t n = 0; n < size; ++n) {
      TEntry& entry = FEntries[which == drLast ? size - 1 - n : n];
      if (entry.Removed || !(entry.Handler == handler)) continue;
      entry.Removed = true;
      --FCount;
      if (which != drAll) break;
    }
    Compact();
  }
  void Clear() {
    for (TEntry& entry : FEntries) entry.Removed = true;
    FCount = 0;
    Compact();
  }

  bool Contains(const T& handler) const {
    for (const TEntry& entry : FEntries)
      if (!entry.Removed && entry.Handler == handler) return true;
    return false;
  }
  int Count() const { return static_cast<int>(FCount); }
  // The handler at index (0 = first added); raises EListError
  // "List index out of bounds (%d)" outside 0..Count-1.
  const T& Items(int index) const {
    CheckListIndex(index, Count());
    size_t i = static_cast<size_t>(index);
    if (FCount != FEntries.size())  // marked entries wait for an iteration to end
      for (i = 0; FEntries[i].Removed || index-- > 0; ++i) {
      }
    return FEntries[i].Handler;
  }
  // Whether an iteration is running (lets an owner refuse re-entry).
  bool Iterating() const { return FIterations > 0; }

  // One pass over the list, for as long as the object lives.
  class TIteration {
  public:
    TIteration(TDelegateList& list, TDelegateOrder order)
        : FList(list), FOrder(order), FNext(order == doBackward ? list.FEntries.size() : 0),
          FEnd(list.FEntries.size()) {
      ++FList.FIterations;
    }
    ~TIteration() {
      if (--FList.FIterations == 0) FList.Compact();
    }
    TIteration(const TIteration&) = delete;
    TIteration& operator=(const TIteration&) = delete;

    // The next handler still in the list, empty at the end. A copy: calling
    // it may add handlers and so move the entries.
    std::optional<T> Next() {
      const std::vector<TEntry>& entries = FList.FEntries;
      if (FOrder == doBackward) {
        while (FNext > 0)
          if (!entries[--FNext].Removed) return entries[FNext].Handler;
        return std::nullopt;
      }
      const size_t end = FOrder == doForwardWithAdded ? entries.size() : FEnd;
      for (; FNext < end; ++FNext)
        if (!entries[FNext].Removed) return entries[FNext++].Handler;
      return std::nullopt;
    }

  private:
    TDelegateList& FList;
    TDelegateOrder FOrder;
    size_t FNext;  // forward: the next entry; backward: one past it
    size_t FEnd;
  };

  // Calls call(handler) for every handler, first added first.
  template <class Call>
  void ForEach(Call call) {
    TIteration iteration(*this, doForward);
    while (std::optional<T> handler = iteration.Next()) call(*handler);
  }

private:
  struct TEntry {
    T Handler;
    bool Removed;
  };

  void Compact() {
    if (FIterations > 0 || FCount == FEntries.size()) return;
    std::erase_if(FEntries, [](const TEntry& entry) { return entry.Removed; });
  }

  std::vector<TEntry> FEntries;
  size_t FCount = 0;  // entries not marked as removed
  int FIterations = 0;
  TDelegateDuplicates FDuplicates;
};

}  // namespace vk
