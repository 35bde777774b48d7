#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Config.h>
#include <Orvane/Third_party/SDL_events.h>

#include "support/Virtual_controller.h"

namespace {

using Orvane::Event;
using Orvane::Event_type;
using Orvane::Event_value;
using Orvane::Config::no_value;
using Orvane::Third_party::SDL_events;

// SDL with its video (dummy driver) and game-controller subsystems, for the whole suite;
// controllers report events although the dummy window never has focus.
class SDL_platform {
  public:
    static void start() {
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    }
    static void stop() { SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER); }
    static void drain() {
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
};

std::string describe(const Event& e) {
    return e.to_string() + " [" + std::to_string(static_cast<int>(e.type())) + ", " +
           std::to_string(static_cast<int>(e.value())) + "]";
}

// Exact comparison, x and y included (Event's own == ignores them).
void expect_event(const Event& got, Event_type type, Event_value value, int x, int y) {
    const Event expected(type, value, x, y);
    EXPECT_TRUE(got.type() == type && got.value() == value && got.x() == x && got.y() == y)
        << "expected " << describe(expected) << ", got " << describe(got);
}

// Builders of platform events for the table below.
SDL_Event plain(Uint32 type) {
    SDL_Event e{};
    e.type = type;
    return e;
}

SDL_Event key(Uint32 type, SDL_Keycode sym) {
    SDL_Event e = plain(type);
    e.key.keysym.sym = sym;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    return e;
}

SDL_Event mouse_button(Uint32 type, Uint8 button, int x, int y) {
    SDL_Event e = plain(type);
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    return e;
}

SDL_Event mouse_motion(Uint32 state, int x, int y) {
    SDL_Event e = plain(SDL_MOUSEMOTION);
    e.motion.state = state;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

SDL_Event finger(Uint32 type, float x, float y) {
    SDL_Event e = plain(type);
    e.tfinger.x = x;
    e.tfinger.y = y;
    return e;
}

SDL_Event window(Uint8 kind, int data1 = 0, int data2 = 0) {
    SDL_Event e = plain(SDL_WINDOWEVENT);
    e.window.event = kind;
    e.window.data1 = data1;
    e.window.data2 = data2;
    return e;
}

SDL_Event controller_button(Uint32 type, int button, SDL_JoystickID which = 0) {
    SDL_Event e = plain(type);
    e.cbutton.button = static_cast<Uint8>(button);
    e.cbutton.which = which;
    return e;
}

SDL_Event axis(int which_axis, int value, SDL_JoystickID which = 0) {
    SDL_Event e = plain(SDL_CONTROLLERAXISMOTION);
    e.caxis.axis = static_cast<Uint8>(which_axis);
    e.caxis.value = static_cast<Sint16>(value);
    e.caxis.which = which;
    return e;
}

SDL_Event device(Uint32 type, int which) {
    SDL_Event e = plain(type);
    e.cdevice.which = which;
    return e;
}

struct Translation_case {
    std::string name;
    SDL_Event event;
    Event_type type;
    Event_value value;
    int x;
    int y;
};

std::vector<Translation_case> translation_cases() {
    using T = Event_type;
    using V = Event_value;
    return {
        // Window and application life cycle.
        {"quit", plain(SDL_QUIT), T::WINDOW, V::EXIT, -1, -1},
        {"terminating", plain(SDL_APP_TERMINATING), T::WINDOW, V::EXIT, -1, -1},
        {"foreground", plain(SDL_APP_DIDENTERFOREGROUND), T::WINDOW, V::FOREGROUND, -1, -1},
        {"background", plain(SDL_APP_WILLENTERBACKGROUND), T::WINDOW, V::BACKGROUND, -1, -1},
        {"window shown", window(SDL_WINDOWEVENT_SHOWN), T::WINDOW, V::FOREGROUND, -1, -1},
        {"window hidden", window(SDL_WINDOWEVENT_HIDDEN), T::WINDOW, V::BACKGROUND, -1, -1},
        {"window resized", window(SDL_WINDOWEVENT_RESIZED, 1280, 720), T::WINDOW, V::RESIZED, 1280,
         720},
        {"focus gained", window(SDL_WINDOWEVENT_FOCUS_GAINED), T::UNUSED, V::NONE, -1, -1},
        {"window moved", window(SDL_WINDOWEVENT_MOVED, 5, 5), T::UNUSED, V::NONE, -1, -1},
        // Keys.
        {"tab", key(SDL_KEYDOWN, SDLK_TAB), T::KEY_DOWN, V::TAB, -1, -1},
        {"return", key(SDL_KEYDOWN, SDLK_RETURN), T::KEY_DOWN, V::ENTER, -1, -1},
        {"escape", key(SDL_KEYDOWN, SDLK_ESCAPE), T::KEY_DOWN, V::ESCAPE, -1, -1},
        {"space up", key(SDL_KEYUP, SDLK_SPACE), T::KEY_UP, V::SPACE, -1, -1},
        {"a", key(SDL_KEYDOWN, SDLK_a), T::KEY_DOWN, V::A, -1, -1},
        {"q", key(SDL_KEYDOWN, SDLK_q), T::KEY_DOWN, static_cast<V>(43), -1, -1},
        {"z up", key(SDL_KEYUP, SDLK_z), T::KEY_UP, V::Z, -1, -1},
        {"F1", key(SDL_KEYDOWN, SDLK_F1), T::KEY_DOWN, V::F1, -1, -1},
        {"F5", key(SDL_KEYDOWN, SDLK_F5), T::KEY_DOWN, static_cast<V>(57), -1, -1},
        {"F12", key(SDL_KEYDOWN, SDLK_F12), T::KEY_DOWN, V::F12, -1, -1},
        {"up", key(SDL_KEYDOWN, SDLK_UP), T::KEY_DOWN, V::UP_ARROW, -1, -1},
        {"left", key(SDL_KEYDOWN, SDLK_LEFT), T::KEY_DOWN, V::LEFT_ARROW, -1, -1},
        {"right", key(SDL_KEYDOWN, SDLK_RIGHT), T::KEY_DOWN, V::RIGHT_ARROW, -1, -1},
        {"down", key(SDL_KEYUP, SDLK_DOWN), T::KEY_UP, V::DOWN_ARROW, -1, -1},
        {"left ctrl", key(SDL_KEYDOWN, SDLK_LCTRL), T::KEY_DOWN, V::CTRL, -1, -1},
        {"right ctrl", key(SDL_KEYDOWN, SDLK_RCTRL), T::KEY_DOWN, V::CTRL, -1, -1},
        {"left shift", key(SDL_KEYDOWN, SDLK_LSHIFT), T::KEY_DOWN, V::SHIFT, -1, -1},
        {"right shift", key(SDL_KEYUP, SDLK_RSHIFT), T::KEY_UP, V::SHIFT, -1, -1},
        {"left alt", key(SDL_KEYDOWN, SDLK_LALT), T::KEY_DOWN, V::ALT, -1, -1},
        {"right alt", key(SDL_KEYDOWN, SDLK_RALT), T::UNUSED, V::NONE, -1, -1},
        {"back", key(SDL_KEYDOWN, SDLK_AC_BACK), T::KEY_DOWN, V::ANDROID_BACK, -1, -1},
        {"digit", key(SDL_KEYDOWN, SDLK_1), T::UNUSED, V::NONE, -1, -1},
        {"F13", key(SDL_KEYDOWN, SDLK_F13), T::UNUSED, V::NONE, -1, -1},
        // Mouse, already in logical pixels.
        {"left press", mouse_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 100, 200), T::MOUSE_DOWN,
         V::LEFT, 100, 200},
        {"right release", mouse_button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1919, 1079),
         T::MOUSE_UP, V::RIGHT, 1919, 1079},
        {"middle press", mouse_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 7, 8), T::MOUSE_DOWN,
         V::NONE, 7, 8},
        {"motion", mouse_motion(0, 640, 360), T::MOUSE_MOVE, V::NONE, 640, 360},
        // Touch, normalised then scaled to 1920 x 1080 and truncated.
        {"finger down", finger(SDL_FINGERDOWN, 0.5f, 0.5f), T::TOUCH_DOWN, V::LEFT, 960, 540},
        {"finger move", finger(SDL_FINGERMOTION, 0.25f, 0.75f), T::TOUCH_MOVE, V::LEFT, 480, 810},
        {"finger up", finger(SDL_FINGERUP, 0.3333f, 0.9999f), T::TOUCH_UP, V::LEFT, 639, 1079},
        {"finger at corner", finger(SDL_FINGERDOWN, 1.0f, 1.0f), T::TOUCH_DOWN, V::LEFT, 1920,
         1080},
        // Controller buttons, named by position.
        {"A", controller_button(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_A), T::BUTTON_DOWN,
         V::SOUTH, -1, -1},
        {"B", controller_button(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_B), T::BUTTON_DOWN,
         V::EAST, -1, -1},
        {"X", controller_button(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_X), T::BUTTON_DOWN,
         V::WEST, -1, -1},
        {"Y up", controller_button(SDL_CONTROLLERBUTTONUP, SDL_CONTROLLER_BUTTON_Y), T::BUTTON_UP,
         V::NORTH, -1, -1},
        {"back button", controller_button(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_BACK),
         T::BUTTON_DOWN, V::SELECT, -1, -1},
        {"start", controller_button(SDL_CONTROLLERBUTTONUP, SDL_CONTROLLER_BUTTON_START),
         T::BUTTON_UP, V::START, -1, -1},
        {"left shoulder",
         controller_button(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_LEFTSHOULDER),
         T::BUTTON_DOWN, V::LEFT_SHOULDER, -1, -1},
        {"right shoulder",
         controller_button(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER),
         T::BUTTON_DOWN, V::RIGHT_SHOULDER, -1, -1},
        {"dpad up", controller_button(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_DPAD_UP),
         T::BUTTON_DOWN, V::UP_ARROW, -1, -1},
        {"dpad down", controller_button(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_DPAD_DOWN),
         T::BUTTON_DOWN, V::DOWN_ARROW, -1, -1},
        {"dpad left", controller_button(SDL_CONTROLLERBUTTONUP, SDL_CONTROLLER_BUTTON_DPAD_LEFT),
         T::BUTTON_UP, V::LEFT_ARROW, -1, -1},
        {"dpad right",
         controller_button(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
         T::BUTTON_DOWN, V::RIGHT_ARROW, -1, -1},
        {"guide", controller_button(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_GUIDE),
         T::UNUSED, V::NONE, -1, -1},
        {"left stick click",
         controller_button(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_LEFTSTICK), T::UNUSED,
         V::NONE, -1, -1},
        {"right stick click",
         controller_button(SDL_CONTROLLERBUTTONUP, SDL_CONTROLLER_BUTTON_RIGHTSTICK), T::UNUSED,
         V::NONE, -1, -1},
        {"misc button", controller_button(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_MISC1),
         T::UNUSED, V::NONE, -1, -1},
        // Sticks: the raw value on the moved axis, no_value on the other.
        {"left x", axis(SDL_CONTROLLER_AXIS_LEFTX, 1234), T::STICK_MOVE, V::LEFT, 1234, no_value},
        {"left y", axis(SDL_CONTROLLER_AXIS_LEFTY, -32768), T::STICK_MOVE, V::LEFT, no_value,
         -32768},
        {"right x", axis(SDL_CONTROLLER_AXIS_RIGHTX, -5), T::STICK_MOVE, V::RIGHT, -5, no_value},
        {"right y", axis(SDL_CONTROLLER_AXIS_RIGHTY, 32767), T::STICK_MOVE, V::RIGHT, no_value,
         32767},
        // Triggers: pressed from 6001 on.
        {"left trigger 6000", axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 6000), T::BUTTON_UP,
         V::LEFT_SHOULDER, -1, -1},
        {"left trigger 6001", axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 6001), T::BUTTON_DOWN,
         V::LEFT_SHOULDER, -1, -1},
        {"right trigger 0", axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0), T::BUTTON_UP,
         V::RIGHT_SHOULDER, -1, -1},
        {"right trigger 6000", axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 6000), T::BUTTON_UP,
         V::RIGHT_SHOULDER, -1, -1},
        {"right trigger 6001", axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 6001), T::BUTTON_DOWN,
         V::RIGHT_SHOULDER, -1, -1},
        {"right trigger full", axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767), T::BUTTON_DOWN,
         V::RIGHT_SHOULDER, -1, -1},
        {"unknown axis", axis(SDL_CONTROLLER_AXIS_MAX, 100), T::UNUSED, V::NONE, -1, -1},
        // Connection.
        {"device added", device(SDL_CONTROLLERDEVICEADDED, 3), T::NEW_GAMEPAD, V::NONE, 3, -1},
        {"device removed", device(SDL_CONTROLLERDEVICEREMOVED, 7), T::GAMEPAD_REMOVED, V::NONE, 7,
         -1},
        // Events the engine ignores.
        {"text input", plain(SDL_TEXTINPUT), T::UNUSED, V::NONE, -1, -1},
        {"joystick axis", plain(SDL_JOYAXISMOTION), T::UNUSED, V::NONE, -1, -1},
        {"mouse wheel", plain(SDL_MOUSEWHEEL), T::UNUSED, V::NONE, -1, -1},
    };
}

class SDLEventsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { SDL_platform::start(); }
    static void TearDownTestSuite() { SDL_platform::stop(); }
    void SetUp() override { SDL_platform::drain(); }
    void TearDown() override { SDL_platform::drain(); }
};

TEST_F(SDLEventsTest, EmptyQueueGivesEmptyEvent) {
    SDL_events events;
    const Event e = events.next_event();
    expect_event(e, Event_type::EMPTY, Event_value::NONE, -1, -1);
    EXPECT_FALSE(e);
}

TEST_F(SDLEventsTest, TranslationTable) {
    for (auto c : translation_cases()) {
        SCOPED_TRACE(c.name);
        SDL_platform::drain();
        SDL_events events;
        // Controller events come from instance 0 while no controller is current yet; that
        // only adds a switch report after the event itself.
        ASSERT_EQ(SDL_PushEvent(&c.event), 1) << SDL_GetError();
        expect_event(events.next_event(), c.type, c.value, c.x, c.y);
    }
}

TEST_F(SDLEventsTest, OneEventPerCallInQueueOrder) {
    SDL_events events;
    SDL_Event first = key(SDL_KEYDOWN, SDLK_ESCAPE);
    SDL_Event second = mouse_button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 3, 4);
    ASSERT_EQ(SDL_PushEvent(&first), 1);
    ASSERT_EQ(SDL_PushEvent(&second), 1);
    expect_event(events.next_event(), Event_type::KEY_DOWN, Event_value::ESCAPE, -1, -1);
    expect_event(events.next_event(), Event_type::MOUSE_UP, Event_value::LEFT, 3, 4);
    expect_event(events.next_event(), Event_type::EMPTY, Event_value::NONE, -1, -1);
}

TEST_F(SDLEventsTest, WindowShownAndFocusGainedHideTheCursor) {
    for (const Uint8 kind : {SDL_WINDOWEVENT_SHOWN, SDL_WINDOWEVENT_FOCUS_GAINED}) {
        SCOPED_TRACE(static_cast<int>(kind));
        SDL_platform::drain();
        SDL_events events;
        SDL_ShowCursor(SDL_ENABLE);
        SDL_Event e = window(kind);
        ASSERT_EQ(SDL_PushEvent(&e), 1);
        events.next_event();
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    }
    // Other window events leave the cursor alone.
    SDL_platform::drain();
    SDL_events events;
    SDL_ShowCursor(SDL_ENABLE);
    SDL_Event e = window(SDL_WINDOWEVENT_HIDDEN);
    ASSERT_EQ(SDL_PushEvent(&e), 1);
    events.next_event();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(SDLEventsTest, EventFromAnotherInstanceIsFollowedBySwitchReport) {
    SDL_events events;
    SDL_Event first = controller_button(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_A, 4);
    SDL_Event again = axis(SDL_CONTROLLER_AXIS_LEFTX, 10, 4);
    ASSERT_EQ(SDL_PushEvent(&first), 1);
    ASSERT_EQ(SDL_PushEvent(&again), 1);
    expect_event(events.next_event(), Event_type::BUTTON_DOWN, Event_value::SOUTH, -1, -1);
    expect_event(events.next_event(), Event_type::GAMEPAD_SWITCHED, Event_value::NONE, 4, -1);
    EXPECT_EQ(events.current_gamepad_id(), 4);
    // Same instance again: no further report.
    expect_event(events.next_event(), Event_type::STICK_MOVE, Event_value::LEFT, 10, no_value);
    expect_event(events.next_event(), Event_type::EMPTY, Event_value::NONE, -1, -1);
}

} // namespace

namespace {

using Orvane::Test::Virtual_controller;

// Reads events until the queue is empty, keeping the ones the engine uses.
std::vector<Event> used_events(SDL_events& events) {
    std::vector<Event> result;
    for (Event e = events.next_event(); e; e = events.next_event())
        if (e.type() != Event_type::UNUSED)
            result.push_back(e);
    return result;
}

// The next event the engine uses (a controller change also queues joystick-level events).
Event next_used(SDL_events& events) {
    Event e = events.next_event();
    while (e.type() == Event_type::UNUSED)
        e = events.next_event();
    return e;
}

class SDLEventsControllerTest : public SDLEventsTest {};

TEST_F(SDLEventsControllerTest, SwitchesToTheControllerThatWasUsed) {
    SDL_events events;
    Virtual_controller first("Xbox Series X Controller", 1118, 736);
    auto second = std::make_unique<Virtual_controller>("PS5 Controller", 1356, 3302);

    // Connection: one device-added event per controller, with its device index.
    const std::vector<Event> added = used_events(events);
    ASSERT_EQ(added.size(), 2u);
    expect_event(added[0], Event_type::NEW_GAMEPAD, Event_value::NONE, first.device_index(), -1);
    expect_event(added[1], Event_type::NEW_GAMEPAD, Event_value::NONE, second->device_index(), -1);
    SDL_GameController* a = events.open_gamepad(added[0].x());
    ASSERT_NE(a, nullptr) << SDL_GetError();
    EXPECT_EQ(events.current_gamepad_id(), first.instance_id());
    SDL_GameController* b = events.open_gamepad(added[1].x());
    ASSERT_NE(b, nullptr) << SDL_GetError();
    EXPECT_EQ(events.current_gamepad_id(), second->instance_id());
    // Released triggers at rest send nothing.
    EXPECT_TRUE(used_events(events).empty());

    // A button on the first controller: its event, then the switch report, which reads
    // nothing from the queue.
    first.set_button(SDL_CONTROLLER_BUTTON_A, true);
    expect_event(next_used(events), Event_type::BUTTON_DOWN, Event_value::SOUTH, -1, -1);
    SDL_Event escape = key(SDL_KEYDOWN, SDLK_ESCAPE);
    ASSERT_EQ(SDL_PushEvent(&escape), 1);
    const int queued = SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
    ASSERT_GE(queued, 1);
    expect_event(events.next_event(), Event_type::GAMEPAD_SWITCHED, Event_value::NONE,
                 first.instance_id(), -1);
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), queued);
    std::vector<Event> after = used_events(events);
    if (after.empty()) // the queue may hold SDL's end-of-poll marker before the key
        after = used_events(events);
    ASSERT_EQ(after.size(), 1u);
    expect_event(after[0], Event_type::KEY_DOWN, Event_value::ESCAPE, -1, -1);

    // The current controller again: no report.
    first.set_button(SDL_CONTROLLER_BUTTON_A, false);
    const std::vector<Event> release = used_events(events);
    ASSERT_EQ(release.size(), 1u);
    expect_event(release[0], Event_type::BUTTON_UP, Event_value::SOUTH, -1, -1);

    // A stick on the second one switches back.
    second->set_axis(SDL_CONTROLLER_AXIS_LEFTX, 20000);
    const std::vector<Event> stick = used_events(events);
    ASSERT_EQ(stick.size(), 2u);
    expect_event(stick[0], Event_type::STICK_MOVE, Event_value::LEFT, 20000, no_value);
    expect_event(stick[1], Event_type::GAMEPAD_SWITCHED, Event_value::NONE, second->instance_id(),
                 -1);

    // A trigger pulled on the current controller becomes a shoulder press, and back.
    second->set_axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    const std::vector<Event> pulled = used_events(events);
    ASSERT_EQ(pulled.size(), 1u);
    expect_event(pulled[0], Event_type::BUTTON_DOWN, Event_value::RIGHT_SHOULDER, -1, -1);
    second->set_axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MIN);
    const std::vector<Event> released = used_events(events);
    ASSERT_EQ(released.size(), 1u);
    expect_event(released[0], Event_type::BUTTON_UP, Event_value::RIGHT_SHOULDER, -1, -1);

    // Disconnection reports the instance id.
    const SDL_JoystickID removed_id = second->instance_id();
    events.close_gamepad(b);
    second.reset();
    const std::vector<Event> removed = used_events(events);
    ASSERT_EQ(removed.size(), 1u);
    expect_event(removed[0], Event_type::GAMEPAD_REMOVED, Event_value::NONE, removed_id, -1);
    events.close_gamepad(a);
}

TEST_F(SDLEventsControllerTest, FailedOpenGivesNullAndNoCurrentController) {
    SDL_events events;
    SDL_GameController* controller = events.open_gamepad(99);
    EXPECT_EQ(controller, nullptr);
    EXPECT_EQ(events.current_gamepad_id(), -1);
    // The null handle is harmless in the other calls.
    events.rumble_gamepad(controller, 1.0, 1.0);
    events.close_gamepad(controller);
}

TEST_F(SDLEventsControllerTest, RumbleReachesTheDevice) {
    SDL_events events;
    Virtual_controller device("Xbox Series X Controller", 1118, 736);
    SDL_GameController* controller = events.open_gamepad(device.device_index());
    ASSERT_NE(controller, nullptr) << SDL_GetError();

    struct Case {
        double strength;
        Uint16 intensity;
    };
    // Consecutive intensities differ: SDL passes on only changes.
    const std::vector<Case> cases = {
        {0.5, 32767},
        {1.0, 65535},
        {0.25, 16383},
        {0.0, 0},
        // Out of range: clamped instead of wrapping around.
        {1.5, 65535},
        {-0.5, 0},
        {0.75, 49151},
        // The confirmation rumble of a controller press.
        {0.05, 3276},
        {std::nan(""), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("strength " + std::to_string(c.strength));
        events.rumble_gamepad(controller, c.strength, 10.0);
        ASSERT_FALSE(device.rumbles().empty());
        EXPECT_EQ(device.rumbles().back(), std::make_pair(c.intensity, c.intensity));
    }

    // A short rumble stops by itself (SDL ends it after the duration, on a later poll).
    events.rumble_gamepad(controller, 1.0, 0.02);
    ASSERT_EQ(device.rumbles().back(), std::make_pair(Uint16{65535}, Uint16{65535}));
    const Uint32 give_up = SDL_GetTicks() + 3000;
    while (device.rumbles().back().first != 0 && !SDL_TICKS_PASSED(SDL_GetTicks(), give_up)) {
        SDL_Delay(5);
        SDL_PumpEvents();
    }
    EXPECT_EQ(device.rumbles().back(), std::make_pair(Uint16{0}, Uint16{0}));
    events.close_gamepad(controller);
}

TEST_F(SDLEventsControllerTest, RumbleShorterThanAMillisecondStopsTheMotors) {
    SDL_events events;
    Virtual_controller device("Xbox Series X Controller", 1118, 736);
    SDL_GameController* controller = events.open_gamepad(device.device_index());
    ASSERT_NE(controller, nullptr) << SDL_GetError();

    // SDL would keep a 0 ms rumble going until the next request.
    for (const double duration : {0.0, 0.0009, -1.0, std::nan("")}) {
        SCOPED_TRACE("duration " + std::to_string(duration));
        events.rumble_gamepad(controller, 0.5, 10.0);
        ASSERT_EQ(device.rumbles().back(), std::make_pair(Uint16{32767}, Uint16{32767}));
        events.rumble_gamepad(controller, 1.0, duration);
        EXPECT_EQ(device.rumbles().back(), std::make_pair(Uint16{0}, Uint16{0}));
    }
    // One millisecond is a rumble.
    events.rumble_gamepad(controller, 1.0, 0.001);
    EXPECT_EQ(device.rumbles().back(), std::make_pair(Uint16{65535}, Uint16{65535}));
    events.close_gamepad(controller);
}

TEST_F(SDLEventsControllerTest, DescriptionFromTheDevice) {
    struct Case {
        std::string name;
        Uint16 vendor;
        Uint16 product;
        std::string id;
        Orvane::Gamepad_labels labels;
        bool ok_down;
    };
    const std::vector<Case> cases = {
        {"Xbox Series X Controller", 1118, 2835, "1118:2835", Orvane::Gamepad_labels::XBOX, true},
        {"PS4 Controller", 1356, 2508, "1356:2508", Orvane::Gamepad_labels::PLAYSTATION, true},
        {"8BitDo SN30 Pro", 11720, 24577, "11720:24577", Orvane::Gamepad_labels::NINTENDO, false},
        {"Generic USB Joystick", 121, 6, "121:6", Orvane::Gamepad_labels::NO_LABEL, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SDL_events events;
        Virtual_controller device(c.name, c.vendor, c.product);
        SDL_GameController* controller = events.open_gamepad(device.device_index());
        ASSERT_NE(controller, nullptr) << SDL_GetError();
        const Orvane::Gamepad_info info = events.gamepad_info(controller);
        EXPECT_EQ(info.id, c.id);
        EXPECT_EQ(info.name, c.name);
        EXPECT_EQ(info.labels, c.labels);
        EXPECT_EQ(info.ok_down, c.ok_down);
        events.close_gamepad(controller);
    }
}

TEST_F(SDLEventsControllerTest, NoControllerGivesDefaultDescription) {
    SDL_events events;
    const Orvane::Gamepad_info info = events.gamepad_info(nullptr);
    EXPECT_EQ(info.id, "0:0");
    EXPECT_EQ(info.name, "Default controller");
    EXPECT_EQ(info.labels, Orvane::Gamepad_labels::NO_LABEL);
    EXPECT_TRUE(info.ok_down);
}

} // namespace
