#pragma once
// The picture that travels with a settings file. Settings files store it as a
// JPEG; the image itself lives with the layers, which implement this port.
#include <cstddef>
#include <cstdint>

namespace corvanthe {

struct ThumbnailJpeg {
    const uint8_t* data = nullptr;
    std::size_t size = 0;
    int32_t width = 0;
    int32_t height = 0;
};

class ThumbnailPort {
public:
    // The current thumbnail compressed for a file; false when there is none or it
    // cannot be made (the file then says "no thumbnail"). The bytes stay valid until
    // the next call.
    virtual bool compress(ThumbnailJpeg& out) = 0;
    // True when there is an image to show a stored thumbnail in.
    virtual bool can_show() const = 0;
    // Decodes a stored width x height thumbnail and shows it; false when it cannot.
    virtual bool show(const uint8_t* data, std::size_t size, int32_t width, int32_t height) = 0;

protected:
    ~ThumbnailPort() = default;
};

}  // namespace corvanthe
