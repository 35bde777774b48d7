// Loading a ground map from the packages: the mask image through the image wrapper, the graph
// file as a package entry.
#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Component/Ground_map.h>
#include <Orvane/Third_party/SDL.h>

#include "Ground_map__search.h"

namespace Orvane::Component {

namespace {

Ground_map::Mask load_mask(const std::string& file) {
    // One tile covering the whole image, or a fatal check naming the file.
    std::shared_ptr<SDL_Surface> surface = Third_party::SDL::load_surface(file);
    Packaged_image_info info = Packaged_asset_manager::image_info(file);
    // the surface has the record's size; the mask is filled row by row: read each row once
    std::vector<std::uint32_t> row;
    int row_y = -1;
    return Ground_map::Mask(info.width, info.height, [&](int x, int y) -> Ground_map::Mask::Color {
        if (y != row_y) {
            Third_party::SDL::get_row_colors(surface, y, row);
            row_y = y;
        }
        std::uint32_t c = row[std::size_t(x)];
        return {static_cast<unsigned char>(c & 0xFF), static_cast<unsigned char>((c >> 8) & 0xFF),
                static_cast<unsigned char>((c >> 16) & 0xFF)};
    });
}

} // namespace

Ground_map::Ground_map(const std::string& entity, const std::string& component,
                       const std::string& file, int front_z, int back_z,
                       const std::function<void()>& /*callback*/)
    : Ground_map(entity, component, load_mask(file), front_z, back_z) {
    read(graph_file_name(file));
}

void Ground_map::read(const std::string& file) {
    Packaged_asset asset = Packaged_asset_manager::open(file, false);
    std::vector<char> bytes(asset ? asset.size() : 0);
    bytes.resize(asset.read_whole(bytes.data(), bytes.size()));
    asset.close();
    m_graph = parse_graph(bytes.data(), bytes.size(), file);
    m_search->working = m_graph;
    m_search->working_ready = true;
    m_search->request = {};
    index_graph();
}

} // namespace Orvane::Component
