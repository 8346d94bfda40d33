#pragma once
// Documents changed before a run: --depth converts the samples, --mask turns a grey
// image into the selection.
#include <string>

#include "hosting/document.h"

namespace corvanthe::cli {

// The document at 8, 16 (0..32768) or 32 bits (float): samples scaled by the full
// values, rounded to the nearest integer, floats clamped to 0..1 first.
hosting::Document convert_depth(const hosting::Document& doc, int depth);

// The selection bytes (0..255) from a grey image without alpha of the document's size.
// False with a message otherwise.
bool selection_from_image(const hosting::Document& image, const hosting::Document& doc, std::vector<uint8_t>& mask,
                          std::string& error);

}  // namespace corvanthe::cli
