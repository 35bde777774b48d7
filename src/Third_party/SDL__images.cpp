#include <algorithm>
#include <cmath>
#include <cstring>

#include <SDL.h>
#include <SDL_ttf.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Assets/Splitter.h>
#include <Orvane/Third_party/SDL.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::Third_party {

std::size_t SDL::m_live_textures = 0;

Resource_manager<SDL::Image_base> SDL::m_images([](Image_base* image) {
    for (auto* textures : {&image->tiles, &image->highlights})
        for (SDL_Texture* texture : *textures)
            if (texture) {
                SDL_DestroyTexture(texture);
                --m_live_textures;
            }
    delete image;
});

Resource_manager<SDL::Font_base> SDL::m_fonts([](Font_base* font) {
    TTF_CloseFont(font->plain);
    if (font->outlined != nullptr)
        TTF_CloseFont(font->outlined);
    // both fonts read this stream: it goes last, with the bytes behind it
    font->asset.close();
    delete font;
});

SDL::Image_base* SDL::make_image(SDL_Texture* texture, SDL_Texture* highlight, int width,
                                 int height) {
    return make_images({texture}, {highlight}, width, height);
}

SDL::Image_base* SDL::make_images(const std::vector<SDL_Texture*>& tiles,
                                  const std::vector<SDL_Texture*>& highlights, int width,
                                  int height) {
    auto* image = new Image_base;
    image->tiles = tiles;
    image->highlights = highlights;
    for (const auto* textures : {&tiles, &highlights})
        m_live_textures += std::size_t(std::count_if(textures->begin(), textures->end(),
                                                     [](SDL_Texture* t) { return t != nullptr; }));
    image->width = width;
    image->height = height;
    image->session = m_session;
    return image;
}

int SDL::width(const std::shared_ptr<Image_base>& image) { return image->width; }
int SDL::height(const std::shared_ptr<Image_base>& image) { return image->height; }

namespace {

std::string sdl_error() { return SDL_GetError(); }

std::string tile_key(const std::string& file, unsigned int x, unsigned int y, bool highlight) {
    return file + "." + std::to_string(x) + "x" + std::to_string(y) + (highlight ? ".HL" : "");
}

/// Whether the renderer makes textures in `format` itself, with no conversion.
bool renderer_takes(Uint32 format) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(SDL::m_renderer, &info) != 0)
        return false;
    return std::find(info.texture_formats, info.texture_formats + info.num_texture_formats,
                     format) != info.texture_formats + info.num_texture_formats;
}

/// Decodes tile (x, y) of a package image into `buffer` and makes a texture of it. The package
/// reader has checked every tile's size and its 4-byte pixel format against the tile rule.
SDL_Texture* load_tile(const std::string& file, unsigned int x, unsigned int y, bool highlight,
                       char* buffer) {
    auto [image_w, image_h, format] = Packaged_asset_manager::image_info(file);
    auto tile = Splitter::rect(unsigned(image_w), unsigned(image_h), x, y);
    if (renderer_takes(format)) {
        // what SDL_CreateTextureFromSurface does for such a surface, without the surface: the
        // texture in the tile's own format, blended when the format has alpha
        Packaged_asset_manager::open(file, buffer, SDL::buffer_size, x, y, highlight);
        SDL_Texture* texture = SDL_CreateTexture(SDL::m_renderer, format, SDL_TEXTUREACCESS_STATIC,
                                                 int(tile.w), int(tile.h));
        if (texture != nullptr) {
            SDL_UpdateTexture(texture, nullptr, buffer, int(tile.w) * 4);
            SDL_SetTextureBlendMode(texture, SDL_ISPIXELFORMAT_ALPHA(format) ? SDL_BLENDMODE_BLEND
                                                                             : SDL_BLENDMODE_NONE);
        }
        return texture;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(buffer, int(tile.w), int(tile.h), 32,
                                                              int(tile.w) * 4, format);
    ORVANE_CHECK(surface != nullptr, "Cannot create surface for " + tile_key(file, x, y, highlight) +
                                  " (" + sdl_error() + ")");
    SDL_LockSurface(surface);
    Packaged_asset_manager::open(file, surface->pixels, SDL::buffer_size, x, y, highlight);
    SDL_UnlockSurface(surface);
    SDL_Texture* texture = SDL_CreateTextureFromSurface(SDL::m_renderer, surface);
    SDL_FreeSurface(surface);
    return texture;
}

bool has_highlights(const SDL::Image_base& image) {
    return std::any_of(image.highlights.begin(), image.highlights.end(),
                       [](SDL_Texture* t) { return t != nullptr; });
}

void load_highlights(const std::string& file, SDL::Image_base& image) {
    unsigned int nx = Splitter::nb_sub(unsigned(image.width));
    unsigned int ny = Splitter::nb_sub(unsigned(image.height));
    image.highlights.assign(image.tiles.size(), nullptr);
    std::size_t index = 0;
    for (unsigned int i = 0; i < nx; ++i)
        for (unsigned int j = 0; j < ny; ++j, ++index)
            if ((image.highlights[index] = load_tile(file, i, j, true, SDL::m_hbuffer)))
                ++SDL::m_live_textures;
}

void load_mask(const std::string& file, SDL::Image_base& image) {
    Bitmap_2 mask(std::size_t(image.width), std::size_t(image.height), false);
    std::string name = file + ".mask";
    Packaged_asset asset = Packaged_asset_manager::open(name, false);
    ORVANE_CHECK(asset, "Packaged asset " + name + " not found");
    ORVANE_CHECK(asset.size() == mask.size(), "Packaged asset " + name + " holds " +
                                           std::to_string(asset.size()) + " bytes, expected " +
                                           std::to_string(mask.size()));
    const std::size_t done = asset.read_whole(mask.data(), mask.size());
    asset.close();
    ORVANE_CHECK(done == mask.size(), "Packaged asset " + name + " could not be read whole");
    image.mask = std::move(mask);
}

} // namespace

SDL::Image_handle SDL::load_image(const std::string& file, bool with_mask, bool with_highlight) {
    Image_handle image = m_images.get(file, [&] {
        auto [w, h, format] = Packaged_asset_manager::image_info(file);
        (void)format;
        unsigned int nx = Splitter::nb_sub(unsigned(w));
        unsigned int ny = Splitter::nb_sub(unsigned(h));
        std::vector<SDL_Texture*> tiles;
        for (unsigned int i = 0; i < nx; ++i) {
            for (unsigned int j = 0; j < ny; ++j) {
                SDL_Texture* texture = load_tile(file, i, j, false, m_buffer);
                ORVANE_CHECK(texture != nullptr,
                      "Cannot create texture from " + file + " (" + sdl_error() + ")");
                tiles.push_back(texture);
            }
        }
        std::vector<SDL_Texture*> highlights(tiles.size(), nullptr);
        return make_images(tiles, highlights, w, h);
    });
    // the first user decides nothing for the others: what a later user needs is added
    if (with_highlight && !has_highlights(*image))
        load_highlights(file, *image);
    if (with_mask && image->mask.empty())
        load_mask(file, *image);
    return image;
}

std::pair<SDL::Image_handle, double> SDL::create_rectangle(int width, int height, int r, int g,
                                                           int b, int a) {
    constexpr double max_pixels = 512.0 * 512.0;
    // a texture cannot be empty: a side of no length is one pixel long, and counts so below,
    // so that the other side can never take more than the scratch block holds
    int w = std::max(width, 1);
    int h = std::max(height, 1);
    double scale = 1.0;
    if (double(w) * double(h) > max_pixels) {
        scale = std::ceil(double(w) * double(h) / max_pixels);
        w = std::max(int(w / scale), 1);
        h = std::max(int(h / scale), 1);
    }

    SDL_Surface* surface = SDL_CreateRGBSurfaceFrom(m_buffer, w, h, 32, 4 * w, 0x000000FF,
                                                    0x0000FF00, 0x00FF0000, 0xFF000000);
    ORVANE_CHECK(surface != nullptr, "Cannot create rectangle surface (" + sdl_error() + ")");
    // the rows are packed (pitch 4 * w): one run of w * h pixels, which a plain fill writes
    // several times faster than SDL_FillRect
    std::fill_n(static_cast<Uint32*>(surface->pixels), std::size_t(w) * std::size_t(h),
                SDL_MapRGBA(surface->format, Uint8(r), Uint8(g), Uint8(b), Uint8(a)));
    SDL_Texture* texture = SDL_CreateTextureFromSurface(m_renderer, surface);
    ORVANE_CHECK(texture != nullptr, "Cannot create rectangle texture (" + sdl_error() + ")");

    SDL_Texture* highlight = nullptr;
    if (a == 0) {
        SDL_Surface* glow = SDL_CreateRGBSurfaceFrom(m_hbuffer, w, h, 32, 4 * w, 0x000000FF,
                                                     0x0000FF00, 0x00FF0000, 0xFF000000);
        ORVANE_CHECK(glow != nullptr, "Cannot create rectangle surface (" + sdl_error() + ")");
        double half_w = w / 2.0;
        double half_h = h / 2.0;
        // each column's share of the distance to the centre, squared, computed once
        std::vector<double> column(static_cast<std::size_t>(w));
        for (int x = 0; x < w; ++x) {
            const double dx = std::abs(x - half_w) / half_w;
            column[std::size_t(x)] = dx * dx;
        }
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<Uint32*>(static_cast<char*>(glow->pixels) +
                                                  std::ptrdiff_t(y) * glow->pitch);
            const double dy = std::abs(y - half_h) / half_h;
            const double row_share = dy * dy;
            for (int x = 0; x < w; ++x) {
                const double d = column[std::size_t(x)] + row_share;
                const int alpha = d <= 1 ? int((1 - d) * 128) : 0;
                // white at that opacity, in the byte order of the masks above
                row[x] = 0x00FFFFFFu | Uint32(alpha) << 24;
            }
        }
        highlight = SDL_CreateTextureFromSurface(m_renderer, glow);
        SDL_FreeSurface(glow);
    }
    SDL_FreeSurface(surface);
    Image_handle image =
        m_images.make_single_base([&] { return make_image(texture, highlight, w, h); });
    return {image, scale};
}

namespace {

SDL_Texture* make_target(int width, int height) {
    SDL_Texture* texture = SDL_CreateTexture(SDL::m_renderer, SDL_PIXELFORMAT_ARGB8888,
                                             SDL_TEXTUREACCESS_TARGET, width, height);
    ORVANE_CHECK(texture != nullptr, "Cannot create composed texture (" + sdl_error() + ")");
    SDL_SetRenderTarget(SDL::m_renderer, texture);
    SDL_SetRenderDrawColor(SDL::m_renderer, 0, 0, 0, 0);
    SDL_RenderClear(SDL::m_renderer);
    SDL_SetRenderDrawBlendMode(SDL::m_renderer, SDL_BLENDMODE_BLEND);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    return texture;
}

void copy_part(SDL_Texture* texture, int x, int y, int w, int h) {
    if (texture == nullptr)
        return;
    // parts never overlap: copied unblended, their translucent pixels keep colour and alpha
    // instead of being darkened once here and once more when the result is drawn
    SDL_BlendMode mode = SDL_BLENDMODE_BLEND;
    SDL_GetTextureBlendMode(texture, &mode);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    // a part drawn faded earlier keeps its alpha modulation: compose copies it as it is
    SDL_SetTextureAlphaMod(texture, 255);
    SDL_Rect target{x, y, w, h};
    SDL_RenderCopy(SDL::m_renderer, texture, nullptr, &target);
    SDL_SetTextureBlendMode(texture, mode);
}

// Copies a part's tiles (or its highlight tiles, entries may be null) each to its place, the
// part's top left corner at (x, y): one tile covers the whole part, several follow Splitter.
void copy_tiles(const SDL::Image_base& part, bool highlights, int x, int y) {
    const std::vector<SDL_Texture*>& textures = highlights ? part.highlights : part.tiles;
    if (part.tiles.size() <= 1) {
        copy_part(textures.empty() ? nullptr : textures[0], x, y, part.width, part.height);
        return;
    }
    const auto width = unsigned(part.width);
    const auto height = unsigned(part.height);
    std::size_t index = 0;
    for (unsigned int i = 0; i < Splitter::nb_sub(width); ++i)
        for (unsigned int j = 0; j < Splitter::nb_sub(height); ++j, ++index) {
            if (index >= textures.size())
                return;
            const Splitter::Rect tile = Splitter::rect(width, height, i, j);
            copy_part(textures[index], x + int(tile.x), y + int(tile.y), int(tile.w),
                      int(tile.h));
        }
}

} // namespace

SDL::Image_handle SDL::compose(std::initializer_list<std::shared_ptr<Image_base>> parts) {
    int total = 0;
    int height = 0;
    bool any_highlight = false;
    for (const auto& part : parts) {
        total += part->width;
        height = std::max(height, part->height);
        for (SDL_Texture* glow : part->highlights)
            any_highlight = any_highlight || glow != nullptr;
    }
    SDL_Texture* texture = make_target(total, height);
    int x = 0;
    for (const auto& part : parts) {
        copy_tiles(*part, false, x, (height - part->height) / 2);
        x += part->width;
    }
    SDL_Texture* highlight = nullptr;
    if (any_highlight) {
        highlight = make_target(total, height);
        x = 0;
        for (const auto& part : parts) {
            copy_tiles(*part, true, x, (height - part->height) / 2);
            x += part->width;
        }
    }
    SDL_SetRenderTarget(m_renderer, nullptr);
    return m_images.make_single_base([&] { return make_image(texture, highlight, total, height); });
}

namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string font_identity(const SDL::Font_handle& font) {
    return font->file + "@" + std::to_string(font->size);
}

/// A fully transparent pixel: the picture of an empty text.
SDL_Surface* empty_text_surface() {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32, SDL_PIXELFORMAT_ARGB8888);
    ORVANE_CHECK(surface != nullptr, "Cannot create empty text surface (" + sdl_error() + ")");
    SDL_FillRect(surface, nullptr, 0);
    return surface;
}

SDL_Surface* render_text(TTF_Font* font, const std::string& text, SDL_Color color) {
    if (text.empty())
        return empty_text_surface();
    SDL_Surface* surface = text.find('\n') != std::string::npos
                               ? TTF_RenderUTF8_Blended_Wrapped(font, text.c_str(), color, 1920)
                               : TTF_RenderUTF8_Blended(font, text.c_str(), color);
    ORVANE_CHECK(surface != nullptr, "Cannot create text " + quoted(text));
    return surface;
}

bool beyond_texture_limit(const SDL_Surface* surface) {
    // a limit of 0 means the renderer has none
    return (SDL::m_max_texture_height > 0 && surface->h > SDL::m_max_texture_height) ||
           (SDL::m_max_texture_width > 0 && surface->w > SDL::m_max_texture_width);
}

/// Turns a text surface into a picture (tiled when beyond the renderer's limit) and frees it.
SDL::Image_base* text_image(SDL_Surface* surface, const std::string& text, bool with_error) {
    int w = surface->w;
    int h = surface->h;
    if (beyond_texture_limit(surface)) {
        std::vector<SDL_Surface*> pieces = Splitter::split_image(surface);
        std::vector<SDL_Texture*> tiles;
        for (SDL_Surface* piece : pieces) {
            SDL_Texture* texture = SDL_CreateTextureFromSurface(SDL::m_renderer, piece);
            ORVANE_CHECK(texture != nullptr, "Cannot create texture, " + sdl_error());
            tiles.push_back(texture);
            SDL_FreeSurface(piece);
        }
        SDL_FreeSurface(surface);
        return SDL::make_images(tiles, std::vector<SDL_Texture*>(tiles.size(), nullptr), w, h);
    }
    SDL_Texture* texture = SDL_CreateTextureFromSurface(SDL::m_renderer, surface);
    ORVANE_CHECK(texture != nullptr, "Cannot create texture from text " + quoted(text) +
                                  (with_error ? ", " + sdl_error() : std::string()));
    SDL_FreeSurface(surface);
    return SDL::make_image(texture, nullptr, w, h);
}

} // namespace

SDL::Image_handle SDL::create_text(const Font_handle& font, const std::string& color_text,
                                   const std::string& text) {
    if (text.find("[Debug info]") != std::string::npos) {
        // the debug overlay changes every frame: never cached
        return m_images.make_single_base([&] {
            SDL_Surface* surface =
                TTF_RenderUTF8_Blended_Wrapped(font->plain, text.c_str(), color(color_text), 1920);
            ORVANE_CHECK(surface != nullptr, "Cannot create text " + quoted(text));
            return text_image(surface, text, false);
        });
    }
    std::string key = font_identity(font) + "|" + color_text + "|" + text;
    return m_images.get(key, [&] {
        return text_image(render_text(font->plain, text, color(color_text)), text, true);
    });
}

namespace {

/// The font's outlined copy, opened from its stream on the first outlined text rather than
/// with the font: start-up needs none, and some fonts never draw one.
TTF_Font* outlined_font(SDL::Font_base& font) {
    if (font.outlined == nullptr) {
        font.asset.seek(0);
        font.outlined = TTF_OpenFontRW(font.asset.base(), 0, font.size);
        ORVANE_CHECK(font.outlined != nullptr, "Cannot load outlined font " + font.file);
        TTF_SetFontOutline(font.outlined, 10);
    }
    return font.outlined;
}

} // namespace

SDL::Image_handle SDL::create_outlined_text(const Font_handle& font, const std::string& color_text,
                                            const std::string& text) {
    std::string key = font_identity(font) + "|outlined|" + color_text + "|" + text;
    return m_images.get(key, [&] {
        if (text.empty())
            return text_image(empty_text_surface(), text, false);
        SDL_Surface* front = render_text(font->plain, text, color(color_text));
        SDL_Surface* back = render_text(outlined_font(*font), text, black());
        SDL_SetSurfaceBlendMode(front, SDL_BLENDMODE_BLEND);
        SDL_Rect at{10, 10, front->w, front->h};
        SDL_UpperBlit(front, nullptr, back, &at);
        SDL_FreeSurface(front);
        return text_image(back, text, false);
    });
}

SDL::Font_handle SDL::load_font(const std::string& file, int size) {
    return m_fonts.get(file + "@" + std::to_string(size), [&] {
        Packaged_asset asset = Packaged_asset_manager::open(file, false);
        TTF_Font* plain = asset ? TTF_OpenFontRW(asset.base(), 0, size) : nullptr;
        ORVANE_CHECK(plain != nullptr, "Cannot load font " + file);
        auto* font = new Font_base;
        font->plain = plain;
        font->asset = asset;
        font->file = file;
        font->size = size;
        font->session = m_session;
        return font;
    });
}

std::shared_ptr<SDL_Surface> SDL::load_surface(const std::string& file) {
    auto [w, h, format] = Packaged_asset_manager::image_info(file);
    std::string key = tile_key(file, 0, 0, false);
    auto [tw, th, tile_format] = Packaged_asset_manager::image_info(key);
    ORVANE_CHECK(tw == w && th == h && tile_format == format,
          "Image " + file + " is not stored as one tile and cannot be read as a surface");
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, format);
    ORVANE_CHECK(surface != nullptr, "Cannot create surface for " + file + " (" + sdl_error() + ")");
    std::shared_ptr<SDL_Surface> result(surface, SDL_FreeSurface);

    int row = w * surface->format->BytesPerPixel;
    SDL_LockSurface(surface);
    if (surface->pitch == row) {
        Packaged_asset_manager::open(file, surface->pixels,
                                     std::size_t(surface->pitch) * std::size_t(h), 0, 0, false);
    } else {
        // the stored rows are packed; the surface's rows are padded
        std::vector<char> packed(std::size_t(row) * std::size_t(h));
        Packaged_asset_manager::open(file, packed.data(), packed.size(), 0, 0, false);
        for (int y = 0; y < h; ++y)
            std::memcpy(static_cast<char*>(surface->pixels) + std::ptrdiff_t(y) * surface->pitch,
                        packed.data() + std::ptrdiff_t(y) * row, std::size_t(row));
    }
    SDL_UnlockSurface(surface);
    return result;
}

std::uint32_t SDL::get_color(const std::shared_ptr<SDL_Surface>& surface, int x, int y) {
    ORVANE_CHECK(x >= 0 && y >= 0 && x < surface->w && y < surface->h,
          "Pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") outside a surface of " +
              std::to_string(surface->w) + "x" + std::to_string(surface->h));
    SDL_LockSurface(surface.get());
    int bpp = surface->format->BytesPerPixel;
    const auto* p = static_cast<const Uint8*>(surface->pixels) +
                    std::ptrdiff_t(y) * surface->pitch + std::ptrdiff_t(x) * bpp;
    Uint32 pixel = 0;
    switch (bpp) {
    case 1:
        pixel = p[0];
        break;
    case 2:
        pixel = Uint32(p[0]) | Uint32(p[1]) << 8;
        break;
    case 3:
        pixel = Uint32(p[0]) | Uint32(p[1]) << 8 | Uint32(p[2]) << 16;
        break;
    default:
        pixel = Uint32(p[0]) | Uint32(p[1]) << 8 | Uint32(p[2]) << 16 | Uint32(p[3]) << 24;
        break;
    }
    Uint8 r = 0;
    Uint8 g = 0;
    Uint8 b = 0;
    SDL_GetRGB(pixel, surface->format, &r, &g, &b);
    SDL_UnlockSurface(surface.get());
    return std::uint32_t(r) | std::uint32_t(g) << 8 | std::uint32_t(b) << 16;
}

void SDL::get_row_colors(const std::shared_ptr<SDL_Surface>& surface, int y,
                         std::vector<std::uint32_t>& out) {
    ORVANE_CHECK(y >= 0 && y < surface->h, "Row " + std::to_string(y) + " outside a surface of " +
                                               std::to_string(surface->w) + "x" +
                                               std::to_string(surface->h));
    out.resize(std::size_t(surface->w));
    SDL_LockSurface(surface.get());
    const SDL_PixelFormat* format = surface->format;
    const int bpp = format->BytesPerPixel;
    const auto* p = static_cast<const Uint8*>(surface->pixels) + std::ptrdiff_t(y) * surface->pitch;
    if (bpp == 4 && format->palette == nullptr && format->Rloss == 0 && format->Gloss == 0 &&
        format->Bloss == 0) {
        // eight bits a channel: shifts alone give what SDL_GetRGB gives, without a call a pixel
        const Uint32 r_mask = format->Rmask, g_mask = format->Gmask, b_mask = format->Bmask;
        const int r_shift = format->Rshift, g_shift = format->Gshift, b_shift = format->Bshift;
        for (int x = 0; x < surface->w; ++x, p += 4) {
            Uint32 pixel = 0;
            std::memcpy(&pixel, p, 4);
            out[std::size_t(x)] = ((pixel & r_mask) >> r_shift) |
                                  ((pixel & g_mask) >> g_shift) << 8 |
                                  ((pixel & b_mask) >> b_shift) << 16;
        }
        SDL_UnlockSurface(surface.get());
        return;
    }
    for (int x = 0; x < surface->w; ++x, p += bpp) {
        Uint32 pixel = p[0];
        if (bpp > 1)
            pixel |= Uint32(p[1]) << 8;
        if (bpp > 2)
            pixel |= Uint32(p[2]) << 16;
        if (bpp > 3)
            pixel |= Uint32(p[3]) << 24;
        Uint8 r = 0;
        Uint8 g = 0;
        Uint8 b = 0;
        SDL_GetRGB(pixel, surface->format, &r, &g, &b);
        out[std::size_t(x)] = std::uint32_t(r) | std::uint32_t(g) << 8 | std::uint32_t(b) << 16;
    }
    SDL_UnlockSurface(surface.get());
}

SDL_Color SDL::color(const std::string& text) {
    RGB_color c = color_from_string(text);
    return SDL_Color{c[0], c[1], c[2], 255};
}

SDL_Color SDL::black() { return SDL_Color{0, 0, 0, 255}; }

} // namespace Orvane::Third_party
