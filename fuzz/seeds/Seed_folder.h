#pragma once

// The seed writers that go through the per-user writer share their start: the seed folder
// named on the command line, and a temporary per-user folder whose files become seeds.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/Temp_pref_folder.h"

namespace Orvane::Fuzz {

struct Seed_folder {
    std::filesystem::path folder;                 // where the seeds go
    std::shared_ptr<Test::Temp_pref_folder> home; // the per-user folder's, removed at the end
    std::string pref;                             // the per-user folder, ending with its separator

    /// Copies the per-user file `name` into the seed folder as `seed`.
    void take(const std::string& name, const std::string& seed) const {
        std::filesystem::copy_file(pref + name, folder / seed,
                                   std::filesystem::copy_options::overwrite_existing);
    }
};

/// The seed folder named by the only argument, created, with a temporary per-user folder
/// (through XDG_DATA_HOME); nothing, after a usage message, without that argument.
inline std::optional<Seed_folder> seed_folder(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
        return std::nullopt;
    }
    Seed_folder seeds;
    seeds.folder = std::filesystem::absolute(argv[1]);
    std::filesystem::create_directories(seeds.folder);
    seeds.home = std::make_shared<Test::Temp_pref_folder>();
    seeds.pref = seeds.home->pref_path();
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
