#include "fuzz/thumbnail_holder.h"

#include "layers/thumbnail.h"

namespace corvanthe::fuzz {

ThumbnailHolder::ThumbnailHolder()
    : thumbnail_(create_store(&owner_, kThumbnailSide, kThumbnailSide, PixelKind::rgba8)),
      port_(thumbnail_, shown_, runner_) {
    if (thumbnail_) clear_thumbnail(*thumbnail_);
}

ThumbnailHolder::~ThumbnailHolder() {
    free_store(shown_);
    free_store(thumbnail_);
}

}  // namespace corvanthe::fuzz
