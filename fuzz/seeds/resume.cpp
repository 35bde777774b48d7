// Writes seeds for fuzz_resume: saves that the engine's own writer makes while the sample game
// runs (in the quay, and in the tower entered from the quay), and from the quay's save the
// cases the check must refuse or the game must take safely: a player or follower the game
// lacks, a follower who cannot walk, poses a character lacks, a phone number without its
// action, and the coins at the top of the int range before the purse adds to them.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <Orvane/Component/Simple.h>
#include <Orvane/Engine.h>

#include "Seed_folder.h"
#include "support/Fixed_step_engine.h"

using namespace Orvane;

namespace {

// The engine started in the tower, entered from the quay.
class Tower_engine : public Test::Fixed_step_engine {
  protected:
    Systems make_systems() override {
        Systems s = Fixed_step_engine::make_systems();
        s.file_io = std::make_shared<Test::Tower_file_io>(content());
        return s;
    }
};

// Plays a few frames, saves in the automatic slot and returns the save's text.
std::string save_of(Test::Fixed_step_engine& engine, const std::string& pref) {
    if (!engine.start_up(ORVANE_SAMPLE_DATA))
        return {};
    for (int frame = 1; frame <= 30; ++frame) {
        engine.clock.at_frame(frame);
        engine.run();
    }
    Content& c = engine.content();
    c.set<Component::Simple<std::string>>("Player", "name", "mara");
    c.set<Component::Simple<std::string>>("Savegame", "id", "auto");
    c.emit("Game", "save");
    engine.clock.at_frame(31);
    engine.run();
    engine.tear_down();
    std::ifstream in(pref + "save_auto.yaml", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

} // namespace

int main(int argc, char** argv) {
    const auto seeds = Fuzz::seed_folder(argc, argv);
    if (!seeds)
        return 2;
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::ofstream(seeds->pref + "config.yaml") << "fullscreen: false\nwindow: [320, 180]\n";

    std::string quay;
    {
        Test::Fixed_step_engine engine;
        quay = save_of(engine, seeds->pref);
    }
    std::string tower;
    {
        Tower_engine engine;
        tower = save_of(engine, seeds->pref);
    }
    std::filesystem::remove_all(seeds->folder / "home");
    if (quay.empty() || tower.empty())
        return 1;
    write(seeds->folder / "save_quay.yaml", quay);
    write(seeds->folder / "save_tower.yaml", tower);

    auto replaced = [&quay](const std::string& line, const std::string& by) {
        std::string text = quay;
        const std::size_t at = text.find(line);
        return at == std::string::npos ? text + by + "\n" : text.replace(at, line.size(), by);
    };
    auto with = [&quay](const std::string& section, const std::string& entries) {
        std::string text = quay;
        const std::size_t at = text.find("\n" + section + ":\n");
        return at == std::string::npos ? text
                                       : text.insert(at + section.size() + 3, entries);
    };
    const std::vector<std::string> cases = {
        replaced("player: \"mara\"", "player: \"\""),
        replaced("player: \"mara\"", "player: \"nobody\""),
        replaced("player: \"mara\"", "player: \"Game\""),
        replaced("follower: \"pip\"", "follower: \"nobody\""),
        replaced("follower: \"pip\"", "follower: \"ferran\""),
        with("characters", "  - { id: \"mara\", value: true, animation: \"nosuch\" }\n"),
        with("characters", "  - { id: \"mara\", value: true, animation: \"\" }\n"),
        with("characters", "  - { id: \"mara\", value: true, animation: \"sitting\" }\n"),
        quay + "phone_numbers:\n  - \"0612345678\"\n",
        with("integers", "  - { id: \"coins\", value: 2147483647 }\n"),
        with("integers", "  - { id: \"coins\", value: -2147483648 }\n"),
        replaced("date: ", "date: 99999999999999999999\nold_date: "),
    };
    Fuzz::write_broken_seeds(seeds->folder, cases);
    return 0;
}
