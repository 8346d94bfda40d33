#pragma once
// How far the swirl centres push a position of the disc texture: the end of its smear line.
#include <cstdint>

#include "render/disc_noise.h"

namespace corvanthe {

struct SwirlPush {
    int32_t x = 0;
    int32_t y = 0;
};

// The summed push of every swirl centre within the swirl radius of (a, b). Odd centres push
// outward, even ones pull inward; a centre pushes along the radius (a monopole) or across it
// (a vortex). Each centre's push is added to the running sum and truncated, in centre order.
SwirlPush swirl_push(const NoiseTables& t, int32_t a, int32_t b);

// The vectors swirl_pushes computes with: one position at a time, two (SSE2) or four (AVX2) a
// vector. Every choice gives the same pushes.
enum class PushLanes { One, Sse2, Avx2 };

// The widest lanes this processor and build can run.
PushLanes widest_push_lanes();

// swirl_push of `count` positions (a[i], b[i]) into push[i]; several at once with the widest
// lanes, which is much faster than one by one.
void swirl_pushes(const NoiseTables& t, const int32_t* a, const int32_t* b, int count, SwirlPush* push);
// The same with the given lanes, which must be ones this processor can run.
void swirl_pushes(const NoiseTables& t, const int32_t* a, const int32_t* b, int count, SwirlPush* push,
                  PushLanes lanes);

}  // namespace corvanthe
