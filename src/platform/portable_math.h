#pragma once
// Elementary functions computed with IEEE basic operations only (+ - * /, sqrt,
// comparisons, bit manipulation), so every platform gets the same bits. The C
// runtimes (glibc, mingw-w64) do not promise the same last bit for pow, sin, ...,
// and the renderer truncates their results into tables: a last-bit difference
// can move a table entry and with it the pixels.
//
// Accuracy: within 1 ulp (in practice a little over half an ulp) over the ranges
// stated below; special values follow C's pow/sin/... rules.

namespace corvanthe::pmath {

// x to the power y. Exact where the tables rely on it: pow(x, 0) = 1, pow(x, 1) = x,
// pow(1, y) = 1, pow(0, y > 0) = 0, pow(2, n) = 2^n; for whole 2 <= y <= 64 the
// product rounds once (y = 2 gives x * x as the hardware rounds it).
double pow(double x, double y);
// 2^x; exact for whole x.
double exp2(double x);
// Base-2 logarithm; exact for powers of two.
double log2(double x);
// Accurate for |x| < 2^20 * pi/2; beyond it the argument reduction loses bits (the
// result stays the same on every platform) and from 2^30 on the result is NaN.
double sin(double x);
double cos(double x);
double atan(double x);
// asin(+-1) is the double nearest +-pi/2; NaN outside -1..1.
double asin(double x);

}  // namespace corvanthe::pmath
