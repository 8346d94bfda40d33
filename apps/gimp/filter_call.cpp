#include "apps/gimp/filter_call.h"

#include "apps/gimp/settings_arguments.h"
#include "apps/shared/filter_failure.h"
#include "hosting/descriptor_store.h"
#include "hosting/host.h"

namespace corvanthe::gimp {
namespace {

// Documents beyond this size need the 32-bit coordinates; smaller ones get the record
// with its flag clear, as a current host offers it.
constexpr int32_t kLargest16BitSide = 30000;

FilterOutcome failed(std::string message) { return {false, std::move(message)}; }

}  // namespace

FilterOutcome run_filter_on(hosting::Document& document, const FilterRequest& request, sdk::PluginMainProc plugin) {
    hosting::Descriptor descriptor;
    std::string error;
    if (request.source == SettingsSource::arguments &&
        !descriptor_from_arguments(request.settings_path, request.descriptor_json, descriptor, error))
        return failed(error);

    hosting::HostOptions options;
    options.coordinates = document.width > kLargest16BitSide || document.height > kLargest16BitSide
                              ? hosting::Coordinates::big
                              : hosting::Coordinates::big_flag_clear;
    options.window = request.window;
    options.on_progress = request.on_progress;
    hosting::Host host(document, options);
    // Without a descriptor the plug-in takes its cached settings; the play mode tells it
    // whether to open its dialog over them.
    hosting::DescriptorStore store(host.handles());
    const bool dialog = request.source == SettingsSource::dialog;
    host.options().descriptors = store.seam(dialog ? sdk::plugInDialogDisplay : sdk::plugInDialogSilent);
    if (request.source == SettingsSource::arguments) {
        const sdk::Handle handle = store.make_handle(descriptor);
        if (handle == nullptr) return failed("out of memory for the settings");
        host.set_descriptor(handle);
    }
    const hosting::RunResult run = host.run_filter(plugin, dialog);
    if (run.result != 0) return failed(apps::filter_failure(host, run.result));
    document = std::move(host.document());
    return {true, {}};
}

}  // namespace corvanthe::gimp
