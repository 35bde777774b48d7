// The object labels' layout on the real frame order: the logic announces a loaded room after the
// interface has run, the time system sees the announcement in that frame, and the interface
// lays the label points out in the next one.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>

#include "support/Fixed_step_engine.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;

class Tower_engine : public Orvane::Test::Fixed_step_engine {
  protected:
    Systems make_systems() override {
        Systems s = Fixed_step_engine::make_systems();
        s.file_io = std::make_shared<Orvane::Test::Tower_file_io>(content());
        return s;
    }
};

// The box that the layout keeps apart: 16 pixels a byte of the name and 50 more, 5 pixels of
// margin around, 60 pixels high (a plain label; scale 1).
struct Box {
    double left, right, top, bottom;
};

TEST(EngineObjectLabelsTest, EachRoomLoadIsLaidOutInTheNextFrameAndTheLimiterStarts) {
    const Orvane::Test::Temp_pref_folder pref;
    ASSERT_FALSE(Orvane::Test::sample_data().empty())
        << "ORVANE_BUILD_DIR is not set: run through ctest";
    Tower_engine engine;
    ASSERT_TRUE(engine.start_up(Orvane::Test::sample_data()));
    Content& content = engine.content();
    ASSERT_EQ(Config::interface_scale, 1.0);

    // a 77 Hz display: the time system measures it once the first room has started
    std::vector<int> announced;
    bool laid_out_after_each = true;
    auto step = [&](int frame) {
        engine.clock.now += 13;
        ASSERT_TRUE(engine.run());
        const bool loaded = content.signal(Key::game_new_room_loaded);
        if (!announced.empty() && announced.back() == frame - 1)
            laid_out_after_each = laid_out_after_each && !loaded;
        if (loaded)
            announced.push_back(frame);
    };
    int frame = 0;
    while (frame < 30)
        step(++frame);
    ASSERT_EQ(announced.size(), 1u) << "the tower was entered once";
    EXPECT_TRUE(laid_out_after_each);

    // the fixed label points of the tower, laid out apart and inside the view
    std::vector<std::pair<std::string, Box>> boxes;
    for (const char* id : {"note", "code_box", "hatch", "lamp"}) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(content.request<Component::Absolute_position>(id, "label_backup"));
        const Point p = content.get<Component::Position>(id, "label")->value();
        double w =
            16.0 * double(content.get<Component::Simple<std::string>>(id, "name")->value().size()) +
            50;
        // a walk-to label reaches out on one side, 50 pixels wider
        double left = w / 2;
        double right = w / 2;
        if (auto goto_right = content.request<Component::Boolean>(Key::go_to(id), "right")) {
            w += 50;
            left = goto_right->value() ? w : 0;
            right = goto_right->value() ? 0 : w;
        }
        const Box b{p.x() - left - 5, p.x() + right + 5, p.y() - 30, p.y() + 30};
        EXPECT_GE(b.left, 5 - 1e-9);
        EXPECT_GE(b.top, 5 - 1e-9);
        EXPECT_LE(b.bottom, 1075 + 1e-9);
        boxes.emplace_back(id, b);
    }
    for (std::size_t i = 0; i < boxes.size(); ++i)
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            const Box& a = boxes[i].second;
            const Box& b = boxes[j].second;
            EXPECT_FALSE(a.left <= b.right && b.left <= a.right && a.top <= b.bottom &&
                         b.top <= a.bottom)
                << boxes[i].first << " and " << boxes[j].first << " overlap: " << a.left << " "
                << a.right << " " << a.top << " " << a.bottom << " / " << b.left << " " << b.right
                << " " << b.top << " " << b.bottom;
        }
    // the hatch's and the lamp's points overlapped in the game data: they moved
    EXPECT_NE(content.get<Component::Position>("lamp", "label")->value(), Point(1700, 160));
    EXPECT_EQ(content.get<Component::Position>("lamp", "label_backup")->value(),
              Point(1700, 160));

    // the quay, and back to the tower: each load is laid out in the frame after it
    content.set<Component::Simple<std::string>>(Key::game_new_room_origin, "from_tower");
    content.set<Component::Simple<std::string>>(Key::game_new_room, "quay");
    while (frame < 60)
        step(++frame);
    content.set<Component::Simple<std::string>>(Key::game_new_room_origin, "from_quay");
    content.set<Component::Simple<std::string>>(Key::game_new_room, "tower");
    while (frame < 90)
        step(++frame);
    EXPECT_EQ(announced.size(), 3u);
    EXPECT_TRUE(laid_out_after_each);
    EXPECT_TRUE(engine.clock.slept.empty()) << "still measuring";

    // five seconds of frames after the first room: the 60 Hz cap is on
    while (frame < 480)
        step(++frame);
    EXPECT_FALSE(engine.clock.slept.empty()) << "the frame-rate limiter never started";
    engine.tear_down();
}

} // namespace
