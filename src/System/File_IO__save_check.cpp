#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Third_party/SDL_file.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/integer.h>

#include "File_IO__save.h"

namespace Orvane::System {

using Third_party::Yaml;

namespace {

// The largest save file read: many times the size of any real save (a game of 2,000 altered
// states saves about 100 kB), and far below what would keep the game busy or out of memory.
constexpr std::size_t max_save_size = 4 << 20;

// Checked numbers: the whole text must be the number, and it must fit.
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

    // Asked through the node, so that the keys the checker does not know are reported.
    static const Node* find(const Node& node, const std::string& key) {
        if (!node.has(key))
            return nullptr;
        return node.children.find(key)->second.get();
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

    // What a save may say of a character of the game: whether it has a body (a skin), walks,
    // and the poses of its idle sheet.
    struct Character {
        bool has_skin = false;
        bool walks = false;
        std::vector<std::string> poses;
    };

    // The player, the follower, the characters' poses and the phone numbers, against the
    // characters that `room` and the global items create and the game's actions.
    void check_names(const Node& room) const;
    // The characters listed under "characters" of a room or init file, named (read from
    // their own files) or described inline.
    static void add_characters(const Node& file, std::map<std::string, Character>& cast);
    static Character describe(const Node& character);

    Save_data& m_save;
};

void Save_checker::read(const Node& root) {
    Save_data& s = m_save;

    if (const Node* date = find(root, "date")) {
        const std::optional<std::int64_t> value =
            is_scalar(*date) ? parse_int64(date->value) : std::nullopt;
        if (value)
            s.date = *value;
        else
            warning(s.file + ": date \"" + (is_scalar(*date) ? date->value : "") +
                    "\" is not a whole number of seconds; the save counts as the oldest");
    }

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

    // Last, once the file is known to be whole: the room's display name for the slot pages,
    // and the names the save gives checked against what the game makes of that room.
    Yaml room(room_file, false);
    ORVANE_CHECK(room.parse(), "Can't open " + room_file);
    s.room_name = room["name"].string();
    check_names(room.root());
}

void Save_checker::check_names(const Node& room) const {
    const Save_data& s = m_save;
    std::map<std::string, Character> cast;
    add_characters(room, cast);
    Yaml init("data/init.yaml", false);
    if (init.parse())
        add_characters(init.root(), cast);
    const std::string where_from = " of the room " + s.room + " or of the global items";

    auto character = [&](const std::string& key, const std::string& id) -> const Character& {
        auto found = cast.find(id);
        if (found == cast.end() || !found->second.has_skin)
            fail(key, "\"" + id + "\" is no character" + where_from);
        return found->second;
    };
    character("player", s.player);
    if (s.follower && !character("follower", *s.follower).walks)
        fail("follower", "\"" + *s.follower + "\" cannot walk, and a follower walks");

    for (std::size_t i = 0; i < s.characters.size(); ++i) {
        const Save_data::Character& c = s.characters[i];
        auto found = cast.find(c.id);
        // a character the room lacks gets no steps (they are dropped once the room is there)
        if (!c.animation || found == cast.end())
            continue;
        const std::vector<std::string>& poses = found->second.poses;
        if (std::find(poses.begin(), poses.end(), *c.animation) == poses.end())
            fail("characters/" + std::to_string(i) + "/animation",
                 "\"" + *c.animation + "\" is no pose of " + c.id);
    }

    if (s.phone_numbers)
        for (std::size_t i = 0; i < s.phone_numbers->size(); ++i) {
            const std::string& number = (*s.phone_numbers)[i];
            if (!Packaged_asset_manager::exists("data/actions/" + number + ".yaml"))
                fail("phone_numbers/" + std::to_string(i),
                     "\"" + number + "\" has no action in this game");
        }
}

void Save_checker::add_characters(const Node& file, std::map<std::string, Character>& cast) {
    const Node* list = find(file, "characters");
    if (!list || !list->is_sequence)
        return;
    for (const auto& item : list->items) {
        if (is_scalar(*item)) {
            const std::string path = "data/characters/" + item->value + ".yaml";
            Yaml character(path, false);
            if (Packaged_asset_manager::exists(path) && character.parse())
                cast.emplace(item->value, describe(character.root()));
        } else if (const Node* id = find(*item, "id"); id && is_scalar(*id)) {
            cast.emplace(id->value, describe(*item));
        }
    }
}

Save_checker::Character Save_checker::describe(const Node& character) {
    Character c;
    const Node* skin = find(character, "skin");
    if (!skin)
        return c;
    c.has_skin = true;
    c.walks = find(*skin, "walk") != nullptr;
    if (const Node* idle = find(*skin, "idle"))
        if (const Node* positions = find(*idle, "positions"); positions && positions->is_sequence)
            for (const auto& pose : positions->items)
                c.poses.push_back(pose->value);
    return c;
}

} // namespace

std::unique_ptr<Save_data> File_IO::check_savefile(const std::string& slot,
                                                   bool quiet_when_missing) {
    if (!is_save_id(slot)) {
        warning("Save slot \"" + slot + "\" is not a save slot; nothing is read");
        return nullptr;
    }
    auto save = std::make_unique<Save_data>();
    save->file = save_file_name(m_content, slot);
    Yaml file(save->file, true);
    if (!file.is_open()) {
        const std::string what =
            Third_party::SDL_file::not_a_file(Third_party::SDL_file::pref_path() + save->file);
        if (!what.empty())
            warning(save->file + " is " + what + "; the save is not used");
        else if (!quiet_when_missing)
            warning(save->file + " cannot be opened; the save is not used");
        return nullptr;
    }
    // Refused before parsing: a huge file would take the memory and the time of the game.
    if (file.size() > max_save_size) {
        warning(save->file + " holds " + std::to_string(file.size()) + " bytes, more than a save's " +
                std::to_string(max_save_size) + "; the save is not used");
        return nullptr;
    }
    if (!file.parse()) {
        warning(save->file + ": not a save (no mapping at the top); the save is not used");
        return nullptr;
    }
    try {
        Save_checker(*save).read(file.root());
        file.root().warn_unknown_keys();
    } catch (const Unusable& fault) {
        warning(save->file + ": " + fault.key + " " + fault.why + "; the save is not used");
        return nullptr;
    }
    return save;
}

} // namespace Orvane::System
