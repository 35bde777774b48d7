#include <memory>
#include <string>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Code.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Logic.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

bool Logic::function_pause(const Arguments& args) {
    check_arguments(args, 1, 1, "function_pause takes 1 argument");
    emit(args[0], "pause");
    return true;
}

bool Logic::function_play(const Arguments& args) {
    check_arguments(args, 1, 3, "function_play takes 1, 2 or 3 arguments");
    const std::string& id = args[0];

    if (m_content.request<Component::Base>(id, "sound")) {
        emit(id, "play_sound");
        auto panning = m_content.set<Component::Simple<double>>(id, "panning", 0.5);
        // A sound played by an action on an object comes from the object's side of the view.
        if (auto action = m_content.request<Component::Action>(Key::character_action)) {
            if (auto target =
                    m_content.request<Component::Position>(action->target_entity(), "position")) {
                const double camera_x =
                    m_content.value<Component::Position>(Fast_access_component::CAMERA_POSITION)
                        .x();
                panning->set(1 - (target->value().x() - camera_x) / Config::world_width);
            }
        }
        return true;
    }

    if (auto music = m_content.request<Component::Music>(id, "music")) {
        m_content.set<Component::Variable>(Key::game_music, music);
        if (args.size() == 2)
            m_content.set<Component::Tuple<double, double, bool>>(Key::music_fade, now,
                                                                  now + to_double(args[1]), true);
        else
            emit(Key::music_start);
        return true;
    }

    if (args.size() == 1) {
        auto animation = m_content.get<Component::Animation>(id, "image");
        emit(id, "start_animation");
        // A looping animation with a state comes on again when its room is entered; a
        // non-looping one holds the action until it shows its last frame.
        if (animation->loop())
            m_content.set<Component::Simple<std::string>>(id, "state", "Dummy");
        else
            current_action->schedule(0, animation);
        return true;
    }

    // A character's own animation: [name, duration] for the player, or [character, name,
    // duration].
    const bool for_player = args.size() == 2;
    const std::string character =
        for_player ? value<Component::Simple<std::string>>(Key::player_name) : args[0];
    const std::string& name = for_player ? args[0] : args[1];
    const double duration = to_double(for_player ? args[1] : args[2]);
    m_content.set<Component::Simple<std::string>>(character, "start_animation", name);
    emit(character, "stop_walking");
    remove(character, "path", true);
    if (duration > 0)
        current_action->schedule(now + duration,
                                 std::make_shared<Component::Signal>(character, "stop_animation"));
    return true;
}

bool Logic::function_set12fps(const Arguments& args) {
    check_arguments(args, 2, 2, "function_set12fps takes 2 arguments");
    // Written into <id>:state at the next animation frame, with the animation commands of the
    // same steps.
    m_content.set<Component::Simple<std::string>>(args[0], "set_state", args[1]);
    return true;
}

bool Logic::function_show(const Arguments& args) {
    check_arguments(args, 1, 1, "function_show takes 1 argument");
    const std::string& id = args[0];
    if (m_content.request<Component::Group>(id, "group")) {
        emit(id, "set_visible");
        return true;
    }
    auto image = m_content.get<Component::Image>(id, "image");
    if (image->z() != Config::INTERFACE_BACK) {
        image->on() = true;
        return true;
    }
    // A window: the screen interface opens it (and switches the image on).
    m_content.set<Component::Variable>(Key::game_window, image);
    emit(Key::interface_show_window);
    auto game_status = status();
    ORVANE_CHECK(game_status, "Cannot find Game:status");
    if (auto code = m_content.request<Component::Code>(id, "code")) {
        game_status->push(Status::IN_CODE);
        m_content.set<Component::Variable>(Key::game_code, code);
    } else {
        game_status->push(Status::IN_WINDOW);
    }
    return true;
}

} // namespace Orvane::System
