#pragma once
// File names and the current folder as the class library offers them. Paths
// are POSIX paths with "/" between names; a trailing "." of a name that is
// deleted is dropped, as for every file that is created or opened.
//
// The program spells names in the code page; the file system holds them in
// UTF-8. Every call that hands a name to the system or takes one from it
// converts it here, as the ANSI file functions do on the original platform.

#include <optional>
#include <string>
#include <string_view>

#include "platform/SysUtils.h"

namespace vk {

// Raised where a name the system gave is to be used in the program but has
// no form in the code page.
class EFileNameError : public Exception {
  using Exception::Exception;
};

// The name as the file system spells it. Bytes that are no text of the code
// page pass unchanged (no other name could be meant by them).
std::string FileNameToDisk(const std::string& fileName);
// A name the file system gave, as the program spells it; nullopt when it has
// no form in the code page (characters the code page lacks, or bytes that are
// no UTF-8), so that no other name stands for it.
std::optional<std::string> FileNameFromDisk(const std::string& diskName);
// The same, raising EFileNameError "The name \"%s\" holds characters that
// the program's code page lacks; rename it to use it." when there is none.
std::string CheckedFileNameFromDisk(const std::string& diskName);

// folder + "/" + name, without doubling a "/" the folder ends with; the
// name alone for an empty folder (never a file at the root).
std::string JoinPath(std::string_view folder, std::string_view name);
// A path as seen from a folder: an absolute path as it is, a relative one
// joined to the folder (JoinPath).
std::string PathFrom(std::string_view folder, std::string_view path);
// The path relative to the folder when it lies below it as written
// ("/p/a/b.c" below "/p" or "/p/" gives "a/b.c"); none otherwise.
std::optional<std::string> PathBelow(std::string_view folder, std::string_view path);
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
// Removes an empty folder; false when it is not there, holds anything or
// cannot be removed.
bool RemoveEmptyDir(const std::string& name);
bool DirectoryExists(const std::string& name);
// A file, a folder or anything else of that name.
bool PathExists(const std::string& name);
// Both names lead to one file (two spellings, a link).
bool SameFile(const std::string& a, const std::string& b);
// Makes the folder and the folders above it that are missing, readable by
// this user only; raises EFCreateError naming the folder it could not make.
void ForceFolders(const std::string& folder);

// The process's current folder, without a trailing "/" (except for "/");
// "" when it cannot be told or has no form in the code page.
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& dir);

// True when the file (of the given stat mode; its name as the file system
// spells it) counts as read-only: it has no write permission bit at all
// (which holds for the superuser too), or the current user may not write it.
bool IsReadOnlyFile(const std::string& diskName, unsigned mode);

}  // namespace vk
