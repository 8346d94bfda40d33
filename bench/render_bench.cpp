// The renderer: the default sun over a 12-megapixel image, the dialog's preview, random suns.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "bench/bench_support.h"
#include "platform/c_random.h"
#include "settings/random_settings.h"

namespace corvanthe::bench {
namespace {

constexpr int32_t kDocumentWidth = 4000;
constexpr int32_t kDocumentHeight = 3000;

// The default sun over the whole 4000 x 3000 8-bit document into cell buffers, at range(0)
// threads: the renderer alone, without the glue and the host.
void BM_RenderDefaultSun(benchmark::State& state) {
    const ProcessorCount processors(int32_t(state.range(0)));
    const SunSettings settings = default_settings();
    const RenderRequest request = full_request(kDocumentWidth, kDocumentHeight, DepthClass::Eight);
    auto context = std::make_unique<RenderContext>();
    float checksum = 0;
    for (auto _ : state) {
        if (!render_into_cells(*context, settings, request, checksum)) state.SkipWithError("render failed");
        benchmark::DoNotOptimize(checksum);
    }
    state.counters["MP/s"] = benchmark::Counter(double(kDocumentWidth) * kDocumentHeight / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_RenderDefaultSun)->Arg(1)->Arg(2)->ArgName("threads")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The preview of a 4000 x 3000 document at its fit divisor: 518 x 373 pixels, render
// mode 1, scale divisor 8, on every processor.
void BM_PreviewRender(benchmark::State& state) {
    const SunSettings settings = default_settings();
    RenderRequest request = full_request(kDocumentWidth, kDocumentHeight, DepthClass::Eight);
    request.rect = {0, 0, 518, 373};
    request.render_mode = 1;
    request.scale_divisor = 8;
    auto context = std::make_unique<RenderContext>();
    float checksum = 0;
    for (auto _ : state) {
        if (!render_into_cells(*context, settings, request, checksum)) state.SkipWithError("render failed");
        benchmark::DoNotOptimize(checksum);
    }
}
BENCHMARK(BM_PreviewRender)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Dice, then a render of a 1000 x 750 image, for 32 random suns in a row; the cost depends
// on the settings, so the median over the suns is the figure to read.
void BM_DiceAndRender(benchmark::State& state) {
    constexpr int kSuns = 32;
    const RenderRequest request = full_request(1000, 750, DepthClass::Eight);
    auto context = std::make_unique<RenderContext>();
    std::vector<double> milliseconds;
    float checksum = 0;
    for (auto _ : state) {
        CRandom random;
        random.seed(12345);
        for (int i = 0; i < kSuns; ++i) {
            const auto start = std::chrono::steady_clock::now();
            SunSettings settings = default_settings();
            dice(settings, random);
            if (!render_into_cells(*context, settings, request, checksum)) state.SkipWithError("render failed");
            milliseconds.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        benchmark::DoNotOptimize(checksum);
    }
    std::nth_element(milliseconds.begin(), milliseconds.begin() + milliseconds.size() / 2, milliseconds.end());
    state.counters["median_ms"] = milliseconds[milliseconds.size() / 2];
    state.counters["suns"] = double(milliseconds.size());
}
BENCHMARK(BM_DiceAndRender)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace corvanthe::bench
