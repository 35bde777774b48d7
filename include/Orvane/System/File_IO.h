#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include <Orvane/System/Base.h>
#include <Orvane/Third_party/Yaml.h>

namespace Orvane::Component {
class Action;
class Base;
class Font;
class Image;
template <typename T> class Simple;
template <typename T> class Simple_conditional;
} // namespace Orvane::Component

namespace Orvane::System {

/// A save file read and checked whole; private to the save code.
struct Save_data;

/// The data-file system: reads the game's init file, locale file, rooms and items into the
/// store, reads and writes the settings file and the saves, and cleans the store when a room
/// is left or the game restarts. Runs first in every frame.
class File_IO : public Base {
  public:
    /// An item reader: the item's id and the root (or inline node) of its description.
    using Reader = std::function<void(const std::string& id, const Third_party::Yaml::Node& node)>;
    /// Makes the picture of a locale-dependent image from a package path.
    using Image_maker = std::function<std::shared_ptr<Component::Image>(const std::string& path)>;

    /// The item kinds in the order in which every walk over the items of a file visits them,
    /// whatever the order of the keys in the file.
    static constexpr std::array<const char*, 12> walk_order = {
        "sounds",   "objects",  "musics",     "animations", "texts", "scenery",
        "integers", "windows",  "characters", "dialogs",    "codes", "actions"};

    /// Builds the reader table; creates no component.
    explicit File_IO(Content& content);

    /// Serves, in this order: the actions of newly listed phone numbers (read_phone_actions),
    /// Game:load (clean the store, read the save named by Savegame:id,
    /// remove Savegame:id), Game:new_room (drop a pending fast-forward, read the room, remove
    /// the request, emit Game:clear_notifications), Game:save and Game:config_changed.
    void run() override;

    /// Removes what a room change drops or, after the signal Game:reset (consumed), what a
    /// restart drops; a restart also resets the camera, the status, the logic action and the
    /// inventory and reads the global items of data/init.yaml again. A room change keeps the
    /// system entities (upper-case first letter) but speech comments and finishing records,
    /// global items, the phone-number entities and every state, position, signal, resume point
    /// and integer value; a restart keeps only the system entities (same exceptions) and the
    /// fast-access slots.
    void clean_content();

    /// Reads the settings file of the per-user folder into the settings components. A missing
    /// file gives the defaults; a broken file or a value out of range gives the defaults of
    /// what it spoils, with a warning, and never stops the game.
    virtual void read_config();
    /// Writes the settings components into the settings file. A file that cannot be written
    /// gives a warning naming it and the reason, and keeps the previous one; the game goes on.
    virtual void write_config();

    /// Removes the temporary files that a killed write of the settings file or of a save left
    /// in the per-user folder (see Third_party::SDL_file::remove_temporaries). Run once at
    /// start-up, before anything there is read.
    void remove_stale_temporaries();

    /// Reads data/init.yaml (fatal "Can't open data/init.yaml" without it), the locale file
    /// and the interface section, and requests the first room.
    virtual void read_init();

    /// Writes the save of the slot named by Savegame:id (which must exist) and removes
    /// Savegame:id. The whole text is built in memory first, then written through the
    /// per-user writer, which puts the new file in place only once it is complete: a failed or
    /// interrupted save leaves the slot's previous file whole. Then Save_<slot>:info is set
    /// and Saves:have_changed emitted. A save that cannot be written (a full disk, a read-only
    /// folder) gives a warning naming the file and the reason and is not reported as made
    /// (no record, no signal); the game goes on. A Savegame:id outside Config::save_ids is
    /// refused with a warning, and no file is touched.
    virtual void write_savefile();
    /// Reads the save of a slot of Config::save_ids: the plain values into the store (marked
    /// altered), the saved room into Game:new_room with the origin "Saved_game", and the
    /// steps that rebuild the scene into Saved_game:action. The whole file is checked before
    /// anything changes: false, with a warning naming the file and key, and the store left
    /// untouched, when it is missing, broken or names a room the game lacks. Entries naming
    /// system entities and inventory items the game lacks are skipped with a warning.
    virtual bool read_savefile(const std::string& slot);
    /// Replaces the current room by data/rooms/<id>.yaml (fatal "Can't open data/rooms/<id>.yaml"
    /// without it): cleans the store, builds the background and its ground maps, reads the
    /// room's items in walk order (named items from their files, inline items from the room
    /// file), reads again the inventory objects and phone actions that the room change dropped,
    /// and emits Game:in_new_room then Window:rescaled. Game:loading_callback is called between
    /// the steps and after every item.
    virtual void read_room(const std::string& id);
    /// Reads data/actions/<id>.yaml for every number of phone_numbers:list that has no
    /// <id>:action yet, calling after_each (when given) after each one: a number learnt during
    /// the frame can be called at once, without waiting for the next room.
    void read_phone_actions(const std::function<void()>& after_each = {});

    /// Reads data/locale.yaml into the translation tables, Game:available_locales and
    /// Game:locale, and chooses the current language when the settings name none that is
    /// offered (see choose_locale).
    void read_locale();

    /// An image that follows the language: make_image(picture) for the source language and
    /// make_image of each per-locale variant (the picture path less its last three characters,
    /// the locale id, ".png") as a conditional on Game:current_locale, when every other
    /// locale has its variant; otherwise (or for a single locale) a plain copy of the source
    /// picture under (entity, component). Stored when `store`; returned in any case.
    std::shared_ptr<Component::Base>
    load_locale_dependent_image(const std::string& entity, const std::string& component,
                                const std::string& picture, const Image_maker& make_image,
                                bool store);
    /// Stores <entity>:image: the text rendered once per offered language (a conditional on
    /// Game:current_locale; a plain text image for a single language), each at depth z, scale
    /// 0.75, unclickable and switched off. Game:current_locale is left as it was.
    void create_locale_dependent_text(const std::string& entity,
                                      const std::shared_ptr<Component::Font>& font,
                                      const std::string& color, const std::string& text, int z);

    /// Reads a step list (a sequence of one-key mappings: keyword, then the list of argument
    /// texts) into `action`. With `expand_calls`, a "func" step is replaced by the steps of
    /// the function it names (see parse_function); without, it is kept as written.
    void read_steps(const Third_party::Yaml::Node& steps, Component::Action& action,
                    bool expand_calls);
    /// One element of a step list, as read_steps.
    void read_step(const Third_party::Yaml::Node& step, Component::Action& action,
                   bool expand_calls);
    /// Appends the steps of the function call[0] (capitalised; <Name>:function must exist) to
    /// `action`, each "ARG<n>" argument replaced by call[n + 1] and each "func" step among
    /// them expanded the same way. A function that calls itself, directly or through others,
    /// and an ARG<n> beyond the call's arguments are fatal.
    void parse_function(const std::vector<std::string>& call, Component::Action& action);

    /// Calls fn(kind, reader, items) for each kind of walk_order that `node` holds as a key.
    void for_each_kind(const Third_party::Yaml::Node& node,
                       const std::function<void(const std::string& kind, const Reader& reader,
                                                const Third_party::Yaml::Node& items)>& fn);
    /// Opens data/<kind>/<name>.yaml (fatal "Can't open data/<kind>/<name>.yaml", followed by
    /// ", asked for by " and `asked_by` when given) and calls the reader of the kind with the
    /// name and the file's root.
    void read_item_file(const std::string& kind, const std::string& name,
                        const std::string& asked_by = "");

    /// The list under `key` of `node`, which must hold at least `count` items; otherwise fatal
    /// with "<file>: <item>: \"<key>\" needs <count> items, has <n>" (for an inline item the
    /// file is the room file).
    static const Third_party::Yaml::Node& list_of(const Third_party::Yaml::Node& node,
                                                  const std::string& item, const std::string& key,
                                                  std::size_t count);

    /// Gives what item `id` holds in each entry of its "states" list `states`: read(state id,
    /// entry), in list order, filed under the state id (null: nothing in that state) in the
    /// conditional <id>:<component> on `state`, created at the first entry. An empty `state`
    /// first takes the first entry's id: a change that saves record when `default_saved`,
    /// otherwise left unaltered, so that saves leave the default out. Returns the conditional,
    /// null for an empty list.
    std::shared_ptr<Component::Simple_conditional<std::string>>
    read_states(const std::string& id, const std::string& component,
                const std::shared_ptr<Component::Simple<std::string>>& state,
                const Third_party::Yaml::Node& states, bool default_saved,
                const std::function<std::shared_ptr<Component::Base>(
                    const std::string& state_id, const Third_party::Yaml::Node& entry)>& read);

    /// A label and an action, either of which may be absent.
    using Verb_components =
        std::pair<std::shared_ptr<Component::Base>, std::shared_ptr<Component::Base>>;
    /// Reads one verb entry of an object or character: a list of entries with a "state" each
    /// (conditionals <id>_<verb>:label and :action on <id>:state, stored here), or one entry
    /// with an optional "object", "label", "right" (stored here), "effect" and "state". Returns
    /// the label and the action for the caller to store. A global item's verbs are global too.
    Verb_components read_object_action(const std::string& id, const std::string& verb,
                                       const Third_party::Yaml::Node& node);
    /// Reads and stores every verb entry an object or character file (`node`) holds, in the
    /// order of the game's verbs; "inventory" holds a list of entries.
    void read_verbs(const std::string& id, const Third_party::Yaml::Node& node);

    /// The composed appearance of a character whose file (`node`, the file's root) has a
    /// "skin": mouth, head and body animations in <id>:group, their gaps and position
    /// functions, the hit rectangle per state in <id>:image and the facing side in <id>:lookat.
    void read_character_skin(const std::string& id, const Third_party::Yaml::Node& node,
                             const std::string& initial_state);

    // The item readers, one per kind.
    virtual void read_action(const std::string& id, const Third_party::Yaml::Node& node);
    virtual void read_animation(const std::string& id, const Third_party::Yaml::Node& node);
    virtual void read_character(const std::string& id, const Third_party::Yaml::Node& node);
    virtual void read_code(const std::string& id, const Third_party::Yaml::Node& node);
    virtual void read_dialog(const std::string& id, const Third_party::Yaml::Node& node);
    virtual void read_integer(const std::string& id, const Third_party::Yaml::Node& node);
    virtual void read_object(const std::string& id, const Third_party::Yaml::Node& node);
    virtual void read_music(const std::string& id, const Third_party::Yaml::Node& node);
    virtual void read_scenery(const std::string& id, const Third_party::Yaml::Node& node);
    virtual void read_sound(const std::string& id, const Third_party::Yaml::Node& node);
    virtual void read_text(const std::string& id, const Third_party::Yaml::Node& node);
    virtual void read_window(const std::string& id, const Third_party::Yaml::Node& node);

  protected:
    // The sections of the init file, in reading order.
    void read_init_general(const Third_party::Yaml& init);
    void read_init_achievement(const Third_party::Yaml& init);
    void read_init_cursor(const Third_party::Yaml& init);
    void read_init_inventory(const Third_party::Yaml& init);
    void read_init_functions(const Third_party::Yaml& init);
    /// The global items: each item of each kind list, in walk order, after its signal
    /// <name>:is_global. Also read again after a restart.
    void read_init_global_items(const Third_party::Yaml& init);
    void read_init_text_defaults(const Third_party::Yaml& init);
    /// Publishes Save_<slot>:info for every usable save (an unusable one is skipped with a
    /// warning), then requests the first room: Force_load:room when present, else the newest
    /// usable save (on equal dates the earlier slot), else Game:init_new_room.
    void read_savefiles(const Third_party::Yaml& init);
    void read_init_interface(const Third_party::Yaml& init);

    /// The fast-forward indicator's choice: 0 the first picture, 1 the second, 2 none.
    std::size_t fast_forward_choice() const;

  private:
    /// The save of `slot`, checked whole; null when it cannot be used (with a warning naming
    /// the file and key; a missing file is warned about unless `quiet_when_missing`).
    std::unique_ptr<Save_data> check_savefile(const std::string& slot, bool quiet_when_missing);
    /// Puts a checked save into the store.
    void restore_savefile(const Save_data& save);
    /// Serves Game:load: the slot is checked before the store is cleaned, so that an unusable
    /// one leaves the game as it was (Savegame:id and Game:reset are then dropped).
    void load_requested_save();
    /// After a saved room has loaded: drops the steps of Saved_game:action that name a
    /// character, animation, music or dialog the room does not have, with a warning.
    void drop_stale_saved_steps();

    void expand_call(const std::vector<std::string>& call, Component::Action& action,
                     std::vector<std::string>& chain);

    std::unordered_map<std::string, Reader> m_readers;
};

} // namespace Orvane::System
