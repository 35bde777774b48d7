// Pointer play in windows, code locks, dialogs and menus: the window's own pixels under the
// pointer, the code lock's hover and presses, the dialog line picked, the menu item clicked.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Code.h>
#include <Orvane/Component/Image.h>
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

// The sample game's lock: an 800 x 600 window centred on the view, drawn at `scale`, with its
// four buttons in picture pixels (circle, square, triangle, star).
std::shared_ptr<Component::Code> lock(Control_world& w, double scale = 1.0) {
    auto window = w.image("shapes_lock", {960, 540}, Config::INTERFACE_BACK, Collision_type::BOX,
                          true, Orvane::Test::texture_less_picture(800, 600));
    window->set_relative_origin(0.5, 0.5);
    window->set_scale(scale);
    w.content.set<Component::Variable>("Game", "window", window);
    auto code = w.content.set<Component::Code>("shapes_lock", "code");
    code->add_button("circle", 30, 280, 160, 160);
    code->add_button("square", 230, 280, 160, 160);
    code->add_button("triangle", 430, 280, 160, 160);
    code->add_button("star", 630, 280, 160, 160);
    w.content.set<Component::Variable>("Game", "code", code);
    return code;
}

std::shared_ptr<Component::Code> code_of(Control_world& w) {
    return w.content.get<Component::Code>("Game", "code");
}

// The entered buttons' values.
std::string entered(Control_world& w) {
    auto code = code_of(w);
    std::string out;
    for (auto i : code->entered())
        out += (out.empty() ? "" : " ") + code->buttons()[std::size_t(i)].value;
    return out;
}

// The dialog's choice lines as the interface places them: 400 x 40 images one below the other
// from y 700, over their background.
void dialog(Control_world& w) {
    w.image("Dialog_choice_background", {0, 680}, 1000000, Collision_type::BOX, true,
            Orvane::Test::texture_less_picture(1920, 400));
    for (int n = 0; n < 3; ++n)
        w.image("Dialog_choice_" + std::to_string(n), {100, 700.0 + 50 * n}, 1000001,
                Collision_type::BOX, true, Orvane::Test::texture_less_picture(400, 40));
    w.content.set<Component::Simple<std::string>>("Game", "current_dialog", std::string("ferran"));
}

// A menu page: a button and a setting's arrow over the page's background.
void menu(Control_world& w) {
    w.image("Menu_background", {0, 0}, 1000008, Collision_type::BOX, true,
            Orvane::Test::texture_less_picture(1920, 1080));
    w.image("Settings_button", {500, 300}, 1000009, Collision_type::BOX, true,
            Orvane::Test::texture_less_picture(300, 60));
    w.image("Speed_left_arrow", {500, 500}, 1000009);
}

int number(Control_world& w, const std::string& entity, const std::string& component) {
    auto c = w.content.request<Component::Simple<int>>(entity, component);
    return c ? c->value() : -100;
}

struct Window_case {
    const char* name;
    S top;
    Input_mode mode;
    std::function<void(Control_world&)> setup;
    std::function<void(Control_world&)> check;
};

const std::vector<Window_case> window_cases = {
    {"a window: a click anywhere closes it", S::IN_WINDOW, Input_mode::MOUSE,
     [](Control_world& w) { w.click({10, 10}); },
     [](Control_world& w) {
         EXPECT_EQ(w.status->value(), S::IDLE);
         EXPECT_TRUE(w.signalled("Interface", "hide_window"));
         EXPECT_FALSE(w.signalled("Cursor", "clicked"));
     }},
    {"a window: a press on the window itself closes it", S::IN_WINDOW, Input_mode::TOUCHSCREEN,
     [](Control_world& w) {
         lock(w);
         w.click({960, 540});
     },
     [](Control_world& w) {
         EXPECT_EQ(w.status->value(), S::IDLE);
         EXPECT_TRUE(w.signalled("Interface", "hide_window"));
     }},
    {"a window stays without a click", S::IN_WINDOW, Input_mode::MOUSE,
     [](Control_world& w) { w.cursor({10, 10}); },
     [](Control_world& w) { EXPECT_EQ(w.status->value(), S::IN_WINDOW); }},
    {"the lock: screen (670, 600) is the circle at (110, 360)", S::IN_CODE, Input_mode::MOUSE,
     [](Control_world& w) {
         lock(w);
         w.click({670, 600});
     },
     [](Control_world& w) {
         EXPECT_EQ(entered(w), "circle");
         EXPECT_TRUE(w.signalled("code", "button_clicked"));
         EXPECT_TRUE(w.signalled("Code", "hover"));
         EXPECT_EQ(w.status->value(), S::IN_CODE);
     }},
    {"the lock: a button's edges are in", S::IN_CODE, Input_mode::MOUSE,
     [](Control_world& w) {
         lock(w);
         w.click({560 + 190, 240 + 440}); // (190, 440): the circle's far corner
     },
     [](Control_world& w) { EXPECT_EQ(entered(w), "circle"); }},
    {"the lock growing at half size: the circle where it is drawn", S::IN_CODE,
     Input_mode::MOUSE,
     [](Control_world& w) {
         lock(w, 0.5);
         w.click({760 + 55, 390 + 180}); // the corner at (760, 390), the circle's middle
     },
     [](Control_world& w) {
         EXPECT_EQ(entered(w), "circle");
         EXPECT_EQ(code_of(w)->hovered(), 0);
     }},
    {"the lock growing: outside its drawn box is beside it", S::IN_CODE, Input_mode::MOUSE,
     [](Control_world& w) {
         lock(w, 0.5);
         w.click({670, 600}); // on the full-size window, not on the growing one
     },
     [](Control_world& w) {
         EXPECT_EQ(w.status->value(), S::IDLE);
         EXPECT_TRUE(w.signalled("Interface", "hide_window"));
     }},
    {"the lock: hovering a button emits Code:hover", S::IN_CODE, Input_mode::MOUSE,
     [](Control_world& w) {
         lock(w);
         w.cursor({1270, 600}); // the star
     },
     [](Control_world& w) {
         EXPECT_TRUE(w.signalled("Code", "hover"));
         EXPECT_EQ(code_of(w)->hovered(), 3);
         EXPECT_EQ(entered(w), "");
     }},
    {"the lock: between the buttons no hover, and a click does nothing", S::IN_CODE,
     Input_mode::MOUSE,
     [](Control_world& w) {
         lock(w);
         w.click({960, 300});
     },
     [](Control_world& w) {
         EXPECT_FALSE(w.signalled("Code", "hover"));
         EXPECT_FALSE(w.signalled("code", "button_clicked"));
         EXPECT_EQ(w.status->value(), S::IN_CODE);
         EXPECT_FALSE(w.signalled("Cursor", "clicked"));
     }},
    {"the lock: a click beside the window closes it and forgets the entry", S::IN_CODE,
     Input_mode::MOUSE,
     [](Control_world& w) {
         lock(w)->click(110, 360);
         w.click({100, 100});
     },
     [](Control_world& w) {
         EXPECT_EQ(w.status->value(), S::IDLE);
         EXPECT_TRUE(w.signalled("Interface", "hide_window"));
         EXPECT_EQ(entered(w), "");
     }},
    {"the lock by touch: a press on a button, no hover", S::IN_CODE, Input_mode::TOUCHSCREEN,
     [](Control_world& w) {
         lock(w);
         w.click({1000, 600}); // the triangle
     },
     [](Control_world& w) {
         EXPECT_EQ(entered(w), "triangle");
         EXPECT_FALSE(w.signalled("Code", "hover"));
     }},
    {"the lock by touch: no press, nothing", S::IN_CODE, Input_mode::TOUCHSCREEN,
     [](Control_world& w) {
         lock(w);
         w.cursor({1000, 600});
     },
     [](Control_world& w) {
         EXPECT_EQ(code_of(w)->hovered(), -1);
         EXPECT_FALSE(w.signalled("Code", "hover"));
     }},
    {"a dialog: the line under the mouse is the active item", S::DIALOG, Input_mode::MOUSE,
     [](Control_world& w) {
         dialog(w);
         w.cursor({150, 760});
     },
     [](Control_world& w) {
         EXPECT_EQ(number(w, "Interface", "active_dialog_item"), 1);
         EXPECT_EQ(w.status->value(), S::DIALOG);
     }},
    {"a dialog: a click on line 2 picks it", S::DIALOG, Input_mode::MOUSE,
     [](Control_world& w) {
         dialog(w);
         w.click({150, 810});
     },
     [](Control_world& w) {
         EXPECT_EQ(number(w, "Dialog", "choice"), 2);
         EXPECT_TRUE(w.signalled("Dialog", "clean"));
         EXPECT_TRUE(w.signalled("Click", "play_sound"));
         EXPECT_FALSE(w.has("Interface", "active_dialog_item"));
         EXPECT_FALSE(w.has("Game", "current_dialog"));
         EXPECT_EQ(w.status->value(), S::IDLE);
     }},
    {"a dialog: \"Dialog_choice_2_off\" is line 2", S::DIALOG, Input_mode::MOUSE,
     [](Control_world& w) {
         dialog(w);
         w.image("Dialog_choice_2_off", {600, 700}, 1000001);
         w.click({605, 705});
     },
     [](Control_world& w) { EXPECT_EQ(number(w, "Dialog", "choice"), 2); }},
    {"a dialog: the background alone hits nothing", S::DIALOG, Input_mode::MOUSE,
     [](Control_world& w) {
         dialog(w);
         w.content.set<Component::Simple<int>>("Interface", "active_dialog_item", 1);
         w.click({1500, 900});
     },
     [](Control_world& w) {
         EXPECT_FALSE(w.has("Interface", "active_dialog_item"));
         EXPECT_FALSE(w.has("Dialog", "choice"));
         EXPECT_EQ(w.status->value(), S::DIALOG);
         EXPECT_FALSE(w.signalled("Cursor", "clicked")) << "taken";
     }},
    {"a dialog: an image above a line that the filter refuses does not hide it", S::DIALOG,
     Input_mode::MOUSE,
     [](Control_world& w) {
         dialog(w);
         w.image("Cursor", {140, 700}, 1000011);
         w.click({145, 705});
     },
     [](Control_world& w) { EXPECT_EQ(number(w, "Dialog", "choice"), 0); }},
    {"a dialog by touch: a press picks the line", S::DIALOG, Input_mode::TOUCHSCREEN,
     [](Control_world& w) {
         dialog(w);
         w.click({150, 760});
     },
     [](Control_world& w) {
         EXPECT_EQ(number(w, "Dialog", "choice"), 1);
         EXPECT_EQ(w.status->value(), S::IDLE);
     }},
    {"a dialog by touch: nothing between presses", S::DIALOG, Input_mode::TOUCHSCREEN,
     [](Control_world& w) {
         dialog(w);
         w.cursor({150, 760});
     },
     [](Control_world& w) { EXPECT_FALSE(w.has("Interface", "active_dialog_item")); }},
    {"a menu: the button under the mouse is the active item", S::IN_MENU, Input_mode::MOUSE,
     [](Control_world& w) {
         menu(w);
         w.cursor({505, 305});
     },
     [](Control_world& w) {
         EXPECT_EQ(w.text("Interface", "active_menu_item"), "Settings_button");
         EXPECT_FALSE(w.signalled("Menu", "clicked"));
     }},
    {"a menu: an arrow clicked", S::IN_MENU, Input_mode::MOUSE,
     [](Control_world& w) {
         menu(w);
         w.click({505, 505});
     },
     [](Control_world& w) {
         EXPECT_EQ(w.text("Interface", "active_menu_item"), "Speed_left_arrow");
         EXPECT_TRUE(w.signalled("Menu", "clicked"));
         EXPECT_EQ(w.status->value(), S::IN_MENU);
     }},
    {"a menu: a click on empty space is taken, the active item removed", S::IN_MENU,
     Input_mode::MOUSE,
     [](Control_world& w) {
         menu(w);
         w.content.set<Component::Simple<std::string>>("Interface", "active_menu_item",
                                                       std::string("Settings_button"));
         w.click({1500, 900});
     },
     [](Control_world& w) {
         EXPECT_FALSE(w.has("Interface", "active_menu_item"));
         EXPECT_FALSE(w.signalled("Menu", "clicked"));
         EXPECT_FALSE(w.signalled("Cursor", "clicked"));
     }},
    {"a menu by touch: a press selects and clicks in one frame", S::IN_MENU,
     Input_mode::TOUCHSCREEN,
     [](Control_world& w) {
         menu(w);
         w.click({505, 305});
     },
     [](Control_world& w) {
         EXPECT_EQ(w.text("Interface", "active_menu_item"), "Settings_button");
         EXPECT_TRUE(w.signalled("Menu", "clicked"));
     }},
    {"a menu by touch: a press beside the items keeps the active item", S::IN_MENU,
     Input_mode::TOUCHSCREEN,
     [](Control_world& w) {
         menu(w);
         w.content.set<Component::Simple<std::string>>("Interface", "active_menu_item",
                                                       std::string("Settings_button"));
         w.click({1500, 900});
     },
     [](Control_world& w) {
         EXPECT_EQ(w.text("Interface", "active_menu_item"), "Settings_button");
         EXPECT_FALSE(w.signalled("Menu", "clicked"));
         EXPECT_FALSE(w.signalled("Cursor", "clicked"));
     }},
};

TEST(ControlPointerWindowsTest, WindowsCodeLocksDialogsAndMenus) {
    for (const Window_case& c : window_cases) {
        SCOPED_TRACE(c.name);
        Control_world w(c.top, c.mode);
        System::Control control(w.content);
        control.init();
        c.setup(w);
        control.run();
        c.check(w);
    }
}

// With the mouse over a button, Code:hover is emitted in every frame, not only when the hovered
// button changes.
TEST(ControlPointerWindowsTest, CodeHoverInEveryFrameOverAButton) {
    Control_world w(S::IN_CODE, Input_mode::MOUSE);
    lock(w);
    System::Control control(w.content);
    control.init();
    w.cursor({670, 600});
    for (int frame = 0; frame < 3; ++frame) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        control.run();
        EXPECT_TRUE(w.content.receive("Code", "hover"));
    }
    EXPECT_EQ(w.content.get<Component::Code>("Game", "code")->hovered(), 0);
}

// The window's own pixel under the pointer follows the window's scale and position.
TEST(ControlPointerWindowsTest, TheWindowPointFollowsTheDrawing) {
    struct Point_case {
        double scale;
        Point pointer;
        std::pair<int, int> expected;
    };
    const std::vector<Point_case> cases = {
        {1.0, {670, 600}, {110, 360}},  {1.0, {560, 240}, {0, 0}},   {1.0, {1359, 839}, {799, 599}},
        {0.5, {815, 570}, {110, 360}},  {0.5, {760, 390}, {0, 0}},   {0.25, {960, 540}, {400, 300}},
        {0.8, {960 - 320, 540 - 240}, {0, 0}},
    };
    for (const Point_case& c : cases) {
        SCOPED_TRACE("scale " + std::to_string(c.scale));
        Control_world w(S::IN_CODE, Input_mode::MOUSE);
        lock(w, c.scale);
        System::Control control(w.content);
        EXPECT_EQ(control.window_point(c.pointer), c.expected);
    }
}

} // namespace
