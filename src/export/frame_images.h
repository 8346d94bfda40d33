#pragma once
// The four strips that frame each picture of a catalogue page, as GIF89a files the
// program keeps and writes beside the page.
#include <cstdint>
#include <string>
#include <vector>

namespace corvanthe {

struct FrameImage {
    const char* file_name;
    int width;
    int height;
    bool shadow;  // the strip below a picture fades from dark to white
};

// "top.gif" 94 x 2, "left.gif" 3 x 88, "right.gif" 3 x 88, "bottom.gif" 94 x 5.
extern const FrameImage kFrameImages[4];

// The GIF89a bytes of one strip.
std::vector<uint8_t> frame_image_gif(const FrameImage& frame);

// Writes all four into the folder (ending in a separator); false if any could not be written.
bool write_frame_images(const std::string& folder);

}  // namespace corvanthe
