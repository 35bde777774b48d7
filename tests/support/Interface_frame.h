#pragma once

#include <memory>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/Engine.h>
#include <Orvane/System/Animation.h>
#include <Orvane/System/Graphic.h>
#include <Orvane/System/Interface.h>

#include "Sdl_fixture.h"

namespace Orvane::Test {

/// The store as the interface finds it in a frame, over the fixture's 1920 x 1080 window: the
/// fixed components with the status idle, Clock:time at 0, the input mode (mouse), the black
/// layer (hidden) and the interface scale at 1. Over it the interface and animation systems,
/// and a graphic system that draws into the window (frames are never shown, so that they can
/// be read back with pixel()).
class Interface_frame : public Sdl_test {
  protected:
    void SetUp() override {
        Sdl_test::SetUp();
        Config::interface_scale = 1.0;
        Engine::create_fixed_components(content);
        status = content.request<Component::Status>(Fast_access_component::GAME_STATUS);
        status->pop(); // idle
        clock = content.set_fac<Component::Simple<double>>(Fast_access_component::CLOCK_TIME,
                                                           "Clock", "time", 0.0);
        mode = content.set_fac<Component::Simple<Input_mode>>(
            Fast_access_component::INTERFACE_INPUT_MODE, "Interface", "input_mode",
            Input_mode::MOUSE);
        content.set<Component::Image>("Blackscreen", "image", 1920, 1080, 0, 0, 0, 255)->on() =
            false;
        graphic.set_presenter([] {});
    }

    Content content;
    System::Interface interface { content };
    System::Animation animation{content};
    System::Graphic graphic{content};
    std::shared_ptr<Component::Status> status;
    std::shared_ptr<Component::Simple<double>> clock;
    std::shared_ptr<Component::Simple<Input_mode>> mode;
};

} // namespace Orvane::Test
