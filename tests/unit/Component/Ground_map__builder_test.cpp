#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <Orvane/Utils/error.h>

#include <gtest/gtest.h>

#include "support/Ground_map_fixture.h"

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

/// The builder written plainly, as the reference for the builder's faster machinery: every
/// phase as the builder's contract states it, the inner links by testing every pair of vertices
/// against every border edge.
Ground_map::Graph reference_graph(const Ground_map::Mask& mask) {
    using Graph = Ground_map::Graph;
    Graph g;
    std::map<Point, Vid> index;
    auto vertex = [&](const Point& p, int gray) {
        auto [it, added] = index.try_emplace(p);
        if (added)
            it->second = g.add_vertex({p, static_cast<unsigned char>(gray)});
        return it->second;
    };
    for (int x = -1; x < mask.width(); ++x)
        for (int y = -1; y < mask.height(); ++y) {
            int c = mask.level(x, y), r = mask.level(x + 1, y), d = mask.level(x, y + 1);
            if ((c >= 0) != (r >= 0)) {
                Vid a = vertex(Point(x + 0.5, y - 0.5), std::max(c, r));
                g.add_edge(a, vertex(Point(x + 0.5, y + 0.5), std::max(c, r)), {true});
            }
            if ((c >= 0) != (d >= 0)) {
                Vid a = vertex(Point(x - 0.5, y + 0.5), std::max(c, d));
                g.add_edge(a, vertex(Point(x + 0.5, y + 0.5), std::max(c, d)), {true});
            }
        }
    auto deviation = [&](Vid v) {
        const auto& edges = g.incident_edges(v);
        if (edges.size() != 2)
            return std::numeric_limits<double>::max();
        const Point& a = g.vertex(g.opposite(edges[0], v)).point;
        const Point& b = g.vertex(g.opposite(edges[1], v)).point;
        if (a == b)
            return std::numeric_limits<double>::max();
        const Point& p = g.vertex(v).point;
        return Orvane::distance(p, Orvane::Line(a, b).projection(p));
    };
    auto less = [&](Vid a, Vid b) {
        double da = deviation(a), db = deviation(b);
        return da < db || (da == db && a < b);
    };
    std::set<Vid, decltype(less)> queue(less);
    for (std::size_t i = 0; i < g.vertex_count(); ++i)
        if (deviation(Vid(i)) < 2.0)
            queue.insert(Vid(i));
    while (!queue.empty()) {
        Vid v = *queue.begin();
        queue.erase(queue.begin());
        const std::vector<Eid> edges = g.incident_edges(v);
        Vid a = g.opposite(edges[0], v), b = g.opposite(edges[1], v);
        queue.erase(a);
        queue.erase(b);
        g.delete_edge(edges[1]);
        g.delete_edge(edges[0]);
        g.add_edge(a, b, {true});
        if (deviation(a) < 2.0)
            queue.insert(a);
        if (deviation(b) < 2.0)
            queue.insert(b);
    }
    g.clean();
    const std::size_t n = g.vertex_count();
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j) {
            if (g.is_edge(Vid(i), Vid(j)))
                continue;
            const Point pi = g.vertex(Vid(i)).point, pj = g.vertex(Vid(j)).point;
            Orvane::Segment link(pi, pj);
            bool crossed = false;
            for (std::size_t e = 0; e < g.edge_count() && !crossed; ++e) {
                Vid s = g.source(Eid(e)), t = g.target(Eid(e));
                if (!g.edge(Eid(e)).border || s == Vid(i) || s == Vid(j) || t == Vid(i) ||
                    t == Vid(j))
                    continue;
                crossed = Ground_map::crosses(link, {g.vertex(s).point, g.vertex(t).point});
            }
            if (crossed || !mask.walkable(Point((pi.x() + pj.x()) / 2, (pi.y() + pj.y()) / 2).X(),
                                          Point((pi.x() + pj.x()) / 2, (pi.y() + pj.y()) / 2).Y()))
                continue;
            std::vector<std::size_t> chain = {i, j};
            for (std::size_t k = 0; k < n; ++k) {
                if (k == i || k == j)
                    continue;
                const Point& pk = g.vertex(Vid(k)).point;
                auto [q, inside] = link.projection(pk);
                if (inside && Orvane::distance(q, pk) <= 10.0)
                    chain.push_back(k);
            }
            std::stable_sort(chain.begin(), chain.end(), [&](std::size_t a, std::size_t b) {
                return link.projected_coordinate(g.vertex(Vid(a)).point) <
                       link.projected_coordinate(g.vertex(Vid(b)).point);
            });
            for (std::size_t k = 0; k + 1 < chain.size(); ++k)
                if (!g.is_edge(Vid(chain[k]), Vid(chain[k + 1]))) {
                    Eid e = g.add_edge(Vid(chain[k]), Vid(chain[k + 1]), {false});
                    g.edge(e).border = false;
                }
        }
    return g;
}

/// Floors and walls drawn at random: blobs, specks, long walls, checkers, depth steps.
Ground_map::Mask random_mask(std::mt19937& random, int kind) {
    // small masks, and masks over many cells of the builder's buckets
    std::uniform_int_distribution<int> size(kind % 8 == 0 ? 60 : 8, kind % 8 == 0 ? 160 : 40);
    const int w = size(random), h = size(random);
    std::vector<int> level(std::size_t(w) * std::size_t(h), 100);
    std::uniform_int_distribution<int> px(0, w - 1), py(0, h - 1), grays(0, 255);
    auto paint = [&](int x0, int y0, int x1, int y1, int value) {
        for (int y = std::max(y0, 0); y <= std::min(y1, h - 1); ++y)
            for (int x = std::max(x0, 0); x <= std::min(x1, w - 1); ++x)
                level[std::size_t(y) * std::size_t(w) + std::size_t(x)] = value;
    };
    switch (kind % 4) {
    case 0: // rectangles and specks
        for (int k = 0; k < 6 + w / 10; ++k) {
            int x = px(random), y = py(random);
            paint(x, y, x + px(random) / 6, y + py(random) / 6, -1);
        }
        for (int k = 0; k < 8 + w / 10; ++k) {
            int x = px(random), y = py(random);
            paint(x, y, x + k % 2, y, -1);
        }
        break;
    case 1: { // checkers
        int square = 2 + int(random() % 6);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if ((x / square + y / square) % 2 == 0)
                    paint(x, y, x, y, -1);
        break;
    }
    case 2: // thin walls and depth bands
        for (int k = 0; k < 4; ++k) {
            int x = px(random), y = py(random);
            if (k % 2 == 0)
                paint(x, y, x, y + h / 2, -1);
            else
                paint(x, y, x + w / 2, y, -1);
        }
        for (int k = 0; k < 4; ++k) {
            int x = px(random);
            paint(x, 0, x + 3, h - 1, grays(random));
        }
        break;
    default: // noise
        for (int& l : level)
            l = random() % 5 == 0 ? -1 : grays(random);
        break;
    }
    return Ground_map::Mask(w, h, [&](int x, int y) -> Ground_map::Mask::Color {
        int l = level[std::size_t(y) * std::size_t(w) + std::size_t(x)];
        if (l < 0)
            return {250, 10, 10};
        auto g = static_cast<unsigned char>(l);
        return {g, g, g};
    });
}

TEST(Ground_map_builder, BuildsWhatThePlainAllPairsBuilderBuilds) {
    std::mt19937 random(2024);
    for (int round = 0; round < 120; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Ground_map::Mask mask = random_mask(random, round);
        Ground_map map("room", "ground_map", mask, 100, 0);
        map.build_graph({});
        Ground_map::Graph expected = reference_graph(mask);
        const Ground_map::Graph& g = map.graph();
        for (std::size_t i = 0; i < std::min(g.vertex_count(), expected.vertex_count()); ++i) {
            ASSERT_EQ(g.vertex(Vid(i)).point, expected.vertex(Vid(i)).point) << "vertex " << i;
            ASSERT_EQ(g.vertex(Vid(i)).gray, expected.vertex(Vid(i)).gray) << "vertex " << i;
        }
        ASSERT_EQ(g.vertex_count(), expected.vertex_count());
        ASSERT_EQ(g.edge_count(), expected.edge_count());
        for (std::size_t i = 0; i < g.edge_count(); ++i) {
            ASSERT_EQ(g.source(Eid(i)), expected.source(Eid(i))) << "edge " << i;
            ASSERT_EQ(g.target(Eid(i)), expected.target(Eid(i))) << "edge " << i;
            ASSERT_EQ(g.edge(Eid(i)).border, expected.edge(Eid(i)).border) << "edge " << i;
        }
    }
}

TEST(Ground_map_builder, BuildForAFileReportsEachPhaseAndBuildsTheSameGraph) {
    std::vector<std::string> rows = {"........", "..##....", "..##..#.", "......#."};
    Ground_map plain = built_map(rows, 10);
    Ground_map map("room", "ground_map", text_mask(rows, 10), 100, 0);
    std::vector<Ground_map::Build_progress> reports;
    map.build_graph("rooms/hall_map.png",
                    [&](const Ground_map::Build_progress& p) { reports.push_back(p); });
    ASSERT_EQ(map.graph().vertex_count(), plain.graph().vertex_count());
    ASSERT_EQ(map.graph().edge_count(), plain.graph().edge_count());
    for (std::size_t i = 0; i < map.graph().edge_count(); ++i) {
        EXPECT_EQ(map.graph().source(Eid(i)), plain.graph().source(Eid(i)));
        EXPECT_EQ(map.graph().target(Eid(i)), plain.graph().target(Eid(i)));
    }
    ASSERT_FALSE(reports.empty());
    for (std::size_t i = 1; i < reports.size(); ++i) {
        SCOPED_TRACE(i);
        const auto &a = reports[i - 1], &b = reports[i];
        EXPECT_TRUE(a.phase < b.phase || (a.phase == b.phase && a.done <= b.done))
            << "phase " << a.phase << " at " << a.done << ", then phase " << b.phase << " at "
            << b.done;
    }
    for (int phase = 1; phase <= 3; ++phase) {
        SCOPED_TRACE(phase);
        auto last = std::find_if(reports.rbegin(), reports.rend(),
                                 [&](const auto& p) { return p.phase == phase; });
        ASSERT_NE(last, reports.rend());
        EXPECT_GE(last->done, 0.0);
        EXPECT_LE(last->done, 1.0);
        if (phase != 2) { // simplification ends when nothing is left to collapse
            EXPECT_DOUBLE_EQ(last->done, 1.0);
        }
    }
}

/// A floor of `side` x `side` pixels with a non-walkable speck at every odd position away from
/// the edge: ((side - 1) / 2)^2 specks, each of which keeps two outline vertices.
Ground_map::Mask speck_lattice(int side) {
    return Ground_map::Mask(side, side, [&](int x, int y) -> Ground_map::Mask::Color {
        if (x % 2 == 1 && y % 2 == 1 && x < side - 1 && y < side - 1)
            return {90, 91, 90};
        return {90, 90, 90};
    });
}

[[noreturn]] void throw_on_fatal(const char*, int, const std::string& message) {
    throw std::runtime_error(message);
}

TEST(Ground_map_builder, RefusesAnOutlineBeyondTheFileBeforeAnyInnerLink) {
    // 182 x 182 specks: two vertices each, and the four corners of the floor
    Ground_map map("room", "ground_map", speck_lattice(365), 100, 0);
    int inner_reports = 0;
    const Orvane::Fatal_handler previous = Orvane::set_fatal_handler(throw_on_fatal);
    std::string message;
    try {
        map.build_graph("images/backgrounds/dusty_map.png",
                        [&](const Ground_map::Build_progress& p) { inner_reports += p.phase == 3; });
    } catch (const std::runtime_error& error) {
        message = error.what();
    }
    Orvane::set_fatal_handler(previous);
    EXPECT_EQ(message, "Ground map images/backgrounds/dusty_map.png needs 66252 vertices, more "
                       "than the 65535 a graph file holds; isolated non-walkable specks lie at "
                       "(1, 1), (3, 1), (5, 1), (7, 1), (9, 1), ... (33124 specks in all): make "
                       "them walkable or part of larger obstacles");
    EXPECT_EQ(inner_reports, 0) << "refused before the inner links";
}

TEST(Ground_map_builder, WithoutAnImageNameTheBuildHasNoLimit) {
    Ground_map map("room", "ground_map", speck_lattice(365), 100, 0);
    // only the outline: the inner links of 66,248 vertices are not this test's business
    EXPECT_THROW(map.build_graph(std::string(),
                                 [&](const Ground_map::Build_progress& p) {
                                     if (p.phase == 3)
                                         throw std::logic_error("inner links reached");
                                 }),
                 std::logic_error);
}

} // namespace
