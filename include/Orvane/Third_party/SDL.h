#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <Orvane/Assets/Bitmap_2.h>
#include <Orvane/Assets/Packaged_asset.h>
#include <Orvane/Third_party/Resource_manager.h>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Surface;
struct SDL_Color;
struct _TTF_Font;
typedef struct _TTF_Font TTF_Font;

namespace Orvane::Third_party {

/// The engine's window, renderer, images, fonts and texts. One object exists, owned by the
/// graphic system; it opens the window and draws the frames. Images, fonts and texts are made
/// through static operations, so components can make them without reaching that system; they
/// need a window opened by init() first. Positions handed to drawing are logical pixels of the
/// 1920 x 1080 view; SDL scales that view to the window and adds bars where the shapes differ.
class SDL {
  public:
    /// What keeps the window, the renderer and the font library open. The object and every
    /// image and font made with the renderer hold it, so textures and fonts that outlive the
    /// object are still released before the renderer and the font library go.
    struct Session;

    /// A drawable picture: its textures cut into tiles (column outer, row inner, the tile rule
    /// of Splitter), highlight textures of the same tiles (entries may be null), an optional
    /// hit mask and the whole picture's size in pixels.
    struct Image_base {
        std::vector<SDL_Texture*> tiles;
        std::vector<SDL_Texture*> highlights;
        Bitmap_2 mask;
        int width = 0;
        int height = 0;
        std::shared_ptr<Session> session;
    };
    /// Shared ownership of a picture; the last holder destroys its textures.
    using Image_handle = std::shared_ptr<Image_base>;

    /// A font opened from one package entry: plain, and with a 10-pixel outline once the first
    /// outlined text needs it (null until then). Both read the entry's stream, which stays open
    /// (with its decompressed bytes, if the entry was compressed) as long as the fonts. `file`
    /// and `size` name the font; cached texts are keyed by them.
    struct Font_base {
        TTF_Font* plain = nullptr;
        TTF_Font* outlined = nullptr;
        Packaged_asset asset;
        std::string file;
        int size = 0;
        std::shared_ptr<Session> session;
    };
    /// Shared ownership of a font; the last holder closes it.
    using Font_handle = std::shared_ptr<Font_base>;

    /// Allocates the two tile scratch blocks; opens nothing yet.
    SDL();
    /// Releases what only the caches hold, then the window, renderer and libraries as soon as
    /// no image or font made with them is left.
    ~SDL();
    SDL(const SDL&) = delete;
    SDL& operator=(const SDL&) = delete;

    // ---- Window and view ----

    /// Opens SDL, the font library, a resizable window (full screen on the desktop when
    /// `fullscreen`) and its renderer, then loads the controller mappings of the game data.
    /// `width` and `height` are in and out: -1 in either picks 80% of the display's height at
    /// a 16:10 shape, and the chosen size is written back. Every failure is fatal.
    void init(int& width, int& height, bool fullscreen);
    /// Sets the window title and its icon, a single-tile package image.
    void update_window(const std::string& title, const std::string& icon);
    /// Fits the logical view to the window's current size; a window of no size is left alone.
    void update_view();
    /// The logical size that update_view() sets for a window of the given size in pixels.
    static std::pair<int, int> logical_size(int window_width, int window_height);
    void toggle_fullscreen(bool on);
    void toggle_cursor(bool on);
    /// Opens `url` in the user's browser.
    void browse(const std::string& url);
    static void display_error(const std::string& message);
    /// Drops cached images and fonts that nothing else holds.
    void clear_managers();

    // ---- Frame ----

    /// Clears the window to dark grey and the 1920 x 1080 stage to black.
    void begin();
    /// Copies the source rectangle of `image` (picture pixels) to the target rectangle (logical
    /// pixels), with opacity `alpha`, then its highlight at `highlight_alpha` when that is not
    /// 0. A tiled picture is drawn tile by tile at the scale h_target / h_source, skipping the
    /// tiles outside the source rectangle.
    void draw(const std::shared_ptr<Image_base>& image, unsigned char alpha,
              unsigned char highlight_alpha, int x_source, int y_source, int w_source, int h_source,
              double x_target, double y_target, double w_target, double h_target);
    /// Debug primitives, in logical pixels; colour components are bytes.
    void draw_line(int x1, int y1, int x2, int y2, unsigned int r, unsigned int g, unsigned int b,
                   unsigned int a);
    void draw_square(int x, int y, int size, unsigned int r, unsigned int g, unsigned int b);
    void draw_rectangle(int x, int y, int w, int h, unsigned int r, unsigned int g, unsigned int b,
                        unsigned int a, bool full);
    void draw_circle(int x, int y, float radius, unsigned int r, unsigned int g, unsigned int b,
                     unsigned int a);
    /// The number of line segments that draw_circle() uses for `radius`: one per 10 pixels of
    /// circumference, at least 8.
    static int circle_segments(float radius);
    /// Shows the frame.
    void end();

    // ---- Images ----

    static Image_base* make_image(SDL_Texture* texture, SDL_Texture* highlight, int width,
                                  int height);
    static Image_base* make_images(const std::vector<SDL_Texture*>& tiles,
                                   const std::vector<SDL_Texture*>& highlights, int width,
                                   int height);
    static int width(const std::shared_ptr<Image_base>& image);
    static int height(const std::shared_ptr<Image_base>& image);

    /// The package image `file`, cached by name. A cached image that lacks the mask or the
    /// highlight tiles asked for gets them loaded now. A missing tile or ".mask" entry is fatal.
    static Image_handle load_image(const std::string& file, bool with_mask = false,
                                   bool with_highlight = false);
    /// A plain rectangle of one colour, uncached, with the scale at which it must be drawn to
    /// cover width x height: pictures above 512 x 512 pixels are stored at a lower resolution.
    /// A fully transparent rectangle gets an elliptic white glow as highlight.
    static std::pair<Image_handle, double> create_rectangle(int width, int height, int r, int g,
                                                            int b, int a);
    /// The `parts` side by side, left to right, centred vertically, every tile of a tiled part
    /// (and of its highlight) at its place; uncached.
    static Image_handle compose(std::initializer_list<std::shared_ptr<Image_base>> parts);
    /// `text` in the plain font, colour "RRGGBB"; wrapped at 1920 pixels when it holds a line
    /// break. Cached by font, colour and text, except debug texts. An empty text is a
    /// transparent 1 x 1 picture.
    static Image_handle create_text(const Font_handle& font, const std::string& color,
                                    const std::string& text);
    /// `text` in colour inside a black 10-pixel outline; cached like create_text().
    static Image_handle create_outlined_text(const Font_handle& font, const std::string& color,
                                             const std::string& text);

    // ---- Fonts, surfaces, colours ----

    /// The font package entry `file` at `size` points, cached by file and size.
    static Font_handle load_font(const std::string& file, int size);
    /// The pixels of the single-tile package image `file` in a surface of its own (uncached);
    /// fatal when the image is stored in several tiles.
    static std::shared_ptr<SDL_Surface> load_surface(const std::string& file);
    /// The colour of pixel (x, y): red in the lowest byte, then green, then blue.
    /// The colours of row `y` of `surface` (fatal outside it), packed as get_color() packs them,
    /// into `out`, which is resized to the surface's width: one call per row instead of one per
    /// pixel.
    static void get_row_colors(const std::shared_ptr<SDL_Surface>& surface, int y,
                               std::vector<std::uint32_t>& out);
    static std::uint32_t get_color(const std::shared_ptr<SDL_Surface>& surface, int x, int y);
    /// "RRGGBB" as an opaque colour.
    static SDL_Color color(const std::string& color);
    static SDL_Color black();

    // ---- Shared state ----

    static SDL_Window* m_window;
    static SDL_Renderer* m_renderer;
    /// Scratch pixel blocks of 1 MiB: one 512 x 512 tile at 4 bytes per pixel each.
    static char* m_buffer;
    static char* m_hbuffer;
    static constexpr std::size_t buffer_size = 1024 * 1024;
    /// The renderer's largest texture size; 0 means no limit, -1 before init().
    static int m_max_texture_width;
    static int m_max_texture_height;
    static Resource_manager<Image_base> m_images;
    static Resource_manager<Font_base> m_fonts;
    /// Textures that live pictures hold (tiles and highlights): made minus destroyed, for the
    /// long-run checks.
    static std::size_t m_live_textures;
    static std::shared_ptr<Session> m_session;

  private:
    std::shared_ptr<SDL_Surface> m_icon;
};

} // namespace Orvane::Third_party
