#pragma once
// `corvanthe render`: one silent filter run over an image file or the built-in picture.
#include <string>
#include <vector>

#include "sdk/filter_record.h"

namespace corvanthe::cli {

struct RenderOptions {
    std::string input;  // empty: the built-in picture
    std::string output = "corvanthe-out.png";
    int threads = 0;    // 0: every processor
    bool quiet = false;
    // Settings, handed over as a scripting descriptor: a settings file, a recorded
    // descriptor (JSON), then NAME=VALUE overrides; none of them: an empty descriptor.
    std::string preset;
    std::string play;
    std::vector<std::string> sets;
    bool last = false;   // no descriptor: the plug-in takes its cached settings
    std::string record;  // where the descriptor recorded at Finish goes (JSON)
    std::string mask;    // a grey image of the document's size: the selection
    int depth = 0;       // 8, 16 or 32 converts the document first; 0 keeps it
};

// Exit codes of the command.
constexpr int kExitSuccess = 0;
constexpr int kExitFilterFailed = 1;
constexpr int kExitUsage = 2;

// Prints "corvanthe: MESSAGE" to stderr and returns the exit code, for every command.
int fail(int code, const std::string& message);

// Runs the plug-in's entry over the document as a host does (Prepare, Start, Continue,
// Finish) and writes the result; messages go to stderr. Returns the exit code.
int run_render(const RenderOptions& options, sdk::PluginMainProc plugin);

// `corvanthe edit`: the same run with the plug-in's dialog shown (Parameters, Prepare, Start,
// Finish). Without settings options the dialog opens on the last settings. Cancel writes
// nothing and returns kExitFilterFailed. The output rules are checked before the dialog opens.
int run_edit(RenderOptions options, sdk::PluginMainProc plugin);

}  // namespace corvanthe::cli
