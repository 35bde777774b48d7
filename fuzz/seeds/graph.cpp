// Writes writer-made graph files as seeds for fuzz_graph: the graph builder run on small masks
// drawn as text (open ground, a wall block, two islands, a corridor bend, depth steps) and on
// masks like the ones rooms have (a floor with a depth gradient below a back wall, furniture,
// pillars, a doorway to a second area, a few stray specks), each graph written by the graph file
// writer.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <Orvane/Component/Ground_map.h>

using Orvane::Component::Ground_map;

namespace {

/// A mask drawn as text: '#' is a wall, a digit d walkable at gray 25 * d; each character
/// covers 8 x 8 pixels.
Ground_map::Mask text_mask(const std::vector<std::string>& rows) {
    const int scale = 8;
    return Ground_map::Mask(int(rows[0].size()) * scale, int(rows.size()) * scale,
                            [&](int x, int y) -> Ground_map::Mask::Color {
                                char c = rows[std::size_t(y / scale)][std::size_t(x / scale)];
                                if (c == '#')
                                    return {255, 0, 0};
                                auto gray = static_cast<unsigned char>(25 * (c - '0'));
                                return {gray, gray, gray};
                            });
}

/// A room-like mask of width x height pixels: a wall along the top third, a floor whose gray
/// grows towards the front, `furniture` rectangles and discs placed by `seed`, and `specks`
/// single stray pixels.
Ground_map::Mask room_mask(int width, int height, unsigned seed, int furniture, int specks) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> x(0, width), y(height / 3.0, height), size(6, 40);
    struct Piece {
        bool disc;
        double x, y, a, b;
    };
    std::vector<Piece> pieces;
    for (int i = 0; i < furniture; ++i)
        pieces.push_back({i % 3 == 0, x(random), y(random), size(random), size(random) / 2});
    std::vector<std::pair<int, int>> stray;
    for (int i = 0; i < specks; ++i)
        stray.push_back({int(x(random)), int(y(random))});
    return Ground_map::Mask(width, height, [&](int px, int py) -> Ground_map::Mask::Color {
        // the back wall, with a doorway into a corridor in the middle
        const bool doorway = std::abs(px - width / 2) < width / 12 && py > height / 8;
        if (py < height / 3 && !doorway)
            return {90, 60, 40};
        for (const Piece& p : pieces) {
            const bool inside =
                p.disc ? std::hypot(px - p.x, py - p.y) < p.a / 2
                       : px >= p.x && px < p.x + p.a && py >= p.y && py < p.y + p.b;
            if (inside)
                return {30, 30, 200};
        }
        for (const auto& [sx, sy] : stray)
            if (px == sx && py == sy)
                return {0, 255, 0};
        auto gray = static_cast<unsigned char>(255 * py / height);
        return {gray, gray, gray};
    });
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
        return 2;
    }
    const std::vector<std::vector<std::string>> masks = {
        {"5555", "5555"},
        {"000000", "0####0", "0####0", "000000"},
        {"11#####", "11###99", "#####99"},
        {"123###", "###4##", "###567", "######"},
        {"0123", "4567", "89##"},
        {"5#5#5#", "555555", "#5#5#5", "555555"},
    };
    auto save = [&](const Ground_map& map, const std::string& name) {
        const std::vector<char> bytes = map.write_graph(name);
        std::ofstream out(std::string(argv[1]) + "/" + name, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    };
    for (std::size_t i = 0; i < masks.size(); ++i) {
        Ground_map map("room", "ground_map", text_mask(masks[i]), 100, 0);
        map.build_graph({});
        save(map, "writer_" + std::to_string(i) + ".graph");
        if (i != 1)
            continue;
        // What the builder never makes but a file may hold, so that the fuzzer starts near it:
        // an edge from a vertex to itself, an edge twice, a vertex on another, a lone vertex.
        Ground_map::Graph odd = map.graph();
        using Vid = Ground_map::Vertex_id;
        odd.add_edge(Vid(0), Vid(0), {true});
        odd.add_edge(odd.source(Ground_map::Edge_id(0)), odd.target(Ground_map::Edge_id(0)),
                     {false});
        Vid twin = odd.add_vertex(odd.vertex(Vid(1)));
        odd.add_edge(twin, Vid(2), {true});
        odd.add_vertex({{40, 30}, 7});
        save(Ground_map("room", "ground_map", map.mask(), 100, 0, odd), "writer_odd.graph");
    }
    const struct {
        int width, height;
        unsigned seed;
        int furniture, specks;
    } rooms[] = {{160, 90, 1, 4, 0}, {320, 180, 2, 10, 3}, {320, 180, 3, 25, 0},
                 {480, 270, 4, 15, 6}};
    for (std::size_t i = 0; i < std::size(rooms); ++i) {
        const auto& r = rooms[i];
        Ground_map map("room", "ground_map",
                       room_mask(r.width, r.height, r.seed, r.furniture, r.specks), 100, 0);
        map.build_graph({});
        save(map, "room_" + std::to_string(i) + ".graph");
    }
    return 0;
}
