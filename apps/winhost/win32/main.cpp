// winhost: a minimal Windows host for tests. It loads a .8bf as a host does and runs a
// silent filter over raw pixel files.
//   winhost info PLUGIN
//   winhost run PLUGIN IN.raw OUT.raw [--descriptor FILE] [--record FILE]
#include <cstdio>
#include <cstring>
#include <string>

#include "apps/winhost/command_line.h"
#include "apps/winhost/win32/plugin_module.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: winhost info PLUGIN\n"
                 "       winhost run PLUGIN IN.raw OUT.raw [--descriptor FILE] [--record FILE]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace corvanthe::winhost;
    if (argc < 3) return usage();
    const bool info = std::strcmp(argv[1], "info") == 0;
    SilentRun run;
    if (!info && (std::strcmp(argv[1], "run") != 0 || !parse_run_arguments(argc, argv, 3, run))) return usage();

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
