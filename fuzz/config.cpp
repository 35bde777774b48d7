// Fuzzes the settings reader: any byte string is the player's settings file. A broken file must
// never stop the game, so any fatal check is a finding here. After reading, every setting must
// exist and lie in its range, and writing the settings then reading them again must give the
// same settings.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <tuple>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Third_party/Gamepad.h>
#include <Orvane/Utils/error.h>

#include "Per_user_file.h"

namespace {

using namespace Orvane;

[[noreturn]] void finding(const std::string& what) {
    std::fprintf(stderr, "settings fault: %s\n", what.c_str());
    std::abort();
}

using Pads = std::map<std::string, std::tuple<std::string, int, bool>>;
using Settings = std::tuple<std::string, bool, int, int, int, double, int, int, bool, int, int, Pads>;

Settings snapshot(Content& content) {
    Pads pads;
    for (const auto& [key, c] : content.components("gamepad"))
        if (auto pad = Component::cast<Component::Simple<Gamepad_info>>(c))
            pads[c->entity()] = {pad->value().id, static_cast<int>(pad->value().labels),
                                 pad->value().ok_down};
    auto integer = [&](const char* e, const char* c) {
        return content.get<Component::Simple<int>>(e, c)->value();
    };
    return {content.value<Component::Simple<std::string>>(
                Fast_access_component::GAME_CURRENT_LOCALE),
            content.get<Component::Boolean>("Window", "fullscreen")->value(),
            static_cast<int>(content.value<Component::Simple<Input_mode>>(
                Fast_access_component::INTERFACE_INPUT_MODE)),
            integer("Dialog", "speed"),
            integer("Interface", "scale"),
            Config::interface_scale,
            integer("Music", "volume"),
            integer("Sounds", "volume"),
            content.get<Component::Boolean>("Game", "autosave")->value(),
            integer("Window", "width"),
            integer("Window", "height"),
            pads};
}

void check_ranges(const Settings& s) {
    const auto& [locale, fullscreen, mode, speed, scale, config_scale, music, sounds, autosave,
                 width, height, pads] = s;
    if (mode < 0 || mode > 2)
        finding("input_mode " + std::to_string(mode));
    if (speed < 1 || speed > 100)
        finding("dialog_speed " + std::to_string(speed));
    if (scale != 4 && scale != 6 && scale != 9 && scale != 12)
        finding("interface_scale " + std::to_string(scale));
    if (config_scale != scale / 6.0)
        finding("Config::interface_scale");
    if (music < 0 || music > 10 || sounds < 0 || sounds > 10)
        finding("volume");
    const bool no_size = width == -1 && height == -1;
    if (!no_size && (width < 1 || width > 16384 || height < 1 || height > 16384))
        finding("window " + std::to_string(width) + "x" + std::to_string(height));
    for (const auto& [entity, pad] : pads)
        if (std::get<1>(pad) < 0 || std::get<1>(pad) > 3)
            finding("gamepad labels");
}

Settings read_settings() {
    Content content;
    System::File_IO file_io(content);
    file_io.read_config();
    return snapshot(content);
}

std::string pref;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pref = Fuzz::start_per_user_target("settings reader");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream out(pref + "config.yaml", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Content content;
    System::File_IO file_io(content);
    file_io.read_config();
    const Settings first = snapshot(content);
    check_ranges(first);
    file_io.write_config();
    if (read_settings() != first)
        finding("written settings read back differently");
    return 0;
}
