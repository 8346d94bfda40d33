#include "host/selectors.h"

#include <algorithm>
#include <ctime>

#include "host/host_rects.h"
#include "host/kept_blocks.h"
#include "host/memory_dot_calls.h"
#include "host/plugin_state.h"
#include "host/scripting.h"
#include "host/work_buffers.h"
#include "platform/c_random.h"
#include "settings/sun_settings.h"
#include "ui/port.h"

namespace corvanthe {
namespace {

constexpr int64_t kNegotiatedSide = 256;

// The plug-in keeps its own memory: it asks the host for two tile-sized copies of the
// planes (and the mask) at most.
void lower_max_space(sdk::FilterRecord& record, const sdk::VRect& filter_rect) {
    const int64_t w = std::clamp<int64_t>(width_of(filter_rect), 0, kNegotiatedSide);
    const int64_t h = std::clamp<int64_t>(height_of(filter_rect), 0, kNegotiatedSide);
    const int64_t planes = std::max<int64_t>(record.planes, 0) + (record.maskData ? 1 : 0);
    const int64_t wanted = 2 * planes * w * h;
    if (record.maxSpace > wanted) record.maxSpace = static_cast<int32_t>(wanted);
}

}  // namespace

void show_about(HostContext& context) {
    ui::port().show_message(context.owner_window, {"ABOUTBOX", "About", ""});
}

void run_parameters(HostContext& context) {
    if (const int16_t code = allocate_kept_blocks(context)) {
        set_result(context, code);
        return;
    }
    context.state->show_dialog = 1;
    context.state->parameters_ran = 1;
}

void run_prepare(HostContext& context) {
    const int16_t code = kept_blocks_usable(context) ? lock_kept_blocks(context) : allocate_kept_blocks(context);
    if (code) {
        set_result(context, code);
        return;
    }
    sdk::FilterRecord& record = *context.record;
    SunSettings& s = *context.settings;
    PluginState& state = *context.state;
    const sdk::VRect filter_rect = get_rect(record, HostRect::kFilter);

    record.bufferSpace = 0;
    lower_max_space(record, filter_rect);
    initialise(s);

    state.filter_rect = filter_rect;
    size_work_buffers(state, filter_rect);
    s.half_width = width_of(filter_rect) / 2;
    s.half_height = height_of(filter_rect) / 2;
    clear_dialog_state(state);
    process_random().seed(static_cast<uint32_t>(std::time(nullptr)));
}

void run_continue(HostContext& context) { clear_host_rects(*context.record); }

void run_finish(HostContext& context) {
    // Locked first: the descriptor is written from the settings record.
    if (const int16_t code = lock_kept_blocks(context)) {
        set_result(context, code);
        return;
    }
    write_descriptor(context);
    end_run(context);
}

void end_run(HostContext& context) {
    save_memory_dot_map();
    release_work_buffers(*context.state);
}

}  // namespace corvanthe
