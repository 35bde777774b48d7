// Writes writer-made packages as seeds for fuzz_packages: one file per package holding raw,
// compressed and image records, masked and not, tiled and single-tile.
#include <cstdio>
#include <fstream>
#include <string>

#include <Packer/Package_writer.h>

using namespace Orvane::Packer;

namespace {

Image gradient(unsigned int width, unsigned int height) {
    Image image{width, height, std::vector<unsigned char>(std::size_t{width} * height * 4)};
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = static_cast<unsigned char>(i % 4 == 3 ? (i / 4 % 3 ? 255 : 0) : i / 7);
    return image;
}

Entry text(const std::string& key, const std::string& content, Storage storage) {
    return {key, storage, {content.begin(), content.end()}, {}, 0};
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
        return 2;
    }
    const std::vector<std::vector<Entry>> seeds = {
        {text("data/init.yaml", "start: hall\n", Storage::raw)},
        {text("data/locale.yaml", std::string(200, 'a') + "locales: []\n", Storage::compressed)},
        {{"images/objects/key.png", Storage::image, {}, gradient(9, 5), 0}},
        {{"images/rooms/wide.png", Storage::image, {}, gradient(520, 3), 0}},
        {{"images/backgrounds/hall_map.png", Storage::image, {}, gradient(530, 2), 0}},
        {text("data/a.yaml", "a: 1\n", Storage::raw),
         text("data/a.yaml", "b", Storage::compressed),
         {"images/interface/ok.png", Storage::image, {}, gradient(3, 3), 0},
         text("sounds/step.ogg", "OggS", Storage::raw)},
    };
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        const Package_set packages = build(seeds[i]);
        std::ofstream out(std::string(argv[1]) + "/writer_" + std::to_string(i) + ".data",
                          std::ios::binary);
        out.write(packages[0].data(), static_cast<std::streamsize>(packages[0].size()));
    }
    return 0;
}
