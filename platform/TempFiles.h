#pragma once
// A text of the program's own, written to a new file in the temporary
// folder ($TMPDIR, else /tmp) for a tool to read, and removed again when
// the object goes. Nothing of it lands in a folder of the user's.

#include <string>
#include <string_view>

namespace vk {

class TTempTextFile {
public:
  // prefix: the start of the file's name ("vornkit-makefile-").
  TTempTextFile(std::string_view prefix, std::string_view text);
  ~TTempTextFile();
  TTempTextFile(const TTempTextFile&) = delete;
  TTempTextFile& operator=(const TTempTextFile&) = delete;

  // Whether the whole text was written.
  bool Written() const { return FWritten; }
  // The file's name in the program's code page.
  const std::string& FileName() const { return FFileName; }

private:
  std::string FDiskName;
  std::string FFileName;
  bool FWritten = false;
};

}  // namespace vk
