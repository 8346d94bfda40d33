#pragma once
// `corvanthe render`: one silent filter run over an image file or the built-in picture.
#include <string>

#include "sdk/filter_record.h"

namespace corvanthe::cli {

struct RenderOptions {
    std::string input;  // empty: the built-in picture
    std::string output = "corvanthe-out.png";
    int threads = 0;    // 0: every processor
    bool quiet = false;
};

// Exit codes of the command.
constexpr int kExitSuccess = 0;
constexpr int kExitFilterFailed = 1;
constexpr int kExitUsage = 2;

// Runs the plug-in's entry over the document as a host does (Prepare, Start, Continue,
// Finish) and writes the result; messages go to stderr. Returns the exit code.
int run_render(const RenderOptions& options, sdk::PluginMainProc plugin);

}  // namespace corvanthe::cli
