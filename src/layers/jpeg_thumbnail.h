#pragma once
// The dialog's thumbnail as settings files carry it: copied to 128 x 128 and
// compressed for a file, and a stored one decoded into a picture.
#include "layers/job.h"
#include "layers/jpeg_codec.h"
#include "layers/layer_store.h"
#include "settings/thumbnail_port.h"

namespace corvanthe {

class StoreThumbnails final : public ThumbnailPort {
public:
    enum class Show {
        Replace,  // a decoded thumbnail becomes the picture in `shown` (the old one is freed)
        CopyInto, // a decoded thumbnail is copied (resampled) into the existing picture in `shown`
    };

    // `thumbnail`: the dialog's thumbnail image with its levels built (a size other
    // than 128 x 128 is resampled from them), or null when there is none.
    // `shown`: the picture a thumbnail read from a file goes to; left as it was when
    // the thumbnail cannot be decoded. `runner` builds levels and resamples.
    StoreThumbnails(const LayerStore* thumbnail, LayerStore*& shown, JobRunner& runner, Show show = Show::Replace)
        : thumbnail_(thumbnail), shown_(shown), runner_(runner), show_(show) {}

    bool compress(ThumbnailJpeg& out) override;
    bool can_show() const override;
    bool show(const uint8_t* data, std::size_t size, int32_t width, int32_t height) override;

private:
    const LayerStore* thumbnail_;
    LayerStore*& shown_;
    JobRunner& runner_;
    Show show_;
    JpegBytes bytes_;
};

}  // namespace corvanthe
