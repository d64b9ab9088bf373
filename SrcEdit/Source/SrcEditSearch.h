#pragma once
// Search engines of the editor. The editor does not match text itself: it
// hands its search engine one line at a time and reads back where the
// matches are and how long they are. TSrcEditSearch is the plain-text engine.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "SrcEdit/Source/SrcEditTypes.h"
#include "platform/Components.h"

namespace vk {

// What the editor asks of any search engine.
class TSrcEditSearchCustom : public TComponent {
public:
  using TComponent::TComponent;
  std::string ClassName() const override { return "TSrcEditSearchCustom"; }

  virtual std::string GetPattern() const = 0;
  virtual void SetPattern(const std::string& value) = 0;
  // Length in bytes of the match with that 0-based index.
  virtual int GetLength(int index) const = 0;
  // 1-based byte position of the match with that 0-based index.
  virtual int GetResult(int index) const = 0;
  // Number of matches found by the last FindAll.
  virtual int GetResultCount() const = 0;
  virtual void SetOptions(TSrcSearchOptions value) = 0;
  // Finds every match in the line and answers how many there are.
  virtual int FindAll(std::string_view line) = 0;
  // The text to put in place of a found match.
  virtual std::string Replace(const std::string& found, const std::string& replacement) = 0;

  std::string Pattern() const { return GetPattern(); }
  int Results(int index) const { return GetResult(index); }
  int Lengths(int index) const { return GetLength(index); }
  int ResultCount() const { return GetResultCount(); }
};

// Finds a fixed pattern, optionally ignoring letter case and optionally only
// as a whole word, with a quick-search skip table. Matches never overlap and
// always cover whole characters of the code page: a match never starts on
// the second byte of a double-byte character nor ends inside one.
class TSrcEditSearch : public TSrcEditSearchCustom {
public:
  explicit TSrcEditSearch(TComponent* owner);
  std::string ClassName() const override { return "TSrcEditSearch"; }

  std::string GetPattern() const override { return FPattern; }
  void SetPattern(const std::string& value) override;
  int GetLength(int index) const override;
  int GetResult(int index) const override;
  int GetResultCount() const override { return static_cast<int>(FResults.size()); }
  // Takes match case and whole word; the other options are the editor's.
  void SetOptions(TSrcSearchOptions value) override;
  // Raises Exception "Pattern is empty" (after emptying the results).
  int FindAll(std::string_view line) override;
  std::string Replace(const std::string& found, const std::string& replacement) override;

  // The scan behind FindAll. FindFirst starts a scan over the line, which
  // must stay alive until the scan is done, and answers the 1-based position
  // of the first match; Next answers the following ones. 0 means no more.
  int FindFirst(std::string_view line);
  int Next();
  // True when no further match can fit in the rest of the line.
  bool GetFinished() const;
  // After a change of the line at a position: every result behind `first`
  // moves back by `delta`.
  void FixResults(int first, int delta);

private:
  void BuildFoldTable();
  void BuildPatternTables();
  bool KeyMatchesAt(size_t start) const;
  int NextExact();
  int NextFolded();
  // A match of the key at start that covers whole characters (and whole
  // words when asked) is accepted and the scan goes on behind it.
  bool AcceptMatch(size_t start);
  bool IsCharacterStart(size_t index);
  bool IsWholeWord(size_t start, size_t end) const;

  std::string FPattern;
  bool FMatchCase = false;
  bool FWholeWord = false;
  std::array<unsigned char, 256> FFold{};  // byte -> byte as compared

  // Built from the pattern and the fold table before a search when invalid.
  bool FPatternTablesValid = false;
  std::array<size_t, 256> FShift{};  // skip for the byte after the window
  std::string FKey;                  // the pattern as compared
  unsigned char FLastFolded = 0;     // the pattern's last byte, folded
  std::vector<unsigned char> FTrailAt;  // 1 for pattern bytes that end a double-byte character
  bool FEndsOnLeadByte = false;      // the pattern's last byte would pair with the next one
  size_t FLookAtStep = 0;            // shift after a window whose last byte matched

  // The line being scanned.
  std::string_view FText;
  size_t FScanFrom = 0;        // first byte a further match may start on
  size_t FCharStart = 0;       // a character boundary at or behind the last match start asked about
  size_t FPrevCharStart = 0;   // start of the character just before FCharStart

  std::vector<int> FResults;  // 1-based positions, ascending
};

}  // namespace vk
