#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <Orvane/Component/Ground_map.h>

namespace ground_map_test {

using Orvane::Component::Ground_map;

/// A mask drawn as text: '#' is a wall (red), '.' walkable at gray 128, a digit d walkable at
/// gray 25 * d. Each character covers scale x scale pixels.
inline Ground_map::Mask text_mask(const std::vector<std::string>& rows, int scale = 1) {
    int w = rows.empty() ? 0 : int(rows[0].size()) * scale;
    int h = int(rows.size()) * scale;
    return Ground_map::Mask(w, h, [&](int x, int y) -> Ground_map::Mask::Color {
        char c = rows[std::size_t(y / scale)][std::size_t(x / scale)];
        if (c == '#')
            return {255, 0, 0};
        if (c >= '0' && c <= '9') {
            auto g = static_cast<unsigned char>(25 * (c - '0'));
            return {g, g, g};
        }
        return {128, 128, 128};
    });
}

/// A ground map over a text mask whose graph is made by the builder.
inline Ground_map built_map(const std::vector<std::string>& rows, int scale = 1, int front_z = 100,
                            int back_z = 0) {
    Ground_map map("room", "ground_map", text_mask(rows, scale), front_z, back_z);
    map.build_graph({});
    return Ground_map("room", "ground_map", map.mask(), front_z, back_z, map.graph());
}

/// Bytes of a graph file, written field by field.
struct File_bytes {
    std::vector<char> bytes;
    File_bytes& u(std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            bytes.push_back(char((v >> (8 * i)) & 0xFF));
        return *this;
    }
    File_bytes& vertex(std::int32_t x, std::int32_t y, unsigned char gray) {
        return u(std::uint32_t(x), 4).u(std::uint32_t(y), 4).u(gray, 1);
    }
    File_bytes& edge(std::uint16_t s, std::uint16_t t, unsigned char border) {
        return u(s, 2).u(t, 2).u(border, 1);
    }
};

} // namespace ground_map_test
