// docs/authoring.md against the readers: every key a reader asks for while the sample game's
// init file, languages and both rooms load is in the reference under its file kind, and every
// key of the reference is one a reader asks for. These are the keys the unknown-key warning
// takes as known, so the reference and the warning cannot drift apart.

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Third_party/Yaml.h>

#include "support/Fixed_step_engine.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;
using Third_party::Yaml;

// kind -> keys, each key written as in the reference: nested keys joined by '.', list
// indices left out, a verb as <verb> and a language id as <locale>.
std::map<std::string, std::set<std::string>>& asked() {
    static std::map<std::string, std::set<std::string>> keys;
    return keys;
}

bool is_index(const std::string& segment) {
    return !segment.empty() && segment.find_first_not_of("0123456789") == std::string::npos;
}

bool is_locale(const std::string& segment) {
    return std::regex_match(segment, std::regex("[a-z][a-z]_[A-Z][A-Z]"));
}

bool is_kind(const std::string& segment) {
    for (const char* kind : System::File_IO::walk_order)
        if (segment == kind)
            return true;
    return false;
}

bool is_verb(const std::string& segment) {
    for (const auto& verb : Config::possible_actions)
        if (segment == verb)
            return true;
    return false;
}

void record(const Yaml::Node& mapping, const std::string& key) {
    if (!mapping.file)
        return;
    const std::string& file = *mapping.file;
    std::vector<std::string> segments;
    std::stringstream path(mapping.path.empty() ? key : mapping.path + "/" + key);
    for (std::string segment; std::getline(path, segment, '/');)
        segments.push_back(segment);

    std::string kind;
    std::size_t first = 0;
    if (file == "data/init.yaml" || file.starts_with("data/rooms/")) {
        // items written inline, in a list under their kind
        if (segments.size() > 2 && is_kind(segments[0]) && is_index(segments[1])) {
            kind = segments[0];
            first = 2;
        } else {
            kind = file == "data/init.yaml" ? "init" : "rooms";
        }
    } else if (file == "data/locale.yaml") {
        kind = "locale";
    } else if (file.starts_with("data/")) {
        kind = file.substr(5, file.find('/', 5) - 5);
    } else {
        return; // the player's files
    }
    std::string name;
    for (std::size_t i = first; i < segments.size(); ++i) {
        std::string segment = segments[i];
        if (is_index(segment))
            continue;
        if (is_locale(segment))
            segment = "<locale>";
        else if (is_verb(segment) &&
                 ((i == first && (kind == "objects" || kind == "characters")) ||
                  (kind == "init" && i > 0 && segments[i - 1] == "default")))
            segment = "<verb>";
        name += (name.empty() ? "" : ".") + segment;
    }
    asked()[kind].insert(name);
}

// kind -> keys of the reference: under each "## ... (`kind`)" heading, the keys in backticks
// in the first column of the table rows.
std::map<std::string, std::set<std::string>> reference_keys(const std::string& file) {
    std::map<std::string, std::set<std::string>> keys;
    std::ifstream in(file);
    const std::regex heading("^## .*\\(`([a-z_]+)`\\)\\s*$");
    const std::regex row("^\\| `[^|]*` \\|.*");
    std::string kind;
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_match(line, m, heading))
            kind = m[1];
        else if (line.starts_with("## "))
            kind.clear();
        else if (!kind.empty() && std::regex_match(line, m, row)) {
            // every key in backticks in the first column
            const std::string cell = line.substr(1, line.find('|', 1) - 1);
            const std::regex key("`([^`]+)`");
            // a key the sample game never uses cannot be seen read here; the row says so
            const bool sampled = line.find("not in the sample game") == std::string::npos;
            for (auto it = std::sregex_iterator(cell.begin(), cell.end(), key);
                 it != std::sregex_iterator(); ++it)
                keys[sampled ? kind : kind + " (not in the sample game)"].insert((*it)[1]);
        }
    }
    return keys;
}

std::string listed(const std::set<std::string>& keys) {
    std::string out;
    for (const std::string& key : keys)
        out += "  " + key + "\n";
    return out;
}

TEST(AuthoringReferenceTest, EveryKeyTheReadersAskForIsDocumentedAndNoOther) {
    const Orvane::Test::Temp_pref_folder pref;
    ASSERT_FALSE(Orvane::Test::sample_data().empty()) << "run through ctest";
    // the test data lie in tests/data of the source tree
    const char* test_data = std::getenv("ORVANE_TEST_DATA");
    ASSERT_NE(test_data, nullptr) << "run through ctest";

    asked().clear();
    Yaml::Node::forget_reported_keys();
    Yaml::Node::set_key_observer(record);
    testing::internal::CaptureStderr();
    {
        Orvane::Test::Fixed_step_engine engine;
        ASSERT_TRUE(engine.start_up(Orvane::Test::sample_data()));
        Content& content = engine.content();
        for (int frame = 0; frame < 3; ++frame)
            engine.run();
        content.set<Component::Simple<std::string>>("Game", "new_room", "tower");
        content.set<Component::Simple<std::string>>("Game", "new_room_origin", "from_quay");
        for (int frame = 0; frame < 3; ++frame)
            engine.run();
        EXPECT_EQ(content.value<Component::Simple<std::string>>("Game", "current_room", ""),
                  "tower");
        engine.tear_down();
    }
    Yaml::Node::set_key_observer(nullptr);
    // the sample game uses no key that its readers do not know, and no unknown step
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_EQ(warnings.find("unknown key"), std::string::npos) << warnings;
    EXPECT_EQ(warnings.find("in script"), std::string::npos) << warnings;

    const auto documented = reference_keys(std::string(test_data) + "/../../docs/authoring.md");
    ASSERT_FALSE(documented.empty()) << "no file kind found in docs/authoring.md";
    std::set<std::string> kinds;
    for (const auto& [kind, keys] : asked())
        kinds.insert(kind);
    for (const auto& [kind, keys] : documented)
        if (!kind.ends_with(" (not in the sample game)"))
            kinds.insert(kind);
    for (const std::string& kind : kinds) {
        SCOPED_TRACE(kind);
        const std::set<std::string> read = asked()[kind];
        const std::set<std::string> written =
            documented.count(kind) ? documented.at(kind) : std::set<std::string>{};
        std::set<std::string> undocumented;
        std::set<std::string> unread;
        const std::string unsampled = kind + " (not in the sample game)";
        for (const std::string& key : read)
            if (!written.count(key))
                undocumented.insert(key);
        // a row marked as not in the sample game must be so
        if (documented.count(unsampled)) {
            for (const std::string& key : documented.at(unsampled))
                EXPECT_FALSE(read.count(key)) << key << " is in the sample game";
        }
        for (const std::string& key : written)
            if (!read.count(key))
                unread.insert(key);
        EXPECT_TRUE(undocumented.empty())
            << "read by the engine but missing from docs/authoring.md:\n" << listed(undocumented);
        EXPECT_TRUE(unread.empty())
            << "in docs/authoring.md but read by no reader:\n" << listed(unread);
    }
}

} // namespace
