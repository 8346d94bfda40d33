#pragma once
// The handlers of PluginMain's selectors. Each runs with the host's pointers in the
// context and leaves its answer in the result cell.
#include "host/host_context.h"

namespace corvanthe {

// The clean-up of a run: the memory-dot map goes back to its file and the work
// buffers are released.
void end_run(HostContext& context);

void show_about(HostContext& context);
void run_parameters(HostContext& context);
void run_prepare(HostContext& context);
void run_start(HostContext& context);
void run_continue(HostContext& context);
void run_finish(HostContext& context);

}  // namespace corvanthe
