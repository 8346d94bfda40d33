// Whole filter runs through PluginMain and the in-process host: the default sun rendered and
// glued onto a 4000 x 3000 8-bit RGB document, and the dialog's preview update inside a run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "host/plugin_main.h"
#include "host/pool_render.h"
#include "host/preview_source_host.h"
#include "host/render_call.h"
#include "hosting/descriptor_store.h"
#include "hosting/host.h"
#include "settings/parameter_table.h"

namespace corvanthe::bench {
namespace {

// The plug-in's files (cached settings) go to a fresh folder, so no earlier run's settings
// are picked up and no user's cache is touched.
class PrivateCache {
public:
    PrivateCache() {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvanthe-bench-XXXXXX").string();
        if (mkdtemp(pattern.data())) {
            folder_ = pattern;
            setenv("XDG_CACHE_HOME", folder_.c_str(), 1);
        }
    }
    ~PrivateCache() {
        std::error_code ignored;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
    }
    PrivateCache(const PrivateCache&) = delete;
    PrivateCache& operator=(const PrivateCache&) = delete;

private:
    std::string folder_;
};

// A mid-grey document, so every glue mode has something to work on.
hosting::Document grey_document(int32_t width, int32_t height) {
    hosting::Document doc = hosting::make_document(width, height, 8, hosting::ColourKind::rgb, false);
    std::fill(doc.pixels.begin(), doc.pixels.end(), uint8_t(96));
    return doc;
}

// Prepare, Start, Continue and Finish without the dialog: a silent descriptor that names only
// the glue mode, so every other parameter keeps its default.
class SilentRun {
public:
    SilentRun() : host_(grey_document(kWidth, kHeight)), store_(host_.handles()) {
        host_.options().descriptors = store_.seam(sdk::plugInDialogSilent);
    }
    ~SilentRun() { host_.options().descriptors.reset(); }
    hosting::Host& host() { return host_; }
    SilentRun(const SilentRun&) = delete;
    SilentRun& operator=(const SilentRun&) = delete;

    bool run() {
        const int32_t glue = default_settings().glue;
        host_.set_descriptor(store_.make_handle(
            hosting::Descriptor().put_enumerated(kGlueKey, kGlueEnum, enumerator_key(kGlueEnum, glue))));
        return host_.run_filter(PluginMain).result == 0;
    }

    static constexpr int32_t kWidth = 4000, kHeight = 3000;

private:
    hosting::Host host_;
    hosting::DescriptorStore store_;
};

void BM_FilterRunDefaultSun(benchmark::State& state) {
    const PrivateCache cache;
    const ProcessorCount processors(int32_t(state.range(0)));
    SilentRun filter;
    for (auto _ : state)
        if (!filter.run()) state.SkipWithError("the filter run failed");
    state.counters["MP/s"] = benchmark::Counter(double(SilentRun::kWidth) * SilentRun::kHeight / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FilterRunDefaultSun)->Arg(1)->Arg(2)->ArgName("threads")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The 2-thread speed-up as the median of back-to-back pairs (1 thread, then 2), so that drift in
// the machine's speed between the two figures cancels. An untimed first run leaves the host's
// copy of the document in memory that every pair then reuses alike.
void BM_ThreadScaling(benchmark::State& state) {
    const PrivateCache cache;
    SilentRun filter;
    if (!filter.run()) state.SkipWithError("the filter run failed");
    std::vector<double> factors;
    for (auto _ : state) {
        double seconds[2] = {};
        for (int32_t threads : {1, 2}) {
            const ProcessorCount processors(threads);
            const auto start = std::chrono::steady_clock::now();
            if (!filter.run()) state.SkipWithError("the filter run failed");
            seconds[threads - 1] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
        factors.push_back(seconds[0] / seconds[1]);
    }
    std::sort(factors.begin(), factors.end());
    if (!factors.empty()) state.counters["2T/1T"] = factors[factors.size() / 2];
}
BENCHMARK(BM_ThreadScaling)->Iterations(8)->Unit(benchmark::kMillisecond)->UseRealTime();

// The preview update after a slider's release: the 4000 x 3000 document at its fit divisor in the
// dialog's 518 x 373 frame (9), rendered in render mode 1 through the host's advanceState at input
// rate 9 and shown through its displayPixels. It runs where the dialog runs, inside Start; the
// run's own full render is left out.
class NoCanvas final : public ui::Canvas {
public:
    void fill(const ui::Rect&, ui::Colour) override {}
    void line(ui::Point, ui::Point, ui::Colour) override {}
    void image(ui::Point, const ui::RgbaImage&) override {}
    void text(ui::Point, std::string_view, ui::Colour) override {}
    int32_t text_width(std::string_view) override { return 0; }
    void focus_rect(const ui::Rect&) override {}
    void clip(const ui::Rect&) override {}
    void unclip() override {}
};

benchmark::State* g_preview_state = nullptr;

void preview_updates(HostContext& context, const sdk::VRect& rect) {
    if (context.settings->render_mode != 0) {
        render_on_pool(context, rect);
        return;
    }
    if (!g_preview_state) return;
    benchmark::State& state = *g_preview_state;
    HostPreviewSource source(context);
    NoCanvas canvas;
    ui::PreviewPicture picture;
    for (auto _ : state) {
        if (source.render({0, 0, SilentRun::kWidth, SilentRun::kHeight}, 9, picture) != 0) {
            state.SkipWithError("the preview render failed");
            break;
        }
        source.show(picture, {221, 56}, canvas);
    }
    if (picture.width != 445 || picture.height != 334) state.SkipWithError("the preview has the wrong size");
}

void BM_PreviewUpdateAtFitDivisor(benchmark::State& state) {
    const PrivateCache cache;
    const ProcessorCount processors(int32_t(state.range(0)));
    SilentRun filter;
    g_preview_state = &state;
    set_render_proc(preview_updates);
    if (!filter.run()) state.SkipWithError("the filter run failed");
    set_render_proc(nullptr);
    g_preview_state = nullptr;
    if (filter.host().canvas().calls().empty()) state.SkipWithError("nothing was shown");
}
BENCHMARK(BM_PreviewUpdateAtFitDivisor)->Arg(1)->Arg(2)->ArgName("threads")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
}  // namespace corvanthe::bench
