// `corvanthe preset` and `corvanthe info` end to end: the command on settings files
// written here byte by byte, by the command itself, and on damaged ones.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <OpenImageIO/imageio.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "apps/cli/image_file.h"
#include "scratch_folder.h"

namespace corvanthe::cli {
namespace {

namespace fs = std::filesystem;

fs::path dir() { return scratch_folder(); }

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Runs the command in the scratch folder; its output goes to stdout.txt and stderr.txt.
int command(const std::string& arguments) {
    const std::string line = "cd '" + dir().string() + "' && '" + CORVANTHE_COMMAND + "' " + arguments +
                             " >stdout.txt 2>stderr.txt";
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
std::string out() { return read_file(dir() / "stdout.txt"); }
std::string err() { return read_file(dir() / "stderr.txt"); }

// `preset show --json` of a file, run and checked.
std::string shown(const std::string& file) {
    EXPECT_EQ(command("preset show " + file + " --json"), 0) << err();
    return out();
}

// The number (or the first number of the array) that follows "NAME": in JSON text.
double value(const std::string& json, const std::string& name) {
    const std::string label = "\"" + name + "\": ";
    const std::size_t at = json.find(label);
    if (at == std::string::npos) {
        ADD_FAILURE() << name << " missing";
        return -1e9;
    }
    std::size_t start = at + label.size();
    if (json[start] == '[') ++start;
    return std::strtod(json.c_str() + start, nullptr);
}
std::vector<double> triple(const std::string& json, const std::string& name) {
    const std::size_t at = json.find("\"" + name + "\": [");
    if (at == std::string::npos) return {};
    const char* p = json.c_str() + at + name.size() + 5;
    std::vector<double> values;
    for (int i = 0; i < 3; ++i) {
        char* end;
        values.push_back(std::strtod(p, &end));
        p = end + 1;  // past the comma
    }
    return values;
}

void write_ints(const fs::path& path, const std::vector<int32_t>& ints) {
    std::ofstream file(path, std::ios::binary);
    for (const int32_t v : ints) {
        const uint32_t u = uint32_t(v);
        const char bytes[4] = {char(u >> 24), char(u >> 16), char(u >> 8), char(u)};
        file.write(bytes, 4);
    }
}

// The ints of an old file after the version: 9 colour channels, 13 + 5 + 2 integers,
// colour 4, the spike colour, then the blocks of the later versions.
std::vector<int32_t> version_1_values() {
    std::vector<int32_t> v = {1, 0x1000, 0x2000, 0x3000, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 13; ++i) v.push_back(10 + i);  // spike brightness 10 .. spike gamma 20, switches
    v.insert(v.end(), {60, 20, 61, 62, 63});             // halo radius, halo brightness 20, bow ...
    v.insert(v.end(), {64, 65});                         // flare width, flare count
    v.insert(v.end(), {0, 0, 0, 0xFF00, 0xFF00, 0xFF00});  // colour 4, spike colour
    return v;
}

TEST(PresetCommand, SaveThenShowGivesTheStoredValues) {
    ASSERT_EQ(command("preset save s.q4q --set 'X center=0.65' --set 'sun radius=80' --set 'sun red=200' "
                      "--set 'glue=pin light' --set 'flare X=-0.3' --set 'flip bow=false'"),
              0)
        << err();
    // The file itself: version 40, 57 value ints before the centre, the centre, no thumbnail.
    const std::string bytes = read_file(dir() / "s.q4q");
    ASSERT_EQ(bytes.size(), (1 + 57 + 2 + 1) * 4u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\0\0\0\x28", 4));
    EXPECT_EQ(bytes.substr(58 * 4, 4), std::string("\0\0\xA6\x66", 4)) << "0.65 x 65536 cut to 42598";

    const std::string json = shown("s.q4q");
    EXPECT_EQ(value(json, "version"), 40);
    // The centre reads back as 42598 / 65536 and the flare X as -30 x 0.01, both as floats.
    EXPECT_EQ(value(json, "0050"), 42598.0 / 65536.0);
    EXPECT_EQ(float(value(json, "0042")), float(-30 * 0.01));
    EXPECT_EQ(value(json, "0051"), 0.5);
    EXPECT_EQ(value(json, "0014"), 80);
    EXPECT_EQ(value(json, "0001"), 200 * 256) << "colour channels as their 16-bit values";
    EXPECT_EQ(value(json, "0002"), 135 * 256);
    EXPECT_EQ(value(json, "sgky"), 19);
    EXPECT_EQ(value(json, "0039"), 0);
    // Colour 4 is the default halo colour; flare Z is stored as 93 hundredths.
    EXPECT_EQ(triple(json, "colour 4"), (std::vector<double>{207 * 256, 151 * 256, 64 * 256}));
    EXPECT_EQ(float(value(json, "flare Z")), float(93 * 0.01));
    EXPECT_EQ(value(json, "kind"), 0);

    // The text form names the parameters with both values of a colour channel.
    ASSERT_EQ(command("preset show s.q4q"), 0);
    EXPECT_NE(out().find("sun red (0001)"), std::string::npos);
    EXPECT_NE(out().find("200  (16-bit 51200)"), std::string::npos);
    EXPECT_NE(out().find("19 \"pin light\""), std::string::npos);
}

TEST(PresetCommand, ShowsOldFilesAsTheirUpgradedRecord) {
    // Version 1: spike colour, diffraction, gamma and bow smear take fixed values, halo
    // brightness is inverted, and everything a version-1 file lacks keeps its default.
    write_ints(dir() / "v1.q4q", version_1_values());
    std::string json = shown("v1.q4q");
    EXPECT_EQ(value(json, "version"), 1);
    EXPECT_EQ(value(json, "0030"), 0x1000) << "spike colour := sun colour";
    EXPECT_EQ(value(json, "0032"), 0x3000);
    EXPECT_EQ(value(json, "0040"), 100);
    EXPECT_EQ(value(json, "0020"), 50);
    EXPECT_EQ(value(json, "0033"), 0);
    EXPECT_EQ(value(json, "0024"), 80);
    EXPECT_EQ(value(json, "0010"), 10);
    EXPECT_EQ(value(json, "suky"), 1);
    EXPECT_EQ(value(json, "0048"), 203);
    EXPECT_EQ(value(json, "0050"), double(0.65f));

    // Version 10: sun type counted from 0 (stored 1 is flat), spike detail and halo brightness inverted;
    // the flare direction is there, the random seed not yet.
    std::vector<int32_t> v10 = version_1_values();
    v10[0] = 10;
    v10.insert(v10.end(), {0, 0, 0, 7, 8, 1});           // colour 5; bow smear, flare radius, sun type 1
    v10.insert(v10.end(), {4, 1, 31, 32, 1, 33, 30});    // glue, reserved, master .. flip bow, diffraction, detail
    v10.insert(v10.end(), {-30, 50, 0, 10, 20, 0});      // flare and spike directions x 100
    write_ints(dir() / "v10.q4q", v10);
    json = shown("v10.q4q");
    EXPECT_EQ(value(json, "suky"), 2);
    EXPECT_EQ(value(json, "0041"), 70);
    EXPECT_EQ(value(json, "0024"), 80);
    EXPECT_EQ(value(json, "0033"), 7);
    EXPECT_EQ(value(json, "sgky"), 4);
    EXPECT_EQ(float(value(json, "0043")), float(50 * 0.01));
    EXPECT_EQ(value(json, "0048"), 203);
}

TEST(PresetCommand, SaveCarriesAThumbnailOfTheImagesCentre) {
    // 90 x 30: the centred 30 x 30 square is green, the sides red.
    hosting::Document doc = hosting::make_document(90, 30, 8, hosting::ColourKind::rgb, false);
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 90; ++x) doc.set_sample(x, y, x >= 30 && x < 60 ? 1 : 0, 255);
    std::string error;
    ASSERT_TRUE(write_image_file((dir() / "picture.png").string(), doc, error)) << error;

    ASSERT_EQ(command("preset save t.q4q --thumbnail picture.png --set 'sun type=eclipse'"), 0) << err();
    std::string json = shown("t.q4q");
    EXPECT_EQ(value(json, "kind"), 1);
    EXPECT_EQ(value(json, "width"), 128);
    EXPECT_EQ(value(json, "height"), 128);
    EXPECT_EQ(value(json, "suky"), 3);

    // The JPEG after the block's four ints decodes to a green square.
    const std::string bytes = read_file(dir() / "t.q4q");
    const std::size_t jpeg_at = (1 + 59 + 4) * 4;
    ASSERT_GT(bytes.size(), jpeg_at);
    std::ofstream(dir() / "thumbnail.jpg", std::ios::binary) << bytes.substr(jpeg_at);
    auto in = OIIO::ImageInput::open((dir() / "thumbnail.jpg").string());
    ASSERT_TRUE(in);
    ASSERT_EQ(in->spec().width, 128);
    std::vector<uint8_t> pixels(128 * 128 * 3);
    ASSERT_TRUE(in->read_image(0, 0, 0, 3, OIIO::TypeDesc::UINT8, pixels.data()));
    double red = 0, green = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 3) {
        red += pixels[i];
        green += pixels[i + 1];
    }
    EXPECT_LT(red / (128 * 128), 40);
    EXPECT_GT(green / (128 * 128), 200);

    // --from keeps the thumbnail's bytes and the values; --set changes one.
    ASSERT_EQ(command("preset save u.q4q --from t.q4q --set glue=7"), 0) << err();
    json = shown("u.q4q");
    EXPECT_EQ(value(json, "suky"), 3);
    EXPECT_EQ(value(json, "sgky"), 7);
    EXPECT_EQ(read_file(dir() / "u.q4q").substr(jpeg_at - 8), bytes.substr(jpeg_at - 8));
}

// The generator's first draws for a seed, reasoned from the C runtime's rand: each
// draw's value >> 4 masked to 127 for a range of 0..100, drawn again above 100.
std::vector<int> first_spike_values(uint32_t seed) {
    uint32_t state = seed;
    std::vector<int> values;
    while (values.size() < 4) {
        state = state * 214013u + 2531011u;
        const int r = int((state >> 16) & 0x7FFF) >> 4 & 127;
        if (r <= 100) values.push_back(r);
    }
    return values;
}

TEST(PresetCommand, DiceDrawsTheSameSunForTheSameSeed) {
    ASSERT_EQ(command("preset dice a.q4q --rand-seed 12345"), 0) << err();
    ASSERT_EQ(command("preset dice b.q4q --rand-seed 12345"), 0) << err();
    ASSERT_EQ(command("preset dice c.q4q --rand-seed 12346"), 0) << err();
    EXPECT_EQ(read_file(dir() / "a.q4q"), read_file(dir() / "b.q4q"));
    EXPECT_NE(read_file(dir() / "a.q4q"), read_file(dir() / "c.q4q"));

    for (const uint32_t seed : {12345u, 1u, 4000000000u}) {
        SCOPED_TRACE(seed);
        ASSERT_EQ(command("preset dice d.q4q --rand-seed " + std::to_string(seed)), 0) << err();
        const std::string json = shown("d.q4q");
        const std::vector<int> spikes = first_spike_values(seed);
        EXPECT_EQ(value(json, "0010"), spikes[0]);
        EXPECT_EQ(value(json, "0011"), spikes[1]);
        EXPECT_EQ(value(json, "0012"), spikes[2]);
        EXPECT_EQ(value(json, "0013"), spikes[3]);
        // What every Dice fixes.
        EXPECT_EQ(value(json, "0038"), 25);
        EXPECT_GE(value(json, "0049"), 50);
        EXPECT_EQ(value(json, "flare Z"), 0);
        EXPECT_EQ(value(json, "spike Z"), 0);
        EXPECT_NE(value(json, "suky"), 2);
        EXPECT_EQ(triple(json, "colour 4"), (std::vector<double>{value(json, "0007"), value(json, "0008"),
                                                                 value(json, "0009")}));
    }

    // Glue and centre come from --from; without a seed the one printed repeats the file.
    ASSERT_EQ(command("preset save from.q4q --set glue=12 --set 'Y center=0.25'"), 0);
    ASSERT_EQ(command("preset dice e.q4q --from from.q4q"), 0) << err();
    const std::string json = shown("e.q4q");
    EXPECT_EQ(value(json, "sgky"), 12);
    EXPECT_EQ(value(json, "0051"), 0.25);
    ASSERT_EQ(command("preset dice e.q4q --from from.q4q"), 0) << err();
    const std::size_t at = out().find("--rand-seed ");
    ASSERT_NE(at, std::string::npos) << out();
    const std::string seed = out().substr(at + 12, out().find(')', at) - at - 12);
    const std::string first = read_file(dir() / "e.q4q");
    ASSERT_EQ(command("preset dice f.q4q --from from.q4q --rand-seed " + seed), 0) << err();
    EXPECT_EQ(read_file(dir() / "f.q4q"), first);
}

TEST(PresetCommand, RefusesBadInputWithExitTwoAndWritesNothing) {
    ASSERT_EQ(command("preset save good.q4q --thumbnail picture-missing.png"), 2);
    EXPECT_FALSE(fs::exists(dir() / "good.q4q"));
    ASSERT_EQ(command("preset save good.q4q"), 0);
    const std::string good = read_file(dir() / "good.q4q");

    std::ofstream(dir() / "v41.q4q", std::ios::binary) << std::string("\0\0\0\x29", 4) << good.substr(4);
    std::ofstream(dir() / "short.q4q", std::ios::binary) << good.substr(0, 100);
    std::ofstream(dir() / "not-an-image.png") << "text";

    struct Case {
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {"preset show missing.q4q", "cannot open settings file 'missing.q4q'"},
        {"preset show short.q4q", "not a complete settings file"},
        {"preset show v41.q4q", "version 41"},
        {"preset save good.q4q --from short.q4q", "not a complete settings file"},
        {"preset dice good.q4q --from missing.q4q", "cannot open"},
        {"preset save good.q4q --set 'sun brightness=3'", "\"sun radius\" (0014)"},
        {"preset save good.q4q --set 'sun red=256'", "0..255"},
        {"preset save good.q4q --thumbnail not-an-image.png", "not-an-image.png"},
        {"preset save no-such-folder/x.q4q", "cannot write"},
        {"preset dice good.q4q --rand-seed -1", ""},
        {"preset show", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(command(c.arguments), 2);
        EXPECT_NE(err().find(c.message), std::string::npos) << err();
        EXPECT_EQ(read_file(dir() / "good.q4q"), good) << "the target is left as it was";
    }
    EXPECT_FALSE(fs::exists(dir() / "no-such-folder"));

    // A file cut inside its thumbnail is as incomplete as one cut inside its values.
    hosting::Document doc = hosting::make_document(8, 8, 8, hosting::ColourKind::grey, false);
    std::string error;
    ASSERT_TRUE(write_image_file((dir() / "grey.png").string(), doc, error)) << error;
    ASSERT_EQ(command("preset save thumb.q4q --thumbnail grey.png"), 0) << err();
    const std::string thumb = read_file(dir() / "thumb.q4q");
    std::ofstream(dir() / "thumb-cut.q4q", std::ios::binary) << thumb.substr(0, thumb.size() - 10);
    EXPECT_EQ(command("preset show thumb-cut.q4q"), 2);
    EXPECT_EQ(command("render --quiet --preset thumb-cut.q4q -o cut.png"), 2);
    EXPECT_FALSE(fs::exists(dir() / "cut.png"));
}

TEST(InfoCommand, DecodesThePropertiesAndTheFortyNineParameters) {
    ASSERT_EQ(command("info"), 0) << err();
    const std::string text = out();
    for (const char* line : {"  kind  8BFM\n", "  name  \"Corvanthe...\"\n", "  catg  \"Tallow Heron\"\n",
                             "  vers  interface 4.0\n", "  wx86  PluginMain", "  8664  PluginMain",
                             "scope \"Tallow Heron Corvanthe\"", "  mode  0x5000 grayscale RGB\n",
                             "  fici  case 4: input 1, output 1, flags 3\n", "\"Draws fantasy suns\"",
                             "49 parameters", "  0041  long  \"spike detail \"  0..100, default 33\n",
                             "  0001  long  \"sun red\"  0..255, default 142\n",
                             "  0021  long  \"vortices\"  0 or 1, default 1\n",
                             "  0042  doub  \"flare X\"  -1..1, default -0.3\n",
                             "  0048  long  \"random seed\"  -2147483648..2147483647, default 203\n",
                             "  0050  doub  \"X center\"  0..1, default 0.65\n",
                             "  suky  suty  \"sun type\": 1 \"normal\", 2 \"flat\", 3 \"eclipse\"; default 1 \"normal\"\n",
                             "  sgky  sgty  \"glue\": 1 \"normal\", 2 \"procedural +\""})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    // The name is shown with its trailing blank and taken with or without it.
    ASSERT_EQ(command("preset save blank.q4q --set \"spike detail =40\" --set \"SPIKE DETAIL=41\""), 0) << err();
    EXPECT_EQ(value(shown("blank.q4q"), "0041"), 41) << out();

    // The JSON lists the 49 keys in order with their types: 0001..0051 without 0044
    // and 0047, suky and sgky in place of 0035 and 0036; six floats.
    ASSERT_EQ(command("info --json"), 0) << err();
    const std::string json = out();
    std::size_t at = 0;
    int found = 0;
    for (int n = 1; n <= 51; ++n) {
        if (n == 44 || n == 47) continue;
        std::string key = (n < 10 ? "000" : "00") + std::to_string(n), type = "long";
        if (n == 35) key = "suky", type = "suty";
        if (n == 36) key = "sgky", type = "sgty";
        if (n == 42 || n == 43 || n == 45 || n == 46 || n == 50 || n == 51) type = "doub";
        at = json.find("\"key\": \"" + key + "\", \"type\": \"" + type + "\"", at);
        ASSERT_NE(at, std::string::npos) << key;
        ++found;
    }
    EXPECT_EQ(found, 49);
    EXPECT_NE(json.find("\"entry points\": {\"wx86\": \"PluginMain\", \"8664\": \"PluginMain\"}"), std::string::npos);
    EXPECT_NE(json.find("\"category\": \"Tallow Heron\""), std::string::npos);
    EXPECT_NE(json.find("\"key\": \"0043\", \"type\": \"doub\", \"flags\": 32768, \"min\": -1, \"max\": 1, "
                        "\"default\": -0.18}"),
              std::string::npos);
    EXPECT_NE(json.find("\"key\": \"sgky\", \"type\": \"sgty\", \"flags\": 40960, \"min\": 1, \"max\": 19, "
                        "\"default\": 1}"),
              std::string::npos);
}

}  // namespace
}  // namespace corvanthe::cli
