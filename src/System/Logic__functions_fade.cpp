#include <Orvane/System/Logic.h>

namespace Orvane::System {

bool Logic::function_fadein(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_fadeout(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_move60fps(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_rescale60fps(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_shake(const Arguments& args) {
    (void)args;
    return false;
}

} // namespace Orvane::System
