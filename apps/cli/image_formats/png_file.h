#pragma once
// PNG files (libpng to read, our own chunk writer and parallel deflate to write).
#include <string>

#include "hosting/document.h"

namespace corvanthe::cli {

// Reads every kind of PNG: palettes become RGB (with alpha from their transparency
// table), 1-, 2- and 4-bit grey becomes 8-bit, interlaced files are read whole; 16-bit
// samples are mapped onto the host's 0..32768. The iCCP profile is kept. On failure
// returns false with the reason.
bool read_png_file(const std::string& path, hosting::Document& doc, std::string& error);

// Writes an 8- or 16-bit document (grey or RGB, alpha kept unassociated) with `threads`
// compressing bands of rows side by side; the bytes do not depend on `threads`. On
// failure returns false with the reason; the file may then be incomplete.
bool write_png_file(const std::string& path, const hosting::Document& doc, int threads, std::string& error);

}  // namespace corvanthe::cli
