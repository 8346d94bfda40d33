#include "export/page_writer.h"

#include <cstdio>

#include "export/frame_images.h"
#include "export/html_text.h"
#include "platform/files.h"
#include "platform/product.h"

namespace corvanthe {
namespace {

constexpr int kMaxColumns = 10;
constexpr std::string_view kCellStart = R"(<td align="center" valign="top" width="20%">)";
constexpr std::string_view kSpacerCell = R"(<td align="center" valign="top" width="20%"><p>&nbsp;</p></td>)";

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

PageWriter::~PageWriter() { abandon_replacement(page_); }

void PageWriter::put(std::string_view text) {
    if (page_.stream && !text.empty() && std::fwrite(text.data(), 1, text.size(), page_.stream) != text.size())
        write_failed_ = true;
}

void PageWriter::line(std::string_view text) {
    put(text);
    put("\r\n");
}

void PageWriter::image(std::string_view file, std::string_view extension, int width, int height,
                       std::string_view alt_name) {
    put(R"(<img src=")");
    put("web_images/");
    put(escape_html_src(file));
    put(extension);
    put("\"");
    if (!alt_name.empty()) {
        put(R"( alt=")");
        put(escape_html_text(alt_name));
        put(".jpg\"");
    }
    put(R"( width=")");
    put(std::to_string(width));
    put(R"(" height=")");
    put(std::to_string(height));
    put(R"(" border="0">)");
}

bool PageWriter::start(const std::string& page_path, PageKind kind, int columns, std::string_view heading) {
    columns_ = columns < 1 ? 1 : columns > kMaxColumns ? kMaxColumns : columns;
    column_ = row_ = 1;
    write_failed_ = false;
    picture_folder_ = folder_of(page_path) + "web_images/";
    if (make_folder(picture_folder_)) write_frame_images(picture_folder_);

    if (!start_replacement(page_path, page_)) return false;

    line(R"(<!DOCTYPE html PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">)");
    line();
    line("<html>");
    line("<head>");
    line(R"(<meta http-equiv="content-type" content="text/html;charset=ISO-8859-1">)");
    put(R"(<meta name="generator" content="Tallow Heron )");
    put(product::kName);
    put(R"(">)");
    put("<title>");
    put(product::kName);
    put(kind == PageKind::Presets ? " presets" : " memory dots");
    line("</title>");
    line("</head>");
    line();
    line(R"(<body bgcolor="#ffffff">)");
    put("<p>");
    line("<br>");
    line();
    put(R"(<font size="4" face="Gill Sans,Verdana,Helvetica,Arial,Geneva">)");
    put("<b>");
    put(product::kName);
    if (kind == PageKind::Presets) {
        put(" presets from ");
        put(escape_html_text(heading));
    } else {
        put(" memory dots ");
    }
    line("<br>");
    put("</b>");
    put("</font>");
    put("</p>");
    put(R"(<table width="100%" border="0" cellspacing="12" cellpadding="0" align="center">)");
    return true;
}

void PageWriter::end_cell() {
    if (++column_ <= columns_) return;
    put("</tr>");
    line();
    put("<tr>");
    for (int i = 0; i < columns_; ++i) put(kSpacerCell);
    put("</tr>");
    ++row_;
    column_ = 1;
}

void PageWriter::picture_cell(int width, int height, std::string_view picture_name, std::string_view caption) {
    if (!page_.stream) return;
    if (column_ == 1) put("<tr>");
    line(kCellStart);
    put(R"(<table id="Table_01" width=")");
    put(std::to_string(width + 6));
    put(R"(" border="0" cellspacing="0" cellpadding="0" height=")");
    put(std::to_string(height + 7));
    line(R"(">)");
    line("<tr>");
    put(R"(<td colspan="3">)");
    image("top", ".gif", width + 6, 2);
    line("</td>");
    line("</tr>");
    line("<tr>");
    put("<td>");
    image("left", ".gif", 3, height);
    line("</td>");
    put("<td>");
    image(picture_name, ".jpg", width, height, picture_name);
    line("</td>");
    put("<td>");
    image("right", ".gif", 3, height);
    line("</td>");
    line("</tr>");
    line("<tr>");
    put(R"(<td colspan="3">)");
    image("bottom", ".gif", width + 6, 5);
    line("</td>");
    line("</tr>");
    line("</table>");
    line(R"(<div align="center">)");
    put(R"(<br><font  size="3" face="Gill Sans,Verdana,Helvetica,Arial">)");
    put(escape_html_text(caption));
    put("</font>");
    put("</div>");
    line("</td>");
    line();
    end_cell();
}

bool PageWriter::finish() {
    if (!page_.stream) return false;
    while (column_ != 1) {
        put(kCellStart);
        put("<p>");
        line("</p>");
        line(R"(<div align="center">)");
        put(R"(<p><font face="Hoefler Text,Times New Roman,Georgia,Times"><b>)");
        line("</b></font></p>");
        line("</div>");
        line("</td>");
        line();
        end_cell();
    }
    put("</table>");
    put("<br>");
    line();
    put("</body>");
    put("</html>");
    if (write_failed_) {
        abandon_replacement(page_);
        return false;
    }
    return finish_replacement(page_);
}

}  // namespace corvanthe
