#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/System/Input.h>
#include <Orvane/Third_party/Gamepad.h>

#include "support/Input_store.h"
#include "support/Virtual_controller.h"

namespace {

using namespace Orvane;
using Orvane::Test::Virtual_controller;

// Vendor and product numbers of the devices the tests attach.
constexpr Uint16 xbox_vendor = 1118;
constexpr Uint16 xbox_product = 736;
const std::string xbox_key = "Gamepad(1118:736)";

// The input system reading SDL's own queue, with controllers that exist only in SDL.
class InputGamepadTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // the dummy window never has focus: controllers must report anyway
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    }
    static void TearDownTestSuite() { SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER); }

    void SetUp() override {
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        status = Orvane::Test::fill_input_store(content);
        input = std::make_unique<System::Input>(content);
    }
    void TearDown() override {
        // closes what the engine opened before the devices go
        for (auto& [id, c] : std::vector<Content::Component_map::value_type>(
                 content.components("pointer").begin(), content.components("pointer").end()))
            if (auto handle = Component::cast<Component::Simple<SDL_GameController*>>(c))
                SDL_GameControllerClose(handle->value());
        content.clear();
    }

    void frame() {
        content.receive("Input_mode", "changed");
        content.receive("Stick", "moved");
        input->run();
    }
    Vector direction() const {
        return content.value<Component::Simple<Vector>>(Fast_access_component::STICK_DIRECTION);
    }
    std::string current() const {
        return content.value<Component::Simple<std::string>>("Gamepad", "id", std::string());
    }
    bool has(const std::string& entity, const std::string& component) const {
        return content.request<Component::Base>(entity, component) != nullptr;
    }
    std::string device(const Virtual_controller& pad) const {
        return "Gamepad_" + std::to_string(pad.instance_id());
    }

    Content content;
    std::shared_ptr<Component::Status> status;
    std::unique_ptr<System::Input> input;
};

TEST_F(InputGamepadTest, AnXboxDeviceConnectedWhileIdle) {
    Virtual_controller pad("Xbox Series X Controller", xbox_vendor, xbox_product);
    frame();
    EXPECT_EQ(Orvane::Test::input_mode(content), Input_mode::GAMEPAD);
    EXPECT_TRUE(content.signal("Input_mode", "changed"));
    EXPECT_EQ(current(), xbox_key);
    const Gamepad_info info =
        content.get<Component::Simple<Gamepad_info>>(xbox_key, "gamepad")->value();
    EXPECT_EQ(info.id, "1118:736");
    EXPECT_EQ(info.name, "Xbox Series X Controller");
    EXPECT_EQ(info.labels, Gamepad_labels::XBOX);
    EXPECT_TRUE(info.ok_down);
    EXPECT_TRUE(content.get<Component::Boolean>(xbox_key, "is_open")->value());
    EXPECT_EQ(content.get<Component::Simple<int>>(xbox_key, "joystick_id")->value(),
              pad.instance_id());
    EXPECT_TRUE(has(device(pad), "pointer"));
    EXPECT_EQ(content.get<Component::Simple<std::string>>(device(pad), "ingame_id")->value(),
              xbox_key);
}

TEST_F(InputGamepadTest, ADescriptionFromTheSettingsKeepsItsStyle) {
    content.set<Component::Simple<Gamepad_info>>(
        xbox_key, "gamepad", Gamepad_info("1118:736", Gamepad_labels::NINTENDO, false));
    Virtual_controller pad("Xbox Series X Controller", xbox_vendor, xbox_product);
    frame();
    const Gamepad_info info =
        content.get<Component::Simple<Gamepad_info>>(xbox_key, "gamepad")->value();
    EXPECT_EQ(info.name, "Xbox Series X Controller") << "the name comes from the device";
    EXPECT_EQ(info.labels, Gamepad_labels::NINTENDO) << "the player's style is kept";
    EXPECT_FALSE(info.ok_down);
}

TEST_F(InputGamepadTest, ASecondDeviceOfTheSameModelIsClosed) {
    Virtual_controller first("Xbox Series X Controller", xbox_vendor, xbox_product);
    frame();
    auto second = std::make_unique<Virtual_controller>("Xbox Series X Controller", xbox_vendor,
                                                       xbox_product);
    frame();
    EXPECT_EQ(current(), xbox_key);
    EXPECT_EQ(content.get<Component::Simple<int>>(xbox_key, "joystick_id")->value(),
              first.instance_id())
        << "the model stays on the first device";
    EXPECT_FALSE(has(device(*second), "pointer"));
    EXPECT_FALSE(has(device(*second), "ingame_id"));

    // the untracked device's removal, and events from it, change nothing
    const std::string second_device = device(*second);
    second->set_button(SDL_CONTROLLER_BUTTON_Y, true);
    frame();
    second.reset();
    frame();
    EXPECT_EQ(current(), xbox_key);
    EXPECT_TRUE(content.get<Component::Boolean>(xbox_key, "is_open")->value());
    EXPECT_TRUE(has(device(first), "pointer"));
}

TEST_F(InputGamepadTest, UnpluggingADeviceThatIsNotCurrent) {
    // Models without a known mapping: every axis at rest reads 0, so a device going away
    // reports nothing before its removal.
    const std::string first_key = "Gamepad(4660:1)";
    const std::string second_key = "Gamepad(4660:2)";
    auto first = std::make_unique<Virtual_controller>("Virtual pad", 0x1234, 1);
    Virtual_controller second("Virtual pad", 0x1234, 2);
    frame();
    ASSERT_EQ(current(), second_key) << "the last connected is current";
    const std::string first_device = device(*first);
    first.reset();
    frame();
    EXPECT_EQ(current(), second_key);
    EXPECT_FALSE(has(first_key, "is_open"));
    EXPECT_FALSE(has(first_device, "pointer"));
    EXPECT_TRUE(has(first_key, "gamepad")) << "the description stays";
    EXPECT_TRUE(has(first_device, "ingame_id"));
}

TEST_F(InputGamepadTest, RemovingTheCurrentDevice) {
    auto pad =
        std::make_unique<Virtual_controller>("Xbox Series X Controller", xbox_vendor, xbox_product);
    frame();
    ASSERT_EQ(current(), xbox_key);
    pad.reset();
    frame();
    EXPECT_FALSE(has("Gamepad", "id"));
    EXPECT_FALSE(has(xbox_key, "is_open"));

    // plugged in again, it is open and current once more
    Virtual_controller again("Xbox Series X Controller", xbox_vendor, xbox_product);
    frame();
    EXPECT_EQ(current(), xbox_key);
    EXPECT_TRUE(content.get<Component::Boolean>(xbox_key, "is_open")->value());
}

TEST_F(InputGamepadTest, ARumbleReachesTheDeviceAndStops) {
    Virtual_controller pad("Xbox Series X Controller", xbox_vendor, xbox_product);
    frame();
    content.set<Component::Pair<double, double>>("Gamepad", "rumble", 0.05, 0.05);
    frame();
    EXPECT_FALSE(has("Gamepad", "rumble")) << "the request is used up";
    ASSERT_FALSE(pad.rumbles().empty());
    EXPECT_EQ(pad.rumbles().front(), (std::pair<Uint16, Uint16>(3276, 3276)));

    // SDL stops the motors once the duration is over
    const Uint32 start = SDL_GetTicks();
    while (pad.rumbles().back() != std::pair<Uint16, Uint16>(0, 0) &&
           SDL_GetTicks() - start < 2000) {
        SDL_Delay(5);
        frame();
    }
    ASSERT_EQ(pad.rumbles().back(), (std::pair<Uint16, Uint16>(0, 0)));
    EXPECT_GE(SDL_GetTicks() - start, 40u) << "not before the 50 ms";
}

TEST_F(InputGamepadTest, TheStickAndTheArrowsSteer) {
    // a model without a known mapping: its directional pad is four buttons
    Virtual_controller pad("Virtual pad", 0x1234, 0x5678);
    frame();
    const double d = 1 / std::sqrt(2.0);
    struct Step {
        const char* name;
        std::vector<std::pair<SDL_GameControllerAxis, Sint16>> axes;
        std::vector<std::pair<SDL_GameControllerButton, bool>> buttons;
        Vector expected;
        bool moved;
    };
    const std::vector<Step> steps = {
        {"x 16384", {{SDL_CONTROLLER_AXIS_LEFTX, 16384}}, {}, {1, 0}, true},
        {"held there", {}, {}, {1, 0}, false},
        {"x 16383", {{SDL_CONTROLLER_AXIS_LEFTX, 16383}}, {}, {0, 0}, true},
        {"(0.4, 0.4)",
         {{SDL_CONTROLLER_AXIS_LEFTX, 13107}, {SDL_CONTROLLER_AXIS_LEFTY, 13107}},
         {},
         {d, d},
         true},
        {"stick at rest", {{SDL_CONTROLLER_AXIS_LEFTX, 0}, {SDL_CONTROLLER_AXIS_LEFTY, 0}}, {},
         {0, 0}, true},
        {"up and down",
         {},
         {{SDL_CONTROLLER_BUTTON_DPAD_UP, true}, {SDL_CONTROLLER_BUTTON_DPAD_DOWN, true}},
         {0, 1},
         true},
        {"up and down released", {},
         {{SDL_CONTROLLER_BUTTON_DPAD_UP, false}, {SDL_CONTROLLER_BUTTON_DPAD_DOWN, false}},
         {0, 0}, true},
        {"left and right",
         {},
         {{SDL_CONTROLLER_BUTTON_DPAD_LEFT, true}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true}},
         {1, 0},
         true},
        {"right released", {}, {{SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false}}, {-1, 0}, true},
        {"the last released", {}, {{SDL_CONTROLLER_BUTTON_DPAD_LEFT, false}}, {0, 0}, true},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        for (const auto& [axis, value] : s.axes)
            pad.set_axis(axis, value);
        for (const auto& [button, pressed] : s.buttons)
            pad.set_button(button, pressed);
        frame();
        EXPECT_NEAR(direction().x(), s.expected.x(), 1e-4);
        EXPECT_NEAR(direction().y(), s.expected.y(), 1e-4);
        EXPECT_EQ(content.signal("Stick", "moved"), s.moved);
    }
}

TEST_F(InputGamepadTest, ControllerEventsWithoutADeviceAreHarmless) {
    SDL_Event press{};
    press.type = SDL_CONTROLLERBUTTONDOWN;
    press.cbutton.which = 4242;
    press.cbutton.button = SDL_CONTROLLER_BUTTON_A;
    press.cbutton.state = SDL_PRESSED;
    SDL_Event removed{};
    removed.type = SDL_CONTROLLERDEVICEREMOVED;
    removed.cdevice.which = 4242;
    ASSERT_EQ(SDL_PushEvent(&press), 1) << SDL_GetError();
    ASSERT_EQ(SDL_PushEvent(&removed), 1) << SDL_GetError();
    content.set<Component::Pair<double, double>>("Gamepad", "rumble", 0.05, 0.05);
    frame();
    EXPECT_FALSE(has("Gamepad", "id"));
    EXPECT_FALSE(has("Gamepad_4242", "pointer"));
    EXPECT_FALSE(has("Gamepad", "rumble"));
}

} // namespace
