// The pointer's hit test and idle play: which image a point hits as the images are drawn
// (camera, zoom, relative positions, scaled masks), the inventory strip, and what a click or a
// touch on the ground or an object does.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/System/Control.h>

#include "support/Control_fixture.h"
#include "support/Picture.h"

namespace {

using namespace Orvane;
using S = Orvane::Status;
using Component::Collision_type;
using Orvane::Test::Control_world;

// The interface scale for one test, put back after it.
struct Interface_scale {
    explicit Interface_scale(double scale) { Config::interface_scale = scale; }
    ~Interface_scale() { Config::interface_scale = 1.0; }
};

// A 10 x 10 mask: 2 x 2 solid blocks in the corners, the rest clear.
const std::vector<std::string> corner_mask = {
    "##......##", "##......##", "..........", "..........", "..........",
    "..........", "..........", "..........", "##......##", "##......##",
};

// A pixel-perfect image of the corner mask at `at` (interface), drawn at `scale`.
void masked(Control_world& w, Point at, double scale) {
    w.image("sign", at, 10, Collision_type::PIXEL_PERFECT, true,
            Orvane::Test::masked_picture(corner_mask))
        ->set_scale(scale);
}

struct Hit_case {
    const char* name;
    std::function<void(Control_world&)> setup;
    Point pointer;
    std::string expected;
    // the hit test's filter; every image when null
    std::function<bool(const std::string&)> accept = nullptr;
};

const std::vector<Hit_case> hit_cases = {
    {"depth 20 over depth 10",
     [](Control_world& w) {
         w.image("a", {100, 100}, 10);
         w.image("b", {100, 100}, 20);
     },
     {105, 105}, "b"},
    {"depth 20 over depth 10, the other way round",
     [](Control_world& w) {
         w.image("a", {100, 100}, 20);
         w.image("b", {100, 100}, 10);
     },
     {105, 105}, "a"},
    {"the top one refused: the one below",
     [](Control_world& w) {
         w.image("a", {100, 100}, 10);
         w.image("b", {100, 100}, 20);
     },
     {105, 105}, "a", [](const std::string& e) { return e != "b"; }},
    {"an image that is off is never hit",
     [](Control_world& w) {
         w.image("a", {100, 100}, 10);
         w.image("b", {100, 100}, 20)->on() = false;
     },
     {105, 105}, "a"},
    {"an UNCLICKABLE image is never hit",
     [](Control_world& w) {
         w.image("a", {100, 100}, 10);
         w.image("b", {100, 100}, 20, Collision_type::UNCLICKABLE);
     },
     {105, 105}, "a"},
    {"outside every box", [](Control_world& w) { w.image("a", {100, 100}, 10); }, {110, 105},
     ""},
    {"the box's left and top edges are in", [](Control_world& w) { w.image("a", {100, 100}, 10); },
     {100, 100}, "a"},
    {"a room image at 2500 with the camera at 1000 is at 1500",
     [](Control_world& w) {
         w.camera({1000, 0});
         w.image("a", {2500, 300}, 10, Collision_type::BOX, false);
     },
     {1505, 305}, "a"},
    {"an interface image is not moved by the camera",
     [](Control_world& w) {
         w.camera({1000, 0});
         w.image("a", {2500, 300}, 10, Collision_type::BOX, true);
     },
     {1505, 305}, ""},
    {"zoom 2: a room image is drawn twice as far and twice as large",
     [](Control_world& w) {
         w.camera({0, 0}, 2.0);
         w.image("a", {100, 100}, 10, Collision_type::BOX, false);
     },
     {219, 219}, "a"},
    {"zoom 2: not where it would lie unzoomed",
     [](Control_world& w) {
         w.camera({0, 0}, 2.0);
         w.image("a", {100, 100}, 10, Collision_type::BOX, false);
     },
     {105, 105}, ""},
    {"zoom 2 leaves interface images alone",
     [](Control_world& w) {
         w.camera({0, 0}, 2.0);
         w.image("a", {100, 100}, 10, Collision_type::BOX, true);
     },
     {105, 105}, "a"},
    {"a shaken camera: the box follows it by the fraction",
     [](Control_world& w) {
         w.camera({1007.5, 0});
         w.image("a", {1500, 300}, 10, Collision_type::BOX, false);
     },
     {493, 300}, "a"},
    {"a shaken camera: the pixel it left is out",
     [](Control_world& w) {
         w.camera({1007.5, 0});
         w.image("a", {1500, 300}, 10, Collision_type::BOX, false);
     },
     {492, 300}, ""},
    {"a camera moved down: room images are shown higher",
     [](Control_world& w) {
         w.camera({1000, 40});
         w.image("a", {1500, 300}, 10, Collision_type::BOX, false);
     },
     {505, 265}, "a"},
    {"a relative room position goes through the camera",
     [](Control_world& w) {
         w.camera({1000, 0});
         auto anchor = w.content.set<Component::Absolute_position>("anchor", "position",
                                                                   Point(2000, 300), false);
         w.content.set<Component::Image>("a", "image", Orvane::Test::control_picture(), 10,
                                         Collision_type::BOX);
         w.content.set<Component::Relative_position>("a", "position", anchor, Vector(500, 0));
     },
     {1505, 305}, "a"},
    {"an image's origin and scale place its box",
     [](Control_world& w) {
         auto image = w.image("a", {100, 100}, 10);
         image->set_relative_origin(0.5, 1.0);
         image->set_scale(3.0);
     },
     {114, 99}, "a"},
    // the corner mask at scale 1: the picture's own pixels
    {"scale 1, top-left corner", [](Control_world& w) { masked(w, {100, 100}, 1.0); },
     {100, 100}, "sign"},
    {"scale 1, bottom-right corner", [](Control_world& w) { masked(w, {100, 100}, 1.0); },
     {109, 109}, "sign"},
    {"scale 1, a clear pixel", [](Control_world& w) { masked(w, {100, 100}, 1.0); }, {102, 102},
     ""},
    {"scale 1, beside the box", [](Control_world& w) { masked(w, {100, 100}, 1.0); }, {110, 100},
     ""},
    // at 2 the picture covers 20 x 20: its last pixels lie beyond the mask's own size
    {"scale 2, top-left corner", [](Control_world& w) { masked(w, {100, 100}, 2.0); },
     {100, 100}, "sign"},
    {"scale 2, bottom-right corner", [](Control_world& w) { masked(w, {100, 100}, 2.0); },
     {119, 119}, "sign"},
    {"scale 2, top-right corner", [](Control_world& w) { masked(w, {100, 100}, 2.0); },
     {119, 100}, "sign"},
    {"scale 2, a clear pixel", [](Control_world& w) { masked(w, {100, 100}, 2.0); }, {104, 104},
     ""},
    {"scale 2, beside the box", [](Control_world& w) { masked(w, {100, 100}, 2.0); }, {120, 100},
     ""},
    // at 0.7 it covers 7 x 7: the last drawn pixel shows picture pixel 8
    {"scale 0.7, top-left corner", [](Control_world& w) { masked(w, {100, 100}, 0.7); },
     {100, 100}, "sign"},
    {"scale 0.7, bottom-right corner", [](Control_world& w) { masked(w, {100, 100}, 0.7); },
     {106, 106}, "sign"},
    {"scale 0.7, bottom-left corner", [](Control_world& w) { masked(w, {100, 100}, 0.7); },
     {100, 106}, "sign"},
    {"scale 0.7, a clear pixel", [](Control_world& w) { masked(w, {100, 100}, 0.7); }, {102, 102},
     ""},
    {"scale 0.7, beside the box", [](Control_world& w) { masked(w, {100, 100}, 0.7); },
     {107, 100}, ""},
};

TEST(ControlPointerTest, TheHitTestMatchesTheDrawing) {
    for (const Hit_case& c : hit_cases) {
        SCOPED_TRACE(c.name);
        Control_world w(S::IDLE, Input_mode::MOUSE);
        c.setup(w);
        System::Control control(w.content);
        w.cursor(c.pointer);
        auto cursor = w.content.get<Component::Position>("Cursor", "position");
        const std::string hit =
            control.first_collision(cursor, [&](std::shared_ptr<Component::Image> image) {
                return !c.accept || c.accept(image->entity());
            });
        EXPECT_EQ(hit, c.expected);
    }
}

// One frame of idle pointer play.
struct Idle_case {
    const char* name;
    Input_mode mode;
    double scale;
    std::function<void(Control_world&)> setup;
    std::function<void(Control_world&)> check;
};

// The inventory's tab as the interface builds it: already at the interface scale.
void tab(Control_world& w, int width) {
    w.image("Inventory_label_background", {0, 1080 - 50 * Config::interface_scale}, 1000000,
            Collision_type::BOX, true, Orvane::Test::texture_less_picture(width, 50));
}

// A room object: named, state "default", a 10 x 10 box image at `at`.
void object(Control_world& w, const std::string& id, Point at) {
    w.image(id, at, 100, Collision_type::BOX, false);
    w.content.set<Component::Simple<std::string>>(id, "name", id);
    w.content.set<Component::Simple<std::string>>(id, "state", std::string("default"));
}

std::function<void(Control_world&)> pointer_at(Point p, bool click = false) {
    return [p, click](Control_world& w) {
        tab(w, 300);
        if (click)
            w.click(p);
        else
            w.cursor(p);
    };
}

std::function<void(Control_world&)> expect_status(S expected) {
    return [expected](Control_world& w) { EXPECT_EQ(w.status->value(), expected); };
}

const std::vector<Idle_case> idle_cases = {
    {"y 1070 is above the strip", Input_mode::MOUSE, 1.0, pointer_at({1500, 1070}),
     expect_status(S::IDLE)},
    {"y 1070.5 is in the strip", Input_mode::MOUSE, 1.0, pointer_at({1500, 1070.5}),
     expect_status(S::IN_INVENTORY)},
    {"(299, 1031) is on the tab", Input_mode::MOUSE, 1.0, pointer_at({299, 1031}),
     expect_status(S::IN_INVENTORY)},
    {"(300, 1031) is beside it", Input_mode::MOUSE, 1.0, pointer_at({300, 1031}),
     expect_status(S::IDLE)},
    {"(1500, 1075) is in the strip", Input_mode::MOUSE, 1.0, pointer_at({1500, 1075}),
     expect_status(S::IN_INVENTORY)},
    {"(10, 1030) is above the tab", Input_mode::MOUSE, 1.0, pointer_at({10, 1030}),
     expect_status(S::IDLE)},
    {"hovering the strip opens the bar without cancelling", Input_mode::MOUSE, 1.0,
     pointer_at({1500, 1075}),
     [](Control_world& w) {
         EXPECT_EQ(w.status->value(), S::IN_INVENTORY);
         EXPECT_FALSE(w.signalled("Cancel", "action"));
     }},
    {"a click in the strip opens the bar and cancels the walk", Input_mode::MOUSE, 1.0,
     pointer_at({1500, 1075}, true),
     [](Control_world& w) {
         EXPECT_EQ(w.status->value(), S::IN_INVENTORY);
         EXPECT_TRUE(w.signalled("Cancel", "action"));
         EXPECT_FALSE(w.signalled("Cursor", "clicked"));
     }},
    // at scale 2 the tab is built 600 wide and 100 high, its own scale 1
    {"scale 2: on the drawn tab", Input_mode::MOUSE, 2.0,
     [](Control_world& w) {
         tab(w, 600);
         w.cursor({599, 990});
     },
     expect_status(S::IN_INVENTORY)},
    {"scale 2: beside the drawn tab", Input_mode::MOUSE, 2.0,
     [](Control_world& w) {
         tab(w, 600);
         w.cursor({600, 990});
     },
     expect_status(S::IDLE)},
    {"scale 2: not as far as twice the drawn tab", Input_mode::MOUSE, 2.0,
     [](Control_world& w) {
         tab(w, 600);
         w.cursor({1100, 990});
     },
     expect_status(S::IDLE)},
    {"scale 2: above the drawn tab", Input_mode::MOUSE, 2.0,
     [](Control_world& w) {
         tab(w, 600);
         w.cursor({10, 980});
     },
     expect_status(S::IDLE)},
    {"hovering an object makes it active", Input_mode::MOUSE, 1.0,
     [](Control_world& w) {
         object(w, "rope", {500, 500});
         w.cursor({505, 505});
     },
     [](Control_world& w) {
         EXPECT_EQ(w.text("Interface", "active_object"), "rope");
         EXPECT_EQ(w.status->value(), S::IDLE);
     }},
    {"hovering nothing drops the active object", Input_mode::MOUSE, 1.0,
     [](Control_world& w) {
         object(w, "rope", {500, 500});
         w.content.set<Component::Simple<std::string>>("Interface", "active_object", "rope");
         w.cursor({600, 505});
     },
     [](Control_world& w) { EXPECT_FALSE(w.has("Interface", "active_object")); }},
    {"an unnamed image, a no_interact object, an item: not hovered", Input_mode::MOUSE, 1.0,
     [](Control_world& w) {
         w.image("sky", {500, 500}, 10, Collision_type::BOX, false);
         object(w, "gull", {500, 500});
         w.content.emit("gull", "no_interact");
         object(w, "rope", {500, 500});
         w.content.get<Component::Simple<std::string>>("rope", "state")->set("inventory_rope");
         w.cursor({505, 505});
     },
     [](Control_world& w) { EXPECT_FALSE(w.has("Interface", "active_object")); }},
    {"a ground click walks there", Input_mode::MOUSE, 1.0,
     [](Control_world& w) { w.click({700, 700}); },
     [](Control_world& w) {
         EXPECT_TRUE(w.signalled("Cancel", "action"));
         EXPECT_TRUE(w.signalled("Cursor", "clicked")) << "emitted again for the walk";
         EXPECT_FALSE(w.signalled("Click", "play_sound"));
         EXPECT_EQ(w.status->value(), S::IDLE);
     }},
    {"a ground click with an item held only puts it back", Input_mode::MOUSE, 1.0,
     [](Control_world& w) {
         w.content.set<Component::Simple<std::string>>("Interface", "source_object", "key");
         w.click({700, 700});
     },
     [](Control_world& w) {
         EXPECT_TRUE(w.signalled("Cancel", "action"));
         EXPECT_FALSE(w.signalled("Cursor", "clicked"));
         EXPECT_FALSE(w.has("Interface", "source_object"));
         EXPECT_EQ(w.triggered(), "<none>");
     }},
    {"a click on an object opens its verbs", Input_mode::MOUSE, 1.0,
     [](Control_world& w) {
         object(w, "rope", {500, 500});
         w.click({505, 505});
     },
     [](Control_world& w) {
         EXPECT_EQ(w.status->value(), S::ACTION);
         EXPECT_EQ(w.text("Interface", "action_choice_target"), "rope");
         EXPECT_TRUE(w.signalled("Click", "play_sound"));
         EXPECT_FALSE(w.has("Interface", "active_object"));
         EXPECT_FALSE(w.signalled("Cursor", "clicked"));
     }},
    {"a walk-to object goes at once", Input_mode::MOUSE, 1.0,
     [](Control_world& w) {
         object(w, "exit", {500, 500});
         w.content.set<Component::Boolean>("exit_goto", "right", true);
         w.action("exit_goto");
         w.click({505, 505});
     },
     [](Control_world& w) {
         EXPECT_EQ(w.triggered(), "exit_goto");
         EXPECT_EQ(w.status->value(), S::IDLE) << "no verbs";
         EXPECT_TRUE(w.signalled("Click", "play_sound"));
     }},
    {"a walk-to object without its own action: Default_goto", Input_mode::MOUSE, 1.0,
     [](Control_world& w) {
         object(w, "exit", {500, 500});
         w.content.set<Component::Boolean>("exit_goto", "right", false);
         w.click({505, 505});
     },
     [](Control_world& w) { EXPECT_EQ(w.triggered(), "Default_goto"); }},
    {"the key on the door: door_inventory_key", Input_mode::MOUSE, 1.0,
     [](Control_world& w) {
         object(w, "door", {500, 500});
         w.action("door_inventory_key");
         w.content.set<Component::Simple<std::string>>("Interface", "source_object", "key");
         w.click({505, 505});
     },
     [](Control_world& w) {
         EXPECT_EQ(w.triggered(), "door_inventory_key");
         EXPECT_EQ(w.text("Click", "target"), "door");
         EXPECT_TRUE(w.signalled("Click", "play_sound"));
         EXPECT_FALSE(w.has("Interface", "source_object"));
         EXPECT_EQ(w.status->value(), S::IDLE);
     }},
    {"the key on a door without that action: Default_inventory", Input_mode::MOUSE, 1.0,
     [](Control_world& w) {
         object(w, "door", {500, 500});
         w.content.set<Component::Simple<std::string>>("Interface", "source_object", "key");
         w.click({505, 505});
     },
     [](Control_world& w) {
         EXPECT_EQ(w.triggered(), "Default_inventory");
         EXPECT_EQ(w.text("Click", "target"), "door");
     }},
    {"an item held: a walk-to object is not offered", Input_mode::MOUSE, 1.0,
     [](Control_world& w) {
         object(w, "exit", {500, 500});
         w.content.set<Component::Boolean>("exit_goto", "right", true);
         w.content.set<Component::Simple<std::string>>("Interface", "source_object", "key");
         w.click({505, 505});
     },
     [](Control_world& w) {
         EXPECT_EQ(w.triggered(), "<none>");
         EXPECT_FALSE(w.has("Interface", "source_object")) << "a click beside: put back";
     }},
    {"a touch at y 1031 opens the bar", Input_mode::TOUCHSCREEN, 1.0,
     [](Control_world& w) { w.click({900, 1031}); }, expect_status(S::IN_INVENTORY)},
    {"a touch at y 1030 walks", Input_mode::TOUCHSCREEN, 1.0,
     [](Control_world& w) { w.click({900, 1030}); },
     [](Control_world& w) {
         EXPECT_EQ(w.status->value(), S::IDLE);
         EXPECT_TRUE(w.signalled("Cursor", "clicked"));
     }},
    {"without a touch nothing is acted on", Input_mode::TOUCHSCREEN, 1.0,
     [](Control_world& w) { w.cursor({900, 1031}); }, expect_status(S::IDLE)},
};

// Objects within the player's reach for touch play: door (its label image door_label over it)
// and crate, both beside mara.
void within_reach(Control_world& w) {
    w.object_at("door", 50, 0, 300);
    w.object_at("crate", -50, 0, 700);
    for (const char* id : {"door", "crate"}) {
        w.content.get<Component::Image>(id, "image")->set_collision(Collision_type::BOX);
        w.content.get<Component::Image>(id, "image")->on() = true;
    }
    w.image("door_label", {1200, 100}, 1000005);
    w.content.emit("Player", "not_moved_yet");
}

const std::vector<Idle_case> touch_cases = {
    {"a touch on door_label acts on door", Input_mode::TOUCHSCREEN, 1.0,
     [](Control_world& w) {
         within_reach(w);
         w.click({1205, 105});
     },
     [](Control_world& w) {
         EXPECT_EQ(w.status->value(), S::ACTION);
         EXPECT_EQ(w.text("Interface", "action_choice_target"), "door");
         EXPECT_FALSE(w.has("Player", "not_moved_yet")) << "a touch counts as moving";
     }},
    {"a touch on an object within reach", Input_mode::TOUCHSCREEN, 1.0,
     [](Control_world& w) {
         within_reach(w);
         w.click({705, 305});
     },
     [](Control_world& w) {
         EXPECT_EQ(w.text("Interface", "action_choice_target"), "crate");
     }},
    {"a touch on an object out of reach walks", Input_mode::TOUCHSCREEN, 1.0,
     [](Control_world& w) {
         within_reach(w);
         object(w, "lamp", {100, 100});
         w.click({105, 105});
     },
     [](Control_world& w) {
         EXPECT_EQ(w.status->value(), S::IDLE);
         EXPECT_TRUE(w.signalled("Cursor", "clicked"));
     }},
};

void run_idle(const Idle_case& c) {
    SCOPED_TRACE(c.name);
    const Interface_scale scale(c.scale);
    Control_world w(S::IDLE, c.mode);
    w.action("Default_goto");
    w.action("Default_inventory");
    System::Control control(w.content);
    control.init();
    c.setup(w);
    control.run();
    c.check(w);
}

TEST(ControlPointerTest, IdlePointerPlay) {
    for (const Idle_case& c : idle_cases)
        run_idle(c);
    for (const Idle_case& c : touch_cases)
        run_idle(c);
}

} // namespace
