#include "reliability_support.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unistd.h>

#include "host/host_rects.h"
#include "host/plugin_main.h"
#include "host/pixel_access.h"
#include "host/render_call.h"
#include "host/tile_request.h"
#include "hosting/tile_buffer.h"

namespace corvanthe::reliability {

using hosting::ColourKind;
using hosting::Document;

PaintLog paint_log;

namespace {

constexpr int32_t kTile = 256;

void painting_render(HostContext& context, const sdk::VRect& area) {
    ++paint_log.renders;
    for (int32_t left = area.left; left < area.right; left += kTile) {
        for (int32_t top = area.top; top < area.bottom; top += kTile) {
            const sdk::VRect tile{top, left, std::min(top + kTile, area.bottom), std::min(left + kTile, area.right)};
            request_tile(context, tile);
            if (advance(context) != 0) return;
            ++paint_log.tiles;
            const sdk::VRect in = get_rect(*context.record, HostRect::kIn);
            for (int32_t y = tile.top; y < tile.bottom; ++y)
                for (int32_t x = tile.left; x < tile.right; ++x) {
                    PixelValue p;
                    // The glue leaves unselected pixels as they are.
                    if (read_pixel(*context.record, x, y, in, true, p) && read_mask(*context.record, x, y, in, true) == 1.0f)
                        write_host_pixel(*context.record, x, y, {1.0f, 0.0f, 0.5f, 1.0f}, true);
                }
        }
    }
}

bool inside(const sdk::VRect& r, int32_t x, int32_t y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

bool is_painted(const Document& doc, int32_t x, int32_t y) {
    const double full = hosting::full_scale(doc.depth);
    const double half = doc.depth == 32 ? 0.5 : std::trunc(full / 2);  // integers are cut toward zero
    if (doc.colour == ColourKind::grey) {
        if (doc.sample(x, y, 0) != 0) return false;
    } else if (doc.sample(x, y, 0) != full || doc.sample(x, y, 1) != 0 || doc.sample(x, y, 2) != half) {
        return false;
    }
    return !doc.transparency || doc.sample(x, y, doc.colour_planes()) == full;
}

bool same_pixel(const Document& a, const Document& b, int32_t x, int32_t y) {
    for (int p = 0; p < a.planes(); ++p)
        if (a.sample(x, y, p) != b.sample(x, y, p)) return false;
    return true;
}

}  // namespace

void ReliabilityTest::SetUp() {
    paint_log = {};
    set_render_proc(painting_render);
    if (const char* cache = std::getenv("XDG_CACHE_HOME")) {
        had_cache_ = true;
        old_cache_ = cache;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "corvanthe-reliability-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    setenv("XDG_CACHE_HOME", root_.c_str(), 1);
}

void ReliabilityTest::TearDown() {
    set_render_proc(nullptr);
    if (had_cache_)
        setenv("XDG_CACHE_HOME", old_cache_.c_str(), 1);
    else
        unsetenv("XDG_CACHE_HOME");
    std::error_code ignored;
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(root_, ignored);
}

std::vector<std::string> ReliabilityTest::program_files() const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(program_folder(), error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

::testing::AssertionResult painted_exactly_the_filter_area(const Document& after, const Document& before) {
    const sdk::VRect filter = before.effective_filter_rect();
    for (int32_t y = 0; y < after.height; ++y)
        for (int32_t x = 0; x < after.width; ++x) {
            const bool selected = inside(filter, x, y) && (!before.has_mask() || before.mask[y * before.width + x] == 255);
            const bool ok = selected ? is_painted(after, x, y) : same_pixel(after, before, x, y);
            if (!ok)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") " << (selected ? "not painted" : "changed");
        }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult unchanged_outside_filter_area(const Document& after, const Document& before) {
    const sdk::VRect filter = before.effective_filter_rect();
    for (int32_t y = 0; y < after.height; ++y)
        for (int32_t x = 0; x < after.width; ++x)
            if (!inside(filter, x, y) && !same_pixel(after, before, x, y))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") changed";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult unchanged_outside_selection(const Document& after, const Document& before) {
    const sdk::VRect filter = before.effective_filter_rect();
    for (int32_t y = 0; y < after.height; ++y)
        for (int32_t x = 0; x < after.width; ++x) {
            const bool unselected = before.has_mask() && before.mask[std::size_t(y) * before.width + x] == 0;
            if ((!inside(filter, x, y) || unselected) && !same_pixel(after, before, x, y))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") changed";
        }
    return ::testing::AssertionSuccess();
}

Document patterned(int32_t width, int32_t height, int depth, ColourKind colour, bool transparency, bool mask) {
    Document doc = hosting::make_document(width, height, depth, colour, transparency);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            for (int p = 0; p < doc.planes(); ++p)
                doc.set_sample(x, y, p, hosting::full_scale(depth) * ((x * 3 + y * 5 + p * 7) % 11) / 16.0);
    if (mask) {
        doc.mask.assign(std::size_t(width) * std::size_t(height), 0);
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width / 2; ++x) doc.mask[std::size_t(y) * width + x] = 255;
    }
    return doc;
}

hosting::RunResult run_changed(hosting::Host& host, const std::function<void(sdk::FilterRecord&)>& change,
                               bool with_parameters) {
    host.begin_run();
    change(host.record());
    hosting::RunResult run;
    auto step = [&](int16_t selector) {
        run = {host.call(PluginMain, selector), selector};
        return run.result == 0;
    };
    bool ok = (!with_parameters || step(sdk::kFilterSelectorParameters)) && step(sdk::kFilterSelectorPrepare) &&
              step(sdk::kFilterSelectorStart);
    while (ok && !(hosting::is_empty(host.in_rect()) && hosting::is_empty(host.out_rect()) && hosting::is_empty(host.mask_rect()))) {
        if (const int16_t delivered = host.deliver(); delivered != 0) {
            run = {delivered, sdk::kFilterSelectorContinue};
            ok = false;
        } else {
            ok = step(sdk::kFilterSelectorContinue);
        }
    }
    if (ok) step(sdk::kFilterSelectorFinish);
    host.end_run();
    return run;
}

const SunSettings& settings_of(hosting::Host& host) {
    return *reinterpret_cast<const SunSettings*>(host.handles().bytes(host.parameters()).data());
}

const PluginState& state_of(hosting::Host& host) {
    return *reinterpret_cast<const PluginState*>(
        host.handles().bytes(reinterpret_cast<sdk::Handle>(host.data())).data());
}

}  // namespace corvanthe::reliability
