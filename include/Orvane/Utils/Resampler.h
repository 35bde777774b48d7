#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Orvane {

/// Rate conversion by an exact ratio: output frame n stands at input frame n x down / up. A
/// polyphase windowed-sinc filter (Kaiser window), one row of `taps` weights per phase, each
/// row summing to 1. Equal rates give a single phase that copies the input as it is.
struct Resampler {
    std::size_t up = 1;
    std::size_t down = 1;
    std::size_t taps = 4;       // a multiple of 4
    std::vector<float> weights; // up rows of taps

    /// Tap k of an output weighs input frame (the output's input frame, rounded down) - centre
    /// + k; `centre` frames of silence therefore precede the data.
    std::size_t centre() const { return taps / 2 - 1; }

    /// The filter from `from` frames per second to `to`, or an empty one (`up` 0) when the
    /// ratio needs more than a few thousand phases.
    static Resampler make(int from, int to);

    /// Writes up to `room` output frames of `width` interleaved 16-bit channels at `out`, from
    /// the float channels `input` (all of one length, samples in -1..1): the next output
    /// weighs `input` from frame `cursor` on with the weights of phase `phase`, and both move
    /// past every frame made. Stops early at the first output that would weigh a frame past
    /// the end of `input`. One input channel feeds every output channel; two feed one output
    /// channel as their mean; otherwise `input` has `width` channels. Samples are rounded to
    /// the nearest and clamped. Returns the frames written.
    std::size_t run(const std::vector<std::vector<float>>& input, std::size_t& cursor,
                    std::size_t& phase, std::int16_t* out, std::size_t width,
                    std::size_t room) const;
};

} // namespace Orvane
