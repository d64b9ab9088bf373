#pragma once
// An image list's picture as Qt shows it in buttons and views.

#include <QtGui/QIcon>

#include "platform/ImageList.h"

namespace vk {

// The image of the list at the index as an icon (none for a missing list or
// index).
QIcon ImageListIcon(const TImageList* images, int index);

}  // namespace vk
