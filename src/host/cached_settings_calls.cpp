#include "host/cached_settings_calls.h"

// Filled in with the settings-file reader and writer; until then no file is kept and
// every run starts from the defaults or the descriptor.

namespace corvanthe {

void load_cached_settings(HostContext&) {}

void save_cached_settings(HostContext&) {}

}  // namespace corvanthe
