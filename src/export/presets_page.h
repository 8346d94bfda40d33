#pragma once
// The presets page: one framed thumbnail per preset file (".q4q") of a folder.
#include <string>

#include "export/page_pictures.h"

namespace corvanthe {

enum class PageStatus {
    Finished,
    PageNotCreated,    // the page file could not be created; nothing was written
    FolderNotListed,   // the source folder could not be listed; nothing was written
    WriteFailed,       // the page was written but a write to it failed
};

struct PageReport {
    PageStatus status = PageStatus::Finished;
    int cells = 0;             // pictures on the page
    int skipped = 0;           // entries left out (a preset that could not be read)
    int missing_pictures = 0;  // cells whose picture file could not be written
};

// Every file of the folder whose name contains ".q4q" (any letter case), in name order,
// read over the default settings with its thumbnail; the thumbnail goes to
// "web_images/<name>.jpg" and shows in an 88 x 88 cell captioned with the file name.
PageReport write_presets_page(const std::string& folder, const std::string& page_path, ColourProfile profile = {},
                              const PageProgress& progress = {});

}  // namespace corvanthe
