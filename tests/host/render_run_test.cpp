#include <gtest/gtest.h>

#include "host/host_rects.h"
#include "host/plugin_state.h"
#include "host/render_call.h"
#include "host/render_run.h"
#include "settings/sun_settings.h"

namespace corvanthe {
namespace {

// What the renderer saw while it ran.
struct Seen {
    sdk::VRect area{}, in{}, out{}, mask{};
    int32_t mode = -1, divisor = -1, offset_x = -1, offset_y = -1;
    sdk::Fixed rate = 0;
    int16_t padding = 0, hi_plane = 0;
    bool layer_target_cleared = false;
};
Seen seen;

void watching_render(HostContext& context, const sdk::VRect& area) {
    const sdk::FilterRecord& r = *context.record;
    const SunSettings& s = *context.settings;
    seen = {area, get_rect(r, HostRect::kIn), get_rect(r, HostRect::kOut), get_rect(r, HostRect::kMask),
            s.render_mode, s.scale_divisor, s.preview_offset_x, s.preview_offset_y,
            r.inputRate, r.inputPadding, r.inHiPlane,
            context.state->work_block->layer_target == nullptr};
    context.settings->sun_radius = 1;  // undone by the snapshot
    context.settings->x_center = 0.25f;  // not part of a snapshot: kept
}

bool same(const sdk::VRect& a, const sdk::VRect& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

class RenderRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        set_render_proc(watching_render);
        seen = {};
        record.planes = 4;
        record.haveMask = 1;
        record.filterRect = {10, 20, 110, 220};
        record.inRect = {1, 1, 2, 2};
        record.outRect = {3, 3, 4, 4};
        record.maskRect = {5, 5, 6, 6};
        initialise(settings);
        initialise_state(state);
        state.filter_rect = {0, 0, 50, 60};
        state.preview_rect = {0, 0, 25, 40};
        state.work_block = &block;
        block.layer_target = reinterpret_cast<LayerStore*>(&block);  // any non-null store
        settings.scale_divisor = 4;
        settings.preview_offset_x = 8;
        settings.preview_offset_y = 4;
        context.record = &record;
        context.settings = &settings;
        context.state = &state;
    }
    void TearDown() override { set_render_proc(nullptr); }

    void expect_restored() {
        EXPECT_TRUE(same(get_rect(record, HostRect::kIn), {1, 1, 2, 2}));
        EXPECT_TRUE(same(get_rect(record, HostRect::kOut), {3, 3, 4, 4}));
        EXPECT_TRUE(same(get_rect(record, HostRect::kMask), {5, 5, 6, 6}));
        EXPECT_EQ(settings.scale_divisor, 4);
        EXPECT_EQ(settings.preview_offset_x, 8);
        EXPECT_EQ(settings.preview_offset_y, 4);
        EXPECT_EQ(settings.sun_radius, 38);
        EXPECT_EQ(settings.x_center, 0.25f);
    }

    sdk::FilterRecord record{};
    SunSettings settings{};
    PluginState state{};
    WorkBlock block{};
    HostContext context;
};

}  // namespace

TEST_F(RenderRunTest, FullRenderCoversTheFilterRectangleAtFullSize) {
    render_run(context, kRenderHostImage);
    EXPECT_TRUE(same(seen.area, {10, 20, 110, 220}));
    EXPECT_TRUE(same(seen.in, seen.area));
    EXPECT_TRUE(same(seen.out, seen.area));
    EXPECT_TRUE(same(seen.mask, seen.area));
    EXPECT_EQ(seen.mode, 0);
    EXPECT_EQ(seen.divisor, 1);
    EXPECT_EQ(seen.offset_x, 0);
    EXPECT_EQ(seen.offset_y, 0);
    EXPECT_EQ(seen.rate, 0x10000);
    EXPECT_EQ(seen.padding, -1);
    EXPECT_EQ(seen.hi_plane, 3);
    EXPECT_TRUE(seen.layer_target_cleared);
    expect_restored();

    record.haveMask = 0;
    render_run(context, kRenderHostImage);
    EXPECT_TRUE(same(seen.mask, {5, 5, 6, 6}));  // no mask: its rectangle is left alone
}

TEST_F(RenderRunTest, PreviewRendersThePreviewRectangleAtItsScale) {
    render_run(context, kRenderPreview);
    EXPECT_TRUE(same(seen.area, {0, 0, 25, 40}));
    EXPECT_TRUE(same(seen.in, {1, 2, 26, 42}));  // moved by the offsets / 4
    EXPECT_EQ(seen.mode, 1);
    EXPECT_EQ(seen.divisor, 4);
    EXPECT_EQ(seen.rate, 0x40000);
    expect_restored();
}

TEST_F(RenderRunTest, StoreRenderCoversThePreparedRectangleAtFullSize) {
    render_run(context, kRenderLayerStore);
    EXPECT_TRUE(same(seen.area, {0, 0, 50, 60}));
    EXPECT_EQ(seen.mode, 2);
    EXPECT_EQ(seen.divisor, 1);
    EXPECT_EQ(seen.offset_x, 0);
    EXPECT_FALSE(seen.layer_target_cleared);
    expect_restored();
}

}  // namespace corvanthe
