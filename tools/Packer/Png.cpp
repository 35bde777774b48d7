#include <cerrno>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>

#include <png.h>

#include "Package_writer.h"

namespace Orvane::Packer {

namespace {

// Deflate's best case: two bits (one length code, one distance code) for a match of 258 bytes.
constexpr std::uint64_t deflate_max_ratio = 1032;

// One reading: the file, libpng's structures and what the reading has found so far. It lives
// in the caller's frame, so the jump back from libpng's error handler leaves its members as
// they were last set.
struct Reading {
    std::FILE* file = nullptr;
    std::uint64_t file_size = 0;
    png_structp png = nullptr;
    png_infop info = nullptr;
    bool header_read = false; // failures from here on are failures to decode the pixels
    std::string message;
    Image image;
    std::vector<png_bytep> rows;

    Reading() = default;
    Reading(const Reading&) = delete;
    Reading& operator=(const Reading&) = delete;
    ~Reading() {
        if (png != nullptr)
            png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
        if (file != nullptr)
            std::fclose(file);
    }
};

[[noreturn]] void on_error(png_structp png, png_const_charp message) {
    auto* reading = static_cast<Reading*>(png_get_error_ptr(png));
    try {
        reading->message = message;
    } catch (...) {
        reading->message.clear();
    }
    png_longjmp(png, 1);
}

// Warnings are about chunks the packer does not use (ICC profiles, text, bad ancillary CRCs).
void on_warning(png_structp, png_const_charp) {}

// Sets the message for a header claiming more pixels than the file can hold. Out of line, so
// that its temporary strings never live in the frame that `decode`'s setjmp saves.
[[gnu::noinline]] void say_too_large(Reading& r, png_uint_32 width, png_uint_32 height) {
    r.message = "the header claims " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels, more than a file of " + std::to_string(r.file_size) + " bytes can hold";
}

// Reads the picture into `r.image`, exactly as the file holds it: returns false with
// `r.message` set when the file cannot be read. Only `r` changes between the setjmp and a jump
// back to it.
bool decode(Reading& r) {
    if (setjmp(png_jmpbuf(r.png)) != 0)
        return false;
    png_init_io(r.png, r.file);
    png_read_info(r.png, r.info);

    const png_uint_32 width = png_get_image_width(r.png, r.info);
    const png_uint_32 height = png_get_image_height(r.png, r.info);
    const int color_type = png_get_color_type(r.png, r.info);
    const int bit_depth = png_get_bit_depth(r.png, r.info);
    if (width > 65535 || height > 65535) {
        r.message = "an image is at most 65535 pixels wide and high";
        return false;
    }
    // the pixels must fit in the file's compressed data before any memory is taken for them
    const std::uint64_t claimed_bytes =
        (std::uint64_t{width} * height * png_get_channels(r.png, r.info) * unsigned(bit_depth) +
         7) / 8;
    if (claimed_bytes > deflate_max_ratio * r.file_size + 1024) {
        say_too_large(r, width, height);
        return false;
    }

    // 8-bit RGBA as stored in the file: no gamma, colour-space or ICC conversion
    const bool transparent_colour = png_get_valid(r.png, r.info, PNG_INFO_tRNS) != 0;
    if (color_type == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(r.png);
    if (color_type == PNG_COLOR_TYPE_GRAY && bit_depth < 8)
        png_set_expand_gray_1_2_4_to_8(r.png);
    if (transparent_colour)
        png_set_tRNS_to_alpha(r.png);
    if (bit_depth == 16)
        png_set_scale_16(r.png);
    if (color_type == PNG_COLOR_TYPE_GRAY || color_type == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(r.png);
    if ((color_type & PNG_COLOR_MASK_ALPHA) == 0 && !transparent_colour)
        png_set_add_alpha(r.png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(r.png);
    png_read_update_info(r.png, r.info);
    if (png_get_rowbytes(r.png, r.info) != std::size_t{width} * 4) {
        r.message = "the pixels do not convert to 8-bit RGBA";
        return false;
    }

    r.header_read = true;
    r.image.width = width;
    r.image.height = height;
    r.image.pixels.resize(std::size_t{width} * height * 4);
    r.rows.resize(height);
    for (std::size_t y = 0; y < height; ++y)
        r.rows[y] = r.image.pixels.data() + y * width * 4;
    png_read_image(r.png, r.rows.data());
    png_read_end(r.png, nullptr);
    return true;
}

} // namespace

Image read_png(const std::string& path) {
    Reading r;
    r.file = std::fopen(path.c_str(), "rb");
    if (r.file == nullptr)
        throw Pack_error("Cannot read PNG " + path + ": " + std::strerror(errno));
    std::error_code error;
    r.file_size = std::filesystem::file_size(path, error);
    if (error)
        throw Pack_error("Cannot read PNG " + path + ": " + error.message());
    r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &r, on_error, on_warning);
    if (r.png != nullptr)
        r.info = png_create_info_struct(r.png);
    if (r.info == nullptr)
        throw Pack_error("Cannot read PNG " + path + ": out of memory");
    bool read = false;
    try {
        read = decode(r);
    } catch (const std::bad_alloc&) {
        throw Pack_error("Cannot decode PNG " + path + ": not enough memory for " +
                         std::to_string(r.image.width) + " x " + std::to_string(r.image.height) +
                         " pixels");
    }
    if (!read)
        throw Pack_error((r.header_read ? "Cannot decode PNG " : "Cannot read PNG ") + path +
                         ": " + r.message);
    return std::move(r.image);
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
