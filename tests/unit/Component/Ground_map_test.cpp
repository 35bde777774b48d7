#include <limits>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/Ground_map_fixture.h"
#include "support/Text.h"

namespace {

using ground_map_test::File_bytes;
using ground_map_test::Ground_map;
using ground_map_test::text_mask;
using Orvane::Point;
using Orvane::Segment;
using Orvane::Test::literal;
using Vid = Ground_map::Vertex_id;
using Eid = Ground_map::Edge_id;

Ground_map::Graph parse(const std::vector<char>& bytes) {
    return Ground_map::parse_graph(bytes.data(), bytes.size(), "rooms/hall_map.graph");
}

TEST(Ground_map, GraphFileWithTwoVerticesAndOneEdge) {
    File_bytes f;
    f.u(2, 2).vertex(10, 20, 0).vertex(30, 20, 255).u(1, 2).edge(1, 0, 7);
    ASSERT_EQ(f.bytes.size(), 4u + 9 * 2 + 5);
    Ground_map::Graph g = parse(f.bytes);
    ASSERT_EQ(g.vertex_count(), 2u);
    ASSERT_EQ(g.edge_count(), 1u);
    EXPECT_EQ(g.vertex(Vid(0)).point, Point(10, 20));
    EXPECT_EQ(g.vertex(Vid(1)).gray, 255);
    EXPECT_EQ(g.source(Eid(0)), Vid(0));
    EXPECT_EQ(g.target(Eid(0)), Vid(1));
    EXPECT_EQ(g.incident_edges(Vid(1)).size(), 1u);
    EXPECT_EQ(g.incident_edges(Vid(0)).size(), 1u);
    EXPECT_TRUE(g.edge(Eid(0)).border);
}

TEST(Ground_map, GraphFileFieldsAreLittleEndianAndSigned) {
    File_bytes f;
    f.u(3, 2)
        .vertex(-5, 70000, 9)
        .vertex(0, 0, 0)
        .vertex(1, 1, 1)
        .u(2, 2)
        .edge(0, 2, 0)
        .edge(2, 1, 1);
    Ground_map::Graph g = parse(f.bytes);
    EXPECT_EQ(g.vertex(Vid(0)).point, Point(-5, 70000));
    EXPECT_FALSE(g.edge(Eid(0)).border);
    EXPECT_TRUE(g.edge(Eid(1)).border);
    EXPECT_EQ(g.source(Eid(1)), Vid(1));
    // The edge is listed at its ends in the order read: vertex 2 lists edge 0 then edge 1.
    EXPECT_EQ(g.incident_edges(Vid(2)).size(), 2u);
    EXPECT_TRUE(parse(File_bytes().u(0, 2).u(0, 2).bytes).vertex_count() == 0);
}

TEST(Ground_mapDeathTest, MalformedGraphFilesAreFatalAndNameTheFile) {
    struct Case {
        const char* what;
        std::vector<char> bytes;
        const char* message;
    };
    File_bytes good;
    good.u(2, 2).vertex(10, 20, 0).vertex(30, 20, 255).u(1, 2).edge(1, 0, 7);
    std::vector<char> longer = good.bytes;
    longer.push_back(0);
    std::vector<char> shorter(good.bytes.begin(), good.bytes.end() - 1);
    std::vector<char> no_edge_count(good.bytes.begin(), good.bytes.begin() + 2 + 18 + 1);
    File_bytes missing_vertex;
    missing_vertex.u(2, 2).vertex(10, 20, 0).vertex(30, 20, 255).u(1, 2).edge(0, 2, 1);
    File_bytes huge_count;
    huge_count.u(65535, 2).vertex(1, 1, 1);
    const std::vector<Case> cases = {
        {"missing", {}, "Graph file rooms/hall_map.graph is missing"},
        {"one byte", {char(1)}, "Graph file rooms/hall_map.graph is missing"},
        {"vertices cut", huge_count.bytes, "Graph file rooms/hall_map.graph is truncated"},
        {"no edge count", no_edge_count, "Graph file rooms/hall_map.graph is truncated"},
        {"long", longer,
         "Graph file rooms/hall_map.graph has 28 bytes where 2 vertices and 1 "
         "edges take 27"},
        {"short", shorter, "Graph file rooms/hall_map.graph has 26 bytes"},
        {"edge to a missing vertex", missing_vertex.bytes,
         "Graph file rooms/hall_map.graph: edge 0 joins vertices 0 and 2 but there are only 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EXIT(parse(c.bytes), ::testing::ExitedWithCode(1), c.message);
    }
}

TEST(Ground_mapDeathTest, TryParseGraphReportsWhatTheFatalReadWouldSay) {
    // The non-fatal reading returns the fatal reading's message in full, and nothing for a
    // sound file, whose graph it fills.
    File_bytes good;
    good.u(2, 2).vertex(10, 20, 0).vertex(30, 20, 255).u(1, 2).edge(1, 0, 7);
    Ground_map::Graph g;
    EXPECT_EQ(Ground_map::try_parse_graph(good.bytes.data(), good.bytes.size(), "a.graph", g),
              std::nullopt);
    ASSERT_EQ(g.vertex_count(), 2u);
    ASSERT_EQ(g.edge_count(), 1u);
    EXPECT_EQ(g.vertex(Vid(1)).point, Point(30, 20));

    File_bytes missing_vertex;
    missing_vertex.u(2, 2).vertex(10, 20, 0).vertex(30, 20, 255).u(1, 2).edge(0, 2, 1);
    File_bytes vertices_cut;
    vertices_cut.u(3, 2).vertex(1, 1, 1);
    std::vector<char> longer = good.bytes;
    longer.push_back(0);
    const std::vector<std::pair<std::vector<char>, std::string>> cases = {
        {{char(1)}, "Graph file a.graph is missing or shorter than its vertex count (1 bytes)"},
        {vertices_cut.bytes, "Graph file a.graph is truncated: 11 bytes for 3 vertices"},
        {longer, "Graph file a.graph has 28 bytes where 2 vertices and 1 edges take 27"},
        {missing_vertex.bytes,
         "Graph file a.graph: edge 0 joins vertices 0 and 2 but there are only 2 vertices"},
    };
    for (const auto& [bytes, message] : cases) {
        SCOPED_TRACE(message);
        Ground_map::Graph ignored;
        EXPECT_EQ(Ground_map::try_parse_graph(bytes.data(), bytes.size(), "a.graph", ignored),
                  message);
        EXPECT_EXIT(Ground_map::parse_graph(bytes.data(), bytes.size(), "a.graph"),
                    ::testing::ExitedWithCode(1), ": " + literal(message) + "\n");
    }
}

TEST(Ground_map, GraphFileAndPackedMaskNamesBesideTheMask) {
    EXPECT_EQ(Ground_map::graph_file_name("images/rooms/hall_map.png"),
              "images/rooms/hall_map.graph");
    EXPECT_EQ(Ground_map::packed_mask_file_name("images/rooms/hall_map.png"),
              "images/rooms/hall_map.mask");
}

TEST(Ground_map, PackedMaskReadsBackAsTheMaskItWasMadeOf) {
    // sizes around the 64 pixels of a word, so that words straddle rows and the last is partial
    const std::vector<std::pair<int, int>> sizes = {{0, 0}, {1, 1}, {64, 1}, {63, 2},
                                                    {65, 3}, {130, 7}};
    for (const auto& [w, h] : sizes) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        const Ground_map::Mask built(w, h, [](int x, int y) -> Ground_map::Mask::Color {
            const auto level = static_cast<unsigned char>(x * 37 + y * 11);
            if ((x + 2 * y) % 5 == 0)
                return {level, static_cast<unsigned char>(level ^ 1), level}; // not gray
            return {level, level, level};
        });
        const std::vector<char> bytes = built.pack();
        Ground_map::Mask read;
        ASSERT_EQ(Ground_map::Mask::try_unpack(bytes.data(), bytes.size(), "a.mask", read),
                  std::nullopt);
        ASSERT_EQ(read.width(), w);
        ASSERT_EQ(read.height(), h);
        for (int y = -1; y <= h; ++y)
            for (int x = -1; x <= w; ++x) {
                ASSERT_EQ(read.level(x, y), built.level(x, y)) << x << ", " << y;
                ASSERT_EQ(read.walkable(x, y), built.walkable(x, y)) << x << ", " << y;
            }
        // and rows of packed colours classify as single pixels do
        std::vector<std::uint32_t> row(std::size_t(w) + 1);
        const Ground_map::Mask from_rows = Ground_map::Mask::from_rows(w, h, [&](int y) {
            for (int x = 0; x < w; ++x) {
                const auto level = std::uint32_t((x * 37 + y * 11) & 255);
                const std::uint32_t g = (x + 2 * y) % 5 == 0 ? level ^ 1 : level;
                row[std::size_t(x)] = level | g << 8 | level << 16 | 0xAB000000u;
            }
            return row.data();
        });
        EXPECT_EQ(from_rows.pack(), bytes);
    }
}

TEST(Ground_map, DamagedPackedMasksAreRefusedWithTheFileName) {
    const std::vector<char> good =
        Ground_map::Mask(3, 2, [](int, int) -> Ground_map::Mask::Color { return {7, 7, 7}; })
            .pack();
    ASSERT_EQ(good.size(), 12u + 6 + 1);
    std::vector<char> stray = good;
    stray[12 + 6] = char(0x7F); // pixels 6 and on marked walkable
    std::vector<char> huge = good;
    huge[6] = char(1); // width 65539
    std::vector<char> other_magic = good;
    other_magic[0] = 'X';
    const std::vector<std::pair<std::vector<char>, std::string>> cases = {
        {{'O', 'G'}, "Packed ground mask a.mask does not start with a packed mask's header "
                     "(2 bytes)"},
        {other_magic, "Packed ground mask a.mask does not start with a packed mask's header "
                      "(19 bytes)"},
        {std::vector<char>(good.begin(), good.end() - 1),
         "Packed ground mask a.mask has 18 bytes where 3x2 pixels take 19"},
        {huge, "Packed ground mask a.mask claims 65539x2 pixels, more than a picture holds"},
        {stray, "Packed ground mask a.mask marks pixels past its last one as walkable"},
    };
    for (const auto& [bytes, message] : cases) {
        SCOPED_TRACE(message);
        Ground_map::Mask kept(1, 1, [](int, int) -> Ground_map::Mask::Color { return {1, 1, 1}; });
        EXPECT_EQ(Ground_map::Mask::try_unpack(bytes.data(), bytes.size(), "a.mask", kept),
                  message);
        EXPECT_EQ(kept.width(), 1) << "the mask is left as it was";
        EXPECT_EQ(kept.level(0, 0), 1);
    }
}

TEST(Ground_map, IsGroundPointRoundsToTheNearestPixel) {
    Ground_map map("room", "ground_map", text_mask({"..#", "...", "#.."}), 100, 0);
    struct Case {
        Point p;
        bool walkable;
    };
    for (const Case& c :
         {Case{{-0.4, 0}, true}, Case{{-0.6, 0}, false}, Case{{2.5, 1}, false},
          Case{{2.4, 1}, true}, Case{{2, 0}, false}, Case{{0, 2}, false}, Case{{1.5, 0}, false},
          Case{{1.49, 0}, true}, Case{{0, -0.6}, false}, Case{{0, 2.6}, false}}) {
        SCOPED_TRACE(Orvane::to_string(c.p));
        EXPECT_EQ(map.is_ground_point(c.p), c.walkable);
    }
    EXPECT_EQ(map.max_length(), 4) << "the diagonal, truncated";
}

TEST(Ground_map, DepthFromTheGrayLevel) {
    // Black, white and gray 51 (the digit 2 gives 50; build 51 by hand below).
    Ground_map::Mask mask(4, 1, [](int x, int) -> Ground_map::Mask::Color {
        const unsigned char levels[] = {0, 255, 51, 200};
        if (x == 3)
            return {1, 2, 3}; // not gray
        return {levels[x], levels[x], levels[x]};
    });
    Ground_map::Graph g;
    Vid a = g.add_vertex({{3, 10}, 0});
    Vid b = g.add_vertex({{3, -10}, 100});
    g.add_edge(a, b, {});
    Ground_map map("room", "ground_map", mask, 100, 0, g);
    struct Case {
        Point p;
        double z;
    };
    for (const Case& c : {Case{{0, 0}, 100}, Case{{1, 0}, 0}, Case{{2, 0}, 80},
                          Case{{-50, 0}, 100},           // outside: the nearest border pixel
                          Case{{3, 0}, 100 - 50 / 2.55}, // halfway along the edge: gray 50
                          Case{{3, 10}, 100},            // at the vertex of gray 0
                          Case{{10, 0}, 100 - 50 / 2.55}}) {
        SCOPED_TRACE(Orvane::to_string(c.p));
        EXPECT_NEAR(map.z_at_point(c.p), c.z, 1e-9);
    }
}

TEST(Ground_map, DepthOnANonGrayPixelWithoutGraphIsTheFront) {
    Ground_map map("room", "ground_map", text_mask({"#"}), 300, 40);
    EXPECT_EQ(map.z_at_point({0, 0}), 300);
}

TEST(Ground_map, ClosestSimplex) {
    Ground_map::Graph g;
    Vid a = g.add_vertex({{0, 0}, 0});
    Vid b = g.add_vertex({{10, 0}, 0});
    g.add_edge(a, b, {});
    Ground_map map("room", "ground_map", text_mask({"."}), 100, 0, g);
    struct Case {
        Point p;
        Vid vertex;
        Eid edge;
        double distance;
        Point point;
    };
    for (const Case& c :
         {Case{{5, 5}, Vid(), Eid(0), 5, {5, 0}}, Case{{5, 0}, Vid(), Eid(0), 0, {5, 0}},
          Case{{0, 3}, Vid(0), Eid(), 3, {0, 0}}, // at the end: the vertex wins
          Case{{-3, 4}, Vid(0), Eid(), 5, {0, 0}}, Case{{14, 3}, Vid(1), Eid(), 5, {10, 0}}}) {
        SCOPED_TRACE(Orvane::to_string(c.p));
        Ground_map::Simplex s = map.closest_simplex(c.p);
        EXPECT_EQ(s.vertex, c.vertex);
        EXPECT_EQ(s.edge, c.edge);
        EXPECT_DOUBLE_EQ(s.distance, c.distance);
        EXPECT_EQ(s.point, c.point);
    }
    // Equal distances: the lower index wins.
    EXPECT_EQ(map.closest_simplex({5, 100}).edge, Eid(0));
    Ground_map::Graph two;
    two.add_vertex({{0, 0}, 0});
    two.add_vertex({{10, 0}, 0});
    Ground_map tie("room", "ground_map", text_mask({"."}), 100, 0, two);
    EXPECT_EQ(tie.closest_simplex({5, 3}).vertex, Vid(0));

    Ground_map empty("room", "ground_map", text_mask({"."}), 100, 0);
    Ground_map::Simplex none = empty.closest_simplex({7, 8});
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none.distance, std::numeric_limits<double>::max());
    EXPECT_EQ(none.point, Point(7, 8));
}

TEST(Ground_map, CrossingTest) {
    struct Case {
        Segment a, b;
        bool cross;
    };
    for (const Case& c : {Case{{{0, 0}, {10, 0}}, {{5, -5}, {5, 5}}, true},
                          Case{{{0, 0}, {10, 0}}, {{5, 0}, {15, 0}}, false}, // collinear
                          Case{{{0, 0}, {5, 0}}, {{5, -5}, {5, 5}}, true},   // touching
                          Case{{{0, 0}, {4, 0}}, {{5, -5}, {5, 5}}, false},
                          Case{{{0, 0}, {10, 10}}, {{0, 10}, {10, 0}}, true}}) {
        SCOPED_TRACE(Orvane::to_string(c.a.first()) + " " + Orvane::to_string(c.b.first()));
        EXPECT_EQ(Ground_map::crosses(c.a, c.b), c.cross);
        EXPECT_EQ(Ground_map::crosses(c.b, c.a), c.cross);
    }
}

TEST(Ground_map, IntersectsBorderSkipsInnerAndSkippedEdges) {
    Ground_map::Graph g;
    Vid a = g.add_vertex({{5, -5}, 0});
    Vid b = g.add_vertex({{5, 5}, 0});
    Vid c = g.add_vertex({{7, -5}, 0});
    Vid d = g.add_vertex({{7, 5}, 0});
    Eid border = g.add_edge(a, b, {true});
    g.add_edge(c, d, {false});
    Ground_map map("room", "ground_map", text_mask({"."}), 100, 0, g);
    Segment s({0, 0}, {10, 0});
    EXPECT_TRUE(map.intersects_border(g, s, [](const Eid&) { return false; }));
    EXPECT_FALSE(map.intersects_border(g, s, [&](const Eid& e) { return e == border; }));
}

TEST(Ground_map, NeighborQueryIsTrueUnlessBothHandlesAreNone) {
    EXPECT_FALSE(Ground_map::Neighbor_query{});
    EXPECT_TRUE((Ground_map::Neighbor_query{Vid(0), Vid()}));
    EXPECT_TRUE((Ground_map::Neighbor_query{Vid(), Vid(3)}));
}

TEST(Ground_map, FarVerticesFromAGraphFileAreHandled) {
    // Coordinates anywhere in the file's range: nearest searches and requests still answer.
    File_bytes f;
    f.u(3, 2).vertex(-2000000000, 5, 0).vertex(2000000000, 5, 0).vertex(0, -2000000000, 0);
    f.u(2, 2).edge(0, 1, 1).edge(1, 2, 1);
    Ground_map map("room", "ground_map", text_mask({"....", "...."}, 10), 100, 0, parse(f.bytes));
    Ground_map::Simplex s = map.closest_simplex({20, 0});
    EXPECT_EQ(s.edge, Eid(0));
    EXPECT_EQ(s.point, Point(20, 5));
    std::vector<Point> path;
    map.find_path(Point(5, 15), Point(35, 15), path);
    EXPECT_EQ(path, std::vector<Point>{Point(35, 15)});
}

} // namespace
