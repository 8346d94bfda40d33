#include "host/plugin_state.h"

#include <cstring>

namespace corvanthe {

void initialise_state(PluginState& state) {
    std::memset(&state, 0, sizeof state);
    state.show_dialog = 1;
    clear_dialog_state(state);
}

void clear_dialog_state(PluginState& state) {
    state.preview_rect = {0, 0, 0, 0};
    state.preview_scale = 1.0;
}

}  // namespace corvanthe
