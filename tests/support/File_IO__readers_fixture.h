#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Ground_map.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/Engine.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Third_party/SDL.h>
#include <Orvane/Third_party/SDL_mixer_ext.h>

#include "Packages.h"
#include "Sdl_fixture.h"
#include "Temp_pref_folder.h"
#include "Text.h"

namespace Orvane::Test {

using Files = std::map<std::string, std::string>;

/// A real data system over a store holding what the engine files before any room (its fixed
/// components), the logic action, the input mode, the dialog font and
/// a loading callback that counts its calls.
class Room_reader : public ::testing::Test {
  protected:
    void SetUp() override {
        int width = 1920;
        int height = 1080;
        sdl.init(width, height, false);
        Engine::create_fixed_components(content);
        content.set_fac<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE,
                                                       "Interface", "input_mode",
                                                       Input_mode::MOUSE);
        // a single-language game
        content.set<Component::Vector<std::string>>("Game", "available_locales",
                                                    std::vector<std::string>{"en_US"});
        content.set<Component::Simple<std::string>>("Game", "current_locale", "en_US");
        content.set<Component::Action>("Logic", "action");
        content.set<Component::Simple<std::function<void()>>>(
            "Game", "loading_callback", std::function<void()>([this] { ++callbacks; }));
    }

    /// Packs the pictures, sounds and graph files that the fixtures name, and `files` as
    /// data files (key: path under data/, without ".yaml").
    void pack(const Files& files) {
        std::vector<Packer::Entry> entries;
        const std::pair<const char*, Packer::Image> pictures[] = {
            {"images/backgrounds/quay.png", test_image(64, 32)},
            {"images/objects/door.png", test_image(40, 80)},
            {"images/objects/lamp.png", test_image(120, 30)},
            {"images/inventory/key.png", test_image(20, 10)},
            {"images/objects/key.png", test_image(30, 16)},
            {"images/masks/door.png", test_image(40, 80)},
            {"images/windows/map.png", test_image(100, 50)},
            {"images/windows/pad.png", test_image(80, 60)},
            {"images/animations/gull.png", test_image(160, 40)},
            {"images/scenery/crane.png", test_image(50, 100)},
            {"images/scenery/crane_up.png", test_image(60, 110)},
            {"images/characters/mara_idle.png", test_image(900, 700)},
            {"images/characters/mara_walk.png", test_image(160, 160)},
            {"images/characters/mara_head.png", test_image(60, 40)},
            {"images/characters/mara_mouth.png", test_image(110, 20)},
        };
        for (const auto& [key, image] : pictures)
            entries.push_back(image_entry(key, image));
        for (const char* map :
             {"images/backgrounds/quay_map.png", "images/backgrounds/tower_map.png"}) {
            Packer::Image floor{64, 32, std::vector<unsigned char>(64 * 32 * 4, 0)};
            for (std::size_t i = 0; i < floor.pixels.size(); i += 4)
                floor.pixels[i + 3] = 255;
            entries.push_back(image_entry(map, floor));
            entries.push_back(Packer::ground_graph_entry(map, floor));
        }
        for (const char* sound :
             {"sounds/effects/bell.ogg", "sounds/musics/sea.ogg", "sounds/musics/gulls.ogg"})
            entries.push_back(raw_entry(sound, ogg_bytes()));
        entries.push_back(raw_entry("fonts/DejaVuSans.ttf", file_bytes(font_path)));
        for (const auto& [name, text] : files)
            entries.push_back(raw_entry("data/" + name + ".yaml", text));
        load_packages(entries);
        if (!content.request<Component::Font>("Dialog", "font"))
            content.set<Component::Font>("Dialog", "font", "fonts/DejaVuSans.ttf", 80);
    }

    /// Reads one item file of the kind after packing it.
    void read(const std::string& kind, const std::string& name, const std::string& text,
              Files more = {}) {
        more[kind + "/" + name] = text;
        pack(more);
        file_io.read_item_file(kind, name);
    }

    std::string string_of(const std::string& e, const std::string& c) {
        auto s = content.request<Component::Simple<std::string>>(e, c);
        return s ? s->value() : "<none>";
    }

    Temp_pref_folder pref;
    Third_party::SDL sdl;
    Third_party::SDL_mixer_ext mixer;
    Content content;
    System::File_IO file_io{content};
    int callbacks = 0;
};

} // namespace Orvane::Test
