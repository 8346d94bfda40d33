#include "render/disc_noise.h"

#include "render/integer_math.h"
#include "render/swirl_push.h"

namespace corvanthe {

namespace {

int32_t rnd(const NoiseTables& t, int32_t i) { return t.random[i & 2047]; }

// c * (v + add), wrapping.
int32_t scaled(int32_t c, int32_t v, int32_t add) { return wrap_mul(c, wrap_add(v, add)); }

// The noise functions proper, inlined into their callers' loops (they run many times a pixel).
[[gnu::always_inline]] inline int32_t noise(const NoiseTables& t, int32_t a, int32_t b, int32_t salt) {
    const int32_t wx = t.fade[a & 511];
    const int32_t wy = t.fade[b & 511];
    const int32_t h = int32_t(uint16_t(salt)) + 29 * ((a >> 9) & 2047) + 37 * ((b >> 9) & 2047);
    const int32_t top_left = rnd(t, h), top_right = rnd(t, h + 29);
    const int32_t bottom_left = rnd(t, h + 37), bottom_right = rnd(t, h + 66);
    const int32_t top = (wx * top_right + top_left * (511 - wx)) >> 5;
    const int32_t bottom = (wx * bottom_right + bottom_left * (511 - wx)) >> 5;
    return ((top * (511 - wy) + wy * bottom) >> 7) - 8192;
}

[[gnu::always_inline]] inline int32_t surface(const NoiseTables& t, int32_t a, int32_t b) {
    const int32_t c = noise(t, scaled(4, a, 1), scaled(4, b, 1), 1136);
    const int32_t d = noise(t, scaled(16, a, 4), scaled(16, b, 4), 0);
    const int32_t e = noise(t, wrap_add(a, 1), wrap_add(b, 1), 403);
    const int32_t f = noise(t, wrap_mul(8, a), wrap_mul(8, b), 184);
    int32_t s = (d + 2 * c + e) * 5 + 7 * f;
    if (t.octave_mode == 1) {
        s += 3 * noise(t, scaled(32, a, 3), scaled(32, b, 3), 885);
    } else if (t.octave_mode == 2) {
        s += 3 * noise(t, scaled(32, a, 3), scaled(32, b, 3), 1456) +
             2 * noise(t, scaled(64, a, 2), scaled(64, b, 2), 175);
    }
    return absolute((s >> 9) - 25);
}

[[gnu::always_inline]] inline int32_t streak(const NoiseTables& t, int32_t a, int32_t b, int32_t k) {
    const uint32_t grain = uint32_t(k) & 0xFFFFFFu;
    const int32_t d = int32_t(grain * (uint32_t(a) & 0xFFFFFu)) >> 7;
    const int32_t e = int32_t(grain * (uint32_t(b) & 0xFFFFFu)) >> 7;
    const int32_t f = (e >> 2) & 0xFFFFE;
    const int32_t g = (d >> 2) & 0xFFFFD;
    auto index = [](int32_t p, int32_t q) { return wrap_add(wrap_mul(p >> 4, 39), wrap_mul(q >> 4, 57)); };
    return (rnd(t, index(wrap_sub(d, f), wrap_sub(e, g))) + rnd(t, index(wrap_add(d, f), wrap_add(e, g)))) >> 1;
}

}  // namespace

int32_t value_noise(const NoiseTables& t, int32_t a, int32_t b, int32_t salt) { return noise(t, a, b, salt); }

int32_t surface_value(const NoiseTables& t, int32_t a, int32_t b) { return surface(t, a, b); }

void fill_surface_cache(const NoiseTables& t, PositionCache& surfaces) {
    surfaces.fill([&](int32_t a, int32_t b) { return surface(t, a, b); });
}

int32_t smear_line(const NoiseTables& t, int32_t a0, int32_t b0, int32_t c, int32_t d, PositionCache* surfaces) {
    // Positions run in 64 bits so a walk never overflows; samples wrap to 32 bits.
    int64_t a = a0, b = b0;
    const int64_t dx = absolute(int64_t(c) - a), dy = absolute(int64_t(d) - b);
    const int64_t step = t.noise_step < 1 ? 1 : t.noise_step;
    const int64_t x_step = sign(int64_t(c) - a) * step, y_step = sign(int64_t(d) - b) * step;
    auto compute = [&](int32_t p, int32_t q) { return surface(t, p, q); };
    auto sample = [&] {
        const int32_t p = wrap32(a), q = wrap32(b);
        return int64_t(surfaces ? surfaces->get(p, q, compute) : compute(p, q));
    };

    int64_t total = sample(), n = 1;
    if (2 * dy < 2 * dx) {
        int64_t error = 2 * dy - dx;
        while (x_step > 0 ? a < c : a > c) {
            a += x_step;
            const bool stepped = error >= 0;
            if (stepped) b += y_step;
            error = 2 * dy + (stepped ? error - 2 * dx : error);
            ++n;
            total += sample();
        }
    } else {
        int64_t error = 2 * dx - dy;
        while (y_step > 0 ? b < d : b > d) {
            b += y_step;
            const bool stepped = error >= 0;
            if (stepped) a += x_step;
            error = 2 * dx + (stepped ? error - 2 * dy : error);
            ++n;
            total += sample();
        }
    }
    return int32_t(total / n);
}

int32_t disc_surface(const NoiseTables& t, int32_t a, int32_t b, PositionCache* surfaces, const SwirlPush* push) {
    if (!t.vortices && !t.monopoles) return clamp_to(surface(t, a, b), 0, 255);
    const SwirlPush p = push ? *push : swirl_push(t, a, b);
    return clamp_to(smear_line(t, a, b, wrap_add(a, p.x), wrap_add(b, p.y), surfaces), 0, 255);
}

int32_t streak_value(const NoiseTables& t, int32_t a, int32_t b, int32_t k) { return streak(t, a, b, k); }

int32_t radial_streak(const NoiseTables& t, int32_t a, int32_t b, int32_t c, int32_t d, int32_t k) {
    return streak_walk(a, b, c, d, [&](int32_t p, int32_t q) { return streak(t, p, q, k); });
}

}  // namespace corvanthe
