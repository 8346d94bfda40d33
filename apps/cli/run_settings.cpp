#include "apps/cli/run_settings.h"

#include "apps/cli/descriptor_json.h"
#include "apps/cli/set_option.h"
#include "apps/cli/settings_descriptor.h"
#include "apps/cli/text_file.h"
#include "settings/settings_file.h"

namespace corvanthe::cli {

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

bool settings_from(const std::string& from, const std::vector<std::string>& sets, SunSettings& settings,
                   ThumbnailPort* thumbnails, std::string& error) {
    initialise(settings);
    if (!from.empty() && !read_preset_file(from, settings, error, thumbnails)) return false;
    for (const std::string& text : sets) {
        SetOption option;
        if (!parse_set_option(text, option, error)) return false;
        apply_set_option(settings, option);
    }
    return true;
}

bool run_descriptor(const std::string& preset, const std::string& play, const std::vector<std::string>& sets,
                    hosting::Descriptor& descriptor, std::string& error) {
    descriptor = {};
    if (!preset.empty()) {
        SunSettings settings{};
        if (!read_preset_file(preset, settings, error)) return false;
        descriptor = settings_descriptor(settings);
    }
    if (!play.empty()) {
        std::string json;
        if (!read_text_file(play, kDescriptorFileMaxBytes, json, error)) return false;
        if (!descriptor_from_json(json, descriptor, error)) {
            error = "'" + play + "' is not a recorded descriptor: " + error;
            return false;
        }
    }
    for (const std::string& text : sets) {
        SetOption option;
        if (!parse_set_option(text, option, error)) return false;
        descriptor.put(descriptor_item(option));
    }
    return true;
}

}  // namespace corvanthe::cli
