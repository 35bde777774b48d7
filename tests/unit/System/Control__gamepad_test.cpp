#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/System/Control.h>

#include "support/Control_fixture.h"

namespace {

using namespace Orvane;
using S = Orvane::Status;
using Orvane::Test::Control_world;
using Names = std::vector<std::string>;

// One object against the player at (1000, 800): is it active?
struct Reach_case {
    const char* name;
    double dx;
    double dy;
    double reach_factor; // 0: none stored
    bool listed;         // in the list of the last frame
    int image;           // 1 on, 0 off, -1 none
    std::string state;
    bool active;
};

const std::vector<Reach_case> reach_cases = {
    {"250 to the side", 250, 0, 0, false, 1, "default", true},
    {"260 to the side, new", 260, 0, 0, false, 1, "default", false},
    {"260 to the side, listed", -260, 0, 0, true, 1, "default", true},
    {"270 to the side, listed", 270, 0, 0, true, 1, "default", true},
    {"271 to the side, listed", 271, 0, 0, true, 1, "default", false},
    {"100 above", 0, -100, 0, false, 1, "default", true},
    {"110 below, new", 0, 110, 0, false, 1, "default", false},
    {"110 below, listed", 0, 110, 0, true, 1, "default", true},
    {"121 below, listed", 0, 121, 0, true, 1, "default", false},
    {"factor 2: 500 to the side", 500, 0, 2, false, 1, "default", true},
    {"factor 2: 501 to the side, new", 501, 0, 2, false, 1, "default", false},
    {"factor 2: 520 to the side, listed", 520, 0, 2, true, 1, "default", true},
    {"factor 2: 521 to the side, listed", 521, 0, 2, true, 1, "default", false},
    {"factor 2: 200 above", 0, -200, 2, false, 1, "default", true},
    {"factor 2: 220 above, listed", 0, -220, 2, true, 1, "default", true},
    {"factor 2: 221 above, listed", 0, -221, 2, true, 1, "default", false},
    {"factor 1 given: as none", 260, 0, 1, false, 1, "default", false},
    {"image off", 10, 0, 0, false, 0, "default", false},
    {"no image", 10, 0, 0, false, -1, "default", false},
    {"carried", 10, 0, 0, true, 1, "inventory", false},
    {"carried in another form", 10, 0, 0, true, 1, "inventory_rope", false},
    {"a state that only contains the word", 10, 0, 0, false, 1, "not_inventory", true},
};

TEST(ControlGamepadTest, WhatIsWithinReach) {
    for (const Reach_case& c : reach_cases) {
        SCOPED_TRACE(c.name);
        Control_world w;
        w.object_at("thing", c.dx, c.dy, 500);
        if (c.reach_factor > 0)
            w.content.set<Component::Simple<double>>("thing", "reach_factor", c.reach_factor);
        if (c.image == 0)
            w.content.get<Component::Image>("thing", "image")->on() = false;
        if (c.image < 0)
            w.content.remove("thing", "image");
        w.content.set<Component::Simple<std::string>>("thing", "state", c.state);
        if (c.listed)
            w.content.set<Component::Vector<std::string>>("Interface", "active_objects",
                                                          Names{"thing"});
        System::Control control(w.content);
        EXPECT_EQ(control.detect_active_objects(), c.active ? Names{"thing"} : Names{});
    }
}

TEST(ControlGamepadTest, NothingIsActiveBeforeThePlayerMovesOrWithoutAPlayer) {
    Control_world w;
    w.object_at("thing", 0, 0, 500);
    System::Control control(w.content);
    w.content.emit("Player", "not_moved_yet");
    EXPECT_EQ(control.detect_active_objects(), Names{});
    w.content.receive("Player", "not_moved_yet");
    w.content.set<Component::Simple<std::string>>("Player", "name", "");
    EXPECT_EQ(control.detect_active_objects(), Names{});
    w.content.remove("Player", "name");
    EXPECT_EQ(control.detect_active_objects(), Names{});
}

TEST(ControlGamepadTest, OrderedByLabelXThenByName) {
    Control_world w;
    w.object_at("c", 0, 0, 300);
    w.object_at("b", 10, 0, 100);
    w.object_at("a", 20, 0, 300);
    w.object_at("d", 30, 0, 200);
    // a label of another kind is no candidate, nor the player's own label
    w.content.set<Component::Simple<std::string>>("Verb", "label", "Look");
    w.object_at("mara", 0, 0, 150);
    System::Control control(w.content);
    EXPECT_EQ(control.detect_active_objects(), (Names{"b", "d", "a", "c"}));
}

// The follower "pip" (label "pip", 3 bytes: its box is 98 wide, 5 + 37.5 above and below
// its position) beside "rope" (4 bytes, 114 wide), both within reach.
struct Follower_case {
    const char* name;
    double rope_x;  // rope's position x; no rope when negative
    bool walking;   // pip has a path
    bool goto_left; // rope is a walk-to object whose label extends to the left
    bool pip_in;
};

TEST(ControlGamepadTest, TheFollowerJoinsWhenStillAndClear) {
    const std::vector<Follower_case> cases = {
        {"alone", -1, false, false, true},
        {"alone but walking", -1, true, false, false},
        {"clear of the rope", 617, false, false, true},
        {"touching the rope's box", 616, false, false, false},
        {"overlapping the rope's box", 560, false, false, false},
        {"clear, but walking", 700, true, false, false},
        // the walk-to label reaches 114 + 50 to the left of the rope's margin
        {"touching a walk-to label", 723, false, true, false},
        {"clear of a walk-to label", 724, false, true, true},
    };
    for (const Follower_case& c : cases) {
        SCOPED_TRACE(c.name);
        Control_world w;
        w.content.set<Component::Simple<std::string>>("Follower", "name", "pip");
        w.object_at("pip", 0, 0, 500);
        w.content.set<Component::Absolute_position>("pip", "position", Point(500, 300), false);
        if (c.walking)
            w.content.set<Component::Base>("pip", "path");
        Names expected;
        if (c.rope_x >= 0) {
            w.object_at("rope", 5, 0, c.rope_x);
            w.content.set<Component::Absolute_position>("rope", "position", Point(c.rope_x, 300),
                                                        false);
            if (c.goto_left)
                w.content.set<Component::Boolean>("rope_goto", "right", true);
            expected.push_back("rope");
        }
        if (c.pip_in)
            expected.insert(expected.begin(), "pip");
        System::Control control(w.content);
        EXPECT_EQ(control.detect_active_objects(), expected);
    }
}

TEST(ControlGamepadTest, TheListIsKeptUpToDate) {
    Control_world w;
    w.object_at("a", 0, 0, 100);
    w.object_at("b", 0, 0, 200);
    System::Control control(w.content);
    control.init();
    control.run();
    EXPECT_EQ(w.active_objects(), (Names{"a", "b"}));
    EXPECT_EQ(w.text("Interface", "active_object"), "a");

    // an unchanged list writes nothing: the same components, not marked altered again
    auto list = w.content.get<Component::Vector<std::string>>("Interface", "active_objects");
    auto current = w.content.get<Component::Simple<std::string>>("Interface", "active_object");
    list->mark_as_unaltered();
    current->mark_as_unaltered();
    control.run();
    EXPECT_EQ(w.content.get<Component::Base>("Interface", "active_objects"), list);
    EXPECT_EQ(w.content.get<Component::Base>("Interface", "active_object"), current);
    EXPECT_FALSE(list->was_altered());
    EXPECT_FALSE(current->was_altered());

    // a current object still listed stays current; the list is changed in place
    current->set("b");
    w.object_at("c", 0, 0, 50);
    control.run();
    EXPECT_EQ(w.content.get<Component::Base>("Interface", "active_objects"), list);
    EXPECT_EQ(w.active_objects(), (Names{"c", "a", "b"}));
    EXPECT_EQ(w.text("Interface", "active_object"), "b");

    // one gone out of reach: the first becomes current
    w.content.get<Component::Image>("b", "image")->on() = false;
    control.run();
    EXPECT_EQ(w.active_objects(), (Names{"c", "a"}));
    EXPECT_EQ(w.text("Interface", "active_object"), "c");

    // nothing in reach: both go
    w.body->set(Point(5000, 800));
    control.run();
    EXPECT_FALSE(w.has("Interface", "active_objects"));
    EXPECT_FALSE(w.has("Interface", "active_object"));
}

TEST(ControlGamepadTest, TheObjectCurrentBeforeComesBack) {
    Control_world w;
    w.object_at("a", 0, 0, 100);
    w.object_at("b", 0, 0, 200);
    System::Control control(w.content);
    control.init();
    control.run();
    w.content.get<Component::Simple<std::string>>("Interface", "active_object")->set("b");
    // through the verb choice and back
    w.status->push(S::ACTION);
    control.run();
    EXPECT_EQ(w.text("Interface", "previous_active_object"), "b");
    w.status->pop();
    control.run();
    EXPECT_EQ(w.text("Interface", "active_object"), "b");
    EXPECT_FALSE(w.has("Interface", "previous_active_object"));

    // one no longer listed is forgotten
    w.status->push(S::ACTION);
    control.run();
    w.content.get<Component::Image>("b", "image")->on() = false;
    w.status->pop();
    control.run();
    EXPECT_EQ(w.text("Interface", "active_object"), "a");
    EXPECT_FALSE(w.has("Interface", "previous_active_object"));
}

TEST(ControlGamepadTest, TheFirstStickMoveWakesTheList) {
    Control_world w;
    w.object_at("a", 0, 0, 100);
    w.content.emit("Player", "not_moved_yet");
    System::Control control(w.content);
    control.init();
    control.run();
    EXPECT_FALSE(w.has("Interface", "active_objects"));
    EXPECT_FALSE(w.content.signal("Cancel", "action"));
    w.content.emit("Stick", "moved");
    control.run();
    EXPECT_EQ(w.active_objects(), Names{"a"});
    EXPECT_FALSE(w.content.signal("Player", "not_moved_yet"));
    EXPECT_TRUE(w.content.signal("Cancel", "action"));
    EXPECT_TRUE(w.content.signal("Stick", "moved")) << "tested, never received here";
}

TEST(ControlGamepadTest, TheShouldersSwitchWithWrap) {
    struct Step {
        bool right;
        std::string expected;
    };
    const std::vector<std::pair<Names, std::vector<Step>>> runs = {
        {{"a"}, {{true, "a"}, {false, "a"}}},
        {{"a", "b", "c"}, {{false, "c"}, {false, "b"}, {true, "c"}, {true, "a"}, {true, "b"}}},
    };
    for (const auto& [objects, steps] : runs) {
        SCOPED_TRACE(std::to_string(objects.size()) + " objects");
        Control_world w;
        for (std::size_t i = 0; i < objects.size(); ++i)
            w.object_at(objects[i], 0, 0, 100.0 * double(i + 1));
        System::Control control(w.content);
        control.init();
        control.run();
        for (const Step& s : steps) {
            w.content.set<Component::Boolean>("Switch", "right", s.right);
            control.run();
            EXPECT_EQ(w.text("Interface", "active_object"), s.expected);
            EXPECT_FALSE(w.has("Switch", "right"));
        }
    }
}

// The player's walk and the controller's acknowledgement after a face button.
struct Press_outcome {
    bool cancel;
    bool stopped;
    bool click;
};

Press_outcome outcome(Control_world& w) {
    return {w.content.signal("Cancel", "action"),
            w.content.signal("mara", "stop_walking") && !w.has("mara", "path"),
            w.content.signal("Click", "play_sound") && w.has("Gamepad", "rumble")};
}

TEST(ControlGamepadTest, SouthAndEastInOneFrameOpenTheInventoryOnly) {
    Control_world w;
    w.object_at("rope", 0, 0, 100);
    w.inventory({"coin", "key"});
    w.content.set<Component::Base>("mara", "path");
    System::Control control(w.content);
    control.init();
    control.run();
    w.content.emit("Action", "inventory");
    w.content.emit("Action", "look");
    control.run();
    EXPECT_EQ(w.status->value(), S::IN_INVENTORY);
    EXPECT_EQ(w.status->size(), 2u);
    EXPECT_EQ(control.remembered_status(), S::IN_INVENTORY);
    EXPECT_EQ(w.text("Interface", "active_object"), "coin") << "the begin step ran";
    EXPECT_EQ(w.text("Interface", "previous_active_object"), "rope") << "the end step ran";
    EXPECT_FALSE(w.has("Interface", "action_choice_target"));
    const Press_outcome o = outcome(w);
    EXPECT_TRUE(o.cancel);
    EXPECT_TRUE(o.stopped);
    EXPECT_TRUE(o.click);
    const auto rumble =
        w.content.get<Component::Pair<double, double>>("Gamepad", "rumble")->value();
    EXPECT_EQ(rumble, (std::pair<double, double>(0.05, 0.05)));
    EXPECT_FALSE(w.content.signal("Action", "look")) << "dropped by the flush";

    // no step in the next frame: the source object picked by the begin step stays
    w.content.get<Component::Simple<std::string>>("Interface", "active_object")->set("key");
    control.run();
    EXPECT_EQ(w.text("Interface", "active_object"), "key");
}

TEST(ControlGamepadTest, SouthWithAnEmptyInventoryOpensItWithoutAnItem) {
    Control_world w;
    System::Control control(w.content);
    control.init();
    w.content.emit("Action", "inventory");
    control.run();
    EXPECT_EQ(w.status->value(), S::IN_INVENTORY);
    EXPECT_FALSE(w.has("Interface", "active_object"));
}

TEST(ControlGamepadTest, EastWithoutAnObjectOnlyStopsThePlayer) {
    Control_world w;
    w.content.set<Component::Base>("mara", "path");
    System::Control control(w.content);
    control.init();
    w.content.emit("Action", "look");
    control.run();
    const Press_outcome o = outcome(w);
    EXPECT_TRUE(o.cancel);
    EXPECT_TRUE(o.stopped);
    EXPECT_FALSE(w.content.signal("Click", "play_sound"));
    EXPECT_FALSE(w.has("Gamepad", "rumble"));
    EXPECT_EQ(w.status->value(), S::IDLE);
}

TEST(ControlGamepadTest, EastOnAnObjectOpensTheVerbChoiceNextFrame) {
    Control_world w;
    w.object_at("rope", 0, 0, 100);
    System::Control control(w.content);
    control.init();
    control.run();
    w.content.emit("Action", "look");
    control.run();
    EXPECT_EQ(w.status->value(), S::ACTION);
    EXPECT_EQ(control.remembered_status(), S::IDLE) << "the dispatcher takes the steps";
    EXPECT_EQ(w.text("Interface", "action_choice_target"), "rope");
    EXPECT_TRUE(outcome(w).click);
    control.run();
    EXPECT_EQ(control.remembered_status(), S::ACTION);
    EXPECT_EQ(w.text("Interface", "previous_active_object"), "rope");
}

TEST(ControlGamepadTest, EastOnAWalkToObjectTriggersItsWalk) {
    for (bool own : {true, false}) {
        SCOPED_TRACE(own ? "its own walk" : "the default walk");
        Control_world w;
        w.object_at("door", 0, 0, 100);
        w.content.set<Component::Boolean>("door_goto", "right", false);
        w.action("Default_goto");
        if (own)
            w.action("door_goto");
        System::Control control(w.content);
        control.init();
        control.run();
        w.content.emit("Action", "look");
        control.run();
        EXPECT_EQ(w.status->value(), S::IDLE);
        EXPECT_FALSE(w.has("Interface", "action_choice_target"));
        EXPECT_EQ(w.content.get<Component::Action>("Character", "triggered_action"),
                  w.content.get<Component::Action>(own ? "door_goto" : "Default_goto", "action"));
        EXPECT_TRUE(outcome(w).click);
    }
}

TEST(ControlGamepadTest, UnusedPressesAreDropped) {
    Control_world w;
    System::Control control(w.content);
    control.init();
    w.content.emit("Action", "move");
    w.content.emit("Action", "take");
    w.content.set<Component::Boolean>("Switch", "right", true);
    control.run();
    for (const char* a : {"move", "take", "look", "inventory"})
        EXPECT_FALSE(w.content.signal("Action", a)) << a;
    EXPECT_FALSE(w.has("Switch", "right"));
    EXPECT_FALSE(w.content.signal("Click", "play_sound"));
}

} // namespace
