// winhost: a minimal Windows host for tests. It loads a .8bf as a host does and runs the
// filter over raw pixel files: silently, or with its dialog as after a menu choice.
//   winhost info PLUGIN
//   winhost run PLUGIN IN.raw OUT.raw [--descriptor FILE] [--record FILE]
//   winhost dialog PLUGIN IN.raw OUT.raw [--descriptor FILE] [--record FILE] [--screenshot FILE.png]
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "apps/winhost/command_line.h"
#include "apps/winhost/win32/plugin_module.h"
#include "apps/winhost/win32/screen.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: winhost info PLUGIN\n"
                 "       winhost run PLUGIN IN.raw OUT.raw [--descriptor FILE] [--record FILE]\n"
                 "       winhost dialog PLUGIN IN.raw OUT.raw [--descriptor FILE] [--record FILE] "
                 "[--screenshot FILE.png]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace corvanthe::winhost;
    if (argc < 3) return usage();
    const std::string command = argv[1];
    const bool info = command == "info";
    // --screenshot belongs to the dialog run only; the rest are the shared run arguments.
    std::vector<char*> arguments(argv, argv + argc);
    std::string screenshot;
    for (size_t i = 3; command == "dialog" && i + 1 < arguments.size(); ++i) {
        if (std::strcmp(arguments[i], "--screenshot") != 0) continue;
        screenshot = arguments[i + 1];
        arguments.erase(arguments.begin() + static_cast<std::ptrdiff_t>(i), arguments.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        break;
    }
    SilentRun run;
    if (!info && ((command != "run" && command != "dialog") ||
                  !parse_run_arguments(static_cast<int>(arguments.size()), arguments.data(), 3, run)))
        return usage();
    if (command == "dialog") {
        run.dialog = true;
        run.display = display_on_screen;
        take_screenshots_to(screenshot);
    }

    PluginModule plugin;
    if (!plugin.load(argv[2])) {
        std::fprintf(stderr, "%s\n", plugin.error().c_str());
        return 1;
    }
    if (info) {
        std::printf("%sentry %s\n", describe(plugin.properties()).c_str(),
                    plugin.entry_is_plugin_main() ? "PluginMain" : "other");
        return 0;
    }
    return report(run_silent(plugin.entry(), run));
}
