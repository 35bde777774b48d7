#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Path.h>

namespace {

using Orvane::Point;
using Orvane::Component::Path;

TEST(Path, OnePoint) {
    Path path("Player", "path", Point(3, 4));
    EXPECT_EQ(path.size(), 1u);
    EXPECT_EQ(path[0], Point(3, 4));
    EXPECT_EQ(path.current(), 0u);
    EXPECT_EQ(path.str_name(), "Path");
}

TEST(Path, TakesOverThePointsAndWalksThem) {
    std::vector<Point> points = {{1, 1}, {2, 2}, {3, 3}};
    Path path("Player", "path", points);
    EXPECT_TRUE(points.empty());
    ASSERT_EQ(path.size(), 3u);
    ++path.current();
    const Path& view = path;
    EXPECT_EQ(view.current(), 1u);
    EXPECT_EQ(view[view.current()], Point(2, 2));
    path[2] = Point(9, 9);
    EXPECT_EQ(view[2], Point(9, 9));
}

} // namespace
