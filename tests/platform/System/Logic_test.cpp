// The step engine and the frame of the logic system, driven by small actions built here, with
// the frame time set by the test.

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Path.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>

#include "support/Logic_store.h"
#include "support/Sdl_fixture.h"

namespace Orvane::Test {
namespace {

using Component::Action;
using Int = Component::Simple<int>;
using List = Component::Vector<std::string>;
using String = Component::Simple<std::string>;

// One row of the step table: the steps of "script:action" (launched before the first frame),
// the store around them, the frame times, and what the store holds afterwards. Without times,
// the steps are applied one after the other outside any frame.
struct Script_case {
    const char* name;
    Steps steps;
    std::function<void(Logic_store&)> before;
    std::vector<double> times;
    std::function<void(Logic_store&)> after;
};

void PrintTo(const Script_case& c, std::ostream* out) { *out << c.name; }

void nothing(Logic_store&) {}

// A carried-item fixture: the item, its picture and name, and the notice text.
void item(Logic_store& s, const std::string& id, const std::string& state) {
    s.content.set<String>(id, "state", state);
    s.content.set<String>(id, "name", "Rope");
    s.content.set<Component::Image>(id, "image", 40, 20);
    s.content.set<String>("You_got", "text", "You got");
}

const Script_case script_cases[] = {
    {"wait 1.5 holds until 1.5 s later",
     {{"wait", {"1.5"}}, {"emit", {"done"}}},
     nothing,
     {10, 11.49},
     [](Logic_store& s) { EXPECT_FALSE(s.has("done", "signal")); }},
    {"wait 1.5 lets go at 1.5 s",
     {{"wait", {"1.5"}}, {"emit", {"done"}}},
     nothing,
     {10, 11.5},
     [](Logic_store& s) { EXPECT_TRUE(s.has("done", "signal")); }},
    {"wait 0 holds for the frame",
     {{"wait", {"0"}}, {"emit", {"done"}}},
     nothing,
     {10},
     [](Logic_store& s) { EXPECT_FALSE(s.has("done", "signal")); }},
    {"wait 0 goes on in the next frame",
     {{"wait", {"0"}}, {"emit", {"done"}}},
     nothing,
     {10, 10.016},
     [](Logic_store& s) { EXPECT_TRUE(s.has("done", "signal")); }},
    {"timer T at 10, wait T 5 at 12: not before 15, earlier items end at 12",
     {{"timer", {"T"}},
      {"hold", {"shaker", "100"}},
      {"wait", {"2"}},
      {"wait", {"T", "5"}},
      {"emit", {"done"}}},
     nothing,
     {10, 12, 14.99},
     [](Logic_store& s) {
         EXPECT_EQ(s.content.get<Component::Simple<double>>("T", "init_value")->value(), 10);
         EXPECT_FALSE(s.has("shaker", "held")) << "an item dropped by the timed wait ends";
         EXPECT_FALSE(s.has("done", "signal"));
     }},
    {"timer T at 10, wait T 5 at 12: goes on at 15",
     {{"timer", {"T"}}, {"wait", {"2"}}, {"wait", {"T", "5"}}, {"emit", {"done"}}},
     nothing,
     {10, 12, 15},
     [](Logic_store& s) { EXPECT_TRUE(s.has("done", "signal")); }},
    {"a timed wait fires the signals it drops",
     {{"later", {"late", "50"}}, {"wait", {"T", "5"}}, {"emit", {"done"}}},
     [](Logic_store& s) { s.content.set<Component::Simple<double>>("T", "init_value", 0.0); },
     {1},
     [](Logic_store& s) {
         EXPECT_TRUE(s.has("late", "signal"));
         EXPECT_FALSE(s.has("done", "signal"));
     }},
    {"trigger with one argument from the player's action makes the new one the player's",
     {{"trigger", {"other"}}},
     [](Logic_store& s) {
         s.action("other", {{"emit", {"other_ran"}}});
         s.content.set<Component::Variable>("Character", "action",
                                            s.content.get<Action>("script", "action"));
     },
     {1},
     [](Logic_store& s) {
         EXPECT_TRUE(s.has("other_ran", "signal")) << "the triggered action starts at once";
         EXPECT_EQ(s.content.get<Action>("Character", "action"),
                   s.content.get<Action>("other", "action"));
     }},
    {"trigger with two arguments leaves the player's action",
     {{"trigger", {"other", "extra"}}},
     [](Logic_store& s) {
         s.action("other", {{"emit", {"other_ran"}}});
         s.content.set<Component::Variable>("Character", "action",
                                            s.content.get<Action>("script", "action"));
     },
     {1},
     [](Logic_store& s) {
         EXPECT_TRUE(s.has("other_ran", "signal"));
         EXPECT_EQ(s.content.get<Action>("Character", "action"),
                   s.content.get<Action>("script", "action"));
     }},
    {"an action triggered twice in a frame runs once, to its end",
     {{"trigger", {"other"}}, {"trigger", {"other"}}},
     [](Logic_store& s) {
         s.action("other", {{"add", {"ran", "other"}}});
     },
     {1},
     [](Logic_store& s) {
         EXPECT_EQ(s.content.get<List>("ran", "list")->value(),
                   (std::vector<std::string>{"other"}));
     }},
    {"trigger of a name without action asks for that menu",
     {{"trigger", {"Phone"}}},
     nothing,
     {1},
     [](Logic_store& s) {
         EXPECT_EQ(s.text("Game", "triggered_menu"), "Phone");
         EXPECT_TRUE(s.has("Show", "menu"));
     }},
    {"receive S A B twice: A, then B",
     {{"receive", {"S", "A", "B"}}, {"receive", {"S", "A", "B"}}},
     [](Logic_store& s) {
         s.content.emit("S", "signal");
         s.action("A", {{"add", {"ran", "A"}}});
         s.action("B", {{"add", {"ran", "B"}}});
     },
     {1},
     [](Logic_store& s) {
         EXPECT_FALSE(s.has("S", "signal"));
         EXPECT_EQ(s.content.get<List>("ran", "list")->value(),
                   (std::vector<std::string>{"A", "B"}));
     }},
    {"receive S A without the signal does nothing",
     {{"receive", {"S", "A"}}},
     [](Logic_store& s) {
         s.action("A", {{"emit", {"a_ran"}}});
     },
     {1},
     [](Logic_store& s) { EXPECT_FALSE(s.has("a_ran", "signal")); }},
    {"load in a cutscene leaves LOCKED over the status before it",
     {{"cutscene", {}}, {"load", {"tower", "from_quay"}}},
     [](Logic_store& s) { s.content.emit(Key::time_speedup); },
     {1},
     [](Logic_store& s) {
         EXPECT_FALSE(s.has("Time", "speedup")) << "a cutscene ends fast-forward";
         EXPECT_EQ(s.status->value(), Status::LOCKED);
         EXPECT_EQ(s.status->next_value(), Status::IDLE);
         EXPECT_EQ(s.text("Game", "new_room"), "tower");
         EXPECT_EQ(s.text("Game", "new_room_origin"), "from_quay");
     }},
    {"lock, unlock, lock",
     {{"lock", {}}, {"unlock", {}}, {"lock", {"ignored"}}},
     nothing,
     {1},
     [](Logic_store& s) {
         EXPECT_EQ(s.status->value(), Status::LOCKED);
         EXPECT_EQ(s.status->size(), 2U);
     }},
    {"control P to Q",
     {{"control", {"Q"}}},
     [](Logic_store& s) {
         s.content.set<String>("P", "state", "player");
         s.content.set<String>("Q", "state", "default");
         s.content.set<String>("Player", "name", "P");
         s.content.set<String>("Follower", "name", "F");
     },
     {},
     [](Logic_store& s) {
         EXPECT_EQ(s.text("P", "state"), "default");
         EXPECT_EQ(s.text("Q", "state"), "player");
         EXPECT_EQ(s.text("Player", "name"), "Q");
         EXPECT_FALSE(s.has("Follower", "name"));
         EXPECT_TRUE(s.content.get<String>("Q", "state")->was_altered());
         EXPECT_TRUE(s.content.get<String>("Player", "name")->was_altered());
     }},
    {"control with a follower, without a player before",
     {{"control", {"mara", "pip"}}},
     [](Logic_store& s) { s.content.set<String>("mara", "state", "default"); },
     {},
     [](Logic_store& s) {
         EXPECT_EQ(s.text("Player", "name"), "mara");
         EXPECT_EQ(s.text("Follower", "name"), "pip");
         EXPECT_EQ(s.text("mara", "state"), "player");
     }},
    {"set of a value runs its bound action to the end before set returns",
     {{"set", {"coins", "3"}}, {"add", {"order", "after set"}}},
     [](Logic_store& s) {
         s.content.set<Int>("coins", "value", 0);
         s.action("coins", {{"add", {"order", "bound"}}, {"wait", {}}, {"emit", {"bound_end"}}},
                  "3");
         s.action("coins", {{"emit", {"default_ran"}}}, "default");
     },
     {},
     [](Logic_store& s) {
         EXPECT_EQ(s.content.get<Int>("coins", "value")->value(), 3);
         EXPECT_TRUE(s.content.get<Int>("coins", "value")->was_altered());
         EXPECT_EQ(s.content.get<List>("order", "list")->value(),
                   (std::vector<std::string>{"bound", "after set"}));
         EXPECT_TRUE(s.has("bound_end", "signal")) << "a waiting step does not hold it";
         EXPECT_FALSE(s.has("default_ran", "signal"));
     }},
    {"set of a value without its own action runs the default",
     {{"set", {"coins", "7"}}},
     [](Logic_store& s) {
         s.content.set<Int>("coins", "value", 0);
         s.action("coins", {{"emit", {"default_ran"}}}, "default");
     },
     {},
     [](Logic_store& s) { EXPECT_TRUE(s.has("default_ran", "signal")); }},
    {"add -1 to 0 runs the action of -1",
     {{"add", {"coins", "-1"}}},
     [](Logic_store& s) {
         s.content.set<Int>("coins", "value", 0);
         s.action("coins", {{"emit", {"minus_one"}}}, "-1");
     },
     {},
     [](Logic_store& s) {
         EXPECT_EQ(s.content.get<Int>("coins", "value")->value(), -1);
         EXPECT_TRUE(s.has("minus_one", "signal"));
     }},
    {"set of a state, three arguments, from the expected state",
     {{"set", {"door", "closed", "open"}}},
     [](Logic_store& s) { s.content.set<String>("door", "state", "closed"); },
     {},
     [](Logic_store& s) {
         EXPECT_EQ(s.text("door", "state"), "open");
         EXPECT_TRUE(s.content.get<String>("door", "state")->was_altered());
     }},
    {"set of a state, three arguments, from another state",
     {{"set", {"door", "closed", "open"}}},
     [](Logic_store& s) { s.content.set<String>("door", "state", "locked"); },
     {},
     [](Logic_store& s) {
         EXPECT_EQ(s.text("door", "state"), "locked");
         EXPECT_FALSE(s.content.get<String>("door", "state")->was_altered());
     }},
    {"set on an item with neither value nor state does nothing",
     {{"set", {"ghost", "1"}}},
     nothing,
     {},
     [](Logic_store& s) { EXPECT_FALSE(s.has("ghost", "value")); }},
    {"set into the inventory in a new room: carried, placed, hidden, silent",
     {{"set", {"rope", "inventory_rope"}}},
     [](Logic_store& s) {
         item(s, "rope", "on_bollard");
         for (const char* other : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"})
             s.inventory->add(other);
         s.content.emit("Game", "in_new_room");
     },
     {},
     [](Logic_store& s) {
         EXPECT_EQ(s.inventory->size(), 11U);
         EXPECT_EQ(s.inventory->get(10), "rope");
         EXPECT_EQ(s.inventory->position(), 2U) << "scrolled so that the new item shows";
         auto image = s.content.get<Component::Image>("rope", "image");
         EXPECT_FALSE(image->on());
         EXPECT_EQ(image->z(), Config::Depth::INTERFACE_ITEMS);
         EXPECT_EQ(image->origin(), Point(20, 10));
         EXPECT_FALSE(s.has("Notification_0", "notification"));
     }},
    {"set out of the inventory",
     {{"set", {"rope", "gone"}}},
     [](Logic_store& s) {
         item(s, "rope", "inventory_rope");
         s.inventory->add("rope");
         s.content.get<Component::Image>("rope", "image")->z() = 5;
     },
     {},
     [](Logic_store& s) {
         EXPECT_EQ(s.inventory->size(), 0U);
         EXPECT_EQ(s.text("rope", "state"), "gone");
         EXPECT_EQ(s.content.get<Component::Image>("rope", "image")->z(), 5);
     }},
    {"set within the inventory",
     {{"set", {"rope", "inventory_wet"}}},
     [](Logic_store& s) {
         item(s, "rope", "inventory_rope");
         s.inventory->add("rope");
     },
     {},
     [](Logic_store& s) {
         EXPECT_EQ(s.inventory->size(), 1U) << "neither removed nor added again";
         EXPECT_FALSE(s.content.get<Component::Image>("rope", "image")->on());
         EXPECT_EQ(s.content.get<Component::Image>("rope", "image")->z(),
                   Config::Depth::INTERFACE_ITEMS);
     }},
    {"lists: add twice, remove once, remove an absent string",
     {{"add", {"bag", "x"}},
      {"add", {"bag", "x"}},
      {"remove", {"bag", "x"}},
      {"remove", {"bag", "y"}},
      {"remove", {"pocket", "y"}}},
     nothing,
     {},
     [](Logic_store& s) {
         EXPECT_EQ(s.content.get<List>("bag", "list")->value(), (std::vector<std::string>{"x"}));
         EXPECT_FALSE(s.content.get<List>("bag", "list")->was_altered());
         EXPECT_TRUE(s.content.get<List>("pocket", "list")->value().empty());
     }},
    {"randomize with two arguments always picks the one",
     {{"randomize", {"die", "six"}}},
     [](Logic_store& s) { s.content.set<String>("die", "state", "one"); },
     {},
     [](Logic_store& s) {
         EXPECT_EQ(s.text("die", "state"), "six");
         EXPECT_TRUE(s.content.get<String>("die", "state")->was_altered());
     }},
    {"emit and exit",
     {{"emit", {"bell"}}, {"exit", {"ignored"}}},
     nothing,
     {1},
     [](Logic_store& s) {
         EXPECT_TRUE(s.has("bell", "signal"));
         EXPECT_TRUE(s.has("Game", "exit"));
     }},
    {"message asks for the message box and holds the action",
     {{"message", {"Hello"}}, {"emit", {"after"}}},
     [](Logic_store& s) { s.content.set<String>("Hello", "text", "Hello there"); },
     {1},
     [](Logic_store& s) {
         EXPECT_EQ(s.text("Message", "text"), "Hello there");
         EXPECT_EQ(s.text("Game", "triggered_menu"), "Message");
         EXPECT_TRUE(s.has("Show", "menu"));
         EXPECT_FALSE(s.has("after", "signal"));
     }},
    {"save asks for the automatic slot",
     {{"save", {}}},
     [](Logic_store& s) { s.content.set<String>("Saving", "text", "Saving..."); },
     {1},
     [](Logic_store& s) {
         EXPECT_TRUE(s.has("Game", "save"));
         EXPECT_EQ(s.text("Savegame", "id"), "auto");
     }},
    {"loop restarts the action, a frame per round through its wait",
     {{"add", {"rounds", "1"}}, {"wait", {"1"}}, {"loop", {}}},
     [](Logic_store& s) { s.content.set<Int>("rounds", "value", 0); },
     {0, 1, 2},
     [](Logic_store& s) {
         EXPECT_EQ(s.content.get<Int>("rounds", "value")->value(), 3);
         EXPECT_TRUE(s.content.get<Action>("script", "action")->on());
     }},
};

class Logic_step_test : public Sdl_test, public ::testing::WithParamInterface<Script_case> {};

TEST_P(Logic_step_test, StoreAfterSteps) {
    const Script_case& c = GetParam();
    Logic_store s;
    auto script = s.action("script", c.steps);
    c.before(s);
    script->launch();
    if (c.times.empty()) {
        while (script->on())
            s.logic->apply_next_step(script);
    } else {
        for (double t : c.times)
            s.frame(t);
    }
    c.after(s);
}

std::string case_name(const ::testing::TestParamInfo<Script_case>& info) {
    std::string name;
    for (const char* p = info.param.name; *p != '\0'; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Steps, Logic_step_test, ::testing::ValuesIn(script_cases), case_name);

using Logic_test = Sdl_test;

// Integer "add" and "set" never overflow, wherever the number came from: the value is held at
// the int limit, with a warning naming the script, and its bound action still runs.
TEST_F(Logic_test, IntegerAddAndSetSaturateWithAWarningNamingTheScript) {
    struct Case {
        const char* name;
        int start;
        Step step;
        int expected;
        bool warns;
    };
    const Case cases[] = {
        {"add 3 to the largest int", INT32_MAX, {"add", {"coins", "3"}}, INT32_MAX, true},
        {"add -3 to the smallest int", INT32_MIN, {"add", {"coins", "-3"}}, INT32_MIN, true},
        {"add a number beyond int", 5, {"add", {"coins", "99999999999"}}, INT32_MAX, true},
        {"add a number beyond 64 bits", 5, {"add", {"coins", "-99999999999999999999"}},
         INT32_MIN, true},
        {"set a number beyond int", 0, {"set", {"coins", "2147483648"}}, INT32_MAX, true},
        {"set a number below int", 0, {"set", {"coins", "-2147483649"}}, INT32_MIN, true},
        {"add up to the largest int", INT32_MAX - 3, {"add", {"coins", "3"}}, INT32_MAX, false},
        {"set the smallest int", 0, {"set", {"coins", "-2147483648"}}, INT32_MIN, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Logic_store s;
        s.content.set<Int>("coins", "value", c.start);
        s.action("coins", {{"emit", {"bound_ran"}}}, "default");
        auto script = s.action("purse", {c.step});
        script->launch();
        ::testing::internal::CaptureStderr();
        while (script->on())
            s.logic->apply_next_step(script);
        const std::string warnings = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(s.content.get<Int>("coins", "value")->value(), c.expected);
        EXPECT_TRUE(s.content.get<Int>("coins", "value")->was_altered());
        EXPECT_TRUE(s.has("bound_ran", "signal"));
        if (c.warns) {
            EXPECT_NE(warnings.find("Warning: purse:action: \"" + c.step.first + "\""),
                      std::string::npos)
                << warnings;
            EXPECT_NE(warnings.find("held at " + std::to_string(c.expected)), std::string::npos)
                << warnings;
        } else {
            EXPECT_EQ(warnings, "");
        }
    }
}

// In a game without menus no page would show a message nor close it: the script goes on at
// once, without asking for the menu (which would hold the game in IN_MENU for good), and the
// first such message is warned about, naming its text.
TEST_F(Logic_test, AMessageWithoutMenusIsSkippedWithOneWarning) {
    Logic_store s;
    s.content.set<String>("Hello", "text", "Hello there");
    s.content.set<String>("Bye", "text", "Bye now");
    s.content.emit(Key::game_no_menu);
    auto script = s.action("script", {{"message", {"Hello"}}, {"emit", {"after"}},
                                      {"message", {"Bye"}}, {"emit", {"end"}}});
    script->launch();
    ::testing::internal::CaptureStderr();
    s.frame(1);
    const std::string warnings = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(s.has("after", "signal"));
    EXPECT_TRUE(s.has("end", "signal"));
    EXPECT_FALSE(s.has("Show", "menu"));
    EXPECT_FALSE(s.content.request<String>(Key::game_triggered_menu));
    EXPECT_NE(warnings.find("The message Hello is not shown"), std::string::npos) << warnings;
    EXPECT_EQ(warnings.find("Bye"), std::string::npos) << warnings;
}

// A seeded generator picks the same value again, and only values of the list.
TEST_F(Logic_test, RandomizeFollowsTheSeededGenerator) {
    Logic_store s;
    s.content.set<String>("die", "state", "none");
    std::set<std::string> seen;
    for (unsigned int seed = 0; seed < 40; ++seed) {
        std::srand(seed);
        s.logic->function_randomize({"die", "a", "b", "c"});
        const std::string first = s.text("die", "state");
        std::srand(seed);
        s.logic->function_randomize({"die", "a", "b", "c"});
        EXPECT_EQ(s.text("die", "state"), first) << "seed " << seed;
        seen.insert(first);
    }
    EXPECT_EQ(seen, (std::set<std::string>{"a", "b", "c"}));
}

TEST_F(Logic_test, AllTrueActionEndsInOneFrame) {
    Logic_store s;
    auto script = s.action("script", {{"emit", {"a"}}, {"timer", {"T"}}, {"emit", {"b"}}});
    script->launch();
    s.frame(1);
    EXPECT_FALSE(script->on());
    EXPECT_TRUE(s.has("b", "signal"));
}

// "effect: []" is valid data: launched anywhere, an empty action ends without a fatal stop.
TEST_F(Logic_test, EmptyActionsEndAtOnce) {
    Logic_store s;
    // An exit's walk without steps: its first and last steps are not read either.
    auto empty = s.action("hall_goto", {});
    s.content.set<String>("Game", "new_room_origin", "hall_goto");
    s.content.set<Component::Variable>(Key::character_triggered_action, empty);
    auto script = s.action("script", {{"trigger", {"hall_goto"}},
                                      {"receive", {"S", "x", "hall_goto"}}, {"emit", {"done"}}});
    script->launch();
    s.frame(1);
    EXPECT_TRUE(s.has("done", "signal"));
    EXPECT_FALSE(empty->on());
    EXPECT_EQ(s.content.get<Action>("Character", "action"), empty);

    // Launched by hand elsewhere, and run.
    empty->launch();
    s.frame(2);
    EXPECT_FALSE(empty->on());
}

TEST_F(Logic_test, TimedWaitGoesOnBesideAWalkABareOneDoesNot) {
    Logic_store s;
    auto timed = s.action("timed", {{"walk", {"hero"}}, {"wait", {"1"}}, {"emit", {"timed"}}});
    auto bare = s.action("bare", {{"walk", {"dog"}}, {"wait", {}}, {"emit", {"bare"}}});
    s.content.set<String>("dog", "nofollow", "");
    timed->launch();
    bare->launch();
    s.frame(0);
    s.frame(1);
    EXPECT_TRUE(s.has("timed", "signal")) << "the timed wait ended while hero still walks";
    EXPECT_TRUE(s.has("hero", "path"));
    EXPECT_FALSE(s.has("bare", "signal"));
    s.frame(2);
    EXPECT_FALSE(s.has("bare", "signal"));

    s.content.remove("dog", "path"); // the walk ends
    s.frame(3);
    EXPECT_TRUE(s.has("bare", "signal"));
    EXPECT_FALSE(s.has("dog", "nofollow")) << "the follower follows again";
}

TEST_F(Logic_test, DialogFreezesOnlyTheDialogAction) {
    Logic_store s;
    auto dialog = s.content.get<Action>("Logic", "action");
    auto other = s.action("other", {});
    dialog->schedule(1, std::make_shared<Component::Signal>("dialog_item", "signal"));
    other->schedule(1, std::make_shared<Component::Signal>("other_item", "signal"));
    s.status->push(Status::DIALOG);
    s.frame(2);
    EXPECT_TRUE(s.has("other_item", "signal"));
    EXPECT_FALSE(s.has("dialog_item", "signal"));
    s.status->pop();
    s.frame(3);
    EXPECT_TRUE(s.has("dialog_item", "signal"));
}

// In a pause, a menu, or while a restart is pending, only notifications end.
TEST_F(Logic_test, PausedFramesEndNothingButNotifications) {
    for (int paused : {int(Status::PAUSE), int(Status::IN_MENU), -1}) {
        SCOPED_TRACE(paused);
        Logic_store s;
        auto script = s.action("script", {{"wait", {"1"}}, {"emit", {"done"}}});
        auto notice = s.content.set<String>("Notification_0", "notification", "Hi");
        s.content.set<Component::Image>("Notification_0", "image", 10, 10);
        s.content.get<Action>("Notifications", "action")->schedule(2, notice);
        script->launch();
        s.frame(0);
        if (paused < 0)
            s.content.emit(Key::game_reset);
        else
            s.status->push(Status(paused));
        s.frame(5);
        EXPECT_FALSE(s.has("done", "signal"));
        EXPECT_TRUE(s.has("Notification_0", "end_notification"));
        if (paused < 0)
            s.content.remove(Key::game_reset);
        else
            s.status->pop();
        s.frame(6);
        EXPECT_TRUE(s.has("done", "signal"));
    }
}

TEST_F(Logic_test, DialogSkipWaitsAQuarterSecondAfterTheBubble) {
    for (double after : {0.2, 0.3}) {
        SCOPED_TRACE(after);
        Logic_store s;
        auto script = s.action("script", {});
        auto line = s.content.set<Component::Base>("Comment_1", "image");
        auto stop = std::make_shared<Component::Signal>("ferran", "stop_talking");
        script->schedule(20, line);
        script->schedule(20, stop);
        s.content.set<Component::Simple<double>>("Dialog", "creation_time", 10.0);
        s.content.emit(Key::game_skip_dialog);
        s.frame(10 + after);
        EXPECT_FALSE(s.has("Game", "skip_dialog"));
        EXPECT_EQ(s.has("Comment_1", "image"), after < 0.25);
        EXPECT_EQ(s.has("ferran", "stop_talking"), after > 0.25);
        EXPECT_EQ(script->scheduled().size(), after < 0.25 ? 2U : 0U);
    }
}

// The player's action to an exit, standing (dx, dy) from it: the walk is skipped only close by.
TEST_F(Logic_test, ExitShortCut) {
    struct Case {
        int dx, dy;
        bool short_cut;
    };
    for (const Case c : {Case{-74, 29, true}, Case{74, -29, true}, Case{-75, 29, false},
                         Case{-74, 30, false}, Case{0, 0, true}}) {
        SCOPED_TRACE(std::to_string(c.dx) + ", " + std::to_string(c.dy));
        Logic_store s;
        s.content.set<String>("Player", "name", "mara");
        s.content.set<Component::Absolute_position>("mara", "position",
                                                    Point(1000 + c.dx, 500 + c.dy), false);
        s.content.set<Component::Absolute_position>("door", "position", Point(1000, 500), false);
        auto exit = s.action("door_goto", {{"goto", {}}, {"load", {"tower", "from_quay"}}});
        s.logic->update_action(exit);
        EXPECT_TRUE(exit->on());
        EXPECT_EQ(exit->next_step().function(), c.short_cut ? "load" : "goto");
        EXPECT_EQ(s.content.get<Action>("Character", "action"), exit);
    }
}

TEST_F(Logic_test, UpdateActionEndsThePreviousActionsItems) {
    Logic_store s;
    auto old = s.action("old", {{"wait", {}}});
    old->launch();
    s.content.set<Component::Variable>("Character", "action", old);
    auto held = s.content.set<Component::Base>("thing", "held");
    auto path = s.content.set<Component::Path>("mara", "path", Point(0, 0));
    old->schedule(5, held);
    old->schedule(5, std::make_shared<Component::Signal>("old", "signal"));
    old->schedule(0, path);
    auto chosen = s.action("chosen", {{"emit", {"chosen"}}});
    s.content.set<Component::Variable>(Key::character_triggered_action, chosen);
    s.frame(1);
    EXPECT_FALSE(old->on());
    EXPECT_TRUE(old->scheduled().empty());
    EXPECT_FALSE(s.has("thing", "held"));
    EXPECT_TRUE(s.has("old", "signal"));
    EXPECT_TRUE(s.has("mara", "path")) << "time-0 items are not touched";
    EXPECT_TRUE(s.has("chosen", "signal"));
    EXPECT_FALSE(s.has("Character", "triggered_action"));
}

TEST_F(Logic_test, ReplacedActionFinishesUnderFinishing) {
    Logic_store s;
    auto script = s.action("script", {{"forget", {}}, {"wait", {"1"}}, {"emit", {"done"}}});
    script->launch();
    s.frame(0);
    EXPECT_EQ(s.content.get<Action>("Finishing_script", "action"), script);
    s.frame(1);
    EXPECT_TRUE(s.has("done", "signal"));
}

// A bound action is not in the "action" map: what it scheduled still ends.
TEST_F(Logic_test, BoundActionItemsEndThroughFinishing) {
    Logic_store s;
    s.content.set<Int>("coins", "value", 0);
    auto bound = s.action("coins", {{"hold", {"gull", "2"}}}, "3");
    auto script = s.action("script", {{"set", {"coins", "3"}}});
    script->launch();
    s.frame(0);
    EXPECT_TRUE(s.has("gull", "held"));
    EXPECT_EQ(s.content.get<Action>("Finishing_coins_3", "action"), bound);
    s.frame(2);
    EXPECT_FALSE(s.has("gull", "held"));
}

TEST_F(Logic_test, CancelEndsThePlayersActionItems) {
    Logic_store s;
    s.content.set<String>("Player", "name", "mara");
    auto logic_action = s.content.get<Action>("Logic", "action");
    auto player = s.action("player", {{"wait", {}}, {"emit", {"never"}}});
    player->launch();
    s.content.set<Component::Variable>("Character", "action", player);
    auto bubble = s.content.set<Component::Base>("Comment_0", "image");
    auto held = s.content.set<Component::Base>("Camera", "shake");
    auto path = s.content.set<Component::Path>("pip", "path", Point(0, 0));
    s.content.set<Component::Base>("pip", "nofollow");
    s.content.set<Component::Path>("mara", "path", Point(0, 0));
    player->schedule(5, bubble);
    player->schedule(5, held);
    player->schedule(5, std::make_shared<Component::Signal>("door", "signal"));
    player->schedule(5, std::make_shared<Component::Base>("wait", "wait"));
    player->schedule(0, path);
    s.content.emit(Key::cancel_action);
    s.frame(1);

    EXPECT_FALSE(player->on());
    EXPECT_TRUE(player->scheduled().empty());
    EXPECT_FALSE(s.has("Character", "action"));
    EXPECT_TRUE(s.has("door", "signal"));
    EXPECT_FALSE(s.has("Camera", "shake"));
    EXPECT_FALSE(s.has("pip", "nofollow"));
    EXPECT_FALSE(s.has("mara", "path"));
    EXPECT_TRUE(s.has("mara", "stop_walking"));
    ASSERT_EQ(logic_action->scheduled().size(), 1U);
    EXPECT_EQ(logic_action->scheduled().begin()->second, bubble);
    EXPECT_TRUE(s.has("Comment_0", "image")) << "the bubble stays until its time";
    s.frame(5);
    EXPECT_FALSE(s.has("Comment_0", "image"));
    EXPECT_FALSE(s.has("never", "signal"));
}

TEST_F(Logic_test, CancelLeavesTheDialogAction) {
    Logic_store s;
    auto logic_action = s.content.get<Action>("Logic", "action");
    logic_action->add("wait", {});
    logic_action->add("emit", {"answered"});
    logic_action->launch();
    s.content.set<Component::Variable>("Character", "action", logic_action);
    s.content.emit(Key::cancel_action);
    s.frame(1);
    EXPECT_TRUE(logic_action->on());
    EXPECT_TRUE(s.has("Character", "action"));
}

TEST_F(Logic_test, RoomEntryRunsTheOriginsAction) {
    Logic_store s;
    s.status->push(Status::LOCKED);
    s.content.emit("Game", "in_new_room");
    auto before = s.action("before", {{"wait", {}}});
    before->launch();
    s.content.set<Component::Variable>("Character", "action", before);
    s.action("start", {{"emit", {"started"}}});
    s.content.set<String>("Game", "new_room_origin", "start");
    s.frame(1);
    EXPECT_FALSE(before->on()) << "a room entry stops every action";
    EXPECT_FALSE(s.has("Character", "action"));
    EXPECT_EQ(s.status->value(), Status::IDLE) << "the LOCKED of the load is popped";
    EXPECT_TRUE(s.has("started", "signal"));
    EXPECT_FALSE(s.has("Game", "new_room_origin"));
    EXPECT_TRUE(s.has("Game", "new_room_loaded"));
}

TEST_F(Logic_test, SavedGameEntryAddsTheRoomsSaveAction) {
    for (bool with_save_action : {true, false}) {
        SCOPED_TRACE(with_save_action);
        Logic_store s;
        s.content.set<String>("Game", "current_room", "quay");
        auto saved = s.action("Saved_game", {});
        if (with_save_action)
            s.action("quay_save", {{"emit", {"restored"}}});
        s.content.set<String>("Game", "new_room_origin", "Saved_game");
        s.frame(1);
        EXPECT_EQ(saved->size(), with_save_action ? 1U : 0U);
        EXPECT_EQ(s.has("restored", "signal"), with_save_action);
    }
}

// A notification ends once the interface has drawn it, not before: its slot would never be
// freed.
TEST_F(Logic_test, NotificationEndWaitsForItsImage) {
    Logic_store s;
    auto notifications = s.content.get<Action>("Notifications", "action");
    auto text = s.content.set<String>("Notification_0", "notification", "Saving...");
    notifications->schedule(1, text);
    s.frame(2);
    EXPECT_EQ(notifications->scheduled().size(), 1U);
    EXPECT_FALSE(s.has("Notification_0", "end_notification"));
    s.content.set<Component::Image>("Notification_0", "image", 10, 10);
    s.frame(3);
    EXPECT_TRUE(notifications->scheduled().empty());
    EXPECT_TRUE(s.has("Notification_0", "end_notification"));

    // A slot that went away without being drawn is not waited for.
    auto gone = s.content.set<String>("Notification_1", "notification", "Gone");
    notifications->schedule(4, gone);
    s.content.remove("Notification_1", "notification");
    s.status->push(Status::PAUSE);
    s.frame(5);
    EXPECT_TRUE(notifications->scheduled().empty()) << "also in a paused frame";
}

// Picking an item up outside a room load announces it.
TEST_F(Logic_test, PickingUpAnnouncesTheItem) {
    Logic_store s;
    item(s, "rope", "on_bollard");
    s.logic->function_set({"rope", "inventory_rope"});
    EXPECT_EQ(s.text("Notification_0", "notification"), "You got Rope.");
}

// The skip branch of the run: each action up to its "unlock", its items ended as a cancel ends
// them; the actions after that one run as usual.
TEST_F(Logic_test, SkipRunsUpToUnlockThenNormally) {
    Logic_store s;
    auto scene = s.action("scene", {{"emit", {"skipped"}}, {"unlock", {}}, {"emit", {"after"}}});
    scene->launch();
    scene->schedule(50, std::make_shared<Component::Signal>("late", "signal"));
    s.status->push(Status::CUTSCENE);
    s.logic->run_actions(true);
    EXPECT_FALSE(s.has("skipped", "signal")) << "skipped steps are not applied";
    EXPECT_TRUE(s.has("late", "signal")) << "the dropped signal fires";
    EXPECT_TRUE(s.has("after", "signal"));
    EXPECT_EQ(s.status->value(), Status::CUTSCENE) << "the unlock itself is not applied";
    EXPECT_FALSE(scene->on());
}

TEST_F(Logic_test, SkipOfAnActionWithoutUnlockTakesEveryStep) {
    Logic_store s;
    auto scene = s.action("scene", {{"emit", {"a"}}, {"emit", {"b"}}});
    scene->launch();
    s.logic->run_actions(true);
    EXPECT_FALSE(scene->on());
    EXPECT_FALSE(s.has("b", "signal"));
}

} // namespace
} // namespace Orvane::Test
