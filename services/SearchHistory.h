#pragma once
// The find and replace dialogs' histories: most-recently-used lists of
// search or replacement texts, newest first, kept in text files of the editor
// folder (FindF.ini, ReplaceF.ini, ReplaceR.ini; CR LF lines), or of the
// user's state folder when the editor folder is read-only.
//
// A dialog keeps one TSearchHistory per text field. On every showing it calls
// Load (and shows the read error box unless the result is hlLoaded), fills
// the field's drop-down list from Entries(); on its buttons it calls Add with
// the field's text and shows the save error box when that returns
// haSaveFailed.

#include <string>
#include <vector>

namespace vk {

inline constexpr int MaxSearchHistory = 40;
inline constexpr size_t MaxSearchTextBytes = 29;

// The text up to its first line break: what a history entry keeps of a
// text over several lines, and what the find and replace dialogs take from
// a selection (the part a search line by line can find).
std::string FirstLine(const std::string& text);

// 1 to 29 bytes (a double-byte character counts two).
bool IsStorableSearchText(const std::string& text);

// The lines of a history file; false when it cannot be read.
bool LoadSearchHistory(const std::string& fileName, std::vector<std::string>& entries);

enum THistoryLoad { hlLoaded, hlMissing, hlUnreadable };
// When the file is written: the find dialog's "Ok" and the replace dialog
// write only when a text was added; the find dialog's "Find" always does.
enum THistorySave { hsWhenAdded, hsAlways };
enum THistoryAdd { haUnchanged, haSaved, haSaveFailed, haKeptUnread };

class TSearchHistory {
public:
  explicit TSearchHistory(std::string fileName) : FFileName(std::move(fileName)) {}

  // Reads "Editor Path" (a value of another kind keeps the folder of the
  // last showing) and the history file in it; an empty editor folder is the
  // install folder. A missing file gives an empty history; one that cannot
  // be read keeps the entries of the last reading and is not written again
  // until it has been read. A read-only folder's file is kept in the user's
  // state folder, starting from the folder's copy (RunTimeFilePath).
  THistoryLoad Load(const std::string& installFolder);
  const std::vector<std::string>& Entries() const { return FEntries; }
  // The file the last Load read.
  const std::string& FilePath() const { return FFilePath; }

  // Moves the text, up to its first line break, to the top (every equal
  // entry leaves the list; a text that is not storable is not added), keeps
  // the 40 newest and writes the file as the mode says.
  THistoryAdd Add(const std::string& typed, THistorySave mode);

private:
  std::string FFileName;
  std::string FFolder;
  std::string FFilePath;
  std::vector<std::string> FEntries;
  bool FReadable = false;
};

}  // namespace vk
