// The portable functions against the C library: the long double functions (64-bit
// significands on x86) serve as the exact reference, the double ones as the
// neighbour the portable results should match to the last bit or one ulp away.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/portable_math.h"

namespace corvanthe {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Error of got in units of the last place of the double grid at ref.
double ulp_error(double got, long double ref) {
    if (ref == 0) return got == 0 ? 0 : kInf;
    int e = 0;
    std::frexp(ref, &e);
    const long double ulp = std::ldexp(1.0L, std::max(e, -1021) - 53);
    return double(std::fabs((long double)got - ref) / ulp);
}

// How many doubles apart a and b are (same sign assumed).
int64_t ulps_apart(double a, double b) {
    int64_t ia = 0, ib = 0;
    std::memcpy(&ia, &a, 8);
    std::memcpy(&ib, &b, 8);
    return ia > ib ? ia - ib : ib - ia;
}

struct Accuracy {
    double worst_reference = 0;  // ulps from the long double value
    double worst_subnormal = 0;  // the same where the value is subnormal
    int64_t overflows = 0;       // beyond the double range: both must give infinity
    int64_t worst_library = 0;   // whole ulps from the double library function
    int64_t differing = 0, total = 0;
    double worst_at = 0;

    void check(double got, double library, long double ref, double at) {
        ++total;
        if (std::fabs(ref) > std::numeric_limits<double>::max()) {
            overflows += got != library;
            return;
        }
        const double e = ulp_error(got, ref);
        if (std::fabs(ref) < std::numeric_limits<double>::min()) {
            worst_subnormal = std::max(worst_subnormal, e);
        } else if (e > worst_reference) {
            worst_reference = e;
            worst_at = at;
        }
        const int64_t apart = ulps_apart(got, library);
        worst_library = std::max(worst_library, apart);
        differing += apart != 0;
    }
    void report(const char* name) const {
        std::printf("%-5s %7lld points: worst %.3f ulp (at %.17g; subnormal %.3f), %lld differ from the library, by at most %lld\n",
                    name, (long long)total, worst_reference, worst_at, worst_subnormal, (long long)differing,
                    (long long)worst_library);
    }
};

// Within 0.6 ulp of the exact value: half an ulp of rounding plus a little.
constexpr double kReferenceBound = 0.6;

void expect_accurate(const Accuracy& a, const char* name) {
    a.report(name);
    EXPECT_GT(a.total, 0);
    EXPECT_LE(a.worst_reference, kReferenceBound) << name << " at " << a.worst_at;
    EXPECT_LE(a.worst_library, 1) << name;
    // Subnormal results round twice (to 53 bits, then to the subnormal grid).
    EXPECT_LE(a.worst_subnormal, 1.0) << name;
    EXPECT_EQ(a.overflows, 0) << name;
}

// The exponents the renderer's tables raise to: both gamma sliders, the spectral
// shaping exponents, and a spread beyond them.
std::vector<double> table_exponents() {
    std::vector<double> k;
    auto gamma = [](double e) { return e >= 0 ? 1 + e : 1 / (1 - e); };
    for (int v = 0; v <= 100; ++v) {
        k.push_back(gamma((50 - v) * 8 / 50.0));
        k.push_back(gamma((v - 25) * 2 / 50.0));
    }
    for (int nm = 380; nm <= 500; nm += 5) k.push_back((500 - nm) / 120.0 * 0.2 + 0.1);
    for (double e : {0.02, 0.3, 0.5, 1.5, 2.5, 7.25, 10.0, 33.0, -0.5, -3.0}) k.push_back(e);
    return k;
}

TEST(PortableMath, PowMatchesOverTheTableRangesAndBeyond) {
    Accuracy a;
    auto check = [&](double x, double y) { a.check(pmath::pow(x, y), std::pow(x, y), std::pow((long double)x, (long double)y), x); };
    for (double k : table_exponents()) {
        for (int i = 1; i <= 256; ++i) check(i / 256.0, k);
        for (int i = 1; i <= 300; ++i) check(i / 300.0, k);
        for (int i = 1; i <= 200; ++i) check(i / 137.0, k);  // spectral components run past 1
    }
    // The detail sliders' powers of two.
    for (int s = 0; s <= 100; ++s) {
        check(2.0, 3 - 0.05 * s);
        check(2.0, 4 - (s * 3 / 100.0 + 3));
    }
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> log_x(-40, 40), exponent(-30, 30), near(-1, 1);
    for (int i = 0; i < 100000; ++i) check(std::exp2(log_x(random)), exponent(random));
    // Large exponents on bases near 1 stress the logarithm's precision.
    for (int i = 0; i < 20000; ++i) check(1 + std::ldexp(near(random), -30), std::ldexp(near(random), 38));
    expect_accurate(a, "pow");
}

TEST(PortableMath, Exp2AndLog2Match) {
    Accuracy e, l;
    for (int i = -64000; i <= 64000; ++i) {
        const double x = i / 2000.0;
        e.check(pmath::exp2(x), std::exp2(x), std::exp2((long double)x), x);
    }
    for (int i = -10000; i <= 10000; ++i) {
        const double x = i * 0.10237;  // toward both ends of the range, subnormals included
        e.check(pmath::exp2(x), std::exp2(x), std::exp2((long double)x), x);
    }
    auto check_log = [&](double x) { l.check(pmath::log2(x), std::log2(x), std::log2((long double)x), x); };
    for (int i = -100000; i <= 100000; ++i) check_log(std::exp2(i / 97.3));
    for (int i = 1; i <= 20000; ++i) {
        check_log(1 + std::ldexp(double(i), -52));
        check_log(1 - std::ldexp(double(i), -53));
        check_log(i / 4096.0f + 1.0f);  // the resampling ratios
    }
    check_log(std::numeric_limits<double>::denorm_min() * 12345);
    expect_accurate(e, "exp2");
    expect_accurate(l, "log2");
}

TEST(PortableMath, SinAndCosMatch) {
    Accuracy s, c;
    auto check = [&](double x) {
        s.check(pmath::sin(x), std::sin(x), std::sin((long double)x), x);
        c.check(pmath::cos(x), std::cos(x), std::cos((long double)x), x);
    };
    for (int i = -80000; i <= 80000; ++i) check(i / 10000.0);  // the tables stay within +-8
    // The windowed sinc's arguments: pi * x and pi * x / 2 at the interpolation phases.
    for (int i = 0; i < 128; ++i)
        for (int k = 0; k < 4; ++k)
            for (int d = 0; d < 20; ++d) {
                const double x = i / 128.0 - 2.0 - d / 21.0 + k;
                check(3.141592653 * x);
                check(3.141592653 * x / 2.0);
            }
    // Next to multiples of pi/2, where the reduction cancels most.
    for (int n = -2000; n <= 2000; ++n) {
        const double m = n * 1.5707963267948966;
        for (double x = std::nextafter(std::nextafter(m, -kInf), -kInf), i = 0; i < 5; ++i, x = std::nextafter(x, kInf)) check(x);
    }
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> wide(-1.6e6, 1.6e6);
    for (int i = 0; i < 50000; ++i) check(wide(random));
    expect_accurate(s, "sin");
    expect_accurate(c, "cos");
}

TEST(PortableMath, AtanAndAsinMatch) {
    Accuracy t, s;
    auto check_atan = [&](double x) { t.check(pmath::atan(x), std::atan(x), std::atan((long double)x), x); };
    for (int i = -60000; i <= 60000; ++i) check_atan(i / 1000.0);
    for (int i = -100000; i <= 100000; ++i) check_atan(std::exp2(i / 1000.0) * (i % 2 ? -1 : 1));
    for (int X = -33; X <= 33; ++X)  // the direction pad's ratios
        for (int Y = -33; Y <= 33; ++Y)
            if (Y != 0) check_atan(-double(X) / double(Y));
    auto check_asin = [&](double x) { s.check(pmath::asin(x), std::asin(x), std::asin((long double)x), x); };
    for (int i = -65536; i <= 65536; ++i) check_asin(i / 65536.0);
    for (int R = 1; R <= 600; ++R)  // the sphere map's t = i / R
        for (int i = 0; i <= R; ++i) check_asin(double(i) / R);
    for (int i = 1; i <= 20000; ++i) {
        check_asin(1 - std::ldexp(double(i), -53));
        check_asin(-1 + std::ldexp(double(i), -40));
    }
    expect_accurate(t, "atan");
    expect_accurate(s, "asin");
}

TEST(PortableMath, ExactCasesTheTablesRelyOn) {
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> unit(0, 2);
    for (int i = 0; i < 10000; ++i) {
        const double x = unit(random);
        ASSERT_EQ(pmath::pow(x, 1), x);
        ASSERT_EQ(pmath::pow(x, 0), 1);
        ASSERT_EQ(pmath::pow(x, 2), x * x);  // as the hardware rounds it
        ASSERT_EQ(pmath::pow(1, x), 1);
        ASSERT_EQ(pmath::pow(0, x + 0x1p-10), 0);
    }
    for (int n = -1074; n <= 1023; ++n) {
        ASSERT_EQ(pmath::pow(2, n), std::ldexp(1.0, n)) << n;
        ASSERT_EQ(pmath::exp2(n), std::ldexp(1.0, n)) << n;
        ASSERT_EQ(pmath::log2(std::ldexp(1.0, n)), n) << n;
    }
    EXPECT_EQ(pmath::exp2(-1075), 0);  // exactly half the least subnormal: ties to even
    EXPECT_EQ(pmath::exp2(1024), kInf);
    EXPECT_EQ(pmath::pow(3, 5), 243);
    EXPECT_EQ(pmath::pow(-3, 3), -27);
    EXPECT_EQ(pmath::pow(10, 15), 1e15);
    EXPECT_EQ(pmath::sin(0), 0);
    EXPECT_TRUE(std::signbit(pmath::sin(-0.0)));
    EXPECT_EQ(pmath::cos(0), 1);
    EXPECT_EQ(pmath::atan(0), 0);
    EXPECT_EQ(pmath::asin(0), 0);
    // The doubles nearest pi/2 and pi/4.
    EXPECT_EQ(pmath::asin(1), 0x1.921fb54442d18p+0);
    EXPECT_EQ(pmath::asin(-1), -0x1.921fb54442d18p+0);
    EXPECT_EQ(pmath::atan(kInf), 0x1.921fb54442d18p+0);
    EXPECT_EQ(pmath::atan(-kInf), -0x1.921fb54442d18p+0);
    EXPECT_EQ(pmath::atan(1), 0x1.921fb54442d18p-1);
    // sin and cos at the doubles nearest multiples of pi/2 give the residue of pi.
    for (int n = 1; n <= 8; ++n) {
        const double m = n * 1.5707963267948966;
        EXPECT_EQ(pmath::sin(m), std::sin(m)) << n;
        EXPECT_EQ(pmath::cos(m), std::cos(m)) << n;
    }
}

TEST(PortableMath, SpecialValuesFollowTheCLibrary) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double values[] = {0.0, -0.0, 0.5, -0.5, 1.0, -1.0, 2.0, -2.0, 3.0, -3.0, 0.25, 1e300, -1e300, kInf, -kInf, nan};
    auto same = [](double a, double b) { return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b)); };
    for (double x : values) {
        for (double y : values)
            EXPECT_TRUE(same(pmath::pow(x, y), std::pow(x, y))) << x << "^" << y << " = " << pmath::pow(x, y);
        EXPECT_TRUE(same(pmath::exp2(x), std::exp2(x))) << x;
        EXPECT_TRUE(same(pmath::log2(x), std::log2(x))) << x;
        EXPECT_TRUE(same(pmath::atan(x), std::atan(x))) << x;
        EXPECT_TRUE(same(pmath::asin(x), std::asin(x))) << x;
        if (std::isfinite(x) && std::fabs(x) < 1e6) {
            EXPECT_TRUE(same(pmath::sin(x), std::sin(x))) << x;
            EXPECT_TRUE(same(pmath::cos(x), std::cos(x))) << x;
        }
    }
    EXPECT_TRUE(std::isnan(pmath::sin(kInf)));
    EXPECT_TRUE(std::isnan(pmath::cos(-kInf)));
    EXPECT_TRUE(std::isnan(pmath::sin(0x1p30)));  // past the supported reduction
}

}  // namespace
}  // namespace corvanthe
