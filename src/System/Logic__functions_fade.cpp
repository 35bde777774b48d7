#include <memory>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Logic.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/geometry.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

namespace {

// "fadein" and "fadeout" take the screen form (one argument) or the music-source form (three).
void check_fade_arguments(const Logic::Arguments& args, const char* message) {
    ORVANE_CHECK(args.size() == 1 || args.size() == 3, message);
}

// The marker that holds an action until a timed move, rescale or fade ends: set as a signal
// when its time has passed.
std::shared_ptr<Component::Signal> end_marker() {
    return std::make_shared<Component::Signal>("Dummy", "event");
}

// Fades the named source of an entity's music in or out over args[2] seconds from time t;
// the sound system then remixes every frame until the fade ends.
void fade_music_source(Content& content, const Logic::Arguments& args, double t, bool fade_in) {
    auto music = content.get<Component::Music>(args[0], "music");
    if (fade_in)
        music->enable_source(args[1], t, to_double(args[2]));
    else
        music->disable_source(args[1], t, to_double(args[2]));
    content.emit(Key::music_adjust_mix);
}

} // namespace

bool Logic::subfunction_fade(bool fade_in, double duration) {
    m_content.set<Component::Tuple<double, double, bool>>(Key::camera_fade, now, now + duration,
                                                          fade_in);
    current_action->schedule(now + duration, std::make_shared<Component::Base>("Fade", "dummy"));
    return true;
}

bool Logic::function_fadein(const Arguments& args) {
    check_fade_arguments(args, "function_fadein takes 1 or 3 arguments");
    if (args.size() == 1)
        return subfunction_fade(true, to_double(args[0]));
    // now is Clock:time of this frame, the time the sound system mixes by.
    fade_music_source(m_content, args, now, true);
    return true;
}

bool Logic::function_fadeout(const Arguments& args) {
    check_fade_arguments(args, "function_fadeout takes 1 or 3 arguments");
    if (args.size() == 1)
        return subfunction_fade(false, to_double(args[0]));
    fade_music_source(m_content, args, now, false);
    return true;
}

bool Logic::function_move60fps(const Arguments& args) {
    check_arguments(args, 5, 5, "function_move60fps takes 5 arguments");
    const std::string& id = args[0];
    const Point target(to_int(args[1]), to_int(args[2]));
    // args[3], a depth, is not read: a move at 60 frames a second keeps the depth.
    const Point start = m_content.get<Component::Position>(id, "position")->value();
    const double end = now + to_double(args[4]);
    current_action->schedule(end, end_marker());
    auto move = m_content.set<Component::Tuple<Point, Point, double, double>>(
        id, "move60fps", start, target, now, end);
    current_action->schedule(end, move);
    return true;
}

bool Logic::function_rescale60fps(const Arguments& args) {
    check_arguments(args, 3, 3, "function_rescale60fps takes 3 arguments");
    const std::string& id = args[0];
    const double scale = to_double(args[1]);
    const double start = m_content.get<Component::Image>(id, "image")->scale();
    const double end = now + to_double(args[2]);
    current_action->schedule(end, end_marker());
    auto rescale = m_content.set<Component::Tuple<double, double, double, double>>(
        id, "rescale60fps", start, scale, now, end);
    current_action->schedule(end, rescale);
    return true;
}

bool Logic::function_shake(const Arguments& args) {
    check_arguments(args, 2, 2, "function_shake takes 2 arguments");
    const double intensity = to_double(args[0]);
    const double duration = to_double(args[1]);
    const double camera_x =
        m_content.value<Component::Position>(Fast_access_component::CAMERA_POSITION).x();
    auto shake = m_content.set<Component::Array<double, 4>>(Key::camera_shake, now, now + duration,
                                                            intensity, camera_x);
    // The shake has no end of its own: its removal from the store ends it. The frame also
    // shakes on a test request, outside any step: then Logic:action holds the end.
    auto holder =
        current_action ? current_action : m_content.get<Component::Action>(Key::logic_action);
    holder->schedule(now + duration, shake);
    auto mode = m_content.request<Component::Simple<Input_mode>>(
        Fast_access_component::INTERFACE_INPUT_MODE);
    if (mode && mode->value() == Input_mode::GAMEPAD)
        m_content.set<Component::Pair<double, double>>(Key::gamepad_rumble, intensity / 40,
                                                       duration * 0.75);
    return true;
}

} // namespace Orvane::System
