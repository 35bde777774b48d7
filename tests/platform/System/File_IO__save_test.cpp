#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <Orvane/Component/Music.h>
#include <Orvane/Keys.h>
#include <Orvane/Utils/error.h>

#include "support/File_IO__readers_fixture.h"
#include "support/Save_store.h"

namespace Orvane::Test {
namespace {

using Info = Component::Tuple<std::string, double, std::int64_t>;
using Steps = std::vector<std::string>;

// The data system with the start-up scan reachable.
class Save_file_io : public System::File_IO {
  public:
    using File_IO::File_IO;
    using File_IO::read_savefiles;
};

// What the engine files before any system runs, and the clock of the time system.
void fixed_components(Content& c) {
    save_components(c);
    c.set_fac<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE,
                                             "Interface", "input_mode", Input_mode::MOUSE);
    c.set<Component::Action>("Logic", "action");
}

// A game in progress in the quay, played 75.5 s (10 saved + 70.5 now - 5 in menus).
void playing(Content& c) {
    c.get<Component::Simple<double>>("Clock", "saved_time")->set(10);
    c.get<Component::Simple<double>>("Clock", "time")->set(70.5);
    c.get<Component::Simple<double>>("Clock", "discounted_time")->set(5);
    c.set<Component::Simple<std::string>>("Game", "current_room", "quay");
    c.set<Component::Simple<std::string>>("Game", "current_room_name", "The quay");
    c.set<Component::Simple<std::string>>("Player", "name", "mara");
}

const std::string odd_text = "say \"hi\", then\nleave }";

const std::string object_file =
    "name: Thing\ncoordinates: [1, 2, 3]\nbox_collision: true\nview: [0, 0]\nstates: []\n";

// The players the slot-scan cases tell their saves apart by.
const char* const scan_players[] = {"pauto", "p1", "p2", "p3", "p4", "p5"};

// The rooms, objects, characters, actions and pictures that saves in these tests name. The
// global characters walk; Ferran, in the tower alone, does not.
const Files save_files = [] {
    Files files = {
        {"rooms/quay", "name: The quay\nbackground: quay\nground_map: quay_map\nfront_z: 1000\n"
                       "back_z: 100\n"},
        {"rooms/tower", "name: The tower\nbackground: quay\nground_map: quay_map\n"
                        "front_z: 1000\nback_z: 100\ncharacters: [ferran]\n"},
        {"init", "characters: [mara, pip, pauto, p1, p2, p3, p4, p5]\n"},
        {"characters/mara", character_file(true, "[default, wave, hands_on_hips]")},
        {"characters/pip", character_file()},
        {"characters/ferran", character_file(false, "[sitting]")},
        {"actions/0612345678", "effect: []\n"},
        {"actions/555", "effect: []\n"},
        {"objects/rope", object_file},
        {"objects/key", object_file},
        {"objects/" + odd_text, object_file},
    };
    for (const char* player : scan_players)
        files["characters/" + std::string(player)] = character_file();
    return files;
}();

// A save written by hand: every required key, and `extra` lines at the end.
std::string save_text(const std::string& date, const std::string& room, const std::string& player,
                      const std::string& extra = "") {
    return (date.empty() ? "" : "date: " + date + "\n") + "time: 12.500000\nroom: \"" + room +
           "\"\nplayer: \"" + player +
           "\"\ncamera: 0.000000\ninventory:\nmusic_positions:\ncharacters:\nstates:\n"
           "signals:\npositions:\nintegers:\nhidden:\nactive_animations:\n" +
           extra;
}

// A skinned character: a group and a head animation facing right (row 0) or left (row 1),
// and a body animation switched on.
void character(Content& c, const std::string& id, bool right) {
    c.set<Component::Group>(id, "group");
    auto head = c.set<Component::Animation>(id + "_head", "image",
                                            "images/characters/mara_head.png", 10, 2, 2, true);
    head->frames().front().y = right ? 0 : 1;
    c.set<Component::Animation>(id + "_body", "image", "images/characters/mara_walk.png", 10, 2, 2,
                                true);
}

// `text` with `entries` (whole lines) put at the start of the section `section`.
std::string with(std::string text, const std::string& section, const std::string& entries) {
    const std::size_t at = text.find("\n" + section + ":\n");
    text.insert(at + section.size() + 3, entries);
    return text;
}

class Save_test : public Room_reader {
  protected:
    void SetUp() override {
        Room_reader::SetUp();
        fixed_components(content);
        pack(save_files);
    }

    // Writes the save of `from` in slot "auto", then reads it into a fresh store: the steps of
    // Saved_game:action there.
    Steps round_trip(Content& from, Content& to) {
        from.set<Component::Simple<std::string>>(Key::savegame_id, "auto");
        System::File_IO writer(from);
        writer.write_savefile();
        System::File_IO reader(to);
        ::testing::internal::CaptureStderr();
        const bool read = reader.read_savefile("auto");
        const std::string warnings = ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(read) << warnings << pref.read("save_auto.yaml");
        return steps_of(to.request<Component::Action>("Saved_game", "action"));
    }
};

// ---- Round trip: store, write, fresh store, read

struct Kind {
    const char* name;
    std::function<void(Content&)> set_up;
    std::function<void(Content&, const Steps&)> check;
};

bool altered(Content& c, const char* e, const char* n) {
    auto component = c.request<Component::Base>(e, n);
    return component && component->was_altered();
}

std::string text_of(Content& c, const std::string& e, const std::string& n) {
    auto s = c.request<Component::Simple<std::string>>(e, n);
    return s ? s->value() : "<none>";
}

const std::vector<Kind> kinds = {
    {"an altered state",
     [](Content& c) {
         c.set<Component::Simple<std::string>>("door", "state", "closed")->set("open");
     },
     [](Content& c, const Steps&) {
         EXPECT_EQ(text_of(c, "door", "state"), "open");
         EXPECT_TRUE(altered(c, "door", "state"));
     }},
    {"a pending state change wins over the state",
     [](Content& c) {
         c.set<Component::Simple<std::string>>("lamp", "state", "off");
         c.set<Component::Simple<std::string>>("lamp", "set_state", "lit");
     },
     [](Content& c, const Steps&) { EXPECT_EQ(text_of(c, "lamp", "state"), "lit"); }},
    {"an unaltered state is not saved",
     [](Content& c) { c.set<Component::Simple<std::string>>("crate", "state", "floating"); },
     [](Content& c, const Steps&) { EXPECT_EQ(text_of(c, "crate", "state"), "<none>"); }},
    {"a state with quotes, a line break, a comma and a brace",
     [](Content& c) { c.set<Component::Simple<std::string>>("note", "state", "")->set(odd_text); },
     [](Content& c, const Steps&) { EXPECT_EQ(text_of(c, "note", "state"), odd_text); }},
    {"a position rounded half away from zero",
     [](Content& c) {
         c.set<Component::Absolute_position>("box", "position", Point(0, 0))
             ->set(Point(123.5, -7.5));
     },
     [](Content& c, const Steps& steps) {
         auto p = c.get<Component::Absolute_position>("box", "position");
         EXPECT_EQ(p->value(), Point(124, -8));
         EXPECT_TRUE(p->was_altered());
         EXPECT_FALSE(p->is_interface());
         EXPECT_EQ(steps, Steps{"fadein:[0.5]"}) << "box is no character";
     }},
    {"a character with a fixed, rescaled depth",
     [](Content& c) {
         character(c, "mara", true);
         c.set<Component::Absolute_position>("mara", "position", Point(0, 0))->set(Point(300, 700));
         c.set<Component::Simple<int>>("mara", "z", 40);
         c.emit("mara", "z_rescaled");
     },
     [](Content& c, const Steps& steps) {
         EXPECT_EQ(c.get<Component::Position>("mara", "position")->value(), Point(300, 700));
         EXPECT_EQ(steps, (Steps{"fadein:[0.5]", "move:[mara, 300, 700, +40, true]"}));
     }},
    {"integers",
     [](Content& c) {
         c.set<Component::Simple<int>>("coins", "value", 0)->set(7);
         c.set<Component::Simple<int>>("tide", "value", 3); // unaltered: not saved
     },
     [](Content& c, const Steps&) {
         EXPECT_EQ(c.get<Component::Simple<int>>("coins", "value")->value(), 7);
         EXPECT_TRUE(altered(c, "coins", "value"));
         EXPECT_FALSE(c.request<Component::Simple<int>>("tide", "value"));
     }},
    {"signals",
     [](Content& c) {
         c.emit("rope_carried", "signal");
         c.emit("Game", "signal"); // a system entity's signal is not saved
     },
     [](Content& c, const Steps&) {
         EXPECT_TRUE(c.signal("rope_carried", "signal"));
         EXPECT_FALSE(c.signal("Game", "signal"));
     }},
    {"the inventory in its order, with an item named with quotes and a line break",
     [](Content& c) {
         auto inventory = c.get<Component::Inventory>("Game", "inventory");
         inventory->add("rope");
         inventory->add(odd_text);
         inventory->add("key");
     },
     [](Content& c, const Steps&) {
         EXPECT_EQ(c.get<Component::Inventory>("Game", "inventory")->data(),
                   (Steps{"rope", odd_text, "key"}));
     }},
    {"phone numbers",
     [](Content& c) {
         c.set<Component::Vector<std::string>>("phone_numbers", "list", Steps{"0612345678", "555"});
     },
     [](Content& c, const Steps&) {
         EXPECT_EQ(c.get<Component::Vector<std::string>>("phone_numbers", "list")->value(),
                   (Steps{"0612345678", "555"}));
     }},
    {"the follower",
     [](Content& c) { c.set<Component::Simple<std::string>>("Follower", "name", "pip"); },
     [](Content& c, const Steps&) { EXPECT_EQ(text_of(c, "Follower", "name"), "pip"); }},
    {"camera and play time",
     [](Content& c) { c.get<Component::Position>("Camera", "position")->set(Point(-12.25, 40)); },
     [](Content& c, const Steps&) {
         EXPECT_EQ(c.get<Component::Position>("Camera", "position")->value(), Point(-12.25, 0));
         auto saved = c.get<Component::Simple<double>>("Clock", "saved_time");
         EXPECT_EQ(saved->value(), 75.5);
         EXPECT_TRUE(saved->was_altered());
         EXPECT_EQ(text_of(c, "Game", "new_room"), "quay");
         EXPECT_EQ(text_of(c, "Game", "new_room_origin"), "Saved_game");
         EXPECT_EQ(text_of(c, "Player", "name"), "mara");
         EXPECT_FALSE(c.request<Component::Base>("Follower", "name"));
         EXPECT_FALSE(c.request<Component::Base>("phone_numbers", "list"));
     }},
    {"music with two disabled sources",
     [](Content& c) {
         auto music = c.set<Component::Music>("quay_music", "music");
         for (const char* source : {"sea", "gulls", "bell"})
             music->add_source(source, {1.0}, 0, 0, 0, 0);
         music->disable_source("sea", 0, 0);
         music->disable_source("gulls", 0, 0);
         c.set<Component::Variable>("Game", "music", music);
     },
     [](Content&, const Steps& steps) {
         ASSERT_EQ(steps.size(), 4u);
         EXPECT_EQ(std::set<std::string>(steps.begin(), steps.begin() + 2),
                   (std::set<std::string>{"fadeout:[quay_music, sea, 0]",
                                          "fadeout:[quay_music, gulls, 0]"}));
         EXPECT_EQ(steps[2], "play:[quay_music, 0.5]");
         EXPECT_EQ(steps[3], "fadein:[0.5]");
     }},
    {"a resume point of a system entity",
     [](Content& c) { c.set<Component::Simple<double>>("Quay_music", "resume_at", 12.25); },
     [](Content& c, const Steps&) {
         EXPECT_EQ(c.get<Component::Simple<double>>("Quay_music", "resume_at")->value(), 12.25);
     }},
    {"the dialog and its position",
     [](Content& c) {
         c.set<Component::Simple<std::string>>("Game", "current_dialog", "ferran");
         c.set<Component::Simple<int>>("Game", "dialog_position", 3);
     },
     [](Content& c, const Steps& steps) {
         EXPECT_EQ(steps, (Steps{"fadein:[0.5]", "trigger:[ferran]"}));
         EXPECT_EQ(c.get<Component::Simple<int>>("Saved_game", "dialog_position")->value(), 3);
     }},
    {"achievements",
     [](Content& c) {
         c.set<Component::Vector<std::string>>("Achievements", "list",
                                               Steps{"first", "second", "third"});
         c.emit("first", "done");
         c.emit("first", "stored");
         c.emit("second", "done");
     },
     [](Content& c, const Steps&) {
         EXPECT_TRUE(c.signal("first", "done"));
         EXPECT_TRUE(c.signal("first", "stored"));
         EXPECT_TRUE(c.signal("second", "done"));
         EXPECT_FALSE(c.signal("second", "stored"));
         EXPECT_FALSE(c.signal("third", "done"));
     }},
    {"characters facing right and left, with an animation and with \"action\"",
     [](Content& c) {
         character(c, "mara", true);
         character(c, "pip", false);
         c.set<Component::Simple<std::string>>("mara", "animation", "wave");
         c.set<Component::Simple<std::string>>("pip", "animation", "action");
         c.set<Component::Absolute_position>("mara", "position", Point(0, 0))->set(Point(1, 2));
         c.set<Component::Absolute_position>("pip", "position", Point(0, 0))->set(Point(3, 4));
     },
     [](Content&, const Steps& steps) {
         EXPECT_EQ(std::set<std::string>(steps.begin(), steps.end()),
                   (std::set<std::string>{"fadein:[0.5]", "move:[mara, 1, 2, true]",
                                          "play:[mara, wave, -1]", "move:[pip, 3, 4, false]"}));
     }},
    {"hidden characters, a pending show winning",
     [](Content& c) {
         character(c, "ferran", true);
         character(c, "pip", true);
         c.get<Component::Animation>("ferran_body", "image")->on() = false;
         c.get<Component::Animation>("pip_body", "image")->on() = false;
         c.emit("pip", "set_visible");
         c.emit("gull", "set_hidden");
     },
     [](Content&, const Steps& steps) {
         EXPECT_EQ(steps, (Steps{"fadein:[0.5]", "hide:[ferran]", "hide:[gull]"}));
     }},
    {"active animations: only those a script started",
     [](Content& c) {
         c.set<Component::Animation>("gulls", "image", "images/animations/gull.png", 10, 4, 1,
                                     true);
         c.set<Component::Simple<std::string>>("gulls", "state", "Dummy");
         c.set<Component::Animation>("waves", "image", "images/animations/gull.png", 10, 4, 1,
                                     true);
         c.set<Component::Simple<std::string>>("waves", "state", "idle");
     },
     [](Content&, const Steps& steps) {
         EXPECT_EQ(steps, (Steps{"fadein:[0.5]", "play:[gulls]"}));
     }},
};

TEST_F(Save_test, EachKindOfComponentSurvivesAWriteAndARead) {
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        Content from;
        fixed_components(from);
        playing(from);
        kind.set_up(from);
        Content to;
        fixed_components(to);
        const Steps steps = round_trip(from, to);
        kind.check(to, steps);
        EXPECT_FALSE(from.request<Component::Base>(Key::savegame_id));
        EXPECT_TRUE(from.signal("Saves", "have_changed"));
        auto info = from.get<Info>("Save_auto", "info");
        EXPECT_EQ(std::get<0>(info->value()), "The quay");
        EXPECT_EQ(std::get<1>(info->value()), 75.5);
    }
}

// The sections of a save: each top-level line with the set of its entries.
std::map<std::string, std::multiset<std::string>> sections(const std::string& text) {
    std::map<std::string, std::multiset<std::string>> out;
    std::istringstream in(text);
    std::string line;
    std::string current;
    while (std::getline(in, line)) {
        if (line.rfind("  ", 0) == 0) {
            out[current].insert(line);
        } else {
            current = line.rfind("date: ", 0) == 0 ? "date: <masked>" : line;
            out[current];
        }
    }
    return out;
}

TEST_F(Save_test, WritesTheExpectedText) {
    playing(content);
    content.get<Component::Position>("Camera", "position")->set(Point(-12.25, 0));
    content.get<Component::Inventory>("Game", "inventory")->add("rope");
    content.set<Component::Simple<std::string>>("door", "state", "")->set("open");
    content.set<Component::Simple<std::string>>("note", "state", "")->set("a b");
    content.set<Component::Simple<std::string>>("sign", "state", "")->set("v1.2-x_y");
    content.set<Component::Absolute_position>("box", "position", Point(0, 0))
        ->set(Point(123.5, -7.5));
    content.set<Component::Simple<int>>("coins", "value", 0)->set(-3);
    content.emit("rope_carried", "signal");
    content.set<Component::Simple<std::string>>(Key::savegame_id, "3");
    file_io.write_savefile();

    const std::string golden = R"(date: 0
time: 75.500000
room: "quay"
player: "mara"
camera: -12.250000
inventory:
  - "rope"
music_positions:
characters:
states:
  - { id: "door", value: open }
  - { id: "note", value: "a b" }
  - { id: "sign", value: v1.2-x_y }
signals:
  - "rope_carried"
positions:
  - { id: "box", value: [124, -8] }
integers:
  - { id: "coins", value: -3 }
hidden:
active_animations:
)";
    const std::string text = pref.read("save_3.yaml");
    EXPECT_EQ(sections(text), sections(golden)) << text;
    EXPECT_EQ(text.rfind("date: ", 0), 0u) << "the date comes first";
}

TEST_F(Save_test, AMinimalFileGivesOnlyTheFadeIn) {
    pref.write("save_1.yaml", save_text("", "quay", "mara"));
    ASSERT_TRUE(file_io.read_savefile("1"));
    EXPECT_EQ(steps_of(content.request<Component::Action>("Saved_game", "action")),
              Steps{"fadein:[0.5]"});
}

TEST_F(Save_test, ASuffixNamesTheFile) {
    playing(content);
    content.set<Component::Simple<std::string>>(Key::save_suffix, "_demo");
    content.set<Component::Simple<std::string>>(Key::savegame_id, "3");
    file_io.write_savefile();
    EXPECT_FALSE(pref.read("save_demo_3.yaml").empty());
    EXPECT_TRUE(file_io.read_savefile("3"));
}

// Only the six slots: any other id touches no file.
TEST_F(Save_test, SlotsOutsideTheSixAreRefused) {
    playing(content);
    pref.write("save_0.yaml", save_text("1", "quay", "mara"));
    for (const std::string id : {"0", "6", "../config", "", "auto/../1"}) {
        SCOPED_TRACE(id);
        content.set<Component::Simple<std::string>>(Key::savegame_id, id);
        ::testing::internal::CaptureStderr();
        file_io.write_savefile();
        const bool read = file_io.read_savefile(id);
        const std::string warnings = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(read);
        EXPECT_NE(warnings.find("not a save slot"), std::string::npos) << warnings;
        EXPECT_FALSE(content.request<Component::Base>(Key::savegame_id));
        EXPECT_FALSE(content.signal("Saves", "have_changed"));
        EXPECT_FALSE(content.request<Component::Base>("Game", "new_room"));
    }
    EXPECT_EQ(pref.read("save_0.yaml"), save_text("1", "quay", "mara"));
    EXPECT_EQ(pref.read("config.yaml"), "");
    EXPECT_EQ(pref.read("save_6.yaml"), "");
}

// ---- Malformed saves: skipped at the scan, refused from the menu, never fatal

struct Broken {
    const char* name;
    std::string text;
    const char* key; // what the warning names beside the file
};

const std::string good = save_text("50", "quay", "mara");

std::vector<Broken> broken_saves() {
    auto without = [](const std::string& key) {
        std::string text = good;
        const std::size_t at = text.find("\n" + key + ":");
        const std::size_t end = text.find('\n', at + 1);
        return text.erase(at, end - at);
    };
    return {
        {"empty", "", "save_auto.yaml"},
        {"only a date", "date: 99\n", "time"},
        {"cut inside time", "date: 99\ntime: 12.5", "room"},
        {"cut inside the time key", "date: 99\ntim", "save_auto.yaml"},
        {"cut after room", "date: 99\ntime: 1.000000\nroom: \"quay\"\n", "player"},
        {"cut inside a flow record",
         good.substr(0, good.find("states:")) + "states:\n  - { id: \"door\", val",
         "save_auto.yaml"},
        {"cut before positions", good.substr(0, good.find("\npositions:") + 1), "positions"},
        {"inventory missing", without("inventory"), "inventory"},
        {"inventory a mapping", with(good, "inventory", "  a: b\n"), "inventory"},
        {"a state without a value", with(good, "states", "  - { id: \"door\" }\n"), "states/0"},
        {"a position of one item", with(good, "positions", "  - { id: \"box\", value: [1] }\n"),
         "positions/0"},
        {"a position of text", with(good, "positions", "  - { id: \"box\", value: [a, b] }\n"),
         "positions/0/value"},
        {"time nan", std::string(good).replace(good.find("12.500000"), 9, "nan"), "time"},
        {"time negative", std::string(good).replace(good.find("12.500000"), 9, "-1.0"), "time"},
        {"an integer beyond int",
         with(good, "integers", "  - { id: \"coins\", value: 2147483648 }\n"), "integers/0/value"},
        {"a dialog without its position", good + "dialog: \"ferran\"\n", "dialog_position"},
        {"music without its disabled sources", good + "music: \"quay_music\"\n",
         "music_disabled_sources"},
        {"a top-level list", "- date\n- 99\n", "save_auto.yaml"},
        {"bytes with a NUL", std::string("date: 99\ntime: 1\0.5\n", 20), "save_auto.yaml"},
        {"anchors", std::string(good).replace(good.find("\"mara\""), 6, "&p \"mara\""),
         "save_auto.yaml"},
        {"a room not in the packages", save_text("99", "lab", "mara"), "room"},
        // names the game does not have where the save names its characters and numbers
        {"an empty player", save_text("99", "quay", ""), "player \"\""},
        {"a player who is no character", save_text("99", "quay", "nobody"), "player \"nobody\""},
        {"an engine entity as the player", save_text("99", "quay", "Game"), "player \"Game\""},
        {"a character of another room as the player", save_text("99", "quay", "ferran"),
         "player \"ferran\""},
        {"a follower who is no character", good + "follower: \"nobody\"\n",
         "follower \"nobody\""},
        {"a follower who cannot walk", save_text("99", "tower", "mara") + "follower: \"ferran\"\n",
         "follower \"ferran\""},
        {"a pose the character lacks",
         with(good, "characters", "  - { id: \"mara\", value: true, animation: \"nosuch\" }\n"),
         "characters/0/animation \"nosuch\""},
        {"an empty pose",
         with(good, "characters", "  - { id: \"mara\", value: true, animation: \"\" }\n"),
         "characters/0/animation \"\""},
        {"another character's pose",
         with(good, "characters", "  - { id: \"mara\", value: true, animation: \"sitting\" }\n"),
         "characters/0/animation \"sitting\""},
        {"a phone number without its action",
         good + "phone_numbers:\n  - \"555\"\n  - \"0600000000\"\n",
         "phone_numbers/1 \"0600000000\""},
        {"a file far larger than any save", good + "# " + std::string(5 << 20, 'x') + "\n",
         "more than a save's"},
    };
}

TEST_F(Save_test, ABrokenNewestSaveIsSkippedAtStartUp) {
    Save_file_io scan(content);
    for (const Broken& b : broken_saves()) {
        SCOPED_TRACE(b.name);
        content.remove("Save_auto", "info", true);
        content.remove("Save_2", "info", true);
        pref.write("save_auto.yaml", b.text);
        pref.write("save_2.yaml", save_text("10", "tower", "pip"));
        ::testing::internal::CaptureStderr();
        scan.read_savefiles(Third_party::Yaml("data/init.yaml", false));
        const std::string warnings = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(warnings.find("save_auto.yaml"), std::string::npos) << warnings;
        EXPECT_NE(warnings.find(b.key), std::string::npos) << warnings;
        EXPECT_FALSE(content.request<Info>("Save_auto", "info"));
        ASSERT_TRUE(content.request<Info>("Save_2", "info"));
        EXPECT_EQ(text_of(content, "Game", "new_room"), "tower");
        EXPECT_EQ(text_of(content, "Player", "name"), "pip");
    }
}

TEST_F(Save_test, ABrokenSaveChosenInTheMenuLeavesTheGameAsItWas) {
    playing(content);
    content.get<Component::Inventory>("Game", "inventory")->add("rope");
    content.set<Component::Simple<std::string>>("door", "state", "open");
    for (const Broken& b : broken_saves()) {
        SCOPED_TRACE(b.name);
        pref.write("save_auto.yaml", b.text);
        content.set<Component::Simple<std::string>>(Key::savegame_id, "auto");
        content.emit(Key::game_load);
        content.emit(Key::game_reset);
        ::testing::internal::CaptureStderr();
        file_io.run();
        const std::string warnings = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(warnings.find(b.key), std::string::npos) << warnings;
        EXPECT_NE(warnings.find("cannot be loaded"), std::string::npos) << warnings;
        EXPECT_FALSE(content.request<Component::Base>(Key::savegame_id));
        EXPECT_FALSE(content.signal(Key::game_reset));
        EXPECT_FALSE(content.signal(Key::game_load));
        EXPECT_EQ(content.get<Component::Inventory>("Game", "inventory")->data(), Steps{"rope"});
        EXPECT_EQ(text_of(content, "door", "state"), "open");
        EXPECT_EQ(text_of(content, "Player", "name"), "mara");
        EXPECT_FALSE(content.request<Component::Base>("Saved_game", "action"));
        EXPECT_FALSE(content.request<Component::Base>("Game", "new_room"));
    }
}

// ---- Special files in place of a save: warned about as what they are, then skipped

struct Special {
    const char* name;
    std::function<void(const std::string& path)> make;
    const char* what; // what the warning calls it
};

std::vector<Special> special_files() {
    auto link_to = [](const std::string& target) {
        return [target](const std::string& path) {
            ASSERT_EQ(::symlink(target.c_str(), path.c_str()), 0) << path;
        };
    };
    return {
        {"a directory", [](const std::string& path) { std::filesystem::create_directory(path); },
         "is a directory"},
        {"a FIFO", [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); },
         "is a FIFO"},
        {"a socket",
         [](const std::string& path) {
             const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             ASSERT_LT(path.size(), sizeof address.sun_path) << path;
             std::copy(path.begin(), path.end(), address.sun_path);
             ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
             ::close(fd);
         },
         "is a socket"},
        {"a link to /dev/zero", link_to("/dev/zero"), "is a symbolic link to a device"},
        {"a link to a folder", link_to("/"), "is a symbolic link to a directory"},
        {"a link to itself", link_to("save_auto.yaml"),
         "is a symbolic link that leads back to itself"},
        {"a link to nowhere", link_to("/nonexistent/save.yaml"),
         "is a symbolic link that leads nowhere"},
    };
}

TEST_F(Save_test, ASpecialFileInPlaceOfASaveIsNamedAndSkipped) {
    Save_file_io scan(content);
    playing(content);
    content.set<Component::Simple<std::string>>("door", "state", "open");
    const std::string path = pref.pref_path() + "save_auto.yaml";
    for (const Special& special : special_files()) {
        SCOPED_TRACE(special.name);
        std::filesystem::remove_all(path);
        special.make(path);
        pref.write("save_2.yaml", save_text("10", "tower", "pip"));

        // at start-up: the older slot 2 is resumed
        content.remove("Save_auto", "info", true);
        ::testing::internal::CaptureStderr();
        scan.read_savefiles(Third_party::Yaml("data/init.yaml", false));
        std::string warnings = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(warnings.find(std::string("save_auto.yaml ") + special.what), std::string::npos)
            << warnings;
        EXPECT_FALSE(content.request<Info>("Save_auto", "info"));
        EXPECT_EQ(text_of(content, "Game", "new_room"), "tower");
        content.remove("Game", "new_room", true);
        content.remove("Saved_game", "action", true);
        content.set<Component::Simple<std::string>>("Player", "name", "mara");

        // from the menu: the game goes on as it was
        content.set<Component::Simple<std::string>>("Savegame", "id", "auto");
        content.emit("Game", "load");
        content.emit("Game", "reset");
        ::testing::internal::CaptureStderr();
        file_io.run();
        warnings = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(warnings.find(std::string("save_auto.yaml ") + special.what), std::string::npos)
            << warnings;
        EXPECT_NE(warnings.find("cannot be loaded"), std::string::npos) << warnings;
        EXPECT_EQ(text_of(content, "door", "state"), "open");
        EXPECT_EQ(text_of(content, "Player", "name"), "mara");
        EXPECT_FALSE(content.request<Component::Base>("Game", "new_room"));
        EXPECT_FALSE(content.signal("Game", "reset"));
    }
}

// An unreadable date is warned about; the save still loads, as the oldest.
TEST_F(Save_test, AnUnreadableDateIsWarnedAboutAndRanksOldest) {
    Save_file_io scan(content);
    for (const char* date : {"99999999999999999999", "abc", "[1, 2]"}) {
        SCOPED_TRACE(date);
        pref.write("save_auto.yaml", save_text(date, "quay", "mara"));
        pref.write("save_2.yaml", save_text("1", "tower", "pip"));
        ::testing::internal::CaptureStderr();
        scan.read_savefiles(Third_party::Yaml("data/init.yaml", false));
        const std::string warnings = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(warnings.find("save_auto.yaml: date"), std::string::npos) << warnings;
        EXPECT_NE(warnings.find("counts as the oldest"), std::string::npos) << warnings;
        ASSERT_TRUE(content.request<Info>("Save_auto", "info"));
        EXPECT_EQ(std::get<2>(content.get<Info>("Save_auto", "info")->value()), 0);
        EXPECT_EQ(text_of(content, "Player", "name"), "pip");
    }
}

// Entries that the writer never writes, or that the game no longer has, are left out one by
// one; the rest of the save loads.
TEST_F(Save_test, EntriesTheGameCannotTakeAreSkippedWithAWarning) {
    std::string text = with(good, "inventory", "  - \"rope\"\n  - \"sextant\"\n  - \"key\"\n");
    text = with(text, "states",
                "  - { id: \"Cursor\", value: hand }\n  - { id: \"door\", value: open }\n");
    text = with(text, "positions", "  - { id: \"Camera\", value: [5, 5] }\n");
    text = with(text, "integers", "  - { id: \"Game\", value: 5 }\n");
    text = with(text, "signals", "  - \"Game\"\n");
    text = with(text, "characters", "  - { id: \"Player\", value: true }\n");
    pref.write("save_auto.yaml", text + "follower: \"pip\"\n");
    content.set<Component::Simple<std::string>>("Cursor", "state", "default");

    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(file_io.read_savefile("auto"));
    const std::string warnings = ::testing::internal::GetCapturedStderr();
    for (const char* what :
         {"sextant", "states/0", "positions/0", "integers/0", "signals/0", "characters/0"})
        EXPECT_NE(warnings.find(what), std::string::npos) << what << "\n" << warnings;
    EXPECT_EQ(content.get<Component::Inventory>("Game", "inventory")->data(),
              (Steps{"rope", "key"}));
    EXPECT_EQ(text_of(content, "Cursor", "state"), "default");
    EXPECT_EQ(text_of(content, "door", "state"), "open");
    EXPECT_EQ(text_of(content, "Follower", "name"), "pip");
    EXPECT_EQ(content.get<Component::Position>("Camera", "position")->value(), Point(0, 0));
    EXPECT_FALSE(content.request<Component::Base>("Game", "value"));
    EXPECT_FALSE(content.signal("Game", "signal"));
}

// A usable save chosen in the menu: the restart empties the game first, the save fills it,
// and its room loads in the same frame.
TEST_F(Save_test, ALoadFromTheMenuReplacesTheGame) {
    pack([] {
        Files files = save_files;
        files["init"] = "name: Velmoor\ncharacters: [mara]\n";
        return files;
    }());
    playing(content);
    content.set<Component::Image>("Blackscreen", "image", 10, 10);
    auto key = content.set<Component::Image>("key", "image", 10, 10);
    content.get<Component::Inventory>("Game", "inventory")->add("key");
    content.set<Component::Simple<std::string>>("door", "state", "closed");
    pref.write("save_2.yaml", with(with(good, "inventory", "  - \"rope\"\n"), "states",
                                   "  - { id: \"door\", value: open }\n"));

    content.set<Component::Simple<std::string>>(Key::savegame_id, "2");
    content.emit(Key::game_load);
    content.emit(Key::game_reset);
    ::testing::internal::CaptureStderr();
    file_io.run();
    const std::string warnings = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(content.get<Component::Inventory>("Game", "inventory")->data(), Steps{"rope"})
        << warnings;
    EXPECT_FALSE(key->on());
    EXPECT_FALSE(content.request<Component::Base>("key", "image"));
    EXPECT_EQ(text_of(content, "door", "state"), "open");
    EXPECT_EQ(text_of(content, "Game", "current_room"), "quay");
    EXPECT_EQ(text_of(content, "Game", "new_room_origin"), "Saved_game");
    EXPECT_EQ(steps_of(content.request<Component::Action>("Saved_game", "action")),
              Steps{"fadein:[0.5]"});
    EXPECT_FALSE(content.request<Component::Base>(Key::savegame_id));
    EXPECT_FALSE(content.signal(Key::game_reset));
}

// After the saved room has loaded, the restoring steps that name what the room did not
// create are left out, so that none can stop the step engine.
TEST_F(Save_test, StepsNamingWhatTheRoomLacksAreDropped) {
    playing(content);
    std::string text =
        with(good, "characters", "  - { id: \"ferran\", value: true, animation: \"mend\" }\n");
    text = with(text, "positions", "  - { id: \"ferran\", value: [1, 2] }\n");
    text = with(text, "hidden", "  - \"ghost\"\n");
    text = with(text, "active_animations", "  - \"kite\"\n");
    pref.write("save_auto.yaml", text +
                                     "music: \"old_music\"\nmusic_disabled_sources:\n  - \"sea\"\n"
                                     "dialog: \"old_dialog\"\ndialog_position: 2\n");

    content.set<Component::Simple<std::string>>(Key::savegame_id, "auto");
    content.emit(Key::game_load);
    ::testing::internal::CaptureStderr();
    file_io.run();
    const std::string warnings = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(text_of(content, "Game", "current_room"), "quay");
    EXPECT_EQ(steps_of(content.request<Component::Action>("Saved_game", "action")),
              Steps{"fadein:[0.5]"})
        << warnings;
    for (const char* what : {"ferran", "old_music", "old_dialog", "ghost", "kite"})
        EXPECT_NE(warnings.find(what), std::string::npos) << what << "\n" << warnings;
    EXPECT_FALSE(content.request<Component::Base>("Saved_game", "dialog_position"))
        << "the next dialog started would begin at the dropped dialog's place";
}

// ---- The slot scan at start-up

struct Scan {
    const char* name;
    std::map<std::string, std::string> files; // slot -> file text
    std::string chosen;                       // the player of the save read; "" for none
    std::set<std::string> records;            // slots given an information record
    bool forced = false;
};

const std::vector<Scan> scans = {
    {"no save: the start room", {}, "", {}},
    {"the newer of slots 1 and 3",
     {{"1", save_text("1000", "quay", "p1")}, {"3", save_text("2000", "quay", "p3")}},
     "p3",
     {"1", "3"}},
    {"auto wins a tie",
     {{"auto", save_text("7", "quay", "pauto")}, {"2", save_text("7", "quay", "p2")}},
     "pauto",
     {"auto", "2"}},
    {"no date counts as 0",
     {{"1", save_text("", "quay", "p1")}, {"2", save_text("5", "quay", "p2")}},
     "p2",
     {"1", "2"}},
    {"two without a date: the earlier slot",
     {{"1", save_text("", "quay", "p1")}, {"2", save_text("", "quay", "p2")}},
     "p1",
     {"1", "2"}},
    {"a single save without a date", {{"4", save_text("", "quay", "p4")}}, "p4", {"4"}},
    {"an unreadable date counts as 0",
     {{"1", save_text("soon", "quay", "p1")}, {"2", save_text("3", "quay", "p2")}},
     "p2",
     {"1", "2"}},
    // A slot naming a missing room is skipped alone: the later, newer slot is still chosen.
    {"a missing room skips its slot alone",
     {{"auto", save_text("1", "quay", "pauto")},
      {"1", save_text("2", "quay", "p1")},
      {"2", save_text("8", "lab", "p2")},
      {"3", save_text("9", "tower", "p3")}},
     "p3",
     {"auto", "1", "3"}},
    {"a damaged newest auto beside a good older 2",
     {{"auto", "date: 99\ntime: [\n"}, {"2", save_text("5", "quay", "p2")}},
     "p2",
     {"2"}},
    {"dates past 2038",
     {{"1", save_text("2000000000", "quay", "p1")}, {"2", save_text("4102444800", "quay", "p2")}},
     "p2",
     {"1", "2"}},
    {"a forced room wins over every save",
     {{"1", save_text("5", "quay", "p1")}, {"5", save_text("6", "tower", "p5")}},
     "",
     {"1", "5"},
     true},
};

TEST_F(Save_test, TheScanPublishesEveryUsableSaveAndReadsTheNewest) {
    for (const Scan& scan : scans) {
        SCOPED_TRACE(scan.name);
        Temp_pref_folder folder;
        Content c;
        fixed_components(c);
        c.set<Component::Simple<std::string>>("Game", "init_new_room", "quay");
        c.set<Component::Simple<std::string>>("Game", "init_new_room_origin", "start");
        if (scan.forced)
            c.set<Component::Simple<std::string>>(Key::force_load_room, "lab");
        for (const auto& [slot, text] : scan.files)
            folder.write("save_" + slot + ".yaml", text);
        Save_file_io io(c);
        ::testing::internal::CaptureStderr();
        io.read_savefiles(Third_party::Yaml("data/init.yaml", false));
        ::testing::internal::GetCapturedStderr();

        std::set<std::string> records;
        for (const char* slot : Config::save_ids)
            if (auto info = c.request<Info>(std::string("Save_") + slot, "info")) {
                records.insert(slot);
                const std::string& text = scan.files.at(slot);
                const std::size_t at = text.rfind("date: ", 0) == 0 ? 6 : std::string::npos;
                const std::string date =
                    at == std::string::npos ? "0" : text.substr(at, text.find('\n') - at);
                EXPECT_EQ(std::get<2>(info->value()), date == "soon" ? 0 : std::stoll(date));
                EXPECT_EQ(std::get<1>(info->value()), 12.5);
                EXPECT_EQ(std::get<0>(info->value()),
                          text.find("\"tower\"") != std::string::npos ? "The tower" : "The quay");
            }
        EXPECT_EQ(records, scan.records);
        EXPECT_EQ(text_of(c, "Player", "name"), scan.chosen.empty() ? "<none>" : scan.chosen);
        if (scan.forced) {
            EXPECT_EQ(text_of(c, "Game", "new_room"), "lab");
            EXPECT_EQ(text_of(c, "Game", "new_room_origin"), "lab_test");
        } else if (scan.chosen.empty()) {
            EXPECT_EQ(text_of(c, "Game", "new_room"), "quay");
            EXPECT_EQ(text_of(c, "Game", "new_room_origin"), "start");
        } else {
            EXPECT_EQ(text_of(c, "Game", "new_room_origin"), "Saved_game");
        }
    }
}

} // namespace
} // namespace Orvane::Test
