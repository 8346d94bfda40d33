#pragma once
// The arguments that both raw-file hosts share.
#include <string>

#include "hosting/pipl_reader.h"
#include "apps/winhost/silent_run.h"

namespace corvanthe::winhost {

// IN.raw OUT.raw [--descriptor FILE] [--record FILE] from argv[first] on; false on
// anything else.
bool parse_run_arguments(int argc, char** argv, int first, SilentRun& run);

// Reports the outcome on stdout/stderr; the process's exit code (0 when completed).
int report(const RunOutcome& outcome);

// The properties a host starts the plug-in by, one per line ("kind 8BFM", ...).
std::string describe(const hosting::PluginProperties& properties);

}  // namespace corvanthe::winhost
