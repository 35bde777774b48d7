// Controller choices: the verb of a frame, confirm and cancel by the controller's layout, the
// latched stick, and the handlers of the verb choice, the item choice, the open inventory,
// windows, code locks and dialogs, each as a table of inputs and what they leave in the store.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Code.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/System/Control.h>
#include <Orvane/Third_party/Gamepad.h>

#include "support/Control_fixture.h"

namespace {

using namespace Orvane;
using S = Orvane::Status;
using Orvane::Test::Control_world;
using Keys = std::vector<std::pair<std::string, std::string>>;

constexpr int none = -1;

// A controller world: the stick at rest, and the store keys a controller press writes.
struct Pad_world : Control_world {
    explicit Pad_world(S top) : Control_world(top, Input_mode::GAMEPAD) {
        stick = content.set_fac<Component::Simple<Vector>>(Fast_access_component::STICK_DIRECTION,
                                                           "Stick", "direction", Vector(0, 0));
    }
    // ok_down: none (no Gamepad:id), 0 or 1.
    void controller(int ok_down) {
        if (ok_down == none)
            return;
        content.set<Component::Simple<std::string>>("Gamepad", "id", std::string("pad"));
        content.set<Component::Simple<Gamepad_info>>(
            "pad", "gamepad", Gamepad_info("1:2", Gamepad_labels::NO_LABEL, ok_down == 1));
    }
    void press(const std::string& verb) { content.emit("Action", verb); }
    void shoulder(bool right) { content.set<Component::Boolean>("Switch", "right", right); }
    void push(double x, double y) {
        stick->set(Vector(x, y));
        content.emit("Stick", "moved");
    }
    void set_text(const std::string& e, const std::string& c, const std::string& v) {
        content.set<Component::Simple<std::string>>(e, c, v);
    }
    bool rumbled() const { return has("Gamepad", "rumble"); }

    std::shared_ptr<Component::Simple<Vector>> stick;
};

// One frame of controller input.
struct Frame_input {
    int ok_down = none;
    std::vector<std::string> verbs;
    int shoulder = none; // 0 left, 1 right
    bool stick = false;
    double sx = 0;
    double sy = 0;
};

// What the frame leaves: the top status, the given keys' texts ("<absent>" for none), the
// triggered action ("<none>" for none), the click sound and the rumble.
struct Outcome {
    S top;
    Keys keys;
    std::string action = "<none>";
    bool sound = false;
    bool rumble = false;
};

struct Case {
    const char* name;
    std::function<void(Pad_world&)> setup;
    Frame_input in;
    Outcome out;
};

void run_cases(S top, const std::function<void(Pad_world&)>& world,
               const std::function<void(System::Control&)>& handler,
               const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pad_world w(top);
        world(w);
        if (c.setup)
            c.setup(w);
        w.controller(c.in.ok_down);
        for (const std::string& verb : c.in.verbs)
            w.press(verb);
        if (c.in.shoulder != none)
            w.shoulder(c.in.shoulder == 1);
        if (c.in.stick)
            w.push(c.in.sx, c.in.sy);
        System::Control control(w.content);
        handler(control);

        EXPECT_EQ(w.status->value(), c.out.top);
        for (const auto& [key, expected] : c.out.keys) {
            const auto colon = key.find(':');
            EXPECT_EQ(w.text(key.substr(0, colon), key.substr(colon + 1)), expected) << key;
        }
        EXPECT_EQ(w.triggered(), c.out.action);
        EXPECT_EQ(w.signalled("Click", "play_sound"), c.out.sound);
        EXPECT_EQ(w.rumbled(), c.out.rumble);
        // nothing pressed in this frame is left for a later one
        for (const char* verb : {"move", "take", "look", "inventory"})
            EXPECT_FALSE(w.signalled("Action", verb)) << verb;
        EXPECT_FALSE(w.has("Switch", "right"));
        EXPECT_FALSE(w.signalled("Stick", "moved"));
    }
}

TEST(ControlGamepadChoicesTest, ConfirmAndCancelFollowTheControllersLayout) {
    struct Ok_case {
        int ok_down;
        const char* verb;
        bool ok;
        bool notok;
    };
    const std::vector<Ok_case> cases = {
        {none, "inventory", true, false}, {none, "look", false, true},
        {1, "inventory", true, false},    {1, "look", false, true},
        {0, "inventory", false, true},    {0, "look", true, false},
        {none, "move", false, false},     {0, "take", false, false},
        {1, "", false, false},
    };
    for (const Ok_case& c : cases) {
        SCOPED_TRACE(std::to_string(c.ok_down) + " " + c.verb);
        Pad_world w(S::OBJECT);
        w.controller(c.ok_down);
        System::Control control(w.content);
        EXPECT_EQ(control.is_ok(c.verb), c.ok);
        EXPECT_EQ(control.is_notok(c.verb), c.notok);
    }
}

TEST(ControlGamepadChoicesTest, TheLaterVerbWinsAndAllFourAreTaken) {
    struct Verb_case {
        std::vector<std::string> pressed;
        std::string verb;
    };
    const std::vector<Verb_case> cases = {
        {{}, ""},
        {{"move"}, "move"},
        {{"move", "take"}, "take"},
        {{"look", "inventory"}, "look"},
        {{"take", "inventory"}, "inventory"},
        {{"move", "take", "inventory", "look"}, "look"},
    };
    for (const Verb_case& c : cases) {
        Pad_world w(S::OBJECT);
        for (const std::string& v : c.pressed)
            w.press(v);
        System::Control control(w.content);
        EXPECT_EQ(control.gamepad_verb(), c.verb);
        for (const char* verb : {"move", "take", "look", "inventory"})
            EXPECT_FALSE(w.signalled("Action", verb)) << verb;
    }
}

TEST(ControlGamepadChoicesTest, TheStickReadingsByDirection) {
    struct Stick_case {
        double x;
        double y;
        Event_value left_right;
        Event_value up_down;
        Event_value four_way;
    };
    const std::vector<Stick_case> cases = {
        {1, 0, Event_value::RIGHT, Event_value::NONE, Event_value::RIGHT},
        {-1, 0, Event_value::LEFT, Event_value::NONE, Event_value::LEFT},
        {0, 1, Event_value::NONE, Event_value::DOWN_ARROW, Event_value::DOWN_ARROW},
        {0, -1, Event_value::NONE, Event_value::UP_ARROW, Event_value::UP_ARROW},
        {0.8, -0.6, Event_value::RIGHT, Event_value::UP_ARROW, Event_value::RIGHT},
        {-0.6, 0.8, Event_value::LEFT, Event_value::DOWN_ARROW, Event_value::DOWN_ARROW},
        // a diagonal goes vertical
        {0.7071, 0.7071, Event_value::RIGHT, Event_value::DOWN_ARROW, Event_value::DOWN_ARROW},
        {0, 0, Event_value::NONE, Event_value::NONE, Event_value::NONE},
    };
    for (const Stick_case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
        Pad_world w(S::OBJECT);
        System::Control control(w.content);
        w.push(c.x, c.y);
        EXPECT_EQ(control.stick_left_right(), c.left_right);
        control.set_stick_latch(false);
        w.push(c.x, c.y);
        EXPECT_EQ(control.stick_up_down(), c.up_down);
        control.set_stick_latch(false);
        w.push(c.x, c.y);
        EXPECT_EQ(control.stick_left_right_up_down(), c.four_way);
        control.set_stick_latch(false);
        w.push(c.x, c.y);
        const Vector d = control.stick_direction();
        EXPECT_EQ(d.x(), c.x);
        EXPECT_EQ(d.y(), c.y);
        // without a move in the frame nothing is read
        control.set_stick_latch(false);
        EXPECT_EQ(control.stick_left_right_up_down(), Event_value::NONE);
        EXPECT_FALSE(control.stick_latch());
    }
}

TEST(ControlGamepadChoicesTest, OnePushOneStepUntilTheStickRests) {
    Pad_world w(S::OBJECT);
    System::Control control(w.content);
    const auto read = [&](double x, double y) {
        w.push(x, y);
        return control.stick_left_right();
    };
    EXPECT_EQ(read(1, 0), Event_value::RIGHT);
    EXPECT_TRUE(control.stick_latch());
    EXPECT_EQ(read(1, 0), Event_value::NONE) << "held";
    EXPECT_EQ(read(-1, 0), Event_value::NONE) << "swung over without resting";
    EXPECT_EQ(read(0, 0), Event_value::NONE) << "at rest";
    EXPECT_FALSE(control.stick_latch());
    EXPECT_EQ(read(-1, 0), Event_value::LEFT);

    // a vertical push read left-right answers nothing and still counts as the push
    EXPECT_EQ(read(0, 0), Event_value::NONE);
    EXPECT_EQ(read(0, 1), Event_value::NONE);
    EXPECT_TRUE(control.stick_latch());
    EXPECT_EQ(read(1, 0), Event_value::NONE);

    // the readings share the latch, and a new status clears it
    control.begin_status(S::OBJECT);
    EXPECT_FALSE(control.stick_latch());
    w.push(0, -1);
    EXPECT_EQ(control.stick_up_down(), Event_value::UP_ARROW);
    w.push(0, -1);
    EXPECT_EQ(control.stick_left_right_up_down(), Event_value::NONE);
}

void verb_choice_world(Pad_world& w) {
    w.set_text("Interface", "action_choice_target", "rope");
    w.action("rope_take");
    for (const char* verb : {"Default_move", "Default_take", "Default_look"})
        w.action(verb);
}

TEST(ControlGamepadChoicesTest, TheVerbChoice) {
    const Keys kept = {{"Interface:action_choice_target", "rope"},
                       {"Interface:target_object", "<absent>"}};
    const Keys ended = {{"Interface:action_choice_target", "<absent>"},
                        {"Interface:target_object", "<absent>"}};
    const Keys to_items = {{"Interface:action_choice_target", "rope"},
                           {"Interface:target_object", "rope"}};
    const std::vector<Case> cases = {
        {"take: the object's own action", {}, {none, {"take"}}, {S::IDLE, ended, "rope_take", true, true}},
        {"look: the default", {}, {none, {"look"}}, {S::IDLE, ended, "Default_look", true, true}},
        {"move: the default", {}, {1, {"move"}}, {S::IDLE, ended, "Default_move", true, true}},
        {"inventory: an item to use on it", {}, {none, {"inventory"}},
         {S::OBJECT, to_items, "<none>", true, true}},
        {"inventory whatever the layout", {}, {0, {"inventory"}},
         {S::OBJECT, to_items, "<none>", true, true}},
        {"look beats inventory", {}, {none, {"inventory", "look"}},
         {S::IDLE, ended, "Default_look", true, true}},
        {"inventory beats take", {}, {none, {"take", "inventory"}},
         {S::OBJECT, to_items, "<none>", true, true}},
        {"a shoulder leaves; the verb of its frame is dropped", {}, {none, {"take"}, 1},
         {S::IDLE, kept, "<none>", false, false}},
        {"the left shoulder too", {}, {none, {}, 0}, {S::IDLE, kept, "<none>", false, false}},
        {"a stick push does nothing", {}, {none, {}, none, true, 1, 0},
         {S::ACTION, kept, "<none>", false, false}},
        {"nothing pressed", {}, {}, {S::ACTION, kept, "<none>", false, false}},
    };
    run_cases(S::ACTION, verb_choice_world, [](System::Control& c) { c.action_choice_gamepad(); },
              cases);
}

// Three items, "b" current, to use on the door.
void item_choice_world(Pad_world& w) {
    w.inventory({"a", "b", "c"});
    w.set_text("Interface", "active_object", "b");
    w.set_text("Interface", "target_object", "door");
    w.action("door_inventory_b");
    w.action("Default_inventory");
}

TEST(ControlGamepadChoicesTest, TheItemChoice) {
    const auto used = [](const char* previous) {
        return Keys{{"Interface:active_object", "<absent>"},
                    {"Interface:previous_active_inventory_object", previous},
                    {"Interface:target_object", "<absent>"},
                    {"Interface:source_object", "<absent>"}};
    };
    const auto still = [](const char* current) {
        return Keys{{"Interface:active_object", current},
                    {"Interface:previous_active_inventory_object", "<absent>"},
                    {"Interface:target_object", "door"}};
    };
    const auto no_item = [](Pad_world& w) { w.content.remove("Interface", "active_object"); };
    const auto combining = [](Pad_world& w) {
        w.content.remove("Interface", "target_object");
        w.set_text("Interface", "source_object", "a");
        w.action("b_inventory_a");
    };
    const std::vector<Case> cases = {
        {"south confirms without a controller id", {}, {none, {"inventory"}},
         {S::IDLE, used("b"), "door_inventory_b", true, true}},
        {"south confirms with ok_down", {}, {1, {"inventory"}},
         {S::IDLE, used("b"), "door_inventory_b", true, true}},
        {"east cancels with ok_down", {}, {1, {"look"}}, {S::IDLE, used("b"), "<none>", true, true}},
        {"east confirms without ok_down", {}, {0, {"look"}},
         {S::IDLE, used("b"), "door_inventory_b", true, true}},
        {"south cancels without ok_down", {}, {0, {"inventory"}},
         {S::IDLE, used("b"), "<none>", true, true}},
        {"move does nothing", {}, {none, {"move"}}, {S::OBJECT, still("b"), "<none>", false, false}},
        {"take does nothing", {}, {none, {"take"}}, {S::OBJECT, still("b"), "<none>", false, false}},
        {"the right shoulder: the next item", {}, {none, {}, 1},
         {S::OBJECT, still("c"), "<none>", false, false}},
        {"the left shoulder: the item before", {}, {none, {}, 0},
         {S::OBJECT, still("a"), "<none>", false, false}},
        {"the stick to the right", {}, {none, {}, none, true, 1, 0},
         {S::OBJECT, still("c"), "<none>", false, false}},
        {"the stick down: nothing", {}, {none, {}, none, true, 0, 1},
         {S::OBJECT, still("b"), "<none>", false, false}},
        {"shoulder and stick both move", {}, {none, {}, 1, true, -1, 0},
         {S::OBJECT, still("b"), "<none>", false, false}},
        {"the second item of a combination", combining, {none, {"inventory"}},
         {S::IDLE, used("b"), "b_inventory_a", true, true}},
        {"a combination cancelled", combining, {none, {"look"}},
         {S::IDLE, used("b"), "<none>", true, true}},
        // without a current item: confirm waits, cancel still leaves
        {"no item: confirm does nothing", no_item, {none, {"inventory"}},
         {S::OBJECT,
          {{"Interface:active_object", "<absent>"}, {"Interface:target_object", "door"}},
          "<none>", false, false}},
        {"no item: cancel leaves and names no item", no_item, {none, {"look"}},
         {S::IDLE, used("<absent>"), "<none>", true, true}},
        {"no item: the shoulders move nothing", no_item, {none, {}, 1},
         {S::OBJECT, {{"Interface:active_object", "<absent>"}}, "<none>", false, false}},
    };
    run_cases(S::OBJECT, item_choice_world, [](System::Control& c) { c.object_choice_gamepad(); },
              cases);
}

void inventory_world(Pad_world& w) {
    w.inventory({"a", "b", "c"});
    w.set_text("Interface", "active_object", "b");
    w.action("b_look");
    w.action("Default_use");
    w.action("Default_look");
}

TEST(ControlGamepadChoicesTest, TheOpenInventory) {
    const auto left = [](const char* previous) {
        return Keys{{"Interface:active_object", "<absent>"},
                    {"Interface:previous_active_inventory_object", previous},
                    {"Interface:source_object", "<absent>"}};
    };
    const auto still = [](const char* current) {
        return Keys{{"Interface:active_object", current},
                    {"Interface:previous_active_inventory_object", "<absent>"},
                    {"Interface:source_object", "<absent>"}};
    };
    const auto at = [](const char* current, const char* source) {
        return [=](Pad_world& w) {
            w.set_text("Interface", "active_object", current);
            if (*source != '\0')
                w.set_text("Interface", "source_object", source);
        };
    };
    const auto moved = [](const char* current, const char* source) {
        return Keys{{"Interface:active_object", current}, {"Interface:source_object", source}};
    };
    const auto no_item = [](Pad_world& w) { w.content.remove("Interface", "active_object"); };
    const std::vector<Case> cases = {
        {"look: the item's own", {}, {none, {"look"}}, {S::IDLE, left("b"), "b_look", true, true}},
        {"move: use it, by default", {}, {none, {"move"}},
         {S::IDLE, left("b"), "Default_use", true, true}},
        {"inventory closes", {}, {none, {"inventory"}}, {S::IDLE, left("b"), "<none>", true, true}},
        {"the buttons keep their meaning without ok_down", {}, {0, {"inventory"}},
         {S::IDLE, left("b"), "<none>", true, true}},
        {"look still looks without ok_down", {}, {0, {"look"}},
         {S::IDLE, left("b"), "b_look", true, true}},
        {"take: combine it with another", {}, {none, {"take"}},
         {S::OBJECT,
          {{"Interface:source_object", "b"},
           {"Interface:previous_active_inventory_object", "<absent>"}},
          "<none>", true, true}},
        {"take with one item: nothing at all",
         [](Pad_world& w) { w.inventory({"b"}); }, {none, {"take"}},
         {S::IN_INVENTORY, still("b"), "<none>", false, false}},
        {"right from the last stays", at("c", ""), {none, {}, 1},
         {S::IN_INVENTORY, still("c"), "<none>", false, false}},
        {"left from the first stays", at("a", ""), {none, {}, 0},
         {S::IN_INVENTORY, still("a"), "<none>", false, false}},
        {"the stick left", {}, {none, {}, none, true, -1, 0},
         {S::IN_INVENTORY, still("a"), "<none>", false, false}},
        {"the combined item is jumped over", at("a", "b"), {none, {}, 1},
         {S::IN_INVENTORY, moved("c", "b"), "<none>", false, false}},
        {"and backwards", at("c", "b"), {none, {}, 0},
         {S::IN_INVENTORY, moved("a", "b"), "<none>", false, false}},
        {"no room to jump right: stay", at("b", "c"), {none, {}, 1},
         {S::IN_INVENTORY, moved("b", "c"), "<none>", false, false}},
        {"no room to jump left: stay", at("b", "a"), {none, {}, 0},
         {S::IN_INVENTORY, moved("b", "a"), "<none>", false, false}},
        // without a current item only closing works
        {"no item: inventory still closes", no_item, {none, {"inventory"}},
         {S::IDLE, left("<absent>"), "<none>", true, true}},
        {"no item: look does nothing", no_item, {none, {"look"}},
         {S::IN_INVENTORY, left("<absent>"), "<none>", false, false}},
        {"no item: move does nothing", no_item, {none, {"move"}},
         {S::IN_INVENTORY, left("<absent>"), "<none>", false, false}},
        {"no item: take does nothing", no_item, {none, {"take"}},
         {S::IN_INVENTORY, left("<absent>"), "<none>", false, false}},
    };
    run_cases(S::IN_INVENTORY, inventory_world, [](System::Control& c) { c.inventory_gamepad(); },
              cases);
}

TEST(ControlGamepadChoicesTest, TheBarFollowsTheCurrentItem) {
    struct Page_case {
        int position;
        int current;
        int source; // -1: none
        bool right;
        int now;
        int now_position;
    };
    const std::vector<Page_case> cases = {
        {0, 8, -1, true, 9, 1},  {1, 1, -1, false, 0, 0}, {0, 7, -1, true, 8, 0},
        {1, 2, -1, false, 1, 1}, {3, 11, -1, true, 11, 3}, {0, 0, -1, false, 0, 0},
        {0, 7, 8, true, 9, 1},   {1, 2, 1, false, 0, 0},
        // the combined item jumped over at the bar's edge: the bar pages twice
        {0, 8, 9, true, 10, 2},  {2, 2, 1, false, 0, 0},
    };
    for (const Page_case& c : cases) {
        SCOPED_TRACE(std::to_string(c.position) + " " + std::to_string(c.current) +
                     (c.right ? " right" : " left"));
        Pad_world w(S::IN_INVENTORY);
        std::vector<std::string> items;
        for (int i = 0; i < 12; ++i)
            items.push_back("item" + std::to_string(i));
        w.inventory(items, c.position);
        w.set_text("Interface", "active_object", items[std::size_t(c.current)]);
        if (c.source >= 0)
            w.set_text("Interface", "source_object", items[std::size_t(c.source)]);
        System::Control control(w.content);
        control.inventory_sub_switch_active_object(c.right);
        EXPECT_EQ(w.text("Interface", "active_object"), items[std::size_t(c.now)]);
        EXPECT_EQ(w.content.get<Component::Inventory>("Game", "inventory")->position(),
                  std::size_t(c.now_position));
    }
}

TEST(ControlGamepadChoicesTest, TheWindow) {
    const std::vector<Case> cases = {
        {"look closes", {}, {none, {"look"}}, {S::IDLE, {}, "<none>", false, false}},
        {"inventory closes", {}, {0, {"inventory"}}, {S::IDLE, {}, "<none>", false, false}},
        {"move does nothing", {}, {none, {"move"}}, {S::IN_WINDOW, {}, "<none>", false, false}},
        {"take does nothing", {}, {none, {"take"}}, {S::IN_WINDOW, {}, "<none>", false, false}},
        {"a shoulder does nothing", {}, {none, {}, 1}, {S::IN_WINDOW, {}, "<none>", false, false}},
        {"a stick push does nothing", {}, {none, {}, none, true, 0, 1},
         {S::IN_WINDOW, {}, "<none>", false, false}},
    };
    run_cases(S::IN_WINDOW, [](Pad_world&) {}, [](System::Control& c) { c.window_gamepad(); },
              cases);
    for (const char* verb : {"look", "inventory", "take"}) {
        Pad_world w(S::IN_WINDOW);
        w.press(verb);
        System::Control(w.content).window_gamepad();
        EXPECT_EQ(w.signalled("Interface", "hide_window"), std::string(verb) != "take") << verb;
    }
}

// The sample's lock: four buttons side by side, the first hovered as on entry.
std::shared_ptr<Component::Code> lock(Pad_world& w) {
    auto code = w.content.set<Component::Code>("shapes_lock", "code");
    code->add_button("circle", 30, 280, 160, 160);
    code->add_button("square", 230, 280, 160, 160);
    code->add_button("triangle", 430, 280, 160, 160);
    code->add_button("star", 630, 280, 160, 160);
    w.content.set<Component::Variable>("Game", "code", code);
    code->hover(-1, -1);
    w.content.set<Component::Image>("Code_hover", "image", Orvane::Test::control_picture(), 1);
    return code;
}

TEST(ControlGamepadChoicesTest, TheCodeLock) {
    struct Code_case {
        const char* name;
        Frame_input in;
        bool unhovered;   // nothing hovered before the press
        S top;
        std::string entered; // pressed button values
        int hovered;
        bool clicked;
        bool rumble;
        bool hidden; // hide_window, reset, highlight removed
    };
    const std::vector<Code_case> cases = {
        {"south presses", {none, {"inventory"}}, false, S::IN_CODE, "circle", 0, true, true, false},
        {"east presses without ok_down", {0, {"look"}}, false, S::IN_CODE, "circle", 0, true, true,
         false},
        {"east cancels", {1, {"look"}}, false, S::IDLE, "", 0, false, false, true},
        {"south cancels without ok_down", {0, {"inventory"}}, false, S::IDLE, "", 0, false, false,
         true},
        {"a refused press: no rumble", {none, {"inventory"}}, true, S::IN_CODE, "", -1, false,
         false, false},
        {"move does nothing", {none, {"move"}}, false, S::IN_CODE, "", 0, false, false, false},
        {"the stick moves the highlight", {none, {}, none, true, 1, 0}, false, S::IN_CODE, "", 1,
         false, false, false},
        {"moved, then pressed", {none, {"inventory"}, none, true, 1, 0}, false, S::IN_CODE,
         "square", 1, true, true, false},
        {"a shoulder does nothing", {none, {}, 1}, false, S::IN_CODE, "", 0, false, false, false},
    };
    for (const Code_case& c : cases) {
        SCOPED_TRACE(c.name);
        Pad_world w(S::IN_CODE);
        auto code = lock(w);
        // something entered before: a cancel forgets it
        code->click(-1, -1);
        if (c.unhovered)
            code->hover(0, 0);
        w.controller(c.in.ok_down);
        for (const std::string& v : c.in.verbs)
            w.press(v);
        if (c.in.shoulder != none)
            w.shoulder(c.in.shoulder == 1);
        if (c.in.stick)
            w.push(c.in.sx, c.in.sy);
        System::Control(w.content).code_gamepad();

        EXPECT_EQ(w.status->value(), c.top);
        std::string entered;
        for (std::size_t n = 1; n < code->entered().size(); ++n)
            entered += code->buttons()[std::size_t(code->entered()[n])].value;
        if (c.hidden)
            EXPECT_TRUE(code->entered().empty());
        else
            EXPECT_EQ(entered, c.entered);
        EXPECT_EQ(code->hovered(), c.hovered);
        EXPECT_EQ(w.signalled("code", "button_clicked"), c.clicked);
        EXPECT_EQ(w.rumbled(), c.rumble);
        EXPECT_FALSE(w.signalled("Click", "play_sound")) << "the lock plays its own sounds";
        EXPECT_EQ(w.signalled("Interface", "hide_window"), c.hidden);
        EXPECT_EQ(w.has("Code_hover", "image"), !c.hidden);
        EXPECT_EQ(w.signalled("Code", "hover"), c.in.stick);
    }
}

TEST(ControlGamepadChoicesTest, TheDialogLines) {
    struct Dialog_case {
        const char* name;
        int highlighted; // -1: none yet
        Frame_input in;
        int now;     // -1: none
        int chosen;  // Dialog:choice, -1: none
    };
    const std::vector<Dialog_case> cases = {
        {"the right shoulder: down", 0, {none, {}, 1}, 1, -1},
        {"down from the last: the first", 2, {none, {}, 1}, 0, -1},
        {"up from the first: the last", 0, {none, {}, 0}, 2, -1},
        {"up", 2, {none, {}, 0}, 1, -1},
        {"the first move starts from line 0", -1, {none, {}, 1}, 1, -1},
        {"the stick down", 1, {none, {}, none, true, 0, 1}, 2, -1},
        {"the stick up", 0, {none, {}, none, true, 0, -1}, 2, -1},
        {"a sideways push: nothing", 1, {none, {}, none, true, 1, 0}, 1, -1},
        {"look picks the line", 1, {none, {"look"}}, -1, 1},
        {"inventory picks it too, whatever the layout", 2, {0, {"inventory"}}, -1, 2},
        {"move does nothing", 1, {none, {"move"}}, 1, -1},
        {"moved, then picked", 1, {none, {"look"}, 1}, -1, 2},
    };
    for (const Dialog_case& c : cases) {
        SCOPED_TRACE(c.name);
        Pad_world w(S::DIALOG);
        w.content.set<Component::Vector<std::string>>(
            "Dialog", "choices", std::vector<std::string>{"one", "two", "three"});
        w.set_text("Game", "current_dialog", "ferran");
        if (c.highlighted >= 0)
            w.content.set<Component::Simple<int>>("Interface", "active_dialog_item",
                                                  c.highlighted);
        w.controller(c.in.ok_down);
        for (const std::string& v : c.in.verbs)
            w.press(v);
        if (c.in.shoulder != none)
            w.shoulder(c.in.shoulder == 1);
        if (c.in.stick)
            w.push(c.in.sx, c.in.sy);
        System::Control(w.content).dialog_gamepad();

        auto item = w.content.request<Component::Simple<int>>("Interface", "active_dialog_item");
        EXPECT_EQ(item ? item->value() : -1, c.now);
        auto choice = w.content.request<Component::Simple<int>>("Dialog", "choice");
        EXPECT_EQ(choice ? choice->value() : -1, c.chosen);
        const bool picked = c.chosen >= 0;
        EXPECT_EQ(w.status->value(), picked ? S::IDLE : S::DIALOG);
        EXPECT_EQ(w.signalled("Click", "play_sound"), picked);
        EXPECT_EQ(w.rumbled(), picked);
        EXPECT_FALSE(w.has("Switch", "right"));
    }
}

} // namespace
