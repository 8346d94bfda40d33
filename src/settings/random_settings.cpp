#include "settings/random_settings.h"

namespace corvanthe {
namespace {

constexpr char kRandomName[] = "random settings";

}  // namespace

int32_t random_in(CRandom& random, int32_t lo, int32_t hi) {
    if (lo > hi) {
        const int32_t t = lo;
        lo = hi;
        hi = t;
    }
    const int64_t span = static_cast<int64_t>(hi) - lo;
    int64_t mask = 1;
    while (mask < span) mask = 2 * mask + 1;
    for (;;) {
        const int64_t r = lo + ((random.next() >> 4) & mask);
        if (r <= hi) return static_cast<int32_t>(r);
    }
}

Colour16 random_colour(CRandom& random) {
    Colour16 c;
    c.red = static_cast<uint16_t>(random.next() << 8);
    c.green = static_cast<uint16_t>(random.next() << 8);
    c.blue = static_cast<uint16_t>(random.next() << 8);
    return c;
}

float random_offset(CRandom& random) { return static_cast<float>(random_in(random, 0, 140) - 70) / 100.0f; }

void dice(SunSettings& s, CRandom& r) {
    s.spike_brightness = random_in(r, 0, 100);
    s.spike_width = random_in(r, 0, 100);
    s.spike_radius = random_in(r, 0, 100);
    s.spike_count = random_in(r, 0, 100);

    s.sun_radius = random_in(r, 0, 50);
    s.sun_cold_hot = random_in(r, 0, 100);
    s.sun_smear = random_in(r, 0, 30);
    s.sun_swirl_size = random_in(r, 5, 50);
    s.sun_swirl_count = random_in(r, 0, 30);
    s.sun_detail = random_in(r, 30, 70);

    s.spike_gamma = random_in(r, 0, 100);
    s.vortices = random_in(r, 0, 1);
    s.monopoles = random_in(r, 0, 1);

    s.sun_colour = random_colour(r);
    s.flare_colour = random_colour(r);
    s.halo_colour = random_colour(r);

    s.halo_radius = random_in(r, 0, 100);
    s.halo_brightness = random_in(r, 30, 70);
    s.bow_radius = random_in(r, 0, 100);
    s.bow_width = random_in(r, 0, 100);

    s.master_brightness = random_in(r, 25, 37);
    s.flare_detail = 25;
    s.flare_brightness = 50 + random_in(r, 0, 50);
    s.flip_bow = random_in(r, 0, 1);

    s.bow_brightness = random_in(r, 0, 100);
    s.flare_width = random_in(r, 0, 100);
    s.flare_count = random_in(r, 0, 20);
    s.spike_diffraction = random_in(r, 0, 100);
    s.spike_detail = random_in(r, 20, 80);

    s.random_seed = r.next() & 2047;

    s.spike_colour = random_colour(r);
    s.colour5 = random_colour(r);
    s.colour4 = s.halo_colour;

    s.sun_type = kSunNormal;
    if (random_in(r, 0, 100) > 94) s.sun_type = kSunEclipse;  // never flat

    s.bow_smear = random_in(r, 0, 100);
    s.flare_radius = random_in(r, 0, 50);

    if (random_in(r, 0, 100) > 20) s.spike_colour = s.sun_colour;

    s.flare_x = s.flare_y = s.flare_z = 0.0f;
    if (random_in(r, 0, 100) > 60) {
        s.flare_x = random_offset(r);
        s.flare_y = random_offset(r);
    }
    s.spike_x = s.spike_y = s.spike_z = 0.0f;
    if (random_in(r, 0, 100) >= 61) {
        s.spike_x = random_offset(r);
        s.spike_y = random_offset(r);
    }
    set_text(s.settings_name, kRandomName);
}

void ecce(SunSettings& s, CRandom& r) {
    s.random_seed = r.next() & 2047;
    set_text(s.settings_name, kRandomName);
}

}  // namespace corvanthe
