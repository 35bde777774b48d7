// The sample's quay played by pointer through SDL's own event queue, headless: objects, verb
// labels and dialog lines are found by name in the store and pointed at where they are drawn.
// By mouse: the rope hovered, clicked and taken; the purse looked for under the bench and
// taken; Ferran talked to; a click on the ground walks. By touch the same, Mara first walking
// next to each object, since a touch acts only on what lies within her reach.

#include <algorithm>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>

#include "support/Input_store.h"
#include "support/Pointer_play.h"
#include "support/Sdl_input.h"

namespace {

using namespace Orvane;
using Orvane::Test::Sdl_input;

class Quay : public Orvane::Test::Pointer_play {
  protected:
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
