#include <memory>

#include <gtest/gtest.h>

#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>

#include "support/Sdl_fixture.h"

namespace Orvane::Component {
namespace {

using GUI_image_animation_test = Test::Sdl_test;

TEST_F(GUI_image_animation_test, FadesAtHalfTime) {
    struct Case {
        unsigned char from;
        unsigned char to;
        int half;
        bool on_at_end;
    };
    for (Case c : {Case{0, 255, 214, true}, Case{255, 0, 40, false}, Case{255, 100, 124, true}}) {
        SCOPED_TRACE(std::to_string(c.from) + " -> " + std::to_string(c.to));
        auto image = std::make_shared<Image>("label", "image", 10, 10);
        image->set_highlight(200);
        GUI_image_animation fade("label", "animation", 0, 1, image, 1, 1, c.from, c.to);
        EXPECT_TRUE(fade.update(0.5));
        EXPECT_EQ(image->alpha(), c.half);
        EXPECT_EQ(image->highlight(), 0);
        image->set_highlight(200);
        EXPECT_FALSE(fade.update(1));
        EXPECT_EQ(image->alpha(), c.to);
        EXPECT_EQ(image->on(), c.on_at_end);
        EXPECT_EQ(image->highlight(), 0);
    }
}

TEST_F(GUI_image_animation_test, ScalesAndCancels) {
    auto image = std::make_shared<Image>("label", "image", 10, 10);
    GUI_image_animation zoom("label", "animation", 2, 4, image, 1, 3, 255, 255, true);
    EXPECT_TRUE(zoom.remove_after());
    EXPECT_TRUE(zoom.update(3));
    EXPECT_NEAR(image->scale(), 1 + 2 * 0.8409, 0.0001);
    image->set_highlight(9);
    zoom.cancel();
    EXPECT_EQ(image->scale(), 1);
    EXPECT_EQ(image->alpha(), 255);
    EXPECT_EQ(image->highlight(), 0);
    EXPECT_EQ(zoom.object_id(), Id("label", "image"));
}

TEST_F(GUI_image_animation_test, BeforeItsStartTheImageKeepsItsStartValues) {
    auto image = std::make_shared<Image>("label", "image", 10, 10);
    GUI_image_animation fade("label", "animation", 5, 6, image, 0.5, 2, 0, 255);
    EXPECT_TRUE(fade.update(1));
    EXPECT_EQ(image->scale(), 0.5);
    EXPECT_EQ(image->alpha(), 0);
}

TEST_F(GUI_image_animation_test, PrintsTheAnimatedImage) {
    auto image = std::make_shared<Image>("label", "image", 10, 10);
    GUI_image_animation fade("Inventory", "animation", 0, 1, image, 1, 1, 0, 255);
    EXPECT_EQ(fade.str(), "GUI_image_animation(Inventory:animation)\n"
                          "--Animated = Image(label:image) = ON, z=1000000, scale=1.000000, "
                          "alpha=255, highlight=0\n");
}

} // namespace
} // namespace Orvane::Component
