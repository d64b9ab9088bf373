#pragma once
// Encodes a painted image as a baseline JPEG file through libjpeg.

#include <filesystem>

class QImage;

namespace vk::tools {

// Writes the image in full-resolution colour (no chroma subsampling, so that
// thin coloured lines and small text stay sharp). The file appears complete
// or not at all: it is written beside the target and renamed over it. Throws
// std::runtime_error when the file cannot be written.
void WriteJpeg(const QImage& image, const std::filesystem::path& path);

}  // namespace vk::tools
