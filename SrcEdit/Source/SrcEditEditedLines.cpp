#include "SrcEdit/Source/SrcEditEditedLines.h"

#include <algorithm>

namespace vk {

void TSrcEditedLines::NoteAmongSpans(int first, int last) {
  size_t at = 0;
  while (at < FCount && FSpans[at].Last + 1 < first) ++at;
  if (at < FCount && FSpans[at].First <= last + 1) {
    // The lines meet a span: it takes them, and the spans they reach.
    FSpans[at].First = std::min(FSpans[at].First, first);
    if (last > FSpans[at].Last) {
      FSpans[at].Last = last;
      MergeSpans();
    }
  } else if (FCount < MaxSpans) {
    InsertAt(at, {first, last});
  } else if (first - FSpans[at - 1].Last <= FSpans[at].First - last) {
    // Between two spans and no span more: the nearer one takes them.
    FSpans[at - 1].Last = last;
  } else {
    FSpans[at].First = first;
  }
}

void TSrcEditedLines::ShiftSpans(int index, int count) {
  for (size_t i = 0; i < FCount; ++i) {
    TSrcLineSpan& span = FSpans[i];
    if (count < 0) {
      const int end = index - count;
      for (int* line : {&span.First, &span.Last}) {
        if (*line >= end) *line += count;
        else if (*line >= index) *line = index;
      }
    } else if (span.First >= index) {
      span.First += count;
      span.Last += count;
    } else if (span.Last >= index) {
      // The new lines are no part of it: its lines below them go on after
      // them.
      const TSrcLineSpan below{index + count, span.Last + count};
      span.Last = index - 1;
      InsertAt(++i, below);
    }
  }
  MergeSpans();
}

void TSrcEditedLines::InsertAt(size_t at, const TSrcLineSpan& span) {
  std::copy_backward(FSpans.begin() + at, FSpans.begin() + FCount, FSpans.begin() + FCount + 1);
  FSpans[at] = span;
  ++FCount;
}

void TSrcEditedLines::MergeSpans() {
  if (FCount == 0) return;
  size_t kept = 0;
  for (size_t i = 1; i < FCount; ++i) {
    if (FSpans[i].First <= FSpans[kept].Last + 1)
      FSpans[kept].Last = std::max(FSpans[kept].Last, FSpans[i].Last);
    else
      FSpans[++kept] = FSpans[i];
  }
  FCount = kept + 1;
  if (FCount <= MaxSpans) return;
  // The two with the fewest lines between them.
  size_t nearest = 0;
  for (size_t i = 1; i + 1 < FCount; ++i)
    if (FSpans[i + 1].First - FSpans[i].Last < FSpans[nearest + 1].First - FSpans[nearest].Last) nearest = i;
  FSpans[nearest].Last = FSpans[nearest + 1].Last;
  std::copy(FSpans.begin() + nearest + 2, FSpans.begin() + FCount, FSpans.begin() + nearest + 1);
  --FCount;
}

}  // namespace vk
