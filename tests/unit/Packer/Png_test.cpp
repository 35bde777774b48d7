#include <csetjmp>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <png.h>

#include "support/Packages.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane::Packer;
using Orvane::Test::Temp_pref_folder;
namespace fs = std::filesystem;

// ---- Pictures written with libpng's own writer ----

/// What a test picture holds: its format, and per pixel one sample per channel (palette
/// pictures: the palette index), each below 2^bit_depth.
struct Picture {
    int color_type = PNG_COLOR_TYPE_GRAY;
    int bit_depth = 8;
    bool transparent_colour = false; // a tRNS chunk
    bool interlaced = false;
    double gamma = 0; // gAMA chunk value; 0: none
    png_uint_32 width = 19;
    png_uint_32 height = 13;
    std::vector<std::uint16_t> samples;
    std::vector<png_color> palette;
    std::vector<png_byte> palette_alpha; // tRNS of a palette picture
    png_color_16 transparent{};          // tRNS of a grey or RGB picture

    int channels() const {
        switch (color_type) {
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return 2;
        case PNG_COLOR_TYPE_RGB:
            return 3;
        case PNG_COLOR_TYPE_RGB_ALPHA:
            return 4;
        default:
            return 1;
        }
    }
};

std::vector<png_byte> packed_row(const Picture& p, png_uint_32 y) {
    const std::size_t per_row = std::size_t(p.width) * std::size_t(p.channels());
    std::vector<png_byte> row((per_row * std::size_t(p.bit_depth) + 7) / 8);
    for (std::size_t i = 0; i < per_row; ++i) {
        const std::uint16_t v = p.samples[y * per_row + i];
        if (p.bit_depth == 16) {
            row[2 * i] = png_byte(v >> 8);
            row[2 * i + 1] = png_byte(v & 0xFF);
        } else if (p.bit_depth == 8) {
            row[i] = png_byte(v);
        } else { // most significant bits first
            const std::size_t bit = i * std::size_t(p.bit_depth);
            row[bit / 8] = png_byte(row[bit / 8] | (v << (8 - p.bit_depth - int(bit % 8))));
        }
    }
    return row;
}

bool write_with_libpng(png_structp png, png_infop info, std::FILE* file, const Picture& p,
                       std::vector<std::vector<png_byte>>& rows,
                       std::vector<png_bytep>& row_pointers) {
    if (setjmp(png_jmpbuf(png)) != 0)
        return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, p.width, p.height, p.bit_depth, p.color_type,
                 p.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (p.color_type == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(png, info, p.palette.data(), int(p.palette.size()));
    if (p.transparent_colour)
        png_set_tRNS(png, info, p.palette_alpha.empty() ? nullptr : p.palette_alpha.data(),
                     int(p.palette_alpha.size()), &p.transparent);
    if (p.gamma != 0)
        png_set_gAMA(png, info, p.gamma);
    png_write_info(png, info);
    png_write_image(png, row_pointers.data());
    png_write_end(png, nullptr);
    (void)rows;
    return true;
}

void write_picture(const std::string& path, const Picture& p) {
    std::vector<std::vector<png_byte>> rows;
    std::vector<png_bytep> row_pointers;
    for (png_uint_32 y = 0; y < p.height; ++y)
        rows.push_back(packed_row(p, y));
    for (auto& row : rows)
        row_pointers.push_back(row.data());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const bool written = write_with_libpng(png, info, file, p, rows, row_pointers);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    ASSERT_TRUE(written) << path;
}

// ---- What the packer must store: the samples as they are, 8 bits, RGBA ----

unsigned char to_8_bits(std::uint32_t v, int bit_depth) {
    if (bit_depth == 16)
        return static_cast<unsigned char>((v * 255 + 32767) / 65535); // round(v * 255 / 65535)
    return static_cast<unsigned char>(v * 255 / ((1u << bit_depth) - 1));
}

std::vector<unsigned char> expected_rgba(const Picture& p) {
    std::vector<unsigned char> out;
    const auto c = std::size_t(p.channels());
    for (std::size_t i = 0; i < std::size_t(p.width) * p.height; ++i) {
        const std::uint16_t* s = &p.samples[i * c];
        auto eight = [&](std::size_t k) { return to_8_bits(s[k], p.bit_depth); };
        switch (p.color_type) {
        case PNG_COLOR_TYPE_GRAY: {
            const bool clear = p.transparent_colour && s[0] == p.transparent.gray;
            out.insert(out.end(), {eight(0), eight(0), eight(0), static_cast<unsigned char>(clear ? 0 : 255)});
            break;
        }
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            out.insert(out.end(), {eight(0), eight(0), eight(0), eight(1)});
            break;
        case PNG_COLOR_TYPE_PALETTE: {
            const png_color colour = p.palette[s[0]];
            const unsigned char alpha =
                s[0] < p.palette_alpha.size() ? p.palette_alpha[s[0]] : 255;
            out.insert(out.end(), {colour.red, colour.green, colour.blue, alpha});
            break;
        }
        case PNG_COLOR_TYPE_RGB: {
            const bool clear = p.transparent_colour && s[0] == p.transparent.red &&
                               s[1] == p.transparent.green && s[2] == p.transparent.blue;
            out.insert(out.end(), {eight(0), eight(1), eight(2), static_cast<unsigned char>(clear ? 0 : 255)});
            break;
        }
        default:
            out.insert(out.end(), {eight(0), eight(1), eight(2), eight(3)});
        }
    }
    return out;
}

struct Format {
    int color_type;
    int bit_depth;
    bool transparent_colour;
};

std::string describe(const Picture& p) {
    static const std::map<int, std::string> names = {{PNG_COLOR_TYPE_GRAY, "grey"},
                                                     {PNG_COLOR_TYPE_GRAY_ALPHA, "grey+alpha"},
                                                     {PNG_COLOR_TYPE_PALETTE, "palette"},
                                                     {PNG_COLOR_TYPE_RGB, "RGB"},
                                                     {PNG_COLOR_TYPE_RGB_ALPHA, "RGBA"}};
    return names.at(p.color_type) + " " + std::to_string(p.bit_depth) + " bits" +
           (p.transparent_colour ? " tRNS" : "") + (p.interlaced ? " interlaced" : "") +
           (p.gamma != 0 ? " gAMA " + std::to_string(p.gamma) : "");
}

/// A picture of the format with random samples; the transparent colour, when there is one,
/// is that of pixel 0 and comes back on every seventh pixel.
Picture make_picture(const Format& f, unsigned int seed) {
    Picture p;
    p.color_type = f.color_type;
    p.bit_depth = f.bit_depth;
    p.transparent_colour = f.transparent_colour;
    std::mt19937 random(seed);
    const std::uint32_t top = (1u << f.bit_depth) - 1;
    const auto c = std::size_t(p.channels());
    p.samples.resize(std::size_t(p.width) * p.height * c);
    for (std::uint16_t& s : p.samples)
        s = std::uint16_t(random() % (top + 1));
    // the extremes of the range appear too
    p.samples[c] = 0;
    p.samples[2 * c] = std::uint16_t(top);
    for (std::size_t i = 7; i < std::size_t(p.width) * p.height; i += 7)
        std::copy_n(&p.samples[0], c, &p.samples[i * c]);
    if (f.color_type == PNG_COLOR_TYPE_PALETTE) {
        for (std::uint32_t i = 0; i <= top; ++i)
            p.palette.push_back({png_byte(i * 37 + 11), png_byte(i * 91 + 3), png_byte(255 - i * 13)});
        if (f.transparent_colour) // entries past the chunk's end stay opaque
            for (std::uint32_t i = 0; i < top / 2 + 1; ++i)
                p.palette_alpha.push_back(png_byte(i * 53 + 1));
    } else if (f.color_type == PNG_COLOR_TYPE_GRAY) {
        p.transparent.gray = p.samples[0];
    } else if (f.color_type == PNG_COLOR_TYPE_RGB) {
        p.transparent.red = p.samples[0];
        p.transparent.green = p.samples[1];
        p.transparent.blue = p.samples[2];
    }
    return p;
}

TEST(Png, EveryFormatIsStoredAsTheFileHoldsIt) {
    const Format formats[] = {
        {PNG_COLOR_TYPE_GRAY, 1, false},       {PNG_COLOR_TYPE_GRAY, 2, false},
        {PNG_COLOR_TYPE_GRAY, 4, false},       {PNG_COLOR_TYPE_GRAY, 8, false},
        {PNG_COLOR_TYPE_GRAY, 16, false},      {PNG_COLOR_TYPE_GRAY, 2, true},
        {PNG_COLOR_TYPE_GRAY, 8, true},        {PNG_COLOR_TYPE_GRAY, 16, true},
        {PNG_COLOR_TYPE_GRAY_ALPHA, 8, false}, {PNG_COLOR_TYPE_GRAY_ALPHA, 16, false},
        {PNG_COLOR_TYPE_PALETTE, 1, false},    {PNG_COLOR_TYPE_PALETTE, 2, false},
        {PNG_COLOR_TYPE_PALETTE, 4, false},    {PNG_COLOR_TYPE_PALETTE, 8, false},
        {PNG_COLOR_TYPE_PALETTE, 1, true},     {PNG_COLOR_TYPE_PALETTE, 2, true},
        {PNG_COLOR_TYPE_PALETTE, 4, true},     {PNG_COLOR_TYPE_PALETTE, 8, true},
        {PNG_COLOR_TYPE_RGB, 8, false},        {PNG_COLOR_TYPE_RGB, 16, false},
        {PNG_COLOR_TYPE_RGB, 8, true},         {PNG_COLOR_TYPE_RGB, 16, true},
        {PNG_COLOR_TYPE_RGB_ALPHA, 8, false},  {PNG_COLOR_TYPE_RGB_ALPHA, 16, false},
    };
    const Temp_pref_folder scratch;
    unsigned int seed = 1;
    for (const Format& format : formats)
        for (double gamma : {0.0, 1.0, 0.45455}) {
            Picture picture = make_picture(format, seed++);
            picture.gamma = gamma;
            const std::vector<unsigned char> expected = expected_rgba(picture);
            Package_set packed[2];
            for (bool interlaced : {false, true}) {
                picture.interlaced = interlaced;
                SCOPED_TRACE(describe(picture));
                const std::string path = scratch.root() + "/picture.png";
                write_picture(path, picture);
                const Image image = read_png(path);
                ASSERT_EQ(image.width, picture.width);
                ASSERT_EQ(image.height, picture.height);
                ASSERT_EQ(image.pixels.size(), expected.size());
                int wrong = 0;
                for (std::size_t i = 0; i < expected.size(); ++i)
                    if (image.pixels[i] != expected[i] && ++wrong <= 3)
                        ADD_FAILURE() << "pixel " << i / 4 << " channel " << i % 4 << " is "
                                      << int(image.pixels[i]) << ", expected "
                                      << int(expected[i]);
                EXPECT_EQ(wrong, 0);
                packed[interlaced] = build({Orvane::Test::image_entry("images/a.png", image)});
            }
            EXPECT_EQ(packed[0], packed[1]) << "interlaced and plain twins differ";
        }
}

TEST(Png, EverySixteenBitValueIsRoundedToEightBits) {
    Picture picture;
    picture.bit_depth = 16;
    picture.width = 256;
    picture.height = 256;
    for (std::uint32_t v = 0; v < 65536; ++v)
        picture.samples.push_back(std::uint16_t(v));
    const Temp_pref_folder scratch;
    const std::string path = scratch.root() + "/ramp.png";
    write_picture(path, picture);
    const Image image = read_png(path);
    ASSERT_EQ(image.pixels.size(), 65536u * 4);
    int wrong = 0;
    for (std::uint32_t v = 0; v < 65536; ++v) {
        const auto expected = static_cast<unsigned char>((v * 255 + 32767) / 65535);
        if (image.pixels[v * 4] != expected && ++wrong <= 3)
            ADD_FAILURE() << v << " became " << int(image.pixels[v * 4]) << ", expected "
                          << int(expected);
    }
    EXPECT_EQ(wrong, 0);
}

// ---- Broken pictures ----

std::uint32_t crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

/// A sound picture's bytes with another size in its header (and the header's CRC fixed).
std::string with_size(std::string png, std::uint32_t width, std::uint32_t height) {
    auto put = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            png[at + std::size_t(i)] = char(v >> (24 - 8 * i));
    };
    put(16, width); // signature 8, length 4, "IHDR" 4
    put(20, height);
    put(29, crc32(png.substr(12, 17)));
    return png;
}

TEST(Png, BrokenPicturesAreRefusedNamingTheFile) {
    const Temp_pref_folder scratch;
    const std::string sound = scratch.root() + "/sound.png";
    Picture small = make_picture({PNG_COLOR_TYPE_RGB_ALPHA, 8, false}, 5);
    write_picture(sound, small);
    const std::string bytes = read_file(sound);

    struct Case {
        const char* name;
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        // 20000 x 20000 RGBA would take 1.6 GB before the pixels are found missing
        {"huge.png", with_size(bytes, 20000, 20000),
         "Cannot read PNG %: the header claims 20000 x 20000 pixels, more than a file of "},
        {"wide.png", with_size(bytes, 65536, 1),
         "Cannot read PNG %: an image is at most 65535 pixels wide and high"},
        {"tall.png", with_size(bytes, 1, 70000),
         "Cannot read PNG %: an image is at most 65535 pixels wide and high"},
        {"text.png", "not a png", "Cannot read PNG %: "},
        {"cut.png", bytes.substr(0, bytes.size() - 40), "Cannot decode PNG %: "},
        {"no_end.png", bytes.substr(0, bytes.size() - 12), "Cannot decode PNG %: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = scratch.root() + "/" + c.name;
        write_file(path, c.bytes);
        std::string message = c.message;
        message.replace(message.find('%'), 1, path);
        try {
            read_png(path);
            ADD_FAILURE() << "accepted";
        } catch (const Pack_error& error) {
            EXPECT_EQ(std::string(error.what()).substr(0, message.size()), message)
                << error.what();
        }
    }
    try {
        read_png(scratch.root() + "/none.png");
        ADD_FAILURE() << "a missing file was read";
    } catch (const Pack_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot read PNG " + scratch.root() + "/none.png: No such file or directory");
    }
    // the largest size the packer takes, in a file that can hold it
    const std::string edge = scratch.root() + "/edge.png";
    Picture line = make_picture({PNG_COLOR_TYPE_GRAY, 1, false}, 6);
    line.width = 65535;
    line.height = 2;
    line.samples.assign(std::size_t(line.width) * line.height, 1);
    write_picture(edge, line);
    const Image image = read_png(edge);
    EXPECT_EQ(image.width, 65535u);
    EXPECT_EQ(image.pixels, std::vector<unsigned char>(std::size_t(65535) * 2 * 4, 255));
}

} // namespace
