#include "apps/cli/preset_thumbnail.h"

#include <cstdint>
#include <memory>

#include "apps/cli/document_conversion.h"
#include "export/page_pictures.h"
#include "layers/jpeg_thumbnail.h"
#include "layers/thumbnail.h"
#include "render/worker_pool.h"

namespace corvanthe::cli {

bool PresetThumbnail::compress(ThumbnailJpeg& out) {
    if (jpeg_.empty()) return false;
    out = {jpeg_.data(), jpeg_.size(), width_, height_};
    return true;
}

bool PresetThumbnail::show(const uint8_t* data, std::size_t size, int32_t width, int32_t height) {
    jpeg_.assign(data, data + size);
    width_ = width;
    height_ = height;
    return true;
}

bool PresetThumbnail::make_from(const hosting::Document& image, std::string& error) {
    // The dialog's preview bitmap: 8 bits, one plane per colour.
    const hosting::Document doc = convert_depth(image, 8);
    const int planes = doc.colour_planes();
    const std::size_t plane_bytes = std::size_t(doc.width) * std::size_t(doc.height);
    if (plane_bytes > std::size_t(INT32_MAX)) {
        error = "the image is too large for a thumbnail";
        return false;
    }
    std::vector<uint8_t> bitmap(plane_bytes * std::size_t(planes));
    for (int32_t y = 0; y < doc.height; ++y)
        for (int32_t x = 0; x < doc.width; ++x)
            for (int plane = 0; plane < planes; ++plane)
                bitmap[std::size_t(plane) * plane_bytes + std::size_t(y) * std::size_t(doc.width) + std::size_t(x)] =
                    *doc.sample_address(x, y, plane);
    const PreviewBitmap preview{bitmap.data(), doc.width, doc.height, doc.width, int32_t(plane_bytes), planes};

    WorkerPool pool;
    std::unique_ptr<LayerStore, void (*)(LayerStore*)> thumbnail(
        create_store(page_store_owner(), kThumbnailSide, kThumbnailSide, PixelKind::rgba8), free_store);
    LayerStore* unused = nullptr;
    StoreThumbnails stores(thumbnail.get(), unused, pool);
    ThumbnailJpeg jpeg;
    if (!thumbnail || !capture_thumbnail(*thumbnail, preview, pool) || !stores.compress(jpeg)) {
        error = "cannot make a thumbnail of the image";
        return false;
    }
    return show(jpeg.data, jpeg.size, jpeg.width, jpeg.height);
}

}  // namespace corvanthe::cli
