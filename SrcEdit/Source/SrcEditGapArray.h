#pragma once
// An array with a gap: the elements lie in one block of storage with a run
// of unused slots (the gap) where the last insert or delete happened.
// Inserting or deleting there moves no element; elsewhere the gap is moved
// there first, which moves only the elements between the two places. Edits
// that stay in one place, as lines typed or joined at the caret do, so cost
// the same near the start of a large array as at its end.

#include <algorithm>
#include <cstddef>
#include <span>
#include <utility>
#include <vector>

namespace vk {

// T must be default-constructible and movable. The slots of the gap hold
// moved-from or default elements: a deleted element is replaced by a
// default one at once, so that nothing it owned outlives it.
template <class T>
class TSrcGapArray {
public:
  TSrcGapArray() = default;
  TSrcGapArray(const TSrcGapArray&) = default;
  TSrcGapArray& operator=(const TSrcGapArray&) = default;
  // Moved, the storage goes along and leaves the array empty.
  TSrcGapArray(TSrcGapArray&& other) noexcept { *this = std::move(other); }
  TSrcGapArray& operator=(TSrcGapArray&& other) noexcept {
    FItems = std::exchange(other.FItems, {});
    FGapStart = std::exchange(other.FGapStart, 0);
    FGapEnd = std::exchange(other.FGapEnd, 0);
    return *this;
  }

  size_t Count() const { return FItems.size() - GapLength(); }
  bool Empty() const { return Count() == 0; }
  size_t Capacity() const { return FItems.size(); }
  // Makes room for count elements in all; never shrinks.
  void Reserve(size_t count) {
    if (count > Capacity()) Grow(count);
  }

  T& operator[](size_t index) { return FItems[Slot(index)]; }
  const T& operator[](size_t index) const { return FItems[Slot(index)]; }

  // The elements from index up to the gap or the end, whichever comes
  // first: they lie one after the other, so a walk over many of them needs
  // no index per element. Empty at the end.
  std::span<T> RunFrom(size_t index) {
    const size_t slot = Slot(index);
    return {FItems.data() + slot, (index < FGapStart ? FGapStart : FItems.size()) - slot};
  }

  // The index at which inserting or deleting moves nothing.
  size_t GapIndex() const { return FGapStart; }
  void MoveGap(size_t index) {
    // Without a gap no element moves (one moved onto itself may be lost).
    if (GapLength() > 0 && index < FGapStart)
      std::move_backward(At(index), At(FGapStart), At(FGapEnd));
    else if (GapLength() > 0 && index > FGapStart)
      std::move(At(FGapEnd), At(FGapEnd + index - FGapStart), At(FGapStart));
    FGapEnd = index + GapLength();
    FGapStart = index;
  }
  // The same, passing each element that changes sides of the gap through
  // cross (T(T), taking the element's value).
  template <class Cross>
  void MoveGap(size_t index, Cross cross) {
    const size_t gap = GapLength();
    if (index < FGapStart)
      for (size_t i = FGapStart; i-- > index;) FItems[i + gap] = cross(std::move(FItems[i]));
    else
      for (size_t i = FGapStart; i < index; ++i) FItems[i] = cross(std::move(FItems[i + gap]));
    FGapEnd = index + gap;
    FGapStart = index;
  }

  // count copies of value at index.
  void Insert(size_t index, size_t count, const T& value) {
    OpenGap(index, count);
    std::fill(At(FGapStart), At(FGapStart + count), value);
    FGapStart += count;
  }
  void Insert(size_t index, T value) {
    OpenGap(index, 1);
    FItems[FGapStart++] = std::move(value);
  }
  void InsertRun(size_t index, std::span<const T> run) {
    OpenGap(index, run.size());
    std::copy(run.begin(), run.end(), At(FGapStart));
    FGapStart += run.size();
  }
  // count elements at index, element i made by make(i) in its place.
  template <class Make>
  void InsertEach(size_t index, size_t count, Make make) {
    OpenGap(index, count);
    for (size_t i = 0; i < count; ++i) FItems[FGapStart++] = make(i);
  }
  void Add(T value) { Insert(Count(), std::move(value)); }

  // The gap goes to the nearer end of the deleted run: only the elements
  // between it and that end move (none when it ends where the gap is, as
  // after lines inserted there).
  void Delete(size_t index, size_t count) {
    if (count == 0) return;
    auto distance = [this](size_t at) { return at < FGapStart ? FGapStart - at : at - FGapStart; };
    if (distance(index + count) < distance(index)) {
      MoveGap(index + count);
      FGapStart = index;
      std::fill(At(FGapStart), At(FGapStart + count), T());
      return;
    }
    MoveGap(index);
    std::fill(At(FGapEnd), At(FGapEnd + count), T());
    FGapEnd += count;
  }
  // Empties the array, keeping its storage for the elements to come.
  void ClearKeepingStorage() {
    std::fill(FItems.begin(), FItems.end(), T());
    FGapStart = 0;
    FGapEnd = FItems.size();
  }
  // Frees the storage.
  void Clear() {
    FItems = {};
    FGapStart = FGapEnd = 0;
  }

private:
  size_t GapLength() const { return FGapEnd - FGapStart; }
  size_t Slot(size_t index) const { return index < FGapStart ? index : index + GapLength(); }
  auto At(size_t slot) { return FItems.begin() + static_cast<std::ptrdiff_t>(slot); }

  // Moves the gap to index and makes it at least count slots long. The
  // storage grows by half at least, so that a run of inserts copies the
  // elements only now and then.
  void OpenGap(size_t index, size_t count) {
    if (GapLength() < count) Grow(std::max({Count() + count, Capacity() + Capacity() / 2, size_t{16}}));
    MoveGap(index);
  }

  // New storage of capacity slots, the gap where it was.
  void Grow(size_t capacity) {
    std::vector<T> items(capacity);
    const size_t after = Capacity() - FGapEnd;
    std::move(At(0), At(FGapStart), items.begin());
    std::move(At(FGapEnd), FItems.end(), items.end() - static_cast<std::ptrdiff_t>(after));
    FItems = std::move(items);
    FGapEnd = capacity - after;
  }

  std::vector<T> FItems;
  size_t FGapStart = 0;
  size_t FGapEnd = 0;
};

}  // namespace vk
