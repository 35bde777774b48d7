#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include <Orvane/Component/Ground_map.h>
#include <Orvane/Utils/error.h>

namespace Orvane::Component {

namespace {
constexpr double deviation_threshold = 2.0;
constexpr double chain_band = 2 * Ground_map::border_radius;
/// The most vertices, and the most edges, that a graph file holds.
constexpr std::size_t file_limit = 65535;
/// A non-walkable patch of at most this many pixels, walkable all round, counts as a speck.
constexpr std::size_t speck_pixels = 16;
/// How many specks a refusal names.
constexpr std::size_t specks_named = 5;

/// Where the isolated non-walkable specks of a mask lie, for an author who has to clean them: the
/// first few in reading order ("(x, y)" of their first pixel), and how many there are in all.
/// A speck is a patch of diagonally or directly touching non-walkable pixels, no larger than
/// speck_pixels and away from the mask's edge.
std::string speck_places(const Ground_map::Mask& mask) {
    const int width = mask.width(), height = mask.height();
    std::vector<bool> seen(std::size_t(width) * std::size_t(height));
    std::vector<std::pair<int, int>> stack;
    std::string places;
    std::size_t count = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t at = std::size_t(y) * std::size_t(width) + std::size_t(x);
            if (seen[at] || mask.walkable(x, y))
                continue;
            // the whole patch is marked, however large, so that it is walked once
            std::size_t size = 0;
            bool edge = false;
            seen[at] = true;
            stack.assign(1, {x, y});
            while (!stack.empty()) {
                auto [px, py] = stack.back();
                stack.pop_back();
                ++size;
                edge = edge || px == 0 || py == 0 || px == width - 1 || py == height - 1;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = px + dx, ny = py + dy;
                        if (nx < 0 || ny < 0 || nx >= width || ny >= height ||
                            mask.walkable(nx, ny))
                            continue;
                        const std::size_t n = std::size_t(ny) * std::size_t(width) + std::size_t(nx);
                        if (!seen[n]) {
                            seen[n] = true;
                            stack.push_back({nx, ny});
                        }
                    }
            }
            if (edge || size > speck_pixels)
                continue;
            if (count < specks_named)
                places += (count > 0 ? ", (" : "(") + std::to_string(x) + ", " +
                          std::to_string(y) + ")";
            ++count;
        }
    if (count == 0)
        return "its outline is too detailed (no isolated non-walkable speck found)";
    return "isolated non-walkable specks lie at " + places +
           (count > specks_named ? ", ..." : "") + " (" + std::to_string(count) +
           (count == 1 ? " speck" : " specks") +
           " in all): make them walkable or part of larger obstacles";
}
} // namespace

double Ground_map::deviation(const Vertex_id& v) const {
    const std::vector<Edge_id>& edges = m_graph.incident_edges(v);
    if (edges.size() != 2)
        return std::numeric_limits<double>::max();
    const Point& a = m_graph.vertex(m_graph.opposite(edges[0], v)).point;
    const Point& b = m_graph.vertex(m_graph.opposite(edges[1], v)).point;
    if (a == b)
        return std::numeric_limits<double>::max(); // no line through one point
    const Point& p = m_graph.vertex(v).point;
    return distance(p, Line(a, b).projection(p));
}

Ground_map::Vertex_id Ground_map::add_vertex(std::map<Point, Vertex_id>& index, const Point& p,
                                             const unsigned char& gray) {
    auto [it, added] = index.try_emplace(p);
    if (added)
        it->second = m_graph.add_vertex({p, gray, 0});
    return it->second;
}

void Ground_map::build_graph(const std::function<void()>& progress) {
    build_graph(std::string(), [&](const Build_progress&) {
        if (progress)
            progress();
    });
}

void Ground_map::build_graph(const std::string& image,
                             const std::function<void(const Build_progress&)>& progress) {
    Build_progress at;
    auto report = [&](int phase, double done) {
        if (!progress)
            return;
        at.phase = phase;
        at.done = std::min(done, 1.0);
        progress(at);
    };
    const bool limited = !image.empty();
    const int width = m_mask.width(), height = m_mask.height();
    working_graph(); // the working graph keeps what it shows now

    // Outline: an edge along every pixel side between a walkable and a non-walkable pixel.
    // Pixel (x, y) covers (x - 0.5, y - 0.5) to (x + 0.5, y + 0.5); outside counts as walls.
    std::map<Point, Vertex_id> index;
    for (int x = -1; x < width; ++x) {
        for (int y = -1; y < height; ++y) {
            int c = m_mask.level(x, y), r = m_mask.level(x + 1, y), d = m_mask.level(x, y + 1);
            if ((c >= 0) != (r >= 0)) {
                auto gray = static_cast<unsigned char>(c >= 0 ? c : r);
                Vertex_id a = add_vertex(index, Point(x + 0.5, y - 0.5), gray);
                Vertex_id b = add_vertex(index, Point(x + 0.5, y + 0.5), gray);
                m_graph.add_edge(a, b, {true});
            }
            if ((c >= 0) != (d >= 0)) {
                auto gray = static_cast<unsigned char>(c >= 0 ? c : d);
                Vertex_id a = add_vertex(index, Point(x - 0.5, y + 0.5), gray);
                Vertex_id b = add_vertex(index, Point(x + 0.5, y + 0.5), gray);
                m_graph.add_edge(a, b, {true});
            }
        }
        report(1, double(x + 2) / double(width + 1));
    }

    // Simplification: collapse the vertex that moves the outline least, while that is less
    // than the threshold.
    if (m_graph.vertex_count() > 0) {
        std::function<bool(const Vertex_id&, const Vertex_id&)> less = [this](const Vertex_id& a,
                                                                              const Vertex_id& b) {
            double da = deviation(a), db = deviation(b);
            return da < db || (da == db && a < b);
        };
        std::set<Vertex_id, decltype(less)> queue(less);
        // each step removes one vertex: at most as many steps as vertices
        const double steps = 2.0 * double(m_graph.vertex_count());
        for (std::size_t i = 0; i < m_graph.vertex_count(); ++i) {
            if (deviation(Vertex_id(i)) < deviation_threshold)
                queue.insert(Vertex_id(i));
            report(2, double(i + 1) / steps);
        }
        std::size_t step = m_graph.vertex_count();
        while (!queue.empty()) {
            Vertex_id v = *queue.begin();
            queue.erase(queue.begin());
            const std::vector<Edge_id> edges = m_graph.incident_edges(v);
            Vertex_id a = m_graph.opposite(edges[0], v);
            Vertex_id b = m_graph.opposite(edges[1], v);
            queue.erase(a);
            queue.erase(b);
            m_graph.delete_edge(edges[1]);
            m_graph.delete_edge(edges[0]);
            m_graph.add_edge(a, b, {true});
            if (deviation(a) < deviation_threshold)
                queue.insert(a);
            if (deviation(b) < deviation_threshold)
                queue.insert(b);
            report(2, double(++step) / steps);
        }
    }

    m_graph.validity();
    m_graph.clean();
    m_graph.validity();
    // The inner links cost far more than the outline: a graph that its file cannot hold is
    // refused before them, and while they are made, as soon as it passes the limit.
    ORVANE_CHECK(!limited || m_graph.vertex_count() <= file_limit,
                 "Ground map " + image + " needs " + std::to_string(m_graph.vertex_count()) +
                     " vertices, more than the " + std::to_string(file_limit) +
                     " a graph file holds; " + speck_places(m_mask));
    index_graph();

    // Inner links between outline vertices that see each other, split into chains through
    // the vertices they pass close to.
    Grid points;
    {
        std::vector<std::pair<std::uint32_t, Segment>> items;
        for (std::size_t k = 0; k < m_graph.vertex_count(); ++k) {
            const Point& p = m_graph.vertex(Vertex_id(k)).point;
            items.push_back({std::uint32_t(k), Segment(p, p)});
        }
        points.build(items, true);
    }
    std::size_t n = m_graph.vertex_count();
    for (std::size_t i = 0; i < n; ++i) {
        const Point pi = m_graph.vertex(Vertex_id(i)).point;
        for (std::size_t j = i + 1; j < n; ++j) {
            Vertex_id vi(i), vj(j);
            if (m_graph.is_edge(vi, vj))
                continue;
            const Point pj = m_graph.vertex(vj).point;
            // the cheap probe first: all three tests must pass, in any order
            if (!walkable_midpoint(pi, pj))
                continue;
            Segment link(pi, pj);
            bool crossed = m_borders.any_near(link, [&](std::uint32_t k) {
                const Border& b = m_border_list[k];
                if (b.source == vi || b.source == vj || b.target == vi || b.target == vj)
                    return false;
                return crosses(link, b.segment);
            });
            if (crossed)
                continue;
            std::vector<std::uint32_t> chain;
            points.any_near(link, [&](std::uint32_t k) {
                if (k == i || k == j)
                    return false;
                auto [q, inside] = link.projection(m_graph.vertex(Vertex_id(k)).point);
                if (inside && distance(q, m_graph.vertex(Vertex_id(k)).point) <= chain_band)
                    chain.push_back(k);
                return false;
            });
            std::sort(chain.begin(), chain.end());
            chain.insert(chain.begin(), {std::uint32_t(i), std::uint32_t(j)});
            std::stable_sort(chain.begin(), chain.end(), [&](std::uint32_t a, std::uint32_t b) {
                return link.projected_coordinate(m_graph.vertex(Vertex_id(a)).point) <
                       link.projected_coordinate(m_graph.vertex(Vertex_id(b)).point);
            });
            for (std::size_t k = 0; k + 1 < chain.size(); ++k) {
                Vertex_id a(chain[k]), b(chain[k + 1]);
                if (m_graph.is_edge(a, b))
                    continue;
                Edge_id e = m_graph.add_edge(a, b, {false});
                m_graph.edge(e).border = false;
                ORVANE_CHECK(!limited || m_graph.edge_count() <= file_limit,
                             "Ground map " + image + " needs more than " +
                                 std::to_string(file_limit) +
                                 " edges, the most a graph file holds; " +
                                 speck_places(m_mask));
            }
        }
        // pairs done so far, of n (n - 1) / 2
        const double pairs = std::max(double(n) * double(n - 1) / 2, 1.0);
        const double left = double(n) - double(i) - 1; // vertices after i
        report(3, (pairs - left * (left - 1) / 2) / pairs);
    }
    index_graph();
}

} // namespace Orvane::Component
