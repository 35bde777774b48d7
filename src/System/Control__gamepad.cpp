#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Control.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::System {

namespace {

using Text = Component::Simple<std::string>;
using Names = Component::Vector<std::string>;

// Reach of the player around an object's view point, scaled by the object's reach factor.
constexpr double reach_x = 250;
constexpr double reach_y = 100;
// Extra distance, not scaled, within which an object already listed stays listed.
constexpr double stay_band = 20;
// Width per byte of a label's text, and its fixed part (both scaled by the interface scale).
constexpr double label_width_per_byte = 16;
constexpr double label_width_fixed = 50;
constexpr double label_margin = 5;
constexpr double label_height = 50;
// A walk-to object's label carries an arrow of this width.
constexpr double goto_arrow = 50;
// The rumble of a press that did something: intensity, then seconds.
constexpr double rumble_intensity = 0.05;
constexpr double rumble_seconds = 0.05;

struct Box {
    double left;
    double right;
    double top;
    double bottom;
};

// Boxes that only touch overlap.
bool overlap(const Box& u, const Box& w) {
    return !(w.left > u.right || u.left > w.right || w.top > u.bottom || u.top > w.bottom);
}

bool named(const std::vector<std::string>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

void Control::idle_gamepad() {
    if (signal(Key::stick_moved)) {
        remove(Key::player_not_moved_yet, true);
        emit(Key::cancel_action);
    }

    idle_sub_update_active_objects();

    if (auto right = m_content.request<Component::Boolean>(Key::switch_right)) {
        idle_sub_switch_active_object(right->value());
        remove(right);
    }

    const auto stop_player = [this] {
        const std::string player = value<Text>(Key::player_name);
        remove(player, "path", true);
        emit(player, "stop_walking");
    };

    if (receive(Key::action_inventory)) {
        // both steps now: the remembered status already matches, so the next frame runs none
        m_status = Orvane::Status::IN_INVENTORY;
        status()->push(Orvane::Status::IN_INVENTORY);
        end_status(Orvane::Status::IDLE);
        begin_status(Orvane::Status::IN_INVENTORY);
        click_and_rumble();
        emit(Key::cancel_action);
        stop_player();
    } else if (receive(Key::action_look)) {
        emit(Key::cancel_action);
        stop_player();
        if (auto current = m_content.request<Text>(Key::interface_active_object)) {
            const std::string id = current->value();
            if (m_content.request<Component::Boolean>(Key::go_to(id), "right")) {
                set_action(Key::go_to(id), "Default_goto");
            } else {
                set<Text>(Key::interface_action_choice_target, id);
                status()->push(Orvane::Status::ACTION);
            }
            click_and_rumble();
        }
    }

    flush_gamepad_keys();
}

void Control::collect_active_objects() {
    m_candidates.clear();
    if (signal(Key::player_not_moved_yet))
        return;
    auto player = m_content.request<Text>(Key::player_name);
    if (!player || player->value().empty())
        return;
    m_scratch.assign(player->value());
    m_scratch += "_body";
    const Point body = m_content.get<Component::Position>(m_scratch, "position")->value();

    auto listed = m_content.request<Names>(Key::interface_active_objects);
    auto follower_component = m_content.request<Text>(Key::follower_name);
    const std::string* follower = follower_component && !follower_component->value().empty()
                                      ? &follower_component->value()
                                      : nullptr;
    bool follower_in_reach = false;
    double follower_x = 0;

    for (const auto& [key, c] : components("label")) {
        auto label = Component::cast<Component::Position>(c);
        if (!label)
            continue;
        const std::string& id = c->entity();
        // the player is never an object of her own choices
        if (id == player->value())
            continue;
        const Point view = m_content.get<Component::Position>(id, "view")->value();
        const double dx = std::abs(body.x() - view.x());
        const double dy = std::abs(body.y() - view.y());
        const double r = m_content.value<Component::Simple<double>>(id, "reach_factor", 1.0);
        if (dx > reach_x * r + stay_band || dy > reach_y * r + stay_band)
            continue;
        auto image = m_content.request<Component::Image>(id, "image");
        if (!image || !image->on())
            continue;
        if (std::string_view(m_content.get<Text>(id, "state")->value()).starts_with("inventory"))
            continue;
        const bool in_reach = dx <= reach_x * r && dy <= reach_y * r;
        // in the band beyond the reach, only what was listed last frame stays
        if (!in_reach && !(listed && named(listed->value(), id)))
            continue;
        if (follower != nullptr && id == *follower) {
            follower_in_reach = true;
            follower_x = label->value().x();
            continue;
        }
        m_candidates.push_back({label->value().x(), &id});
    }

    // a still follower joins unless its label would cover another one's; a walking one never
    if (follower_in_reach && !m_content.request<Component::Base>(*follower, "path") &&
        !follower_box_overlaps(*follower, m_candidates.size()))
        m_candidates.push_back({follower_x, follower});

    // equal x by name, so that the order holds from frame to frame
    std::sort(m_candidates.begin(), m_candidates.end(),
              [](const Candidate& a, const Candidate& b) {
                  return a.x < b.x || (a.x == b.x && *a.name < *b.name);
              });
}

bool Control::follower_box_overlaps(const std::string& follower, std::size_t count) {
    const double scale = Config::interface_scale;
    const auto box_of = [&](const std::string& id) {
        const std::size_t bytes = locale_get(id, "name").size();
        const Point q = m_content.get<Component::Position>(id, "position")->value();
        const double w = (label_width_per_byte * static_cast<double>(bytes) + label_width_fixed) *
                         scale;
        const double m = std::trunc(label_margin * scale);
        const double g = label_height * scale;
        Box box{q.x() - m, q.x() + m, q.y() - m - 0.75 * g, q.y() + m + 0.75 * g};
        if (auto right = m_content.request<Component::Boolean>(Key::go_to(id), "right")) {
            if (right->value())
                box.left -= w + goto_arrow;
            else
                box.right += w + goto_arrow;
        } else {
            box.left -= w / 2;
            box.right += w / 2;
        }
        return box;
    };
    if (count == 0)
        return false;
    const Box own = box_of(follower);
    for (std::size_t i = 0; i < count; ++i)
        if (overlap(own, box_of(*m_candidates[i].name)))
            return true;
    return false;
}

std::vector<std::string> Control::detect_active_objects() {
    collect_active_objects();
    std::vector<std::string> names;
    names.reserve(m_candidates.size());
    for (const Candidate& c : m_candidates)
        names.push_back(*c.name);
    return names;
}

void Control::idle_sub_update_active_objects() {
    collect_active_objects();
    auto listed = m_content.request<Names>(Key::interface_active_objects);
    const auto same_as_listed = [&] {
        const std::vector<std::string>& names = listed->value();
        if (names.size() != m_candidates.size())
            return false;
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] != *m_candidates[i].name)
                return false;
        return true;
    };

    if (m_candidates.empty()) {
        remove(Key::interface_active_objects, true);
        remove(Key::interface_active_object, true);
    } else if (!(listed && same_as_listed())) {
        std::vector<std::string> names;
        names.reserve(m_candidates.size());
        for (const Candidate& c : m_candidates)
            names.push_back(*c.name);
        // a current object still listed stays current
        if (auto current = m_content.request<Text>(Key::interface_active_object)) {
            if (!named(names, current->value()))
                current->set(names.front());
        } else {
            set<Text>(Key::interface_active_object, names.front());
        }
        if (listed)
            listed->set(names);
        else
            set<Names>(Key::interface_active_objects, names);
    }

    // back in IDLE, the object current before becomes current again while it is listed
    if (auto previous = m_content.request<Text>(Key::interface_previous_active_object)) {
        auto now_listed = m_content.request<Names>(Key::interface_active_objects);
        if (now_listed && named(now_listed->value(), previous->value()))
            set<Text>(Key::interface_active_object, previous->value());
        remove(previous);
    }
}

void Control::idle_sub_switch_active_object(bool right) {
    auto listed = m_content.request<Names>(Key::interface_active_objects);
    if (!listed || listed->value().size() < 2)
        return;
    auto current = m_content.request<Text>(Key::interface_active_object);
    if (!current)
        return;
    const std::vector<std::string>& names = listed->value();
    const auto found = std::find(names.begin(), names.end(), current->value());
    if (found == names.end())
        return;
    const std::size_t n = names.size();
    const auto i = static_cast<std::size_t>(found - names.begin());
    current->set(names[right ? (i + 1) % n : (i + n - 1) % n]);
}

void Control::click_and_rumble() {
    emit(Key::click_play_sound);
    set<Component::Pair<double, double>>(Key::gamepad_rumble, rumble_intensity, rumble_seconds);
}

void Control::flush_gamepad_keys() {
    receive(Key::action_move);
    receive(Key::action_take);
    receive(Key::action_inventory);
    receive(Key::action_look);
    remove(Key::switch_right, true);
}

} // namespace Orvane::System
