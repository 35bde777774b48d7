// The sound effects and music: 44.1 kHz stereo OGG Vorbis, synthesised from sines and noise.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
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

constexpr double two_pi = 2 * std::numbers::pi;

/// A sine sweep from f0 to f1 Hz over `seconds`, under an attack-decay envelope.
Mono sweep(double seconds, double f0, double f1, double attack, double decay, double gain) {
    Mono s = silence(seconds);
    double phase = 0;
    for (std::size_t f = 0; f < s.size(); ++f) {
        const double t = double(f) / rate;
        const double frequency = f0 + (f1 - f0) * t / seconds;
        phase += two_pi * frequency / rate;
        const double envelope = std::min(1.0, t / attack) * std::exp(-t / decay);
        s[f] = float(gain * envelope * std::sin(phase));
    }
    return s;
}

/// Adds `b` into `a` from frame `at` on, growing `a` when needed.
void mix_in(Mono& a, const Mono& b, std::size_t at = 0) {
    if (a.size() < at + b.size())
        a.resize(at + b.size(), 0.0f);
    for (std::size_t f = 0; f < b.size(); ++f)
        a[at + f] += b[f];
}

std::size_t frames(double seconds) { return std::size_t(seconds * rate); }

/// A gull's cry: two falling screeches with a rough edge.
Mono gull() {
    Mono s = silence(0.7);
    for (int call = 0; call < 2; ++call) {
        Mono cry = sweep(0.28, 2400, 1500, 0.02, 0.12, 0.35);
        for (std::size_t f = 0; f < cry.size(); ++f)
            cry[f] *= float(0.7 + 0.3 * std::sin(two_pi * 60 * double(f) / rate));
        mix_in(s, cry, frames(0.05 + 0.32 * call));
    }
    return s;
}

/// A splash: a burst of noise whose low-pass opens and closes, about 0.8 s.
Mono splash() {
    Mono s = silence(0.8);
    Random random(0x5B1A5);
    double low = 0;
    for (std::size_t f = 0; f < s.size(); ++f) {
        const double t = double(f) / rate;
        const double envelope = std::min(1.0, t / 0.01) * std::exp(-t / 0.2);
        const double opening = 0.05 + 0.4 * std::exp(-t / 0.1);
        low += opening * (random.signed_uniform() - low);
        s[f] = float(0.8 * envelope * low);
    }
    return s;
}

/// A heavy door: a creaking sweep, then the thump of the wood.
Mono door() {
    Mono creak = sweep(0.45, 300, 520, 0.05, 0.3, 0.25);
    for (std::size_t f = 0; f < creak.size(); ++f)
        creak[f] *= float(0.5 + 0.5 * std::sin(two_pi * 23 * double(f) / rate));
    mix_in(creak, sweep(0.3, 90, 60, 0.003, 0.07, 0.7), frames(0.42));
    return creak;
}

/// Coins: two bright pings.
Mono coin() {
    Mono s = sweep(0.25, 2637, 2637, 0.002, 0.06, 0.35);
    mix_in(s, sweep(0.3, 3520, 3520, 0.002, 0.08, 0.35), frames(0.09));
    return s;
}

/// A button of the lock: a short wooden knock.
Mono code_button() { return sweep(0.12, 900, 600, 0.001, 0.02, 0.6); }

/// The lock opens: a rising arpeggio.
Mono code_success() {
    Mono s;
    const double notes[] = {523.25, 659.25, 783.99, 1046.5};
    for (int k = 0; k < 4; ++k)
        mix_in(s, sweep(0.3, notes[k], notes[k], 0.005, 0.12, 0.3), frames(0.12 * k));
    return s;
}

/// A wrong entry: a falling buzz.
Mono code_failure() {
    Mono s = sweep(0.55, 220, 110, 0.01, 0.25, 0.3);
    for (float& v : s)
        v = float(std::clamp(3.0 * v, -0.3, 0.3)); // clipped into a buzz
    return s;
}

/// The lamp lights: a hum rising with a shimmer on top, just under 1 s.
Mono lamp() {
    Mono s = sweep(0.9, 110, 220, 0.3, 0.6, 0.4);
    mix_in(s, sweep(0.9, 880, 1760, 0.5, 0.5, 0.1));
    return s;
}

// ---- Music: loops of 8 s that start and end on the same phase ----

constexpr double loop_seconds = 8;

void write_music(const Output& out, const std::string& name, const Mono& left, const Mono& right) {
    std::vector<float> samples(left.size() * 2);
    for (std::size_t f = 0; f < left.size(); ++f) {
        samples[2 * f] = left[f];
        samples[2 * f + 1] = right[f];
    }
    out.file("sounds/musics/" + name + ".ogg", Orvane::Packer::encode_ogg(samples, 2, rate));
}

/// The sea: low-passed noise swelling twice per loop, a little different in each ear.
void sea(const Output& out) {
    Mono channels[2] = {silence(loop_seconds), silence(loop_seconds)};
    for (int c = 0; c < 2; ++c) {
        Random random(0x5EA0 + std::uint64_t(c));
        double low = 0, lower = 0;
        for (std::size_t f = 0; f < channels[c].size(); ++f) {
            const double t = double(f) / rate;
            const double swell = 0.55 + 0.45 * std::sin(two_pi * (t / 4 + 0.25 * c));
            low += 0.08 * (random.signed_uniform() - low);
            lower += 0.2 * (low - lower);
            channels[c][f] = float(0.9 * swell * lower);
        }
    }
    write_music(out, "sea", channels[0], channels[1]);
}

/// A triangle wave.
double triangle(double phase) {
    const double x = phase - std::floor(phase);
    return x < 0.5 ? 4 * x - 1 : 3 - 4 * x;
}

/// Ferran's theme: a slow tune of triangle tones, two notes a second.
void theme(const Output& out) {
    const double tune[] = {392.0,  440.0,  493.88, 587.33, 493.88, 440.0,  392.0,  329.63,
                           293.66, 329.63, 392.0,  440.0,  392.0,  329.63, 293.66, 392.0};
    Mono s = silence(loop_seconds);
    const double note_seconds = loop_seconds / 16;
    for (std::size_t f = 0; f < s.size(); ++f) {
        const double t = double(f) / rate;
        const auto note = std::size_t(t / note_seconds);
        const double in_note = t - double(note) * note_seconds;
        const double envelope = std::min(1.0, in_note / 0.03) * std::exp(-in_note / 0.35);
        s[f] = float(0.3 * envelope * triangle(tune[note] * t));
    }
    write_music(out, "theme", s, s);
}

/// The tower: a low drone of two close tones beating slowly, with a fifth above.
void tower(const Output& out) {
    Mono s = silence(loop_seconds);
    for (std::size_t f = 0; f < s.size(); ++f) {
        const double t = double(f) / rate;
        s[f] = float(0.22 * std::sin(two_pi * 55 * t) + 0.18 * std::sin(two_pi * 55.25 * t) +
                     0.08 * std::sin(two_pi * 82.5 * t));
    }
    write_music(out, "tower", s, s);
}

} // namespace

void make_sounds(const Output& out) {
    write_effect(out, "click", click());
    write_effect(out, "step", step());
    write_effect(out, "gull", gull());
    write_effect(out, "splash", splash());
    write_effect(out, "door", door());
    write_effect(out, "coin", coin());
    write_effect(out, "code_button", code_button());
    write_effect(out, "code_success", code_success());
    write_effect(out, "code_failure", code_failure());
    write_effect(out, "lamp", lamp());
    sea(out);
    theme(out);
    tower(out);
}

} // namespace Sample
