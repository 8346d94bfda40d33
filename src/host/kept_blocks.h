#pragma once
// The two blocks the host keeps for the plug-in between calls: the `parameters`
// handle with the settings record and the `data` block with the plug-in state.
// Only the host's handle procedures touch them, and only those the host offers.
#include <cstdint>

#include "host/host_context.h"

namespace corvanthe {

// Whether the host holds both blocks, each large enough for its record as far as the
// host's handle procedures tell (a block kept from another build may be smaller).
bool kept_blocks_usable(const HostContext& context);

// Allocates whichever block is missing (or too small to hold its record), then locks
// both and initialises the plug-in state; a freshly allocated settings record is
// initialised as well. Returns 0 or memFullErr.
int16_t allocate_kept_blocks(HostContext& context);

// Locks both blocks (move high) and keeps their addresses in the context.
// Returns 0, memFullErr when a lock fails, filterBadParameters when a block is missing
// or too small.
int16_t lock_kept_blocks(HostContext& context);

// Unlocks the data block, then the parameters handle, whichever is present, and
// forgets their addresses.
void unlock_kept_blocks(HostContext& context);

}  // namespace corvanthe
