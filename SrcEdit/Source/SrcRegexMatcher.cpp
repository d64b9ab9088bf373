// The search loop and the backtracking matcher.
//
// The matcher walks the node chain from the first node to END. Every choice
// (an alternative, a repetition count, another loop pass) pushes an entry
// on an explicit stack, and every change of state (a group boundary, a loop
// counter or level, a loop's pass marker) pushes the old value. A failing
// test pops entries, undoing changes, until a choice can be resumed; so each
// attempt sees exactly the state it started from.

#include <algorithm>
#include <cstring>

#include "SrcEdit/Source/SrcRegexProgram.h"

namespace vk {

using namespace regex_program;

namespace {

constexpr int kEndSlots = kMaxGroups;  // slot index of group n's end is kEndSlots + n

bool IsDigitByte(uint8_t c) { return c >= '0' && c <= '9'; }
bool IsLazyRepeat(uint8_t op) { return op == opStarNG || op == opPlusNG || op == opBracesNG; }

}  // namespace

static_assert(sizeof(TRegexMatcher::TEntry) == 24);

// Called for every choice and change of state: keep it small enough to inline.
inline void TRegexMatcher::Push(const TEntry& entry) {
  if (FStack.size() >= TRegex::MaxBacktrackEntries) [[unlikely]]
    FOwner.RaiseError(reBacktrackStackExceeded);
  FStack.push_back(entry);
}

// ---- Search ----------------------------------------------------------------------

bool TRegexMatcher::Search(const TRegexProgram& program, const char* start) {
  FProgram = &program;
  FBegin = FOwner.FInput.data();
  FEnd = FBegin + FOwner.FInput.size();
  FBackPos.assign(program.BackLoops.size(), nullptr);
  FSearchStart = start;
  FSteps = 0;

  if (const char* mustHave = program.MustHave(); mustHave && !Contains(start, mustHave, program.MustHaveLength))
    return false;
  if (program.Anchored) return TryAt(start);
  if (program.StartChar != 0) {
    for (const char* p = start; (p = static_cast<const char*>(std::memchr(p, program.StartChar, FEnd - p)));
         ++p)
      if (TryAt(p)) return true;
    return false;
  }
  // The terminating NUL is tried too, so an empty match at the end is found.
  for (const char* p = start;; ++p) {
    if (program.FirstCharSet.Contains(static_cast<uint8_t>(*p)) && TryAt(p)) return true;
    if (p == FEnd) return false;
  }
}

bool TRegexMatcher::Contains(const char* from, const char* text, size_t length) const {
  for (const char* p = from; (p = static_cast<const char*>(std::memchr(p, text[0], FEnd - p))); ++p)
    if (static_cast<size_t>(FEnd - p) >= length && std::memcmp(p, text, length) == 0) return true;
  return false;
}

bool TRegexMatcher::TryAt(const char* at) {
  FStack.clear();
  FLevel = 0;
  // The work of the whole search is bounded; each byte it has moved on adds
  // a little, so that long inputs can be searched to their end.
  FStepLimit = TRegex::MaxBacktrackSteps + TRegex::MaxBacktrackStepsPerByte * (at - FSearchStart);
  if (FOwner.FSharedStepBudget >= 0) FStepLimit = std::min(FStepLimit, FOwner.FSharedStepBudget);
  const char* pos = at;
  if (!Run(FProgram->FirstNode(), pos)) return false;
  FOwner.FStartP[0] = at;
  FOwner.FEndP[0] = pos;
  return true;
}

// ---- Matching --------------------------------------------------------------------

bool TRegexMatcher::Run(const uint8_t* node, const char*& pos) {
  for (;;) {
    if (node == nullptr) FOwner.RaiseError(reBrokenChain);
    uint8_t op = OpOf(node);
    const uint8_t* next = NextNode(node);
    const uint8_t* operand = Operand(node);
    const uint8_t c = static_cast<uint8_t>(*pos);
    bool ok = true;
    switch (op) {
      case opEnd:
        return true;
      case opBol: ok = pos == FBegin; break;
      case opEol: ok = pos == FEnd; break;
      case opBolML: ok = IsLineStart(pos); break;
      case opEolML: ok = IsLineEnd(pos); break;
      case opBound: ok = IsWordBoundary(pos); break;
      case opNotBound: ok = !IsWordBoundary(pos); break;
      case opAny: ok = ConsumeIf(pos, true); break;
      case opAnyML:
        ok = ConsumeIf(pos, !IsPairAt(pos) && !FOwner.FLineSeparatorSet.Contains(c));
        break;
      case opAnyDigit: ok = ConsumeIf(pos, IsDigitByte(c)); break;
      case opNotDigit: ok = ConsumeIf(pos, !IsDigitByte(c)); break;
      case opAnyOfTinySet:
        ok = ConsumeIf(pos, std::memchr(operand, c, kTinySetSize) != nullptr);
        break;
      case opAnyButTinySet:
        ok = ConsumeIf(pos, std::memchr(operand, c, kTinySetSize) == nullptr);
        break;
      case opAnyOfFullSet: ok = ConsumeIf(pos, (operand[c >> 3] >> (c & 7)) & 1); break;
      case opExactly:
      case opExactlyCI: ok = MatchLiteral(node, pos); break;
      case opBSubExp:
      case opBSubExpCI: ok = MatchBackReference(node, pos); break;
      case opNothing:
      case opComment: break;
      case opBranch:
        if (FProgram->LineStarOperand[static_cast<size_t>(node - FProgram->Code.data())]) {
          ok = StartRepeat(node, next, pos);
          break;
        }
        if (OpOf(next) == opBranch) Push({next, pos, 0, TEntry::kChoiceBranch, 0, 0});
        next = operand;
        break;
      case opBack:
        next = PassBack(node, pos);
        break;
      case opStar:
      case opStarNG:
      case opPlus:
      case opPlusNG:
      case opBraces:
      case opBracesNG: ok = StartRepeat(node, next, pos); break;
      case opLoopEntry: EnterLoop(pos); break;
      case opLoop:
      case opLoopNG: ok = PassLoop(node, next, pos); break;
      default:
        if (IsGroupOpen(op))
          SetSlot(op - opOpen, pos);
        else if (IsGroupClose(op))
          SetSlot(kEndSlots + op - opClose, pos);
        else
          FOwner.RaiseError(reBadOpcode);
    }
    if (ok)
      node = next;
    else if (!Backtrack(node, pos))
      return false;
  }
}

// Consumes one byte when there is one and the test holds.
bool TRegexMatcher::ConsumeIf(const char*& pos, bool test) const {
  if (pos == FEnd || !test) return false;
  ++pos;
  return true;
}

bool TRegexMatcher::SameByte(uint8_t input, uint8_t wanted, bool ignoreCase) const {
  return input == wanted || (ignoreCase && input == FOwner.FInvertTable[wanted]);
}

bool TRegexMatcher::SameText(const char* input, const char* wanted, size_t length, bool ignoreCase) const {
  if (!ignoreCase) return std::memcmp(input, wanted, length) == 0;
  for (size_t i = 0; i < length; ++i)
    if (!SameByte(static_cast<uint8_t>(input[i]), static_cast<uint8_t>(wanted[i]), true)) return false;
  return true;
}

// A literal never matches at the end, so one made of an escaped NUL (whose
// text is empty) never matches at all.
bool TRegexMatcher::MatchLiteral(const uint8_t* node, const char*& pos) const {
  const char* text = reinterpret_cast<const char*>(Operand(node));
  bool ignoreCase = OpOf(node) == opExactlyCI;
  if (pos == FEnd || !SameByte(static_cast<uint8_t>(*pos), static_cast<uint8_t>(text[0]), ignoreCase))
    return false;
  size_t length = std::strlen(text);
  if (static_cast<size_t>(FEnd - pos) < length || !SameText(pos, text, length, ignoreCase)) return false;
  pos += length;
  return true;
}

bool TRegexMatcher::MatchBackReference(const uint8_t* node, const char*& pos) const {
  int group = *Operand(node);
  if (!FOwner.SlotMatched(group)) return false;
  size_t length = static_cast<size_t>(FOwner.FEndP[group] - FOwner.FStartP[group]);
  if (static_cast<size_t>(FEnd - pos) < length ||
      !SameText(pos, FOwner.FStartP[group], length, OpOf(node) == opBSubExpCI))
    return false;
  pos += length;
  return true;
}

bool TRegexMatcher::IsPairAt(const char* pos) const {
  return FOwner.FPairSet && pos != FEnd && static_cast<uint8_t>(pos[0]) == FOwner.FPairHead &&
         static_cast<uint8_t>(pos[1]) == FOwner.FPairTail;
}

// No line starts or ends between the two bytes of the paired separator.
bool TRegexMatcher::IsLineStart(const char* pos) const {
  if (pos == FBegin) return true;
  if (pos - FBegin >= 2 && IsPairAt(pos - 2)) return true;
  uint8_t previous = static_cast<uint8_t>(pos[-1]);
  return FOwner.FLineSeparatorSet.Contains(previous) && !IsPairAt(pos - 1);
}

bool TRegexMatcher::IsLineEnd(const char* pos) const {
  if (pos == FEnd || IsPairAt(pos)) return true;
  return FOwner.FLineSeparatorSet.Contains(static_cast<uint8_t>(*pos)) && !(pos > FBegin && IsPairAt(pos - 1));
}

bool TRegexMatcher::IsWordBoundary(const char* pos) const {
  const TSetOfREChar& word = FOwner.FWordSet;
  bool wordBefore = pos > FBegin && word.Contains(static_cast<uint8_t>(pos[-1]));
  bool wordAfter = pos != FEnd && word.Contains(static_cast<uint8_t>(*pos));
  return wordBefore != wordAfter;
}

// ---- Simple repetition -------------------------------------------------------------
// The operand is one node matching a fixed width: count the longest run once,
// then offer the counts from the longest down (greedy) or the shortest up.

TRegexMatcher::TRepeat TRegexMatcher::RepeatOf(const uint8_t* node) const {
  const uint8_t op = OpOf(node);
  const size_t offset = static_cast<size_t>(node - FProgram->Code.data());
  if (op == opBranch) {
    // A greedy loop over "." that stops at line ends, matched as "*" is.
    return {FProgram->Code.data() + FProgram->LineStarOperand[offset], NextNode(NextNode(node)), 0, kMaxRepeat,
            false, false};
  }
  TRepeat repeat{Operand(node), NextNode(node), 0, kMaxRepeat, IsLazyRepeat(op), FProgram->Possessive[offset]};
  if (op == opPlus || op == opPlusNG) {
    repeat.Min = 1;
  } else if (op == opBraces || op == opBracesNG) {
    repeat.Min = RepeatMin(node);
    repeat.Max = RepeatMax(node);
    repeat.Operand += 2 * kIntSize;
  }
  return repeat;
}

bool TRegexMatcher::StartRepeat(const uint8_t* node, const uint8_t*& next, const char*& pos) {
  const TRepeat repeat = RepeatOf(node);
  int step = RepeatStep(repeat.Operand);
  int count = RepeatCount(repeat.Operand, pos, repeat.Max, step);
  if (count < repeat.Min) return false;
  if (step == 0) count = repeat.Min;  // an empty back-reference: more passes change nothing
  if (repeat.Possessive) return OfferRepeat(node, pos + static_cast<ptrdiff_t>(count) * step, 1, next, pos);
  int first = repeat.Lazy ? repeat.Min : count;
  return OfferRepeat(node, pos + static_cast<ptrdiff_t>(first) * step, count - repeat.Min + 1, next, pos);
}

// Tries the candidate at `candidate`, keeping the rest (candidates left
// including this one) as a choice; skips counts the next literal rules out
// (looking past the nodes that neither test nor consume anything).
bool TRegexMatcher::OfferRepeat(const uint8_t* node, const char* candidate, int left, const uint8_t*& next,
                                const char*& pos) {
  const TRepeat repeat = RepeatOf(node);
  const uint8_t* follower = repeat.Follower;
  const uint8_t* literal = follower;
  while (literal && (OpOf(literal) == opNothing || OpOf(literal) == opComment || IsGroupOpen(OpOf(literal)) ||
                     IsGroupClose(OpOf(literal))))
    literal = NextNode(literal);
  int hint = literal && OpOf(literal) == opExactly ? *Operand(literal) : -1;
  ptrdiff_t step = RepeatStep(repeat.Operand);
  if (!repeat.Lazy) step = -step;
  for (;;) {
    const char* at = candidate;
    bool last = --left == 0;
    if (!last) candidate += step;
    if (hint < 0 || static_cast<uint8_t>(*at) == hint) {
      if (!last) Push({node, candidate, left, TEntry::kChoiceRepeat, 0, 0});
      pos = at;
      next = follower;
      return true;
    }
    if (last) return false;
  }
}

// Bytes one pass of the operand consumes: the captured length for a
// back-reference, else 1.
int TRegexMatcher::RepeatStep(const uint8_t* operand) const {
  if (OpOf(operand) != opBSubExp && OpOf(operand) != opBSubExpCI) return 1;
  int group = *Operand(operand);
  return FOwner.SlotMatched(group) ? static_cast<int>(FOwner.FEndP[group] - FOwner.FStartP[group]) : 1;
}

// How many passes of the operand match from pos, at most max.
int TRegexMatcher::RepeatCount(const uint8_t* operand, const char* pos, int max, int step) const {
  size_t left = static_cast<size_t>(FEnd - pos);
  int limit = static_cast<int>(std::min<size_t>(static_cast<size_t>(max), left));
  const uint8_t* arg = Operand(operand);
  const uint8_t* input = reinterpret_cast<const uint8_t*>(pos);
  auto countWhile = [&](auto test) {
    int n = 0;
    while (n < limit && test(input[n])) ++n;
    return n;
  };
  switch (OpOf(operand)) {
    case opAny: return limit;
    case opAnyML: {
      int n = 0;
      while (n < limit && !IsPairAt(pos + n) && !FOwner.FLineSeparatorSet.Contains(input[n])) ++n;
      return n;
    }
    case opExactly: return countWhile([&](uint8_t c) { return c == arg[0]; });
    case opExactlyCI: return countWhile([&](uint8_t c) { return SameByte(c, arg[0], true); });
    case opAnyDigit: return countWhile(IsDigitByte);
    case opNotDigit: return countWhile([](uint8_t c) { return !IsDigitByte(c); });
    case opAnyOfTinySet:
      return countWhile([&](uint8_t c) { return std::memchr(arg, c, kTinySetSize) != nullptr; });
    case opAnyButTinySet:
      return countWhile([&](uint8_t c) { return std::memchr(arg, c, kTinySetSize) == nullptr; });
    case opAnyOfFullSet: return countWhile([&](uint8_t c) { return (arg[c >> 3] >> (c & 7)) & 1; });
    case opBSubExp:
    case opBSubExpCI: {
      int group = arg[0];
      if (!FOwner.SlotMatched(group)) return 0;
      if (step == 0) return max;
      bool ignoreCase = OpOf(operand) == opBSubExpCI;
      int n = 0;
      for (size_t at = 0; n < max && left - at >= static_cast<size_t>(step); at += step, ++n)
        if (!SameText(pos + at, FOwner.FStartP[group], step, ignoreCase)) break;
      return n;
    }
    default:
      FOwner.RaiseError(reBadRepeatOperand);
  }
}

// ---- Loops --------------------------------------------------------------------------

// BACK closes a pass of a "*" or "+" loop over a complex atom. A pass that
// consumed nothing would repeat forever, so it leaves the loop instead.
const uint8_t* TRegexMatcher::PassBack(const uint8_t* back, const char* pos) {
  const auto& loops = FProgram->BackLoops;
  size_t index = 0;
  while (loops[index].Back != back) ++index;
  if (FBackPos[index] == pos) return loops[index].Exit;
  Push({nullptr, FBackPos[index], static_cast<int32_t>(index), TEntry::kUndoBackPos, 0, 0});
  FBackPos[index] = pos;
  return NextNode(back);
}

void TRegexMatcher::EnterLoop(const char* pos) {
  if (FLevel >= kMaxLoopLevels) FOwner.RaiseError(reLoopNestingExceeded);
  SaveLoopState(FLevel + 1);
  ++FLevel;
  FCounters[FLevel] = 0;
  FIterStart[FLevel] = pos;
}

// At the loop node after LOOPENTRY or after a pass of the body.
bool TRegexMatcher::PassLoop(const uint8_t* loop, const uint8_t*& next, const char*& pos) {
  if (FLevel == 0) FOwner.RaiseError(reLoopWithoutEntry);
  int min = RepeatMin(loop);
  int counter = FCounters[FLevel];
  // A pass that consumed nothing would be repeated unchanged: count it as
  // reaching the minimum, and run no further pass.
  bool emptyPass = counter > 0 && pos == FIterStart[FLevel];
  if (emptyPass) counter = std::max(counter, min);
  if (counter < min) {
    StartPass(counter, pos);
    next = LoopBody(loop);
    return true;
  }
  bool another = counter < RepeatMax(loop) && !emptyPass;
  if (OpOf(loop) == opLoop && another) {
    Push({loop, pos, 0, TEntry::kChoiceLoopExit, 0, 0});
    StartPass(counter, pos);
    next = LoopBody(loop);
    return true;
  }
  if (another) Push({loop, pos, 0, TEntry::kChoiceLoopPass, 0, 0});
  LeaveLoop();
  next = NextNode(loop);
  return true;
}

void TRegexMatcher::StartPass(int counter, const char* pos) {
  SaveLoopState(FLevel);
  FCounters[FLevel] = counter + 1;
  FIterStart[FLevel] = pos;
}

void TRegexMatcher::LeaveLoop() {
  SaveLoopState(FLevel);
  --FLevel;
}

// ---- State changes and backtracking ----------------------------------------------------


const char*& TRegexMatcher::Slot(int index) {
  return index < kEndSlots ? FOwner.FStartP[index] : FOwner.FEndP[index - kEndSlots];
}

void TRegexMatcher::SetSlot(int index, const char* value) {
  Push({nullptr, Slot(index), index, TEntry::kUndoSlot, 0, 0});
  Slot(index) = value;
}

void TRegexMatcher::SaveLoopState(int slotLevel) {
  Push({nullptr, FIterStart[slotLevel], FCounters[slotLevel], TEntry::kUndoLoop, static_cast<uint8_t>(FLevel),
        static_cast<uint8_t>(slotLevel)});
}

// Undoes changes down to the latest choice that still has a way to go, and
// resumes there; false when no choice is left.
bool TRegexMatcher::Backtrack(const uint8_t*& node, const char*& pos) {
  while (!FStack.empty()) {
    TEntry entry = FStack.back();
    FStack.pop_back();
    switch (entry.Kind) {
      case TEntry::kUndoSlot:
        Slot(entry.Value) = entry.Pos;
        continue;
      case TEntry::kUndoLoop:
        FLevel = entry.Level;
        FCounters[entry.SlotLevel] = entry.Value;
        FIterStart[entry.SlotLevel] = entry.Pos;
        continue;
      case TEntry::kUndoBackPos:
        FBackPos[entry.Value] = entry.Pos;
        continue;
      default:
        break;
    }
    if (++FSteps > FStepLimit) FOwner.RaiseError(reMatchStepLimitExceeded);
    pos = entry.Pos;
    switch (entry.Kind) {
      case TEntry::kChoiceBranch:
        if (OpOf(NextNode(entry.Node)) == opBranch)
          Push({NextNode(entry.Node), pos, 0, TEntry::kChoiceBranch, 0, 0});
        node = Operand(entry.Node);
        return true;
      case TEntry::kChoiceRepeat:
        if (OfferRepeat(entry.Node, entry.Pos, entry.Value, node, pos)) return true;
        continue;
      case TEntry::kChoiceLoopExit:
        LeaveLoop();
        node = NextNode(entry.Node);
        return true;
      default:  // kChoiceLoopPass
        StartPass(FCounters[FLevel], pos);
        node = LoopBody(entry.Node);
        return true;
    }
  }
  return false;
}

}  // namespace vk
