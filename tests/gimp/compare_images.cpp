// Compares two pictures sample by sample, for the GIMP batch check (the files are read
// with the command's own readers, at their depth: 16-bit samples on the host's scale).
//   compare_images same A B                every sample equal
//   compare_images selection A B X Y W H   equal outside the rectangle, not inside it
// Exit status 0 when the comparison holds, 1 when not, 2 for bad arguments or files.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "apps/cli/image_file.h"

namespace {

using corvanthe::hosting::Document;

struct Counts {
    long differing_inside = 0;
    long differing_outside = 0;
};

bool pixels_equal(const Document& a, const Document& b, int32_t x, int32_t y) {
    for (int plane = 0; plane < a.planes(); ++plane)
        if (a.sample(x, y, plane) != b.sample(x, y, plane)) return false;
    return true;
}

int usage() {
    std::fprintf(stderr, "usage: compare_images same A B | selection A B X Y W H\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return usage();
    const std::string mode = argv[1];
    const bool selection = mode == "selection";
    if ((selection && argc != 8) || (!selection && (argc != 4 || mode != "same")))
        return usage();
    Document a, b;
    std::string error;
    if (!corvanthe::cli::read_image_file(argv[2], a, error) || !corvanthe::cli::read_image_file(argv[3], b, error)) {
        std::fprintf(stderr, "compare_images: %s\n", error.c_str());
        return 2;
    }
    if (a.width != b.width || a.height != b.height || a.depth != b.depth || a.planes() != b.planes() ||
        a.colour != b.colour) {
        std::fprintf(stderr, "compare_images: %s is %dx%d, %d-bit, %d planes; %s is %dx%d, %d-bit, %d planes\n",
                     argv[2], a.width, a.height, a.depth, a.planes(), argv[3], b.width, b.height, b.depth,
                     b.planes());
        return 1;
    }
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    if (selection) {
        left = std::atoi(argv[4]);
        top = std::atoi(argv[5]);
        right = left + std::atoi(argv[6]);
        bottom = top + std::atoi(argv[7]);
    }
    Counts counts;
    for (int32_t y = 0; y < a.height; ++y)
        for (int32_t x = 0; x < a.width; ++x) {
            if (pixels_equal(a, b, x, y)) continue;
            const bool inside = x >= left && x < right && y >= top && y < bottom;
            ++(inside ? counts.differing_inside : counts.differing_outside);
        }
    std::printf("%s %s %s: %ld pixels differ inside the rectangle, %ld elsewhere\n", mode.c_str(), argv[2],
                argv[3], counts.differing_inside, counts.differing_outside);
    const bool holds = counts.differing_outside == 0 &&
                       (selection ? counts.differing_inside > 0 : counts.differing_inside == 0);
    return holds ? 0 : 1;
}
