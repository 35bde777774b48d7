#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Third_party/Gamepad.h>
#include <Orvane/Third_party/SDL_file.h>
#include <Orvane/Third_party/Yaml_writer.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/integer.h>

#include "File_IO__save.h"

namespace Orvane::System {

using Third_party::Yaml;

namespace {

// The settings as read, before they become components.
struct Settings {
    std::string locale;
    bool fullscreen = true;
    int input_mode = MOUSE;
    int dialog_speed = 12;
    int interface_scale = 6;
    int music_volume = 7;
    int sounds_volume = 9;
    bool autosave = true;
    int width = -1;
    int height = -1;
};

constexpr int max_window_side = 16384;

std::string config_file_name(const Content& content) {
    return "config" + content.value<Component::Simple<std::string>>(Key::save_suffix, "") + ".yaml";
}

// Reads the settings file; every fault of the player's file is a warning and a fallback.
class Settings_reader {
  public:
    explicit Settings_reader(std::string file) : m_file(std::move(file)) {}

    void warn(const std::string& key, const std::string& what) const {
        warning(m_file + ": " + key + " " + what + "; the default is used");
    }

    // The scalar under key, or null (with a warning) when it is a list or a mapping.
    const Yaml::Node* scalar(const Yaml::Node& root, const std::string& key) const {
        if (!root.has(key))
            return nullptr;
        const Yaml::Node& node = root[key];
        if (node.is_sequence || !node.children.empty()) {
            warn(key, "is not a single value");
            return nullptr;
        }
        return &node;
    }

    void read_bool(const Yaml::Node& root, const std::string& key, bool& out) const {
        if (const Yaml::Node* node = scalar(root, key)) {
            if (node->value == "true" || node->value == "false")
                out = node->boolean();
            else
                warn(key, "is not true or false");
        }
    }

    // An integer from min to max; a value outside is refused, or clamped with `clamp`.
    void read_int(const Yaml::Node& root, const std::string& key, int min, int max, int& out,
                  bool clamp = false) const {
        const Yaml::Node* node = scalar(root, key);
        if (!node)
            return;
        const std::optional<int> value = parse_int(node->value);
        if (!value) {
            warn(key, "is not an integer");
            return;
        }
        if (*value >= min && *value <= max) {
            out = *value;
        } else if (clamp) {
            out = *value < min ? min : max;
            warning(m_file + ": " + key + " " + std::to_string(*value) + " is outside " +
                    std::to_string(min) + "-" + std::to_string(max) + "; " + std::to_string(out) +
                    " is used");
        } else {
            warn(key, std::to_string(*value) + " is outside " + std::to_string(min) + "-" +
                          std::to_string(max));
        }
    }

    void read(const Yaml::Node& root, Settings& s, Content& content) const {
        if (const Yaml::Node* node = scalar(root, "locale"))
            s.locale = node->value;
        read_bool(root, "fullscreen", s.fullscreen);
        read_int(root, "input_mode", MOUSE, GAMEPAD, s.input_mode);
        read_gamepads(root, content);

        if (const Yaml::Node* node = scalar(root, "dialog_speed")) {
            const double speed = node->floating();
            // checked before the truncation, which would overflow far outside the range
            if (std::isfinite(speed) && speed >= 1.0 && speed < 101.0)
                s.dialog_speed = static_cast<int>(speed);
            else
                warn("dialog_speed", "\"" + node->value + "\" is not a number from 1 to 100");
        }

        if (const Yaml::Node* node = scalar(root, "interface_scale")) {
            const std::optional<int> scale = parse_int(node->value);
            if (scale && (*scale == 4 || *scale == 6 || *scale == 9 || *scale == 12))
                s.interface_scale = *scale;
            else
                warn("interface_scale", "\"" + node->value + "\" is not 4, 6, 9 or 12");
        }
        read_int(root, "music_volume", 0, 10, s.music_volume, true);
        read_int(root, "sounds_volume", 0, 10, s.sounds_volume, true);
        read_bool(root, "autosave", s.autosave);
        read_window(root, s);
    }

    void read_window(const Yaml::Node& root, Settings& s) const {
        if (!root.has("window"))
            return;
        const Yaml::Node& node = root["window"];
        if (!node.is_sequence || node.size() != 2) {
            warn("window", "is not a list of two integers");
            return;
        }
        const std::optional<int> width = parse_int(node[0].value);
        const std::optional<int> height = parse_int(node[1].value);
        if (!width || !height) {
            warn("window", "is not a list of two integers");
            return;
        }
        // [-1, -1] is the written form of "no remembered size"
        if (*width == -1 && *height == -1)
            return;
        if (*width < 1 || *width > max_window_side || *height < 1 || *height > max_window_side) {
            warn("window", "side is outside 1-" + std::to_string(max_window_side));
            return;
        }
        s.width = *width;
        s.height = *height;
    }

    // Each entry is stored at once; an entry without an id is skipped.
    void read_gamepads(const Yaml::Node& root, Content& content) const {
        if (!root.has("gamepads"))
            return;
        const Yaml::Node& list = root["gamepads"];
        if (!list.is_sequence) {
            // the writer's empty section reads back as an empty value
            if (!list.value.empty() || !list.children.empty())
                warn("gamepads", "is not a list");
            return;
        }
        for (std::size_t i = 0; i < list.size(); ++i) {
            const Yaml::Node& entry = list[i];
            const std::string where = "gamepads entry " + std::to_string(i);
            const Yaml::Node* id = scalar(entry, "id");
            if (!id) {
                warning(m_file + ": " + where + " has no id; it is skipped");
                continue;
            }
            int labels = 0;
            read_int(entry, "labels", 0, 3, labels);
            bool ok_down = false;
            if (const Yaml::Node* node = scalar(entry, "ok_down"))
                ok_down = node->boolean();
            content.set<Component::Simple<Gamepad_info>>(
                "Gamepad(" + id->value + ")", "gamepad",
                Gamepad_info(id->value, static_cast<Gamepad_labels>(labels), ok_down));
        }
    }

  private:
    std::string m_file;
};

} // namespace

void File_IO::remove_stale_temporaries() {
    const std::string folder = Third_party::SDL_file::pref_path();
    std::vector<std::string> names = {config_file_name(m_content)};
    for (const char* slot : Config::save_ids)
        names.push_back(save_file_name(m_content, slot));
    for (const std::string& name : names)
        Third_party::SDL_file::remove_temporaries(folder + name);
}

void File_IO::read_config() {
    Settings s;
    const std::string name = config_file_name(m_content);
    Yaml file(name, true);
    if (file.is_open()) {
        if (file.parse()) {
            Settings_reader(name).read(file.root(), s, m_content);
            file.root().warn_unknown_keys();
        } else {
            warning(name + " holds no settings; the defaults are used");
        }
    } else if (const std::string what =
                   Third_party::SDL_file::not_a_file(Third_party::SDL_file::pref_path() + name);
               !what.empty()) {
        warning(name + " is " + what + "; the defaults are used");
    }

    if (signal(Key::game_test_input_mode)) {
        s.music_volume = 0;
        s.sounds_volume = 0;
    }

    m_content.set_fac<Component::Simple<std::string>>(Fast_access_component::GAME_CURRENT_LOCALE,
                                                      Key::game_current_locale, s.locale);
    m_content.set<Component::Boolean>(Key::window_fullscreen, s.fullscreen);
    m_content.set_fac<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE,
                                                     Key::interface_input_mode,
                                                     static_cast<Input_mode>(s.input_mode));
    m_content.set<Component::Simple<int>>(Key::dialog_speed, s.dialog_speed);
    m_content.set<Component::Simple<int>>(Key::interface_scale, s.interface_scale);
    Config::interface_scale = s.interface_scale / 6.0;
    m_content.set<Component::Simple<int>>(Key::music_volume, s.music_volume);
    m_content.set<Component::Simple<int>>(Key::sounds_volume, s.sounds_volume);
    m_content.set<Component::Boolean>("Game", "autosave", s.autosave);
    m_content.set<Component::Simple<int>>(Key::window_width, s.width);
    m_content.set<Component::Simple<int>>(Key::window_height, s.height);
}

void File_IO::write_config() {
    Third_party::Yaml_writer file;
    file.write("locale", m_content.value<Component::Simple<std::string>>(
                             Fast_access_component::GAME_CURRENT_LOCALE));
    file.write("fullscreen", m_content.get<Component::Boolean>(Key::window_fullscreen)->value());
    file.write("input_mode", m_content.value<Component::Simple<Input_mode>>(
                                 Fast_access_component::INTERFACE_INPUT_MODE));
    file.start_section("gamepads");
    for (const auto& [key, c] : components("gamepad"))
        if (auto pad = c->component() == "gamepad"
                           ? Component::cast<Component::Simple<Gamepad_info>>(c)
                           : nullptr)
            file.write_list_item("id", pad->value().id, "labels", pad->value().labels, "ok_down",
                                 pad->value().ok_down);
    file.end_section();
    file.write("dialog_speed", value<Component::Simple<int>>(Key::dialog_speed));
    file.write("interface_scale", value<Component::Simple<int>>(Key::interface_scale));
    file.write("music_volume", value<Component::Simple<int>>(Key::music_volume));
    file.write("sounds_volume", value<Component::Simple<int>>(Key::sounds_volume));
    file.write("autosave", m_content.get<Component::Boolean>("Game", "autosave")->value());
    file.write("window", value<Component::Simple<int>>(Key::window_width),
               value<Component::Simple<int>>(Key::window_height));
    file.save(config_file_name(m_content));
}

} // namespace Orvane::System
