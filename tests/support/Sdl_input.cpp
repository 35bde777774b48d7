#include "Sdl_input.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Config.h>
#include <Orvane/System/Base.h>
#include <Orvane/Utils/View.h>

namespace Orvane::Test {

void Sdl_input::push(SDL_Event& event) {
    event.common.timestamp = SDL_GetTicks();
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

void Sdl_input::key(SDL_Keycode key, bool pressed) {
    SDL_Event e{};
    e.type = pressed ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    push(e);
}

void Sdl_input::tap(SDL_Keycode k) {
    key(k, true);
    key(k, false);
}

void Sdl_input::mouse_button(Uint8 button, bool pressed, int x, int y) {
    SDL_Event e{};
    e.type = pressed ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    e.button.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    push(e);
}

void Sdl_input::mouse_motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    push(e);
}

void Sdl_input::touch(bool pressed, int x, int y) {
    SDL_Event e{};
    e.type = pressed ? SDL_FINGERDOWN : SDL_FINGERUP;
    e.tfinger.touchId = 1;
    e.tfinger.fingerId = 1;
    e.tfinger.x = (static_cast<float>(x) + 0.5f) / static_cast<float>(Config::world_width);
    e.tfinger.y = (static_cast<float>(y) + 0.5f) / static_cast<float>(Config::world_height);
    push(e);
}

namespace {

// An image that is on, with the top-left corner and the scale the render list draws it at.
struct Placed {
    std::shared_ptr<Component::Image> image;
    Point corner;
    double drawn;
};

std::optional<Placed> placed(const Content& content, const std::string& entity) {
    auto image = content.request<Component::Image>(entity, "image");
    auto position = content.request<Component::Position>(entity, "position");
    if (!image || !image->on() || !position)
        return std::nullopt;
    const auto [corner, drawn] = System::camera_view(content).place(
        position->value(), image->origin(), image->scale(), position->is_interface());
    return Placed{image, corner, drawn};
}

// Whether the screen pixel (x, y) shows a pixel of the placed image that a click would hit.
bool hits(const Placed& p, int x, int y) {
    const int t = round(p.corner.x());
    const int v = round(p.corner.y());
    if (x < t || y < v || x >= t + int(p.drawn * p.image->width()) ||
        y >= v + int(p.drawn * p.image->height()))
        return false;
    return p.image->collision() != Component::Collision_type::PIXEL_PERFECT ||
           p.image->is_target_inside(p.image->xmin() + int(std::floor((x - t) / p.drawn)),
                                     p.image->ymin() + int(std::floor((y - v) / p.drawn)));
}

} // namespace

std::optional<SDL_Rect> Sdl_input::drawn_box(const Content& content, const std::string& entity) {
    const auto p = placed(content, entity);
    if (!p)
        return std::nullopt;
    return SDL_Rect{round(p->corner.x()), round(p->corner.y()), int(p->drawn * p->image->width()),
                    int(p->drawn * p->image->height())};
}

std::optional<Point> Sdl_input::point_of(const Content& content, const std::string& entity,
                                         bool uncovered) {
    const auto p = placed(content, entity);
    if (!p)
        return std::nullopt;
    const auto& image = p->image;
    const double drawn = p->drawn;
    const int t = round(p->corner.x());
    const int v = round(p->corner.y());
    const int w = int(drawn * image->width());
    const int h = int(drawn * image->height());
    // what a click there would hit instead: clickable images drawn above
    std::vector<Placed> over;
    if (uncovered)
        for (const auto& [key, c] : content.components("image")) {
            auto other = Component::cast<Component::Image>(c);
            if (!other || other->entity() == entity || !other->on() ||
                other->collision() == Component::Collision_type::UNCLICKABLE ||
                other->z() <= image->z())
                continue;
            if (auto q = placed(content, other->entity()); q && q->image == other)
                over.push_back(*q);
        }
    const bool by_pixel = image->collision() == Component::Collision_type::PIXEL_PERFECT;
    const double mx = t + w / 2.0;
    const double my = v + h / 2.0;
    std::optional<Point> best;
    double best_distance = std::numeric_limits<double>::max();
    for (int y = std::max(v, 0); y < std::min(v + h, Config::world_height); ++y) {
        for (int x = std::max(t, 0); x < std::min(t + w, Config::world_width); ++x) {
            if (by_pixel && !image->is_target_inside(
                                image->xmin() + int(std::floor((x - t) / drawn)),
                                image->ymin() + int(std::floor((y - v) / drawn))))
                continue;
            if (std::any_of(over.begin(), over.end(),
                            [&](const Placed& o) { return hits(o, x, y); }))
                continue;
            const double d = std::hypot(x - mx, y - my);
            if (d < best_distance) {
                best_distance = d;
                best = Point(x, y);
            }
        }
    }
    return best;
}

bool Sdl_input::hover_on(const std::string& entity) {
    const auto at = point_of(m_engine.content(), entity, true);
    if (at)
        mouse_motion(at->X(), at->Y());
    return at.has_value();
}

bool Sdl_input::click_on(const std::string& entity) {
    const auto at = point_of(m_engine.content(), entity, true);
    if (!at)
        return false;
    mouse_motion(at->X(), at->Y());
    mouse_button(SDL_BUTTON_LEFT, true, at->X(), at->Y());
    mouse_button(SDL_BUTTON_LEFT, false, at->X(), at->Y());
    return true;
}

bool Sdl_input::touch_on(const std::string& entity) {
    const auto at = point_of(m_engine.content(), entity);
    if (!at)
        return false;
    touch(true, at->X(), at->Y());
    touch(false, at->X(), at->Y());
    return true;
}

void Sdl_input::window(SDL_WindowEventID event, int data1, int data2) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = event;
    e.window.data1 = data1;
    e.window.data2 = data2;
    push(e);
}

void Sdl_input::quit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    push(e);
}

void Sdl_input::run(int count) {
    for (int i = 0; i < count && !m_ended; ++i) {
        ++m_frames;
        m_ended = !m_engine.run();
    }
}

bool Sdl_input::run_until(const std::function<bool(Content&)>& done, int budget) {
    for (int i = 0; i < budget && !m_ended; ++i) {
        ++m_frames;
        m_ended = !m_engine.run();
        if (done(m_engine.content()))
            return true;
    }
    return false;
}

} // namespace Orvane::Test
