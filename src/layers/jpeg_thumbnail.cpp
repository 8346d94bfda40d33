#include "layers/jpeg_thumbnail.h"

#include "layers/jpeg_reader.h"
#include "layers/jpeg_writer.h"
#include "layers/thumbnail.h"
#include "settings/settings_file.h"

namespace corvanthe {

bool StoreThumbnails::compress(ThumbnailJpeg& out) {
    if (!thumbnail_ || !thumbnail_->tiles) return false;
    // Files carry the thumbnail at 128 x 128, the size the dialog keeps it at.
    if (thumbnail_->levels[0].width != kThumbnailSide || thumbnail_->levels[0].height != kThumbnailSide) return false;
    if (encode_jpeg(thumbnail_, kThumbnailQuality, JpegSegments{}, bytes_) != kJpegOk) return false;
    out = {bytes_.data(), bytes_.size(), kThumbnailSide, kThumbnailSide};
    return true;
}

bool StoreThumbnails::can_show() const { return thumbnail_ && thumbnail_->tiles; }

bool StoreThumbnails::show(const uint8_t* data, std::size_t size, int32_t width, int32_t height) {
    LayerStore* picture = create_store(thumbnail_ ? thumbnail_->owner : nullptr, width, height, PixelKind::rgba8);
    if (!picture) return false;
    if (!decode_jpeg(data, size, *picture)) {
        free_store(picture);
        return false;
    }
    free_store(shown_);
    shown_ = picture;
    return true;
}

}  // namespace corvanthe
