#pragma once
// Test pictures for comparing two hosts' runs: smooth ramps in every channel with a
// pattern of hard edges, so that every glue mode meets dark, light, saturated and grey
// pixels; optionally a transparency plane and a round selection with a soft edge.
#include <optional>

#include "hosting/document.h"

namespace corvanthe::winhost {

struct PictureSpec {
    int width = 64;
    int height = 64;
    int depth = 8;  // 8, 16 or 32
    bool rgb = true;
    bool transparency = false;
    bool mask = false;
};

// Nothing for a size outside 1..4096 or an unknown depth.
std::optional<hosting::Document> make_test_picture(const PictureSpec& spec);

}  // namespace corvanthe::winhost
