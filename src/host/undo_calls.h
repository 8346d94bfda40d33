#pragma once
// The dialog's undo store of two settings slots, kept in the run's work block.
#include "host/host_context.h"

namespace corvanthe {

// At every Start: current slot 0, both slots invalid.
void clear_undo_store(HostContext& context);

// Just before the dialog opens: the current settings become the next slot, with file.
void save_undo_slot(HostContext& context);

}  // namespace corvanthe
