#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Ground_map.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Utils/error.h>

namespace Orvane::System {

using Third_party::Yaml;

const Yaml::Node& File_IO::list_of(const Yaml::Node& node, const std::string& item,
                                   const std::string& key, std::size_t count) {
    const Yaml::Node& list = node[key];
    ORVANE_CHECK(list.size() >= count, (node.file ? *node.file : std::string("?")) + ": " + item +
                                           ": \"" + key + "\" needs " + std::to_string(count) +
                                           " items, has " + std::to_string(list.size()));
    return list;
}

void File_IO::read_room(const std::string& id) {
    // held from here on, so that the store cleaning cannot take it away mid-load
    auto callback =
        m_content.get<Component::Simple<std::function<void()>>>("Game", "loading_callback");
    const std::function<void()> call_back = [callback] { callback->value()(); };

    call_back();
    clean_content();
    call_back();

    const std::string file = "data/rooms/" + id + ".yaml";
    Yaml room(file, false, false);
    ORVANE_CHECK(room.parse(), "Can't open " + file);
    call_back();

    m_content.set<Component::Simple<std::string>>("Game", "current_room", id);
    m_content.set<Component::Simple<std::string>>("Game", "current_room_name",
                                                  room["name"].string());

    if (room.has("background"))
        m_content.set<Component::Image>("background", "image",
                                        room["background"].string("images", "backgrounds", "png"),
                                        0, Component::Collision_type::BOX);

    if (room.has("ground_map")) {
        const int front_z = room["front_z"].integer();
        const int back_z = room["back_z"].integer();
        auto ground_map = [&](const char* component, const Yaml::Node& picture) {
            m_content.set<Component::Ground_map>("background", component,
                                                 picture.string("images", "backgrounds", "png"),
                                                 front_z, back_z, call_back);
        };
        const Yaml::Node& maps = room["ground_map"];
        if (maps.is_sequence) {
            const Yaml::Node& pair = list_of(room.root(), id, "ground_map", 2);
            if (pair[0].string() != "null") {
                emit("Player", "not_moved_yet");
                ground_map("ground_map", pair[0]);
            }
            if (pair[0].string() != "null" && pair[0].string() == pair[1].string())
                // one picture for both maps: its mask and graph are read once
                m_content.set<Component::Ground_map>(
                    "background", "2nd_ground_map",
                    *m_content.get<Component::Ground_map>("background", "ground_map"));
            else
                ground_map("2nd_ground_map", pair[1]);
        } else {
            emit("Player", "not_moved_yet");
            ground_map("ground_map", maps);
        }
    } else {
        receive("Player", "not_moved_yet");
    }
    call_back();

    m_content.set<Component::Absolute_position>("background", "position", Point(0, 0), false);
    call_back();

    for_each_kind(room.root(),
                  [&](const std::string& kind, const Reader& reader, const Yaml::Node& items) {
                      for (std::size_t i = 0; i < items.size(); ++i) {
                          const Yaml::Node& entry = items[i];
                          if (entry.string().empty())
                              reader(entry["id"].string(), entry);
                          else
                              read_item_file(kind, entry.string(), file);
                          call_back();
                      }
                  });

    // a copy: reading an object may change the inventory
    const std::vector<std::string> inventory =
        m_content.get<Component::Inventory>("Game", "inventory")->data();
    for (const std::string& name : inventory) {
        if (m_content.request<Component::Simple<std::string>>(name, "name"))
            continue;
        read_item_file("objects", name, "the inventory");
        call_back();
    }

    if (auto phones = m_content.request<Component::Vector<std::string>>("phone_numbers", "list")) {
        const std::vector<std::string> numbers = phones->value();
        for (const std::string& number : numbers) {
            if (m_content.request<Component::Action>(number, "action"))
                continue;
            read_item_file("actions", number, "the phone list");
            call_back();
        }
    }

    emit("Game", "in_new_room");
    emit("Window", "rescaled");
}

void File_IO::read_integer(const std::string& id, const Yaml::Node& node) {
    const int value = node["value"].integer();
    // a value kept from an earlier visit, or restored from a save, stays
    if (!m_content.request<Component::Simple<int>>(id, "value"))
        m_content.set<Component::Simple<int>>(id, "value", value);

    if (!node.has("triggers"))
        return;
    const Yaml::Node& triggers = node["triggers"];
    for (std::size_t i = 0; i < triggers.size(); ++i) {
        auto action = std::make_shared<Component::Action>(id, triggers[i]["value"].string());
        read_steps(triggers[i]["effect"], *action, true);
        m_content.set(action);
    }
}

void File_IO::read_music(const std::string& id, const Yaml::Node& node) {
    // the music playing goes on across the room change, with its sources and fades
    if (auto playing = m_content.request<Component::Music>("Game", "music");
        playing && playing->entity() == id) {
        m_content.set(playing);
        return;
    }

    auto music = m_content.set<Component::Music>(id, "music");
    const Yaml::Node& tracks = node["tracks"];
    for (std::size_t i = 0; i < tracks.size(); ++i)
        music->add_track(tracks[i].string("sounds", "musics", "ogg"));

    const Yaml::Node& sources = node["sources"];
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const Yaml::Node& source = sources[i];
        const std::string source_id = source["id"].string();
        const Yaml::Node& mix_list = list_of(source, id, "mix", music->tracks());
        std::vector<double> mix;
        for (std::size_t t = 0; t < music->tracks(); ++t)
            mix.push_back(mix_list[t].floating());
        if (source.has("radius")) {
            const Yaml::Node& at = list_of(source, id, "coordinates", 2);
            const Yaml::Node& radius = list_of(source, id, "radius", 2);
            music->add_source(source_id, mix, at[0].integer(), at[1].integer(), radius[0].integer(),
                              radius[1].integer());
        } else {
            music->add_source(source_id, mix, 0, 0, 0, 0);
        }
    }
    music->init();
}

void File_IO::read_sound(const std::string& id, const Yaml::Node& node) {
    m_content.set<Component::Sound>(id, "sound", node["sound"].string("sounds", "effects", "ogg"));
}

void File_IO::read_text(const std::string& id, const Yaml::Node& node) {
    const std::string text = node["text"].string();
    if (!node.has("coordinates")) {
        m_content.set<Component::Simple<std::string>>(id, "text", text);
        return;
    }
    auto font = m_content.get<Component::Font>("Dialog", "font");
    const std::string color = node.has("color") ? node["color"].string() : "000000";
    const Yaml::Node& at = list_of(node, id, "coordinates", 3);
    m_content.set<Component::Absolute_position>(id, "position",
                                                Point(at[0].integer(), at[1].integer()), true);
    create_locale_dependent_text(id, font, color, text, at[2].integer());
}

void File_IO::read_window(const std::string& id, const Yaml::Node& node) {
    const std::string picture = node["skin"].string("images", "windows", "png");
    load_locale_dependent_image(
        id, "image", picture,
        [id](const std::string& path) {
            auto image = std::make_shared<Component::Image>(
                id, "image", path, Config::INTERFACE_BACK, Component::Collision_type::UNCLICKABLE);
            image->set_relative_origin(0.5, 0.5);
            image->on() = false;
            return image;
        },
        true);
    // centred on the 1920 x 1080 scene
    m_content.set<Component::Absolute_position>(id, "position", Point(960, 540), true);
}

} // namespace Orvane::System
