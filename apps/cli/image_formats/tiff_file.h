#pragma once
// TIFF files through libtiff: 8- and 16-bit integer and 32-bit float samples, grey or
// RGB with an alpha extra sample, in strips or tiles, one plane or separate planes.
#include <string>

#include "hosting/document.h"

namespace corvanthe::cli {

// Reads the first image of the file; 16-bit samples are mapped onto the host's
// 0..32768, the first extra sample becomes the alpha plane (kept as stored, whether
// the file says it is associated or not), the ICC profile is kept. Kinds it cannot
// keep (palette, CMYK, YCbCr, other sample sizes) are refused with the reason.
bool read_tiff_file(const std::string& path, hosting::Document& doc, std::string& error);

// Writes the document at its depth, one plane of interleaved samples in deflated
// strips, alpha marked unassociated. On failure returns false with the reason.
bool write_tiff_file(const std::string& path, const hosting::Document& doc, std::string& error);

}  // namespace corvanthe::cli
