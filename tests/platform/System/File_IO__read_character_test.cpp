#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/File_IO__readers_fixture.h"

namespace Orvane::Test {
namespace {

using Component::Collision_type;
using Component::Image;

const std::string mara = R"(coordinates: [500, 600]
label: [+20, -180]
name: Mara
color: ff8800
states: [waiting, talking]
look: {label: Look, effect: [{talk: [mara, Hi]}]}
looking_right: false
skin:
  head_move_radius: 4
  mouth: {skin: mara_mouth, dx_right: 1, dx_left: 2, dy: 3}
  head: {skin: mara_head, positions: [front, side, back], dx_right: 10, dx_left: -10, dy: 100}
  walk: {skin: mara_walk, steps: 4}
  idle: {skin: mara_idle, positions: [a, b, c]}
)";

TEST_F(Room_reader, CharacterWithASkin) {
    read("characters", "mara", mara);
    EXPECT_EQ(string_of("mara", "name"), "Mara");
    EXPECT_EQ(string_of("mara", "color"), "ff8800");
    EXPECT_EQ(string_of("mara", "state"), "waiting");
    EXPECT_FALSE(content.get<Component::Boolean>("mara", "uses_2nd_map")->value());
    EXPECT_EQ(string_of("mara_look", "label"), "Look");

    auto position = content.get<Component::Position>("mara", "position");
    EXPECT_EQ(position->value(), Point(500, 600));
    EXPECT_FALSE(position->is_interface());
    EXPECT_EQ(content.get<Component::Position>("mara", "label")->value(), Point(520, 420));
    EXPECT_EQ(content.get<Component::Position>("mara", "view")->value(), Point(500, 600))
        << "without view, the view is the position";
    auto lookat = content.get<Component::Position>("mara", "lookat");
    EXPECT_EQ(lookat->value(), Point(-1e10, 0));
    EXPECT_TRUE(lookat->is_interface());

    auto hit = content.get<Image>("mara", "image");
    EXPECT_EQ(hit->width(), 150);
    EXPECT_EQ(hit->height(), 367);
    EXPECT_EQ(hit->z(), 0);
    EXPECT_EQ(hit->collision(), Collision_type::BOX);
    content.get<Component::Simple<std::string>>("mara", "state")->set("player");
    EXPECT_FALSE(content.request<Image>("mara", "image"));

    auto idle = content.get<Component::Animation>("mara_body", "image");
    EXPECT_EQ(idle->width_subdiv(), 3);
    EXPECT_EQ(idle->origin(), Point(150, 0.95 * 350));
    content.get<Component::Boolean>("mara", "walking")->set(true);
    EXPECT_EQ(content.get<Component::Animation>("mara_body", "image")->width_subdiv(), 4);
    EXPECT_EQ(content.get<Component::Animation>("mara_mouth", "image")->width_subdiv(), 11);
    EXPECT_EQ(content.get<Component::Animation>("mara_head", "image")->width_subdiv(), 3);

    // head point: body position minus the right gap (the head's first frame is in row 0)
    EXPECT_EQ(content.get<Component::Position>("mara_head", "position")->value(), Point(490, 500));
    EXPECT_EQ(content.get<Component::Position>("mara_mouth", "position")->value(), Point(489, 497));
}

TEST_F(Room_reader, GlobalCharacterKeepsItsHeadAcrossARoomChange) {
    pack({{"characters/mara", mara}, {"rooms/quay", "name: Quay\n"}});
    content.emit("mara", "is_global");
    file_io.read_item_file("characters", "mara");
    file_io.read_room("quay");
    EXPECT_EQ(content.get<Component::Position>("mara_head", "position")->value(), Point(490, 500));
    EXPECT_TRUE(content.request<Component::Animation>("mara_body", "image"));
    EXPECT_TRUE(content.request<Component::Animation>("mara_mouth", "image"));
}

TEST_F(Room_reader, CharacterWithoutASkinKeepsItsStateAndPosition) {
    content.set<Component::Simple<std::string>>("pip", "state", "asleep");
    content.set<Component::Absolute_position>("pip", "position", Point(1, 2), false);
    read("characters", "pip",
         "coordinates: [5, 6]\nname: Pip\ncolor: \"000000\"\nview: [960, 100]\nno_interact: 1\n");
    EXPECT_EQ(string_of("pip", "state"), "asleep");
    EXPECT_EQ(content.get<Component::Position>("pip", "position")->value(), Point(1, 2));
    EXPECT_EQ(content.get<Component::Position>("pip", "view")->value(), Point(960, 100));
    EXPECT_TRUE(content.signal("pip", "no_interact"));
    EXPECT_FALSE(content.request<Component::Base>("pip", "image"));
    EXPECT_FALSE(content.request<Component::Base>("pip", "group"));
}

} // namespace
} // namespace Orvane::Test
