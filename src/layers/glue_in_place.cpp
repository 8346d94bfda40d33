#include "layers/glue_in_place.h"

#include "layers/glue_one.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace corvanthe {

namespace {

using namespace glue_detail;

// One pixel: H and the selection from the piece's samples, the result back into them.
template <int32_t Mode, int Bytes, bool Mask>
[[gnu::always_inline]] inline void glue_sample(const Cell& cell, const uint8_t* in, uint8_t* out, const uint8_t* mask,
                                               const SamplePiece& piece, const GlueSetup& setup) {
    constexpr Known known = Bytes == 4 ? Known::float_colour : Known::integer_colour;
    const PixelValue sun{cell.colour[0], cell.colour[1], cell.colour[2], cell.colour[3]};
    const PixelValue host{load_sample<Bytes>(in), load_sample<Bytes>(in + Bytes), load_sample<Bytes>(in + 2 * Bytes),
                          piece.in_alpha >= 0 ? load_sample<Bytes>(in + piece.in_alpha * Bytes) : 1.0f};
    const float m = Mask ? kByteValues[*mask] : 1.0f;
    const PixelValue r = glue_one<Mode, known>(0, 0, sun, int32_t(cell.aux[2]), host, m, setup);
    store_sample<Bytes>(out, r.red);
    store_sample<Bytes>(out + Bytes, r.green);
    store_sample<Bytes>(out + 2 * Bytes, r.blue);
    if (piece.out_alpha >= 0) store_sample<Bytes>(out + piece.out_alpha * Bytes, r.alpha);
}

#if defined(__SSE2__)
// Four 8-bit pixels of "normal" side by side, one per lane, with the same IEEE operations in
// the same order as glue_sample. False, with nothing written, when a sun pixel needs the bleed;
// the caller glues those four one by one.
template <bool Mask>
bool glue_four_normal(const Cell* cells, int64_t cell_step, const uint8_t* in, uint8_t* out, const uint8_t* mask,
                      const SamplePiece& piece) {
    __m128 r = _mm_loadu_ps(cells[0].colour), g = _mm_loadu_ps(cells[cell_step].colour);
    __m128 b = _mm_loadu_ps(cells[2 * cell_step].colour), a = _mm_loadu_ps(cells[3 * cell_step].colour);
    _MM_TRANSPOSE4_PS(r, g, b, a);
    // _mm_max_ps(0, v) is v < 0 ? 0 : v and _mm_min_ps(1, v) is 1 < v ? 1 : v, NaN kept as
    // std::max and std::clamp keep it.
    const __m128 zero = _mm_setzero_ps(), one = _mm_set1_ps(1.0f);
    a = _mm_max_ps(zero, _mm_min_ps(one, _mm_mul_ps(a, _mm_set1_ps(kAlphaGain))));
    r = _mm_max_ps(zero, r);
    g = _mm_max_ps(zero, g);
    b = _mm_max_ps(zero, b);
    const __m128 over = _mm_or_ps(_mm_or_ps(_mm_cmpgt_ps(r, one), _mm_cmpgt_ps(g, one)), _mm_cmpgt_ps(b, one));
    if (_mm_movemask_ps(over) != 0) return false;

    // Each colour, now 0..1 or NaN, through the fixed point: trunc(c × 32768) × 2^-15, 0 for
    // NaN. Neither the ±8 limit nor the cap at 1 changes such a value; all steps are exact.
    auto through_fixed = [](__m128 c) {
        const __m128i whole = _mm_cvttps_epi32(_mm_mul_ps(c, _mm_set1_ps(float(kFixedOne))));
        const __m128i number = _mm_castps_si128(_mm_cmpord_ps(c, c));
        return _mm_mul_ps(_mm_cvtepi32_ps(_mm_and_si128(whole, number)), _mm_set1_ps(1.0f / float(kFixedOne)));
    };
    r = through_fixed(r);
    g = through_fixed(g);
    b = through_fixed(b);

    if constexpr (Mask) {
        const int64_t step = piece.in_pixel_bytes;
        auto host = [&](int sample) {
            return _mm_setr_ps(kByteValues[in[sample]], kByteValues[in[step + sample]],
                               kByteValues[in[2 * step + sample]], kByteValues[in[3 * step + sample]]);
        };
        const __m128 m =
            _mm_setr_ps(kByteValues[mask[0]], kByteValues[mask[1]], kByteValues[mask[2]], kByteValues[mask[3]]);
        const __m128 partly = _mm_cmplt_ps(m, one);
        auto mixed = [&](__m128 under, __m128 v) {
            const __m128 blend = _mm_add_ps(under, _mm_mul_ps(_mm_sub_ps(v, under), m));
            return _mm_or_ps(_mm_and_ps(partly, blend), _mm_andnot_ps(partly, v));
        };
        r = mixed(host(0), r);
        g = mixed(host(1), g);
        b = mixed(host(2), b);
        a = mixed(piece.in_alpha >= 0 ? host(piece.in_alpha) : one, a);
    }

    // store_sample lane by lane: scaled, 0 unless above 0 (NaN too), at most 255, truncated.
    auto bytes = [&](__m128 v, int32_t (&lanes)[4]) {
        const __m128 scale = _mm_set1_ps(255.0f);
        __m128 scaled = _mm_mul_ps(v, scale);
        scaled = _mm_and_ps(scaled, _mm_cmpgt_ps(scaled, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), _mm_cvttps_epi32(_mm_min_ps(scale, scaled)));
    };
    int32_t red[4], green[4], blue[4], alpha[4];
    bytes(r, red);
    bytes(g, green);
    bytes(b, blue);
    bytes(a, alpha);
    // Locals, since the byte stores could otherwise change them.
    const int64_t out_step = piece.out_pixel_bytes;
    const int32_t out_alpha = piece.out_alpha;
    for (int i = 0; i < 4; ++i, out += out_step) {
        out[0] = uint8_t(red[i]);
        out[1] = uint8_t(green[i]);
        out[2] = uint8_t(blue[i]);
        if (out_alpha >= 0) out[out_alpha] = uint8_t(alpha[i]);
    }
    return true;
}
#endif

// The loop of glue_in_place for one mode and sample size; Mask: the piece has a selection.
template <int32_t Mode, int Bytes, bool Mask>
void glue_samples(const Cell* cells, int64_t cell_step, int64_t count, const uint8_t* in, uint8_t* out,
                  const uint8_t* mask, const SamplePiece& piece, const GlueSetup& setup) {
    auto one_by_one = [&](int64_t n) {
        for (int64_t i = 0; i < n; ++i, cells += cell_step, in += piece.in_pixel_bytes, out += piece.out_pixel_bytes)
            glue_sample<Mode, Bytes, Mask>(*cells, in, out, Mask ? mask++ : nullptr, piece, setup);
    };
    int64_t done = 0;
#if defined(__SSE2__)
    if constexpr (Mode == kGlueNormal && Bytes == 1) {
        for (; done + 4 <= count; done += 4) {
            if (glue_four_normal<Mask>(cells, cell_step, in, out, mask, piece)) {
                cells += 4 * cell_step;
                in += 4 * piece.in_pixel_bytes;
                out += 4 * piece.out_pixel_bytes;
                if (Mask) mask += 4;
            } else {
                one_by_one(4);
            }
        }
    }
#endif
    one_by_one(count - done);
}

template <int Bytes, bool Mask>
struct Loops {
    template <int32_t Mode>
    struct For {
        static constexpr auto run = &glue_samples<Mode, Bytes, Mask>;
    };
};

// For integer samples, [mask][mode]; float samples take the sun as it is whatever the mode.
constexpr decltype(kModeLoops<Loops<1, false>::For>) kByteLoops[2] = {kModeLoops<Loops<1, false>::For>,
                                                                     kModeLoops<Loops<1, true>::For>};
constexpr decltype(kModeLoops<Loops<2, false>::For>) kWordLoops[2] = {kModeLoops<Loops<2, false>::For>,
                                                                     kModeLoops<Loops<2, true>::For>};
constexpr decltype(&glue_samples<0, 4, false>) kFloatLoops[2] = {&glue_samples<0, 4, false>, &glue_samples<0, 4, true>};

}  // namespace

bool glues_in_place(const GlueSetup& setup, const SamplePiece& piece) {
    const bool integer = piece.sample_bytes == 1 || piece.sample_bytes == 2;
    if (setup.grey || setup.render_mode == 1) return false;
    return setup.float_destination ? piece.sample_bytes == 4 : integer;
}

void glue_in_place(const Cell* cells, int64_t cell_step, int64_t count, int64_t row, int64_t column,
                   const SamplePiece& piece, const GlueSetup& setup) {
    if (count <= 0) return;
    const uint8_t* in = piece.in + row * piece.in_row_bytes + column * piece.in_pixel_bytes;
    uint8_t* out = piece.out + row * piece.out_row_bytes + column * piece.out_pixel_bytes;
    const uint8_t* mask = piece.mask ? piece.mask + row * piece.mask_row_bytes + column : nullptr;
    const bool masked = mask != nullptr;
    const size_t mode = loop_index(setup.mode);
    switch (piece.sample_bytes) {
        case 1: kByteLoops[masked][mode](cells, cell_step, count, in, out, mask, piece, setup); break;
        case 2: kWordLoops[masked][mode](cells, cell_step, count, in, out, mask, piece, setup); break;
        default: kFloatLoops[masked](cells, cell_step, count, in, out, mask, piece, setup); break;
    }
}

}  // namespace corvanthe
