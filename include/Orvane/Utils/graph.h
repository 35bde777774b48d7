#pragma once

#include <algorithm>
#include <compare>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include <Orvane/Utils/error.h>

namespace Orvane {

/// Handle of a vertex or an edge: an index tagged by the element type, so that a vertex
/// handle cannot stand where an edge handle is expected. The default handle, -1 (the largest
/// value), means none.
template <typename T> class Typed_int {
  public:
    Typed_int() = default;
    explicit Typed_int(std::size_t index) : m_index(index) {}

    std::size_t index() const { return m_index; }
    explicit operator std::size_t() const { return m_index; }
    bool is_none() const { return m_index == static_cast<std::size_t>(-1); }
    static Typed_int none() { return Typed_int(); }

    friend auto operator<=>(const Typed_int&, const Typed_int&) = default;

  private:
    std::size_t m_index = static_cast<std::size_t>(-1);
};

template <typename T> std::string to_string(const Typed_int<T>& t) {
    return t.is_none() ? std::string("none") : std::to_string(t.index());
}

/// A growable array addressed by a typed handle.
template <typename T, typename Handle> class Container {
  public:
    /// Appends and returns the handle of the new element.
    Handle push_back(const T& t) {
        m_data.push_back(t);
        return Handle(m_data.size() - 1);
    }
    T& operator[](const Handle& h) { return m_data[h.index()]; }
    const T& operator[](const Handle& h) const { return m_data[h.index()]; }
    std::size_t size() const { return m_data.size(); }
    /// Keeps the first n elements.
    void truncate(std::size_t n) { m_data.erase(m_data.begin() + std::ptrdiff_t(n), m_data.end()); }
    bool contains(const Handle& h) const { return h.index() < m_data.size(); }

  private:
    std::vector<T> m_data;
};

/// The engine's graph: vertices and edges stored by value in two arrays and addressed by typed
/// handles. An undirected graph stores each edge with source < target and lists it at both
/// ends; a directed graph lists an edge at its source only. Deleting an edge leaves a hole
/// until clean(). A graph is a plain value: copies share nothing. Every operation given the
/// none handle or a handle out of range is a fatal check.
template <typename Vertex, typename Edge, bool Directed> class Graph {
  public:
    using Vertex_id = Typed_int<Vertex>;
    using Edge_id = Typed_int<Edge>;

    struct GVertex {
        Vertex data;
        std::vector<Edge_id> edges; // incident list, in the order the edges were listed
    };
    struct GEdge {
        Edge data;
        Vertex_id source;
        Vertex_id target;
    };

    /// Appends a vertex without edges and returns its handle.
    Vertex_id add_vertex(const Vertex& data) { return m_vertices.push_back({data, {}}); }

    /// Appends an edge between a and b and returns its handle. Undirected: stored as
    /// (min, max), listed at a then at b.
    Edge_id add_edge(const Vertex_id& a, const Vertex_id& b, const Edge& data) {
        check_vertex(a);
        check_vertex(b);
        Edge_id e;
        if constexpr (Directed) {
            e = m_edges.push_back({data, a, b});
            m_vertices[a].edges.push_back(e);
        } else {
            e = m_edges.push_back({data, std::min(a, b), std::max(a, b)});
            m_vertices[a].edges.push_back(e);
            m_vertices[b].edges.push_back(e);
        }
        return e;
    }

    /// Unlinks e from both its ends; its slot and payload stay until clean().
    void delete_edge(const Edge_id& e) requires(!Directed) {
        check_edge(e);
        GEdge& edge = m_edges[e];
        ORVANE_CHECK(!edge.source.is_none(), "Edge " + to_string(e) + " is already deleted");
        Vertex_id s = edge.source;
        Vertex_id t = edge.target;
        edge.source = Vertex_id();
        edge.target = Vertex_id();
        unlist(s, e);
        unlist(t, e);
    }

    /// Every edge listed at a vertex has that vertex as one of its ends.
    void validity() const {
        for (std::size_t i = 0; i < m_vertices.size(); ++i) {
            Vertex_id v(i);
            for (const Edge_id& e : m_vertices[v].edges) {
                ORVANE_CHECK(m_edges.contains(e), "Ill-formed edge");
                ORVANE_CHECK(m_edges[e].source == v || m_edges[e].target == v, "Ill-formed edge");
            }
        }
    }

    /// Drops deleted edges and vertices without edges, renumbering what remains in order.
    /// Returns the new handle of every old vertex (none for a dropped one), so that callers
    /// can translate the handles they keep.
    std::vector<Vertex_id> clean() requires(!Directed) {
        // Compacts in place, so that the incident lists keep their storage.
        std::vector<Vertex_id> renumbering(m_vertices.size());
        std::size_t kept = 0;
        for (std::size_t i = 0; i < m_vertices.size(); ++i) {
            if (m_vertices[Vertex_id(i)].edges.empty())
                continue;
            renumbering[i] = Vertex_id(kept);
            if (kept != i)
                std::swap(m_vertices[Vertex_id(kept)], m_vertices[Vertex_id(i)]);
            m_vertices[Vertex_id(kept)].edges.clear();
            ++kept;
        }
        m_vertices.truncate(kept);
        kept = 0;
        for (std::size_t i = 0; i < m_edges.size(); ++i) {
            GEdge& e = m_edges[Edge_id(i)];
            if (e.source.is_none() || e.target.is_none())
                continue;
            Vertex_id s = renumbering[e.source.index()];
            Vertex_id t = renumbering[e.target.index()];
            Edge_id id(kept++);
            if (id.index() != i)
                m_edges[id].data = std::move(e.data);
            m_edges[id].source = std::min(s, t);
            m_edges[id].target = std::max(s, t);
            m_vertices[s].edges.push_back(id);
            m_vertices[t].edges.push_back(id);
        }
        m_edges.truncate(kept);
        return renumbering;
    }

    /// Whether an edge joins a and b (scans the shorter incident list; b's on a tie).
    bool is_edge(const Vertex_id& a, const Vertex_id& b) const {
        check_vertex(a);
        check_vertex(b);
        const Vertex_id& from = m_vertices[a].edges.size() < m_vertices[b].edges.size() ? a : b;
        const Vertex_id& to = (from == a) ? b : a;
        for (const Edge_id& e : m_vertices[from].edges)
            if (opposite(e, from) == to)
                return true;
        return false;
    }

    std::size_t vertex_count() const { return m_vertices.size(); }
    std::size_t edge_count() const { return m_edges.size(); }

    /// Payload of a vertex.
    Vertex& vertex(const Vertex_id& v) { return m_vertices[check_vertex(v)].data; }
    const Vertex& vertex(const Vertex_id& v) const { return m_vertices[check_vertex(v)].data; }
    /// Payload of an edge.
    Edge& edge(const Edge_id& e) { return m_edges[check_edge(e)].data; }
    const Edge& edge(const Edge_id& e) const { return m_edges[check_edge(e)].data; }
    /// Ends of an edge (none for a deleted edge).
    Vertex_id source(const Edge_id& e) const { return m_edges[check_edge(e)].source; }
    Vertex_id target(const Edge_id& e) const { return m_edges[check_edge(e)].target; }
    /// The edges listed at v.
    const std::vector<Edge_id>& incident_edges(const Vertex_id& v) const {
        return m_vertices[check_vertex(v)].edges;
    }

    /// The other end of e seen from its end v; fatal when v is not an end of e (the none
    /// handle is the end of no edge, deleted ones included).
    Vertex_id opposite(const Edge_id& e, const Vertex_id& v) const {
        const GEdge& edge = m_edges[check_edge(e)];
        if (!v.is_none() && v == edge.source)
            return edge.target;
        ORVANE_CHECK(!v.is_none() && v == edge.target, "Vertex is not in edge");
        return edge.source;
    }
    /// Same as opposite(), for the walk along a direction.
    Vertex_id other_vertex(const Edge_id& e, const Vertex_id& v) const {
        const GEdge& edge = m_edges[check_edge(e)];
        if (!v.is_none() && v == edge.source)
            return edge.target;
        ORVANE_CHECK(!v.is_none() && v == edge.target, "Vertex does not belong to edge");
        return edge.source;
    }

  private:
    const Vertex_id& check_vertex(const Vertex_id& v) const {
        if (!m_vertices.contains(v)) [[unlikely]]
            bad_vertex(v);
        return v;
    }
    const Edge_id& check_edge(const Edge_id& e) const {
        if (!m_edges.contains(e)) [[unlikely]]
            bad_edge(e);
        return e;
    }
    // Kept out of line so that the checks above stay small enough to inline.
    [[noreturn, gnu::cold, gnu::noinline]] void bad_vertex(const Vertex_id& v) const {
        check_impl(__FILE__, __LINE__,
                   "Invalid vertex " + to_string(v) + " (graph of " +
                       std::to_string(m_vertices.size()) + " vertices)");
    }
    [[noreturn, gnu::cold, gnu::noinline]] void bad_edge(const Edge_id& e) const {
        check_impl(__FILE__, __LINE__,
                   "Invalid edge " + to_string(e) + " (graph of " + std::to_string(m_edges.size()) +
                       " edges)");
    }
    void unlist(const Vertex_id& v, const Edge_id& e) {
        std::vector<Edge_id>& list = m_vertices[v].edges;
        auto it = std::find(list.begin(), list.end(), e);
        if (it != list.end())
            list.erase(it);
    }

    Container<GVertex, Vertex_id> m_vertices;
    Container<GEdge, Edge_id> m_edges;
};

} // namespace Orvane
