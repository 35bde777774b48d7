#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Dialog.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Logic.h>
#include <Orvane/Utils/Speech_layout.h>
#include <Orvane/Utils/View.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

namespace {

using Component::Action;
using String = Component::Simple<std::string>;

std::string comment(std::size_t n) { return "Comment_" + std::to_string(n); }

/// Speech is drawn at three quarters of the interface scale.
double speech_scale() { return Config::interface_scale * 0.75; }

} // namespace

bool Logic::subfunction_trigger_dialog(const Arguments& args) {
    // copied: the step's arguments live in the action whose steps are replaced below
    const std::string id = args.at(0);
    const bool cont = args.size() >= 2 && args[1] == "continue";
    auto dialog = m_content.get<Component::Dialog>(id, "dialog");
    auto act = m_content.get<Action>(Key::logic_action);
    // its schedule stays: what earlier steps put there (a lock's timers) still ends on time
    act->clear_steps();
    auto game_status = status();

    if (args.size() < 2) {
        if (game_status->is(Status::IN_INVENTORY))
            game_status->pop();
        game_status->push(Status::LOCKED);
        if (auto saved =
                m_content.request<Component::Simple<int>>(Key::saved_game_dialog_position)) {
            const int vertex = saved->value();
            dialog->init(vertex < 0 ? Component::Dialog::Vertex_handle()
                                    : Component::Dialog::Vertex_handle(std::size_t(vertex)));
            remove(Key::saved_game_dialog_position);
        } else {
            dialog->init();
        }
    } else if (auto choice = m_content.request<Component::Simple<int>>(Key::dialog_choice)) {
        const int n = choice->value();
        remove(Key::dialog_choice);
        auto offered = m_content.request<Component::Vector<std::string>>(Key::dialog_choices);
        const std::size_t count = offered ? offered->value().size() : 0;
        // a pick outside the offered lines is dropped: the same choices come again below
        if (n >= 0 && std::size_t(n) < count) {
            if (dialog->is_displayed(n)) {
                act->add("talk", {offered->value()[std::size_t(n)]});
                act->add("wait", {});
            }
            const std::string said = dialog->next(n);
            if (!said.empty())
                emit(said, "signal");
        }
    } else if (cont) {
        dialog->next();
    }

    bool ended = dialog->is_over();
    if (!ended && dialog->is_line()) {
        const auto [speaker, text] = dialog->line();
        const std::string player = value<String>(Key::player_name);
        if (speaker != player && speaker != "Hinter")
            act->add("look", {speaker});
        if (auto follower = m_content.request<String>(Key::follower_name)) {
            const std::string f = follower->value();
            if (speaker != f && speaker != "Hinter")
                act->add("look", {f, speaker});
        }
        act->add("talk", {speaker, text});
        if (dialog->has_signal()) {
            const std::string g = dialog->signal();
            act->add(startswith(g, "ACH_") ? "notify" : "emit", {g});
        }
        act->add("wait", {});
        act->add("trigger", {id, "continue"});
    } else if (!ended && act->size() > 0) {
        // the picked line is said first; the next choices come after it
        act->add("trigger", {id, "no_next_continue"});
    } else if (!ended) {
        std::vector<std::string> lines;
        dialog->get_choices(lines, m_content);
        if (lines.empty()) {
            // nothing to pick: the dialog ends here rather than wait for good
            ended = true;
        } else {
            m_content.set<Component::Simple<int>>(Key::game_dialog_position,
                                                  static_cast<int>(std::size_t(dialog->current())));
            game_status->push(Status::DIALOG);
            m_content.set<Component::Vector<std::string>>(Key::dialog_choices, lines);
            act->add("trigger", {id, "continue"});
            m_content.set<String>(Key::game_current_dialog, id);
        }
    }

    if (ended) {
        game_status->pop();
        const std::string end = dialog->graph().vertex(dialog->vertex_out()).character;
        if (!end.empty()) {
            // the end action takes over at once: a picked line leading here is not said
            act->clear_steps();
            auto end_action = m_content.get<Action>(end, "action");
            launch_action(end_action);
            run_list.push_back(end_action);
            return false;
        }
    }

    if (act->size() > 0)
        m_content.set<Component::Variable>(Key::character_triggered_action, act);
    return false;
}

void Logic::create_dialog(const std::string& id, const std::string& text,
                          std::vector<std::shared_ptr<Component::Image>>& images) {
    for (std::size_t n = 0; remove(comment(n), "image", true); ++n) {
    }
    m_content.set<Component::Simple<double>>(Key::dialog_creation_time, now);

    const int widest = Speech::max_line_width(value<Component::Simple<int>>(Key::interface_scale));
    const double s = speech_scale();
    auto font = m_content.get<Component::Font>(Key::dialog_font);
    const std::string color = value<String>(id, "color");

    const std::vector<std::string> lines =
        Speech::split_lines(text, Speech::line_cuts(text, s, widest));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto image =
            m_content.set<Component::Image>(comment(i), "image", font, color, lines[i], true);
        image->set_scale(s);
        image->set_relative_origin(0.5, 0.5);
        image->z() = Config::Depth::DIALOG_LINES;
        images.push_back(image);
    }
}

bool Logic::function_talk(const Arguments& args) {
    check_arguments(args, 1, 3, "function_talk takes 1, 2 or 3 arguments");
    const std::string player = value<String>(Key::player_name);
    const std::string speaker = args.size() == 1 ? player : args[0];
    std::string text = locale(args.size() == 1 ? args[0] : args[1]);
    if (speaker == "Hinter")
        text = "*" + text + "*";

    std::vector<std::shared_ptr<Component::Image>> images;
    create_dialog(speaker, text, images);

    const std::size_t bytes = text.size();
    const double lifetime = Speech::line_lifetime(
        args.size() == 3
            ? to_double(args[2])
            : Speech::reading_time(bytes, value<Component::Simple<int>>(Key::dialog_speed)));

    // The narrator speaks above the player.
    const std::string placed = speaker == "Hinter" ? player : speaker;
    const View view = camera_view(m_content);
    Point anchor;
    if (auto relative = m_content.request<Component::Position>(placed, "relative_label")) {
        auto body = m_content.request<Component::Image>(Key::body(placed), "image");
        const double b = body ? body->scale() : 1.0;
        const Point p = m_content.get<Component::Position>(placed, "position")->value();
        const Point r = relative->value();
        anchor = view.to_screen(Point(p.x() + r.x() * b, p.y() + r.y() * b), false);
    } else {
        auto label = m_content.request<Component::Position>(speaker, "label");
        if (!label)
            label = m_content.get<Component::Position>(player, "label");
        anchor = view.to_screen(label->value(), label->is_interface());
    }

    const double s = speech_scale();
    std::vector<int> widths;
    for (const auto& image : images)
        widths.push_back(image->width());
    const Speech::Placement placement = Speech::place_lines(anchor, widths, s);

    auto on = current_action ? current_action : m_content.get<Action>(Key::logic_action);
    for (std::size_t i = 0; i < images.size(); ++i) {
        if (placement.shrink != 1)
            images[i]->set_scale(s * placement.shrink);
        m_content.set<Component::Absolute_position>(comment(i), "position",
                                                    Point(placement.x, placement.y[i]), true);
        on->schedule(now + lifetime, images[i]);
    }

    // Only a speaker with a head has a mouth to move: the narrator, or a character whose
    // pictures are not loaded, has none.
    if (m_content.request<Component::Base>(Key::head(speaker), "image")) {
        emit(speaker, "start_talking");
        on->schedule(now + Speech::talking_time(bytes),
                     std::make_shared<Component::Signal>(speaker, "stop_talking"));
    }
    return true;
}

} // namespace Orvane::System
