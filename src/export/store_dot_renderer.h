#pragma once
// The memory dots page's renderer: the sun of a dot's settings rendered and glued onto the
// page's copy of the image (render mode 2) by the plug-in's renderer, at full size.
#include "export/dots_page.h"

namespace corvanthe {

class StoreDotRenderer final : public DotRenderer {
public:
    bool render(const SunSettings& settings, LayerStore& picture) override;
};

}  // namespace corvanthe
