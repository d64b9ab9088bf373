#include <gtest/gtest.h>

#include "SrcEdit/Source/SrcEditTextBuffer.h"
#include "services/DiskFileState.h"
#include "tests/platform/TempFolder.h"

namespace vk {
namespace {

// The hash a save takes of its bytes as they pass, in the writer's pieces,
// is the hash of the file read back whole (a file just saved is no change),
// and files that differ anywhere hash apart.
TEST(DiskFileStateTest, ASavesHashIsTheHashOfTheFileReadBack) {
  // Lines past the writer's buffer cut the bytes into pieces of odd sizes.
  const std::string kLong(20001, 'x');
  const std::string texts[] = {"", "a", "int a;\r\n", kLong + "\nb\r" + kLong + "\r\n" + std::string(33, 'y'),
                               kLong + "\nb\r" + kLong + "\r\n" + std::string(32, 'y') + "z"};
  test::TTempFolder folder;
  std::vector<uint64_t> hashes;
  for (const std::string& text : texts) {
    SCOPED_TRACE(text.substr(0, 8));
    TSrcEditStringList lines;
    TMemoryStream bytes;
    bytes.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    lines.LoadFromStream(bytes);
    const std::string name = folder.File("saved.c");
    uint64_t saved = 0;
    {
      TFileStream file(name, fmCreate);
      saved = SaveHashed(lines, file);
    }
    EXPECT_EQ(saved, ReadDiskFile(name).State.Hash);
    for (uint64_t other : hashes) EXPECT_NE(saved, other);
    hashes.push_back(saved);
  }
}

}  // namespace
}  // namespace vk
