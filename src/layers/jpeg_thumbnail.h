#pragma once
// The dialog's thumbnail as settings files carry it: compressed at 128 x 128 for a
// file, and a stored one decoded into a picture of its own.
#include "layers/jpeg_codec.h"
#include "layers/layer_store.h"
#include "settings/thumbnail_port.h"

namespace corvanthe {

class StoreThumbnails final : public ThumbnailPort {
public:
    // `thumbnail`: the dialog's thumbnail image, or null when there is none.
    // `shown`: where a thumbnail read from a file goes; the port replaces (and frees)
    // the store there only when the new one decoded.
    StoreThumbnails(const LayerStore* thumbnail, LayerStore*& shown) : thumbnail_(thumbnail), shown_(shown) {}

    bool compress(ThumbnailJpeg& out) override;
    bool can_show() const override;
    bool show(const uint8_t* data, std::size_t size, int32_t width, int32_t height) override;

private:
    const LayerStore* thumbnail_;
    LayerStore*& shown_;
    JpegBytes bytes_;
};

}  // namespace corvanthe
