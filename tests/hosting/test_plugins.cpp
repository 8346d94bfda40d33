#include "test_plugins.h"

#include <cstring>

namespace corvanthe::hosting::testing {

InverterConfig g_inverter;

namespace {

bool big(const sdk::FilterRecord& r) {
    return r.bigDocumentData && r.bigDocumentData->PluginUsing32BitCoordinates;
}

sdk::Rect small(const sdk::VRect& v) {
    return {int16_t(v.top), int16_t(v.left), int16_t(v.bottom), int16_t(v.right)};
}

void invert_sample(uint8_t* p, int32_t depth) {
    if (depth == 8) {
        *p = uint8_t(255 - *p);
    } else if (depth == 16) {
        uint16_t v;
        std::memcpy(&v, p, 2);
        v = uint16_t(32768 - v);
        std::memcpy(p, &v, 2);
    } else {
        float v;
        std::memcpy(&v, p, 4);
        v = 1.0f - v;
        std::memcpy(p, &v, 4);
    }
}

void start(sdk::FilterRecord& r) {
    InverterConfig& c = g_inverter;
    if (c.use_32bit && r.bigDocumentData) r.bigDocumentData->PluginUsing32BitCoordinates = 1;
    const sdk::VRect f = filter_rect(r);
    const int planes = r.planes;
    const int32_t bytes = r.depth / 8;
    const int32_t tiles_across = (f.right - f.left + c.tile - 1) / c.tile;
    const int32_t tiles_down = (f.bottom - f.top + c.tile - 1) / c.tile;
    r.autoMask = 0;
    r.inLoPlane = r.outLoPlane = 0;
    r.inHiPlane = r.outHiPlane = int16_t(planes - 1);
    r.inputRate = r.maskRate = 0x10000;
    r.inputPadding = r.outputPadding = r.maskPadding = -1;
    for (int32_t ty = 0; ty < tiles_down; ++ty) {
        for (int32_t tx = 0; tx < tiles_across; ++tx) {
            sdk::VRect t{f.top + ty * c.tile, f.left + tx * c.tile, f.top + (ty + 1) * c.tile,
                         f.left + (tx + 1) * c.tile};
            if (t.bottom > f.bottom) t.bottom = f.bottom;
            if (t.right > f.right) t.right = f.right;
            set_rects(r, t, t, r.haveMask ? t : sdk::VRect{});
            c.advance_result = r.advanceState();
            if (c.advance_result != 0) return;
            auto* in = static_cast<uint8_t*>(r.inData);
            auto* out = static_cast<uint8_t*>(r.outData);
            auto* mask = static_cast<uint8_t*>(r.maskData);
            for (int32_t y = 0; y < t.bottom - t.top; ++y) {
                for (int32_t x = 0; x < t.right - t.left; ++x) {
                    for (int p = 0; p < planes; ++p) {
                        uint8_t* to = out + y * r.outRowBytes + (x * planes + p) * bytes;
                        std::memcpy(to, in + y * r.inRowBytes + (x * planes + p) * bytes, size_t(bytes));
                        invert_sample(to, r.depth);
                    }
                    if (mask) c.mask_seen.push_back(mask[y * r.maskRowBytes + x]);
                }
            }
            ++c.tiles_done;
            if (r.progressProc) r.progressProc(c.tiles_done, tiles_across * tiles_down);
        }
    }
    set_rects(r, {}, {}, {});
}

}  // namespace

sdk::VRect filter_rect(const sdk::FilterRecord& r) {
    if (big(r)) return r.bigDocumentData->filterRect32;
    const sdk::Rect f = r.filterRect;
    return {f.top, f.left, f.bottom, f.right};
}

void set_rects(sdk::FilterRecord& r, const sdk::VRect& in, const sdk::VRect& out, const sdk::VRect& mask) {
    if (big(r)) {
        r.bigDocumentData->inRect32 = in;
        r.bigDocumentData->outRect32 = out;
        r.bigDocumentData->maskRect32 = mask;
    } else {
        r.inRect = small(in);
        r.outRect = small(out);
        r.maskRect = small(mask);
    }
}

void CORVANTHE_HOST_API inverter_main(int16_t selector, void* record, intptr_t*, int16_t* result) {
    auto& r = *static_cast<sdk::FilterRecord*>(record);
    if (selector == sdk::kFilterSelectorStart) {
        start(r);
        *result = g_inverter.advance_result;
    } else if (selector == sdk::kFilterSelectorContinue) {
        set_rects(r, {}, {}, {});
    }
}

}  // namespace corvanthe::hosting::testing
