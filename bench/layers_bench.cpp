// The layer operations: building the levels of a large store, and a small JPEG picture.
#include <benchmark/benchmark.h>

#include "layers/jpeg_writer.h"
#include "layers/layer_store.h"
#include "layers/level_filter.h"
#include "render/worker_pool.h"

namespace corvanthe::bench {
namespace {

// A store with a gradient in level 0, so the filters see varied pixels.
LayerStore* gradient_store(int32_t width, int32_t height, PixelKind kind) {
    LayerStore* store = create_store(nullptr, width, height, kind);
    if (!store) return nullptr;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            set_pixel(*store, x, y, 0,
                      PixelValue{float(x) / float(width), float(y) / float(height), float((x ^ y) & 255) / 255.f, 1.f});
    return store;
}

// Every level of a 6000 x 4000 (24-megapixel) 8-bit store, on every processor.
void BM_BuildLevels(benchmark::State& state) {
    LayerStore* store = gradient_store(6000, 4000, PixelKind::rgba8);
    if (!store) {
        state.SkipWithError("no memory for the store");
        return;
    }
    WorkerPool pool;
    for (auto _ : state)
        if (!build_levels(*store, 0, pool)) state.SkipWithError("level building failed");
    state.counters["MP/s"] = benchmark::Counter(24.0, benchmark::Counter::kIsIterationInvariantRate);
    free_store(store);
}
BENCHMARK(BM_BuildLevels)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 300 x 225 picture at quality 90, as the catalogue pages write them.
void BM_EncodeJpeg(benchmark::State& state) {
    LayerStore* store = gradient_store(300, 225, PixelKind::rgba8);
    if (!store) {
        state.SkipWithError("no memory for the store");
        return;
    }
    for (auto _ : state) {
        JpegBytes bytes;
        if (encode_jpeg(store, 90, JpegSegments{}, bytes) != kJpegOk) state.SkipWithError("encoding failed");
        benchmark::DoNotOptimize(bytes.data());
    }
    free_store(store);
}
BENCHMARK(BM_EncodeJpeg)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace corvanthe::bench
