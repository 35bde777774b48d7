#include <Orvane/System/Logic.h>

namespace Orvane::System {

bool Logic::function_pause(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_play(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_set12fps(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_show(const Arguments& args) {
    (void)args;
    return false;
}

} // namespace Orvane::System
