#include "Packed_game.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include <Packer/Package_writer.h>
#include <gtest/gtest.h>

#include <Orvane/Engine.h>

namespace Orvane::Test {

namespace fs = std::filesystem;

std::string test_data(const std::string& name) {
    const char* root = std::getenv("ORVANE_TEST_DATA");
    if (root == nullptr)
        throw std::runtime_error("ORVANE_TEST_DATA is not set: run the tests through ctest");
    return (fs::path(root) / name).string();
}

Packed_game::Packed_game(const std::string& source)
    : m_source(fs::path(source).is_absolute() ? source : test_data(source)) {
    std::string pattern = (fs::temp_directory_path() / "orvane-game-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder from " + pattern);
    m_folder = pattern;

    std::vector<std::string> skipped;
    const auto entries = Packer::read_folder(m_source, skipped);
    for (const std::string& name : skipped)
        ADD_FAILURE() << m_source << ": " << name << " is empty and was left out of the packages";
    Packer::write_packages(Packer::build(entries), m_folder);
}

Packed_game::~Packed_game() {
    std::error_code ignored;
    fs::remove_all(m_folder, ignored);
}

bool Packed_game::start(Engine& engine, Manual_clock& clock) const {
    engine.set_clock(clock.source(), clock.sleeper());
    return engine.start_up(folder());
}

} // namespace Orvane::Test
