#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/System/Logic.h>

namespace Orvane::System {

void Logic::update_character_path() {}

void Logic::update_follower() {}

void Logic::update_code() {}

bool Logic::function_goto(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_look(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_talk(const Arguments& args) {
    (void)args;
    return false;
}

} // namespace Orvane::System
