#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <unordered_set>
#include <utility>
#include <vector>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Component/Action.h>
#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

using Third_party::Yaml;

// What a save file holds once read and checked: nothing of it reaches the store before the
// whole file has been found usable.
struct Save_data {
    struct Character {
        std::string id;
        std::string looking; // "true" or "false"
        std::optional<std::string> animation;
    };
    struct Place {
        std::string id;
        int x = 0;
        int y = 0;
        std::vector<std::string> texts; // the coordinates as written
    };

    std::string file;
    std::int64_t date = 0;
    double time = 0;
    std::string room;
    std::string room_name;
    std::string player;
    std::optional<std::string> follower;
    double camera = 0;
    std::vector<std::string> inventory;
    std::optional<std::vector<std::string>> phone_numbers;
    std::optional<std::string> music;
    std::vector<std::string> disabled_sources;
    std::vector<std::pair<std::string, double>> music_positions;
    std::optional<std::string> dialog;
    int dialog_position = 0;
    std::vector<Character> characters;
    std::vector<std::pair<std::string, std::string>> states;
    std::vector<std::string> signals;
    std::vector<std::pair<std::string, bool>> achievements;
    std::vector<Place> positions;
    std::vector<std::pair<std::string, int>> integers;
    std::vector<std::string> hidden;
    std::vector<std::string> active_animations;
};

namespace {

bool is_save_id(const std::string& slot) {
    for (const char* id : Config::save_ids)
        if (slot == id)
            return true;
    return false;
}

std::string save_file_name(const Content& content, const std::string& slot) {
    return "save" + content.value<Component::Simple<std::string>>("Save", "suffix", "") + "_" +
           slot + ".yaml";
}

bool is_system_name(const std::string& name) {
    return !name.empty() && name[0] >= 'A' && name[0] <= 'Z';
}

// A state that any reader takes back as written without quotes: letters, digits, '_', '-'
// and '.', beginning with a letter, a digit or '_' (a lone "-" would read as a list entry).
bool is_plain(const std::string& text) {
    if (text.empty())
        return false;
    auto word = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    };
    if (!word(text[0]))
        return false;
    for (char c : text)
        if (!word(c) && c != '-' && c != '.')
            return false;
    return true;
}

std::string plain_or_quoted(const std::string& text) {
    return is_plain(text) ? text : Yaml::quoted(text);
}

// Checked numbers: the whole text must be the number, and it must fit.
std::optional<std::int64_t> parse_int64(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    const std::size_t first = text[0] == '-' || text[0] == '+' ? 1 : 0;
    if (first == text.size())
        return std::nullopt;
    for (std::size_t i = first; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE)
        return std::nullopt;
    return static_cast<std::int64_t>(value);
}

std::optional<int> parse_int(const std::string& text) {
    const std::optional<std::int64_t> value = parse_int64(text);
    if (!value || *value < std::numeric_limits<int>::min() ||
        *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<double> parse_real(const std::string& text) {
    if (text.empty() || text[0] == ' ' || text[0] == '\t')
        return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A fault that makes the whole file unusable: the key where it lies and what is wrong.
struct Unusable {
    std::string key;
    std::string why;
};

// Reads the tree of a save file into a Save, checking every key it uses.
class Save_checker {
  public:
    explicit Save_checker(Save_data& save) : m_save(save) {}

    void read(const Yaml::Node& root);

  private:
    using Node = Yaml::Node;

    [[noreturn]] static void fail(const std::string& key, const std::string& why) {
        throw Unusable{key, why};
    }

    void skip(const std::string& where, const std::string& why) const {
        warning(m_save.file + ": " + where + " " + why + "; it is skipped");
    }

    static const Node* find(const Node& node, const std::string& key) {
        auto found = node.children.find(key);
        return found == node.children.end() ? nullptr : found->second.get();
    }

    static const Node& required(const Node& node, const std::string& key) {
        const Node* child = find(node, key);
        if (!child)
            fail(key, "is missing");
        return *child;
    }

    static bool is_scalar(const Node& node) {
        return !node.is_sequence && node.children.empty() && node.items.empty();
    }

    static const std::string& scalar(const Node& node, const std::string& where) {
        if (!is_scalar(node))
            fail(where, "is not a single value");
        return node.value;
    }

    // A section: a list, or nothing at all (the writer's form of an empty section).
    static const std::vector<std::shared_ptr<Node>>& section(const Node& node,
                                                             const std::string& where) {
        static const std::vector<std::shared_ptr<Node>> none;
        if (node.is_sequence)
            return node.items;
        if (is_scalar(node) && node.value.empty())
            return none;
        fail(where, "is not a list");
    }

    static std::vector<std::string> texts(const Node& node, const std::string& where) {
        std::vector<std::string> out;
        const auto& items = section(node, where);
        for (std::size_t i = 0; i < items.size(); ++i)
            out.push_back(scalar(*items[i], where + "/" + std::to_string(i)));
        return out;
    }

    // A record entry `{ id: ..., <key>: ... }`: the scalar under `key`.
    static const std::string& field(const Node& record, const std::string& key,
                                    const std::string& where) {
        if (record.is_sequence || record.children.empty())
            fail(where, "is not a record");
        const Node* child = find(record, key);
        if (!child)
            fail(where, "has no " + key);
        return scalar(*child, where + "/" + key);
    }

    static double real(const std::string& text, const std::string& where) {
        const std::optional<double> value = parse_real(text);
        if (!value)
            fail(where, "\"" + text + "\" is not a finite number");
        return *value;
    }

    static int integer(const std::string& text, const std::string& where) {
        const std::optional<int> value = parse_int(text);
        if (!value)
            fail(where, "\"" + text + "\" is not an integer within int");
        return *value;
    }

    // Entries naming a system entity are never written: a damaged file must not replace the
    // engine's own components.
    bool system_entry(const std::string& id, const std::string& where) const {
        if (!is_system_name(id))
            return false;
        skip(where, "names the system entity " + id);
        return true;
    }

    Save_data& m_save;
};

void Save_checker::read(const Node& root) {
    Save_data& s = m_save;

    if (const Node* date = find(root, "date"))
        s.date = is_scalar(*date) ? parse_int64(date->value).value_or(0) : 0;

    s.time = real(scalar(required(root, "time"), "time"), "time");
    if (s.time < 0)
        fail("time", "is negative");

    s.room = scalar(required(root, "room"), "room");
    const std::string room_file = "data/rooms/" + s.room + ".yaml";
    if (!Packaged_asset_manager::exists(room_file))
        fail("room", "\"" + s.room + "\" is not a room of this game");

    s.player = scalar(required(root, "player"), "player");
    if (const Node* follower = find(root, "follower"))
        s.follower = scalar(*follower, "follower");
    s.camera = real(scalar(required(root, "camera"), "camera"), "camera");

    for (std::string& item : texts(required(root, "inventory"), "inventory")) {
        if (Packaged_asset_manager::exists("data/objects/" + item + ".yaml"))
            s.inventory.push_back(std::move(item));
        else
            skip("inventory", "names " + item + ", which is not an object of this game");
    }
    if (const Node* phones = find(root, "phone_numbers"))
        s.phone_numbers = texts(*phones, "phone_numbers");

    if (const Node* music = find(root, "music")) {
        s.music = scalar(*music, "music");
        s.disabled_sources =
            texts(required(root, "music_disabled_sources"), "music_disabled_sources");
    }
    if (const Node* positions = find(root, "music_positions")) {
        const auto& items = section(*positions, "music_positions");
        for (std::size_t i = 0; i < items.size(); ++i) {
            const std::string where = "music_positions/" + std::to_string(i);
            s.music_positions.emplace_back(field(*items[i], "id", where),
                                           real(field(*items[i], "value", where), where));
        }
    }
    if (const Node* dialog = find(root, "dialog")) {
        s.dialog = scalar(*dialog, "dialog");
        s.dialog_position = integer(scalar(required(root, "dialog_position"), "dialog_position"),
                                    "dialog_position");
    }

    const auto& characters = section(required(root, "characters"), "characters");
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const std::string where = "characters/" + std::to_string(i);
        const Node& entry = *characters[i];
        Save_data::Character c{field(entry, "id", where), field(entry, "value", where), {}};
        if (c.looking != "true" && c.looking != "false")
            fail(where + "/value", "\"" + c.looking + "\" is not true or false");
        if (find(entry, "animation"))
            c.animation = field(entry, "animation", where);
        if (!system_entry(c.id, where))
            s.characters.push_back(std::move(c));
    }

    const auto& states = section(required(root, "states"), "states");
    for (std::size_t i = 0; i < states.size(); ++i) {
        const std::string where = "states/" + std::to_string(i);
        std::string id = field(*states[i], "id", where);
        std::string value = field(*states[i], "value", where);
        if (!system_entry(id, where))
            s.states.emplace_back(std::move(id), std::move(value));
    }

    const auto& signals = section(required(root, "signals"), "signals");
    for (std::size_t i = 0; i < signals.size(); ++i) {
        const std::string where = "signals/" + std::to_string(i);
        std::string id = scalar(*signals[i], where);
        if (!system_entry(id, where))
            s.signals.push_back(std::move(id));
    }

    if (const Node* achievements = find(root, "achievements")) {
        const auto& items = section(*achievements, "achievements");
        for (std::size_t i = 0; i < items.size(); ++i) {
            const std::string where = "achievements/" + std::to_string(i);
            const std::string& stored = field(*items[i], "stored", where);
            if (stored != "true" && stored != "false")
                fail(where + "/stored", "\"" + stored + "\" is not true or false");
            s.achievements.emplace_back(field(*items[i], "id", where), stored == "true");
        }
    }

    const auto& positions = section(required(root, "positions"), "positions");
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const std::string where = "positions/" + std::to_string(i);
        const Node& entry = *positions[i];
        const std::string& id = field(entry, "id", where);
        const Node* value = find(entry, "value");
        if (!value || !value->is_sequence || value->size() < 2 || value->size() > 3)
            fail(where, "has no value of 2 or 3 items");
        Save_data::Place place;
        place.id = id;
        for (std::size_t j = 0; j < value->size(); ++j)
            place.texts.push_back(scalar(*value->items[j], where + "/value"));
        place.x = integer(place.texts[0], where + "/value");
        place.y = integer(place.texts[1], where + "/value");
        if (place.texts.size() == 3)
            (void)integer(place.texts[2], where + "/value");
        if (!system_entry(id, where))
            s.positions.push_back(std::move(place));
    }

    const auto& integers = section(required(root, "integers"), "integers");
    for (std::size_t i = 0; i < integers.size(); ++i) {
        const std::string where = "integers/" + std::to_string(i);
        std::string id = field(*integers[i], "id", where);
        const int value = integer(field(*integers[i], "value", where), where + "/value");
        if (!system_entry(id, where))
            s.integers.emplace_back(std::move(id), value);
    }

    s.hidden = texts(required(root, "hidden"), "hidden");
    s.active_animations = texts(required(root, "active_animations"), "active_animations");

    // Last, once the file is known to be whole: the room's display name for the slot pages.
    Yaml room(room_file, false, false);
    ORVANE_CHECK(room.parse(), "Can't open " + room_file);
    s.room_name = room["name"].string();
}

// The text of a save, built line by line in memory.
class Save_text {
  public:
    void line(const std::string& text) {
        m_text.append(m_indentation, ' ');
        m_text += text;
        m_text += '\n';
    }
    void start_section(const std::string& key) {
        line(key + ":");
        m_indentation += 2;
    }
    void end_section() { m_indentation -= 2; }
    void text(const std::string& key, const std::string& value) {
        line(key + ": " + Yaml::quoted(value));
    }
    void bare(const std::string& value) { line("- " + Yaml::quoted(value)); }
    void record(const std::string& id, const std::string& key, const std::string& value) {
        line("- { id: " + Yaml::quoted(id) + ", " + key + ": " + value + " }");
    }
    const std::string& str() const { return m_text; }

  private:
    std::string m_text;
    std::size_t m_indentation = 0;
};

// A position rounded to whole pixels, halves away from zero; nothing when it does not fit.
std::optional<int> whole_pixel(double v) {
    const double rounded = std::round(v);
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<int>::min() ||
        rounded > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(rounded);
}

// Whether `c` is the component of that name (the maps share one map among many names).
bool named(const Content::Component_ptr& c, const char* name) { return c->component() == name; }

} // namespace

void File_IO::write_savefile() {
    const std::string slot =
        m_content.get<Component::Simple<std::string>>("Savegame", "id")->value();
    remove("Savegame", "id");
    if (!is_save_id(slot)) {
        warning("Savegame:id \"" + slot + "\" is not a save slot; nothing is saved");
        return;
    }

    const std::int64_t date = static_cast<std::int64_t>(std::time(nullptr));
    const double time =
        m_content.value<Component::Simple<double>>(Fast_access_component::CLOCK_SAVED_TIME) +
        m_content.value<Component::Simple<double>>(Fast_access_component::CLOCK_TIME) -
        m_content.value<Component::Simple<double>>(Fast_access_component::CLOCK_DISCOUNTED_TIME);
    const std::string room_name =
        value<Component::Simple<std::string>>("Game", "current_room_name");

    Save_text out;
    out.line("date: " + std::to_string(date));
    out.line("time: " + Yaml::format(time));
    out.text("room", value<Component::Simple<std::string>>("Game", "current_room"));
    out.text("player", value<Component::Simple<std::string>>("Player", "name"));
    if (auto follower = m_content.request<Component::Simple<std::string>>("Follower", "name"))
        out.text("follower", follower->value());
    auto camera = m_content.request<Component::Position>(Fast_access_component::CAMERA_POSITION);
    out.line("camera: " + Yaml::format(camera ? camera->value().x() : 0.0));

    out.start_section("inventory");
    for (const std::string& item : *m_content.get<Component::Inventory>("Game", "inventory"))
        out.bare(item);
    out.end_section();
    if (auto phones = m_content.request<Component::Vector<std::string>>("phone_numbers", "list")) {
        out.start_section("phone_numbers");
        for (const std::string& number : phones->value())
            out.bare(number);
        out.end_section();
    }

    if (auto current = m_content.request<Component::Music>("Game", "music"))
        if (auto music = m_content.request<Component::Music>(current->entity(), "music")) {
            out.text("music", music->entity());
            out.start_section("music_disabled_sources");
            for (const auto& [id, source] : music->sources())
                if (source.state == Component::Music::Source_state::OFF)
                    out.bare(id);
            out.end_section();
        }

    out.start_section("music_positions");
    for (const auto& [key, c] : components("resume_at"))
        if (named(c, "resume_at"))
            if (auto at = Component::cast<Component::Simple<double>>(c))
                out.record(c->entity(), "value", Yaml::format(at->value()));
    out.end_section();

    if (auto dialog = m_content.request<Component::Simple<std::string>>("Game", "current_dialog")) {
        out.text("dialog", dialog->value());
        out.line("dialog_position: " +
                 std::to_string(value<Component::Simple<int>>("Game", "dialog_position")));
    }

    out.start_section("characters");
    for (const auto& [key, c] : components("group")) {
        if (!named(c, "group") || c->is_system())
            continue;
        const std::string& e = c->entity();
        auto head = m_content.request<Component::Animation>(e + "_head", "image");
        if (!head)
            continue;
        const bool right = head->faces_right();
        auto animation = m_content.request<Component::Simple<std::string>>(e, "animation");
        if (animation && animation->value() != "action")
            out.line("- { id: " + Yaml::quoted(e) +
                     ", value: " + Yaml::quoted(Yaml::format(right)) +
                     ", animation: " + Yaml::quoted(animation->value()) + " }");
        else
            out.record(e, "value", Yaml::format(right));
    }
    out.end_section();

    out.start_section("states");
    for (const auto& [key, c] : components("state")) {
        if (!named(c, "state") || c->is_system())
            continue;
        auto state = Component::cast<Component::Simple<std::string>>(c);
        auto pending = m_content.request<Component::Simple<std::string>>(c->entity(), "set_state");
        if (state && (c->was_altered() || state->was_altered() || pending))
            out.record(c->entity(), "value",
                       plain_or_quoted(pending ? pending->value() : state->value()));
    }
    out.end_section();

    out.start_section("signals");
    for (const auto& [key, c] : components("signal"))
        if (named(c, "signal") && !c->is_system() && Component::cast<Component::Signal>(c))
            out.bare(c->entity());
    out.end_section();

    if (auto list = m_content.request<Component::Vector<std::string>>("Achievements", "list")) {
        out.start_section("achievements");
        for (const std::string& id : list->value())
            if (signal(id, "done"))
                out.record(id, "stored", Yaml::format(signal(id, "stored")));
        out.end_section();
    }

    out.start_section("positions");
    for (const auto& [key, c] : components("position")) {
        if (!named(c, "position") || c->is_system() || !c->was_altered())
            continue;
        auto position = Component::cast<Component::Position>(c);
        if (!position)
            continue;
        const Point p = position->value();
        const std::optional<int> x = whole_pixel(p.x());
        const std::optional<int> y = whole_pixel(p.y());
        if (!x || !y) {
            warning("Save: the position of " + c->entity() + " is not a number; not saved");
            continue;
        }
        std::string items = std::to_string(*x) + ", " + std::to_string(*y);
        if (auto z = m_content.request<Component::Simple<int>>(c->entity(), "z"))
            items += ", " +
                     std::string(
                         m_content.request<Component::Base>(c->entity(), "z_rescaled") ? "+" : "") +
                     std::to_string(z->value());
        out.record(c->entity(), "value", "[" + items + "]");
    }
    out.end_section();

    out.start_section("integers");
    for (const auto& [key, c] : components("value")) {
        if (!named(c, "value") || c->is_system())
            continue;
        auto integer = Component::cast<Component::Simple<int>>(c);
        if (integer && (c->was_altered() || integer->was_altered()))
            out.record(c->entity(), "value", std::to_string(integer->value()));
    }
    out.end_section();

    std::set<std::string> hidden;
    for (const auto& [key, c] : components("group"))
        if (named(c, "group") && !c->is_system())
            if (auto body = m_content.request<Component::Animation>(c->entity() + "_body", "image"))
                if (!body->on())
                    hidden.insert(c->entity());
    for (const auto& [key, c] : components("set_hidden"))
        if (named(c, "set_hidden"))
            hidden.insert(c->entity());
    out.start_section("hidden");
    for (const std::string& e : hidden)
        if (!signal(e, "set_visible"))
            out.bare(e);
    out.end_section();

    out.start_section("active_animations");
    for (const auto& [key, c] : components("image")) {
        if (!named(c, "image") || c->is_system())
            continue;
        auto animation = Component::cast<Component::Animation>(c);
        if (!animation || !animation->loop())
            continue;
        const std::string& e = c->entity();
        if ((animation->on() || signal(e, "start_animation")) && !signal(e, "stop_animation") &&
            m_content.value<Component::Simple<std::string>>(e, "state", "") == "Dummy")
            out.bare(e);
    }
    out.end_section();

    // Everything is gathered: only now is the file opened. It replaces the slot's previous
    // file only once it is complete.
    Packaged_asset file = Packaged_asset_manager::open_pref(save_file_name(m_content, slot), true);
    file.write(out.str());
    file.close();

    m_content.set<Component::Tuple<std::string, double, std::int64_t>>("Save_" + slot, "info",
                                                                       room_name, time, date);
    emit("Saves", "have_changed");
}

std::unique_ptr<Save_data> File_IO::check_savefile(const std::string& slot,
                                                   bool quiet_when_missing) {
    if (!is_save_id(slot)) {
        warning("Save slot \"" + slot + "\" is not a save slot; nothing is read");
        return nullptr;
    }
    auto save = std::make_unique<Save_data>();
    save->file = save_file_name(m_content, slot);
    Yaml file(save->file, true, false);
    if (!file.is_open()) {
        if (!quiet_when_missing)
            warning(save->file + " cannot be opened; the save is not used");
        return nullptr;
    }
    if (!file.parse()) {
        warning(save->file + ": not a save (no mapping at the top); the save is not used");
        return nullptr;
    }
    try {
        Save_checker(*save).read(file.root());
    } catch (const Unusable& fault) {
        warning(save->file + ": " + fault.key + " " + fault.why + "; the save is not used");
        return nullptr;
    }
    return save;
}

bool File_IO::read_savefile(const std::string& slot) {
    const std::unique_ptr<Save_data> save = check_savefile(slot, false);
    if (!save)
        return false;
    restore_savefile(*save);
    return true;
}

void File_IO::restore_savefile(const Save_data& s) {
    if (auto saved =
            m_content.request<Component::Simple<double>>(Fast_access_component::CLOCK_SAVED_TIME)) {
        saved->set(s.time);
    } else {
        m_content
            .set_fac<Component::Simple<double>>(Fast_access_component::CLOCK_SAVED_TIME, "Clock",
                                                "saved_time", s.time)
            ->mark_as_altered();
    }
    m_content.set<Component::Simple<std::string>>("Game", "new_room", s.room);
    m_content.set<Component::Simple<std::string>>("Game", "new_room_origin", "Saved_game");
    m_content.set<Component::Simple<std::string>>("Player", "name", s.player);
    if (s.follower)
        m_content.set<Component::Simple<std::string>>("Follower", "name", *s.follower);

    auto inventory = m_content.get<Component::Inventory>("Game", "inventory");
    for (const std::string& item : s.inventory)
        inventory->add(item);
    if (s.phone_numbers)
        m_content.set<Component::Vector<std::string>>("phone_numbers", "list", *s.phone_numbers);

    if (auto camera =
            m_content.request<Component::Position>(Fast_access_component::CAMERA_POSITION))
        camera->set(Point(s.camera, 0));

    auto action = m_content.set<Component::Action>("Saved_game", "action");
    if (s.music) {
        for (const std::string& source : s.disabled_sources)
            action->add("fadeout", {*s.music, source, "0"});
        action->add("play", {*s.music, "0.5"});
    }
    action->add("fadein", {"0.5"});

    for (const auto& [id, at] : s.music_positions)
        m_content.set<Component::Simple<double>>(id, "resume_at", at);

    // The first entry of a character wins.
    auto character = [&s](const std::string& id) -> const Save_data::Character* {
        for (const Save_data::Character& c : s.characters)
            if (c.id == id)
                return &c;
        return nullptr;
    };

    for (const auto& [id, value] : s.states)
        m_content.get_or_set<Component::Simple<std::string>>(id, "state")->set(value);
    for (const std::string& id : s.signals)
        emit(id, "signal");
    for (const auto& [id, stored] : s.achievements) {
        emit(id, "done");
        if (stored)
            emit(id, "stored");
    }

    for (const Save_data::Place& place : s.positions) {
        m_content
            .set<Component::Absolute_position>(place.id, "position", Point(place.x, place.y), false)
            ->mark_as_altered();
        if (const Save_data::Character* c = character(place.id)) {
            std::vector<std::string> args = {place.id, place.texts[0], place.texts[1]};
            if (place.texts.size() >= 3)
                args.push_back(place.texts[2]);
            args.push_back(c->looking);
            action->add("move", args);
            if (c->animation)
                action->add("play", {place.id, *c->animation, "-1"});
        }
    }
    for (const auto& [id, value] : s.integers)
        m_content.set<Component::Simple<int>>(id, "value", value)->mark_as_altered();
    for (const std::string& id : s.hidden)
        action->add("hide", {id});
    for (const std::string& id : s.active_animations)
        action->add("play", {id});
    if (s.dialog) {
        action->add("trigger", {*s.dialog});
        m_content.set<Component::Simple<int>>("Saved_game", "dialog_position", s.dialog_position);
    }
}

void File_IO::load_requested_save() {
    const std::string slot =
        m_content.get<Component::Simple<std::string>>("Savegame", "id")->value();
    if (check_savefile(slot, false)) {
        clean_content();
        read_savefile(slot);
    } else {
        // the game goes on as it was: the restart that came with the request is dropped too
        warning("The saved game \"" + slot + "\" cannot be loaded; the game goes on");
        receive("Game", "reset");
    }
    remove("Savegame", "id", true);
}

void File_IO::drop_stale_saved_steps() {
    auto action = m_content.request<Component::Action>("Saved_game", "action");
    if (!action)
        return;
    auto has = [this](const std::string& e, const char* c) {
        return m_content.request<Component::Base>(e, c) != nullptr;
    };
    auto is_music = [this](const std::string& e) {
        return m_content.request<Component::Music>(e, "music") != nullptr;
    };
    // What a step of a restored scene needs from the room; empty when it has it.
    auto missing = [&](const Component::Action::Step& step) -> std::string {
        const std::vector<std::string>& a = step.args();
        const std::string& f = step.function();
        if (a.empty())
            return {};
        if (f == "move" || (f == "play" && a.size() == 3))
            return has(a[0], "group") ? "" : "the character " + a[0];
        if (f == "hide")
            return has(a[0], "group") || has(a[0], "image") ? "" : "the character " + a[0];
        if (f == "fadeout" || (f == "play" && a.size() == 2))
            return is_music(a[0]) ? "" : "the music " + a[0];
        if (f == "play")
            return m_content.request<Component::Animation>(a[0], "image") ? ""
                                                                          : "the animation " + a[0];
        if (f == "trigger")
            return has(a[0], "dialog") ? "" : "the dialog " + a[0];
        return {};
    };

    std::vector<Component::Action::Step> kept;
    for (const Component::Action::Step& step : *action) {
        const std::string what = missing(step);
        if (what.empty()) {
            kept.push_back(step);
            continue;
        }
        warning("Saved game: the step " + step.to_string() + " names " + what +
                ", which this room does not have; it is left out");
        // its resume point would send the next dialog started to that place
        if (step.function() == "trigger")
            remove("Saved_game", "dialog_position", true);
    }
    if (kept.size() == action->size())
        return;

    action->clear();
    for (const Component::Action::Step& step : kept)
        action->add(step.function(), step.args());
}

void File_IO::read_savefiles(const Yaml& /*init*/) {
    // the newest usable save, kept as the scan read it; auto comes first and wins ties
    std::unique_ptr<Save_data> newest;
    for (const char* slot : Config::save_ids) {
        std::unique_ptr<Save_data> save = check_savefile(slot, true);
        if (!save)
            continue; // a missing or unusable slot: the others are still scanned
        m_content.set<Component::Tuple<std::string, double, std::int64_t>>(
            std::string("Save_") + slot, "info", save->room_name, save->time, save->date);
        if (!newest || save->date > newest->date)
            newest = std::move(save);
    }

    if (auto forced = m_content.request<Component::Simple<std::string>>("Force_load", "room")) {
        m_content.set<Component::Variable>("Game", "new_room", forced);
        if (auto origin = m_content.request<Component::Simple<std::string>>("Force_load", "origin"))
            m_content.set<Component::Variable>("Game", "new_room_origin", origin);
        else
            m_content.set<Component::Simple<std::string>>("Game", "new_room_origin",
                                                          forced->value() + "_test");
        return;
    }
    if (newest) {
        restore_savefile(*newest);
        return;
    }
    m_content.set<Component::Variable>(
        "Game", "new_room", m_content.get<Component::Simple<std::string>>("Game", "init_new_room"));
    if (auto origin =
            m_content.request<Component::Simple<std::string>>("Game", "init_new_room_origin"))
        m_content.set<Component::Variable>("Game", "new_room_origin", origin);
}

} // namespace Orvane::System
