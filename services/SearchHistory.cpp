#include "services/SearchHistory.h"

#include <algorithm>

#include "services/SettingsStore.h"
#include "services/SharedTables.h"
#include "platform/FilePaths.h"
#include "platform/Streams.h"
#include "platform/StringLists.h"
#include "platform/UserFolders.h"

namespace vk {

std::string FirstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

bool IsStorableSearchText(const std::string& text) { return !text.empty() && text.size() <= MaxSearchTextBytes; }

bool LoadSearchHistory(const std::string& fileName, std::vector<std::string>& entries) {
  TStringList lines;
  try {
    lines.LoadFromFile(fileName);
  } catch (const EStreamError&) {
    return false;
  }
  entries.clear();
  for (int i = 0; i < lines.Count(); ++i) entries.push_back(lines.Get(i));
  return true;
}

THistoryLoad TSearchHistory::Load(const std::string& installFolder) {
  TSettingsReader editor(AttrKeyNames[EditorKeyIndex]);
  if (std::optional<std::string> folder = editor.String(EditorValue::EditorPath))
    FFolder = *folder;
  else if (!editor.ValueExists(EditorValue::EditorPath))
    FFolder.clear();
  FFilePath = RunTimeFilePath(FFolder.empty() ? installFolder : FFolder, FFileName);

  if (!PathExists(FFilePath)) {
    FEntries.clear();
    FReadable = true;
    return hlMissing;
  }
  FReadable = LoadSearchHistory(FFilePath, FEntries);
  return FReadable ? hlLoaded : hlUnreadable;
}

THistoryAdd TSearchHistory::Add(const std::string& typed, THistorySave mode) {
  // An entry is one line of the file.
  const std::string text = FirstLine(typed);
  std::erase(FEntries, text);
  bool added = IsStorableSearchText(text);
  if (added) FEntries.insert(FEntries.begin(), text);
  if (!added && mode == hsWhenAdded) return haUnchanged;
  if (FEntries.size() > MaxSearchHistory) FEntries.resize(MaxSearchHistory);
  if (!FReadable) return haKeptUnread;
  TStringList lines;
  for (const std::string& entry : FEntries) lines.Add(entry);
  try {
    lines.SaveToFile(FFilePath);
  } catch (const EStreamError&) {
    return haSaveFailed;
  }
  return haSaved;
}

}  // namespace vk
