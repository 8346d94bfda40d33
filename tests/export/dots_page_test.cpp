#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>
#include <vector>

#include "export/dots_page.h"
#include "export/page_test_support.h"
#include "layers/level_filter.h"
#include "render/worker_pool.h"
#include "settings/temporary_files.h"

namespace corvanthe {
namespace {

namespace fs = std::filesystem;
using namespace page_test;

// Paints the picture in a grey given by the settings' sun radius and notes what it saw.
class PaintingRenderer final : public DotRenderer {
public:
    bool render(const SunSettings& settings, LayerStore& picture) override {
        radii.push_back(settings.sun_radius);
        sizes.push_back({picture.reference_width, picture.reference_height});
        const float grey = float(settings.sun_radius);
        for (int y = 0; y < picture.reference_height; ++y)
            for (int x = 0; x < picture.reference_width; ++x) set_pixel(picture, x, y, 0, {grey, grey, grey, 255});
        return true;
    }
    std::vector<int32_t> radii;
    std::vector<std::pair<int32_t, int32_t>> sizes;
};

class DotsPage : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(out_);
        fs::create_directories(out_);
        initialise(settings_);
        for (int i = 0; i <= kDotCount; ++i) fs::remove(memory_dot_path(i));
        host_ = create_store(nullptr, 600, 200, PixelKind::rgba8);
        ASSERT_TRUE(build_levels(*host_, 0, pool_));  // its pictures are read from reduced levels
        input_.host_image = host_;
        input_.dot_map = map_;
        input_.renderer = &renderer_;
        input_.runner = &pool_;
    }
    void TearDown() override {
        free_store(host_);
        fs::remove_all(out_);
    }

    fs::path out_ = fs::temp_directory_path() / ("corvanthe-dots-" + std::to_string(getpid()));
    SunSettings settings_{};
    int32_t map_[kDotCount] = {};
    LayerStore* host_ = nullptr;
    PaintingRenderer renderer_;
    WorkerPool pool_;
    DotsPageInput input_;
};

TEST(DotPictureSize, LongerSideIsThreeHundredAndTheShorterInProportion) {
    const struct {
        int32_t w, h, out_w, out_h;
    } cases[] = {{600, 200, 300, 100}, {200, 600, 100, 300}, {7, 3, 300, 128},  {3, 7, 128, 300},
                 {150, 100, 300, 200}, {5000, 1, 300, 1},    {1, 5000, 1, 300}, {300, 300, 300, 300}};
    for (const auto& c : cases) {
        int32_t w = 0, h = 0;
        dot_picture_size(c.w, c.h, w, h);
        EXPECT_EQ(w, c.out_w) << c.w << "x" << c.h;
        EXPECT_EQ(h, c.out_h) << c.w << "x" << c.h;
    }
}

TEST_F(DotsPage, EachFilledDotIsRenderedOntoAScaledCopyAndTheSettingsComeBack) {
    SunSettings dot = settings_;
    dot.sun_radius = 40;
    ASSERT_EQ(write_dot_file(1, dot, nullptr), kFileOk);
    dot.sun_radius = 220;
    ASSERT_EQ(write_dot_file(4, dot, nullptr), kFileOk);
    map_[1] = map_[4] = 1;
    map_[7] = 1;  // filled in the map, but its file is gone: left out
    settings_.sun_radius = 77;

    const fs::path page = out_ / "Corvanthe memory dots.html";
    const PageReport report = write_dots_page(input_, settings_, page.string());
    EXPECT_EQ(report.status, PageStatus::Finished);
    EXPECT_EQ(report.cells, 2);
    EXPECT_EQ(report.skipped, 1);
    EXPECT_EQ(report.missing_pictures, 0);
    EXPECT_EQ(renderer_.radii, (std::vector<int32_t>{40, 220}));
    EXPECT_EQ(renderer_.sizes, (std::vector<std::pair<int32_t, int32_t>>{{300, 100}, {300, 100}}));
    EXPECT_EQ(settings_.sun_radius, 77);
    EXPECT_TRUE(fs::exists(memory_dot_path(kSpareDot)));

    const std::string html = read_file(page);
    EXPECT_NE(html.find("<title>Corvanthe memory dots</title>"), std::string::npos);
    EXPECT_NE(html.find("<img src=\"web_images/dot%202.jpg\" alt=\"dot 2.jpg\" width=\"300\" height=\"100\""),
              std::string::npos);
    EXPECT_NE(html.find(">dot 5</font>"), std::string::npos);
    EXPECT_EQ(html.find("dot 8"), std::string::npos);
    EXPECT_EQ(count(html, "<p><font face=\"Hoefler Text"), 2);  // four columns, two filled

    DecodedPicture picture;
    ASSERT_TRUE(decode_picture(out_ / "web_images" / "dot 5.jpg", picture));
    EXPECT_EQ(picture.width, 300);
    EXPECT_EQ(picture.height, 100);
    EXPECT_NEAR(picture.centre.red, 220, 3);
}

TEST_F(DotsPage, NoFilledDotsGiveAHeaderAndAnEmptyTable) {
    const fs::path page = out_ / "dots.html";
    const PageReport report = write_dots_page(input_, settings_, page.string());
    EXPECT_EQ(report.status, PageStatus::Finished);
    EXPECT_EQ(report.cells, 0);
    const std::string html = read_file(page);
    EXPECT_NE(html.find("<b>Corvanthe memory dots <br>"), std::string::npos);
    EXPECT_EQ(count(html, "<td"), 0);
    EXPECT_TRUE(renderer_.radii.empty());
}

TEST_F(DotsPage, AFailedRenderKeepsTheCellWithoutAPicture) {
    class Refusing final : public DotRenderer {
    public:
        bool render(const SunSettings&, LayerStore&) override { return false; }
    } refusing;
    input_.renderer = &refusing;
    ASSERT_EQ(write_dot_file(0, settings_, nullptr), kFileOk);
    map_[0] = 1;
    const PageReport report = write_dots_page(input_, settings_, (out_ / "dots.html").string());
    EXPECT_EQ(report.cells, 1);
    EXPECT_EQ(report.missing_pictures, 1);
    EXPECT_FALSE(fs::exists(out_ / "web_images" / "dot 1.jpg"));
}

TEST_F(DotsPage, TheSettingsComeBackEvenWhenTheSpareDotCannotBeKept) {
    // A folder in the spare dot file's place: it can be neither written nor read back.
    fs::create_directories(memory_dot_path(kSpareDot));
    SunSettings dot = settings_;
    dot.sun_radius = 5;
    ASSERT_EQ(write_dot_file(2, dot, nullptr), kFileOk);
    map_[2] = 1;
    settings_.sun_radius = 123;
    write_dots_page(input_, settings_, (out_ / "dots.html").string());
    EXPECT_EQ(settings_.sun_radius, 123);
    fs::remove_all(memory_dot_path(kSpareDot));
}

}  // namespace
}  // namespace corvanthe
