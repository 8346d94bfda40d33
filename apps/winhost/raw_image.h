#pragma once
// Raw pixel files: the document of a host as plain bytes, so that two hosts on two
// systems can be handed the same picture and their results compared byte for byte.
//
//   "CVRW", width (u32), height (u32), depth (u8: 8, 16 or 32), colour planes (u8: 1
//   or 3), transparency plane (u8: 0 or 1), mask (u8: 0 or 1), then the rows of
//   interleaved samples (16-bit samples 0..32768 and 32-bit floats, little-endian),
//   then, with a mask, width × height selection bytes.
//
// Integers are little-endian; every machine the plug-in is built for is.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hosting/document.h"

namespace corvanthe::winhost {

std::vector<uint8_t> encode_raw_image(const hosting::Document& document);
// The document, or nothing when the bytes are not a whole, consistent raw image.
std::optional<hosting::Document> decode_raw_image(const std::vector<uint8_t>& bytes);

// Whole files; false or nothing when they cannot be read or written.
std::optional<std::vector<uint8_t>> read_file(const std::string& path);
bool write_file(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace corvanthe::winhost
