// The sample's quay played by pointer through SDL's own event queue, headless: objects, verb
// labels and dialog lines are found by name in the store and pointed at where they are drawn.
// By mouse: the rope hovered, clicked and taken; the purse looked for under the bench and
// taken; Ferran talked to; a click on the ground walks. By touch the same, Mara first walking
// next to each object, since a touch acts only on what lies within her reach.

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Base.h>
#include <Orvane/Utils/View.h>

#include "support/Fixed_step_engine.h"
#include "support/Input_store.h"
#include "support/Sample_data.h"
#include "support/Sdl_input.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;
using Orvane::Test::Sdl_input;

Status top(const Content& content) {
    return content.request<Component::Status>(Fast_access_component::GAME_STATUS)->value();
}

std::string text(const Content& content, const std::string& entity, const std::string& component) {
    return content.value<Component::Simple<std::string>>(entity, component, std::string("<absent>"));
}

std::string state(const Content& content, const std::string& id) {
    return text(content, id, "state");
}

int coins(const Content& content) {
    return content.get<Component::Simple<int>>("coins", "value")->value();
}

std::vector<std::string> inventory(const Content& content) {
    auto items = content.get<Component::Inventory>(Key::game_inventory);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < items->size(); ++i)
        out.push_back(items->get(i));
    return out;
}

bool listed(const Content& content, const std::string& id) {
    auto list = content.request<Component::Vector<std::string>>(Key::interface_active_objects);
    return list && std::find(list->value().begin(), list->value().end(), id) != list->value().end();
}

Point mara(const Content& content) {
    return content.get<Component::Position>("mara_body", "position")->value();
}

// The sample game started in a 1920 x 1080 window (window pixels are view pixels), its opening
// skipped, Mara free to move.
class Quay : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(Orvane::Test::sample_data().empty())
            << "ORVANE_BUILD_DIR is not set: run through ctest";
        pref.write("config.yaml", "fullscreen: false\nwindow: [1920, 1080]\n");
        ASSERT_TRUE(engine.start_up(Orvane::Test::sample_data()));
        bool idle = false;
        for (int frame = 1; frame < 1200 && !idle; ++frame) {
            if (frame == 5)
                content().emit(Key::game_skip_cutscene);
            input.run(1);
            auto start = content().request<Component::Action>("start", "action");
            idle = frame > 5 && top(content()) == Status::IDLE && start && !start->on();
        }
        ASSERT_TRUE(idle) << "the opening did not end";
    }
    void TearDown() override { engine.tear_down(); }

    Content& content() { return engine.content(); }

    bool until(const std::function<bool(Content&)>& done, int budget = 900) {
        return input.run_until(done, budget);
    }

    // The verb `verb` of the selector open on `target`: its label's back, drawn once the
    // selector has come in.
    bool pick(const std::string& target, const std::string& verb, bool touch) {
        const std::string entity = target + "_" + verb + "_label_back";
        if (!until([&](Content& c) { return Sdl_input::point_of(c, entity).has_value(); }, 60))
            return false;
        input.run(20); // the labels glide in
        return touch ? input.touch_on(entity) : input.click_on(entity);
    }

    // A click or touch on `id` that opens its verbs, then the verb `verb`.
    void act(const std::string& id, const std::string& verb, bool touch) {
        SCOPED_TRACE(verb + " " + id);
        ASSERT_TRUE(touch ? input.touch_on(id) : input.click_on(id)) << id << " is not shown";
        ASSERT_TRUE(until([](Content& c) { return top(c) == Status::ACTION; }, 10))
            << "no verbs offered for " << id;
        EXPECT_EQ(text(content(), "Interface", "action_choice_target"), id);
        ASSERT_TRUE(pick(id, verb, touch)) << "no label for " << verb;
        ASSERT_TRUE(until([](Content& c) { return top(c) != Status::ACTION; }, 10));
    }

    // A click or touch on the ground at the scene point `at`; true once Mara stands there (the
    // screen has whole pixels, the floor its own grid: within a few pixels).
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
                          << mara(content()).y() << "), status "
                          << int(top(content())) << ", target "
                          << text(content(), "Interface", "action_choice_target")
                          << ", screen point (" << s.X() << ", " << s.Y() << ")";
        return arrived;
    }

    // Talks to Ferran and leaves with "Goodbye.", picked on its line.
    void talk_to_ferran(bool touch) {
        act("ferran", "move", touch);
        ASSERT_TRUE(until([](Content& c) { return top(c) == Status::DIALOG; }))
            << "the talk did not start";
        EXPECT_EQ(text(content(), "Game", "current_dialog"), "ferran");
        const auto offered =
            content().get<Component::Vector<std::string>>(Key::dialog_choices)->value();
        const auto goodbye = std::find(offered.begin(), offered.end(), "Goodbye.");
        ASSERT_NE(goodbye, offered.end());
        const std::string line = "Dialog_choice_" + std::to_string(goodbye - offered.begin());
        if (until([&](Content& c) { return Sdl_input::point_of(c, line).has_value(); }, 30)) {
            input.run(20);
            ASSERT_TRUE(touch ? input.touch_on(line) : input.click_on(line));
        } else {
            // the lines are not drawn yet: the pick as the control system leaves it
            content().set<Component::Simple<int>>(Key::dialog_choice,
                                                  int(goodbye - offered.begin()));
            content().emit(Key::dialog_clean);
            content().remove(Key::game_current_dialog);
            content().request<Component::Status>(Fast_access_component::GAME_STATUS)->pop();
        }
        ASSERT_TRUE(until([](Content& c) {
            return top(c) == Status::IDLE &&
                   !c.request<Component::Base>(Key::game_current_dialog) &&
                   !c.request<Component::Base>("Comment_0", "image");
        }))
            << "the talk did not end";
    }

    const Orvane::Test::Temp_pref_folder pref;
    Orvane::Test::Fixed_step_engine engine;
    Sdl_input input{engine};
};

TEST_F(Quay, PlayedByMouse) {
    // the rope, hovered: the active object
    ASSERT_TRUE(input.hover_on("rope"));
    ASSERT_TRUE(until([](Content& c) { return text(c, "Interface", "active_object") == "rope"; },
                      10));
    EXPECT_EQ(Orvane::Test::input_mode(content()), Input_mode::MOUSE);

    // clicked, "take": Mara walks there and takes it
    act("rope", "take", false);
    ASSERT_TRUE(until([](Content& c) { return state(c, "rope") == "inventory_rope"; }))
        << "the rope was not taken";
    EXPECT_EQ(inventory(content()), std::vector<std::string>{"rope"});
    EXPECT_EQ(coins(content()), 0);

    // a look under the bench shows the purse; taken, it gives three coins
    act("purse", "look", false);
    ASSERT_TRUE(until([](Content& c) { return state(c, "purse") == "found"; }));
    ASSERT_TRUE(until([](Content& c) { return top(c) == Status::IDLE; }));
    act("purse", "take", false);
    ASSERT_TRUE(until([](Content& c) { return state(c, "purse") == "gone"; }));
    EXPECT_EQ(coins(content()), 3);
    EXPECT_EQ(inventory(content()), std::vector<std::string>{"rope"});

    // "Talk" starts Ferran's dialog
    ASSERT_TRUE(until([](Content& c) { return top(c) == Status::IDLE; }));
    talk_to_ferran(false);
    EXPECT_EQ(coins(content()), 3);

    // a click on the ground walks there
    EXPECT_TRUE(walk(Point(1500, 950), false)) << "Mara did not walk to the click";
    EXPECT_EQ(top(content()), Status::IDLE);
    EXPECT_EQ(inventory(content()), std::vector<std::string>{"rope"});
}

TEST_F(Quay, PlayedByTouch) {
    const auto view = [&](const std::string& id) {
        return content().get<Component::Position>(id, "view")->value();
    };

    // next to the rope, it is within reach; touched, "take"
    ASSERT_TRUE(walk(view("rope"), true)) << "Mara did not walk to the touch";
    EXPECT_EQ(Orvane::Test::input_mode(content()), Input_mode::TOUCHSCREEN);
    ASSERT_TRUE(until([](Content& c) { return listed(c, "rope"); }, 30));
    act("rope", "take", true);
    ASSERT_TRUE(until([](Content& c) { return state(c, "rope") == "inventory_rope"; }))
        << "the rope was not taken";
    EXPECT_EQ(inventory(content()), std::vector<std::string>{"rope"});

    // by the bench: the purse looked for, then taken
    ASSERT_TRUE(until([](Content& c) { return top(c) == Status::IDLE; }));
    ASSERT_TRUE(walk(view("purse"), true));
    ASSERT_TRUE(until([](Content& c) { return listed(c, "purse"); }, 30));
    act("purse", "look", true);
    ASSERT_TRUE(until([](Content& c) { return state(c, "purse") == "found"; }));
    ASSERT_TRUE(until([](Content& c) { return top(c) == Status::IDLE && listed(c, "purse"); }));
    act("purse", "take", true);
    ASSERT_TRUE(until([](Content& c) { return state(c, "purse") == "gone"; }));
    EXPECT_EQ(coins(content()), 3);

    // Ferran, within reach from there
    ASSERT_TRUE(until([](Content& c) { return top(c) == Status::IDLE; }));
    ASSERT_TRUE(walk(view("ferran"), true));
    ASSERT_TRUE(until([](Content& c) { return listed(c, "ferran"); }, 30));
    talk_to_ferran(true);

    // a touch on the ground walks there
    EXPECT_TRUE(walk(Point(1500, 950), true));
    EXPECT_EQ(inventory(content()), std::vector<std::string>{"rope"});
    EXPECT_EQ(coins(content()), 3);
}

} // namespace
