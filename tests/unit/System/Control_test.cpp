#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Code.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/System/Control.h>

#include "support/Control_fixture.h"

namespace {

using namespace Orvane;
using S = Orvane::Status;
using Orvane::Test::Control_world;

std::string name_of(S s) {
    static const char* names[] = {"IDLE",   "CUTSCENE",         "PAUSE",  "LOCKED",
                                  "ACTION", "INVENTORY_ACTION", "DIALOG", "OBJECT",
                                  "IN_INVENTORY", "IN_MENU",    "IN_WINDOW", "IN_CODE"};
    return names[static_cast<int>(s)];
}

// The control system with every handler replaced by a note in a log, and the status steps
// noted before they run.
class Recording_control : public System::Control {
  public:
    using Control::Control;
    std::vector<std::string> log;

    void end_status(S s) override {
        log.push_back("end " + name_of(s));
        Control::end_status(s);
    }
    void begin_status(S s) override {
        log.push_back("begin " + name_of(s));
        Control::begin_status(s);
    }

#define ORVANE_RECORD(handler)                                                                 \
    void handler() override { log.push_back(#handler); }
    ORVANE_RECORD(idle_mouse)
    ORVANE_RECORD(idle_touchscreen)
    ORVANE_RECORD(idle_gamepad)
    ORVANE_RECORD(action_choice_mouse)
    ORVANE_RECORD(action_choice_touchscreen)
    ORVANE_RECORD(action_choice_gamepad)
    ORVANE_RECORD(object_choice_mouse)
    ORVANE_RECORD(object_choice_touchscreen)
    ORVANE_RECORD(object_choice_gamepad)
    ORVANE_RECORD(inventory_mouse)
    ORVANE_RECORD(inventory_touchscreen)
    ORVANE_RECORD(inventory_gamepad)
    ORVANE_RECORD(window_mouse)
    ORVANE_RECORD(window_touchscreen)
    ORVANE_RECORD(window_gamepad)
    ORVANE_RECORD(code_mouse)
    ORVANE_RECORD(code_touchscreen)
    ORVANE_RECORD(code_gamepad)
    ORVANE_RECORD(dialog_mouse)
    ORVANE_RECORD(dialog_touchscreen)
    ORVANE_RECORD(dialog_gamepad)
    ORVANE_RECORD(menu_mouse)
    ORVANE_RECORD(menu_touchscreen)
    ORVANE_RECORD(menu_gamepad)
#undef ORVANE_RECORD
};

std::string joined(const std::vector<std::string>& log) {
    std::string out;
    for (const std::string& s : log)
        out += (out.empty() ? "" : ", ") + s;
    return out;
}

TEST(ControlTest, TheDispatchTableHoldsOneHandlerPerPair) {
    const std::vector<std::pair<S, std::vector<std::string>>> rows = {
        {S::IDLE, {"idle_mouse", "idle_touchscreen", "idle_gamepad"}},
        {S::ACTION, {"action_choice_mouse", "action_choice_touchscreen", "action_choice_gamepad"}},
        {S::OBJECT, {"object_choice_mouse", "object_choice_touchscreen", "object_choice_gamepad"}},
        {S::IN_INVENTORY, {"inventory_mouse", "inventory_touchscreen", "inventory_gamepad"}},
        {S::INVENTORY_ACTION, {"action_choice_mouse", "action_choice_touchscreen", ""}},
        {S::IN_WINDOW, {"window_mouse", "window_touchscreen", "window_gamepad"}},
        {S::IN_CODE, {"code_mouse", "code_touchscreen", "code_gamepad"}},
        {S::DIALOG, {"dialog_mouse", "dialog_touchscreen", "dialog_gamepad"}},
        {S::IN_MENU, {"menu_mouse", "menu_touchscreen", "menu_gamepad"}},
        {S::CUTSCENE, {"", "", ""}},
        {S::PAUSE, {"", "", ""}},
        {S::LOCKED, {"", "", ""}},
    };
    {
        Content content;
        EXPECT_EQ(System::Control(content).handlers().size(), 26u);
    }
    for (const auto& [status, handlers] : rows) {
        for (int m = 0; m < 3; ++m) {
            const auto mode = static_cast<Input_mode>(m);
            SCOPED_TRACE(name_of(status) + " in mode " + std::to_string(m));
            Control_world w(status, mode);
            Recording_control control(w.content);
            control.init();
            control.run();
            const std::vector<std::string> expected =
                handlers[m].empty() ? std::vector<std::string>{}
                                    : std::vector<std::string>{handlers[m]};
            EXPECT_EQ(control.log, expected) << joined(control.log);
            EXPECT_EQ(control.handlers().count({status, mode}), handlers[m].empty() ? 0u : 1u);
        }
    }
    EXPECT_EQ(System::Control::Hash_status_mode_pair{}({S::IN_CODE, Input_mode::GAMEPAD}),
              std::size_t(11 ^ 2));
}

// One frame of Control after a change: which steps ran, and what the store holds after.
struct Transition_case {
    const char* name;
    S remembered_status;
    Input_mode remembered_mode;
    std::vector<S> pushed; // pushed on IDLE before the frame
    Input_mode mode;
    std::function<void(Control_world&)> prepare;
    std::vector<std::string> log;
    std::function<void(Control_world&, const Recording_control&)> check;
};

std::vector<std::string> items(int n) {
    std::vector<std::string> list;
    for (int i = 0; i < n; ++i)
        list.push_back("item" + std::to_string(i));
    return list;
}

void expect_active(const Control_world& w, const std::string& expected) {
    EXPECT_EQ(w.text("Interface", "active_object"), expected);
}

const std::vector<Transition_case> transitions = {
    {"nothing changed: the handler alone", S::IDLE, Input_mode::MOUSE, {}, Input_mode::MOUSE,
     nullptr, {"idle_mouse"}, nullptr},
    {"a mode change alone runs both steps of the status", S::IDLE, Input_mode::MOUSE, {},
     Input_mode::GAMEPAD, nullptr, {"end IDLE", "begin IDLE", "idle_gamepad"}, nullptr},
    {"leaving IDLE under the controller keeps the current object", S::IDLE, Input_mode::GAMEPAD,
     {S::ACTION}, Input_mode::GAMEPAD,
     [](Control_world& w) {
         w.content.set<Component::Simple<std::string>>("Interface", "active_object", "rope");
         w.content.set<Component::Vector<std::string>>("Interface", "active_objects",
                                                       std::vector<std::string>{"rope"});
     },
     {"end IDLE", "begin ACTION", "action_choice_gamepad"},
     [](Control_world& w, const Recording_control&) {
         EXPECT_EQ(w.text("Interface", "previous_active_object"), "rope");
         EXPECT_FALSE(w.has("Interface", "active_object"));
         EXPECT_FALSE(w.has("Interface", "active_objects"));
     }},
    {"leaving IDLE under the mouse keeps nothing", S::IDLE, Input_mode::MOUSE, {S::ACTION},
     Input_mode::MOUSE,
     [](Control_world& w) {
         w.content.set<Component::Simple<std::string>>("Interface", "active_object", "rope");
     },
     {"end IDLE", "begin ACTION", "action_choice_mouse"},
     [](Control_world& w, const Recording_control&) {
         EXPECT_FALSE(w.has("Interface", "previous_active_object"));
         EXPECT_FALSE(w.has("Interface", "active_object"));
     }},
    {"back to IDLE under the controller drops the source object", S::ACTION,
     Input_mode::GAMEPAD, {}, Input_mode::GAMEPAD,
     [](Control_world& w) {
         w.content.set<Component::Simple<std::string>>("Interface", "source_object", "key");
     },
     {"end ACTION", "begin IDLE", "idle_gamepad"},
     [](Control_world& w, const Recording_control&) {
         EXPECT_FALSE(w.has("Interface", "source_object"));
     }},
    {"back to IDLE under the mouse keeps the source object", S::ACTION, Input_mode::MOUSE, {},
     Input_mode::MOUSE,
     [](Control_world& w) {
         w.content.set<Component::Simple<std::string>>("Interface", "source_object", "key");
     },
     {"end ACTION", "begin IDLE", "idle_mouse"},
     [](Control_world& w, const Recording_control&) {
         EXPECT_TRUE(w.has("Interface", "source_object"));
     }},
    {"INVENTORY_ACTION under the controller is left at once", S::IDLE, Input_mode::GAMEPAD,
     {S::INVENTORY_ACTION}, Input_mode::GAMEPAD, nullptr,
     {"end IDLE", "begin INVENTORY_ACTION", "idle_gamepad"},
     [](Control_world& w, const Recording_control& c) {
         EXPECT_EQ(w.status->value(), S::IDLE);
         EXPECT_EQ(c.remembered_status(), S::IDLE);
     }},
    {"a dialog under the controller starts on its first line", S::IDLE, Input_mode::GAMEPAD,
     {S::DIALOG}, Input_mode::GAMEPAD, nullptr, {"end IDLE", "begin DIALOG", "dialog_gamepad"},
     [](Control_world& w, const Recording_control&) {
         EXPECT_EQ(w.content.get<Component::Simple<int>>("Interface", "active_dialog_item")->value(),
                   0);
     }},
    {"the inventory without a source starts on its first shown item", S::IDLE,
     Input_mode::GAMEPAD, {S::IN_INVENTORY}, Input_mode::GAMEPAD,
     [](Control_world& w) {
         w.inventory(items(12), 3);
         w.content.set<Component::Simple<std::string>>("Interface",
                                                       "previous_active_inventory_object", "x");
     },
     {"end IDLE", "begin IN_INVENTORY", "inventory_gamepad"},
     [](Control_world& w, const Recording_control&) {
         expect_active(w, "item3");
         EXPECT_FALSE(w.has("Interface", "previous_active_inventory_object"));
     }},
    {"12 items at 3, the source last: the one before", S::IDLE, Input_mode::GAMEPAD,
     {S::OBJECT}, Input_mode::GAMEPAD,
     [](Control_world& w) {
         w.inventory(items(12), 3);
         w.content.set<Component::Simple<std::string>>("Interface", "source_object", "item11");
     },
     {"end IDLE", "begin OBJECT", "object_choice_gamepad"},
     [](Control_world& w, const Recording_control&) { expect_active(w, "item10"); }},
    {"15 items at 3, the source on the last shown slot: the one before", S::IDLE,
     Input_mode::GAMEPAD, {S::OBJECT}, Input_mode::GAMEPAD,
     [](Control_world& w) {
         w.inventory(items(15), 3);
         w.content.set<Component::Simple<std::string>>("Interface", "source_object", "item11");
     },
     {"end IDLE", "begin OBJECT", "object_choice_gamepad"},
     [](Control_world& w, const Recording_control&) { expect_active(w, "item10"); }},
    {"the source at 5: the one after", S::IDLE, Input_mode::GAMEPAD, {S::IN_INVENTORY},
     Input_mode::GAMEPAD,
     [](Control_world& w) {
         w.inventory(items(12), 3);
         w.content.set<Component::Simple<std::string>>("Interface", "source_object", "item5");
     },
     {"end IDLE", "begin IN_INVENTORY", "inventory_gamepad"},
     [](Control_world& w, const Recording_control&) { expect_active(w, "item6"); }},
    {"the source first of several: the one after", S::IDLE, Input_mode::GAMEPAD, {S::OBJECT},
     Input_mode::GAMEPAD,
     [](Control_world& w) {
         w.inventory(items(3));
         w.content.set<Component::Simple<std::string>>("Interface", "source_object", "item0");
     },
     {"end IDLE", "begin OBJECT", "object_choice_gamepad"},
     [](Control_world& w, const Recording_control&) { expect_active(w, "item1"); }},
    {"an empty inventory names no item", S::IDLE, Input_mode::GAMEPAD, {S::IN_INVENTORY},
     Input_mode::GAMEPAD, [](Control_world& w) { w.inventory({}); },
     {"end IDLE", "begin IN_INVENTORY", "inventory_gamepad"},
     [](Control_world& w, const Recording_control&) { expect_active(w, "<absent>"); }},
    {"the source alone in the inventory names no item", S::ACTION, Input_mode::GAMEPAD,
     {S::OBJECT}, Input_mode::GAMEPAD,
     [](Control_world& w) {
         w.inventory({"key"});
         w.content.set<Component::Simple<std::string>>("Interface", "source_object", "key");
         w.content.set<Component::Simple<std::string>>("Interface", "active_object", "door");
     },
     {"end ACTION", "begin OBJECT", "object_choice_gamepad"},
     [](Control_world& w, const Recording_control&) { expect_active(w, "<absent>"); }},
    {"a first shown item past the end names no item", S::IDLE, Input_mode::GAMEPAD,
     {S::IN_INVENTORY}, Input_mode::GAMEPAD,
     [](Control_world& w) {
         w.inventory(items(12), 3);
         auto inv = w.content.get<Component::Inventory>("Game", "inventory");
         for (int i = 0; i < 10; ++i)
             inv->remove("item" + std::to_string(i));
     },
     {"end IDLE", "begin IN_INVENTORY", "inventory_gamepad"},
     [](Control_world& w, const Recording_control&) { expect_active(w, "<absent>"); }},
    {"a source gone from the inventory names no item", S::IDLE, Input_mode::GAMEPAD,
     {S::OBJECT}, Input_mode::GAMEPAD,
     [](Control_world& w) {
         w.inventory(items(3));
         w.content.set<Component::Simple<std::string>>("Interface", "source_object", "coin");
     },
     {"end IDLE", "begin OBJECT", "object_choice_gamepad"},
     [](Control_world& w, const Recording_control&) { expect_active(w, "<absent>"); }},
    {"the inventory under the mouse picks nothing", S::IDLE, Input_mode::MOUSE,
     {S::IN_INVENTORY}, Input_mode::MOUSE, [](Control_world& w) { w.inventory(items(3)); },
     {"end IDLE", "begin IN_INVENTORY", "inventory_mouse"},
     [](Control_world& w, const Recording_control&) { expect_active(w, "<absent>"); }},
    {"a status pushed and popped between two frames runs no step", S::IDLE, Input_mode::MOUSE,
     {}, Input_mode::MOUSE,
     [](Control_world& w) {
         w.status->push(S::ACTION);
         w.status->pop();
     },
     {"idle_mouse"}, nullptr},
    {"a room entry clears the room's choices", S::IDLE, Input_mode::MOUSE, {}, Input_mode::MOUSE,
     [](Control_world& w) {
         for (const char* c : {"active_object", "source_object", "target_object"})
             w.content.set<Component::Simple<std::string>>("Interface", c, "x");
         w.content.set<Component::Vector<std::string>>("Interface", "active_objects");
         w.content.set<Component::Simple<std::string>>("Click", "target", "x");
         w.content.emit("Game", "in_new_room");
     },
     {"idle_mouse"},
     [](Control_world& w, const Recording_control&) {
         for (const char* c :
              {"active_object", "active_objects", "source_object", "target_object"})
             EXPECT_FALSE(w.has("Interface", c)) << c;
         EXPECT_FALSE(w.has("Click", "target"));
         EXPECT_TRUE(w.content.signal("Game", "in_new_room")) << "tested, not received";
     }},
};

TEST(ControlTest, StatusAndModeTransitions) {
    for (const Transition_case& c : transitions) {
        SCOPED_TRACE(c.name);
        Control_world w(c.remembered_status, c.remembered_mode);
        Recording_control control(w.content);
        control.init();
        if (c.remembered_status != S::IDLE)
            w.status->pop();
        for (S s : c.pushed)
            w.status->push(s);
        w.set_mode(c.mode);
        control.set_stick_latch(true);
        if (c.prepare)
            c.prepare(w);
        control.run();
        EXPECT_EQ(control.log, c.log) << joined(control.log);
        const bool began = std::any_of(control.log.begin(), control.log.end(),
                                       [](const std::string& s) { return s.starts_with("begin"); });
        EXPECT_EQ(control.stick_latch(), !began) << "every begin step clears the latch";
        if (c.check)
            c.check(w, control);
    }
}

TEST(ControlTest, ACodeLockUnderTheControllerHoversItsFirstButton) {
    Control_world w(S::IDLE, Input_mode::GAMEPAD);
    auto code = w.content.set<Component::Code>("Game", "code");
    code->add_button("1", 0, 0, 10, 10);
    code->add_button("2", 20, 0, 10, 10);
    System::Control control(w.content);
    control.init();
    w.status->push(S::IN_WINDOW);
    w.status->push(S::IN_CODE);
    control.run();
    EXPECT_EQ(code->hovered(), std::int64_t{0});
    EXPECT_TRUE(w.content.signal("Code", "hover"));
}

// update_exit on one frame: the status before, the signals given, what follows.
struct Exit_case {
    const char* name;
    S status;
    std::vector<std::string> given; // signals emitted before the frame
    std::function<void(Control_world&)> prepare;
    std::vector<std::string> emitted; // signals present after
    std::vector<std::string> absent;  // signals absent after
    S top_after;
    std::string menu_create; // Menu:create after, "<absent>" for none
    std::vector<std::string> log;
};

const std::vector<Exit_case> exit_cases = {
    {"escape in play opens the exit menu, handled in the same frame", S::IDLE, {"Game:escape"},
     nullptr, {"Game:clear_notifications"}, {"Game:escape", "Game:exit"}, S::IN_MENU, "Exit",
     {"menu_mouse"}},
    {"escape with no menu ends the game and still asks for the menu", S::IDLE,
     {"Game:escape", "Game:no_menu"}, nullptr, {"Game:clear_notifications", "Game:exit"},
     {"Game:escape"}, S::IN_MENU, "Exit", {"menu_mouse"}},
    {"escape in a locked scene without a line only clears", S::LOCKED, {"Game:escape"}, nullptr,
     {"Game:clear_notifications"}, {"Game:escape", "Game:skip_dialog"}, S::LOCKED, "<absent>",
     {}},
    {"escape in a locked scene over a line skips it", S::LOCKED, {"Game:escape"},
     [](Control_world& w) {
         w.content.set<Component::Image>("Comment_0", "image", Orvane::Test::control_picture(), 1);
     },
     {"Game:clear_notifications", "Game:skip_dialog"}, {"Game:escape"}, S::LOCKED, "<absent>",
     {}},
    {"a menu request waits while locked", S::LOCKED, {"Show:menu"}, nullptr, {"Show:menu"}, {},
     S::LOCKED, "<absent>", {}},
    {"a menu request opens the menu", S::DIALOG, {"Show:menu"},
     [](Control_world& w) {
         w.content.set<Component::Simple<std::string>>("Game", "triggered_menu", "Phone");
     },
     {}, {"Show:menu"}, S::IN_MENU, "Phone", {"menu_mouse"}},
    {"escape in a menu closes it", S::IN_MENU, {"Game:escape"},
     [](Control_world& w) {
         w.content.set<Component::Simple<std::string>>("Game", "current_menu", "Settings");
     },
     {"Game:clear_notifications"}, {"Game:escape", "Game:exit"}, S::IDLE, "<absent>",
     {"idle_mouse"}},
    {"escape in the End menu ends the game", S::IN_MENU, {"Game:escape"},
     [](Control_world& w) {
         w.content.set<Component::Simple<std::string>>("Game", "current_menu", "End");
     },
     {"Game:exit"}, {"Game:escape"}, S::IN_MENU, "<absent>", {"menu_mouse"}},
    {"escape while paused opens no menu", S::PAUSE, {"Game:escape"}, nullptr,
     {"Game:clear_notifications"}, {"Game:escape", "Game:exit"}, S::PAUSE, "<absent>", {}},
    {"escape while paused with no menu still ends the game", S::PAUSE,
     {"Game:escape", "Game:no_menu"}, nullptr, {"Game:exit"}, {"Game:escape"}, S::PAUSE,
     "<absent>", {}},
    {"a cleared notification in a cutscene asks for the skip message", S::CUTSCENE,
     {"Game:clear_notifications"}, nullptr, {"Skip_message:exists", "Skip_message:create"},
     {"Game:clear_notifications", "Game:skip_cutscene"}, S::CUTSCENE, "<absent>", {}},
    {"escape in a cutscene leaves the clearing to the logic", S::CUTSCENE, {"Game:escape"},
     nullptr, {"Skip_message:exists", "Game:clear_notifications"}, {"Game:escape"}, S::CUTSCENE,
     "<absent>", {}},
};

bool present(const Content& content, const std::string& key) {
    const auto colon = key.find(':');
    return content.signal(key.substr(0, colon), key.substr(colon + 1));
}

TEST(ControlTest, EscapeSkipAndMenuRequests) {
    for (const Exit_case& c : exit_cases) {
        SCOPED_TRACE(c.name);
        Control_world w(c.status, Input_mode::MOUSE);
        Recording_control control(w.content);
        control.init();
        for (const std::string& key : c.given)
            w.content.emit(key.substr(0, key.find(':')), key.substr(key.find(':') + 1));
        if (c.prepare)
            c.prepare(w);
        control.run();
        for (const std::string& key : c.emitted)
            EXPECT_TRUE(present(w.content, key)) << key << " expected";
        for (const std::string& key : c.absent)
            EXPECT_FALSE(present(w.content, key)) << key << " not expected";
        EXPECT_EQ(w.status->value(), c.top_after);
        EXPECT_EQ(w.text("Menu", "create"), c.menu_create);
        EXPECT_EQ(control.log, c.log) << joined(control.log);
    }
}

TEST(ControlTest, EscapeInAMenuNamesTheMenuToClose) {
    Control_world w(S::IN_MENU, Input_mode::MOUSE);
    w.content.set<Component::Simple<std::string>>("Game", "current_menu", "Settings");
    System::Control control(w.content);
    control.init();
    w.content.emit("Game", "escape");
    control.run();
    EXPECT_EQ(w.text("Menu", "delete"), "Settings");
}

TEST(ControlTest, TheSkipMessageInACutscene) {
    struct Step {
        double time;
        bool escape;
        bool shown_after;
        bool skip;
    };
    const std::vector<std::pair<const char*, std::vector<Step>>> runs = {
        {"two escapes 3 s apart skip", {{1, true, true, false}, {4, true, false, true}}},
        {"two escapes 6 s apart show the message twice",
         {{1, true, true, false}, {6.5, false, false, false}, {7, true, true, false}}},
        {"the message expires 5 s after the request",
         {{1, true, true, false}, {5.9, false, true, false}, {6.0, false, false, false}}},
    };
    for (const auto& [name, steps] : runs) {
        SCOPED_TRACE(name);
        Control_world w(S::CUTSCENE, Input_mode::MOUSE);
        System::Control control(w.content);
        control.init();
        for (const Step& s : steps) {
            SCOPED_TRACE(s.time);
            Orvane::Test::set_clock_time(w.content, s.time);
            if (s.escape)
                w.content.emit("Game", "escape");
            w.content.receive("Skip_message", "create");
            // the logic takes the clearing of the last frame
            w.content.receive("Game", "clear_notifications");
            control.run();
            EXPECT_EQ(w.content.signal("Skip_message", "exists"), s.shown_after);
            EXPECT_EQ(w.content.receive("Game", "skip_cutscene"), s.skip);
            EXPECT_EQ(w.content.signal("Skip_message", "create"), s.escape && !s.skip);
        }
    }
}

TEST(ControlTest, SetActionPrefersTheOwnAction) {
    Control_world w;
    System::Control control(w.content);
    w.action("rope_look");
    w.action("Default_look");
    control.set_action("rope_look", "Default_look");
    EXPECT_EQ(w.content.get<Component::Action>("Character", "triggered_action"),
              w.content.get<Component::Action>("rope_look", "action"));
    control.set_action("crate_look", "Default_look");
    EXPECT_EQ(w.content.get<Component::Action>("Character", "triggered_action"),
              w.content.get<Component::Action>("Default_look", "action"));
}

TEST(ControlDeathTest, SetActionWithoutTheDefaultStops) {
    Control_world w;
    System::Control control(w.content);
    EXPECT_EXIT(control.set_action("crate_look", "Default_look"), ::testing::ExitedWithCode(1),
                "Cannot find Default_look:action");
}

} // namespace
