#include <string>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Logic.h>

namespace Orvane::System {

bool Logic::function_hide(const Arguments& args) {
    check_arguments(args, 1, 1, "function_hide takes 1 argument");
    const std::string& id = args[0];
    if (m_content.request<Component::Group>(id, "group"))
        emit(id, "set_hidden"); // the group's images go off at the next animation frame
    else
        m_content.get<Component::Image>(id, "image")->on() = false;
    return true;
}

bool Logic::function_stop(const Arguments& args) {
    check_arguments(args, 1, 1, "function_stop takes 1 argument");
    if (args[0] == "music") {
        emit(Key::music_stop);
        return true;
    }
    const std::string id =
        args[0] == "Player" ? value<Component::Simple<std::string>>(Key::player_name) : args[0];
    emit(id, "stop_animation");
    return true;
}

} // namespace Orvane::System
