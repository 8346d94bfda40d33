#pragma once
// The built-in picture of `corvanthe render` without an input: an evening sky of
// 1600 × 1000, deep blue at the top to orange at the horizon, over dark hills.
#include "hosting/document.h"

namespace corvanthe::cli {

constexpr int32_t kEveningSkyWidth = 1600;
constexpr int32_t kEveningSkyHeight = 1000;

// 8-bit RGB; the same pixels on every platform (plain arithmetic, no library functions).
hosting::Document evening_sky();

}  // namespace corvanthe::cli
