#pragma once
// The plug-in's own run state, kept by the host in its `data` block between calls.
// A plain record: the host hands back the same bytes at the next call.
#include <cstdint>

#include "layers/layer_store.h"
#include "sdk/types.h"
#include "settings/undo_store.h"

namespace corvanthe {

namespace ui {
struct PreviewPicture;
}

constexpr int kImageBufferCount = 4;

// The run's work block: what lives from Start to Finish beside the image buffers.
struct WorkBlock {
    LayerStore* layer_target;   // render mode 2 renders into it; null for the host image
    ui::PreviewPicture* preview_target;  // render mode 1 renders into it, sized beforehand
    LayerStore* dot_thumbnail;  // 100 x 100: shows a memory dot's thumbnail
    LayerStore* thumbnail;      // 128 x 128: the picture saved with settings files
    LayerStore* file_preview;   // the thumbnail of the settings file read last
    UndoStore undo;             // the dialog's two undo slots
    int32_t processor_count;    // worker threads of the pool
};

struct PluginState {
    uint8_t show_dialog;        // run the dialog at the next Start
    uint8_t parameters_ran;     // the Parameters selector ran since the last Start
    sdk::VRect filter_rect;     // as the host gave it at Prepare
    sdk::VRect render_rect;     // of the render in progress
    sdk::VRect preview_rect;    // of the dialog's preview
    double preview_scale;

    // Work buffers: sized at Prepare, allocated at Start, released at Finish.
    uint32_t image_buffer_bytes;
    void* image_buffers[kImageBufferCount];
    WorkBlock* work_block;
};

// The state of a fresh block and of every Parameters call: dialog wanted, no preview
// yet, no work buffers.
void initialise_state(PluginState& state);

// Forgets the dialog's view of the last run (at every Prepare).
void clear_dialog_state(PluginState& state);

}  // namespace corvanthe
