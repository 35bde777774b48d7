// The input byte format of the fuzzer's seeds: what the writer records reads back as the same
// frames of events; any bytes read as some stream, within the frame limit.

#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Config.h>

#include "support/Event_stream.h"

namespace {

using namespace Orvane;
using Orvane::Test::Event_stream_writer;
using Orvane::Test::Frame_events;
namespace Event_stream = Orvane::Test::Event_stream;

void expect_same(const Event& expected, const Event& got) {
    EXPECT_EQ(expected.type(), got.type()) << expected << " came back as " << got;
    EXPECT_EQ(expected.value(), got.value()) << expected << " came back as " << got;
    EXPECT_EQ(expected.x(), got.x()) << expected << " came back as " << got;
    EXPECT_EQ(expected.y(), got.y()) << expected << " came back as " << got;
}

TEST(EventStreamTest, RecordedFramesReadBackAsTheyWere) {
    const int no = Config::no_value;
    // every kind of record, extremes of each operand included
    const std::vector<Frame_events> frames = {
        {Event(Event_type::MOUSE_MOVE, Event_value::NONE, 0, 0),
         Event(Event_type::MOUSE_DOWN, Event_value::LEFT, 1919, 1079),
         Event(Event_type::MOUSE_UP, Event_value::RIGHT, -64, -100)},
        {},
        {Event(Event_type::TOUCH_DOWN, Event_value::LEFT, 1983, 1179),
         Event(Event_type::TOUCH_MOVE, Event_value::LEFT, 960, 540),
         Event(Event_type::TOUCH_UP, Event_value::LEFT, 5, 7)},
        {Event(Event_type::KEY_DOWN, Event_value::ESCAPE, -1, -1),
         Event(Event_type::KEY_UP, Event_value::F12, -1, -1),
         Event(Event_type::KEY_DOWN, Event_value::ANDROID_BACK, -1, -1)},
        {Event(Event_type::BUTTON_DOWN, Event_value::SOUTH, -1, -1),
         Event(Event_type::BUTTON_UP, Event_value::RIGHT_ARROW, -1, -1),
         Event(Event_type::STICK_MOVE, Event_value::LEFT, -32768, no),
         Event(Event_type::STICK_MOVE, Event_value::RIGHT, no, 32767),
         Event(Event_type::STICK_MOVE, Event_value::LEFT, no, 0)},
        {Event(Event_type::WINDOW, Event_value::BACKGROUND, -1, -1),
         Event(Event_type::WINDOW, Event_value::FOREGROUND, -1, -1),
         Event(Event_type::WINDOW, Event_value::EXIT, -1, -1)},
        {Event(Event_type::NEW_GAMEPAD, Event_value::NONE, 0, -1),
         Event(Event_type::GAMEPAD_REMOVED, Event_value::NONE, 255, -1)},
    };
    Event_stream_writer writer;
    for (const Frame_events& frame : frames) {
        for (const Event& e : frame)
            EXPECT_TRUE(writer.event(e)) << e << " was not written";
        writer.frame();
    }
    // an empty frame ended by the wait, 300 empty frames (more than one wait record holds),
    // then a last frame without its end
    writer.wait(300);
    writer.event(Event(Event_type::KEY_UP, Event_value::Z, -1, -1));

    const auto& bytes = writer.bytes();
    const auto read = Event_stream::read(bytes.data(), bytes.size(), 2000);
    ASSERT_EQ(read.size(), frames.size() + 1 + 300 + 1);
    for (std::size_t f = 0; f < frames.size(); ++f) {
        SCOPED_TRACE(testing::Message() << "frame " << f);
        ASSERT_EQ(read[f].size(), frames[f].size());
        for (std::size_t i = 0; i < frames[f].size(); ++i)
            expect_same(frames[f][i], read[f][i]);
    }
    for (std::size_t f = frames.size(); f < frames.size() + 301; ++f)
        EXPECT_TRUE(read[f].empty()) << "frame " << f << " of the wait has events";
    ASSERT_EQ(read.back().size(), 1u);
    expect_same(Event(Event_type::KEY_UP, Event_value::Z, -1, -1), read.back()[0]);
}

TEST(EventStreamTest, WriterRefusesWhatNoDeviceSendsAndClampsPointers) {
    Event_stream_writer writer;
    EXPECT_FALSE(writer.event(Event(Event_type::WINDOW, Event_value::RESIZED, 640, 360)));
    EXPECT_FALSE(writer.event(Event(Event_type::GAMEPAD_SWITCHED, Event_value::NONE, 3, -1)));
    EXPECT_FALSE(writer.event(Event(Event_type::BUTTON_DOWN, Event_value::F1, -1, -1)));
    EXPECT_FALSE(writer.event(Event(Event_type::KEY_DOWN, Event_value::SOUTH, -1, -1)));
    EXPECT_FALSE(writer.event(Event(Event_type::NEW_GAMEPAD, Event_value::NONE, 256, -1)));
    EXPECT_TRUE(writer.bytes().empty()) << "a refused event wrote bytes";

    ASSERT_TRUE(writer.event(Event(Event_type::MOUSE_MOVE, Event_value::NONE, 5000, -5000)));
    const auto read = Event_stream::read(writer.bytes().data(), writer.bytes().size(), 10);
    ASSERT_EQ(read.size(), 1u);
    ASSERT_EQ(read[0].size(), 1u);
    expect_same(Event(Event_type::MOUSE_MOVE, Event_value::NONE, 1983, -100), read[0][0]);
}

TEST(EventStreamTest, AnyBytesReadWithinTheFrameLimit) {
    // a truncated record reads zeros for what is missing: a mouse move to (-64, -100)
    const std::vector<std::uint8_t> truncated = {Event_stream::MOUSE_MOVE};
    auto read = Event_stream::read(truncated.data(), truncated.size(), 10);
    ASSERT_EQ(read.size(), 1u);
    ASSERT_EQ(read[0].size(), 1u);
    expect_same(Event(Event_type::MOUSE_MOVE, Event_value::NONE, -64, -100), read[0][0]);

    // waits of 256 frames each, stopped at the limit
    std::vector<std::uint8_t> waits;
    for (int i = 0; i < 20; ++i)
        waits.insert(waits.end(), {Event_stream::WAIT, 255});
    EXPECT_EQ(Event_stream::read(waits.data(), waits.size(), 10000).size(), 20u * 256);
    EXPECT_EQ(Event_stream::read(waits.data(), waits.size(), 2000).size(), 2000u);

    std::mt19937 random(29);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> bytes(random() % 600);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(random());
        read = Event_stream::read(bytes.data(), bytes.size(), 50);
        ASSERT_LE(read.size(), 50u);
        for (const Frame_events& frame : read)
            for (const Event& e : frame) {
                ASSERT_NE(e.type(), Event_type::EMPTY);
                if (e.type() == Event_type::MOUSE_MOVE || e.type() == Event_type::TOUCH_DOWN) {
                    ASSERT_GE(e.x(), -64);
                    ASSERT_LT(e.x(), 1984);
                    ASSERT_GE(e.y(), -100);
                    ASSERT_LT(e.y(), 1180);
                }
            }
    }
}

} // namespace
