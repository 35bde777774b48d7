#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <tuple>

#include <Orvane/Component/Animation.h>
#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Animation.h>
#include <Orvane/Utils/Clock.h>
#include <Orvane/Utils/error.h>

namespace Orvane::System {

namespace {

using Fade = Component::Tuple<double, double, bool>;
using Timed_move = Component::Tuple<Point, Point, double, double>;
using Timed_rescale = Component::Tuple<double, double, double, double>;
using Timed_camera = Component::Array<double, 4>;

// Seconds a shake takes to swing through one radian.
constexpr double shake_period = 0.02;

// Whether [begin, end] is empty or reversed. Such an effect is over at once, on its end
// values: dividing by its length would give NaN (0/0) or run backwards for ever.
bool is_instant(double begin, double end) { return !(end > begin); }

// Elapsed fraction of [begin, end] at t, not clamped; 1 for an instant effect.
double progress(double t, double begin, double end) {
    return is_instant(begin, end) ? 1.0 : (t - begin) / (end - begin);
}

// The component held in a fast-access slot; fatal when the slot is empty.
template <typename T>
std::shared_ptr<T> held(const Content& content, Fast_access_component slot, const char* name) {
    auto c = content.request<T>(slot);
    ORVANE_CHECK(c, std::string("Cannot find ") + name);
    return c;
}

Point interpolate(const Point& from, const Point& to, double r) {
    return {to.x() * r + from.x() * (1 - r), to.y() * r + from.y() * (1 - r)};
}

} // namespace

Animation::Animation(Content& content) : Base(content) { m_started.max_load_factor(1.0f); }

void Animation::run() {
    const std::uint64_t id =
        frame_id(m_content.value<Component::Simple<double>>(Fast_access_component::CLOCK_TIME));
    auto game_status =
        held<Component::Status>(m_content, Fast_access_component::GAME_STATUS, "Game:status");
    // Frame numbers passed in pause or in a menu are skipped, so that leaving them runs no
    // catch-up burst.
    if (game_status->is(Status::PAUSE)) {
        m_frame_id = id;
        return;
    }
    run_gui_frame();
    if (game_status->is(Status::IN_MENU)) {
        m_frame_id = id;
        return;
    }
    if (id == m_frame_id) {
        // a room that has just loaded gets its first animation frame at once
        if (signal(Key::game_in_new_room))
            run_animation_frame();
        return;
    }
    // a slow display frame is made up by running the missed animation frames back to back
    if (id > m_frame_id)
        for (std::uint64_t n = id - m_frame_id; n > 0; --n)
            run_animation_frame();
    m_frame_id = id;
}

bool Animation::run_loading() {
    const std::uint64_t frame =
        frame_id(m_content.value<Component::Simple<double>>(Fast_access_component::CLOCK_TIME));
    if (frame == m_frame_id)
        return false;
    m_frame_id = frame;
    m_content.get<Component::Animation>(Key::loading_spin_image)->next_frame();
    return true;
}

bool Animation::fade(double begin, double end, bool fade_in) {
    const double t = m_content.value<Component::Simple<double>>(Fast_access_component::CLOCK_TIME);
    // a fade-in lifts the black layer from opaque to clear, a fade-out lays it down; an
    // instant one is at its end at once
    double opacity = fade_in ? 0.0 : 1.0;
    if (!is_instant(begin, end))
        opacity = std::clamp((fade_in ? end - t : t - begin) / (end - begin), 0.0, 1.0);
    auto black = m_content.get<Component::Image>(Key::blackscreen_image);
    black->on() = true;
    black->set_alpha(static_cast<unsigned char>(opacity * 255));
    return !is_instant(begin, end) && end > t;
}

void Animation::run_gui_frame() {
    if (auto request = m_content.request<Fade>(Key::camera_fade)) {
        const auto [begin, end, fade_in] = request->value();
        if (!fade(begin, end, fade_in)) {
            remove(Key::camera_fade);
            // a fade-out leaves the black layer on, at full opacity
            if (fade_in)
                m_content.get<Component::Image>(Key::blackscreen_image)->on() = false;
        }
    }

    const double t = m_content.value<Component::Simple<double>>(Fast_access_component::CLOCK_TIME);

    if (auto shake = m_content.request<Timed_camera>(Key::camera_shake)) {
        const auto [begin, end, intensity, start_x] = shake->value();
        // the amplitude falls linearly to nothing at the end time
        const double amplitude =
            is_instant(begin, end) ? 0.0 : intensity * (end - t) / (end - begin);
        const double x = amplitude * std::sin((t - begin) / shake_period) + start_x;
        held<Component::Position>(m_content, Fast_access_component::CAMERA_POSITION,
                                  "Camera:position")
            ->set(Point(x, 0));
    }

    if (auto change = m_content.request<Timed_camera>(Key::camera_change_zoom)) {
        const auto [from, to, begin, end] = change->value();
        // squared progress: the zoom starts slowly
        const double p = progress(t, begin, end);
        const double r = p * p;
        const bool over = is_instant(begin, end) || r > 1;
        held<Component::Simple<double>>(m_content, Fast_access_component::CAMERA_ZOOM,
                                        "Camera:zoom")
            ->set(over ? to : to * r + (1 - r) * from);
        if (over)
            remove(Key::camera_change_zoom);
    }

    // Nothing below files or removes a component until the end list is handled, so the live
    // maps are walked directly.
    for (const auto& [key, c] : m_content.components("animation")) {
        auto animation = Component::cast<Component::GUI_animation>(c);
        if (animation && !animation->update(t))
            m_ended.push_back(animation);
    }

    for (const auto& [key, c] : m_content.components("move60fps")) {
        auto move = Component::cast<Timed_move>(c);
        if (!move)
            continue;
        const auto& [from, to, begin, end] = move->value();
        const double r = progress(t, begin, end);
        const bool over = is_instant(begin, end) || r > 1;
        m_content.get<Component::Position>(move->entity(), "position")
            ->set(over ? to : interpolate(from, to, r));
        // other entities' moves are removed by the step that wrote them, when they end
        if (over && move->entity() == "Camera")
            m_ended.push_back(move);
    }

    for (const auto& ended : m_ended) {
        auto animation = Component::cast<Component::GUI_animation>(ended);
        if (animation && animation->remove_after()) {
            const Component::Id object = animation->object_id();
            remove(object.entity(), object.component());
            if (object.component() == "image")
                remove(object.entity(), "position");
        }
        remove(ended);
    }
    m_ended.clear();

    for (const auto& [key, c] : m_content.components("rescale60fps")) {
        auto rescale = Component::cast<Timed_rescale>(c);
        if (!rescale)
            continue;
        const auto [from, to, begin, end] = rescale->value();
        const double r = progress(t, begin, end);
        const bool over = is_instant(begin, end) || r > 1;
        m_content.get<Component::Image>(rescale->entity(), "image")
            ->set_scale(over ? to : to * r + (1 - r) * from);
    }
}

void Animation::run_animation_frame() {
    const bool in_new_room = receive(Key::game_in_new_room);
    if (in_new_room) {
        emit(Key::music_adjust_mix);
        // items with a state show their animation in the new room, whatever hid it before
        for (const auto& [key, c] : m_content.components("image")) {
            auto animation = Component::cast<Component::Animation>(c);
            if (animation &&
                m_content.request<Component::Simple<std::string>>(key.entity(), "state"))
                animation->on() = true;
        }
    }

    handle_character_lookat(in_new_room);
    handle_animation_stops();
    const bool moved = handle_moves();
    handle_animation_starts();
    handle_state_changes();

    // Collected in one read-only pass, then handed to the head movements: those may file
    // components, which must not happen while the live map is walked.
    for (const auto& [key, c] : m_content.components("image")) {
        auto animation = Component::cast<Component::Animation>(c);
        if (animation && animation->on() && animation->playing())
            m_collected.push_back(animation);
    }
    for (const auto& animation : m_collected)
        if (animation->animated())
            handle_characters_headmove(animation);

    for (const auto& command : m_to_remove)
        remove(command);
    m_to_remove.clear();

    if (moved)
        update_camera_target();

    for (const auto& animation : m_collected) {
        // an animation started in this frame shows its first frame for its whole duration
        if (m_started.contains(animation->entity()))
            continue;
        // a non-looping animation that has run out is back on its first frame: hide it
        if (!animation->next_frame())
            animation->on() = false;
    }
    m_collected.clear();
    m_started.clear();
}

} // namespace Orvane::System
