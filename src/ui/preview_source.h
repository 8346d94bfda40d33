#pragma once
// Where the dialog's preview pixels come from: the plug-in boundary implements it over the
// host's services (tile requests at an input rate, the render in preview mode, the display
// service), so the dialog logic never talks to the host itself.
#include <cstdint>
#include <vector>

#include "ui/canvas.h"

namespace corvanthe::ui {

// One read of the preview: 8 bits a channel, planar (every row of plane 0, then of plane 1, ...),
// rows `width` bytes long.
struct PreviewPicture {
    std::vector<uint8_t> planar;
    int32_t width = 0;
    int32_t height = 0;
    int32_t planes = 0;  // 1 grey, 3 RGB
};

class PreviewSource {
public:
    virtual ~PreviewSource() = default;
    // `visible` is the part of the filtered area to show, in image pixels relative to the filtered
    // area's top-left and inside it; the picture is that area reduced by `divisor` (1 or more).
    // Both return 0, or the error code that ended the read (it becomes the plug-in's result).
    // The filter's result at that scale: the host's pixels with the sun rendered and glued on.
    virtual int16_t render(const Rect& visible, int32_t divisor, PreviewPicture& picture) = 0;
    // The host's pixels alone, as shown while the user pans.
    virtual int16_t read_plain(const Rect& visible, int32_t divisor, PreviewPicture& picture) = 0;
    // Shows the picture with its top-left corner at `at` (dialog client coordinates): through the
    // host's display service when it offers one, otherwise drawn on the canvas.
    virtual void show(const PreviewPicture& picture, Point at, Canvas& canvas) = 0;
};

}  // namespace corvanthe::ui
