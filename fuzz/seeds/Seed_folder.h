#pragma once

// The seed writers that go through the per-user writer share their start: the seed folder
// named on the command line, and a per-user folder inside it whose files become seeds.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <Orvane/Third_party/SDL_file.h>

namespace Orvane::Fuzz {

struct Seed_folder {
    std::filesystem::path folder; // where the seeds go
    std::string pref;             // the per-user folder, ending with its separator
};

/// The seed folder named by the only argument, created, with the per-user folder (through
/// XDG_DATA_HOME) inside it; nothing, after a usage message, without that argument.
inline std::optional<Seed_folder> seed_folder(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
        return std::nullopt;
    }
    Seed_folder seeds;
    seeds.folder = std::filesystem::absolute(argv[1]);
    std::filesystem::create_directories(seeds.folder);
    setenv("XDG_DATA_HOME", (seeds.folder / "home").c_str(), 1);
    seeds.pref = Third_party::SDL_file::pref_path();
    return seeds;
}

/// Writes each of `texts` byte for byte as the seed <folder>/broken_<n>.yaml.
inline void write_broken_seeds(const std::filesystem::path& folder,
                               const std::vector<std::string>& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        std::ofstream out(folder / ("broken_" + std::to_string(i) + ".yaml"), std::ios::binary);
        out << texts[i];
    }
}

} // namespace Orvane::Fuzz
