#include "apps/cli/render_settings_options.h"

namespace corvanthe::cli {

void add_render_settings_options(CLI::App& command, RenderOptions& options) {
    CLI::Option* preset = command.add_option("--preset", options.preset, "settings file (.q4q) to run with");
    CLI::Option* play = command.add_option("--play", options.play, "recorded descriptor (JSON) to replay");
    CLI::Option* set = command.add_option("--set", options.sets, "NAME=VALUE: one parameter, by name or key")
                           ->allow_extra_args(false);
    command.add_flag("--last", options.last, "the settings of the last run (the plug-in's cached settings)")
        ->excludes(preset)
        ->excludes(play)
        ->excludes(set);
    preset->excludes(play);
    command.add_option("--record", options.record, "write the settings the filter recorded (JSON)");
    command.add_option("--mask", options.mask, "grey image of the same size: the selection");
    command.add_option("--depth", options.depth, "convert the document to 8, 16 or 32 bits first")
        ->check(CLI::IsMember({8, 16, 32}));
}

}  // namespace corvanthe::cli
