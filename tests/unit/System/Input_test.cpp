#include <gtest/gtest.h>

#include <Orvane/Content.h>
#include <Orvane/System/Input.h>

#include "support/Event_feed.h"

namespace {

using namespace Orvane;

// The input system over fed events, without SDL: a close request ends the game, other events
// do not, and one run drains every pending event.
TEST(InputTest, ReadsFedEventsWithoutSdl) {
    Orvane::Test::Event_feed feed;
    Content content;
    System::Input input(content);
    feed.push(Event(Event_type::MOUSE_MOVE, Event_value::NONE, 10, 20));
    feed.push(Event(Event_type::KEY_DOWN, Event_value::ESCAPE, -1, -1));
    input.run();
    EXPECT_EQ(feed.pending(), 0u);
    EXPECT_FALSE(content.signal("Game", "exit"));

    feed.push(Event(Event_type::WINDOW, Event_value::BACKGROUND, -1, -1));
    feed.push(Event(Event_type::WINDOW, Event_value::EXIT, -1, -1));
    input.run();
    EXPECT_TRUE(content.signal("Game", "exit"));
}

} // namespace
