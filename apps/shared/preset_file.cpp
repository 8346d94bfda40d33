#include "apps/shared/preset_file.h"

namespace corvanthe::apps {

bool read_preset_file(const std::string& path, SunSettings& settings, std::string& error,
                      ThumbnailPort* thumbnails, SettingsFileLayout* layout) {
    // Gone through once first, so that nothing of a file that is refused is taken.
    const SettingsFileLayout found = settings_file_layout(path);
    if (found.error == kFileOk && found.version > kSettingsFileVersion) {
        error = "'" + path + "' has the settings file version " + std::to_string(found.version) +
                "; versions 1.." + std::to_string(kSettingsFileVersion) + " are read";
        return false;
    }
    SettingsReadResult result{found.error, false};
    if (found.error == kFileOk) {
        initialise(settings);
        result = load_settings_file(path, settings, thumbnails);
    }
    if (result.error == kFileOk) {
        if (layout) *layout = found;
        return true;
    }
    error = result.error == kFileCannotOpen ? "cannot open settings file '" + path + "'"
                                            : "'" + path + "' is not a complete settings file";
    return false;
}

}  // namespace corvanthe::apps
