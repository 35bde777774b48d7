#pragma once

// The packed sample game started up in English over a fresh per-user folder, with the test's
// own handle on the menu system: the menu tests build, show and click the real pages, made of
// the sample's pictures, fonts and texts. No frame has run when a test begins; the first room
// loads with the first frame that a test runs.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Menu.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Menu.h>

#include "Fixed_step_engine.h"
#include "Sample_data.h"
#include "Temp_pref_folder.h"

namespace Orvane::Test {

/// A logic system that runs no script.
class No_scripts : public System::Base {
  public:
    using Base::Base;
    void run() override {}
};

/// The fixed-step engine, holding its menu system for the test; without the game's scripts
/// when `scripts` is false at start-up.
class Menu_engine : public Fixed_step_engine {
  public:
    std::shared_ptr<System::Menu> menu;
    bool scripts = true;

    /// Runs `count` frames; false when the game ended in one of them.
    bool run_frames(int count) {
        for (int i = 0; i < count; ++i)
            if (!run())
                return false;
        return true;
    }

  protected:
    Systems make_systems() override {
        Systems s = Fixed_step_engine::make_systems();
        menu = std::make_shared<System::Menu>(content());
        s.menu = menu;
        if (!scripts)
            s.logic = std::make_shared<No_scripts>(content());
        return s;
    }
};

/// A test over the sample game, started up with the settings `settings()` returns.
class Menu_test : public ::testing::Test {
  protected:
    using Text = Component::Simple<std::string>;

    /// The settings file written before the start; English, the defaults otherwise.
    virtual std::string settings() const { return "locale: en_US\n"; }
    /// Whether the game's scripts run in the frames a test runs.
    virtual bool scripts() const { return true; }

    void SetUp() override {
        ASSERT_FALSE(sample_data().empty()) << "ORVANE_BUILD_DIR is not set: run through ctest";
        pref.write("config.yaml", settings());
        engine.scripts = scripts();
        ASSERT_TRUE(engine.start_up(sample_data()));
    }
    void TearDown() override { engine.tear_down(); }

    Content& content() { return engine.content(); }
    System::Menu& menu() { return *engine.menu; }
    Component::Status& game_status() {
        return *content().get<Component::Status>(Key::game_status);
    }

    /// Leaves the status stack with IDLE alone, as in play once the room is loaded.
    void to_idle() {
        while (game_status().size() > 1)
            game_status().pop();
    }

    /// Opens a page as Control does: IN_MENU on top, then the page shown.
    void open(const std::string& page) {
        game_status().push(Status::IN_MENU);
        menu().show_menu(page);
    }

    void set_mode(Input_mode mode) {
        content()
            .request<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE)
            ->set(mode);
    }

    std::shared_ptr<Component::Menu> page(const std::string& name) {
        return content().get<Component::Menu>(name, "menu");
    }
    /// The shown image of every vertex of a page that has one, breadth first.
    std::vector<std::shared_ptr<Component::Image>> images_of(const std::string& name) {
        std::vector<std::shared_ptr<Component::Image>> out;
        std::vector<Component::Menu::Vertex_wrapper> queue{page(name)->root()};
        for (std::size_t i = 0; i < queue.size(); ++i) {
            for (std::size_t c = 0; c < queue[i].nb_children(); ++c)
                queue.push_back(queue[i][c]);
            if (auto shown = queue[i].image())
                out.push_back(shown);
        }
        return out;
    }
    std::shared_ptr<Component::Image> image(const std::string& entity) {
        return content().get<Component::Image>(entity, "image");
    }

    /// Where <entity>:position lies from Menu:reference, in scene pixels.
    Point offset(const std::string& entity) {
        const Point at = content().get<Component::Position>(entity, "position")->value();
        const Point reference = content().get<Component::Position>(Key::menu_reference)->value();
        return Point(at.x() - reference.x(), at.y() - reference.y());
    }

    /// Width in picture pixels of `text` drawn in the font under `font` (Interface:font or
    /// Interface:light_font): what a text image of the menus made of that text measures.
    int text_width(const Store_key& font, const std::string& text) {
        Component::Image probe("Probe", "image", content().get<Component::Font>(font), "FFFFFF",
                               text, false);
        return probe.width();
    }
    int text_height(const Store_key& font, const std::string& text) {
        Component::Image probe("Probe", "image", content().get<Component::Font>(font), "FFFFFF",
                               text, false);
        return probe.height();
    }

    /// Value of a string component, "<none>" when absent.
    std::string text_of(const Store_key& key) {
        auto s = content().request<Text>(key);
        return s ? s->value() : "<none>";
    }

    Temp_pref_folder pref;
    Menu_engine engine;
};

} // namespace Orvane::Test
