#include <Orvane/Component/Action.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

using Third_party::Yaml;

File_IO::File_IO(Content& content) : Base(content) {
    // Each entry calls the virtual reader, so that a derived system's reader is the one used.
    auto bind = [this](void (File_IO::*reader)(const std::string&, const Yaml::Node&)) {
        return Reader([this, reader](const std::string& id, const Yaml::Node& node) {
            (this->*reader)(id, node);
        });
    };
    m_readers.emplace("actions", bind(&File_IO::read_action));
    m_readers.emplace("animations", bind(&File_IO::read_animation));
    m_readers.emplace("characters", bind(&File_IO::read_character));
    m_readers.emplace("codes", bind(&File_IO::read_code));
    m_readers.emplace("dialogs", bind(&File_IO::read_dialog));
    m_readers.emplace("integers", bind(&File_IO::read_integer));
    m_readers.emplace("objects", bind(&File_IO::read_object));
    m_readers.emplace("musics", bind(&File_IO::read_music));
    m_readers.emplace("scenery", bind(&File_IO::read_scenery));
    m_readers.emplace("sounds", bind(&File_IO::read_sound));
    m_readers.emplace("texts", bind(&File_IO::read_text));
    m_readers.emplace("windows", bind(&File_IO::read_window));
}

void File_IO::run() {
    // a number added by a script in the last frame is callable from this one on
    read_phone_actions();

    if (receive(Key::game_load))
        load_requested_save();

    if (auto room = m_content.request<Component::Simple<std::string>>(Key::game_new_room)) {
        receive(Key::time_speedup);
        const std::string id = room->value();
        read_room(id);
        remove(Key::game_new_room, true);
        emit(Key::game_clear_notifications);
        if (m_content.value<Component::Simple<std::string>>(Key::game_new_room_origin, "") ==
            "Saved_game")
            drop_stale_saved_steps();
    }

    if (receive(Key::game_save))
        write_savefile();

    if (receive(Key::game_config_changed))
        write_config();
}

void File_IO::clean_content() {
    const bool reset = receive(Key::game_reset);
    auto inventory = m_content.get<Component::Inventory>(Key::game_inventory);

    std::unordered_set<std::string> keep;
    if (reset) {
        auto blackscreen = m_content.get<Component::Image>(Key::blackscreen_image);
        blackscreen->on() = true;
        blackscreen->set_alpha(255);

        if (auto camera =
                m_content.request<Component::Position>(Fast_access_component::CAMERA_POSITION))
            camera->set(Point(0, 0));
        if (auto zoom = m_content.request<Component::Simple<double>>(
                Fast_access_component::CAMERA_ZOOM))
            zoom->set(1.0);
        if (auto game_status = status())
            game_status->reset();
        auto logic_action = m_content.get<Component::Action>(Key::logic_action);
        // A code lock's result picture, a system component, would outlive the timer that ends it.
        for (const auto& [t, c] : logic_action->scheduled())
            if (c && c->entity() == "Code_result" &&
                m_content.request<Component::Base>(c->entity(), c->component()) == c)
                m_content.remove(c);
        logic_action->clear();
        remove(Key::character_action, true);
        remove(Key::character_triggered_action, true);
        remove(Key::game_current_dialog, true);

        // An item whose picture is missing, or currently selects nothing, has nothing to hide.
        for (const std::string& item : inventory->data())
            if (auto image = m_content.request<Component::Image>(item, "image"))
                image->on() = false;
        inventory->clear();
    } else if (auto phones =
                   m_content.request<Component::Vector<std::string>>(Key::phone_numbers_list)) {
        keep.insert("phone_numbers");
        keep.insert(phones->value().begin(), phones->value().end());
    }

    // An achievement belongs to the game, as a system entity does, whatever its id: its text
    // is read once from the init file, and an unlocked one stays unlocked.
    std::unordered_set<std::string> achievements;
    if (auto list = m_content.request<Component::Vector<std::string>>(Key::achievements_list))
        achievements.insert(list->value().begin(), list->value().end());

    m_content.clear([&](const Content::Component_ptr& c) {
        const std::string& e = c->entity();
        if (achievements.count(e) != 0)
            return false;
        if (!reset) {
            const std::string& name = c->component();
            if (keep.count(e) != 0 || signal(e, "is_global") || name == "state" ||
                name == "position" || name == "signal" || name == "resume_at" ||
                Component::cast<Component::Simple<int>>(c))
                return false;
        }
        return startswith(e, "Finishing_") || startswith(e, "Comment") || !c->is_system();
    });

    if (reset) {
        remove(Key::player_name, true);
        remove(Key::follower_name, true);
        Yaml init("data/init.yaml", false, false);
        ORVANE_CHECK(init.parse(), "Can't open data/init.yaml");
        read_init_global_items(init);
    }

    emit(Key::game_clear_managers);
    emit(Key::dialog_clean);
}

void File_IO::for_each_kind(
    const Yaml::Node& node,
    const std::function<void(const std::string&, const Reader&, const Yaml::Node&)>& fn) {
    for (const char* kind : walk_order)
        if (node.has(kind))
            fn(kind, m_readers.at(kind), node[kind]);
}

void File_IO::read_item_file(const std::string& kind, const std::string& name,
                             const std::string& asked_by) {
    const std::string path = "data/" + kind + "/" + name + ".yaml";
    Yaml item(path, false, false);
    ORVANE_CHECK(item.parse(),
                 "Can't open " + path + (asked_by.empty() ? "" : ", asked for by " + asked_by));
    m_readers.at(kind)(name, item.root());
    item.root().warn_unknown_keys();
}


} // namespace Orvane::System
