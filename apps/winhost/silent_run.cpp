#include "apps/winhost/silent_run.h"

#include <optional>
#include <span>
#include <vector>

#include "apps/winhost/raw_image.h"
#include "hosting/descriptor.h"
#include "hosting/descriptor_store.h"
#include "hosting/host.h"

namespace corvanthe::winhost {
namespace {

constexpr int16_t kUserCancelled = -128;

RunOutcome failed(std::string error) {
    RunOutcome outcome;
    outcome.error = std::move(error);
    return outcome;
}

std::optional<hosting::Descriptor> read_descriptor(const std::string& path) {
    if (path.empty()) return hosting::Descriptor{};
    const auto bytes = read_file(path);
    if (!bytes) return std::nullopt;
    return hosting::decode_descriptor(std::span<const uint8_t>(bytes->data(), bytes->size()));
}

}  // namespace

RunOutcome run_silent(sdk::PluginMainProc plugin, const SilentRun& run) {
    const auto image_bytes = read_file(run.image_in);
    if (!image_bytes) return failed("cannot read " + run.image_in);
    auto document = decode_raw_image(*image_bytes);
    if (!document) return failed(run.image_in + " is not a raw image");
    const auto descriptor = read_descriptor(run.descriptor_in);
    if (!descriptor) return failed(run.descriptor_in + " is not a descriptor");

    hosting::Host host(std::move(*document));
    hosting::DescriptorStore store(host.handles());
    host.options().descriptors = store.seam(run.dialog ? sdk::plugInDialogDisplay : sdk::plugInDialogSilent);
    host.options().display = run.display;
    const sdk::Handle handed = store.make_handle(*descriptor);
    if (!handed) return failed("out of memory for the descriptor");
    host.set_descriptor(handed);

    const hosting::RunResult result = host.run_filter(plugin, run.dialog);
    RunOutcome outcome;
    outcome.result = result.result;
    outcome.selector = result.selector;
    if (run.dialog && result.result == kUserCancelled) {
        outcome.completed = true;
        return outcome;
    }
    if (result.result != 0) {
        outcome.error = "the filter ended with result " + std::to_string(result.result) + " at selector " +
                        std::to_string(result.selector);
        return outcome;
    }
    if (!write_file(run.image_out, encode_raw_image(host.document()))) return failed("cannot write " + run.image_out);
    if (!run.descriptor_out.empty()) {
        const auto recorded = host.descriptor() ? store.read_handle(host.descriptor()) : std::nullopt;
        if (!recorded) return failed("the filter recorded no descriptor");
        if (!write_file(run.descriptor_out, hosting::encode_descriptor(*recorded)))
            return failed("cannot write " + run.descriptor_out);
    }
    outcome.completed = true;
    return outcome;
}

}  // namespace corvanthe::winhost
