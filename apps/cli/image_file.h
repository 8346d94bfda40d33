#pragma once
// Image files in and out: PNG, TIFF, JPEG and OpenEXR, with 8- and 16-bit integers and
// 32-bit floats, grey or RGB, with or without alpha, kept as the host's document. 16-bit files
// run 0..65535, the host's 16-bit samples 0..32768; alpha stays unassociated, as the
// host keeps it.
#include <cstdint>
#include <string>

#include "apps/shared/samples16.h"
#include "hosting/document.h"

namespace corvanthe::cli {

// Reads the first image of a PNG, TIFF, JPEG or OpenEXR file, known by its first bytes. On
// failure returns false with a message.
bool read_image_file(const std::string& path, hosting::Document& doc, std::string& error);

// True when the file name's extension names a format that can be written.
bool can_write_image_file(const std::string& path, std::string& error);

// What a file of this name keeps of a document: its depth and whether the alpha plane.
struct StoredForm {
    int depth = 8;
    bool transparency = false;
};
StoredForm stored_form(const std::string& path, const hosting::Document& doc);

// True when a file of this name keeps 32-bit floats (TIFF, OpenEXR); otherwise false with a
// message that names the formats that do.
bool can_hold_floats(const std::string& path, std::string& error);

// Writes the document whole or not at all: into a temporary file in the same folder,
// renamed over the target only when complete. The format follows the extension (.png,
// .tif/.tiff, .jpg/.jpeg, .exr in any case), in the form stored_form names: the depth is
// kept where the format allows it; otherwise the samples become 8 bits (floats to PNG,
// anything but 8 bits to JPEG) or floats (anything to OpenEXR), and JPEG leaves out the
// alpha plane.
bool write_image_file(const std::string& path, const hosting::Document& doc, std::string& error);

// The 16-bit sample conversions between files and the host.
using apps::file16_from_host;
using apps::host16_from_file;
using apps::host16_samples_from_file;

}  // namespace corvanthe::cli
