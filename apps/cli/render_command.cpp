#include "apps/cli/render_command.h"

#include <cstdio>

#include "apps/cli/document_conversion.h"
#include "apps/cli/evening_sky.h"
#include "apps/cli/image_file.h"
#include "apps/cli/processor_limit.h"
#include "apps/cli/progress_bar.h"
#include "apps/cli/run_settings.h"
#include "apps/cli/text_file.h"
#include "apps/shared/descriptor_json.h"
#include "apps/shared/filter_failure.h"
#include "hosting/descriptor_store.h"
#include "hosting/host.h"

namespace corvanthe::cli {

namespace {

// Documents beyond this size need the 32-bit coordinates; smaller ones get the record
// with its flag clear, as a current host offers it.
constexpr int32_t kLargest16BitSide = 30000;

// What the written file holds of the document.
std::string describe(const std::string& path, const hosting::Document& doc) {
    const StoredForm form = stored_form(path, doc);
    std::string text = std::to_string(doc.width) + " x " + std::to_string(doc.height) + ", " +
                       std::to_string(form.depth) + "-bit " +
                       (doc.colour == hosting::ColourKind::grey ? "grey" : "RGB");
    return form.transparency ? text + " with alpha" : text;
}

}  // namespace

int fail(int code, const std::string& message) {
    std::fprintf(stderr, "corvanthe: %s\n", message.c_str());
    return code;
}

// The run of both commands: `render` replays the settings without the dialog; `edit` shows the
// dialog as an interactive host does, on a host without displayPixels and colour services,
// so that the plug-in draws its own preview and the dialog uses its own colour chooser.
int run_filter_command(const RenderOptions& options, sdk::PluginMainProc plugin, bool with_dialog) {
    std::string error;
    if (!can_write_image_file(options.output, error)) return fail(kExitUsage, error);

    hosting::Document doc;
    if (options.input.empty()) {
        doc = evening_sky();
    } else if (!read_image_file(options.input, doc, error)) {
        return fail(kExitUsage, error);
    }
    if (options.depth != 0) doc = convert_depth(doc, options.depth);
    if (doc.depth == 32 && !can_hold_floats(options.output, error)) return fail(kExitUsage, error);
    if (!options.mask.empty()) {
        hosting::Document mask_image;
        if (!read_image_file(options.mask, mask_image, error) ||
            !selection_from_image(mask_image, doc, doc.mask, error))
            return fail(kExitUsage, "mask '" + options.mask + "': " + error);
    }
    hosting::Descriptor descriptor;
    if (!options.last && !run_descriptor(options.preset, options.play, options.sets, descriptor, error))
        return fail(kExitUsage, error);

    if (options.threads > 0 && !limit_processors(options.threads)) {
        return fail(kExitUsage, "cannot limit the run to " + std::to_string(options.threads) + " processors");
    }

    hosting::HostOptions host_options;
    host_options.coordinates = doc.width > kLargest16BitSide || doc.height > kLargest16BitSide
                                   ? hosting::Coordinates::big
                                   : hosting::Coordinates::big_flag_clear;
    ProgressBar bar(!options.quiet && stderr_is_terminal());
    host_options.on_progress = [&bar](int32_t done, int32_t total) { bar.update(done, total); };

    hosting::Host host(std::move(doc), host_options);
    hosting::DescriptorStore store(host.handles());
    host.options().descriptors = store.seam(with_dialog ? sdk::plugInDialogDisplay : sdk::plugInDialogSilent);
    if (with_dialog) {
        host.options().services.display_pixels = false;
        host.options().services.color_services = false;
    }
    if (!options.last) {
        const sdk::Handle handle = store.make_handle(descriptor);
        if (handle == nullptr) return fail(kExitFilterFailed, "out of memory for the settings");
        host.set_descriptor(handle);
    }
    const hosting::RunResult run = host.run_filter(plugin, with_dialog);
    bar.finish();
    if (with_dialog && run.result == sdk::kUserCanceledErr)
        return fail(kExitFilterFailed, "the user cancelled; nothing was written");
    if (run.result != 0) {
        return fail(kExitFilterFailed, apps::filter_failure(host, run.result) + "; nothing was written");
    }
    std::string recorded;
    if (!options.record.empty()) {
        const std::optional<hosting::Descriptor> read = store.read_handle(host.descriptor());
        if (!read) return fail(kExitFilterFailed, "the filter recorded no settings; nothing was written");
        if (!apps::descriptor_to_json(*read, recorded, error)) return fail(kExitFilterFailed, error);
    }
    if (!write_image_file(options.output, host.document(), error)) return fail(kExitUsage, error);
    if (!options.record.empty() && !write_text_file(options.record, recorded, error)) return fail(kExitUsage, error);
    if (!options.quiet) {
        std::printf("wrote %s (%s)\n", options.output.c_str(), describe(options.output, host.document()).c_str());
    }
    return kExitSuccess;
}

int run_render(const RenderOptions& options, sdk::PluginMainProc plugin) {
    // The run replays settings as a host replays a recorded action, without the dialog.
    return run_filter_command(options, plugin, false);
}

int run_edit(RenderOptions options, sdk::PluginMainProc plugin) {
    // Without settings options no descriptor goes over: the dialog opens on the last settings.
    options.last = options.preset.empty() && options.play.empty() && options.sets.empty();
    return run_filter_command(options, plugin, true);
}

}  // namespace corvanthe::cli
