#pragma once

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/System/Interface.h>

#include "Packages.h"
#include "Sdl_fixture.h"

namespace Orvane::Test {

/// The pictures and font that the screen interface copies, each end of one colour so that a
/// read-back tells them apart: circle ends 50 x 100 (left blue, right green), arrow ends
/// 60 x 100 (left red, right magenta), a 80 x 80 yellow controller glyph, the chamfer.
inline const Packer::Package_set& interface_packages() {
    static const Packer::Package_set packages = [] {
        return Packer::build({
            image_entry("images/interface/left_circle.png", plain_image(50, 100, 0, 0, 255)),
            image_entry("images/interface/right_circle.png", plain_image(50, 100, 0, 255, 0)),
            image_entry("images/interface/goto_left.png", plain_image(60, 100, 255, 0, 0)),
            image_entry("images/interface/goto_right.png", plain_image(60, 100, 255, 0, 255)),
            image_entry("images/interface/glyph.png", plain_image(80, 80, 255, 255, 0)),
            image_entry("images/interface/chamfer.png", plain_image(20, 10, 100, 50, 0)),
            compressed_entry("fonts/DejaVuSans.ttf", file_bytes(font_path)),
        });
    }();
    return packages;
}

/// A 1920 x 1080 dummy window and a store holding what System::Interface reads: the font, the
/// label ends, the controller glyphs, the chamfer, the interface words ("Inventory:label",
/// "Switch_target:text", "Ok", "Cancel", "Continue", "Action") and the default verb labels, the
/// status stack (idle), the clock (time 0), the input mode (mouse), the cursor at (960, 540),
/// the camera at (0, 0), an empty inventory, the cursor's state ("default") and the inventory
/// bar's arrows. Resets the interface scale to 1 around each test.
class Interface_fixture : public Sdl_test {
  protected:
    using Interface = System::Interface;

    void SetUp() override {
        load_packages(interface_packages());
        int width = 1920;
        int height = 1080;
        sdl.init(width, height, false);
        sdl.update_view();
        Config::interface_scale = 1.0;

        using Component::Collision_type;
        using Component::Image;
        content.set<Component::Font>("Interface", "font", "fonts/DejaVuSans.ttf", 80);
        auto hidden = [this](const std::string& entity, const std::string& file) {
            content.set<Image>(entity, "image", "images/interface/" + file + ".png", 1,
                               Collision_type::BOX)
                ->on() = false;
        };
        hidden("Left_circle", "left_circle");
        hidden("Right_circle", "right_circle");
        hidden("Goto_left", "goto_left");
        hidden("Goto_right", "goto_right");
        for (const char* glyph : {"Playstation_triangle", "Playstation_square",
                                  "Playstation_cross", "Playstation_circle"})
            hidden(glyph, "glyph");
        content.set<Image>("Chamfer", "image", "images/interface/chamfer.png");

        text("Inventory", "label", "Use with");
        text("Switch_target", "text", "Switch target");
        for (const char* word : {"Ok", "Cancel", "Continue", "Action"})
            text(word, "text", word);
        for (const char* verb : Config::possible_actions)
            text(std::string("Default_") + verb, "label", std::string(verb) + " it");

        game_status = content.set_fac<Component::Status>(Fast_access_component::GAME_STATUS,
                                                         "Game", "status");
        game_status->pop(); // the game has started: idle
        clock = content.set_fac<Component::Simple<double>>(Fast_access_component::CLOCK_TIME,
                                                           "Clock", "time", 0.0);
        latest_active = content.set_fac<Component::Simple<double>>(
            Fast_access_component::CLOCK_LATEST_ACTIVE, "Clock", "latest_active", 0.0);
        mode = content.set_fac<Component::Simple<Input_mode>>(
            Fast_access_component::INTERFACE_INPUT_MODE, "Interface", "input_mode", MOUSE);
        cursor = content.set_fac<Component::Absolute_position>(
            Fast_access_component::CURSOR_POSITION, "Cursor", "position", Point(960, 540));
        camera = content.set_fac<Component::Absolute_position>(
            Fast_access_component::CAMERA_POSITION, "Camera", "position", Point(0, 0), false);
        inventory = content.set<Component::Inventory>("Game", "inventory");
        text("Cursor", "state", "default");
        // the inventory bar's arrows: white, 20 x 40, hidden until there is more to scroll to
        for (const char* arrow : {"Left_arrow", "Right_arrow"})
            content.set<Image>(arrow, "image", 20, 40, 255, 255, 255)->on() = false;
    }

    void TearDown() override { Config::interface_scale = 1.0; }

    void text(const std::string& entity, const std::string& component, const std::string& value) {
        content.set<Component::Simple<std::string>>(entity, component, value);
    }
    std::shared_ptr<Component::Image> image(const std::string& entity) {
        return content.request<Component::Image>(entity, "image");
    }
    Point at(const std::string& entity, const std::string& component = "position") {
        return content.get<Component::Position>(entity, component)->value();
    }

    Content content;
    Interface interface{content};
    std::shared_ptr<Component::Status> game_status;
    std::shared_ptr<Component::Simple<double>> clock;
    std::shared_ptr<Component::Simple<double>> latest_active;
    std::shared_ptr<Component::Simple<Input_mode>> mode;
    std::shared_ptr<Component::Absolute_position> cursor;
    std::shared_ptr<Component::Absolute_position> camera;
    std::shared_ptr<Component::Inventory> inventory;
};

} // namespace Orvane::Test
