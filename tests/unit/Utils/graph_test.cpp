#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Utils/graph.h>

namespace {

struct V {
    std::string name;
};
struct E {
    int weight = 0;
};
using Undirected = Orvane::Graph<V, E, false>;
using Directed = Orvane::Graph<V, E, true>;
using Vid = Undirected::Vertex_id;
using Eid = Undirected::Edge_id;

template <typename G> G with_vertices(int n) {
    G g;
    for (int i = 0; i < n; ++i)
        g.add_vertex({"v" + std::to_string(i)});
    return g;
}

std::vector<std::size_t> indices(const std::vector<Eid>& list) {
    std::vector<std::size_t> out;
    for (const Eid& e : list)
        out.push_back(e.index());
    return out;
}

TEST(Graph, HandlesDefaultToNoneAndOrderByIndex) {
    EXPECT_TRUE(Vid().is_none());
    EXPECT_EQ(Vid().index(), static_cast<std::size_t>(-1));
    EXPECT_LT(Vid(2), Vid(5));
    EXPECT_EQ(Orvane::to_string(Vid()), "none");
    EXPECT_EQ(Orvane::to_string(Vid(3)), "3");
}

TEST(Graph, UndirectedEdgeIsStoredMinMaxAndListedInArgumentOrder) {
    auto g = with_vertices<Undirected>(6);
    Eid e = g.add_edge(Vid(5), Vid(2), {7});
    EXPECT_EQ(e.index(), 0u);
    EXPECT_EQ(g.source(e), Vid(2));
    EXPECT_EQ(g.target(e), Vid(5));
    EXPECT_EQ(indices(g.incident_edges(Vid(5))), (std::vector<std::size_t>{0}));
    EXPECT_EQ(indices(g.incident_edges(Vid(2))), (std::vector<std::size_t>{0}));
    EXPECT_EQ(g.edge(e).weight, 7);
    EXPECT_EQ(g.opposite(e, Vid(5)), Vid(2));
    EXPECT_EQ(g.other_vertex(e, Vid(2)), Vid(5));
}

TEST(Graph, DirectedEdgeIsListedAtItsSourceOnly) {
    auto g = with_vertices<Directed>(6);
    auto e = g.add_edge(Directed::Vertex_id(5), Directed::Vertex_id(2), {1});
    EXPECT_EQ(g.source(e), Directed::Vertex_id(5));
    EXPECT_EQ(g.target(e), Directed::Vertex_id(2));
    EXPECT_EQ(g.incident_edges(Directed::Vertex_id(5)).size(), 1u);
    EXPECT_TRUE(g.incident_edges(Directed::Vertex_id(2)).empty());
}

TEST(Graph, DeletedEdgeKeepsItsSlotAndIsListedNowhere) {
    auto g = with_vertices<Undirected>(3);
    g.add_edge(Vid(0), Vid(1), {1});
    Eid e = g.add_edge(Vid(1), Vid(2), {2});
    g.add_edge(Vid(2), Vid(0), {3});
    g.delete_edge(e);
    EXPECT_EQ(g.edge_count(), 3u);
    EXPECT_TRUE(g.source(e).is_none());
    EXPECT_TRUE(g.target(e).is_none());
    EXPECT_EQ(indices(g.incident_edges(Vid(1))), (std::vector<std::size_t>{0}));
    EXPECT_EQ(indices(g.incident_edges(Vid(2))), (std::vector<std::size_t>{2}));
    EXPECT_EQ(g.edge(e).weight, 2);
    g.validity();
}

TEST(Graph, CleanDropsIsolatedVerticesAndRenumbers) {
    // 0-1, 1-2, 2-3, 3-4: deleting 0-1 isolates vertex 0, every later index shifts down.
    auto g = with_vertices<Undirected>(5);
    Eid first = g.add_edge(Vid(0), Vid(1), {10});
    g.add_edge(Vid(2), Vid(1), {12});
    g.add_edge(Vid(2), Vid(3), {23});
    g.add_edge(Vid(4), Vid(3), {34});
    g.delete_edge(first);
    std::vector<Vid> renumbering = g.clean();

    ASSERT_EQ(g.vertex_count(), 4u);
    ASSERT_EQ(g.edge_count(), 3u);
    std::vector<Vid> expected = {Vid(), Vid(0), Vid(1), Vid(2), Vid(3)};
    EXPECT_EQ(renumbering, expected);
    EXPECT_EQ(g.vertex(Vid(0)).name, "v1");
    EXPECT_EQ(g.vertex(Vid(3)).name, "v4");
    struct Expected_edge {
        int weight;
        std::size_t source, target;
    };
    std::vector<Expected_edge> edges = {{12, 0, 1}, {23, 1, 2}, {34, 2, 3}};
    for (std::size_t i = 0; i < edges.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(g.edge(Eid(i)).weight, edges[i].weight);
        EXPECT_EQ(g.source(Eid(i)).index(), edges[i].source);
        EXPECT_EQ(g.target(Eid(i)).index(), edges[i].target);
    }
    EXPECT_EQ(indices(g.incident_edges(Vid(1))), (std::vector<std::size_t>{0, 1}));
    g.validity();
}

TEST(Graph, CleanWithoutHolesKeepsIndicesAndSortsIncidentLists) {
    auto g = with_vertices<Undirected>(3);
    g.add_edge(Vid(0), Vid(1), {});
    g.add_edge(Vid(1), Vid(2), {});
    g.add_edge(Vid(0), Vid(2), {});
    g.delete_edge(Eid(0));
    g.add_edge(Vid(1), Vid(0), {}); // vertex 0 now lists 2 then 3, vertex 1 lists 1 then 3
    Undirected copy = g;
    copy.clean();
    // Edge 0 was deleted, so edges shift: old 1, 2, 3 become 0, 1, 2.
    EXPECT_EQ(indices(copy.incident_edges(Vid(0))), (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(indices(copy.incident_edges(Vid(1))), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(g.edge_count(), 4u) << "the copy shares nothing with the original";

    auto h = with_vertices<Undirected>(3);
    h.add_edge(Vid(2), Vid(1), {});
    h.add_edge(Vid(0), Vid(2), {});
    EXPECT_EQ(indices(h.incident_edges(Vid(2))), (std::vector<std::size_t>{0, 1}));
    h.add_edge(Vid(0), Vid(1), {});
    std::vector<Vid> same = h.clean();
    EXPECT_EQ(same, (std::vector<Vid>{Vid(0), Vid(1), Vid(2)}));
    EXPECT_EQ(indices(h.incident_edges(Vid(1))), (std::vector<std::size_t>{0, 2}));
}

TEST(Graph, IsEdgeIsSymmetric) {
    auto g = with_vertices<Undirected>(4);
    g.add_edge(Vid(0), Vid(1), {});
    g.add_edge(Vid(1), Vid(2), {});
    g.add_edge(Vid(2), Vid(3), {});
    struct Case {
        std::size_t a, b;
        bool joined;
    };
    for (const Case& c : {Case{0, 1, true}, Case{1, 2, true}, Case{0, 2, false}, Case{3, 2, true},
                          Case{0, 3, false}}) {
        SCOPED_TRACE(std::to_string(c.a) + "-" + std::to_string(c.b));
        EXPECT_EQ(g.is_edge(Vid(c.a), Vid(c.b)), c.joined);
        EXPECT_EQ(g.is_edge(Vid(c.b), Vid(c.a)), c.joined);
    }
}

TEST(GraphDeathTest, BadHandlesAndIllFormedEdgesAreFatal) {
    auto g = with_vertices<Undirected>(3);
    Eid e = g.add_edge(Vid(0), Vid(1), {});
    EXPECT_EXIT(g.opposite(e, Vid(2)), ::testing::ExitedWithCode(1), "Vertex is not in edge");
    EXPECT_EXIT(g.other_vertex(e, Vid(2)), ::testing::ExitedWithCode(1),
                "Vertex does not belong to edge");
    EXPECT_EXIT(g.vertex(Vid()), ::testing::ExitedWithCode(1), "Invalid vertex none");
    EXPECT_EXIT(g.vertex(Vid(3)), ::testing::ExitedWithCode(1), "Invalid vertex 3");
    EXPECT_EXIT(g.edge(Eid()), ::testing::ExitedWithCode(1), "Invalid edge none");
    EXPECT_EXIT(g.source(Eid(1)), ::testing::ExitedWithCode(1), "Invalid edge 1");
    EXPECT_EXIT(g.add_edge(Vid(0), Vid(), {}), ::testing::ExitedWithCode(1), "Invalid vertex none");
    EXPECT_EXIT(g.incident_edges(Vid(7)), ::testing::ExitedWithCode(1), "Invalid vertex 7");
    EXPECT_EXIT(g.is_edge(Vid(), Vid(0)), ::testing::ExitedWithCode(1), "Invalid vertex none");
    EXPECT_EXIT(g.opposite(e, Vid()), ::testing::ExitedWithCode(1), "Vertex is not in edge");
    EXPECT_EXIT(g.opposite(e, Vid(9)), ::testing::ExitedWithCode(1), "Vertex is not in edge");
    g.delete_edge(e);
    EXPECT_EXIT(g.other_vertex(e, Vid()), ::testing::ExitedWithCode(1),
                "Vertex does not belong to edge");
    EXPECT_EXIT(g.delete_edge(e), ::testing::ExitedWithCode(1), "Edge 0 is already deleted");
    EXPECT_EXIT(g.delete_edge(Eid(9)), ::testing::ExitedWithCode(1), "Invalid edge 9");
}

} // namespace
