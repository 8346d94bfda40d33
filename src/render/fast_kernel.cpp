#include "render/fast_kernel.h"

#include <algorithm>

#include "render/pixel_kernel.h"

namespace corvanthe {

namespace {

// Columns summed at once: the row's spike light lives on the stack.
constexpr int32_t kSegment = 256;

// Offsets up to this size keep every product of the strip arithmetic (coefficients below 2^31)
// well inside 64 bits; larger ones take the plain sum.
constexpr int64_t kExactOffset = int64_t(1) << 30;

int64_t floor_div(int64_t a, int64_t b) {  // b > 0
    const int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

int64_t ceil_div(int64_t a, int64_t b) { return -floor_div(-a, b); }

// The columns [first, last] of the row at dy where spike k's strip |dx B + dy A| <= 300
// may lie (dx = centre x - x); first > last when the row misses it.
void strip_columns(const RenderContext& c, int k, int64_t dy, int64_t& first, int64_t& last) {
    int64_t b = c.spike_b[k], a = c.spike_a[k];
    if (b < 0) {
        b = -b;
        a = -a;
    }
    const int64_t offset = a * dy;
    if (b == 0) {
        const bool inside = absolute(offset) <= 300;
        first = inside ? INT64_MIN : 1;
        last = inside ? INT64_MAX : 0;
        return;
    }
    // -300 <= b dx + offset <= 300, so dx in [ceil((-300 - offset) / b), floor((300 - offset) / b)].
    const int64_t dx_low = ceil_div(-300 - offset, b), dx_high = floor_div(300 - offset, b);
    first = c.rings.centre_x - dx_high;
    last = c.rings.centre_x - dx_low;
}

}  // namespace

void render_piece_fast(const RenderContext& c, const RenderRect& piece, CellBuffer& buffer) {
    if (!c.ready) return;
    const KernelRings& k = c.rings;
    const bool exact = absolute(k.centre_x - piece.left) < kExactOffset &&
                       absolute(k.centre_x - piece.right) < kExactOffset &&
                       absolute(k.centre_y - piece.top) < kExactOffset &&
                       absolute(k.centre_y - piece.bottom) < kExactOffset;
    if (!exact) {
        for (int32_t y = piece.top; y < piece.bottom; ++y)
            for (int32_t x = piece.left; x < piece.right; ++x) render_pixel(c, x, y, {nullptr, true}, buffer);
        return;
    }
    int64_t spike[kSegment];
    for (int32_t y = piece.top; y < piece.bottom; ++y) {
        const int64_t dy = k.centre_y - y;
        for (int32_t left = piece.left; left < piece.right; left += std::min(kSegment, piece.right - left)) {
            const int32_t right = left + std::min(kSegment, piece.right - left);
            std::fill(spike, spike + (right - left), 0);
            for (int n = 0; n < k.spike_count; ++n) {
                int64_t first, last;
                strip_columns(c, n, dy, first, last);
                first = std::max<int64_t>(first, left);
                last = std::min<int64_t>(last, right - 1);
                for (int64_t x = first; x <= last; ++x) spike[x - left] += spike_term(c, n, k.centre_x - x, dy);
            }
            for (int32_t x = left; x < right; ++x) render_pixel(c, x, y, {&spike[x - left], true}, buffer);
        }
    }
}

}  // namespace corvanthe
