#pragma once

#include <array>

namespace Orvane {

/// The kind of device the player is using; held in Interface:input_mode and saved as its number.
enum Input_mode : int { MOUSE = 0, TOUCHSCREEN = 1, GAMEPAD = 2 };

} // namespace Orvane

/// Compiled-in settings of the engine.
namespace Orvane::Config {

/// Size of the logical view, in pixels: every position is expressed in this space.
inline constexpr int world_width = 1920;
inline constexpr int world_height = 1080;
/// Height of the inventory bar along the bottom of the view.
inline constexpr int inventory_height = 150;
/// Marks an int field that holds no value.
inline constexpr int no_value = 2147483647;

/// Global scale of interface elements: the setting "Interface:scale" divided by 6.
inline double interface_scale = 1.0;

/// The verbs of the game.
inline constexpr std::array<const char*, 7> possible_actions = {
    "look", "move", "take", "inventory", "use", "combine", "goto"};
/// The save slots: the automatic save, then the player's five slots.
inline constexpr std::array<const char*, 6> save_ids = {"auto", "1", "2", "3", "4", "5"};
/// Entries of the Exit menu, top to bottom.
inline constexpr std::array<const char*, 7> exit_menu_items = {
    "Phone", "Settings", "Controls", "New_game", "Load", "Save", "Quit"};
/// Menus rebuilt when the language changes.
inline constexpr std::array<const char*, 6> menus = {"Exit",     "Phone", "Settings",
                                                     "Controls", "Load",  "Save"};

/// Depths of the interface layers, above every room element (rooms use depths below 1000000).
/// A higher value is drawn later, on top.
enum Depth : int {
    INTERFACE_BACK = 1000000,
    INTERFACE_ITEMS = 1000001,
    INTERFACE_LABELS = 1000002,
    DIALOG_LINES = 1000004,
    MENU_OVERLAY = 1000005,
    MENU_BACKGROUND = 1000006,
    MENU_BUTTONS = 1000007,
    MENU_TEXTS = 1000008,
    CURSOR = 1000009,
    FAST_FORWARD = 1000010,
    TOPMOST = 1000011
};

} // namespace Orvane::Config
