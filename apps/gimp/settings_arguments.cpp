#include "apps/gimp/settings_arguments.h"

#include "apps/shared/descriptor_json.h"
#include "apps/shared/preset_file.h"
#include "apps/shared/settings_descriptor.h"

namespace corvanthe::gimp {

bool descriptor_from_arguments(const std::string& settings_path, std::string_view descriptor_json,
                               hosting::Descriptor& descriptor, std::string& error) {
    hosting::Descriptor layered;
    if (!settings_path.empty()) {
        SunSettings settings{};
        if (!apps::read_preset_file(settings_path, settings, error)) return false;
        layered = apps::settings_descriptor(settings);
    }
    if (!descriptor_json.empty()) {
        hosting::Descriptor over;
        if (!apps::descriptor_from_json(descriptor_json, over, error)) {
            error = "the descriptor text is not a recorded descriptor in JSON: " + error;
            return false;
        }
        for (const hosting::DescriptorItem& item : over.items) layered.put(item);
    }
    descriptor = std::move(layered);
    return true;
}

}  // namespace corvanthe::gimp
