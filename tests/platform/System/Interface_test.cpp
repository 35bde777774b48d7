#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/System/Interface.h>

#include "support/Sdl_fixture.h"

namespace Orvane::System {
namespace {

using Component::Collision_type;
using Component::Image;
using Component::Position;

class Interface_init_test : public Orvane::Test::Sdl_test {
  protected:
    Point at(const std::string& entity) {
        return content.get<Position>(entity, "position")->value();
    }
    Content content;
    Interface interface { content };
};

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
    Config::interface_scale = 1.0;
    content.set<Component::Font>("Interface", "font", "fonts/DejaVuSans.ttf", 80);
    content.set<Component::Simple<std::string>>("Inventory", "label", "Use with");
    content.set<Image>("Chamfer", "image", "images/objects/solid.png");
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

} // namespace
} // namespace Orvane::System
