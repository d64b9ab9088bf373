#pragma once
// File names and the current folder as the class library offers them. Paths
// are POSIX paths with "/" between names; a trailing "." of a name that is
// deleted is dropped, as for every file that is created or opened.

#include <string>

namespace vk {

// Everything up to and including the last "/" ("" when there is none).
std::string ExtractFilePath(const std::string& fileName);
// Everything after the last "/".
std::string ExtractFileName(const std::string& fileName);
// The last "." of the name and what follows it ("" when the name has no
// dot): "a/b.tar.gz" gives ".gz", "a.b/c" gives "".
std::string ExtractFileExt(const std::string& fileName);

// Removes a file; false when it does not exist or cannot be removed.
bool DeleteFile(const std::string& fileName);
bool FileExists(const std::string& fileName);
bool DirectoryExists(const std::string& name);

// The process's current folder, without a trailing "/" (except for "/").
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& dir);

// True when the file (of the given stat mode) counts as read-only: it has no
// write permission bit at all (which holds for the superuser too), or the
// current user may not write it.
bool IsReadOnlyFile(const std::string& fileName, unsigned mode);

}  // namespace vk
