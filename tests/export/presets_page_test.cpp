#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "export/page_test_support.h"
#include "export/html_text.h"
#include "export/presets_page.h"

namespace corvanthe {
namespace {

namespace fs = std::filesystem;
using namespace page_test;

class PresetsPage : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("corvanthe-presets-" + std::to_string(getpid()));
        fs::remove_all(root_);
        fs::create_directories(presets_);
        fs::create_directories(out_);
        initialise(settings_);
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path root_ = fs::temp_directory_path() / ("corvanthe-presets-" + std::to_string(getpid()));
    fs::path presets_ = root_ / "My presets";
    fs::path out_ = root_ / "out";
    SunSettings settings_{};
};

TEST_F(PresetsPage, EveryReadablePresetGetsItsPictureAndCaptionInNameOrder) {
    // Seven readable presets, among them user names with markup and a high byte.
    const char* names[] = {"a&b <1>.q4q", "b.q4q", "C.Q4Q", "d.q4q.old", "e.q4q", "f.q4q", "\xE9t\xE9.q4q"};
    for (int i = 0; i < 7; ++i) write_preset(presets_ / names[i], settings_, uint8_t(30 * i), 200, uint8_t(255 - 30 * i));
    std::ofstream(presets_ / "broken.q4q") << "no";              // cannot be read: skipped
    std::ofstream(presets_ / "notes.txt") << "not a preset";     // no ".q4q": not listed
    fs::create_directories(presets_ / "folder.q4q");              // a directory: not listed

    const fs::path page = out_ / "Corvanthe presets.html";
    const PageReport report = write_presets_page(presets_.string(), page.string());
    EXPECT_EQ(report.status, PageStatus::Finished);
    EXPECT_EQ(report.cells, 7);
    EXPECT_EQ(report.skipped, 1);
    EXPECT_EQ(report.missing_pictures, 0);

    const std::string html = read_file(page);
    EXPECT_NE(html.find("<b>Corvanthe presets from My presets<br>"), std::string::npos);
    EXPECT_NE(html.find("<img src=\"web_images/a%26b%20%3c1%3e.jpg\" alt=\"a&amp;b &lt;1&gt;.jpg\" width=\"88\" "
                        "height=\"88\" border=\"0\">"),
              std::string::npos);
    EXPECT_NE(html.find(">a&amp;b &lt;1&gt;</font>"), std::string::npos);
    EXPECT_NE(html.find(">&eacute;t&eacute;</font>"), std::string::npos);
    EXPECT_NE(html.find(">d.q4q</font>"), std::string::npos);  // the caption drops the last extension only
    EXPECT_EQ(html.find("broken"), std::string::npos);
    // Byte order of the names: upper case first, the high byte last.
    const std::size_t a = html.find(">a&amp;b"), c = html.find(">C</font>"), e = html.find(">&eacute;t");
    EXPECT_LT(c, a);
    EXPECT_LT(a, e);
    // A full row of five with its spacer row, then two pictures and three empty cells.
    EXPECT_EQ(count(html, "<table id=\"Table_01\""), 7);
    EXPECT_EQ(count(html, "<p>&nbsp;</p></td>"), 10);
    EXPECT_EQ(count(html, "<p><font face=\"Hoefler Text"), 3);

    // The pictures are the presets' thumbnails.
    DecodedPicture picture;
    ASSERT_TRUE(decode_picture(out_ / "web_images" / "a&b <1>.jpg", picture));
    EXPECT_EQ(picture.width, 128);
    EXPECT_EQ(picture.height, 128);
    EXPECT_NEAR(picture.centre.red, 0, 4);
    EXPECT_NEAR(picture.centre.green, 200, 4);
    EXPECT_NEAR(picture.centre.blue, 255, 4);
    ASSERT_TRUE(decode_picture(out_ / "web_images" / (picture_base_name(names[6]) + ".jpg"), picture));
    EXPECT_NEAR(picture.centre.red, 180, 4);
    EXPECT_TRUE(fs::exists(out_ / "web_images" / "d.q4q.jpg"));
    EXPECT_EQ(std::distance(fs::directory_iterator(out_ / "web_images"), fs::directory_iterator()), 7 + 4);
}

TEST_F(PresetsPage, UnicodeNamesShowAsTheirCharactersAndNameTheirPictures) {
    const std::string names[] = {"caf\xC3\xA9", "\xE6\x97\xA5\xE6\x9C\xAC sun", "\xF0\x9F\x8C\x9E"};
    for (const std::string& name : names) write_preset(presets_ / (name + ".q4q"), settings_, 10, 20, 30);

    const fs::path page = out_ / "Corvanthe presets.html";
    ASSERT_EQ(write_presets_page(presets_.string(), page.string()).missing_pictures, 0);
    const std::string html = read_file(page);
    EXPECT_NE(html.find("<img src=\"web_images/caf%c3%a9.jpg\" alt=\"caf&eacute;.jpg\""), std::string::npos);
    EXPECT_NE(html.find(">caf&eacute;</font>"), std::string::npos);
    EXPECT_NE(html.find("<img src=\"web_images/%e6%97%a5%e6%9c%ac%20sun.jpg\" alt=\"&#26085;&#26412; sun.jpg\""),
              std::string::npos);
    EXPECT_NE(html.find(">&#26085;&#26412; sun</font>"), std::string::npos);
    EXPECT_NE(html.find(">&#127774;</font>"), std::string::npos);
    EXPECT_TRUE(std::all_of(html.begin(), html.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        << "the page stays plain ASCII";
    for (const std::string& name : names) {
        DecodedPicture picture;
        EXPECT_TRUE(decode_picture(out_ / "web_images" / (name + ".jpg"), picture)) << name;
    }
}

TEST_F(PresetsPage, PicturesCarryTheProgramsMetadataAsExiftoolReadsIt) {
    if (!have_exiftool()) GTEST_SKIP() << "exiftool is not installed";
    write_preset(presets_ / "sun.q4q", settings_, 250, 120, 10);
    ASSERT_EQ(write_presets_page(presets_.string(), (out_ / "p.html").string()).status, PageStatus::Finished);
    const fs::path picture = out_ / "web_images" / "sun.jpg";
    EXPECT_EQ(exif_tag(picture, "IPTC:Caption-Abstract"), "Made with Corvanthe");
    EXPECT_EQ(exif_tag(picture, "IPTC:Keywords"), "Corvanthe");
    EXPECT_EQ(exif_tag(picture, "IPTC:DateCreated"), today_exif_date());
    EXPECT_EQ(exif_tag(picture, "EXIF:Software"), "Corvanthe");
    EXPECT_EQ(exif_tag(picture, "File:ImageWidth"), "128");
}

TEST_F(PresetsPage, AColourProfileTravelsWithEveryPicture) {
    // A profile larger than one APP2 segment holds, split and joined again by the reader.
    std::vector<uint8_t> profile(70000);
    for (std::size_t i = 0; i < profile.size(); ++i) profile[i] = uint8_t(i * 7 + (i >> 9));
    write_preset(presets_ / "sun.q4q", settings_, 1, 2, 3);
    ASSERT_EQ(write_presets_page(presets_.string(), (out_ / "p.html").string(), {profile.data(), profile.size()}).status,
              PageStatus::Finished);
    const std::string jpeg = read_file(out_ / "web_images" / "sun.jpg");
    std::string joined;
    for (std::size_t at = jpeg.find("ICC_PROFILE"); at != std::string::npos; at = jpeg.find("ICC_PROFILE", at + 1)) {
        const std::size_t length = (uint8_t(jpeg[at - 2]) << 8) | uint8_t(jpeg[at - 1]);
        joined.append(jpeg, at + 14, length - 16);
    }
    EXPECT_EQ(joined, std::string(profile.begin(), profile.end()));
}

TEST_F(PresetsPage, FailuresFollowTheirRules) {
    write_preset(presets_ / "sun.q4q", settings_, 9, 9, 9);
    write_preset(presets_ / "moon.q4q", settings_, 9, 9, 9);

    // A folder that cannot be listed writes no page at all.
    const fs::path page = out_ / "p.html";
    EXPECT_EQ(write_presets_page((root_ / "missing").string(), page.string()).status, PageStatus::FolderNotListed);
    EXPECT_FALSE(fs::exists(page));

    // A page that cannot be created writes nothing.
    EXPECT_EQ(write_presets_page(presets_.string(), (out_ / "none" / "p.html").string()).status,
              PageStatus::PageNotCreated);
    EXPECT_FALSE(fs::exists(out_ / "none"));

    // A picture that cannot be written (a folder stands in its place) keeps its cell.
    fs::create_directories(out_ / "web_images" / "sun.jpg");
    const PageReport report = write_presets_page(presets_.string(), page.string());
    EXPECT_EQ(report.status, PageStatus::Finished);
    EXPECT_EQ(report.cells, 2);
    EXPECT_EQ(report.missing_pictures, 1);
    EXPECT_NE(read_file(page).find("web_images/sun.jpg"), std::string::npos);
    EXPECT_TRUE(fs::is_regular_file(out_ / "web_images" / "moon.jpg"));
}

}  // namespace
}  // namespace corvanthe
