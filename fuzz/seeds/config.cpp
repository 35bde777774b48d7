// Writes seeds for fuzz_config: settings files from the engine's own writer (the defaults, and
// every setting changed with two controllers), and the broken files that the reader must
// survive.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Third_party/Gamepad.h>
#include <Orvane/Third_party/SDL_file.h>

#include "Seed_folder.h"

using namespace Orvane;

int main(int argc, char** argv) {
    const auto seeds = Fuzz::seed_folder(argc, argv);
    if (!seeds)
        return 2;
    const std::filesystem::path& folder = seeds->folder;
    const std::string& pref = seeds->pref;

    {
        Content content;
        System::File_IO file_io(content);
        file_io.read_config();
        file_io.write_config();
        std::filesystem::rename(pref + "config.yaml", folder / "config_defaults.yaml");

        content.get<Component::Simple<std::string>>("Game", "current_locale")->set("fr_FR");
        content.get<Component::Boolean>("Window", "fullscreen")->set(false);
        content.get<Component::Simple<Input_mode>>("Interface", "input_mode")->set(GAMEPAD);
        content.get<Component::Simple<int>>("Dialog", "speed")->set(40);
        content.get<Component::Simple<int>>("Interface", "scale")->set(9);
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
        file_io.write_config();
        std::filesystem::rename(pref + "config.yaml", folder / "config_changed.yaml");
    }
    std::filesystem::remove_all(folder / "home");

    const std::vector<std::string> broken = {
        "locale: \"fr_FR\"\nmusic_volume: 3\nwindow: [12",
        "- locale\n- fr_FR\n",
        "",
        std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18),
        "locale: &a fr_FR\nmusic_volume: 3\n",
        "music_volume: 3\nsounds_volume: *a\n",
        "input_mode: 3\n",
        "music_volume: 11\nsounds_volume: -4\n",
        "interface_scale: 7\n",
        "dialog_speed: nan\n",
        "dialog_speed: 1e300\n",
        "window: [100]\n",
        "window: [0, 600]\n",
        "fullscreen: [true]\n",
        "gamepads:\n  - { labels: \"2\", ok_down: \"true\" }\n",
        "gamepads:\n  - { id: \"1:2\", labels: \"7\", ok_down: \"true\" }\n",
        "locale: \"a\\x85b\\u2028c\\x01\"\n",
    };
    Fuzz::write_broken_seeds(folder, broken);
    return 0;
}
