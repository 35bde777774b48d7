#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <Orvane/System/Base.h>
#include <Orvane/Third_party/SDL.h>
#include <Orvane/Utils/Clock.h>
#include <Orvane/Utils/View.h>

namespace Orvane::Component {
class Image;
}

namespace Orvane::System {

/// The graphic system: owns the window and renderer and draws every frame: the visible images
/// of the store in depth order, then the debug overlay when it is on; the loading screen
/// instead while a room change is pending.
class Graphic : public Base {
  public:
    /// One entry of the render list: an image and the screen rectangle (view pixels) it covers,
    /// top-left corner (x0, y0) and bottom-right corner (x1, y1).
    struct Entry {
        std::shared_ptr<Component::Image> image;
        double x0 = 0;
        double y0 = 0;
        double x1 = 0;
        double y1 = 0;
    };
    using Render_list = std::vector<Entry>;
    /// Opens a web address in the player's browser.
    using Browser = std::function<void(const std::string& url)>;
    /// Ends a drawn frame (shows it).
    using Presenter = std::function<void()>;

    /// Creates its window-and-renderer wrapper (no window yet) and a frame clock, and stores
    /// CPU:usage = 0.
    explicit Graphic(Content& content);

    /// Opens the window from Window:width, Window:height and Window:fullscreen (each must
    /// exist) and writes the resulting size back, marked as altered.
    void init() override;
    /// One frame: window title and icon on Game:name_changed; the loading screen alone while
    /// Game:new_room exists; otherwise the pending window signals, the render list drawn in
    /// order, the debug overlay when Game:debug is on, and the frame shown.
    void run() override;
    /// Draws and shows one loading-screen frame: the spinner at its position, unzoomed.
    void run_loading();

    /// Fills `list` (emptied first, its capacity kept) with the images of the store that are
    /// drawn this frame, placed through `view` and sorted in drawing order: by depth, then by
    /// entity name compared as bytes. Skips images that are off, "Cursor" while the status is
    /// LOCKED or CUTSCENE, and images outside the view on both axes. Reads the store only and
    /// draws nothing, so it needs no window. Fatal when a kept image has no position.
    static void build_render_list(const Content& content, const View& view, Render_list& list);

    /// Replaces the call that opens the support address (tests watch it instead of a browser).
    void set_browser(Browser browser) { m_browse = std::move(browser); }
    /// Replaces the call that shows a finished frame (benchmarks end a frame without showing
    /// it). Loading frames are shown through it too.
    void set_presenter(Presenter presenter) { m_present = std::move(presenter); }

  private:
    void draw_debug_overlay(const View& view);

    Third_party::SDL m_sdl;
    Clock m_clock;
    /// Kept for the life of the system, emptied after each drawn frame: no allocation once its
    /// capacity is reached.
    Render_list m_to_display;
    Browser m_browse;
    Presenter m_present;
};

} // namespace Orvane::System
