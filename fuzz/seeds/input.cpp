// Writes seeds for fuzz_input: short plays of the sample game's quay, frame by frame, in the
// input byte format: the opening skipped by key, Back key and controller; walking, clicking and
// taking by mouse; tapping and fast-forwarding by finger; steering, switching, the verbs and the
// inventory by controller; the menus opened and walked; the window hidden and shown; the game
// quit. The fuzzer grows its corpus from these.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <Orvane/Config.h>

#include "support/Event_stream.h"

using namespace Orvane;
using Test::Event_stream_writer;

namespace {

// A play being written: events in the current frame, frames passing.
struct Play {
    Event_stream_writer out;

    void key(Event_value key) {
        out.event(Event(Event_type::KEY_DOWN, key, -1, -1));
        out.frame();
        out.event(Event(Event_type::KEY_UP, key, -1, -1));
        out.frame();
    }
    void button(Event_value button) {
        out.event(Event(Event_type::BUTTON_DOWN, button, -1, -1));
        out.frame();
        out.event(Event(Event_type::BUTTON_UP, button, -1, -1));
        out.frame();
    }
    void click(int x, int y, Event_value button = Event_value::LEFT) {
        out.event(Event(Event_type::MOUSE_MOVE, Event_value::NONE, x, y));
        out.frame();
        out.event(Event(Event_type::MOUSE_DOWN, button, x, y));
        out.frame();
        out.event(Event(Event_type::MOUSE_UP, button, x, y));
        out.frame();
    }
    void tap(int x, int y, int held = 1) {
        out.event(Event(Event_type::TOUCH_DOWN, Event_value::LEFT, x, y));
        out.wait(held);
        out.event(Event(Event_type::TOUCH_UP, Event_value::LEFT, x, y));
        out.frame();
    }
    // The left stick held at (dx, dy) (-32768 to 32767) for `frames`, then let go.
    void stick(int dx, int dy, int frames) {
        out.event(Event(Event_type::STICK_MOVE, Event_value::LEFT, dx, Config::no_value));
        out.event(Event(Event_type::STICK_MOVE, Event_value::LEFT, Config::no_value, dy));
        out.wait(frames);
        out.event(Event(Event_type::STICK_MOVE, Event_value::LEFT, 0, Config::no_value));
        out.event(Event(Event_type::STICK_MOVE, Event_value::LEFT, Config::no_value, 0));
        out.frame();
    }
    void window(Event_value what) {
        out.event(Event(Event_type::WINDOW, what, -1, -1));
        out.frame();
    }
    void wait(int frames) { out.wait(frames); }
    // A click, or a tap on a touch screen.
    void point(int x, int y, bool by_touch) {
        if (by_touch)
            tap(x, y);
        else
            click(x, y);
    }

    // The opening skipped twice with `key` pressed as a key or a controller button, then the
    // room settled.
    void skip_opening(Event_value skip, bool on_controller) {
        wait(30);
        for (int i = 0; i < 2; ++i) {
            if (on_controller)
                button(skip);
            else
                key(skip);
            wait(20);
        }
        wait(90);
    }
};

// Scene points of the quay (its view at the start): the ground, the rope on its bollard, the
// crate, Ferran, the purse's corner, the tower door.
constexpr int ground_x = 1100, ground_y = 960;
constexpr int rope_x = 1700, rope_y = 620;
constexpr int crate_x = 820, crate_y = 760;
constexpr int ferran_x = 1900, ferran_y = 700;

// A walk on the ground, then the rope's verbs opened and its take verb chosen.
void walk_and_take_rope(Play& play, bool by_touch) {
    play.point(ground_x, ground_y, by_touch);
    play.wait(90);
    play.point(rope_x, rope_y, by_touch);
    play.wait(30);
    // the verbs open on the rope: its take verb sits about its label
    play.point(rope_x, rope_y - 110, by_touch);
    play.wait(240);
}

std::vector<std::pair<std::string, Play>> plays() {
    std::vector<std::pair<std::string, Play>> all;

    Play escape;
    escape.skip_opening(Event_value::ESCAPE, false);
    all.emplace_back("skip_opening", escape);

    Play mouse = escape;
    walk_and_take_rope(mouse, false);
    mouse.click(crate_x, crate_y);
    mouse.wait(30);
    mouse.click(crate_x + 120, crate_y - 60);
    mouse.wait(120);
    mouse.click(ferran_x, ferran_y);
    mouse.wait(30);
    mouse.click(ferran_x, ferran_y - 120);
    mouse.wait(300);
    // dialog lines sit at the bottom of the view
    for (int line = 0; line < 3; ++line) {
        mouse.click(400, 860 + 60 * line);
        mouse.wait(200);
    }
    mouse.click(ground_x, ground_y, Event_value::RIGHT);
    mouse.wait(60);
    all.emplace_back("mouse_walk_take_talk", mouse);

    Play menus = escape;
    // Escape in play opens the exit page; its entries are clicked and left
    menus.key(Event_value::ESCAPE);
    menus.wait(30);
    for (int y = 300; y <= 900; y += 150) {
        menus.click(960, y);
        menus.wait(40);
    }
    menus.key(Event_value::ESCAPE);
    menus.wait(30);
    menus.key(Event_value::ESCAPE);
    menus.wait(30);
    menus.key(Event_value::DOWN_ARROW);
    menus.key(Event_value::DOWN_ARROW);
    menus.key(Event_value::ENTER);
    menus.wait(60);
    menus.key(Event_value::ESCAPE);
    menus.wait(60);
    all.emplace_back("mouse_menus", menus);

    Play touch;
    touch.skip_opening(Event_value::ANDROID_BACK, false);
    walk_and_take_rope(touch, true);
    // fast-forward from the top-right corner, held
    touch.tap(Config::world_width - 20, 20, 90);
    touch.tap(ferran_x, ferran_y);
    touch.wait(60);
    touch.key(Event_value::ANDROID_BACK);
    touch.wait(30);
    touch.tap(960, 540);
    touch.wait(60);
    all.emplace_back("touch", touch);

    Play pad;
    pad.out.event(Event(Event_type::NEW_GAMEPAD, Event_value::NONE, 0, -1));
    pad.skip_opening(Event_value::START, true);
    pad.stick(30000, 0, 60);
    pad.wait(20);
    for (Event_value b : {Event_value::RIGHT_SHOULDER, Event_value::RIGHT_SHOULDER,
                          Event_value::EAST, Event_value::WEST}) {
        pad.button(b);
        pad.wait(10);
    }
    pad.wait(200);
    pad.button(Event_value::SOUTH);
    pad.wait(30);
    pad.button(Event_value::RIGHT_ARROW);
    pad.button(Event_value::LEFT_ARROW);
    pad.button(Event_value::EAST);
    pad.wait(200);
    pad.stick(-30000, -20000, 90);
    pad.button(Event_value::START);
    pad.wait(30);
    for (Event_value b : {Event_value::DOWN_ARROW, Event_value::DOWN_ARROW, Event_value::SOUTH,
                          Event_value::DOWN_ARROW, Event_value::SOUTH, Event_value::EAST,
                          Event_value::EAST}) {
        pad.button(b);
        pad.wait(15);
    }
    // both shoulders held: fast-forward
    pad.out.event(Event(Event_type::BUTTON_DOWN, Event_value::LEFT_SHOULDER, -1, -1));
    pad.out.event(Event(Event_type::BUTTON_DOWN, Event_value::RIGHT_SHOULDER, -1, -1));
    pad.wait(60);
    pad.out.event(Event(Event_type::BUTTON_UP, Event_value::LEFT_SHOULDER, -1, -1));
    pad.out.event(Event(Event_type::BUTTON_UP, Event_value::RIGHT_SHOULDER, -1, -1));
    pad.out.event(Event(Event_type::GAMEPAD_REMOVED, Event_value::NONE, 0, -1));
    pad.wait(30);
    all.emplace_back("controller", pad);

    Play hidden = escape;
    hidden.window(Event_value::BACKGROUND);
    hidden.click(ground_x, ground_y);
    hidden.button(Event_value::SOUTH);
    hidden.wait(60);
    hidden.window(Event_value::FOREGROUND);
    hidden.wait(30);
    hidden.click(ground_x, ground_y);
    hidden.wait(60);
    hidden.window(Event_value::EXIT);
    hidden.wait(30);
    all.emplace_back("window_hidden_shown_quit", hidden);

    return all;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::absolute(argv[1]);
    std::filesystem::create_directories(folder);
    for (const auto& [name, play] : plays()) {
        const auto& bytes = play.out.bytes();
        std::ofstream(folder / (name + ".events"), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    return 0;
}
