#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Menu.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Menu.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

namespace {

using Text = Component::Simple<std::string>;
using Number = Component::Simple<int>;

/// s before the first occurrence of part; s itself when part does not occur.
std::string cut_at(const std::string& s, const char* part) {
    return s.substr(0, s.find(part));
}

/// The part of a slot entry's effect after its first "_" ("Load_auto" gives "auto").
std::string slot_of(const std::string& effect) { return effect.substr(effect.find('_') + 1); }

} // namespace

Menu::Menu(Content& content) : Base(content) {
    for (const char* item : Config::exit_menu_items)
        create_callback("Exit", item, [this](const std::string&, const std::string& effect) {
            hide_menu("Exit");
            show_menu(effect);
        });
    // replaces the entry above: quitting saves the game to the automatic slot
    create_callback("Exit", "Quit", [this](const std::string&, const std::string&) {
        emit(Key::game_exit);
        emit(Key::game_save);
        set<Text>(Key::savegame_id, std::string("auto"));
    });
    create_callback("Exit", "Support",
                    [this](const std::string&, const std::string&) { emit(Key::game_support); });
    for (const char* page : {"Exit", "Message", "Saved"})
        create_callback(page, "Ok", [this](const std::string& menu, const std::string&) {
            hide_menu(menu);
            status()->pop();
        });
    create_callback("New_game", "Ok",
                    [this](const std::string& menu, const std::string&) { restart(menu); });
    create_callback("End", "End_new_game",
                    [this](const std::string& menu, const std::string&) { restart(menu); });
    create_callback("End", "End_quit",
                    [this](const std::string&, const std::string&) { emit(Key::game_exit); });
    create_callback("New_game", "Cancel", [this](const std::string&, const std::string&) {
        hide_menu("New_game");
        show_menu("Exit");
    });
    create_callback("Wanna_save", "Ok", [this](const std::string&, const std::string&) {
        emit(Key::game_save);
        hide_menu("Wanna_save");
        show_menu("Saved");
    });
    create_callback("Wanna_save", "Cancel", [this](const std::string&, const std::string&) {
        hide_menu("Wanna_save");
        show_menu("Save");
    });
    create_callback("Wanna_load", "Ok", [this](const std::string&, const std::string&) {
        emit(Key::game_load);
        emit(Key::game_reset);
        emit(Key::music_stop);
        hide_menu("Wanna_load");
        status()->pop();
    });
    create_callback("Wanna_load", "Cancel", [this](const std::string&, const std::string&) {
        hide_menu("Wanna_load");
        show_menu("Load");
    });
    for (const char* page : {"Controls", "Phone", "Settings", "Save", "Load"})
        create_callback(page, "Ok", [this](const std::string& menu, const std::string&) {
            hide_menu(menu);
            show_menu("Exit");
        });
    for (const char* id : Config::save_ids) {
        create_callback("Load", std::string("Load_") + id,
                        [this](const std::string&, const std::string& effect) {
                            set<Text>(Key::savegame_id, slot_of(effect));
                            hide_menu("Load");
                            show_menu("Wanna_load");
                        });
        create_callback("Save", std::string("Save_") + id,
                        [this](const std::string&, const std::string& effect) {
                            const std::string slot = slot_of(effect);
                            set<Text>(Key::savegame_id, slot);
                            hide_menu("Save");
                            if (m_content.request<Component::Base>(Key::save_slot(slot), "info")) {
                                show_menu("Wanna_save");
                            } else {
                                emit(Key::game_save);
                                show_menu("Saved");
                            }
                        });
    }
}

void Menu::create_callback(const std::string& menu, const std::string& effect,
                           const Callback& create) {
    m_callbacks.insert_or_assign(Component::Id(menu, effect), create);
}

void Menu::restart(const std::string& menu) {
    set<Component::Variable>(Key::game_new_room,
                             m_content.get<Text>(Key::game_init_new_room));
    set<Component::Variable>(Key::game_new_room_origin,
                             m_content.get<Text>(Key::game_init_new_room_origin));
    emit(Key::game_reset);
    emit(Key::music_stop);
    hide_menu(menu);
    status()->pop();
    status()->push(Status::LOCKED);
}

void Menu::run() {
    // A game without menus opens none, but still follows the saves and the input mode, so that
    // neither signal stays for the other systems to find every frame.
    const bool no_menu = signal(Key::game_no_menu);
    if (!no_menu) {
        if (auto create = m_content.request<Text>(Key::menu_create)) {
            show_menu(create->value());
            remove(Key::menu_create, true);
        }
        if (auto del = m_content.request<Text>(Key::menu_delete)) {
            hide_menu(del->value());
            remove(Key::menu_delete, true);
        }
    }
    if (receive(Key::saves_have_changed)) {
        delete_menu("Load");
        delete_menu("Save");
        init_loadsave_menus();
    }
    if (receive(Key::input_mode_changed)) {
        delete_menu("Controls");
        init_controls_menu();
    }
    if (no_menu || !status()->is(Status::IN_MENU))
        return;
    if (receive(Key::menu_clicked))
        menu_clicked();
    if (status()->is(Status::IN_MENU))
        highlight_walk();
}

void Menu::highlight_walk() {
    const Input_mode mode =
        m_content.value<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE);
    const bool gamepad = mode == Input_mode::GAMEPAD;
    const bool touch = mode == Input_mode::TOUCHSCREEN;

    const std::string page = value<Text>(Key::game_current_menu);
    auto tree = m_content.get<Component::Menu>(page, "menu");
    const bool rows = page == "Settings" || page == "Controls";

    std::string active = m_content.value<Text>(Key::interface_active_menu_item, "");
    // the controller picks its first entry only while nothing is active
    const bool choosing = gamepad && active.empty();
    std::string base = active;
    if (contains(base, "_left_arrow"))
        base = cut_at(base, "_left_arrow");
    else if (contains(base, "_right_arrow"))
        base = cut_at(base, "_right_arrow");

    std::vector<Component::Menu::Vertex_wrapper> queue{tree->root()};
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const Component::Menu::Vertex_wrapper vertex = queue[next];
        for (std::size_t i = 0; i < vertex.nb_children(); ++i)
            queue.push_back(vertex[i]);
        const std::shared_ptr<Component::Image> image = vertex.image();
        if (!image)
            continue;
        const std::string& name = image->entity();
        if (choosing && active.empty()) {
            if (rows) {
                if (contains(name, "_left_arrow"))
                    active = cut_at(name, "_left_arrow");
            } else if (contains(name, "_button")) {
                active = name;
            }
        }
        const bool highlighted =
            name == active || (rows && !base.empty() && contains(name, base));
        image->on() = true;
        if (contains(name, "_button"))
            image->set_alpha(highlighted && !touch ? 255 : 0);
    }
    if (choosing) {
        set<Text>(Key::interface_active_menu_item, active);
        set<Text>(Key::interface_gamepad_active_menu_item, active);
    }
}

void Menu::show_menu(const std::string& name) {
    set<Text>(Key::game_current_menu, name);
    auto tree = m_content.get<Component::Menu>(name, "menu");

    if (name == "Settings") {
        const std::string& locale =
            m_content.value<Text>(Fast_access_component::GAME_CURRENT_LOCALE);
        tree->update_setting("Language",
                             value<Text>(Key::locale_entity(locale), "description"));
        tree->update_setting(
            "Fullscreen",
            m_content.get<Component::Boolean>(Key::window_fullscreen)->value() ? "Yes" : "No");
        switch (value<Number>(Key::dialog_speed)) {
        case 18: tree->update_setting("Text_speed", "Slow"); break;
        case 12: tree->update_setting("Text_speed", "Medium_speed"); break;
        case 9: tree->update_setting("Text_speed", "Fast"); break;
        default: break;
        }
        switch (value<Number>(Key::interface_scale)) {
        case 4: tree->update_setting("Interface_scale", "Tiny"); break;
        case 6: tree->update_setting("Interface_scale", "Small"); break;
        case 9: tree->update_setting("Interface_scale", "Large"); break;
        case 12: tree->update_setting("Interface_scale", "Huge"); break;
        default: break;
        }
        tree->update_setting("Music_volume",
                             std::to_string(value<Number>(Key::music_volume) * 10));
        tree->update_setting("Sound_volume",
                             std::to_string(value<Number>(Key::sounds_volume) * 10));
    } else if (name == "Message") {
        auto message = set<Component::Menu>("Message", "menu");
        message->split(Split_direction::VERTICALLY, 2);
        make_text_menu_text((*message)[0], "Message");
        make_oknotok_item((*message)[1], true);
    } else if (name == "Phone") {
        update_phone_menu();
    } else if (name == "End") {
        update_end_menu();
        emit(Key::game_notify_end_achievements);
    }

    m_content.get<Component::Image>(Key::menu_background_image)->on() = true;
    m_content.get<Component::Image>(Key::menu_overlay_image)->on() = true;

    auto info = set<Component::Image>("Game_info", "image", m_content.get<Component::Font>(Key::debug_font),
                                      "FFFFFF", value<Text>(Key::version_string), false);
    info->z() = Config::MENU_TEXTS;
    info->set_relative_origin(1, 1);
    info->set_scale(0.5);
    set<Component::Absolute_position>("Game_info", "position", Point(1915, 1075), true);
}

void Menu::hide_menu(const std::string& name) {
    m_content.get<Component::Menu>(name, "menu")->hide();
    m_content.get<Component::Image>(Key::menu_background_image)->on() = false;
    m_content.get<Component::Image>(Key::menu_overlay_image)->on() = false;
    remove("Game_info", "image", true);
    remove(Key::interface_active_menu_item, true);
    remove(Key::interface_gamepad_active_menu_item, true);
    if (name == "Settings")
        emit(Key::game_config_changed);
}

void Menu::delete_menu(const std::string& name) {
    // a snapshot first: removing images while the tree is walked is safe, but plain to read
    std::vector<std::shared_ptr<Component::Image>> language_bound;
    m_content.get<Component::Menu>(name, "menu")->apply(
        [&](const std::shared_ptr<Component::Image>& image) {
            std::string text = image->entity();
            if (contains(text, "Exit_"))
                text = text.substr(5);
            if (m_content.request<Text>(text, "text"))
                language_bound.push_back(image);
        });
    for (const auto& image : language_bound)
        remove(image->entity(), image->component(), true);
}

void Menu::menu_clicked() {
    std::string item = value<Text>(Key::interface_active_menu_item);
    if (contains(item, "_button"))
        item = cut_at(item, "_button");
    const std::string page = value<Text>(Key::game_current_menu);
    auto effect = m_content.request<Text>(item, "effect");

    if (page == "Settings" || page == "Controls") {
        if (effect && effect->value() != "Ok")
            return;
        if (!effect) {
            auto tree = m_content.get<Component::Menu>(page, "menu");
            std::string setting;
            std::string chosen;
            if (contains(item, "_left_arrow")) {
                setting = cut_at(item, "_left_arrow");
                chosen = tree->decrement(setting);
            } else if (contains(item, "_right_arrow")) {
                setting = cut_at(item, "_right_arrow");
                chosen = tree->increment(setting);
            } else {
                return;
            }
            apply_setting(setting, chosen);
            emit(Key::click_play_sound);
            return;
        }
    }
    if (!effect)
        return;

    const std::string what = effect->value();
    if (auto action = m_content.request<Component::Action>(what, "action")) {
        hide_menu(page);
        status()->pop();
        set<Component::Variable>(Key::character_triggered_action, action);
        return;
    }
    auto callback = m_callbacks.find(Component::Id(page, what));
    ORVANE_CHECK(callback != m_callbacks.end(), "Unknown menu effect: " + page + ":" + what);
    emit(Key::click_play_sound);
    // a copy: the callback may rebuild pages, but never the table
    const Callback call = callback->second;
    call(page, what);
}

} // namespace Orvane::System
