#include "host/undo_calls.h"

// Filled in with the undo store; until then the dialog has nothing to step back to.

namespace corvanthe {

void clear_undo_store(HostContext&) {}

void save_undo_slot(HostContext&) {}

}  // namespace corvanthe
