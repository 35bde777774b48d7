#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>

#include "support/File_IO_fixture.h"
#include "support/Text.h"

namespace Orvane::Test {
namespace {

using Component::Collision_type;
using Component::Image;

struct Expected_image {
    const char* entity;
    int z;
    Collision_type collision;
    double fx;
    double fy;
    bool on;
};

void expect_image(const Content& content, const Expected_image& e) {
    SCOPED_TRACE(e.entity);
    auto image = content.request<Image>(e.entity, "image");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->z(), e.z);
    EXPECT_EQ(image->collision(), e.collision);
    EXPECT_EQ(image->origin(), Point(e.fx * image->width(), e.fy * image->height()));
    EXPECT_EQ(image->on(), e.on);
}

using Init_test = File_IO_test;

TEST_F(Init_test, EverySectionIsRead) {
    load(game_entries());
    file_io.read_init();

    EXPECT_EQ(content.get<Component::Simple<std::string>>("Version", "string")->value(),
              "v1.6.0-d3-demo");
    EXPECT_FALSE(content.signal("Game", "no_menu"));
    EXPECT_EQ(content.get<Component::Simple<std::string>>("Game", "name")->value(), "Velmoor");
    EXPECT_TRUE(content.signal("Game", "name_changed"));
    EXPECT_EQ(content.get<Component::Simple<std::string>>("Icon", "filename")->value(),
              "images/interface/icon.png");

    // a 100 x 100 cell puts the spinner's centre at (1770, 930)
    auto spinner = content.request<Component::Animation>(Fast_access_component::LOADING_SPIN_IMAGE);
    ASSERT_TRUE(spinner);
    EXPECT_EQ(spinner, content.request<Component::Animation>("Loading_spin", "image"));
    EXPECT_EQ(spinner->width_subdiv(), 4);
    EXPECT_TRUE(spinner->loop());
    EXPECT_EQ(spinner->frames().size(), 4u);
    EXPECT_EQ(content.get<Component::Position>("Loading_spin", "position")->value(),
              Point(1770, 930));
    EXPECT_EQ(content.request<Component::Position>(Fast_access_component::LOADING_SPIN_POSITION)
                  ->value(),
              Point(1770, 930));

    const Expected_image images[] = {
        {"Loading_spin", Config::TOPMOST, Collision_type::BOX, 0.5, 0.5, false},
        {"Code_success", Config::INTERFACE_LABELS, Collision_type::UNCLICKABLE, 0.5, 0.5,
         false},
        {"Code_failure", Config::INTERFACE_LABELS, Collision_type::UNCLICKABLE, 0.5, 0.5,
         false},
        {"Yellow_left_circle", 1, Collision_type::BOX, 0, 0, false},
        {"Yellow_right_circle", 1, Collision_type::BOX, 0, 0, false},
        {"Star", 1, Collision_type::BOX, 0, 0, false},
        {"Goto_left", Config::CURSOR, Collision_type::UNCLICKABLE, 1, 0.5, false},
        {"Goto_right", Config::CURSOR, Collision_type::UNCLICKABLE, 0, 0.5, false},
        {"Left_arrow", Config::INTERFACE_ITEMS, Collision_type::PIXEL_PERFECT, 0, 0.5,
         true},
        {"Right_arrow", Config::INTERFACE_ITEMS, Collision_type::PIXEL_PERFECT, 1, 0.5,
         true},
        {"Chamfer", Config::INTERFACE_BACK, Collision_type::UNCLICKABLE, 0, 0, true},
        {"Quit_icon", Config::MENU_TEXTS, Collision_type::UNCLICKABLE, 0.5, 0.5, false},
        {"Left_circle", 1, Collision_type::BOX, 0, 0, false},
        {"Right_circle", 1, Collision_type::BOX, 0, 0, false},
        {"White_left_circle", 1, Collision_type::BOX, 0, 0, false},
        {"White_right_circle", 1, Collision_type::BOX, 0, 0, false},
        {"Playstation_triangle", 1, Collision_type::UNCLICKABLE, 0, 0, false},
        {"Playstation_square", 1, Collision_type::UNCLICKABLE, 0, 0, false},
        {"Playstation_cross", 1, Collision_type::UNCLICKABLE, 0, 0, false},
        {"Playstation_circle", 1, Collision_type::UNCLICKABLE, 0, 0, false},
        {"Menu_background", Config::MENU_BACKGROUND, Collision_type::UNCLICKABLE, 0.5, 0.5,
         false},
        {"Menu_logo", 0, Collision_type::UNCLICKABLE, 0, 0, false},
        {"Menu_left_arrow", 0, Collision_type::UNCLICKABLE, 0, 0.5, false},
        {"Menu_right_arrow", 0, Collision_type::UNCLICKABLE, 1, 0.5, false},
        {"Menu_ok", 0, Collision_type::UNCLICKABLE, 0.5, 0.5, false},
        {"Menu_canel", 0, Collision_type::UNCLICKABLE, 0.5, 0.5, false},
        {"Menu_main_button", 1, Collision_type::BOX, 0.5, 0.5, false},
        {"Menu_settings_button", 1, Collision_type::BOX, 0.5, 0.5, false},
        {"Support_text", Config::MENU_TEXTS, Collision_type::UNCLICKABLE, 0.5, 0.5, false},
        {"Support_button", Config::MENU_BUTTONS, Collision_type::BOX, 0.5, 0.5, false},
    };
    for (const auto& e : images)
        expect_image(content, e);
    EXPECT_TRUE(content.get<Image>("Left_arrow", "image")->core()->mask.size() > 0);
    EXPECT_FALSE(content.request<Component::Base>("Menu_cancel", "image"));
    EXPECT_EQ(content.get<Component::Position>("Code_result", "position")->value(),
              Point(960, 540));
    EXPECT_EQ(content.get<Component::Position>("Menu_background", "position")->value(),
              Point(960, 540));
    for (const char* key : {"Debug:font", "Interface:font", "Interface:light_font", "Dialog:font"}) {
        const std::string k = key;
        EXPECT_TRUE(content.request<Component::Font>(k.substr(0, k.find(':')),
                                                     k.substr(k.find(':') + 1)))
            << key;
    }

    // achievements of 2, 3 and 4 items: only the one of exactly three gets a value
    EXPECT_EQ(content.get<Component::Vector<std::string>>("Achievements", "list")->value(),
              (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_EQ(content.get<Component::Simple<std::string>>("first", "text")->value(), "First step");
    EXPECT_FALSE(content.request<Component::Simple<int>>("first", "value"));
    EXPECT_EQ(content.get<Component::Simple<int>>("second", "value")->value(), 20);
    EXPECT_FALSE(content.request<Component::Simple<int>>("third", "value"));

    // the cursor cases, each with its picture and origin
    auto state = content.get<Component::Simple<std::string>>("Cursor", "state");
    EXPECT_EQ(state->value(), "default");
    const std::vector<std::tuple<const char*, int, int, double, double>> cursor = {
        {"default", 40, 40, 0.1, 0.1},          {"object", 40, 20, 0.5, 0.5},
        {"goto_left", 20, 40, 1, 0.5},          {"goto_right", 20, 40, 0, 0.5},
        {"fake_touchscreen", 50, 50, 0.28, 0.12}, {"selected", 60, 60, 0.5, 0.5},
    };
    for (const auto& [value, w, h, fx, fy] : cursor) {
        SCOPED_TRACE(value);
        state->set(value);
        auto image = content.request<Image>("Cursor", "image");
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width(), w);
        EXPECT_EQ(image->height(), h);
        EXPECT_EQ(image->origin(), Point(fx * w, fy * h));
        EXPECT_EQ(image->z(), Config::CURSOR);
        EXPECT_TRUE(image->on());
    }
    state->set("unknown");
    EXPECT_FALSE(content.request<Image>("Cursor", "image"));
    EXPECT_EQ(content.request<Component::Position>(Fast_access_component::CURSOR_POSITION)->value(),
              Point(0, 0));

    // functions stored as written; a default reaction expands its calls
    EXPECT_EQ(steps_of(content.get<Component::Action>("Greet", "function")),
              (std::vector<std::string>{"func:[say, ARG0]", "look:[]"}));
    auto look = content.request<Component::Random_conditional>("Default_look", "action");
    ASSERT_TRUE(look);
    EXPECT_EQ(steps_of(Component::cast<Component::Action>(look->choose(0.0))),
              (std::vector<std::string>{"look:[]", "talk:[Player, Hi]", "look:[]"}));
    EXPECT_EQ(steps_of(Component::cast<Component::Action>(look->choose(0.99))),
              (std::vector<std::string>{"look:[]", "talk:[Player, Nothing]"}));
    std::set<std::string> drawn;
    for (int i = 0; i < 200 && drawn.size() < 2; ++i)
        drawn.insert(content.get<Component::Action>("Default_look", "action")->component());
    EXPECT_EQ(drawn, (std::set<std::string>{"0", "1"}));
    EXPECT_FALSE(content.request<Component::Base>("Default_move", "action"));
    EXPECT_EQ(content.get<Component::Simple<std::string>>("Default_goto", "label")->value(), "Go");
    EXPECT_EQ(content.get<Component::Simple<std::string>>("Inventory", "label")->value(),
              "Inventory");
    EXPECT_EQ(content.get<Component::Simple<std::string>>("Back", "text")->value(), "Back");
    EXPECT_FALSE(content.request<Component::Base>("Back_icon", "image"));

    // global items in walk order, each flagged before its reader runs; the global window was
    // built with both languages at the first start
    EXPECT_EQ(file_io.calls, (std::vector<std::string>{"objects:lamp global", "objects:key global",
                                                       "windows:map global",
                                                       "actions:intro global"}));
    EXPECT_TRUE(content.request<Component::Simple_conditional<std::string>>("map", "image"));

    // the first room, languages and the interface
    EXPECT_EQ(content.get<Component::Simple<std::string>>("Game", "new_room")->value(), "quay");
    EXPECT_EQ(content.get<Component::Simple<std::string>>("Game", "new_room_origin")->value(),
              "start");
    EXPECT_EQ(content.get<Component::Vector<std::string>>("Game", "available_locales")->value(),
              (std::vector<std::string>{"en_US", "fr_FR"}));
    EXPECT_EQ(content.get<Component::Simple<std::string>>("Locale_fr_FR", "description")->value(),
              "Français");
    EXPECT_TRUE(content.request<Component::Sound>("Click", "sound"));
    EXPECT_TRUE(content.request<Component::Sound>("Step", "sound"));
    EXPECT_EQ(content.get<Component::Position>("Fast_forward", "position")->value(),
              Point(1900, 20));
    auto current = content.get<Component::Simple<std::string>>("Game", "current_locale");
    for (const auto& [id, width] : {std::pair{"en_US", 300}, std::pair{"fr_FR", 310}}) {
        current->set(id);
        EXPECT_EQ(content.get<Image>("Support_text", "image")->width(), width) << id;
        EXPECT_EQ(content.get<Image>("Support_button", "image")->width(), 100) << id;
    }
}

TEST_F(Init_test, TheFastForwardIndicatorFollowsStatusModeAndRequest) {
    load(game_entries());
    file_io.read_init();
    struct Case {
        bool cutscene;
        Input_mode mode;
        bool wanted;
        int picture; // 0, 1, or -1 for none
    };
    const std::vector<Case> cases = {
        {true, MOUSE, false, -1},       {true, TOUCHSCREEN, false, -1}, {true, GAMEPAD, false, -1},
        {true, MOUSE, true, 1},         {true, TOUCHSCREEN, true, 1},   {false, TOUCHSCREEN, false, 0},
        {false, TOUCHSCREEN, true, 0},  {false, MOUSE, false, -1},      {false, MOUSE, true, 0},
        {false, GAMEPAD, false, -1},    {false, GAMEPAD, true, 0},
    };
    auto status = content.get<Component::Status>("Game", "status");
    auto mode = content.get<Component::Simple<Input_mode>>("Interface", "input_mode");
    auto chooser = content.request<Component::Functional_conditional>("Fast_forward", "image");
    ASSERT_TRUE(chooser);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.cutscene) + " " + std::to_string(c.mode) + " " +
                     std::to_string(c.wanted));
        status->reset();
        if (c.cutscene)
            status->push(Status::CUTSCENE);
        mode->set(c.mode);
        if (c.wanted)
            content.emit(Key::time_speedup_wanted);
        else
            content.remove(Key::time_speedup_wanted, true);
        auto image = content.request<Image>("Fast_forward", "image");
        if (c.picture < 0) {
            EXPECT_FALSE(image);
            continue;
        }
        ASSERT_TRUE(image);
        EXPECT_EQ(image.get(), Component::cast<Image>(chooser->get()).get());
        EXPECT_EQ(image->core().get(),
                  std::make_shared<Image>("x", "image", c.picture == 0
                                                            ? "images/interface/ff0.png"
                                                            : "images/interface/ff1.png")
                      ->core()
                      .get());
        EXPECT_EQ(image->alpha(), 64);
        EXPECT_EQ(image->z(), Config::FAST_FORWARD);
        EXPECT_EQ(image->origin(), Point(64, 0));
        EXPECT_TRUE(content.signal(Key::time_speedup_wanted) == c.wanted);
    }
}

TEST_F(Init_test, AForcedRoomWinsOverTheStartRoom) {
    load(game_entries());
    content.set<Component::Simple<std::string>>(Key::force_load_room, "lab");
    file_io.read_init();
    EXPECT_EQ(content.get<Component::Simple<std::string>>("Game", "new_room")->value(), "lab");
    EXPECT_EQ(content.get<Component::Simple<std::string>>("Game", "new_room_origin")->value(),
              "lab_test");

    content.set<Component::Simple<std::string>>(Key::force_load_origin, "door");
    file_io.read_init();
    EXPECT_EQ(content.get<Component::Simple<std::string>>("Game", "new_room_origin")->value(),
              "door");
    // variables: they follow the forced values
    content.get<Component::Simple<std::string>>(Key::force_load_room)->set("cellar");
    EXPECT_EQ(content.get<Component::Simple<std::string>>("Game", "new_room")->value(), "cellar");
}

TEST_F(Init_test, NoMenuAndOlderVersionsPass) {
    struct Case {
        std::string no_menu;
        std::string version;
        bool signal;
    };
    const std::vector<Case> cases = {{"true", "1.6.0", true},
                                     {"false", "0.99.0", false},
                                     {"yes", "1.5.99", false},
                                     {"", "1.0.0", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.no_menu + " " + c.version);
        content.remove("Game", "no_menu", true);
        std::string init = replaced(init_yaml, "min_orvane_version: 1.6.0",
                                    "min_orvane_version: " + c.version);
        if (!c.no_menu.empty())
            init = "no_menu: " + c.no_menu + "\n" + init;
        load(game_entries(init));
        file_io.read_init();
        EXPECT_EQ(content.signal("Game", "no_menu"), c.signal);
    }
}

TEST_F(Init_test, WithoutAchievementsNoListAndNoNotificationPictures) {
    std::string init = replaced(init_yaml,
                                "  - [first, First step]\n  - [second, Second, 20]\n"
                                "  - [third, Third, 30, extra]\n",
                                "");
    init = replaced(init, "achievements:\n", "");
    load(game_entries(init));
    file_io.read_init();
    EXPECT_FALSE(content.request<Component::Base>("Achievements", "list"));
    EXPECT_FALSE(content.request<Component::Base>("Star", "image"));
    EXPECT_FALSE(content.request<Component::Base>("Yellow_left_circle", "image"));
}

using Init_DeathTest = File_IO_test;

TEST_F(Init_DeathTest, BrokenInitFilesStopWithAMessage) {
    struct Case {
        std::string line;
        std::string by;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"min_orvane_version: 1.6.0", "min_orvane_version: 1.6.1",
         "Error: min version 1.6.1 incompatible with Orvane 1.6.0-mit"},
        {"min_orvane_version: 1.6.0", "min_orvane_version: 1.10.0",
         "Error: min version 1.10.0 incompatible with Orvane 1.6.0-mit"},
        {"min_orvane_version: 1.6.0", "min_orvane_version: 2.0.0",
         "Error: min version 2.0.0 incompatible with Orvane 1.6.0-mit"},
        {"min_orvane_version: 1.6.0", "min_orvane_version: 2.0b.1",
         "Error: min version 2.0b.1 incompatible"},
        {"min_orvane_version: 1.6.0", "min_orvane_version: \"1.6\"",
         "Error: min version 1.6 is not a version number"},
        {"min_orvane_version: 1.6.0", "min_orvane_version: \"\"",
         "Error: min version  is not a version number"},
        {"min_orvane_version: 1.6.0", "min_orvane_version: 4294967.0.0",
         "Error: min version 4294967.0.0 is not a version number"},
        // every short list
        {"loading_spin: [spinner, 4]", "loading_spin: [spinner]",
         "Item 1 of loading_spin out of range in Yaml input \\(size 1, data/init.yaml:[0-9]+\\)"},
        {"code_results: [ok, ko]", "code_results: [ok]", "Item 1 of code_results out of range"},
        {"  - [first, First step]", "  - [first]",
         "Item 1 of achievements/0 out of range in Yaml input \\(size 1, data/init.yaml:[0-9]+\\)"},
        {"achievement_notif: [left, right, star]", "achievement_notif: [left, right]",
         "Item 2 of achievement_notif out of range"},
        {"cursor: [c0, c1, c2, c3]", "cursor: [c0, c1]",
         "Item 3 of cursor out of range in Yaml input \\(size 2, data/init.yaml:[0-9]+\\)"},
        {"circle: [c_l, c_r, c_sel, w_l, w_r]", "circle: [c_l, c_r]",
         "Item 2 of circle out of range"},
        {"circle: [c_l, c_r, c_sel, w_l, w_r]", "circle: [c_l, c_r, c_sel, w_l]",
         "Item 4 of circle out of range"},
        {"inventory_arrows: [aleft, aright]", "inventory_arrows: [aleft]",
         "Item 1 of inventory_arrows out of range"},
        {"load: [quay, start]", "load: [quay]", "Item 1 of load out of range"},
        {"playstation: [p0, p1, p2, p3]", "playstation: [p0, p1, p2]",
         "Item 3 of playstation out of range"},
        {"fast_forward: [ff0, ff1]", "fast_forward: ff0", "Item 1 of fast_forward out of range"},
        {"menu_arrows: [ml, mr]", "menu_arrows: [ml]", "Item 1 of menu_arrows out of range"},
        {"menu_oknotok: [ok, cancel]", "menu_oknotok: [ok]", "Item 1 of menu_oknotok out of range"},
        {"menu_buttons: [main, settings]", "menu_buttons: []",
         "Item 1 of menu_buttons out of range"},
        {"menu_support: [support_text, support_button]", "menu_support: [support_text]",
         "Item 1 of menu_support out of range"},
        // missing keys, bad steps, missing files
        {"  combine: {label: Combine}\n", "",
         "Value combine not found in Yaml input \\(default, data/init.yaml:[0-9]+\\)"},
        {"  - id: back\n    value: Back\n", "  - id: back\n",
         "Value value not found in Yaml input \\(text/1, data/init.yaml:[0-9]+\\)"},
        {"      - look: []\n", "      - {look: [], talk: []}\n",
         "Checking for nstring in non-singular input \\(functions/1/effect/1, data/init.yaml:[0-9]+\\)"},
        {"      - talk: [Player, ARG0]\n", "      - func: [greet, ARG0]\n",
         "Default_look:0: Greet -> Say -> Greet"},
        {"objects: [lamp, key]", "objects: [lamp, door]", "Can't open data/objects/door.yaml"},
        {"name: Velmoor\n", "", "Value name not found in Yaml input \\(data/init.yaml:[0-9]+\\)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.by);
        const std::string init = replaced(init_yaml, c.line, c.by);
        // loaded in the child only, so that each case builds one set of packages
        EXPECT_EXIT(
            {
                load(game_entries(init));
                file_io.read_init();
            },
            ::testing::ExitedWithCode(1), c.message);
    }
}

TEST_F(Init_DeathTest, MissingInitOrLocaleFileStops) {
    EXPECT_EXIT(
        {
            load(game_entries(""));
            file_io.read_init();
        },
        ::testing::ExitedWithCode(1), "Can't open data/init.yaml");
    EXPECT_EXIT(
        {
            load(game_entries(init_yaml, "locales: []\nlines: []\n"));
            file_io.read_init();
        },
        ::testing::ExitedWithCode(1), "data/locale.yaml: locales is empty");
    EXPECT_EXIT(
        {
            load(game_entries(init_yaml, "locales:\n  - {id: en_US, description: E}\n"
                                         "  - {id: fr_FR, description: F}\nlines:\n"
                                         "  - {en_US: Quit}\n"));
            file_io.read_init();
        },
        ::testing::ExitedWithCode(1),
        "Value fr_FR not found in Yaml input \\(lines/0, data/locale.yaml:[0-9]+\\)");
}

} // namespace
} // namespace Orvane::Test
