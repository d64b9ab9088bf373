#pragma once
// The lines an edit changed or gave another neighbour, kept in step with
// the lines inserted and deleted since. They are held as a few disjoint
// spans, so that a block of many lines inserted at once can count as its
// two edges alone, and so that noting a change takes a small constant time
// however many changes an edit makes: where one span too many would be
// held, lines noted go to the nearer span around them, and a span that new
// lines split in two makes the nearest two spans one.

#include <array>
#include <cstddef>
#include <span>

namespace vk {

// Lines First..Last (0-based, both included).
struct TSrcLineSpan {
  int First = 0;
  int Last = -1;
  friend bool operator==(const TSrcLineSpan&, const TSrcLineSpan&) = default;
};

class TSrcEditedLines {
public:
  static constexpr size_t MaxSpans = 4;

  // Notes lines first..last (first <= last).
  void Note(int first, int last) {
    if (FCount == MaxSpans) {
      // No span more: lines beyond the last span or before the first go to
      // it (a replace-all notes each line below the last, its undo each
      // line above the first).
      if (FSpans[MaxSpans - 1].Last + 1 < first) {
        FSpans[MaxSpans - 1].Last = last;
        return;
      }
      if (last + 1 < FSpans[0].First) {
        FSpans[0].First = first;
        return;
      }
    }
    NoteAmongSpans(first, last);
  }
  // count lines inserted in front of line index (the lines noted from
  // there move down past them, a span across index goes on after them), or
  // -count deleted from there (the lines noted among them become the line
  // that follows them).
  void Shift(int index, int count) {
    if (FCount > 0) ShiftSpans(index, count);
  }
  void Clear() { FCount = 0; }
  // Ordered, disjoint and not adjacent.
  std::span<const TSrcLineSpan> Spans() const { return {FSpans.data(), FCount}; }

private:
  // Lines that do not lie beyond the last span or before the first when
  // every span is held.
  void NoteAmongSpans(int first, int last);
  void ShiftSpans(int index, int count);
  // At most one span more than kept, which the next MergeSpans merges.
  void InsertAt(size_t at, const TSrcLineSpan& span);
  // Merges the spans that overlap or touch their next one, then the
  // nearest two when one too many are left.
  void MergeSpans();

  // One more than kept: a span split in two before spans merge.
  std::array<TSrcLineSpan, MaxSpans + 1> FSpans{};
  size_t FCount = 0;
};

}  // namespace vk
