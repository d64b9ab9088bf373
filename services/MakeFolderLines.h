#pragma once
// make's folder lines ("make[1]: Entering directory '/p/lib'", "make:
// Leaving directory '/p'"), which make prints with -w and for every
// sub-make: where each of the lines between them was printed, so that a
// file name a tool printed there can be found.

#include <string>
#include <string_view>
#include <vector>

namespace vk {

// The folders make works in, innermost last: the one it started in (as
// given, "" for the folder the reader starts from) below those its folder
// lines entered.
class TMakeFolders {
public:
  explicit TMakeFolders(std::string startFolder = "");
  // Follows make's folder line; false for any other line.
  bool Read(std::string_view line);
  const std::string& Current() const { return FFolders.back(); }

private:
  std::vector<std::string> FFolders;
};

}  // namespace vk
