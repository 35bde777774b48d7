#include "Packages.h"

#include <Packer/Ogg.h>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <Orvane/Assets/Packaged_asset_manager.h>

#include "audio.h"

namespace Orvane::Test {

void load_packages(const std::vector<Packer::Entry>& entries) {
    load_packages(Packer::build(entries));
}

void load_packages(const Packer::Package_set& packages) {
    Packaged_asset_manager::init("", true);
    Packaged_asset_manager::load({packages.begin(), packages.end()});
}

Packer::Entry raw_entry(const std::string& key, const std::string& bytes, int package) {
    return {key, Packer::Storage::raw, {bytes.begin(), bytes.end()}, {}, package};
}

Packer::Entry compressed_entry(const std::string& key, const std::string& bytes, int package) {
    return {key, Packer::Storage::compressed, {bytes.begin(), bytes.end()}, {}, package};
}

Packer::Entry image_entry(const std::string& key, const Packer::Image& image, int package) {
    return {key, Packer::Storage::image, {}, image, package};
}

Packer::Image test_image(unsigned int width, unsigned int height) {
    Packer::Image image{width, height, std::vector<unsigned char>(std::size_t{width} * height * 4)};
    for (unsigned int y = 0; y < height; ++y)
        for (unsigned int x = 0; x < width; ++x) {
            unsigned char* pixel = &image.pixels[(std::size_t{y} * width + x) * 4];
            pixel[0] = static_cast<unsigned char>(x);
            pixel[1] = static_cast<unsigned char>(y);
            pixel[2] = static_cast<unsigned char>(x ^ y);
            pixel[3] = (x + y) % 7 == 0 ? 0 : 255;
        }
    return image;
}

std::string ogg_bytes() {
    static const std::string bytes = [] {
        auto ogg = Packer::encode_ogg(sine(441, 0.3, 0.1, 44100), 2, 44100);
        return std::string(ogg.begin(), ogg.end());
    }();
    return bytes;
}

std::pair<int, std::string> run_packer(const std::filesystem::path& source,
                                       const std::filesystem::path& output,
                                       const std::filesystem::path& scratch) {
    const char* build_dir = std::getenv("ORVANE_BUILD_DIR");
    if (build_dir == nullptr)
        return {-1, "ORVANE_BUILD_DIR is not set"};
    const std::filesystem::path errors = scratch / "errors.txt";
    const std::string command = std::string(build_dir) + "/tools/orvane-pack " + source.string() +
                                " " + output.string() + " > /dev/null 2> " + errors.string();
    const int status = std::system(command.c_str());
    std::ifstream in(errors);
    return {status, std::string(std::istreambuf_iterator<char>(in), {})};
}

} // namespace Orvane::Test
