#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/File_IO__readers_fixture.h"

namespace Orvane::Test {
namespace {

using Component::Collision_type;
using Component::Image;

// ---- Rooms

TEST_F(Room_reader, ReadsTheRoomInWalkOrderWithACallbackBetweenSteps) {
    // actions listed first, and an action item sharing the lamp's id with another first state
    pack({{"rooms/quay", R"(name: The quay
actions:
  - id: lamp
    states:
      - {id: off, effect: []}
objects:
  - lamp
  - id: door
    name: Door
    coordinates: [10, 20, 30]
    box_collision: true
    view: [1, 2]
    states: []
sounds: [bell]
background: quay
ground_map: quay_map
front_z: 1000
back_z: 100
)"},
          {"objects/lamp", R"(name: Lamp
coordinates: [1, 2, 3]
box_collision: true
view: [0, 0]
states:
  - {id: lit, skin: lamp}
)"},
          {"sounds/bell", "sound: bell\n"}});
    content.emit("Player", "not_moved_yet");
    file_io.read_room("quay");

    EXPECT_EQ(callbacks, 5 + 4) << "five steps and four items";
    EXPECT_EQ(string_of("Game", "current_room"), "quay");
    EXPECT_EQ(string_of("Game", "current_room_name"), "The quay");
    auto background = content.get<Image>("background", "image");
    EXPECT_EQ(background->z(), 0);
    EXPECT_EQ(background->collision(), Collision_type::BOX);
    auto position = content.get<Component::Position>("background", "position");
    EXPECT_EQ(position->value(), Point(0, 0));
    EXPECT_FALSE(position->is_interface());
    EXPECT_TRUE(content.request<Component::Ground_map>("background", "ground_map"));
    EXPECT_FALSE(content.request<Component::Ground_map>("background", "2nd_ground_map"));
    EXPECT_TRUE(content.signal("Player", "not_moved_yet"));
    EXPECT_TRUE(content.signal("Game", "in_new_room"));
    EXPECT_TRUE(content.signal("Window", "rescaled"));
    EXPECT_TRUE(content.request<Component::Sound>("bell", "sound"));
    EXPECT_EQ(string_of("door", "name"), "Door") << "an inline object";

    // objects before actions: the object's first state wins, unaltered
    auto state = content.get<Component::Simple<std::string>>("lamp", "state");
    EXPECT_EQ(state->value(), "lit");
    EXPECT_FALSE(state->was_altered());
}

TEST_F(Room_reader, GroundMapForms) {
    struct Case {
        const char* ground_map;
        bool first;
        bool second;
        bool not_moved_yet;
    };
    const Case cases[] = {
        {"ground_map: quay_map\n", true, false, true},
        {"ground_map: [quay_map, tower_map]\n", true, true, true},
        {"ground_map: [quay_map, quay_map]\n", true, true, true},
        {"ground_map: [\"null\", tower_map]\n", false, true, false},
        {"", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ground_map);
        // the previous case's maps must not survive the room change
        pack({{"rooms/tower",
               std::string("name: Tower\nfront_z: 900\nback_z: 90\n") + c.ground_map}});
        // a room without ground map clears the signal left by an earlier one
        content.receive("Player", "not_moved_yet");
        if (std::string(c.ground_map).empty())
            content.emit("Player", "not_moved_yet");
        file_io.read_room("tower");
        auto first = content.request<Component::Ground_map>("background", "ground_map");
        auto second = content.request<Component::Ground_map>("background", "2nd_ground_map");
        EXPECT_EQ(static_cast<bool>(first), c.first);
        EXPECT_EQ(static_cast<bool>(second), c.second);
        if (second) {
            EXPECT_EQ(second->front_z(), 900);
            EXPECT_EQ(second->back_z(), 90);
            EXPECT_EQ(second->component(), "2nd_ground_map");
        }
        // one picture read once still gives two maps, so a search on one leaves the other be
        if (first && second) {
            EXPECT_NE(first, second);
        }
        EXPECT_EQ(content.signal("Player", "not_moved_yet"), c.not_moved_yet);
    }
}

TEST_F(Room_reader, InventoryAndPhoneReloads) {
    const std::string object = "name: N\ncoordinates: [1, 2, 3]\nbox_collision: true\n"
                               "view: [0, 0]\nstates: []\n";
    pack({{"rooms/quay", "name: Quay\n"},
          {"objects/key", object},
          {"objects/coin", object},
          {"actions/0612", "effect:\n  - talk: [Player, Hello]\n"},
          {"actions/0699", "effect:\n  - talk: [Player, Bye]\n"}});
    file_io.read_item_file("objects", "key");
    file_io.read_item_file("objects", "coin");
    content.emit("coin", "is_global");
    content.get<Component::Inventory>("Game", "inventory")->add("key");
    content.get<Component::Inventory>("Game", "inventory")->add("coin");
    content.set<Component::Vector<std::string>>("phone_numbers", "list",
                                                std::vector<std::string>{"0612", "0699"});
    // a phone action kept from before is not read again
    auto kept = content.set<Component::Action>("0699", "action");
    content.get<Component::Simple<std::string>>("coin", "name")->set("Kept");

    file_io.read_room("quay");
    EXPECT_EQ(callbacks, 5 + 1 + 1) << "one object and one phone action read again";
    EXPECT_EQ(string_of("key", "name"), "N") << "a room-local object is read again";
    EXPECT_EQ(string_of("coin", "name"), "Kept") << "a global object is not";
    EXPECT_EQ(steps_of(content.get<Component::Action>("0612", "action")),
              std::vector<std::string>{"talk:[Player, Hello]"});
    EXPECT_EQ(content.get<Component::Action>("0699", "action"), kept);
}

// ---- Small items

TEST_F(Room_reader, IntegerKeepsItsValueAndRebuildsItsTriggers) {
    const std::string text = R"(value: 2
triggers:
  - value: "3"
    effect:
      - set: [door, open]
      - play: [bell]
)";
    read("integers", "count", text);
    auto value = content.get<Component::Simple<int>>("count", "value");
    EXPECT_EQ(value->value(), 2);
    EXPECT_FALSE(value->was_altered());
    auto first = content.get<Component::Action>("count", "3");
    EXPECT_EQ(steps_of(first), (std::vector<std::string>{"set:[door, open]", "play:[bell]"}));

    value->set(5);
    file_io.read_item_file("integers", "count");
    EXPECT_EQ(content.get<Component::Simple<int>>("count", "value")->value(), 5);
    EXPECT_NE(content.get<Component::Action>("count", "3"), first) << "a fresh trigger";
}

TEST_F(Room_reader, MusicSourcesAndThePlayingMusic) {
    const std::string text = R"(tracks: [sea, gulls]
sources:
  - {id: everywhere, mix: [1, 0.5, 9], coordinates: [5, 5]}
  - {id: harbour, mix: [0.25, 1], coordinates: [100, 200], radius: [10, 50]}
)";
    read("musics", "harbour", text);
    auto music = content.get<Component::Music>("harbour", "music");
    ASSERT_EQ(music->tracks(), 2u);
    const auto& sources = music->sources();
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_TRUE(sources.at("everywhere").position.is_invalid()) << "no radius: a general source";
    EXPECT_EQ(sources.at("harbour").position, Point(100, 200));

    // the music playing is the one kept, with its state
    content.set<Component::Variable>("Game", "music", music);
    music->on() = true;
    file_io.read_item_file("musics", "harbour");
    EXPECT_EQ(content.get<Component::Music>("harbour", "music"), music);
    content.remove("Game", "music");
    file_io.read_item_file("musics", "harbour");
    EXPECT_NE(content.get<Component::Music>("harbour", "music"), music);
}

TEST_F(Room_reader, SoundTextAndWindow) {
    pack({{"sounds/bell", "sound: bell\n"},
          {"texts/plain", "text: Hello\n"},
          {"texts/shown", "text: Hello\ncoordinates: [100, 200, 7]\n"},
          {"windows/map", "skin: map\n"}});
    for (const auto& [kind, name] : std::vector<std::pair<std::string, std::string>>{
             {"sounds", "bell"}, {"texts", "plain"}, {"texts", "shown"}, {"windows", "map"}})
        file_io.read_item_file(kind, name);

    EXPECT_TRUE(content.request<Component::Sound>("bell", "sound"));
    EXPECT_EQ(string_of("plain", "text"), "Hello");
    EXPECT_FALSE(content.request<Image>("plain", "image"));

    auto text_image = content.get<Image>("shown", "image");
    EXPECT_EQ(text_image->z(), 7);
    EXPECT_FALSE(text_image->on());
    auto text_position = content.get<Component::Position>("shown", "position");
    EXPECT_EQ(text_position->value(), Point(100, 200));
    EXPECT_TRUE(text_position->is_interface());

    auto window = content.get<Image>("map", "image");
    EXPECT_EQ(window->z(), Config::INTERFACE_BACK);
    EXPECT_EQ(window->collision(), Collision_type::UNCLICKABLE);
    EXPECT_EQ(window->origin(), Point(50, 25));
    EXPECT_FALSE(window->on());
    auto window_position = content.get<Component::Position>("map", "position");
    EXPECT_EQ(window_position->value(), Point(960, 540));
    EXPECT_TRUE(window_position->is_interface());
}

// ---- Actions

TEST_F(Room_reader, ActionForms) {
    pack({{"actions/plain", "label: Plain\neffect:\n  - wait: [1]\n"},
          {"actions/by_state", R"(states:
  - {id: shut, effect: [{talk: [a]}]}
  - {id: open, effect: [{talk: [b]}]}
effect: [{talk: [ignored]}]
)"},
          {"actions/by_mode", R"(modes:
  - {id: Mouse, effect: [{click: []}]}
  - {id: Gamepad, effect: [{press: []}]}
)"}});
    for (const char* name : {"plain", "by_state", "by_mode"})
        file_io.read_item_file("actions", name);

    EXPECT_EQ(string_of("plain", "label"), "Plain");
    EXPECT_EQ(steps_of(content.get<Component::Action>("plain", "action")),
              std::vector<std::string>{"wait:[1]"});

    auto state = content.get<Component::Simple<std::string>>("by_state", "state");
    EXPECT_EQ(state->value(), "shut");
    EXPECT_TRUE(state->was_altered()) << "an action's first state is saved";
    EXPECT_EQ(steps_of(content.request<Component::Action>("by_state", "action")),
              std::vector<std::string>{"talk:[a]"});
    state->set("open");
    EXPECT_EQ(steps_of(content.request<Component::Action>("by_state", "action")),
              std::vector<std::string>{"talk:[b]"});

    auto mode = content.get<Component::Simple<Input_mode>>("Interface", "input_mode");
    EXPECT_EQ(steps_of(content.request<Component::Action>("by_mode", "action")),
              std::vector<std::string>{"click:[]"});
    mode->set(Input_mode::TOUCHSCREEN);
    EXPECT_FALSE(content.request<Component::Action>("by_mode", "action"));
    mode->set(Input_mode::GAMEPAD);
    EXPECT_EQ(steps_of(content.request<Component::Action>("by_mode", "action")),
              std::vector<std::string>{"press:[]"});
}

TEST_F(Room_reader, ActionsExpandFunctionCalls) {
    auto say = content.set<Component::Action>("Say_twice", "function");
    say->add("talk", {"Player", "ARG0"});
    say->add("talk", {"Player", "ARG0"});
    read("actions", "hello", "effect:\n  - look: []\n  - func: [say_twice, Hi]\n  - wait: [1]\n");
    EXPECT_EQ(steps_of(content.get<Component::Action>("hello", "action")),
              (std::vector<std::string>{"look:[]", "talk:[Player, Hi]", "talk:[Player, Hi]",
                                        "wait:[1]"}));
}

} // namespace
} // namespace Orvane::Test
