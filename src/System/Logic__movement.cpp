#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/System/Logic.h>

namespace Orvane::System {

void Logic::update_character_path() {}

void Logic::update_follower() {}

void Logic::update_code() {}

// Walking, looking and speech are not played yet: after their argument check, these steps stop
// as an unknown step does.

bool Logic::function_goto(const Arguments& args) {
    check_arguments(args, 0, 3, "function_goto takes at most 3 arguments");
    unknown_keyword("goto");
}

bool Logic::function_look(const Arguments& args) {
    check_arguments(args, 0, 2, "function_look takes at most 2 argument");
    unknown_keyword("look");
}

bool Logic::function_talk(const Arguments& args) {
    check_arguments(args, 1, 3, "function_talk takes 1, 2 or 3 arguments");
    unknown_keyword("talk");
}

} // namespace Orvane::System
