#include "host/render_run.h"

#include "host/host_queries.h"
#include "host/host_rects.h"
#include "host/plugin_state.h"
#include "host/render_call.h"
#include "host/tile_request.h"
#include "settings/sun_settings.h"

namespace corvanthe {
namespace {

// What a render may change outside the settings snapshot.
struct RenderContext {
    sdk::VRect in_rect;
    sdk::VRect out_rect;
    sdk::VRect mask_rect;
    int32_t scale_divisor;
    int32_t preview_offset_x;
    int32_t preview_offset_y;
    int32_t render_mode;
    sdk::VRect render_rect;
};

RenderContext save(const sdk::FilterRecord& record, const SunSettings& s, const PluginState& state) {
    return {get_rect(record, HostRect::kIn), get_rect(record, HostRect::kOut), get_rect(record, HostRect::kMask),
            s.scale_divisor, s.preview_offset_x, s.preview_offset_y, s.render_mode, state.render_rect};
}

void restore(const RenderContext& saved, sdk::FilterRecord& record, SunSettings& s, PluginState& state) {
    state.render_rect = saved.render_rect;
    set_rect(record, HostRect::kIn, saved.in_rect);
    set_rect(record, HostRect::kOut, saved.out_rect);
    set_rect(record, HostRect::kMask, saved.mask_rect);
    s.scale_divisor = saved.scale_divisor;
    s.preview_offset_x = saved.preview_offset_x;
    s.preview_offset_y = saved.preview_offset_y;
    s.render_mode = saved.render_mode;
}

void full_size(SunSettings& s) {
    s.scale_divisor = 1;
    s.preview_offset_x = 0;
    s.preview_offset_y = 0;
}

}  // namespace

void render_run(HostContext& context, int32_t mode) {
    sdk::FilterRecord& record = *context.record;
    SunSettings& s = *context.settings;
    PluginState& state = *context.state;
    if (mode != kRenderHostImage && mode != kRenderPreview && mode != kRenderLayerStore) return;

    s.render_mode = mode;
    const RenderContext saved = save(record, s, state);
    SunSettings snapshot{};
    take_snapshot(s, snapshot);

    switch (mode) {
        case kRenderHostImage:
            state.render_rect = get_rect(record, HostRect::kFilter);
            set_rect(record, HostRect::kIn, state.render_rect);
            set_rect(record, HostRect::kOut, state.render_rect);
            if (have_mask(record)) set_rect(record, HostRect::kMask, state.render_rect);
            set_request_parameters(record, 1);
            if (state.work_block) state.work_block->layer_target = nullptr;
            full_size(s);
            break;
        case kRenderPreview:
            state.render_rect = state.preview_rect;
            request_tile(context, state.render_rect);
            break;
        default:
            state.render_rect = state.filter_rect;
            full_size(s);
            break;
    }

    render_sun(context, state.render_rect);

    restore(saved, record, s, state);
    restore_snapshot(snapshot, s);
}

}  // namespace corvanthe
