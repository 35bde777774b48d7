#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Ground_map_fixture.h"

namespace {

using ground_map_test::built_map;
using ground_map_test::Ground_map;
using ground_map_test::text_mask;
using Orvane::Point;
using Vid = Ground_map::Vertex_id;
using Eid = Ground_map::Edge_id;

std::vector<std::string> open_square(int n) {
    return std::vector<std::string>(std::size_t(n), std::string(std::size_t(n), '.'));
}

struct Edge_view {
    Point a, b;
    bool border;
};

std::vector<Edge_view> edges_of(const Ground_map::Graph& g) {
    std::vector<Edge_view> out;
    for (std::size_t i = 0; i < g.edge_count(); ++i) {
        Eid e(i);
        if (g.source(e).is_none())
            continue;
        out.push_back({g.vertex(g.source(e)).point, g.vertex(g.target(e)).point, g.edge(e).border});
    }
    return out;
}

TEST(Ground_map_builder, OpenSquareKeepsItsFourCornersAndOneDiagonal) {
    Ground_map map("room", "ground_map", text_mask(open_square(10)), 100, 0);
    int calls = 0;
    map.build_graph([&] { ++calls; });
    const Ground_map::Graph& g = map.graph();
    ASSERT_EQ(g.vertex_count(), 4u);
    std::vector<Point> expected = {{-0.5, -0.5}, {-0.5, 9.5}, {9.5, -0.5}, {9.5, 9.5}};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(g.vertex(Vid(i)).point, expected[i]) << i;
    std::vector<Edge_view> edges = edges_of(g);
    ASSERT_EQ(edges.size(), 5u);
    int borders = 0;
    for (const Edge_view& e : edges) {
        if (e.border) {
            ++borders;
            continue;
        }
        // the only inner link joins (-0.5, 9.5) and (9.5, -0.5)
        EXPECT_TRUE((e.a == expected[1] && e.b == expected[2]) ||
                    (e.a == expected[2] && e.b == expected[1]));
    }
    EXPECT_EQ(borders, 4);
    EXPECT_FALSE(g.is_edge(Vid(0), Vid(3)));
    EXPECT_GT(calls, 11) << "at least one report per column";
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(g.vertex(Vid(i)).gray, 128);
}

TEST(Ground_map_builder, SinglePixelEndsWithTwoOppositeCornersAndTwoParallelEdges) {
    Ground_map map("room", "ground_map", text_mask({"###", "#.#", "###"}), 100, 0);
    map.build_graph({});
    const Ground_map::Graph& g = map.graph();
    ASSERT_EQ(g.vertex_count(), 2u);
    ASSERT_EQ(g.edge_count(), 2u);
    EXPECT_TRUE(g.edge(Eid(0)).border);
    EXPECT_TRUE(g.edge(Eid(1)).border);
    Point a = g.vertex(Vid(0)).point, b = g.vertex(Vid(1)).point;
    EXPECT_EQ(std::abs(a.x() - b.x()), 1);
    EXPECT_EQ(std::abs(a.y() - b.y()), 1);
    // Neighbours that coincide give the largest finite deviation, never NaN.
    EXPECT_EQ(map.deviation(Vid(0)), std::numeric_limits<double>::max());
}

TEST(Ground_map_builder, DeviationOfTwoEdgedVerticesOnly) {
    Ground_map::Graph g;
    Vid a = g.add_vertex({{0, 0}, 0});
    Vid b = g.add_vertex({{5, 3}, 0});
    Vid c = g.add_vertex({{10, 0}, 0});
    Vid d = g.add_vertex({{5, -9}, 0});
    g.add_edge(a, b, {});
    g.add_edge(b, c, {});
    Ground_map map("room", "ground_map", text_mask({"."}), 100, 0, g);
    EXPECT_DOUBLE_EQ(map.deviation(b), 3);
    EXPECT_EQ(map.deviation(a), std::numeric_limits<double>::max());
    EXPECT_EQ(map.deviation(d), std::numeric_limits<double>::max());
    g.add_edge(b, d, {});
    Ground_map three("room", "ground_map", text_mask({"."}), 100, 0, g);
    EXPECT_EQ(three.deviation(b), std::numeric_limits<double>::max());
}

TEST(Ground_map_builder, OutlineFollowsWallsAndTheMaskEdge) {
    // A wall block in the middle: outer square and the block's outline, no inner link across
    // the block.
    auto map = built_map({"......", "......", "..##..", "..##..", "......", "......"}, 10);
    const Ground_map::Graph& g = map.graph();
    EXPECT_EQ(g.vertex_count(), 8u);
    for (const Edge_view& e : edges_of(g)) {
        if (e.border)
            continue;
        Orvane::Segment s(e.a, e.b);
        Orvane::Segment diagonal1({19.5, 19.5}, {39.5, 39.5}),
            diagonal2({39.5, 19.5}, {19.5, 39.5});
        EXPECT_FALSE(Ground_map::crosses(s, diagonal1) || Ground_map::crosses(s, diagonal2))
            << Orvane::to_string(e.a) << " - " << Orvane::to_string(e.b);
    }
}

TEST(Ground_map_builder, RoundTripThroughTheGraphFile) {
    auto map = built_map({"........", "..##....", "..##..#.", "......#."}, 10);
    std::vector<char> bytes = map.write_graph("rooms/hall_map.graph");
    Ground_map::Graph read =
        Ground_map::parse_graph(bytes.data(), bytes.size(), "rooms/hall_map.graph");
    const Ground_map::Graph& g = map.graph();
    ASSERT_EQ(read.vertex_count(), g.vertex_count());
    ASSERT_EQ(read.edge_count(), g.edge_count());
    for (std::size_t i = 0; i < g.vertex_count(); ++i) {
        SCOPED_TRACE(i);
        const Point& p = g.vertex(Vid(i)).point;
        const Point& q = read.vertex(Vid(i)).point;
        EXPECT_LE(std::abs(p.x() - q.x()), 0.5);
        EXPECT_LE(std::abs(p.y() - q.y()), 0.5);
        EXPECT_TRUE(map.is_ground_point(q))
            << "stored at a walkable pixel: " << Orvane::to_string(q);
        EXPECT_EQ(read.vertex(Vid(i)).gray, g.vertex(Vid(i)).gray);
    }
    for (std::size_t i = 0; i < g.edge_count(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read.source(Eid(i)), g.source(Eid(i)));
        EXPECT_EQ(read.target(Eid(i)), g.target(Eid(i)));
        EXPECT_EQ(read.edge(Eid(i)).border, g.edge(Eid(i)).border);
    }
}

TEST(Ground_map_builderDeathTest, WriterRefusesMoreThan65535Vertices) {
    Ground_map::Graph g;
    for (int i = 0; i < 65536; ++i)
        g.add_vertex({{double(i), 0}, 0});
    Ground_map map("room", "ground_map", text_mask({"."}), 100, 0, g);
    EXPECT_EXIT(map.write_graph("big_map.graph"), ::testing::ExitedWithCode(1),
                "Graph file big_map.graph cannot hold 65536 vertices");
}

} // namespace
