#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <Orvane/Utils/Resampler.h>

namespace Orvane {

namespace {

/// I0, the modified Bessel function of the first kind, for the Kaiser window.
double bessel_i0(double x) {
    double sum = 1, term = 1;
    for (int k = 1; k < 64 && term > 1e-12 * sum; ++k) {
        term *= (x / (2 * k)) * (x / (2 * k));
        sum += term;
    }
    return sum;
}

/// The dot product of `n` floats (a multiple of 4), summed in four lanes then across them:
/// (lane 0 + lane 2) + (lane 1 + lane 3), the order `dot4` keeps too.
[[gnu::always_inline]] inline float dot(const float* a, const float* b, std::size_t n) {
#if defined(__SSE__)
    __m128 sum = _mm_setzero_ps();
    for (std::size_t i = 0; i < n; i += 4)
        sum = _mm_add_ps(sum, _mm_mul_ps(_mm_loadu_ps(a + i), _mm_loadu_ps(b + i)));
    sum = _mm_add_ps(sum, _mm_movehl_ps(sum, sum));
    sum = _mm_add_ss(sum, _mm_shuffle_ps(sum, sum, 1));
    return _mm_cvtss_f32(sum);
#else
    float sum[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < n; i += 4)
        for (std::size_t j = 0; j < 4; ++j)
            sum[j] += a[i + j] * b[i + j];
    return (sum[0] + sum[2]) + (sum[1] + sum[3]);
#endif
}

#if defined(__SSE2__)
/// Four outputs at once: the dot products of rows[j] with inputs[j], each summed as `dot` sums
/// it, rounded and clipped to 16 bits as `to_sample` does; the four samples are in the low half.
[[gnu::always_inline]] inline __m128i dot4(const float* const rows[4], const float* const inputs[4],
                                           std::size_t n) {
    __m128 a0 = _mm_setzero_ps(), a1 = _mm_setzero_ps(), a2 = _mm_setzero_ps(),
           a3 = _mm_setzero_ps();
    for (std::size_t i = 0; i < n; i += 4) {
        a0 = _mm_add_ps(a0, _mm_mul_ps(_mm_loadu_ps(rows[0] + i), _mm_loadu_ps(inputs[0] + i)));
        a1 = _mm_add_ps(a1, _mm_mul_ps(_mm_loadu_ps(rows[1] + i), _mm_loadu_ps(inputs[1] + i)));
        a2 = _mm_add_ps(a2, _mm_mul_ps(_mm_loadu_ps(rows[2] + i), _mm_loadu_ps(inputs[2] + i)));
        a3 = _mm_add_ps(a3, _mm_mul_ps(_mm_loadu_ps(rows[3] + i), _mm_loadu_ps(inputs[3] + i)));
    }
    // Transposed: lanes 0 + 2 of each, then lanes 1 + 3 of each, then their sum.
    const __m128 s01 = _mm_add_ps(_mm_unpacklo_ps(a0, a1), _mm_unpackhi_ps(a0, a1));
    const __m128 s23 = _mm_add_ps(_mm_unpacklo_ps(a2, a3), _mm_unpackhi_ps(a2, a3));
    const __m128 sums = _mm_add_ps(_mm_movelh_ps(s01, s23), _mm_movehl_ps(s23, s01));
    // max gives its second operand for NaN: NaN becomes -32768, as in `to_sample`.
    const __m128 scaled =
        _mm_min_ps(_mm_max_ps(_mm_mul_ps(sums, _mm_set1_ps(32768.0f)), _mm_set1_ps(-32768.0f)),
                   _mm_set1_ps(32767.0f));
    const __m128i rounded = _mm_cvtps_epi32(scaled);
    return _mm_packs_epi32(rounded, rounded);
}
#endif

/// A float sample in -1..1 as a 16-bit sample, rounded to the nearest and clamped, as
/// libvorbisfile's own 16-bit output does.
[[gnu::always_inline]] inline std::int16_t to_sample(float value) {
    const float scaled = value * 32768.0f;
    if (!(scaled > -32768.0f))
        return -32768;
    if (scaled >= 32767.0f)
        return 32767;
#if defined(__SSE__)
    return std::int16_t(_mm_cvtss_si32(_mm_set_ss(scaled)));
#else
    return std::int16_t(std::lrint(scaled));
#endif
}

// The loop of Resampler::run over plain values: writing samples through `out` must not make
// the compiler read the filter's state again on every frame.
std::size_t resample(const float* weights, std::size_t up, std::size_t down, std::size_t taps,
                     const std::vector<std::vector<float>>& input, std::size_t& cursor_state,
                     std::size_t& phase_state, std::int16_t* out, std::size_t width,
                     std::size_t room) {
    const std::size_t file_width = input.size();
    const std::size_t held = input[0].size();
    const float* first = input[0].data();
    const float* second = file_width > 1 ? input[1].data() : first;
    std::size_t cursor = cursor_state;
    std::size_t phase = phase_state;
    std::int16_t* frame = out;
    std::size_t made = 0;
#if defined(__SSE2__)
    // Four frames at a time for mono and stereo files on a stereo device.
    if (width == 2 && (file_width == 1 || file_width == 2)) {
        for (; made + 4 <= room; made += 4, frame += 8) {
            std::size_t cursors[4];
            const float* rows[4];
            std::size_t next_cursor = cursor, next_phase = phase;
            for (std::size_t j = 0; j < 4; ++j) {
                cursors[j] = next_cursor;
                rows[j] = weights + next_phase * taps;
                next_phase += down;
                while (next_phase >= up) {
                    next_phase -= up;
                    ++next_cursor;
                }
            }
            if (cursors[3] + taps > held)
                break;
            const float* left[4] = {first + cursors[0], first + cursors[1], first + cursors[2],
                                    first + cursors[3]};
            const __m128i l = dot4(rows, left, taps);
            __m128i r = l;
            if (file_width == 2) {
                const float* right[4] = {second + cursors[0], second + cursors[1],
                                         second + cursors[2], second + cursors[3]};
                r = dot4(rows, right, taps);
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(frame), _mm_unpacklo_epi16(l, r));
            cursor = next_cursor;
            phase = next_phase;
        }
    }
#endif
    for (; made < room && cursor + taps <= held; ++made, frame += width) {
        const float* row = weights + phase * taps;
        if (file_width == 1) {
            const std::int16_t sample = to_sample(dot(row, first + cursor, taps));
            for (std::size_t c = 0; c < width; ++c)
                frame[c] = sample;
        } else if (file_width == 2 && width == 2) {
            frame[0] = to_sample(dot(row, first + cursor, taps));
            frame[1] = to_sample(dot(row, second + cursor, taps));
        } else if (file_width == width) {
            for (std::size_t c = 0; c < width; ++c)
                frame[c] = to_sample(dot(row, input[c].data() + cursor, taps));
        } else { // stereo to mono
            frame[0] = to_sample(
                0.5f * (dot(row, first + cursor, taps) + dot(row, second + cursor, taps)));
        }
        phase += down;
        while (phase >= up) {
            phase -= up;
            ++cursor;
        }
    }
    cursor_state = cursor;
    phase_state = phase;
    return made;
}

} // namespace

Resampler Resampler::make(int from, int to) {
    Resampler p;
    const int common = std::gcd(from, to);
    p.up = std::size_t(to / common);
    p.down = std::size_t(from / common);
    if (p.up > 2048 || p.down > 16 * p.up) {
        p.up = 0;
        return p;
    }
    if (p.up == p.down) {
        p.weights = {0, 1, 0, 0};
        return p;
    }
    // Below the lower Nyquist frequency, with a margin for the transition band.
    const double band = std::min(1.0, double(p.up) / double(p.down));
    const double cutoff = 0.9 * band;
    constexpr double zero_crossings = 5;
    const std::size_t span = std::size_t(std::ceil(2 * zero_crossings / band));
    p.taps = (span + 3) / 4 * 4;
    const double half = double(p.taps) / 2;
    constexpr double beta = 7;
    const double window_scale = 1 / bessel_i0(beta);
    p.weights.resize(p.up * p.taps);
    for (std::size_t phase = 0; phase < p.up; ++phase) {
        float* row = &p.weights[phase * p.taps];
        double sum = 0;
        std::vector<double> w(p.taps);
        for (std::size_t k = 0; k < p.taps; ++k) {
            const double t = double(k) - double(p.centre()) - double(phase) / double(p.up);
            const double x = t / half;
            const double window =
                x * x < 1 ? bessel_i0(beta * std::sqrt(1 - x * x)) * window_scale : 0;
            const double arg = std::numbers::pi * cutoff * t;
            const double sinc = t == 0 ? 1 : std::sin(arg) / arg;
            w[k] = window * sinc;
            sum += w[k];
        }
        for (std::size_t k = 0; k < p.taps; ++k)
            row[k] = float(w[k] / sum);
    }
    return p;
}

std::size_t Resampler::run(const std::vector<std::vector<float>>& input, std::size_t& cursor,
                           std::size_t& phase, std::int16_t* out, std::size_t width,
                           std::size_t room) const {
    return resample(weights.data(), up, down, taps, input, cursor, phase, out, width, room);
}

} // namespace Orvane
