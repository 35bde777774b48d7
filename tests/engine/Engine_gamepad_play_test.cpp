// The sample game played through by controller, through SDL's own event queue, headless: the
// stick steers Mara to each object and the shoulders make it current; the verbs are picked
// with the face buttons; the inventory looks at, uses and combines its items; Ferran's dialog
// lines are chosen with the stick; the harbour radio is called from the Phone page as soon as
// its number is learnt; then in the tower, the note's window is opened and closed and the code
// box is worked with the stick, a wrong code first.

#include <functional>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Code.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>

#include "support/Controller_play.h"
#include "support/Input_store.h"
#include "support/Sample_play.h"
#include "support/Virtual_controller.h"

namespace {

using namespace Orvane;
using Text = Component::Simple<std::string>;
using Orvane::Test::current_object;
using Orvane::Test::make_current;
using Orvane::Test::press;
using Orvane::Test::shoulder_to;

// Xbox face buttons: A (south) is the inventory and confirms, B (east) opens the verbs and
// looks, X (west) takes, Y (north) moves (uses, talks, opens).
constexpr SDL_GameControllerButton A = SDL_CONTROLLER_BUTTON_A;
constexpr SDL_GameControllerButton B = SDL_CONTROLLER_BUTTON_B;
constexpr SDL_GameControllerButton X = SDL_CONTROLLER_BUTTON_X;
constexpr SDL_GameControllerButton Y = SDL_CONTROLLER_BUTTON_Y;

Status top_of(const Content& content) {
    return content.get<Component::Status>(Key::game_status)->value();
}
bool idle(Content& c) { return top_of(c) == Status::IDLE; }

std::string state(const Content& content, const std::string& id) {
    return content.value<Text>(id, "state", std::string("<absent>"));
}

std::vector<std::string> inventory(const Content& content) {
    return content.get<Component::Inventory>(Key::game_inventory)->data();
}

bool remark_shown(Content& c) { return c.request<Component::Base>("Comment_0", "image") != nullptr; }

class Gamepad_play_test : public Orvane::Test::Sample_play_test {
  protected:
    /// Makes `id` current, opens its verbs with B and picks one with `verb`.
    void act(Orvane::Test::Virtual_controller& pad, const std::string& id,
             SDL_GameControllerButton verb) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(make_current(input, pad, content(), id)) << id << " never became current";
        press(input, pad, B);
        ASSERT_EQ(top(), Status::ACTION) << "no verbs for " << id;
        EXPECT_EQ(content().get<Text>(Key::interface_action_choice_target)->value(), id);
        press(input, pad, verb);
        EXPECT_NE(top(), Status::ACTION);
    }

    /// Makes `id` current, opens its verbs, asks for an item with A and gives it `item`.
    void give(Orvane::Test::Virtual_controller& pad, const std::string& item,
              const std::string& id) {
        SCOPED_TRACE(item + " on " + id);
        act(pad, id, A);
        ASSERT_EQ(top(), Status::OBJECT);
        ASSERT_TRUE(shoulder_to(input, pad, content(), item)) << item << " never became current";
        press(input, pad, A);
        EXPECT_NE(top(), Status::OBJECT);
    }
};

TEST_F(Gamepad_play_test, TheQuayAndTheTowerByController) {
    Orvane::Test::Virtual_controller pad("Xbox Series X Controller", 1118, 736);
    input.run(1);
    ASSERT_EQ(Orvane::Test::input_mode(content()), Input_mode::GAMEPAD);

    // The rope taken; the purse looked for, then taken.
    act(pad, "rope", X);
    ASSERT_TRUE(until([](Content& c) { return state(c, "rope") == "inventory_rope" && idle(c); }))
        << "the rope was not taken";
    act(pad, "purse", B);
    ASSERT_TRUE(until([](Content& c) { return state(c, "purse") == "found" && idle(c); }))
        << "the purse was not found";
    act(pad, "purse", X);
    ASSERT_TRUE(until([](Content& c) { return c.get<Component::Simple<int>>("coins", "value")->value() == 3 && idle(c); }))
        << "the purse was not taken";

    // Ferran: talked to (Y); the harbour's channel asked, then the hook, paid with two coins.
    act(pad, "ferran", Y);
    const auto choosing = [](Content& c) {
        return top_of(c) == Status::DIALOG && c.request<Component::Base>(Key::dialog_choices);
    };
    for (const char* line :
         {"How do I call the harbour?", "Could you lend me a hook?", "Here are two coins."}) {
        SCOPED_TRACE(line);
        ASSERT_TRUE(until(choosing)) << "no choice offered";
        ASSERT_TRUE(Orvane::Test::dialog_choose(input, pad, content(), line)) << "not offered";
    }
    ASSERT_TRUE(until([](Content& c) {
        auto numbers = c.request<Component::Vector<std::string>>(Key::phone_numbers_list);
        return idle(c) && numbers && !numbers->value().empty();
    })) << "the talk did not end with the radio's number";
    EXPECT_EQ(content().get<Component::Simple<int>>("coins", "value")->value(), 1);
    EXPECT_EQ(state(content(), "hook"), "inventory_hook");

    // At once, the Phone page lists the radio, its name and its digits apart; a call.
    press(input, pad, SDL_CONTROLLER_BUTTON_START);
    input.run(1);
    ASSERT_EQ(content().get<Text>(Key::game_current_menu)->value(), "Exit");
    ASSERT_TRUE(Orvane::Test::menu_choose(input, pad, content(), "Phone_button"));
    ASSERT_EQ(content().get<Text>(Key::game_current_menu)->value(), "Phone");
    EXPECT_EQ(content().get<Component::Image>("harbour_radio_name", "image")->width(),
              text_width(Key::interface_font, "Harbour radio"));
    EXPECT_EQ(content().get<Component::Image>("harbour_radio_number", "image")->width(),
              text_width(Key::interface_light_font, "16"));
    ASSERT_TRUE(Orvane::Test::menu_choose(input, pad, content(), "harbour_radio_button"));
    ASSERT_TRUE(until([](Content& c) {
        return top_of(c) == Status::IN_MENU && c.value<Text>(Key::game_current_menu, std::string()) == "Message";
    })) << "the harbour master's answer never showed";
    ASSERT_TRUE(Orvane::Test::menu_choose(input, pad, content(), "Ok_alone_button"));
    ASSERT_TRUE(until(idle));

    // The inventory: the rope combined with the hook, the grapnel looked at and used.
    press(input, pad, A);
    ASSERT_EQ(top(), Status::IN_INVENTORY);
    ASSERT_TRUE(shoulder_to(input, pad, content(), "rope"));
    press(input, pad, X);
    ASSERT_EQ(top(), Status::OBJECT);
    ASSERT_TRUE(shoulder_to(input, pad, content(), "hook"));
    press(input, pad, A);
    ASSERT_TRUE(until([](Content& c) { return state(c, "grapnel") == "inventory_grapnel" && idle(c); }))
        << "no grapnel";
    EXPECT_EQ(inventory(content()), std::vector<std::string>{"grapnel"});
    for (const SDL_GameControllerButton verb : {B, Y}) {
        SCOPED_TRACE(verb == B ? "look" : "use");
        press(input, pad, A);
        ASSERT_EQ(top(), Status::IN_INVENTORY);
        EXPECT_EQ(current_object(content()), "grapnel");
        press(input, pad, verb);
        EXPECT_NE(top(), Status::IN_INVENTORY);
        EXPECT_TRUE(until(remark_shown, 300)) << "Mara says nothing";
        ASSERT_TRUE(until(idle));
    }

    // The grapnel on the crate, the crate opened, the key on the door, and in.
    give(pad, "grapnel", "crate");
    ASSERT_TRUE(until([](Content& c) { return state(c, "crate") == "ashore" && idle(c); }))
        << "the crate did not come ashore";
    act(pad, "crate", Y);
    ASSERT_TRUE(until([](Content& c) { return state(c, "key") == "inventory_key" && idle(c); }))
        << "no key";
    give(pad, "key", "tower_door");
    ASSERT_TRUE(until([](Content& c) { return state(c, "tower_door") == "open" && idle(c); }))
        << "the door did not open";
    ASSERT_TRUE(make_current(input, pad, content(), "tower_entrance"));
    press(input, pad, B);
    ASSERT_TRUE(until([](Content& c) {
        return c.value<Text>("Game", "current_room", "") == "tower" && idle(c);
    }, 1500)) << "Mara did not go in";

    // The note's window, opened and closed.
    act(pad, "note", B);
    ASSERT_TRUE(until([](Content& c) { return top_of(c) == Status::IN_WINDOW; }))
        << "the note's window did not open";
    press(input, pad, B);
    ASSERT_TRUE(until(idle, 60)) << "the window did not close";

    // The code box: a wrong code, then the note's.
    act(pad, "code_box", Y);
    ASSERT_TRUE(until([](Content& c) { return top_of(c) == Status::IN_CODE; }))
        << "the box's use did not open the lock";
    // (whether a press rumbles is not checked here: SDL drops a rumble equal to one still
    // running, timed by the wall clock, so what reaches the device depends on the machine)
    for (const char* shape : {"circle", "square", "triangle", "star"})
        ASSERT_TRUE(Orvane::Test::code_press(input, pad, content(), shape)) << shape;
    ASSERT_TRUE(until([](Content& c) {
        return c.get<Component::Code>(Key::game_code)->entered().empty();
    }, 120)) << "the wrong code was not refused";
    EXPECT_EQ(top(), Status::IN_CODE);
    EXPECT_EQ(state(content(), "hatch"), "closed");
    for (const char* shape : {"triangle", "circle", "star", "square"})
        ASSERT_TRUE(Orvane::Test::code_press(input, pad, content(), shape)) << shape;
    ASSERT_TRUE(until([](Content& c) { return state(c, "hatch") == "open" && idle(c); }, 120))
        << "the note's code did not open the hatch";
    EXPECT_EQ(state(content(), "code_box"), "unlocked");
}

} // namespace
