#pragma once
// One silent filter run over raw pixel files, the same on every system: the picture
// comes from a raw file, the settings from a descriptor file (the host's byte form of a
// descriptor), the plug-in runs with play mode silent, and the result and the
// descriptor that the plug-in recorded go to files.
#include <cstdint>
#include <functional>
#include <string>

#include "sdk/display.h"
#include "sdk/filter_record.h"

namespace corvanthe::winhost {

struct SilentRun {
    std::string image_in;
    std::string image_out;
    // Empty: an empty descriptor, so the run starts from the defaults and never from
    // settings that an earlier run left on this machine.
    std::string descriptor_in;
    std::string descriptor_out;  // empty: not written
    // A run as a user's choice from the menu: Parameters with the dialog shown, then
    // Prepare, Start, Finish. Cancelling is the user's answer, not a failure; the output
    // is written only after OK.
    bool dialog = false;
    // The host's displayPixels, when it has a screen to show the preview on.
    std::function<sdk::OSErr(const sdk::PSPixelMap& map, const sdk::VRect& source, int32_t row, int32_t col,
                             void* context)>
        display = nullptr;
};

struct RunOutcome {
    // The files were read, the filter ran and the output written (or, with the dialog,
    // the user cancelled and nothing was written).
    bool completed = false;
    int16_t result = 0;      // the plug-in's result code
    int16_t selector = 0;    // the selector that gave it
    std::string error;       // what went wrong when not completed
};

RunOutcome run_silent(sdk::PluginMainProc plugin, const SilentRun& run);

}  // namespace corvanthe::winhost
