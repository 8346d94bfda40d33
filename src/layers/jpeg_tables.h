#pragma once
// The program's own JPEG quantisation tables and luminance sampling, one set per
// quality decile. The library's quality scaling is never used.

namespace corvanthe {

struct JpegDecile {
    int luma_h;                    // luminance sampling factors; the chroma components use 1 x 1
    int luma_v;
    unsigned int luminance[64];    // quantisation table 0, natural (row-major) order
    unsigned int chrominance[64];  // quantisation table 1
};

// Quality clamped to 0..99.
int clamp_jpeg_quality(int quality);

// The set for quality / 10 after clamping.
const JpegDecile& jpeg_decile(int quality);

}  // namespace corvanthe
