#include <array>
#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Path.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Logic.h>
#include <Orvane/Utils/geometry.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

namespace {

using Move = Component::Tuple<Point, Point, int, int, double, double>;
using Move60fps = Component::Tuple<Point, Point, double, double>;
using Rescale = Component::Tuple<double, double, double, double>;

/// "true" when the character's head shows its right-facing row (row 0 of its first frame).
std::string facing(const Component::Animation& head) {
    return head.faces_right() ? "true" : "false";
}

/// The words of a console line, split at blanks.
std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::string word;
    for (char c : line) {
        if (c == ' ' || c == '\t') {
            if (!word.empty())
                out.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        out.push_back(std::move(word));
    return out;
}

} // namespace

bool Logic::skip_cutscene() {
    auto game_status = status();
    // outside a cutscene the request is left for later, not consumed
    if (!game_status || !game_status->is(Orvane::Status::CUTSCENE))
        return false;
    if (!receive(Key::game_skip_cutscene))
        return false;

    clear_notifications(true);
    game_status->pop();

    // function_move removes the path of the walker it places: walk a snapshot of the walks
    m_content.walk("path", [&](const Content::Component_ptr& c) {
        const std::string id = c->entity();
        if (auto path = Component::cast<Component::Path>(c); path && path->size() > 0) {
            const Point last = (*path)[path->size() - 1];
            auto head = m_content.get<Component::Animation>(Key::head(id), "image");
            place_walker(id, last, facing(*head));
        }
        emit(id, "stop_walking");
        remove(c, true);
    });

    m_content.walk("move", [&](const Content::Component_ptr& c) {
        if (auto move = Component::cast<Move>(c)) {
            m_content.get<Component::Position>(c->entity(), "position")
                ->set(std::get<1>(move->value()));
            m_content.get<Component::Image>(c->entity(), "image")->z() = std::get<3>(move->value());
        }
        remove(c, true);
    });
    m_content.walk("move60fps", [&](const Content::Component_ptr& c) {
        if (auto move = Component::cast<Move60fps>(c))
            m_content.get<Component::Position>(c->entity(), "position")
                ->set(std::get<1>(move->value()));
        remove(c, true);
    });
    for (const char* name : {"rescale", "rescale60fps"})
        m_content.walk(name, [&](const Content::Component_ptr& c) {
            if (auto rescale = Component::cast<Rescale>(c))
                m_content.get<Component::Image>(c->entity(), "image")
                    ->set_scale(std::get<1>(rescale->value()));
            remove(c, true);
        });

    if (auto change = m_content.request<Component::Array<double, 4>>(Key::camera_change_zoom)) {
        m_content.get<Component::Simple<double>>(Key::camera_zoom)->set(change->value()[1]);
        remove(Key::camera_change_zoom);
    }
    return true;
}

bool Logic::skip_to_unlock(const std::shared_ptr<Component::Action>& action) {
    current_action = action;
    while (action->on()) {
        const Component::Action::Step step = action->next_step();
        if (step.function() == "unlock")
            return true;
        // the step that ends the action is skipped too: its end state counts like the others'
        skip_step(step);
    }
    return false;
}

void Logic::skip_step(const Component::Action::Step& step) {
    const std::string& keyword = step.function();
    const Arguments& args = step.args();

    if (keyword == "move") {
        check_arguments(args, 4, 5, "function_move takes 4 or 5 arguments");
        // a character is never moved over time: its fifth argument is its facing, kept
        const bool timed_item =
            args.size() == 5 &&
            !m_content.request<Component::Simple<std::string>>(args[0], "color");
        function_move(timed_item ? Arguments(args.begin(), args.begin() + 4) : args);
    } else if (keyword == "move60fps") {
        check_arguments(args, 5, 5, "function_move60fps takes 5 arguments");
        // played, it changes the position only, never the depth
        m_content.get<Component::Position>(args[0], "position")
            ->set(Point(to_int(args[1]), to_int(args[2])));
    } else if (keyword == "goto") {
        skip_goto(args);
    } else if (keyword == "rescale") {
        check_arguments(args, 2, 3, "function_rescale takes 2 or 3 arguments");
        function_rescale({args[0], args[1]});
    } else if (keyword == "rescale60fps") {
        check_arguments(args, 3, 3, "function_rescale60fps takes 3 arguments");
        function_rescale({args[0], args[1]});
    } else if (keyword == "camera") {
        check_arguments(args, 1, 3, "function_camera takes 1, 2 or 3 arguments");
        function_camera({args[0], args.size() > 1 ? args[1] : "0", "0"});
    } else if (keyword == "hide") {
        check_arguments(args, 1, 1, "function_hide takes 1 argument");
        // a player's image selects nothing, yet its group hides it
        if (m_content.request<Component::Group>(args[0], "group") ||
            m_content.request<Component::Image>(args[0], "image"))
            function_hide(args);
    } else if (keyword == "stop") {
        function_stop(args);
    } else if (keyword == "set") {
        function_set(args);
    } else if (keyword == "set12fps") {
        check_arguments(args, 2, 2, "function_set12fps takes 2 arguments");
        function_set(args);
    } else if (keyword == "zoom") {
        check_arguments(args, 1, 2, "function_zoom takes 1 or 2 argument(s)");
        function_zoom({args[0]});
    }
    // any other step has no end state of its own: it is dropped
}

void Logic::skip_goto(const Arguments& args) {
    check_arguments(args, 0, 3, "function_goto takes at most 3 arguments");
    // walker and target as function_goto finds them
    std::string walker;
    Arguments rest = args;
    if (!args.empty() && m_content.request<Component::Base>(args[0] + "_head", "image")) {
        walker = args[0];
        rest.erase(rest.begin());
    } else {
        walker = value<Component::Simple<std::string>>(Key::player_name);
    }

    Point target;
    if (rest.size() == 2) {
        target = Point(to_int(rest[0]), to_int(rest[1]));
    } else {
        std::string item;
        if (!rest.empty()) {
            item = rest[0];
        } else if (auto action = m_content.request<Component::Action>(Key::character_action)) {
            item = action->target_entity();
        }
        auto view = item.empty() ? nullptr : m_content.request<Component::Position>(item, "view");
        if (!view)
            return; // nowhere to walk to: the walk would not have started either
        target = view->value();
    }
    place_walker(walker, target, "true");
}

void Logic::place_walker(const std::string& id, const Point& point, const std::string& right) {
    Arguments args{id, std::to_string(point.X()), std::to_string(point.Y())};
    if (auto z = m_content.request<Component::Simple<int>>(id, "z")) {
        // the five-argument form keeps the fixed depth; a "+" keeps its rescaling marker
        const bool rescaled = m_content.request<Component::Base>(id, "z_rescaled") != nullptr;
        args.push_back((rescaled && z->value() >= 0 ? "+" : "") + std::to_string(z->value()));
    }
    args.push_back(right);
    function_move(args);
}

void Logic::update_debug_info(std::shared_ptr<Component::Debug> debug) {
    if (!debug)
        return;
    if (debug->value()) {
        auto font = m_content.get<Component::Font>(Key::debug_font);
        auto image =
            m_content.set<Component::Image>("Debug", "image", font, "FFFFFF", debug->debug_str());
        image->z() = Config::Depth::TOPMOST;
        m_content.set<Component::Absolute_position>("Debug", "position", Point(0, 0));
    } else if (auto image = m_content.request<Component::Image>("Debug", "image")) {
        image->on() = false;
    }
}

void Logic::console_action(std::shared_ptr<Component::Simple<std::string>> line) {
    const std::vector<std::string> parts = line ? words(line->value()) : std::vector<std::string>{};
    // "info" names a component to look at in a debugger: nothing happens here
    if (!parts.empty() && parts[0] != "info" && step_handlers.count(parts[0])) {
        auto action = m_content.set<Component::Action>("Console", "action");
        action->add(parts[0], Arguments(parts.begin() + 1, parts.end()));
        action->launch();
    }
    remove(Key::test_console_action, true);
}

} // namespace Orvane::System
