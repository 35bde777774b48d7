#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Base.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Ground_map.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>

#include "Sdl_fixture.h"

namespace Orvane::Test {

/// The parts of a character with a skin, as the character reader files them.
struct Character {
    std::shared_ptr<Component::Animation> walk, idle, head, mouth;
    std::shared_ptr<Component::Boolean> walking;
    std::shared_ptr<Component::Absolute_position> position;
    std::shared_ptr<Component::Group> group;
};

/// A store with the clock, the camera and the player's name, in which characters with a skin
/// are made: a walk sheet of 8 columns and 4 rows, a plain one-pose idle sheet, a 4-column head
/// and an 11-column mouth, their positions and the head offset. The packages hold one sprite
/// sheet and backgrounds 1600, 1920 and 3840 pixels wide.
class Character_test : public Sdl_test {
  protected:
    void SetUp() override {
        Sdl_test::SetUp();
        load_packages(std::vector<Packer::Entry>{
            image_entry("images/animations/sheet.png", test_image(880, 400)),
            image_entry("images/backgrounds/w1600.png", test_image(1600, 2)),
            image_entry("images/backgrounds/w1920.png", test_image(1920, 2)),
            image_entry("images/backgrounds/w3840.png", test_image(3840, 2)),
        });
        clock = content.set_fac<Component::Simple<double>>(Fast_access_component::CLOCK_TIME,
                                                           "Clock", "time", 0.0);
        camera = content.set_fac<Component::Absolute_position>(
            Fast_access_component::CAMERA_POSITION, "Camera", "position", Point(0, 0), false);
        content.set_fac<Component::Simple<double>>(Fast_access_component::CAMERA_ZOOM, "Camera",
                                                   "zoom", 1.0);
        content.set<Component::Simple<std::string>>("Player", "name", "hero");
    }

    std::shared_ptr<Component::Animation> sheet(const std::string& entity, int columns,
                                                int rows) {
        return std::make_shared<Component::Animation>(entity, "image",
                                                      "images/animations/sheet.png", 0, columns,
                                                      rows, true);
    }

    /// Character `id` standing at `at`, facing right, visible and idle.
    Character make_character(const std::string& id, const Point& at) {
        Character c;
        c.walking = content.set<Component::Boolean>(id, "walking", false);
        c.group = content.set<Component::Group>(id, "group");
        content.set<Component::Vector<std::string>>(id + "_idle", "values",
                                                    std::vector<std::string>{"stand"});
        c.walk = sheet(id + "_body", 8, 4);
        c.idle = sheet(id + "_body", 1, 2);
        c.idle->frames() = {{0, 0, 1000, 0}};
        content.set<Component::Conditional>(id + "_body", "image", c.walking, c.walk, c.idle);
        c.head = sheet(id + "_head", 4, 2);
        c.head->frames() = {{1, 0, 50, 0}};
        c.mouth = sheet(id + "_mouth", 11, 2);
        c.mouth->frames() = {{0, 0, 1, 0}};
        content.set(c.head);
        content.set(c.mouth);
        c.group->add(c.mouth);
        c.group->add(c.head);
        c.group->add(content.get<Component::Base>(id + "_body", "image"));
        c.position = content.set<Component::Absolute_position>(id, "position", at, false);
        content.set<Component::Variable>(id + "_body", "position", c.position);
        content.set<Component::Absolute_position>(id + "_head_move", "position", Point(0, 0),
                                                  false);
        content.set<Component::Absolute_position>(id + "_head", "position", at, false);
        content.set<Component::Absolute_position>(id + "_mouth", "position", at, false);
        return c;
    }

    /// A ground map over a mask drawn as text, each character `scale` pixels wide and high:
    /// '#' is a wall, other characters walkable at the gray level `grays` gives them (128
    /// when not listed). Front depth at gray 0, back depth at gray 255. The walkable graph is
    /// built from the mask.
    std::shared_ptr<Component::Ground_map>
    ground_map(const std::vector<std::string>& rows, int scale, int front_z, int back_z,
               const std::map<char, unsigned char>& grays = {},
               const std::string& component = "ground_map") {
        Component::Ground_map::Mask mask(
            int(rows[0].size()) * scale, int(rows.size()) * scale,
            [&](int x, int y) -> Component::Ground_map::Mask::Color {
                const char c = rows[std::size_t(y / scale)][std::size_t(x / scale)];
                if (c == '#')
                    return {255, 0, 0};
                auto it = grays.find(c);
                const unsigned char g = it == grays.end() ? 128 : it->second;
                return {g, g, g};
            });
        Component::Ground_map built("background", component, mask, front_z, back_z);
        built.build_graph({});
        return content.set<Component::Ground_map>("background", component, built.mask(), front_z,
                                                  back_z, built.graph());
    }

    Content content;
    std::shared_ptr<Component::Simple<double>> clock;
    std::shared_ptr<Component::Absolute_position> camera;
};

} // namespace Orvane::Test
