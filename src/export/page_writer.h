#pragma once
// Writes one catalogue page: an HTML 4.01 table of framed pictures with captions,
// ISO-8859-1, lines ended by CR LF, with the pictures in "web_images" beside it.
#include <string>
#include <string_view>

#include "platform/files.h"

namespace corvanthe {

enum class PageKind { Presets, MemoryDots };

class PageWriter {
public:
    PageWriter() = default;
    PageWriter(const PageWriter&) = delete;
    PageWriter& operator=(const PageWriter&) = delete;
    ~PageWriter();

    // Creates the picture folder with its frame images and the page file, and writes
    // the head. heading is the source folder's name for a presets page. False when
    // the page file cannot be created; nothing is written then.
    bool start(const std::string& page_path, PageKind kind, int columns, std::string_view heading = {});

    // The picture folder, ending in a separator ("web_images" beside the page).
    const std::string& picture_folder() const { return picture_folder_; }

    // Appends one framed picture of width x height; picture_name is the picture's
    // file name without ".jpg", caption the text below it.
    void picture_cell(int width, int height, std::string_view picture_name, std::string_view caption);

    // Fills the last row, closes the table and the file, which then takes the place of
    // any page of that name. False if any write failed; the old page is then kept.
    bool finish();

private:
    void put(std::string_view text);
    void line(std::string_view text = {});
    void image(std::string_view file, std::string_view extension, int width, int height,
               std::string_view alt_name = {});
    void end_cell();

    ReplacementFile page_;  // the new page, in place of the old one once it is whole
    std::string picture_folder_;
    int columns_ = 5;
    int column_ = 1;
    int row_ = 1;
    bool write_failed_ = false;
};

}  // namespace corvanthe
