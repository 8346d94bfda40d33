// `corvanthe page` end to end: the presets and memory dots pages written by the command,
// their pictures read back, and the pages loaded in a headless browser.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <tuple>
#include <set>

#include "apps/cli/image_file.h"
#include "export/page_test_support.h"
#include "settings/memory_dots.h"
#include "settings/parameter_table.h"
#include "settings/temporary_files.h"

namespace corvanthe::cli {
namespace {

namespace fs = std::filesystem;
using namespace page_test;

// Keeps the thumbnail the plug-in's dot reader hands over.
struct KeptThumbnail final : ThumbnailPort {
    bool compress(ThumbnailJpeg&) override { return false; }
    bool can_show() const override { return true; }
    bool show(const uint8_t* data, std::size_t size, int32_t width, int32_t height) override {
        jpeg.assign(data, data + size);
        sides = {width, height};
        return true;
    }
    std::string jpeg;
    std::pair<int32_t, int32_t> sides;
};

class PageCommand : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "cache");
        fs::create_directories(dir_ / "presets");
        fs::create_directories(dir_ / "bin");
        fs::create_directories(dir_ / "out");
        // Memory dots are made in the folder the command reads them from.
        setenv("XDG_CACHE_HOME", (dir_ / "cache").c_str(), 1);
        initialise(settings_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs the command in the scratch folder; returns its exit code.
    int command(const std::string& arguments, const std::string& path_prefix = "") {
        std::string line = "cd '" + dir_.string() + "' && ";
        if (!path_prefix.empty()) line += "PATH='" + path_prefix + "':\"$PATH\" ";
        line += std::string("'") + CORVANTHE_COMMAND + "' " + arguments + " >stdout.txt 2>stderr.txt";
        const int status = std::system(line.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string out() { return read_file(dir_ / "stdout.txt"); }
    std::string err() { return read_file(dir_ / "stderr.txt"); }

    fs::path dir_ = fs::temp_directory_path() / ("corvanthe-page-command-" + std::to_string(::getpid()));
    SunSettings settings_{};
};

bool have_chromium() { return std::system("command -v chromium >/dev/null 2>&1") == 0; }

// Loads the page in headless Chromium and returns what it saw: the number of pictures,
// then the number and the sources of those that did not load.
std::string browser_report(const fs::path& page) {
    // The page itself with a script after it that lists its pictures once all have loaded.
    const fs::path check = page.parent_path() / "check.html";
    std::ofstream(check, std::ios::binary)
        << read_file(page)
        << "<script>window.addEventListener('load', function () {"
           " var all = document.images, broken = [];"
           " for (var i = 0; i < all.length; ++i)"
           "   if (!all[i].complete || all[i].naturalWidth === 0) broken.push(all[i].getAttribute('src'));"
           " var p = document.createElement('pre'); p.id = 'verdict';"
           " p.textContent = 'images ' + all.length + ' broken ' + broken.length + ' ' + broken.join(' ');"
           " document.body.appendChild(p); });</script>";
    const fs::path profile = page.parent_path() / "chromium-profile";
    const std::string line = "chromium --headless --no-sandbox --disable-gpu --disable-background-networking "
                             "--disable-component-update --disable-sync --no-first-run --user-data-dir='" +
                             profile.string() + "' --virtual-time-budget=5000 --dump-dom 'file://" + check.string() +
                             "' 2>/dev/null";
    std::string dom;
    if (std::FILE* pipe = popen(line.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) dom.append(buffer, n);
        pclose(pipe);
    }
    std::smatch match;
    if (!std::regex_search(dom, match, std::regex("<pre id=\"verdict\">([^<]*)</pre>"))) return "no verdict";
    return match[1];
}

TEST_F(PageCommand, PresetsPageWithItsPicturesAndTheBrowserAskedToOpenIt) {
    write_preset(dir_ / "presets" / "a&b <1>.q4q", settings_, 200, 40, 40);
    write_preset(dir_ / "presets" / "Dawn.q4q", settings_, 40, 40, 200);
    std::ofstream(dir_ / "presets" / "torn.q4q") << "x";
    // A stand-in browser that notes what it was asked to open (renamed into place, so the
    // note is never read half-written).
    const std::string note = (dir_ / "opened.txt").string();
    std::ofstream(dir_ / "bin" / "xdg-open") << "#!/bin/sh\necho \"$1\" > '" << note << ".part' && /bin/mv '"
                                             << note << ".part' '" << note << "'\n";
    fs::permissions(dir_ / "bin" / "xdg-open", fs::perms::owner_all);

    ASSERT_EQ(command("page presets presets -o 'out/My page.html' --open", (dir_ / "bin").string()), 0)
        << err();
    EXPECT_NE(out().find("wrote out/My page.html (2 pictures)"), std::string::npos) << out();
    EXPECT_NE(err().find("left out 1 entry"), std::string::npos) << err();
    const std::string html = read_file(dir_ / "out" / "My page.html");
    EXPECT_NE(html.find("web_images/a%26b%20%3c1%3e.jpg"), std::string::npos);
    DecodedPicture picture;
    ASSERT_TRUE(decode_picture(dir_ / "out" / "web_images" / "Dawn.jpg", picture));
    EXPECT_NEAR(picture.centre.blue, 200, 4);
    // The opener runs apart from the command; give it a moment to leave its note.
    for (int i = 0; i < 100 && !fs::exists(dir_ / "opened.txt"); ++i) usleep(50000);
    EXPECT_EQ(read_file(dir_ / "opened.txt"), "out/My page.html\n");

    if (!have_chromium()) GTEST_SKIP() << "chromium is not installed: the page was not loaded in a browser";
    EXPECT_EQ(browser_report(dir_ / "out" / "My page.html"), "images 10 broken 0 ");
}

TEST_F(PageCommand, BadInputGetsAClearAnswerAndWritesNothing) {
    EXPECT_EQ(command("page presets missing -o p.html"), 2);
    EXPECT_NE(err().find("no such folder: missing"), std::string::npos) << err();
    EXPECT_EQ(command("page presets presets"), 2);  // no page named
    EXPECT_EQ(command("page dots no-such-image.png -o p.html"), 2);
    EXPECT_EQ(command("page presets presets -o no/such/folder/p.html"), 2);
    EXPECT_NE(err().find("cannot create the page no/such/folder/p.html"), std::string::npos) << err();
    EXPECT_FALSE(fs::exists(dir_ / "p.html"));
    EXPECT_FALSE(fs::exists(dir_ / "web_images"));
}

TEST_F(PageCommand, AnEmptyFolderIsToldAndABrowserThatWillNotOpenFailsAfterThePage) {
    // No opener anywhere on the way: the page is written, then the command fails.
    const std::string path = std::getenv("PATH");
    setenv("PATH", (dir_ / "bin").c_str(), 1);
    const int status = command("page presets presets -o empty.html --open");
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(status, 1) << err();
    EXPECT_NE(err().find("no preset files (.q4q) in presets"), std::string::npos) << err();
    EXPECT_NE(err().find("cannot open empty.html in the browser"), std::string::npos) << err();
    EXPECT_NE(out().find("wrote empty.html (0 pictures)"), std::string::npos) << out();
    EXPECT_TRUE(fs::exists(dir_ / "empty.html"));
}

TEST_F(PageCommand, TheSamplePresetsFillThePresetsPage) {
    ASSERT_EQ(command(std::string("page presets '") + CORVANTHE_SAMPLE_PRESETS + "' -o samples.html"), 0) << err();
    EXPECT_NE(out().find("(12 pictures)"), std::string::npos) << out();
    EXPECT_EQ(err(), "");
    // Each one a sun of its own.
    std::set<std::string> kinds;
    for (const auto& entry : fs::directory_iterator(CORVANTHE_SAMPLE_PRESETS)) {
        if (entry.path().extension() != ".q4q") continue;
        SunSettings sample{};
        KeptThumbnail thumbnail;
        ASSERT_EQ(load_settings_file(entry.path().string(), sample, &thumbnail).error, kFileOk) << entry.path();
        EXPECT_EQ(thumbnail.sides, std::make_pair(128, 128)) << entry.path();
        std::string values;
        for (const ParameterInfo& parameter : kParameters)
            values += std::to_string(get_stored_integer(sample, parameter)) + " ";
        kinds.insert(values);
    }
    EXPECT_EQ(kinds.size(), 12u);
}

TEST_F(PageCommand, DotsPageRendersEachFilledDotOntoTheImage) {
    // A tall input: its pictures are 75 x 300.
    hosting::Document doc = hosting::make_document(100, 400, 8, hosting::ColourKind::rgb, false);
    for (std::size_t i = 0; i < doc.pixels.size(); ++i) doc.pixels[i] = uint8_t(60 + (i % 3) * 20);
    std::string error;
    ASSERT_TRUE(write_image_file((dir_ / "tall.png").string(), doc, error)) << error;

    SunSettings dot = settings_;
    ASSERT_EQ(write_dot_file(0, dot, nullptr), kFileOk);
    dot.sun_radius = settings_.sun_radius / 3;
    ASSERT_EQ(write_dot_file(3, dot, nullptr), kFileOk);
    MemoryDots dots{};
    dots.map[0] = dots.map[3] = 1;
    ASSERT_EQ(save_dot_map(dots), kFileOk);

    ASSERT_EQ(command("page dots tall.png -o dots.html"), 0) << err();
    EXPECT_NE(out().find("(2 pictures)"), std::string::npos) << out();
    const std::string html = read_file(dir_ / "dots.html");
    EXPECT_NE(html.find("web_images/dot%204.jpg\" alt=\"dot 4.jpg\" width=\"75\" height=\"300\""), std::string::npos);
    DecodedPicture one, four;
    ASSERT_TRUE(decode_picture(dir_ / "web_images" / "dot 1.jpg", one));
    ASSERT_TRUE(decode_picture(dir_ / "web_images" / "dot 4.jpg", four));
    EXPECT_EQ(one.width, 75);
    EXPECT_EQ(one.height, 300);
    // The sun lights the middle of the plain grey image, the larger one more.
    EXPECT_GT(one.centre.red, 80 + 10);
    EXPECT_GT(one.centre.red + one.centre.green + one.centre.blue,
              four.centre.red + four.centre.green + four.centre.blue);
    if (have_exiftool()) {
        EXPECT_EQ(exif_tag(dir_ / "web_images" / "dot 1.jpg", "EXIF:Software"), "Corvanthe");
        EXPECT_EQ(exif_tag(dir_ / "web_images" / "dot 1.jpg", "IPTC:Keywords"), "Corvanthe");
    }

    // The built-in picture, 1600 x 1000, gives 300 x 187.
    ASSERT_EQ(command("page dots -o out/dots.html"), 0) << err();
    ASSERT_TRUE(decode_picture(dir_ / "out" / "web_images" / "dot 1.jpg", one));
    EXPECT_EQ(one.width, 300);
    EXPECT_EQ(one.height, 187);

    if (!have_chromium()) GTEST_SKIP() << "chromium is not installed: the page was not loaded in a browser";
    EXPECT_EQ(browser_report(dir_ / "dots.html"), "images 10 broken 0 ");
}

// The mean of one plane over the whole picture.
double plane_mean(const hosting::Document& doc, int plane) {
    double sum = 0;
    for (int32_t y = 0; y < doc.height; ++y)
        for (int32_t x = 0; x < doc.width; ++x) sum += doc.sample(x, y, plane);
    return sum / (double(doc.width) * doc.height);
}

TEST_F(PageCommand, ADotsPictureShowsWhatTheRenderCommandDrawsAtItsSize) {
    // An image four times the picture's size, so that its copy is read from reduced levels; of
    // one colour, so that the copy is the same image at the picture's size.
    std::string error;
    for (const auto& [name, width, height] : {std::tuple{"large.png", 1200, 800}, std::tuple{"small.png", 300, 200}}) {
        hosting::Document doc = hosting::make_document(width, height, 8, hosting::ColourKind::rgb, false);
        for (std::size_t i = 0; i < doc.pixels.size(); ++i) doc.pixels[i] = uint8_t(70 + (i % 3) * 40);
        ASSERT_TRUE(write_image_file((dir_ / name).string(), doc, error)) << error;
    }
    SunSettings dot = settings_;
    ASSERT_EQ(write_dot_file(0, dot, nullptr), kFileOk);
    MemoryDots dots{};
    dots.map[0] = 1;
    ASSERT_EQ(save_dot_map(dots), kFileOk);

    ASSERT_EQ(command("page dots large.png -o dots.html"), 0) << err();
    ASSERT_EQ(command("render small.png -o small_sun.png --quiet"), 0) << err();
    hosting::Document picture, rendered;
    ASSERT_TRUE(read_image_file((dir_ / "web_images" / "dot 1.jpg").string(), picture, error)) << error;
    ASSERT_TRUE(read_image_file((dir_ / "small_sun.png").string(), rendered, error)) << error;
    ASSERT_EQ(picture.width, 300);
    ASSERT_EQ(picture.height, 200);
    for (int plane = 0; plane < 3; ++plane)
        EXPECT_NEAR(plane_mean(picture, plane), plane_mean(rendered, plane), 3.0) << "plane " << plane;
}

TEST_F(PageCommand, DotsStoredFromTheShellAreThePlugInsDots) {
    // Dot 1 is kept by an earlier run of the dialog; the command leaves it alone.
    MemoryDots dots{};
    dots.map[0] = 1;
    ASSERT_EQ(write_dot_file(0, settings_, nullptr), kFileOk);
    ASSERT_EQ(save_dot_map(dots), kFileOk);
    hosting::Document plain = hosting::make_document(200, 100, 16, hosting::ColourKind::grey, false);
    for (int32_t y = 0; y < plain.height; ++y)
        for (int32_t x = 0; x < plain.width; ++x) plain.set_sample(x, y, 0, 8192);  // a quarter
    std::string error;
    ASSERT_TRUE(write_image_file((dir_ / "plain.png").string(), plain, error)) << error;

    ASSERT_EQ(command("dots store 3 plain.png --set \"sun radius=60\" --set glue=screen --set \"X center=0.5\""), 0)
        << err();
    EXPECT_EQ(out(), "stored dot 3 (kept)\n");
    ASSERT_EQ(command("dots store 25 --no-keep --from missing.q4q"), 2);  // no such file: nothing stored
    ASSERT_EQ(command("dots store 25 --no-keep --set \"sun radius=7\""), 0) << err();
    for (const char* bad : {"dots store 0", "dots store 26", "dots clear x", "dots recall 3"})
        EXPECT_EQ(command(bad), 2) << bad;

    // The plug-in's own readers find the settings, the thumbnail of the sun on the
    // picture, and the map with dot 1 kept, dot 3 kept and dot 25 not.
    load_dot_map(dots);
    EXPECT_EQ(dots.map[0], 1);
    EXPECT_EQ(dots.map[2], 1);
    EXPECT_EQ(dots.map[24], 0);
    SunSettings stored{};
    initialise(stored);
    KeptThumbnail thumbnail;
    ASSERT_EQ(read_dot_file(2, stored, &thumbnail).error, kFileOk);
    EXPECT_EQ(stored.sun_radius, 60);
    EXPECT_STREQ(enumerator_name(kGlueEnum, stored.glue), "screen");
    EXPECT_EQ(thumbnail.sides, std::make_pair(128, 128));
    std::ofstream(dir_ / "thumbnail.jpg", std::ios::binary) << thumbnail.jpeg;
    DecodedPicture picture;
    ASSERT_TRUE(decode_picture(dir_ / "thumbnail.jpg", picture));
    // The screened sun brightens the plain quarter grey (64); the thumbnail's blank
    // gradient would be 191 in the middle.
    EXPECT_GT(picture.centre.red, 64 + 8) << "no sun in the thumbnail's middle";
    EXPECT_LT(picture.centre.red, 150) << "not the picture";
    ASSERT_EQ(read_dot_file(24, stored, nullptr).error, kFileOk);
    EXPECT_EQ(stored.sun_radius, 7);

    ASSERT_EQ(command("dots list"), 0) << err();
    EXPECT_NE(out().find("dot 1  kept\ndot 2  empty\ndot 3  kept\n"), std::string::npos) << out();
    EXPECT_NE(out().find("dot 25 empty\n"), std::string::npos) << out();
    ASSERT_EQ(command("page dots -o dots.html"), 0) << err();
    EXPECT_NE(out().find("(2 pictures)"), std::string::npos) << out();
    EXPECT_NE(read_file(dir_ / "dots.html").find("web_images/dot%203.jpg"), std::string::npos);

    ASSERT_EQ(command("dots recall 3 -o back.q4q"), 0) << err();
    SunSettings back{};
    KeptThumbnail back_thumbnail;
    ASSERT_EQ(load_settings_file((dir_ / "back.q4q").string(), back, &back_thumbnail).error, kFileOk);
    EXPECT_EQ(back.sun_radius, 60);
    EXPECT_EQ(back_thumbnail.jpeg, thumbnail.jpeg);

    // Clearing takes the map entry only; the file stays, and the dot reads as empty.
    ASSERT_EQ(command("dots clear 3"), 0) << err();
    load_dot_map(dots);
    EXPECT_EQ(dots.map[2], 0);
    EXPECT_EQ(dots.map[0], 1);
    EXPECT_TRUE(fs::exists(memory_dot_path(2)));
    EXPECT_EQ(command("dots recall 3 -o again.q4q"), 2);
    EXPECT_NE(err().find("dot 3 is empty"), std::string::npos) << err();
    EXPECT_FALSE(fs::exists(dir_ / "again.q4q"));
}

}  // namespace
}  // namespace corvanthe::cli
