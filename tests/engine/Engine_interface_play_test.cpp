// The sample game played through its screen interface, headless, through SDL's own queue.
// By mouse from the rope to the lamp: the object label by the cursor, the inventory bar sliding
// in with each item carried, the rope carried on the cursor onto the hook, the grapnel used on
// the crate and the key on the door, Ferran's dialog picked line by line, the "You got"
// notices, the note's window and the code box with its hover mark, a wrong code first. By
// touch: Ferran's dialog, the doorway into the tower, the label points within reach laid out
// apart, and the code box. What is drawn is read back from the renderer where it matters: the
// bar's items at their slots, the highlighted dialog line, the hover mark and the failure
// picture.

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Component/Code.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Base.h>
#include <Orvane/System/Graphic.h>
#include <Orvane/Utils/View.h>

#include "support/Pointer_play.h"
#include "support/Screen_probes.h"
#include "support/Sdl_input.h"

namespace {

using namespace Orvane;
using Orvane::Test::Sdl_input;
using Text = Component::Simple<std::string>;

// The lock's buttons, centres in pixels of its window picture.
const std::map<std::string, Point> lock_button = {{"circle", Point(110, 360)},
                                                  {"square", Point(310, 360)},
                                                  {"triangle", Point(510, 360)},
                                                  {"star", Point(710, 360)}};
const std::vector<std::string> wrong_code = {"circle", "square", "triangle", "star"};
const std::vector<std::string> note_code = {"triangle", "circle", "star", "square"};

// The player's colour, Mara's raincoat.
const Orvane::Test::Rgb raincoat{0xFF, 0xD2, 0x3F};

bool near(const Orvane::Test::Rgb& a, const Orvane::Test::Rgb& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

bool overlap(const SDL_Rect& a, const SDL_Rect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

class Interface_play : public Orvane::Test::Pointer_play {
  protected:
    Component::Status& status() {
        return *content().request<Component::Status>(Fast_access_component::GAME_STATUS);
    }
    double bar_top() { return content().get<Component::Position>(Key::inventory_origin)->value().y(); }

    // The render list of the frame just drawn.
    System::Graphic::Render_list drawn() {
        System::Graphic::Render_list list;
        System::Graphic::build_render_list(content(), System::camera_view(content()), list);
        return list;
    }

    // Runs frames until `done`, skipping each spoken line as it shows, as a player does: the
    // right button, or a touch, while the game is locked on a line.
    bool talk_until(const std::function<bool(Content&)>& done, bool touch, int budget = 1500) {
        for (int frame = 0; frame < budget && !input.ended(); ++frame) {
            if (frame % 10 == 5 && top(content()) == Status::LOCKED &&
                content().request<Component::Base>(Key::comment_0_image)) {
                if (touch) {
                    input.touch(true, 960, 300);
                    input.touch(false, 960, 300);
                } else {
                    input.mouse_button(SDL_BUTTON_RIGHT, true, 960, 300);
                    input.mouse_button(SDL_BUTTON_RIGHT, false, 960, 300);
                }
            }
            if (input.run_until(done, 1))
                return true;
        }
        return false;
    }

    bool idle() {
        return until([](Content& c) {
            return top(c) == Status::IDLE && !c.request<Component::Base>(Key::comment_0_image);
        });
    }

    // The dialog line `line` picked among the offered ones. By mouse it is hovered first: it
    // turns to the player's colour, on screen too the first time (`read_back`).
    void choose(const std::string& line, bool touch, bool read_back = false) {
        SCOPED_TRACE(line);
        ASSERT_TRUE(talk_until([](Content& c) { return top(c) == Status::DIALOG; }, touch))
            << "no choice offered";
        const auto offered = content().get<Component::Vector<std::string>>(Key::dialog_choices)->value();
        const auto at = std::find(offered.begin(), offered.end(), line);
        ASSERT_NE(at, offered.end()) << "not offered";
        const int i = int(at - offered.begin());
        const std::string off = "Dialog_choice_" + std::to_string(i) + "_off";
        const std::string on = "Dialog_choice_" + std::to_string(i) + "_on";
        ASSERT_TRUE(until([&](Content& c) { return Sdl_input::point_of(c, off).has_value(); }, 30));
        if (touch) {
            ASSERT_TRUE(input.touch_on(off));
        } else {
            ASSERT_TRUE(input.hover_on(off));
            ASSERT_TRUE(until(
                [&](Content& c) {
                    return c.value<Component::Simple<int>>(Key::interface_active_dialog_item, -1) ==
                               i &&
                           Sdl_input::point_of(c, on) && !Sdl_input::point_of(c, off);
                },
                10))
                << "the hovered line is not highlighted";
            if (read_back) {
                const auto box = Sdl_input::drawn_box(content(), on);
                ASSERT_TRUE(box);
                const Orvane::Test::Screen screen;
                int gold = 0;
                int white = 0;
                for (int y = box->y; y < box->y + box->h; ++y)
                    for (int x = box->x; x < box->x + box->w; ++x) {
                        gold += near(screen.at(x, y), raincoat, 3);
                        white += near(screen.at(x, y), {255, 255, 255}, 3);
                    }
                EXPECT_GT(gold, 20) << "the highlighted line shows in FFD23F";
                EXPECT_EQ(white, 0) << "no white left on the highlighted line";
            }
            ASSERT_TRUE(input.click_on(on));
        }
        ASSERT_TRUE(until([](Content& c) { return top(c) != Status::DIALOG; }, 10));
        EXPECT_FALSE(content().request<Component::Base>("Dialog_choice_background", "image"))
            << "the lines go once one is picked";
    }

    // A "You got" notice for the item named `name` comes up as a banner.
    void expect_notice(const std::string& name) {
        const std::string wanted = "You got " + name + ".";
        std::string seen;
        const bool shown = until(
            [&](Content& c) {
                for (int n = 0; n < 4; ++n) {
                    const std::string e = "Notification_" + std::to_string(n);
                    auto notice = c.request<Text>(e, "notification");
                    if (notice && notice->value() == wanted &&
                        Sdl_input::point_of(c, e + "_back") && Sdl_input::point_of(c, e))
                        return true;
                    if (notice)
                        seen += notice->value() + "; ";
                }
                return false;
            },
            300);
        EXPECT_TRUE(shown) << "no banner \"" << wanted << "\"; notices seen: " << seen;
    }

    // The bar slid in by the pointer on the bottom edge (or by the game itself when `opened`),
    // showing `items` at their slots, on screen too; left open.
    void expect_bar(const std::vector<std::string>& items, bool opened = false) {
        const bool closed = bar_top() == Config::world_height;
        if (!opened) {
            input.mouse_motion(960, 1076);
            ASSERT_TRUE(until([](Content& c) { return top(c) == Status::IN_INVENTORY; }, 10));
        }
        bool midway = false;
        ASSERT_TRUE(until(
            [&](Content& c) {
                const double y = c.get<Component::Position>(Key::inventory_origin)->value().y();
                midway = midway || (y > 930 && y < 1080);
                return y == 930;
            },
            40))
            << "the bar did not open";
        EXPECT_TRUE(midway || !closed) << "the bar jumped instead of sliding";
        EXPECT_EQ(inventory(content()), items);
        const auto list = drawn();
        const Orvane::Test::Screen screen;
        for (std::size_t i = 0; i < items.size(); ++i) {
            SCOPED_TRACE(items[i]);
            auto image = content().get<Component::Image>(items[i], "image");
            EXPECT_TRUE(image->on());
            const double slot = int(double(i + 1) / 10 * 1720) + 100;
            EXPECT_EQ(content().get<Component::Position>(items[i], "position")->value(),
                      Point(slot, 1005));
            const auto points = Orvane::Test::probes(
                list, items[i], Orvane::Test::Picture("images/inventory/" + items[i] + ".png"), 6);
            EXPECT_GE(points.size(), 2u) << "too few flat points of the item on screen";
            // the item in use shows dimmed to half
            const bool in_use = text(content(), "Interface", "source_object") == items[i];
            Orvane::Test::expect_probes(screen, points, in_use ? 127 : 0);
        }
    }

    void close_bar() {
        input.mouse_motion(960, 500);
        ASSERT_TRUE(until([](Content& c) { return top(c) == Status::IDLE; }, 10));
        ASSERT_TRUE(until([this](Content&) { return bar_top() == 1080; }, 40));
    }

    // The item `id` picked from the open bar, then its verb `verb`.
    void from_bar(const std::string& id, const std::string& verb) {
        SCOPED_TRACE(verb + " " + id);
        ASSERT_TRUE(input.click_on(id));
        ASSERT_TRUE(until([](Content& c) { return top(c) == Status::INVENTORY_ACTION; }, 10));
        ASSERT_TRUE(pick(id, verb, false));
        ASSERT_TRUE(until([](Content& c) { return top(c) != Status::INVENTORY_ACTION; }, 10));
    }

    // The lock's window at its full size: the screen point of a button.
    Point button_at(const std::string& shape) {
        auto window = content().get<Component::Image>(Key::game_window);
        auto position = content().get<Component::Position>(window->entity(), "position");
        const auto [corner, scale] = System::camera_view(content()).place(
            position->value(), window->origin(), window->scale(), position->is_interface());
        return corner + Vector(lock_button.at(shape).x(), lock_button.at(shape).y()) * scale;
    }

    bool window_grown() {
        return until(
            [](Content& c) {
                auto window = c.request<Component::Image>(Key::game_window);
                return window && window->on() && window->scale() == 1 && window->alpha() == 255;
            },
            30);
    }

    // The shapes pressed one by one on the lock, by mouse or touch.
    void enter(const std::vector<std::string>& shapes, bool touch) {
        for (const std::string& shape : shapes) {
            SCOPED_TRACE(shape);
            const Point p = button_at(shape);
            if (touch) {
                input.touch(true, p.X(), p.Y());
                input.touch(false, p.X(), p.Y());
            } else {
                input.mouse_motion(p.X(), p.Y());
                input.mouse_button(SDL_BUTTON_LEFT, true, p.X(), p.Y());
                input.mouse_button(SDL_BUTTON_LEFT, false, p.X(), p.Y());
            }
            input.run(12); // the button's flash
        }
    }

    // A wrong code shows the failure picture and keeps the lock; the note's code opens the
    // hatch and closes the window.
    void crack_the_lock(bool touch) {
        enter(wrong_code, touch);
        EXPECT_EQ(top(content()), Status::IN_CODE);
        EXPECT_EQ(state(content(), "hatch"), "closed");
        if (Sdl_input::point_of(content(), "Code_result")) {
            const auto points = Orvane::Test::probes(
                drawn(), "Code_result", Orvane::Test::Picture("images/interface/code_ko.png"), 6);
            EXPECT_GE(points.size(), 2u);
            Orvane::Test::expect_probes(Orvane::Test::Screen(), points);
        } else {
            ADD_FAILURE() << "no failure picture after a wrong code";
        }
        ASSERT_TRUE(until([](Content& c) { return !c.request<Component::Base>("Code_result", "image"); },
                          60));
        enter(note_code, touch);
        EXPECT_EQ(state(content(), "hatch"), "open");
        EXPECT_EQ(state(content(), "code_box"), "unlocked");
        ASSERT_TRUE(idle()) << "the lock did not give the game back";
        EXPECT_FALSE(content().request<Component::Base>(Key::code_hover_image));
        EXPECT_TRUE(until(
            [](Content& c) {
                auto window = c.request<Component::Image>(Key::game_window);
                return !window || !window->on() || window->scale() == 0;
            },
            30))
            << "the lock's window did not shrink away";
    }
};

TEST_F(Interface_play, FromTheRopeToTheLampByMouse) {
    // the rope hovered: its name hangs beside the cursor
    ASSERT_TRUE(input.hover_on("rope"));
    const Point pointer = *Sdl_input::point_of(content(), "rope");
    ASSERT_TRUE(until([](Content& c) { return Sdl_input::point_of(c, "rope_label_back").has_value(); },
                      20))
        << "no label by the cursor";
    {
        const SDL_Rect box = *Sdl_input::drawn_box(content(), "rope_label_back");
        EXPECT_LE(std::abs(box.y + box.h / 2 - pointer.Y()), box.h) << "level with the cursor";
        EXPECT_TRUE(pointer.X() <= box.x + box.w / 2 && box.x - pointer.X() < 200)
            << "hanging to the right of the cursor";
    }
    EXPECT_EQ(content().get<Text>(Key::cursor_state)->value(), "object");

    // taken: the notice, and the bar with the rope
    act("rope", "take", false);
    ASSERT_TRUE(until([](Content& c) { return state(c, "rope") == "inventory_rope"; }));
    expect_notice("Rope");
    ASSERT_TRUE(idle());
    expect_bar({"rope"});
    close_bar();

    // the purse, for the coins
    act("purse", "look", false);
    ASSERT_TRUE(until([](Content& c) { return state(c, "purse") == "found"; }));
    ASSERT_TRUE(idle());
    act("purse", "take", false);
    ASSERT_TRUE(until([](Content& c) { return state(c, "purse") == "gone"; }));
    ASSERT_TRUE(idle());

    // Ferran, line by line: the lamp, the hook, the coins
    act("ferran", "move", false);
    choose("What happened to the lamp?", false, true);
    choose("Could you lend me a hook?", false);
    choose("Here are two coins.", false);
    ASSERT_TRUE(talk_until(
        [](Content& c) {
            return top(c) == Status::IDLE && !c.request<Component::Base>(Key::game_current_dialog) &&
                   state(c, "hook") == "inventory_hook";
        },
        false))
        << "the talk did not end with the hook";
    EXPECT_EQ(coins(content()), 1);
    expect_notice("Hook");
    ASSERT_TRUE(idle());

    // the rope carried on the cursor onto the hook
    expect_bar({"rope", "hook"});
    from_bar("rope", "combine");
    ASSERT_TRUE(until(
        [](Content& c) {
            auto carried = c.request<Component::Image>("Selected_object", "image");
            return c.get<Text>(Key::cursor_state)->value() == "selected" && carried &&
                   carried->on();
        },
        10))
        << "the rope is not on the cursor";
    input.mouse_motion(700, 500);
    input.run(2);
    {
        auto carried = content().get<Component::Image>("Selected_object", "image");
        EXPECT_DOUBLE_EQ(carried->scale(), 0.28);
        EXPECT_EQ(content().get<Component::Position>("Selected_object", "position")->value(),
                  Point(700, 500))
            << "the carried item follows the cursor";
        const auto box = Sdl_input::drawn_box(content(), "Selected_object");
        ASSERT_TRUE(box);
        EXPECT_TRUE(box->x <= 700 + box->w && box->x + box->w >= 700 && box->y <= 500 + box->h &&
                    box->y + box->h >= 500)
            << "the carried item is drawn at the cursor";
    }
    expect_bar({"rope", "hook"});
    ASSERT_TRUE(input.click_on("hook"));
    ASSERT_TRUE(until([](Content& c) { return state(c, "grapnel") == "inventory_grapnel"; }, 60))
        << "rope and hook made no grapnel";
    expect_notice("Grapnel");
    EXPECT_EQ(inventory(content()), std::vector<std::string>{"grapnel"});
    close_bar();
    EXPECT_NE(content().get<Text>(Key::cursor_state)->value(), "selected");
    EXPECT_FALSE(content().request<Component::Base>("Selected_object", "image"));

    // the grapnel used on the floating crate, chosen in the bar the crate opens
    ASSERT_TRUE(walk(Point(1100, 850), false));
    act("crate", "inventory", false);
    ASSERT_EQ(top(content()), Status::OBJECT);
    expect_bar({"grapnel"}, true);
    ASSERT_TRUE(input.click_on("grapnel"));
    ASSERT_TRUE(until([](Content& c) { return state(c, "crate") == "ashore"; }))
        << "the crate did not come ashore";
    ASSERT_TRUE(idle());
    act("crate", "move", false);
    ASSERT_TRUE(until([](Content& c) { return state(c, "key") == "inventory_key"; }));
    expect_notice("Key");
    ASSERT_TRUE(idle());

    // the key carried to the door
    ASSERT_TRUE(walk(Point(2450, 760), false));
    expect_bar({"key"});
    from_bar("key", "combine");
    ASSERT_TRUE(until([](Content& c) { return c.get<Text>(Key::cursor_state)->value() == "selected"; },
                      10));
    ASSERT_TRUE(input.click_on("tower_door"));
    ASSERT_TRUE(until([](Content& c) { return state(c, "tower_door") == "open"; }))
        << "the key did not open the door";
    ASSERT_TRUE(idle());
    EXPECT_EQ(state(content(), "tower_entrance"), "open");

    // in through the doorway: a walk-to, its label with the arrow to the right
    ASSERT_TRUE(input.hover_on("tower_entrance"));
    ASSERT_TRUE(until([](Content& c) { return c.get<Text>(Key::cursor_state)->value() == "goto_right"; },
                      10));
    ASSERT_TRUE(input.click_on("tower_entrance"));
    ASSERT_TRUE(until([](Content& c) {
        return text(c, "Game", "current_room") == "tower" && top(c) == Status::IDLE;
    }))
        << "the doorway did not lead in";

    // the note's window grows in and a click closes it
    act("note", "look", false);
    ASSERT_TRUE(until([](Content& c) { return top(c) == Status::IN_WINDOW; }));
    EXPECT_EQ(content().get<Component::Image>(Key::game_window)->entity(), "note_sheet");
    ASSERT_TRUE(window_grown()) << "the note did not grow to its size";
    {
        const auto points = Orvane::Test::probes(
            drawn(), "note_sheet", Orvane::Test::Picture("images/windows/note_sheet.png"), 6);
        EXPECT_GE(points.size(), 2u);
        Orvane::Test::expect_probes(Orvane::Test::Screen(), points);
    }
    input.mouse_button(SDL_BUTTON_LEFT, true, 960, 540);
    input.mouse_button(SDL_BUTTON_LEFT, false, 960, 540);
    ASSERT_TRUE(until([](Content& c) {
        auto window = c.get<Component::Image>(Key::game_window);
        return top(c) == Status::IDLE && (!window->on() || window->scale() == 0);
    },
                      30))
        << "the note did not close";
    ASSERT_TRUE(idle());

    // the code box: the hover mark in Mara's colour over a button, a wrong code, the right one
    act("code_box", "move", false);
    ASSERT_TRUE(until([](Content& c) { return top(c) == Status::IN_CODE; }))
        << "the box did not show its lock";
    ASSERT_TRUE(window_grown());
    const Point triangle = button_at("triangle");
    const Point corner = triangle - Vector(80, 80);
    const Point probe = corner + Vector(8, 8); // clear of the cursor at the button's middle
    input.mouse_motion(100, 100); // off the keypad: no mark yet
    input.run(2);
    ASSERT_FALSE(content().request<Component::Base>(Key::code_hover_image));
    const Orvane::Test::Rgb unmarked = Orvane::Test::Screen().at(probe.X(), probe.Y());
    input.mouse_motion(triangle.X(), triangle.Y());
    ASSERT_TRUE(until([](Content& c) { return c.request<Component::Base>(Key::code_hover_image) != nullptr; },
                      10))
        << "no hover mark";
    input.run(1);
    {
        const auto box = Sdl_input::drawn_box(content(), "Code_hover");
        ASSERT_TRUE(box);
        EXPECT_EQ(box->x, corner.X());
        EXPECT_EQ(box->y, corner.Y());
        EXPECT_EQ(box->w, 160);
        EXPECT_EQ(box->h, 160);
        const Orvane::Test::Rgb marked = Orvane::Test::Screen().at(probe.X(), probe.Y());
        const Orvane::Test::Rgb half{(unmarked.r * 127 + raincoat.r * 128) / 255,
                                      (unmarked.g * 127 + raincoat.g * 128) / 255,
                                      (unmarked.b * 127 + raincoat.b * 128) / 255};
        EXPECT_TRUE(near(marked, half, 3)) << "half Mara's colour over the button: (" << marked.r
                                           << ", " << marked.g << ", " << marked.b << ")";
    }
    input.mouse_motion(100, 100);
    ASSERT_TRUE(until([](Content& c) { return !c.request<Component::Base>(Key::code_hover_image); },
                      10))
        << "the mark stays after the pointer left the keypad";
    crack_the_lock(false);

    // up through the hatch; the lamp offers its verbs, and is left unlit
    ASSERT_TRUE(input.hover_on("hatch"));
    ASSERT_TRUE(until([](Content& c) { return c.get<Text>(Key::cursor_state)->value() == "goto_right"; },
                      10));
    ASSERT_TRUE(input.click_on("hatch"));
    const Point hatch = content().get<Component::Position>("hatch", "view")->value();
    ASSERT_TRUE(until([&](Content& c) {
        const Point m = mara(c);
        return std::hypot(m.x() - hatch.x(), m.y() - hatch.y()) < 6 && top(c) == Status::IDLE;
    }))
        << "Mara did not climb to the hatch";
    ASSERT_TRUE(input.click_on("lamp"));
    ASSERT_TRUE(until([](Content& c) { return top(c) == Status::ACTION; }, 10));
    ASSERT_TRUE(until([](Content& c) { return Sdl_input::point_of(c, "lamp_move_label_back").has_value(); },
                      60))
        << "the lamp offers no use";
    input.mouse_button(SDL_BUTTON_LEFT, true, 200, 700);
    input.mouse_button(SDL_BUTTON_LEFT, false, 200, 700);
    ASSERT_TRUE(until([](Content& c) { return top(c) == Status::IDLE; }, 10));
    EXPECT_EQ(state(content(), "lamp"), "off");
}

TEST_F(Interface_play, FerranTheDoorwayAndTheCodeBoxByTouch) {
    const auto view = [&](const std::string& id) {
        return content().get<Component::Position>(id, "view")->value();
    };

    // Ferran by touch: the lamp, then goodbye
    ASSERT_TRUE(walk(view("ferran"), true));
    ASSERT_TRUE(until([](Content& c) { return listed(c, "ferran"); }, 30));
    act("ferran", "move", true);
    choose("What happened to the lamp?", true);
    choose("Goodbye.", true);
    ASSERT_TRUE(talk_until(
        [](Content& c) {
            return top(c) == Status::IDLE && !c.request<Component::Base>(Key::game_current_dialog);
        },
        true))
        << "the talk did not end";
    ASSERT_TRUE(idle());

    // the door opened as the key would, then the doorway touched from beside it
    content().set<Text>(Key::test_console_action, "set tower_door open");
    input.run(1);
    content().set<Text>(Key::test_console_action, "set tower_entrance open");
    input.run(1);
    ASSERT_EQ(state(content(), "tower_entrance"), "open");
    ASSERT_TRUE(walk(view("tower_entrance"), true));
    ASSERT_TRUE(until([](Content& c) { return listed(c, "tower_entrance"); }, 30));
    ASSERT_TRUE(input.touch_on("tower_entrance"));
    ASSERT_TRUE(until([](Content& c) {
        return text(c, "Game", "current_room") == "tower" && top(c) == Status::IDLE;
    }))
        << "the doorway did not lead in";

    // the labels of what is within reach, at their laid-out points, keep apart on screen
    auto apart = [&](const char* where) {
        SCOPED_TRACE(where);
        input.run(30); // the labels come in
        auto listed = content().request<Component::Vector<std::string>>(Key::interface_active_objects);
        ASSERT_TRUE(listed) << "nothing within reach";
        const std::vector<std::string> list = listed->value();
        std::string names;
        for (const auto& id : list)
            names += id + " ";
        SCOPED_TRACE("within reach: " + names);
        std::vector<std::pair<std::string, SDL_Rect>> boxes;
        for (const std::string& id : list)
            if (auto box = Sdl_input::drawn_box(content(), id + "_label_back"))
                boxes.emplace_back(id, *box);
        EXPECT_GE(boxes.size(), 2u) << "too few labels within reach to tell";
        for (std::size_t i = 0; i < boxes.size(); ++i)
            for (std::size_t j = i + 1; j < boxes.size(); ++j)
                EXPECT_FALSE(overlap(boxes[i].second, boxes[j].second))
                    << boxes[i].first << " and " << boxes[j].first << " overlap";
    };
    // nothing is listed before the first touch of the room
    EXPECT_FALSE(content().request<Component::Base>(Key::interface_active_objects));
    ASSERT_TRUE(walk(Point(710, 780), true));
    apart("between the note and the code box");

    // the code box by touch
    ASSERT_TRUE(walk(view("code_box"), true));
    ASSERT_TRUE(until([](Content& c) { return listed(c, "code_box"); }, 30));
    act("code_box", "move", true);
    ASSERT_TRUE(until([](Content& c) { return top(c) == Status::IN_CODE; }))
        << "the box did not show its lock";
    ASSERT_TRUE(window_grown());
    crack_the_lock(true);

    // up the stair: the hatch and the lamp, whose label points overlap in the data
    ASSERT_TRUE(walk(view("hatch"), true));
    apart("under the lamp");
    EXPECT_TRUE(listed(content(), "hatch"));
    EXPECT_TRUE(listed(content(), "lamp"));
}

} // namespace
