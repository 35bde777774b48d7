// Fuzzes the package indexer: any byte string is indexed as one package. A sound package is
// then checked against the rules the reader relies on: every indexed block lies inside the
// buffer, every raw entry opens and reads back in full, and blocks decompress without reading
// or writing out of bounds.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <lz4.h>

#include <Orvane/Assets/Packaged_asset_manager.h>

using Orvane::Packaged_asset_info;
using Orvane::Packaged_asset_manager;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // exactly sized, so that any read past the end is caught
    std::vector<char> package(reinterpret_cast<const char*>(data),
                              reinterpret_cast<const char*>(data) + size);
    std::unordered_map<std::string, Packaged_asset_info> index;
    if (Packaged_asset_manager::index_package(package, 0, index))
        return 0;

    std::vector<char> scratch;
    for (const auto& [key, info] : index) {
        const std::size_t stored = info.compressed_size == 0 ? info.size : info.compressed_size;
        if (info.offset > package.size() || stored > package.size() - info.offset)
            std::abort();
        if (info.compressed_size == 0 || info.size > (std::size_t{64} << 20))
            continue;
        scratch.resize(info.size);
        LZ4_decompress_safe(package.data() + info.offset, scratch.data(),
                            static_cast<int>(info.compressed_size), static_cast<int>(info.size));
    }

    std::vector<std::vector<char>> packages(Packaged_asset_manager::packages.size(),
                                            std::vector<char>{0});
    packages[0] = package;
    Packaged_asset_manager::load(std::move(packages));
    for (const auto& [key, info] : Packaged_asset_manager::asset_map()) {
        if (info.compressed_size != 0)
            continue;
        Orvane::Packaged_asset asset = Packaged_asset_manager::open(key);
        if (!asset)
            std::abort();
        scratch.resize(asset.size());
        if (asset.read(scratch.data(), scratch.size()) != info.size)
            std::abort();
        asset.close();
    }
    return 0;
}
