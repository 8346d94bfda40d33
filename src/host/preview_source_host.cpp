#include "host/preview_source_host.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "host/host_queries.h"
#include "host/host_rects.h"
#include "host/plugin_state.h"
#include "host/render_run.h"
#include "host/tile_request.h"
#include "sdk/display.h"
#include "settings/sun_settings.h"

namespace corvanthe {
namespace {

// The display service is given the 8-bit mode of a deep image mode; other modes as they are.
struct ModePair {
    int16_t host;
    int16_t shown;
};
constexpr ModePair kDisplayModes[] = {
    {sdk::kModeGray16, sdk::kModeGrayScale},
    {sdk::kModeGray32, sdk::kModeGrayScale},
    {sdk::kModeRGB48, sdk::kModeRGBColor},
    {sdk::kModeRGB96, sdk::kModeRGBColor},
    {sdk::kModeLab48, sdk::kModeLabColor},
    {sdk::kModeCMYK64, sdk::kModeCMYKColor},
    {sdk::kModeDeepMultichannel, sdk::kModeMultichannel},
    {sdk::kModeDuotone16, sdk::kModeDuotone},
};

bool usable(const HostContext& context) {
    return context.record && context.settings && context.state && context.state->work_block;
}

int32_t scaled_up(int32_t length, int32_t divisor) {
    return int32_t((int64_t(length) + divisor - 1) / divisor);
}

// Gives the picture its size and zeroed planes (none for an empty area). Returns 0, or -108
// when the planes cannot be had.
int16_t size_picture(const sdk::FilterRecord& record, const ui::Rect& visible, int32_t divisor,
                     ui::PreviewPicture& picture) {
    picture = {};
    if (visible.width() <= 0 || visible.height() <= 0) return 0;
    picture.width = scaled_up(visible.width(), divisor);
    picture.height = scaled_up(visible.height(), divisor);
    picture.planes = is_grey(record) ? 1 : 3;
    try {
        picture.planar.assign(size_t(picture.width) * size_t(picture.height) * size_t(picture.planes), 0);
    } catch (const std::bad_alloc&) {
        picture = {};
        return sdk::kMemFullErr;
    }
    return 0;
}

// The preview's place in the settings record and the plug-in state while it is read: the scale
// divisor, the visible area's corner as the preview offsets, and the picture's pixels as the
// preview rectangle. All of it is put back afterwards, with the render mode the render leaves.
class PreviewView {
public:
    PreviewView(HostContext& context, const ui::Rect& visible, int32_t divisor, const ui::PreviewPicture& picture)
        : settings_(*context.settings),
          state_(*context.state),
          divisor_(settings_.scale_divisor),
          offset_x_(settings_.preview_offset_x),
          offset_y_(settings_.preview_offset_y),
          render_mode_(settings_.render_mode),
          preview_rect_(state_.preview_rect) {
        settings_.scale_divisor = divisor;
        settings_.preview_offset_x = visible.left;
        settings_.preview_offset_y = visible.top;
        state_.preview_rect = {0, 0, picture.height, picture.width};
    }
    ~PreviewView() {
        settings_.scale_divisor = divisor_;
        settings_.preview_offset_x = offset_x_;
        settings_.preview_offset_y = offset_y_;
        settings_.render_mode = render_mode_;
        state_.preview_rect = preview_rect_;
    }
    PreviewView(const PreviewView&) = delete;
    PreviewView& operator=(const PreviewView&) = delete;

private:
    SunSettings& settings_;
    PluginState& state_;
    int32_t divisor_, offset_x_, offset_y_, render_mode_;
    sdk::VRect preview_rect_;
};

// One host sample as an 8-bit value: 8-bit copied; 16-bit (0..32768) × 255 / 32768 rounded
// down; floats held to 0..1, × 255 and truncated.
uint8_t byte_of(HostDepth depth, const uint8_t* at) {
    if (depth == HostDepth::k8) return *at;
    if (depth == HostDepth::k16) {
        uint16_t v;
        std::memcpy(&v, at, sizeof v);
        return uint8_t(std::min<uint64_t>((uint64_t(v) * 8556510725ULL) >> 40, 255));
    }
    float v;
    std::memcpy(&v, at, sizeof v);
    if (!(v > 0.0f)) v = 0.0f;  // also NaN
    if (v > 1.0f) v = 1.0f;
    return uint8_t(v * 255.0f);
}

// Copies plane p of the host's one-plane input buffer into the picture.
void copy_plane(const sdk::FilterRecord& record, HostDepth depth, int plane, ui::PreviewPicture& picture) {
    const auto* in = static_cast<const uint8_t*>(record.inData);
    if (!in) return;
    const int bytes = sample_bytes(depth);
    uint8_t* to = picture.planar.data() + size_t(plane) * size_t(picture.width) * size_t(picture.height);
    for (int32_t y = 0; y < picture.height; ++y) {
        const uint8_t* row = in + int64_t(y) * record.inRowBytes;
        for (int32_t x = 0; x < picture.width; ++x) *to++ = byte_of(depth, row + int64_t(x) * bytes);
    }
}

ui::RgbaImage rgba_of(const ui::PreviewPicture& picture) {
    ui::RgbaImage image;
    image.width = picture.width;
    image.height = picture.height;
    const size_t count = size_t(picture.width) * size_t(picture.height);
    image.pixels.resize(count * 4);
    const size_t green = picture.planes < 3 ? 0 : count, blue = picture.planes < 3 ? 0 : 2 * count;
    for (size_t i = 0; i < count; ++i) {
        image.pixels[4 * i] = picture.planar[i];
        image.pixels[4 * i + 1] = picture.planar[green + i];
        image.pixels[4 * i + 2] = picture.planar[blue + i];
        image.pixels[4 * i + 3] = 255;
    }
    return image;
}

bool complete(const ui::PreviewPicture& p) {
    return p.width > 0 && p.height > 0 && (p.planes == 1 || p.planes == 3) &&
           p.planar.size() >= size_t(p.width) * size_t(p.height) * size_t(p.planes);
}

int16_t display_mode(int16_t host_mode) {
    for (const ModePair& pair : kDisplayModes)
        if (pair.host == host_mode) return pair.shown;
    return host_mode;
}

}  // namespace

int16_t HostPreviewSource::render(const ui::Rect& visible, int32_t divisor, ui::PreviewPicture& picture) {
    if (!usable(context_)) return sdk::kFilterBadParameters;
    const int32_t z = std::max(divisor, 1);
    if (const int16_t code = size_picture(*context_.record, visible, z, picture)) return code;
    if (picture.planar.empty()) return 0;

    PreviewView view(context_, visible, z, picture);
    struct Target {
        WorkBlock& work;
        ~Target() { work.preview_target = nullptr; }
    } target{*context_.state->work_block};
    target.work.preview_target = &picture;
    render_run(context_, kRenderPreview);
    return result_of(context_);
}

int16_t HostPreviewSource::read_plain(const ui::Rect& visible, int32_t divisor, ui::PreviewPicture& picture) {
    if (!usable(context_)) return sdk::kFilterBadParameters;
    sdk::FilterRecord& record = *context_.record;
    const int32_t z = std::max(divisor, 1);
    if (const int16_t code = size_picture(record, visible, z, picture)) return code;
    const HostDepth depth = depth_class(record);
    if (picture.planar.empty() || depth == HostDepth::kNone) return 0;

    const sdk::VRect in = get_rect(record, HostRect::kIn), out = get_rect(record, HostRect::kOut),
                     mask = get_rect(record, HostRect::kMask);
    int16_t code = 0;
    {
        PreviewView view(context_, visible, z, picture);
        const sdk::VRect filter = get_rect(record, HostRect::kFilter);
        const int32_t top = filter.top / z, left = filter.left / z;
        request_tile(context_, {top, left, top + picture.height, left + picture.width});
        set_rect(record, HostRect::kOut, {});
        for (int plane = 0; plane < picture.planes && code == 0; ++plane) {
            record.inLoPlane = record.inHiPlane = int16_t(plane);
            code = advance(context_);
            if (code == 0) copy_plane(record, depth, plane, picture);
        }
    }
    set_rect(record, HostRect::kIn, in);
    set_rect(record, HostRect::kOut, out);
    set_rect(record, HostRect::kMask, mask);
    return code;
}

void HostPreviewSource::show(const ui::PreviewPicture& picture, ui::Point at, ui::Canvas& canvas) {
    if (!complete(picture)) return;
    const sdk::FilterRecord* record = context_.record;
    if (record && has_display_pixels(*record)) {
        sdk::PSPixelMap map{};
        map.version = 1;
        map.bounds = {0, 0, picture.height, picture.width};
        map.imageMode = display_mode(record->imageMode);
        map.rowBytes = picture.width;
        map.colBytes = 1;
        map.planeBytes = picture.width * picture.height;
        // The host only reads the pixels.
        map.baseAddr = const_cast<uint8_t*>(picture.planar.data());
        if (record->displayPixels(&map, &map.bounds, at.y, at.x, canvas.platform_context()) == 0) return;
    }
    canvas.image(at, rgba_of(picture));
}

}  // namespace corvanthe
