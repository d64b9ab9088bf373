#include "services/MakeFolderLines.h"

#include <algorithm>

#include "services/TextWords.h"
#include "platform/FilePaths.h"

namespace vk {

namespace {

// "make", "make[2]", "/usr/bin/make", "gmake".
bool IsMakeName(std::string_view name) {
  if (name.ends_with(']')) {
    size_t open = name.rfind('[');
    if (open == std::string_view::npos || open + 2 == name.size()) return false;
    if (!IsAsciiNumber(name.substr(open + 1, name.size() - open - 2))) return false;
    name = name.substr(0, open);
  }
  return name.ends_with("make") && name.find(' ') == std::string_view::npos;
}

// '/p/lib' or `/p/lib'; a folder name may hold quotes of its own.
std::string_view Unquoted(std::string_view name) {
  if (name.size() > 2 && (name.front() == '\'' || name.front() == '`') && name.back() == '\'')
    return name.substr(1, name.size() - 2);
  return name;
}

// The folder a make's line with that marker names; "" for any other line.
std::string_view FolderOf(std::string_view line, std::string_view marker) {
  size_t at = line.find(marker);
  if (at == std::string_view::npos || !IsMakeName(line.substr(0, at))) return {};
  return Unquoted(line.substr(at + marker.size()));
}

}  // namespace

TMakeFolders::TMakeFolders(std::string startFolder) : FFolders{std::move(startFolder)} {}

bool TMakeFolders::Read(std::string_view line) {
  if (std::string_view entered = FolderOf(line, ": Entering directory "); !entered.empty()) {
    FFolders.push_back(PathFrom(Current(), entered));
    return true;
  }
  std::string_view left = FolderOf(line, ": Leaving directory ");
  if (left.empty()) return false;
  // The innermost entry of that folder ends; make names the one it leaves.
  auto entry = std::find(FFolders.rbegin(), FFolders.rend() - 1, left);
  if (entry != FFolders.rend() - 1)
    FFolders.erase(std::next(entry).base());
  else if (FFolders.size() > 1)
    FFolders.pop_back();
  return true;
}

}  // namespace vk
