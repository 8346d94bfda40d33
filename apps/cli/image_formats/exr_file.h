#pragma once
// OpenEXR files through the OpenEXR library: half, float or unsigned-integer channels,
// grey as a Y channel or RGB, with or without an A channel, scan lines or tiles.
#include <cstddef>
#include <cstdint>
#include <string>

#include "hosting/document.h"

namespace corvanthe::cli {

// What the header of a single-part OpenEXR image says, read before the library opens
// the file; the sizes are checked against the file before anything is allocated.
struct ExrHeader {
    int32_t width = 0;
    int32_t height = 0;
    bool grey = false;          // a Y channel and no R, G, B
    bool alpha = false;         // an A channel
    double stored_bytes = 0;    // of every channel's samples
    double tile_bytes = 0;      // of one tile's samples; 0 for scan lines
    int32_t tile_width = 0;
    int32_t tile_height = 0;
    double ratio = 0;           // the most sample bytes one stored byte gives back; 0: no such bound
};

// Reads the header from the file's first `size` bytes; false with the reason when it is
// not a single-part image of Y or R, G and B channels (with A) at full resolution.
bool read_exr_header(const uint8_t* data, std::size_t size, ExrHeader& header, std::string& error);

// Reads the image as 32-bit floats; the colour, associated with alpha in the file, is
// brought back to the host's unassociated colour. On failure false with the reason.
bool read_exr_file(const std::string& path, hosting::Document& doc, std::string& error);

// Writes a 32-bit document as float channels (Y or R, G, B, and A; colour associated
// with alpha as the format keeps it), deflated. On failure false with the reason.
bool write_exr_file(const std::string& path, const hosting::Document& doc, std::string& error);

}  // namespace corvanthe::cli
