#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/System/Logic.h>

namespace Orvane::System {


bool Logic::function_control(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_cutscene(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_emit(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_exit(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_load(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_lock(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_loop(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_message(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_receive(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_save(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_timer(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_trigger(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_unlock(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_wait(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_add(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_randomize(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_remove(const Arguments& args) {
    (void)args;
    return false;
}

bool Logic::function_set(const Arguments& args) {
    (void)args;
    return false;
}

} // namespace Orvane::System
