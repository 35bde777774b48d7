#include <memory>

#include <SDL.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include "support/Sdl_fixture.h"

namespace Orvane::Test {
namespace {

using Third_party::SDL;

TEST(Sdl_window_test, SizeFromTheDisplayIsWrittenBack) {
    load_packages(std::vector<Packer::Entry>{});
    struct Case {
        int width;
        int height;
    };
    for (Case c : {Case{-1, -1}, Case{-1, 700}, Case{900, -1}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        SDL sdl;
        int width = c.width;
        int height = c.height;
        sdl.init(width, height, false);
        SDL_DisplayMode mode;
        ASSERT_EQ(SDL_GetCurrentDisplayMode(0, &mode), 0);
        int expected_height = int(mode.h * 0.8);
        EXPECT_EQ(height, expected_height);
        EXPECT_EQ(width, int(expected_height * 1.6));
        int w = 0;
        int h = 0;
        SDL_GetWindowSize(SDL::m_window, &w, &h);
        EXPECT_EQ(w, width);
        EXPECT_EQ(h, height);
    }
}

TEST(Sdl_window_test, ViewFitsTheWindow) {
    load_packages(std::vector<Packer::Entry>{});
    SDL sdl;
    int width = 1000;
    int height = 1000;
    sdl.init(width, height, false);
    EXPECT_EQ(width, 1000);
    sdl.update_view();
    int lw = 0;
    int lh = 0;
    SDL_RenderGetLogicalSize(SDL::m_renderer, &lw, &lh);
    EXPECT_EQ(lw, 1919);
    EXPECT_EQ(lh, 1079);

    // a window that reports no size leaves the view as it was
    SDL_Window* window = SDL::m_window;
    SDL::m_window = nullptr;
    sdl.update_view();
    SDL::m_window = window;
    SDL_RenderGetLogicalSize(SDL::m_renderer, &lw, &lh);
    EXPECT_EQ(lw, 1919);
    EXPECT_EQ(lh, 1079);
}

TEST(Sdl_window_test, BeginShowsGreyBarsAroundABlackStage) {
    load_packages(std::vector<Packer::Entry>{});
    SDL sdl;
    int width = 1000;
    int height = 1000;
    sdl.init(width, height, false);
    sdl.update_view();
    sdl.begin();
    // read the whole window, bars included
    SDL_RenderSetLogicalSize(SDL::m_renderer, 0, 0);
    std::vector<Uint32> raw(1000 * 1000);
    ASSERT_EQ(SDL_RenderReadPixels(SDL::m_renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, raw.data(),
                                   1000 * 4),
              0);
    auto at = [&](int x, int y) { return raw[std::size_t(y) * 1000 + std::size_t(x)] & 0xFFFFFF; };
    // the stage is 1000 x 562 pixels, centred vertically: bars of about 219 pixels
    EXPECT_EQ(at(500, 10), 0x303030U);
    EXPECT_EQ(at(500, 990), 0x303030U);
    EXPECT_EQ(at(500, 500), 0U);
    EXPECT_EQ(at(0, 300), 0U);
    EXPECT_EQ(at(999, 700), 0U);
    sdl.end();
}

TEST(Sdl_window_test, ControllerMappingsComeFromTheGameData) {
    load_packages(window_packages());
    SDL sdl;
    int width = 640;
    int height = 480;
    sdl.init(width, height, false);
    char* mapping =
        SDL_GameControllerMappingForGUID(SDL_GUIDFromString("03000000de2800000112000000000000"));
    ASSERT_NE(mapping, nullptr);
    EXPECT_NE(std::string(mapping).find("Orvane Test Pad"), std::string::npos) << mapping;
    SDL_free(mapping);
}

TEST(Sdl_window_test, OpensWithoutControllerMappings) {
    load_packages(std::vector<Packer::Entry>{});
    SDL sdl;
    int width = 640;
    int height = 480;
    sdl.init(width, height, false);
    EXPECT_NE(SDL::m_renderer, nullptr);
}

TEST(Sdl_window_test, ImagesAndFontsMayOutliveTheWindowObject) {
    load_packages(window_packages());
    SDL::Image_handle image;
    SDL::Font_handle font;
    SDL::Image_handle text;
    {
        SDL sdl;
        int width = 640;
        int height = 480;
        sdl.init(width, height, false);
        image = SDL::load_image("images/objects/box.png", true, true);
        font = SDL::load_font("fonts/DejaVuSans.ttf", 12);
        text = SDL::create_text(font, "FFFFFF", "Still here");
    }
    // the renderer and the font library stay open for them until they go
    EXPECT_EQ(SDL::m_renderer, nullptr);
    EXPECT_EQ(TTF_WasInit(), 1);
    EXPECT_GT(TTF_FontHeight(font->plain), 0);
    image.reset();
    text.reset();
    font.reset();
    EXPECT_EQ(TTF_WasInit(), 0);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0U);
}

TEST_F(Sdl_test, WindowTitleAndIcon) {
    sdl.update_window("Velmoor", "images/interface/icon.png");
    EXPECT_STREQ(SDL_GetWindowTitle(SDL::m_window), "Velmoor");
}

TEST_F(Sdl_test, FullScreenAndCursorToggles) {
    sdl.toggle_fullscreen(true);
    EXPECT_TRUE(SDL_GetWindowFlags(SDL::m_window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    sdl.toggle_fullscreen(false);
    EXPECT_FALSE(SDL_GetWindowFlags(SDL::m_window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    sdl.toggle_cursor(true);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(Sdl_test, TiledImageDrawsOnlyItsSourceRectangle) {
    auto image = SDL::load_image("images/rooms/wide.png");
    ASSERT_EQ(image->tiles.size(), 4U); // 2 x 2 tiles of about 501 x 301
    EXPECT_EQ(SDL::width(image), 1000);
    EXPECT_EQ(SDL::height(image), 600);
    sdl.begin();
    // a source rectangle that crosses both tile borders, copied one to one
    sdl.draw(image, 255, 0, 400, 200, 300, 300, 100, 50, 300, 300);
    std::vector<Rgb> got = read(100, 50, 300, 300);
    int wrong = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x)
            if (got[std::size_t(y) * 300 + std::size_t(x)] !=
                test_image_pixel(unsigned(400 + x), unsigned(200 + y))) {
                if (++wrong <= 3)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is "
                                  << got[std::size_t(y) * 300 + std::size_t(x)] << ", expected "
                                  << test_image_pixel(unsigned(400 + x), unsigned(200 + y));
            }
    EXPECT_EQ(wrong, 0);
    // around the target the stage stays black
    EXPECT_EQ(pixel(99, 60), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixel(400, 60), (Rgb{0, 0, 0}));
}

TEST_F(Sdl_test, TiledImageScalesByTheTargetHeight) {
    auto image = SDL::load_image("images/rooms/wide.png");
    sdl.begin();
    // the whole picture at half size: 500 x 300
    sdl.draw(image, 255, 0, 0, 0, 1000, 600, 0, 0, 1000, 300);
    EXPECT_NE(pixel(480, 200), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixel(520, 200), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixel(200, 320), (Rgb{0, 0, 0}));
}

TEST_F(Sdl_test, SingleTileImageStretchesToItsTarget) {
    auto image = SDL::load_image("images/objects/solid.png");
    sdl.begin();
    sdl.draw(image, 255, 0, 0, 0, 20, 10, 10, 10, 40, 20);
    EXPECT_EQ(pixel(10, 10), (Rgb{100, 50, 0}));
    EXPECT_EQ(pixel(49, 29), (Rgb{100, 50, 0}));
    EXPECT_EQ(pixel(51, 10), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixel(10, 31), (Rgb{0, 0, 0}));
}

TEST_F(Sdl_test, HighlightIsDrawnOnlyAboveAlphaZero) {
    auto image = SDL::load_image("images/objects/solid.png", false, true);
    ASSERT_NE(image->highlights[0], nullptr);
    Packer::Image bright = Packer::highlight_of(plain_image(1, 1, 100, 50, 0));
    Rgb highlighted{bright.pixels[0], bright.pixels[1], bright.pixels[2]};
    struct Case {
        unsigned char highlight;
        Rgb expected;
    };
    for (Case c : {Case{0, {100, 50, 0}}, Case{255, highlighted}}) {
        SCOPED_TRACE(int(c.highlight));
        sdl.begin();
        sdl.draw(image, 255, c.highlight, 0, 0, 20, 10, 0, 0, 20, 10);
        EXPECT_EQ(pixel(5, 5), c.expected);
    }
}

TEST_F(Sdl_test, AlphaFadesTheImage) {
    auto image = SDL::load_image("images/objects/solid.png");
    sdl.begin();
    sdl.draw(image, 0, 0, 0, 0, 20, 10, 0, 0, 20, 10);
    EXPECT_EQ(pixel(5, 5), (Rgb{0, 0, 0}));
}

TEST_F(Sdl_test, DebugPrimitivesDrawInTheirColour) {
    sdl.begin();
    sdl.draw_rectangle(100, 100, 40, 20, 255, 0, 0, 255, true);
    sdl.draw_rectangle(300, 100, 40, 20, 0, 255, 0, 255, false);
    sdl.draw_square(500, 100, 10, 0, 0, 255);
    sdl.draw_line(600, 100, 700, 100, 255, 255, 0, 255);
    sdl.draw_circle(900, 100, 50, 0, 255, 255, 255);
    EXPECT_EQ(pixel(100, 100), (Rgb{255, 0, 0}));
    EXPECT_EQ(pixel(81, 91), (Rgb{255, 0, 0}));
    EXPECT_EQ(pixel(300, 100), (Rgb{0, 0, 0})); // outline only
    EXPECT_EQ(pixel(300, 90), (Rgb{0, 255, 0}));
    EXPECT_EQ(pixel(280, 100), (Rgb{0, 255, 0}));
    EXPECT_EQ(pixel(500, 100), (Rgb{0, 0, 255}));
    // three pixels thick
    EXPECT_EQ(pixel(650, 99), (Rgb{255, 255, 0}));
    EXPECT_EQ(pixel(650, 100), (Rgb{255, 255, 0}));
    EXPECT_EQ(pixel(650, 101), (Rgb{255, 255, 0}));
    EXPECT_EQ(pixel(650, 103), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixel(950, 100), (Rgb{0, 255, 255}));
    EXPECT_EQ(pixel(900, 100), (Rgb{0, 0, 0}));
    // a line of no length is its one point
    sdl.draw_line(800, 200, 800, 200, 255, 0, 255, 255);
    EXPECT_EQ(pixel(800, 200), (Rgb{255, 0, 255}));
    EXPECT_EQ(pixel(800, 202), (Rgb{0, 0, 0}));
}

TEST_F(Sdl_test, RectanglesAboveOneTileAreStoredSmaller) {
    struct Case {
        int width;
        int height;
        double scale;
        int stored_width;
        int stored_height;
    };
    for (Case c : {Case{1920, 1080, 8, 240, 135}, Case{512, 512, 1, 512, 512},
                   Case{513, 512, 2, 256, 256}, Case{10, 20, 1, 10, 20}, Case{0, 0, 1, 1, 1},
                   // a side of no length counts as one pixel: the other side stays in the block
                   Case{300000, 0, 2, 150000, 1}, Case{0, 300000, 2, 1, 150000},
                   Case{-4, 10, 1, 1, 10}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        auto [image, scale] = SDL::create_rectangle(c.width, c.height, 1, 2, 3, 255);
        EXPECT_EQ(scale, c.scale);
        EXPECT_EQ(SDL::width(image), c.stored_width);
        EXPECT_EQ(SDL::height(image), c.stored_height);
    }
    // drawn at its scale, a large rectangle covers what was asked for
    auto [image, scale] = SDL::create_rectangle(1920, 1080, 10, 200, 30, 255);
    sdl.begin();
    sdl.draw(image, 255, 0, 0, 0, 240, 135, 0, 0, 240 * scale, 135 * scale);
    EXPECT_EQ(pixel(0, 0), (Rgb{10, 200, 30}));
    EXPECT_EQ(pixel(1919, 1079), (Rgb{10, 200, 30}));
}

TEST_F(Sdl_test, TransparentRectangleGlowsWhenHighlighted) {
    auto [clear, s1] = SDL::create_rectangle(100, 60, 0, 0, 0, 0);
    auto [faint, s2] = SDL::create_rectangle(100, 60, 0, 0, 0, 1);
    ASSERT_NE(clear->highlights[0], nullptr);
    EXPECT_EQ(faint->highlights[0], nullptr);
    sdl.begin();
    sdl.draw(clear, 255, 255, 0, 0, 100, 60, 0, 0, 100, 60);
    Rgb centre = pixel(50, 30);
    EXPECT_GE(centre.r, 120); // white at alpha 128 over black
    EXPECT_EQ(centre.r, centre.g);
    EXPECT_EQ(pixel(0, 0), (Rgb{0, 0, 0}));
}

TEST_F(Sdl_test, ComposeCentresThePartsSideBySide) {
    auto [red, s1] = SDL::create_rectangle(10, 20, 255, 0, 0, 255);
    auto [green, s2] = SDL::create_rectangle(30, 40, 0, 255, 0, 255);
    auto both = SDL::compose({red, green});
    EXPECT_EQ(SDL::width(both), 40);
    EXPECT_EQ(SDL::height(both), 40);
    EXPECT_EQ(both->highlights[0], nullptr);
    sdl.begin();
    sdl.draw(both, 255, 0, 0, 0, 40, 40, 0, 0, 40, 40);
    EXPECT_EQ(pixel(5, 5), (Rgb{0, 0, 0}));    // above the shorter part: transparent
    EXPECT_EQ(pixel(5, 10), (Rgb{255, 0, 0})); // (40 - 20) / 2 = 10
    EXPECT_EQ(pixel(5, 29), (Rgb{255, 0, 0}));
    EXPECT_EQ(pixel(5, 30), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixel(10, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(pixel(39, 39), (Rgb{0, 255, 0}));
}

TEST_F(Sdl_test, ComposeUsesPartsOpaqueWhateverTheirLastDraw) {
    auto [red, s1] = SDL::create_rectangle(10, 10, 255, 0, 0, 255);
    auto [blue, s2] = SDL::create_rectangle(10, 10, 0, 0, 255, 255);
    sdl.begin();
    sdl.draw(red, 0, 0, 0, 0, 10, 10, 0, 0, 10, 10); // leaves the texture faded
    auto both = SDL::compose({red, blue});
    sdl.begin();
    sdl.draw(both, 255, 0, 0, 0, 20, 10, 0, 0, 20, 10);
    EXPECT_EQ(pixel(5, 5), (Rgb{255, 0, 0}));
    EXPECT_EQ(pixel(15, 5), (Rgb{0, 0, 255}));
}

TEST_F(Sdl_test, ComposeKeepsTheHighlights) {
    auto [glow, s1] = SDL::create_rectangle(20, 20, 0, 0, 0, 0);
    auto [plain, s2] = SDL::create_rectangle(20, 20, 0, 0, 255, 255);
    auto both = SDL::compose({plain, glow});
    ASSERT_NE(both->highlights[0], nullptr);
    sdl.begin();
    sdl.draw(both, 255, 255, 0, 0, 40, 20, 0, 0, 40, 20);
    EXPECT_EQ(pixel(5, 10), (Rgb{0, 0, 255})); // no highlight over the plain part
    // the glow's centre, white at alpha 128 over black, as bright as the glow drawn alone
    auto [alone, s3] = SDL::create_rectangle(20, 20, 0, 0, 0, 0);
    sdl.draw(alone, 255, 255, 0, 0, 20, 20, 100, 0, 20, 20);
    EXPECT_EQ(pixel(30, 10), pixel(110, 10));
    EXPECT_GE(pixel(30, 10).r, 120);
}

TEST_F(Sdl_test, ComposeDrawsEveryTileOfALargePartAtItsPlace) {
    // 1000 x 600 and 700 x 600 pictures: 2 x 2 tiles each, the second with highlight tiles
    auto wide = SDL::load_image("images/rooms/wide.png");
    auto large = SDL::load_image("images/objects/large.png", false, true);
    ASSERT_EQ(wide->tiles.size(), 4U);
    ASSERT_EQ(large->highlights.size(), 4U);
    auto [red, s1] = SDL::create_rectangle(10, 20, 255, 0, 0, 255);
    auto all = SDL::compose({red, wide, large});
    ASSERT_EQ(SDL::width(all), 1710);
    ASSERT_EQ(SDL::height(all), 600);
    const Packer::Image glow = Packer::highlight_of(test_image(700, 600));
    struct Case {
        const char* what;
        unsigned char alpha;
        unsigned char highlight_alpha;
    };
    for (const Case c : {Case{"pictures", 255, 0}, Case{"highlights", 0, 255}}) {
        SCOPED_TRACE(c.what);
        sdl.begin();
        // the stage is 1920 wide: the composition drawn one to one from x = 0
        sdl.draw(all, c.alpha, c.highlight_alpha, 0, 0, 1710, 600, 0, 0, 1710, 600);
        const std::vector<Rgb> got = read(0, 0, 1710, 600);
        int wrong = 0;
        for (unsigned int y = 0; y < 600; ++y)
            for (unsigned int x = 0; x < 1710; ++x) {
                Rgb expected{0, 0, 0};
                if (c.highlight_alpha == 0 && x < 10)
                    expected = y >= 290 && y < 310 ? Rgb{255, 0, 0} : Rgb{0, 0, 0};
                else if (c.highlight_alpha == 0 && x < 1010)
                    expected = test_image_pixel(x - 10, y);
                else if (c.highlight_alpha == 0)
                    expected = test_image_pixel(x - 1010, y);
                else if (x >= 1010 && (x - 1010 + y) % 7 != 0) { // opaque highlight pixels
                    const unsigned char* p = &glow.pixels[(y * 700 + x - 1010) * 4];
                    expected = {p[0], p[1], p[2]};
                }
                const Rgb& pixel = got[y * 1710 + x];
                if (pixel != expected && ++wrong <= 3)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << pixel
                                  << ", expected " << expected;
            }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(Sdl_test, ImagesAreSharedUntilNobodyHoldsThem) {
    auto first = SDL::load_image("images/objects/box.png");
    auto second = SDL::load_image("images/objects/box.png", false, false);
    EXPECT_EQ(first.get(), second.get());
    std::weak_ptr<SDL::Image_base> watch = first;
    // still held: survives clear()
    sdl.clear_managers();
    EXPECT_EQ(SDL::load_image("images/objects/box.png").get(), first.get());
    first.reset();
    second.reset();
    EXPECT_FALSE(watch.expired()); // the cache holds it
    sdl.clear_managers();
    EXPECT_TRUE(watch.expired());
    auto third = SDL::load_image("images/objects/box.png");
    EXPECT_EQ(SDL::width(third), 40);
}

TEST_F(Sdl_test, LiveTexturesCountWhatPicturesHoldUntilTheyGo) {
    sdl.clear_managers();
    const std::size_t before = SDL::m_live_textures;
    {
        auto [glow, s1] = SDL::create_rectangle(20, 20, 0, 0, 0, 0); // a tile and its highlight
        auto [plain, s2] = SDL::create_rectangle(20, 20, 0, 0, 255, 255);
        EXPECT_EQ(SDL::m_live_textures, before + 3);
        auto both = SDL::compose({plain, glow});
        EXPECT_EQ(SDL::m_live_textures, before + 5);
        auto box = SDL::load_image("images/objects/box.png");
        EXPECT_EQ(SDL::m_live_textures, before + 6);
        // the highlight a later user asks for is made then, and counted
        auto lit = SDL::load_image("images/objects/box.png", true, true);
        EXPECT_EQ(SDL::m_live_textures, before + 7);
    }
    EXPECT_EQ(SDL::m_live_textures, before + 2) << "the cache still holds the box";
    sdl.clear_managers();
    EXPECT_EQ(SDL::m_live_textures, before);
}

TEST_F(Sdl_test, MaskAndHighlightAreLoadedWhenALaterUserNeedsThem) {
    auto plain = SDL::load_image("images/objects/box.png");
    EXPECT_TRUE(plain->mask.empty());
    EXPECT_EQ(plain->highlights[0], nullptr);
    auto masked = SDL::load_image("images/objects/box.png", true, true);
    EXPECT_EQ(masked.get(), plain.get());
    ASSERT_FALSE(masked->mask.empty());
    EXPECT_NE(masked->highlights[0], nullptr);
    Bitmap_2 expected = Packer::mask_of(test_image(40, 30));
    for (std::size_t y = 0; y < 30; ++y)
        for (std::size_t x = 0; x < 40; ++x)
            ASSERT_EQ(masked->mask(x, y), expected(x, y)) << x << ", " << y;
}

TEST_F(Sdl_test, SurfaceOfASingleTileImage) {
    auto surface = SDL::load_surface("images/rooms/hall_map.png");
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->w, 600);
    EXPECT_EQ(surface->h, 300);
    for (auto [x, y] :
         {std::pair{0, 0}, std::pair{1, 0}, std::pair{599, 299}, std::pair{300, 17}}) {
        SCOPED_TRACE(std::to_string(x) + ", " + std::to_string(y));
        std::uint32_t c = SDL::get_color(surface, x, y);
        EXPECT_EQ(c & 255, unsigned(x % 256));
        EXPECT_EQ(c >> 8 & 255, unsigned(y % 256));
        EXPECT_EQ(c >> 16 & 255, unsigned((x ^ y) % 256));
    }
    // the row read gives every pixel as the one-pixel read does
    std::vector<std::uint32_t> row;
    for (int y = 0; y < 300; ++y) {
        SDL::get_row_colors(surface, y, row);
        ASSERT_EQ(row.size(), 600u);
        for (int x = 0; x < 600; ++x)
            ASSERT_EQ(row[std::size_t(x)], SDL::get_color(surface, x, y))
                << x << ", " << y;
    }
}

TEST_F(Sdl_test, ColoursAreReadFromHexText) {
    SDL_Color c = SDL::color("FF8000");
    EXPECT_EQ(c.r, 255);
    EXPECT_EQ(c.g, 128);
    EXPECT_EQ(c.b, 0);
    EXPECT_EQ(c.a, 255);
    SDL_Color k = SDL::black();
    EXPECT_EQ(k.r + k.g + k.b, 0);
    EXPECT_EQ(k.a, 255);
}

TEST_F(Sdl_test, FontsAreCachedByFileAndSize) {
    auto small = SDL::load_font("fonts/DejaVuSans.ttf", 20);
    auto again = SDL::load_font("fonts/DejaVuSans.ttf", 20);
    auto large = SDL::load_font("fonts/DejaVuSans.ttf", 40);
    EXPECT_EQ(small.get(), again.get());
    EXPECT_NE(small.get(), large.get());
    EXPECT_EQ(TTF_FontHeight(small->plain) * 2 / TTF_FontHeight(large->plain), 1);
    EXPECT_NE(small->asset.buffer(), nullptr); // a compressed entry: its bytes live with the font
    auto raw = SDL::load_font("fonts/raw.ttf", 20);
    EXPECT_EQ(raw->asset.buffer(), nullptr);
}

TEST_F(Sdl_test, TextsAreCachedByFontIdentityColourAndText) {
    auto font = SDL::load_font("fonts/DejaVuSans.ttf", 20);
    auto other = SDL::load_font("fonts/DejaVuSans.ttf", 30);
    auto text = SDL::create_text(font, "FFFFFF", "Hello");
    EXPECT_EQ(SDL::create_text(font, "FFFFFF", "Hello").get(), text.get());
    EXPECT_NE(SDL::create_text(font, "FF0000", "Hello").get(), text.get());
    EXPECT_NE(SDL::create_text(other, "FFFFFF", "Hello").get(), text.get());
    EXPECT_NE(SDL::create_outlined_text(font, "FFFFFF", "Hello").get(), text.get());
    // the same font opened again (after the first was freed) finds the same text
    font.reset();
    sdl.clear_managers();
    auto reopened = SDL::load_font("fonts/DejaVuSans.ttf", 20);
    EXPECT_EQ(SDL::create_text(reopened, "FFFFFF", "Hello").get(), text.get());
}

TEST_F(Sdl_test, DebugTextsAreNeverCached) {
    auto font = SDL::load_font("fonts/DejaVuSans.ttf", 20);
    auto a = SDL::create_text(font, "FFFFFF", "[Debug info] 60 fps");
    auto b = SDL::create_text(font, "FFFFFF", "[Debug info] 60 fps");
    EXPECT_NE(a.get(), b.get());
}

TEST_F(Sdl_test, TextWithALineBreakIsWrapped) {
    auto font = SDL::load_font("fonts/DejaVuSans.ttf", 20);
    auto one = SDL::create_text(font, "FFFFFF", "Hello world");
    auto two = SDL::create_text(font, "FFFFFF", "Hello\nworld");
    EXPECT_GE(SDL::height(two), 2 * SDL::height(one) - 4);
    EXPECT_LE(SDL::width(two), 1920);
    sdl.begin();
    sdl.draw(two, 255, 0, 0, 0, SDL::width(two), SDL::height(two), 0, 0, SDL::width(two),
             SDL::height(two));
    auto lit = [&](int y0, int y1) {
        for (const Rgb& c : read(0, y0, SDL::width(two), y1 - y0))
            if (c.r > 128)
                return true;
        return false;
    };
    EXPECT_TRUE(lit(0, SDL::height(one)));
    EXPECT_TRUE(lit(SDL::height(one), SDL::height(two)));
}

TEST_F(Sdl_test, EmptyTextIsATransparentPixel) {
    auto font = SDL::load_font("fonts/DejaVuSans.ttf", 20);
    for (bool outlined : {false, true}) {
        SCOPED_TRACE(outlined);
        auto text = outlined ? SDL::create_outlined_text(font, "FFFFFF", "")
                             : SDL::create_text(font, "FFFFFF", "");
        EXPECT_EQ(SDL::width(text), 1);
        EXPECT_EQ(SDL::height(text), 1);
        sdl.begin();
        sdl.draw(text, 255, 0, 0, 0, 1, 1, 0, 0, 50, 50);
        EXPECT_EQ(pixel(25, 25), (Rgb{0, 0, 0}));
    }
}

TEST_F(Sdl_test, OutlinedTextSitsInABlackBorder) {
    auto font = SDL::load_font("fonts/DejaVuSans.ttf", 40);
    auto plain = SDL::create_text(font, "FF0000", "I");
    auto outlined = SDL::create_outlined_text(font, "FF0000", "I");
    EXPECT_GE(SDL::width(outlined), SDL::width(plain) + 20);
    EXPECT_GE(SDL::height(outlined), SDL::height(plain) + 20);
    sdl.begin();
    auto [white, s] = SDL::create_rectangle(400, 400, 255, 255, 255, 255);
    sdl.draw(white, 255, 0, 0, 0, 400, 400, 0, 0, 400, 400);
    sdl.draw(outlined, 255, 0, 0, 0, SDL::width(outlined), SDL::height(outlined), 0, 0,
             SDL::width(outlined), SDL::height(outlined));
    bool red = false;
    bool black = false;
    for (const Rgb& c : read(0, 0, SDL::width(outlined), SDL::height(outlined))) {
        red = red || (c.r > 200 && c.g < 50);
        black = black || (c.r < 30 && c.g < 30 && c.b < 30);
    }
    EXPECT_TRUE(red);
    EXPECT_TRUE(black);
}

TEST_F(Sdl_test, TextBeyondTheTextureLimitIsTiledAndDrawsTheSame) {
    auto font = SDL::load_font("fonts/DejaVuSans.ttf", 30);
    // the software renderer reports no limit (0): one texture
    SDL_RendererInfo info;
    SDL_GetRendererInfo(SDL::m_renderer, &info);
    EXPECT_EQ(SDL::m_max_texture_width, info.max_texture_width);
    SDL::m_max_texture_width = 0;
    SDL::m_max_texture_height = 0;
    std::string text = "A text far wider than five hundred and twelve pixels, on one line";
    auto whole = SDL::create_text(font, "FFFF00", text);
    EXPECT_EQ(whole->tiles.size(), 1U);
    SDL::m_max_texture_width = 256;
    SDL::m_max_texture_height = 256;
    auto tiled = SDL::create_outlined_text(font, "FFFF00", text);
    auto plain_tiled = SDL::create_text(font, "FFFF00", text + " ");
    EXPECT_GT(tiled->tiles.size(), 1U);
    EXPECT_GT(plain_tiled->tiles.size(), 1U);
    EXPECT_EQ(plain_tiled->tiles.size(), plain_tiled->highlights.size());

    int w = SDL::width(whole);
    int h = SDL::height(whole);
    sdl.begin();
    sdl.draw(whole, 255, 0, 0, 0, w, h, 0, 0, w, h);
    sdl.draw(plain_tiled, 255, 0, 0, 0, w, h, 0, 200, w, h);
    EXPECT_EQ(read(0, 0, w, h), read(0, 200, w, h));
}

using Sdl_DeathTest = Sdl_test;

TEST_F(Sdl_DeathTest, MissingMaskIsFatal) {
    EXPECT_EXIT(SDL::load_image("images/rooms/wide.png", true, false), ::testing::ExitedWithCode(1),
                "Packaged asset images/rooms/wide.png.mask not found");
}

TEST_F(Sdl_DeathTest, MissingHighlightIsFatal) {
    EXPECT_EXIT(SDL::load_image("images/rooms/wide.png", false, true), ::testing::ExitedWithCode(1),
                "Packaged asset images/rooms/wide.png.0x0.HL not found");
}

TEST_F(Sdl_DeathTest, UnknownImageIsFatal) {
    EXPECT_EXIT(SDL::load_image("images/rooms/none.png"), ::testing::ExitedWithCode(1),
                "Packaged asset images/rooms/none.png not found");
}

TEST_F(Sdl_DeathTest, SurfaceOfATiledImageIsFatal) {
    EXPECT_EXIT(SDL::load_surface("images/rooms/wide.png"), ::testing::ExitedWithCode(1),
                "images/rooms/wide.png is not stored as one tile");
}

TEST_F(Sdl_DeathTest, UnknownFontIsFatal) {
    EXPECT_EXIT(SDL::load_font("fonts/none.ttf", 20), ::testing::ExitedWithCode(1),
                "Cannot load font fonts/none.ttf");
}

TEST_F(Sdl_DeathTest, PixelOutsideASurfaceIsFatal) {
    auto surface = SDL::load_surface("images/rooms/hall_map.png");
    EXPECT_EXIT(SDL::get_color(surface, 600, 0), ::testing::ExitedWithCode(1),
                "outside a surface of 600x300");
}

} // namespace
} // namespace Orvane::Test
