#include "SrcEdit/Source/SrcEditSearch.h"

#include <cstring>

#include "platform/CodePage.h"

namespace vk {

namespace {

// True for every byte that cannot be part of a word.
const std::array<bool, 256>& Delimiters() {
  static const std::array<bool, 256> table = [] {
    std::array<bool, 256> delimiters{};
    for (int c = 0; c < 256; ++c)
      delimiters[c] = !(CodePage::IsCharAlphaNumeric(static_cast<unsigned char>(c)) || c == '_');
    return delimiters;
  }();
  return table;
}

unsigned char ByteAt(std::string_view text, size_t index) { return static_cast<unsigned char>(text[index]); }

}  // namespace

TSrcEditSearch::TSrcEditSearch(TComponent* owner) : TSrcEditSearchCustom(owner) { BuildFoldTable(); }

void TSrcEditSearch::SetPattern(const std::string& value) {
  if (value == FPattern) return;
  FPattern = value;
  FPatternTablesValid = false;
}

int TSrcEditSearch::GetLength(int) const { return static_cast<int>(FPattern.size()); }

int TSrcEditSearch::GetResult(int index) const {
  if (index < 0 || index >= GetResultCount()) return 0;
  return FResults[index];
}

void TSrcEditSearch::SetOptions(TSrcSearchOptions value) {
  const bool matchCase = value.Contains(ssoMatchCase);
  if (matchCase != FMatchCase) {
    FMatchCase = matchCase;
    BuildFoldTable();
    FPatternTablesValid = false;
  }
  FWholeWord = value.Contains(ssoWholeWord);
}

int TSrcEditSearch::FindAll(std::string_view line) {
  FResults.clear();
  for (int found = FindFirst(line); found != 0; found = Next()) FResults.push_back(found);
  return GetResultCount();
}

std::string TSrcEditSearch::Replace(const std::string&, const std::string& replacement) { return replacement; }

int TSrcEditSearch::FindFirst(std::string_view line) {
  // Forget the previous line first, so a failure here leaves no scan that
  // could read it.
  FText = {};
  FScanFrom = 0;
  if (!FPatternTablesValid) BuildPatternTables();
  FText = line;
  FCharStart = 0;
  FPrevCharStart = 0;
  return Next();
}

bool TSrcEditSearch::AcceptMatch(size_t start) {
  const size_t end = start + FKey.size();
  // The match must cover whole characters: start on one and not end on a
  // lead byte whose trail byte lies behind it.
  if (!IsCharacterStart(start) || (FEndsOnLeadByte && end < FText.size())) return false;
  if (FWholeWord && !IsWholeWord(start, end)) return false;
  FScanFrom = end;  // matches do not overlap
  return true;
}

int TSrcEditSearch::Next() {
  if (FKey.empty()) return 0;
  return FMatchCase ? NextExact() : NextFolded();
}

// With case, the bytes are compared as they are: the C library finds the
// first byte of each candidate fastest (lines are short, so this beats a
// general substring search with its set-up).
int TSrcEditSearch::NextExact() {
  const size_t patternLength = FKey.size();
  const char first = FKey[0];
  while (FScanFrom + patternLength <= FText.size()) {
    const void* hit = std::memchr(FText.data() + FScanFrom, first, FText.size() - patternLength + 1 - FScanFrom);
    if (!hit) break;
    const size_t start = static_cast<size_t>(static_cast<const char*>(hit) - FText.data());
    if (std::memcmp(FText.data() + start + 1, FKey.data() + 1, patternLength - 1) == 0 && AcceptMatch(start))
      return static_cast<int>(start + 1);
    FScanFrom = start + 1;
  }
  FScanFrom = FText.size();
  return 0;
}

// Quick search: the window's last byte is tested first; on a mismatch the
// byte just behind the window decides how far the window may jump.
int TSrcEditSearch::NextFolded() {
  const size_t patternLength = FKey.size();
  const size_t length = FText.size();
  size_t run = FScanFrom + patternLength - 1;  // the byte under the pattern's last byte
  while (run < length) {
    if (FFold[ByteAt(FText, run)] != FLastFolded) {
      if (run + 1 >= length) break;
      run += FShift[FFold[ByteAt(FText, run + 1)]];
      continue;
    }
    const size_t start = run + 1 - patternLength;
    if (KeyMatchesAt(start) && AcceptMatch(start)) return static_cast<int>(start + 1);
    run += FLookAtStep;
    if (run >= length) break;
    run += FShift[FFold[ByteAt(FText, run)]] - 1;
  }
  FScanFrom = length;
  return 0;
}

bool TSrcEditSearch::GetFinished() const { return FScanFrom + FKey.size() > FText.size(); }

void TSrcEditSearch::FixResults(int first, int delta) {
  if (delta == 0) return;
  for (auto result = FResults.rbegin(); result != FResults.rend() && *result > first; ++result) *result -= delta;
}

void TSrcEditSearch::BuildFoldTable() {
  for (int c = 0; c < 256; ++c) {
    const auto byte = static_cast<unsigned char>(c);
    FFold[c] = FMatchCase ? byte : CodePage::AsciiLower(byte);
  }
}

void TSrcEditSearch::BuildPatternTables() {
  if (FPattern.empty()) throw Exception("Pattern is empty");
  const size_t length = FPattern.size();
  const char* pattern = FPattern.data();

  // A match starts on a character, so the pattern's bytes fall into
  // characters the same way as the text's. The second byte of a double-byte
  // character is compared exactly: folding it would make one character
  // match another.
  FKey.resize(length);
  FTrailAt.assign(length, 0);
  for (size_t i = 0; i < length; i += CodePage::CharLength(pattern, length, i)) {
    FKey[i] = static_cast<char>(FFold[static_cast<unsigned char>(pattern[i])]);
    if (CodePage::CharLength(pattern, length, i) == 2) {
      FKey[i + 1] = pattern[i + 1];
      FTrailAt[i + 1] = 1;
    }
  }
  FEndsOnLeadByte = CodePage::ByteTypeAt(FPattern, length - 1) == mbLeadByte;

  // Skip by the byte behind the window: as far as its last place in the
  // pattern allows, one past the pattern when it does not occur.
  FShift.fill(length + 1);
  for (size_t i = 0; i < length; ++i) FShift[FFold[static_cast<unsigned char>(pattern[i])]] = length - i;

  // After a window whose last byte matched, the next window that can match
  // puts an equal byte of the pattern over that byte.
  FLastFolded = FFold[static_cast<unsigned char>(pattern[length - 1])];
  FLookAtStep = length;
  for (size_t k = 1; k < length; ++k) {
    if (FFold[static_cast<unsigned char>(pattern[length - 1 - k])] == FLastFolded) {
      FLookAtStep = k;
      break;
    }
  }
  FPatternTablesValid = true;
}

bool TSrcEditSearch::KeyMatchesAt(size_t start) const {
  const char* text = FText.data() + start;
  if (FMatchCase) return std::memcmp(text, FKey.data(), FKey.size()) == 0;
  for (size_t i = 0; i < FKey.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((FTrailAt[i] ? byte : FFold[byte]) != static_cast<unsigned char>(FKey[i])) return false;
  }
  return true;
}

// Walks the line from where the previous question left off: a scan asks
// about ascending positions only, so it reads each byte once at most.
bool TSrcEditSearch::IsCharacterStart(size_t index) {
  while (FCharStart < index) {
    FPrevCharStart = FCharStart;
    FCharStart += CodePage::CharLength(FText.data(), FText.size(), FCharStart);
  }
  return FCharStart == index;
}

// Needs IsCharacterStart(start) to have answered true. The characters on
// both sides must be delimiters; a double-byte character is judged by its
// lead byte, so every double-byte character counts alike.
bool TSrcEditSearch::IsWholeWord(size_t start, size_t end) const {
  const auto& delimiters = Delimiters();
  const bool before = start == 0 || delimiters[ByteAt(FText, FPrevCharStart)];
  const bool after = end == FText.size() || delimiters[ByteAt(FText, end)];
  return before && after;
}

}  // namespace vk
