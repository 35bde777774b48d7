#pragma once

// Settings for the settings tests and the settings fuzz target's seeds: every setting changed
// from its default, and the broken or refused files the reader must survive.

#include <string>
#include <vector>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/Third_party/Gamepad.h>

namespace Orvane::Test {

/// Changes every setting of a store that read the settings: locale fr_FR, windowed 1280 x 720,
/// the controller's input mode, dialog speed 40, the interface scale given, music silent, sounds
/// at 10, no autosave; and adds two controllers (an XBOX one, "1118:654", that takes OK on the
/// down button, and a PLAYSTATION one, "1356:3302", that does not).
inline void change_every_setting(Content& content, int interface_scale) {
    content.get<Component::Simple<std::string>>("Game", "current_locale")->set("fr_FR");
    content.get<Component::Boolean>("Window", "fullscreen")->set(false);
    content.get<Component::Simple<Input_mode>>("Interface", "input_mode")->set(GAMEPAD);
    content.get<Component::Simple<int>>("Dialog", "speed")->set(40);
    content.get<Component::Simple<int>>("Interface", "scale")->set(interface_scale);
    content.get<Component::Simple<int>>("Music", "volume")->set(0);
    content.get<Component::Simple<int>>("Sounds", "volume")->set(10);
    content.get<Component::Boolean>("Game", "autosave")->set(false);
    content.get<Component::Simple<int>>("Window", "width")->set(1280);
    content.get<Component::Simple<int>>("Window", "height")->set(720);
    content.set<Component::Simple<Gamepad_info>>(
        "Gamepad(1118:654)", "gamepad", Gamepad_info("1118:654", Gamepad_labels::XBOX, true));
    content.set<Component::Simple<Gamepad_info>>(
        "Gamepad(1356:3302)", "gamepad",
        Gamepad_info("1356:3302", Gamepad_labels::PLAYSTATION, false));
}

/// Settings files the reader must survive with a warning naming the file: YAML that does not
/// parse or is no map, values of the wrong kind, out of range or of the wrong shape. What such a
/// file spoils falls back to its default; the settings it gives right are kept.
inline const std::vector<std::string>& broken_settings_files() {
    static const std::vector<std::string> files = [] {
        const std::string pad =
            "gamepads:\n  - { id: \"1:2\", labels: \"2\", ok_down: \"true\" }\n";
        return std::vector<std::string>{
            "locale: \"fr_FR\"\nmusic_volume: 3\nwindow: [12",
            "- locale\n- fr_FR\n",
            "",
            std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18),
            "locale: &a fr_FR\nmusic_volume: 3\n",
            "music_volume: 3\nsounds_volume: *a\n",
            "input_mode: 3\n",
            "input_mode: -1\nmusic_volume: 2\n",
            "input_mode: touch\n",
            "music_volume: 11\nsounds_volume: -4\n",
            "music_volume: 99999999999999999999\n",
            "interface_scale: 7\n",
            "interface_scale: 0\n",
            "dialog_speed: nan\n",
            "dialog_speed: inf\n",
            "dialog_speed: 1e300\n",
            "dialog_speed: 0.5\n",
            "dialog_speed: 101\n",
            "window: [100]\n",
            "window: [100, 200, 300]\n",
            "window: [0, 600]\n",
            "window: [800, 20000]\n",
            "window: [wide, 600]\n",
            "window: 800\n",
            "fullscreen: [true]\n",
            "autosave: yes\n",
            "gamepads:\n  - { labels: \"2\", ok_down: \"true\" }\n",
            "gamepads:\n  - plain\n",
            "gamepads: 3\n",
            "gamepads:\n  - { id: \"1:2\", labels: \"7\", ok_down: \"true\" }\n",
            pad + "  - { labels: \"1\" }\n",
        };
    }();
    return files;
}

} // namespace Orvane::Test
