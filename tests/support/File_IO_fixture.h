#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/Engine.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Third_party/SDL.h>
#include <Orvane/Third_party/SDL_mixer_ext.h>

#include "Packages.h"
#include "Sdl_fixture.h"
#include "Temp_pref_folder.h"

namespace Orvane::Test {

/// A data system whose item readers only note what they are given; a global window reads its
/// picture through the locale-dependent builder, as the real window reader does.
class Recording_file_io : public System::File_IO {
  public:
    using File_IO::File_IO;
    using File_IO::fast_forward_choice;
    using File_IO::read_init_global_items;

    std::vector<std::string> calls;

    void note(const std::string& kind, const std::string& id) {
        calls.push_back(kind + ":" + id + (signal(id, "is_global") ? " global" : ""));
    }
    void read_action(const std::string& id, const Third_party::Yaml::Node&) override {
        note("actions", id);
    }
    void read_object(const std::string& id, const Third_party::Yaml::Node&) override {
        note("objects", id);
    }
    void read_sound(const std::string& id, const Third_party::Yaml::Node&) override {
        note("sounds", id);
    }
    void read_integer(const std::string& id, const Third_party::Yaml::Node&) override {
        note("integers", id);
    }
    void read_window(const std::string& id, const Third_party::Yaml::Node& node) override {
        note("windows", id);
        load_locale_dependent_image(
            id, "image", node["image"].string("images", "windows", "png"),
            [id](const std::string& file) {
                return std::make_shared<Component::Image>(id, "image", file, 1000000);
            },
            true);
    }
};

/// The pictures of the test game's interface: name → (width, height).
inline const std::map<std::string, std::pair<unsigned, unsigned>>& interface_pictures() {
    static const std::map<std::string, std::pair<unsigned, unsigned>> pictures = {
        {"icon", {32, 32}},     {"spinner", {400, 100}},  {"ok", {60, 40}},
        {"ko", {60, 40}},       {"left", {30, 30}},       {"right", {30, 30}},
        {"star", {30, 30}},     {"c0", {40, 40}},         {"c1", {40, 20}},
        {"c2", {20, 40}},       {"c3", {20, 40}},         {"hand", {50, 50}},
        {"aleft", {30, 60}},    {"aright", {30, 60}},     {"chamfer", {200, 20}},
        {"quit", {24, 24}},     {"c_l", {80, 80}},        {"c_r", {80, 80}},
        {"c_sel", {60, 60}},    {"w_l", {80, 80}},        {"w_r", {80, 80}},
        {"p0", {16, 16}},       {"p1", {16, 16}},         {"p2", {16, 16}},
        {"p3", {16, 16}},       {"ff0", {64, 32}},        {"ff1", {64, 32}},
        {"bg", {800, 600}},     {"logo", {300, 100}},     {"ml", {40, 80}},
        {"mr", {40, 80}},       {"cancel", {50, 50}},     {"main", {200, 80}},
        {"settings", {200, 80}}, {"support_text", {300, 60}}, {"support_button", {100, 40}},
        {"support_text.fr_FR", {310, 60}},
    };
    return pictures;
}

inline const std::string init_yaml = R"(data_version: "3"
data_variant: demo
min_orvane_version: 1.6.0
name: Velmoor
icon: icon
loading_spin: [spinner, 4]
code_results: [ok, ko]
debug_font: DejaVuSans
interface_font: DejaVuSans
interface_light_font: DejaVuSans
dialog_font: DejaVuSans
achievements:
  - [first, First step]
  - [second, Second, 20]
  - [third, Third, 30, extra]
achievement_notif: [left, right, star]
cursor: [c0, c1, c2, c3]
hand: hand
inventory_arrows: [aleft, aright]
inventory_chamfer: chamfer
functions:
  - id: say
    effect:
      - talk: [Player, ARG0]
  - id: greet
    effect:
      - func: [say, ARG0]
      - look: []
windows: [map]
actions: [intro]
objects: [lamp, key]
sounds: []
text:
  - id: quit
    value: Quit
    icon: quit
  - id: back
    value: Back
default:
  look:
    label: Look
    effect:
      - func: [greet, Hi]
      - talk: [Player, Nothing]
  move: {label: Move}
  take: {label: Take}
  inventory: {label: Inventory}
  use: {label: Use}
  combine: {label: Combine}
  goto: {label: Go}
load: [quay, start]
click_sound: click
step_sound: step
circle: [c_l, c_r, c_sel, w_l, w_r]
playstation: [p0, p1, p2, p3]
fast_forward: [ff0, ff1]
menu_background: bg
menu_logo: logo
menu_arrows: [ml, mr]
menu_oknotok: [ok, cancel]
menu_buttons: [main, settings]
menu_support: [support_text, support_button]
)";

inline const std::string locale_yaml = R"(locales:
  - {id: en_US, description: English}
  - {id: fr_FR, description: Français}
lines:
  - {en_US: Quit, fr_FR: Quitter}
  - {en_US: Back, fr_FR: Retour}
)";

/// The packages of the test game, with init.yaml and locale.yaml replaced when given.
inline std::vector<Packer::Entry> game_entries(const std::string& init = init_yaml,
                                               const std::string& locale = locale_yaml) {
    static const std::string font = file_bytes(font_path);
    static const std::string click = ogg_bytes();
    std::vector<Packer::Entry> entries;
    for (const auto& [name, size] : interface_pictures())
        entries.push_back(image_entry("images/interface/" + name + ".png",
                                      test_image(size.first, size.second)));
    entries.push_back(image_entry("images/windows/map.png", test_image(100, 50)));
    entries.push_back(image_entry("images/windows/map.fr_FR.png", test_image(100, 50)));
    entries.push_back(raw_entry("fonts/DejaVuSans.ttf", font));
    entries.push_back(raw_entry("sounds/effects/click.ogg", click));
    entries.push_back(raw_entry("sounds/effects/step.ogg", click));
    if (!init.empty())
        entries.push_back(raw_entry("data/init.yaml", init));
    entries.push_back(raw_entry("data/locale.yaml", locale));
    entries.push_back(raw_entry("data/windows/map.yaml", "image: map\n"));
    entries.push_back(raw_entry("data/actions/intro.yaml", "effect: []\n"));
    entries.push_back(raw_entry("data/objects/lamp.yaml", "label: Lamp\n"));
    entries.push_back(raw_entry("data/objects/key.yaml", "label: Key\n"));
    return entries;
}

/// A dummy window and audio device, a fresh per-user folder and the store's fixed components,
/// as the engine has them when it reads the init file.
class File_IO_test : public ::testing::Test {
  protected:
    void SetUp() override {
        int width = 1920;
        int height = 1080;
        sdl.init(width, height, false);
        fixed_components();
    }

    /// The components that the engine creates before any system runs, and the logic
    /// system's action.
    void fixed_components() {
        Engine::create_fixed_components(content);
        content.set<Component::Action>("Logic", "action");
    }

    /// Loads the packages and reads the settings (none: the defaults).
    void load(const std::vector<Packer::Entry>& entries) {
        load_packages(entries);
        ::testing::internal::CaptureStderr();
        file_io.read_config();
        ::testing::internal::GetCapturedStderr();
    }

    Temp_pref_folder pref;
    Third_party::SDL sdl;
    Third_party::SDL_mixer_ext mixer;
    Content content;
    Recording_file_io file_io{content};
};

} // namespace Orvane::Test
