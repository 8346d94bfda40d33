// `corvanthe render` end to end: the command on real files, and the run with stand-in
// plug-ins for the outcomes the real one does not stage.
#include "apps/cli/render_command.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <OpenImageIO/imageio.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "apps/cli/image_file.h"
#include "scratch_folder.h"

namespace corvanthe::cli {
namespace {

namespace fs = std::filesystem;

fs::path scratch_dir() { return scratch_folder(); }

// Runs the command with its cache in the scratch folder; returns its exit code.
int command(const std::string& arguments) {
    const fs::path dir = scratch_dir();
    const std::string line = "cd '" + dir.string() + "' && XDG_CACHE_HOME='" + dir.string() + "/cache' '" +
                             CORVANTHE_COMMAND + "' " + arguments + " 2>'" + dir.string() + "/stderr.txt'";
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct FileFacts {
    int width = 0, height = 0, channels = 0;
    OIIO::TypeDesc format;
};

FileFacts facts(const fs::path& path) {
    FileFacts f;
    auto in = OIIO::ImageInput::open(path.string());
    if (!in) return f;
    f.width = in->spec().width;
    f.height = in->spec().height;
    f.channels = in->spec().nchannels;
    f.format = in->spec().format;
    return f;
}

void write_test_image(const fs::path& path, int depth, hosting::ColourKind colour, bool alpha, int32_t width = 40,
                      int32_t height = 30) {
    hosting::Document doc = hosting::make_document(width, height, depth, colour, alpha);
    for (size_t i = 0; i < doc.pixels.size(); ++i) doc.pixels[i] = uint8_t(i * 7);
    if (depth == 16)
        for (size_t i = 1; i < doc.pixels.size(); i += 2) doc.pixels[i] &= 0x7F;  // keep below 32768
    std::string error;
    ASSERT_TRUE(write_image_file(path.string(), doc, error)) << error;
}

TEST(RenderCommand, WritesAnImageOfTheInputsSizeAndDepth) {
    const fs::path dir = scratch_dir();
    write_test_image(dir / "rgb8.png", 8, hosting::ColourKind::rgb, false);
    write_test_image(dir / "grey16a.png", 16, hosting::ColourKind::grey, true);

    ASSERT_EQ(command("render rgb8.png -o out8.png --quiet --threads 1"), 0);
    FileFacts f = facts(dir / "out8.png");
    EXPECT_EQ(f.width, 40);
    EXPECT_EQ(f.height, 30);
    EXPECT_EQ(f.channels, 3);
    EXPECT_EQ(f.format, OIIO::TypeDesc::UINT8);

    ASSERT_EQ(command("render grey16a.png --output out16.png --quiet"), 0);
    f = facts(dir / "out16.png");
    EXPECT_EQ(f.width, 40);
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.format, OIIO::TypeDesc::UINT16);
}

TEST(RenderCommand, TheThreadCountDoesNotChangeThePixels) {
    const fs::path dir = scratch_dir();
    // Several 256 × 256 render jobs, so that two workers share them.
    write_test_image(dir / "threads.png", 16, hosting::ColourKind::rgb, true, 600, 300);
    ASSERT_EQ(command("render threads.png -o one.png --quiet --threads 1"), 0);
    ASSERT_EQ(command("render threads.png -o two.png --quiet --threads 2"), 0);
    hosting::Document one, two;
    std::string error;
    ASSERT_TRUE(read_image_file((dir / "one.png").string(), one, error)) << error;
    ASSERT_TRUE(read_image_file((dir / "two.png").string(), two, error)) << error;
    EXPECT_EQ(one.pixels, two.pixels);
}

// On a float document 1.0 is full intensity: the sun's light is the 16-bit render's over
// 32768, with room up to just under 2 for light brighter than white, which the 16-bit
// document clips at full intensity ("normal" glue replaces the picture by an opaque sun).
// The disc's one-pixel rim mixes the light on either side before that clip, so pixels next
// to light brighter than white are not compared.
TEST(RenderCommand, AFloatDocumentHoldsTheSixteenBitLightOverThirtyTwoThousand) {
    const fs::path dir = scratch_dir();
    hosting::Document sixteen = hosting::make_document(160, 100, 16, hosting::ColourKind::rgb, false);
    hosting::Document floats = hosting::make_document(160, 100, 32, hosting::ColourKind::rgb, false);
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 160; ++x)
            for (int p = 0; p < 3; ++p) {
                const int32_t v = 6553 + (x * 97 + y * 31 + p * 5000) % 19661;  // 0.2 .. 0.8
                sixteen.set_sample(x, y, p, v);
                floats.set_sample(x, y, p, v / 32768.0);
            }
    std::string error;
    ASSERT_TRUE(write_image_file((dir / "sixteen.tif").string(), sixteen, error)) << error;
    ASSERT_TRUE(write_image_file((dir / "floats.tif").string(), floats, error)) << error;
    ASSERT_EQ(command("render sixteen.tif -o sixteen_sun.tif --quiet"), 0);
    ASSERT_EQ(command("render floats.tif -o floats_sun.tif --quiet"), 0);
    hosting::Document a, b;
    ASSERT_TRUE(read_image_file((dir / "sixteen_sun.tif").string(), a, error)) << error;
    ASSERT_TRUE(read_image_file((dir / "floats_sun.tif").string(), b, error)) << error;
    ASSERT_EQ(b.depth, 32);
    auto below_full = [&b](int32_t x, int32_t y) {
        x = std::clamp(x, 0, b.width - 1);
        y = std::clamp(y, 0, b.height - 1);
        return b.sample(x, y, 0) < 1.0 && b.sample(x, y, 1) < 1.0 && b.sample(x, y, 2) < 1.0;
    };
    int compared = 0, brighter_than_white = 0;
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 160; ++x) {
            for (int p = 0; p < 3; ++p) {
                ASSERT_GE(b.sample(x, y, p), 0.0) << x << "," << y;
                ASSERT_LT(b.sample(x, y, p), 2.0) << x << "," << y;
            }
            brighter_than_white += !below_full(x, y);
            bool clear = true;
            for (int32_t dy = -1; dy <= 1; ++dy)
                for (int32_t dx = -1; dx <= 1; ++dx) clear = clear && below_full(x + dx, y + dy);
            if (!clear) continue;
            ++compared;
            for (int p = 0; p < 3; ++p) ASSERT_EQ(b.sample(x, y, p), a.sample(x, y, p) / 32768.0) << x << "," << y;
        }
    EXPECT_GT(compared, 160 * 100 / 2);
    EXPECT_GT(brighter_than_white, 0);
}

TEST(RenderCommand, BadInputAndUsageExitWithTwoAndWriteNothing) {
    const fs::path dir = scratch_dir();
    fs::remove(dir / "none.png");
    EXPECT_EQ(command("render missing.png -o none.png"), 2);
    EXPECT_EQ(command("render missing.png -o none.notaformat"), 2);
    EXPECT_EQ(command("render --threads 0 -o none.png"), 2);
    EXPECT_EQ(command("render --no-such-option"), 2);
    EXPECT_EQ(command(""), 2);
    EXPECT_FALSE(fs::exists(dir / "none.png"));
    EXPECT_EQ(command("--help >/dev/null"), 0);
}

std::string text_of(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(RenderCommand, TheWroteLineTellsWhatTheFileHoldsAndFloatsGoOnlyWhereTheyKeep) {
    const fs::path dir = scratch_dir();
    write_test_image(dir / "deep.png", 16, hosting::ColourKind::rgb, true);
    ASSERT_EQ(command("render deep.png -o deep.jpg >wrote.txt"), 0) << text_of(dir / "stderr.txt");
    EXPECT_EQ(text_of(dir / "wrote.txt"), "wrote deep.jpg (40 x 30, 8-bit RGB)\n");
    EXPECT_EQ(facts(dir / "deep.jpg").format, OIIO::TypeDesc::UINT8);
    EXPECT_EQ(facts(dir / "deep.jpg").channels, 3);
    ASSERT_EQ(command("render deep.png -o deep.tif >wrote.txt"), 0) << text_of(dir / "stderr.txt");
    EXPECT_EQ(text_of(dir / "wrote.txt"), "wrote deep.tif (40 x 30, 16-bit RGB with alpha)\n");

    // A float document, read or converted, is refused for formats of integers before the run.
    write_test_image(dir / "float.tif", 32, hosting::ColourKind::grey, false);
    for (const char* arguments : {"render float.tif -o lost.png", "render deep.png --depth 32 -o lost.JPG",
                                  "render --depth 32 -o lost.jpeg"}) {
        EXPECT_EQ(command(std::string(arguments) + " >wrote.txt"), 2) << arguments;
        const std::string message = text_of(dir / "stderr.txt");
        EXPECT_NE(message.find("TIFF"), std::string::npos) << message;
        EXPECT_NE(message.find("OpenEXR"), std::string::npos) << message;
        EXPECT_EQ(text_of(dir / "wrote.txt"), "") << arguments;
    }
    for (const char* name : {"lost.png", "lost.JPG", "lost.jpeg"}) EXPECT_FALSE(fs::exists(dir / name)) << name;
}

// Stand-ins for the plug-in: one inverts the image through advanceState, one fails at Start.
void CORVANTHE_HOST_API inverting_main(int16_t selector, void* record, intptr_t*, int16_t* result) {
    auto& r = *static_cast<sdk::FilterRecord*>(record);
    if (selector != sdk::kFilterSelectorStart) return;
    r.inRect = r.outRect = r.filterRect;
    r.inLoPlane = r.outLoPlane = 0;
    r.inHiPlane = r.outHiPlane = int16_t(r.planes - 1);
    *result = r.advanceState();
    if (*result != 0) return;
    const int width = (r.filterRect.right - r.filterRect.left) * r.planes;
    for (int y = 0; y < r.filterRect.bottom - r.filterRect.top; ++y)
        for (int i = 0; i < width; ++i) {
            const auto* in = static_cast<uint8_t*>(r.inData) + y * r.inRowBytes;
            static_cast<uint8_t*>(r.outData)[y * r.outRowBytes + i] = uint8_t(255 - in[i]);
        }
    r.inRect = r.outRect = sdk::Rect{0, 0, 0, 0};
}

void CORVANTHE_HOST_API failing_main(int16_t selector, void*, intptr_t*, int16_t* result) {
    if (selector == sdk::kFilterSelectorStart) *result = 3;
}

TEST(RenderCommand, WritesWhatTheFilterWroteAndNothingWhenItFails) {
    const fs::path dir = scratch_dir();
    write_test_image(dir / "in.png", 8, hosting::ColourKind::rgb, true);
    RenderOptions options;
    options.input = (dir / "in.png").string();
    options.output = (dir / "inverted.png").string();
    options.quiet = true;
    ASSERT_EQ(run_render(options, inverting_main), kExitSuccess);
    hosting::Document before, after;
    std::string error;
    ASSERT_TRUE(read_image_file(options.input, before, error));
    ASSERT_TRUE(read_image_file(options.output, after, error));
    ASSERT_EQ(after.pixels.size(), before.pixels.size());
    for (size_t i = 0; i < before.pixels.size(); ++i) ASSERT_EQ(after.pixels[i], 255 - before.pixels[i]) << i;

    options.output = (dir / "failed.png").string();
    EXPECT_EQ(run_render(options, failing_main), kExitFilterFailed);
    EXPECT_FALSE(fs::exists(options.output));
}

}  // namespace
}  // namespace corvanthe::cli
