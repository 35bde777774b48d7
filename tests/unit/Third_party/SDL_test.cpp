#include <string>

#include <gtest/gtest.h>

#include <Orvane/Third_party/SDL.h>

namespace Orvane::Third_party {
namespace {

TEST(Sdl_view_test, LogicalSizeFitsTheWindow) {
    struct Case {
        int window_width;
        int window_height;
        int width;
        int height;
    };
    for (Case c :
         {Case{1920, 1080, 1920, 1080}, Case{1280, 720, 1920, 1080}, Case{1000, 1000, 1919, 1079},
          Case{1366, 768, 1919, 1080}, Case{2560, 1080, 1920, 1080}, Case{982, 614, 1920, 1079},
          Case{3840, 2160, 1920, 1080}}) {
        SCOPED_TRACE(std::to_string(c.window_width) + " x " + std::to_string(c.window_height));
        auto [w, h] = SDL::logical_size(c.window_width, c.window_height);
        EXPECT_EQ(w, c.width);
        EXPECT_EQ(h, c.height);
    }
}

TEST(Sdl_view_test, WindowOfNoSizeKeepsTheFullView) {
    for (auto [w, h] : {std::pair{0, 0}, std::pair{0, 720}, std::pair{1280, 0}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        EXPECT_EQ(SDL::logical_size(w, h), (std::pair{1920, 1080}));
    }
}

TEST(Sdl_view_test, CircleSegments) {
    struct Case {
        float radius;
        int segments;
    };
    for (Case c : {Case{0, 8}, Case{5, 8}, Case{14.5f, 9}, Case{200, 125}}) {
        SCOPED_TRACE(c.radius);
        EXPECT_EQ(SDL::circle_segments(c.radius), c.segments);
    }
}

} // namespace
} // namespace Orvane::Third_party
