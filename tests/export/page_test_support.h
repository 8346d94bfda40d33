#pragma once
// Shared by the page tests: a private folder, preset files with a thumbnail of one
// colour, reading pictures back and asking exiftool about them.
#include <filesystem>
#include <string>

#include "layers/layer_store.h"
#include "settings/sun_settings.h"

namespace corvanthe::page_test {

std::string read_file(const std::filesystem::path& path);
int count(const std::string& text, const std::string& piece);

// A version-40 settings file whose 128 x 128 thumbnail is all (r, g, b).
void write_preset(const std::filesystem::path& path, const SunSettings& settings, uint8_t r, uint8_t g, uint8_t b);

// The JPEG file decoded; null when it cannot be.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    PixelValue centre{};  // 0..255
};
bool decode_picture(const std::filesystem::path& path, DecodedPicture& out);

// exiftool's value of one tag (-s3 output), or "" when exiftool is not installed.
bool have_exiftool();
std::string exif_tag(const std::filesystem::path& path, const std::string& tag);

// Today (UTC) as exiftool prints an IPTC date: "YYYY:MM:DD".
std::string today_exif_date();

}  // namespace corvanthe::page_test
