#pragma once
// One silent filter run over raw pixel files, the same on every system: the picture
// comes from a raw file, the settings from a descriptor file (the host's byte form of a
// descriptor), the plug-in runs with play mode silent, and the result and the
// descriptor that the plug-in recorded go to files.
#include <cstdint>
#include <string>

#include "sdk/filter_record.h"

namespace corvanthe::winhost {

struct SilentRun {
    std::string image_in;
    std::string image_out;
    // Empty: an empty descriptor, so the run starts from the defaults and never from
    // settings that an earlier run left on this machine.
    std::string descriptor_in;
    std::string descriptor_out;  // empty: not written
};

struct RunOutcome {
    bool completed = false;  // the files were read, the filter ran and the output written
    int16_t result = 0;      // the plug-in's result code
    int16_t selector = 0;    // the selector that gave it
    std::string error;       // what went wrong when not completed
};

RunOutcome run_silent(sdk::PluginMainProc plugin, const SilentRun& run);

}  // namespace corvanthe::winhost
