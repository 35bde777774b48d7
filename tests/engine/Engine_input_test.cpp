// The sample game played through SDL's own event queue, headless, through the engine in this
// process: the keyboard skips the opening, the mouse and a touch send Mara across the quay, a
// virtual controller steers her to the objects and picks among them, the window goes to the
// background and back, changes size and full screen, and closing it ends the run.

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/System/Base.h>
#include <Orvane/Utils/View.h>

#include "support/Controller_play.h"
#include "support/Fixed_step_engine.h"
#include "support/Input_store.h"
#include "support/Sdl_input.h"
#include "support/Temp_pref_folder.h"
#include "support/Virtual_controller.h"

namespace {

using namespace Orvane;
using Names = std::vector<std::string>;

Point position_of(const Content& content, const std::string& entity) {
    return content.get<Component::Position>(entity, "position")->value();
}

std::shared_ptr<Component::Status> status_of(const Content& content) {
    return content.request<Component::Status>(Fast_access_component::GAME_STATUS);
}

Names active_objects(const Content& content) {
    auto list = content.request<Component::Vector<std::string>>("Interface", "active_objects");
    return list ? list->value() : Names{};
}

bool listed(const Content& content, const std::string& id) {
    const Names names = active_objects(content);
    return std::find(names.begin(), names.end(), id) != names.end();
}

std::string text(const Content& content, const std::string& entity, const std::string& component) {
    return content.value<Component::Simple<std::string>>(entity, component, std::string("<absent>"));
}

using Orvane::Test::press;
using Orvane::Test::steer;

TEST(EngineInputTest, TheSampleGameAnswersKeysMouseTouchAndAController) {
    ASSERT_FALSE(Orvane::Test::sample_data().empty()) << "ORVANE_BUILD_DIR is not set: run through ctest";
    const Orvane::Test::Temp_pref_folder pref;
    // a 1920 x 1080 window: window pixels are scene pixels
    pref.write("config.yaml", "fullscreen: false\nwindow: [1920, 1080]\n");
    // the dummy window never has focus: controllers must report anyway
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    Orvane::Test::Fixed_step_engine engine;
    ASSERT_TRUE(engine.start_up(Orvane::Test::sample_data()));
    Content& content = engine.content();
    Orvane::Test::Sdl_input input(engine);
    const auto top = [&] { return status_of(content)->value(); };

    // The opening: a released space asks for the skip message, a second one skips.
    ASSERT_TRUE(input.run_until([&](Content&) { return top() == Status::CUTSCENE; }, 300));
    input.run(10);
    input.tap(SDLK_SPACE);
    input.run(1);
    EXPECT_TRUE(content.signal("Skip_message", "exists")) << "the message comes first";
    EXPECT_EQ(top(), Status::CUTSCENE);
    input.tap(SDLK_SPACE);
    ASSERT_TRUE(input.run_until(
        [&](Content& c) {
            auto start = c.request<Component::Action>("start", "action");
            return top() == Status::IDLE && start && !start->on();
        },
        600))
        << "the opening did not end";

    // A click on the quay sends Mara there.
    const Point quay(1600, 960);
    const Point screen = System::camera_view(content).to_screen(quay, false);
    input.mouse_button(SDL_BUTTON_LEFT, true, static_cast<int>(screen.x()),
                       static_cast<int>(screen.y()));
    input.mouse_button(SDL_BUTTON_LEFT, false, static_cast<int>(screen.x()),
                       static_cast<int>(screen.y()));
    input.run(1);
    EXPECT_EQ(Orvane::Test::input_mode(content), Input_mode::MOUSE);
    ASSERT_TRUE(input.run_until(
        [&](Content& c) {
            const Point mara = position_of(c, "mara_body");
            return std::hypot(mara.x() - quay.x(), mara.y() - quay.y()) < 2;
        },
        600))
        << "Mara did not walk to the click";

    // A touch switches to the touchscreen.
    input.touch(true, 900, 900);
    input.touch(false, 900, 900);
    input.run(1);
    EXPECT_EQ(Orvane::Test::input_mode(content), Input_mode::TOUCHSCREEN);

    // A controller: connected, current, and the mode follows it.
    Orvane::Test::Virtual_controller pad("Xbox Series X Controller", 1118, 736);
    input.run(1);
    EXPECT_EQ(Orvane::Test::input_mode(content), Input_mode::GAMEPAD);
    EXPECT_EQ(text(content, "Gamepad", "id"), "Gamepad(1118:736)");

    // The stick walks Mara to the rope's bollard, and the rope becomes active.
    const Point bollard = content.get<Component::Position>("rope", "view")->value();
    ASSERT_TRUE(steer(input, pad, content, bollard,
                      [](Content& c) { return listed(c, "rope"); }, 900))
        << "the rope never came within reach";
    EXPECT_TRUE(listed(content, "rope"));

    // By Ferran's bench: Ferran and the purse, and Pip once he stands clear.
    const Point bench = content.get<Component::Position>("ferran", "view")->value();
    ASSERT_TRUE(steer(input, pad, content, Point(bench.x() + 60, bench.y()),
                      [](Content& c) { return listed(c, "ferran") && listed(c, "purse"); }, 900))
        << "Ferran and the purse never came within reach";
    input.run(120);
    Names names = active_objects(content);
    ASSERT_GE(names.size(), 2u);
    for (const std::string& id : names)
        EXPECT_TRUE(id == "ferran" || id == "purse" || id == "pip") << id << " is listed";

    // The shoulders cycle through the list.
    const std::string first = text(content, "Interface", "active_object");
    press(input, pad, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    const std::string second = text(content, "Interface", "active_object");
    EXPECT_NE(second, first);
    names = active_objects(content);
    for (std::size_t i = 0; i < names.size(); ++i)
        press(input, pad, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    EXPECT_EQ(text(content, "Interface", "active_object"), second) << "round the list";
    EXPECT_EQ(active_objects(content), names) << "the list held still meanwhile";
    press(input, pad, SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    EXPECT_EQ(text(content, "Interface", "active_object"), first);

    // EAST on the current object opens the verb choice for it.
    pad.set_button(SDL_CONTROLLER_BUTTON_B, true);
    input.run(1);
    EXPECT_EQ(top(), Status::ACTION);
    EXPECT_EQ(text(content, "Interface", "action_choice_target"), first);
    pad.set_button(SDL_CONTROLLER_BUTTON_B, false);
    input.run(1);
    EXPECT_EQ(top(), Status::ACTION) << "the release does nothing";
    // a shoulder leaves the verb choice
    press(input, pad, SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    EXPECT_EQ(top(), Status::IDLE);

    // SOUTH with the start's empty inventory opens it, with no item to name.
    ASSERT_EQ(content.get<Component::Inventory>("Game", "inventory")->size(), 0u);
    pad.set_button(SDL_CONTROLLER_BUTTON_A, true);
    input.run(1);
    EXPECT_EQ(top(), Status::IN_INVENTORY);
    EXPECT_EQ(text(content, "Interface", "active_object"), "<absent>");
    pad.set_button(SDL_CONTROLLER_BUTTON_A, false);
    input.run(1);
    // without an item, look and use wait; SOUTH closes the bar all the same
    press(input, pad, SDL_CONTROLLER_BUTTON_B);
    press(input, pad, SDL_CONTROLLER_BUTTON_Y);
    EXPECT_EQ(top(), Status::IN_INVENTORY);
    press(input, pad, SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(top(), Status::IDLE);
    EXPECT_EQ(text(content, "Interface", "previous_active_inventory_object"), "<absent>");

    // The window hidden and shown again pauses the game and resumes it.
    input.window(SDL_WINDOWEVENT_HIDDEN);
    input.run(1);
    EXPECT_EQ(top(), Status::PAUSE);
    input.run(5);
    EXPECT_EQ(top(), Status::PAUSE);
    input.window(SDL_WINDOWEVENT_SHOWN);
    input.run(1);
    EXPECT_EQ(top(), Status::IDLE);

    // Alt+Enter toggles the full screen; a resize sets the window size.
    auto fullscreen = content.get<Component::Boolean>("Window", "fullscreen");
    const bool was_fullscreen = fullscreen->value();
    input.key(SDLK_LALT, true);
    input.tap(SDLK_RETURN);
    input.key(SDLK_LALT, false);
    input.run(1);
    EXPECT_NE(fullscreen->value(), was_fullscreen);
    input.key(SDLK_LALT, true);
    input.tap(SDLK_RETURN);
    input.key(SDLK_LALT, false);
    input.run(1);
    EXPECT_EQ(fullscreen->value(), was_fullscreen);
    input.window(SDL_WINDOWEVENT_RESIZED, 1280, 720);
    input.run(1);
    EXPECT_EQ(content.get<Component::Simple<int>>("Window", "width")->value(), 1280);
    EXPECT_EQ(content.get<Component::Simple<int>>("Window", "height")->value(), 720);

    // Closing the window ends the run normally.
    input.quit();
    input.run(1);
    EXPECT_TRUE(input.ended());
    engine.tear_down();
}

} // namespace
