#include "host/cached_settings_calls.h"

#include "host/plugin_state.h"
#include "host/run_thumbnails.h"
#include "settings/temporary_files.h"

namespace corvanthe {

void load_cached_settings(HostContext& context) {
    RunThumbnails thumbnails(*context.state->work_block);
    load_cached_settings(*context.settings, &thumbnails.port());
}

void save_cached_settings(HostContext& context) {
    RunThumbnails thumbnails(*context.state->work_block);
    save_cached_settings(*context.settings, &thumbnails.port());
}

}  // namespace corvanthe
