#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/File_IO__readers_fixture.h"

namespace Orvane::Test {
namespace {

using Component::Collision_type;
using Component::Image;

TEST_F(Room_reader, AnimationGridsAndFrameLists) {
    using Cell = std::pair<int, int>;
    struct Case {
        const char* keys;
        std::vector<Cell> cells;
        int duration;
    };
    const Case cases[] = {
        {"length: [4, 2]\nduration: 2\nframes: [\"1\", \"3x6\"]\n",
         {{1, 0}, {2, 1}, {2, 1}, {2, 1}},
         2},
        {"length: 5\n", {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}, 1},
        {"length: [2, 2]\n", {{0, 0}, {1, 0}, {0, 1}, {1, 1}}, 1},
        {"length: [4, 2]\nframes: [\"0x3\", \"2x\"]\n", {{0, 0}, {0, 0}}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        read("animations", "gull",
             std::string("coordinates: [300, 400, 12]\nskin: gull\nloop: false\n") + c.keys);
        auto animation = content.get<Component::Animation>("gull", "image");
        std::vector<Cell> cells;
        for (const auto& frame : animation->frames()) {
            cells.emplace_back(frame.x, frame.y);
            EXPECT_EQ(frame.duration, c.duration);
        }
        EXPECT_EQ(cells, c.cells);
        EXPECT_EQ(animation->z(), 12);
        EXPECT_FALSE(animation->on());
        EXPECT_FALSE(animation->loop());
        EXPECT_EQ(animation->collision(), Collision_type::UNCLICKABLE);
        EXPECT_EQ(animation->origin(), Point(0.5 * animation->width(), animation->height()));
        auto position = content.get<Component::Position>("gull", "position");
        EXPECT_EQ(position->value(), Point(300, 400));
        EXPECT_FALSE(position->is_interface());
    }
}

TEST_F(Room_reader, SceneryWithAndWithoutStates) {
    pack({{"scenery/crane", "coordinates: [10, 20, 5]\nskin: crane\n"},
          {"scenery/lift", R"(coordinates: [30, 40, 6]
states:
  - {id: down, skin: crane}
  - {id: up, skin: crane_up}
  - {id: away}
)"}});
    file_io.read_item_file("scenery", "crane");
    file_io.read_item_file("scenery", "lift");

    auto crane = content.get<Image>("crane", "image");
    EXPECT_EQ(crane->z(), 5);
    EXPECT_TRUE(crane->on());
    EXPECT_EQ(crane->collision(), Collision_type::UNCLICKABLE);
    EXPECT_EQ(crane->origin(), Point(25, 100));
    EXPECT_FALSE(content.get<Component::Position>("crane", "position")->is_interface());

    auto state = content.get<Component::Simple<std::string>>("lift", "state");
    EXPECT_EQ(state->value(), "down");
    EXPECT_TRUE(state->was_altered()) << "scenery's first state is saved";
    EXPECT_EQ(content.get<Image>("lift", "image")->width(), 50);
    state->set("up");
    EXPECT_EQ(content.get<Image>("lift", "image")->width(), 60);
    EXPECT_EQ(content.get<Image>("lift", "image")->z(), 6);
    state->set("away");
    EXPECT_FALSE(content.request<Image>("lift", "image"));

    // a kept state stays
    file_io.read_item_file("scenery", "lift");
    EXPECT_EQ(content.get<Component::Simple<std::string>>("lift", "state")->value(), "away");
}

} // namespace
} // namespace Orvane::Test
