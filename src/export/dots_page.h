#pragma once
// The memory dots page: the host image with each filled dot's settings applied, one
// framed picture per dot.
#include <cstdint>
#include <string>

#include "export/page_pictures.h"
#include "export/presets_page.h"
#include "layers/job.h"
#include "settings/memory_dots.h"

namespace corvanthe {

constexpr int32_t kDotPictureSide = 300;  // the longer side of every dot's picture

// Renders the settings onto the picture (render mode 2: the sun glued onto the picture's
// pixels); false when it could not.
class DotRenderer {
public:
    virtual bool render(const SunSettings& settings, LayerStore& picture) = 0;

protected:
    ~DotRenderer() = default;
};

struct DotsPageInput {
    const LayerStore* host_image = nullptr;  // the image the dots are shown on, its levels built
    const int32_t* dot_map = nullptr;        // kDotCount entries, 1 for a filled dot
    DotRenderer* renderer = nullptr;
    JobRunner* runner = nullptr;             // scales the host image
    ColourProfile profile;
    PageProgress progress;  // over the 25 dots
};

// The picture's size: the longer side 300, the shorter in proportion (at least 1).
void dot_picture_size(int32_t width, int32_t height, int32_t& out_width, int32_t& out_height);

// Saves the settings into the spare dot, writes one cell "dot <n>" per filled dot with
// that dot's settings rendered onto a 300-pixel copy of the host image (as
// "web_images/dot <n>.jpg"), and takes the settings back from the spare dot (from memory
// when that file cannot be read back). A dot whose file cannot be read is left out.
PageReport write_dots_page(const DotsPageInput& input, SunSettings& settings, const std::string& page_path);

}  // namespace corvanthe
