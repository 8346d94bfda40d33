#pragma once
// The handlers of PluginMain's selectors. Each runs with the host's pointers in the
// context and leaves its answer in the result cell.
#include "host/host_context.h"

namespace corvanthe {

void show_about(HostContext& context);
void run_parameters(HostContext& context);
void run_prepare(HostContext& context);
void run_start(HostContext& context);
void run_continue(HostContext& context);
void run_finish(HostContext& context);

}  // namespace corvanthe
