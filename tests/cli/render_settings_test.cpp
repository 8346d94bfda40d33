// `corvanthe render` with settings, selections and depths: the command on real files.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <OpenImageIO/imageio.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "apps/cli/image_file.h"
#include "settings/parameter_table.h"
#include "settings/settings_file.h"

namespace corvanthe::cli {
namespace {

namespace fs = std::filesystem;

const fs::path& folder() {
    struct Folder {
        fs::path path = fs::temp_directory_path() / ("corvanthe-settings-test-" + std::to_string(::getpid()));
        Folder() { fs::create_directories(path / "cache"); }
        ~Folder() {
            std::error_code ec;
            fs::remove_all(path, ec);
        }
    };
    static const Folder f;
    return f.path;
}

// Runs the command in the scratch folder with a private cache; returns its exit code.
int command(const std::string& arguments) {
    const std::string dir = folder().string();
    const std::string line = "cd '" + dir + "' && XDG_CACHE_HOME='" + dir + "/cache' '" + CORVANTHE_COMMAND +
                             "' " + arguments + " --quiet 2>'" + dir + "/stderr.txt'";
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string stderr_text() {
    std::ifstream in(folder() / "stderr.txt");
    return {std::istreambuf_iterator<char>(in), {}};
}

hosting::Document read(const std::string& name) {
    hosting::Document doc;
    std::string error;
    EXPECT_TRUE(read_image_file((folder() / name).string(), doc, error)) << error;
    return doc;
}

// A small picture with a gradient, written through OpenImageIO in the file's own format.
void write_image(const std::string& name, int depth, hosting::ColourKind colour, bool alpha) {
    hosting::Document doc = hosting::make_document(64, 48, depth, colour, alpha);
    for (int32_t y = 0; y < doc.height; ++y)
        for (int32_t x = 0; x < doc.width; ++x)
            for (int p = 0; p < doc.planes(); ++p)
                doc.set_sample(x, y, p, hosting::full_scale(depth) * ((x + 2 * y + 13 * p) % 64) / 64.0);
    std::string error;
    ASSERT_TRUE(write_image_file((folder() / name).string(), doc, error)) << error;
}

OIIO::TypeDesc file_format(const std::string& name) {
    auto in = OIIO::ImageInput::open((folder() / name).string());
    return in ? in->spec().format : OIIO::TypeDesc();
}

TEST(RenderSettings, EveryKindOfFileRendersAndKeepsItsDepth) {
    struct Case {
        const char* name;
        int depth;
        hosting::ColourKind colour;
        bool alpha;
        OIIO::TypeDesc format;
    };
    const Case cases[] = {
        {"g8.png", 8, hosting::ColourKind::grey, false, OIIO::TypeDesc::UINT8},
        {"g16.png", 16, hosting::ColourKind::grey, false, OIIO::TypeDesc::UINT16},
        {"rgb8.png", 8, hosting::ColourKind::rgb, false, OIIO::TypeDesc::UINT8},
        {"rgba16.png", 16, hosting::ColourKind::rgb, true, OIIO::TypeDesc::UINT16},
        {"f32.tif", 32, hosting::ColourKind::rgb, false, OIIO::TypeDesc::FLOAT},
        {"rgb.jpg", 8, hosting::ColourKind::rgb, false, OIIO::TypeDesc::UINT8},
    };
    for (const Case& c : cases) {
        write_image(c.name, c.depth, c.colour, c.alpha);
        const std::string out = std::string("out-") + c.name;
        ASSERT_EQ(command(std::string("render ") + c.name + " -o " + out + " --set \"sun radius=60\""), 0)
            << c.name << ": " << stderr_text();
        const hosting::Document in = read(c.name), rendered = read(out);
        EXPECT_EQ(file_format(out), c.format) << c.name;
        EXPECT_EQ(rendered.planes(), in.planes()) << c.name;
        EXPECT_NE(rendered.pixels, in.pixels) << c.name << ": no sun drawn";
    }
}

TEST(RenderSettings, DepthConversionChangesTheWrittenDepth) {
    write_image("d8.png", 8, hosting::ColourKind::rgb, false);
    ASSERT_EQ(command("render d8.png -o d16.png --depth 16"), 0) << stderr_text();
    EXPECT_EQ(file_format("d16.png"), OIIO::TypeDesc::UINT16);
    ASSERT_EQ(command("render d8.png -o d32.tif --depth 32"), 0) << stderr_text();
    EXPECT_EQ(file_format("d32.tif"), OIIO::TypeDesc::FLOAT);
    write_image("f.tif", 32, hosting::ColourKind::grey, false);
    ASSERT_EQ(command("render f.tif -o f8.png --depth 8"), 0) << stderr_text();
    EXPECT_EQ(file_format("f8.png"), OIIO::TypeDesc::UINT8);
}

TEST(RenderSettings, AnEmptyMaskLeavesTheImageAlone) {
    write_image("m-in.png", 8, hosting::ColourKind::rgb, false);
    hosting::Document mask = hosting::make_document(64, 48, 8, hosting::ColourKind::grey, false);
    std::string error;
    ASSERT_TRUE(write_image_file((folder() / "none-selected.png").string(), mask, error)) << error;
    ASSERT_EQ(command("render m-in.png -o m-out.png --mask none-selected.png"), 0) << stderr_text();
    EXPECT_EQ(read("m-out.png").pixels, read("m-in.png").pixels);
    std::fill(mask.pixels.begin(), mask.pixels.end(), uint8_t(255));
    ASSERT_TRUE(write_image_file((folder() / "all-selected.png").string(), mask, error)) << error;
    ASSERT_EQ(command("render m-in.png -o m-all.png --mask all-selected.png"), 0) << stderr_text();
    ASSERT_EQ(command("render m-in.png -o m-plain.png"), 0) << stderr_text();
    EXPECT_EQ(read("m-all.png").pixels, read("m-plain.png").pixels);
}

TEST(RenderSettings, AnOpenExrDocumentKeepsItsFloatsBeyondOneThroughARun) {
    hosting::Document hdr = hosting::make_document(64, 48, 32, hosting::ColourKind::rgb, false);
    for (int32_t y = 0; y < hdr.height; ++y)
        for (int32_t x = 0; x < hdr.width; ++x)
            for (int p = 0; p < 3; ++p) hdr.set_sample(x, y, p, 0.5 + x * 0.75 + p);  // up to 49.75
    std::string error;
    ASSERT_TRUE(write_image_file((folder() / "hdr.exr").string(), hdr, error)) << error;
    const hosting::Document nothing = hosting::make_document(64, 48, 8, hosting::ColourKind::grey, false);
    ASSERT_TRUE(write_image_file((folder() / "nothing.png").string(), nothing, error)) << error;

    ASSERT_EQ(command("render hdr.exr -o same.exr --mask nothing.png"), 0) << stderr_text();
    EXPECT_EQ(read("same.exr").pixels, hdr.pixels);
    ASSERT_EQ(command("render hdr.exr -o lit.exr --set glue=add"), 0) << stderr_text();
    const hosting::Document lit = read("lit.exr");
    EXPECT_EQ(lit.depth, 32);
    EXPECT_NE(lit.pixels, hdr.pixels) << "no sun drawn";
    // The sun replaces a float picture (no glue) and keeps its light beyond full intensity.
    double brightest = 0;
    for (int32_t y = 0; y < lit.height; ++y)
        for (int32_t x = 0; x < lit.width; ++x) brightest = std::max(brightest, double(lit.sample(x, y, 0)));
    EXPECT_GT(brightest, 1.0);
    EXPECT_LT(brightest, 2.0);
}

TEST(RenderSettings, SetPresetAndPlayGiveTheSamePixels) {
    write_image("s-in.png", 16, hosting::ColourKind::rgb, true);
    SunSettings settings{};
    initialise(settings);
    settings.sun_radius = 80;
    ASSERT_EQ(write_settings_file((folder() / "radius80.q4q").string(), settings, nullptr), 0);

    ASSERT_EQ(command("render s-in.png -o by-set.png --set \"sun radius=80\" --threads 1"), 0) << stderr_text();
    ASSERT_EQ(command("render s-in.png -o by-preset.png --preset radius80.q4q --threads 2 --record rec.json"), 0)
        << stderr_text();
    ASSERT_EQ(command("render s-in.png -o by-play.png --play rec.json"), 0) << stderr_text();
    ASSERT_EQ(command("render s-in.png -o plain.png"), 0) << stderr_text();
    EXPECT_EQ(read("by-set.png").pixels, read("by-preset.png").pixels);
    EXPECT_EQ(read("by-play.png").pixels, read("by-preset.png").pixels);
    EXPECT_NE(read("plain.png").pixels, read("by-set.png").pixels);

    std::ifstream json(folder() / "rec.json");
    const std::string text{std::istreambuf_iterator<char>(json), {}};
    EXPECT_NE(text.find("\"0014\": 80"), std::string::npos) << text;

    // --last takes what the previous run cached (floats as the file keeps them); a run
    // without settings starts from the defaults whatever was cached.
    ASSERT_EQ(command("render s-in.png -o again.png --set 0014=80"), 0) << stderr_text();
    fs::copy_file(folder() / "cache" / "corvanthe" / "Corvanthe cached settings D", folder() / "cached.q4q");
    ASSERT_EQ(command("render s-in.png -o last.png --last"), 0) << stderr_text();
    ASSERT_EQ(command("render s-in.png -o cached.png --preset cached.q4q"), 0) << stderr_text();
    EXPECT_EQ(read("last.png").pixels, read("cached.png").pixels);
    EXPECT_NE(read("last.png").pixels, read("plain.png").pixels);
    ASSERT_EQ(command("render s-in.png -o fresh.png"), 0) << stderr_text();
    EXPECT_EQ(read("fresh.png").pixels, read("plain.png").pixels);
}

TEST(RenderSettings, BadInputExitsWithTwoAndWritesNothing) {
    write_image("b-in.png", 8, hosting::ColourKind::rgb, false);
    write_image("b-small.png", 8, hosting::ColourKind::grey, false);
    {
        std::ifstream in(folder() / "b-in.png", std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(in), {}};
        std::ofstream(folder() / "truncated.png", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
        std::ofstream(folder() / "bad.json") << "{\"0014\": 80,}";
    }
    hosting::Document wrong = hosting::make_document(32, 48, 8, hosting::ColourKind::grey, false);
    std::string error;
    ASSERT_TRUE(write_image_file((folder() / "wrong-size.png").string(), wrong, error));

    const struct {
        std::string arguments;
        std::string says;
    } cases[] = {
        {"render missing.png", "missing.png"},
        {"render truncated.png", "truncated.png"},
        {"render b-in.png --set \"sun size=3\"", "sun radius"},
        {"render b-in.png --set \"sun red=300\"", "0..255"},
        {"render b-in.png --mask wrong-size.png", "32 x 48"},
        {"render b-in.png --mask missing.png", "missing.png"},
        {"render b-in.png --play bad.json", "bad.json"},
        {"render b-in.png --preset missing.q4q", "missing.q4q"},
        {"render b-in.png --depth 12", "12"},
    };
    for (const auto& c : cases) {
        fs::remove(folder() / "never.png");
        EXPECT_EQ(command(c.arguments + " -o never.png --record never.json"), 2) << c.arguments;
        EXPECT_NE(stderr_text().find(c.says), std::string::npos) << c.arguments << ": " << stderr_text();
        EXPECT_FALSE(fs::exists(folder() / "never.png")) << c.arguments;
        EXPECT_FALSE(fs::exists(folder() / "never.json")) << c.arguments;
    }
}

}  // namespace
}  // namespace corvanthe::cli
