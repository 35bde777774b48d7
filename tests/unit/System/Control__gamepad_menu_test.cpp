// Controller menu navigation: commands on settings pages and on button pages, the breadth-first
// order of the highlight with its wrap, cancel in its own frame, and a page not highlighted yet.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Menu.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/System/Control.h>
#include <Orvane/Third_party/Gamepad.h>
#include <Orvane/Utils/error.h>

#include "support/Control_fixture.h"

namespace {

using namespace Orvane;
using S = Orvane::Status;
using V = Event_value;
using Orvane::Test::Control_world;
using Vertex = Component::Menu::Vertex_wrapper;

// A menu page open under a controller.
struct Menu_world : Control_world {
    Menu_world() : Control_world(S::IN_MENU, Input_mode::GAMEPAD) {
        stick = content.set_fac<Component::Simple<Vector>>(Fast_access_component::STICK_DIRECTION,
                                                           "Stick", "direction", Vector(0, 0));
    }

    std::shared_ptr<Component::Image> image(const std::string& id) {
        return content.set<Component::Image>(id, "image", Orvane::Test::control_picture(), 10);
    }
    std::shared_ptr<Component::Position> at(const std::string& id) {
        return content.set<Component::Absolute_position>(id, "position", Point(0, 0), true);
    }
    // A leaf showing one image.
    void leaf(Vertex v, const std::string& id) { v.init(image(id), at(id)); }
    // A settings row: its name, its left arrow, the values, its right arrow.
    void setting(Vertex row, const std::string& id, const std::vector<std::string>& values) {
        row.split(Split_direction::HORIZONTALLY, 4);
        leaf(row[0], id + "_text");
        leaf(row[1], id + "_left_arrow");
        auto position = at(id);
        row[2].init(image(id + "_" + values.front()), position);
        for (std::size_t i = 1; i < values.size(); ++i)
            row[2].add(image(id + "_" + values[i]));
        leaf(row[3], id + "_right_arrow");
    }
    std::shared_ptr<Component::Menu> page(const std::string& name) {
        content.set<Component::Simple<std::string>>("Game", "current_menu", name);
        return content.set<Component::Menu>(name, "menu");
    }

    // "Settings": a title, two setting rows, the lone Ok button one level further down.
    void settings() {
        auto menu = page("Settings");
        menu->split(Split_direction::VERTICALLY, 4);
        leaf((*menu)[0], "Settings_title");
        setting((*menu)[1], "Fullscreen", {"on", "off"});
        setting((*menu)[2], "Volume", {"0", "5", "10"});
        (*menu)[3].split(Split_direction::SINGLE, 1);
        leaf((*menu)[3][0], "Ok_alone_button");
    }
    // "Controls": a picture of the controller, one setting, the lone Ok button.
    void controls() {
        auto menu = page("Controls");
        menu->split(Split_direction::VERTICALLY, 3);
        leaf((*menu)[0], "Controls_picture");
        setting((*menu)[1], "Layout", {"a", "b"});
        (*menu)[2].split(Split_direction::SINGLE, 1);
        leaf((*menu)[2][0], "Ok_alone_button");
    }
    // "Exit" (or another button page under `name`): a title, a row of two buttons, and a
    // button right under the root, which a breadth-first walk meets before the row's.
    void buttons(const std::string& name = "Exit") {
        auto menu = page(name);
        menu->split(Split_direction::VERTICALLY, 3);
        leaf((*menu)[0], "Exit_title");
        (*menu)[1].split(Split_direction::HORIZONTALLY, 2);
        leaf((*menu)[1][0], "Load_button");
        leaf((*menu)[1][1], "Save_button");
        leaf((*menu)[2], "Continue_button");
    }
    void highlight(const std::string& item) {
        content.set<Component::Simple<std::string>>("Interface", "gamepad_active_menu_item",
                                                    item);
    }
    void controller(bool ok_down) {
        content.set<Component::Simple<std::string>>("Gamepad", "id", std::string("pad"));
        content.set<Component::Simple<Gamepad_info>>(
            "pad", "gamepad", Gamepad_info("1:2", Gamepad_labels::NO_LABEL, ok_down));
    }

    void push(double x, double y) {
        stick->set(Vector(x, y));
        content.emit("Stick", "moved");
    }

    std::shared_ptr<Component::Simple<Vector>> stick;
};

struct Command_case {
    const char* page; // "Settings", "Controls" or "Exit"
    const char* highlighted;
    V command;
    std::string now;    // the controller's highlight after
    std::string active; // Interface:active_menu_item, "<absent>" for none
    bool clicked;
};

void build(Menu_world& w, const std::string& page) {
    if (page == "Settings")
        w.settings();
    else if (page == "Controls")
        w.controls();
    else
        w.buttons(page);
}

TEST(ControlGamepadMenuTest, Commands) {
    const std::vector<Command_case> cases = {
        // settings pages: the shoulders and confirm step the highlighted setting
        {"Settings", "Fullscreen", V::LEFT, "Fullscreen", "Fullscreen_left_arrow", true},
        {"Settings", "Fullscreen", V::RIGHT, "Fullscreen", "Fullscreen_right_arrow", true},
        {"Settings", "Volume", V::EAST, "Volume", "Volume_right_arrow", true},
        {"Settings", "Ok_alone_button", V::LEFT, "Ok_alone_button", "<absent>", false},
        {"Settings", "Ok_alone_button", V::RIGHT, "Ok_alone_button", "<absent>", false},
        {"Settings", "Ok_alone_button", V::EAST, "Ok_alone_button", "Ok_alone_button", true},
        // ... and only the vertical stick moves the highlight, breadth first, wrapping
        {"Settings", "Fullscreen", V::DOWN_ARROW, "Volume", "Volume", false},
        {"Settings", "Volume", V::DOWN_ARROW, "Ok_alone_button", "Ok_alone_button", false},
        {"Settings", "Ok_alone_button", V::DOWN_ARROW, "Fullscreen", "Fullscreen", false},
        {"Settings", "Fullscreen", V::UP_ARROW, "Ok_alone_button", "Ok_alone_button", false},
        {"Settings", "Fullscreen", V::NORTH, "Fullscreen", "<absent>", false},
        {"Controls", "Layout", V::LEFT, "Layout", "Layout_left_arrow", true},
        {"Controls", "Layout", V::EAST, "Layout", "Layout_right_arrow", true},
        {"Controls", "Layout", V::DOWN_ARROW, "Ok_alone_button", "Ok_alone_button", false},
        {"Controls", "Layout", V::UP_ARROW, "Ok_alone_button", "Ok_alone_button", false},
        {"Controls", "Ok_alone_button", V::EAST, "Ok_alone_button", "Ok_alone_button", true},
        // button pages: a button directly under the root comes before a row's buttons
        {"Exit", "Continue_button", V::DOWN_ARROW, "Load_button", "Load_button", false},
        {"Exit", "Load_button", V::DOWN_ARROW, "Save_button", "Save_button", false},
        {"Exit", "Save_button", V::DOWN_ARROW, "Continue_button", "Continue_button", false},
        {"Exit", "Continue_button", V::UP_ARROW, "Save_button", "Save_button", false},
        {"Exit", "Save_button", V::UP_ARROW, "Load_button", "Load_button", false},
        // ... and a horizontal push moves the highlight like a vertical one
        {"Exit", "Continue_button", V::RIGHT, "Load_button", "Load_button", false},
        {"Exit", "Continue_button", V::LEFT, "Save_button", "Save_button", false},
        {"Exit", "Load_button", V::EAST, "Load_button", "Load_button", true},
        {"Exit", "Load_button", V::WEST, "Load_button", "<absent>", false},
        // a page of any other name is a button page
        {"Load", "Load_button", V::RIGHT, "Save_button", "Save_button", false},
    };
    for (const Command_case& c : cases) {
        SCOPED_TRACE(std::string(c.page) + " " + c.highlighted + " " +
                     std::to_string(static_cast<int>(c.command)));
        Menu_world w;
        build(w, c.page);
        w.highlight(c.highlighted);
        System::Control control(w.content);
        control.menu_sub_triggered(c.command);
        EXPECT_EQ(w.text("Interface", "gamepad_active_menu_item"), c.now);
        EXPECT_EQ(w.text("Interface", "active_menu_item"), c.active);
        EXPECT_EQ(w.signalled("Menu", "clicked"), c.clicked);
        EXPECT_EQ(w.status->value(), S::IN_MENU);
        EXPECT_FALSE(w.signalled("Game", "escape"));
    }
}

TEST(ControlGamepadMenuTest, SettingsSelectedByNameNotByArrows) {
    // a full walk down visits each setting once and the Ok button, then comes back
    Menu_world w;
    w.settings();
    w.highlight("Fullscreen");
    System::Control control(w.content);
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) {
        control.menu_sub_switch_active_item(true);
        seen.push_back(w.text("Interface", "gamepad_active_menu_item"));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"Volume", "Ok_alone_button", "Fullscreen",
                                              "Volume"}));
}

[[noreturn]] void throw_on_fatal(const char*, int, const std::string& message) {
    throw std::runtime_error(message);
}

TEST(ControlGamepadMenuTest, AHighlightOffThePageIsFatal) {
    for (const char* item : {"Fullscreen_left_arrow", "Elsewhere_button", "Settings_title"}) {
        Menu_world w;
        w.settings();
        w.highlight(item);
        System::Control control(w.content);
        const Orvane::Fatal_handler previous = Orvane::set_fatal_handler(throw_on_fatal);
        std::string message;
        try {
            control.menu_sub_triggered(V::DOWN_ARROW);
        } catch (const std::runtime_error& error) {
            message = error.what();
        }
        Orvane::set_fatal_handler(previous);
        EXPECT_EQ(message, std::string("Node ") + item + " not found in menu");
    }
}

TEST(ControlGamepadMenuTest, NothingHighlightedYetNoCommandActs) {
    // the first page of a run: the stick moves before the menu system showed the page (no
    // Game:current_menu, no highlight), or the page is there but not highlighted yet
    for (const bool page_shown : {false, true}) {
        for (const V command : {V::LEFT, V::RIGHT, V::UP_ARROW, V::DOWN_ARROW, V::EAST, V::SOUTH}) {
            SCOPED_TRACE(std::to_string(page_shown) + " " +
                         std::to_string(static_cast<int>(command)));
            Menu_world w;
            if (page_shown)
                w.settings();
            System::Control control(w.content);
            control.menu_sub_triggered(command);
            EXPECT_EQ(w.text("Interface", "active_menu_item"), "<absent>");
            EXPECT_FALSE(w.has("Interface", "gamepad_active_menu_item"));
            EXPECT_FALSE(w.signalled("Menu", "clicked"));
            EXPECT_FALSE(w.signalled("Game", "escape"));
            EXPECT_EQ(w.status->value(), S::IN_MENU);
        }
    }
    // through the handler: a stick push, a shoulder and a press in that first frame
    Menu_world w;
    w.push(1, 0);
    w.content.set<Component::Boolean>("Switch", "right", true);
    w.content.emit("Action", "look");
    System::Control(w.content).menu_gamepad();
    EXPECT_EQ(w.status->value(), S::IN_MENU);
    EXPECT_FALSE(w.signalled("Menu", "clicked"));
    EXPECT_FALSE(w.has("Menu", "delete"));
    EXPECT_FALSE(w.has("Switch", "right"));
    EXPECT_FALSE(w.signalled("Action", "look"));
}

// One frame of the handler on the Exit page (or "End") highlighted on Continue_button.
struct Frame_case {
    const char* name;
    const char* page;
    int ok_down; // -1: no Gamepad:id
    std::vector<std::string> verbs;
    int shoulder; // -1 none, 0 left, 1 right
    bool stick;
    double sx;
    double sy;
    std::string now;    // the highlight after
    std::string active; // Interface:active_menu_item after
    bool clicked;
    S top;
    std::string deleted; // Menu:delete, "<absent>" for none
    bool exit;           // Game:exit
};

TEST(ControlGamepadMenuTest, TheHandler) {
    const std::string c = "Continue_button";
    const std::string no = "<absent>";
    const std::vector<Frame_case> cases = {
        {"the right shoulder", "Exit", -1, {}, 1, false, 0, 0, "Load_button", "Load_button", false,
         S::IN_MENU, no, false},
        {"the left shoulder", "Exit", -1, {}, 0, false, 0, 0, "Save_button", "Save_button", false,
         S::IN_MENU, no, false},
        {"the stick down", "Exit", -1, {}, -1, true, 0, 1, "Load_button", "Load_button", false,
         S::IN_MENU, no, false},
        {"the stick mostly left", "Exit", -1, {}, -1, true, -0.8, 0.6, "Save_button",
         "Save_button", false, S::IN_MENU, no, false},
        {"south confirms", "Exit", -1, {"inventory"}, -1, false, 0, 0, c, c, true, S::IN_MENU, no,
         false},
        {"east confirms without ok_down", "Exit", 0, {"look"}, -1, false, 0, 0, c, c, true,
         S::IN_MENU, no, false},
        {"moved, then confirmed", "Exit", 1, {"inventory"}, 1, false, 0, 0, "Load_button",
         "Load_button", true, S::IN_MENU, no, false},
        {"move and take do nothing", "Exit", -1, {"move", "take"}, -1, false, 0, 0, c, no, false,
         S::IN_MENU, no, false},
        // cancel leaves the page in its own frame
        {"east cancels", "Exit", 1, {"look"}, -1, false, 0, 0, c, no, false, S::IDLE, "Exit",
         false},
        {"south cancels without ok_down", "Exit", 0, {"inventory"}, -1, false, 0, 0, c, no, false,
         S::IDLE, "Exit", false},
        {"look beats inventory: cancel", "Exit", -1, {"inventory", "look"}, -1, false, 0, 0, c, no,
         false, S::IDLE, "Exit", false},
        {"cancel on the End page ends the game", "End", -1, {"look"}, -1, false, 0, 0, c, no,
         false, S::IN_MENU, no, true},
    };
    for (const Frame_case& k : cases) {
        SCOPED_TRACE(k.name);
        Menu_world w;
        w.buttons(k.page);
        w.highlight("Continue_button");
        if (k.ok_down >= 0)
            w.controller(k.ok_down == 1);
        for (const std::string& v : k.verbs)
            w.content.emit("Action", v);
        if (k.shoulder >= 0)
            w.content.set<Component::Boolean>("Switch", "right", k.shoulder == 1);
        if (k.stick)
            w.push(k.sx, k.sy);
        System::Control(w.content).menu_gamepad();
        EXPECT_EQ(w.text("Interface", "gamepad_active_menu_item"), k.now);
        EXPECT_EQ(w.text("Interface", "active_menu_item"), k.active);
        EXPECT_EQ(w.signalled("Menu", "clicked"), k.clicked);
        EXPECT_EQ(w.status->value(), k.top);
        EXPECT_EQ(w.text("Menu", "delete"), k.deleted);
        EXPECT_EQ(w.signalled("Game", "exit"), k.exit);
        EXPECT_FALSE(w.signalled("Game", "escape")) << "taken in its frame";
        EXPECT_FALSE(w.has("Switch", "right"));
        for (const char* verb : {"move", "take", "look", "inventory"})
            EXPECT_FALSE(w.signalled("Action", verb)) << verb;
    }
}

TEST(ControlGamepadMenuTest, AHeldStickMovesOnce) {
    Menu_world w;
    w.buttons();
    w.highlight("Continue_button");
    System::Control control(w.content);
    const auto frame = [&](double x, double y) {
        w.push(x, y);
        control.menu_gamepad();
        return w.text("Interface", "gamepad_active_menu_item");
    };
    EXPECT_EQ(frame(0, 1), "Load_button");
    EXPECT_EQ(frame(0, 1), "Load_button");
    EXPECT_EQ(frame(0, 0), "Load_button");
    EXPECT_EQ(frame(0, 1), "Save_button");
}

} // namespace
