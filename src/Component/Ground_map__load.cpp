// Loading a ground map from the packages: the mask from its packed form beside the image, or
// classified from the image's pixels, and the graph file as a package entry.
#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Component/Ground_map.h>
#include <Orvane/Third_party/SDL.h>
#include <Orvane/Utils/error.h>

#include "Ground_map__search.h"

namespace Orvane::Component {

namespace {

/// The bytes of an open package entry, read with `read(data, size)`, kept only for the call.
template <typename F> void with_bytes(Packaged_asset& asset, F&& read) {
    if (asset.buffer() != nullptr) {
        // a decompressed entry: read in place
        read(asset.buffer(), asset.size());
        return;
    }
    std::vector<char> bytes(asset ? asset.size() : 0);
    bytes.resize(asset.read_whole(bytes.data(), bytes.size()));
    read(bytes.data(), bytes.size());
}

/// The same for the package entry `name`, opened for the call.
template <typename F> void with_entry(const std::string& name, F&& read) {
    Packaged_asset asset = Packaged_asset_manager::open(name, false);
    with_bytes(asset, read);
    asset.close();
}

Ground_map::Mask load_mask(const std::string& file) {
    Packaged_image_info info = Packaged_asset_manager::image_info(file);
    const std::string packed = Ground_map::packed_mask_file_name(file);
    if (Packaged_asset_manager::exists(packed)) {
        Ground_map::Mask mask;
        Packaged_asset asset = Packaged_asset_manager::open(packed, false);
        std::optional<std::string> problem;
        if (asset.buffer() != nullptr) {
            // a decompressed entry: the mask reads its pixels there and closes it when done
            const std::size_t size = asset.size();
            std::shared_ptr<const char> bytes(asset.buffer(),
                                              [asset](const char*) mutable { asset.close(); });
            problem = Ground_map::Mask::try_unpack_in_place(std::move(bytes), size, packed, mask);
        } else {
            with_bytes(asset, [&](const char* data, std::size_t size) {
                problem = Ground_map::Mask::try_unpack(data, size, packed, mask);
            });
            asset.close();
        }
        ORVANE_CHECK(!problem, *problem);
        ORVANE_CHECK(mask.width() == info.width && mask.height() == info.height,
                     "Packed ground mask " + packed + " is " + std::to_string(mask.width()) +
                         "x" + std::to_string(mask.height()) + " pixels but its image " + file +
                         " is " + std::to_string(info.width) + "x" +
                         std::to_string(info.height));
        return mask;
    }
    // Packages made before the packer stored the mask: classify the image's pixels. One tile
    // covering the whole image, or a fatal check naming the file.
    std::shared_ptr<SDL_Surface> surface = Third_party::SDL::load_surface(file);
    // the surface has the record's size; the mask is filled row by row: read each row once
    std::vector<std::uint32_t> row;
    return Ground_map::Mask::from_rows(info.width, info.height, [&](int y) {
        Third_party::SDL::get_row_colors(surface, y, row);
        return row.data();
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
    with_entry(file, [&](const char* data, std::size_t size) {
        m_graph = parse_graph(data, size, file);
    });
    // the working graph is copied from the loaded one when someone first asks for it
    m_search->request = {};
    m_search->working_ready = false;
    index_graph();
}

} // namespace Orvane::Component
