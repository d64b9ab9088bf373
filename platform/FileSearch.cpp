#include "platform/FileSearch.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "platform/CodePage.h"
#include "platform/DateTimes.h"
#include "platform/FilePaths.h"
#include "platform/SysUtils.h"

namespace vk {

struct TFindData {
  std::string Folder;      // with its trailing "/", or "" for the current folder
  std::string DiskFolder;  // the same as the file system spells it
  struct TEntry {
    std::string Name, DiskName;
  };
  std::vector<TEntry> Entries;
  size_t Next = 0;
};

TSearchRec::TSearchRec() = default;
TSearchRec::~TSearchRec() = default;
TSearchRec::TSearchRec(TSearchRec&&) noexcept = default;
TSearchRec& TSearchRec::operator=(TSearchRec&&) noexcept = default;

namespace {

// The characters of a name: one byte, or a lead byte with its trail byte.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> chars;
  for (size_t i = 0; i < text.size();) {
    size_t length = CodePage::CharLength(text.data(), text.size(), i);
    chars.push_back(text.substr(i, length));
    i += length;
  }
  return chars;
}

bool SameChar(const std::string& a, const std::string& b) {
  if (a.size() != 1 || b.size() != 1) return a == b;
  return CodePage::AsciiUpper(static_cast<unsigned char>(a[0])) == CodePage::AsciiUpper(static_cast<unsigned char>(b[0]));
}

// "*" and "?" over characters, with the usual backtracking to the last star.
bool Glob(const std::vector<std::string>& name, const std::vector<std::string>& mask) {
  size_t n = 0, m = 0, starMask = std::string::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == "*") {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && (mask[m] == "?" || SameChar(mask[m], name[n]))) {
      ++m;
      ++n;
    } else if (starMask != std::string::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == "*") ++m;
  return m == mask.size();
}

int Attributes(const std::string& diskPath, const std::string& name, const struct stat& info) {
  int attr = S_ISDIR(info.st_mode) ? faDirectory : S_ISREG(info.st_mode) ? faArchive : faSysFile;
  if (name[0] == '.' && name != "." && name != "..") attr |= faHidden;
  if (IsReadOnlyFile(diskPath, info.st_mode)) attr |= faReadOnly;
  return attr;
}

// Fills the record from the next entry that passes the attribute filter.
int NextMatch(TSearchRec& rec) {
  TFindData& data = *rec.FindHandle;
  while (data.Next < data.Entries.size()) {
    const TFindData::TEntry& entry = data.Entries[data.Next++];
    std::string path = (data.DiskFolder.empty() ? "./" : data.DiskFolder) + entry.DiskName;
    struct stat info;
    // A link that leads nowhere is still listed, as the link itself.
    if (stat(path.c_str(), &info) != 0 && lstat(path.c_str(), &info) != 0) continue;
    int attr = Attributes(path, entry.Name, info);
    if (attr & rec.ExcludeAttr) continue;
    rec.Name = entry.Name;
    rec.Attr = attr;
    rec.Size = S_ISDIR(info.st_mode) ? 0 : static_cast<int64_t>(info.st_size);
    rec.Time = UnixTimeToFileDate(info.st_mtime);
    return 0;
  }
  return ERROR_NO_MORE_FILES;
}

}  // namespace

bool MatchesFileMask(const std::string& name, const std::string& mask) {
  if (mask.size() >= 2 && mask.compare(mask.size() - 2, 2, ".*") == 0 &&
      MatchesFileMask(name, mask.substr(0, mask.size() - 2)))
    return true;  // ".*" also stands for no extension at all
  if (!mask.empty() && mask.back() == '.' && mask != "." && mask != "..")
    return name.find('.') == std::string::npos && Glob(Characters(name), Characters(mask.substr(0, mask.size() - 1)));
  return Glob(Characters(name), Characters(mask));
}

int FindFirst(const std::string& path, int attr, TSearchRec& rec) {
  FindClose(rec);
  auto data = std::make_unique<TFindData>();
  data->Folder = ExtractFilePath(path);
  data->DiskFolder = FileNameToDisk(data->Folder);
  std::string mask = ExtractFileName(path);
  DIR* dir = opendir(data->DiskFolder.empty() ? "." : data->DiskFolder.c_str());
  if (!dir) return ERROR_PATH_NOT_FOUND;
  bool root = data->Folder.find_first_not_of('/') == std::string::npos && !data->Folder.empty();
  while (dirent* entry = readdir(dir)) {
    std::string diskName = entry->d_name;
    // A name the code page cannot spell could not be opened by it either.
    std::optional<std::string> name = FileNameFromDisk(diskName);
    if (!name || (root && (*name == "." || *name == ".."))) continue;
    if (MatchesFileMask(*name, mask)) data->Entries.push_back({*name, diskName});
  }
  closedir(dir);
  std::sort(data->Entries.begin(), data->Entries.end(), [](const TFindData::TEntry& a, const TFindData::TEntry& b) {
    int order = CompareText(a.Name, b.Name);
    return order != 0 ? order < 0 : a.Name < b.Name;
  });
  rec.FindHandle = std::move(data);
  rec.ExcludeAttr = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  if (NextMatch(rec) == 0) return 0;
  FindClose(rec);
  return ERROR_FILE_NOT_FOUND;
}

int FindNext(TSearchRec& rec) { return rec.FindHandle ? NextMatch(rec) : ERROR_NO_MORE_FILES; }

void FindClose(TSearchRec& rec) { rec.FindHandle.reset(); }

}  // namespace vk
