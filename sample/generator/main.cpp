// orvane_sample_generator <staging folder>: draws the sample game's pictures and synthesises its
// sounds into the folder (images/ and sounds/), always the same bytes for the same sources.
#include <cstdio>
#include <exception>
#include <fstream>

#include <Packer/Package_writer.h>

#include "Families.h"

namespace Sample {

void Output::picture(const std::string& key, const Canvas& canvas) const {
    const std::filesystem::path path = m_root / key;
    std::filesystem::create_directories(path.parent_path());
    Orvane::Packer::write_png(path.string(), canvas.image());
}

void Output::file(const std::string& key, const std::vector<char>& bytes) const {
    const std::filesystem::path path = m_root / key;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream.write(bytes.data(), std::streamsize(bytes.size()));
    if (!stream)
        throw Orvane::Packer::Pack_error("Cannot write " + path.string());
}

} // namespace Sample

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <staging folder>\n", argv[0]);
        return 2;
    }
    try {
        const Sample::Output out(argv[1]);
        Sample::draw_interface(out);
        Sample::draw_backgrounds(out);
        Sample::draw_characters(out);
        Sample::draw_items(out);
        Sample::make_sounds(out);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvane_sample_generator: %s\n", error.what());
        return 1;
    }
    return 0;
}
