#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>

#include "File_IO__save.h"

namespace Orvane::System {

using Third_party::Yaml;

void File_IO::read_savefiles(const Yaml& /*init*/) {
    // the newest usable save, kept as the scan read it; auto comes first and wins ties
    std::unique_ptr<Save_data> newest;
    for (const char* slot : Config::save_ids) {
        std::unique_ptr<Save_data> save = check_savefile(slot, true);
        if (!save)
            continue; // a missing or unusable slot: the others are still scanned
        m_content.set<Component::Tuple<std::string, double, std::int64_t>>(
            Key::save_slot(slot), "info", save->room_name, save->time, save->date);
        if (!newest || save->date > newest->date)
            newest = std::move(save);
    }

    if (auto forced = m_content.request<Component::Simple<std::string>>(Key::force_load_room)) {
        m_content.set<Component::Variable>(Key::game_new_room, forced);
        if (auto origin = m_content.request<Component::Simple<std::string>>(Key::force_load_origin))
            m_content.set<Component::Variable>(Key::game_new_room_origin, origin);
        else
            m_content.set<Component::Simple<std::string>>(Key::game_new_room_origin,
                                                          forced->value() + "_test");
        return;
    }
    if (newest) {
        restore_savefile(*newest);
        return;
    }
    m_content.set<Component::Variable>(
        Key::game_new_room, m_content.get<Component::Simple<std::string>>(Key::game_init_new_room));
    if (auto origin =
            m_content.request<Component::Simple<std::string>>(Key::game_init_new_room_origin))
        m_content.set<Component::Variable>(Key::game_new_room_origin, origin);
}

} // namespace Orvane::System
