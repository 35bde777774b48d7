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

#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Base.h>
#include <Orvane/Utils/View.h>

#include "Sample_play.h"
#include "Sdl_input.h"

namespace Orvane::Test {

/// The sample game played by mouse or by touch from the end of its opening; with the store
/// reads the plays check along the way.
class Pointer_play : public Sample_play_test {
  protected:
    using Sample_play_test::top;
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
};

} // namespace Orvane::Test
