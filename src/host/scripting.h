#pragma once
// The host's scripting descriptor: the settings of a recorded run come in at Start and
// go out at Finish, and the recorded play mode decides whether the dialog is shown.
#include "host/host_context.h"

namespace corvanthe {

// True when the host offers a descriptor that opens with this plug-in's key list.
bool descriptor_carries_our_keys(const HostContext& context);

// Reads the descriptor into the settings record and sets the show-dialog flag from the
// play mode. A close error other than errMissingParameter becomes the run's result.
void read_descriptor(HostContext& context);

// Records the settings record as the host's new descriptor.
void write_descriptor(HostContext& context);

}  // namespace corvanthe
