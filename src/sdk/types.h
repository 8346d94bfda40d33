#pragma once
// Basic types of the host interface, with the widths real hosts use on Win32 and Win64.
#include <cstdint>

namespace corvanthe::sdk {

using OSType = uint32_t;
using OSErr = int16_t;
using Boolean = uint8_t;
using Fixed = int32_t;  // 16.16
using Ptr = char*;
using Handle = char**;  // opaque to the plug-in; only the handle procedures touch it

struct Point {
    int16_t v;
    int16_t h;
};

struct Rect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

struct VPoint {
    int32_t v;
    int32_t h;
};

struct VRect {
    int32_t top;
    int32_t left;
    int32_t bottom;
    int32_t right;
};

struct RGBColor {
    uint16_t red;
    uint16_t green;
    uint16_t blue;
};

using FilterColor = uint8_t[4];

// Host procedures use the C calling convention on every platform.
#if defined(_WIN32) && !defined(_WIN64)
#define CORVANTHE_HOST_API __cdecl
#else
#define CORVANTHE_HOST_API
#endif

}  // namespace corvanthe::sdk
