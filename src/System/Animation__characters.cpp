#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <tuple>

#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Ground_map.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Path.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Animation.h>
#include <Orvane/Utils/Clock.h>
#include <Orvane/Utils/geometry.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

namespace {

/// Depth at which a character is drawn at scale 1.0.
constexpr double reference_depth = 3240;
/// Walking distance per animation frame at the reference depth, in scene pixels.
constexpr double reference_step = 34;
/// The camera follows the player once it walks closer than this to a side of the view.
constexpr int dead_zone = 480;

using Move = Component::Tuple<Point, Point, int, int, double, double>;
using Rescale = Component::Tuple<double, double, double, double>;

/// Progress of a timed request at time t; 1 when it takes no time (or less than none).
double request_progress(double t, double begin, double end) {
    if (end <= begin)
        return 1;
    return (t - begin) / (end - begin);
}

} // namespace

void Animation::handle_character_lookat(bool in_new_room) {
    m_content.walk("lookat", [&](const Content::Component_ptr& command) {
        auto target = Component::cast<Component::Position>(command);
        if (!target)
            return;
        const std::string& c = command->entity();
        if (receive(c, "needs_rescale") || in_new_room)
            place_and_scale_character(c);
        m_content.get<Component::Animation>(Key::body(c), "image");
        auto head = m_content.get<Component::Animation>(Key::head(c), "image");
        auto body_position = m_content.get<Component::Position>(Key::body(c), "position");
        m_content.get<Component::Position>(Key::head(c), "position");
        m_content.get<Component::Position>(Key::mouth(c), "position");
        m_to_remove.push_back(command);

        const double dx = target->value().x() - body_position->value().x();
        const bool walking = m_content.get<Component::Boolean>(c, "walking")->value();
        if (!in_new_room && !walking && (dx > 0) == head->faces_right())
            return;
        remove(c, "path", true);
        generate_random_idle_animation(c, dx > 0);
        place_and_scale_character(c);
    });
}

void Animation::handle_animation_stops() {
    m_content.walk("stop_talking", [&](const Content::Component_ptr& command) {
        const std::string& c = command->entity();
        if (auto offset = m_content.request<Component::Position>(Key::head_move(c), "position"))
            offset->set(Point(0, 0));
        auto head = m_content.get<Component::Animation>(Key::head(c), "image");
        generate_random_idle_head_animation(c, head->faces_right());
        m_to_remove.push_back(command);
    });
    m_content.walk("stop_walking", [&](const Content::Component_ptr& command) {
        const std::string& c = command->entity();
        if (m_content.get<Component::Boolean>(c, "walking")->value()) {
            auto body = m_content.get<Component::Animation>(Key::body(c), "image");
            const int row = body->frames().empty() ? 0 : body->frames().front().y;
            // only a character walking left keeps facing left
            generate_random_idle_animation(c, row != 2);
            place_and_scale_character(c);
        }
        m_to_remove.push_back(command);
    });
    m_content.walk("stop_animation", [&](const Content::Component_ptr& command) {
        const std::string& id = command->entity();
        if (auto head = m_content.request<Component::Animation>(Key::head(id), "image")) {
            generate_random_idle_body_animation(id, head->faces_right());
            remove(id, "animation", true);
        } else {
            m_content.get<Component::Animation>(id, "image")->on() = false;
            remove(id, "state", true);
        }
        m_to_remove.push_back(command);
    });
}

void Animation::handle_animation_starts() {
    m_content.walk("start_talking", [&](const Content::Component_ptr& command) {
        generate_random_mouth_animation(command->entity());
        m_to_remove.push_back(command);
    });
    m_content.walk("start_animation", [&](const Content::Component_ptr& command) {
        const std::string& id = command->entity();
        if (auto name = Component::cast<Component::Simple<std::string>>(command)) {
            const std::string pose = name->value();
            generate_animation(id, pose);
            m_content.set<Component::Simple<std::string>>(id, "animation", pose);
        } else {
            auto animation = m_content.get<Component::Animation>(id, "image");
            animation->on() = true;
            animation->playing() = true;
            // its first frame shows for its whole duration
            m_started.insert(id);
        }
        m_to_remove.push_back(command);
    });
}

void Animation::handle_state_changes() {
    m_content.walk("pause", [&](const Content::Component_ptr& command) {
        m_content.get<Component::Animation>(command->entity(), "image")->playing() = false;
        m_to_remove.push_back(command);
    });
    m_content.walk("set_state", [&](const Content::Component_ptr& command) {
        if (auto state = Component::cast<Component::Simple<std::string>>(command))
            m_content.get<Component::Simple<std::string>>(command->entity(), "state")
                ->set(state->value());
        m_to_remove.push_back(command);
    });
    m_content.walk("set_hidden", [&](const Content::Component_ptr& command) {
        const std::string& id = command->entity();
        m_content.get<Component::Group>(id, "group")->apply<Component::Image>(
            [](const std::shared_ptr<Component::Image>& image) { image->on() = false; });
        emit(id, "is_hidden");
        m_to_remove.push_back(command);
    });
    m_content.walk("set_visible", [&](const Content::Component_ptr& command) {
        const std::string& id = command->entity();
        m_content.get<Component::Group>(id, "group")->apply<Component::Image>(
            [](const std::shared_ptr<Component::Image>& image) { image->on() = true; });
        receive(id, "is_hidden");
        m_to_remove.push_back(command);
    });
}

void Animation::handle_characters_headmove(std::shared_ptr<Component::Animation> animation) {
    const std::string& e = animation->entity();
    const std::size_t mouth = e.find("_mouth");
    if (mouth != std::string::npos && random_int(0, 3) == 0) {
        const std::string c = e.substr(0, mouth);
        const double radius = m_content.value<Component::Simple<int>>(c, "head_move_radius", 4);
        const double angle = random_double(0, 2 * std::numbers::pi);
        const double r = random_double(radius / 2, radius);
        m_content.get<Component::Position>(Key::head_move(c), "position")
            ->set(Point(r * std::cos(angle), r * std::sin(angle)));
    }
    if (e.find("_body") != std::string::npos &&
        m_content.get<Component::Boolean>(animation->character_entity(), "walking")->value())
        trigger_step_sounds(animation);
}

bool Animation::handle_moves() {
    const double t =
        frame_time(m_content.value<Component::Simple<double>>(Fast_access_component::CLOCK_TIME));

    m_content.walk("move", [&](const Content::Component_ptr& c) {
        auto move = Component::cast<Move>(c);
        if (!move)
            return;
        const auto& [from, to, from_z, to_z, begin, end] = move->value();
        const double r = request_progress(t, begin, end);
        Point p(to.x() * r + from.x() * (1 - r), to.y() * r + from.y() * (1 - r));
        int z = to_z;
        if (r > 1)
            p = to;
        else
            z = round(to_z * r + (1 - r) * from_z);
        m_content.get<Component::Position>(c->entity(), "position")->set(p);
        m_content.get<Component::Image>(c->entity(), "image")->z() = z;
    });

    m_content.walk("rescale", [&](const Content::Component_ptr& c) {
        auto rescale = Component::cast<Rescale>(c);
        if (!rescale)
            return;
        const auto& [from, to, begin, end] = rescale->value();
        const double r = request_progress(t, begin, end);
        const double scale = r > 1 ? to : to * r + (1 - r) * from;
        m_content.get<Component::Image>(c->entity(), "image")->set_scale(scale);
    });

    bool moved = false;
    std::shared_ptr<Component::Simple<std::string>> player;
    m_content.walk("path", [&](const Content::Component_ptr& c) {
        auto path = Component::cast<Component::Path>(c);
        if (!path)
            return;
        const std::string& id = c->entity();
        if (id != "Debug" && !compute_movement_from_path(path)) {
            m_to_remove.push_back(c);
            return;
        }
        if (!player)
            player = m_content.get<Component::Simple<std::string>>(Key::player_name);
        if (id == player->value()) {
            // the positional music follows the player
            emit(Key::music_adjust_mix);
            moved = true;
        }
    });
    return moved;
}

bool Animation::compute_movement_from_path(const std::shared_ptr<Component::Path>& path) {
    const std::string& c = path->entity();
    m_content.get<Component::Boolean>(c, "walking")->set(true);
    m_content.get<Component::Animation>(Key::body(c), "image");
    m_content.get<Component::Animation>(Key::head(c), "image");
    m_content.get<Component::Animation>(Key::mouth(c), "image");
    auto body_position = m_content.get<Component::Position>(Key::body(c), "position");
    m_content.get<Component::Position>(Key::head(c), "position");
    m_content.get<Component::Position>(Key::mouth(c), "position");

    Point pos = body_position->value();
    auto map = ground_map_of(c);
    // at least a pixel: at depth 0 or below the walker would never arrive
    const double step_length =
        map ? std::max(1.0, reference_step * map->z_at_point(pos) / reference_depth)
            : reference_step;

    double step = step_length;
    bool going = false;
    bool exhausted = true;
    std::size_t& current = path->current();
    // an index at or past the end, an empty path included, is a walk already over
    while (current < path->size()) {
        const Point target = (*path)[current];
        if (pos == target) {
            ++current;
            continue;
        }
        Vector d = target - pos;
        const double length = d.length();
        if (length > step) {
            d = d * (1 / length);
            pos = pos + d * step;
            set_move_animation(c, d);
            going = true;
            exhausted = false;
            break;
        }
        pos = target;
        if (current + 1 == path->size()) {
            generate_random_idle_animation(c, d.x() > 0);
            exhausted = false;
            break;
        }
        // the rest of this frame's distance goes on along the next segment
        step -= length;
        ++current;
    }
    if (exhausted) {
        auto head = m_content.get<Component::Animation>(Key::head(c), "image");
        generate_random_idle_animation(c, head->faces_right());
    }

    body_position->set(pos);
    place_and_scale_character(c);
    return going;
}

int Animation::walk_row(const Vector& direction) {
    int a = static_cast<int>(std::atan2(direction.y(), direction.x()) * 180 / std::numbers::pi);
    a = (a + 360) % 360;
    if (a <= 32 || a >= 327)
        return 1;
    if (a <= 146)
        return 0;
    if (a <= 212)
        return 2;
    return 3;
}

void Animation::set_move_animation(const std::string& id, const Vector& direction) {
    auto body = m_content.get<Component::Animation>(Key::body(id), "image");
    auto head = m_content.get<Component::Animation>(Key::head(id), "image");
    auto mouth = m_content.get<Component::Animation>(Key::mouth(id), "image");
    body->on() = !signal(id, "is_hidden");
    // while walking the body sheet carries the whole character
    if (head->on()) {
        body->reset(true, 1);
        head->reset(true, 1);
        head->on() = false;
    }
    if (mouth->on()) {
        mouth->reset(true, 1);
        mouth->on() = false;
    }

    const int row = walk_row(direction);
    const auto columns = static_cast<std::size_t>(body->width_subdiv());
    // a frame index past the new list would show nothing: back to the first frame
    if (body->current() >= columns)
        body->reset(false, 1);
    auto& frames = body->frames();
    frames.resize(columns);
    for (std::size_t j = 0; j < columns; ++j) {
        frames[j].x = static_cast<int>(j);
        frames[j].y = row;
        frames[j].duration = 1;
        // ticks spent under a longer duration would never reach 1 again
        if (frames[j].ticks >= 1)
            frames[j].ticks = 0;
    }
}

void Animation::place_and_scale_character(const std::string& id) {
    if (!m_content.request<Component::Base>(id, "group"))
        return;
    auto body = m_content.get<Component::Animation>(Key::body(id), "image");
    auto head = m_content.get<Component::Animation>(Key::head(id), "image");
    auto mouth = m_content.get<Component::Animation>(Key::mouth(id), "image");
    auto extra = m_content.request<Component::Image>(id, "image");
    const Point pos = m_content.get<Component::Position>(Key::body(id), "position")->value();
    auto map = ground_map_of(id);
    auto fixed = m_content.request<Component::Simple<int>>(id, "z");

    auto rescale = [&](double z) {
        body->rescale(z);
        head->rescale(z);
        mouth->rescale(z);
        if (extra)
            extra->rescale(z + 1);
    };
    if (!fixed && map) {
        rescale(map->z_at_point(pos));
        return;
    }
    const bool rescaled = fixed && m_content.request<Component::Base>(id, "z_rescaled");
    rescale(rescaled ? fixed->value() : reference_depth);
    if (fixed) {
        body->z() = head->z() = mouth->z() = fixed->value();
        if (extra)
            extra->z() = fixed->value() + 1;
    }
}

void Animation::trigger_step_sounds(const std::shared_ptr<Component::Animation>& body) {
    const int column = body->current_frame().x;
    if (column != 0 && column != 4)
        return;
    emit("Step", "play_sound");
    const std::string c = body->character_entity();
    const double x =
        m_content.get<Component::Position>(c, "position")->value().x() -
        m_content.value<Component::Position>(Fast_access_component::CAMERA_POSITION).x();
    m_content.set<Component::Simple<double>>("Step", "panning", 1 - x / Config::world_width);
}

void Animation::update_camera_target() {
    auto background = m_content.request<Component::Image>(Key::background_image);
    if (!background)
        return;
    const std::string player = value<Component::Simple<std::string>>(Key::player_name);
    const int x =
        round(m_content.get<Component::Position>(Key::body(player), "position")->value().x());
    auto camera = m_content.request<Component::Position>(Fast_access_component::CAMERA_POSITION);
    ORVANE_CHECK(camera, "Cannot find Camera:position");
    const Point from = camera->value();

    int target = 0;
    if (from.x() + dead_zone > x)
        target = std::max(0, x - (Config::world_width - dead_zone));
    else if (x > from.x() + (Config::world_width - dead_zone))
        // a room narrower than the view keeps the camera on its left edge
        target = std::max(0, std::min(x - dead_zone, background->width() - Config::world_width));
    else
        return;

    if (Component::cast<Component::GUI_animation>(
            m_content.request<Component::Base>(Key::camera_animation)))
        return; // a running glide is not retargeted
    if (target == round(from.x()))
        return;
    const double now = m_content.value<Component::Simple<double>>(Fast_access_component::CLOCK_TIME);
    m_content.set<Component::GUI_position_animation>(Key::camera_animation, now, now + 1, camera,
                                                     Point(target, from.y()), false);
}

} // namespace Orvane::System
