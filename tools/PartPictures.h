#pragma once
// The pictures the IDE ships in its "image" folder: one per picture name of
// the part table (a package outline with the names and memory sizes of the
// parts that share it), the picture for parts without one of their own, and
// the about box's emblem.

#include <string>
#include <vector>

#include <QtGui/QImage>

#include "services/SharedTables.h"

namespace vk::tools {

// The part-picture viewer's picture box.
inline constexpr int PartPictureWidth = 649;
inline constexpr int PartPictureHeight = 513;

inline constexpr const char* NoPictureName = "NotFoundImage.jpg";
inline constexpr const char* AboutPictureName = "About.jpg";

// The parts are the table's rows that name the picture, each name once.
QImage DrawPartPicture(const std::string& pictureName, const std::vector<const TMcuRow*>& parts);
QImage DrawNoPicture();
QImage DrawAboutEmblem();

}  // namespace vk::tools
