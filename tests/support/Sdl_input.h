#pragma once

#include <functional>
#include <optional>
#include <string>

#include <SDL.h>

#include <Orvane/Content.h>
#include <Orvane/Engine.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::Test {

/// Plays an engine from outside through SDL's own event queue, as a player would: events are
/// pushed into the queue (the input system reads them in the next frame) and frames are run
/// until the store shows what a test waits for. No Event_feed may be alive meanwhile: it
/// replaces that queue. Pointer and touch positions are window pixels, which are scene pixels
/// in a 1920 x 1080 window.
class Sdl_input {
  public:
    explicit Sdl_input(Engine& engine) : m_engine(engine) {}

    void key(SDL_Keycode key, bool pressed);
    /// A key pressed and released in the same frame.
    void tap(SDL_Keycode key);
    void mouse_button(Uint8 button, bool pressed, int x, int y);
    void mouse_motion(int x, int y);
    /// A finger pressed or lifted at (x, y) in scene pixels.
    void touch(bool pressed, int x, int y);

    /// The box where the shown image of `entity` is drawn, in window pixels (through the
    /// camera and the zoom for a room image); empty when the entity has no image that is on.
    static std::optional<SDL_Rect> drawn_box(const Content& content, const std::string& entity);
    /// Where the shown image of `entity` can be pointed at, in window pixels: the middle of its
    /// box as drawn (through the camera and the zoom for a room image), or, for an image tested
    /// pixel by pixel, its solid pixel nearest that middle; only points in the view count.
    /// Empty when the entity has no image that is on, or nothing of it in the view.
    /// With `uncovered`, only points where no clickable image is drawn above it count: where a
    /// click reaches the entity and not what stands in front of it.
    static std::optional<Point> point_of(const Content& content, const std::string& entity,
                                         bool uncovered = false);
    /// Moves the mouse onto the entity's image where nothing clickable stands in front of it
    /// (see point_of); false when no such point is shown.
    bool hover_on(const std::string& entity);
    /// Moves the mouse onto the entity's image, where nothing clickable stands in front of it,
    /// and clicks it there; false when no such point is shown.
    bool click_on(const std::string& entity);
    /// A finger pressed and lifted on the entity's image; false when it is not shown.
    bool touch_on(const std::string& entity);

    /// A window event (SDL_WINDOWEVENT_HIDDEN, _SHOWN, _RESIZED with the new size...).
    void window(SDL_WindowEventID event, int data1 = 0, int data2 = 0);
    /// The window's close request.
    void quit();

    /// Runs frames until `done` holds after a frame, at most `budget` frames. True when it held;
    /// false when the budget was spent or the engine ended its run first (see ended()).
    bool run_until(const std::function<bool(Content&)>& done, int budget);
    /// Runs `count` frames (fewer when the engine ends its run).
    void run(int count);

    /// Whether a frame ended the engine's run.
    bool ended() const { return m_ended; }
    /// Frames run so far through this object.
    int frames() const { return m_frames; }

  private:
    void push(SDL_Event& event);

    Engine& m_engine;
    bool m_ended = false;
    int m_frames = 0;
};

} // namespace Orvane::Test
