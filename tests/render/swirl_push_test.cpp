// The swirl push against a plain loop over the centres, one centre at a time.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <random>
#include <vector>

#include "render/integer_math.h"
#include "render/swirl_push.h"

namespace corvanthe {
namespace {

SwirlPush plain_push(const NoiseTables& t, int32_t a, int32_t b) {
    const int32_t r = t.swirl_radius == 0 ? 1 : t.swirl_radius;
    const double factor = double(t.swirl_strength) / (double(r) * double(r));
    int32_t px = 0, py = 0;
    for (int n = 0; n < clamp_to(t.swirl_count, 0, kSwirlCentres); ++n) {
        const int32_t u = wrap_sub(a, t.swirl_x[n]);
        const int32_t w = wrap_sub(b, t.swirl_y[n]);
        if (!(absolute(int64_t(u)) < r && absolute(int64_t(w)) < r)) continue;
        const double m = double(u) * u + double(w) * w;
        const double inv = m == 0 ? 0.0 : 1.0 / std::sqrt(m);
        const int32_t distance = trunc_int32(inv * m);
        if (!(distance < r)) continue;
        const int64_t k = (n & 1) ? int64_t(r) - distance : int64_t(distance) - r;
        const int32_t ex = trunc_int32(inv * r * u);
        const int32_t ey = trunc_int32(inv * r * w);
        const double rx = double(k * ex) * factor;
        const double ry = double(k * ey) * factor;
        if ((n & 2) == 0 ? t.monopoles : !t.vortices) {
            px = trunc_int32(px + rx);
            py = trunc_int32(py + ry);
        } else {
            px = trunc_int32(px - ry);
            py = trunc_int32(py + rx);
        }
    }
    return {px, py};
}

// Centres scattered over [-spread, spread], some of them exactly on the sampled positions.
NoiseTables centres(std::mt19937& random, int32_t spread, int count, int32_t radius, int32_t strength) {
    NoiseTables t;
    std::uniform_int_distribution<int32_t> place(-spread, spread);
    for (int n = 0; n < kSwirlCentres; ++n) {
        t.swirl_x[n] = place(random);
        t.swirl_y[n] = place(random);
    }
    t.swirl_count = count;
    t.swirl_radius = radius;
    t.swirl_strength = strength;
    return t;
}

// Every set of lanes this processor can run: the narrower ones always, the widest it has.
std::vector<PushLanes> runnable_lanes() {
    std::vector<PushLanes> lanes{PushLanes::One};
    if (widest_push_lanes() != PushLanes::One) lanes.push_back(PushLanes::Sse2);
    if (widest_push_lanes() == PushLanes::Avx2) lanes.push_back(PushLanes::Avx2);
    return lanes;
}

// Batches of every size up to 9 (the lanes run in groups of two or four, two groups at a time),
// with every set of lanes, and single positions.
void expect_same_pushes(const NoiseTables& t, std::mt19937& random, int32_t spread, const char* what) {
    std::uniform_int_distribution<int32_t> place(-spread, spread);
    std::vector<int32_t> a(400), b(400);
    for (size_t i = 0; i < a.size(); ++i) {
        // Every eighth sample sits on a centre (m = 0) or on its edge (|u| = r - 1).
        const int n = int(i % kSwirlCentres);
        a[i] = place(random);
        b[i] = place(random);
        if (i % 8 == 0) a[i] = t.swirl_x[n], b[i] = t.swirl_y[n];
        if (i % 8 == 1) a[i] = wrap_add(t.swirl_x[n], t.swirl_radius - 1), b[i] = t.swirl_y[n];
    }
    for (const PushLanes lanes : runnable_lanes()) {
        std::vector<SwirlPush> fast(a.size());
        for (size_t i = 0, size = 1; i < a.size(); i += size, size = size % 9 + 1) {
            size = std::min(size, a.size() - i);
            swirl_pushes(t, &a[i], &b[i], int(size), &fast[i], lanes);
        }
        for (size_t i = 0; i < a.size(); ++i) {
            const SwirlPush plain = plain_push(t, a[i], b[i]);
            ASSERT_EQ(fast[i].x, plain.x) << what << ", lanes " << int(lanes) << " at (" << a[i] << ", " << b[i] << ")";
            ASSERT_EQ(fast[i].y, plain.y) << what << ", lanes " << int(lanes) << " at (" << a[i] << ", " << b[i] << ")";
        }
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const SwirlPush plain = plain_push(t, a[i], b[i]), single = swirl_push(t, a[i], b[i]);
        ASSERT_EQ(single.x, plain.x) << what;
        ASSERT_EQ(single.y, plain.y) << what;
    }
}

TEST(SwirlPush, MatchesTheCentreByCentreLoop) {
    std::mt19937 random(20261208);
    // Kinds: monopoles only, vortices only, both (centres alternate in pairs).
    const bool kinds[3][2] = {{true, false}, {false, true}, {true, true}};
    for (const auto& kind : kinds)
        for (int count : {0, 1, 2, 7, 26, 99, 100, 150}) {
            NoiseTables t = centres(random, 3000, count, 2068, 44);
            t.monopoles = kind[0];
            t.vortices = kind[1];
            expect_same_pushes(t, random, 3000, "ordinary");
        }
}

TEST(SwirlPush, MatchesAtTheEndsOfTheRanges) {
    std::mt19937 random(7);
    struct Case {
        int32_t spread, radius, strength;
        const char* what;
    } cases[] = {
        {3000, 0, 44, "radius 0 (taken as 1)"},
        {3000, 1, 1000, "radius 1"},
        {3000, -50, 44, "negative radius"},
        {3000, 2068, -44, "negative strength"},
        {3000, 5, INT32_MAX, "pushes past the 32-bit range"},
        {INT32_MAX, INT32_MAX, 12345, "radius and offsets at the 32-bit limit"},
        {INT32_MAX, 1 << 30, INT32_MIN, "wrapping offsets"},
    };
    for (const Case& c : cases) {
        NoiseTables t = centres(random, c.spread, 26, c.radius, c.strength);
        t.monopoles = true;
        t.vortices = true;
        expect_same_pushes(t, random, c.spread, c.what);
    }
}

}  // namespace
}  // namespace corvanthe
