#pragma once
// The cached settings file "Corvanthe cached settings D" in the temporary folder:
// the settings of the last successful run, for hosts without scripting.
#include "host/host_context.h"

namespace corvanthe {

// Loads the file into the settings record; a missing or unreadable file leaves the
// values already there.
void load_cached_settings(HostContext& context);

// Writes the settings record, with the thumbnail of the current image; a failure is
// ignored.
void save_cached_settings(HostContext& context);

}  // namespace corvanthe
