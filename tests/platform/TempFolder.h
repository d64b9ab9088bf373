#pragma once
// A temporary folder for one test, removed with everything in it.

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace vk::test {

class TTempFolder {
public:
  TTempFolder() {
    std::string pattern = (std::filesystem::path(testing::TempDir()) / "vornkit-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    FPath = pattern;
  }
  ~TTempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(FPath, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(FPath, ignored);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::string& Path() const { return FPath; }
  std::string File(const std::string& name) const { return FPath + "/" + name; }

private:
  std::string FPath;
};

}  // namespace vk::test
