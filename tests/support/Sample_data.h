#pragma once

// Where the tests and the benchmarks find the build and the packed sample game.

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace Orvane::Test {

/// The build folder (ORVANE_BUILD_DIR, which ctest sets for every test), or empty when unset.
inline std::string build_folder() {
    const char* build = std::getenv("ORVANE_BUILD_DIR");
    return build == nullptr ? std::string() : std::string(build);
}

/// The packed sample game, ending with '/': ORVANE_SAMPLE_DATA when set, else the data/ folder
/// of the build folder; `fallback` when neither is set (empty for the tests, which run through
/// ctest).
inline std::string sample_data(const std::string& fallback = "") {
    if (const char* folder = std::getenv("ORVANE_SAMPLE_DATA"))
        return folder;
    const std::string build = build_folder();
    return build.empty() ? fallback : build + "/data/";
}

/// The sample game's staging folder, the sources the packages were made of (ORVANE_SAMPLE_STAGE,
/// which ctest sets: the build that ran the generator), or empty when unset.
inline std::string sample_stage() {
    const char* stage = std::getenv("ORVANE_SAMPLE_STAGE");
    return stage == nullptr ? std::string() : std::string(stage);
}

/// Menu images of the sample game (entity of `<entity>:image`) and the French text each shows
/// once the language is switched to French: every page follows a switch.
inline const std::vector<std::pair<std::string, std::string>>& sample_french_menu_texts() {
    static const std::vector<std::pair<std::string, std::string>> texts{
        {"Exit_Phone", "Téléphone"},
        {"Exit_Quit", "Quitter"},
        {"Title_Settings", "Réglages"},
        {"Title_Load", "Charger"},
        {"Title_Save", "Sauvegarder"},
        {"Title_Controls", "Commandes"},
        {"Title_New_game", "Nouvelle partie"},
        {"Language_setting", "Langue"}};
    return texts;
}

} // namespace Orvane::Test
