#include "apps/cli/dots_command.h"

#include <cstdio>
#include <filesystem>

#include "apps/cli/dot_render.h"
#include "apps/cli/evening_sky.h"
#include "apps/cli/image_file.h"
#include "apps/cli/preset_thumbnail.h"
#include "apps/cli/render_command.h"
#include "apps/cli/run_settings.h"
#include "apps/shared/preset_file.h"
#include "settings/memory_dots.h"
#include "settings/temporary_files.h"

namespace corvanthe::cli {
namespace {

std::string dot_name(int number) { return "dot " + std::to_string(number); }

}  // namespace

DotsCommand::DotsCommand(CLI::App& app) {
    dots_ = app.add_subcommand("dots", "The dialog's memory dots 1..25, in the files the plug-in keeps them in");
    dots_->require_subcommand(1);
    list_ = dots_->add_subcommand("list", "Which dots are kept for the next run");
    store_ = dots_->add_subcommand("store", "Store settings into a dot, with a thumbnail rendered onto an image");
    recall_ = dots_->add_subcommand("recall", "Write a dot's settings into a settings file");
    clear_ = dots_->add_subcommand("clear", "Empty a dot, as a right click does (its file stays)");
    for (CLI::App* kind : {store_, recall_, clear_})
        kind->add_option("N", number_, "the dot, 1..25")->required()->check(CLI::Range(1, kDotCount));
    store_->add_option("INPUT", input_, "image the thumbnail is rendered onto; omitted: a built-in evening sky");
    store_->add_option("--from", from_, "settings file to start from (default: the defaults)");
    store_->add_option("--set", sets_, "NAME=VALUE: one parameter, by name or key")->allow_extra_args(false);
    store_->add_flag("--no-keep", no_keep_, "write the dot's file but do not keep the dot for the next run");
    recall_->add_option("-o,--output", output_, "settings file to write (.q4q)")->required();
}

int DotsCommand::run() const {
    if (static_cast<bool>(*list_)) return list();
    if (static_cast<bool>(*store_)) return store();
    if (static_cast<bool>(*recall_)) return recall();
    return clear();
}

int DotsCommand::list() const {
    MemoryDots dots{};
    load_dot_map(dots);
    std::printf("memory dots in %s\n", std::filesystem::path(memory_dot_map_path()).parent_path().string().c_str());
    for (int i = 0; i < kDotCount; ++i)
        std::printf("%-6s %s\n", dot_name(i + 1).c_str(), dots.map[i] == 1 ? "kept" : "empty");
    return kExitSuccess;
}

int DotsCommand::store() const {
    SunSettings settings{};
    PresetThumbnail thumbnail;
    std::string error;
    if (!settings_from(from_, sets_, settings, nullptr, error)) return fail(kExitUsage, error);
    hosting::Document doc;
    if (input_.empty()) {
        doc = evening_sky();
    } else if (!read_image_file(input_, doc, error)) {
        return fail(kExitUsage, error);
    }
    hosting::Document picture;
    if (!render_onto(doc, settings, picture)) return fail(kExitFilterFailed, "cannot render the thumbnail");
    if (!thumbnail.make_from(picture, error)) return fail(kExitFilterFailed, error + "; nothing was written");

    const int index = number_ - 1;
    if (write_dot_file(index, settings, &thumbnail) != kFileOk)
        return fail(kExitFilterFailed, "cannot write the file of " + dot_name(number_));
    MemoryDots dots{};
    load_dot_map(dots);
    dots.map[index] = no_keep_ ? 0 : 1;
    if (save_dot_map(dots) != kFileOk) return fail(kExitFilterFailed, "cannot write the memory dot map");
    std::printf("stored %s (%s)\n", dot_name(number_).c_str(), no_keep_ ? "not kept for the next run" : "kept");
    return kExitSuccess;
}

int DotsCommand::recall() const {
    MemoryDots dots{};
    load_dot_map(dots);
    if (dots.map[number_ - 1] != 1) return fail(kExitUsage, dot_name(number_) + " is empty");
    SunSettings settings{};
    PresetThumbnail thumbnail;
    std::string error;
    if (!apps::read_preset_file(memory_dot_path(number_ - 1), settings, error, &thumbnail))
        return fail(kExitFilterFailed, dot_name(number_) + ": " + error);
    if (write_settings_file(output_, settings, &thumbnail) != kFileOk)
        return fail(kExitUsage, "cannot write the settings file '" + output_ + "'; nothing was written");
    std::printf("wrote %s (%s)\n", output_.c_str(), dot_name(number_).c_str());
    return kExitSuccess;
}

int DotsCommand::clear() const {
    MemoryDots dots{};
    load_dot_map(dots);
    const bool was_kept = dots.map[number_ - 1] == 1;
    dots.map[number_ - 1] = 0;
    if (save_dot_map(dots) != kFileOk) return fail(kExitFilterFailed, "cannot write the memory dot map");
    std::printf("%s %s\n", dot_name(number_).c_str(), was_kept ? "cleared" : "was empty");
    return kExitSuccess;
}

}  // namespace corvanthe::cli
