// The Controls, Phone and End pages of the menus, on the packed sample game.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Keys.h>
#include <Orvane/Third_party/Gamepad.h>

#include "support/Menu_fixture.h"

namespace Orvane::Test {
namespace {

using Text = Component::Simple<std::string>;

using Pad = Component::Simple<Gamepad_info>;
using Numbers = Component::Vector<std::string>;
using Seconds = Component::Simple<double>;

using Menu_controls_test = Menu_test;

TEST_F(Menu_controls_test, TheControlsPageFollowsTheInputMode) {
    auto controls = page("Controls");
    ASSERT_EQ(controls->nb_children(), 3u);
    const std::string mouse = content().get<Text>("Controls_mouse", "text")->value();
    EXPECT_EQ(image("Controls_text")->width(), text_width(Key::interface_light_font, mouse));
    EXPECT_EQ(image("Controls_text")->height(), text_height(Key::interface_light_font, mouse));
    EXPECT_EQ(image("Controls_text")->scale(), 0.4);
    EXPECT_EQ(offset("Controls_text"), Point(28, 135));

    set_mode(Input_mode::GAMEPAD);
    content().emit(Key::input_mode_changed);
    menu().run();
    controls = page("Controls");
    ASSERT_EQ(controls->nb_children(), 5u);
    const std::string pad = content().get<Text>("Controls_gamepad", "text")->value();
    EXPECT_EQ(image("Controls_text")->width(), text_width(Key::interface_light_font, pad));
    EXPECT_EQ((*controls)[2].image(), image("Gamepad_style_button"));
    EXPECT_EQ(offset("Gamepad_style_button"), Point(240, 645));
    EXPECT_EQ(offset("Gamepad_orient_button"), Point(240, 760));
    // without a controller record both rows show their first value
    EXPECT_EQ((*controls)[2][1].image()->entity(), "Gamepad_style_Xbox");
    EXPECT_EQ((*controls)[3][1].image()->entity(), "Gamepad_orient_Ok_right");
    EXPECT_EQ((*controls)[4].image(), image("Ok_alone_button"));
}

TEST_F(Menu_controls_test, AControllersRecordSelectsItsRows) {
    set_mode(Input_mode::GAMEPAD);
    content().set<Text>(Key::gamepad_id, std::string("Gamepad(1:2)"));
    content().set<Pad>("Gamepad(1:2)", "gamepad",
                       Gamepad_info("1:2", Gamepad_labels::PLAYSTATION, true));
    menu().init_controls_menu();
    auto controls = page("Controls");
    EXPECT_EQ((*controls)[2][1].image()->entity(), "Gamepad_style_Playstation");
    EXPECT_EQ((*controls)[3][1].image()->entity(), "Gamepad_orient_Ok_down");

    content().set<Pad>("Gamepad(1:2)", "gamepad",
                       Gamepad_info("1:2", Gamepad_labels::NINTENDO, false));
    menu().init_controls_menu();
    controls = page("Controls");
    EXPECT_EQ((*controls)[2][1].image()->entity(), "Gamepad_style_Nintendo");
    EXPECT_EQ((*controls)[3][1].image()->entity(), "Gamepad_orient_Ok_right");
}

TEST_F(Menu_controls_test, ALongControllerNameIsCutAtAWholeCharacter) {
    set_mode(Input_mode::GAMEPAD);
    // a short help text, so that the name's line is the widest
    content().set<Text>("Controls_gamepad", "text", std::string("Pad\n"));
    content().set<Text>(Key::gamepad_id, std::string("Gamepad(1:2)"));
    struct Name {
        std::string name;
        std::string shown;
    };
    // 19 bytes, then "é" over bytes 20 and 21, then 4 more: 25 bytes
    for (const Name& n : {Name{"Wireless Gamepad Pr\xC3\xA9mium", "Wireless Gamepad Pr..."},
                          Name{"Wireless Controller Plus", "Wireless Controller ..."},
                          Name{"Short pad", "Short pad"}}) {
        SCOPED_TRACE(n.name);
        content().set<Pad>("Gamepad(1:2)", "gamepad", Gamepad_info(1, 2, n.name));
        menu().init_controls_menu();
        const std::string expected = "Pad\n\n " + n.shown + " (1:2)";
        EXPECT_EQ(image("Controls_text")->width(),
                  text_width(Key::interface_light_font, expected));
        EXPECT_EQ(image("Controls_text")->height(),
                  text_height(Key::interface_light_font, expected));
    }
}

/// Two numbers the player knows, with their labels and actions.
void know_two_numbers(Content& c) {
    c.set<Text>("harbour_radio", "label", std::string("Harbour radio 16"));
    c.set<Text>("ferry_office", "label", std::string("Ferry office 555 0123"));
    c.set<Component::Action>("harbour_radio", "action");
    c.set<Component::Action>("ferry_office", "action");
    c.set<Numbers>(Key::phone_numbers_list,
                   std::vector<std::string>{"harbour_radio", "ferry_office"});
}

TEST_F(Menu_controls_test, ThePhoneListsTheKnownNumbers) {
    know_two_numbers(content());
    to_idle();
    open("Phone");
    auto phone = page("Phone");
    ASSERT_EQ(phone->nb_children(), 4u);
    EXPECT_EQ(phone->root()[0].image(), image("Title_Phone"));
    struct Entry {
        const char* id;
        double y;
        const char* name;
        const char* digits;
    };
    // the label splits at its last space
    for (const Entry& e : {Entry{"harbour_radio", 135, "Harbour radio", "16"},
                           Entry{"ferry_office", 235, "Ferry office 555", "0123"}}) {
        SCOPED_TRACE(e.id);
        const std::string id = e.id;
        EXPECT_EQ(offset(id + "_button"), Point(240, e.y + 50));
        EXPECT_EQ(offset(id + "_name"), Point(35, e.y + 35));
        EXPECT_EQ(offset(id + "_number"), Point(35, e.y + 75));
        EXPECT_EQ(image(id + "_name")->width(), text_width(Key::interface_font, e.name));
        EXPECT_EQ(image(id + "_number")->width(), text_width(Key::interface_light_font, e.digits));
        EXPECT_EQ(content().get<Text>(id, "effect")->value(), id);
    }
    EXPECT_EQ(phone->root()[3].image(), image("Ok_alone_button"));

    // shown again with the same list, nothing is rebuilt
    menu().hide_menu("Phone");
    menu().show_menu("Phone");
    EXPECT_EQ(page("Phone"), phone);

    // a changed order is
    content().set<Numbers>(Key::phone_numbers_list,
                           std::vector<std::string>{"ferry_office", "harbour_radio"});
    menu().show_menu("Phone");
    EXPECT_NE(page("Phone"), phone);
    EXPECT_EQ(page("Phone")->root()[1].image(), image("ferry_office_button"));
    // the entries' reused buttons and numbers move with them
    EXPECT_EQ(offset("ferry_office_button"), Point(240, 185));
    EXPECT_EQ(offset("ferry_office_number"), Point(35, 210));
    EXPECT_EQ(offset("harbour_radio_button"), Point(240, 285));
    EXPECT_EQ(offset("harbour_radio_number"), Point(35, 310));
}

TEST_F(Menu_controls_test, CallingANumberLaunchesItsAction) {
    know_two_numbers(content());
    to_idle();
    open("Phone");
    content().set<Text>(Key::interface_active_menu_item, std::string("ferry_office_button"));
    menu().menu_clicked();
    EXPECT_TRUE(game_status().is(Status::IDLE));
    EXPECT_EQ(content().request<Component::Action>(Key::character_triggered_action),
              content().get<Component::Action>("ferry_office", "action"));
}

TEST_F(Menu_controls_test, ThePhoneIsForbiddenOutsideTheIdleStatus) {
    know_two_numbers(content());
    // LOCKED under the menu
    open("Phone");
    auto phone = page("Phone");
    ASSERT_EQ(phone->nb_children(), 3u);
    EXPECT_EQ(phone->root()[1][0].image(), image("No_phone_allowed_0"));
    EXPECT_EQ(phone->root()[1].nb_children(), 2u);
    menu().hide_menu("Phone");

    // from the idle status without a list the page stays as it is
    content().remove(Key::phone_numbers_list);
    to_idle();
    open("Phone");
    EXPECT_EQ(page("Phone"), phone);

    // an empty list: the title and Ok
    content().set<Numbers>(Key::phone_numbers_list);
    menu().show_menu("Phone");
    ASSERT_EQ(page("Phone")->nb_children(), 2u);
    EXPECT_EQ(page("Phone")->root()[1].image(), image("Ok_alone_button"));
}

using Menu_controls_death_test = Menu_test;

TEST_F(Menu_controls_death_test, APhoneLabelWithoutASpaceStopsTheGame) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            content().set<Text>("bad", "label", std::string("Nospace"));
            content().set<Numbers>(Key::phone_numbers_list, std::vector<std::string>{"bad"});
            to_idle();
            open("Phone");
        },
        ::testing::ExitedWithCode(1), "Warning: ill-formed number Nospace");
}

TEST_F(Menu_controls_test, TheEndPageShowsThePlayTime) {
    content().request<Seconds>(Fast_access_component::CLOCK_SAVED_TIME)->set(3000);
    content().request<Seconds>(Fast_access_component::CLOCK_TIME)->set(1000);
    content().request<Seconds>(Fast_access_component::CLOCK_DISCOUNTED_TIME)->set(400);
    // a short message, so that the play time's line is the widest
    content().set<Text>("End_message", "text", std::string("Done"));
    open("End");
    EXPECT_TRUE(content().signal(Key::game_notify_end_achievements));
    auto end = page("End");
    ASSERT_EQ(end->nb_children(), 4u);
    EXPECT_EQ(end->root()[0].image(), image("Title_End"));
    const std::string expected = "Done\nElapsed = 01:00";
    EXPECT_EQ(image("End_message_text")->width(),
              text_width(Key::interface_light_font, expected));
    EXPECT_EQ(image("End_message_text")->height(),
              text_height(Key::interface_light_font, expected));
    EXPECT_EQ(offset("End_message_text"), Point(28, 135));
    EXPECT_EQ(end->root()[2].image(), image("End_new_game_button"));
    EXPECT_EQ(offset("End_new_game_button"), Point(240, 480));
    EXPECT_EQ(offset("End_quit_button"), Point(240, 595));
    EXPECT_EQ(end->root()[3][0][0].image(), image("End_quit_icon"));

    // shown again, the page is made anew
    menu().hide_menu("End");
    menu().show_menu("End");
    EXPECT_NE(page("End"), end);
}

/// The sample game without its scripts: the room loads and stays as it is.
class Menu_quiet_test : public Menu_test {
  protected:
    bool scripts() const override { return false; }
};

TEST_F(Menu_quiet_test, ANumberLearntInTheRoomCanBeCalledTheNextFrame) {
    ASSERT_TRUE(engine.run_frames(3)); // the quay loads
    ASSERT_EQ(text_of(Key::game_current_room), "quay");
    ASSERT_FALSE(content().request<Component::Action>("harbour_radio", "action"));
    // what the script's "add" step does
    content().set<Numbers>(Key::phone_numbers_list, std::vector<std::string>{"harbour_radio"});
    ASSERT_TRUE(engine.run_frames(1));
    EXPECT_TRUE(content().request<Component::Action>("harbour_radio", "action"));

    to_idle();
    content().set<Text>(Key::menu_create, std::string("Phone"));
    game_status().push(Status::IN_MENU);
    ASSERT_TRUE(engine.run_frames(1));
    ASSERT_EQ(page("Phone")->nb_children(), 3u);
    EXPECT_EQ(page("Phone")->root()[1].image(), image("harbour_radio_button"));
    EXPECT_EQ(image("harbour_radio_name")->width(),
              text_width(Key::interface_font, "Harbour radio"));

    content().set<Text>(Key::interface_active_menu_item, std::string("harbour_radio_button"));
    content().emit(Key::menu_clicked);
    menu().run();
    EXPECT_TRUE(game_status().is(Status::IDLE));
    EXPECT_EQ(content().request<Component::Action>(Key::character_triggered_action),
              content().get<Component::Action>("harbour_radio", "action"));
    EXPECT_TRUE(engine.run_frames(1));
}

} // namespace
} // namespace Orvane::Test
