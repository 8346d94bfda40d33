#include "apps/winhost/command_line.h"

#include <cstdio>
#include <cstring>

#include "sdk/four_cc.h"

namespace corvanthe::winhost {

bool parse_run_arguments(int argc, char** argv, int first, SilentRun& run) {
    if (argc - first < 2) return false;
    run.image_in = argv[first];
    run.image_out = argv[first + 1];
    for (int i = first + 2; i < argc; i += 2) {
        if (i + 1 >= argc) return false;
        if (std::strcmp(argv[i], "--descriptor") == 0)
            run.descriptor_in = argv[i + 1];
        else if (std::strcmp(argv[i], "--record") == 0)
            run.descriptor_out = argv[i + 1];
        else
            return false;
    }
    return true;
}

int report(const RunOutcome& outcome) {
    if (!outcome.completed) {
        std::fprintf(stderr, "%s\n", outcome.error.c_str());
        return 1;
    }
    std::printf("result %d\n", outcome.result);
    return 0;
}

std::string describe(const hosting::PluginProperties& properties) {
    char version[16];
    std::snprintf(version, sizeof version, "0x%08x", unsigned(properties.interface_version));
    return "kind " + four_cc_text(properties.kind) + "\nname " + properties.name + "\ncategory " +
           properties.category + "\nversion " + version + "\nwx86 " + properties.entry_x86 + "\n8664 " +
           properties.entry_x64 + "\n";
}

}  // namespace corvanthe::winhost
