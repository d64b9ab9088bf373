#pragma once
// Searching a folder for names that match a mask, with the attribute filter
// of the class library: FindFirst, FindNext, FindClose over a TSearchRec.
//
// Masks match as on the original platform: "*" any run of characters, "?"
// one character, letters in any case; "*.*" matches every name, dots or
// not, and a mask ending in "." matches names without an extension.
// Attributes are read from the file: a folder is faDirectory, a name that
// starts with "." (other than "." and "..") faHidden, a file nobody may
// write (or this user may not) faReadOnly, a regular file faArchive and
// anything that is neither file nor folder faSysFile. Names come in the code
// page; a name it has no form for is left out (it could not be opened).

#include <cstdint>
#include <memory>
#include <string>

namespace vk {

enum : int {
  faReadOnly = 0x01,
  faHidden = 0x02,
  faSysFile = 0x04,
  faVolumeID = 0x08,
  faDirectory = 0x10,
  faArchive = 0x20,
  faAnyFile = 0x3F,
};

// Answers of FindFirst and FindNext other than 0.
enum : int {
  ERROR_FILE_NOT_FOUND = 2,
  ERROR_PATH_NOT_FOUND = 3,
  ERROR_NO_MORE_FILES = 18,
};

struct TFindData;

struct TSearchRec {
  TSearchRec();
  ~TSearchRec();
  TSearchRec(TSearchRec&&) noexcept;
  TSearchRec& operator=(TSearchRec&&) noexcept;

  int Time = 0;  // last change, as a file date (see FileDateToDateTime)
  int64_t Size = 0;
  int Attr = 0;
  std::string Name;  // without its folder
  int ExcludeAttr = 0;
  std::unique_ptr<TFindData> FindHandle;
};

// Starts a search for path = folder + "/" + mask (a bare mask searches the
// current folder). Entries come in name order (any letter case); "." and
// ".." are among them where the mask matches them, in every folder but "/". Read-only and archive files are always found; hidden, system and
// folder entries only when attr asks for them. Answers 0 with the first
// entry in the record, ERROR_FILE_NOT_FOUND when nothing matches, or
// ERROR_PATH_NOT_FOUND when the folder cannot be read.
int FindFirst(const std::string& path, int attr, TSearchRec& rec);
// The next entry: 0, or ERROR_NO_MORE_FILES at the end.
int FindNext(TSearchRec& rec);
// Ends the search (the record's destructor does it as well).
void FindClose(TSearchRec& rec);

// A name against one mask, with the rules above.
bool MatchesFileMask(const std::string& name, const std::string& mask);

}  // namespace vk
