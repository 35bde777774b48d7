#include <Orvane/System/Logic.h>

namespace Orvane::System {

bool Logic::function_hide(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_stop(const Arguments& args) {
    (void)args;
    return false;
}

} // namespace Orvane::System
