#include "host/work_buffers.h"

#include <algorithm>
#include <cstring>

#include "host/host_rects.h"
#include "host/work_allocator.h"
#include "layers/thumbnail.h"

namespace corvanthe {
namespace {

constexpr int32_t kTileSide = 256;
constexpr uint32_t kPixelBytes = 4 * sizeof(float);
constexpr int32_t kDotThumbnailSide = 100;

uint32_t capped_side(int32_t side) { return static_cast<uint32_t>(std::clamp(side, 1, kTileSide)); }

}  // namespace

void size_work_buffers(PluginState& state, const sdk::VRect& filter_rect) {
    state.image_buffer_bytes =
        capped_side(width_of(filter_rect)) * capped_side(height_of(filter_rect)) * kPixelBytes;
}

bool allocate_work_buffers(PluginState& state) {
    release_work_buffers(state);
    bool complete = state.image_buffer_bytes > 0;
    for (void*& buffer : state.image_buffers) {
        if (complete) buffer = allocate_work(state.image_buffer_bytes);
        complete = complete && buffer;
    }
    if (complete) {
        state.work_block = static_cast<WorkBlock*>(allocate_work(sizeof(WorkBlock)));
        complete = state.work_block != nullptr;
    }
    if (complete) {
        std::memset(state.work_block, 0, sizeof(WorkBlock));
        state.work_block->dot_thumbnail =
            create_store(state.work_block, kDotThumbnailSide, kDotThumbnailSide, PixelKind::rgba8);
        complete = state.work_block->dot_thumbnail != nullptr;
    }
    if (!complete) release_work_buffers(state);
    return complete;
}

// Images name the work block as their owner: unlike the plug-in state, which the host
// may move between calls, it stays put from Start to Finish.
void create_thumbnail(PluginState& state) {
    WorkBlock& block = *state.work_block;
    free_store(block.thumbnail);
    block.thumbnail = create_store(state.work_block, kThumbnailSide, kThumbnailSide, PixelKind::rgba8);
    if (block.thumbnail) clear_thumbnail(*block.thumbnail);
}

void release_work_buffers(PluginState& state) {
    for (void*& buffer : state.image_buffers) {
        free_work(buffer);
        buffer = nullptr;
    }
    if (state.work_block) {
        free_store(state.work_block->dot_thumbnail);
        free_store(state.work_block->thumbnail);
        free_store(state.work_block->file_preview);
        free_work(state.work_block);
        state.work_block = nullptr;
    }
}

}  // namespace corvanthe
