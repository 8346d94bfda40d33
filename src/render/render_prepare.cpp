#include "render/render_prepare.h"

#include <algorithm>

#include "platform/portable_math.h"
#include "render/integer_math.h"
#include "render/random_list.h"
#include "render/render_settings.h"
#include "render/render_units.h"

namespace corvanthe {

namespace {

// Exponent of the gamma sliders: 1 + e above neutral, 1 / (1 - e) below.
double gamma_exponent(double e) { return e >= 0 ? 1 + e : 1 / (1 - e); }

int32_t high_byte(uint16_t channel) { return channel >> 8; }

void build_random_table(RenderContext& c) {
    const uint32_t seed = uint16_t(c.settings.random_seed);
    auto& table = c.noise.random;
    for (int i = 0; i < kRandomTableSize; ++i) table[i] = kRandomList[i] % 256;
    for (int q = 0; q < kRandomTableSize; ++q) {
        const int x = kRandomList[(seed + q) % kRandomTableSize];
        std::swap(table[q], table[x]);
        table[q] = kRandomList[q] % 256;
    }
}

void build_halo_table(RenderContext& c) {
    const SunSettings& s = c.settings;
    const double k = gamma_exponent((50 - s.halo_brightness) * 8 / 50.0);
    const int32_t red = high_byte(s.halo_colour.red), green = high_byte(s.halo_colour.green),
                  blue = high_byte(s.halo_colour.blue);
    for (int32_t i = 0; i < 256; ++i) {
        const double g = pmath::pow(i / 256.0, k);
        c.halo[0][i] = trunc_int32(g * ((red * i) >> 1));
        c.halo[1][i] = trunc_int32(g * ((green * (i * i / 256)) >> 1));
        c.halo[2][i] = trunc_int32(g * ((blue * (i * i * i / 65536)) >> 1));
    }
}

void build_spike_profile(RenderContext& c) {
    const double k = gamma_exponent((c.settings.spike_gamma - 25) * 2 / 50.0);
    for (int i = 0; i < kSpikeProfileSize; ++i) c.spike_profile[i] = trunc_int32(300 * pmath::pow(i / 300.0, k));
}

void build_flare_table(RenderContext& c) {
    const Colour16& f = c.settings.flare_colour;
    for (int32_t i = 0; i < 256; ++i) {
        c.flare[0][i] = (high_byte(f.red) * i) >> 6;
        c.flare[1][i] = (high_byte(f.green) * (i + i * i / 256)) >> 7;
        c.flare[2][i] = (high_byte(f.blue) * (i * i / 256)) >> 6;
    }
}

// Cold values make red lag (cubic), hot values make blue lag; green turns quadratic
// either way; 50 keeps every channel linear.
void build_disc_table(RenderContext& c) {
    const SunSettings& s = c.settings;
    const int32_t hot = s.sun_cold_hot;
    const int32_t r = s.sun_colour.red >> 7, g = s.sun_colour.green >> 7, b = s.sun_colour.blue >> 7;
    auto lagging = [](int32_t i, int32_t a) { return ((i * i * i >> 16) * a + (50 - a) * i) / 50; };
    for (int32_t i = 0; i < 256; ++i) {
        c.disc[0][i] = hot < 50 ? lagging(i, 50 - hot) * r / 256 : i * r / 256;
        const int32_t a = absolute(50 - hot);
        c.disc[1][i] = (((50 - a) * i + (i * i >> 8) * a) / 50) * g / 256;
        c.disc[2][i] = hot <= 50 ? i * b / 256 : lagging(i, hot - 50) * b / 256;
    }
}

void build_flare_angles(RenderContext& c) {
    const int32_t width = std::max(2, c.settings.flare_width * 4096 / 100);
    int32_t first = c.flare_direction.angle * 16384 / 360 - width / 2;
    if (first < 0) first += 16384;
    const double spread = std::clamp(1 - 1.1 * c.flare_direction.length, 0.0, 1.0);
    for (int n = 0; n < kFlareAngles; ++n) {
        int32_t base = first;
        if (n & 1) {
            base += 8192;  // the opposite side
            if (base > 16384) base -= 16384;
        }
        const int32_t r = c.noise.random[(2 * n) % kRandomTableSize];
        const int32_t jitter = ((r | r << 8) % 8192) - 4096;
        c.flare_angles[n] = trunc_int32(base + jitter * spread);
    }
}

void build_spike_lines(RenderContext& c, double base_len) {
    const SunSettings& s = c.settings;
    const int64_t divisor = c.request.scale_divisor;
    const double spread =
        std::clamp(1 - 1.1 * std::max(0.0, (c.spike_direction.length - 0.25) / 0.75), 0.0, 1.0);
    const double across = base_len * (s.spike_width + 1), along = base_len * (s.spike_radius + 1);
    int index = 200;
    for (int k = 0; k < kSpikeLines; ++k) {
        const int32_t r = c.noise.random[index % kRandomTableSize];
        index += 2;
        const int32_t jitter = ((r | r << 8) % 1024) - 512;
        double theta = (c.spike_direction.angle * 2048 / 360) * 0.003067931700874575 +
                       jitter * spread * 3.1415926 / 1024.01;
        if (theta < 0) theta += 6.283185307;
        if (theta > 6.283185307) theta -= 6.283185307;
        theta -= 1.5707963267948966;
        const int64_t sine = trunc_int32(255 * pmath::sin(theta)), cosine = trunc_int32(255 * pmath::cos(theta));

        const int32_t w = c.noise.random[index % kRandomTableSize] % 64;
        index += 2;
        const int64_t m = 93 - (w * w / 63);
        c.spike_a[k] = trunc_int32(double(sine * divisor * m * 4 / 100) / across);
        c.spike_b[k] = trunc_int32(double(cosine * divisor * m * 4 / 100) / across);

        const int64_t length = (c.noise.random[index % kRandomTableSize] % 128) + 30;
        index += 1;
        c.spike_d[k] = trunc_int32(double(sine * divisor * length * 30 / 128) / along);
        c.spike_c[k] = trunc_int32(double(cosine * divisor * length * 30 / 128) / along);
    }
}

void build_sphere_map(RenderContext& c) {
    const int32_t R = c.disc_radius;
    for (int32_t i = 0; i <= R; ++i) {
        const double t = double(i) / R;
        c.sphere_map[i] = trunc_int32(pmath::asin(t) * 512 / 1.57079632679489 * (4 * c.noise_scale) / (t == 0 ? 1 : t));
    }
}

void build_swirl_centres(RenderContext& c, int64_t sun_px) {
    // Held far beyond any texture coordinate so the products below stay in 64 bits.
    constexpr int64_t kLimit = int64_t(1) << 40;
    const int64_t zoom = c.sphere_map[c.disc_radius];
    const int64_t reach = sun_px * 4 / c.request.scale_divisor;
    const int64_t s = (zoom != 0 && reach > kLimit / zoom) ? kLimit : std::min(kLimit, (zoom * reach) >> 8);
    for (int n = 0; n < kSwirlCentres; ++n) {
        const int64_t rx = c.noise.random[(400 + 2 * n) % kRandomTableSize] - 128;
        const int64_t ry = c.noise.random[(401 + 2 * n) % kRandomTableSize] - 128;
        c.noise.swirl_x[n] = int32_t(clamp_to<int64_t>(rx * s / 128, INT32_MIN, INT32_MAX));
        c.noise.swirl_y[n] = int32_t(clamp_to<int64_t>(ry * s / 128, INT32_MIN, INT32_MAX));
    }
}

// The kernel's rings and per-job constants, taken on the image's size.
void build_kernel_rings(RenderContext& c) {
    const SunSettings& s = c.settings;
    const RenderRequest& q = c.request;
    KernelRings& k = c.rings;
    const int64_t divisor = q.scale_divisor;
    const int64_t w = q.image_width, h = q.image_height;
    const int64_t rect_w = std::max<int64_t>(1, int64_t(q.rect.right) - q.rect.left);
    const int64_t rect_h = std::max<int64_t>(1, int64_t(q.rect.bottom) - q.rect.top);
    auto px = [&](int32_t p) { return int64_t(size_px(p, w, h)); };
    auto at_least_one = [](int64_t v) { return v == 0 ? 1 : v; };

    k.zoom = q.render_mode == 2 ? double(std::max(w / rect_w, h / rect_h)) : 1.0;
    // Centres beyond 2^29 pixels draw nothing; the bound keeps every product in 64 bits.
    constexpr double kCentreLimit = double(1 << 29);
    k.centre_x = trunc_int64(std::clamp(k.zoom * (int64_t(c.centre_x) - q.view_origin_x) / divisor, -kCentreLimit, kCentreLimit));
    k.centre_y = trunc_int64(std::clamp(k.zoom * (int64_t(c.centre_y) - q.view_origin_y) / divisor, -kCentreLimit, kCentreLimit));
    k.spike_count = clamp_to(s.spike_count, 0, kSpikeLines - 1);
    k.flare_count = clamp_to(s.flare_count, 0, kFlareAngles);
    k.flare_width = s.flare_width * 4096 / 100;
    k.flare_gain = s.flare_brightness * 256 / 100;
    k.flare_grain = trunc_int64(pmath::pow(2.0, 3 - 0.05 * s.flare_detail) * 256 * base_length(w, h)) * divisor;

    const int64_t sun = px(s.sun_radius);
    k.disc_edge = std::max<int64_t>(0, sun * 4 / divisor);
    k.halo_outer = at_least_one((px(s.halo_radius) + sun) * 4 / divisor);
    k.halo_width = at_least_one(k.halo_outer - k.disc_edge);
    const int64_t bow_inner = px(s.bow_radius) * 4 / divisor;
    const int64_t bow_width = (px(s.bow_width) * 4 / divisor) * 2;
    k.bow_inner = at_least_one(bow_inner);
    k.bow_width = at_least_one(bow_width);
    k.bow_outer = at_least_one(bow_inner + bow_width);
    k.flare_reach = at_least_one(px(s.flare_radius) * 4 / divisor);
    k.flare_inner = at_least_one(k.disc_edge);
    k.flare_outer = at_least_one(k.disc_edge + k.flare_reach);
    k.rim_outer = at_least_one(k.disc_edge + 4);
    k.limb_start = at_least_one((k.disc_edge + 4) * 8 / 10);
    k.spike_reach = 100 - s.spike_detail;
}

}  // namespace

int16_t render_prepare(RenderContext& c, const SunSettings& settings, const RenderRequest& request) {
    c.ready = false;
    c.settings = settings_in_range(settings);
    c.request = request;
    c.request.scale_divisor = clamp_to(request.scale_divisor, 1, kMaxScaleDivisor);
    c.depth = depth_constants(request.depth);
    const SunSettings& s = c.settings;
    const int64_t divisor = c.request.scale_divisor;
    const int64_t w = int64_t(request.rect.right) - request.rect.left;
    const int64_t h = int64_t(request.rect.bottom) - request.rect.top;
    const double base_len = base_length(w, h);
    const int64_t sun_px = size_px(s.sun_radius, w, h);

    // 1. The radius buffer of the sphere map.
    if (!c.sphere_map.reserve(std::max<int64_t>(0, h) + 4)) return kRenderOutOfMemory;
    // 2. Spike colours, then the bow's spectrum.
    build_spike_colours(s, c.spectral);
    build_spectrum(SpectrumShape::Bow, c.spectral.working);
    // 3-7. Random table, halo, spike profile, flare and disc tables.
    build_random_table(c);
    build_halo_table(c);
    build_spike_profile(c);
    build_flare_table(c);
    build_disc_table(c);
    // 8. Bow colours.
    build_bow_colours(s, c.spectral);
    // 9. Directions; the spike pair steers the flares and the flare pair the spikes.
    c.spike_direction = direction_of(s.flare_x, s.flare_y);
    c.flare_direction = direction_of(s.spike_x, s.spike_y);
    // 10-11. Flare angles and spike lines.
    build_flare_angles(c);
    build_spike_lines(c, base_len);
    // 12. Centre, in single precision like the record's fractions.
    c.centre_x = trunc_int32(float(w) * s.x_center);
    c.centre_y = trunc_int32(float(h) * s.y_center);
    // 13. Disc radius.
    c.disc_radius = int32_t(std::clamp<int64_t>(sun_px / divisor, 1, c.sphere_map.capacity() - 1));
    // 14. Noise scale.
    const int64_t d = trunc_int64(pmath::pow(2.0, 4 - (s.sun_detail * 3 / 100.0 + 3)) * 100);
    c.noise_scale = double(divisor * d) / 100 / base_len;
    // 15. Swirls and the noise step.
    c.noise.swirl_radius = trunc_int32(double(int64_t(s.sun_swirl_size) * 8 * 4 * sun_px) / 200);
    c.noise.swirl_strength = trunc_int32((s.sun_smear * 4) / (double(sun_px) / 200));
    c.noise.noise_step = std::max(1, trunc_int32(c.noise_scale * 16));
    // 16. Octave mode.
    c.noise.octave_mode = 0;
    if (c.noise_scale <= 0.5555555555555556) c.noise.octave_mode = 1;
    if (c.noise_scale <= 0.2857142857142857) c.noise.octave_mode = 2;
    // 17. Fade curve: smoothstep on a 512 scale.
    for (int i = 0; i < kFadeSize; ++i) {
        const double t = i / 512.0;
        c.noise.fade[i] = trunc_int32(512 * t * t * (3 - 2 * t));
    }
    // 18-19. Sphere map and swirl centres.
    build_sphere_map(c);
    build_swirl_centres(c, sun_px);
    c.noise.swirl_count = clamp_to(s.sun_swirl_count, 0, kSwirlCentres);
    c.noise.vortices = s.vortices != 0;
    c.noise.monopoles = s.monopoles != 0;
    // 20. Job set-up.
    build_kernel_rings(c);
    c.job_buffers = 1;
    c.ready = true;
    return 0;
}

}  // namespace corvanthe
