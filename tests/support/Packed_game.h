#pragma once

#include <string>

#include "Manual_clock.h"

namespace Orvane {
class Engine;
}

namespace Orvane::Test {

/// A game source folder packed by the package writer, as orvane-pack packs it, into a fresh
/// temporary data folder that goes with the object: the way engine tests start the engine on
/// a real game's data.
class Packed_game {
  public:
    /// Packs `source`: the name of a fixture folder under tests/data (ORVANE_TEST_DATA), or an
    /// absolute path. A file the writer leaves out (an empty one) fails the test.
    explicit Packed_game(const std::string& source = "minimal");
    ~Packed_game();
    Packed_game(const Packed_game&) = delete;
    Packed_game& operator=(const Packed_game&) = delete;

    /// The source folder that was packed.
    const std::string& source() const { return m_source; }
    /// The data folder holding the six packages, ending with '/', as Engine::run and
    /// Engine::start_up take it.
    std::string folder() const { return m_folder + "/"; }

    /// Starts `engine` on the packed data with its time system's clock on `clock`, so that the
    /// test sets the time of every frame; false when the engine could not open the data.
    bool start(Engine& engine, Manual_clock& clock) const;

  private:
    std::string m_source;
    std::string m_folder;
};

/// The fixture folder `name` under tests/data.
std::string test_data(const std::string& name);

} // namespace Orvane::Test
