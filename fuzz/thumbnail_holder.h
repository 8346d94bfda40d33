#pragma once
// The dialog's side of the thumbnail port as a run has it: a 128 x 128 thumbnail
// image, the picture a stored thumbnail is shown in, and a serial job runner.
#include "layers/jpeg_thumbnail.h"
#include "layers/layer_store.h"
#include "render/worker_pool.h"

namespace corvanthe::fuzz {

class ThumbnailHolder {
public:
    ThumbnailHolder();
    ~ThumbnailHolder();
    ThumbnailHolder(const ThumbnailHolder&) = delete;
    ThumbnailHolder& operator=(const ThumbnailHolder&) = delete;

    StoreThumbnails& port() { return port_; }
    // The picture of the last thumbnail shown, or null.
    const LayerStore* shown() const { return shown_; }

private:
    int owner_ = 0;
    WorkerPool runner_{true};
    LayerStore* thumbnail_ = nullptr;
    LayerStore* shown_ = nullptr;
    StoreThumbnails port_;
};

}  // namespace corvanthe::fuzz
