// The sample game's committed data: every text that init.yaml shows the player has a line in
// both languages of locale.yaml, and every file it names is made by the generator.
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

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

} // namespace
