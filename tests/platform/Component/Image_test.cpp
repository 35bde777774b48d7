#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Config.h>

#include "support/Sdl_fixture.h"

namespace Orvane::Component {
namespace {

using Image_test = Test::Sdl_test;

TEST_F(Image_test, RectangleDefaults) {
    auto image = std::make_shared<Image>("Panel", "image", 100, 50);
    EXPECT_EQ(image->z(), Config::INTERFACE_BACK);
    EXPECT_EQ(image->collision(), Collision_type::BOX);
    EXPECT_EQ(image->scale(), 1.0);
    EXPECT_EQ(image->width(), 100);
    EXPECT_EQ(image->height(), 50);
    EXPECT_TRUE(image->on());
    EXPECT_EQ(image->alpha(), 255);
    EXPECT_EQ(image->highlight(), 0);
    EXPECT_EQ(image->origin(), Point(0, 0));
    sdl.begin();
    sdl.draw(image->core(), 255, 0, 0, 0, 100, 50, 0, 0, 100, 50);
    EXPECT_EQ(pixel(50, 25), (Orvane::Test::Rgb{0, 0, 0}));
    auto large = std::make_shared<Image>("Overlay", "image", 1920, 1080, 255, 0, 0, 128);
    EXPECT_EQ(large->scale(), 8.0);
    EXPECT_EQ(large->width(), 240);
}

TEST_F(Image_test, FileDefaults) {
    auto image = std::make_shared<Image>("door", "image", "images/objects/box.png");
    EXPECT_EQ(image->z(), 0);
    EXPECT_EQ(image->collision(), Collision_type::UNCLICKABLE);
    EXPECT_TRUE(image->core()->mask.empty());
    EXPECT_EQ(image->width(), 40);
    EXPECT_EQ(image->height(), 30);
    EXPECT_EQ(image->str(), "Image(door:image) = ON, z=0, scale=1.000000, alpha=255, highlight=0");
    auto five = std::make_shared<Image>("door", "image", "images/objects/box.png", 5);
    five->on() = false;
    five->set_alpha(7);
    five->set_highlight(128);
    EXPECT_EQ(five->str_value(), "OFF, z=5, scale=1.000000, alpha=7, highlight=128");
}

TEST_F(Image_test, TextDefaults) {
    auto font = std::make_shared<Font>("Interface", "font", "fonts/DejaVuSans.ttf", 20);
    EXPECT_EQ(font->str(), "Font(Interface:font)");
    for (bool outlined : {false, true}) {
        SCOPED_TRACE(outlined);
        auto text = std::make_shared<Image>("label", "image", font, "FFFFFF", "Door", outlined);
        EXPECT_EQ(text->z(), Config::INTERFACE_ITEMS);
        EXPECT_EQ(text->collision(), Collision_type::BOX);
        EXPECT_GT(text->width(), 20);
        EXPECT_EQ(text->core().get(),
                  (outlined ? Third_party::SDL::create_outlined_text(font->core(), "FFFFFF", "Door")
                            : Third_party::SDL::create_text(font->core(), "FFFFFF", "Door"))
                      .get());
    }
}

TEST_F(Image_test, CopySharesThePictureAndCopiesTheState) {
    auto image = std::make_shared<Image>("door", "image", "images/objects/box.png", 12,
                                         Collision_type::PIXEL_PERFECT, true);
    image->origin() = Point(3, 4);
    image->set_scale(2);
    image->set_alpha(10);
    image->set_highlight(20);
    image->on() = false;
    Image copy("door_copy", "image", image);
    EXPECT_EQ(copy.core().get(), image->core().get());
    EXPECT_EQ(copy.origin(), Point(3, 4));
    EXPECT_EQ(copy.z(), 12);
    EXPECT_FALSE(copy.on());
    EXPECT_EQ(copy.collision(), Collision_type::PIXEL_PERFECT);
    EXPECT_EQ(copy.scale(), 2);
    EXPECT_EQ(copy.alpha(), 10);
    EXPECT_EQ(copy.highlight(), 20);
    EXPECT_EQ(copy.entity(), "door_copy");
}

TEST_F(Image_test, RescaleAndRelativeOrigin) {
    auto image = std::make_shared<Image>("hero_body", "image", 101, 50);
    image->rescale(1620.7);
    EXPECT_EQ(image->z(), 1620);
    EXPECT_DOUBLE_EQ(image->scale(), 1620.7 / 3240);
    image->set_relative_origin(0.5, 1.0);
    EXPECT_EQ(image->origin(), Point(50.5, 50));
}

TEST_F(Image_test, PixelPerfectHitTestReadsTheMask) {
    auto image = std::make_shared<Image>("box", "image", "images/objects/box.png", 0,
                                         Collision_type::PIXEL_PERFECT);
    ASSERT_FALSE(image->core()->mask.empty());
    // the test picture is transparent where (x + y) % 7 == 0
    struct Case {
        int x;
        int y;
        bool inside;
    };
    for (Case c :
         {Case{0, 0, false}, Case{1, 0, true}, Case{3, 4, false}, Case{39, 29, true},
          Case{38, 4, false}, Case{40, 0, false}, Case{-1, 5, false}, Case{5, 30, false}}) {
        SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
        EXPECT_EQ(image->is_target_inside(c.x, c.y), c.inside);
    }
}

TEST_F(Image_test, ALaterPixelPerfectUserGetsTheMask) {
    auto plain = std::make_shared<Image>("a", "image", "images/objects/box.png");
    auto clickable = std::make_shared<Image>("b", "image", "images/objects/box.png", 0,
                                             Collision_type::PIXEL_PERFECT);
    EXPECT_EQ(plain->core().get(), clickable->core().get());
    EXPECT_TRUE(clickable->is_target_inside(1, 0));
}

using Image_DeathTest = Image_test;

TEST_F(Image_DeathTest, HitTestWithoutMaskIsFatal) {
    auto image =
        std::make_shared<Image>("a", "image", "images/rooms/wide.png", 0, Collision_type::BOX);
    EXPECT_EXIT(image->is_target_inside(1, 1), ::testing::ExitedWithCode(1),
                "Checkin pixel perfect collision without mask");
}

TEST_F(Image_test, CroppedShowsItsRectangle) {
    auto image = std::make_shared<Cropped>("code", "image", "images/objects/box.png", 3);
    EXPECT_EQ(image->z(), 3);
    EXPECT_EQ(image->collision(), Collision_type::UNCLICKABLE);
    EXPECT_EQ(image->width(), 40);
    EXPECT_EQ(image->height(), 30);
    image->crop(10, 30, 5, 25);
    EXPECT_EQ(image->xmin(), 10);
    EXPECT_EQ(image->ymax(), 25);
    EXPECT_EQ(image->width(), 20);
    EXPECT_EQ(image->height(), 20);
    image->set_relative_origin(0.5, 0.5);
    EXPECT_EQ(image->origin(), Point(10, 10));
    EXPECT_EQ(image->str(),
              "Cropped(code:image) = ON, z=3, scale=1.000000, alpha=255, highlight=0");
}

TEST_F(Image_test, ComposeWithChangesOnlyThisImage) {
    auto left = std::make_shared<Image>("a", "image", 10, 20, 255, 0, 0);
    auto right = std::make_shared<Image>("b", "image", 30, 40, 0, 255, 0);
    auto earlier_copy = std::make_shared<Image>("c", "image", left);
    left->compose_with(right);
    EXPECT_EQ(left->width(), 40);
    EXPECT_EQ(left->height(), 40);
    EXPECT_EQ(earlier_copy->width(), 10);
    EXPECT_EQ(right->width(), 30);
}

TEST_F(Image_test, GroupAppliesToImagesDepthFirst) {
    auto a = std::make_shared<Image>("a", "image", 1, 1);
    auto b = std::make_shared<Image>("b", "image", 1, 1);
    auto c = std::make_shared<Image>("c", "image", 1, 1);
    auto inner = std::make_shared<Group>("inner", "group");
    inner->add(b);
    inner->add(c);
    auto position = std::make_shared<Absolute_position>("p", "position", Point(0, 0));
    Group group("outer", "group");
    group.add(a);
    group.add(inner);
    group.add(position);
    std::vector<std::string> seen;
    group.apply<Image>([&](std::shared_ptr<Image> image) { seen.push_back(image->entity()); });
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(group.str(), "Group(outer:group)\n"
                           "--Item = Image(a:image) = ON, z=1000000, scale=1.000000, alpha=255, "
                           "highlight=0\n"
                           "--Item = Group(inner:group)\n"
                           "--Item = Image(b:image) = ON, z=1000000, scale=1.000000, alpha=255, "
                           "highlight=0\n"
                           "--Item = Image(c:image) = ON, z=1000000, scale=1.000000, alpha=255, "
                           "highlight=0\n"
                           "\n" // the nested group's own dump ends its printed form
                           "----Item = Image(b:image) = ON, z=1000000, scale=1.000000, "
                           "alpha=255, highlight=0\n"
                           "----Item = Image(c:image) = ON, z=1000000, scale=1.000000, "
                           "alpha=255, highlight=0\n"
                           "--Item = Absolute_position(p:position) = Point(0.000000;0.000000)\n");
}

TEST_F(Image_test, GroupRemovesTheFirstOccurrenceOnly) {
    auto a = std::make_shared<Image>("a", "image", 1, 1);
    auto b = std::make_shared<Image>("b", "image", 1, 1);
    auto stranger = std::make_shared<Image>("s", "image", 1, 1);
    Group group("g", "group");
    group.add(a);
    group.add(b);
    group.add(a);
    group.remove(stranger);
    EXPECT_EQ(group.members().size(), 3U);
    group.remove(a);
    ASSERT_EQ(group.members().size(), 2U);
    EXPECT_EQ(group.members()[0], b);
    EXPECT_EQ(group.members()[1], a);
}

} // namespace
} // namespace Orvane::Component
