// Pointer choices: the verb picked from the action selector's image names, the second object,
// the inventory bar with its arrows, by mouse and by touch.

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/System/Control.h>

#include "support/Control_fixture.h"
#include "support/Picture.h"

namespace {

using namespace Orvane;
using S = Orvane::Status;
using Orvane::Test::Control_world;

void default_actions(Control_world& w) {
    for (const char* verb : Config::possible_actions)
        w.action(std::string("Default_") + verb);
}

struct Parse_case {
    std::string id;                   // the hit image's name
    std::vector<std::string> actions; // actions of the game besides the defaults
    std::string triggered;            // "<none>" when nothing is triggered
    S top;                            // the status after the click
    bool sound;
    std::string target_object; // Interface:target_object, "<absent>" without
    std::string source_object; // Interface:source_object, "<absent>" without
};

const std::vector<Parse_case> parse_cases = {
    {"rope_look_label_back", {}, "Default_look", S::IDLE, true, "<absent>", "<absent>"},
    {"rope_look_label_back", {"rope_look"}, "rope_look", S::IDLE, true, "<absent>", "<absent>"},
    {"rope_look_label", {"rope_look"}, "rope_look", S::IDLE, true, "<absent>", "<absent>"},
    {"a_b_take_button_back", {"a_b_take"}, "a_b_take", S::IDLE, true, "<absent>", "<absent>"},
    {"a_b_take_button_back", {}, "Default_take", S::IDLE, true, "<absent>", "<absent>"},
    // "_button_" is searched first, though "_label" comes earlier
    {"x_look_label_y_take_button_back", {}, "Default_take", S::IDLE, true, "<absent>",
     "<absent>"},
    {"crate_move_button_back", {"crate_move"}, "crate_move", S::IDLE, true, "<absent>",
     "<absent>"},
    {"door_inventory_button_back", {}, "<none>", S::OBJECT, true, "door", "<absent>"},
    {"hook_combine_label_back", {}, "<none>", S::IDLE, true, "<absent>", "hook"},
    {"tower_door_inventory_label", {}, "<none>", S::OBJECT, true, "tower_door", "<absent>"},
    // fading out, nothing, a verb outside the list, an object's label, a room object's name
    {"rope_take_button_back_old", {"rope_take"}, "<none>", S::IDLE, false, "<absent>",
     "<absent>"},
    {"", {}, "<none>", S::IDLE, false, "<absent>", "<absent>"},
    {"rope_dance_button_back", {}, "<none>", S::IDLE, false, "<absent>", "<absent>"},
    {"rope_label", {}, "<none>", S::IDLE, false, "<absent>", "<absent>"},
    {"lift_button", {"lift_button"}, "<none>", S::IDLE, false, "<absent>", "<absent>"},
};

TEST(ControlPointerChoicesTest, TheSelectorsImageNamesGiveTheVerb) {
    for (const Parse_case& c : parse_cases) {
        SCOPED_TRACE("hit \"" + c.id + "\"");
        Control_world w(S::ACTION, Input_mode::MOUSE);
        default_actions(w);
        for (const std::string& a : c.actions)
            w.action(a);
        w.content.set<Component::Simple<std::string>>("Interface", "action_choice_target",
                                                      std::string("rope"));
        System::Control control(w.content);
        control.action_choice_sub_click(c.id);
        EXPECT_EQ(w.triggered(), c.triggered);
        EXPECT_EQ(w.status->value(), c.top);
        EXPECT_EQ(w.signalled("Click", "play_sound"), c.sound);
        EXPECT_EQ(w.text("Interface", "target_object"), c.target_object);
        EXPECT_EQ(w.text("Interface", "source_object"), c.source_object);
        EXPECT_FALSE(w.has("Interface", "action_choice_target"));
    }
}

// One frame of the pointer choice handlers.
struct Choice_case {
    const char* name;
    std::vector<S> stack; // above IDLE
    Input_mode mode;
    std::function<void(Control_world&)> setup;
    std::function<void(Control_world&)> check;
};

// The bar: nine-item slots at y 1000, the arrows at its ends; items rope and hook, and key
// (no_interact) shown; the verbs of the door in the room.
void scene(Control_world& w) {
    default_actions(w);
    w.item("rope", {300, 1000});
    w.item("hook", {400, 1000});
    w.item("key", {500, 1000});
    w.content.emit("key", "no_interact");
    w.inventory({"rope", "hook", "key"});
    w.image("Left_arrow", {50, 1000}, 1000005);
    w.image("Right_arrow", {1850, 1000}, 1000005);
    w.image("Inventory_background", {0, 930}, 1000000);
    w.image("door_look_button_back", {600, 400}, 1000004);
    w.image("door_inventory_button_back", {700, 400}, 1000004);
    w.content.set<Component::Simple<std::string>>("Interface", "action_choice_target",
                                                  std::string("door"));
}

void target(Control_world& w, const std::string& id) {
    w.content.set<Component::Simple<std::string>>("Interface", "target_object", id);
}
void source(Control_world& w, const std::string& id) {
    w.content.set<Component::Simple<std::string>>("Interface", "source_object", id);
}
void expect(Control_world& w, S top) { EXPECT_EQ(w.status->value(), top); }

const std::vector<Choice_case> choice_cases = {
    {"ACTION: hovering a verb makes it the active button", {S::ACTION}, Input_mode::MOUSE,
     [](Control_world& w) {
         scene(w);
         w.cursor({605, 405});
     },
     [](Control_world& w) {
         EXPECT_EQ(w.text("Interface", "active_button"), "door_look_button_back");
         expect(w, S::ACTION);
     }},
    {"ACTION: a click beside the verbs closes them, silently", {S::ACTION}, Input_mode::MOUSE,
     [](Control_world& w) {
         scene(w);
         w.content.set<Component::Simple<std::string>>("Interface", "active_button", "x");
         w.click({100, 100});
     },
     [](Control_world& w) {
         expect(w, S::IDLE);
         EXPECT_FALSE(w.has("Interface", "active_button"));
         EXPECT_FALSE(w.has("Interface", "action_choice_target"));
         EXPECT_FALSE(w.signalled("Click", "play_sound"));
         EXPECT_FALSE(w.signalled("Cursor", "clicked")) << "taken";
     }},
    {"ACTION: \"inventory\" leads to the item choice", {S::ACTION}, Input_mode::MOUSE,
     [](Control_world& w) {
         scene(w);
         w.click({705, 405});
     },
     [](Control_world& w) {
         expect(w, S::OBJECT);
         EXPECT_EQ(w.text("Interface", "target_object"), "door");
     }},
    {"ACTION: a press picks the verb; no active button by touch", {S::ACTION},
     Input_mode::TOUCHSCREEN,
     [](Control_world& w) {
         scene(w);
         w.click({605, 405});
     },
     [](Control_world& w) {
         expect(w, S::IDLE);
         EXPECT_EQ(w.triggered(), "Default_look");
         EXPECT_FALSE(w.has("Interface", "active_button"));
     }},
    {"ACTION by touch: nothing between presses", {S::ACTION}, Input_mode::TOUCHSCREEN,
     [](Control_world& w) {
         scene(w);
         w.cursor({605, 405});
     },
     [](Control_world& w) {
         expect(w, S::ACTION);
         EXPECT_FALSE(w.has("Interface", "active_button"));
     }},
    {"OBJECT: a click in the room cancels", {S::OBJECT}, Input_mode::MOUSE,
     [](Control_world& w) {
         scene(w);
         target(w, "door");
         w.click({305, 929.9});
     },
     [](Control_world& w) {
         expect(w, S::IDLE);
         EXPECT_FALSE(w.has("Interface", "target_object"));
         EXPECT_EQ(w.triggered(), "<none>");
     }},
    {"OBJECT: a click on the bar beside the items does nothing", {S::OBJECT},
     Input_mode::MOUSE,
     [](Control_world& w) {
         scene(w);
         target(w, "door");
         w.click({1000, 1005});
     },
     [](Control_world& w) {
         expect(w, S::OBJECT);
         EXPECT_EQ(w.text("Interface", "target_object"), "door");
         EXPECT_FALSE(w.signalled("Cursor", "clicked")) << "taken";
     }},
    {"OBJECT: an item is used on the object", {S::OBJECT}, Input_mode::MOUSE,
     [](Control_world& w) {
         scene(w);
         target(w, "door");
         w.action("door_inventory_rope");
         w.click({305, 1005});
     },
     [](Control_world& w) {
         expect(w, S::IDLE);
         EXPECT_EQ(w.triggered(), "door_inventory_rope");
         EXPECT_EQ(w.text("Click", "target"), "door");
         EXPECT_TRUE(w.signalled("Click", "play_sound"));
         EXPECT_FALSE(w.has("Interface", "target_object"));
         EXPECT_FALSE(w.has("Interface", "active_object"));
     }},
    {"OBJECT: a no_interact item is no choice with the mouse", {S::OBJECT}, Input_mode::MOUSE,
     [](Control_world& w) {
         scene(w);
         target(w, "door");
         w.click({505, 1005});
     },
     [](Control_world& w) {
         expect(w, S::OBJECT);
         EXPECT_EQ(w.triggered(), "<none>");
     }},
    {"OBJECT: a no_interact item is a choice by touch", {S::OBJECT}, Input_mode::TOUCHSCREEN,
     [](Control_world& w) {
         scene(w);
         target(w, "door");
         w.click({505, 1005});
     },
     [](Control_world& w) {
         expect(w, S::IDLE);
         EXPECT_EQ(w.triggered(), "Default_inventory");
     }},
    {"OBJECT by touch: no hover key between presses", {S::OBJECT}, Input_mode::TOUCHSCREEN,
     [](Control_world& w) {
         scene(w);
         target(w, "door");
         w.cursor({305, 1005});
     },
     [](Control_world& w) {
         expect(w, S::OBJECT);
         EXPECT_FALSE(w.has("Interface", "active_object"));
     }},
    {"IN_INVENTORY: at y 929.9 the bar closes, the click left for later", {S::IN_INVENTORY},
     Input_mode::MOUSE,
     [](Control_world& w) {
         scene(w);
         w.click({305, 929.9});
     },
     [](Control_world& w) {
         expect(w, S::IDLE);
         EXPECT_TRUE(w.signalled("Cursor", "clicked"));
     }},
    {"IN_INVENTORY: y 930 is on the bar", {S::IN_INVENTORY}, Input_mode::MOUSE,
     [](Control_world& w) {
         scene(w);
         w.click({1000, 930});
     },
     [](Control_world& w) {
         expect(w, S::IN_INVENTORY);
         EXPECT_FALSE(w.signalled("Cursor", "clicked")) << "taken";
     }},
    {"IN_INVENTORY: hovering an item makes it active", {S::IN_INVENTORY}, Input_mode::MOUSE,
     [](Control_world& w) {
         scene(w);
         w.cursor({405, 1005});
     },
     [](Control_world& w) { EXPECT_EQ(w.text("Interface", "active_object"), "hook"); }},
    {"IN_INVENTORY: an item clicked offers its verbs", {S::IN_INVENTORY}, Input_mode::MOUSE,
     [](Control_world& w) {
         scene(w);
         w.click({405, 1005});
     },
     [](Control_world& w) {
         expect(w, S::INVENTORY_ACTION);
         w.status->pop();
         EXPECT_EQ(w.status->value(), S::IDLE) << "the bar's status was replaced";
         w.status->push(S::INVENTORY_ACTION);
         EXPECT_EQ(w.text("Interface", "action_choice_target"), "hook");
         EXPECT_TRUE(w.signalled("Click", "play_sound"));
         EXPECT_TRUE(w.signalled("Cancel", "action"));
         EXPECT_FALSE(w.has("Interface", "active_object"));
     }},
    {"IN_INVENTORY: an item clicked with another held combines them", {S::IN_INVENTORY},
     Input_mode::MOUSE,
     [](Control_world& w) {
         scene(w);
         source(w, "rope");
         w.action("hook_inventory_rope");
         w.click({405, 1005});
     },
     [](Control_world& w) {
         expect(w, S::IN_INVENTORY);
         EXPECT_EQ(w.triggered(), "hook_inventory_rope");
         EXPECT_FALSE(w.has("Interface", "source_object"));
         EXPECT_TRUE(w.signalled("Click", "play_sound"));
         EXPECT_TRUE(w.signalled("Cancel", "action"));
     }},
    {"IN_INVENTORY: the held item is not hit, what lies below it is", {S::IN_INVENTORY},
     Input_mode::MOUSE,
     [](Control_world& w) {
         scene(w);
         w.image("rope", {400, 1000}, 1000006); // the rope over the hook
         source(w, "rope");
         w.click({405, 1005});
     },
     [](Control_world& w) { EXPECT_EQ(w.triggered(), "Default_inventory"); }},
    {"IN_INVENTORY: the held item alone: nothing", {S::IN_INVENTORY}, Input_mode::MOUSE,
     [](Control_world& w) {
         scene(w);
         source(w, "rope");
         w.click({305, 1005});
     },
     [](Control_world& w) {
         expect(w, S::IN_INVENTORY);
         EXPECT_EQ(w.text("Interface", "source_object"), "rope");
         EXPECT_FALSE(w.signalled("Click", "play_sound"));
     }},
    {"IN_INVENTORY by touch: a press above the bar closes it", {S::IN_INVENTORY},
     Input_mode::TOUCHSCREEN,
     [](Control_world& w) {
         scene(w);
         w.click({305, 500});
     },
     [](Control_world& w) { expect(w, S::IDLE); }},
    {"IN_INVENTORY by touch: nothing between presses", {S::IN_INVENTORY},
     Input_mode::TOUCHSCREEN,
     [](Control_world& w) {
         scene(w);
         w.content.set<Component::Simple<std::string>>("Interface", "active_object", "key");
         w.cursor({305, 500});
     },
     [](Control_world& w) {
         expect(w, S::IN_INVENTORY);
         EXPECT_EQ(w.text("Interface", "active_object"), "key");
     }},
    {"IN_INVENTORY by touch: a press on an item", {S::IN_INVENTORY}, Input_mode::TOUCHSCREEN,
     [](Control_world& w) {
         scene(w);
         w.click({305, 1005});
     },
     [](Control_world& w) {
         expect(w, S::INVENTORY_ACTION);
         EXPECT_EQ(w.text("Interface", "action_choice_target"), "rope");
     }},
    {"INVENTORY_ACTION: \"combine\" holds the item, back to what was below",
     {S::INVENTORY_ACTION}, Input_mode::MOUSE,
     [](Control_world& w) {
         scene(w);
         w.image("hook_combine_label", {800, 800}, 1000004);
         w.click({805, 805});
     },
     [](Control_world& w) {
         expect(w, S::IDLE);
         EXPECT_EQ(w.text("Interface", "source_object"), "hook");
     }},
};

void run_choice(const Choice_case& c, int frames = 1) {
    SCOPED_TRACE(c.name);
    Control_world w(S::IDLE, c.mode);
    for (S s : c.stack)
        w.status->push(s);
    System::Control control(w.content);
    c.setup(w);
    control.init();
    for (int i = 0; i < frames; ++i)
        control.run();
    c.check(w);
}

TEST(ControlPointerChoicesTest, TransitionsOfTheChoices) {
    for (const Choice_case& c : choice_cases)
        run_choice(c);
}

// The arrows page by one item while more lie beyond: nine are shown.
TEST(ControlPointerChoicesTest, TheArrowsPageTheBar) {
    struct Paging {
        int items;
        int position;
        const char* arrow;
        Input_mode mode;
        std::size_t after;
    };
    const std::vector<Paging> cases = {
        {9, 0, "Right_arrow", Input_mode::MOUSE, 0},  {10, 0, "Right_arrow", Input_mode::MOUSE, 1},
        {10, 1, "Right_arrow", Input_mode::MOUSE, 1}, {10, 1, "Left_arrow", Input_mode::MOUSE, 0},
        {10, 0, "Left_arrow", Input_mode::MOUSE, 0},  {10, 0, "Right_arrow", Input_mode::TOUCHSCREEN, 1},
    };
    for (S top : {S::IN_INVENTORY, S::OBJECT}) {
        for (const Paging& c : cases) {
            SCOPED_TRACE(std::to_string(c.items) + " items at " + std::to_string(c.position) +
                         ", " + c.arrow + (top == S::OBJECT ? " choosing an object" : ""));
            Control_world w(top, c.mode);
            std::vector<std::string> names;
            for (int i = 0; i < c.items; ++i)
                names.push_back("item" + std::to_string(i));
            w.inventory(names, c.position);
            w.image("Left_arrow", {50, 1000}, 1000005);
            w.image("Right_arrow", {1850, 1000}, 1000005);
            target(w, "door");
            w.content.set<Component::Simple<std::string>>("Interface", "active_object", "item3");
            System::Control control(w.content);
            control.init();
            // hovered first: nothing pages, the active item stays
            if (c.mode == Input_mode::MOUSE) {
                w.cursor({std::string(c.arrow) == "Left_arrow" ? 55.0 : 1855.0, 1005});
                control.run();
                EXPECT_EQ(w.content.get<Component::Inventory>("Game", "inventory")->position(),
                          std::size_t(c.position));
            }
            w.click({std::string(c.arrow) == "Left_arrow" ? 55.0 : 1855.0, 1005});
            control.run();
            EXPECT_EQ(w.content.get<Component::Inventory>("Game", "inventory")->position(),
                      c.after);
            EXPECT_EQ(w.text("Interface", "active_object"), "item3");
            EXPECT_EQ(w.status->value(), top);
            EXPECT_FALSE(w.signalled("Cursor", "clicked"));
        }
    }
}

// A hovered bar item is drawn larger. Over a gap of its picture the pointer must keep it
// hovered while inside its drawn box: else it shrinks back under the pointer, is hit again, and
// flickers every frame, and a click lands on a frame where nothing is hovered.
TEST(ControlPointerChoicesTest, AHoveredItemStaysHoveredOverAGapOfItsBox) {
    // a ring: solid edges round a clear middle
    const std::vector<std::string> ring = {"##########", "#........#", "#........#",
                                           "#........#", "##########"};
    struct Gap_case {
        const char* name;
        S top;
        const char* hovered;   // Interface:active_object before the frame; "" for none
        const char* source;    // the item held for combining; "" for none
        Point pointer;         // the ring is drawn at (300, 1000), 20 x 10 at scale 2
        bool click;
        const char* after;     // Interface:active_object after the frame
    };
    const std::vector<Gap_case> cases = {
        {"hovered, on the gap: stays", S::IN_INVENTORY, "rope", "", {310, 1005}, false, "rope"},
        {"not hovered, on the gap: nothing", S::IN_INVENTORY, "", "", {310, 1005}, false, "<absent>"},
        {"hovered, out of the box: gone", S::IN_INVENTORY, "rope", "", {330, 1005}, false,
         "<absent>"},
        {"hovered and held for combining: not kept", S::IN_INVENTORY, "rope", "rope",
         {310, 1005}, false, "<absent>"},
        {"choosing an item for the door, on the gap: stays", S::OBJECT, "rope", "", {310, 1005},
         false, "rope"},
        {"a click on the gap picks it", S::IN_INVENTORY, "rope", "", {310, 1005}, true, ""},
        {"a click on the gap gives it to the door", S::OBJECT, "rope", "", {310, 1005}, true, ""},
    };
    for (const Gap_case& c : cases) {
        SCOPED_TRACE(c.name);
        Control_world w(c.top, Input_mode::MOUSE);
        default_actions(w);
        w.action("door_inventory_rope");
        w.item("hook", {400, 1000});
        w.image("rope", {300, 1000}, 1000005, Component::Collision_type::PIXEL_PERFECT, true,
                Orvane::Test::masked_picture(ring))
            ->set_scale(2);
        w.content.set<Component::Simple<std::string>>("rope", "name", std::string("rope"));
        w.content.set<Component::Simple<std::string>>("rope", "state",
                                                      std::string("inventory_rope"));
        w.inventory({"rope", "hook"});
        target(w, "door");
        if (*c.hovered)
            w.content.set<Component::Simple<std::string>>("Interface", "active_object",
                                                          std::string(c.hovered));
        if (*c.source)
            source(w, c.source);
        System::Control control(w.content);
        control.init();
        if (c.click)
            w.click(c.pointer);
        else
            w.cursor(c.pointer);
        control.run();
        if (!c.click) {
            EXPECT_EQ(w.text("Interface", "active_object"), c.after);
            EXPECT_EQ(w.status->value(), c.top);
        } else if (c.top == S::IN_INVENTORY) {
            EXPECT_EQ(w.status->value(), S::INVENTORY_ACTION);
            EXPECT_EQ(w.text("Interface", "action_choice_target"), "rope");
        } else {
            EXPECT_EQ(w.triggered(), "door_inventory_rope");
        }
    }
}

} // namespace
