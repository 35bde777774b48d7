#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Ground_map.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Path.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Logic.h>
#include <Orvane/Utils/View.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/geometry.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

namespace {

/// A new path that ends this close (scene pixels) to the running one's end keeps the running
/// one: a second click on the same spot does not restart the walk.
constexpr double same_goal = 5.0;
/// Player depth at which the follower keeps its reference distances.
constexpr int follow_depth = 1500;

/// The points of a walk tell nothing new when there are none or only the start point.
bool goes_nowhere(const std::vector<Point>& points, const Point& origin) {
    return points.empty() || (points.size() == 1 && points[0] == origin);
}

/// Stores the walk as <id>:path; a walk that begins where the character stands starts at its
/// second point.
void store_walk(Content& content, const std::string& id, std::vector<Point>& points,
                const Point& origin) {
    const bool from_origin = points.front() == origin;
    auto path = content.set<Component::Path>(id, "path", points);
    if (from_origin)
        path->current() = 1;
}

} // namespace

bool Logic::compute_path_from_target(std::shared_ptr<Component::Position> target, std::string id) {
    bool follower_to_player = false;
    if (id.empty()) {
        id = value<Component::Simple<std::string>>(Key::player_name);
    } else {
        const std::string follower =
            m_content.value<Component::Simple<std::string>>(Key::follower_name, std::string());
        follower_to_player =
            !follower.empty() && id == follower &&
            target->entity() == value<Component::Simple<std::string>>(Key::player_name);
    }
    auto map = ground_map_of(id);
    if (!map)
        return false;
    const Point origin = m_content.get<Component::Position>(Key::body(id), "position")->value();
    Point goal = target->value();
    const bool scene_point = follower_to_player || target->component() == "view" ||
                             target->entity().find("_body") != std::string::npos;
    if (!scene_point)
        goal = camera_view(m_content).to_scene(goal, false);

    std::vector<Point> points;
    map->find_path(origin, goal, points);
    if (goes_nowhere(points, origin))
        return false;
    if (auto running = m_content.request<Component::Path>(id, "path");
        running && running->size() > 0 &&
        distance((*running)[running->size() - 1], points.back()) < same_goal)
        return true;
    store_walk(m_content, id, points, origin);
    return true;
}

bool Logic::compute_path_from_direction(const Vector& direction) {
    const std::string id = value<Component::Simple<std::string>>(Key::player_name);
    auto map = ground_map_of(id);
    if (!map)
        return false;
    const Point origin = m_content.get<Component::Position>(Key::body(id), "position")->value();
    std::vector<Point> points;
    map->find_path(origin, direction, points);
    if (goes_nowhere(points, origin))
        return false;
    store_walk(m_content, id, points, origin);
    return true;
}

void Logic::update_character_path() {
    if (receive(Key::cursor_clicked)) {
        auto cursor =
            m_content.request<Component::Position>(Fast_access_component::CURSOR_POSITION);
        ORVANE_CHECK(cursor, "Cannot find Cursor:position");
        compute_path_from_target(cursor, "");
    }
    if (receive(Key::stick_moved)) {
        const Vector d =
            m_content.value<Component::Simple<Vector>>(Fast_access_component::STICK_DIRECTION);
        if (d.x() != 0 || d.y() != 0) {
            compute_path_from_direction(Vector(d.x() * 1.22, d.y() / 1.41));
        } else {
            const std::string player = value<Component::Simple<std::string>>(Key::player_name);
            remove(player, "path", true);
            emit(player, "stop_walking");
        }
    }
}

void Logic::update_follower() {
    auto name = m_content.request<Component::Simple<std::string>>(Key::follower_name);
    if (!name || name->value().empty())
        return;
    const std::string follower = name->value();
    if (m_content.request<Component::Base>(follower, "nofollow"))
        return;
    // the first recomputation comes a second after the follower appears
    auto latest =
        m_content.get_or_set<Component::Simple<double>>("Following", "latest_recompuation", now);
    if (now - latest->value() > 1.0) {
        follow(follower);
        latest->set(now);
    }
}

void Logic::follow(const std::string& id) {
    const std::string player = value<Component::Simple<std::string>>(Key::player_name);
    auto target = m_content.get<Component::Position>(Key::body(player), "position");
    const Point p = target->value();
    const Point q = m_content.get<Component::Position>(Key::body(id), "position")->value();
    const double dx = p.x() - q.x();
    const double dy = p.y() - q.y();
    const bool walking = m_content.get<Component::Boolean>(id, "walking")->value();
    const int depth = m_content.get<Component::Image>(Key::body(player), "image")->z();

    // a standing follower sets off farther than a walking one stops
    const int margin = walking ? 0 : 20 * depth / follow_depth;
    const int limit_x = 250 * depth / follow_depth + margin;
    const int limit_y = 100 * depth / follow_depth + margin;
    if (std::abs(dx) > limit_x || std::abs(dy) > limit_y) {
        compute_path_from_target(target, id);
    } else {
        remove(id, "path", true);
        emit(id, "stop_walking");
    }
}

bool Logic::function_goto(const Arguments& args) {
    check_arguments(args, 0, 3, "function_goto takes at most 3 arguments");
    std::string walker;
    Arguments rest = args;
    bool follower = false;
    if (!args.empty() && m_content.request<Component::Animation>(args[0] + "_head", "image")) {
        walker = args[0];
        rest.erase(rest.begin());
        follower = walker == m_content.value<Component::Simple<std::string>>(Key::follower_name,
                                                                             std::string());
    } else {
        walker = value<Component::Simple<std::string>>(Key::player_name);
    }

    std::shared_ptr<Component::Position> target;
    if (rest.size() == 2) {
        target = std::make_shared<Component::Absolute_position>(
            "Goto", "view", Point(to_int(rest[0]), to_int(rest[1])), false);
    } else {
        const std::string item =
            rest.empty() ? m_content.get<Component::Action>(Key::character_action)->target_entity()
                         : rest[0];
        // taken as it stands now under "view": a view that stands for the item's position is
        // still a scene point
        target = std::make_shared<Component::Absolute_position>(
            item, "view", m_content.get<Component::Position>(item, "view")->value(), false);
    }

    if (compute_path_from_target(target, walker)) {
        // the follower leaves automatic following until this walk ends; with no walk nothing
        // would ever give it back
        if (follower)
            m_content.set<Component::Base>(walker, "nofollow");
        ORVANE_CHECK(current_action, "function_goto needs a running action");
        current_action->schedule(0, m_content.get<Component::Path>(walker, "path"));
    }
    remove(walker, "lookat", true);
    return true;
}

bool Logic::function_look(const Arguments& args) {
    check_arguments(args, 0, 2, "function_look takes at most 2 argument");
    std::string character;
    std::string target;
    if (args.size() == 2) {
        character = args[0];
        target = args[1];
    } else {
        character = value<Component::Simple<std::string>>(Key::player_name);
        if (args.size() == 1) {
            target = args[0];
        } else {
            ORVANE_CHECK(current_action, "function_look needs a running action");
            target = current_action->target_entity();
        }
    }
    if (target == "Default")
        return true;

    Point point;
    if (m_content.request<Component::Image>(target, "image")) {
        auto state = m_content.request<Component::Simple<std::string>>(target, "state");
        if (state && state->value() == "inventory")
            return true; // a carried item is not on the scene
        point = m_content.get<Component::Position>(target, "position")->value();
    } else if (auto clicked =
                   m_content.request<Component::Simple<std::string>>(Key::click_target)) {
        point = m_content.get<Component::Position>(clicked->value(), "position")->value();
        remove(Key::click_target);
    } else {
        point = camera_view(m_content).to_scene(
            m_content.value<Component::Position>(Fast_access_component::CURSOR_POSITION), false);
    }
    m_content.set<Component::Absolute_position>(character, "lookat", point, false);
    return true;
}

} // namespace Orvane::System
