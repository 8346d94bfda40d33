#pragma once
// JPEG files through libjpeg-turbo: 8-bit grey or RGB.
#include <string>

#include "hosting/document.h"

namespace corvanthe::cli {

// Reads a grey or colour (YCbCr or RGB) file, with its ICC profile; CMYK files are
// refused. A file that ends early, or whose compressed data ends before the picture
// does, is a failure, not a picture with a grey bottom.
bool read_jpeg_file(const std::string& path, hosting::Document& doc, std::string& error);

// Writes the colour planes of an 8-bit document at quality 98 (an alpha plane is left
// out: the format has none), with its ICC profile.
bool write_jpeg_file(const std::string& path, const hosting::Document& doc, std::string& error);

}  // namespace corvanthe::cli
