#include <array>
#include <memory>
#include <string>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Logic.h>
#include <Orvane/Utils/Clock.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/geometry.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

namespace {

/// The action that a timed step holds back: the one whose step is being applied.
Component::Action& holder(const std::shared_ptr<Component::Action>& action, const char* keyword) {
    ORVANE_CHECK(action, std::string(keyword) + " with a duration outside a running action");
    return *action;
}

/// The marker of the end of a timed move or rescale: a signal stored when it is due.
std::shared_ptr<Component::Signal> end_event() {
    return std::make_shared<Component::Signal>("Dummy", "event");
}

} // namespace

bool Logic::function_camera(const Arguments& args) {
    check_arguments(args, 1, 3, "function_camera takes 1, 2 or 3 arguments");
    const Point target(to_int(args[0]), args.size() > 1 ? to_int(args[1]) : 0);
    auto camera = m_content.get<Component::Position>(Key::camera_position);

    if (args.size() < 3) {
        // an eased glide of one second that the action does not wait for
        m_content.set<Component::GUI_position_animation>(Key::camera_animation, now, now + 1.0,
                                                         camera, target);
        return true;
    }
    const double duration = to_double(args[2]);
    if (duration == 0) {
        camera->set(target);
        return true;
    }
    holder(current_action, "camera")
        .schedule(now + duration, std::make_shared<Component::Base>("Camera", "dummy"));
    m_content.set<Component::Tuple<Point, Point, double, double>>(
        "Camera", "move60fps", camera->value(), target, now, now + duration);
    return true;
}

bool Logic::function_zoom(const Arguments& args) {
    check_arguments(args, 1, 2, "function_zoom takes 1 or 2 argument(s)");
    const double factor = to_double(args[0]);
    auto zoom = m_content.get<Component::Simple<double>>(Key::camera_zoom);

    if (args.size() == 1) {
        zoom->set(factor);
        return true;
    }
    const double duration = to_double(args[1]);
    holder(current_action, "zoom")
        .schedule(now + duration, std::make_shared<Component::Base>("Camera_zoom", "dummy"));
    m_content.set<Component::Array<double, 4>>(Key::camera_change_zoom, zoom->value(), factor, now,
                                               now + duration);
    return true;
}

bool Logic::function_move(const Arguments& args) {
    check_arguments(args, 4, 5, "function_move takes 4 or 5 arguments");
    const std::string& id = args[0];
    const Point target(to_int(args[1]), to_int(args[2]));

    if (m_content.request<Component::Simple<std::string>>(id, "color")) {
        // a character: placed at once, never moved over time
        bool right = false;
        if (args.size() == 4) {
            right = to_bool(args[3]);
            remove(id, "z", true);
            remove(id, "z_rescaled", true);
        } else {
            if (is_relative(args[3]))
                m_content.set<Component::Base>(id, "z_rescaled");
            else // an absolute depth keeps the scale of 1.0 that a fixed depth gives
                remove(id, "z_rescaled", true);
            right = to_bool(args[4]);
            m_content.set<Component::Simple<int>>(id, "z", to_int(args[3]));
        }
        // placed again: the depth (from the ground map, or the fixed one) and the scale follow
        emit(id, "needs_rescale");
        remove(id, "path", true);
        m_content.get<Component::Position>(id, "position")->set(target);
        if (m_content.request<Component::Group>(id, "group"))
            m_content.set<Component::Absolute_position>(id, "lookat",
                                                        right ? Point::right() : Point::left());
        return true;
    }

    const int z = to_int(args[3]);
    auto position = m_content.get<Component::Position>(id, "position");
    auto image = m_content.get<Component::Image>(id, "image");
    if (args.size() == 4) {
        position->set(target);
        image->z() = z;
        return true;
    }
    const double start = frame_time(now);
    const double end = start + to_double(args[4]);
    Component::Action& action = holder(current_action, "move");
    action.schedule(end, end_event());
    auto move = m_content.set<Component::Tuple<Point, Point, int, int, double, double>>(
        id, "move", position->value(), target, image->z(), z, start, end);
    // one animation frame past the end, so that the last placement is drawn before it goes
    action.schedule(end + 1.0 / 12, move);
    return true;
}

bool Logic::function_rescale(const Arguments& args) {
    check_arguments(args, 2, 3, "function_rescale takes 2 or 3 arguments");
    const double scale = to_double(args[1]);
    auto image = m_content.get<Component::Image>(args[0], "image");

    if (args.size() == 2) {
        image->set_scale(scale);
        return true;
    }
    // whole animation frames, ending half a frame past the last tick
    const int frames = round(12 * to_double(args[2]));
    const double start = frame_time(now);
    const double end = start + (frames + 0.5) / 12;
    Component::Action& action = holder(current_action, "rescale");
    action.schedule(end, end_event());
    action.schedule(end, m_content.set<Component::Tuple<double, double, double, double>>(
                             args[0], "rescale", image->scale(), scale, start, end));
    return true;
}

} // namespace Orvane::System
