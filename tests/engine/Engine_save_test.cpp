// A game saved in the sample game's quay and resumed at the next start: two runs of the engine
// in this process over one temporary per-user folder. Between frames, test code stands in for
// the scripts and writes to the store what they would.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Engine.h>
#include <Orvane/Keys.h>

#include "support/Manual_clock.h"
#include "support/Sample_data.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;
using Test::sample_data;
using State = Component::Simple<std::string>;
using Info = Component::Tuple<std::string, double, std::int64_t>;

class Clocked_engine : public Engine {
  public:
    Clocked_engine() : Engine(1, const_cast<char**>(m_args)) {
        set_clock(clock.source(), clock.sleeper());
    }
    /// Runs `count` frames, one 60th of a second apart; false when the game ended in one.
    bool run_frames(int count) {
        for (int i = 0; i < count; ++i) {
            clock.at_frame(++m_frame);
            if (!run())
                return false;
        }
        return true;
    }

    Orvane::Test::Manual_clock clock;

  private:
    const char* m_args[2] = {"orvane", nullptr};
    int m_frame = 0;
};

std::string value_of(Content& c, const char* e, const char* n) {
    auto s = c.request<State>(e, n);
    return s ? s->value() : "<none>";
}

TEST(EngineSaveTest, AGameSavedInTheQuayResumesThereAtTheNextStart) {
    const Orvane::Test::Temp_pref_folder pref;
    ASSERT_FALSE(sample_data().empty()) << "ORVANE_BUILD_DIR is not set: run through ctest";

    {
        Clocked_engine engine;
        ASSERT_TRUE(engine.start_up(sample_data()));
        ASSERT_TRUE(engine.run_frames(3));
        Content& c = engine.content();
        ASSERT_EQ(value_of(c, "Game", "current_room"), "quay");

        // the scripts: the player is mara, she walks, opens the door, takes the rope; then
        // "save" and "exit"
        c.set<State>("Player", "name", "mara");
        c.get<Component::Position>("mara", "position")->set(Point(1500, 800));
        c.get<State>("tower_door", "state")->set("open");
        c.get<State>("rope", "state")->set("inventory_rope");
        c.get<Component::Inventory>("Game", "inventory")->add("rope");
        c.set<State>(Key::savegame_id, "auto");
        c.emit("Game", "save");
        c.emit("Game", "exit");
        EXPECT_FALSE(engine.run_frames(1));
        engine.tear_down();
    }
    const std::string save = pref.read("save_auto.yaml");
    ASSERT_FALSE(save.empty()) << "no save in " << pref.pref_path();

    Clocked_engine engine;
    ASSERT_TRUE(engine.start_up(sample_data()));
    Content& c = engine.content();
    // start-up chose the save, before any frame
    EXPECT_EQ(value_of(c, "Game", "new_room"), "quay");
    EXPECT_EQ(value_of(c, "Game", "new_room_origin"), "Saved_game");
    ASSERT_TRUE(c.request<Info>("Save_auto", "info"));
    std::vector<std::string> steps;
    for (const auto& step : *c.get<Component::Action>("Saved_game", "action"))
        steps.push_back(step.to_string());
    // the quay's music comes back first, then the screen fades in
    ASSERT_GE(steps.size(), 2U);
    EXPECT_EQ(steps[0], "play:[quay_music, 0.5]") << save;
    EXPECT_EQ(steps[1], "fadein:[0.5]") << save;
    bool moved = false;
    for (const std::string& step : steps)
        moved = moved || step == "move:[mara, 1500, 800, true]" ||
                step == "move:[mara, 1500, 800, false]";
    EXPECT_TRUE(moved) << save;

    ASSERT_TRUE(engine.run_frames(1));
    EXPECT_EQ(value_of(c, "Game", "current_room"), "quay");
    EXPECT_EQ(value_of(c, "tower_door", "state"), "open");
    EXPECT_EQ(value_of(c, "rope", "state"), "inventory_rope");
    EXPECT_EQ(c.get<Component::Inventory>("Game", "inventory")->data(),
              std::vector<std::string>{"rope"});
    EXPECT_EQ(c.get<Component::Position>("mara", "position")->value(), Point(1500, 800));
    EXPECT_EQ(value_of(c, "Player", "name"), "mara");
    engine.tear_down();
}

// A per-user folder that takes no file (here a directory in the place of each): the save of a
// frame and the settings at quit are warned about, nothing is reported saved, and the game
// still quits with status 0.
TEST(EngineSaveDeathTest, AQuitWhoseFilesCannotBeWrittenStillEndsWithStatusZero) {
    const Orvane::Test::Temp_pref_folder pref;
    ASSERT_FALSE(sample_data().empty()) << "ORVANE_BUILD_DIR is not set: run through ctest";
    for (const char* name : {"config.yaml", "save_auto.yaml"})
        std::filesystem::create_directory(pref.pref_path() + name);
    EXPECT_EXIT(
        {
            Clocked_engine engine;
            if (!engine.start_up(sample_data()) || !engine.run_frames(3))
                std::exit(2);
            Content& c = engine.content();
            c.set<State>("Savegame", "id", "auto");
            c.emit("Game", "save");
            if (!engine.run_frames(1))
                std::exit(3);
            if (c.request<Info>("Save_auto", "info"))
                std::exit(4); // reported as saved
            c.set<State>("Savegame", "id", "auto");
            c.emit("Game", "save");
            c.emit("Game", "exit");
            if (engine.run_frames(1))
                std::exit(5);
            engine.tear_down();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0),
        "save_auto.yaml is a directory.*Warning: Can't write save_auto.yaml: cannot replace .*"
        "Warning: Can't write config.yaml: cannot replace ");
    for (const char* name : {"config.yaml", "save_auto.yaml"})
        EXPECT_TRUE(std::filesystem::is_directory(pref.pref_path() + name)) << name;
}

} // namespace
