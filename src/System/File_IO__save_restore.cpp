#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Utils/error.h>

#include "File_IO__save.h"

namespace Orvane::System {

bool File_IO::read_savefile(const std::string& slot) {
    const std::unique_ptr<Save_data> save = check_savefile(slot, false);
    if (!save)
        return false;
    restore_savefile(*save);
    return true;
}

void File_IO::restore_savefile(const Save_data& s) {
    if (auto saved =
            m_content.request<Component::Simple<double>>(Fast_access_component::CLOCK_SAVED_TIME)) {
        saved->set(s.time);
    } else {
        m_content
            .set_fac<Component::Simple<double>>(Fast_access_component::CLOCK_SAVED_TIME,
                                                Key::clock_saved_time, s.time)
            ->mark_as_altered();
    }
    m_content.set<Component::Simple<std::string>>(Key::game_new_room, s.room);
    m_content.set<Component::Simple<std::string>>(Key::game_new_room_origin, "Saved_game");
    m_content.set<Component::Simple<std::string>>(Key::player_name, s.player);
    if (s.follower)
        m_content.set<Component::Simple<std::string>>(Key::follower_name, *s.follower);

    auto inventory = m_content.get<Component::Inventory>(Key::game_inventory);
    for (const std::string& item : s.inventory)
        inventory->add(item);
    if (s.phone_numbers)
        m_content.set<Component::Vector<std::string>>(Key::phone_numbers_list, *s.phone_numbers);

    if (auto camera =
            m_content.request<Component::Position>(Fast_access_component::CAMERA_POSITION))
        camera->set(Point(s.camera, 0));

    auto action = m_content.set<Component::Action>(Key::saved_game_action);
    if (s.music) {
        for (const std::string& source : s.disabled_sources)
            action->add("fadeout", {*s.music, source, "0"});
        action->add("play", {*s.music, "0.5"});
    }
    action->add("fadein", {"0.5"});

    for (const auto& [id, at] : s.music_positions)
        m_content.set<Component::Simple<double>>(id, "resume_at", at);

    // The first entry of a character wins.
    auto character = [&s](const std::string& id) -> const Save_data::Character* {
        for (const Save_data::Character& c : s.characters)
            if (c.id == id)
                return &c;
        return nullptr;
    };

    for (const auto& [id, value] : s.states)
        m_content.get_or_set<Component::Simple<std::string>>(id, "state")->set(value);
    for (const std::string& id : s.signals)
        emit(id, "signal");
    for (const auto& [id, stored] : s.achievements) {
        emit(id, "done");
        if (stored)
            emit(id, "stored");
    }

    for (const Save_data::Place& place : s.positions) {
        m_content
            .set<Component::Absolute_position>(place.id, "position", Point(place.x, place.y), false)
            ->mark_as_altered();
        if (const Save_data::Character* c = character(place.id)) {
            std::vector<std::string> args = {place.id, place.texts[0], place.texts[1]};
            if (place.texts.size() >= 3)
                args.push_back(place.texts[2]);
            args.push_back(c->looking);
            action->add("move", args);
            if (c->animation)
                action->add("play", {place.id, *c->animation, "-1"});
        }
    }
    for (const auto& [id, value] : s.integers)
        m_content.set<Component::Simple<int>>(id, "value", value)->mark_as_altered();
    for (const std::string& id : s.hidden)
        action->add("hide", {id});
    for (const std::string& id : s.active_animations)
        action->add("play", {id});
    if (s.dialog) {
        action->add("trigger", {*s.dialog});
        m_content.set<Component::Simple<int>>(Key::saved_game_dialog_position, s.dialog_position);
    }
}

void File_IO::load_requested_save() {
    const std::string slot =
        m_content.get<Component::Simple<std::string>>(Key::savegame_id)->value();
    if (check_savefile(slot, false)) {
        clean_content();
        read_savefile(slot);
    } else {
        // the game goes on as it was: the restart that came with the request is dropped too
        warning("The saved game \"" + slot + "\" cannot be loaded; the game goes on");
        receive(Key::game_reset);
    }
    remove(Key::savegame_id, true);
}

void File_IO::drop_stale_saved_steps() {
    auto action = m_content.request<Component::Action>(Key::saved_game_action);
    if (!action)
        return;
    auto has = [this](const std::string& e, const char* c) {
        return m_content.request<Component::Base>(e, c) != nullptr;
    };
    auto is_music = [this](const std::string& e) {
        return m_content.request<Component::Music>(e, "music") != nullptr;
    };
    // What a step of a restored scene needs from the room; empty when it has it.
    auto missing = [&](const Component::Action::Step& step) -> std::string {
        const std::vector<std::string>& a = step.args();
        const std::string& f = step.function();
        if (a.empty())
            return {};
        if (f == "move" || (f == "play" && a.size() == 3))
            return has(a[0], "group") ? "" : "the character " + a[0];
        if (f == "hide")
            return has(a[0], "group") || has(a[0], "image") ? "" : "the character " + a[0];
        if (f == "fadeout" || (f == "play" && a.size() == 2))
            return is_music(a[0]) ? "" : "the music " + a[0];
        if (f == "play")
            return m_content.request<Component::Animation>(a[0], "image") ? ""
                                                                          : "the animation " + a[0];
        if (f == "trigger")
            return has(a[0], "dialog") ? "" : "the dialog " + a[0];
        return {};
    };

    std::vector<Component::Action::Step> kept;
    for (const Component::Action::Step& step : *action) {
        const std::string what = missing(step);
        if (what.empty()) {
            kept.push_back(step);
            continue;
        }
        warning("Saved game: the step " + step.to_string() + " names " + what +
                ", which this room does not have; it is left out");
        // its resume point would send the next dialog started to that place
        if (step.function() == "trigger")
            remove(Key::saved_game_dialog_position, true);
    }
    if (kept.size() == action->size())
        return;

    action->clear();
    for (const Component::Action::Step& step : kept)
        action->add(step.function(), step.args());
}

} // namespace Orvane::System
