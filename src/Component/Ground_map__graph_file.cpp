// The graph file: a ground map's graph as stored beside its mask, read and written.
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <Orvane/Component/Ground_map.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/little_endian.h>

namespace Orvane::Component {

std::string Ground_map::graph_file_name(const std::string& mask_file) {
    return mask_file.substr(0, mask_file.size() < 3 ? 0 : mask_file.size() - 3) + "graph";
}

std::string Ground_map::packed_mask_file_name(const std::string& mask_file) {
    return mask_file.substr(0, mask_file.size() < 3 ? 0 : mask_file.size() - 3) + "mask";
}

namespace {

/// Little-endian reader over bytes whose total size has been checked beforehand.
struct Reader {
    const unsigned char* data;
    std::size_t at = 0;
    std::uint32_t u(std::size_t bytes) {
        const auto v = std::uint32_t(read_little_endian(data + at, bytes));
        at += bytes;
        return v;
    }
};

} // namespace

std::optional<std::string> Ground_map::try_parse_graph(const char* data, std::size_t size,
                                                       const std::string& file, Graph& graph) {
    if (size < 2)
        return "Graph file " + file + " is missing or shorter than its vertex count (" +
               std::to_string(size) + " bytes)";
    Reader r{reinterpret_cast<const unsigned char*>(data)};
    std::size_t v_count = r.u(2);
    std::size_t edges_at = 2 + 9 * v_count;
    if (size < edges_at + 2)
        return "Graph file " + file + " is truncated: " + std::to_string(size) + " bytes for " +
               std::to_string(v_count) + " vertices";
    Reader e_reader{r.data, edges_at};
    std::size_t e_count = e_reader.u(2);
    std::size_t expected = 4 + 9 * v_count + 5 * e_count;
    if (size != expected)
        return "Graph file " + file + " has " + std::to_string(size) + " bytes where " +
               std::to_string(v_count) + " vertices and " + std::to_string(e_count) +
               " edges take " + std::to_string(expected);
    graph = Graph();
    for (std::size_t i = 0; i < v_count; ++i) {
        auto x = std::int32_t(r.u(4));
        auto y = std::int32_t(r.u(4));
        auto gray = static_cast<unsigned char>(r.u(1));
        graph.add_vertex({Point(x, y), gray});
    }
    r.at += 2;
    for (std::size_t i = 0; i < e_count; ++i) {
        std::size_t s = r.u(2);
        std::size_t t = r.u(2);
        bool border = r.u(1) != 0;
        if (s >= v_count || t >= v_count)
            return "Graph file " + file + ": edge " + std::to_string(i) + " joins vertices " +
                   std::to_string(s) + " and " + std::to_string(t) + " but there are only " +
                   std::to_string(v_count) + " vertices";
        Edge_id e = graph.add_edge(Vertex_id(s), Vertex_id(t), {true});
        graph.edge(e).border = border;
    }
    return std::nullopt;
}

Ground_map::Graph Ground_map::parse_graph(const char* data, std::size_t size,
                                          const std::string& file) {
    Graph graph;
    std::optional<std::string> problem = try_parse_graph(data, size, file, graph);
    ORVANE_CHECK(!problem, *problem);
    return graph;
}

std::vector<char> Ground_map::write_graph(const std::string& file) const {
    std::vector<Edge_id> edges;
    for (std::size_t i = 0; i < m_graph.edge_count(); ++i)
        if (!m_graph.source(Edge_id(i)).is_none())
            edges.push_back(Edge_id(i));
    ORVANE_CHECK(m_graph.vertex_count() <= 65535 && edges.size() <= 65535,
                 "Graph file " + file + " cannot hold " + std::to_string(m_graph.vertex_count()) +
                     " vertices and " + std::to_string(edges.size()) + " edges (65535 at most)");
    std::vector<char> out;
    out.reserve(4 + 9 * m_graph.vertex_count() + 5 * edges.size());
    append_little_endian(out, std::uint32_t(m_graph.vertex_count()), 2);
    for (std::size_t i = 0; i < m_graph.vertex_count(); ++i) {
        const Vertex& v = m_graph.vertex(Vertex_id(i));
        int x = v.point.X();
        int y = v.point.Y();
        double fx = std::floor(v.point.x()), fy = std::floor(v.point.y());
        if (v.point.x() - fx == 0.5 && v.point.y() - fy == 0.5) {
            // A corner between four pixels: store it at a walkable one, preferring the one
            // whose diagonal opposite is not walkable (the pixel on the inside of the outline).
            int cx = int(fx), cy = int(fy);
            const std::array<std::pair<int, int>, 4> around = {
                {{cx, cy}, {cx + 1, cy}, {cx, cy + 1}, {cx + 1, cy + 1}}};
            int chosen = -1;
            for (std::size_t k = 0; k < 4; ++k) {
                if (!m_mask.walkable(around[k].first, around[k].second))
                    continue;
                if (!m_mask.walkable(around[3 - k].first, around[3 - k].second)) {
                    chosen = int(k);
                    break;
                }
                if (chosen < 0)
                    chosen = int(k);
            }
            if (chosen >= 0) {
                x = around[std::size_t(chosen)].first;
                y = around[std::size_t(chosen)].second;
            }
        }
        append_little_endian(out, std::uint32_t(x), 4);
        append_little_endian(out, std::uint32_t(y), 4);
        append_little_endian(out, v.gray, 1);
    }
    append_little_endian(out, std::uint32_t(edges.size()), 2);
    for (const Edge_id& e : edges) {
        append_little_endian(out, std::uint32_t(m_graph.source(e).index()), 2);
        append_little_endian(out, std::uint32_t(m_graph.target(e).index()), 2);
        append_little_endian(out, m_graph.edge(e).border ? 1 : 0, 1);
    }
    return out;
}

} // namespace Orvane::Component
