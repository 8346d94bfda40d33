#pragma once
// The surface values the smear lines of one piece read, each remembered once computed. Over a
// box of texture positions that the piece's lines stay in, a dense grid of 16-bit values filled
// a tile of 16 x 16 positions at a time, before the first line that may cross the tile, so a
// sample is one small load; lines with an end outside the box, and walks whose steps skip
// positions, read a direct-mapped PositionCache instead.
#include <cstdint>
#include <memory>

#include "render/disc_noise.h"

namespace corvanthe {

struct RenderContext;
struct RenderRect;

class SurfaceCache {
public:
    // The grid holds at most this many values (8 MB).
    static constexpr int64_t kGridLimit = int64_t(1) << 22;

    explicit SurfaceCache(const NoiseTables& t);
    ~SurfaceCache();
    SurfaceCache(const SurfaceCache&) = delete;
    SurfaceCache& operator=(const SurfaceCache&) = delete;

    // Puts the grid over the positions [a0, a1] x [b0, b1], widened on every side by as much
    // of `margin` as the limit allows, and held inside 32 bits. No grid (every line takes the
    // PositionCache) when the box alone is over the limit or the memory is not there.
    void place_grid(int64_t a0, int64_t b0, int64_t a1, int64_t b1, int64_t margin);
    bool has_grid() const { return grid_ != nullptr; }
    // Whether the grid holds position (a, b).
    bool holds(int32_t a, int32_t b) const {
        return grid_ && uint64_t(int64_t(a) - a0_) < uint64_t(columns_) && uint64_t(int64_t(b) - b0_) < uint64_t(rows_);
    }

    // smear_line(t, a, b, c, d), from the remembered values.
    int32_t smear(int32_t a, int32_t b, int32_t c, int32_t d);

private:
    int32_t grid_smear(int32_t a, int32_t b, int32_t c, int32_t d);
    void fill_tiles(int32_t a, int32_t b, int32_t c, int32_t d);
    PositionCache* positions();

    const NoiseTables& t_;
    // Position (a0 + i, b0 + j) is at j stride + i; its value is there once filled_ holds its
    // tile (i / 16, j / 16), at j / 16 tiles_across + i / 16. Both sides are whole tiles.
    std::unique_ptr<uint16_t[]> grid_;
    std::unique_ptr<bool[]> filled_;
    // By row of tiles, the tiles [first, end) are all filled.
    struct Span {
        int32_t first, end;
    };
    std::unique_ptr<Span[]> ready_;
    int64_t a0_ = 0, b0_ = 0, columns_ = 0, rows_ = 0, tiles_across_ = 0;
    std::unique_ptr<PositionCache> positions_;
    bool positions_tried_ = false;
};

// Places the grid of `surfaces` for the disc pixels of `piece`: over the box their texture
// positions lie in, widened by the farthest the swirls can push a position as far as the
// grid's limit allows (the lines that still leave it take the PositionCache).
void place_piece_grid(const RenderContext& c, const RenderRect& piece, SurfaceCache& surfaces);

}  // namespace corvanthe
