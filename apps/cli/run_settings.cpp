#include "apps/cli/run_settings.h"

#include "apps/cli/set_option.h"
#include "apps/cli/text_file.h"
#include "apps/shared/descriptor_json.h"
#include "apps/shared/preset_file.h"
#include "apps/shared/settings_descriptor.h"

namespace corvanthe::cli {

bool settings_from(const std::string& from, const std::vector<std::string>& sets, SunSettings& settings,
                   ThumbnailPort* thumbnails, std::string& error) {
    initialise(settings);
    if (!from.empty() && !apps::read_preset_file(from, settings, error, thumbnails)) return false;
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
        if (!apps::read_preset_file(preset, settings, error)) return false;
        descriptor = apps::settings_descriptor(settings);
    }
    if (!play.empty()) {
        std::string json;
        if (!read_text_file(play, kDescriptorFileMaxBytes, json, error)) return false;
        if (!apps::descriptor_from_json(json, descriptor, error)) {
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
