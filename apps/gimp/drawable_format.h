#pragma once
// How an editor's drawable becomes the host's document: each sample precision maps onto
// the document depth that carries it (8 and 16 bits as they are, 32-bit integers onto
// 16 bits, half, float and double onto 32-bit float), always in the perceptual (gamma)
// encoding, so that an 8-bit picture gives the pixels a file of it gives.
#include <string>

namespace corvanthe::gimp {

enum class SamplePrecision { u8, u16, u32, half, single, twice };  // twice: double

struct DrawableFormat {
    int depth;           // of the document: 8, 16 or 32
    std::string babl;    // the pixel format the pixels travel in, e.g. "R'G'B'A u16"
};

DrawableFormat drawable_format(SamplePrecision precision, bool grey, bool alpha);

}  // namespace corvanthe::gimp
