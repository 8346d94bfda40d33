#pragma once
// Settings files (.q4q): a versioned sequence of big-endian ints holding one
// settings record and, from version 40, a JPEG thumbnail. Any version from 1 to 40
// is read (old values are upgraded); version 40 is written.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/files.h"
#include "settings/sun_settings.h"
#include "settings/thumbnail_port.h"

namespace corvanthe {

constexpr int32_t kSettingsFileVersion = 40;
constexpr int32_t kThumbnailMaxSide = 128;
constexpr int32_t kThumbnailMaxBytes = 49152;
constexpr int32_t kThumbnailQuality = 80;

enum class SettingsReadMode {
    Load = 0,           // values into the record, thumbnail shown
    ThumbnailOnly = 1,  // values passed over, only the thumbnail shown
};

struct SettingsReadResult {
    int16_t error = 0;  // FileResult
    bool thumbnail_shown = false;
};

// The thumbnail block as a file holds it (all 0 when there is none, also before
// version 40); the sides clamped to 0..128 as readers take them.
struct ThumbnailBlock {
    int32_t kind = 0;  // 0 none, 1 JPEG; readers pass over other kinds
    int32_t width = 0;
    int32_t height = 0;
    int32_t byte_count = 0;
};

// What a settings file holds beside its values: its version and its thumbnail block.
struct SettingsFileLayout {
    int16_t error = 0;  // kFileCannotOpen; kFileReadError when it ends inside its values or thumbnail
    int32_t version = 0;
    ThumbnailBlock thumbnail;
};

// Goes through a settings file without storing anything.
SettingsFileLayout settings_file_layout(const std::string& path);
// The same for a file's content held in memory (never kFileCannotOpen).
SettingsFileLayout settings_file_layout(std::span<const uint8_t> bytes);

// Reads a settings file. A file that cannot be opened leaves the record alone
// (kFileCannotOpen); one that ends early keeps the values read up to its end. The
// thumbnail goes to `thumbnails` when given and able to show it.
SettingsReadResult read_settings_file(const std::string& path, SettingsReadMode mode, SunSettings& settings,
                                      ThumbnailPort* thumbnails);
// The same for a file's content held in memory, read exactly as the file would be.
SettingsReadResult read_settings_file(std::span<const uint8_t> bytes, SettingsReadMode mode, SunSettings& settings,
                                      ThumbnailPort* thumbnails);

// Writes version 40 with the port's thumbnail (none without a port). The old file
// stays as it was unless the whole new one was written.
int16_t write_settings_file(const std::string& path, const SunSettings& settings, ThumbnailPort* thumbnails);
// The bytes write_settings_file puts in the file.
std::vector<uint8_t> settings_file_bytes(const SunSettings& settings, ThumbnailPort* thumbnails);

// The dialog's Load: the defaults, then the file over them (mode 0). A file that
// cannot be opened leaves the record as it was.
SettingsReadResult load_settings_file(const std::string& path, SunSettings& settings, ThumbnailPort* thumbnails);

// The name the Save chooser offers: the settings name cut at its last ".".
std::string save_name_of(const SunSettings& settings);

// Scaled floats as files hold them: value × factor cut toward zero, where a float
// that stands for a whole multiple within its own precision counts as that multiple.
int32_t scaled_to_file(float value, double factor);

}  // namespace corvanthe
