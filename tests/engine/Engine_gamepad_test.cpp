// The sample's quay played by controller through SDL's own event queue, headless: Mara steered
// to the rope, the rope made current with the shoulders, its verbs opened and "take" picked
// with the west button; then the inventory opened, the rope current in it, and looked at.

#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>

#include "support/Controller_play.h"
#include "support/Input_store.h"
#include "support/Sample_play.h"
#include "support/Virtual_controller.h"

namespace {

using namespace Orvane;
using Orvane::Test::press;

Status status_of(const Content& content) {
    return content.request<Component::Status>(Fast_access_component::GAME_STATUS)->value();
}

std::string text(const Content& content, const std::string& entity, const std::string& component) {
    return content.value<Component::Simple<std::string>>(entity, component, std::string("<absent>"));
}

bool listed(const Content& content, const std::string& id) {
    auto list = content.request<Component::Vector<std::string>>(Key::interface_active_objects);
    if (!list)
        return false;
    for (const std::string& name : list->value())
        if (name == id)
            return true;
    return false;
}

using Engine_gamepad_test = Orvane::Test::Sample_play_test;

TEST_F(Engine_gamepad_test, TheRopeTakenAndLookedAtByController) {
    Content& content = this->content();
    // an Xbox layout: A (south) confirms, B (east) cancels
    Orvane::Test::Virtual_controller pad("Xbox Series X Controller", 1118, 736);
    input.run(1);
    ASSERT_EQ(Orvane::Test::input_mode(content), Input_mode::GAMEPAD);

    const Point bollard = content.get<Component::Position>("rope", "view")->value();
    ASSERT_TRUE(Orvane::Test::steer(input, pad, content, bollard,
                                    [](Content& c) { return listed(c, "rope"); }, 900))
        << "the rope never came within reach";
    for (int i = 0; i < 8 && text(content, "Interface", "active_object") != "rope"; ++i)
        press(input, pad, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    ASSERT_EQ(text(content, "Interface", "active_object"), "rope");

    // EAST opens the verbs, WEST takes
    press(input, pad, SDL_CONTROLLER_BUTTON_B);
    ASSERT_EQ(top(), Status::ACTION);
    EXPECT_EQ(text(content, "Interface", "action_choice_target"), "rope");
    press(input, pad, SDL_CONTROLLER_BUTTON_X);
    EXPECT_NE(top(), Status::ACTION);
    EXPECT_EQ(text(content, "Interface", "action_choice_target"), "<absent>");
    ASSERT_TRUE(input.run_until([](Content& c) { return text(c, "rope", "state") == "inventory_rope"; },
                                900))
        << "the rope was not taken";
    ASSERT_TRUE(input.run_until([](Content& c) { return status_of(c) == Status::IDLE; }, 900));

    // SOUTH opens the inventory on the rope; EAST looks at it and Mara says so
    press(input, pad, SDL_CONTROLLER_BUTTON_A);
    ASSERT_EQ(top(), Status::IN_INVENTORY);
    EXPECT_EQ(text(content, "Interface", "active_object"), "rope");
    press(input, pad, SDL_CONTROLLER_BUTTON_B);
    EXPECT_NE(top(), Status::IN_INVENTORY);
    EXPECT_EQ(text(content, "Interface", "previous_active_inventory_object"), "rope");
    EXPECT_TRUE(input.run_until(
        [](Content& c) { return c.request<Component::Base>("Comment_0", "image") != nullptr; }, 300))
        << "no remark on the rope";
    ASSERT_TRUE(input.run_until([](Content& c) { return status_of(c) == Status::IDLE; }, 900));
    EXPECT_EQ(content.get<Component::Inventory>(Key::game_inventory)->size(), 1u);
}

} // namespace
