// Writes the seed corpora of the fuzz targets from the program's own writers:
//   corvanthe_fuzz_seeds OUTPUT_FOLDER
// makes OUTPUT_FOLDER/<target>/ for every target, each with a few valid inputs.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/plugin_main.h"
#include "hosting/descriptor_store.h"
#include "hosting/host.h"
#include "layers/jpeg_thumbnail.h"
#include "layers/jpeg_writer.h"
#include "layers/layer_store.h"
#include "layers/level_filter.h"
#include "layers/thumbnail.h"
#include "render/worker_pool.h"
#include "sdk/four_cc.h"
#include "settings/memory_dots.h"
#include "settings/parameter_table.h"
#include "settings/settings_file.h"
#include "settings/temporary_files.h"
#include "ui/recording_port.h"

using namespace corvanthe;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

bool save(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

Bytes load(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// A picture with something in it: colour ramps over a width x height store.
LayerStore* ramp_picture(void* owner, int32_t width, int32_t height) {
    LayerStore* store = create_store(owner, width, height, PixelKind::rgba8);
    if (!store) return nullptr;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            set_pixel(*store, x, y, 0,
                      {float(x * 255 / width), float(y * 255 / height), float((x + y) % 256), 255.0f});
    return store;
}

// Settings files: version 40 with and without a thumbnail, and the same values read
// as older versions (a reader ignores what follows the blocks of its version).
bool settings_seeds(const fs::path& folder, void* owner, WorkerPool& runner) {
    SunSettings s{};
    initialise(s);
    LayerStore* picture = ramp_picture(owner, kThumbnailSide, kThumbnailSide);
    if (!picture) return false;
    build_levels(*picture, 0, runner);
    LayerStore* shown = nullptr;
    StoreThumbnails thumbnails(picture, shown, runner);
    const bool written = write_settings_file((folder / "v40-thumbnail.q4q").string(), s, &thumbnails) == kFileOk &&
                         write_settings_file((folder / "v40-plain.q4q").string(), s, nullptr) == kFileOk;
    free_store(shown);
    free_store(picture);
    if (!written) return false;
    const Bytes plain = load(folder / "v40-plain.q4q");
    for (const uint8_t version : {1, 2, 3, 4, 5, 7, 8, 9, 11, 12, 14, 15, 16, 20, 39}) {
        Bytes older = plain;
        older[3] = version;
        if (!save(folder / ("v" + std::to_string(version) + ".q4q"), older)) return false;
    }
    return true;
}

// Thumbnails as the thumbnail target takes them: width and height bytes, then the stream.
bool thumbnail_seeds(const fs::path& folder, void* owner) {
    const int32_t sides[][2] = {{128, 128}, {16, 16}, {100, 37}};
    for (const auto& side : sides) {
        LayerStore* picture = ramp_picture(owner, side[0], side[1]);
        if (!picture) return false;
        JpegBytes jpeg;
        const bool encoded = encode_jpeg(picture, kThumbnailQuality, JpegSegments{}, jpeg) == kJpegOk;
        free_store(picture);
        if (!encoded) return false;
        Bytes bytes = {uint8_t(side[0] - 1), uint8_t(side[1] - 1)};
        bytes.insert(bytes.end(), jpeg.data(), jpeg.data() + jpeg.size());
        if (!save(folder / ("thumbnail-" + std::to_string(side[0]) + "x" + std::to_string(side[1])), bytes))
            return false;
    }
    return true;
}

// Map files as the program writes them, with none, some and all dots kept.
bool dot_map_seeds(const fs::path& folder) {
    const int patterns[] = {0, 1, 7};
    for (const int every : patterns) {
        MemoryDots dots{};
        for (int i = 0; i < kDotCount; ++i) dots.map[i] = every && i % every == 0 ? 1 : 0;
        if (save_dot_map(dots) != kFileOk) return false;
        if (!save(folder / ("map-" + std::to_string(every)), load(memory_dot_map_path()))) return false;
    }
    return true;
}

bool html_seeds(const fs::path& folder) {
    const char* names[] = {"a&b <1>.q4q", "caf\xe9 \xab soleil \xbb.q4q", "..\\up/../x:y.q4q", "plain", "\x8e\x0f\x9a"};
    int n = 0;
    for (const char* name : names)
        if (!save(folder / ("name-" + std::to_string(n++)), Bytes(name, name + std::char_traits<char>::length(name))))
            return false;
    return true;
}

// Descriptors as a run records them (after a run from a descriptor of one key), each
// behind a play-mode byte.
bool descriptor_seeds(const fs::path& folder) {
    ui::RecordingPort port;
    hosting::Host host(hosting::make_document(9, 7, 8, hosting::ColourKind::rgb, false));
    hosting::DescriptorStore store(host.handles());
    host.options().descriptors = store.seam(sdk::plugInDialogSilent);
    const hosting::Descriptor one_key = hosting::Descriptor{}.put_integer(four_cc("0014"), 80);
    host.set_descriptor(store.make_handle(one_key));
    if (host.run_filter(PluginMain, false).result != 0) return false;
    const std::optional<hosting::Descriptor> recorded = store.read_handle(host.descriptor());
    if (!recorded) return false;
    const hosting::Descriptor* seeds[] = {&one_key, &*recorded};
    int n = 0;
    for (const hosting::Descriptor* d : seeds)
        for (const uint8_t play : {sdk::plugInDialogDontDisplay, sdk::plugInDialogDisplay, sdk::plugInDialogSilent}) {
            Bytes bytes = {play};
            const Bytes encoded = hosting::encode_descriptor(*d);
            bytes.insert(bytes.end(), encoded.begin(), encoded.end());
            if (!save(folder / ("descriptor-" + std::to_string(n++)), bytes)) return false;
        }
    return true;
}

// --set texts: every parameter by name and by key at its default, and the
// enumerations by their names.
bool set_option_seeds(const fs::path& folder) {
    std::vector<std::string> texts;
    for (const ParameterInfo& p : kParameters) {
        std::string value = p.type == ParameterType::Float ? std::to_string(p.default_value)
                                                           : std::to_string(int32_t(p.default_value));
        texts.push_back(std::string(p.name) + "=" + value);
        texts.push_back(four_cc_text(p.key) + "=" + value);
        for (int v = 1; v <= enumerator_count(p.enum_type); ++v)
            texts.push_back(std::string(p.name) + "=" + enumerator_name(p.enum_type, v));
    }
    texts.push_back("SUN RADIUS = true");
    int n = 0;
    for (const std::string& text : texts)
        if (!save(folder / ("set-" + std::to_string(n++)), Bytes(text.begin(), text.end()))) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const fs::path out = argv[1];
    // The map files go through the program's temporary folder: keep it inside the output.
    setenv("XDG_CACHE_HOME", fs::absolute(out / "cache").c_str(), 1);
    for (const char* target :
         {"fuzz_settings_file", "fuzz_thumbnail", "fuzz_memory_dot_map", "fuzz_html_text", "fuzz_descriptor",
                               "fuzz_set_option"})
        fs::create_directories(out / target);
    fs::create_directories(out / "cache");
    int owner = 0;
    WorkerPool runner(true);
    const bool made = settings_seeds(out / "fuzz_settings_file", &owner, runner) &&
                      thumbnail_seeds(out / "fuzz_thumbnail", &owner) &&
                      dot_map_seeds(out / "fuzz_memory_dot_map") && html_seeds(out / "fuzz_html_text") &&
                      descriptor_seeds(out / "fuzz_descriptor") && set_option_seeds(out / "fuzz_set_option");
    fs::remove_all(out / "cache");
    if (!made) std::fprintf(stderr, "seed generation failed\n");
    return made ? 0 : 1;
}
