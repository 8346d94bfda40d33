#include "platform/portable_math.h"

#include <bit>
#include <cmath>  // std::sqrt only: IEEE 754 rounds it correctly everywhere
#include <cstddef>
#include <cstdint>
#include <limits>

// Method: every function reduces its argument exactly (or into a double-double) to a
// small interval, evaluates a truncated Taylor series there, and carries the leading
// terms in double-double arithmetic, so that the only sizeable error is the final
// rounding. The series stop where the remainder falls below 2^-62 of the result on the
// reduced interval; their coefficients are 1/k! or 1/k, rounded once at compile time.

namespace corvanthe::pmath {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// An unevaluated sum hi + lo with |lo| <= ulp(hi) / 2 (Dekker 1971).
struct DD {
    double hi, lo;
};

// a + b exactly (Knuth).
DD two_sum(double a, double b) {
    const double s = a + b, bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// a + b exactly, given |a| >= |b| or a == 0.
DD fast_two_sum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a * b exactly without a fused multiply-add: Veltkamp's split into 26-bit halves.
// |a|, |b| must stay below 2^996.
DD two_prod(double a, double b) {
    auto split = [](double v) {
        const double t = 134217729.0 * v;  // 2^27 + 1
        const double hi = t - (t - v);
        return DD{hi, v - hi};
    };
    const double p = a * b;
    const DD x = split(a), y = split(b);
    return {p, ((x.hi * y.hi - p) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo};
}

DD add(DD a, DD b) {
    const DD s = two_sum(a.hi, b.hi);
    return two_sum(s.hi, s.lo + a.lo + b.lo);
}

DD mul(DD a, DD b) {
    DD p = two_prod(a.hi, b.hi);
    p.lo += a.hi * b.lo + a.lo * b.hi;
    return fast_two_sum(p.hi, p.lo);
}

DD div(DD a, DD b) {
    const double q = a.hi / b.hi;
    const DD p = two_prod(q, b.hi);
    return fast_two_sum(q, ((a.hi - p.hi) - p.lo + a.lo - q * b.lo) / b.hi);
}

template <std::size_t N>
double horner(const double (&c)[N], double z) {
    double s = c[N - 1];
    for (std::size_t i = N - 1; i-- > 0;) s = s * z + c[i];
    return s;
}

double magnitude(double x) { return x < 0 ? -x : x; }

// Bit patterns of the constants, checked against 300-bit values.
constexpr DD kLn2{0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};
constexpr DD kLog2E{0x1.71547652b82fep+0, 0x1.777d0ffda0d24p-56};
constexpr DD kHalfPi{0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
constexpr DD kThird{0x1.5555555555555p-2, 0x1.5555555555555p-56};

// ---- 2^x and log2 x --------------------------------------------------------------

// 2^n for -1022 <= n <= 1023.
double power_of_two(int n) { return std::bit_cast<double>(uint64_t(n + 1023) << 52); }

// v * 2^n for v in [1/2, 2) and |n| <= 1100, rounded once (also into the subnormals).
double scale(double v, int n) {
    if (n > 1023) {
        v *= power_of_two(1023);
        n -= 1023;
    } else if (n < -1021) {
        v *= power_of_two(-1021);  // still normal: exact
        n += 1021;
    }
    return v * power_of_two(n);
}

// 2^(h + l) for |h| <= 1100: h + l = n + f with |f| <= 1/2, and e^r for r = f ln 2
// (|r| <= 0.35) by Taylor's series to r^14.
double exp2_dd(double h, double l) {
    static constexpr double kTail[] = {1.0 / 6,         1.0 / 24,        1.0 / 120,        1.0 / 720,
                                       1.0 / 5040,      1.0 / 40320,     1.0 / 362880,     1.0 / 3628800,
                                       1.0 / 39916800,  1.0 / 479001600, 1.0 / 6227020800, 1.0 / 87178291200};
    const int n = int(h + (h >= 0 ? 0.5 : -0.5));
    const DD f = two_sum(h - n, l);  // h - n is exact
    DD r = two_prod(f.hi, kLn2.hi);
    r.lo += f.hi * kLn2.lo + f.lo * kLn2.hi;
    r = fast_two_sum(r.hi, r.lo);
    // e^r = 1 + r + r^2/2 + r^3 (1/3! + r/4! + ...), the first three terms carried exactly.
    const DD r2 = two_prod(r.hi, r.hi);
    const DD a = two_sum(1.0, r.hi);
    const DD b = two_sum(a.hi, 0.5 * r2.hi);
    const double lo = a.lo + b.lo + 0.5 * r2.lo + r2.hi * r.hi * horner(kTail, r.hi) + r.lo * (1 + r.hi);
    return scale(b.hi + lo, n);
}

// log2 x for finite x > 0 as a double-double. x = 2^e m with m in [sqrt(1/2), sqrt 2),
// ln m = 2 atanh s with s = (m - 1)/(m + 1), |s| <= 0.172, by the series
// s + s^3/3 + s^5/5 + ... to s^27.
DD log2_dd(double x) {
    static constexpr double kSeries[] = {1.0 / 5,  1.0 / 7,  1.0 / 9,  1.0 / 11, 1.0 / 13, 1.0 / 15,
                                         1.0 / 17, 1.0 / 19, 1.0 / 21, 1.0 / 23, 1.0 / 25, 1.0 / 27};
    uint64_t bits = std::bit_cast<uint64_t>(x);
    int e = int(bits >> 52) - 1023;
    if (e == -1023) {  // subnormal: bring it into the normal range first
        bits = std::bit_cast<uint64_t>(x * 0x1p54);
        e = int(bits >> 52) - 1023 - 54;
    }
    double m = std::bit_cast<double>((bits & 0x000fffffffffffffu) | 0x3ff0000000000000u);
    if (m > 0x1.6a09e667f3bcdp+0) {
        m *= 0.5;
        ++e;
    }
    const DD s = div({m - 1, 0}, two_sum(m, 1));  // m - 1 is exact
    DD z = two_prod(s.hi, s.hi);
    z.lo += 2 * s.hi * s.lo;
    DD s3 = two_prod(s.hi, z.hi);
    s3.lo += s.hi * z.lo + s.lo * z.hi;
    DD q = two_sum(kThird.hi, z.hi * horner(kSeries, z.hi));
    q.lo += kThird.lo;
    const DD t = mul(s3, q);  // s^3/3 + s^5/5 + ...
    DD ln = two_sum(2 * s.hi, 2 * t.hi);
    ln.lo += 2 * (s.lo + t.lo);
    return add({double(e), 0}, mul(fast_two_sum(ln.hi, ln.lo), kLog2E));
}

// ---- sin and cos -----------------------------------------------------------------

// Cody and Waite's reduction x = n pi/2 + r with pi/2 in four pieces; the first three
// have 33 bits, so n times each is exact for |n| < 2^20.
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
constexpr double kHalfPiPieces[4] = {0x1.921fb544p+0, 0x1.0b4611a6p-34, 0x1.3198a2ep-69, 0x1.b839a252049c1p-104};

struct Reduced {
    DD r;  // |r| <= pi/4 (a hair more where x * 2/pi rounds across a half)
    int quadrant;
};

Reduced reduce(double x) {
    const int n = int(x * kTwoOverPi + (x >= 0 ? 0.5 : -0.5));
    const double fn = n;
    const double a = x - fn * kHalfPiPieces[0];  // exact
    const DD b = two_sum(a, -fn * kHalfPiPieces[1]);
    const DD c = two_sum(b.hi, -fn * kHalfPiPieces[2]);
    return {two_sum(c.hi, (b.lo + c.lo) - fn * kHalfPiPieces[3]), n & 3};
}

// Taylor's series of sin to r^19 and of cos to r^20; the leading terms r - r^3/6 and
// 1 - r^2/2 + r^4/24 are carried in double-double.
constexpr DD kSixth{0x1.5555555555555p-3, 0x1.5555555555555p-57};
constexpr DD kTwentyFourth{0x1.5555555555555p-5, 0x1.5555555555555p-59};

double sin_reduced(DD r) {
    static constexpr double kS[] = {1.0 / 120,           -1.0 / 5040,           1.0 / 362880,
                                    -1.0 / 39916800,     1.0 / 6227020800,      -1.0 / 1307674368000,
                                    1.0 / 355687428096000, -1.0 / 121645100408832000.0};
    DD z = two_prod(r.hi, r.hi);
    DD r3 = two_prod(r.hi, z.hi);
    r3.lo += r.hi * z.lo;
    DD c = two_sum(-kSixth.hi, z.hi * horner(kS, z.hi));  // -1/6 + r^2/5! - ...
    c.lo -= kSixth.lo;
    const DD tail = mul(r3, c);
    const DD s = two_sum(r.hi, tail.hi);
    return s.hi + (s.lo + tail.lo + r.lo * (1 - 0.5 * z.hi));
}

double cos_reduced(DD r) {
    static constexpr double kC[] = {-1.0 / 720,           1.0 / 40320,          -1.0 / 3628800,
                                    1.0 / 479001600,      -1.0 / 87178291200,   1.0 / 20922789888000,
                                    -1.0 / 6402373705728000.0, 1.0 / 2432902008176640000.0};
    const DD z = two_prod(r.hi, r.hi);
    DD c = two_sum(kTwentyFourth.hi, z.hi * horner(kC, z.hi));  // 1/24 - r^2/6! + ...
    c.lo += kTwentyFourth.lo;
    const DD tail = mul(mul(z, z), c);
    const DD w = two_sum(1, -0.5 * z.hi);  // 1 - r^2/2, carried exactly
    const DD s = two_sum(w.hi, tail.hi);
    return s.hi + (s.lo + w.lo - 0.5 * z.lo - r.hi * r.lo + tail.lo);
}

// sin(x + shift * pi/2).
double sine(double x, int shift) {
    if (!(magnitude(x) < 0x1p30)) return kNaN;  // also infinities and NaN
    const Reduced v = reduce(x);
    switch ((v.quadrant + shift) & 3) {
    case 0: return sin_reduced(v.r);
    case 1: return cos_reduced(v.r);
    case 2: return -sin_reduced(v.r);
    default: return -cos_reduced(v.r);
    }
}

// ---- atan and asin ---------------------------------------------------------------

// atan(k/4), k = 0..4.
constexpr DD kAtanQuarters[5] = {{0, 0},
                                 {0x1.f5b75f92c80ddp-3, 0x1.8ab6e3cf7afbdp-57},
                                 {0x1.dac670561bb4fp-2, 0x1.a2b7f222f65e2p-56},
                                 {0x1.4978fa3269ee1p-1, 0x1.2419a87f2a458p-56},
                                 {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55}};

// atan v for 0 <= v <= 1: atan v = atan c + atan t with c = k/4 nearest v and
// t = (v - c)/(1 + v c), |t| <= 1/8, by Taylor's series to t^21.
DD atan_unit(DD v) {
    static constexpr double kA[] = {-1.0 / 3,  1.0 / 5,  -1.0 / 7,  1.0 / 9,  -1.0 / 11,
                                    1.0 / 13,  -1.0 / 15, 1.0 / 17, -1.0 / 19, 1.0 / 21};
    const int k = int(4 * v.hi + 0.5);
    const double c = 0.25 * k;
    const DD num = two_sum(v.hi - c, v.lo);  // v.hi - c is exact
    DD vc = two_prod(v.hi, c);
    vc.lo += v.lo * c;
    DD den = two_sum(1, vc.hi);
    den.lo += vc.lo;
    const DD t = div(num, den);
    const double z = t.hi * t.hi;
    const DD s = two_sum(kAtanQuarters[k].hi, t.hi);
    return two_sum(s.hi, s.lo + kAtanQuarters[k].lo + t.lo + t.hi * z * horner(kA, z));
}

// atan(a / b) for finite a, b >= 0, not both 0.
DD atan_ratio(DD a, DD b) {
    if (a.hi <= b.hi) return atan_unit(div(a, b));
    const DD r = atan_unit(div(b, a));
    return add(kHalfPi, {-r.hi, -r.lo});
}

}  // namespace

double exp2(double x) {
    if (x != x) return x;
    if (x > 1100) return kInfinity;
    if (x < -1100) return 0.0;
    return exp2_dd(x, 0);
}

double log2(double x) {
    if (x != x || x < 0) return kNaN;
    if (x == 0) return -kInfinity;
    if (x == kInfinity) return x;
    return log2_dd(x).hi;
}

double pow(double x, double y) {
    if (y == 0 || x == 1) return 1;
    if (x != x || y != y) return x + y;
    if (y == 1) return x;
    const double ax = magnitude(x), ay = magnitude(y);
    if (ay == kInfinity) {
        if (ax == 1) return 1;
        return (ax > 1) == (y > 0) ? kInfinity : 0.0;
    }
    const bool whole = ay >= 0x1p52 || double(int64_t(y)) == y;
    const bool odd = whole && ay < 0x1p53 && (int64_t(y) & 1) != 0;
    const bool negative = std::bit_cast<uint64_t>(x) >> 63 != 0;
    if (x == 0 || ax == kInfinity) {  // 0 or infinity; the sign follows x for odd whole y
        const double m = (x == 0) == (y < 0) ? kInfinity : 0.0;
        return negative && odd ? -m : m;
    }
    if (negative && !whole) return kNaN;
    if (ax == 1) return negative && odd ? -1.0 : 1.0;
    if (whole && y >= 2 && y <= 64 && ax >= 0x1p-15 && ax <= 0x1p15) {
        // Repeated multiplication carried exactly, rounded once at the end.
        DD p{x, 0};
        for (int i = 1; i < int(y); ++i) {
            DD t = two_prod(p.hi, x);
            t.lo += p.lo * x;
            p = fast_two_sum(t.hi, t.lo);
        }
        return p.hi;
    }
    const DD l = log2_dd(ax);
    double r = 0;
    const double h = y * l.hi;
    if (h > 1100) {
        r = kInfinity;
    } else if (h >= -1100) {
        DD p = two_prod(y, l.hi);
        p.lo += y * l.lo;
        r = exp2_dd(p.hi, p.lo);
    }
    return negative && odd ? -r : r;
}

double sin(double x) { return magnitude(x) < 0x1p-27 ? x : sine(x, 0); }

double cos(double x) { return magnitude(x) < 0x1p-27 ? 1.0 : sine(x, 1); }

double atan(double x) {
    if (x != x) return x;
    const double ax = magnitude(x);
    if (ax < 0x1p-27) return x;
    const double r = ax > 0x1p60 ? kHalfPi.hi : atan_ratio({ax, 0}, {1, 0}).hi;
    return x < 0 ? -r : r;
}

double asin(double x) {
    if (x != x) return x;
    const double ax = magnitude(x);
    if (ax > 1) return kNaN;
    if (ax < 0x1p-27) return x;
    // sqrt(1 - x^2) as a double-double: 1 - x^2 is exact in two parts.
    const DD sq = two_prod(ax, ax);
    DD d = two_sum(1, -sq.hi);
    d = two_sum(d.hi, d.lo - sq.lo);
    const double s = std::sqrt(d.hi);
    DD root{s, 0};
    if (s > 0) {
        const DD s2 = two_prod(s, s);
        root = fast_two_sum(s, ((d.hi - s2.hi) - s2.lo + d.lo) / (2 * s));
    }
    const double r = atan_ratio({ax, 0}, root).hi;
    return x < 0 ? -r : r;
}

}  // namespace corvanthe::pmath
