#pragma once
// The thumbnails of a run as settings files see them: the run's thumbnail image is
// saved with a file, and a file's thumbnail becomes the run's file preview.
#include "host/plugin_state.h"
#include "layers/jpeg_thumbnail.h"
#include "render/worker_pool.h"

namespace corvanthe {

class RunThumbnails {
public:
    explicit RunThumbnails(WorkBlock& block) : port_(block.thumbnail, block.file_preview, pool_) {}
    ThumbnailPort& port() { return port_; }

private:
    WorkerPool pool_;
    StoreThumbnails port_;
};

}  // namespace corvanthe
