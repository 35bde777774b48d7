#include <Orvane/System/Logic.h>

namespace Orvane::System {

bool Logic::function_camera(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_move(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_rescale(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_zoom(const Arguments& args) {
    (void)args;
    return false;
}

} // namespace Orvane::System
