#include "host/undo_calls.h"

#include "host/plugin_state.h"
#include "host/run_thumbnails.h"
#include "settings/undo_store.h"

namespace corvanthe {

void clear_undo_store(HostContext& context) { reset_undo(context.state->work_block->undo); }

void save_undo_slot(HostContext& context) {
    WorkBlock& block = *context.state->work_block;
    RunThumbnails thumbnails(block);
    save_undo(block.undo, *context.settings, true, &thumbnails.port());
}

}  // namespace corvanthe
