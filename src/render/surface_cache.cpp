#include "render/surface_cache.h"

#include <algorithm>
#include <new>

#include "render/integer_math.h"
#include "render/render_context.h"

namespace corvanthe {

namespace {

// Tiles of 16 x 16 positions, computed together: the neighbouring pixels' lines cross the
// neighbouring positions.
constexpr int kTileBits = 4;
constexpr int64_t kTile = int64_t(1) << kTileBits;
static_assert(kTile == kSurfaceTile);

// Whole tiles from `length` positions.
int64_t whole_tiles(int64_t length) { return (length + kTile - 1) & ~(kTile - 1); }

// A row of whole tiles for `length` positions, an odd number of 64-byte lines long: the rows a
// line walks down then fall in different sets of the processor's caches.
int64_t row_length(int64_t length) {
    const int64_t lines = (length + 31) >> 5;
    return (lines | 1) << 5;
}

// Moves [first, first + length) down until it ends inside 32 bits.
int64_t inside_32_bits(int64_t first, int64_t length) { return std::min(first, int64_t(INT32_MAX) - (length - 1)); }

}  // namespace

SurfaceCache::SurfaceCache(const NoiseTables& t) : t_(t) {}

SurfaceCache::~SurfaceCache() = default;

void SurfaceCache::place_grid(int64_t a0, int64_t b0, int64_t a1, int64_t b1, int64_t margin) {
    grid_.reset();
    filled_.reset();
    ready_.reset();
    if (a0 > a1 || b0 > b1 || a1 - a0 >= kGridLimit || b1 - b0 >= kGridLimit) return;
    auto size = [&](int64_t m) { return row_length(a1 - a0 + 1 + 2 * m) * whole_tiles(b1 - b0 + 1 + 2 * m); };
    if (size(0) > kGridLimit) return;
    // The widest margin that fits (the size grows with the margin).
    int64_t low = 0, high = std::clamp<int64_t>(margin, 0, kGridLimit);
    while (low < high) {
        const int64_t m = (low + high + 1) / 2;
        if (size(m) <= kGridLimit)
            low = m;
        else
            high = m - 1;
    }
    a0 = std::max<int64_t>(a0 - low, INT32_MIN);
    b0 = std::max<int64_t>(b0 - low, INT32_MIN);
    const int64_t columns = row_length(std::min<int64_t>(a1 + low, INT32_MAX) - a0 + 1);
    const int64_t rows = whole_tiles(std::min<int64_t>(b1 + low, INT32_MAX) - b0 + 1);
    grid_.reset(new (std::nothrow) uint16_t[size_t(columns * rows)]);
    filled_.reset(new (std::nothrow) bool[size_t(columns * rows >> (2 * kTileBits))]());
    ready_.reset(new (std::nothrow) Span[size_t(rows >> kTileBits)]());
    if (!grid_ || !filled_ || !ready_) {
        grid_.reset();
        return;
    }
    // Whole tiles may reach past the box: every position they hold stays inside 32 bits.
    a0_ = inside_32_bits(a0, columns);
    b0_ = inside_32_bits(b0, rows);
    columns_ = columns;
    rows_ = rows;
    tiles_across_ = columns >> kTileBits;
}

int32_t SurfaceCache::smear(int32_t a, int32_t b, int32_t c, int32_t d) {
    const int32_t step = smear_step(t_);
    // With unit steps a line keeps between its ends' rows and columns.
    if (step == 1 && holds(a, b) && holds(c, d)) return grid_smear(a, b, c, d);
    auto single = [&](int32_t p, int32_t q) { return surface_value(t_, p, q); };
    PositionCache* cache = positions();
    if (!cache) return smear_walk(a, b, c, d, step, single);
    if (step > 1) return smear_walk(a, b, c, d, step, [&](int32_t p, int32_t q) { return cache->get(p, q, single); });
    auto four = [&](int32_t p, int32_t q, int32_t (&out)[4]) { surface_values4(t_, p, q, out); };
    return smear_walk(a, b, c, d, 1, [&](int32_t p, int32_t q) { return cache->get_in_fours(p, q, four); });
}

// smear_walk with unit steps over the grid by index: along the major axis the index moves by
// `major` a step, and by `minor` more when the line steps across. The grid holds at most 2^22
// values, so the index and the error fit 32 bits.
int32_t SurfaceCache::grid_smear(int32_t a, int32_t b, int32_t c, int32_t d) {
    fill_tiles(a, b, c, d);
    const int32_t dx = int32_t(absolute(int64_t(c) - a)), dy = int32_t(absolute(int64_t(d) - b));
    const int32_t stride = int32_t(columns_);
    const int32_t across = c < a ? -1 : (c > a ? 1 : 0), down = d < b ? -stride : (d > b ? stride : 0);
    const bool x_major = dy < dx;
    const int32_t major = x_major ? across : down, minor = x_major ? down : across;
    const int32_t run = x_major ? dx : dy, rise = x_major ? dy : dx;
    const uint16_t* grid = grid_.get();
    int32_t index = int32_t((int64_t(b) - b0_) * columns_ + (int64_t(a) - a0_));
    int32_t error = 2 * rise - run;
    // At most 537 x 2^22: the sum fits 32 bits unsigned.
    uint32_t total = grid[index];
    for (int32_t i = 0; i < run; ++i) {
        const bool stepped = error >= 0;
        index += stepped ? major + minor : major;
        error += stepped ? 2 * (rise - run) : 2 * rise;
        total += grid[index];
    }
    return int32_t(total / uint32_t(run + 1));
}

// Fills the tiles of the box the line (a, b) -> (c, d) spans that are not filled yet. A row of
// tiles whose span of filled tiles holds the box's columns needs no look at each tile.
void SurfaceCache::fill_tiles(int32_t a, int32_t b, int32_t c, int32_t d) {
    const int32_t left = int32_t((std::min(a, c) - a0_) >> kTileBits), right = int32_t((std::max(a, c) - a0_) >> kTileBits);
    const int32_t top = int32_t((std::min(b, d) - b0_) >> kTileBits), bottom = int32_t((std::max(b, d) - b0_) >> kTileBits);
    for (int32_t j = top; j <= bottom; ++j) {
        Span& ready = ready_[j];
        if (ready.first <= left && right < ready.end) continue;
        for (int32_t i = left; i <= right; ++i) {
            bool& filled = filled_[j * tiles_across_ + i];
            if (filled) continue;
            filled = true;
            surface_tile(t_, int32_t(a0_ + (int64_t(i) << kTileBits)), int32_t(b0_ + (int64_t(j) << kTileBits)),
                         &grid_[(int64_t(j) << kTileBits) * columns_ + (int64_t(i) << kTileBits)], columns_);
        }
        // [left, right] is filled now: the span takes it in where the two touch.
        if (ready.first == ready.end)
            ready = {left, right + 1};
        else if (left <= ready.end && ready.first <= right + 1)
            ready = {std::min(ready.first, left), std::max(ready.end, right + 1)};
    }
}

PositionCache* SurfaceCache::positions() {
    if (!positions_tried_) {
        positions_tried_ = true;
        positions_.reset(new (std::nothrow) PositionCache);
        if (positions_) fill_surface_cache(t_, *positions_);
    }
    return positions_.get();
}

void place_piece_grid(const RenderContext& c, const RenderRect& piece, SurfaceCache& surfaces) {
    const KernelRings& k = c.rings;
    // A disc pixel has F < rim_outer, and F >= 4 |dx| and 4 |dy|.
    const int64_t reach = (k.rim_outer - 1) / 4;
    const int64_t dx0 = std::max(piece.left - k.centre_x, -reach), dx1 = std::min(piece.right - 1 - k.centre_x, reach);
    const int64_t dy0 = std::max(piece.top - k.centre_y, -reach), dy1 = std::min(piece.bottom - 1 - k.centre_y, reach);
    if (dx0 > dx1 || dy0 > dy1) return;
    // Its zoom is sphere_map[min(R, F / 4)], and its texture position the offset scaled by the
    // zoom: the extremes lie at the extreme zooms and offsets.
    int32_t zoom_low = c.sphere_map[0], zoom_high = zoom_low;
    for (int32_t i = 1; i <= std::min<int64_t>(c.disc_radius, reach); ++i) {
        zoom_low = std::min(zoom_low, c.sphere_map[i]);
        zoom_high = std::max(zoom_high, c.sphere_map[i]);
    }
    auto span = [&](int64_t low, int64_t high, int64_t& first, int64_t& last) {
        first = INT64_MAX;
        last = INT64_MIN;
        for (const double zoom : {double(zoom_low), double(zoom_high)})
            for (const int64_t offset : {low, high}) {
                const int64_t v = trunc_int64(zoom * 16 * double(offset) / 1024);
                first = std::min(first, v);
                last = std::max(last, v);
            }
    };
    int64_t a0, a1, b0, b1;
    span(dx0, dx1, a0, a1);
    span(dy0, dy1, b0, b1);
    // Each centre in use pushes a position by at most the swirl strength along each axis.
    const int64_t push = clamp_to(c.noise.swirl_count, 0, kSwirlCentres) * absolute(int64_t(c.noise.swirl_strength));
    surfaces.place_grid(a0, b0, a1, b1, push);
}

}  // namespace corvanthe
