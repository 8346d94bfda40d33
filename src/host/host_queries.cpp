#include "host/host_queries.h"

namespace corvanthe {
namespace {

PixelValue colour_pixel(const sdk::RGBColor& c) {
    return {(c.red >> 8) / 255.0f, (c.green >> 8) / 255.0f, (c.blue >> 8) / 255.0f, 1.0f};
}

}  // namespace

HostDepth depth_class(const sdk::FilterRecord& record) {
    switch (record.imageMode) {
        case sdk::kModeGrayScale:
        case sdk::kModeRGBColor:
            if (record.depth <= 8) return HostDepth::k8;
            return record.depth == 32 ? HostDepth::k32 : HostDepth::kNone;
        // The deep modes name their depth; hosts older than the depth field leave it 0.
        case sdk::kModeGray16:
        case sdk::kModeRGB48: return HostDepth::k16;
        case sdk::kModeGray32:
        case sdk::kModeRGB96: return HostDepth::k32;
        default: return HostDepth::kNone;
    }
}

int sample_bytes(HostDepth depth) {
    switch (depth) {
        case HostDepth::k8: return 1;
        case HostDepth::k16: return 2;
        case HostDepth::k32: return 4;
        case HostDepth::kNone: break;
    }
    return 0;
}

float class_scale(HostDepth depth) {
    switch (depth) {
        case HostDepth::k8: return 255.0f;
        case HostDepth::k16: return 32768.0f;
        case HostDepth::k32: return 1.0f;
        case HostDepth::kNone: break;
    }
    return 0.0f;
}

bool is_grey(const sdk::FilterRecord& record) { return record.planes < 3; }

bool has_transparency(const sdk::FilterRecord& record) {
    return record.filterCase == sdk::kFilterCaseEditableTransparencyNoSelection ||
           record.filterCase == sdk::kFilterCaseEditableTransparencyWithSelection;
}

bool have_mask(const sdk::FilterRecord& record) { return record.haveMask != 0; }

bool has_advance_state(const sdk::FilterRecord& record) { return record.advanceState != nullptr; }

bool has_display_pixels(const sdk::FilterRecord& record) { return record.displayPixels != nullptr; }

sdk::OSType host_signature(const sdk::FilterRecord& record) { return record.hostSig; }

PixelValue foreground_pixel(const sdk::FilterRecord& record) { return colour_pixel(record.foreground); }

PixelValue background_pixel(const sdk::FilterRecord& record) { return colour_pixel(record.background); }

}  // namespace corvanthe
