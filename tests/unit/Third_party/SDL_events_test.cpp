#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Config.h>
#include <Orvane/Third_party/SDL_events.h>

#include "support/Event_feed.h"

namespace {

using Orvane::Event;
using Orvane::Event_type;
using Orvane::Event_value;

TEST(EventTest, ComparesTypeAndValueOnly) {
    const Event escape(Event_type::KEY_DOWN, Event_value::ESCAPE, -1, -1);
    EXPECT_EQ(escape, Event(Event_type::KEY_DOWN, Event_value::ESCAPE, 5, 7));
    EXPECT_FALSE(escape == Event(Event_type::KEY_UP, Event_value::ESCAPE, -1, -1));
    EXPECT_FALSE(escape == Event(Event_type::KEY_DOWN, Event_value::ENTER, -1, -1));
}

TEST(EventTest, OrdersByTypeThenValue) {
    const Event a(Event_type::MOUSE_DOWN, Event_value::RIGHT, 0, 0);
    const Event b(Event_type::KEY_DOWN, Event_value::A, 0, 0);
    const Event c(Event_type::KEY_DOWN, Event_value::B, 0, 0);
    EXPECT_TRUE(a < b);
    EXPECT_TRUE(b < c);
    EXPECT_FALSE(c < b);
    EXPECT_FALSE(b < Event(Event_type::KEY_DOWN, Event_value::A, 9, 9));
}

TEST(EventTest, ConvertsToTrueUnlessEmpty) {
    EXPECT_FALSE(Event(Event_type::EMPTY, Event_value::NONE, -1, -1));
    EXPECT_TRUE(Event(Event_type::UNUSED, Event_value::NONE, -1, -1));
    EXPECT_TRUE(Event(Event_type::WINDOW, Event_value::EXIT, -1, -1));
}

TEST(EventTest, Fields) {
    const Event e(Event_type::STICK_MOVE, Event_value::LEFT, 123, Orvane::Config::no_value);
    EXPECT_EQ(e.type(), Event_type::STICK_MOVE);
    EXPECT_EQ(e.value(), Event_value::LEFT);
    EXPECT_EQ(e.x(), 123);
    EXPECT_EQ(e.y(), 2147483647);
}

TEST(EventTest, PrintedForms) {
    struct Case {
        Event event;
        std::string text;
    };
    const std::vector<Case> cases = {
        {Event(Event_type::EMPTY, Event_value::NONE, -1, -1), "Event(null)"},
        {Event(Event_type::EMPTY, Event_value::NONE, 3, 4), "Event(null)"},
        {Event(Event_type::UNUSED, Event_value::NONE, -1, -1), "Event(UNUSED, NONE, -1, -1)"},
        {Event(Event_type::WINDOW, Event_value::RESIZED, 1280, 720),
         "Event(WINDOW, RESIZED, 1280, 720)"},
        {Event(Event_type::MOUSE_DOWN, Event_value::LEFT, 10, 20),
         "Event(MOUSE_DOWN, LEFT, 10, 20)"},
        {Event(Event_type::KEY_UP, Event_value::Q, -1, -1), "Event(KEY_UP, Q, -1, -1)"},
        {Event(Event_type::KEY_DOWN, Event_value::F12, -1, -1), "Event(KEY_DOWN, F12, -1, -1)"},
        {Event(Event_type::GAMEPAD_SWITCHED, Event_value::NONE, 2, -1), "Event(WTF, NONE, 2, -1)"},
        {Event(Event_type::BUTTON_DOWN, Event_value::SELECT, -1, -1),
         "Event(BUTTON_DOWN, SELECT, -1, -1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.event.to_string(), c.text);
        std::ostringstream out;
        out << c.event;
        EXPECT_EQ(out.str(), c.text);
    }
}

TEST(EventTest, TypeNames) {
    const std::vector<std::string> names = {
        "EMPTY",      "UNUSED",     "WINDOW",      "MOUSE_DOWN", "MOUSE_MOVE", "MOUSE_UP",
        "TOUCH_DOWN", "TOUCH_MOVE", "TOUCH_UP",    "KEY_DOWN",   "KEY_UP",     "NEW_GAMEPAD",
        "WTF",        "WTF",        "BUTTON_DOWN", "BUTTON_UP",  "STICK_MOVE"};
    for (int i = 0; i < static_cast<int>(names.size()); ++i)
        EXPECT_EQ(Orvane::to_string(static_cast<Event_type>(i)), names[std::size_t(i)])
            << "type " << i;
    EXPECT_EQ(Orvane::to_string(static_cast<Event_type>(17)), "WTF");
    EXPECT_EQ(Orvane::to_string(static_cast<Event_type>(-1)), "WTF");
}

TEST(EventTest, ValueNumbersAndNames) {
    struct Case {
        int number;
        std::string name;
    };
    const std::vector<Case> cases = {
        {0, "NONE"},
        {1, "EXIT"},
        {4, "FOREGROUND"},
        {5, "LEFT"},
        {11, "ANDROID_BACK"},
        {18, "DOWN_ARROW"},
        {19, "NORTH"},
        {22, "SOUTH"},
        {24, "RIGHT_SHOULDER"},
        {26, "SELECT"},
        {27, "A"},
        {43, "Q"},
        {52, "Z"},
        {53, "F1"},
        {57, "F5"},
        {64, "F12"},
        {65, "WTF"},
        {-1, "WTF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Orvane::to_string(static_cast<Event_value>(c.number)), c.name)
            << "value " << c.number;
    EXPECT_EQ(static_cast<int>(Event_value::Q), 43);
    EXPECT_EQ(static_cast<int>(Event_value::F5), 57);
}

// Without SDL initialised at all: the events come from the fed source alone, as they are.
TEST(SDLEventsSourceTest, FedEventsComeOutInOrderThenEmpty) {
    using Orvane::Third_party::SDL_events;
    const std::vector<Event> fed = {
        Event(Event_type::MOUSE_DOWN, Event_value::LEFT, 960, 540),
        Event(Event_type::KEY_DOWN, Event_value::ESCAPE, -1, -1),
        Event(Event_type::STICK_MOVE, Event_value::LEFT, 12000, Orvane::Config::no_value),
        Event(Event_type::GAMEPAD_SWITCHED, Event_value::NONE, 3, -1)};
    Orvane::Test::Event_feed feed;
    for (const Event& e : fed)
        feed.push(e);
    SDL_events events;
    for (const Event& expected : fed) {
        SCOPED_TRACE(expected.to_string());
        const Event e = events.next_event();
        EXPECT_EQ(e, expected);
        EXPECT_EQ(e.x(), expected.x());
        EXPECT_EQ(e.y(), expected.y());
    }
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(events.next_event().type(), Event_type::EMPTY);
}

TEST(SDLEventsSourceTest, FeedsNestAndPutBackWhatTheyReplaced) {
    using Orvane::Third_party::SDL_events;
    SDL_events events;
    Orvane::Test::Event_feed outer;
    outer.push(Event(Event_type::KEY_DOWN, Event_value::A, -1, -1));
    {
        Orvane::Test::Event_feed inner;
        inner.push(Event(Event_type::KEY_DOWN, Event_value::B, -1, -1));
        EXPECT_EQ(events.next_event(), Event(Event_type::KEY_DOWN, Event_value::B, -1, -1));
        EXPECT_EQ(events.next_event().type(), Event_type::EMPTY) << "the outer feed is not read";
    }
    EXPECT_EQ(events.next_event(), Event(Event_type::KEY_DOWN, Event_value::A, -1, -1));
    // Every reader shares the one source, as they share SDL's one queue.
    outer.push(Event(Event_type::KEY_UP, Event_value::A, -1, -1));
    SDL_events other;
    EXPECT_EQ(other.next_event(), Event(Event_type::KEY_UP, Event_value::A, -1, -1));
    EXPECT_EQ(outer.pending(), 0u);
}

} // namespace
