#pragma once

// Playing a game with a virtual controller through SDL's queue, as a player would: steering the
// player with the left stick, pressing buttons one frame at a time, making an object or an item
// current with the shoulders, and walking a menu page to an entry. Every helper reads the store
// only to know when to stop, never to act: what it does, a player's hands could do.
//
// Each helper returns false when it gave up (the budget spent, the name never reached, or the
// engine's run ended); a test asserts on that, and the play driver reports it.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <SDL.h>

#include <Orvane/Component/Code.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>
#include <Orvane/Keys.h>
#include <Orvane/Utils/geometry.h>

#include "Sdl_input.h"
#include "Virtual_controller.h"

namespace Orvane::Test {

/// Steers Mara with the left stick toward a scene point until `done` holds: the stick is aimed
/// anew every few frames, and let go at the end.
inline bool steer(Sdl_input& input, Virtual_controller& pad, Content& content, Point target,
                  const std::function<bool(Content&)>& done, int budget) {
    bool reached = false;
    for (int leg = 0; leg < budget / 6 && !reached && !input.ended(); ++leg) {
        const Point mara = content.get<Component::Position>("mara_body", "position")->value();
        Vector d(mara, target);
        if (d.length() > 1)
            d.normalize();
        pad.set_axis(SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(d.x() * 30000));
        pad.set_axis(SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(d.y() * 30000));
        reached = input.run_until(done, 6);
    }
    pad.set_axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    pad.set_axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    input.run(2);
    return reached;
}

/// A controller button pressed in one frame and released in the next.
inline void press(Sdl_input& input, Virtual_controller& pad, SDL_GameControllerButton b) {
    pad.set_button(b, true);
    input.run(1);
    pad.set_button(b, false);
    input.run(1);
}

/// The left stick pushed fully toward (dx, dy) for one frame, then back to rest for one: one
/// step of a highlight that the stick moves (a code lock's button, a dialog line, a menu entry).
inline void flick(Sdl_input& input, Virtual_controller& pad, double dx, double dy) {
    pad.set_axis(SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(dx * 32000));
    pad.set_axis(SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(dy * 32000));
    input.run(1);
    pad.set_axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    pad.set_axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    input.run(1);
}

/// In the open code lock (Game:code), flicks the stick sideways until the hovered button is
/// the one of `value`, then presses `confirm`. False when no button of that value could be
/// hovered within `steps` flicks.
inline bool code_press(Sdl_input& input, Virtual_controller& pad, Content& content,
                       const std::string& value,
                       SDL_GameControllerButton confirm = SDL_CONTROLLER_BUTTON_A,
                       int steps = 8) {
    const auto hovered = [&]() -> std::int64_t {
        auto code = content.request<Component::Code>(Key::game_code);
        return code ? code->hovered() : -1;
    };
    const auto target = [&]() -> std::int64_t {
        auto code = content.request<Component::Code>(Key::game_code);
        if (!code)
            return -1;
        for (std::size_t i = 0; i < code->buttons().size(); ++i)
            if (code->buttons()[i].value == value)
                return static_cast<std::int64_t>(i);
        return -1;
    };
    const std::int64_t want = target();
    if (want < 0)
        return false;
    for (int i = 0; i < steps && hovered() != want && !input.ended(); ++i)
        flick(input, pad, hovered() < want ? 1 : -1, 0);
    if (hovered() != want)
        return false;
    press(input, pad, confirm);
    return true;
}

/// In an open dialog choice, flicks the stick down until the highlighted line
/// (Interface:active_dialog_item into Dialog:choices) is `line`, in the game's source
/// language, then presses `confirm`. False when the line is not offered.
inline bool dialog_choose(Sdl_input& input, Virtual_controller& pad, Content& content,
                          const std::string& line,
                          SDL_GameControllerButton confirm = SDL_CONTROLLER_BUTTON_A) {
    const auto highlighted = [&]() -> std::string {
        auto lines = content.request<Component::Vector<std::string>>(Key::dialog_choices);
        auto index = content.request<Component::Simple<int>>(Key::interface_active_dialog_item);
        if (!lines || !index || index->value() < 0 ||
            static_cast<std::size_t>(index->value()) >= lines->value().size())
            return std::string();
        return lines->value()[static_cast<std::size_t>(index->value())];
    };
    auto lines = content.request<Component::Vector<std::string>>(Key::dialog_choices);
    if (!lines || std::count(lines->value().begin(), lines->value().end(), line) == 0)
        return false;
    const int steps = static_cast<int>(lines->value().size()) + 1;
    for (int i = 0; i < steps && highlighted() != line && !input.ended(); ++i)
        flick(input, pad, 0, 1);
    if (highlighted() != line)
        return false;
    press(input, pad, confirm);
    return true;
}

/// The string under `key`, or "" when it is absent.
inline std::string text_at(const Content& content, const Store_key& key) {
    return content.value<Component::Simple<std::string>>(key, std::string());
}

/// The object or item the controller's choices act on (Interface:active_object), "" if none.
inline std::string current_object(const Content& content) {
    return text_at(content, Key::interface_active_object);
}

/// The menu entry the controller highlights (Interface:gamepad_active_menu_item), "" if none.
inline std::string menu_highlight(const Content& content) {
    return text_at(content, Key::interface_gamepad_active_menu_item);
}

/// Steps the shoulders until `id` is current (Interface:active_object). The order stepped
/// through is the room's reachable objects (Interface:active_objects, which wrap) when `id` is
/// among them, otherwise the inventory (which does not wrap): the shoulder toward `id` is
/// pressed, at most `presses` times.
inline bool shoulder_to(Sdl_input& input, Virtual_controller& pad, Content& content,
                        const std::string& id, int presses = 12) {
    for (int i = 0; i < presses && current_object(content) != id && !input.ended(); ++i) {
        std::vector<std::string> order;
        if (auto near = content.request<Component::Vector<std::string>>(
                Key::interface_active_objects);
            near && std::count(near->value().begin(), near->value().end(), id) > 0)
            order = near->value();
        else if (auto items = content.request<Component::Inventory>(Key::game_inventory))
            order = items->data();
        const auto at = [&](const std::string& name) {
            return std::find(order.begin(), order.end(), name) - order.begin();
        };
        const bool right = at(current_object(content)) <= at(id);
        press(input, pad,
              right ? SDL_CONTROLLER_BUTTON_RIGHTSHOULDER : SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    }
    return current_object(content) == id;
}

/// Steers the stick at the object `id` (toward <id>:view) until it is among the reachable
/// objects, then steps the shoulders until it is current. The stick is let go before the
/// shoulders are pressed.
inline bool make_current(Sdl_input& input, Virtual_controller& pad, Content& content,
                         const std::string& id, int budget = 900) {
    const auto listed = [&id](Content& c) {
        auto near = c.request<Component::Vector<std::string>>(Key::interface_active_objects);
        return near && std::count(near->value().begin(), near->value().end(), id) > 0;
    };
    if (!listed(content)) {
        const Point view = content.get<Component::Position>(id, "view")->value();
        if (!steer(input, pad, content, view, listed, budget))
            return false;
    }
    return shoulder_to(input, pad, content, id);
}

/// Walks the shown menu page with the d-pad (down by default, up when `down` is false) until
/// the controller's highlight is `entry`, at most `steps` presses; the pages' highlight wraps,
/// so one direction reaches every entry. Waits first (a few frames) for the page's first
/// highlight.
inline bool menu_walk_to(Sdl_input& input, Virtual_controller& pad, Content& content,
                         const std::string& entry, bool down = true, int steps = 16) {
    if (!input.run_until([](Content& c) { return !menu_highlight(c).empty(); }, 10))
        return false;
    for (int i = 0; i < steps && menu_highlight(content) != entry && !input.ended(); ++i)
        press(input, pad, down ? SDL_CONTROLLER_BUTTON_DPAD_DOWN : SDL_CONTROLLER_BUTTON_DPAD_UP);
    return menu_highlight(content) == entry;
}

/// Walks the shown menu page to `entry` (see menu_walk_to) and presses `confirm`: SDL's A (the
/// south button) on a controller that confirms with it, B (east) where confirm is on the right.
inline bool menu_choose(Sdl_input& input, Virtual_controller& pad, Content& content,
                        const std::string& entry,
                        SDL_GameControllerButton confirm = SDL_CONTROLLER_BUTTON_A) {
    if (!menu_walk_to(input, pad, content, entry))
        return false;
    press(input, pad, confirm);
    return true;
}

} // namespace Orvane::Test
