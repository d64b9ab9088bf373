// Draws the pictures the IDE ships in its "image" folder and writes them as
// JPEG files: one for every picture the part table names, the picture for
// parts without one of their own, and the about box's emblem. Run by the build with the folder to write into.

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include <QtGui/QGuiApplication>

#include "services/SharedTables.h"
#include "tools/JpegFile.h"
#include "tools/PartPictures.h"

namespace {

using TPictureParts = std::pair<std::string, std::vector<const vk::TMcuRow*>>;

// Every picture name of the table, in table order, with the rows naming it;
// a part listed twice is shown once.
std::vector<TPictureParts> PicturesOfTable() {
  std::vector<TPictureParts> pictures;
  for (const vk::TMcuRow& row : vk::McuTable) {
    auto picture = std::find_if(pictures.begin(), pictures.end(),
                                [&](const TPictureParts& p) { return p.first == row.Picture; });
    if (picture == pictures.end()) picture = pictures.insert(pictures.end(), {row.Picture, {}});
    auto& parts = picture->second;
    if (std::none_of(parts.begin(), parts.end(), [&](const vk::TMcuRow* p) { return std::string(p->Name) == row.Name; }))
      parts.push_back(&row);
  }
  return pictures;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_part_pictures <image folder>\n";
    return 2;
  }
  // Painting text needs a GUI application but no display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  try {
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const auto& [name, parts] : PicturesOfTable())
      if (name != vk::tools::NoPictureName) vk::tools::WriteJpeg(vk::tools::DrawPartPicture(name, parts), folder / name);
    vk::tools::WriteJpeg(vk::tools::DrawNoPicture(), folder / vk::tools::NoPictureName);
    vk::tools::WriteJpeg(vk::tools::DrawAboutEmblem(), folder / vk::tools::AboutPictureName);
  } catch (const std::exception& error) {
    std::cerr << "make_part_pictures: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
