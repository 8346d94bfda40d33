// The dialog's preview cost: a slider released at the fit divisor of a 4000 x 3000 document
// (divisor 9 in the 518 x 373 frame) re-renders the preview through the host and repaints what
// the dialog asks for (the slider, its field and the preview) through the recording port and
// the software canvas.
#include <benchmark/benchmark.h>

#include "host/plugin_main.h"
#include "hosting/host.h"
#include "ui/canvas/software_canvas.h"
#include "ui/control_table.h"
#include "ui/recording_port.h"

namespace corvanthe::bench {
namespace {

hosting::Document gradient(int32_t width, int32_t height) {
    hosting::Document doc = hosting::make_document(width, height, 8, hosting::ColourKind::rgb, false);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            doc.set_sample(x, y, 0, x * 255 / width);
            doc.set_sample(x, y, 1, y * 255 / height);
            doc.set_sample(x, y, 2, 96);
        }
    return doc;
}

void BM_SliderReleaseAtFit(benchmark::State& state) {
    hosting::Host host(gradient(4000, 3000));
    host.options().services.display_pixels = false;  // the plug-in draws the preview itself
    ui::RecordingPort port;
    port.script_main_dialog([&](ui::DialogSession& d) {
        ui::RgbaImage picture{d.layout().width, d.layout().height,
                              std::vector<uint8_t>(size_t(d.layout().width) * d.layout().height * 4)};
        ui::SoftwareCanvas canvas(picture);
        const ui::Rect slider = d.place(37);
        int32_t step = 0;
        for (auto _ : state) {
            const ui::Point at = {slider.left + 20 + (step++ % 100), slider.top + 8};
            d.press(at);
            d.release(at);
            d.paint_requested(canvas);
        }
        d.click(ui::id::kCancel);
    });
    host.run_filter(PluginMain, true);
}
BENCHMARK(BM_SliderReleaseAtFit)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace corvanthe::bench
