#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Utils/View.h>

namespace Orvane {
namespace {

TEST(ViewTest, RoomPointsMoveWithCameraAndZoomInterfacePointsStay) {
    struct Case {
        View view;
        Point scene;
        Point screen; // where a room point lands
    };
    const std::vector<Case> cases = {
        {{{0, 0}, 1.0}, {2000, 300}, {2000, 300}},   {{{500, 0}, 1.0}, {2000, 300}, {1500, 300}},
        {{{500, 0}, 2.0}, {2000, 300}, {3000, 600}}, {{{960, 40}, 1.25}, {1000, 100}, {50, 75}},
        {{{-100, 20}, 0.5}, {0, 0}, {50, -10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("camera (" + std::to_string(c.view.camera.x()) + ", " +
                     std::to_string(c.view.camera.y()) + "), zoom " + std::to_string(c.view.zoom));
        const Point room = c.view.to_screen(c.scene, false);
        EXPECT_DOUBLE_EQ(room.x(), c.screen.x());
        EXPECT_DOUBLE_EQ(room.y(), c.screen.y());
        const Point back = c.view.to_scene(room, false);
        EXPECT_NEAR(back.x(), c.scene.x(), 1e-9);
        EXPECT_NEAR(back.y(), c.scene.y(), 1e-9);

        EXPECT_EQ(c.view.to_screen(c.scene, true), c.scene) << "an interface point is unmoved";
        EXPECT_EQ(c.view.to_scene(c.scene, true), c.scene);

        EXPECT_DOUBLE_EQ(c.view.to_screen(100.0, false), 100.0 * c.view.zoom);
        EXPECT_DOUBLE_EQ(c.view.to_screen(100.0, true), 100.0);
        EXPECT_DOUBLE_EQ(c.view.to_scene(c.view.to_screen(37.0, false), false), 37.0);
    }
}

} // namespace
} // namespace Orvane
