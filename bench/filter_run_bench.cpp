// Whole filter runs through PluginMain and the in-process host: the default sun rendered and
// glued onto a 4000 x 3000 8-bit RGB document.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/bench_support.h"
#include "host/plugin_main.h"
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
void BM_FilterRunDefaultSun(benchmark::State& state) {
    const PrivateCache cache;
    const ProcessorCount processors(int32_t(state.range(0)));
    constexpr int32_t kWidth = 4000, kHeight = 3000;
    hosting::Host host(grey_document(kWidth, kHeight));
    hosting::DescriptorStore store(host.handles());
    host.options().descriptors = store.seam(sdk::plugInDialogSilent);
    const int32_t glue = default_settings().glue;
    for (auto _ : state) {
        host.set_descriptor(store.make_handle(
            hosting::Descriptor().put_enumerated(kGlueKey, kGlueEnum, enumerator_key(kGlueEnum, glue))));
        const hosting::RunResult run = host.run_filter(PluginMain);
        if (run.result != 0) state.SkipWithError("the filter run failed");
    }
    host.options().descriptors.reset();
    state.counters["MP/s"] =
        benchmark::Counter(double(kWidth) * kHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FilterRunDefaultSun)->Arg(1)->Arg(2)->ArgName("threads")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
}  // namespace corvanthe::bench
