#pragma once
// The dialog's preview over the host's services during Start: the filter's result at a reduced
// scale rendered in render mode 1, the host's pixels alone read plane by plane at the preview's
// input rate, and the picture shown through the host's displayPixels or drawn on the canvas.
#include <cstdint>

#include "host/host_context.h"
#include "ui/preview_source.h"

namespace corvanthe {

class HostPreviewSource final : public ui::PreviewSource {
public:
    // The context must stay as Start sets it up (kept blocks locked, work buffers allocated)
    // for as long as the source is used.
    explicit HostPreviewSource(HostContext& context) : context_(context) {}

    // The picture is ceil(width / divisor) by ceil(height / divisor) preview pixels, one plane for
    // grey documents and three for colour ones. Preview pixel (i, j) is image pixel
    // (visible.left + i × divisor, visible.top + j × divisor) of the filtered area when the
    // filtered area's corner and the visible area's lie on multiples of the divisor (otherwise
    // the host's sampling rounds each of them down at that scale).
    int16_t render(const ui::Rect& visible, int32_t divisor, ui::PreviewPicture& picture) override;
    int16_t read_plain(const ui::Rect& visible, int32_t divisor, ui::PreviewPicture& picture) override;
    // Through displayPixels when the host offers it and it draws the picture; otherwise (or
    // when it answers an error) the picture is drawn on the canvas.
    void show(const ui::PreviewPicture& picture, ui::Point at, ui::Canvas& canvas) override;

private:
    HostContext& context_;
};

}  // namespace corvanthe
