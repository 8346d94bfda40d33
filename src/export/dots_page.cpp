#include "export/dots_page.h"

#include <cstdio>
#include <memory>

#include "export/html_text.h"
#include "export/page_writer.h"
#include "layers/resample.h"

namespace corvanthe {
namespace {

constexpr int kDotColumns = 4;

struct StoreDeleter {
    void operator()(LayerStore* store) const { free_store(store); }
};

// A copy of the host image at the dot picture size, in the host image's kind.
LayerStore* scaled_copy(const DotsPageInput& input) {
    const LayerStore& source = *input.host_image;
    int32_t width = 0, height = 0;
    dot_picture_size(source.reference_width, source.reference_height, width, height);
    LayerStore* copy = create_store(page_store_owner(), width, height, source.kind);
    if (copy && !copy_store(source, *copy, *input.runner)) {
        free_store(copy);
        copy = nullptr;
    }
    return copy;
}

}  // namespace

void dot_picture_size(int32_t width, int32_t height, int32_t& out_width, int32_t& out_height) {
    if (width < 1) width = 1;
    if (height < 1) height = 1;
    const bool wide = width >= height;
    const int64_t longer = wide ? width : height, shorter = wide ? height : width;
    int64_t scaled = shorter * kDotPictureSide / longer;
    if (scaled < 1) scaled = 1;
    out_width = wide ? kDotPictureSide : static_cast<int32_t>(scaled);
    out_height = wide ? static_cast<int32_t>(scaled) : kDotPictureSide;
}

PageReport write_dots_page(const DotsPageInput& input, SunSettings& settings, const std::string& page_path) {
    PageReport report;
    PageWriter page;
    if (!page.start(page_path, PageKind::MemoryDots, kDotColumns)) {
        report.status = PageStatus::PageNotCreated;
        return report;
    }
    const SunSettings kept = settings;
    write_dot_file(kSpareDot, settings, nullptr);
    const PagePictureSegments segments(input.profile);
    for (int index = 0; index < kDotCount; ++index) {
        if (input.progress) input.progress(index, kDotCount);
        if (!input.dot_map || input.dot_map[index] != 1) continue;
        // Each dot over the settings the page started with, so no dot depends on the one before.
        settings = kept;
        if (read_dot_file(index, settings, nullptr).error != kFileOk) {
            ++report.skipped;
            continue;
        }
        char name[16];
        std::snprintf(name, sizeof name, "dot %d", index + 1);
        const std::string picture_name = picture_base_name(name);

        int32_t width = 0, height = 0;
        bool written = false;
        if (input.host_image && input.host_image->tiles && input.runner && input.renderer) {
            std::unique_ptr<LayerStore, StoreDeleter> picture(scaled_copy(input));
            if (picture) {
                width = picture->reference_width;
                height = picture->reference_height;
                written = input.renderer->render(settings, *picture) &&
                          write_page_picture(picture.get(), page.picture_folder(), picture_name, segments);
            }
        }
        if (width == 0) dot_picture_size(input.host_image ? input.host_image->reference_width : 1,
                                         input.host_image ? input.host_image->reference_height : 1, width, height);
        if (!written) ++report.missing_pictures;
        page.picture_cell(width, height, picture_name, name);
        ++report.cells;
    }
    // The spare dot gives the settings back; should it be unreadable, the copy in memory does.
    settings = kept;
    read_dot_file(kSpareDot, settings, nullptr);
    if (input.progress) input.progress(kDotCount, kDotCount);
    if (!page.finish()) report.status = PageStatus::WriteFailed;
    return report;
}

}  // namespace corvanthe
