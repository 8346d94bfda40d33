// The corvanthe command: a host of the filter interface that runs the plug-in on image files.
#include <CLI/CLI.hpp>

#include <cstdio>

#include "host/plugin_main.h"
#include "apps/cli/dots_command.h"
#include "apps/cli/info_command.h"
#include "apps/cli/page_command.h"
#include "apps/cli/preset_command.h"
#include "apps/cli/render_command.h"
#include "apps/cli/render_settings_options.h"
#include "ui/posix/toolkit_port.h"

int main(int argc, char** argv) {
    using namespace corvanthe::cli;
    CLI::App app{"corvanthe: draws fantasy suns onto images through the Corvanthe filter plug-in"};
    app.require_subcommand(1);

    RenderOptions render;
    CLI::App* render_command = app.add_subcommand("render", "Render a sun onto an image (default: the built-in picture)");
    render_command->add_option("INPUT", render.input, "image to render onto; omitted: a built-in evening sky");
    render_command->add_option("-o,--output", render.output, "image to write")->capture_default_str();
    render_command->add_option("--threads", render.threads, "processors the plug-in may use")
        ->check(CLI::Range(1, 4096));
    render_command->add_flag("--quiet", render.quiet, "no progress bar and no summary");
    add_render_settings_options(*render_command, render);
    RenderOptions edit;
    CLI::App* edit_command = app.add_subcommand(
        "edit", "Show the plug-in's dialog over an image; OK writes the output, Cancel writes nothing (exit 1)");
    edit_command->add_option("INPUT", edit.input, "image to render onto; omitted: a built-in evening sky");
    edit_command->add_option("-o,--output", edit.output, "image to write")->capture_default_str();
    add_render_settings_options(*edit_command, edit);
    const PageCommand page(app);
    const PresetCommand preset(app);
    const DotsCommand dots(app);
    bool info_json = false;
    CLI::App* info_command = app.add_subcommand("info", "The plug-in's properties and scripting parameters");
    info_command->add_flag("--json", info_json, "as JSON");

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {  // --help
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kExitUsage;
    }
    if (*render_command) return run_render(render, PluginMain);
    if (*edit_command) {
        std::string why;
        if (!corvanthe::ui::toolkit_port(why)) {
            std::fprintf(stderr, "corvanthe: cannot show the dialog: %s\n", why.c_str());
            return kExitUsage;
        }
        return run_edit(edit, PluginMain);
    }
    if (page.chosen()) return page.run();
    if (preset.chosen()) return preset.run();
    if (dots.chosen()) return dots.run();
    if (*info_command) return run_info(info_json);
    return kExitUsage;
}
