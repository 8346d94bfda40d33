#include "layers/jpeg_thumbnail.h"

#include "layers/jpeg_reader.h"
#include "layers/jpeg_writer.h"
#include "layers/level_filter.h"
#include "layers/resample.h"
#include "layers/thumbnail.h"
#include "settings/settings_file.h"

namespace corvanthe {
namespace {

bool is_file_sized(const LayerStore& store) {
    return store.kind == PixelKind::rgba8 && store.levels[0].width == kThumbnailSide &&
           store.levels[0].height == kThumbnailSide;
}

}  // namespace

bool StoreThumbnails::compress(ThumbnailJpeg& out) {
    if (!thumbnail_ || !thumbnail_->tiles) return false;
    int16_t result;
    if (is_file_sized(*thumbnail_)) {
        // Copying would give the same level 0, which is all the encoder reads.
        result = encode_jpeg(thumbnail_, kThumbnailQuality, JpegSegments{}, bytes_);
    } else {
        LayerStore* copy = create_store(thumbnail_->owner, kThumbnailSide, kThumbnailSide, PixelKind::rgba8);
        if (!copy) return false;
        result = kJpegFailed;
        if (copy_store(*thumbnail_, *copy, runner_)) result = encode_jpeg(copy, kThumbnailQuality, JpegSegments{}, bytes_);
        free_store(copy);
    }
    if (result != kJpegOk) return false;
    out = {bytes_.data(), bytes_.size(), kThumbnailSide, kThumbnailSide};
    return true;
}

bool StoreThumbnails::can_show() const {
    return thumbnail_ && thumbnail_->tiles && (show_ == Show::Replace || (shown_ && shown_->tiles));
}

bool StoreThumbnails::show(const uint8_t* data, std::size_t size, int32_t width, int32_t height) {
    if (!can_show()) return false;
    LayerStore* picture = create_store(thumbnail_->owner, width, height, PixelKind::rgba8);
    if (!picture) return false;
    // Built levels let a smaller picture be resampled from the decoded one.
    bool shown = decode_jpeg(data, size, *picture) && build_levels(*picture, 0, runner_);
    if (shown && show_ == Show::CopyInto) {
        shown = copy_store(*picture, *shown_, runner_);
        free_store(picture);
    } else if (shown) {
        free_store(shown_);
        shown_ = picture;
    } else {
        free_store(picture);
    }
    return shown;
}

}  // namespace corvanthe
