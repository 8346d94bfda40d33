#pragma once
// The thumbnail a saved settings file carries: the one of the file it was made from,
// or one made from an image as the dialog makes it from its preview.
#include <cstdint>
#include <string>
#include <vector>

#include "hosting/document.h"
#include "settings/thumbnail_port.h"

namespace corvanthe::cli {

// Keeps a stored thumbnail's JPEG bytes as they are and hands them to the next file.
class PresetThumbnail final : public ThumbnailPort {
public:
    bool compress(ThumbnailJpeg& out) override;
    bool can_show() const override { return true; }
    bool show(const uint8_t* data, std::size_t size, int32_t width, int32_t height) override;

    // The centred square of the image (colour only), resampled to 128 x 128 and
    // compressed as the dialog's thumbnail is. False with a message when memory runs out
    // or the picture cannot be compressed.
    bool make_from(const hosting::Document& image, std::string& error);

private:
    std::vector<uint8_t> jpeg_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

}  // namespace corvanthe::cli
