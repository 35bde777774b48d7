#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/System/Interface.h>
#include <Orvane/Third_party/Gamepad.h>

#include "support/Interface_fixture.h"

namespace Orvane::System {
namespace {

using Component::Group;
using Component::Image;
using Component::Position;
using Selector = Interface::Selector_type;

class Interface_selector_test : public Orvane::Test::Interface_fixture {
  protected:
    void SetUp() override {
        Interface_fixture::SetUp();
        interface.init();
        clock->set(1000);
        latest_active->set(1000);
        content.set<Component::Absolute_position>("box", "label", Point(900, 500), false);
    }
    void use_controller(const std::string& name) {
        mode->set(GAMEPAD);
        text("Gamepad", "id", "1:2");
        content.set<Component::Simple<Gamepad_info>>("1:2", "gamepad", Gamepad_info(1, 2, name));
    }
    void choose_verb_for(const std::string& target, Status status = Status::ACTION) {
        text("Interface", "action_choice_target", target);
        game_status->push(status);
    }
    std::vector<std::string> slots() const { return slots_of(interface); }
    static std::vector<std::string> slots_of(const Interface& interface) {
        return {interface.action_slot(0), interface.action_slot(1), interface.action_slot(2),
                interface.action_slot(3)};
    }
    // The picture that a label of this text shows.
    Third_party::SDL::Image_handle picture_of(const std::string& words) {
        interface.create_label("probe", words, Interface::Label_type::OPAQUE,
                               Component::Collision_type::BOX, 1);
        return image("probe")->core();
    }
    // Ends the glides of the verbs' buttons, as 0.25 seconds of animation frames would.
    void finish_glides() { finish_glides_of(interface); }
    void finish_glides_of(const Interface& shown) {
        for (const auto& slot : slots_of(shown))
            if (auto glide = content.request<Component::GUI_animation>(slot + "_button",
                                                                       "animation"))
                glide->update(clock->value() + 1);
    }
    Point button(const std::string& key) { return at(key + "_button", "global_position"); }
    static void expect_near(const Point& got, const Point& want, double tolerance) {
        EXPECT_NEAR(got.x(), want.x(), tolerance) << to_string(got) << " vs " << to_string(want);
        EXPECT_NEAR(got.y(), want.y(), tolerance) << to_string(got) << " vs " << to_string(want);
    }
};

TEST_F(Interface_selector_test, TypeByStatusModeAndIdleness) {
    struct Case {
        const char* name;
        Input_mode input;
        Status status;
        double idle;                   // seconds since the last input
        std::optional<double> first;   // age of First_idle:time
        bool just_launched;
        Selector type;
        std::string id;
        bool first_kept;
    };
    const std::vector<Case> cases = {
        {"idle 5 s exactly", GAMEPAD, Status::IDLE, 5.0, {}, false, Selector::NONE, "", false},
        {"idle 5.1 s", GAMEPAD, Status::IDLE, 5.1, {}, false, Selector::IDLE, "door", false},
        {"first idle 59 s old", GAMEPAD, Status::IDLE, 0, 59.0, false, Selector::IDLE, "door",
         true},
        {"first idle 60 s old", GAMEPAD, Status::IDLE, 0, 60.0, false, Selector::NONE, "", false},
        {"first idle 60 s old, idle", GAMEPAD, Status::IDLE, 10, 60.0, false, Selector::IDLE,
         "door", false},
        {"just launched", GAMEPAD, Status::IDLE, 0, {}, true, Selector::IDLE, "door", false},
        {"just launched, old first idle kept", GAMEPAD, Status::IDLE, 0, 70.0, true,
         Selector::IDLE, "door", true},
        {"inventory open", GAMEPAD, Status::IN_INVENTORY, 0, {}, false, Selector::IN_INVENTORY,
         "door", false},
        {"verb", GAMEPAD, Status::ACTION, 0, {}, false, Selector::ACTION_CHOICE, "box", false},
        {"second object", GAMEPAD, Status::OBJECT, 0, {}, false, Selector::OKNOTOK, "", false},
        {"window", GAMEPAD, Status::IN_WINDOW, 0, {}, false, Selector::OKNOTOK, "", false},
        {"code", GAMEPAD, Status::IN_CODE, 0, {}, false, Selector::OKNOTOK, "", false},
        {"menu", GAMEPAD, Status::IN_MENU, 0, {}, false, Selector::OKCONTINUE, "", false},
        {"item verb", GAMEPAD, Status::INVENTORY_ACTION, 0, {}, false, Selector::NONE, "", false},
        {"mouse idle", MOUSE, Status::IDLE, 100, {}, true, Selector::NONE, "", false},
        {"mouse verb", MOUSE, Status::ACTION, 0, {}, false, Selector::ACTION_CHOICE, "box",
         false},
        {"touch item verb", TOUCHSCREEN, Status::INVENTORY_ACTION, 0, {}, false,
         Selector::INVENTORY_ACTION_CHOICE, "box", false},
        {"mouse in menu", MOUSE, Status::IN_MENU, 0, {}, false, Selector::NONE, "", false},
    };
    content.set<Component::Absolute_position>("box", "position", Point(300, 1000));
    text("Interface", "active_object", "door");
    text("Interface", "action_choice_target", "box");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Interface fresh(content);
        mode->set(c.input);
        if (c.status != Status::IDLE)
            game_status->push(c.status);
        latest_active->set(1000 - c.idle);
        content.remove("First_idle", "time", true);
        if (c.first)
            content.set<Component::Simple<double>>("First_idle", "time", 1000 - *c.first);
        content.remove("Game", "just_launched", true);
        if (c.just_launched)
            content.emit("Game", "just_launched");
        content.emit("Player", "not_moved_yet");

        fresh.update_action_selector();
        EXPECT_EQ(fresh.selector_type(), c.type);
        EXPECT_EQ(fresh.selector_id(), c.id);
        EXPECT_EQ(bool(content.request<Component::Base>("First_idle", "time")),
                  c.first_kept || (c.first && c.just_launched));
        EXPECT_EQ(content.signal("Player", "not_moved_yet"), c.type != Selector::IDLE);
        if (c.status != Status::IDLE)
            game_status->pop();
        fresh.reset_action_selector();
    }
}

TEST_F(Interface_selector_test, IdleVerbsWithoutAnObjectAreFadedButtonsWithoutText) {
    use_controller("Xbox Wireless Controller");
    latest_active->set(990);
    interface.update_action_selector();
    EXPECT_EQ(slots(), (std::vector<std::string>{"Default_move", "Default_look",
                                                 "Default_inventory", "Default_take"}));
    for (const char* verb : {"Default_take", "Default_look", "Default_move"}) {
        SCOPED_TRACE(verb);
        EXPECT_FALSE(content.request<Group>(std::string(verb) + "_label", "group"));
        EXPECT_FALSE(image(std::string(verb) + "_button")->on());
        EXPECT_EQ(image(std::string(verb) + "_button_back")->alpha(), 128);
    }
    EXPECT_EQ(image("Default_take_button")->core(), picture_of("X"));
    EXPECT_EQ(image("Default_look_button")->core(), picture_of("B"));
    EXPECT_EQ(image("Default_move_button")->core(), picture_of("Y"));
    EXPECT_TRUE(image("Default_inventory_button")->on());
    EXPECT_EQ(image("Default_inventory_button")->core(), picture_of("A"));
    EXPECT_EQ(image("Default_inventory_button_back")->alpha(), 255);
    EXPECT_EQ(image("Default_inventory_label")->core(), picture_of("Inventory it"));

    // the controller's corner: the verbs stand around the fixed anchor, without gliding
    const Point anchor = at("Gamepad_action_selector");
    expect_near(button("Default_take"), anchor + Vector(-40, 0), 5.01);
    expect_near(button("Default_move"), anchor + Vector(0, -40), 5.01);

    text("Interface", "active_object", "door");
    interface.update_action_selector();
    EXPECT_EQ(interface.action_slot(1), "door_Action");
    EXPECT_EQ(image("door_Action_label")->core(), picture_of("Action"));
    EXPECT_TRUE(image("door_Action_button")->on());
}

TEST_F(Interface_selector_test, OkAndCancelSidesFollowTheController) {
    struct Case {
        const char* name;
        std::optional<std::string> controller; // none: the mouse
        std::size_t ok_slot;
        std::string ok_text;
        std::size_t cancel_slot;
        std::string cancel_text;
    };
    const std::vector<Case> cases = {
        {"Xbox", "Xbox Wireless Controller", 2, "A", 1, "B"},
        {"Nintendo", "Nintendo Switch Pro Controller", 1, "A", 2, "B"},
        {"PlayStation", "PS4 Controller", 2, "Playstation_cross", 1, "Playstation_circle"},
        {"mouse, Nintendo plugged", {}, 2, "", 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.controller) {
            use_controller(*c.controller);
        } else {
            use_controller("Nintendo Switch Pro Controller");
            mode->set(MOUSE);
        }
        Interface fresh(content);
        fresh.set_action_selector(Selector::OKNOTOK, "");
        EXPECT_EQ(fresh.action_slot(c.ok_slot), "oknotok_Ok");
        EXPECT_EQ(fresh.action_slot(c.cancel_slot), "oknotok_Cancel");
        for (const auto& [key, words] : {std::pair{std::string("oknotok_Ok"), c.ok_text},
                                         std::pair{std::string("oknotok_Cancel"), c.cancel_text}}) {
            if (words.empty())
                EXPECT_FALSE(image(key + "_button"));
            else if (words.starts_with("Playstation_"))
                EXPECT_EQ(image(key + "_button")->core(), image(words)->core());
            else
                EXPECT_EQ(image(key + "_button")->core(), picture_of(words));
        }
        EXPECT_EQ(image("oknotok_Cancel_label")->core(), picture_of("Cancel"));
        fresh.set_action_selector(Selector::OKCONTINUE, "");
        EXPECT_EQ(fresh.action_slot(c.cancel_slot), "okcontinue_Continue");
        EXPECT_EQ(fresh.action_slot(c.ok_slot), "okcontinue_Ok");
        fresh.reset_action_selector();
    }
}

TEST_F(Interface_selector_test, InventoryVerbsCombineOnlyWithTwoItemsAndCancelBelow) {
    use_controller("Nintendo Switch Pro Controller");
    inventory->add("key");
    interface.set_action_selector(Selector::IN_INVENTORY, "key");
    EXPECT_EQ(slots(),
              (std::vector<std::string>{"key_use", "key_look", "key_Cancel", "Default_combine"}));
    EXPECT_EQ(image("key_Cancel_button")->core(), picture_of("B"));
    EXPECT_EQ(image("Default_combine_button_back")->alpha(), 128);

    inventory->add("rope");
    interface.set_action_selector(Selector::IN_INVENTORY, "rope");
    EXPECT_EQ(interface.action_slot(3), "rope_combine");
    EXPECT_TRUE(content.request<Group>("rope_combine_label", "group"));
}

TEST_F(Interface_selector_test, SameRequestRebuildsNothingUnlessRefreshIsForced) {
    interface.set_action_selector(Selector::ACTION_CHOICE, "box");
    auto group = content.get<Group>("box_take_label", "group");
    interface.set_action_selector(Selector::ACTION_CHOICE, "box");
    EXPECT_EQ(content.get<Group>("box_take_label", "group"), group);
    content.emit("Interface", "force_refresh");
    interface.set_action_selector(Selector::ACTION_CHOICE, "box");
    auto rebuilt = content.get<Group>("box_take_label", "group");
    EXPECT_NE(rebuilt, group);
    EXPECT_TRUE(image("box_take_label_old")); // the old verbs fade out under other names

    // another target: the old verbs go, the new ones come
    interface.set_action_selector(Selector::ACTION_CHOICE, "door");
    EXPECT_FALSE(content.request<Group>("box_take_label", "group"));
    EXPECT_EQ(interface.action_slot(3), "door_take");

    // a cutscene takes the verbs away, and forgets them: afterwards the same request brings
    // them back
    game_status->push(Status::CUTSCENE);
    interface.update_action_selector();
    EXPECT_EQ(slots(), (std::vector<std::string>{"", "", "", ""}));
    EXPECT_EQ(interface.selector_type(), Selector::NONE);
    interface.set_action_selector(Selector::ACTION_CHOICE, "door");
    EXPECT_EQ(interface.action_slot(3), "door_take");
}

TEST_F(Interface_selector_test, ControllerVerbsComeBackAfterACutsceneOnTheSameObject) {
    use_controller("Xbox Controller");
    text("Interface", "active_object", "door");
    content.emit("Game", "just_launched");
    interface.update_action_selector();
    ASSERT_EQ(interface.selector_type(), Selector::IDLE);
    const std::vector<std::string> shown = slots();
    ASSERT_NE(shown, (std::vector<std::string>{"", "", "", ""}));

    for (Status locked : {Status::CUTSCENE, Status::LOCKED, Status::DIALOG}) {
        game_status->push(locked);
        interface.update_action_selector();
        EXPECT_EQ(slots(), (std::vector<std::string>{"", "", "", ""}));
        game_status->pop();
        content.emit("Game", "just_launched");
        interface.update_action_selector();
        EXPECT_EQ(slots(), shown) << "after " << int(locked);
    }
}

TEST_F(Interface_selector_test, HoveredVerbLightsItsButton) {
    choose_verb_for("box");
    struct Case {
        const char* hovered;
        const char* lit; // "" for none
    };
    for (const Case& c : {Case{"box_look_label_back", "box_look"},
                          Case{"box_take_button_back", "box_take"},
                          Case{"box_move_label", "box_move"}, Case{"box_inventory", ""},
                          Case{"door", ""}}) {
        SCOPED_TRACE(c.hovered);
        text("Interface", "active_button", c.hovered);
        interface.update_action_selector();
        for (const auto& slot : slots())
            EXPECT_EQ(image(slot + "_button_back")->highlight(), slot == c.lit ? 255 : 0)
                << slot;
    }
    content.remove("Interface", "active_button");
    interface.update_action_selector();
    EXPECT_EQ(image("box_look_button_back")->highlight(), 0);
}

TEST_F(Interface_selector_test, ControllerPutsTheCursorOnTheTargetAndTheSelectorAroundIt) {
    use_controller("Xbox Wireless Controller");
    camera->set(Point(100, 50));
    choose_verb_for("box");
    interface.update_action_selector();
    EXPECT_EQ(cursor->value(), Point(800, 450));
    EXPECT_EQ(at("Action_selector"), Point(800, 450));
    EXPECT_EQ(image("box_look_button")->core(), picture_of("B"));
    finish_glides();
    expect_near(button("box_look"), Point(840, 450), 5.01);
    expect_near(button("box_inventory"), Point(800, 490), 5.01);
}

TEST_F(Interface_selector_test, RoomSelectorAtTheEdges) {
    struct Case {
        const char* name;
        Input_mode input;
        Point click;
        // expected button offsets from the final anchor: take, look, move, inventory
        std::vector<Vector> buttons;
    };
    const std::vector<Vector> cross = {Vector(-40, 0), Vector(40, 0), Vector(0, -40),
                                       Vector(0, 40)};
    const std::vector<Case> cases = {
        {"middle", MOUSE, Point(900, 500), cross},
        {"bottom, mouse", MOUSE, Point(900, 1050),
         {Vector(-60, 0), Vector(60, 0), Vector(-28.25, -50), Vector(28.25, -50)}},
        {"top, mouse", MOUSE, Point(900, 10),
         {Vector(-60, 0), Vector(60, 0), Vector(-28.25, 50), Vector(28.25, 50)}},
        {"left, mouse", MOUSE, Point(15, 500),
         {Vector(50, -28.25), Vector(50, 28.25), Vector(0, -60), Vector(0, 60)}},
        {"right, mouse", MOUSE, Point(1890, 500),
         {Vector(-50, -28.25), Vector(-50, 28.25), Vector(0, -60), Vector(0, 60)}},
        {"bottom right corner, mouse", MOUSE, Point(1890, 1050), cross},
        {"top left corner, touch", TOUCHSCREEN, Point(5, 5), cross},
        {"bottom, controller", GAMEPAD, Point(900, 1050), cross},
        {"right, controller", GAMEPAD, Point(1890, 500), cross},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mode->set(c.input);
        cursor->set(c.click);
        content.set<Component::Absolute_position>("box", "label", c.click, false);
        Interface fresh(content);
        fresh.set_action_selector(Selector::ACTION_CHOICE, "box");
        const Point anchor = at("Action_selector");
        const double s = Config::interface_scale;
        auto back_box = [&](const char* verb) {
            const std::string entity = std::string("box_") + verb + "_label_back";
            auto back = image(entity);
            const Point p = at(entity);
            const double hw = 0.25 * back->width() * s;
            const double hh = 0.25 * back->height() * s;
            return std::array<double, 4>{p.x() - hw, p.y() - hh, p.x() + hw, p.y() + hh};
        };
        if (c.buttons == cross && c.click != Point(900, 500)) {
            // moved inside: the labels keep 20 pixels from the edges (1900 and 1060 on the
            // right and bottom)
            EXPECT_GE(back_box("take")[0], 20 - 1e-6);
            EXPECT_GE(back_box("move")[1], 20 - 1e-6);
            EXPECT_LE(back_box("look")[2], 1900 + 1e-6);
            EXPECT_LE(back_box("inventory")[3], 1060 + 1e-6);
        } else {
            EXPECT_EQ(anchor, c.click);
        }
        // the slots follow the verbs, whatever their places
        EXPECT_EQ(slots_of(fresh),
                  (std::vector<std::string>{"box_move", "box_look", "box_inventory", "box_take"}));
        finish_glides_of(fresh);
        const char* verbs[] = {"take", "look", "move", "inventory"};
        for (std::size_t i = 0; i < 4; ++i)
            expect_near(button(std::string("box_") + verbs[i]), anchor + c.buttons[i], 5.01);
        fresh.reset_action_selector();
    }
}

TEST_F(Interface_selector_test, FarLabelIsPushedBackInsideTheView) {
    cursor->set(Point(15, 500));
    interface.set_action_selector(Selector::ACTION_CHOICE, "box");
    auto back = image("box_move_label_back");
    const double left = at("box_move_label_back").x() - 0.25 * back->width();
    EXPECT_GT(left, 19);
    EXPECT_LE(left, 20 + 5); // the sway may add its amplitude once more
}

TEST_F(Interface_selector_test, InventorySelectorKeepsClearOfTheTabAndTheRightEdge) {
    content.get<Position>("Inventory", "origin")->set(Point(0, 930));
    const double chamfer = at("Chamfer").x();
    for (double x : {60.0, 960.0, 1900.0}) {
        SCOPED_TRACE(x);
        content.set<Component::Absolute_position>("key", "position", Point(x, 1000));
        Interface fresh(content);
        fresh.set_action_selector(Selector::INVENTORY_ACTION_CHOICE, "key");
        EXPECT_EQ(fresh.action_slot(3), "key_combine");
        EXPECT_EQ(fresh.action_slot(1), "key_look");
        EXPECT_EQ(fresh.action_slot(0), "key_use");
        EXPECT_EQ(fresh.action_slot(2), "");
        EXPECT_FALSE(image("key_look_button")); // no face-button text with the pointer
        const Point anchor = at("Action_selector");
        EXPECT_EQ(anchor.y(), 930 - 37.5);
        auto edge = [&](const char* verb, double side) {
            const std::string entity = std::string("key_") + verb + "_label_back";
            return at(entity).x() + side * 0.25 * image(entity)->width();
        };
        if (x == 960.0) {
            EXPECT_EQ(anchor.x(), 960);
        }
        EXPECT_GE(edge("combine", -1), chamfer + 50 - 1e-6);
        EXPECT_LE(edge("look", 1), 1900 + 1e-6);
        fresh.reset_action_selector();
    }
}

TEST(Interface_placement_test, SixteenPlacesWithTheirSlotsAndOffsets) {
    Content content;
    Interface interface(content);
    using O = Interface::Button_orientation;
    using T = Interface::Label_type;
    struct Case {
        O orientation;
        std::size_t slot;
        Vector label;
        Vector button;
        Vector start;
        T type;
    };
    const std::vector<Case> cases = {
        {O::UP, 0, {0, -80}, {0, -40}, {0, -14}, T::SQUARE},
        {O::RIGHT, 1, {40, 0}, {40, 0}, {14, 0}, T::RIGHT_OF_BUTTON},
        {O::DOWN, 2, {0, 80}, {0, 40}, {0, 14}, T::SQUARE},
        {O::LEFT, 3, {-40, 0}, {-40, 0}, {-14, 0}, T::LEFT_OF_BUTTON},
        {O::UP_FAR, 0, {0, -100}, {0, -60}, {0, -14}, T::SQUARE},
        {O::UP_RIGHT, 3, {50, -28.25}, {50, -28.25}, {-14, 0}, T::RIGHT_OF_BUTTON},
        {O::DOWN_RIGHT, 1, {50, 28.25}, {50, 28.25}, {14, 0}, T::RIGHT_OF_BUTTON},
        {O::DOWN_FAR, 2, {0, 100}, {0, 60}, {0, 14}, T::SQUARE},
        {O::DOWN_LEFT, 1, {-50, 28.25}, {-50, 28.25}, {14, 0}, T::LEFT_OF_BUTTON},
        {O::UP_LEFT, 3, {-50, -28.25}, {-50, -28.25}, {-14, 0}, T::LEFT_OF_BUTTON},
        {O::LEFT_FAR, 3, {-60, 0}, {-60, 0}, {-14, 0}, T::LEFT_OF_BUTTON},
        {O::RIGHT_FAR, 1, {60, 0}, {60, 0}, {14, 0}, T::RIGHT_OF_BUTTON},
        {O::UP_LEFT_STEEP, 0, {-28.25, -90}, {-28.25, -50}, {0, -14}, T::SQUARE},
        {O::UP_RIGHT_STEEP, 2, {28.25, -90}, {28.25, -50}, {0, 14}, T::SQUARE},
        {O::DOWN_LEFT_STEEP, 0, {-28.25, 90}, {-28.25, 50}, {0, -14}, T::SQUARE},
        {O::DOWN_RIGHT_STEEP, 2, {28.25, 90}, {28.25, 50}, {0, 14}, T::SQUARE},
    };
    for (double scale : {1.0, 1.5}) {
        Config::interface_scale = scale;
        for (const Case& c : cases) {
            SCOPED_TRACE(int(c.orientation));
            std::size_t slot = 9;
            Vector label;
            Vector button;
            Vector start;
            T type = T::SQUARE; // kept where the place does not decide it
            interface.compute_action_positions(c.orientation, slot, label, button, start, type);
            EXPECT_EQ(slot, c.slot);
            EXPECT_EQ(label, c.label * scale);
            EXPECT_EQ(button, c.button * scale);
            EXPECT_EQ(start, c.start * scale);
            EXPECT_EQ(type, c.type);
        }
    }
    Config::interface_scale = 1.0;
}

using Interface_selector_DeathTest = Interface_selector_test;

TEST_F(Interface_selector_DeathTest, MissingDataIsNamed) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    content.remove("Continue", "text");
    EXPECT_EXIT(interface.set_action_selector(Selector::OKCONTINUE, ""),
                ::testing::ExitedWithCode(1), "Cannot find Continue:text");
    use_controller("Xbox Wireless Controller");
    content.remove("1:2", "gamepad");
    EXPECT_EXIT(interface.set_action_selector(Selector::OKNOTOK, ""),
                ::testing::ExitedWithCode(1), "Cannot find 1:2:gamepad");
    mode->set(MOUSE);
    game_status->push(Status::ACTION);
    EXPECT_EXIT(interface.update_action_selector(), ::testing::ExitedWithCode(1),
                "Cannot find Interface:action_choice_target");
}

} // namespace
} // namespace Orvane::System
