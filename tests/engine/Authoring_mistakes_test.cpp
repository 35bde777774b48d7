// An author's ordinary mistakes, each made in a copy of the sample game, packed with
// orvane-pack and run: what the packer and the engine say, and whether the game goes on.

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Simple.h>

#include "support/Fixed_step_engine.h"
#include "support/Packages.h"
#include "support/Sample_data.h"
#include "support/Temp_pref_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace Orvane;

enum class Outcome {
    refused_by_packer, ///< the packer fails with the messages
    stops,             ///< the game stops with status 1 and the messages
    runs,              ///< the game runs on through the opening, with the messages as warnings
};

/// One mistake: in `file` of the game's source folder, the text `from` becomes `to`.
struct Mistake {
    const char* what;
    const char* file;
    const char* from;
    const char* to;
    Outcome outcome;
    /// Regular expressions that must appear in this order on standard error.
    std::vector<std::string> messages;
};

const Mistake mistakes[] = {
    {"a misspelled optional key", "data/rooms/quay.yaml", "\nbackground: quay\n",
     "\nbackgrond: quay\n", Outcome::runs,
     {"Warning: data/rooms/quay\\.yaml:4: unknown key backgrond is ignored \\(did you mean "
      "background\\?\\)"}},
    {"a misspelled required key", "data/rooms/quay.yaml", "\nfront_z: 3240\n",
     "\nfornt_z: 3240\n", Outcome::stops,
     {"Value front_z not found in Yaml input \\(data/rooms/quay\\.yaml:[0-9]+\\): fornt_z at line 7 "
      "looks like a misspelling of it"}},
    {"a missing ]", "data/rooms/quay.yaml", "ground_map: [quay_map, quay_map]\n",
     "ground_map: [quay_map, quay_map\n", Outcome::refused_by_packer,
     {"orvane-pack: Failed parsing Yaml file \\(data/rooms/quay\\.yaml:[0-9]+\\): .*flow "
      "sequence at line 6"}},
    {"a misspelled step", "data/rooms/quay.yaml", "      - wait: []\n      - set: [coins, \"0\"]",
     "      - wiat: []\n      - set: [coins, \"0\"]", Outcome::stops,
     {"Warning: data/rooms/quay\\.yaml:[0-9]+: in script start:action, wiat is not a valid "
      "function \\(did you mean wait\\?\\)",
      "wiat is not a valid function \\(script start:action, data/rooms/quay\\.yaml\\)"}},
    {"an object file that does not exist", "data/rooms/quay.yaml", "\n  - rope\n",
     "\n  - ropes\n", Outcome::stops,
     {"Can't open data/objects/ropes\\.yaml, asked for by data/rooms/quay\\.yaml"}},
    {"an extra indentation", "data/objects/lamp.yaml", "\nreach_factor: 1.5\n",
     "\n  reach_factor: 1.5\n", Outcome::refused_by_packer,
     {"orvane-pack: Failed parsing Yaml file \\(data/objects/lamp\\.yaml:[0-9]+\\)"}},
};

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string in_order(const std::vector<std::string>& messages) {
    std::string pattern;
    for (const std::string& message : messages)
        pattern += (pattern.empty() ? "" : ".*") + message;
    return pattern;
}

// Plays the game of `folder` from its start: through the opening, until it waits for the
// player (about 20 seconds of game time at most); then ends the process with status 0.
[[noreturn]] void play_opening(const std::string& folder) {
    Orvane::Test::Fixed_step_engine engine;
    if (!engine.start_up(folder))
        std::_Exit(2);
    for (int frame = 0; frame < 1200; ++frame)
        engine.run();
    engine.tear_down();
    std::fflush(nullptr);
    std::_Exit(0);
}

class Authoring_mistakes : public testing::TestWithParam<Mistake> {};

TEST_P(Authoring_mistakes, AreNamedWhereTheyAre) {
    const Mistake& mistake = GetParam();
    const std::string stage = Orvane::Test::sample_stage();
    ASSERT_FALSE(stage.empty()) << "run through ctest";
    const Orvane::Test::Temp_pref_folder pref;
    const fs::path scratch = fs::path(pref.root());
    const fs::path source = scratch / "game";
    fs::copy(stage, source, fs::copy_options::recursive);

    const fs::path file = source / mistake.file;
    std::string text = read_file(file);
    const std::size_t at = text.find(mistake.from);
    ASSERT_NE(at, std::string::npos) << mistake.from << " is not in " << mistake.file;
    text.replace(at, std::string(mistake.from).size(), mistake.to);
    std::ofstream(file, std::ios::binary) << text;

    const fs::path packages = scratch / "data";
    const auto [status, errors] = Orvane::Test::run_packer(source, packages, scratch);
    if (mistake.outcome == Outcome::refused_by_packer) {
        EXPECT_NE(status, 0);
        EXPECT_TRUE(std::regex_search(errors, std::regex(in_order(mistake.messages)))) << errors;
        EXPECT_FALSE(fs::exists(packages / "general.data"));
        return;
    }
    ASSERT_EQ(status, 0) << errors;
    const std::string folder = packages.string() + "/";
    EXPECT_EXIT(play_opening(folder),
                testing::ExitedWithCode(mistake.outcome == Outcome::runs ? 0 : 1),
                in_order(mistake.messages));
}

INSTANTIATE_TEST_SUITE_P(Sample, Authoring_mistakes, testing::ValuesIn(mistakes),
                         [](const testing::TestParamInfo<Mistake>& param) {
                             std::string name;
                             for (const char* c = param.param.what; *c != '\0'; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });

} // namespace
