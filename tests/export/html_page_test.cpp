#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "export/frame_images.h"
#include "export/html_text.h"
#include "export/page_writer.h"

namespace corvanthe {
namespace {

namespace fs = std::filesystem;

int count(const std::string& text, const std::string& piece) {
    int n = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
}

class PageFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("corvanthe-page-" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path folder_;
};

}  // namespace

TEST(HtmlText, EscapesMarkupHighBytesAndSourceNames) {
    EXPECT_EQ(escape_html_text("a&b <1>"), "a&amp;b &lt;1&gt;");
    EXPECT_EQ(escape_html_text("\"q\""), "&quot;q&quot;");
    EXPECT_EQ(escape_html_text("\xE9t\xE9"), "&eacute;t&eacute;");
    EXPECT_EQ(escape_html_text("{\x7F\x9F"), "&#123;&#127;&#159;");
    EXPECT_EQ(escape_html_text("\xA0\xD7\xF7\xFF"), "&nbsp;&times;&divide;&yuml;");
    EXPECT_EQ(escape_html_text("plain z 0"), "plain z 0");
    EXPECT_EQ(escape_html_src("a&b <1>"), "a%26b%20%3c1%3e");
    EXPECT_EQ(escape_html_src("Zz09._-\xFF"), "Zz09%2e%5f%2d%ff");
}

TEST(HtmlText, NamesThatAreUtf8AreReadAsCharacters) {
    EXPECT_EQ(escape_html_text("caf\xC3\xA9 \xC2\x9F \xE2\x82\xAC&"), "caf&eacute; &#159; &#8364;&amp;");
    EXPECT_EQ(picture_base_name("caf\xC3\xA9\t\xE2\x82\xAC:.q4q"), "caf\xC3\xA9 \xE2\x82\xAC_");
    // Bytes that are not UTF-8 (overlong, a surrogate, beyond U+10FFFF, cut short) keep
    // the rules of single bytes.
    EXPECT_EQ(escape_html_text("\xC0\xAF"), "&Agrave;&macr;");
    EXPECT_EQ(escape_html_text("\xED\xA0\x80"), "&iacute;&nbsp;&#128;");
    EXPECT_EQ(escape_html_text("\xF4\x90\x80\x80"), "&ocirc;&#144;&#128;&#128;");
    EXPECT_EQ(escape_html_text("\xE2\x82"), "&acirc;&#130;");
    EXPECT_EQ(picture_base_name("\xC3\xA9\xC3"), "\x63\x49\x63");
}

TEST(HtmlText, PictureNamesNeverLeaveThePictureFolder) {
    EXPECT_EQ(picture_base_name("/presets/a&b <1>.q4q"), "a&b <1>");
    EXPECT_EQ(picture_base_name("C:\\presets\\sun.q4q"), "sun");
    EXPECT_EQ(picture_base_name("tab\there"), "tab here");
    EXPECT_EQ(picture_base_name(std::string("x\x8Ey")), "x_y");     // low bits 14 would be '.'
    EXPECT_EQ(picture_base_name(std::string("x\x8Fy")), "x_y");     // low bits 15 would be '/'
    EXPECT_EQ(picture_base_name(std::string("x\x9Ay")), "x_y");     // ':'
    EXPECT_EQ(picture_base_name(std::string("x\xBCy")), "x_y");     // '\'
    EXPECT_EQ(picture_base_name(std::string("x\xC1y")), "xay");
    for (int b = 0; b < 256; ++b) {
        const std::string name = picture_base_name(std::string("p") + char(b) + "q.q4q");
        EXPECT_EQ(name.find_first_of("/\\:"), std::string::npos) << b;
    }
}

TEST(FrameImages, AreWellFormedGifsOfTheirSizes) {
    for (const FrameImage& frame : kFrameImages) {
        const std::vector<uint8_t> gif = frame_image_gif(frame);
        ASSERT_GT(gif.size(), 30u);
        EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
        EXPECT_EQ(gif[6] | gif[7] << 8, frame.width);
        EXPECT_EQ(gif[8] | gif[9] << 8, frame.height);
        EXPECT_EQ(gif.back(), 0x3B);
        // Walk the data sub-blocks: they must end exactly before the trailer.
        std::size_t at = 13 + 12 + 10 + 1;
        while (gif[at] != 0) at += gif[at] + 1u;
        EXPECT_EQ(at + 2, gif.size());
    }
}

TEST_F(PageFolder, SevenPresetsGiveAFullRowASpacerAndAFilledSecondRow) {
    const fs::path page = folder_ / "p.html";
    PageWriter writer;
    ASSERT_TRUE(writer.start(page.string(), PageKind::Presets, 5, "my \xE9 folder"));
    for (int i = 0; i < 7; ++i) writer.picture_cell(88, 88, "sun " + std::to_string(i), "sun " + std::to_string(i));
    ASSERT_TRUE(writer.finish());
    const std::string html = read(page);

    EXPECT_EQ(html.rfind("<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n\r\n<html>\r\n", 0), 0u);
    EXPECT_NE(html.find("<title>Corvanthe presets</title>\r\n"), std::string::npos);
    EXPECT_NE(html.find("<b>Corvanthe presets from my &eacute; folder<br>\r\n</b></font></p>"), std::string::npos);
    EXPECT_EQ(count(html, "<table id=\"Table_01\""), 7);
    EXPECT_EQ(count(html, "<p>&nbsp;</p></td>"), 10);  // two spacer rows of five
    EXPECT_EQ(count(html, "<p><font face=\"Hoefler Text"), 3);
    EXPECT_EQ(count(html, "<tr><td align=\"center\" valign=\"top\" width=\"20%\">\r\n"), 2);
    EXPECT_NE(html.find("<img src=\"web_images/sun%203.jpg\" alt=\"sun 3.jpg\" width=\"88\" height=\"88\" border=\"0\">"),
              std::string::npos);
    EXPECT_NE(html.find("<img src=\"web_images/top.gif\" width=\"94\" height=\"2\" border=\"0\">"), std::string::npos);
    EXPECT_NE(html.find("width=\"94\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\" height=\"95\">\r\n"),
              std::string::npos);
    EXPECT_TRUE(html.ends_with("</table><br>\r\n</body></html>"));
    for (const FrameImage& frame : kFrameImages) EXPECT_TRUE(fs::exists(folder_ / "web_images" / frame.file_name));
    // Every line ends in CR LF.
    EXPECT_EQ(count(html, "\n"), count(html, "\r\n"));
}

TEST_F(PageFolder, NoPicturesGiveAHeaderAndAnEmptyTable) {
    const fs::path page = folder_ / "dots.html";
    PageWriter writer;
    ASSERT_TRUE(writer.start(page.string(), PageKind::MemoryDots, 4));
    ASSERT_TRUE(writer.finish());
    const std::string html = read(page);
    EXPECT_NE(html.find("<title>Corvanthe memory dots</title>"), std::string::npos);
    EXPECT_NE(html.find("<b>Corvanthe memory dots <br>"), std::string::npos);
    EXPECT_NE(html.find("cellpadding=\"0\" align=\"center\"></table><br>\r\n</body></html>"), std::string::npos);
    EXPECT_EQ(count(html, "<td"), 0);
}

// A page takes the place of the old one only when it is whole: one left unfinished leaves the
// old page as it was, and a finished one is written through a link to the page.
TEST_F(PageFolder, APageReplacesTheOldOneOnlyWhenWhole) {
    const fs::path page = folder_ / "p.html", link = folder_ / "link.html";
    std::ofstream(page) << "old page";
    fs::create_symlink(page.filename(), link);
    {
        PageWriter unfinished;
        ASSERT_TRUE(unfinished.start(link.string(), PageKind::Presets, 5));
        unfinished.picture_cell(88, 88, "a", "a");
    }
    EXPECT_EQ(read(page), "old page");
    PageWriter writer;
    ASSERT_TRUE(writer.start(link.string(), PageKind::MemoryDots, 4));
    ASSERT_TRUE(writer.finish());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_NE(read(page).find("<title>Corvanthe memory dots</title>"), std::string::npos);
    for (const auto& entry : fs::directory_iterator(folder_)) EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

TEST_F(PageFolder, AnUncreatablePageWritesNothing) {
    PageWriter writer;
    EXPECT_FALSE(writer.start((folder_ / "missing" / "p.html").string(), PageKind::Presets, 5));
    writer.picture_cell(88, 88, "a", "a");
    EXPECT_FALSE(writer.finish());
    EXPECT_FALSE(fs::exists(folder_ / "missing" / "p.html"));
}

}  // namespace corvanthe
