#include "platform/Pictures.h"

#include "platform/FilePaths.h"
#include "platform/Streams.h"

namespace vk {

void TPicture::LoadFromFile(const std::string& fileName) {
  std::string ext = LowerCase(ExtractFileExt(fileName));
  void (*read)(const std::string&, TBitmap&) = nullptr;
  if (ext == ".bmp") read = ReadBmp;
  else if (ext == ".jpg" || ext == ".jpeg") read = ReadJpeg;
  else throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", ext.empty() ? "" : ext.c_str() + 1));
  TBitmap loaded;
  read(LoadBytesFromFile(fileName), loaded);
  FBitmap.Assign(loaded);
  Changed();
}

void TPicture::Assign(const TPersistent& source) {
  if (const auto* picture = dynamic_cast<const TPicture*>(&source)) {
    if (picture == this) return;
    FBitmap.Assign(picture->FBitmap);
  } else if (const auto* bitmap = dynamic_cast<const TBitmap*>(&source)) {
    FBitmap.Assign(*bitmap);
  } else {
    TPersistent::Assign(source);
    return;
  }
  Changed();
}

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

}  // namespace vk
