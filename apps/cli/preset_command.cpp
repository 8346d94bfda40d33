#include "apps/cli/preset_command.h"

#include <cstdio>
#include <ctime>

#include "apps/cli/image_file.h"
#include "apps/cli/preset_show.h"
#include "apps/cli/preset_thumbnail.h"
#include "apps/cli/render_command.h"
#include "apps/cli/run_settings.h"
#include "apps/shared/preset_file.h"
#include "platform/c_random.h"
#include "settings/random_settings.h"

namespace corvanthe::cli {
namespace {

int write(const std::string& path, const SunSettings& settings, PresetThumbnail& thumbnail, const std::string& what) {
    if (write_settings_file(path, settings, &thumbnail) != kFileOk)
        return fail(kExitUsage, "cannot write the settings file '" + path + "'; nothing was written");
    std::printf("wrote %s (%s)\n", path.c_str(), what.c_str());
    return kExitSuccess;
}

}  // namespace

PresetCommand::PresetCommand(CLI::App& app) {
    preset_ = app.add_subcommand("preset", "Show or write a settings file (.q4q)");
    preset_->require_subcommand(1);
    show_ = preset_->add_subcommand("show", "The settings a file holds, read over the defaults");
    show_->add_flag("--json", json_, "as JSON: every value as the record stores it");
    save_ = preset_->add_subcommand("save", "Write a settings file (version 40)");
    save_->add_option("--set", sets_, "NAME=VALUE: one parameter, by name or key")->allow_extra_args(false);
    save_->add_option("--thumbnail", thumbnail_, "image whose centre becomes the file's thumbnail");
    dice_ = preset_->add_subcommand("dice", "Write random settings, as the dialog's Dice makes them");
    seed_option_ = dice_->add_option("--rand-seed", seed_, "seed of the random source (default: the time)");
    for (CLI::App* kind : {show_, save_, dice_})
        kind->add_option("FILE", file_, kind == show_ ? "settings file to read" : "settings file to write")->required();
    for (CLI::App* kind : {save_, dice_})
        kind->add_option("--from", from_, "settings file to start from (default: the defaults)");
}

int PresetCommand::run() const {
    if (static_cast<bool>(*show_)) return show();
    if (static_cast<bool>(*save_)) return save();
    return dice();
}

int PresetCommand::show() const {
    SunSettings settings{};
    SettingsFileLayout layout;
    std::string error;
    if (!apps::read_preset_file(file_, settings, error, nullptr, &layout)) return fail(kExitUsage, error);
    const std::string text = json_ ? settings_json(settings, layout) : settings_text(settings, layout);
    std::fputs(text.c_str(), stdout);
    return kExitSuccess;
}

int PresetCommand::save() const {
    SunSettings settings{};
    PresetThumbnail thumbnail;
    std::string error;
    if (!settings_from(from_, sets_, settings, &thumbnail, error)) return fail(kExitUsage, error);
    if (!thumbnail_.empty()) {
        hosting::Document image;
        if (!read_image_file(thumbnail_, image, error)) return fail(kExitUsage, error);
        if (!thumbnail.make_from(image, error)) return fail(kExitFilterFailed, error + "; nothing was written");
    }
    return write(file_, settings, thumbnail, "settings file version " + std::to_string(kSettingsFileVersion));
}

int PresetCommand::dice() const {
    SunSettings settings{};
    PresetThumbnail thumbnail;
    std::string error;
    if (!settings_from(from_, {}, settings, &thumbnail, error)) return fail(kExitUsage, error);
    // Without a seed, the time seeds the source, as every Prepare of the plug-in does.
    const uint32_t seed = seed_option_->count() > 0 ? seed_ : uint32_t(std::time(nullptr));
    CRandom random;
    random.seed(seed);
    corvanthe::dice(settings, random);
    return write(file_, settings, thumbnail, "random settings, --rand-seed " + std::to_string(seed));
}

}  // namespace corvanthe::cli
