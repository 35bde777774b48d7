#pragma once

// The save module's own pieces, shared by its files: what a checked save holds and the names
// a save is stored under.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <Orvane/Content.h>

namespace Orvane::System {

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

/// Whether `slot` is one of Config::save_ids.
bool is_save_id(const std::string& slot);

/// "save" + Save:suffix (when set) + "_" + slot + ".yaml".
std::string save_file_name(const Content& content, const std::string& slot);

/// Whether `name` is a system entity's (an upper-case first letter).
bool is_system_name(const std::string& name);

} // namespace Orvane::System
