#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/System/Interface.h>

#include "support/Interface_fixture.h"

namespace Orvane::System {
namespace {

using Component::Collision_type;
using Component::Image;
using Component::Position;

using Interface_init_test = Orvane::Test::Interface_fixture;

TEST_F(Interface_init_test, BlackLayerCoversTheViewHidden) {
    interface.init();
    auto black = content.get<Image>("Blackscreen", "image");
    EXPECT_FALSE(black->on());
    EXPECT_EQ(black->z(), 1000005);
    EXPECT_EQ(black->collision(), Collision_type::UNCLICKABLE);
    EXPECT_EQ(black->alpha(), 255);
    EXPECT_DOUBLE_EQ(black->width() * black->scale(), 1920);
    EXPECT_DOUBLE_EQ(black->height() * black->scale(), 1080);
    auto position = content.get<Position>("Blackscreen", "position");
    EXPECT_EQ(position->value(), Point(0, 0));
    EXPECT_TRUE(position->is_interface());
}

TEST_F(Interface_init_test, InventoryBarHangsOnItsOriginWhichAnotherStartKeeps) {
    interface.init();
    auto origin = content.get<Position>("Inventory", "origin");
    EXPECT_EQ(origin->value(), Point(0, 1130));
    EXPECT_TRUE(origin->is_interface());
    EXPECT_EQ(at("Inventory_background"), Point(0, 1130));
    EXPECT_EQ(at("Left_arrow"), Point(20, 1205));
    EXPECT_EQ(at("Right_arrow"), Point(1900, 1205));
    EXPECT_TRUE(content.get<Position>("Right_arrow", "position")->is_interface());
    auto bar = content.get<Image>("Inventory_background", "image");
    EXPECT_EQ(bar->z(), Config::INTERFACE_BACK);
    EXPECT_EQ(bar->collision(), Collision_type::UNCLICKABLE);

    origin->set(Point(0, 930)); // the bar opened
    interface.init();
    EXPECT_EQ(content.get<Position>("Inventory", "origin"), origin);
    EXPECT_EQ(at("Left_arrow"), Point(20, 1005));
}

TEST_F(Interface_init_test, TabAndChamferSizedFromTheLabel) {
    interface.init();

    auto label = content.get<Image>("Inventory_label", "image");
    EXPECT_DOUBLE_EQ(label->scale(), 0.5);
    EXPECT_EQ(label->z(), Config::INTERFACE_ITEMS);
    EXPECT_EQ(label->collision(), Collision_type::UNCLICKABLE);
    const int wb = label->width() / 2 + 20;
    auto tab = content.get<Image>("Inventory_label_background", "image");
    EXPECT_DOUBLE_EQ(tab->width() * tab->scale(), wb);
    EXPECT_DOUBLE_EQ(tab->height() * tab->scale(), 50);
    EXPECT_EQ(at("Inventory_label_background"), Point(0, 1080));
    EXPECT_EQ(at("Chamfer"), Point(wb, 1080));
    EXPECT_EQ(at("Inventory_label"), Point(wb / 2, 1105));
    auto chamfer = content.get<Image>("Chamfer", "image");
    EXPECT_EQ(chamfer->collision(), Collision_type::BOX);
    EXPECT_DOUBLE_EQ(chamfer->scale(), 1.0);
}

TEST_F(Interface_init_test, ControllerSelectorAnchorStandsAboveTheBarsRightEnd) {
    struct Case {
        double scale;
        Point origin;
        Point anchor;
    };
    for (const Case& c : {Case{1.0, Point(0, 1130), Point(1660, 950)},
                          Case{1.0, Point(0, 930), Point(1660, 750)},
                          Case{2.0, Point(0, 1130), Point(1400, 770)}}) {
        SCOPED_TRACE("scale " + std::to_string(c.scale));
        Config::interface_scale = c.scale;
        content.set<Component::Absolute_position>("Inventory", "origin", c.origin);
        interface.init();
        auto anchor = content.get<Position>("Gamepad_action_selector", "position");
        EXPECT_EQ(anchor->value(), c.anchor);
        EXPECT_TRUE(anchor->is_interface());
        // fixed, not tied to the bar: moving the origin leaves it where it is
        content.get<Position>("Inventory", "origin")->set(Point(0, 0));
        EXPECT_EQ(anchor->value(), c.anchor);
    }
    Config::interface_scale = 1.0;
}

TEST_F(Interface_init_test, SelectedObjectFollowsTheCursor) {
    cursor->set(Point(300, 200));
    interface.init();
    EXPECT_EQ(at("Selected_object"), Point(300, 200));
    cursor->set(Point(310, 220));
    EXPECT_EQ(at("Selected_object"), Point(310, 220));
}

TEST_F(Interface_init_test, ReinitSignalRebuildsWithTheNewScaleAndIsConsumed) {
    interface.init();
    const double width = content.get<Image>("Inventory_label_background", "image")->width();
    Config::interface_scale = 2.0;
    content.emit("Interface", "reinit");
    interface.run();
    EXPECT_FALSE(content.signal("Interface", "reinit"));
    auto tab = content.get<Image>("Inventory_label_background", "image");
    EXPECT_NEAR(tab->width() * tab->scale(), 2 * width, 2.0);
    EXPECT_DOUBLE_EQ(content.get<Image>("Chamfer", "image")->scale(), 2.0);
    Config::interface_scale = 1.0;
}

TEST_F(Interface_init_test, SwitcherHintsStartTransparentInTheBottomLeftCorner) {
    interface.init();
    for (const char* hint : {"Keyboard_switcher", "Gamepad_switcher"}) {
        SCOPED_TRACE(hint);
        int images = 0;
        content.get<Component::Group>(hint, "group")
            ->apply<Image>([&](const std::shared_ptr<Image>& image) {
                ++images;
                EXPECT_EQ(image->alpha(), 0) << image->entity();
            });
        EXPECT_EQ(images, std::string(hint) == "Keyboard_switcher" ? 4 : 6);
    }
    // the letters are badges: two circle ends and no bar; the words follow them
    auto tab = content.get<Image>("Keyboard_switcher_left_back", "image");
    EXPECT_EQ(tab->width(), 50 + 2 * (20 * 3 - 20) + 50);
    EXPECT_EQ(content.get<Image>("Gamepad_switcher_left_back", "image")->width(), 100);
    const Point anchor = at("Switcher");
    EXPECT_NEAR(anchor.x(), 25, 2.5);
    EXPECT_NEAR(anchor.y(), 1055, 2.5);
    EXPECT_EQ(at("Gamepad_switcher_left", "global_position"), anchor + Vector(25, -25));
    EXPECT_EQ(at("Keyboard_switcher_left", "global_position"), anchor + Vector(45, -25));
    const double words = content.get<Image>("Gamepad_switcher_label_back", "image")->width();
    EXPECT_DOUBLE_EQ(at("Gamepad_switcher_label", "global_position").x(),
                     anchor.x() + 25 + 0.25 * words);
    EXPECT_DOUBLE_EQ(at("Gamepad_switcher_right", "global_position").x(),
                     anchor.x() + 25 + 0.5 * words);
    EXPECT_EQ(at("Keyboard_switcher_label"),
              at("Keyboard_switcher_label", "global_position") + Vector(20, 0));
    EXPECT_EQ(at("Keyboard_switcher_label_back"),
              at("Keyboard_switcher_label", "global_position"));
}

TEST_F(Interface_init_test, ForcedRefreshIsSeenByTheWholeNextFrameAndGoneAfterIt) {
    interface.init();
    game_status->push(Status::ACTION);
    text("Interface", "action_choice_target", "box");
    interface.run();
    auto group = content.get<Component::Group>("box_look_label", "group");
    interface.run(); // the same selector: nothing is rebuilt
    EXPECT_EQ(content.get<Component::Group>("box_look_label", "group"), group);

    content.emit("Interface", "force_refresh"); // as the menus do, after this system's frame
    interface.run();
    EXPECT_FALSE(content.signal("Interface", "force_refresh"));
    auto rebuilt = content.get<Component::Group>("box_look_label", "group");
    EXPECT_NE(rebuilt, group);
    interface.run();
    EXPECT_EQ(content.get<Component::Group>("box_look_label", "group"), rebuilt);
}

using Interface_init_DeathTest = Interface_init_test;

TEST_F(Interface_init_DeathTest, ChamferPictureMustExist) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    content.remove("Chamfer", "image");
    EXPECT_EXIT(interface.init(), ::testing::ExitedWithCode(1), "Cannot find Chamfer:image");
}

} // namespace
} // namespace Orvane::System
