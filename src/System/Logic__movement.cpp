#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/System/Logic.h>

namespace Orvane::System {

bool Logic::function_talk(const Arguments& args) {
    check_arguments(args, 1, 3, "function_talk takes 1, 2 or 3 arguments");
    unknown_keyword("talk");
}

} // namespace Orvane::System
