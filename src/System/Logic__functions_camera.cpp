#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/System/Logic.h>

namespace Orvane::System {


bool Logic::function_camera(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_fadein(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_fadeout(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_move(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_move60fps(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_rescale(const Arguments& args) {
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

bool Logic::function_zoom(const Arguments& args) {
    (void)args;
    return false;
}

} // namespace Orvane::System
