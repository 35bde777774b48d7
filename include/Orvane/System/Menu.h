#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

#include <Orvane/Component/Base.h>
#include <Orvane/Component/Menu.h>
#include <Orvane/System/Base.h>

namespace Orvane::Component {
class Image;
class Position;
} // namespace Orvane::Component

namespace Orvane::System {

/// The menu system, fifth of the frame (after Interface, before Logic): builds the menu pages
/// (Component::Menu trees stored as <page>:menu), opens and closes them on Control's requests
/// (Menu:create, Menu:delete), shows and highlights the open page every frame, turns a click
/// on an entry (Interface:active_menu_item and Menu:clicked) into an effect through the table
/// of (page, effect) callbacks, and applies the settings that the Settings and Controls pages
/// change. Every page is placed relative to Menu:reference, the menu background's position
/// moved by (-240, -420), in scene pixels.
class Menu : public Base {
  public:
    using Callback = std::function<void(const std::string& menu, const std::string& effect)>;
    using Callback_table = std::unordered_map<Component::Id, Callback, Component::Id_hash>;
    /// An image and its position, as the entry builders return them.
    using Placed_image =
        std::pair<std::shared_ptr<Component::Image>, std::shared_ptr<Component::Position>>;

    /// Fills the callback table; creates no component.
    explicit Menu(Content& content);

    /// Builds every page, Menu:reference and the overlay; run after the init file and the
    /// settings were read, and again after a language change (the pages come out in the
    /// current language; buttons, icons and the Ok and Cancel images are reused).
    void init() override;
    /// The frame step: opens and closes the requested pages, rebuilds the load and save pages
    /// on Saves:have_changed and the Controls page on Input_mode:changed, then, while a page
    /// is open (IN_MENU), acts on Menu:clicked and runs the highlight walk. In a game without
    /// menus (Game:no_menu) only the two rebuilds run, so that neither signal lingers.
    void run() override;

    // ---- Opening, closing, clicking ----

    /// Stores `create` under (menu, effect), replacing an earlier entry.
    void create_callback(const std::string& menu, const std::string& effect,
                         const Callback& create);
    /// The callback table (for tests).
    const Callback_table& callbacks() const { return m_callbacks; }

    /// Records the page as Game:current_menu, brings its content up to date (the settings'
    /// shown values, the message, the phone numbers, the end page), switches the background
    /// and the overlay on and shows the version text. The page's images are switched on by the
    /// next highlight walk. Fatal when <name>:menu is missing.
    void show_menu(const std::string& name);
    /// Switches the page, the background and the overlay off and removes the version text and
    /// the highlighted entry; hiding Settings asks for the settings to be written. The status
    /// is left to the caller.
    void hide_menu(const std::string& name);
    /// Removes from the store the text images of the page that follow the language (the Exit
    /// rows' labels), so that the next build makes them anew; the page itself stays.
    void delete_menu(const std::string& name);
    /// Acts on a click on Interface:active_menu_item: an arrow of a setting row steps and
    /// applies the setting; an entry's effect launches <effect>:action (hiding the page and
    /// popping the status) or else calls the (page, effect) callback after the click sound.
    /// Fatal "Unknown menu effect: <page>:<effect>" when neither exists.
    void menu_clicked();
    /// Shows the open page and highlights its active entry: under a controller with nothing
    /// active, the first button met breadth first (on Settings and Controls the first setting
    /// row) becomes the active entry; buttons are drawn opaque when highlighted (never under
    /// touch) and transparent otherwise.
    void highlight_walk();

    // ---- Pages: the Exit page, confirmations and texts ----

    /// One row of the Exit (or End) page at height y: icon, label and button, with the effect
    /// <id>; or the logo when id is "Menu_logo".
    void make_exit_menu_item(Component::Menu::Vertex_wrapper vertex, const std::string& id,
                             int y);
    /// The support link in child `index` of the page's root.
    void make_support_item(const std::shared_ptr<Component::Menu>& menu, std::size_t index);
    /// A lone Ok button (alone) or Ok and Cancel side by side; the images are made once and
    /// shared by every page.
    void make_oknotok_item(Component::Menu::Vertex_wrapper vertex, bool alone);
    /// The page title: the translated <id>:text, reused while its text is unchanged, so that
    /// pages sharing a title show the same image.
    void make_text_menu_title(Component::Menu::Vertex_wrapper vertex, const std::string& id);
    /// The translated <id>:text as one image per line: every line ended by a line break (an
    /// empty one shown as a space), or the whole text when it has none.
    void make_text_menu_text(Component::Menu::Vertex_wrapper vertex, const std::string& id);

    // ---- Settings ----

    /// A setting row at height y: button, title, one image per value and two arrows.
    void make_settings_item(Component::Menu::Vertex_wrapper vertex, const std::string& setting,
                            int y);
    /// The button of an entry: <id>_button, reused when it is still stored.
    Placed_image make_settings_button(const std::string& id, int y);
    /// The upper text line of an entry, <id>_<suffix>, in the interface font.
    Placed_image make_settings_title(const std::string& id, const std::string& suffix, int y,
                                     const std::string& text);
    /// The lower text line of an entry, <id>_<suffix>, in the light font.
    Placed_image make_settings_subtitle(const std::string& id, const std::string& suffix, int y,
                                        const std::string& text);
    /// Writes the value chosen on a row into the store and emits what makes the other systems
    /// follow; a language change rebuilds every page and reopens Settings. Other names do
    /// nothing.
    void apply_setting(const std::string& setting, const std::string& value);

    // ---- Load, save, controls, phone and end pages ----

    /// The Save page (the used slots, then one free slot while one is left) and the Load page
    /// (the automatic save, then the used slots), from the Save_<id>:info records.
    void init_loadsave_menus();
    /// The Controls page for the current input mode; under a controller, its name and the two
    /// controller settings.
    void init_controls_menu();
    /// The Phone page: "not allowed" unless opened from the idle status, else the known numbers,
    /// rebuilt only when they changed.
    void update_phone_menu();
    /// The End page: the closing text with the play time, and the rows to start again or quit,
    /// made anew in the current language.
    void update_end_menu();

  private:
    /// Restarts the game from the init file's start room (New_game's Ok, End's new game).
    void restart(const std::string& menu);

    Callback_table m_callbacks;
    /// The translated text each title image was made from, by title id.
    std::unordered_map<std::string, std::string> m_title_texts;
};

} // namespace Orvane::System
