#include "apps/cli/page_command.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "apps/cli/dot_render.h"
#include "export/store_dot_renderer.h"
#include "apps/cli/evening_sky.h"
#include "apps/cli/image_file.h"
#include "apps/cli/render_command.h"
#include "export/dots_page.h"
#include "export/presets_page.h"
#include "platform/shell.h"
#include "render/worker_pool.h"
#include "settings/memory_dots.h"
#include "settings/temporary_files.h"

namespace corvanthe::cli {
namespace {

// The exit code and messages of a written (or refused) page; `empty` says why a page
// without pictures has none.
int report(const PageReport& page, const std::string& path, const char* what, const std::string& empty, bool open) {
    switch (page.status) {
        case PageStatus::PageNotCreated:
            return fail(kExitUsage, "cannot create the page " + path + "; nothing was written");
        case PageStatus::FolderNotListed:
            return fail(kExitUsage, std::string("cannot list the folder ") + what + "; nothing was written");
        case PageStatus::WriteFailed:
            return fail(kExitFilterFailed, "the page " + path + " could not be written completely");
        case PageStatus::Finished:
            break;
    }
    if (page.skipped > 0)
        std::fprintf(stderr, "corvanthe: left out %d entr%s that could not be read\n", page.skipped,
                     page.skipped == 1 ? "y" : "ies");
    if (page.cells == 0 && page.skipped == 0) std::fprintf(stderr, "corvanthe: %s\n", empty.c_str());
    std::printf("wrote %s (%d picture%s)\n", path.c_str(), page.cells, page.cells == 1 ? "" : "s");
    if (page.missing_pictures > 0)
        return fail(kExitFilterFailed, std::to_string(page.missing_pictures) + " picture(s) could not be written");
    if (open && !open_with_desktop(path)) return fail(kExitFilterFailed, "cannot open " + path + " in the browser");
    return kExitSuccess;
}

}  // namespace

PageCommand::PageCommand(CLI::App& app) {
    page_ = app.add_subcommand("page", "Write an HTML catalogue page with its pictures");
    page_->require_subcommand(1);
    presets_ = page_->add_subcommand("presets", "One picture per preset file (.q4q) of a folder");
    presets_->add_option("FOLDER", folder_, "folder of preset files")->required();
    dots_ = page_->add_subcommand("dots", "One picture per filled memory dot, rendered onto an image");
    dots_->add_option("INPUT", input_, "image to show the dots on; omitted: a built-in evening sky");
    for (CLI::App* kind : {presets_, dots_}) {
        kind->add_option("-o,--output", output_, "page to write (its pictures go to web_images beside it)")
            ->required();
        kind->add_flag("--open", open_, "open the finished page in the browser");
    }
}

int PageCommand::run() const {
    if (static_cast<bool>(*presets_)) {
        std::error_code error;
        if (!std::filesystem::is_directory(folder_, error)) return fail(kExitUsage, "no such folder: " + folder_);
        return report(write_presets_page(folder_, output_), output_, folder_.c_str(),
                      "no preset files (.q4q) in " + folder_ + ": the page has no pictures", open_);
    }

    hosting::Document doc;
    std::string error;
    if (input_.empty()) {
        doc = evening_sky();
    } else if (!read_image_file(input_, doc, error)) {
        return fail(kExitUsage, error);
    }
    WorkerPool pool;
    std::unique_ptr<LayerStore, void (*)(LayerStore*)> image(store_from_document(doc, pool), free_store);
    if (!image) return fail(kExitFilterFailed, "not enough memory for the image");

    // The settings of the last run are the current ones; the dots come from the map file.
    SunSettings settings{};
    initialise(settings);
    load_cached_settings(settings, nullptr);
    MemoryDots dots{};
    load_dot_map(dots);

    StoreDotRenderer renderer;
    DotsPageInput input;
    input.host_image = image.get();
    input.dot_map = dots.map;
    input.renderer = &renderer;
    input.runner = &pool;
    input.profile = {doc.icc_profile.data(), doc.icc_profile.size()};
    return report(write_dots_page(input, settings, output_), output_, "",
                  "no memory dot is filled (corvanthe dots store N fills one): the page has no pictures", open_);
}

}  // namespace corvanthe::cli
