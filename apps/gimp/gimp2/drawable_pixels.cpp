#include "apps/gimp/gimp2/drawable_pixels.h"

#include <cstring>
#include <vector>

#include "apps/gimp/drawable_format.h"
#include "apps/shared/samples16.h"

namespace corvanthe::gimp {
namespace {

SamplePrecision precision_of(gint32 drawable) {
    switch (gimp_image_get_precision(gimp_item_get_image(drawable))) {
    case GIMP_PRECISION_U8_LINEAR:
    case GIMP_PRECISION_U8_GAMMA: return SamplePrecision::u8;
    case GIMP_PRECISION_U16_LINEAR:
    case GIMP_PRECISION_U16_GAMMA: return SamplePrecision::u16;
    case GIMP_PRECISION_U32_LINEAR:
    case GIMP_PRECISION_U32_GAMMA: return SamplePrecision::u32;
    case GIMP_PRECISION_HALF_LINEAR:
    case GIMP_PRECISION_HALF_GAMMA: return SamplePrecision::half;
    case GIMP_PRECISION_FLOAT_LINEAR:
    case GIMP_PRECISION_FLOAT_GAMMA: return SamplePrecision::single;
    case GIMP_PRECISION_DOUBLE_LINEAR:
    case GIMP_PRECISION_DOUBLE_GAMMA: return SamplePrecision::twice;
    }
    return SamplePrecision::single;
}

DrawableFormat format_of(gint32 drawable) {
    return drawable_format(precision_of(drawable), gimp_drawable_is_gray(drawable) != FALSE,
                           gimp_drawable_has_alpha(drawable) != FALSE);
}

}  // namespace

bool read_drawable(gint32 drawable, hosting::Document& document) {
    gint x = 0, y = 0, width = 0, height = 0;
    if (!gimp_drawable_mask_intersect(drawable, &x, &y, &width, &height) || width <= 0 || height <= 0) return false;
    const DrawableFormat format = format_of(drawable);
    document = hosting::make_document(gimp_drawable_width(drawable), gimp_drawable_height(drawable), format.depth,
                                      gimp_drawable_is_gray(drawable) ? hosting::ColourKind::grey
                                                                      : hosting::ColourKind::rgb,
                                      gimp_drawable_has_alpha(drawable) != FALSE);
    GeglBuffer* buffer = gimp_drawable_get_buffer(drawable);
    const GeglRectangle whole{0, 0, document.width, document.height};
    gegl_buffer_get(buffer, &whole, 1.0, babl_format(format.babl.c_str()), document.pixels.data(),
                    GEGL_AUTO_ROWSTRIDE, GEGL_ABYSS_NONE);
    g_object_unref(buffer);
    if (document.depth == 16) apps::host16_samples_from_file(document);
    document.filter_rect = {y, x, y + height, x + width};
    return true;
}

void write_drawable(gint32 drawable, const hosting::Document& document) {
    const sdk::VRect r = document.filter_rect;
    const GeglRectangle area{r.left, r.top, r.right - r.left, r.bottom - r.top};
    const std::size_t row_bytes = std::size_t(area.width) * document.pixel_bytes();
    std::vector<uint8_t> rows(row_bytes * std::size_t(area.height));
    for (int32_t y = 0; y < area.height; ++y)
        std::memcpy(&rows[std::size_t(y) * row_bytes], document.sample_address(r.left, r.top + y, 0), row_bytes);
    if (document.depth == 16) {
        for (std::size_t i = 0; i + 1 < rows.size(); i += 2) {
            uint16_t v;
            std::memcpy(&v, &rows[i], 2);
            v = apps::file16_from_host(v);
            std::memcpy(&rows[i], &v, 2);
        }
    }
    GeglBuffer* shadow = gimp_drawable_get_shadow_buffer(drawable);
    gegl_buffer_set(shadow, &area, 0, babl_format(format_of(drawable).babl.c_str()), rows.data(),
                    GEGL_AUTO_ROWSTRIDE);
    g_object_unref(shadow);
    gimp_drawable_merge_shadow(drawable, TRUE);
    gimp_drawable_update(drawable, area.x, area.y, area.width, area.height);
}

}  // namespace corvanthe::gimp
