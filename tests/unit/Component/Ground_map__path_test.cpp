#include <cmath>
#include <limits>
#include <queue>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/Ground_map_fixture.h"

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
    std::vector<Vid> v = {g.add_vertex({{60, 2}, 0}), g.add_vertex({{70, 2}, 0}),
                          g.add_vertex({{70, 8}, 0}), g.add_vertex({{60, 8}, 0})};
    for (std::size_t i = 0; i < 4; ++i)
        g.add_edge(v[i], v[(i + 1) % 4], {true});
    Ground_map map("room", "ground_map", text_mask({"..##.....", "..##....."}, 10), 100, 0, g);
    std::vector<Point> path;
    map.find_path(Point(5, 10), Point(65, 15), path);
    EXPECT_TRUE(path.empty()) << show(path);
}

TEST(Ground_map_path_state, EqualRoutesGoThroughTheLargerVertexIndex) {
    // A wall segment between origin and target; its two ends are equally far from both. Of two
    // vertices at equal distance the larger index leaves the queue first, and the target keeps
    // the first parent that reached it.
    Ground_map::Graph g;
    Vid a = g.add_vertex({{50, 20}, 0});
    Vid b = g.add_vertex({{50, 80}, 0});
    g.add_edge(a, b, {true});
    Ground_map map("room", "ground_map", text_mask(std::vector<std::string>(10, ".........."), 10),
                   100, 0, g);
    std::vector<Point> path;
    map.find_path(Point(20, 50), Point(80, 50), path);
    expect_points(path, {{50, 80}, {80, 50}});
}

TEST(Ground_map_path_state, WalksThatDoNotExistEndQuietly) {
    // One border edge on the right of the mask, beyond a wall column.
    Ground_map::Graph g;
    Vid a = g.add_vertex({{90, 0}, 0});
    Vid b = g.add_vertex({{90, 30}, 0});
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

// ---- The requests against a plain, step-by-step reading of their definition ----

using Eid = Ground_map::Edge_id;
constexpr double far = std::numeric_limits<double>::max();

/// The nearest vertex or edge by a scan of the whole loaded graph.
Ground_map::Simplex plain_closest_simplex(const Ground_map& map, const Point& p) {
    const Ground_map::Graph& g = map.graph();
    Ground_map::Simplex best;
    best.point = p;
    for (std::size_t i = 0; i < g.vertex_count(); ++i) {
        double d = Orvane::distance(p, g.vertex(Vid(i)).point);
        if (d < best.distance)
            best = {Vid(i), Eid(), d, g.vertex(Vid(i)).point};
    }
    for (std::size_t i = 0; i < g.edge_count(); ++i) {
        Orvane::Segment seg(g.vertex(g.source(Eid(i))).point, g.vertex(g.target(Eid(i))).point);
        auto [q, inside] = seg.projection(p);
        double d = Orvane::distance(p, q);
        if (inside && d < best.distance)
            best = {Vid(), Eid(i), d, q};
    }
    return best;
}

struct Plain_result {
    std::vector<Point> path;
    Ground_map::Graph working;
};

/// Dijkstra's search with every vertex queued from the start; the walk without the origin, or
/// nothing when there is none.
std::vector<Point> plain_dijkstra(const Ground_map::Graph& w, Vid ov, Vid tv) {
    std::vector<Vid> parent(w.vertex_count());
    std::vector<double> dist(w.vertex_count());
    std::priority_queue<std::pair<double, Vid>> queue;
    for (std::size_t k = 0; k < w.vertex_count(); ++k) {
        dist[k] = Vid(k) == ov ? 0 : far;
        queue.push({-dist[k], Vid(k)});
    }
    while (!queue.empty()) {
        auto [minus_d, v] = queue.top();
        queue.pop();
        if (-minus_d > dist[v.index()])
            continue;
        for (const Eid& e : w.incident_edges(v)) {
            Vid u = w.opposite(e, v);
            double nd = Orvane::distance(w.vertex(v).point, w.vertex(u).point) + -minus_d;
            if (dist[u.index()] > nd) {
                dist[u.index()] = nd;
                parent[u.index()] = v;
                queue.push({-nd, u});
            }
        }
    }
    std::vector<Point> reversed;
    for (Vid v = tv; v != ov; v = parent[v.index()]) {
        if (parent[v.index()].is_none())
            return {};
        reversed.push_back(w.vertex(v).point);
    }
    return {reversed.rbegin(), reversed.rend()};
}

/// A request to a point done literally: copy, insert, link by testing every border edge, clean
/// up, and Dijkstra's search with every vertex queued from the start.
Plain_result plain_find_path(const Ground_map& map, Point o, Point t) {
    Plain_result result{{}, map.graph()};
    Ground_map::Graph& w = result.working;
    auto snap = [&](Point& p, Vid& v, Eid& e) {
        Ground_map::Simplex c = plain_closest_simplex(map, p);
        if (c.empty())
            return;
        if (!map.is_ground_point(p) || c.distance < Ground_map::border_radius) {
            p = c.point;
            if (c.edge.is_none())
                v = c.vertex;
            else
                e = c.edge;
        }
    };
    Vid ov, tv;
    Eid oe, te;
    snap(o, ov, oe);
    snap(t, tv, te);
    std::set<std::pair<Vid, Vid>, Ground_map::Compare_ordered_pair> links;
    auto insert = [&](const Point& p, Vid& v, const Eid& e) {
        if (!e.is_none()) {
            v = w.add_vertex({p, 0});
            Vid s = w.source(e), u = w.target(e);
            w.delete_edge(e);
            links.insert({v, s});
            links.insert({v, u});
        } else if (v.is_none()) {
            v = w.add_vertex({p, 0});
        }
    };
    if (!oe.is_none() && te == oe) {
        result.path.push_back(t);
        return result;
    }
    insert(o, ov, oe);
    insert(t, tv, te);
    auto midpoint_walkable = [&](const Point& a, const Point& b) {
        return map.is_ground_point(Point((a.x() + b.x()) / 2, (a.y() + b.y()) / 2));
    };
    bool blocked = map.intersects_border(w, Orvane::Segment(o, t), [&](const Eid& e) {
        return w.source(e) == ov || w.target(e) == ov || w.source(e) == tv || w.target(e) == tv;
    });
    if (!blocked && midpoint_walkable(o, t)) {
        result.path.push_back(t);
        result.working = map.graph();
        return result;
    }
    std::size_t n = w.vertex_count();
    for (std::size_t k = 0; k < n; ++k) {
        Vid i(k);
        if (i == ov || i == tv)
            continue;
        for (const Vid& j : {ov, tv}) {
            const Point &pi = w.vertex(i).point, &pj = w.vertex(j).point;
            if (!midpoint_walkable(pi, pj))
                continue;
            bool crossed = false;
            for (std::size_t e = 0; e < w.edge_count() && !crossed; ++e) {
                Vid s = w.source(Eid(e)), u = w.target(Eid(e));
                if (s.is_none() || u.is_none() || !w.edge(Eid(e)).border || Eid(e) == oe ||
                    Eid(e) == te || s == i || u == i)
                    continue;
                crossed = Ground_map::crosses(
                    Orvane::Segment(pi, pj), Orvane::Segment(w.vertex(s).point, w.vertex(u).point));
            }
            if (!crossed)
                links.insert({i, j});
        }
    }
    for (const auto& [a, b] : links)
        w.edge(w.add_edge(a, b, {})).border = false;
    if (w.incident_edges(tv).empty())
        return result;
    std::vector<Vid> renumbering = w.clean();
    w.validity();
    ov = renumbering[ov.index()];
    tv = renumbering[tv.index()];
    if (ov.is_none())
        return result;
    result.path = plain_dijkstra(w, ov, tv);
    return result;
}

/// A mask of random wall rectangles and discs.
Ground_map::Mask random_mask(unsigned seed, int width, int height, int walls) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> x(0, width), y(0, height), size(4, 30);
    struct Wall {
        int x, y, w, h;
        bool disc;
    };
    std::vector<Wall> list;
    for (int i = 0; i < walls; ++i)
        list.push_back({x(random), y(random), size(random), size(random), i % 3 == 0});
    return Ground_map::Mask(width, height, [&](int px, int py) -> Ground_map::Mask::Color {
        for (const Wall& w : list) {
            bool in = w.disc ? (px - w.x) * (px - w.x) + (py - w.y) * (py - w.y) < w.w * w.w / 4
                             : px >= w.x && px < w.x + w.w && py >= w.y && py < w.y + w.h;
            if (in)
                return {200, 30, 30};
        }
        auto g = static_cast<unsigned char>(py * 255 / height);
        return {g, g, g};
    });
}

void expect_same_graph(const Ground_map::Graph& got, const Ground_map::Graph& expected) {
    ASSERT_EQ(got.vertex_count(), expected.vertex_count());
    ASSERT_EQ(got.edge_count(), expected.edge_count());
    for (std::size_t k = 0; k < got.vertex_count(); ++k) {
        ASSERT_EQ(got.vertex(Vid(k)).point, expected.vertex(Vid(k)).point) << "vertex " << k;
        ASSERT_EQ(got.incident_edges(Vid(k)), expected.incident_edges(Vid(k))) << "vertex " << k;
    }
    for (std::size_t k = 0; k < got.edge_count(); ++k) {
        ASSERT_EQ(got.source(Eid(k)), expected.source(Eid(k))) << "edge " << k;
        ASSERT_EQ(got.target(Eid(k)), expected.target(Eid(k))) << "edge " << k;
        ASSERT_EQ(got.edge(Eid(k)).border, expected.edge(Eid(k)).border) << "edge " << k;
    }
}

TEST(Ground_map_path_plain, RequestsMatchAPlainReadingOnRandomMaps) {
    // The later seeds give larger maps crowded with small walls: most vertices then hide
    // behind others, which the link search skips without testing them.
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        const bool crowded = seed > 4;
        Ground_map map("room", "ground_map",
                       crowded ? random_mask(seed, 480, 320, 90)
                               : random_mask(seed, 240, 160, 14 + 4 * int(seed)),
                       100, 0);
        map.build_graph({});
        map = Ground_map("room", "ground_map", map.mask(), 100, 0, map.graph());
        std::mt19937 random(seed * 77);
        // points off the mask too, and some on the graph's vertices
        std::uniform_real_distribution<double> x(-20, crowded ? 500 : 260),
            y(-20, crowded ? 340 : 180);
        std::uniform_int_distribution<std::size_t> vertex(0, map.graph().vertex_count() - 1);
        auto some_point = [&](int k) {
            return k % 5 == 4 ? map.graph().vertex(Vid(vertex(random))).point
                              : Point(x(random), y(random));
        };
        for (int k = 0; k < 40; ++k) {
            Point from = some_point(k), to = some_point(k + 2);
            SCOPED_TRACE("seed " + std::to_string(seed) + ": " + Orvane::to_string(from) + " -> " +
                         Orvane::to_string(to));
            Ground_map::Simplex near = map.closest_simplex(to),
                                plain = plain_closest_simplex(map, to);
            EXPECT_EQ(near.vertex, plain.vertex);
            EXPECT_EQ(near.edge, plain.edge);
            EXPECT_EQ(near.point, plain.point);
            EXPECT_EQ(near.distance, plain.distance);
            Plain_result expected = plain_find_path(map, from, to);
            std::vector<Point> path;
            map.find_path(from, to, path);
            EXPECT_EQ(path, expected.path)
                << "got " << show(path) << "expected " << show(expected.path);
            expect_same_graph(map.working_graph(), expected.working);
            // and back, leaving the working graph unread before the next request
            Plain_result back = plain_find_path(map, to, from);
            path.clear();
            map.find_path(to, from, path);
            EXPECT_EQ(path, back.path) << "back: got " << show(path) << "expected "
                                       << show(back.path);
        }
    }
}

TEST(Ground_map_path_plain, DetoursAndWalledOffPointsMatchAPlainReading) {
    // Walks many times longer than the straight line between their ends, and ends that no walk
    // joins: the search first links only the vertices near that line, and widens what it links
    // until the walk it finds is certainly the shortest, or links every vertex to find none.
    const std::vector<std::string> rows = {
        "..............", //
        "#############.", //
        "..............", //
        ".#############", //
        "..............", //
        "......###.....", //
        "......#.#.....", //
        "......###.....",
    };
    Ground_map map = built_map(rows, 20);
    struct Request {
        const char* name;
        Point from;
        Point to;
    };
    const Request requests[] = {
        {"around_one_wall", {10, 10}, {10, 50}},
        {"around_two_walls", {10, 10}, {30, 90}},
        {"around_two_walls_to_the_far_corner", {270, 10}, {270, 150}},
        {"near_the_straight_line", {10, 90}, {250, 150}},
        {"into_a_walled_off_room", {10, 90}, {150, 130}},
        {"past_a_walled_off_room", {110, 150}, {190, 110}},
    };
    for (const Request& r : requests) {
        for (const auto& [from, to] : {std::pair{r.from, r.to}, std::pair{r.to, r.from}}) {
            SCOPED_TRACE(std::string(r.name) + ": " + Orvane::to_string(from) + " -> " +
                         Orvane::to_string(to));
            Plain_result expected = plain_find_path(map, from, to);
            std::vector<Point> path;
            map.find_path(from, to, path);
            EXPECT_EQ(path, expected.path) << "got " << show(path) << "expected "
                                           << show(expected.path);
            expect_same_graph(map.working_graph(), expected.working);
        }
    }
}

/// The built graph of a crowded random mask, as a ground map over it.
Ground_map crowded_map(unsigned seed) {
    Ground_map map("room", "ground_map", random_mask(seed, 480, 320, 90), 100, 0);
    map.build_graph({});
    return Ground_map("room", "ground_map", map.mask(), 100, 0, map.graph());
}

/// closest_intersected_edge() read literally: every edge scanned in index order.
Ground_map::Simplex plain_ray_hit(const Ground_map& map, const Point& p, const Vector& v,
                                  const Ground_map::Skip& skip) {
    const Ground_map::Simplex none{Vid(), Eid(), far, Point(0, 0)};
    double scale = double(map.max_length()) / std::min(v.length(), 1.0);
    Orvane::Segment ray(p, p + v * scale);
    const Ground_map::Graph& g = map.graph();
    Ground_map::Simplex best = none;
    for (std::size_t i = 0; i < g.edge_count(); ++i) {
        if (!g.edge(Eid(i)).border || skip(Eid(i)))
            continue;
        Orvane::Segment edge(g.vertex(g.source(Eid(i))).point, g.vertex(g.target(Eid(i))).point);
        if (!Ground_map::crosses(ray, edge))
            continue;
        Point q = Orvane::intersection(ray, edge);
        if (double d = Orvane::distance(p, q); d < best.distance)
            best = {Vid(), Eid(i), d, q};
    }
    if (best.empty())
        return none;
    const Vid s = g.source(best.edge), t = g.target(best.edge);
    if (double d = Orvane::distance(best.point, g.vertex(s).point); d < Ground_map::border_radius)
        best = {s, Eid(), d, g.vertex(s).point};
    if (double d = Orvane::distance(best.point, g.vertex(t).point); d < Ground_map::border_radius)
        best = {t, Eid(), d, g.vertex(t).point};
    const Point middle((p.x() + best.point.x()) / 2, (p.y() + best.point.y()) / 2);
    if (map.is_ground_point(middle))
        return best;
    Ground_map::Simplex c = map.closest_simplex(middle);
    if (!c.edge.is_none() && skip(c.edge))
        return none;
    return c.distance <= Ground_map::border_radius ? c : none;
}

TEST(Ground_map_path_plain, RayHitsMatchAScanOfEveryEdge) {
    Ground_map map = crowded_map(7);
    const Ground_map::Graph& g = map.graph();
    std::mt19937 random(11);
    std::uniform_real_distribution<double> x(-20, 500), y(-20, 340), turn(0, 6.3), length(0.01, 3);
    std::uniform_int_distribution<std::size_t> edge(0, g.edge_count() - 1);
    for (int k = 0; k < 400; ++k) {
        const Point p = k % 4 == 3 ? g.vertex(g.source(Eid(edge(random)))).point
                                   : Point(x(random), y(random));
        const double a = turn(random), l = length(random);
        const Vector v(std::cos(a) * l, std::sin(a) * l);
        const Eid skipped(edge(random));
        auto skip = [&](const Eid& e) { return k % 2 == 0 && e == skipped; };
        SCOPED_TRACE(Orvane::to_string(p) + " along " + Orvane::to_string(v));
        Ground_map::Simplex expected = plain_ray_hit(map, p, v, skip);
        Ground_map::Simplex got = map.closest_intersected_edge(p, v, skip);
        EXPECT_EQ(got.vertex, expected.vertex);
        EXPECT_EQ(got.edge, expected.edge);
        EXPECT_EQ(got.point, expected.point);
        EXPECT_EQ(got.distance, expected.distance);
    }
}

TEST(Ground_map_path_walk, StickWalksStopWhereTheyWouldComeBack) {
    // A walk whose pass leaves it where it was (stopped at a corner whose midpoint probe
    // snaps it back) used to repeat that point up to the pass limit: thousands of copies.
    for (unsigned seed : {7u, 8u}) {
        Ground_map map = crowded_map(seed);
        const std::size_t limit = map.graph().vertex_count() + map.graph().edge_count();
        std::mt19937 random(seed);
        std::uniform_real_distribution<double> x(0, 480), y(0, 320), turn(0, 6.3);
        for (int k = 0; k < 200; ++k) {
            const Point p(x(random), y(random));
            const double a = turn(random);
            const Vector v(std::cos(a) * 1.22, std::sin(a) / 1.41);
            if (!map.is_ground_point(p))
                continue;
            SCOPED_TRACE(Orvane::to_string(p) + " along " + Orvane::to_string(v));
            std::vector<Point> path;
            map.find_path(p, v, path);
            ASSERT_LT(path.size(), limit) << show(path);
            for (std::size_t i = 1; i < path.size(); ++i)
                ASSERT_NE(path[i], path[i - 1]) << "at " << i << ": " << show(path);
        }
    }
}

TEST(Ground_map_path_plain, ShortestPathOnTheWorkingGraphMatchesPlainDijkstra) {
    Ground_map map = crowded_map(9);
    std::vector<Point> path;
    map.find_path(Point(5, 5), Point(470, 310), path);
    const Ground_map::Graph& w = map.working_graph();
    ASSERT_GT(w.vertex_count(), map.graph().vertex_count()) << "the request searched";
    std::mt19937 random(3);
    std::uniform_int_distribution<std::size_t> vertex(0, w.vertex_count() - 1);
    for (int k = 0; k < 60; ++k) {
        const Vid a(vertex(random)), b(k % 10 == 0 ? a.index() : vertex(random));
        SCOPED_TRACE(std::to_string(a.index()) + " -> " + std::to_string(b.index()));
        std::vector<Point> got = {{-1, -1}};
        const bool found = map.shortest_path(a, b, got);
        std::vector<Point> expected = plain_dijkstra(map.working_graph(), a, b);
        EXPECT_EQ(found, a == b || !expected.empty());
        expected.insert(expected.begin(), Point(-1, -1));
        EXPECT_EQ(got, expected) << "got " << show(got) << "expected " << show(expected);
    }
}

TEST(Ground_map_path_plain, GraphSpreadOverHugeCoordinatesMatchesAPlainReading) {
    // A few vertices at +-2e9 around a small outline on the mask: the nearest-item grid covers
    // the whole spread with few, huge cells, and searches far from every item give up walking
    // rings for a scan of the whole graph. Either way the answers are those of a plain reading.
    ground_map_test::File_bytes f;
    constexpr std::int32_t big = 2000000000;
    f.u(8, 2)
        .vertex(-big, -big, 0)
        .vertex(big, -big, 50)
        .vertex(big, big, 100)
        .vertex(-big, big, 150)
        .vertex(10, 10, 200)
        .vertex(30, 10, 200)
        .vertex(30, 20, 200)
        .vertex(10, 20, 200);
    f.u(9, 2)
        .edge(0, 1, 1)
        .edge(1, 2, 1)
        .edge(2, 3, 1)
        .edge(0, 3, 1)
        .edge(4, 5, 1)
        .edge(5, 6, 1)
        .edge(6, 7, 1)
        .edge(4, 7, 1)
        .edge(0, 4, 0);
    Ground_map map("room", "ground_map", text_mask({"....", "....", "...."}, 10), 100, 0,
                   Ground_map::parse_graph(f.bytes.data(), f.bytes.size(), "huge.graph"));
    std::mt19937 random(5);
    std::uniform_real_distribution<double> anywhere(-2.1e9, 2.1e9), near_mask(-10, 50),
        moderate(-1e6, 1e6);
    std::vector<Point> points = {{20, 15}, {5, 5}, {-big, -big}, {0, 0}, {big, 0}, {1e9, -1e9}};
    for (int k = 0; k < 30; ++k) {
        points.push_back({anywhere(random), anywhere(random)});
        points.push_back({near_mask(random), near_mask(random)});
        points.push_back({moderate(random), moderate(random)});
    }
    for (std::size_t k = 0; k < points.size(); ++k) {
        const Point& to = points[k];
        const Point& from = points[(k * 7 + 3) % points.size()];
        SCOPED_TRACE(Orvane::to_string(from) + " -> " + Orvane::to_string(to));
        Ground_map::Simplex near = map.closest_simplex(to), plain = plain_closest_simplex(map, to);
        EXPECT_EQ(near.vertex, plain.vertex);
        EXPECT_EQ(near.edge, plain.edge);
        EXPECT_EQ(near.point, plain.point);
        EXPECT_EQ(near.distance, plain.distance);
        Plain_result expected = plain_find_path(map, from, to);
        std::vector<Point> path;
        map.find_path(from, to, path);
        EXPECT_EQ(path, expected.path) << "got " << show(path) << "expected " << show(expected.path);
        expect_same_graph(map.working_graph(), expected.working);
    }
}

} // namespace
