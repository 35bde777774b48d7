#pragma once

// What a long run of the engine watches for growth: counts of what the store and the media
// layer hold, and the process's peak resident size.

#include <cstddef>
#include <string>
#include <vector>

#include <Orvane/Content.h>

namespace Orvane::Test {

/// Counts taken at one moment of a run.
struct Soak_counts {
    std::size_t components = 0; ///< components in the store
    std::size_t images = 0;     ///< pictures in the image cache
    std::size_t fonts = 0;      ///< fonts in the font cache
    std::size_t textures = 0;   ///< textures that live pictures hold
    std::size_t musics = 0;     ///< live music streams
    long peak_kib = 0;          ///< peak resident size, KiB

    /// "components 1234, images 56, ..., peak RSS 78901 KiB".
    std::string describe() const;
};

/// The counts of `content` and of the process now.
Soak_counts count(const Content& content);

/// The process's peak resident size in KiB (VmHWM; getrusage's maximum where /proc lacks it).
long peak_resident_kib();

/// The counts taken at the end of each play, the first play first.
class Soak_record {
  public:
    /// The play from which no count may grow, and whose peak resident size the last play's
    /// may exceed by at most `rss_margin`.
    static constexpr std::size_t reference_play = 10;
    static constexpr double rss_margin = 0.05;

    void add(const Soak_counts& counts) { m_plays.push_back(counts); }
    const Soak_counts& latest() const { return m_plays.back(); }
    const std::vector<Soak_counts>& plays() const { return m_plays; }

    /// What grew, one line each, naming the count, the plays and the values; empty when
    /// nothing did (and always with fewer plays than the reference play).
    std::string fault() const;

  private:
    std::vector<Soak_counts> m_plays;
};

} // namespace Orvane::Test
