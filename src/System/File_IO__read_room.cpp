#include <functional>
#include <string>
#include <vector>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Ground_map.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Utils/error.h>

namespace Orvane::System {

using Third_party::Yaml;

const Yaml::Node& File_IO::list_of(const Yaml::Node& node, const std::string& item,
                                   const std::string& key, std::size_t count) {
    const Yaml::Node& list = node[key];
    ORVANE_CHECK(list.size() >= count, (node.file ? *node.file : std::string("?")) + ":" +
                                           std::to_string(list.line) + ": " + item +
                                           ": \"" + key + "\" needs " + std::to_string(count) +
                                           " items, has " + std::to_string(list.size()));
    return list;
}

void File_IO::read_room(const std::string& id) {
    // held from here on, so that the store cleaning cannot take it away mid-load
    auto callback =
        m_content.get<Component::Simple<std::function<void()>>>(Key::game_loading_callback);
    const std::function<void()> call_back = [callback] { callback->value()(); };

    call_back();
    clean_content();
    call_back();

    const std::string file = "data/rooms/" + id + ".yaml";
    Yaml room(file, false, false);
    ORVANE_CHECK(room.parse(), "Can't open " + file);
    call_back();

    m_content.set<Component::Simple<std::string>>(Key::game_current_room, id);
    m_content.set<Component::Simple<std::string>>(Key::game_current_room_name,
                                                  room["name"].string());

    if (room.has("background"))
        m_content.set<Component::Image>(Key::background_image,
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
                    *m_content.get<Component::Ground_map>(Key::background_ground_map));
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
        m_content.get<Component::Inventory>(Key::game_inventory)->data();
    for (const std::string& name : inventory) {
        if (m_content.request<Component::Simple<std::string>>(name, "name"))
            continue;
        read_item_file("objects", name, "the inventory");
        call_back();
    }

    read_phone_actions(call_back);

    room.root().warn_unknown_keys();
    emit(Key::game_in_new_room);
    emit(Key::window_rescaled);
}

void File_IO::read_phone_actions(const std::function<void()>& after_each) {
    auto phones = m_content.request<Component::Vector<std::string>>(Key::phone_numbers_list);
    if (!phones)
        return;
    const std::vector<std::string> numbers = phones->value();
    for (const std::string& number : numbers) {
        if (m_content.request<Component::Action>(number, "action"))
            continue;
        read_item_file("actions", number, "the phone list");
        if (after_each)
            after_each();
    }
}

} // namespace Orvane::System
