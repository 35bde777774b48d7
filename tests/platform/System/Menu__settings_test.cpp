// The setting rows of the menus and apply_setting, on the packed sample game: what each
// setting stores and emits, the rows' values and labels, the reuse on a rebuild, and the change
// of language, read back from the drawn window.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/Third_party/Gamepad.h>
#include <Orvane/Third_party/SDL.h>

#include "support/Menu_fixture.h"

namespace Orvane::Test {
namespace {

using Text = Component::Simple<std::string>;

using Number = Component::Simple<int>;
using Pad = Component::Simple<Gamepad_info>;

/// The signals apply_setting may emit.
const std::vector<Store_key> setting_signals = {
    Key::window_toggle_fullscreen, Key::interface_reinit, Key::interface_force_refresh,
    Key::music_volume_changed, Key::game_name_changed};

struct Setting_case {
    std::string setting;
    std::string value;
    std::function<void(Content&)> before;    ///< what the store holds first
    std::function<void(Content&)> check;     ///< what it holds afterwards
    std::set<std::string> signals;           ///< the signals emitted
};

int number(Content& c, const Store_key& key) { return c.get<Number>(key)->value(); }

const std::string reinit_s = "Interface:reinit", refresh_s = "Interface:force_refresh";

std::vector<Setting_case> setting_cases() {
    auto with_pad = [](Content& c) {
        c.set<Text>(Key::gamepad_id, std::string("Gamepad(1:2)"));
        c.set<Pad>("Gamepad(1:2)", "gamepad", Gamepad_info(1, 2, "Xbox Wireless Controller"));
    };
    auto pad = [](Content& c) { return c.get<Pad>("Gamepad(1:2)", "gamepad")->value(); };
    return {
        {"Sound_volume", "0", {},
         [](Content& c) { EXPECT_EQ(number(c, Key::sounds_volume), 0); }, {}},
        {"Sound_volume", "100", {},
         [](Content& c) {
             EXPECT_EQ(number(c, Key::sounds_volume), 10);
             EXPECT_TRUE(c.get<Number>(Key::sounds_volume)->was_altered());
         },
         {}},
        {"Music_volume", "70", {},
         [](Content& c) {
             EXPECT_EQ(number(c, Key::music_volume), 7);
             EXPECT_TRUE(c.get<Number>(Key::music_volume)->was_altered());
         },
         {"Music:volume_changed"}},
        {"Music_volume", "loud", {},
         [](Content& c) { EXPECT_EQ(number(c, Key::music_volume), 0); },
         {"Music:volume_changed"}},
        {"Fullscreen", "No", {},
         [](Content& c) {
             EXPECT_FALSE(c.get<Component::Boolean>(Key::window_fullscreen)->value());
         },
         {"Window:toggle_fullscreen"}},
        {"Fullscreen", "Yes", {},
         [](Content& c) {
             EXPECT_TRUE(c.get<Component::Boolean>(Key::window_fullscreen)->value());
         },
         {"Window:toggle_fullscreen"}},
        {"Interface_scale", "Huge", {},
         [](Content& c) {
             EXPECT_EQ(number(c, Key::interface_scale), 12);
             EXPECT_EQ(Config::interface_scale, 2.0);
         },
         {reinit_s, refresh_s}},
        {"Interface_scale", "Tiny", {},
         [](Content& c) {
             EXPECT_EQ(number(c, Key::interface_scale), 4);
             EXPECT_DOUBLE_EQ(Config::interface_scale, 4 / 6.0);
         },
         {reinit_s, refresh_s}},
        // a name outside the list keeps the number, and still scales and refreshes
        {"Interface_scale", "Giant",
         [](Content& c) { c.get<Number>(Key::interface_scale)->set(9); },
         [](Content& c) {
             EXPECT_EQ(number(c, Key::interface_scale), 9);
             EXPECT_EQ(Config::interface_scale, 1.5);
         },
         {reinit_s, refresh_s}},
        {"Text_speed", "Fast", {}, [](Content& c) { EXPECT_EQ(number(c, Key::dialog_speed), 9); },
         {}},
        {"Text_speed", "Medium_speed", {},
         [](Content& c) { EXPECT_EQ(number(c, Key::dialog_speed), 12); }, {}},
        {"Text_speed", "Slow", {},
         [](Content& c) {
             EXPECT_EQ(number(c, Key::dialog_speed), 18);
             EXPECT_TRUE(c.get<Number>(Key::dialog_speed)->was_altered());
         },
         {}},
        // without a controller the controller's rows change nothing
        {"Gamepad_style", "Nintendo", {},
         [](Content& c) { EXPECT_FALSE(c.request<Text>(Key::gamepad_id)); }, {}},
        {"Gamepad_style", "Playstation", with_pad,
         [pad](Content& c) {
             EXPECT_EQ(pad(c).labels, Gamepad_labels::PLAYSTATION);
             EXPECT_TRUE(pad(c).ok_down);
         },
         {refresh_s}},
        {"Gamepad_style", "Empty", with_pad,
         [pad](Content& c) { EXPECT_EQ(pad(c).labels, Gamepad_labels::NO_LABEL); }, {refresh_s}},
        {"Gamepad_orient", "Ok_right", with_pad,
         [pad](Content& c) {
             EXPECT_FALSE(pad(c).ok_down);
             EXPECT_EQ(pad(c).labels, Gamepad_labels::XBOX);
         },
         {refresh_s}},
        {"Gamepad_orient", "Ok_down",
         [with_pad](Content& c) {
             with_pad(c);
             Gamepad_info info = c.get<Pad>("Gamepad(1:2)", "gamepad")->value();
             info.ok_down = false;
             c.set<Pad>("Gamepad(1:2)", "gamepad", info);
         },
         [pad](Content& c) { EXPECT_TRUE(pad(c).ok_down); }, {refresh_s}},
        // a description shared by two languages chooses the first of them
        {"Language", "English",
         [](Content& c) {
             c.get<Text>(Key::locale_entity("fr_FR"), "description")->set("English");
             c.request<Text>(Fast_access_component::GAME_CURRENT_LOCALE)->set("fr_FR");
         },
         [](Content& c) {
             EXPECT_EQ(c.value<Text>(Fast_access_component::GAME_CURRENT_LOCALE), "en_US");
             EXPECT_EQ(c.get<Text>(Key::game_current_menu)->value(), "Settings");
         },
         {reinit_s, "Game:name_changed"}},
        {"Language", "Klingon", {},
         [](Content& c) {
             EXPECT_EQ(c.value<Text>(Fast_access_component::GAME_CURRENT_LOCALE), "en_US");
         },
         {reinit_s, "Game:name_changed"}},
        {"Brightness", "High", {}, {}, {}},
    };
}

using Menu_settings_test = Menu_test;

TEST_F(Menu_settings_test, ApplyingASettingStoresItAndTellsTheOtherSystems) {
    const double scale = Config::interface_scale;
    for (const Setting_case& c : setting_cases()) {
        SCOPED_TRACE(c.setting + " " + c.value);
        for (const Store_key& key : setting_signals)
            content().remove(key, true);
        content().remove(Key::gamepad_id, true);
        if (c.before)
            c.before(content());
        menu().apply_setting(c.setting, c.value);
        if (c.check)
            c.check(content());
        std::set<std::string> emitted;
        for (const Store_key& key : setting_signals)
            if (content().signal(key))
                emitted.insert(key.str());
        EXPECT_EQ(emitted, c.signals);
    }
    Config::interface_scale = scale;
}

TEST_F(Menu_settings_test, ShowingSettingsSelectsTheStoredValues) {
    content().get<Component::Boolean>(Key::window_fullscreen)->set(false);
    content().get<Number>(Key::dialog_speed)->set(18);
    content().get<Number>(Key::interface_scale)->set(9);
    content().get<Number>(Key::music_volume)->set(3);
    content().get<Number>(Key::sounds_volume)->set(10);
    open("Settings");
    menu().run();
    auto settings = page("Settings");
    std::vector<std::string> shown;
    for (std::size_t row = 1; row <= 6; ++row)
        shown.push_back((*settings)[row][1].image()->entity());
    EXPECT_EQ(shown, (std::vector<std::string>{"Language_English", "Fullscreen_No",
                                               "Interface_scale_Large", "Text_speed_Slow",
                                               "Music_volume_30", "Sound_volume_100"}));
    for (const char* entity : {"Fullscreen_No", "Music_volume_30", "Sound_volume_100"})
        EXPECT_TRUE(image(entity)->on()) << entity;

    // a speed outside the three leaves the row as it was
    content().get<Number>(Key::dialog_speed)->set(50);
    menu().show_menu("Settings");
    EXPECT_EQ((*settings)[4][1].image()->entity(), "Text_speed_Slow");
}

TEST_F(Menu_settings_test, ValuesAreLabelledByTheirTextOrAsPercentages) {
    struct Label {
        const char* row;
        const char* image;
        const char* text;
    };
    for (const Label& l : {Label{"Sound_volume", "Sound_volume_70", "70 %"},
                           Label{"Music_volume", "Music_volume_0", "0 %"},
                           Label{"Fullscreen", "Fullscreen_Yes", "Yes"},
                           Label{"Text_speed", "Text_speed_Medium_speed", "Medium"},
                           Label{"Language", "Language_Français", "Français"}}) {
        SCOPED_TRACE(l.image);
        EXPECT_EQ(image(l.image)->width(), text_width(Key::interface_light_font, l.text));
        EXPECT_EQ(image(l.image)->scale(), 0.45);
        // every value of a row lies on the row's one position
        EXPECT_EQ(content().get<Component::Position>(l.image, "position")->value(),
                  content().get<Component::Position>(l.row, "position")->value());
    }
    // titles wider than the row are drawn 415 pixels wide
    for (const char* title : {"Language_setting", "Interface_scale_setting"}) {
        auto t = image(title);
        EXPECT_LE(t->width() * t->scale(), 415.0 + 1e-9) << title;
    }
}

TEST_F(Menu_settings_test, ARowWithoutValuesHasItsButtonTitleAndArrows) {
    content().set<Text>("Brightness", "text", std::string("Brightness"));
    Component::Menu probe("Probe", "menu");
    menu().make_settings_item(probe.root(), "Brightness", 135);
    EXPECT_EQ(probe.root().image()->entity(), "Brightness_button");
    ASSERT_EQ(probe.nb_children(), 4u);
    EXPECT_FALSE(probe[1].has_image());
    EXPECT_EQ(probe[2].image()->entity(), "Brightness_left_arrow");
    EXPECT_EQ(image("Brightness_left_arrow")->collision(), Component::Collision_type::BOX);
    EXPECT_EQ(content().get<Text>("Brightness", "effect")->value(), "Brightness");
}

TEST_F(Menu_settings_test, ARebuildReusesTheButtonAndRemakesTheTitle) {
    Component::Menu first("First", "menu");
    menu().make_settings_item(first.root(), "Fullscreen", 250);
    Component::Menu second("Second", "menu");
    menu().make_settings_item(second.root(), "Fullscreen", 250);
    EXPECT_EQ(first.root().image(), second.root().image());
    EXPECT_EQ(first.root().position(), second.root().position());
    EXPECT_NE(first[0].image(), second[0].image());
    EXPECT_EQ(second[0].image(), image("Fullscreen_setting"));
}

TEST_F(Menu_settings_test, AChangeOfLanguageRebuildsEveryPageInIt) {
    open("Settings");
    auto settings = page("Settings");
    auto button = image("Fullscreen_button");
    auto title = image("Fullscreen_setting");
    auto exit_label = image("Exit_Phone");
    menu().apply_setting("Language", "Français");

    EXPECT_EQ(content().value<Text>(Fast_access_component::GAME_CURRENT_LOCALE), "fr_FR");
    EXPECT_NE(page("Settings"), settings);
    EXPECT_EQ(text_of(Key::game_current_menu), "Settings");
    EXPECT_EQ((*page("Settings"))[1][1].image()->entity(), "Language_Français");
    EXPECT_EQ(image("Fullscreen_button"), button);
    EXPECT_NE(image("Fullscreen_setting"), title);
    EXPECT_EQ(image("Fullscreen_setting")->width(),
              text_width(Key::interface_font, "Plein écran"));
    EXPECT_NE(image("Exit_Phone"), exit_label);
    EXPECT_EQ(image("Exit_Phone")->width(), text_width(Key::interface_font, "Téléphone"));
    EXPECT_EQ(image("Title_Load")->width(), text_width(Key::interface_font, "Charger"));
    EXPECT_EQ(image("Fullscreen_Yes")->width(), text_width(Key::interface_light_font, "Oui"));
    EXPECT_EQ(page("Wanna_load")->root()[0].image(), image("Title_Load"));
    EXPECT_TRUE(content().get<Component::Base>("Game", "locale"));
}

TEST_F(Menu_settings_test, TheEndPageFollowsAChangeOfLanguage) {
    open("End");
    EXPECT_EQ(image("Exit_End_new_game")->width(),
              text_width(Key::interface_font, "Play again"));
    menu().hide_menu("End");
    open("Settings");
    menu().apply_setting("Language", "Français");
    menu().hide_menu("Settings");
    open("End");
    EXPECT_EQ(image("Exit_End_new_game")->width(), text_width(Key::interface_font, "Rejouer"));
    EXPECT_EQ(image("Exit_End_quit")->width(), text_width(Key::interface_font, "Quitter"));
    EXPECT_EQ(page("End")->root()[2][0][1].image(), image("Exit_End_new_game"));
    EXPECT_EQ(image("Title_End")->width(), text_width(Key::interface_font, "Fin"));
}

/// The sample game with settings outside what the Settings page offers.
class Menu_odd_settings_test : public Menu_test {
  protected:
    std::string settings() const override {
        return "locale: de_DE\nsounds_volume: 15\nmusic_volume: -3\ndialog_speed: 50\n";
    }
};

TEST_F(Menu_odd_settings_test, SettingsOutsideThePagesValuesStillOpenIt) {
    open("Settings");
    menu().run();
    auto settings = page("Settings");
    // the language read is replaced by one the game offers
    const std::string& locale = content().value<Text>(Fast_access_component::GAME_CURRENT_LOCALE);
    EXPECT_EQ((*settings)[1][1].image()->entity(),
              "Language_" + content().get<Text>(Key::locale_entity(locale), "description")->value());
    EXPECT_EQ((*settings)[5][1].image()->entity(), "Music_volume_0");
    EXPECT_EQ((*settings)[6][1].image()->entity(), "Sound_volume_100");
    EXPECT_EQ((*settings)[4][1].image()->entity(), "Text_speed_Slow");
}

// ---- Drawn ----

/// The pixels of a band of the window, as the last frame drew it.
struct Band {
    int x;
    int y;
    int w;
    int h;
    std::vector<std::uint32_t> pixels;
    Band(int x0, int y0, int width, int height)
        : x(x0), y(y0), w(width), h(height), pixels(std::size_t(width) * std::size_t(height)) {
        SDL_Rect rect{x, y, w, h};
        SDL_RenderReadPixels(Third_party::SDL::m_renderer, &rect, SDL_PIXELFORMAT_ARGB8888,
                             pixels.data(), w * 4);
    }
    /// The right-most column holding a near-white pixel, -1 when none does.
    int last_white_column() const {
        int last = -1;
        for (int row = 0; row < h; ++row)
            for (int col = 0; col < w; ++col) {
                const std::uint32_t p = pixels[std::size_t(row) * std::size_t(w) + std::size_t(col)];
                if ((p >> 16 & 255) > 230 && (p >> 8 & 255) > 230 && (p & 255) > 230)
                    last = std::max(last, col);
            }
        return last;
    }
};

/// The sample game without its scripts, so that nothing but the menu is drawn over the room.
class Menu_drawn_test : public Menu_test {
  protected:
    bool scripts() const override { return false; }
    // a 1920 x 1080 window: window pixels are scene pixels
    std::string settings() const override {
        return "locale: en_US\nfullscreen: false\nwindow: [1920, 1080]\n";
    }
};

TEST_F(Menu_drawn_test, AfterTheSwitchToFrenchTheRowsAreDrawnInFrench) {
    ASSERT_TRUE(engine.run_frames(3)); // the quay loads
    to_idle();
    content().set<Text>(Key::menu_create, std::string("Settings"));
    game_status().push(Status::IN_MENU);
    ASSERT_TRUE(engine.run_frames(1));

    // the title of the Fullscreen row, left-aligned and vertically centred there; the band
    // stops before the row's arrows
    const Point at = content().get<Component::Position>("Fullscreen_setting", "position")->value();
    ASSERT_EQ(at, Point(755, 405));
    auto drawn_width = [&] {
        return Band(int(at.x()), int(at.y()) - 12, 315, 24).last_white_column() + 1;
    };
    const double english = text_width(Key::interface_font, "Fullscreen") * 0.5;
    EXPECT_NEAR(drawn_width(), english, 8.0);

    menu().apply_setting("Language", "Français");
    ASSERT_TRUE(engine.run_frames(1));
    const double french = text_width(Key::interface_font, "Plein écran") * 0.5;
    ASSERT_GT(std::abs(french - english), 10.0);
    EXPECT_NEAR(drawn_width(), french, 8.0);
    EXPECT_STREQ(SDL_GetWindowTitle(Third_party::SDL::m_window), "La Lampe de Gull Point");
}

} // namespace
} // namespace Orvane::Test
