#include "Soak_counts.h"

#include <fstream>
#include <sstream>

#include <sys/resource.h>

#include <Orvane/Third_party/Music_mixer.h>
#include <Orvane/Third_party/SDL.h>

namespace Orvane::Test {

namespace {

struct Named_count {
    const char* name;
    std::size_t Soak_counts::*member;
};

constexpr Named_count named_counts[] = {
    {"store components", &Soak_counts::components}, {"cached images", &Soak_counts::images},
    {"cached fonts", &Soak_counts::fonts},           {"live textures", &Soak_counts::textures},
    {"music streams", &Soak_counts::musics},
};

} // namespace

std::string Soak_counts::describe() const {
    std::ostringstream out;
    for (const Named_count& n : named_counts)
        out << n.name << " " << this->*n.member << ", ";
    out << "peak RSS " << peak_kib << " KiB";
    return out.str();
}

long peak_resident_kib() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

Soak_counts count(const Content& content) {
    Soak_counts c;
    for (const auto& map : content)
        c.components += map.size();
    c.images = Third_party::SDL::m_images.size();
    c.fonts = Third_party::SDL::m_fonts.size();
    c.textures = Third_party::SDL::m_live_textures;
    c.musics = Third_party::Music_stream::live();
    c.peak_kib = peak_resident_kib();
    return c;
}

std::string Soak_record::fault() const {
    if (m_plays.size() < reference_play)
        return {};
    const Soak_counts& reference = m_plays[reference_play - 1];
    std::ostringstream out;
    for (const Named_count& n : named_counts) {
        // the first play that went above the reference, with its value
        for (std::size_t i = reference_play; i < m_plays.size(); ++i)
            if (m_plays[i].*n.member > reference.*n.member) {
                out << "The " << n.name << " grew from " << reference.*n.member << " after play "
                    << reference_play << " to " << m_plays[i].*n.member << " after play "
                    << i + 1 << "\n";
                break;
            }
    }
    const Soak_counts& last = m_plays.back();
    if (double(last.peak_kib) > double(reference.peak_kib) * (1.0 + rss_margin))
        out << "The peak RSS grew by more than " << int(rss_margin * 100) << "%: "
            << reference.peak_kib << " KiB after play " << reference_play << ", "
            << last.peak_kib << " KiB after play " << m_plays.size() << "\n";
    std::string text = out.str();
    if (!text.empty())
        text.pop_back();
    return text;
}

} // namespace Orvane::Test
