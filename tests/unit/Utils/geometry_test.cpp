#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include <Orvane/Utils/geometry.h>

namespace {

using Orvane::Line;
using Orvane::Point;
using Orvane::Segment;
using Orvane::Vector;

TEST(Geometry, RoundingIsHalvesAwayFromZero) {
    struct Case {
        double v;
        int expected;
    };
    for (const Case& c : {Case{2.5, 3}, Case{-2.5, -3}, Case{2.4999, 2}, Case{-2.4999, -2},
                          Case{0.5, 1}, Case{0, 0}, Case{1919.5, 1920}}) {
        SCOPED_TRACE(c.v);
        EXPECT_EQ(Point(c.v, 0).X(), c.expected);
        EXPECT_EQ(Point(0, c.v).Y(), c.expected);
        EXPECT_EQ(Orvane::round(c.v), c.expected);
    }
}

TEST(Geometry, InvalidPointIsRecognisedByItsX) {
    EXPECT_TRUE(Point::invalid().is_invalid());
    EXPECT_FALSE(Point(0, std::numeric_limits<double>::quiet_NaN()).is_invalid());
    EXPECT_TRUE(Point(std::numeric_limits<double>::quiet_NaN(), 0).is_invalid());
    EXPECT_EQ(Point::left(), Point(-1e10, 0));
    EXPECT_EQ(Point::right(), Point(1e10, 0));
}

TEST(Geometry, VectorLengthNormalisationAndPerpendicular) {
    Vector v(Point(1, 1), Point(4, 5));
    EXPECT_DOUBLE_EQ(v.length(), 5);
    Vector p = v.perpendicular();
    v.normalize();
    EXPECT_DOUBLE_EQ(v.x(), 0.6);
    EXPECT_DOUBLE_EQ(v.y(), 0.8);
    Vector n = v.perpendicular();
    EXPECT_DOUBLE_EQ(n.x(), 0.8);
    EXPECT_DOUBLE_EQ(n.y(), -0.6);
    EXPECT_EQ(p, Vector(4, -3));
    Vector zero(0, 0);
    zero.normalize();
    EXPECT_TRUE(std::isnan(zero.x()) && std::isnan(zero.y()));
}

TEST(Geometry, Operators) {
    EXPECT_EQ(Point(1, 2) + Vector(3, -4), Point(4, -2));
    EXPECT_EQ(Point(1, 2) - Vector(3, -4), Point(-2, 6));
    EXPECT_EQ(Point(4, 5) - Point(1, 1), Vector(Point(1, 1), Point(4, 5)));
    EXPECT_EQ(Point(1, 2) * 2.0, Point(2, 4));
    EXPECT_EQ(Vector(1, 2) * 3.0, Vector(3, 6));
    EXPECT_EQ(-Vector(1, -2), Vector(-1, 2));
    EXPECT_EQ(Point::center({0, 10, 20, 30}), Point(10, 20));
    EXPECT_DOUBLE_EQ(Orvane::distance(0, 0, 3, 4), 5);
}

TEST(Geometry, LineProjectionIsTheFootOfThePerpendicular) {
    Line line(Point(0, 0), Point(10, 10));
    Point q = line.projection(Point(10, 0));
    EXPECT_DOUBLE_EQ(q.x(), 5);
    EXPECT_DOUBLE_EQ(q.y(), 5);
}

TEST(Geometry, SegmentProjection) {
    struct Case {
        Point p;
        Point foot;
        bool inside;
        double coordinate;
    };
    Segment s(Point(0, 0), Point(10, 0));
    for (const Case& c : {Case{{5, 3}, {5, 0}, true, 5}, Case{{0, 3}, {0, 0}, false, 0},
                          Case{{10, 3}, {10, 0}, false, 10}, Case{{-4, 3}, {-4, 0}, false, 4},
                          Case{{12, -1}, {12, 0}, false, 12}}) {
        SCOPED_TRACE(Orvane::to_string(c.p));
        auto [q, inside] = s.projection(c.p);
        EXPECT_DOUBLE_EQ(q.x(), c.foot.x());
        EXPECT_DOUBLE_EQ(q.y(), c.foot.y());
        EXPECT_EQ(inside, c.inside);
        EXPECT_DOUBLE_EQ(s.projected_coordinate(c.p), c.coordinate);
    }
}

TEST(Geometry, IntersectionOfSupportingLines) {
    struct Case {
        Segment a;
        Segment b;
        Point expected;
    };
    for (const Case& c : {Case{{{0, 0}, {10, 10}}, {{0, 10}, {10, 0}}, {5, 5}},
                          Case{{{0, 0}, {1, 0}}, {{5, -1}, {5, 1}}, {5, 0}}}) {
        Point p = Orvane::intersection(c.a, c.b);
        SCOPED_TRACE(Orvane::to_string(p));
        EXPECT_DOUBLE_EQ(p.x(), c.expected.x());
        EXPECT_DOUBLE_EQ(p.y(), c.expected.y());
    }
}

TEST(GeometryDeathTest, ParallelLinesDoNotIntersect) {
    EXPECT_EXIT(Orvane::intersection(Segment({0, 0}, {10, 0}), Segment({20, 0}, {30, 0})),
                ::testing::ExitedWithCode(1), "Segments do not intersect");
}

TEST(Geometry, OrderingForMapKeys) {
    EXPECT_TRUE(Point(1, 5) < Point(2, 0));
    EXPECT_TRUE(Point(1, 0) < Point(1, 5));
    EXPECT_FALSE(Point(1, 5) < Point(1, 5));
    EXPECT_FALSE(Point(2, 0) < Point(1, 5));
}

TEST(Geometry, Texts) {
    EXPECT_EQ(Orvane::to_string(Point(0.5, -3)), "Point(0.500000;-3.000000)");
    EXPECT_EQ(Orvane::to_string(Point(1.5, 2)), "Point(1.500000;2.000000)");
    EXPECT_EQ(Orvane::to_string(Vector(1, 0)), "Vector(1.000000;0.000000)");
}

} // namespace
