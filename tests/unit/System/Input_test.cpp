#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/System/Input.h>

#include "support/Event_feed.h"
#include "support/Input_store.h"

namespace {

using namespace Orvane;
using S = Orvane::Status;
using T = Event_type;
using V = Event_value;

Event ev(T type, V value, int x = -1, int y = -1) { return Event(type, value, x, y); }

// The signals the input system may emit; a case lists the ones it expects, all others must be
// absent.
const std::vector<std::string> watched = {
    "Cursor:clicked",  "Game:escape",           "Game:exit",        "Game:skip_dialog",
    "Time:speedup",    "Time:speedup_wanted",   "Window:rescaled",  "Window:toggle_fullscreen",
    "Input_mode:changed", "Action:move",        "Action:take",      "Action:look",
    "Action:inventory", "Stick:moved"};

std::set<std::string> present_signals(const Content& content) {
    std::set<std::string> present;
    for (const std::string& key : watched) {
        const auto colon = key.find(':');
        if (content.signal(key.substr(0, colon), key.substr(colon + 1)))
            present.insert(key);
    }
    return present;
}

std::string join(const std::set<std::string>& names) {
    std::string out;
    for (const std::string& n : names)
        out += n + " ";
    return out;
}

// The input system over a bare store and fed events, without SDL.
struct Input_world {
    explicit Input_world(S top = S::IDLE, Input_mode mode = Input_mode::MOUSE)
        : status(Orvane::Test::fill_input_store(content, top, mode)), input(content) {}

    void frame(const std::vector<Event>& events) {
        for (const Event& e : events)
            feed.push(e);
        input.run();
    }
    Point cursor() const {
        return content.value<Component::Position>(Fast_access_component::CURSOR_POSITION);
    }

    Orvane::Test::Event_feed feed;
    Content content;
    std::shared_ptr<Component::Status> status;
    System::Input input;
};

struct Frame_case {
    const char* name;
    S status;
    Input_mode mode;
    std::vector<Event> events;
    std::set<std::string> signals;
    Point cursor;
    std::vector<V> held;
    Input_mode mode_after;
    S top_after;
    std::size_t depth_after;
};

const std::vector<Frame_case> frame_cases = {
    {"unused events are dropped and count for nothing", S::IDLE, Input_mode::TOUCHSCREEN,
     {ev(T::UNUSED, V::NONE), ev(T::UNUSED, V::LEFT, 5, 5)}, {}, {0, 0}, {},
     Input_mode::TOUCHSCREEN, S::IDLE, 1},
    {"mouse motion alone moves the cursor but never switches", S::IDLE, Input_mode::TOUCHSCREEN,
     {ev(T::MOUSE_MOVE, V::NONE, 30, 40)}, {}, {30, 40}, {}, Input_mode::TOUCHSCREEN, S::IDLE, 1},
    {"a mouse press switches to the mouse and clicks", S::IDLE, Input_mode::TOUCHSCREEN,
     {ev(T::MOUSE_DOWN, V::LEFT, 100, 200)}, {"Input_mode:changed", "Cursor:clicked"},
     {100, 200}, {}, Input_mode::MOUSE, S::IDLE, 1},
    {"a mouse release alone switches too", S::IDLE, Input_mode::GAMEPAD,
     {ev(T::MOUSE_UP, V::LEFT, 100, 200)}, {"Input_mode:changed"}, {0, 0}, {}, Input_mode::MOUSE,
     S::IDLE, 1},
    {"controller, touch and click in one idle frame give the controller", S::IDLE,
     Input_mode::MOUSE,
     {ev(T::BUTTON_DOWN, V::NORTH), ev(T::TOUCH_DOWN, V::LEFT, 500, 500),
      ev(T::MOUSE_DOWN, V::LEFT, 600, 600)},
     {"Input_mode:changed", "Action:move"}, {0, 0}, {V::NORTH}, Input_mode::GAMEPAD, S::IDLE, 1},
    {"a touch in a cutscene switches to touch but clicks nothing", S::CUTSCENE, Input_mode::MOUSE,
     {ev(T::TOUCH_DOWN, V::LEFT, 500, 500)}, {"Input_mode:changed"}, {0, 0}, {},
     Input_mode::TOUCHSCREEN, S::CUTSCENE, 2},
    {"a click in a dialog under the controller keeps the controller", S::DIALOG,
     Input_mode::GAMEPAD, {ev(T::MOUSE_DOWN, V::LEFT, 600, 600)}, {}, {0, 0}, {},
     Input_mode::GAMEPAD, S::DIALOG, 2},
    {"the same mode again is no change", S::IDLE, Input_mode::MOUSE,
     {ev(T::MOUSE_DOWN, V::LEFT, 7, 8)}, {"Cursor:clicked"}, {7, 8}, {}, Input_mode::MOUSE,
     S::IDLE, 1},
    {"a touch in the corner speeds up and is no click", S::IDLE, Input_mode::TOUCHSCREEN,
     {ev(T::TOUCH_DOWN, V::LEFT, 1771, 149)}, {"Time:speedup", "Time:speedup_wanted"}, {0, 0}, {},
     Input_mode::TOUCHSCREEN, S::IDLE, 1},
    {"a touch left of the corner is a click", S::IDLE, Input_mode::TOUCHSCREEN,
     {ev(T::TOUCH_DOWN, V::LEFT, 1770, 149)}, {"Cursor:clicked"}, {1770, 149}, {},
     Input_mode::TOUCHSCREEN, S::IDLE, 1},
    {"a touch under the corner is a click", S::IDLE, Input_mode::TOUCHSCREEN,
     {ev(T::TOUCH_DOWN, V::LEFT, 1771, 150)}, {"Cursor:clicked"}, {1771, 150}, {},
     Input_mode::TOUCHSCREEN, S::IDLE, 1},
    {"a touch release ends the corner's speed-up", S::IDLE, Input_mode::TOUCHSCREEN,
     {ev(T::TOUCH_DOWN, V::LEFT, 1800, 100), ev(T::TOUCH_UP, V::LEFT, 1800, 100)}, {}, {0, 0},
     {}, Input_mode::TOUCHSCREEN, S::IDLE, 1},
    {"a right press in a locked scene skips the line", S::LOCKED, Input_mode::MOUSE,
     {ev(T::MOUSE_DOWN, V::RIGHT, 10, 10)}, {"Game:skip_dialog"}, {0, 0}, {}, Input_mode::MOUSE,
     S::LOCKED, 2},
    {"face buttons and a released space skip a line", S::LOCKED, Input_mode::GAMEPAD,
     {ev(T::BUTTON_DOWN, V::EAST)}, {"Game:skip_dialog"}, {0, 0}, {V::EAST}, Input_mode::GAMEPAD,
     S::LOCKED, 2},
    {"a left click in a locked scene is no click", S::LOCKED, Input_mode::MOUSE,
     {ev(T::MOUSE_DOWN, V::LEFT, 10, 10)}, {}, {0, 0}, {}, Input_mode::MOUSE, S::LOCKED, 2},
    {"escape, the back key, start and select escape", S::IDLE, Input_mode::MOUSE,
     {ev(T::KEY_UP, V::ESCAPE)}, {"Game:escape"}, {0, 0}, {}, Input_mode::MOUSE, S::IDLE, 1},
    {"start released escapes", S::DIALOG, Input_mode::MOUSE, {ev(T::BUTTON_UP, V::START)},
     {"Game:escape"}, {0, 0}, {}, Input_mode::MOUSE, S::DIALOG, 2},
    {"a released space escapes a cutscene", S::CUTSCENE, Input_mode::MOUSE,
     {ev(T::KEY_DOWN, V::SPACE), ev(T::KEY_UP, V::SPACE)}, {"Game:escape"}, {0, 0}, {},
     Input_mode::MOUSE, S::CUTSCENE, 2},
    {"a released space escapes nothing in play", S::IDLE, Input_mode::MOUSE,
     {ev(T::KEY_DOWN, V::SPACE), ev(T::KEY_UP, V::SPACE)}, {}, {0, 0}, {}, Input_mode::MOUSE,
     S::IDLE, 1},
    {"two backgrounds push the pause once", S::IDLE, Input_mode::MOUSE,
     {ev(T::WINDOW, V::BACKGROUND), ev(T::WINDOW, V::BACKGROUND)}, {}, {0, 0}, {},
     Input_mode::MOUSE, S::PAUSE, 2},
    {"the foreground pops the pause", S::PAUSE, Input_mode::MOUSE,
     {ev(T::WINDOW, V::FOREGROUND)}, {}, {0, 0}, {}, Input_mode::MOUSE, S::IDLE, 1},
    {"the foreground over another status changes nothing", S::DIALOG, Input_mode::MOUSE,
     {ev(T::WINDOW, V::FOREGROUND)}, {}, {0, 0}, {}, Input_mode::MOUSE, S::DIALOG, 2},
    {"paused: resize, Alt+Enter and clicks ignored, escape and exit not", S::PAUSE,
     Input_mode::MOUSE,
     {ev(T::KEY_DOWN, V::ALT), ev(T::KEY_UP, V::ENTER), ev(T::WINDOW, V::RESIZED, 800, 600),
      ev(T::MOUSE_DOWN, V::LEFT, 5, 5), ev(T::KEY_UP, V::ESCAPE), ev(T::WINDOW, V::EXIT)},
     {"Game:escape", "Game:exit"}, {0, 0}, {V::ALT}, Input_mode::MOUSE, S::PAUSE, 2},
    {"a resize sets the window size", S::IDLE, Input_mode::MOUSE,
     {ev(T::WINDOW, V::RESIZED, 800, 600)}, {"Window:rescaled"}, {0, 0}, {}, Input_mode::MOUSE,
     S::IDLE, 1},
    {"Alt+Enter toggles full screen", S::IDLE, Input_mode::MOUSE,
     {ev(T::KEY_DOWN, V::ALT), ev(T::KEY_DOWN, V::ENTER), ev(T::KEY_UP, V::ENTER)},
     {"Window:toggle_fullscreen"}, {0, 0}, {V::ALT}, Input_mode::MOUSE, S::IDLE, 1},
    {"Enter released before Alt is pressed toggles nothing", S::IDLE, Input_mode::MOUSE,
     {ev(T::KEY_DOWN, V::ENTER), ev(T::KEY_UP, V::ENTER), ev(T::KEY_DOWN, V::ALT)}, {}, {0, 0},
     {V::ALT}, Input_mode::MOUSE, S::IDLE, 1},
    {"a key released is no longer held", S::IDLE, Input_mode::MOUSE,
     {ev(T::KEY_DOWN, V::A), ev(T::KEY_DOWN, V::F12), ev(T::KEY_UP, V::A)}, {}, {0, 0}, {V::F12},
     Input_mode::MOUSE, S::IDLE, 1},
};

TEST(InputTest, OneFrameOfEvents) {
    for (const Frame_case& c : frame_cases) {
        SCOPED_TRACE(c.name);
        Input_world w(c.status, c.mode);
        w.frame(c.events);
        EXPECT_EQ(w.feed.pending(), 0u) << "one run drains every pending event";
        const auto signals = present_signals(w.content);
        EXPECT_EQ(signals, c.signals) << "expected: " << join(c.signals)
                                      << "\ngot: " << join(signals);
        EXPECT_EQ(w.cursor(), c.cursor)
            << "cursor at (" << w.cursor().x() << ", " << w.cursor().y() << ")";
        for (int v = 0; v < int(System::Input::number_of_keys); ++v) {
            const bool expected =
                std::find(c.held.begin(), c.held.end(), static_cast<V>(v)) != c.held.end();
            EXPECT_EQ(w.input.key(static_cast<V>(v)), expected) << "key flag " << v;
        }
        EXPECT_EQ(Orvane::Test::input_mode(w.content), c.mode_after);
        EXPECT_EQ(w.status->value(), c.top_after);
        EXPECT_EQ(w.status->size(), c.depth_after);
    }
}

TEST(InputTest, SettingTheModeMarksItAlteredEvenWhenUnchanged) {
    Input_world w(S::IDLE, Input_mode::MOUSE);
    auto mode = w.content.request<Component::Simple<Input_mode>>(
        Fast_access_component::INTERFACE_INPUT_MODE);
    mode->mark_as_unaltered();
    w.frame({ev(T::MOUSE_MOVE, V::NONE, 1, 1)});
    EXPECT_FALSE(mode->was_altered()) << "motion sets no mode";
    w.frame({ev(T::MOUSE_DOWN, V::LEFT, 1, 1)});
    EXPECT_TRUE(mode->was_altered());
    EXPECT_FALSE(w.content.signal("Input_mode", "changed"));
}

TEST(InputTest, WindowEventsWriteTheSettings) {
    Input_world w;
    w.frame({ev(T::WINDOW, V::RESIZED, 800, 600)});
    auto width = w.content.get<Component::Simple<int>>("Window", "width");
    auto height = w.content.get<Component::Simple<int>>("Window", "height");
    EXPECT_EQ(width->value(), 800);
    EXPECT_EQ(height->value(), 600);
    EXPECT_TRUE(width->was_altered());
    EXPECT_TRUE(height->was_altered());

    auto fullscreen = w.content.get<Component::Boolean>("Window", "fullscreen");
    w.frame({ev(T::KEY_DOWN, V::ALT), ev(T::KEY_UP, V::ENTER)});
    EXPECT_TRUE(fullscreen->value());
    w.frame({ev(T::KEY_UP, V::ENTER)});
    EXPECT_FALSE(fullscreen->value()) << "Alt is still held from the last frame";
    w.frame({ev(T::KEY_UP, V::ALT), ev(T::KEY_UP, V::ENTER)});
    EXPECT_FALSE(fullscreen->value());
}

TEST(InputTest, ARoomEntryReleasesEveryKey) {
    Input_world w(S::IDLE, Input_mode::GAMEPAD);
    w.frame({ev(T::BUTTON_DOWN, V::LEFT_SHOULDER), ev(T::KEY_DOWN, V::ALT),
             ev(T::STICK_MOVE, V::LEFT, 32767, Config::no_value)});
    ASSERT_TRUE(w.input.key(V::ALT));
    w.content.emit("Game", "in_new_room");
    w.frame({});
    EXPECT_FALSE(w.input.key(V::ALT));
    EXPECT_FALSE(w.input.key(V::LEFT_SHOULDER));
    EXPECT_EQ(w.input.stick(), Vector(32767 / 32767.5, 0)) << "the stick keeps its values";
}

TEST(InputTest, ControllerActivityIsNoted) {
    Input_world w(S::IDLE, Input_mode::GAMEPAD);
    auto latest =
        w.content.request<Component::Simple<double>>(Fast_access_component::CLOCK_LATEST_ACTIVE);
    Orvane::Test::set_clock_time(w.content, 3.0);
    w.frame({});
    EXPECT_EQ(latest->value(), 0.0) << "nothing pressed, the stick at rest";
    w.frame({ev(T::BUTTON_DOWN, V::WEST)});
    EXPECT_EQ(latest->value(), 3.0);
    w.frame({ev(T::STICK_MOVE, V::LEFT, 32767, Config::no_value)});
    Orvane::Test::set_clock_time(w.content, 4.0);
    w.frame({});
    EXPECT_EQ(latest->value(), 4.0) << "a stick held away from rest is activity";
}

// Fast-forward by holding, with the time set by hand.
struct Hold_case {
    const char* name;
    S status;
    Input_mode mode;
    Event press;
    Event release;
    double held_seconds;
    int first_frame_on; // -1: never on
    bool escape_on_release;
};

TEST(InputTest, FastForwardByHolding) {
    const std::vector<Hold_case> cases = {
        {"space 0.05 s", S::IDLE, Input_mode::MOUSE, ev(T::KEY_DOWN, V::SPACE),
         ev(T::KEY_UP, V::SPACE), 0.05, -1, false},
        {"space 0.05 s in a cutscene", S::CUTSCENE, Input_mode::MOUSE, ev(T::KEY_DOWN, V::SPACE),
         ev(T::KEY_UP, V::SPACE), 0.05, -1, true},
        {"space 0.2 s", S::IDLE, Input_mode::MOUSE, ev(T::KEY_DOWN, V::SPACE),
         ev(T::KEY_UP, V::SPACE), 0.2, 7, false},
        {"right button 0.2 s", S::IDLE, Input_mode::MOUSE, ev(T::MOUSE_DOWN, V::RIGHT, 5, 5),
         ev(T::MOUSE_UP, V::RIGHT, 5, 5), 0.2, 7, false},
        {"space 0.2 s in a cutscene", S::CUTSCENE, Input_mode::MOUSE, ev(T::KEY_DOWN, V::SPACE),
         ev(T::KEY_UP, V::SPACE), 0.2, 7, true},
    };
    for (const Hold_case& c : cases) {
        SCOPED_TRACE(c.name);
        Input_world w(c.status, c.mode);
        const int release_frame = int(c.held_seconds * 60 + 0.5);
        for (int frame = 0; frame <= release_frame; ++frame) {
            Orvane::Test::set_clock_time(w.content, frame / 60.0);
            std::vector<Event> events;
            if (frame == 0)
                events.push_back(c.press);
            if (frame == release_frame)
                events.push_back(c.release);
            w.content.receive("Game", "escape");
            w.frame(events);
            const bool on = w.content.signal("Time", "speedup");
            EXPECT_EQ(w.content.signal("Time", "speedup_wanted"), on) << "frame " << frame;
            const bool expected = c.first_frame_on >= 0 && frame >= c.first_frame_on &&
                                  frame < release_frame;
            EXPECT_EQ(on, expected) << "frame " << frame;
        }
        EXPECT_EQ(w.content.signal("Game", "escape"), c.escape_on_release);
        EXPECT_FALSE(w.content.request<Component::Base>("Skip_or_speed", "time"));
    }
}

TEST(InputTest, BothShouldersHoldTheSpeedUp) {
    Input_world w(S::IDLE, Input_mode::GAMEPAD);
    w.frame({ev(T::BUTTON_DOWN, V::LEFT_SHOULDER)});
    EXPECT_FALSE(w.content.signal("Time", "speedup"));
    w.frame({ev(T::BUTTON_DOWN, V::RIGHT_SHOULDER)});
    EXPECT_TRUE(w.content.signal("Time", "speedup"));
    EXPECT_TRUE(w.content.signal("Time", "speedup_wanted"));
    w.frame({});
    EXPECT_TRUE(w.content.signal("Time", "speedup")) << "still held";
    w.frame({ev(T::BUTTON_UP, V::LEFT_SHOULDER)});
    EXPECT_FALSE(w.content.signal("Time", "speedup")) << "one released: off in that frame";
    EXPECT_FALSE(w.content.signal("Time", "speedup_wanted"));

    // in a cutscene the shoulders still rule the speed-up
    w.status->push(S::CUTSCENE);
    w.frame({ev(T::BUTTON_DOWN, V::LEFT_SHOULDER)});
    EXPECT_TRUE(w.content.signal("Time", "speedup"));
}

TEST(InputTest, SpaceHeldInControllerModeIsTurnedOffByTheSameFrame) {
    Input_world w(S::IDLE, Input_mode::GAMEPAD);
    w.frame({ev(T::KEY_DOWN, V::SPACE)});
    Orvane::Test::set_clock_time(w.content, 0.2);
    w.frame({});
    EXPECT_FALSE(w.content.request<Component::Base>("Skip_or_speed", "time"))
        << "the hold was taken";
    EXPECT_FALSE(w.content.signal("Time", "speedup")) << "and its speed-up turned off again";
    EXPECT_FALSE(w.content.signal("Time", "speedup_wanted"));
}

TEST(InputTest, ShoulderPressesAndFaceButtons) {
    Input_world w(S::IDLE, Input_mode::GAMEPAD);
    w.frame({ev(T::BUTTON_DOWN, V::RIGHT_SHOULDER)});
    EXPECT_TRUE(w.content.get<Component::Boolean>("Switch", "right")->value());
    w.frame({ev(T::BUTTON_DOWN, V::LEFT_SHOULDER)});
    EXPECT_FALSE(w.content.get<Component::Boolean>("Switch", "right")->value());

    w.frame({ev(T::BUTTON_DOWN, V::NORTH), ev(T::BUTTON_DOWN, V::WEST), ev(T::BUTTON_DOWN, V::EAST),
             ev(T::BUTTON_DOWN, V::SOUTH)});
    for (const char* signal : {"move", "take", "look", "inventory"})
        EXPECT_TRUE(w.content.signal("Action", signal)) << signal;

    // not in a cutscene
    for (const char* signal : {"move", "take", "look", "inventory"})
        w.content.receive("Action", signal);
    w.status->push(S::CUTSCENE);
    w.frame({ev(T::BUTTON_DOWN, V::NORTH)});
    EXPECT_FALSE(w.content.signal("Action", "move"));
}

// Stick and arrows, fed without a device: the direction of each frame and whether it moved.
TEST(InputTest, StickAndArrowsGiveTheDirection) {
    struct Step {
        const char* name;
        std::vector<Event> events;
        Vector direction;
        bool moved;
    };
    const int none = Config::no_value;
    const double d = 1 / std::sqrt(2.0);
    const std::vector<Step> steps = {
        {"x 16384: just past half", {ev(T::STICK_MOVE, V::LEFT, 16384, none)}, {1, 0}, true},
        {"the same direction again", {ev(T::STICK_MOVE, V::LEFT, 16390, none)}, {1, 0}, false},
        {"x 16383: just short of half", {ev(T::STICK_MOVE, V::LEFT, 16383, none)}, {0, 0}, true},
        {"the right stick is ignored", {ev(T::STICK_MOVE, V::RIGHT, 32767, none)}, {0, 0}, false},
        {"(0.4, 0.4)",
         {ev(T::STICK_MOVE, V::LEFT, 13107, none), ev(T::STICK_MOVE, V::LEFT, none, 13107)},
         {d, d},
         true},
        {"up and down held: down wins",
         {ev(T::BUTTON_DOWN, V::UP_ARROW), ev(T::BUTTON_DOWN, V::DOWN_ARROW)}, {0, 1}, true},
        {"down released: up", {ev(T::BUTTON_UP, V::DOWN_ARROW)}, {0, -1}, true},
        {"up released too: at rest", {ev(T::BUTTON_UP, V::UP_ARROW)}, {0, 0}, true},
        {"left and right held: right wins",
         {ev(T::BUTTON_DOWN, V::LEFT_ARROW), ev(T::BUTTON_DOWN, V::RIGHT_ARROW)}, {1, 0}, true},
        {"right released: left", {ev(T::BUTTON_UP, V::RIGHT_ARROW)}, {-1, 0}, true},
        {"the last released: at rest", {ev(T::BUTTON_UP, V::LEFT_ARROW)}, {0, 0}, true},
        {"keyboard arrows steer too", {ev(T::KEY_DOWN, V::UP_ARROW)}, {0, -1}, true},
        {"the arrow button released", {ev(T::KEY_UP, V::UP_ARROW), ev(T::BUTTON_UP, V::UP_ARROW)},
         {0, 0}, true},
        {"the stick's old values are gone", {}, {0, 0}, false},
    };
    Input_world w(S::IDLE, Input_mode::GAMEPAD);
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        w.content.receive("Stick", "moved");
        w.frame(s.events);
        const Vector got =
            w.content.value<Component::Simple<Vector>>(Fast_access_component::STICK_DIRECTION);
        EXPECT_NEAR(got.x(), s.direction.x(), 1e-4);
        EXPECT_NEAR(got.y(), s.direction.y(), 1e-4);
        EXPECT_EQ(w.content.signal("Stick", "moved"), s.moved);
    }
}

TEST(InputTest, TheDirectionHoldsStillInALockedScene) {
    Input_world w(S::LOCKED, Input_mode::GAMEPAD);
    w.frame({ev(T::BUTTON_DOWN, V::UP_ARROW)});
    EXPECT_EQ(w.content.value<Component::Simple<Vector>>(Fast_access_component::STICK_DIRECTION),
              Vector(0, 0));
    EXPECT_FALSE(w.content.signal("Stick", "moved"));
}

TEST(InputTest, ControllerEventsWithoutADeviceChangeNothing) {
    Input_world w(S::IDLE, Input_mode::GAMEPAD);
    w.frame({ev(T::GAMEPAD_SWITCHED, V::NONE, 7), ev(T::GAMEPAD_REMOVED, V::NONE, 7)});
    EXPECT_FALSE(w.content.request<Component::Base>("Gamepad", "id"));
    EXPECT_FALSE(w.content.signal("Input_mode", "changed"));

    // a rumble with no device, or for a model whose device is closed, goes nowhere
    w.content.set<Component::Pair<double, double>>("Gamepad", "rumble", 0.5, 0.5);
    w.frame({});
    EXPECT_FALSE(w.content.request<Component::Base>("Gamepad", "rumble"));
    w.content.set<Component::Simple<std::string>>("Gamepad", "id", "Gamepad(1:2)");
    w.content.set<Component::Simple<int>>("Gamepad(1:2)", "joystick_id", 3);
    w.content.set<Component::Pair<double, double>>("Gamepad", "rumble", 0.5, 0.5);
    w.frame({});
    EXPECT_FALSE(w.content.request<Component::Base>("Gamepad", "rumble"));
}

// Frames of fed events before any SDL: the window's close request ends the game.
TEST(InputTest, ACloseRequestEndsTheGame) {
    Input_world w;
    w.frame({ev(T::MOUSE_MOVE, V::NONE, 10, 20), ev(T::KEY_DOWN, V::ESCAPE)});
    EXPECT_FALSE(w.content.signal("Game", "exit"));
    w.frame({ev(T::WINDOW, V::BACKGROUND), ev(T::WINDOW, V::EXIT)});
    EXPECT_TRUE(w.content.signal("Game", "exit"));
}

} // namespace
