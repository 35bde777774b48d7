// The engine on the packed sample game (build/data), in this process and headless: it starts in
// the quay, goes to the tower and back to the quay through Game:new_room, set between frames as
// a "load" step would. After each load the store is checked for the room's items, for the global
// characters' pictures, and for a state set in the quay before leaving it.

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Code.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Dialog.h>
#include <Orvane/Component/Ground_map.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Engine.h>
#include <Orvane/System/Animation.h>
#include <Orvane/System/Control.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/System/Graphic.h>
#include <Orvane/System/Input.h>
#include <Orvane/System/Interface.h>
#include <Orvane/System/Logic.h>
#include <Orvane/System/Menu.h>
#include <Orvane/System/Sound.h>
#include <Orvane/System/Time.h>

#include "support/Manual_clock.h"
#include "support/Sample_data.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;
using Test::sample_data;
using State = Component::Simple<std::string>;
using By_state = Component::Simple_conditional<std::string>;

// The parts of a character that carry its pictures.
const char* const character_parts[] = {"_body", "_head", "_mouth"};

// What the store held right after one room load.
struct Loaded {
    std::string room;
    // the global characters' pictures, by part: kept across loads, the same components
    std::vector<std::shared_ptr<Component::Base>> globals;
};

// The real data-file system, checking the store after each room it reads.
class Checked_file_io : public System::File_IO {
  public:
    using File_IO::File_IO;
    void read_room(const std::string& id) override {
        File_IO::read_room(id);
        SCOPED_TRACE("after loading " + id + " (load " + std::to_string(loads.size() + 1) + ")");
        Loaded loaded{id, {}};
        check_globals(loaded);
        if (id == "quay")
            check_quay(loads.empty() ? "closed" : "open");
        else if (id == "tower")
            check_tower();
        else
            ADD_FAILURE() << "unexpected room " << id;
        loads.push_back(std::move(loaded));
    }
    std::vector<Loaded> loads;

  private:
    template <typename T> std::shared_ptr<T> has(const std::string& entity, const char* component) {
        auto c = m_content.request<T>(entity, component);
        EXPECT_TRUE(c) << entity << ":" << component;
        return c;
    }

    void check_globals(Loaded& loaded) {
        for (const char* character : {"mara", "pip"}) {
            has<Component::Group>(character, "group");
            for (const char* part : character_parts) {
                const std::string entity = std::string(character) + part;
                auto image = m_content.request<Component::Base>(entity, "image");
                EXPECT_TRUE(image) << entity << ":image";
                loaded.globals.push_back(image);
            }
            has<Component::Animation>(std::string(character) + "_head", "image");
            has<Component::Animation>(std::string(character) + "_mouth", "image");
        }
    }

    // The picture and both ground maps, the second read on its own even when it names the
    // same picture as the first.
    void check_background() {
        has<Component::Image>("background", "image");
        auto first = has<Component::Ground_map>("background", "ground_map");
        auto second = has<Component::Ground_map>("background", "2nd_ground_map");
        EXPECT_NE(first, second);
    }

    // `door`: the door's state, set to "open" in the quay before going to the tower.
    void check_quay(const std::string& door) {
        EXPECT_EQ(m_content.get<State>("Game", "current_room_name")->value(), "The quay");
        check_background();

        // Ferran: his sheets, grouped, and his dialog.
        has<Component::Group>("ferran", "group");
        has<Component::Animation>("ferran_head", "image");
        has<Component::Animation>("ferran_mouth", "image");
        has<Component::Base>("ferran_body", "image");
        has<Component::Dialog>("ferran", "dialog");

        // The music: a general source and a positional one.
        if (auto music = has<Component::Music>("quay_music", "music")) {
            const auto& sources = music->sources();
            ASSERT_EQ(sources.size(), 2u);
            ASSERT_EQ(sources.count("harbour"), 1u);
            ASSERT_EQ(sources.count("bench"), 1u);
            EXPECT_EQ(sources.at("harbour").big_radius, 0);
            EXPECT_EQ(sources.at("bench").big_radius, 900);
        }

        // Objects (the door's look by state), an inline object, inline scenery, actions.
        for (const char* object :
             {"rope", "purse", "hook", "grapnel", "crate", "key", "tower_door", "tower_entrance"})
            has<State>(object, "state");
        if (auto state = has<State>("tower_door", "state")) {
            EXPECT_EQ(state->value(), door);
        }
        has<By_state>("tower_door_look", "action");
        has<By_state>("floating_crate", "image");
        for (const char* action : {"ferran_end", "ferran_pays", "learn_harbour", "start",
                                   "from_tower", "quay_save", "quay_test", "controls_hint"})
            has<Component::Base>(action, "action");
        has<Component::Simple_conditional<Input_mode>>("controls_hint", "action");

        // Nothing of the tower.
        EXPECT_FALSE(m_content.request<Component::Base>("shapes_lock", "code"));
        EXPECT_FALSE(m_content.request<Component::Base>("tower_exit", "name"));
    }

    void check_tower() {
        EXPECT_EQ(m_content.get<State>("Game", "current_room_name")->value(), "The lighthouse");
        check_background();

        // The code: its four buttons, found by hovering their centres in the window picture.
        if (auto code = has<Component::Code>("shapes_lock", "code")) {
            for (int x : {30, 230, 430, 630}) {
                SCOPED_TRACE("button at x = " + std::to_string(x));
                EXPECT_TRUE(code->hover(x + 80, 360));
                EXPECT_EQ(code->xmin(), x);
                EXPECT_EQ(code->xmax(), x + 160);
            }
            EXPECT_FALSE(code->hover(210, 360)) << "between two buttons";
        }
        has<By_state>("shapes_lock", "image");
        has<By_state>("shapes_lock_button", "image");
        has<Component::Action>("shapes_lock", "action");

        if (auto music = has<Component::Music>("tower_music", "music")) {
            EXPECT_EQ(music->sources().size(), 1u);
            EXPECT_EQ(music->sources().count("inside"), 1u);
        }
        for (const char* object : {"tower_exit", "note", "code_box", "hatch", "lamp"})
            has<State>(object, "state");
        for (const char* action : {"lamp_ending", "from_quay", "tower_save", "tower_test"})
            has<Component::Action>(action, "action");
        has<Component::Base>("note_sheet", "image");
        has<Component::Base>("lamp_beam", "image");

        // The quay's characters and dialog are gone; its states stay.
        EXPECT_FALSE(m_content.request<Component::Base>("ferran", "group"));
        EXPECT_FALSE(m_content.request<Component::Base>("ferran_head", "image"));
        EXPECT_FALSE(m_content.request<Component::Base>("ferran", "dialog"));
        EXPECT_FALSE(m_content.request<Component::Base>("tower_door_look", "action"));
        if (auto door = has<State>("tower_door", "state")) {
            EXPECT_EQ(door->value(), "open");
        }
    }
};

// The real game logic, and, as a stand-in for the player and the scripts, the room changes:
// at frame 10 the quay's door is opened and the tower asked for, at 20 the quay, at 30 quit.
class Travelling_logic : public System::Logic {
  public:
    using Logic::Logic;
    void run() override {
        Logic::run();
        ++frames;
        if (frames == 10) {
            m_content.get<State>("tower_door", "state")->set("open");
            go("tower", "from_quay");
        } else if (frames == 20) {
            go("quay", "from_tower");
        } else if (frames == 30) {
            m_content.emit("Game", "exit");
        }
    }
    int frames = 0;

  private:
    void go(const char* room, const char* origin) {
        m_content.set<State>("Game", "new_room", room);
        m_content.set<State>("Game", "new_room_origin", origin);
    }
};

class Rooms_engine : public Engine {
  public:
    explicit Rooms_engine(std::vector<const char*> args)
        : Engine(static_cast<int>(args.size()), const_cast<char**>(args.data())) {
        set_clock(clock.source(), clock.sleeper());
    }

    Orvane::Test::Manual_clock clock;
    std::shared_ptr<Checked_file_io> file_io;
    std::shared_ptr<Travelling_logic> logic;

  protected:
    Systems make_systems() override {
        Systems s = Engine::make_systems();
        s.file_io = file_io = std::make_shared<Checked_file_io>(content());
        s.logic = logic = std::make_shared<Travelling_logic>(content());
        return s;
    }
};

TEST(EngineRoomsTest, QuayTowerAndQuayAgainLoadWithTheirItems) {
    const Orvane::Test::Temp_pref_folder pref;
    ASSERT_FALSE(sample_data().empty()) << "ORVANE_BUILD_DIR is not set: run through ctest";
    Rooms_engine engine({"orvane", "--locale", "en_US"});
    EXPECT_TRUE(engine.run(sample_data()));
    EXPECT_EQ(engine.logic->frames, 30);

    const auto& loads = engine.file_io->loads;
    ASSERT_EQ(loads.size(), 3u);
    EXPECT_EQ(loads[0].room, "quay");
    EXPECT_EQ(loads[1].room, "tower");
    EXPECT_EQ(loads[2].room, "quay");

    // The global characters keep the very same picture components from room to room.
    for (std::size_t i = 1; i < loads.size(); ++i)
        EXPECT_EQ(loads[i].globals, loads[0].globals) << "load " << i + 1;
}

} // namespace
