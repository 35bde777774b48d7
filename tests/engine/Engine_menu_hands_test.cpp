// The sample game's menus played by controller and by touch through SDL's own event queue, in
// this process. By controller: Start opens the Exit page, the d-pad walks each page's highlight
// and the confirm button picks it; the Controls page names the controller and turns its confirm
// button to the right. By touch: the Android back key opens the Exit page and a finger taps the
// entries. Both change the settings (French everywhere, fast text, the sound at half volume),
// save to slot 1, start a new game and load the slot back.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Menu.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/Third_party/Gamepad.h>
#include <Orvane/Third_party/SDL.h>

#include "support/Controller_play.h"
#include "support/Input_store.h"
#include "support/Sample_play.h"
#include "support/Virtual_controller.h"

namespace {

using namespace Orvane;
using Text = Component::Simple<std::string>;
using Number = Component::Simple<int>;
using Orvane::Test::press;

/// What a device does in the menus: open the Exit page from play, pick an entry of the shown
/// page, step a setting row left or right.
struct Hands {
    std::function<void()> open;
    std::function<bool(const std::string&)> choose;
    std::function<void(const std::string&, bool)> step;
};

class Menu_hands_test : public Orvane::Test::Sample_play_test {
  protected:
    /// The page shown, "<closed>" out of the menus.
    std::string shown() {
        if (top() != Status::IN_MENU)
            return "<closed>";
        return content().value<Text>(Key::game_current_menu, std::string("<none>"));
    }

    /// The entity of the value a setting row shows, on the shown page.
    std::string row_value(const std::string& page, const std::string& setting) {
        auto menu = content().get<Component::Menu>(page, "menu");
        for (std::size_t i = 0; i < menu->nb_children(); ++i) {
            const Component::Menu::Vertex_wrapper row = (*menu)[i];
            if (row.nb_children() == 4 && row[0].image() &&
                row[0].image()->entity() == setting + "_setting")
                return row[1].image()->entity();
        }
        return "<no row " + setting + ">";
    }

    /// Whether the Controls page's help text is `text`, by its drawn size.
    void expect_controls_text(const std::string& text) {
        auto image = content().get<Component::Image>("Controls_text", "image");
        EXPECT_EQ(image->width(), text_width(Key::interface_light_font, text)) << text;
        EXPECT_EQ(image->height(), text_height(Key::interface_light_font, text)) << text;
    }

    /// Settings: French, which every page and the window title follow; fast text; the sound at
    /// half volume; Ok writes them.
    void settings_by(const Hands& hands) {
        SCOPED_TRACE("settings");
        if (top() != Status::IN_MENU)
            hands.open();
        ASSERT_EQ(shown(), "Exit");
        ASSERT_TRUE(hands.choose("Settings_button"));
        ASSERT_EQ(shown(), "Settings");
        hands.step("Language", true);
        EXPECT_EQ(content().value<Text>(Fast_access_component::GAME_CURRENT_LOCALE), "fr_FR");
        ASSERT_EQ(shown(), "Settings");
        EXPECT_STREQ(SDL_GetWindowTitle(Third_party::SDL::m_window), "La Lampe de Gull Point");
        for (const auto& [entity, french] : Orvane::Test::sample_french_menu_texts())
            EXPECT_EQ(content().get<Component::Image>(entity, "image")->width(),
                      text_width(Key::interface_font, french))
                << entity;

        for (int i = 0; i < 3 && content().get<Number>(Key::dialog_speed)->value() != 9; ++i)
            hands.step("Text_speed", true);
        EXPECT_EQ(row_value("Settings", "Text_speed"), "Text_speed_Fast");
        for (int i = 0; i < 10 && content().get<Number>(Key::sounds_volume)->value() != 5; ++i)
            hands.step("Sound_volume", false);
        EXPECT_EQ(row_value("Settings", "Sound_volume"), "Sound_volume_50");
        ASSERT_TRUE(hands.choose("Ok_alone_button"));
        EXPECT_EQ(shown(), "Exit");
        const std::string config = pref.read("config.yaml");
        for (const char* line : {"locale: \"fr_FR\"", "dialog_speed: 9", "sounds_volume: 5"})
            EXPECT_NE(config.find(line), std::string::npos) << line << " not in\n" << config;
    }

    /// Carrying the rope and three coins, the door open: saved to slot 1, listed on the Load
    /// page; a new game starts without them; loading slot 1 brings them back.
    void saves_by(const Hands& hands) {
        SCOPED_TRACE("saves");
        content().get<Text>("rope", "state")->set("inventory_rope");
        content().get<Component::Inventory>(Key::game_inventory)->add("rope");
        content().get<Number>("coins", "value")->set(3);
        content().get<Text>("tower_door", "state")->set("open");
        input.run(2);

        if (top() != Status::IN_MENU)
            hands.open();
        ASSERT_EQ(shown(), "Exit");
        ASSERT_TRUE(hands.choose("Save_button"));
        ASSERT_EQ(shown(), "Save");
        ASSERT_TRUE(hands.choose("Save_1_button"));
        EXPECT_EQ(shown(), "Saved");
        EXPECT_FALSE(pref.read("save_1.yaml").empty());
        ASSERT_TRUE(hands.choose("Ok_alone_button"));
        ASSERT_TRUE(input.run_until([&](Content&) { return top() == Status::IDLE; }, 10));

        hands.open();
        ASSERT_TRUE(hands.choose("Load_button"));
        ASSERT_EQ(shown(), "Load");
        auto load = content().get<Component::Menu>("Load", "menu");
        bool listed = false;
        for (std::size_t i = 1; i + 1 < load->nb_children(); ++i)
            listed = listed || (*load)[i].image()->entity() == "Load_1_button";
        EXPECT_TRUE(listed) << "slot 1 is not on the Load page";
        ASSERT_TRUE(hands.choose("Ok_alone_button"));
        ASSERT_EQ(shown(), "Exit");

        ASSERT_TRUE(hands.choose("New_game_button"));
        ASSERT_EQ(shown(), "New_game");
        ASSERT_TRUE(hands.choose("Ok_button"));
        ASSERT_TRUE(skip_opening()) << "the new game's opening did not end";
        EXPECT_EQ(content().get<Component::Inventory>(Key::game_inventory)->size(), 0u);
        EXPECT_EQ(content().get<Number>("coins", "value")->value(), 0);
        EXPECT_EQ(content().get<Text>("tower_door", "state")->value(), "closed");

        hands.open();
        ASSERT_TRUE(hands.choose("Load_button"));
        ASSERT_TRUE(hands.choose("Load_1_button"));
        ASSERT_EQ(shown(), "Wanna_load");
        ASSERT_TRUE(hands.choose("Ok_button"));
        ASSERT_TRUE(input.run_until(
            [](Content& c) {
                return c.get<Component::Inventory>(Key::game_inventory)->size() == 1 &&
                       !c.request<Text>(Key::game_new_room);
            },
            300))
            << "the save was not loaded";
        EXPECT_EQ(content().get<Component::Inventory>(Key::game_inventory)->get(0), "rope");
        EXPECT_EQ(content().get<Number>("coins", "value")->value(), 3);
        EXPECT_EQ(content().get<Text>("tower_door", "state")->value(), "open");
    }
};

TEST_F(Menu_hands_test, ControlsSettingsSavesAndALoadByController) {
    // an Xbox layout: A (south) confirms, B (east) cancels
    Orvane::Test::Virtual_controller pad("Xbox Series X Controller", 1118, 736);
    input.run(1);
    ASSERT_EQ(Orvane::Test::input_mode(content()), Input_mode::GAMEPAD);
    SDL_GameControllerButton confirm = SDL_CONTROLLER_BUTTON_A;
    const Hands hands{
        [&] {
            press(input, pad, SDL_CONTROLLER_BUTTON_START);
            input.run(1);
        },
        [&](const std::string& entry) {
            const bool chosen = Orvane::Test::menu_choose(input, pad, content(), entry, confirm);
            EXPECT_TRUE(chosen) << entry << " not reached on " << shown() << ", highlight "
                                << Orvane::Test::menu_highlight(content());
            return chosen;
        },
        [&](const std::string& setting, bool right) {
            ASSERT_TRUE(Orvane::Test::menu_walk_to(input, pad, content(), setting)) << setting;
            press(input, pad,
                  right ? SDL_CONTROLLER_BUTTON_DPAD_RIGHT : SDL_CONTROLLER_BUTTON_DPAD_LEFT);
        }};

    // Start opens Exit on its first button
    hands.open();
    ASSERT_EQ(shown(), "Exit");
    EXPECT_EQ(Orvane::Test::menu_highlight(content()), "Phone_button");

    // Controls: the controller's help, its name cut to 20 bytes and its id, its two rows
    {
        SCOPED_TRACE("controls");
        ASSERT_TRUE(hands.choose("Controls_button"));
        ASSERT_EQ(shown(), "Controls");
        const Gamepad_info info =
            content()
                .get<Component::Simple<Gamepad_info>>(content().get<Text>(Key::gamepad_id)->value(),
                                                      "gamepad")
                ->value();
        expect_controls_text(content().get<Text>("Controls_gamepad", "text")->value() + "\n " +
                             "Xbox Series X Contro... (" + info.id + ")");
        EXPECT_EQ(row_value("Controls", "Gamepad_style"), "Gamepad_style_Xbox");
        EXPECT_EQ(row_value("Controls", "Gamepad_orient"), "Gamepad_orient_Ok_down");

        // Ok on the right: B confirms and A cancels
        hands.step("Gamepad_orient", true);
        EXPECT_EQ(row_value("Controls", "Gamepad_orient"), "Gamepad_orient_Ok_right");
        press(input, pad, SDL_CONTROLLER_BUTTON_A);
        EXPECT_EQ(top(), Status::IDLE) << "A did not cancel";
        confirm = SDL_CONTROLLER_BUTTON_B;
        hands.open();
        ASSERT_EQ(shown(), "Exit");
        ASSERT_TRUE(hands.choose("Controls_button"));
        ASSERT_EQ(shown(), "Controls") << "B did not confirm";
        hands.step("Gamepad_orient", true);
        EXPECT_EQ(row_value("Controls", "Gamepad_orient"), "Gamepad_orient_Ok_down");
        confirm = SDL_CONTROLLER_BUTTON_A;
        ASSERT_TRUE(hands.choose("Ok_alone_button"));
        ASSERT_EQ(shown(), "Exit");
    }

    settings_by(hands);
    saves_by(hands);
}

TEST_F(Menu_hands_test, ControlsSettingsSavesAndALoadByTouch) {
    ASSERT_TRUE(input.touch_on("mara"));
    input.run(2);
    ASSERT_EQ(Orvane::Test::input_mode(content()), Input_mode::TOUCHSCREEN);
    const Hands hands{
        [&] {
            input.tap(SDLK_AC_BACK);
            input.run(1);
        },
        [&](const std::string& entry) {
            const bool touched = input.touch_on(entry);
            input.run(2);
            return touched;
        },
        [&](const std::string& setting, bool right) {
            ASSERT_TRUE(input.touch_on(setting + (right ? "_right_arrow" : "_left_arrow")))
                << setting;
            input.run(2);
        }};

    // the Controls page tells of the touchscreen, then, once a mouse was used, of the mouse
    hands.open();
    ASSERT_EQ(shown(), "Exit");
    ASSERT_TRUE(hands.choose("Controls_button"));
    ASSERT_EQ(shown(), "Controls");
    expect_controls_text(content().get<Text>("Controls_touchscreen", "text")->value());
    ASSERT_TRUE(hands.choose("Ok_alone_button"));
    ASSERT_EQ(shown(), "Exit");
    ASSERT_TRUE(hands.choose("Ok_alone_button"));
    ASSERT_TRUE(input.run_until([&](Content&) { return top() == Status::IDLE; }, 10));
    input.mouse_motion(900, 900);
    input.mouse_button(SDL_BUTTON_RIGHT, true, 900, 900);
    input.mouse_button(SDL_BUTTON_RIGHT, false, 900, 900);
    input.run(2);
    ASSERT_EQ(Orvane::Test::input_mode(content()), Input_mode::MOUSE);
    const auto click = [&](const std::string& entry) {
        ASSERT_TRUE(input.click_on(entry)) << entry;
        input.run(2);
    };
    hands.open();
    click("Controls_button");
    ASSERT_EQ(shown(), "Controls");
    expect_controls_text(content().get<Text>("Controls_mouse", "text")->value());
    click("Ok_alone_button");
    click("Ok_alone_button");
    ASSERT_TRUE(input.run_until([&](Content&) { return top() == Status::IDLE; }, 10));

    ASSERT_TRUE(input.touch_on("mara"));
    input.run(2);
    ASSERT_EQ(Orvane::Test::input_mode(content()), Input_mode::TOUCHSCREEN);
    settings_by(hands);
    saves_by(hands);
}

} // namespace
