// The sample game's menus played with the keyboard and the mouse through SDL's own event queue,
// in this process: escape opens the Exit page, the pointer moves onto the entries and clicks;
// the settings change and are written, the game is saved, started anew and loaded back.

#include <memory>
#include <string>

#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Menu.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/Third_party/SDL.h>

#include "support/Menu_fixture.h"
#include "support/Sample_data.h"
#include "support/Sdl_input.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;
using Text = Component::Simple<std::string>;

class Menu_play {
  public:
    Menu_play(Orvane::Test::Menu_engine& engine, Orvane::Test::Sdl_input& input)
        : m_input(input), m_content(engine.content()) {}

    Component::Status& status() { return *m_content.get<Component::Status>(Key::game_status); }
    std::string shown() {
        return m_content.value<Text>(Key::game_current_menu, std::string("<none>"));
    }

    /// The opening scene, skipped with two presses of space.
    bool skip_opening() {
        if (!m_input.run_until([&](Content&) { return status().is(Status::CUTSCENE); }, 600))
            return false;
        m_input.run(10);
        m_input.tap(SDLK_SPACE);
        m_input.run(1);
        m_input.tap(SDLK_SPACE);
        return m_input.run_until(
            [&](Content& c) {
                auto start = c.request<Component::Action>("start", "action");
                return status().is(Status::IDLE) && start && !start->on();
            },
            900);
    }

    /// Escape in play opens the Exit page.
    bool open_exit() {
        m_input.tap(SDLK_ESCAPE);
        m_input.run(1);
        return status().is(Status::IN_MENU) && shown() == "Exit";
    }

    /// The mouse moved onto an entry's image, which the page shows, and clicked; then a frame
    /// more, for the files a click asks for.
    void click(const std::string& item) {
        const Point at = m_content.get<Component::Position>(item, "position")->value();
        const int x = static_cast<int>(at.x());
        const int y = static_cast<int>(at.y());
        m_input.mouse_motion(x, y);
        m_input.run(1);
        EXPECT_EQ(m_content.value<Text>(Key::interface_active_menu_item, std::string("<none>")),
                  item);
        m_input.mouse_button(SDL_BUTTON_LEFT, true, x, y);
        m_input.mouse_button(SDL_BUTTON_LEFT, false, x, y);
        m_input.run(2);
    }

    int text_width(const std::string& text) {
        Component::Image probe("Probe", "image",
                               m_content.get<Component::Font>(Key::interface_font), "FFFFFF",
                               text, false);
        return probe.width();
    }
    int width_of(const std::string& entity) {
        return m_content.get<Component::Image>(entity, "image")->width();
    }

  private:
    Orvane::Test::Sdl_input& m_input;
    Content& m_content;
};

TEST(EngineMenuTest, SettingsSavesANewGameAndALoadThroughTheMenus) {
    ASSERT_FALSE(Orvane::Test::sample_data().empty()) << "ORVANE_BUILD_DIR is not set: run through ctest";
    const Orvane::Test::Temp_pref_folder pref;
    // a 1920 x 1080 window: window pixels are scene pixels
    pref.write("config.yaml", "locale: en_US\nfullscreen: false\nwindow: [1920, 1080]\n");
    Orvane::Test::Menu_engine engine;
    ASSERT_TRUE(engine.start_up(Orvane::Test::sample_data()));
    Content& content = engine.content();
    Orvane::Test::Sdl_input input(engine);
    Menu_play play(engine, input);
    ASSERT_TRUE(play.skip_opening()) << "the opening did not end";

    // Settings: French, and the sound at half volume.
    ASSERT_TRUE(play.open_exit());
    play.click("Settings_button");
    ASSERT_EQ(play.shown(), "Settings");
    play.click("Language_right_arrow");
    EXPECT_EQ(content.value<Text>(Fast_access_component::GAME_CURRENT_LOCALE), "fr_FR");
    EXPECT_EQ(play.shown(), "Settings");
    EXPECT_STREQ(SDL_GetWindowTitle(Third_party::SDL::m_window), "La Lampe de Gull Point");
    // every page follows
    for (const auto& [entity, french] : Orvane::Test::sample_french_menu_texts())
        EXPECT_EQ(play.width_of(entity), play.text_width(french)) << entity;
    for (int i = 0; i < 4; ++i)
        play.click("Sound_volume_left_arrow");
    EXPECT_EQ(content.get<Component::Simple<int>>(Key::sounds_volume)->value(), 5);
    play.click("Ok_alone_button");
    EXPECT_EQ(play.shown(), "Exit");
    const std::string config = pref.read("config.yaml");
    EXPECT_NE(config.find("locale: \"fr_FR\""), std::string::npos) << config;
    EXPECT_NE(config.find("sounds_volume: 5"), std::string::npos) << config;

    // Carrying the rope, save to slot 1.
    content.get<Text>("rope", "state")->set("inventory_rope");
    content.get<Component::Inventory>(Key::game_inventory)->add("rope");
    play.click("Save_button");
    ASSERT_EQ(play.shown(), "Save");
    play.click("Save_1_button");
    EXPECT_EQ(play.shown(), "Saved");
    EXPECT_FALSE(pref.read("save_1.yaml").empty());
    ASSERT_TRUE(content.request<Component::Base>(Key::save_slot("1"), "info"));
    play.click("Ok_alone_button");
    EXPECT_TRUE(play.status().is(Status::IDLE));

    // The Load page lists it.
    ASSERT_TRUE(play.open_exit());
    play.click("Load_button");
    ASSERT_EQ(play.shown(), "Load");
    auto load = content.get<Component::Menu>("Load", "menu");
    bool listed = false;
    for (std::size_t i = 1; i + 1 < load->nb_children(); ++i)
        listed = listed || (*load)[i].image()->entity() == "Load_1_button";
    EXPECT_TRUE(listed);
    play.click("Ok_alone_button");
    ASSERT_EQ(play.shown(), "Exit");

    // A new game starts over, without the rope.
    play.click("New_game_button");
    ASSERT_EQ(play.shown(), "New_game");
    play.click("Ok_button");
    ASSERT_TRUE(play.skip_opening()) << "the new game's opening did not end";
    EXPECT_EQ(content.get<Component::Inventory>(Key::game_inventory)->size(), 0u);

    // Loading slot 1 brings the rope back.
    ASSERT_TRUE(play.open_exit());
    play.click("Load_button");
    play.click("Load_1_button");
    ASSERT_EQ(play.shown(), "Wanna_load");
    play.click("Ok_button");
    EXPECT_FALSE(play.status().is(Status::IN_MENU));
    ASSERT_TRUE(input.run_until(
        [&](Content& c) {
            return c.get<Component::Inventory>(Key::game_inventory)->size() == 1 &&
                   !c.request<Text>(Key::game_new_room);
        },
        300));
    EXPECT_EQ(content.get<Component::Inventory>(Key::game_inventory)->get(0), "rope");
    EXPECT_EQ(content.get<Text>("rope", "state")->value(), "inventory_rope");
    engine.tear_down();
}

} // namespace
