#pragma once
// Writes an RGBA image as a PNG file (8 bits a channel, colour type 6), with stored (uncompressed)
// deflate blocks, so it needs no compression library and gives the same bytes everywhere. For
// tests and tools that want to look at a canvas or a picture.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/canvas.h"

namespace corvanthe::ui {

std::vector<uint8_t> encode_png(const RgbaImage& image);
// False when the file cannot be written completely.
bool write_png(const RgbaImage& image, const std::string& path);

}  // namespace corvanthe::ui
