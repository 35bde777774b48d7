// The sound effects and music: 44.1 kHz stereo OGG Vorbis, synthesised from sines and noise.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <string>
#include <vector>

#include <Packer/Ogg.h>

#include "Families.h"

namespace Sample {

namespace {

constexpr int rate = 44100;

/// A mono signal: one value in [-1, 1] per frame.
using Mono = std::vector<float>;

Mono silence(double seconds) { return Mono(std::size_t(seconds * rate), 0.0f); }

/// Interleaves a mono signal into stereo with the given gains.
std::vector<float> stereo(const Mono& mono, double left = 1.0, double right = 1.0) {
    std::vector<float> out(mono.size() * 2);
    for (std::size_t f = 0; f < mono.size(); ++f) {
        out[2 * f] = float(mono[f] * left);
        out[2 * f + 1] = float(mono[f] * right);
    }
    return out;
}

void write_effect(const Output& out, const std::string& name, const Mono& mono) {
    out.file("sounds/effects/" + name + ".ogg", Orvane::Packer::encode_ogg(stereo(mono), 2, rate));
}

/// A short tick: a 2 kHz ping over a burst of noise, both dying within 40 ms.
Mono click() {
    Mono s = silence(0.06);
    Random random(0xC11C);
    for (std::size_t f = 0; f < s.size(); ++f) {
        const double t = double(f) / rate;
        const double envelope = std::exp(-t / 0.008);
        const double ping = std::sin(2 * std::numbers::pi * 2000 * t);
        s[f] = float(envelope * (0.35 * ping + 0.25 * random.signed_uniform()));
    }
    return s;
}

/// A footstep on stone: low-passed noise with a soft 90 Hz thump, about 150 ms.
Mono step() {
    Mono s = silence(0.18);
    Random random(0x57E9);
    double low = 0;
    for (std::size_t f = 0; f < s.size(); ++f) {
        const double t = double(f) / rate;
        const double attack = std::min(1.0, t / 0.004);
        const double envelope = attack * std::exp(-t / 0.035);
        low += 0.12 * (random.signed_uniform() - low); // one-pole low-pass
        const double thump = std::sin(2 * std::numbers::pi * 90 * t);
        s[f] = float(envelope * (1.6 * low + 0.4 * thump));
    }
    return s;
}

} // namespace

void make_sounds(const Output& out) {
    write_effect(out, "click", click());
    write_effect(out, "step", step());
}

} // namespace Sample
