#pragma once

#include <string>
#include <string_view>

#include <Orvane/Store_key.h>

/// The store's fixed keys that more than one file uses, declared once: systems talk only
/// through the store, so each of these is a contract between a writer and its readers. Each
/// entry names who writes the key and who reads it. Keys that nothing in the engine writes yet
/// are the contract the input, control and menu systems meet; until they do, tests write them.
///
/// Keys made of a game's ids (an item's "image", a character's "<id>_body") are built, through
/// the suffix helpers at the end.
namespace Orvane::Key {

// Achievements
/// Written by File_IO (init file); read by File_IO (save writer, and the cleaning between
/// rooms, which keeps the listed achievements).
inline constexpr Store_key achievements_list{"Achievements", "list"};

// Blackscreen
/// Written by Interface; read by Animation (fades) and File_IO (room change).
inline constexpr Store_key blackscreen_image{"Blackscreen", "image"};

// Camera
/// Written by Engine at start-up (fast-access slot); read by Animation, File_IO, Logic and the
/// view transform.
inline constexpr Store_key camera_position{"Camera", "position"};
/// Written by Engine at start-up (fast-access slot); read by Animation, File_IO and the view
/// transform.
inline constexpr Store_key camera_zoom{"Camera", "zoom"};
/// Written by Logic (camera steps) and Animation; read by Animation.
inline constexpr Store_key camera_animation{"Camera", "animation"};
/// Written by Logic (zoom step); read by Animation, removed by Logic when skipping.
inline constexpr Store_key camera_change_zoom{"Camera", "change_zoom"};
/// Written by Logic (fade steps); read by Animation.
inline constexpr Store_key camera_fade{"Camera", "fade"};
/// Written by Logic (shake step); read by Animation.
inline constexpr Store_key camera_shake{"Camera", "shake"};

// Chamfer
/// Written by File_IO (init file); read by Interface.
inline constexpr Store_key chamfer_image{"Chamfer", "image"};

// Character
/// Written by Logic (the player's running action); read by Logic and File_IO (save writer).
inline constexpr Store_key character_action{"Character", "action"};
/// Written by Logic (dialogs) and the control system; read and removed by Logic, removed by
/// File_IO on a room change.
inline constexpr Store_key character_triggered_action{"Character", "triggered_action"};

// Click
/// Written by the control system (an item used on an object); read and removed by Logic
/// (walking).
inline constexpr Store_key click_target{"Click", "target"};

// Clock
/// Written by Time and File_IO (save restore) (fast-access slot); read by Time, File_IO (save
/// writer) and the debug overlay.
inline constexpr Store_key clock_saved_time{"Clock", "saved_time"};
/// Written by Time (fast-access slot); read by File_IO (save writer) and the debug overlay.
inline constexpr Store_key clock_discounted_time{"Clock", "discounted_time"};
/// Written by Time (fast-access slot); read by every system that times something.
inline constexpr Store_key clock_time{"Clock", "time"};
/// Written by Time (fast-access slot); read by Time.
inline constexpr Store_key clock_latest_active{"Clock", "latest_active"};

// Cmdline
/// Written by Engine (command line); read by File_IO (locale choice).
inline constexpr Store_key cmdline_locale{"Cmdline", "locale"};

// Cursor
/// Signal written by the input system and again by the control system (a click on the
/// ground); received by the control system and Logic (walking).
inline constexpr Store_key cursor_clicked{"Cursor", "clicked"};
/// Written by File_IO (init file, fast-access slot) and moved by the input system (to come);
/// read by Logic (walking).
inline constexpr Store_key cursor_position{"Cursor", "position"};
/// Written by File_IO (init file, "default") and Interface (the cursor's state); selects
/// Cursor:image and Selected_object:image.
inline constexpr Store_key cursor_state{"Cursor", "state"};
/// Written by File_IO (init file: a conditional over Cursor:state); scaled by Interface.
inline constexpr Store_key cursor_image{"Cursor", "image"};

// Dialog
/// Written by the control system (a picked line); read and removed by Logic.
inline constexpr Store_key dialog_choice{"Dialog", "choice"};
/// Signal emitted by the control system (a line was picked) and File_IO (a room change);
/// received by the interface (the choice lines go).
inline constexpr Store_key dialog_clean{"Dialog", "clean"};
/// Written by Logic (dialogs); read by Logic and Interface (the choice lines).
inline constexpr Store_key dialog_choices{"Dialog", "choices"};
/// Written by Logic (dialogs); read by Logic.
inline constexpr Store_key dialog_creation_time{"Dialog", "creation_time"};
/// Written by File_IO (init file); read by File_IO (room reader) and Logic.
inline constexpr Store_key dialog_font{"Dialog", "font"};
/// Written by File_IO (settings); read by File_IO and Logic.
inline constexpr Store_key dialog_speed{"Dialog", "speed"};

// Follower
/// Written by File_IO (room and save readers) and Logic; read by File_IO and Logic.
inline constexpr Store_key follower_name{"Follower", "name"};

// Force_load
/// Written by tests only; read by File_IO (start-up slot choice).
inline constexpr Store_key force_load_room{"Force_load", "room"};
/// Written by tests only; read by File_IO (start-up slot choice).
inline constexpr Store_key force_load_origin{"Force_load", "origin"};

// Game
/// Signal emitted by File_IO on a room change; received by Graphic.
inline constexpr Store_key game_clear_managers{"Game", "clear_managers"};
/// Signal emitted by File_IO on a room change; received by Logic.
inline constexpr Store_key game_clear_notifications{"Game", "clear_notifications"};
/// Written by Logic (code-lock step); read by Logic and Sound.
inline constexpr Store_key game_code{"Game", "code"};
/// Signal written by the menu system (to come; tests until then); received by File_IO.
inline constexpr Store_key game_config_changed{"Game", "config_changed"};
/// Written by Logic (dialogs); read by File_IO (save writer).
inline constexpr Store_key game_current_dialog{"Game", "current_dialog"};
/// Written by File_IO (settings, fast-access slot); read by File_IO (locale choice).
inline constexpr Store_key game_current_locale{"Game", "current_locale"};
/// Written by File_IO (room reader); read by File_IO and Logic.
inline constexpr Store_key game_current_room{"Game", "current_room"};
/// Written by File_IO (room reader); read by File_IO (save writer).
inline constexpr Store_key game_current_room_name{"Game", "current_room_name"};
/// Written by Time (fast-access slot); read by Graphic (debug overlay) and Logic.
inline constexpr Store_key game_debug{"Game", "debug"};
/// Written by Logic (dialogs); read by File_IO (save writer).
inline constexpr Store_key game_dialog_position{"Game", "dialog_position"};
/// Signal emitted by Input and Logic; received by Engine (ends the main loop).
inline constexpr Store_key game_exit{"Game", "exit"};
/// Signal emitted by File_IO (room reader); read by Animation, received by Logic.
inline constexpr Store_key game_in_new_room{"Game", "in_new_room"};
/// Written by File_IO (init file); read by File_IO (save slots at start-up).
inline constexpr Store_key game_init_new_room{"Game", "init_new_room"};
/// Written by File_IO (init file); read by File_IO (save slots at start-up).
inline constexpr Store_key game_init_new_room_origin{"Game", "init_new_room_origin"};
/// Written by Engine at start-up; read by File_IO and Logic.
inline constexpr Store_key game_inventory{"Game", "inventory"};
/// Signal emitted by Engine at start-up; read by the systems to come.
inline constexpr Store_key game_just_launched{"Game", "just_launched"};
/// Signal written by the menu system (to come; tests until then); received by File_IO.
inline constexpr Store_key game_load{"Game", "load"};
/// Written by Engine; read by File_IO (room reader, between items).
inline constexpr Store_key game_loading_callback{"Game", "loading_callback"};
/// Written by File_IO (locale file, fast-access slot); read by System::Base (translations).
inline constexpr Store_key game_locale{"Game", "locale"};
/// Written by Logic (music step); read by File_IO, Graphic and Sound.
inline constexpr Store_key game_music{"Game", "music"};
/// Written by File_IO (init file); read by Graphic (window title).
inline constexpr Store_key game_name{"Game", "name"};
/// Signal emitted by File_IO (init file); received by Graphic.
inline constexpr Store_key game_name_changed{"Game", "name_changed"};
/// Written by File_IO (start-up, loads) and Logic (room change); read by File_IO, Graphic and
/// Time.
inline constexpr Store_key game_new_room{"Game", "new_room"};
/// Signal emitted by Logic; read by Time.
inline constexpr Store_key game_new_room_loaded{"Game", "new_room_loaded"};
/// Written by File_IO and Logic with a room change; read by File_IO and Logic.
inline constexpr Store_key game_new_room_origin{"Game", "new_room_origin"};
/// Signal written by tests only (the menu system, to come); received by Logic.
inline constexpr Store_key game_notify_end_achievements{"Game", "notify_end_achievements"};
/// Signal written by the menu system (to come; tests until then); read by Logic and Time,
/// received by File_IO.
inline constexpr Store_key game_reset{"Game", "reset"};
/// Signal emitted by Logic (save step); read by Sound and Time, received by File_IO and
/// Engine.
inline constexpr Store_key game_save{"Game", "save"};
/// Signal written by the control system (to come; tests until then); received by Logic.
inline constexpr Store_key game_skip_cutscene{"Game", "skip_cutscene"};
/// Signal written by the control system (to come; tests until then); received by Logic.
inline constexpr Store_key game_skip_dialog{"Game", "skip_dialog"};
/// Written by Engine at start-up (fast-access slot); read by every system through status().
inline constexpr Store_key game_status{"Game", "status"};
/// Signal written by the menu system (to come; tests until then); received by Graphic.
inline constexpr Store_key game_support{"Game", "support"};
/// Signal written by tests only; received by Logic (runs the test action).
inline constexpr Store_key game_test{"Game", "test"};
/// Signal written by tests only; read by File_IO (settings).
inline constexpr Store_key game_test_input_mode{"Game", "test_input_mode"};
/// Written by Logic (menu step); read by the menu system (to come).
inline constexpr Store_key game_triggered_menu{"Game", "triggered_menu"};
/// Written by Engine at start-up; nothing reads it yet.
inline constexpr Store_key game_visited_rooms{"Game", "visited_rooms"};
/// Written by Logic (window and code-lock steps); read by Logic.
inline constexpr Store_key game_window{"Game", "window"};

// Gamepad
/// Written by Logic (rumble and notifications); read by the input system (to come).
inline constexpr Store_key gamepad_rumble{"Gamepad", "rumble"};

// Icon
/// Written by File_IO (init file); read by Graphic (window icon).
inline constexpr Store_key icon_filename{"Icon", "filename"};

// Interface
/// Written by File_IO (init file); read by Interface.
inline constexpr Store_key interface_font{"Interface", "font"};
/// Signal emitted by Logic (code locks); read by the interface (to come).
inline constexpr Store_key interface_hide_window{"Interface", "hide_window"};
/// Written by File_IO (settings, fast-access slot) and the input system (to come); read by
/// Control, File_IO and Logic.
inline constexpr Store_key interface_input_mode{"Interface", "input_mode"};
/// Written by File_IO (settings); read by File_IO and Logic.
inline constexpr Store_key interface_scale{"Interface", "scale"};
/// Signal emitted by Logic (window step); read by the interface (to come).
inline constexpr Store_key interface_show_window{"Interface", "show_window"};
/// Signal emitted by the menus (language or scale changed); received by Interface, which
/// rebuilds its fixed entities.
inline constexpr Store_key interface_reinit{"Interface", "reinit"};
/// Signal emitted by the menus; tested by every step of Interface's next frame (the selector
/// rebuilds) and received at that frame's end.
inline constexpr Store_key interface_force_refresh{"Interface", "force_refresh"};
/// Written by Control (the hovered button or label back); read by Interface (selector
/// highlight).
inline constexpr Store_key interface_active_button{"Interface", "active_button"};

// Screen interface: the fixed entities Interface makes and the pictures its labels copy
/// Written by Interface (init, when absent) and moved by its inventory bar; read by Interface.
inline constexpr Store_key inventory_origin{"Inventory", "origin"};
/// Written by Interface (init: the inventory tab's right end); read by its inventory selector.
inline constexpr Store_key chamfer_position{"Chamfer", "position"};
/// Written by Interface (init) and moved by its inventory bar; read by its action selector.
inline constexpr Store_key gamepad_action_selector_position{"Gamepad_action_selector",
                                                            "position"};
/// Written by Interface (the room and inventory selectors' anchor, at every build).
inline constexpr Store_key action_selector_position{"Action_selector", "position"};
/// Written by Interface (init: stands for the cursor position).
inline constexpr Store_key selected_object_position{"Selected_object", "position"};
/// Written by Interface's object switcher (Game:just_launched received); read and removed by
/// its action selector and switcher after 60 seconds.
inline constexpr Store_key first_idle_time{"First_idle", "time"};
/// Written by File_IO (init file); read by Interface (the switcher hint's text).
inline constexpr Store_key switch_target_text{"Switch_target", "text"};
/// Written by File_IO (init file, hidden); copied by Interface as label ends.
inline constexpr Store_key left_circle_image{"Left_circle", "image"};
inline constexpr Store_key right_circle_image{"Right_circle", "image"};
/// Written by File_IO (init file, the cursor's arrows, hidden); copied by Interface as the
/// arrow ends of walk-to labels.
inline constexpr Store_key goto_left_image{"Goto_left", "image"};
inline constexpr Store_key goto_right_image{"Goto_right", "image"};

// Inventory
/// Written by File_IO (init file); read by Interface.
inline constexpr Store_key inventory_label{"Inventory", "label"};
/// The inventory's tab in the bottom-left corner, built at its drawn size. Written by
/// Interface; read by Control (hovering the tab opens the bar).
inline constexpr Store_key inventory_label_background_image{"Inventory_label_background",
                                                            "image"};
/// Written by File_IO (init file); shown and hidden by Interface's inventory bar.
inline constexpr Store_key left_arrow_image{"Left_arrow", "image"};
inline constexpr Store_key right_arrow_image{"Right_arrow", "image"};

// Loading_spin
/// Written by File_IO (init file, fast-access slot); read by Animation and Graphic.
inline constexpr Store_key loading_spin_image{"Loading_spin", "image"};
/// Written by File_IO (init file, fast-access slot); read by Graphic.
inline constexpr Store_key loading_spin_position{"Loading_spin", "position"};

// Logic
/// Written by Logic (the action holding the scheduled steps); read by Logic and File_IO.
inline constexpr Store_key logic_action{"Logic", "action"};

// Music
/// Signal emitted by Animation, Logic and Sound; received by Sound.
inline constexpr Store_key music_adjust_mix{"Music", "adjust_mix"};
/// Written by Logic (music steps); read and removed by Sound.
inline constexpr Store_key music_fade{"Music", "fade"};
/// Signal emitted by Logic (music step); received by Sound.
inline constexpr Store_key music_start{"Music", "start"};
/// Signal emitted by Logic (music steps); received by Sound.
inline constexpr Store_key music_stop{"Music", "stop"};
/// Written by File_IO (settings) and the menu system (to come); read by File_IO and Sound.
inline constexpr Store_key music_volume{"Music", "volume"};
/// Signal written by the menu system (to come; tests until then); received by Sound.
inline constexpr Store_key music_volume_changed{"Music", "volume_changed"};

// Notifications
/// Written by Logic (notifications); read by Logic.
inline constexpr Store_key notifications_action{"Notifications", "action"};
/// Written by File_IO (init file, hidden); copied by Interface into achievement banners.
inline constexpr Store_key star_image{"Star", "image"};
/// Written by File_IO (init file, hidden); copied by Interface as the ends of banners: yellow
/// for achievements, white for other notices.
inline constexpr Store_key yellow_left_circle_image{"Yellow_left_circle", "image"};
inline constexpr Store_key yellow_right_circle_image{"Yellow_right_circle", "image"};
inline constexpr Store_key white_left_circle_image{"White_left_circle", "image"};
inline constexpr Store_key white_right_circle_image{"White_right_circle", "image"};

// Player
/// Written by File_IO (room and save readers) and Logic; read by Animation, File_IO, Logic,
/// Sound and the debug overlay.
inline constexpr Store_key player_name{"Player", "name"};

// Save
/// Written by tests only (a suffix for the per-user file names); read by File_IO (settings
/// and save file names).
inline constexpr Store_key save_suffix{"Save", "suffix"};

// Saved_game
/// Written by File_IO (save restore: the saved room's restoring steps); read by File_IO when
/// it appends them, and run by Logic at the room entry.
inline constexpr Store_key saved_game_action{"Saved_game", "action"};
/// Written by File_IO (save restore); read by File_IO and Logic (dialogs).
inline constexpr Store_key saved_game_dialog_position{"Saved_game", "dialog_position"};

// Saves
/// Written by File_IO when a save was written; read by the menu system (to come; tests until
/// then) to rebuild its save and load pages.
inline constexpr Store_key saves_have_changed{"Saves", "have_changed"};

// Savegame
/// Written by Logic (save step) and the menu system (to come; tests until then); read and
/// removed by File_IO (save writer and loads).
inline constexpr Store_key savegame_id{"Savegame", "id"};

// Sounds
/// Written by File_IO (settings) and the menu system (to come); read by File_IO and Sound.
inline constexpr Store_key sounds_volume{"Sounds", "volume"};

// Stick
/// Written by Input (fast-access slot); read by Logic (walking).
inline constexpr Store_key stick_direction{"Stick", "direction"};
/// Signal written by the input system (to come; tests until then); received by Logic
/// (walking).
inline constexpr Store_key stick_moved{"Stick", "moved"};

// Test
/// Written by tests only (a console line to run); read and removed by Logic.
inline constexpr Store_key test_console_action{"Test", "console_action"};

// Time
/// Signal written by the control system (to come; tests until then); read by Time, received
/// by File_IO, Logic and Time.
inline constexpr Store_key time_speedup{"Time", "speedup"};
/// Signal written by the control system (to come; tests until then); read by File_IO
/// (fast-forward button).
inline constexpr Store_key time_speedup_wanted{"Time", "speedup_wanted"};

// Unlocked
/// Written by Engine at start-up (holds while the status is neither pause nor cutscene); read
/// by the conditions of the game's data.
inline constexpr Store_key unlocked_condition{"Unlocked", "condition"};

// Window
/// Written by File_IO (settings) and the menu system (to come); read by File_IO and Graphic.
inline constexpr Store_key window_fullscreen{"Window", "fullscreen"};
/// Written by File_IO (settings); read by File_IO and Graphic.
inline constexpr Store_key window_height{"Window", "height"};
/// Written by File_IO (settings); read by File_IO and Graphic.
inline constexpr Store_key window_width{"Window", "width"};
/// Signal emitted by Engine and File_IO; received by Graphic.
inline constexpr Store_key window_rescaled{"Window", "rescaled"};
/// Signal written by the menu system (to come; tests until then); received by Graphic.
inline constexpr Store_key window_toggle_fullscreen{"Window", "toggle_fullscreen"};

// background (the room's background)
/// Written by File_IO (room reader); read by File_IO and Graphic.
inline constexpr Store_key background_ground_map{"background", "ground_map"};
/// Written by File_IO (room reader); read by Animation.
inline constexpr Store_key background_image{"background", "image"};

// code (code locks)
/// Signal written by the control system after Code::click; received by Logic.
inline constexpr Store_key code_button_clicked{"code", "button_clicked"};
/// Signal written by tests only; received by Logic (opens the lock).
inline constexpr Store_key code_cheat{"code", "cheat"};
/// Signal emitted by Logic; received by Sound.
inline constexpr Store_key code_play_click{"code", "play_click"};
/// Signal emitted by Logic; received by Sound.
inline constexpr Store_key code_play_failure{"code", "play_failure"};
/// Signal emitted by Logic; received by Sound.
inline constexpr Store_key code_play_success{"code", "play_success"};
/// Signal scheduled by Logic and written by the control system (to come); received by Logic
/// (closes the lock).
inline constexpr Store_key code_quit{"code", "quit"};

// phone_numbers
/// Written by File_IO (init file and save restore); read by File_IO (room reader and save
/// writer).
inline constexpr Store_key phone_numbers_list{"phone_numbers", "list"};

// Other control signals nothing in the engine writes yet
/// Signal written by the control system; received by Logic.
inline constexpr Store_key cancel_action{"Cancel", "action"};
/// Signal written by the control system (to come; tests until then); received by Logic.
inline constexpr Store_key skip_message_create{"Skip_message", "create"};

// Input and control
// The keys the input and control systems write and read among themselves and with the
// interface, menu and logic systems.

/// Signal emitted by Input (Escape, Android back, Start, Select; space in a cutscene); tested
/// and received by Control.
inline constexpr Store_key game_escape{"Game", "escape"};
/// Signal set where the game has no menu; tested by Control (escape ends the game).
inline constexpr Store_key game_no_menu{"Game", "no_menu"};
/// Written by the menu system (the open page); read by Control on escape in a menu.
inline constexpr Store_key game_current_menu{"Game", "current_menu"};
/// Written by Control (the page to open); read by the menu system.
inline constexpr Store_key menu_create{"Menu", "create"};
/// Written by Control (the page to close); read by the menu system.
inline constexpr Store_key menu_delete{"Menu", "delete"};
/// Signal emitted by Logic (a script asks for a menu); received by Control.
inline constexpr Store_key show_menu{"Show", "menu"};
/// Signal emitted and received by Control: the cutscene's skip message is shown.
inline constexpr Store_key skip_message_exists{"Skip_message", "exists"};
/// Written by Input (the press time of space or the right button); read and removed by Input.
inline constexpr Store_key skip_or_speed_time{"Skip_or_speed", "time"};
/// Signal emitted by Input when the input mode changed or a controller became current; read by
/// the interface.
inline constexpr Store_key input_mode_changed{"Input_mode", "changed"};
/// Signals emitted by Input on the north, west, east and south face buttons; received by
/// Control's controller handlers.
inline constexpr Store_key action_move{"Action", "move"};
inline constexpr Store_key action_take{"Action", "take"};
inline constexpr Store_key action_look{"Action", "look"};
inline constexpr Store_key action_inventory{"Action", "inventory"};
/// Written by Input (the last shoulder pressed: true for the right one); read and removed by
/// Control.
inline constexpr Store_key switch_right{"Switch", "right"};
/// Written by Input (the model key of the current controller); read by Input (rumble), the
/// interface and the menus.
inline constexpr Store_key gamepad_id{"Gamepad", "id"};
/// Written by Control (the object under the pointer, the current active object or inventory
/// item); read by the interface.
inline constexpr Store_key interface_active_object{"Interface", "active_object"};
/// Written by Control (the objects within the player's reach, left to right); read by the
/// interface.
inline constexpr Store_key interface_active_objects{"Interface", "active_objects"};
/// Written and removed by Control: the current object when IDLE ended under the controller.
inline constexpr Store_key interface_previous_active_object{"Interface",
                                                            "previous_active_object"};
/// Written and removed by Control's inventory handlers.
inline constexpr Store_key interface_previous_active_inventory_object{
    "Interface", "previous_active_inventory_object"};
/// Written by Control (the item being used); read by Control and the interface.
inline constexpr Store_key interface_source_object{"Interface", "source_object"};
/// Written by Control (the second object); read by Control and the interface.
inline constexpr Store_key interface_target_object{"Interface", "target_object"};
/// Written by Control (the object whose verbs are offered); read by the interface.
inline constexpr Store_key interface_action_choice_target{"Interface", "action_choice_target"};
/// Written by Control (the highlighted dialog line); read by the interface.
inline constexpr Store_key interface_active_dialog_item{"Interface", "active_dialog_item"};
/// Written by Control (the menu image under the pointer) and by the menu system (the
/// controller's first entry); read by the menu system and the interface, removed by the menu
/// system when a page closes.
inline constexpr Store_key interface_active_menu_item{"Interface", "active_menu_item"};
/// Signal emitted by Control (a click on a menu image); received by the menu system.
inline constexpr Store_key menu_clicked{"Menu", "clicked"};
/// Signal emitted by File_IO on entering a room; removed by Control on the first stick move.
inline constexpr Store_key player_not_moved_yet{"Player", "not_moved_yet"};
/// Signal emitted by Control (a controller press that did something); received by Sound.
inline constexpr Store_key click_play_sound{"Click", "play_sound"};
/// Signal emitted by Control when the code lock's hovered button changed; read by the interface.
inline constexpr Store_key code_hover{"Code", "hover"};
/// Written by Interface (the mark over the hovered keypad button); removed by Interface and by
/// Logic when the lock closes.
inline constexpr Store_key code_hover_image{"Code_hover", "image"};
/// The first spoken line's text image; tested by Control (escape skips the line).
inline constexpr Store_key comment_0_image{"Comment_0", "image"};
/// "<id>_goto": the walk-to verb of an object (its "right" flag, its action).
inline std::string go_to(std::string_view id) { return std::string(id).append("_goto"); }

// Menus
// The keys the menu system shares with the data, control, interface and graphic systems.

/// Written by the menu system (the entry it chose by itself for the controller); read by
/// Control's controller navigation, removed by the menu system when a page closes.
inline constexpr Store_key interface_gamepad_active_menu_item{"Interface",
                                                              "gamepad_active_menu_item"};
/// Written by the menu system (the background's position moved by (-240, -420)); read by every
/// page builder of the menu system.
inline constexpr Store_key menu_reference{"Menu", "reference"};
/// Written by File_IO (init file); switched by the menu system.
inline constexpr Store_key menu_background_image{"Menu_background", "image"};
/// Written by File_IO (init file); read by the menu system (Menu:reference).
inline constexpr Store_key menu_background_position{"Menu_background", "position"};
/// Written by the menu system's pages; switched on and off as pages open and close.
inline constexpr Store_key menu_overlay_image{"Menu_overlay", "image"};
inline constexpr Store_key menu_overlay_position{"Menu_overlay", "position"};
/// Pictures of the init file's interface section (File_IO), used by the menu pages.
inline constexpr Store_key menu_logo_image{"Menu_logo", "image"};
inline constexpr Store_key menu_main_button_image{"Menu_main_button", "image"};
inline constexpr Store_key menu_settings_button_image{"Menu_settings_button", "image"};
inline constexpr Store_key menu_left_arrow_image{"Menu_left_arrow", "image"};
inline constexpr Store_key menu_right_arrow_image{"Menu_right_arrow", "image"};
/// Written by File_IO (init file, one picture per language where the game has them); read by
/// the menu system's Exit page.
inline constexpr Store_key support_text_image{"Support_text", "image"};
inline constexpr Store_key support_button_image{"Support_button", "image"};
/// Written by File_IO (init file); read by the menu pages and the speech of Logic.
inline constexpr Store_key interface_light_font{"Interface", "light_font"};
/// Written by File_IO (init file); read by the menu system (version text) and Logic.
inline constexpr Store_key debug_font{"Debug", "font"};
/// Written by File_IO (init file: engine and data versions); read by the menu system.
inline constexpr Store_key version_string{"Version", "string"};
/// Written by File_IO (locale file: the locale ids in file order); read by File_IO and the
/// menu system (the Language setting).
inline constexpr Store_key game_available_locales{"Game", "available_locales"};

// Entities made of a game's ids: one helper per suffix.

/// "<id>_body": a character's body image and position.
inline std::string body(std::string_view id) { return std::string(id).append("_body"); }
/// "<id>_head": a character's head image and position.
inline std::string head(std::string_view id) { return std::string(id).append("_head"); }
/// "<id>_head_move": the offset of a character's head while it walks.
inline std::string head_move(std::string_view id) {
    return std::string(id).append("_head_move");
}
/// "<id>_mouth": a character's mouth image and position.
inline std::string mouth(std::string_view id) { return std::string(id).append("_mouth"); }
/// "<id>_idle": the idle positions of a character.
inline std::string idle(std::string_view id) { return std::string(id).append("_idle"); }
/// "<id>_button": a code lock's keypad image, position and sound; a menu entry's button.
inline std::string button(std::string_view id) { return std::string(id).append("_button"); }
/// "<id>_icon": the icon of the init file's text <id> (File_IO), shown by the menus.
inline std::string icon(std::string_view id) { return std::string(id).append("_icon"); }
/// "Save_<slot>": the record (room name, play time, date) of a used save slot, "info", written
/// by File_IO and listed by the menus' load and save pages.
inline std::string save_slot(std::string_view slot) { return std::string("Save_").append(slot); }
/// "Locale_<id>": the description of a language, read from the locale file by File_IO and
/// offered by the Settings page.
inline std::string locale_entity(std::string_view id) {
    return std::string("Locale_").append(id);
}

} // namespace Orvane::Key
