#include "export/presets_page.h"

#include <algorithm>
#include <vector>

#include "export/html_text.h"
#include "export/page_writer.h"
#include "layers/jpeg_reader.h"
#include "platform/files.h"
#include "settings/settings_file.h"

namespace corvanthe {
namespace {

constexpr int kPresetColumns = 5;
constexpr int kPresetCellSide = 88;

// A preset's thumbnail decoded at its stored size into a picture of its own.
class DecodedThumbnail final : public ThumbnailPort {
public:
    DecodedThumbnail() = default;
    DecodedThumbnail(const DecodedThumbnail&) = delete;
    DecodedThumbnail& operator=(const DecodedThumbnail&) = delete;
    ~DecodedThumbnail() { free_store(picture_); }

    bool compress(ThumbnailJpeg&) override { return false; }
    bool can_show() const override { return true; }
    bool show(const uint8_t* data, std::size_t size, int32_t width, int32_t height) override {
        LayerStore* picture = create_store(page_store_owner(), width, height, PixelKind::rgba8);
        if (!picture) return false;
        if (!decode_jpeg(data, size, *picture)) {
            free_store(picture);
            return false;
        }
        free_store(picture_);
        picture_ = picture;
        return true;
    }
    const LayerStore* picture() const { return picture_; }

private:
    LayerStore* picture_ = nullptr;
};

bool is_preset_name(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return lower.find(".q4q") != std::string::npos;
}

// The folder's preset files by name; false when it cannot be listed.
bool list_presets(const std::string& folder, std::vector<std::string>& names) {
    std::vector<std::string> files;
    if (!list_folder_files(folder, files)) return false;
    for (std::string& name : files)
        if (is_preset_name(name)) names.push_back(std::move(name));
    std::sort(names.begin(), names.end());
    return true;
}

std::string without_extension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string folder_name(std::string folder) {
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    const std::size_t slash = folder.find_last_of("/\\");
    return slash == std::string::npos ? folder : folder.substr(slash + 1);
}

std::string joined(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/' || folder.back() == '\\') return folder + name;
    return folder + "/" + name;
}

}  // namespace

PageReport write_presets_page(const std::string& folder, const std::string& page_path, ColourProfile profile,
                              const PageProgress& progress) {
    PageReport report;
    // Listed before the page starts, so that a folder that cannot be read leaves no half page.
    std::vector<std::string> names;
    if (!list_presets(folder, names)) {
        report.status = PageStatus::FolderNotListed;
        return report;
    }
    PageWriter page;
    if (!page.start(page_path, PageKind::Presets, kPresetColumns, folder_name(folder))) {
        report.status = PageStatus::PageNotCreated;
        return report;
    }
    const PagePictureSegments segments(profile);
    const int32_t total = static_cast<int32_t>(names.size());
    for (int32_t done = 0; done < total; ++done) {
        if (progress) progress(done, total);
        const std::string& name = names[done];
        SunSettings settings{};
        initialise(settings);
        DecodedThumbnail thumbnail;
        const SettingsReadResult read =
            read_settings_file(joined(folder, name), SettingsReadMode::Load, settings, &thumbnail);
        if (read.error != kFileOk) {
            ++report.skipped;
            continue;
        }
        const std::string picture_name = picture_base_name(name);
        if (!write_page_picture(thumbnail.picture(), page.picture_folder(), picture_name, segments))
            ++report.missing_pictures;
        page.picture_cell(kPresetCellSide, kPresetCellSide, picture_name, without_extension(name));
        ++report.cells;
    }
    if (progress) progress(total, total);
    if (!page.finish()) report.status = PageStatus::WriteFailed;
    return report;
}

}  // namespace corvanthe
