#include <cmath>
#include <cstdint>
#include <ctime>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Third_party/Yaml_writer.h>
#include <Orvane/Utils/error.h>

#include "File_IO__save.h"

namespace Orvane::System {

using Third_party::Yaml_writer;

namespace {

// A state that any reader takes back as written without quotes: letters, digits, '_', '-'
// and '.', beginning with a letter, a digit or '_' (a lone "-" would read as a list entry).
bool is_plain(const std::string& text) {
    if (text.empty())
        return false;
    auto word = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    };
    if (!word(text[0]))
        return false;
    for (char c : text)
        if (!word(c) && c != '-' && c != '.')
            return false;
    return true;
}

std::string plain_or_quoted(const std::string& text) {
    return is_plain(text) ? text : Yaml_writer::quoted(text);
}

// A position rounded to whole pixels, halves away from zero; nothing when it does not fit.
std::optional<int> whole_pixel(double v) {
    const double rounded = std::round(v);
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<int>::min() ||
        rounded > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(rounded);
}

// Whether `c` is the component of that name (the maps share one map among many names).
bool named(const Content::Component_ptr& c, const char* name) { return c->component() == name; }

} // namespace

void File_IO::write_savefile() {
    const std::string slot =
        m_content.get<Component::Simple<std::string>>(Key::savegame_id)->value();
    remove(Key::savegame_id);
    if (!is_save_id(slot)) {
        warning("Savegame:id \"" + slot + "\" is not a save slot; nothing is saved");
        return;
    }

    const std::int64_t date = static_cast<std::int64_t>(std::time(nullptr));
    const double time =
        m_content.value<Component::Simple<double>>(Fast_access_component::CLOCK_SAVED_TIME) +
        m_content.value<Component::Simple<double>>(Fast_access_component::CLOCK_TIME) -
        m_content.value<Component::Simple<double>>(Fast_access_component::CLOCK_DISCOUNTED_TIME);
    const std::string room_name =
        value<Component::Simple<std::string>>(Key::game_current_room_name);

    Yaml_writer out;
    out.write("date", date);
    out.write("time", time);
    out.write("room", value<Component::Simple<std::string>>(Key::game_current_room));
    out.write("player", value<Component::Simple<std::string>>(Key::player_name));
    if (auto follower = m_content.request<Component::Simple<std::string>>(Key::follower_name))
        out.write("follower", follower->value());
    auto camera = m_content.request<Component::Position>(Fast_access_component::CAMERA_POSITION);
    out.write("camera", camera ? camera->value().x() : 0.0);

    out.start_section("inventory");
    for (const std::string& item : *m_content.get<Component::Inventory>(Key::game_inventory))
        out.write_list_item(item);
    out.end_section();
    if (auto phones = m_content.request<Component::Vector<std::string>>(Key::phone_numbers_list))
        out.write("phone_numbers", phones->value());

    if (auto current = m_content.request<Component::Music>(Key::game_music))
        if (auto music = m_content.request<Component::Music>(current->entity(), "music")) {
            out.write("music", music->entity());
            out.start_section("music_disabled_sources");
            for (const auto& [id, source] : music->sources())
                if (source.state == Component::Music::Source_state::OFF)
                    out.write_list_item(id);
            out.end_section();
        }

    out.start_section("music_positions");
    for (const auto& [key, c] : components("resume_at"))
        if (named(c, "resume_at"))
            if (auto at = Component::cast<Component::Simple<double>>(c))
                out.write_list_item("id", c->entity(), "value", at->value());
    out.end_section();

    if (auto dialog = m_content.request<Component::Simple<std::string>>(Key::game_current_dialog)) {
        out.write("dialog", dialog->value());
        out.write("dialog_position", value<Component::Simple<int>>(Key::game_dialog_position));
    }

    out.start_section("characters");
    for (const auto& [key, c] : components("group")) {
        if (!named(c, "group") || c->is_system())
            continue;
        const std::string& e = c->entity();
        auto head = m_content.request<Component::Animation>(Key::head(e), "image");
        if (!head)
            continue;
        const bool right = head->faces_right();
        auto animation = m_content.request<Component::Simple<std::string>>(e, "animation");
        if (animation && animation->value() != "action")
            out.write_list_item("id", e, "value", right, "animation", animation->value());
        else
            out.write_list_item("id", e, "value", right);
    }
    out.end_section();

    out.start_section("states");
    for (const auto& [key, c] : components("state")) {
        if (!named(c, "state") || c->is_system())
            continue;
        auto state = Component::cast<Component::Simple<std::string>>(c);
        auto pending = m_content.request<Component::Simple<std::string>>(c->entity(), "set_state");
        if (state && (c->was_altered() || state->was_altered() || pending))
            out.write_list_item("id", c->entity(), "value",
                                plain_or_quoted(pending ? pending->value() : state->value()));
    }
    out.end_section();

    out.start_section("signals");
    for (const auto& [key, c] : components("signal"))
        if (named(c, "signal") && !c->is_system() && Component::cast<Component::Signal>(c))
            out.write_list_item(c->entity());
    out.end_section();

    if (auto list = m_content.request<Component::Vector<std::string>>(Key::achievements_list)) {
        out.start_section("achievements");
        for (const std::string& id : list->value())
            if (signal(id, "done"))
                out.write_list_item("id", id, "stored", signal(id, "stored"));
        out.end_section();
    }

    out.start_section("positions");
    for (const auto& [key, c] : components("position")) {
        if (!named(c, "position") || c->is_system() || !c->was_altered())
            continue;
        auto position = Component::cast<Component::Position>(c);
        if (!position)
            continue;
        const Point p = position->value();
        const std::optional<int> x = whole_pixel(p.x());
        const std::optional<int> y = whole_pixel(p.y());
        if (!x || !y) {
            warning("Save: the position of " + c->entity() + " is not a number; not saved");
            continue;
        }
        std::vector<std::string> items = {std::to_string(*x), std::to_string(*y)};
        if (auto z = m_content.request<Component::Simple<int>>(c->entity(), "z"))
            items.push_back(
                (m_content.request<Component::Base>(c->entity(), "z_rescaled") ? "+" : "") +
                std::to_string(z->value()));
        out.write_list_item("id", c->entity(), "value", items);
    }
    out.end_section();

    out.start_section("integers");
    for (const auto& [key, c] : components("value")) {
        if (!named(c, "value") || c->is_system())
            continue;
        auto integer = Component::cast<Component::Simple<int>>(c);
        if (integer && (c->was_altered() || integer->was_altered()))
            out.write_list_item("id", c->entity(), "value", integer->value());
    }
    out.end_section();

    std::set<std::string> hidden;
    for (const auto& [key, c] : components("group"))
        if (named(c, "group") && !c->is_system())
            if (auto body =
                    m_content.request<Component::Animation>(Key::body(c->entity()), "image"))
                if (!body->on())
                    hidden.insert(c->entity());
    for (const auto& [key, c] : components("set_hidden"))
        if (named(c, "set_hidden"))
            hidden.insert(c->entity());
    out.start_section("hidden");
    for (const std::string& e : hidden)
        if (!signal(e, "set_visible"))
            out.write_list_item(e);
    out.end_section();

    out.start_section("active_animations");
    for (const auto& [key, c] : components("image")) {
        if (!named(c, "image") || c->is_system())
            continue;
        auto animation = Component::cast<Component::Animation>(c);
        if (!animation || !animation->loop())
            continue;
        const std::string& e = c->entity();
        if ((animation->on() || signal(e, "start_animation")) && !signal(e, "stop_animation") &&
            m_content.value<Component::Simple<std::string>>(e, "state", "") == "Dummy")
            out.write_list_item(e);
    }
    out.end_section();

    // Everything is gathered: only now is the file written. It replaces the slot's previous
    // file only once it is complete; a save that could not be written is not reported as made.
    if (!out.save(save_file_name(m_content, slot)))
        return;

    m_content.set<Component::Tuple<std::string, double, std::int64_t>>(Key::save_slot(slot), "info",
                                                                       room_name, time, date);
    emit(Key::saves_have_changed);
}

} // namespace Orvane::System
