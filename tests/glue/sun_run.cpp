#include "glue/sun_run.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "host/plugin_main.h"
#include "hosting/descriptor_store.h"
#include "layers/cell_buffer.h"
#include "layers/glue_write_back.h"
#include "render/render_prepare.h"
#include "render/sun_job.h"
#include "settings/parameter_table.h"

namespace corvanthe::testing {

hosting::Document test_picture(const DocumentShape& shape) {
    hosting::Document doc =
        hosting::make_document(shape.width, shape.height, shape.depth, shape.colour, shape.transparency);
    const double full = hosting::full_scale(shape.depth);
    for (int32_t y = 0; y < doc.height; ++y)
        for (int32_t x = 0; x < doc.width; ++x) {
            for (int p = 0; p < doc.colour_planes(); ++p) {
                // A ramp across, a ramp down, and a step every 32 pixels that differs per plane.
                const double ramp = double(x) / doc.width * 0.6 + double(y) / doc.height * 0.3;
                const double step = (((x >> 5) + (y >> 5) + p) % 3) * 0.05;
                double v = (ramp + step) * full;
                if (shape.depth == 32 && ((x + y) & 63) == 0) v = 1.3;  // float images may exceed one
                doc.set_sample(x, y, p, v);
            }
            if (shape.transparency)
                doc.set_sample(x, y, doc.colour_planes(), ((x * 3 + y) % 5) * 0.25 * full);
        }
    if (shape.mask) {
        doc.mask.resize(size_t(doc.width) * doc.height);
        for (int32_t y = 0; y < doc.height; ++y)
            for (int32_t x = 0; x < doc.width; ++x)
                doc.mask[size_t(y) * doc.width + x] = x < doc.width / 3 ? 0 : x < 2 * doc.width / 3 ? uint8_t(y) : 255;
    }
    return doc;
}

SunSettings settings_with_glue(int32_t glue) {
    SunSettings s{};
    initialise(s);
    s.glue = glue;
    return s;
}

hosting::RunResult silent_start(hosting::Host& host, int32_t glue) {
    return run_with_glue(host, glue, sdk::plugInDialogSilent);
}

hosting::RunResult run_with_glue(hosting::Host& host, int32_t glue, int16_t play_info) {
    hosting::DescriptorStore store(host.handles());
    host.options().descriptors = store.seam(play_info);
    host.set_descriptor(store.make_handle(
        hosting::Descriptor().put_enumerated(kGlueKey, kGlueEnum, enumerator_key(kGlueEnum, glue))));
    const hosting::RunResult run = host.run_filter(PluginMain);
    host.options().descriptors.reset();
    return run;
}

namespace {

DepthClass render_depth(int depth) {
    return depth == 8 ? DepthClass::Eight : depth == 16 ? DepthClass::Sixteen : DepthClass::Float;
}

// The host image access's conversions, restated: integer samples scaled by 255 or
// 32768 and truncated, kept inside 0..scale; floats as they are.
float load(const hosting::Document& doc, int32_t x, int32_t y, int plane) {
    const double v = doc.sample(x, y, plane);
    if (doc.depth == 32) return float(v);
    return float(v) / float(hosting::full_scale(doc.depth));
}

void store(hosting::Document& doc, int32_t x, int32_t y, int plane, float value) {
    if (doc.depth == 32) {
        doc.set_sample(x, y, plane, value);
        return;
    }
    const float scale = float(hosting::full_scale(doc.depth));
    float scaled = value * scale;
    if (!(scaled > 0.0f)) scaled = 0.0f;
    if (scaled > scale) scaled = scale;
    doc.set_sample(x, y, plane, double(scaled));
}

}  // namespace

hosting::Document expected_after_start(const hosting::Document& before, const SunSettings& settings) {
    hosting::Document after = before;
    const sdk::VRect rect = before.effective_filter_rect();
    const int32_t w = rect.right - rect.left, h = rect.bottom - rect.top;

    auto context = std::make_unique<RenderContext>();
    RenderRequest request;
    request.rect = {0, 0, w, h};
    request.image_width = w;
    request.image_height = h;
    request.depth = render_depth(before.depth);
    if (render_prepare(*context, settings, request) != 0) return after;

    std::vector<Cell> cells(size_t(w + 2) * size_t(h + 2));
    CellBuffer buffer;
    buffer.left = rect.left;
    buffer.top = rect.top;
    buffer.columns = w + 2;
    buffer.rows = h + 2;
    buffer.cells = cells.data();
    render_job_piece(*context, rect.left, rect.top, rect, buffer);

    GlueSetup glue;
    glue.mode = settings.glue;
    glue.float_destination = before.depth == 32;
    glue.grey = before.colour == hosting::ColourKind::grey;
    glue.editable_transparency = before.transparency;
    const int colour_planes = before.colour_planes();
    const sdk::VPoint shift = before.floating ? before.float_coord : sdk::VPoint{0, 0};
    for (int32_t y = rect.top; y < rect.bottom; ++y)
        for (int32_t x = rect.left; x < rect.right; ++x) {
            const int32_t dx = x + shift.h, dy = y + shift.v;
            const Cell& c = *buffer.cell(x, y);
            const PixelValue sun{c.colour[0], c.colour[1], c.colour[2], c.colour[3]};
            PixelValue image;
            image.red = load(before, dx, dy, 0);
            image.green = colour_planes == 1 ? image.red : load(before, dx, dy, 1);
            image.blue = colour_planes == 1 ? image.red : load(before, dx, dy, 2);
            image.alpha = before.transparency ? load(before, dx, dy, colour_planes) : 1.0f;
            const float m = before.has_mask() ? before.mask[size_t(dy) * before.width + dx] / 255.0f : 1.0f;
            const PixelValue r = glue_pixel(x, y, sun, int32_t(c.aux[2]), image, m, glue);
            if (colour_planes == 1) {
                store(after, dx, dy, 0, r.green);
            } else {
                store(after, dx, dy, 0, r.red);
                store(after, dx, dy, 1, r.green);
                store(after, dx, dy, 2, r.blue);
            }
            if (before.transparency) store(after, dx, dy, colour_planes, r.alpha);
        }
    return after;
}

std::string document_hash(const hosting::Document& doc) {
    uint64_t hash = 14695981039346656037ull;
    auto add = [&hash](const void* data, size_t size) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        for (size_t i = 0; i < size; ++i) {
            hash ^= bytes[i];
            hash *= 1099511628211ull;
        }
    };
    const int32_t layout[5] = {doc.width, doc.height, doc.depth, doc.colour_planes(), doc.transparency ? 1 : 0};
    add(layout, sizeof layout);
    add(doc.pixels.data(), doc.pixels.size());
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace corvanthe::testing
