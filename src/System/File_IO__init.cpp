#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/helpers.h>
#include <Orvane/Version.h>

namespace Orvane::System {

using Component::Collision_type;
using Third_party::Yaml;

namespace {

// The list under key, which must hold at least `count` items: a shorter one stops with the
// reader's message naming the list and its last needed item.
const Yaml::Node& list(const Yaml::Node& node, const std::string& key, std::size_t count) {
    const Yaml::Node& items = node[key];
    (void)items[count - 1];
    return items;
}

std::string picture(const Yaml::Node& node) { return node.string("images", "interface", "png"); }

std::string font(const Yaml::Node& node) { return node.string("fonts", "ttf"); }

std::shared_ptr<Component::Image> hidden(std::shared_ptr<Component::Image> image) {
    image->on() = false;
    return image;
}

} // namespace

void File_IO::read_init() {
    Yaml init("data/init.yaml", false, false);
    ORVANE_CHECK(init.parse(), "Can't open data/init.yaml");

    read_init_general(init);
    // The languages come before anything that may build a locale-dependent picture or text:
    // the global items (windows, scenery, texts) and the interface section.
    read_locale();
    read_init_achievement(init);
    read_init_cursor(init);
    read_init_inventory(init);
    read_init_functions(init);
    read_init_global_items(init);
    read_init_text_defaults(init);

    const Yaml::Node& load = list(init.root(), "load", 2);
    m_content.set<Component::Simple<std::string>>(Key::game_init_new_room, load[0].string());
    m_content.set<Component::Simple<std::string>>(Key::game_init_new_room_origin, load[1].string());
    read_savefiles(init);
    read_init_interface(init);
    init.root().warn_unknown_keys();
}

void File_IO::read_init_general(const Yaml& init) {
    const std::string data_version = init["data_version"].string();
    const std::string data_variant = init["data_variant"].string();
    m_content.set<Component::Simple<std::string>>(
        Key::version_string,
        "v" + Version::str(false) + "-d" + data_version + "-" + data_variant);

    if (init.has("no_menu") && init["no_menu"].boolean())
        emit("Game", "no_menu");

    const std::string& minimum = init["min_orvane_version"].string();
    const std::optional<unsigned int> needed = Version::parse(minimum);
    ORVANE_CHECK(needed, "Error: min version " + minimum + " is not a version number");
    ORVANE_CHECK(*needed <= *Version::parse(Version::str(false)),
                 "Error: min version " + minimum + " incompatible with Orvane " +
                     Version::str(true));

    m_content.set<Component::Simple<std::string>>(Key::game_name, init["name"].string());
    emit(Key::game_name_changed);
    m_content.set<Component::Simple<std::string>>(Key::icon_filename, picture(init["icon"]));

    const Yaml::Node& spin = list(init.root(), "loading_spin", 2);
    auto spinner = m_content.set_fac<Component::Animation>(
        Fast_access_component::LOADING_SPIN_IMAGE, Key::loading_spin_image, picture(spin[0]),
        Config::TOPMOST, spin[1].integer(), 1, true, Collision_type::BOX, false);
    spinner->on() = false;
    spinner->set_relative_origin(0.5, 0.5);
    m_content.set_fac<Component::Absolute_position>(
        Fast_access_component::LOADING_SPIN_POSITION, Key::loading_spin_position,
        Point(Config::world_width - 1.5 * spinner->width(),
              Config::world_height - 1.5 * spinner->height()));

    const Yaml::Node& results = list(init.root(), "code_results", 2);
    const char* result_entities[] = {"Code_success", "Code_failure"};
    for (int i = 0; i < 2; ++i) {
        auto image = m_content.set<Component::Image>(result_entities[i], "image",
                                                     picture(results[i]), Config::INTERFACE_LABELS,
                                                     Collision_type::UNCLICKABLE);
        image->set_relative_origin(0.5, 0.5);
        image->on() = false;
    }
    m_content.set<Component::Absolute_position>("Code_result", "position", Point(960, 540));

    m_content.set<Component::Font>(Key::debug_font, font(init["debug_font"]), 40);
    m_content.set<Component::Font>(Key::interface_font, font(init["interface_font"]), 80);
    m_content.set<Component::Font>(Key::interface_light_font, font(init["interface_light_font"]),
                                   80);
    m_content.set<Component::Font>(Key::dialog_font, font(init["dialog_font"]), 80);
}

void File_IO::read_init_achievement(const Yaml& init) {
    if (!init.has("achievements"))
        return;
    const Yaml::Node& achievements = init["achievements"];
    std::vector<std::string> ids;
    for (std::size_t i = 0; i < achievements.size(); ++i) {
        const Yaml::Node& entry = achievements[i];
        (void)entry[1]; // an id and a text at least
        const std::string& id = entry[0].string();
        ids.push_back(id);
        m_content.set<Component::Simple<std::string>>(id, "text", entry[1].string());
        if (entry.size() == 3)
            m_content.set<Component::Simple<int>>(id, "value", entry[2].integer());
    }
    m_content.set<Component::Vector<std::string>>(Key::achievements_list, ids);

    const Yaml::Node& notif = list(init.root(), "achievement_notif", 3);
    const Store_key keys[] = {Key::yellow_left_circle_image, Key::yellow_right_circle_image,
                              Key::star_image};
    for (int i = 0; i < 3; ++i)
        hidden(m_content.set<Component::Image>(keys[i], picture(notif[i]), 1, Collision_type::BOX,
                                               true));
}

void File_IO::read_init_cursor(const Yaml& init) {
    const Yaml::Node& cursor = list(init.root(), "cursor", 4);
    const Yaml::Node& circle = list(init.root(), "circle", 3);
    auto make = [](const Yaml::Node& node, double fx, double fy) {
        auto image = std::make_shared<Component::Image>("Cursor", "image", picture(node),
                                                        Config::CURSOR,
                                                        Collision_type::UNCLICKABLE);
        image->set_relative_origin(fx, fy);
        return image;
    };
    auto copy = [this](const std::string& entity, const std::shared_ptr<Component::Image>& of) {
        hidden(m_content.set<Component::Image>(entity, "image", of));
    };

    auto default_image = make(cursor[0], 0.1, 0.1);
    auto object_image = make(cursor[1], 0.5, 0.5);
    auto left_image = make(cursor[2], 1, 0.5);
    copy("Goto_left", left_image);
    auto right_image = make(cursor[3], 0, 0.5);
    copy("Goto_right", right_image);
    auto hand_image = make(init["hand"], 0.28, 0.12);

    auto state = m_content.set<Component::Simple<std::string>>(Key::cursor_state, "default");
    auto image = m_content.set<Component::Simple_conditional<std::string>>(Key::cursor_image, state);
    image->add("default", default_image);
    image->add("object", object_image);
    image->add("goto_left", left_image);
    image->add("goto_right", right_image);
    image->add("fake_touchscreen", hand_image);
    m_content.set_fac<Component::Absolute_position>(Fast_access_component::CURSOR_POSITION,
                                                    Key::cursor_position, Point(0, 0));
    image->add("selected", make(circle[2], 0.5, 0.5));
}

void File_IO::read_init_inventory(const Yaml& init) {
    const Yaml::Node& arrows = list(init.root(), "inventory_arrows", 2);
    auto left = m_content.set<Component::Image>(Key::left_arrow_image, picture(arrows[0]),
                                                Config::INTERFACE_ITEMS,
                                                Collision_type::PIXEL_PERFECT);
    left->set_relative_origin(0, 0.5);
    auto right = m_content.set<Component::Image>(Key::right_arrow_image, picture(arrows[1]),
                                                 Config::INTERFACE_ITEMS,
                                                 Collision_type::PIXEL_PERFECT);
    right->set_relative_origin(1, 0.5);
    auto chamfer =
        m_content.set<Component::Image>(Key::chamfer_image, picture(init["inventory_chamfer"]));
    chamfer->z() = Config::INTERFACE_BACK;
}

void File_IO::read_init_functions(const Yaml& init) {
    const Yaml::Node& functions = init["functions"];
    for (std::size_t i = 0; i < functions.size(); ++i) {
        const Yaml::Node& entry = functions[i];
        std::string id = entry["id"].string();
        capitalize(id);
        auto function = std::make_shared<Component::Action>(id, "function");
        // stored as written: calls are expanded where the function is used
        read_steps(entry["effect"], *function, false);
        m_content.set(function);
    }
}

void File_IO::read_init_global_items(const Yaml& init) {
    for_each_kind(init.root(), [this](const std::string& kind, const Reader& reader,
                                      const Yaml::Node& items) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            const std::string name = items[i].string();
            const std::string path = "data/" + kind + "/" + name + ".yaml";
            Yaml item(path, false, false);
            ORVANE_CHECK(item.parse(), "Can't open " + path);
            emit(name, "is_global");
            reader(name, item.root());
        }
    });
}

void File_IO::read_init_text_defaults(const Yaml& init) {
    const Yaml::Node& texts = init["text"];
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const Yaml::Node& entry = texts[i];
        std::string id = entry["id"].string();
        capitalize(id);
        m_content.set<Component::Simple<std::string>>(id, "text", entry["value"].string());
        if (entry.has("icon")) {
            auto icon = m_content.set<Component::Image>(Key::icon(id), "image",
                                                        picture(entry["icon"]));
            icon->z() = Config::MENU_TEXTS;
            icon->set_relative_origin(0.5, 0.5);
            icon->on() = false;
        }
    }

    const Yaml::Node& defaults = init["default"];
    for (const char* verb : Config::possible_actions) {
        const Yaml::Node& entry = defaults[verb];
        const std::string entity = std::string("Default_") + verb;
        m_content.set<Component::Simple<std::string>>(entity, "label", entry["label"].string());
        if (!entry.has("effect"))
            continue;
        const Yaml::Node& effect = entry["effect"];
        auto reaction = m_content.set<Component::Random_conditional>(entity, "action");
        for (std::size_t j = 0; j < effect.size(); ++j) {
            auto candidate = std::make_shared<Component::Action>(entity, std::to_string(j));
            candidate->add("look", {});
            read_step(effect[j], *candidate, true);
            reaction->add(candidate);
        }
    }
    m_content.set<Component::Simple<std::string>>(Key::inventory_label,
                                                  defaults["inventory"]["label"].string());
}

} // namespace Orvane::System
