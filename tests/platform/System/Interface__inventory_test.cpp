#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/Engine.h>
#include <Orvane/System/Animation.h>
#include <Orvane/System/Graphic.h>
#include <Orvane/System/Interface.h>

#include "support/Interface_frame.h"

namespace Orvane::System {
namespace {

using Component::GUI_position_animation;
using Component::Image;
using Component::Position;
using Slot = Fast_access_component;

/// The store as the bar finds it: the bar's origin closed under a mouse (1080), the selector
/// anchor 180 above it, the two arrows and the inventory. A frame runs the bar's
/// step, then the animations (which move the slides).
class Interface_inventory_test : public Orvane::Test::Interface_frame {
  protected:
    void SetUp() override {
        Interface_frame::SetUp();
        origin = content.get<Component::Absolute_position>("Inventory", "origin");
        origin->set(Point(0, 1080));
        selector = content.get<Component::Absolute_position>("Gamepad_action_selector", "position");
        selector->set(Point(1660, 900));
        left = image("Left_arrow");
        right = image("Right_arrow");
    }

    void frame(double t) {
        clock->set(t);
        interface.update_inventory();
        animation.run();
    }

    /// Items "item0" to "item<n-1>", carried in that order, each a 100 x 100 picture.
    void carry(int n) {
        for (int i = 0; i < n; ++i) {
            const std::string id = "item" + std::to_string(i);
            content.set<Image>(id, "image", 100, 100, 0, 0, 255);
            inventory->add(id);
        }
    }
    std::shared_ptr<Image> item(int i) {
        return content.get<Image>("item" + std::to_string(i), "image");
    }
    Point item_at(int i) {
        return content.get<Position>("item" + std::to_string(i), "position")->value();
    }
    void active(const std::string& id) {
        content.set<Component::Simple<std::string>>("Interface", "active_object", id);
    }
    void source(const std::string& id) {
        content.set<Component::Simple<std::string>>("Interface", "source_object", id);
    }
    std::shared_ptr<GUI_position_animation> slide() {
        return content.request<GUI_position_animation>("Inventory", "animation");
    }

    std::shared_ptr<Component::Absolute_position> origin;
    std::shared_ptr<Component::Absolute_position> selector;
    std::shared_ptr<Image> left;
    std::shared_ptr<Image> right;
};

const char* mode_name(Input_mode m) {
    return m == Input_mode::MOUSE ? "mouse" : m == Input_mode::TOUCHSCREEN ? "touch" : "gamepad";
}

TEST_F(Interface_inventory_test, BarAndSelectorRestWhereStatusAndModeWantThem) {
    struct Case {
        Orvane::Status status;
        double mouse_y;   // mouse and touchscreen
        double gamepad_y; // controller
    };
    const double s = 1.5;
    const double open = 930;
    const double hidden = 1080 + 50 * s;
    const Case cases[] = {
        {Orvane::Status::IDLE, 1080, hidden},           {Orvane::Status::CUTSCENE, hidden, hidden},
        {Orvane::Status::LOCKED, hidden, hidden},       {Orvane::Status::ACTION, hidden, hidden},
        {Orvane::Status::DIALOG, hidden, hidden},       {Orvane::Status::IN_WINDOW, hidden, hidden},
        {Orvane::Status::IN_INVENTORY, open, open},     {Orvane::Status::OBJECT, open, open},
        {Orvane::Status::INVENTORY_ACTION, open, open},
    };
    Config::interface_scale = s;
    game_status->pop();
    for (const Case& c : cases) {
        for (Input_mode m : {Input_mode::MOUSE, Input_mode::TOUCHSCREEN, Input_mode::GAMEPAD}) {
            SCOPED_TRACE(std::string("status ") + std::to_string(int(c.status)) + ", " +
                         mode_name(m));
            game_status->push(c.status);
            mode->set(m);
            origin->set(Point(0, 1000));
            selector->set(Point(1500, 700));
            frame(10);
            frame(10.25);
            const double y = m == Input_mode::GAMEPAD ? c.gamepad_y : c.mouse_y;
            EXPECT_EQ(origin->value(), Point(0, y));
            // in use without an active label the selector stays; otherwise 180 s above the bar
            const bool in_use = y == open;
            EXPECT_EQ(selector->value(),
                      in_use ? Point(1500, 700) : Point(1920 - 260 * s, y - 180 * s));
            EXPECT_FALSE(slide()) << "a finished slide is gone";
            game_status->pop();
        }
    }
}

TEST_F(Interface_inventory_test, SlideEasesOverAQuarterSecondAndStartsOnlyWhenNeeded) {
    frame(1);
    EXPECT_FALSE(slide()) << "the bar is already where idle mouse play wants it";

    game_status->push(Orvane::Status::IN_INVENTORY);
    frame(1);
    auto first = slide();
    ASSERT_TRUE(first);
    EXPECT_DOUBLE_EQ(first->start(), 1);
    EXPECT_DOUBLE_EQ(first->end(), 1.25);
    frame(1.125);
    EXPECT_NEAR(origin->value().y(), 1080 - 150 * std::sqrt(std::sin(std::numbers::pi / 4)), 1e-9);
    EXPECT_EQ(slide(), first) << "a running slide is not started again";
    EXPECT_DOUBLE_EQ(slide()->end(), 1.25);
    frame(1.25);
    EXPECT_EQ(origin->value(), Point(0, 930));
    frame(1.3);
    EXPECT_FALSE(slide());
}

TEST_F(Interface_inventory_test, StatusChangeMidwayTurnsTheRunningSlide) {
    mode->set(Input_mode::GAMEPAD);
    origin->set(Point(0, 1130));
    game_status->push(Orvane::Status::IN_INVENTORY);
    frame(2);
    auto running = slide();
    ASSERT_TRUE(running);
    frame(2.1);
    EXPECT_LT(origin->value().y(), 1130);

    // the mouse takes over and the bar closes to its tab while it is still opening: the same
    // slide turns towards the new place, on its own curve and interval
    game_status->pop();
    mode->set(Input_mode::MOUSE);
    frame(2.2);
    EXPECT_EQ(slide(), running);
    EXPECT_DOUBLE_EQ(slide()->start(), 2) << "retargeted, not restarted";
    EXPECT_DOUBLE_EQ(slide()->end(), 2.25);
    EXPECT_NEAR(origin->value().y(), 1130 - 50 * std::sqrt(std::sin(0.8 * std::numbers::pi / 2)),
                1e-9);
    frame(2.25);
    EXPECT_EQ(origin->value(), Point(0, 1080));
    EXPECT_FALSE(slide());
}

TEST_F(Interface_inventory_test, NineItemsFromTheScrollPositionFillTheSlots) {
    carry(12);
    struct Case {
        int scroll;
        bool left_arrow;
        bool right_arrow;
    };
    const double slots[] = {272, 444, 616, 788, 960, 1132, 1304, 1476, 1648};
    for (const Case& c : {Case{3, true, false}, Case{0, false, true}}) {
        SCOPED_TRACE("scrolled to " + std::to_string(c.scroll));
        while (inventory->prev()) {
        }
        for (int i = 0; i < c.scroll; ++i)
            inventory->next();
        frame(1);
        for (int i = 0; i < 12; ++i) {
            SCOPED_TRACE("item " + std::to_string(i));
            const bool shown = i >= c.scroll && i < c.scroll + 9;
            EXPECT_EQ(item(i)->on(), shown);
            if (shown) {
                EXPECT_EQ(item_at(i), Point(slots[i - c.scroll], 1080 + 75));
            }
        }
        EXPECT_EQ(left->on(), c.left_arrow);
        EXPECT_EQ(right->on(), c.right_arrow);
    }

    // the items hang on the bar: they slide with it
    game_status->push(Orvane::Status::IN_INVENTORY);
    frame(2);
    frame(2.1);
    const double y = origin->value().y();
    EXPECT_EQ(item_at(0), Point(272, y + 75));
    frame(2.25);
    EXPECT_EQ(item_at(8), Point(1648, 930 + 75));
}

TEST_F(Interface_inventory_test, ArrowsFollowTheScrollPosition) {
    struct Case {
        int items;
        int scroll;
        bool left_arrow;
        bool right_arrow;
    };
    const Case cases[] = {
        {0, 0, false, false}, {9, 0, false, false}, {10, 0, false, true},
        {10, 1, true, false}, {20, 5, true, true},  {20, 11, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.items) + " items scrolled to " + std::to_string(c.scroll));
        inventory->clear();
        carry(c.items);
        for (int i = 0; i < c.scroll; ++i)
            ASSERT_TRUE(inventory->next());
        frame(1);
        EXPECT_EQ(left->on(), c.left_arrow);
        EXPECT_EQ(right->on(), c.right_arrow);
    }
}

TEST_F(Interface_inventory_test, ActiveItemGrowsLitAndTheItemInUseShrinksDimmed) {
    carry(3);
    item(2)->on() = false;
    struct Case {
        const char* active;
        const char* source;
        double scale[3];
        int alpha[3];
        int highlight[3];
    };
    const Case cases[] = {
        {"", "", {0.7, 0.7, 0.7}, {255, 255, 255}, {0, 0, 0}},
        {"item1", "", {0.7, 0.9, 0.7}, {255, 255, 255}, {0, 255, 0}},
        {"item1", "item0", {0.5, 0.9, 0.7}, {128, 255, 255}, {0, 255, 0}},
        {"item0", "item0", {0.5, 0.7, 0.7}, {128, 255, 255}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("active '") + c.active + "', source '" + c.source + "'");
        active(c.active);
        source(c.source);
        frame(1);
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE("item " + std::to_string(i));
            EXPECT_TRUE(item(i)->on());
            EXPECT_DOUBLE_EQ(item(i)->scale(), c.scale[i]);
            EXPECT_EQ(int(item(i)->alpha()), c.alpha[i]);
            EXPECT_EQ(int(item(i)->highlight()), c.highlight[i]);
        }
    }
}

TEST_F(Interface_inventory_test, HiddenItemKeepsItsLook) {
    carry(10);
    active("item9");
    item(9)->set_scale(0.3);
    item(9)->set_alpha(10);
    frame(1);
    EXPECT_FALSE(item(9)->on());
    EXPECT_DOUBLE_EQ(item(9)->scale(), 0.3);
    EXPECT_EQ(int(item(9)->alpha()), 10);
}

/// The active item's label and the selector's Cancel label, as the label operations leave
/// them: a back picture and a back position each; the Cancel label hangs on the selector
/// anchor, so that it moves with it.
class Interface_inventory_selector_test : public Interface_inventory_test {
  protected:
    void label(const std::string& id, const std::shared_ptr<Position>& at) {
        content.set<Image>(id + "_back", "image", 200, 100, 0, 0, 0, 100);
        content.set(at);
    }
    /// The active item's label at (1700, y), its back 100 x 50 on screen.
    void item_label(double y) {
        label("item0_label", std::make_shared<Component::Absolute_position>(
                                 "item0_label_back", "position", Point(1700, y)));
    }
    /// A Cancel label 100 x 50 on screen, 60 below and 40 right of the selector anchor.
    void cancel_label(const std::string& id) {
        label(id, std::make_shared<Component::Relative_position>(id + "_back", "position", selector,
                                                                 Vector(40, 60)));
    }
};

TEST_F(Interface_inventory_selector_test, SelectorRisesWhereTheActiveLabelWouldOverlapCancel) {
    carry(1);
    active("item0");
    struct Case {
        const char* name;
        Orvane::Status status;
        const char* cancel;
        double label_y;
        double selector_y;
    };
    const double s = 1.5;
    // at the new height (930 - 120 s = 750) the Cancel label's centre is at (1700, 810)
    const Case cases[] = {
        {"in inventory, overlapping", Orvane::Status::IN_INVENTORY, "item0_Cancel_label", 830,
         930 - 195 * s},
        {"in inventory, apart", Orvane::Status::IN_INVENTORY, "item0_Cancel_label", 1000,
         930 - 120 * s},
        {"in inventory, only the other Cancel", Orvane::Status::IN_INVENTORY,
         "oknotok_Cancel_label", 830, 930 - 120 * s},
        {"choosing a second object, overlapping", Orvane::Status::OBJECT, "oknotok_Cancel_label",
         830, 930 - 195 * s},
        {"choosing a second object, apart", Orvane::Status::OBJECT, "oknotok_Cancel_label", 1000,
         930 - 120 * s},
        {"choosing a verb: no test", Orvane::Status::INVENTORY_ACTION, "item0_Cancel_label", 830,
         930 - 120 * s},
    };
    Config::interface_scale = s;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        content.remove("item0_Cancel_label_back", "image", true);
        content.remove("oknotok_Cancel_label_back", "image", true);
        item_label(c.label_y);
        cancel_label(c.cancel);
        // far from the bar's place, where the labels never meet
        selector->set(Point(1660, 200));
        game_status->push(c.status);
        frame(1);
        EXPECT_EQ(selector->value(), Point(1660, 200)) << "the anchor is back before it slides";
        frame(1.25);
        EXPECT_EQ(selector->value(), Point(1920 - 260 * s, c.selector_y));
        game_status->pop();
    }
}

TEST_F(Interface_inventory_selector_test, WithoutAnActiveLabelTheSelectorStaysInUse) {
    carry(1);
    active("item0");
    game_status->push(Orvane::Status::IN_INVENTORY);
    selector->set(Point(1660, 400));
    frame(1);
    frame(1.25);
    EXPECT_EQ(selector->value(), Point(1660, 400));
    EXPECT_FALSE(content.request<GUI_position_animation>("Gamepad_action_selector", "animation"));
}

TEST_F(Interface_inventory_test, MenuFreezesTheBarItsItemsAndItsArrows) {
    carry(12);
    frame(1);
    game_status->push(Orvane::Status::IN_MENU);
    // under the menu everything the bar reads changes
    mode->set(Input_mode::GAMEPAD);
    inventory->next();
    active("item1");
    source("item2");
    selector->set(Point(100, 100));
    frame(2);
    frame(3);
    EXPECT_EQ(origin->value(), Point(0, 1080));
    EXPECT_EQ(selector->value(), Point(100, 100));
    EXPECT_FALSE(slide());
    EXPECT_TRUE(item(0)->on());
    EXPECT_FALSE(item(9)->on());
    EXPECT_DOUBLE_EQ(item(1)->scale(), 0.7);
    EXPECT_DOUBLE_EQ(item(2)->scale(), 0.7);
    EXPECT_FALSE(left->on());
    EXPECT_TRUE(right->on());

    // nor when the status under the menu changes
    game_status->pop();
    game_status->push(Orvane::Status::IN_INVENTORY);
    game_status->push(Orvane::Status::IN_MENU);
    frame(4);
    EXPECT_EQ(origin->value(), Point(0, 1080));
    EXPECT_FALSE(slide());
}

TEST_F(Interface_inventory_test, ItemsShowAtTheirSlotsOnScreen) {
    using Orvane::Test::Rgb;
    const Rgb colours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
    for (int i = 0; i < 4; ++i) {
        const std::string id = "item" + std::to_string(i);
        auto picture =
            content.set<Image>(id, "image", 100, 100, colours[i].r, colours[i].g, colours[i].b);
        picture->set_relative_origin(0.5, 0.5);
        inventory->add(id);
    }
    inventory->next(); // nothing to scroll to: still at the first item
    active("item1");
    source("item2");
    game_status->push(Orvane::Status::IN_INVENTORY);
    frame(1);
    frame(1.25);
    graphic.run();

    // slot centres at y 930 + 75; sides of 70 (0.7), 90 for the active item, 50 for the one in use
    EXPECT_EQ(pixel(272, 1005), colours[0]);
    EXPECT_EQ(pixel(272 + 33, 1005 + 33), colours[0]);
    EXPECT_EQ(pixel(272 + 37, 1005), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixel(444 + 43, 1005 - 43), colours[1]);
    EXPECT_EQ(pixel(616, 1005), (Rgb{0, 0, 128}));
    EXPECT_EQ(pixel(616 + 27, 1005), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixel(788, 1005), colours[3]);
    EXPECT_EQ(pixel(960, 1005), (Rgb{0, 0, 0})) << "slot 4 is empty";
}

TEST(Interface_inventoryDeathTest, BarNeedsItsPartsAndEveryItemPicture) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Case {
        const char* missing;
        const char* message;
    };
    for (const Case& c : {Case{"origin", "Cannot find Inventory:origin"},
                          Case{"selector", "Cannot find Gamepad_action_selector:position"},
                          Case{"item", "Cannot find lamp:image"}}) {
        SCOPED_TRACE(c.missing);
        Content content;
        Engine::create_fixed_components(content);
        content.request<Component::Status>(Slot::GAME_STATUS)->pop();
        content.set_fac<Component::Simple<double>>(Slot::CLOCK_TIME, "Clock", "time", 0.0);
        content.set_fac<Component::Simple<Input_mode>>(Slot::INTERFACE_INPUT_MODE, "Interface",
                                                       "input_mode", Input_mode::MOUSE);
        if (std::string(c.missing) != "origin")
            content.set<Component::Absolute_position>("Inventory", "origin", Point(0, 1080));
        if (std::string(c.missing) != "selector")
            content.set<Component::Absolute_position>("Gamepad_action_selector", "position",
                                                      Point(1660, 900));
        content.get<Component::Inventory>("Game", "inventory")->add("lamp");
        Interface interface(content);
        EXPECT_EXIT(interface.update_inventory(), ::testing::ExitedWithCode(1), c.message);
    }
}

} // namespace
} // namespace Orvane::System
