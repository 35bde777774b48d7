#include <algorithm>
#include <cmath>

#include <SDL.h>
#include <SDL_ttf.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Assets/Splitter.h>
#include <Orvane/Config.h>
#include <Orvane/Third_party/SDL.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::Third_party {

/// Closes, in this order, the font library, the renderer, the window and SDL, once the SDL
/// object and every texture and font made with them are gone.
struct SDL::Session {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    bool ttf = false;

    Session() = default;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session() {
        if (ttf)
            TTF_Quit();
        if (renderer)
            SDL_DestroyRenderer(renderer);
        if (window)
            SDL_DestroyWindow(window);
        // SDL_Quit only once no other part of the engine (audio, events) still uses SDL
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER);
        if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
            SDL_Quit();
    }
};

SDL_Window* SDL::m_window = nullptr;
SDL_Renderer* SDL::m_renderer = nullptr;
char* SDL::m_buffer = nullptr;
char* SDL::m_hbuffer = nullptr;
int SDL::m_max_texture_width = -1;
int SDL::m_max_texture_height = -1;
std::shared_ptr<SDL::Session> SDL::m_session;

SDL::SDL() {
    // the buffers are shared by every instance (a system's and a test's may live at once): a
    // second instance keeps the first's instead of losing them
    if (m_buffer == nullptr)
        m_buffer = new char[buffer_size];
    if (m_hbuffer == nullptr)
        m_hbuffer = new char[buffer_size];
}

SDL::~SDL() {
    delete[] m_buffer;
    delete[] m_hbuffer;
    m_buffer = nullptr;
    m_hbuffer = nullptr;
    // entries still held elsewhere leave the caches too: they belong to this window, and a
    // later window must not be handed its textures
    m_images.reset();
    m_fonts.reset();
    // the icon belongs to the window: released first, then the session goes with its last user
    m_icon.reset();
    m_window = nullptr;
    m_renderer = nullptr;
    m_max_texture_width = -1;
    m_max_texture_height = -1;
    m_session.reset();
}

void SDL::init(int& width, int& height, bool fullscreen) {
    auto session = std::make_shared<Session>();
    ORVANE_CHECK(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER) != -1,
          "Cannot initialize SDL: (" + std::string(SDL_GetError()) + ")");
    ORVANE_CHECK(TTF_Init() != -1, "Cannot initialize SDL TTF");
    session->ttf = true;

    if (width == -1 || height == -1) {
        SDL_DisplayMode mode{};
        ORVANE_CHECK(SDL_GetCurrentDisplayMode(0, &mode) == 0,
              "Cannot read the display mode (" + std::string(SDL_GetError()) + ")");
        height = int(mode.h * 0.8);
        width = int(height * 1.6);
    }

    Uint32 flags = SDL_WINDOW_RESIZABLE;
    if (fullscreen)
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    session->window =
        SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    ORVANE_CHECK(session->window != nullptr,
          "Cannot create SDL Window (" + std::string(SDL_GetError()) + ")");

    session->renderer = SDL_CreateRenderer(session->window, -1,
                                           SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    ORVANE_CHECK(session->renderer != nullptr,
          "Cannot create SDL Renderer: (" + std::string(SDL_GetError()) + ")");

    SDL_RendererInfo info;
    ORVANE_CHECK(SDL_GetRendererInfo(session->renderer, &info) == 0, "Cannot create SDL Renderer Info");
    m_max_texture_width = info.max_texture_width;
    m_max_texture_height = info.max_texture_height;

    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "best");
    SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");

    m_session = session;
    m_window = session->window;
    m_renderer = session->renderer;

    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_SetRenderDrawBlendMode(m_renderer, SDL_BLENDMODE_BLEND);
    SDL_RenderClear(m_renderer);
    SDL_RenderPresent(m_renderer);
    SDL_ShowCursor(SDL_DISABLE);

    // the game data always hold the mappings; without them controllers keep SDL's own table
    Packaged_asset mappings = Packaged_asset_manager::open("data/gamecontrollerdb.txt", false);
    if (mappings) {
        SDL_GameControllerAddMappingsFromRW(mappings.base(), 0);
        mappings.close();
    }
}

void SDL::update_window(const std::string& title, const std::string& icon) {
    SDL_SetWindowTitle(m_window, title.c_str());
    m_icon = load_surface(icon);
    SDL_SetWindowIcon(m_window, m_icon.get());
}

std::pair<int, int> SDL::logical_size(int window_width, int window_height) {
    if (window_width <= 0 || window_height <= 0)
        return {Config::world_width, Config::world_height};
    double r = std::min(window_height / double(Config::world_height),
                        window_width / double(Config::world_width));
    return {int(int(Config::world_width * r) / r), int(int(Config::world_height * r) / r)};
}

void SDL::update_view() {
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(m_window, &w, &h);
    // a minimised or collapsed window has no shape to fit: keep the current view
    if (w <= 0 || h <= 0)
        return;
    auto [lw, lh] = logical_size(w, h);
    SDL_RenderSetLogicalSize(m_renderer, lw, lh);
}

void SDL::toggle_fullscreen(bool on) {
    SDL_SetWindowFullscreen(m_window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void SDL::toggle_cursor(bool on) { SDL_ShowCursor(on ? SDL_ENABLE : SDL_DISABLE); }

void SDL::browse(const std::string& url) { SDL_OpenURL(url.c_str()); }

void SDL::display_error(const std::string& message) {
    SDL_ShowSimpleMessageBox(0, "Error", message.c_str(), m_window);
}

void SDL::clear_managers() {
    m_images.clear();
    m_fonts.clear();
}

void SDL::begin() {
    SDL_SetRenderDrawColor(m_renderer, 48, 48, 48, 255);
    SDL_RenderClear(m_renderer);
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_Rect stage{0, 0, Config::world_width, Config::world_height};
    SDL_RenderFillRect(m_renderer, &stage);
}

namespace {

void copy_tile(SDL_Texture* texture, unsigned char alpha, const SDL_Rect& source,
               const SDL_FRect& target) {
    if (texture == nullptr)
        return;
    SDL_SetTextureAlphaMod(texture, alpha);
    SDL_RenderCopyF(SDL::m_renderer, texture, &source, &target);
}

} // namespace

void SDL::draw(const std::shared_ptr<Image_base>& image, unsigned char alpha,
               unsigned char highlight_alpha, int x_source, int y_source, int w_source,
               int h_source, double x_target, double y_target, double w_target, double h_target) {
    if (image->tiles.size() == 1) {
        SDL_Rect source{x_source, y_source, w_source, h_source};
        SDL_FRect target{float(x_target), float(y_target), float(w_target), float(h_target)};
        copy_tile(image->tiles[0], alpha, source, target);
        if (highlight_alpha != 0 && !image->highlights.empty())
            copy_tile(image->highlights[0], highlight_alpha, source, target);
        return;
    }

    double k = h_target / h_source;
    unsigned int nx = Splitter::nb_sub(image->width);
    unsigned int ny = Splitter::nb_sub(image->height);
    SDL_Rect source{x_source, y_source, w_source, h_source};
    std::size_t index = 0;
    for (unsigned int i = 0; i < nx; ++i) {
        for (unsigned int j = 0; j < ny; ++j, ++index) {
            if (index >= image->tiles.size())
                return;
            auto t = Splitter::rect(image->width, image->height, i, j);
            SDL_Rect tile{int(t.x), int(t.y), int(t.w), int(t.h)};
            SDL_Rect part;
            if (!SDL_IntersectRect(&source, &tile, &part))
                continue;
            SDL_FRect target{float((part.x - x_source) * k + x_target),
                             float((part.y - y_source) * k + y_target), float(part.w * k),
                             float(part.h * k)};
            SDL_Rect in_tile{part.x - tile.x, part.y - tile.y, part.w, part.h};
            copy_tile(image->tiles[index], alpha, in_tile, target);
            if (highlight_alpha != 0 && index < image->highlights.size())
                copy_tile(image->highlights[index], highlight_alpha, in_tile, target);
        }
    }
}

void SDL::draw_line(int x1, int y1, int x2, int y2, unsigned int r, unsigned int g, unsigned int b,
                    unsigned int a) {
    SDL_SetRenderDrawColor(m_renderer, Uint8(r), Uint8(g), Uint8(b), Uint8(a));
    SDL_RenderDrawLine(m_renderer, x1, y1, x2, y2);
    // a line of no length has no side to thicken towards (its normal would be NaN)
    if (x1 == x2 && y1 == y2)
        return;
    Point p1(x1, y1);
    Point p2(x2, y2);
    Vector n = Vector(p1, p2).perpendicular();
    n.normalize();
    Point a1 = p1 + n;
    Point a2 = p2 + n;
    Point b1 = p1 + -n;
    Point b2 = p2 + -n;
    SDL_RenderDrawLineF(m_renderer, float(a1.x()), float(a1.y()), float(a2.x()), float(a2.y()));
    SDL_RenderDrawLineF(m_renderer, float(b1.x()), float(b1.y()), float(b2.x()), float(b2.y()));
}

void SDL::draw_square(int x, int y, int size, unsigned int r, unsigned int g, unsigned int b) {
    SDL_SetRenderDrawColor(m_renderer, Uint8(r), Uint8(g), Uint8(b), 255);
    SDL_Rect rect{x - size / 2, y - size / 2, size, size};
    SDL_RenderFillRect(m_renderer, &rect);
}

void SDL::draw_rectangle(int x, int y, int w, int h, unsigned int r, unsigned int g, unsigned int b,
                         unsigned int a, bool full) {
    SDL_SetRenderDrawColor(m_renderer, Uint8(r), Uint8(g), Uint8(b), Uint8(a));
    int left = x - w / 2;
    int top = y - h / 2;
    int right = x + w / 2;
    int bottom = y + h / 2;
    if (full) {
        SDL_Rect rect{left, top, w, h};
        SDL_RenderFillRect(m_renderer, &rect);
        return;
    }
    SDL_RenderDrawLine(m_renderer, left, top, right, top);
    SDL_RenderDrawLine(m_renderer, right, top, right, bottom);
    SDL_RenderDrawLine(m_renderer, right, bottom, left, bottom);
    SDL_RenderDrawLine(m_renderer, left, bottom, left, top);
}

int SDL::circle_segments(float radius) {
    int n = int(2 * M_PI * radius / 10);
    return n < 9 ? 8 : n;
}

void SDL::draw_circle(int x, int y, float radius, unsigned int r, unsigned int g, unsigned int b,
                      unsigned int a) {
    SDL_SetRenderDrawColor(m_renderer, Uint8(r), Uint8(g), Uint8(b), Uint8(a));
    int n = circle_segments(radius);
    for (int i = 1; i <= n; ++i) {
        double t0 = 2 * M_PI * (i - 1) / n;
        double t1 = 2 * M_PI * i / n;
        SDL_RenderDrawLineF(m_renderer, float(x + radius * std::cos(t0)),
                            float(y + radius * std::sin(t0)), float(x + radius * std::cos(t1)),
                            float(y + radius * std::sin(t1)));
    }
}

void SDL::end() { SDL_RenderPresent(m_renderer); }

} // namespace Orvane::Third_party
