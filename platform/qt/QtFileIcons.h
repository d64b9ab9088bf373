#pragma once
// File-type icons from the desktop's icon theme; kinds the theme does not
// know keep the fixed pictures.

#include <QtWidgets/QFileIconProvider>

#include "platform/FileIcons.h"

namespace vk {

class TQtFileIcons : public TFixedFileIcons {
public:
  std::string IconKey(const std::string& fileName) override;
  void IconImages(const std::string& key, TBitmap& small, TBitmap& large) override;

private:
  QFileIconProvider FProvider;
};

}  // namespace vk
