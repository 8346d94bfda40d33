#include "apps/gimp/drawable_format.h"

namespace corvanthe::gimp {

DrawableFormat drawable_format(SamplePrecision precision, bool grey, bool alpha) {
    const std::string components = grey ? (alpha ? "Y'A" : "Y'") : (alpha ? "R'G'B'A" : "R'G'B'");
    switch (precision) {
    case SamplePrecision::u8: return {8, components + " u8"};
    case SamplePrecision::u16:
    case SamplePrecision::u32: return {16, components + " u16"};
    case SamplePrecision::half:
    case SamplePrecision::single:
    case SamplePrecision::twice: break;
    }
    return {32, components + " float"};
}

}  // namespace corvanthe::gimp
