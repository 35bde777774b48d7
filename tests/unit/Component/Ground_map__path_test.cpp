#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Ground_map_fixture.h"

namespace {

using ground_map_test::built_map;
using ground_map_test::Ground_map;
using ground_map_test::text_mask;
using Orvane::Point;
using Orvane::Vector;
using Vid = Ground_map::Vertex_id;

std::string show(const std::vector<Point>& points) {
    std::string s;
    for (const Point& p : points)
        s += Orvane::to_string(p) + " ";
    return s;
}

void expect_points(const std::vector<Point>& got, const std::vector<Point>& expected) {
    ASSERT_EQ(got.size(), expected.size()) << "got " << show(got) << "expected " << show(expected);
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].x(), expected[i].x(), 1e-9) << i << ": " << show(got);
        EXPECT_NEAR(got[i].y(), expected[i].y(), 1e-9) << i << ": " << show(got);
    }
}

const std::vector<std::string> open_room = {"........", "........", "........", "........"};
const std::vector<std::string> l_room = {"....####", "....####", "........", "........"};
const std::vector<std::string> u_room = {"........", "..####..", "..####..", "..####.."};
const std::vector<std::string> islands = {"...#....", "...#....", "...#....", "...#...."};

struct Path_case {
    const char* name;
    const std::vector<std::string>* mask;
    Point origin;
    Point target;
    std::vector<Point> expected;
};

class Ground_map_path : public ::testing::TestWithParam<Path_case> {};

TEST_P(Ground_map_path, FindsTheExpectedPoints) {
    const Path_case& c = GetParam();
    Ground_map map = built_map(*c.mask, 20);
    std::vector<Point> path;
    map.find_path(c.origin, c.target, path);
    expect_points(path, c.expected);
}

// Masks are drawn 20 pixels per character; walls begin at pixel corners (x.5). Clicks closer
// than 5 pixels to any edge (inner links included) are snapped onto it, so the free points
// below keep away from every edge of the built graphs.
INSTANTIATE_TEST_SUITE_P(
    Cases, Ground_map_path,
    ::testing::Values(
        Path_case{"open_ground", &open_room, {30, 30}, {130, 50}, {{130, 50}}},
        Path_case{
            "l_turns_at_the_inner_corner", &l_room, {40, 10}, {150, 60}, {{79.5, 39.5}, {150, 60}}},
        Path_case{"u_turns_at_both_inner_corners",
                  &u_room,
                  {20, 60},
                  {140, 60},
                  {{39.5, 19.5}, {119.5, 19.5}, {140, 60}}},
        Path_case{"target_in_a_wall_is_snapped", &l_room, {40, 10}, {100, 15}, {{79.5, 15}}},
        Path_case{"target_off_the_mask_is_snapped", &open_room, {30, 30}, {400, 30}, {{159.5, 30}}},
        Path_case{"origin_and_target_on_one_edge", &open_room, {40, 77}, {120, 76}, {{120, 79.5}}},
        Path_case{"two_islands_give_no_walk", &islands, {10, 10}, {130, 10}, {}},
        Path_case{"same_vertex_gives_nothing", &u_room, {39.5, 19.5}, {39.5, 19.5}, {}}),
    [](const ::testing::TestParamInfo<Path_case>& param) { return std::string(param.param.name); });

TEST(Ground_map_path_state, DirectWalkRestoresTheWorkingGraph) {
    Ground_map map = built_map(open_room, 20);
    std::vector<Point> path;
    map.find_path(Point(30, 30), Point(130, 50), path);
    EXPECT_EQ(map.working_graph().vertex_count(), map.graph().vertex_count());
    EXPECT_EQ(map.working_graph().edge_count(), map.graph().edge_count());
}

TEST(Ground_map_path_state, SearchLeavesTheAugmentedGraph) {
    Ground_map map = built_map(l_room, 20);
    std::vector<Point> path = {{1, 1}};
    map.find_path(Point(40, 10), Point(150, 60), path);
    EXPECT_EQ(path.size(), 3u) << "appends after what the list held";
    EXPECT_EQ(map.working_graph().vertex_count(), map.graph().vertex_count() + 2);
}

TEST(Ground_map_path_state, EmptyGraphGivesTheDirectWalkOrNothing) {
    Ground_map map("room", "ground_map", text_mask({"..#.."}, 10), 100, 0);
    std::vector<Point> path;
    map.find_path(Point(5, 5), Point(15, 5), path);
    expect_points(path, {{15, 5}});
    path.clear();
    map.find_path(Point(5, 5), Point(45, 5), path);
    EXPECT_TRUE(path.empty()) << show(path);
    map.find_path(Point(5, 5), Vector(1, 0), path);
    EXPECT_TRUE(path.empty()) << show(path);
}

TEST(Ground_map_path_state, OriginWithoutLinksGivesNoWalk) {
    // The graph outlines the right island only; the origin, on the left, sees none of it (every
    // midpoint falls in the wall). It is dropped by the clean-up: the target's handle moves.
    Ground_map::Graph g;
    std::vector<Vid> v = {g.add_vertex({{60, 2}, 0, 0}), g.add_vertex({{70, 2}, 0, 0}),
                          g.add_vertex({{70, 8}, 0, 0}), g.add_vertex({{60, 8}, 0, 0})};
    for (std::size_t i = 0; i < 4; ++i)
        g.add_edge(v[i], v[(i + 1) % 4], {true});
    Ground_map map("room", "ground_map", text_mask({"..##.....", "..##....."}, 10), 100, 0, g);
    std::vector<Point> path;
    map.find_path(Point(5, 10), Point(65, 15), path);
    EXPECT_TRUE(path.empty()) << show(path);
}

TEST(Ground_map_path_state, WalksThatDoNotExistEndQuietly) {
    // One border edge on the right of the mask, beyond a wall column.
    Ground_map::Graph g;
    Vid a = g.add_vertex({{90, 0}, 0, 0});
    Vid b = g.add_vertex({{90, 30}, 0, 0});
    g.add_edge(a, b, {true});
    Ground_map map("room", "ground_map", text_mask({"....#....", "....#...."}, 10), 100, 0, g);
    std::vector<Point> path;
    map.find_path(Point(10, 10), Vector(-1, 0), path);
    EXPECT_TRUE(path.empty()) << "a free point with no edge ahead: " << show(path);
    // Seen from the target, every vertex lies behind the wall: no link reaches it.
    map.find_path(Point(80, 10), Point(5, 10), path);
    EXPECT_TRUE(path.empty()) << "isolated target: " << show(path);
}

struct Direction_case {
    const char* name;
    const std::vector<std::string>* mask;
    Point origin;
    Vector direction;
    std::vector<Point> expected;
};

class Ground_map_direction : public ::testing::TestWithParam<Direction_case> {};

TEST_P(Ground_map_direction, WalksAlongTheDirection) {
    const Direction_case& c = GetParam();
    Ground_map map = built_map(*c.mask, 20);
    std::vector<Point> path;
    map.find_path(c.origin, c.direction, path);
    expect_points(path, c.expected);
    EXPECT_EQ(map.working_graph().vertex_count(), map.graph().vertex_count());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Ground_map_direction,
    ::testing::Values(
        Direction_case{"straight_into_a_wall", &open_room, {20, 30}, {1, 0}, {{159.5, 30}}},
        Direction_case{
            "short_stick_vector_still_reaches", &open_room, {20, 30}, {0.01, 0}, {{159.5, 30}}},
        Direction_case{"into_a_wall_then_along_it",
                       &open_room,
                       {20, 30},
                       {1, 0.25},
                       {{159.5, 64.875}, {159.5, 79.5}}},
        Direction_case{
            "hit_near_a_corner_snaps_to_it", &open_room, {20, 30}, {1, 0.35}, {{159.5, 79.5}}},
        Direction_case{"along_a_wall_up_to_its_end",
                       &l_room,
                       {20, 30},
                       {1, -0.2},
                       {{79.5, 18.1}, {79.5, -0.5}}},
        Direction_case{"past_an_inner_corner",
                       &l_room,
                       {20, 30},
                       {1, 0.1},
                       {{79.5, 39.5}, {159.5, 47.5}, {159.5, 79.5}}},
        Direction_case{
            "perpendicular_to_the_wall_stops", &open_room, {20, 30}, {0, -1}, {{20, -0.5}}},
        Direction_case{"zero_direction_stays", &open_room, {20, 15}, {0, 0}, {}}),
    [](const ::testing::TestParamInfo<Direction_case>& param) {
        return std::string(param.param.name);
    });

TEST(Ground_map_path_built, PathOnABuiltAndStoredGraphStaysOnWalkablePixels) {
    const std::vector<std::string> room = {
        "..........", "..###.....", "..###..##.", "......###.", ".##.......", ".##...#...",
    };
    Ground_map built = built_map(room, 10);
    std::vector<char> bytes = built.write_graph("room_map.graph");
    Ground_map map("room", "ground_map", built.mask(), 100, 0,
                   Ground_map::parse_graph(bytes.data(), bytes.size(), "room_map.graph"));
    struct Trip {
        Point from, to;
    };
    for (const Trip& t : {Trip{{5, 5}, {95, 55}}, Trip{{5, 55}, {95, 5}}, Trip{{45, 35}, {25, 5}},
                          Trip{{85, 45}, {5, 35}}}) {
        SCOPED_TRACE(Orvane::to_string(t.from) + " -> " + Orvane::to_string(t.to));
        std::vector<Point> path;
        map.find_path(t.from, t.to, path);
        ASSERT_FALSE(path.empty());
        Ground_map::Simplex near = map.closest_simplex(t.to);
        EXPECT_EQ(path.back(), near.distance < 5 ? near.point : t.to) << show(path);
        Point at = t.from;
        for (const Point& p : path) {
            for (int k = 0; k <= 20; ++k) {
                Point q(at.x() + (p.x() - at.x()) * k / 20, at.y() + (p.y() - at.y()) * k / 20);
                EXPECT_TRUE(map.is_ground_point(q)) << Orvane::to_string(q) << " in " << show(path);
            }
            at = p;
        }
    }
}

} // namespace
