#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <Orvane/Component/Menu.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Menu.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

namespace {

using Text = Component::Simple<std::string>;
/// A used slot: room name, play time in seconds, date in seconds since the epoch.
using Slot_record = Component::Tuple<std::string, double, std::int64_t>;

/// Entries of the load and save pages are 115 pixels apart, the first at 135.
int entry_y(std::size_t row) { return 135 + 115 * (int(row) - 1); }

} // namespace

void Menu::init_loadsave_menus() {
    // the player's slots are used from "1" on without a gap: the scan stops at the first free one
    std::vector<std::shared_ptr<Slot_record>> used;
    for (const char* id : Config::save_ids) {
        if (std::string(id) == "auto")
            continue;
        auto record = m_content.request<Slot_record>(Key::save_slot(id), "info");
        if (!record)
            break;
        used.push_back(record);
    }

    auto details = [this](const Slot_record& record) {
        const auto& [room, time, date] = record.value();
        return date_to_string(date) + " (" + locale_get("Game_time", "text") + " = " +
               time_to_string(time) + ")";
    };
    // the second line of an entry comes with its first: the store keeps one of them per button
    auto entry = [this](Component::Menu::Vertex_wrapper vertex, const std::string& e, int y,
                        const std::string& first, const std::string& second) {
        const auto [button, position] = make_settings_button(e, y);
        vertex.init(button, position);
        set<Text>(e, "effect", e);
        vertex.split(Split_direction::VERTICALLY, 2);
        const auto [slot, slot_position] = make_settings_title(e, "slot", y, first);
        vertex[0].init(slot, slot_position);
        const auto [info, info_position] = make_settings_subtitle(e, "info", y, second);
        vertex[1].init(info, info_position);
    };

    const std::size_t k = used.size();
    const std::size_t n = k < 5 ? k + 1 : 5;
    auto save = set<Component::Menu>("Save", "menu");
    save->split(Split_direction::VERTICALLY, n + 2);
    make_text_menu_title((*save)[0], "Save");
    for (std::size_t i = 1; i <= n; ++i) {
        std::string first = std::to_string(i) + ". ";
        std::string second = locale_get("Free_slot", "text");
        if (i <= k) {
            first += locale(std::get<0>(used[i - 1]->value()));
            second = details(*used[i - 1]);
        }
        entry((*save)[i], "Save_" + std::to_string(i), entry_y(i), first, second);
    }
    make_oknotok_item((*save)[n + 1], true);

    if (auto automatic = m_content.request<Slot_record>(Key::save_slot("auto"), "info"))
        used.insert(used.begin(), automatic);
    const std::size_t c = used.size();
    const std::size_t rows = c == 0 ? 1 : c;
    auto load = set<Component::Menu>("Load", "menu");
    load->split(Split_direction::VERTICALLY, rows + 2);
    make_text_menu_title((*load)[0], "Load");
    for (std::size_t j = 1; j <= c; ++j) {
        const Slot_record& record = *used[j - 1];
        const std::string& name = record.entity();
        const std::string id = name.substr(name.find('_') + 1);
        const std::string first =
            (id == "auto" ? std::string("(Auto) ") : id + ". ") + locale(std::get<0>(record.value()));
        entry((*load)[j], "Load_" + id, entry_y(j), first, details(record));
    }
    if (c == 0)
        make_text_menu_text((*load)[1], "No_savegame");
    make_oknotok_item((*load)[rows + 1], true);
}

} // namespace Orvane::System
