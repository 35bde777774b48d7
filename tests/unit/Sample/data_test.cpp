// The sample game's committed data: every text that init.yaml, the rooms and their items show
// the player has a line in both languages of locale.yaml, every file they name is made by the
// generator, the character and animation sheets are cut into whole cells, and the places the
// characters walk to lie on the floor of the rooms' ground maps.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <Packer/Package_writer.h>
#include <gtest/gtest.h>

#include <Orvane/Assets/Packaged_asset.h>
#include <Orvane/Third_party/Yaml.h>

namespace {

using Orvane::Packaged_asset;
using Orvane::Third_party::Yaml;
using Node = Yaml::Node;

const std::string source = ORVANE_SAMPLE_SOURCE;

std::unique_ptr<Yaml> read(const std::string& path) {
    auto yaml = std::make_unique<Yaml>(path, Packaged_asset(path, false));
    EXPECT_TRUE(yaml->parse()) << path << " is missing or not a mapping";
    return yaml;
}

/// A text of the data and where it comes from, for failure messages.
struct Text {
    std::string value;
    std::string where;
};

/// The text a "talk" step says: [text], [speaker, text] or [speaker, text, duration].
void add_talk(const Node& steps, const std::string& where, std::vector<Text>& out) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Node& step = steps[i];
        if (step.nstring() != "talk")
            continue;
        const Node& args = step["talk"];
        const std::string text = args.size() == 1 ? args[0].string() : args[1].string();
        if (text.rfind("ARG", 0) != 0) // a function's argument, filled in by its caller
            out.push_back({text, where + " step " + std::to_string(i)});
    }
}

/// Every text of init.yaml that reaches the player through the locale.
std::vector<Text> init_texts(const Yaml& init) {
    std::vector<Text> texts{{init["name"].string(), "name"}};
    const Node& achievements = init["achievements"];
    for (std::size_t i = 0; i < achievements.size(); ++i)
        texts.push_back(
            {achievements[i][1].string(), "achievement " + achievements[i][0].string()});
    const Node& fixed = init["text"];
    for (std::size_t i = 0; i < fixed.size(); ++i)
        texts.push_back({fixed[i]["value"].string(), "text " + fixed[i]["id"].string()});
    for (const char* verb : {"look", "move", "take", "inventory", "use", "combine", "goto"}) {
        const Node& reaction = init["default"][verb];
        texts.push_back({reaction["label"].string(), std::string("label of ") + verb});
        if (reaction.has("effect"))
            add_talk(reaction["effect"], std::string("default ") + verb, texts);
    }
    const Node& functions = init["functions"];
    for (std::size_t i = 0; i < functions.size(); ++i)
        add_talk(functions[i]["effect"], "function " + functions[i]["id"].string(), texts);
    return texts;
}

class Sample_data : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        init = read(source + "/data/init.yaml").release();
        locale = read(source + "/data/locale.yaml").release();
    }
    static void TearDownTestSuite() {
        delete init;
        delete locale;
    }
    static inline Yaml* init = nullptr;
    static inline Yaml* locale = nullptr;
};

TEST_F(Sample_data, OffersEnglishAsTheSourceThenFrench) {
    const Node& locales = (*locale)["locales"];
    ASSERT_EQ(locales.size(), 2u);
    EXPECT_EQ(locales[0]["id"].string(), "en_US");
    EXPECT_EQ(locales[0]["description"].string(), "English");
    EXPECT_EQ(locales[1]["id"].string(), "fr_FR");
    EXPECT_EQ(locales[1]["description"].string(), "Français");
}

TEST_F(Sample_data, EveryLineHasBothLanguagesAndEachSourceTextOnce) {
    const Node& lines = (*locale)["lines"];
    ASSERT_GT(lines.size(), 0u);
    std::set<std::string> seen;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Node& line = lines[i];
        SCOPED_TRACE("line " + std::to_string(i));
        std::set<std::string> keys;
        for (const auto& [key, value] : line)
            keys.insert(key);
        EXPECT_EQ(keys, (std::set<std::string>{"en_US", "fr_FR"}));
        if (!line.has("en_US") || !line.has("fr_FR"))
            continue;
        EXPECT_FALSE(line["en_US"].string().empty());
        EXPECT_FALSE(line["fr_FR"].string().empty()) << line["en_US"].string();
        // a second line for one source text would silently replace the first translation
        EXPECT_TRUE(seen.insert(line["en_US"].string()).second)
            << "\"" << line["en_US"].string() << "\" has two lines";
    }
}

TEST_F(Sample_data, EveryTextOfTheInitFileIsTranslated) {
    std::map<std::string, std::string> french;
    const Node& lines = (*locale)["lines"];
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].has("en_US") && lines[i].has("fr_FR"))
            french[lines[i]["en_US"].string()] = lines[i]["fr_FR"].string();

    const std::vector<Text> texts = init_texts(*init);
    // the fixed texts, seven labels, six default lines, the name and two achievements at least
    EXPECT_GE(texts.size(), 50u);
    for (const Text& text : texts)
        EXPECT_TRUE(french.contains(text.value))
            << text.where << ": \"" << text.value << "\" has no line in locale.yaml";
}

TEST_F(Sample_data, AFrenchLineStartsWithASmallEAcute) {
    // the end page capitalises the game-time word: this exercises the two-byte "é"
    bool found = false;
    const Node& lines = (*locale)["lines"];
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].has("fr_FR") && lines[i]["fr_FR"].string().rfind("\xC3\xA9", 0) == 0)
            found = true;
    EXPECT_TRUE(found);
}

/// The files that init.yaml names, as the engine completes them.
std::vector<std::string> named_files(const Yaml& init) {
    std::vector<std::string> files;
    const auto picture = [&files](const Node& node) {
        files.push_back(node.string("images", "interface", "png"));
    };
    const auto pictures = [&picture](const Node& list) {
        for (std::size_t i = 0; i < list.size(); ++i)
            picture(list[i]);
    };
    picture(init["icon"]);
    picture(init["loading_spin"][0]);
    for (const char* key :
         {"code_results", "achievement_notif", "cursor", "inventory_arrows", "circle",
          "playstation", "fast_forward", "menu_arrows", "menu_oknotok", "menu_buttons"})
        pictures(init[key]);
    for (const char* key : {"hand", "inventory_chamfer", "menu_background", "menu_logo"})
        picture(init[key]);
    const Node& text = init["text"];
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i].has("icon"))
            picture(text[i]["icon"]);
    // the support pictures carry words: each has its French variant
    const Node& support = init["menu_support"];
    for (std::size_t i = 0; i < support.size(); ++i) {
        picture(support[i]);
        files.push_back("images/interface/" + support[i].string() + ".fr_FR.png");
    }
    for (const char* key : {"debug_font", "interface_font", "interface_light_font", "dialog_font"})
        files.push_back(init[key].string("fonts", "ttf"));
    for (const char* key : {"click_sound", "step_sound"})
        files.push_back(init[key].string("sounds", "effects", "ogg"));
    return files;
}

TEST_F(Sample_data, EveryFileTheInitFileNamesIsStaged) {
    const std::vector<std::string> files = named_files(*init);
    EXPECT_GE(files.size(), 50u);
    for (const std::string& file : files)
        EXPECT_TRUE(std::filesystem::is_regular_file(std::string(ORVANE_SAMPLE_STAGE) + "/" + file))
            << file << " is named by init.yaml but was not staged";
}

// ---- What the menu pages read ----

/// The French line of every source text.
std::map<std::string, std::string> french_lines(const Yaml& locale) {
    std::map<std::string, std::string> french;
    const Node& lines = locale["lines"];
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].has("en_US") && lines[i].has("fr_FR"))
            french[lines[i]["en_US"].string()] = lines[i]["fr_FR"].string();
    return french;
}

/// The init file's fixed texts by id (capitalised, as the engine stores them): value and
/// whether it has an icon.
std::map<std::string, std::pair<std::string, bool>> fixed_texts(const Yaml& init) {
    std::map<std::string, std::pair<std::string, bool>> out;
    const Node& fixed = init["text"];
    for (std::size_t i = 0; i < fixed.size(); ++i) {
        std::string id = fixed[i]["id"].string();
        id[0] = char(std::toupper(static_cast<unsigned char>(id[0])));
        out[id] = {fixed[i]["value"].string(), fixed[i].has("icon")};
    }
    return out;
}

TEST_F(Sample_data, TheMenuPagesFindEveryTextAndIcon) {
    const auto texts = fixed_texts(*init);
    // the pages' rows, titles, blocks, setting names and values, slots and end page
    for (const char* id :
         {"Phone", "Settings", "Controls", "New_game", "Load", "Save", "Quit", "Ok", "Cancel",
          "Message", "Wanna_restart", "Wanna_save", "Wanna_load", "Saved", "No_number_text",
          "No_phone_allowed", "No_savegame", "End", "End_message", "End_new_game", "End_quit",
          "Language", "Fullscreen", "Interface_scale", "Text_speed", "Music_volume",
          "Sound_volume", "Gamepad_style", "Gamepad_orient", "Yes", "No", "Tiny", "Small",
          "Large", "Huge", "Slow", "Medium_speed", "Fast", "Xbox", "Nintendo", "Playstation",
          "Empty", "Ok_right", "Ok_down", "Free_slot", "Game_time", "Controls_mouse",
          "Controls_touchscreen", "Controls_gamepad", "Support_url"})
        EXPECT_TRUE(texts.contains(id)) << "the menus read the text " << id;
    for (const char* id : {"Phone", "Settings", "Controls", "New_game", "Load", "Save", "Quit",
                           "Ok", "Cancel", "End_new_game", "End_quit"})
        EXPECT_TRUE(texts.contains(id) && texts.at(id).second)
            << "the menus show the icon of " << id;
}

TEST_F(Sample_data, MenuTextBlocksLoseNoLineAndFitThePanel) {
    // a block shows only the lines ended by a line break, one image each, unwrapped
    const auto texts = fixed_texts(*init);
    const auto french = french_lines(*locale);
    std::vector<std::pair<std::string, std::string>> blocks;
    for (const char* id : {"Wanna_restart", "Wanna_save", "Wanna_load", "Saved",
                           "No_number_text", "No_phone_allowed", "No_savegame"})
        if (texts.contains(id))
            blocks.emplace_back(id, texts.at(id).first);
    for (const char* id : {"radio_dark", "radio_lit"})
        blocks.emplace_back(id, read(source + "/data/texts/" + id + ".yaml")->root()["text"].string());
    for (const auto& [id, english] : blocks) {
        ASSERT_TRUE(french.contains(english)) << id;
        for (const std::string& text : {english, french.at(english)}) {
            SCOPED_TRACE(id + ": \"" + text + "\"");
            if (text.find('\n') != std::string::npos) {
                EXPECT_EQ(text.back(), '\n') << "the last line would not be shown";
            }
            std::size_t start = 0;
            while (start < text.size()) {
                std::size_t end = text.find('\n', start);
                if (end == std::string::npos)
                    end = text.size();
                std::size_t characters = 0;
                for (std::size_t i = start; i < end; ++i)
                    characters += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
                EXPECT_LE(characters, 30u) << text.substr(start, end - start);
                start = end + 1;
            }
        }
    }
}

TEST_F(Sample_data, PhoneLabelsEndWithTheirDigits) {
    // the phone page splits a label at its last space: the name, then the digits
    const auto french = french_lines(*locale);
    const std::string label =
        read(source + "/data/actions/harbour_radio.yaml")->root()["label"].string();
    for (const std::string& text : {label, french.at(label)}) {
        const std::size_t space = text.rfind(' ');
        ASSERT_NE(space, std::string::npos) << text;
        const std::string digits = text.substr(space + 1);
        EXPECT_FALSE(digits.empty()) << text;
        EXPECT_TRUE(std::all_of(digits.begin(), digits.end(),
                                [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
            << text;
    }
}

// ---- Rooms and their items ----

const std::string stage = ORVANE_SAMPLE_STAGE;

/// A sheet the readers cut into a grid of columns x rows.
struct Sheet {
    std::string file;
    std::size_t columns = 1;
    std::size_t rows = 1;
    std::string where;
};

/// What the rooms and their items (named or inline, and the global items of init.yaml) name and
/// show: the files, the texts and the sheets, each with where it comes from.
class Room_walk {
  public:
    explicit Room_walk(const Yaml& init) {
        for (const auto& [kind, reader] : readers())
            if (init.has(kind))
                for (std::size_t i = 0; i < init[kind].size(); ++i)
                    item(kind, init[kind][i], "data/init.yaml");
        for (const std::string& room : rooms())
            walk_room(room);
        // the phone numbers that scripts add are read from the actions folder
        for (std::size_t i = 0; i < phone_numbers.size(); ++i)
            named_item("actions", phone_numbers[i], "phone number");
    }

    /// The room ids: every file of data/rooms/, in sorted order.
    static std::vector<std::string> rooms() {
        std::vector<std::string> ids;
        for (const auto& entry : std::filesystem::directory_iterator(source + "/data/rooms"))
            if (entry.path().extension() == ".yaml")
                ids.push_back(entry.path().stem().string());
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    std::vector<Text> files;
    std::vector<Text> texts;
    /// The ids that "message" steps show, and the text items without a place on screen.
    std::vector<Text> messages;
    std::set<std::string> script_texts;
    /// The achievement ids that one-argument "notify" steps unlock.
    std::vector<Text> achievements;
    std::vector<Sheet> sheets;
    std::vector<std::string> missing_items;
    std::set<std::string> rooms_read;
    /// The objects and characters with a "use" verb.
    std::vector<Text> uses;
    /// The actions "<receiver>_inventory_<item>" that the receivers declare, and the items.
    std::vector<Text> item_uses;
    std::vector<Text> used_items;
    /// The objects with a state in the inventory.
    std::set<std::string> carried;

  private:
    using Reader = void (Room_walk::*)(const Node&, const std::string&);

    static const std::vector<std::pair<std::string, Reader>>& readers() {
        static const std::vector<std::pair<std::string, Reader>> table = {
            {"sounds", &Room_walk::sound},         {"objects", &Room_walk::object},
            {"musics", &Room_walk::music},         {"animations", &Room_walk::animation},
            {"texts", &Room_walk::text},           {"scenery", &Room_walk::scenery},
            {"integers", &Room_walk::integer},     {"windows", &Room_walk::window},
            {"characters", &Room_walk::character}, {"dialogs", &Room_walk::dialog},
            {"codes", &Room_walk::code},           {"actions", &Room_walk::action}};
        return table;
    }

    void walk_room(const std::string& id) {
        const std::string path = "data/rooms/" + id + ".yaml";
        const Yaml* room = keep(read(source + "/" + path));
        rooms_read.insert(id);
        texts.push_back({(*room)["name"].string(), path + ": name"});
        if (room->has("background"))
            files.push_back({(*room)["background"].string("images", "backgrounds", "png"), path});
        if (room->has("ground_map")) {
            const Node& map = (*room)["ground_map"];
            std::vector<std::string> names;
            if (map.is_sequence)
                names = map.string_array();
            else
                names.push_back(map.string());
            for (const std::string& name : names)
                if (name != "null")
                    files.push_back({"images/backgrounds/" + name + ".png", path + ": ground_map"});
        }
        for (const auto& [kind, reader] : readers())
            if (room->has(kind))
                for (std::size_t i = 0; i < (*room)[kind].size(); ++i)
                    item(kind, (*room)[kind][i], path);
    }

    void item(const std::string& kind, const Node& entry, const std::string& where) {
        if (!entry.is_sequence && entry.children.empty() && !entry.value.empty())
            named_item(kind, entry.value, where);
        else {
            m_id = entry["id"].string();
            read_item(kind, entry, where + ": " + kind + " " + m_id);
        }
    }

    void named_item(const std::string& kind, const std::string& name, const std::string& who) {
        const std::string path = "data/" + kind + "/" + name + ".yaml";
        if (!std::filesystem::is_regular_file(source + "/" + path)) {
            missing_items.push_back(path + " (asked for by " + who + ")");
            return;
        }
        m_id = name;
        read_item(kind, keep(read(source + "/" + path))->root(), path);
    }

    void read_item(const std::string& kind, const Node& node, const std::string& where) {
        for (const auto& [key, reader] : readers())
            if (key == kind)
                (this->*reader)(node, where);
    }

    /// Keeps a parsed file for as long as the walk, whose nodes point into it.
    const Yaml* keep(std::unique_ptr<Yaml> yaml) {
        m_kept.push_back(std::move(yaml));
        return m_kept.back().get();
    }

    // -- steps --

    void steps(const Node& list, const std::string& where) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            const Node& step = list[i];
            const std::string& keyword = step.nstring();
            const std::vector<std::string> args = step[keyword].string_array();
            const std::string at = where + " step " + std::to_string(i) + " (" + keyword + ")";
            if (keyword == "talk" && !args.empty())
                texts.push_back({args.size() == 1 ? args[0] : args[1], at});
            else if (keyword == "message" && !args.empty())
                messages.push_back({args[0], at}); // the id of a text item or a fixed text
            else if (keyword == "notify" && args.size() == 2)
                texts.push_back({args[0], at}); // a notification text and its seconds
            else if (keyword == "notify" && args.size() == 1)
                achievements.push_back({args[0], at});
            else if (keyword == "func")
                for (std::size_t a = 1; a < args.size(); ++a)
                    texts.push_back({args[a], at}); // the function says its arguments
            else if (keyword == "add" && args.size() == 2 && args[0] == "phone_numbers")
                phone_numbers.push_back(args[1]);
        }
    }

    /// A verb entry: Form A (a list of variants by state) or Form B (a map).
    void verb(const Node& entry, const std::string& where) {
        if (entry.is_sequence) {
            for (std::size_t i = 0; i < entry.size(); ++i)
                verb(entry[i], where + "[" + std::to_string(i) + "]");
            return;
        }
        if (entry.has("label"))
            texts.push_back({entry["label"].string(), where + ": label"});
        if (entry.has("effect"))
            steps(entry["effect"], where);
    }

    void verbs(const Node& node, const std::string& where) {
        for (const char* name : {"look", "move", "take", "use", "combine", "goto"})
            if (node.has(name))
                verb(node[name], where + ": " + name);
        if (node.has("use"))
            uses.push_back({m_id, where});
        if (node.has("inventory"))
            for (std::size_t i = 0; i < node["inventory"].size(); ++i) {
                const Node& entry = node["inventory"][i];
                verb(entry, where + ": inventory");
                item_uses.push_back({m_id + "_inventory_" + entry["object"].string(), where});
                used_items.push_back({entry["object"].string(), where});
            }
    }

    // -- the readers --

    void sound(const Node& node, const std::string& where) {
        files.push_back({node["sound"].string("sounds", "effects", "ogg"), where});
    }

    void object(const Node& node, const std::string& where) {
        texts.push_back({node["name"].string(), where + ": name"});
        const Node& states = node["states"];
        for (std::size_t i = 0; i < states.size(); ++i) {
            const Node& state = states[i];
            const bool in_inventory = state["id"].string().rfind("inventory", 0) == 0;
            if (in_inventory)
                carried.insert(m_id);
            if (state.has("skin")) {
                const std::string file =
                    state["skin"].string("images", in_inventory ? "inventory" : "objects", "png");
                files.push_back({file, where});
                if (state.has("frames"))
                    sheets.push_back({file, std::size_t(state["frames"].integer()), 1, where});
            } else if (state.has("mask")) {
                files.push_back({state["mask"].string("images", "masks", "png"), where});
            }
        }
        verbs(node, where);
    }

    void music(const Node& node, const std::string& where) {
        const Node& tracks = node["tracks"];
        for (std::size_t i = 0; i < tracks.size(); ++i)
            files.push_back({tracks[i].string("sounds", "musics", "ogg"), where});
    }

    void animation(const Node& node, const std::string& where) {
        const std::string file = node["skin"].string("images", "animations", "png");
        files.push_back({file, where});
        const Node& length = node["length"];
        if (length.is_sequence)
            sheets.push_back(
                {file, std::size_t(length[0].integer()), std::size_t(length[1].integer()), where});
        else
            sheets.push_back({file, std::size_t(length.integer()), 1, where});
    }

    void text(const Node& node, const std::string& where) {
        texts.push_back({node["text"].string(), where + ": text"});
        if (!node.has("coordinates"))
            script_texts.insert(m_id);
    }

    void scenery(const Node& node, const std::string& where) {
        const auto picture = [&](const Node& skin) {
            files.push_back({skin.string("images", "scenery", "png"), where});
        };
        if (node.has("states")) {
            for (std::size_t i = 0; i < node["states"].size(); ++i)
                if (node["states"][i].has("skin"))
                    picture(node["states"][i]["skin"]);
        } else {
            picture(node["skin"]);
        }
    }

    void integer(const Node& node, const std::string& where) {
        if (node.has("triggers"))
            for (std::size_t i = 0; i < node["triggers"].size(); ++i)
                steps(node["triggers"][i]["effect"], where + ": trigger");
    }

    void window(const Node& node, const std::string& where) {
        files.push_back({node["skin"].string("images", "windows", "png"), where});
    }

    void character(const Node& node, const std::string& where) {
        texts.push_back({node["name"].string(), where + ": name"});
        verbs(node, where);
        if (!node.has("skin"))
            return;
        const Node& skin = node["skin"];
        const auto sheet = [&](const Node& part, std::size_t columns, std::size_t rows) {
            const std::string file = part["skin"].string("images", "characters", "png");
            files.push_back({file, where});
            sheets.push_back({file, columns, rows, where});
        };
        const Node& mouth = skin["mouth"];
        sheet(mouth, mouth.has("size") ? std::size_t(mouth["size"].integer()) : 11, 2);
        sheet(skin["head"], skin["head"]["positions"].size(), 2);
        sheet(skin["idle"], skin["idle"]["positions"].size(), 2);
        if (skin.has("walk")) {
            const Node& walk = skin["walk"];
            sheet(walk, walk.has("steps") ? std::size_t(walk["steps"].integer()) : 8, 4);
        }
    }

    void dialog(const Node& node, const std::string& where) {
        const Node& lines = node["lines"];
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const Node& entry = lines[i];
            if (entry.has("choices")) {
                for (std::size_t c = 0; c < entry["choices"].size(); ++c)
                    texts.push_back({entry["choices"][c]["line"].string(), where + ": choice"});
            } else if (entry.has("line")) {
                texts.push_back({entry["line"][1].string(), where + ": line"});
            }
        }
    }

    void code(const Node& node, const std::string& where) {
        for (const char* key : {"button_sound", "success_sound", "failure_sound"})
            files.push_back({node[key].string("sounds", "effects", "ogg"), where});
        const Node& states = node["states"];
        for (std::size_t i = 0; i < states.size(); ++i)
            for (std::size_t k = 0; k < states[i]["skin"].size(); ++k)
                files.push_back({states[i]["skin"][k].string("images", "windows", "png"), where});
        steps(node["on_success"], where + ": on_success");
    }

    void action(const Node& node, const std::string& where) {
        if (node.has("label"))
            texts.push_back({node["label"].string(), where + ": label"});
        for (const char* variants : {"states", "modes"})
            if (node.has(variants))
                for (std::size_t i = 0; i < node[variants].size(); ++i)
                    steps(node[variants][i]["effect"], where + ": " + variants);
        if (node.has("effect"))
            steps(node["effect"], where);
    }

    std::vector<std::string> phone_numbers;
    std::vector<std::unique_ptr<Yaml>> m_kept;
    std::string m_id; ///< the id of the item being read
};

/// Width and height of a PNG file, read from its header; {0, 0} when it is not a PNG.
std::pair<std::uint32_t, std::uint32_t> png_size(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    unsigned char header[24] = {};
    if (!file.read(reinterpret_cast<char*>(header), sizeof header) || header[1] != 'P')
        return {0, 0};
    const auto big_endian = [&header](int at) {
        return std::uint32_t(header[at]) << 24 | std::uint32_t(header[at + 1]) << 16 |
               std::uint32_t(header[at + 2]) << 8 | std::uint32_t(header[at + 3]);
    };
    return {big_endian(16), big_endian(20)};
}

class Sample_rooms : public Sample_data {
  protected:
    static void SetUpTestSuite() {
        Sample_data::SetUpTestSuite();
        walk = new Room_walk(*init);
    }
    static void TearDownTestSuite() {
        delete walk;
        Sample_data::TearDownTestSuite();
    }
    static inline Room_walk* walk = nullptr;
};

TEST_F(Sample_rooms, BothRoomsAndEveryNamedItemExist) {
    EXPECT_EQ(walk->rooms_read, (std::set<std::string>{"quay", "tower"}));
    EXPECT_EQ((*init)["load"][0].string(), "quay");
    for (const std::string& missing : walk->missing_items)
        ADD_FAILURE() << missing << " does not exist";
}

TEST_F(Sample_rooms, EveryFileTheRoomsAndItemsNameIsStaged) {
    // the backgrounds and maps, some thirty sheets and pictures, the sounds and the music
    EXPECT_GE(walk->files.size(), 50u);
    for (const Text& file : walk->files)
        EXPECT_TRUE(std::filesystem::is_regular_file(stage + "/" + file.value))
            << file.where << " names " << file.value << ", which was not staged";
    // the pictures that carry words have their French variant
    for (const char* variant :
         {"images/scenery/harbour_sign.fr_FR.png", "images/windows/note_sheet.fr_FR.png"})
        EXPECT_TRUE(std::filesystem::is_regular_file(stage + "/" + variant)) << variant;
}

TEST_F(Sample_rooms, EveryTextOfTheRoomsAndItemsIsTranslated) {
    std::map<std::string, std::string> french;
    const Node& lines = (*locale)["lines"];
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].has("en_US") && lines[i].has("fr_FR"))
            french[lines[i]["en_US"].string()] = lines[i]["fr_FR"].string();
    // room names, item names, labels, dialog lines and choices, what scripts say
    EXPECT_GE(walk->texts.size(), 50u);
    for (const Text& text : walk->texts)
        EXPECT_TRUE(french.contains(text.value))
            << text.where << ": \"" << text.value << "\" has no line in locale.yaml";
}

TEST_F(Sample_rooms, NothingInTheRoomsHasTheVerbUse) {
    // the room's selector offers look, take, move and inventory: "use" is an inventory verb
    for (const Text& use : walk->uses)
        ADD_FAILURE() << use.where << " gives " << use.value
                      << " a \"use\" that the selector never offers: name it \"move\"";
}

TEST_F(Sample_rooms, EachItemUsedOnAnObjectHasItsAction) {
    // an item used on an object triggers <object>_inventory_<item>, declared by the object
    std::set<std::string> declared;
    for (const Text& action : walk->item_uses)
        declared.insert(action.value);
    for (const char* step : {"tower_door_inventory_key", "crate_inventory_grapnel",
                             "rope_inventory_hook", "hook_inventory_rope"})
        EXPECT_TRUE(declared.contains(step)) << step << " is declared by no object";
    // and the item of each such action can be carried, or nothing could trigger it
    for (const Text& item : walk->used_items)
        EXPECT_TRUE(walk->carried.contains(item.value))
            << item.where << " receives " << item.value << ", which is never in the inventory";
}

TEST_F(Sample_rooms, MessagesShowTextsThatExist) {
    // "message" shows the text item or fixed text of that id, and stops the game without one
    std::set<std::string> known = walk->script_texts;
    const Node& fixed = (*init)["text"];
    for (std::size_t i = 0; i < fixed.size(); ++i) {
        std::string id = fixed[i]["id"].string();
        id[0] = char(std::toupper(static_cast<unsigned char>(id[0])));
        known.insert(id);
    }
    EXPECT_GE(walk->messages.size(), 5u);
    for (const Text& message : walk->messages)
        EXPECT_TRUE(known.contains(message.value))
            << message.where << " shows \"" << message.value << "\", which is no text item";
}

TEST_F(Sample_rooms, NotificationsUnlockAchievementsThatExist) {
    std::set<std::string> declared;
    const Node& list = (*init)["achievements"];
    for (std::size_t i = 0; i < list.size(); ++i)
        declared.insert(list[i][0].string());
    std::set<std::string> unlocked;
    for (const Text& achievement : walk->achievements) {
        EXPECT_TRUE(declared.contains(achievement.value))
            << achievement.where << " unlocks \"" << achievement.value << "\", no achievement";
        unlocked.insert(achievement.value);
    }
    EXPECT_EQ(unlocked, declared) << "every achievement can be won";
}

TEST_F(Sample_rooms, SheetsAreCutIntoWholeCells) {
    EXPECT_GE(walk->sheets.size(), 14u);
    for (const Sheet& sheet : walk->sheets) {
        SCOPED_TRACE(sheet.where + ": " + sheet.file);
        const auto [width, height] = png_size(stage + "/" + sheet.file);
        ASSERT_GT(width, 0u);
        ASSERT_GT(sheet.columns * sheet.rows, 0u);
        EXPECT_EQ(width % sheet.columns, 0u) << width << " pixels in " << sheet.columns;
        EXPECT_EQ(height % sheet.rows, 0u) << height << " pixels in " << sheet.rows;
    }
}

TEST_F(Sample_rooms, PicturesHaveTheirDesignedSizes) {
    // cells of the character sheets, and the backgrounds with their ground maps
    const struct {
        const char* file;
        std::uint32_t width, height;
    } cases[] = {
        {"characters/mara_idle", 4 * 200, 2 * 560},   {"characters/mara_head", 2 * 120, 2 * 150},
        {"characters/mara_mouth", 11 * 40, 2 * 28},   {"characters/mara_walk", 8 * 200, 4 * 560},
        {"characters/pip_idle", 180, 2 * 130},        {"characters/pip_head", 90, 2 * 80},
        {"characters/pip_mouth", 11 * 30, 2 * 20},    {"characters/pip_walk", 8 * 180, 4 * 130},
        {"characters/ferran_idle", 240, 2 * 520},     {"characters/ferran_head", 2 * 130, 2 * 160},
        {"characters/ferran_mouth", 11 * 44, 2 * 30}, {"backgrounds/quay", 2880, 1080},
        {"backgrounds/quay_map", 2880, 1080},         {"backgrounds/tower", 1920, 1080},
        {"backgrounds/tower_map", 1920, 1080},        {"backgrounds/tower_floor_map", 1920, 1080},
    };
    for (const auto& c : cases) {
        const auto [width, height] = png_size(stage + "/images/" + c.file + ".png");
        EXPECT_EQ(width, c.width) << c.file;
        EXPECT_EQ(height, c.height) << c.file;
    }
}

/// A room's floor as its ground-map picture paints it: gray pixels are walkable, pure red ones
/// are not.
class Floor {
  public:
    explicit Floor(const std::string& name)
        : m_image(Orvane::Packer::read_png(stage + "/images/backgrounds/" + name + ".png")) {}

    bool walkable(int x, int y) const {
        if (x < 0 || y < 0 || x >= int(m_image.width) || y >= int(m_image.height))
            return false;
        const unsigned char* p =
            &m_image.pixels[(std::size_t(y) * m_image.width + std::size_t(x)) * 4];
        return p[0] == p[1] && p[1] == p[2];
    }
    /// Whether a walk along walkable pixels (4-connected) leads from a to b.
    bool connected(std::pair<int, int> a, std::pair<int, int> b) const {
        if (!walkable(a.first, a.second) || !walkable(b.first, b.second))
            return false;
        const auto index = [this](int x, int y) {
            return std::size_t(y) * m_image.width + std::size_t(x);
        };
        std::vector<bool> seen(std::size_t(m_image.width) * m_image.height, false);
        std::vector<std::pair<int, int>> todo{a};
        seen[index(a.first, a.second)] = true;
        while (!todo.empty()) {
            const auto [x, y] = todo.back();
            todo.pop_back();
            if (x == b.first && y == b.second)
                return true;
            for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                if (walkable(x + dx, y + dy) && !seen[index(x + dx, y + dy)]) {
                    seen[index(x + dx, y + dy)] = true;
                    todo.push_back({x + dx, y + dy});
                }
            }
        }
        return false;
    }

    /// The number of pixels that are neither gray nor pure opaque red.
    std::size_t stray_pixels() const {
        std::size_t count = 0;
        for (std::size_t i = 0; i < m_image.pixels.size(); i += 4) {
            const unsigned char* p = &m_image.pixels[i];
            const bool gray = p[0] == p[1] && p[1] == p[2];
            const bool red = p[0] == 255 && p[1] == 0 && p[2] == 0;
            if (p[3] != 255 || (!gray && !red))
                ++count;
        }
        return count;
    }

  private:
    Orvane::Packer::Image m_image;
};

/// A point of an item: absolute, or relative to the item's coordinates when written with a sign.
std::pair<int, int> point_of(const Node& pair, const Node& item) {
    int x = pair[0].integer(), y = pair[1].integer();
    if (pair[0].is_relative()) {
        x += item["coordinates"][0].integer();
        y += item["coordinates"][1].integer();
    }
    return {x, y};
}

TEST_F(Sample_rooms, ViewPointsAndEntryPlacesLieOnOneFloor) {
    // a view point off the floor, or on a patch of floor cut off from the rest, leaves the player
    // unable to reach the item; an entry place off it strands the character
    for (const std::string& id : Room_walk::rooms()) {
        SCOPED_TRACE("room " + id);
        const std::unique_ptr<Yaml> room = read(source + "/data/rooms/" + id + ".yaml");
        if (!room->has("ground_map"))
            continue;
        const std::vector<std::string> names = (*room)["ground_map"].string_array();
        ASSERT_EQ(names.size(), 2u) << "both rooms give a map for Mara and one for Pip";
        const Floor first(names[0]), second(names[1]);
        EXPECT_EQ(first.stray_pixels(), 0u) << names[0];
        EXPECT_EQ(second.stray_pixels(), 0u) << names[1];

        std::vector<std::unique_ptr<Yaml>> files;
        using Place = std::pair<std::pair<int, int>, std::string>;
        std::vector<Place> on_first, on_second;
        const auto items = [&](const char* kind, auto&& check) {
            if (!room->has(kind))
                return;
            for (std::size_t i = 0; i < (*room)[kind].size(); ++i) {
                const Node& entry = (*room)[kind][i];
                if (entry.children.empty()) {
                    files.push_back(read(source + "/data/" + kind + "/" + entry.value + ".yaml"));
                    check(files.back()->root(), entry.value);
                } else {
                    check(entry, entry["id"].string());
                }
            }
        };
        items("objects", [&](const Node& object, const std::string& name) {
            // items that only ever show in the inventory are never walked to
            bool shown = false;
            for (std::size_t s = 0; s < object["states"].size(); ++s) {
                const Node& state = object["states"][s];
                if (state["id"].string().rfind("inventory", 0) != 0 &&
                    (state.has("skin") || state.has("mask") || state.has("size")))
                    shown = true;
            }
            if (!shown)
                return;
            const auto [x, y] = point_of(object["view"], object);
            EXPECT_TRUE(first.walkable(x, y)) << name << ": view (" << x << ", " << y << ")";
            on_first.push_back({{x, y}, name + " view"});
        });
        items("characters", [&](const Node& character, const std::string& name) {
            if (character.has("view")) {
                const auto [x, y] = point_of(character["view"], character);
                EXPECT_TRUE(first.walkable(x, y)) << name << ": view (" << x << ", " << y << ")";
                on_first.push_back({{x, y}, name + " view"});
            }
        });
        items("actions", [&](const Node& action, const std::string& name) {
            if (!action.has("effect"))
                return;
            const Node& steps = action["effect"];
            for (std::size_t i = 0; i < steps.size(); ++i) {
                if (steps[i].nstring() != "move")
                    continue;
                const std::vector<std::string> args = steps[i]["move"].string_array();
                const int x = std::stoi(args.at(1)), y = std::stoi(args.at(2));
                // Pip walks on the second map, Mara on the first
                const Floor& floor = args[0] == "pip" ? second : first;
                if (args[0] == "mara" || args[0] == "pip") {
                    EXPECT_TRUE(floor.walkable(x, y))
                        << name << ": " << args[0] << " placed at (" << x << ", " << y << ")";
                    (args[0] == "pip" ? on_second : on_first)
                        .push_back({{x, y}, name + ": " + args[0]});
                }
            }
        });
        // every place is reached from the others: the walks between them stay on the floor
        for (const auto* places : {&on_first, &on_second}) {
            const Floor& floor = places == &on_first ? first : second;
            for (const Place& place : *places)
                EXPECT_TRUE(floor.connected(places->front().first, place.first))
                    << place.second << " cannot be reached from " << places->front().second;
        }
    }
}

} // namespace
