// The menu system's callbacks, its frame step, the highlight walk and clicks, on the pages of the
// packed sample game.

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Keys.h>

#include "support/Menu_fixture.h"

namespace Orvane::Test {
namespace {

using Text = Component::Simple<std::string>;

using Info = Component::Tuple<std::string, double, std::int64_t>;

/// The requests a callback may emit.
const std::vector<Store_key> requests = {
    Key::game_exit,          Key::game_save,   Key::game_load,
    Key::game_reset,         Key::music_stop,  Key::game_support,
    Key::game_config_changed, Key::game_notify_end_achievements};

struct Callback_case {
    std::string page;
    std::string effect;
    std::string occupied;          ///< a save slot holding a game, or empty
    std::set<std::string> signals; ///< the requests emitted, as "entity:component"
    std::string savegame;          ///< Savegame:id afterwards, "<none>" when absent
    Status top;                    ///< the status on top afterwards
    std::string shown;             ///< Game:current_menu afterwards
};

const std::string exit_s = "Game:exit", save_s = "Game:save", load_s = "Game:load",
                  reset_s = "Game:reset", stop_s = "Music:stop", support_s = "Game:support",
                  config_s = "Game:config_changed";

std::vector<Callback_case> callback_cases() {
    using S = Status;
    std::vector<Callback_case> cases = {
        {"Exit", "Phone", "", {}, "<none>", S::IN_MENU, "Phone"},
        {"Exit", "Settings", "", {}, "<none>", S::IN_MENU, "Settings"},
        {"Exit", "Controls", "", {}, "<none>", S::IN_MENU, "Controls"},
        {"Exit", "New_game", "", {}, "<none>", S::IN_MENU, "New_game"},
        {"Exit", "Load", "", {}, "<none>", S::IN_MENU, "Load"},
        {"Exit", "Save", "", {}, "<none>", S::IN_MENU, "Save"},
        // the second registration of (Exit, Quit) wins: quit, saving to the automatic slot
        {"Exit", "Quit", "", {exit_s, save_s}, "auto", S::IN_MENU, "Exit"},
        {"Exit", "Support", "", {support_s}, "<none>", S::IN_MENU, "Exit"},
        {"Exit", "Ok", "", {}, "<none>", S::IDLE, "Exit"},
        {"Message", "Ok", "", {}, "<none>", S::IDLE, "Message"},
        {"Saved", "Ok", "", {}, "<none>", S::IDLE, "Saved"},
        {"New_game", "Ok", "", {reset_s, stop_s}, "<none>", S::LOCKED, "New_game"},
        {"End", "End_new_game", "", {reset_s, stop_s}, "<none>", S::LOCKED, "End"},
        {"End", "End_quit", "", {exit_s}, "<none>", S::IN_MENU, "End"},
        {"New_game", "Cancel", "", {}, "<none>", S::IN_MENU, "Exit"},
        {"Wanna_save", "Ok", "", {save_s}, "<none>", S::IN_MENU, "Saved"},
        {"Wanna_save", "Cancel", "", {}, "<none>", S::IN_MENU, "Save"},
        {"Wanna_load", "Ok", "", {load_s, reset_s, stop_s}, "<none>", S::IDLE,
         "Wanna_load"},
        {"Wanna_load", "Cancel", "", {}, "<none>", S::IN_MENU, "Load"},
        {"Controls", "Ok", "", {}, "<none>", S::IN_MENU, "Exit"},
        {"Phone", "Ok", "", {}, "<none>", S::IN_MENU, "Exit"},
        {"Settings", "Ok", "", {config_s}, "<none>", S::IN_MENU, "Exit"},
        {"Save", "Ok", "", {}, "<none>", S::IN_MENU, "Exit"},
        {"Load", "Ok", "", {}, "<none>", S::IN_MENU, "Exit"},
        // an occupied slot asks first
        {"Save", "Save_2", "2", {}, "2", S::IN_MENU, "Wanna_save"},
    };
    for (const std::string id : {"auto", "1", "2", "3", "4", "5"}) {
        cases.push_back({"Load", "Load_" + id, "", {}, id, S::IN_MENU, "Wanna_load"});
        // a free slot saves at once
        cases.push_back({"Save", "Save_" + id, "", {save_s}, id, S::IN_MENU, "Saved"});
    }
    return cases;
}

using Menu_callback_test = Menu_test;

TEST_F(Menu_callback_test, EveryPairDoesWhatItsEntrySays) {
    const std::vector<Callback_case> cases = callback_cases();
    std::set<std::string> pairs;
    for (const Callback_case& c : cases)
        pairs.insert(c.page + ":" + c.effect);
    std::set<std::string> registered;
    for (const auto& [id, callback] : menu().callbacks())
        registered.insert(id.str());
    EXPECT_EQ(pairs, registered);

    // the message page shows the text Message:text points at
    content().set<Component::Variable>("Message", "text",
                                       content().get<Text>("Saved", "text"));
    for (const Callback_case& c : cases) {
        SCOPED_TRACE(c.page + ":" + c.effect);
        to_idle();
        for (const Store_key& key : {Key::savegame_id, Key::game_new_room,
                                     Key::game_new_room_origin})
            content().remove(key, true);
        for (const char* slot : Config::save_ids)
            content().remove(Key::save_slot(slot), "info", true);
        if (!c.occupied.empty())
            content().set<Info>(Key::save_slot(c.occupied), "info", std::string("Quay"), 60.0,
                                std::int64_t{2000000000});
        open(c.page);
        for (const Store_key& key : requests)
            content().remove(key, true);

        menu().callbacks().at(Component::Id(c.page, c.effect))(c.page, c.effect);

        std::set<std::string> emitted;
        for (const Store_key& key : requests)
            if (content().signal(key))
                emitted.insert(key.str());
        EXPECT_EQ(emitted, c.signals);
        EXPECT_EQ(text_of(Key::savegame_id), c.savegame);
        EXPECT_EQ(game_status().value(), c.top);
        EXPECT_EQ(text_of(Key::game_current_menu), c.shown);
        // a page stays open while IN_MENU is on top; the background goes with the last page
        EXPECT_EQ(image(std::string(Key::menu_background_image.entity))->on(),
                  c.top == Status::IN_MENU);
    }
    // no room was loaded: nothing to save at the end
    for (const Store_key& key : requests)
        content().remove(key, true);
}

TEST_F(Menu_callback_test, ARestartGoesToTheStartRoomLocked) {
    for (const auto& [page, effect] : std::vector<std::pair<std::string, std::string>>{
             {"New_game", "Ok"}, {"End", "End_new_game"}}) {
        SCOPED_TRACE(page);
        to_idle();
        open(page);
        menu().callbacks().at(Component::Id(page, effect))(page, effect);
        // IN_MENU popped, LOCKED pushed on the status the menu opened from
        EXPECT_EQ(game_status().size(), 2u);
        EXPECT_TRUE(game_status().is(Status::LOCKED));
        EXPECT_TRUE(game_status().was(Status::IDLE));
        // the requests stand for the start room itself
        const auto& held = content().components("new_room");
        bool variable = false;
        for (const auto& [id, c] : held)
            if (id.entity() == "Game")
                if (auto v = std::dynamic_pointer_cast<Component::Variable>(c))
                    variable = v->get() == content().get<Text>(Key::game_init_new_room);
        EXPECT_TRUE(variable) << "Game:new_room is no variable on Game:init_new_room";
        EXPECT_EQ(text_of(Key::game_new_room), "quay");
        EXPECT_EQ(text_of(Key::game_new_room_origin), "start");
        EXPECT_FALSE(image("Title_" + page)->on());
    }
}

using Menu_callback_death_test = Menu_test;

TEST_F(Menu_callback_death_test, AnEffectWithoutCallbackOrActionStopsTheGame) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            open("Exit");
            content().set<Text>("Nope", "effect", std::string("Nope"));
            content().set<Text>(Key::interface_active_menu_item, std::string("Nope_button"));
            menu().menu_clicked();
        },
        ::testing::ExitedWithCode(1), "Unknown menu effect: Exit:Nope");
}

// ---- The frame ----

using Menu_frame_test = Menu_test;

TEST_F(Menu_frame_test, WithoutMenusAPendingPageWaitsButTheRebuildsRun) {
    content().emit(Key::game_no_menu);
    content().set<Text>(Key::menu_create, std::string("Exit"));
    content().set<Text>(Key::menu_delete, std::string("Settings"));
    auto load = page("Load");
    auto controls = page("Controls");
    content().set<Info>(Key::save_slot("1"), "info", std::string("Quay"), 60.0,
                        std::int64_t{2000000000});
    content().emit(Key::saves_have_changed);
    set_mode(Input_mode::GAMEPAD);
    content().emit(Key::input_mode_changed);
    game_status().push(Status::IN_MENU);

    menu().run();

    EXPECT_EQ(text_of(Key::menu_create), "Exit");
    EXPECT_EQ(text_of(Key::menu_delete), "Settings");
    EXPECT_EQ(text_of(Key::game_current_menu), "<none>");
    // neither signal stays for the interface to find every frame
    EXPECT_FALSE(content().signal(Key::saves_have_changed));
    EXPECT_FALSE(content().signal(Key::input_mode_changed));
    EXPECT_NE(page("Load"), load);
    EXPECT_EQ(page("Load")->nb_children(), 3u);
    EXPECT_EQ((*page("Load"))[1].image()->entity(), "Load_1_button");
    EXPECT_NE(page("Controls"), controls);
    EXPECT_EQ(page("Controls")->nb_children(), 5u);
}

TEST_F(Menu_frame_test, APageAskedAndClosedInOneFrameIsShownThenHidden) {
    content().set<Text>(Key::menu_create, std::string("Exit"));
    content().set<Text>(Key::menu_delete, std::string("Exit"));
    menu().run();
    EXPECT_EQ(text_of(Key::menu_create), "<none>");
    EXPECT_EQ(text_of(Key::menu_delete), "<none>");
    EXPECT_EQ(text_of(Key::game_current_menu), "Exit");
    EXPECT_FALSE(image(std::string(Key::menu_background_image.entity))->on());
    EXPECT_FALSE(content().request<Component::Image>("Game_info", "image"));
}

TEST_F(Menu_frame_test, TheRebuildSignalsRebuildTheirPages) {
    auto save = page("Save");
    ASSERT_EQ(save->nb_children(), 3u); // title, slot 1 free, Ok
    for (const char* slot : {"auto", "1", "2"})
        content().set<Info>(Key::save_slot(slot), "info", std::string("Quay"), 60.0,
                            std::int64_t{2000000000});
    content().emit(Key::saves_have_changed);
    set_mode(Input_mode::TOUCHSCREEN);
    content().emit(Key::input_mode_changed);
    menu().run();
    EXPECT_EQ(page("Save")->nb_children(), 5u);
    EXPECT_EQ(page("Load")->nb_children(), 5u);
    EXPECT_EQ((*page("Load"))[1].image()->entity(), "Load_auto_button");
    EXPECT_EQ(page("Controls")->nb_children(), 3u);
    EXPECT_FALSE(content().signal(Key::saves_have_changed));
    EXPECT_FALSE(content().signal(Key::input_mode_changed));
}

TEST_F(Menu_frame_test, TheWalkShowsTheOpenPageEveryFrame) {
    open("Exit");
    EXPECT_FALSE(image("Phone_button")->on()); // shown by the walk, not by show_menu
    menu().run();
    for (const char* entity : {"Menu_logo", "Phone_button", "Phone_icon", "Exit_Phone",
                               "Quit_button", "Ok_alone_button", "Ok_alone_icon"})
        EXPECT_TRUE(image(entity)->on()) << entity;
    EXPECT_TRUE(image(std::string(Key::menu_overlay_image.entity))->on());
    EXPECT_TRUE(image("Game_info")->on());
}

TEST_F(Menu_frame_test, AControllerStartsOnTheFirstButtonOrSettingRow) {
    set_mode(Input_mode::GAMEPAD);
    open("Exit");
    menu().run();
    EXPECT_EQ(text_of(Key::interface_active_menu_item), "Phone_button");
    EXPECT_EQ(text_of(Key::interface_gamepad_active_menu_item), "Phone_button");
    EXPECT_EQ(image("Phone_button")->alpha(), 255);
    EXPECT_EQ(image("Settings_button")->alpha(), 0);
    menu().hide_menu("Exit");

    open("Settings");
    menu().run();
    EXPECT_EQ(text_of(Key::interface_active_menu_item), "Language");
    EXPECT_EQ(text_of(Key::interface_gamepad_active_menu_item), "Language");
    menu().run();
    // from the next frame on, the row's button is lit
    EXPECT_EQ(image("Language_button")->alpha(), 255);
    EXPECT_EQ(image("Fullscreen_button")->alpha(), 0);
    EXPECT_EQ(image("Ok_alone_button")->alpha(), 0);
}

TEST_F(Menu_frame_test, AnArrowUnderThePointerIsNeverTakenForTheControllersEntry) {
    open("Settings");
    content().set<Text>(Key::interface_active_menu_item, std::string("Fullscreen_left_arrow"));
    menu().run();
    // the arrow lights its row's button, and stays the pointer's alone
    EXPECT_EQ(text_of(Key::interface_active_menu_item), "Fullscreen_left_arrow");
    EXPECT_EQ(text_of(Key::interface_gamepad_active_menu_item), "<none>");
    EXPECT_EQ(image("Fullscreen_button")->alpha(), 255);
    EXPECT_EQ(image("Language_button")->alpha(), 0);

    // a controller taken up with an entry active keeps it
    set_mode(Input_mode::GAMEPAD);
    menu().run();
    EXPECT_EQ(text_of(Key::interface_active_menu_item), "Fullscreen_left_arrow");
    EXPECT_EQ(text_of(Key::interface_gamepad_active_menu_item), "<none>");
}

TEST_F(Menu_frame_test, UnderTouchNoButtonIsLit) {
    set_mode(Input_mode::TOUCHSCREEN);
    for (const char* name : {"Exit", "Settings"}) {
        SCOPED_TRACE(name);
        open(name);
        content().set<Text>(Key::interface_active_menu_item,
                            std::string(name) == "Exit" ? "Phone_button" : "Language_left_arrow");
        menu().run();
        int buttons = 0;
        for (const auto& i : images_of(name))
            if (i->entity().find("_button") != std::string::npos) {
                ++buttons;
                EXPECT_EQ(i->alpha(), 0) << i->entity();
            }
        EXPECT_GE(buttons, 7);
        menu().hide_menu(name);
        game_status().pop();
    }
}

TEST_F(Menu_frame_test, APageWithoutButtonsLeavesTheControllerOnNothing) {
    set_mode(Input_mode::GAMEPAD);
    auto bare = content().set<Component::Menu>("Bare", "menu");
    bare->split(Split_direction::VERTICALLY, 1);
    menu().make_text_menu_title((*bare)[0], "Settings");
    open("Bare");
    for (int frame = 0; frame < 2; ++frame) {
        menu().run();
        EXPECT_EQ(text_of(Key::interface_active_menu_item), "");
        EXPECT_EQ(text_of(Key::interface_gamepad_active_menu_item), "");
    }
    EXPECT_TRUE(image("Title_Settings")->on());
}

// ---- Clicks ----

using Menu_click_test = Menu_test;

TEST_F(Menu_click_test, AnArrowAppliesItsValueThenPlaysTheClick) {
    open("Settings");
    content().get<Component::Simple<int>>(Key::sounds_volume)->set(10);
    menu().show_menu("Settings");
    struct Step {
        const char* arrow;
        int volume;
    };
    // 100 wraps to 0 and back
    for (const Step& step : {Step{"Sound_volume_right_arrow", 0}, Step{"Sound_volume_left_arrow", 10},
                             Step{"Sound_volume_left_arrow", 9}}) {
        SCOPED_TRACE(step.arrow);
        content().remove(Key::click_play_sound, true);
        content().set<Text>(Key::interface_active_menu_item, std::string(step.arrow));
        content().emit(Key::menu_clicked);
        menu().run();
        EXPECT_EQ(content().get<Component::Simple<int>>(Key::sounds_volume)->value(),
                  step.volume);
        EXPECT_TRUE(content().signal(Key::click_play_sound));
        EXPECT_FALSE(content().signal(Key::menu_clicked));
    }
    EXPECT_TRUE(image("Sound_volume_90")->on());
    EXPECT_FALSE(image("Sound_volume_100")->on());
}

TEST_F(Menu_click_test, AnEntryWithAnActionLaunchesItSilently) {
    to_idle();
    open("Exit");
    auto action = content().set<Component::Action>("Test_call", "action");
    content().set<Text>("Test_call", "effect", std::string("Test_call"));
    content().set<Text>(Key::interface_active_menu_item, std::string("Test_call_button"));
    menu().menu_clicked();
    EXPECT_TRUE(game_status().is(Status::IDLE));
    EXPECT_EQ(content().request<Component::Action>(Key::character_triggered_action), action);
    EXPECT_FALSE(content().signal(Key::click_play_sound));
    EXPECT_FALSE(image(std::string(Key::menu_background_image.entity))->on());
}

TEST_F(Menu_click_test, AnEntryWithoutEffectDoesNothing) {
    for (const char* name : {"Exit", "Settings"}) {
        SCOPED_TRACE(name);
        open(name);
        // the logo has no effect; a row's own button has its setting as effect
        content().set<Text>(Key::interface_active_menu_item,
                            std::string(name) == "Exit" ? "Menu_logo" : "Language_button");
        const std::size_t depth = game_status().size();
        menu().menu_clicked();
        EXPECT_EQ(game_status().size(), depth);
        EXPECT_EQ(text_of(Key::game_current_menu), name);
        EXPECT_FALSE(content().signal(Key::click_play_sound));
        EXPECT_TRUE(image(std::string(Key::menu_background_image.entity))->on());
    }
}

} // namespace
} // namespace Orvane::Test
