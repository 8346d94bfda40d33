// Writes the seed corpora of the fuzz targets from the program's own writers:
//   corvanthe_fuzz_seeds OUTPUT_FOLDER
// makes OUTPUT_FOLDER/<target>/ for every target, each with a few valid inputs.
#include <png.h>
#include <tiffio.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "apps/cli/image_file.h"
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

// A small document with a different ramp in every plane.
hosting::Document ramp_document(int depth, hosting::ColourKind colour, bool alpha) {
    hosting::Document doc = hosting::make_document(12, 9, depth, colour, alpha);
    for (int32_t y = 0; y < doc.height; ++y)
        for (int32_t x = 0; x < doc.width; ++x)
            for (int p = 0; p < doc.planes(); ++p)
                doc.set_sample(x, y, p, ((x * 3 + y * 5 + p * 7) % 16) / 15.0 * hosting::full_scale(depth));
    return doc;
}

// Files of the kinds the command's writers make: PNG at 8 and 16 bits, TIFF at 8, 16
// and 32 bits, JPEG, in grey and RGB with and without alpha, one with an ICC profile.
bool written_image_seeds(const fs::path& folder) {
    using hosting::ColourKind;
    struct Seed {
        const char* name;
        int depth;
        ColourKind colour;
        bool alpha;
    };
    static constexpr Seed kSeeds[] = {
        {"grey8.png", 8, ColourKind::grey, false},     {"grey-alpha8.png", 8, ColourKind::grey, true},
        {"rgb8.png", 8, ColourKind::rgb, false},       {"rgba8.png", 8, ColourKind::rgb, true},
        {"grey16.png", 16, ColourKind::grey, false},   {"grey-alpha16.png", 16, ColourKind::grey, true},
        {"rgb16.png", 16, ColourKind::rgb, false},     {"rgba16.png", 16, ColourKind::rgb, true},
        {"rgb8.tif", 8, ColourKind::rgb, false},       {"grey-alpha16.tif", 16, ColourKind::grey, true},
        {"grey32.tif", 32, ColourKind::grey, false},   {"rgba32.tif", 32, ColourKind::rgb, true},
        {"grey.jpg", 8, ColourKind::grey, false},      {"rgb.jpg", 8, ColourKind::rgb, false},
        {"grey32.exr", 32, ColourKind::grey, false},   {"rgba32.exr", 32, ColourKind::rgb, true},
    };
    for (const Seed& seed : kSeeds) {
        hosting::Document doc = ramp_document(seed.depth, seed.colour, seed.alpha);
        if (seed.depth == 16 || seed.name == std::string("rgb.jpg")) doc.icc_profile = {'i', 'c', 'c', 0, 1, 2};
        std::string error;
        if (!cli::write_image_file((folder / seed.name).string(), doc, error)) {
            std::fprintf(stderr, "%s: %s\n", seed.name, error.c_str());
            return false;
        }
    }
    return true;
}

// PNG kinds the command's writer never makes, written by libpng: a 4-bit palette with
// a transparency table, and interlaced 2-bit grey and 8-bit RGB.
bool libpng_seed(const fs::path& path, int bit_depth, int colour_type, bool interlaced) {
    constexpr uint32_t kWidth = 13, kHeight = 11;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const int channels = colour_type == PNG_COLOR_TYPE_RGB ? 3 : 1;
    const std::size_t stride = (kWidth * channels * bit_depth + 7) / 8;
    Bytes pixels(stride * kHeight);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i * 37);
    std::vector<png_bytep> rows(kHeight);
    for (uint32_t y = 0; y < kHeight; ++y) rows[y] = pixels.data() + y * stride;
    bool ok = false;
    if (info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, kWidth, kHeight, bit_depth, colour_type,
                     interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        if (colour_type == PNG_COLOR_TYPE_PALETTE) {
            png_color palette[16];
            png_byte alphas[16];
            for (int i = 0; i < 16; ++i) {
                palette[i] = {png_byte(i * 16), png_byte(255 - i * 16), png_byte(i * 5)};
                alphas[i] = png_byte(i * 17);
            }
            png_set_PLTE(png, info, palette, 16);
            png_set_tRNS(png, info, alphas, 16, nullptr);
        }
        png_write_info(png, info);
        png_write_image(png, rows.data());
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

// TIFF layouts the command's writer never makes, written by libtiff: 8-bit RGB in
// 16 x 16 tiles, and 16-bit RGB with alpha in separate planes, LZW-compressed.
bool libtiff_seed(const fs::path& path, bool tiled) {
    constexpr uint32_t kWidth = 20, kHeight = 18;
    TIFF* t = TIFFOpen(path.c_str(), "w");
    if (!t) return false;
    const uint16_t samples = tiled ? 3 : 4, bits = tiled ? 8 : 16;
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, kHeight);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, uint16_t(PHOTOMETRIC_RGB));
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, uint16_t(tiled ? PLANARCONFIG_CONTIG : PLANARCONFIG_SEPARATE));
    TIFFSetField(t, TIFFTAG_COMPRESSION, uint16_t(tiled ? COMPRESSION_NONE : COMPRESSION_LZW));
    if (!tiled) {
        const uint16_t alpha = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(t, TIFFTAG_EXTRASAMPLES, uint16_t(1), &alpha);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, uint32_t(5));
    } else {
        TIFFSetField(t, TIFFTAG_TILEWIDTH, uint32_t(16));
        TIFFSetField(t, TIFFTAG_TILELENGTH, uint32_t(16));
    }
    const tmsize_t size = tiled ? TIFFTileSize(t) : TIFFStripSize(t);
    Bytes block(std::size_t(size > 0 ? size : 0));
    bool ok = size > 0;
    const uint32_t count = tiled ? TIFFNumberOfTiles(t) : TIFFNumberOfStrips(t);
    for (uint32_t i = 0; i < count && ok; ++i) {
        for (std::size_t b = 0; b < block.size(); ++b) block[b] = uint8_t(b * 7 + i * 13);
        ok = (tiled ? TIFFWriteEncodedTile(t, i, block.data(), size) : TIFFWriteEncodedStrip(t, i, block.data(), size)) >= 0;
    }
    ok = ok && TIFFWriteDirectory(t);
    TIFFClose(t);
    return ok;
}

bool image_file_seeds(const fs::path& folder) {
    return written_image_seeds(folder) && libpng_seed(folder / "palette4.png", 4, PNG_COLOR_TYPE_PALETTE, false) &&
           libpng_seed(folder / "interlaced-grey2.png", 2, PNG_COLOR_TYPE_GRAY, true) &&
           libpng_seed(folder / "interlaced-rgb8.png", 8, PNG_COLOR_TYPE_RGB, true) &&
           libtiff_seed(folder / "tiled-rgb8.tif", true) && libtiff_seed(folder / "planes-rgba16.tif", false);
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
                               "fuzz_set_option", "fuzz_image_file"})
        fs::create_directories(out / target);
    fs::create_directories(out / "cache");
    int owner = 0;
    WorkerPool runner(true);
    const bool made = settings_seeds(out / "fuzz_settings_file", &owner, runner) &&
                      thumbnail_seeds(out / "fuzz_thumbnail", &owner) &&
                      dot_map_seeds(out / "fuzz_memory_dot_map") && html_seeds(out / "fuzz_html_text") &&
                      descriptor_seeds(out / "fuzz_descriptor") && set_option_seeds(out / "fuzz_set_option") &&
                      image_file_seeds(out / "fuzz_image_file");
    fs::remove_all(out / "cache");
    if (!made) std::fprintf(stderr, "seed generation failed\n");
    return made ? 0 : 1;
}
