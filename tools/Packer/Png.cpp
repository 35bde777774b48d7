#include <png.h>

#include "Package_writer.h"

namespace Orvane::Packer {

Image read_png(const std::string& path) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&png, path.c_str()) == 0)
        throw Pack_error("Cannot read PNG " + path + ": " + png.message);
    png.format = PNG_FORMAT_RGBA;
    Image image;
    image.width = png.width;
    image.height = png.height;
    image.pixels.resize(PNG_IMAGE_SIZE(png));
    if (png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr) == 0) {
        const std::string message = png.message;
        png_image_free(&png);
        throw Pack_error("Cannot decode PNG " + path + ": " + message);
    }
    return image;
}

void write_png(const std::string& path, const Image& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = image.width;
    png.height = image.height;
    png.format = PNG_FORMAT_RGBA;
    if (png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr) == 0)
        throw Pack_error("Cannot write PNG " + path + ": " + png.message);
}

} // namespace Orvane::Packer
