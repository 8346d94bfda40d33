#include "host/pool_render.h"

#include "host/host_image_destination.h"
#include "host/host_queries.h"
#include "host/host_rects.h"
#include "host/plugin_state.h"
#include "host/preview_destination.h"
#include "host/tile_request.h"
#include "layers/glue_store_destination.h"
#include "render/sun_render.h"
#include "settings/sun_settings.h"

namespace corvanthe {
namespace {

class HostProgress final : public RenderProgress {
public:
    explicit HostProgress(const HostContext& context) : context_(context) {}
    void report(int32_t finished, int32_t total) override { report_progress(context_, finished, total); }

private:
    const HostContext& context_;
};

int32_t depth_bits(HostDepth depth) {
    switch (depth) {
        case HostDepth::k8: return 8;
        case HostDepth::k16: return 16;
        default: return 32;
    }
}

int32_t depth_bits(PixelKind kind) {
    switch (kind) {
        case PixelKind::rgba8: return 8;
        case PixelKind::rgba16: return 16;
        default: return 32;
    }
}

GlueSetup glue_setup(const HostContext& context) {
    GlueSetup glue;
    glue.mode = context.settings->glue;
    glue.render_mode = context.settings->render_mode;
    glue.grey = is_grey(*context.record);
    glue.editable_transparency = has_transparency(*context.record);
    return glue;
}

void keep_failure(HostContext& context, int16_t code) {
    if (code != 0 && result_of(context) == 0) set_result(context, code);
}

// The full render into the document: the sun is centred on the filter rectangle, which
// the render rectangle is.
void render_into_host(HostContext& context, const sdk::VRect& rect) {
    const HostDepth depth = depth_class(*context.record);
    if (depth == HostDepth::kNone) return;
    GlueSetup glue = glue_setup(context);
    glue.float_destination = depth == HostDepth::k32;

    SunTarget target;
    target.rect = rect;
    target.image_width = width_of(rect);
    target.image_height = height_of(rect);
    target.origin_x = rect.left;
    target.origin_y = rect.top;
    target.depth_bits = depth_bits(depth);

    HostImageDestination destination(context);
    HostProgress progress(context);
    keep_failure(context, render_sun_pieces(*context.settings, target, glue, destination, &progress));
}

// The render for an exported picture, into the run's LayerStore at full size.
void render_into_store(HostContext& context, const sdk::VRect& rect, LayerStore& store) {
    GlueSetup glue = glue_setup(context);
    glue.float_destination = store.kind == PixelKind::rgba_float;

    SunTarget target;
    target.rect = rect;
    target.image_width = store.reference_width;
    target.image_height = store.reference_height;
    target.origin_x = rect.left;
    target.origin_y = rect.top;
    target.depth_bits = depth_bits(store.kind);

    StoreDestination destination(store);
    keep_failure(context, render_sun_pieces(*context.settings, target, glue, destination, nullptr));
}

// The dialog's preview: the whole filtered area's sun seen at 1/divisor from the preview
// offsets, glued over the host's pixels sampled at that rate, into the preview picture. The
// render rectangle holds the picture's pixels; the host is asked for them moved by the filter
// rectangle's corner at that scale.
void render_into_preview(HostContext& context, const sdk::VRect& rect, ui::PreviewPicture& picture) {
    const HostDepth depth = depth_class(*context.record);
    if (depth == HostDepth::kNone) return;
    const SunSettings& s = *context.settings;
    const sdk::VRect filter = get_rect(*context.record, HostRect::kFilter);
    const int32_t divisor = s.scale_divisor > 1 ? s.scale_divisor : 1;

    SunTarget target;
    target.rect = rect;
    target.image_width = width_of(filter);
    target.image_height = height_of(filter);
    target.scale_divisor = divisor;
    target.origin_x = rect.left;
    target.origin_y = rect.top;
    target.view_origin_x = s.preview_offset_x;
    target.view_origin_y = s.preview_offset_y;
    target.depth_bits = depth_bits(depth);

    PreviewDestination destination(context, {filter.top / divisor, filter.left / divisor}, picture);
    keep_failure(context, render_sun_pieces(s, target, glue_setup(context), destination, nullptr));
}

}  // namespace

void render_on_pool(HostContext& context, const sdk::VRect& render_rect) {
    if (!context.record || !context.settings || !context.state) return;
    if (width_of(render_rect) <= 0 || height_of(render_rect) <= 0) return;
    switch (context.settings->render_mode) {
        case 0:
            render_into_host(context, render_rect);
            break;
        case 2:
            if (WorkBlock* work = context.state->work_block; work && work->layer_target)
                render_into_store(context, render_rect, *work->layer_target);
            break;
        case 1:
            if (WorkBlock* work = context.state->work_block; work && work->preview_target)
                render_into_preview(context, render_rect, *work->preview_target);
            break;
        default:
            break;
    }
}

}  // namespace corvanthe
