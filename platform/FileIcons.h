#pragma once
// The desktop's pictures for kinds of files, kept in two image lists, small
// (16 x 16) and large (32 x 32), that controls share: the same index shows
// the same kind in both. A list grows when a new kind is asked for. Where
// the pictures come from is a source: a fixed set headless, the desktop's
// icon theme in the Qt program.

#include <memory>
#include <string>
#include <vector>

#include "platform/ImageList.h"

namespace vk {

class TFileIconSource {
public:
  virtual ~TFileIconSource() = default;
  // Names the icon the desktop shows for the file: files with one key share
  // one icon.
  virtual std::string IconKey(const std::string& fileName) = 0;
  // The two pictures of a key (their transparent colour set).
  virtual void IconImages(const std::string& key, TBitmap& small, TBitmap& large) = 0;
};

// Folders, C sources, headers, assembler sources, build products, text and
// makefiles each have their own picture; every other file a plain page.
class TFixedFileIcons : public TFileIconSource {
public:
  std::string IconKey(const std::string& fileName) override;
  void IconImages(const std::string& key, TBitmap& small, TBitmap& large) override;
};

class TFileIcons {
public:
  TFileIcons();
  ~TFileIcons();
  TImageList& SmallImages() { return FSmall; }
  TImageList& LargeImages() { return FLarge; }
  // The index of the file's icon in both lists.
  int IconIndex(const std::string& fileName);
  // Takes another source (the fixed one when null); the lists are emptied
  // (they stay the same objects, so controls keep them).
  void SetSource(std::unique_ptr<TFileIconSource> source);

private:
  std::unique_ptr<TFileIconSource> FSource;
  TImageList FSmall{nullptr, 16, 16};
  TImageList FLarge{nullptr, 32, 32};
  std::vector<std::string> FKeys;  // the key of each index
};

// The process's file icons.
TFileIcons& FileIcons();

}  // namespace vk
