#include "layers/pixel_kind.h"

namespace corvanthe {

const PixelKindInfo* pixel_kind_info(PixelKind kind) {
    static constexpr PixelKindInfo rgba8{4, 1, 4, 255.0f};
    static constexpr PixelKindInfo rgba16{4, 2, 8, 32768.0f};
    static constexpr PixelKindInfo rgba_float{4, 4, 16, 1.0f};
    switch (kind) {
        case PixelKind::rgba8: return &rgba8;
        case PixelKind::rgba16: return &rgba16;
        case PixelKind::rgba_float: return &rgba_float;
    }
    return nullptr;
}

}  // namespace corvanthe
