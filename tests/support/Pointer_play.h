#pragma once

// The sample game played by pointer through SDL's own event queue, headless: objects, verb
// labels and dialog lines are found by name in the store and pointed at where they are drawn.

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Base.h>
#include <Orvane/Utils/View.h>

#include "Fixed_step_engine.h"
#include "Sample_data.h"
#include "Sdl_input.h"
#include "Temp_pref_folder.h"

namespace Orvane::Test {

/// The sample game started in a 1920 x 1080 window (window pixels are view pixels), its opening
/// skipped, Mara free to move; with the moves a player makes by mouse or by touch.
class Pointer_play : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(sample_data().empty()) << "ORVANE_BUILD_DIR is not set: run through ctest";
        pref.write("config.yaml", "locale: en_US\nfullscreen: false\nwindow: [1920, 1080]\n");
        ASSERT_TRUE(engine.start_up(sample_data()));
        bool idle = false;
        for (int frame = 1; frame < 1200 && !idle; ++frame) {
            if (frame == 5)
                content().emit(Key::game_skip_cutscene);
            input.run(1);
            auto start = content().request<Component::Action>("start", "action");
            // the screen's fade-in, started by the skip, over too
            idle = frame > 5 && top(content()) == Status::IDLE && start && !start->on() &&
                   !content().get<Component::Image>(Key::blackscreen_image)->on();
        }
        ASSERT_TRUE(idle) << "the opening did not end";
    }
    void TearDown() override { engine.tear_down(); }

    Content& content() { return engine.content(); }

    static Status top(const Content& content) {
        return content.request<Component::Status>(Fast_access_component::GAME_STATUS)->value();
    }
    static std::string text(const Content& content, const std::string& entity,
                            const std::string& component) {
        return content.value<Component::Simple<std::string>>(entity, component,
                                                             std::string("<absent>"));
    }
    static std::string state(const Content& content, const std::string& id) {
        return text(content, id, "state");
    }
    static int coins(const Content& content) {
        return content.get<Component::Simple<int>>("coins", "value")->value();
    }
    static std::vector<std::string> inventory(const Content& content) {
        auto items = content.get<Component::Inventory>(Key::game_inventory);
        std::vector<std::string> out;
        for (std::size_t i = 0; i < items->size(); ++i)
            out.push_back(items->get(i));
        return out;
    }
    /// Whether `id` is among the objects within Mara's reach.
    static bool listed(const Content& content, const std::string& id) {
        auto list = content.request<Component::Vector<std::string>>(Key::interface_active_objects);
        return list &&
               std::find(list->value().begin(), list->value().end(), id) != list->value().end();
    }
    static Point mara(const Content& content) {
        return content.get<Component::Position>("mara_body", "position")->value();
    }

    bool until(const std::function<bool(Content&)>& done, int budget = 900) {
        return input.run_until(done, budget);
    }

    /// The verb `verb` of the selector open on `target`: its label's back, drawn once the
    /// selector has come in.
    bool pick(const std::string& target, const std::string& verb, bool touch) {
        const std::string entity = target + "_" + verb + "_label_back";
        if (!until([&](Content& c) { return Sdl_input::point_of(c, entity).has_value(); }, 60))
            return false;
        input.run(20); // the labels glide in
        return touch ? input.touch_on(entity) : input.click_on(entity);
    }

    /// A click or touch on `id` that opens its verbs, then the verb `verb`.
    void act(const std::string& id, const std::string& verb, bool touch) {
        SCOPED_TRACE(verb + " " + id);
        ASSERT_TRUE(touch ? input.touch_on(id) : input.click_on(id)) << id << " is not shown";
        ASSERT_TRUE(until([](Content& c) { return top(c) == Status::ACTION; }, 10))
            << "no verbs offered for " << id;
        EXPECT_EQ(text(content(), "Interface", "action_choice_target"), id);
        ASSERT_TRUE(pick(id, verb, touch)) << "no label for " << verb;
        ASSERT_TRUE(until([](Content& c) { return top(c) != Status::ACTION; }, 10));
    }

    /// A click or touch on the ground at the scene point `at`; true once Mara stands there (the
    /// screen has whole pixels, the floor its own grid: within a few pixels).
    bool walk(Point at, bool touch) {
        const Point s = System::camera_view(content()).to_screen(at, false);
        if (touch) {
            input.touch(true, s.X(), s.Y());
            input.touch(false, s.X(), s.Y());
        } else {
            input.mouse_button(SDL_BUTTON_LEFT, true, s.X(), s.Y());
            input.mouse_button(SDL_BUTTON_LEFT, false, s.X(), s.Y());
        }
        const bool arrived = until([&](Content& c) {
            const Point m = mara(c);
            return std::hypot(m.x() - at.x(), m.y() - at.y()) < 6;
        });
        if (!arrived)
            ADD_FAILURE() << "Mara stands at (" << mara(content()).x() << ", "
                          << mara(content()).y() << "), status " << int(top(content()))
                          << ", target " << text(content(), "Interface", "action_choice_target")
                          << ", screen point (" << s.X() << ", " << s.Y() << ")";
        return arrived;
    }

    const Temp_pref_folder pref;
    Fixed_step_engine engine;
    Sdl_input input{engine};
};

} // namespace Orvane::Test
