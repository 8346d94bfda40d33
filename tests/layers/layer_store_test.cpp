#include "layers/layer_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "layers/cell_buffer.h"
#include "layers/host_fill.h"
#include "layers/store_show.h"
#include "layers/thumbnail.h"

namespace corvanthe {
namespace {

struct Store {
    LayerStore s;
    Store() { attach_store(s, nullptr, nullptr); }
    ~Store() { free_store(&s); }
};

std::vector<LevelSize> sizes_of(int32_t w, int32_t h) {
    LevelSize sizes[kMaxLevels];
    const int32_t last = level_sizes(w, h, sizes);
    return {sizes, sizes + last + 1};
}

TEST(LevelGeometry, HalvesAndMakesSizesAboveTwoEven) {
    EXPECT_EQ(sizes_of(1, 1), (std::vector<LevelSize>{{1, 1}, {1, 1}}));
    EXPECT_EQ(sizes_of(2, 2), (std::vector<LevelSize>{{2, 2}, {1, 1}}));
    EXPECT_EQ(sizes_of(3, 3), (std::vector<LevelSize>{{3, 3}, {2, 2}, {1, 1}}));
    EXPECT_EQ(sizes_of(5, 5), (std::vector<LevelSize>{{5, 5}, {4, 4}, {2, 2}, {1, 1}}));
    EXPECT_EQ(sizes_of(513, 1)[1].width, 258);  // ceil(256.5) = 257, made even
    EXPECT_EQ(sizes_of(640, 480), (std::vector<LevelSize>{{640, 480}, {320, 240}, {160, 120}, {80, 60}, {40, 30},
                                                         {20, 16}, {10, 8}, {6, 4}, {4, 2}, {2, 1}, {1, 1}}));
}

TEST(LevelGeometry, StopsAtLevelNineteen) {
    // 2^30 halves exactly: level 19 is 2^11 wide and the pyramid ends there.
    const auto sizes = sizes_of(1 << 30, 1);
    ASSERT_EQ(sizes.size(), 20u);
    EXPECT_EQ(sizes[19].width, 2048);
}

TEST(LayerStore, TilesCoverEachLevelRowByRow) {
    Store st;
    ASSERT_TRUE(init_store(st.s, 513, 1, PixelKind::rgba8));
    EXPECT_EQ(st.s.levels[0].tiles_across, 2);
    EXPECT_EQ(st.s.tiles[1].x, 512);
    EXPECT_EQ(st.s.tiles[1].width, 1);
    EXPECT_EQ(st.s.tiles[0].width, 512);
    EXPECT_EQ(st.s.levels[1].first_tile, 2);
    // every further level fits one tile
    EXPECT_EQ(st.s.tile_count, 2 + st.s.last_level);
    const sdk::VRect r = level_rect(&st.s, 1);
    EXPECT_EQ(r.right, 258);
    EXPECT_EQ(r.bottom, 1);
    const sdk::VRect beyond = level_rect(&st.s, st.s.last_level + 1);
    EXPECT_EQ(beyond.right - beyond.left, 0);
}

TEST(LayerStore, EveryPixelKeepsItsOwnValueAcrossTiles) {
    Store st;
    const int32_t w = 1100, h = 530;  // three tiles across, two down, partial ones at the edges
    ASSERT_TRUE(init_store(st.s, w, h, PixelKind::rgba_float));
    for (int32_t level : {0, 1})
        for (int32_t y = 0; y < st.s.levels[level].height; ++y)
            for (int32_t x = 0; x < st.s.levels[level].width; ++x)
                set_pixel(st.s, x, y, level, {float(x), float(y), float(level), 1.0f});
    int wrong = 0;
    for (int32_t level : {0, 1})
        for (int32_t y = 0; y < st.s.levels[level].height; ++y)
            for (int32_t x = 0; x < st.s.levels[level].width; ++x) {
                const PixelValue v = get_pixel(st.s, x, y, level);
                wrong += v.red != float(x) || v.green != float(y) || v.blue != float(level);
            }
    EXPECT_EQ(wrong, 0);
}

TEST(LayerStore, ReadsClampToTheEdgeAndWritesOutsideAreIgnored) {
    Store st;
    ASSERT_TRUE(init_store(st.s, 10, 10, PixelKind::rgba8));
    for (int32_t y = 0; y < 10; ++y)
        for (int32_t x = 0; x < 10; ++x) set_pixel(st.s, x, y, 0, {float(x), float(y), 1, 2});
    const PixelValue at = get_pixel(st.s, -5, 7, 0);
    EXPECT_EQ(at.red, 0);
    EXPECT_EQ(at.green, 7);
    const PixelValue far = get_pixel(st.s, 100, 200, 0);
    EXPECT_EQ(far.red, 9);
    EXPECT_EQ(far.green, 9);

    std::vector<uint32_t> before(static_cast<uint32_t*>(st.s.tiles[0].block),
                                 static_cast<uint32_t*>(st.s.tiles[0].block) + 100);
    for (auto [x, y] : {std::pair{-5, 7}, {10, 0}, {0, 10}, {-1, -1}}) set_pixel(st.s, x, y, 0, {99, 99, 99, 99});
    EXPECT_EQ(0, std::memcmp(before.data(), st.s.tiles[0].block, 400));
    set_pixel(st.s, 0, 0, st.s.last_level + 1, {99, 99, 99, 99});  // no such level
    EXPECT_EQ(get_pixel(st.s, 0, 0, st.s.last_level + 1).red, 0);
}

TEST(LayerStore, IntegerChannelsAreTruncatedAndMasked) {
    Store st;
    ASSERT_TRUE(init_store(st.s, 2, 2, PixelKind::rgba8));
    set_pixel(st.s, 0, 0, 0, {300, 255.9f, -1, 7});
    const PixelValue v = get_pixel(st.s, 0, 0, 0);
    EXPECT_EQ(v.red, 300 - 256);
    EXPECT_EQ(v.green, 255);
    EXPECT_EQ(v.blue, 255);  // -1 keeps its low eight bits
    EXPECT_EQ(v.alpha, 7);
    EXPECT_EQ(static_cast<uint32_t*>(st.s.tiles[0].block)[0], 0x2cffff07u);  // red in the top byte
}

TEST(LayerStore, TexelsAreScaledByTheKind) {
    Store st;
    ASSERT_TRUE(init_store(st.s, 3, 3, PixelKind::rgba16));
    write_texel(st.s, 1, 1, 0, {1.0f, 0.5f, 0.0f, 1.0f});
    const uint16_t* e = static_cast<uint16_t*>(st.s.tiles[0].block) + 4 * 4;
    EXPECT_EQ(e[0], 32768);
    EXPECT_EQ(e[1], 16384);
    EXPECT_EQ(e[2], 0);
    EXPECT_EQ(e[3], 32768);
    EXPECT_EQ(read_texel(st.s, 1, 1, 0).red, 1.0f);

    ASSERT_TRUE(init_store(st.s, 3, 3, PixelKind::rgba8));
    write_texel(st.s, 0, 0, 0, {0.999f, 1.0f, 0.5f, 0.0f});
    const PixelValue v = get_pixel(st.s, 0, 0, 0);
    EXPECT_EQ(v.red, 254);  // truncated, not rounded
    EXPECT_EQ(v.green, 255);
    EXPECT_EQ(v.blue, 127);
    EXPECT_FLOAT_EQ(read_texel(st.s, 0, 0, 0).green, 1.0f);

    ASSERT_TRUE(init_store(st.s, 3, 3, PixelKind::rgba_float));
    write_texel(st.s, 2, 2, 0, {2.5f, -1.0f, 0.25f, 1.0f});
    EXPECT_EQ(read_texel(st.s, 2, 2, 0).red, 2.5f);
    EXPECT_EQ(read_texel(st.s, 2, 2, 0).green, -1.0f);
}

TEST(LayerStore, FailedInitLeavesNoTiles) {
    Store st;
    ASSERT_TRUE(init_store(st.s, 20, 20, PixelKind::rgba8));
    EXPECT_FALSE(init_store(st.s, 0, 20, PixelKind::rgba8));  // frees the old tiles too
    EXPECT_EQ(st.s.tiles, nullptr);
    EXPECT_EQ(st.s.tile_count, 0);
    EXPECT_EQ(get_pixel(st.s, 0, 0, 0).alpha, 0);
    set_pixel(st.s, 0, 0, 0, {1, 1, 1, 1});
    EXPECT_FALSE(init_store(st.s, 4, -1, PixelKind::rgba8));
    EXPECT_FALSE(init_store(st.s, 4, 4, PixelKind(5)));  // grey float: no store of that kind
    EXPECT_EQ(create_store(nullptr, 0, 5, PixelKind::rgba8), nullptr);
}

TEST(LayerStore, CreatedStoresOwnTheirRecord) {
    int owner = 0;
    LayerStore* store = create_store(&owner, 600, 3, PixelKind::rgba16);
    ASSERT_NE(store, nullptr);
    EXPECT_TRUE(store->owned);
    EXPECT_EQ(store->owner, &owner);
    EXPECT_NE(store->tables, nullptr);
    EXPECT_EQ(store->scale, 32768.0f);
    EXPECT_EQ(store->bytes_per_pixel, 8);
    EXPECT_EQ(store->aspect_x, 200.0f);
    EXPECT_EQ(store->aspect_y, 1.0f);
    LayerStore* other = create_store(&owner, 600, 3, PixelKind::rgba8);
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(same_level0_size(*store, *other));
    EXPECT_FALSE(same_size(*store, *other));  // bytes per pixel differ
    free_store(other);
    free_store(store);  // the sanitizer build reports a leak if the record stays
}

// A host buffer of w x h pixels with `planes` samples each and two spare bytes per row.
template <typename Sample>
struct HostBuffer {
    int32_t w, h, planes;
    std::vector<unsigned char> bytes;
    HostBuffer(int32_t w, int32_t h, int32_t planes)
        : w(w), h(h), planes(planes), bytes(size_t(h) * row_bytes()) {}
    int32_t row_bytes() const { return w * planes * int32_t(sizeof(Sample)) + 2; }
    void set(int32_t x, int32_t y, int32_t plane, Sample v) {
        std::memcpy(&bytes[size_t(y) * row_bytes() + (size_t(x) * planes + plane) * sizeof(Sample)], &v, sizeof v);
    }
    HostPixels pixels(int32_t depth, int32_t transparency) const {
        return {bytes.data(), row_bytes(), planes, depth, planes < 3, transparency};
    }
};

TEST(HostFill, GreyEightBitGivesEqualChannelsAndFullAlpha) {
    Store st;
    ASSERT_TRUE(init_store(st.s, 513, 2, PixelKind::rgba8));
    HostBuffer<uint8_t> host(1, 2, 1);  // the second tile of level 0: one pixel wide
    host.set(0, 0, 0, 77);
    host.set(0, 1, 0, 200);
    ASSERT_TRUE(fill_tile_from_host(st.s, 1, host.pixels(8, -1)));
    const PixelValue a = get_pixel(st.s, 512, 0, 0), b = get_pixel(st.s, 512, 1, 0);
    EXPECT_EQ(a.red, 77);
    EXPECT_EQ(a.green, 77);
    EXPECT_EQ(a.blue, 77);
    EXPECT_EQ(a.alpha, 255);
    EXPECT_EQ(b.blue, 200);
    EXPECT_EQ(get_pixel(st.s, 511, 0, 0).red, 0);  // the first tile is untouched
}

TEST(HostFill, ColourWithTransparencyAtEachDepth) {
    Store st;
    ASSERT_TRUE(init_store(st.s, 3, 2, PixelKind::rgba16));
    HostBuffer<uint16_t> host16(3, 2, 4);
    for (int32_t p = 0; p < 4; ++p) host16.set(2, 1, p, uint16_t(1000 * (p + 1)));
    ASSERT_TRUE(fill_tile_from_host(st.s, 0, host16.pixels(16, 3)));
    const PixelValue v = get_pixel(st.s, 2, 1, 0);
    EXPECT_EQ(v.red, 1000);
    EXPECT_EQ(v.green, 2000);
    EXPECT_EQ(v.blue, 3000);
    EXPECT_EQ(v.alpha, 4000);
    ASSERT_TRUE(fill_tile_from_host(st.s, 0, host16.pixels(16, -1)));
    EXPECT_EQ(get_pixel(st.s, 2, 1, 0).alpha, 32768);

    ASSERT_TRUE(init_store(st.s, 3, 2, PixelKind::rgba_float));
    HostBuffer<float> host32(3, 2, 3);
    host32.set(1, 0, 0, 1.5f);
    host32.set(1, 0, 2, -0.25f);
    ASSERT_TRUE(fill_tile_from_host(st.s, 0, host32.pixels(32, -1)));
    const PixelValue f = get_pixel(st.s, 1, 0, 0);
    EXPECT_EQ(f.red, 1.5f);
    EXPECT_EQ(f.blue, -0.25f);
    EXPECT_EQ(f.alpha, 1.0f);

    // a depth that does not match the kind copies nothing
    EXPECT_FALSE(fill_tile_from_host(st.s, 0, host16.pixels(16, 3)));
    EXPECT_FALSE(fill_tile_from_host(st.s, st.s.tile_count, host32.pixels(32, -1)));
    EXPECT_EQ(get_pixel(st.s, 1, 0, 0).red, 1.5f);
}

struct DrawnMap {
    int calls = 0;
    int32_t top = 0, left = 0;
    sdk::PSPixelMap map{};
    std::vector<unsigned char> bytes;
    static void draw(void* context, const sdk::PSPixelMap& map, int32_t top, int32_t left) {
        auto* self = static_cast<DrawnMap*>(context);
        ++self->calls;
        self->map = map;
        self->top = top;
        self->left = left;
        const auto* p = static_cast<const unsigned char*>(map.baseAddr);
        self->bytes.assign(p, p + size_t(map.rowBytes) * size_t(map.bounds.bottom));
    }
};

TEST(StoreShow, NearestPixelsOfTheLevelOfTheStep) {
    Store st;
    ASSERT_TRUE(init_store(st.s, 8, 8, PixelKind::rgba8));
    for (int32_t level : {0, 1})
        for (int32_t y = 0; y < 8; ++y)
            for (int32_t x = 0; x < 8; ++x) set_pixel(st.s, x, y, level, {float(x), float(y), float(level), 255});
    DrawnMap drawn;
    const PixelMapDrawer drawer{&DrawnMap::draw, &drawn};

    show_store(st.s, {10, 20, 12, 23}, 1, 2, 1, drawer);  // 3 x 2 pixels at (20, 10)
    ASSERT_EQ(drawn.calls, 1);
    EXPECT_EQ(drawn.top, 10);
    EXPECT_EQ(drawn.left, 20);
    EXPECT_EQ(drawn.map.colBytes, 3);
    EXPECT_EQ(drawn.map.planeBytes, 1);
    EXPECT_EQ(drawn.map.rowBytes, 9);
    EXPECT_EQ(drawn.map.bounds.right, 3);
    EXPECT_EQ(drawn.bytes, (std::vector<unsigned char>{1, 2, 0, 2, 2, 0, 3, 2, 0, 1, 3, 0, 2, 3, 0, 3, 3, 0}));

    // z = 3: level 1, start (2 * 256) >> 1, step 384 in 8.8: x = 1, 2.5, 4 -> 1, 2, 4; clamped at 3
    show_store(st.s, {0, 0, 1, 3}, 2, 6, 3, drawer);
    EXPECT_EQ(drawn.bytes, (std::vector<unsigned char>{1, 3, 1, 2, 3, 1, 3, 3, 1}));

    Store empty;
    show_store(empty.s, {0, 0, 4, 4}, 0, 0, 1, drawer);
    EXPECT_EQ(drawn.calls, 2);
}

TEST(Thumbnail, ClearDrawsTheGreyGradient) {
    Store st;
    ASSERT_TRUE(init_store(st.s, 128, 128, PixelKind::rgba8));
    clear_thumbnail(st.s);
    for (int32_t row : {0, 1, 64, 127}) {
        const PixelValue v = get_pixel(st.s, 100, row, 0);
        EXPECT_EQ(v.red, 255 - row);
        EXPECT_EQ(v.blue, 255 - row);
        EXPECT_EQ(v.alpha, 255);
    }
    ASSERT_TRUE(init_store(st.s, 20, 300, PixelKind::rgba8));  // smaller than the gradient
    clear_thumbnail(st.s);
    EXPECT_EQ(get_pixel(st.s, 19, 127, 0).green, 128);
    EXPECT_EQ(get_pixel(st.s, 19, 128, 0).green, 0);
}

TEST(JobCells, BuffersFrameThePieceAndIgnoreOutsideWrites) {
    int job = 0;
    JobCells cells;
    ASSERT_TRUE(allocate_job_cells(cells, 2, 10, 20, 3, 2, &job));
    ASSERT_EQ(cells.count, 2);
    clear_job_cells(cells);
    const CellBuffer& second = cells.buffers[1];
    EXPECT_EQ(second.index, 1);
    EXPECT_EQ(second.alias, 1001);
    EXPECT_EQ(second.job, &job);
    EXPECT_EQ(second.columns, 5);
    EXPECT_EQ(second.rows, 4);
    write_colour(cells.buffers[1], 10, 20, 1, 2, 3, 4);
    EXPECT_EQ(cells.buffers[1].cells[1 * 5 + 1].colour[2], 3.0f);
    write_colour(cells.buffers[1], 14, 20, 9, 9, 9, 9);  // beyond the frame
    write_colour(cells.buffers[1], 9, 19, 5, 5, 5, 5);   // the frame's corner
    EXPECT_EQ(cells.buffers[1].cells[0].colour[0], 5.0f);
    int nonzero = 0;
    for (int32_t i = 0; i < 20; ++i) nonzero += cells.buffers[0].cells[i].colour[0] != 0.0f;
    EXPECT_EQ(nonzero, 0);
    free_job_cells(cells);
    EXPECT_EQ(cells.buffers, nullptr);
    EXPECT_EQ(cells.count, 0);
}

}  // namespace
}  // namespace corvanthe
