#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Config.h>
#include <Orvane/Third_party/SDL_file.h>
#include <Orvane/Third_party/Yaml.h>
#include <Orvane/Third_party/Yaml_writer.h>

namespace {

using Orvane::Third_party::SDL_file;
using Orvane::Third_party::Yaml;
using Orvane::Third_party::Yaml_writer;

std::string read_pref_file(const std::string& name) {
    std::ifstream in(SDL_file::pref_path() + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Writes a per-user file through the line writer and returns its bytes.
std::string write_file(const std::string& name, const std::function<void(Yaml_writer&)>& lines) {
    Yaml_writer yaml;
    lines(yaml);
    yaml.save(name);
    return read_pref_file(name);
}

enum class Labels : int { XBOX = 0, PLAYSTATION = 2 };

TEST(YamlWriterTest, EveryLineForm) {
    const std::string text = write_file("writer_forms.yaml", [](Yaml_writer& y) {
        y.write("fullscreen", true);
        y.write("name", std::string("Hall"));
        y.write("literal", "text");
        y.write("window", 1920, 1080);
        y.write("volume", 0.5);
        y.write("count", 12);
        y.write("mode", Orvane::GAMEPAD);
        y.write("rooms", std::vector<std::string>{"hall", "garden"});
        y.write("none", std::vector<std::string>{});
        y.start_section("items");
        y.write_list_item("key");
        y.write_list_item("id", std::string("door"), "x", 0.25);
        y.write_list_item("id", std::string("door"), "open", false);
        y.write_list_item("id", std::string("door"), "state", std::string("open"));
        y.write_list_item("id", std::string("door"), "z", 7);
        y.write_list_item("id", std::string("a"), "on", true, "b", std::string("c"));
        y.write_list_item("id", std::string("pad"), "labels", Labels::PLAYSTATION, "ok_down", true);
        y.write_list_item("id", std::string("hall"), "xy", {3, -4});
        y.write_list_item("id", std::string("hall"), "names", {std::string("p"), std::string("q")});
        y.write_list_item<int>("id", std::string("hall"), "empty", {});
        y.end_section();
        y.write("last", false);
    });
    EXPECT_EQ(text, "fullscreen: true\n"
                    "name: \"Hall\"\n"
                    "literal: \"text\"\n"
                    "window: [1920, 1080]\n"
                    "volume: 0.500000\n"
                    "count: 12\n"
                    "mode: 2\n"
                    "rooms:\n"
                    "  - \"hall\"\n"
                    "  - \"garden\"\n"
                    "none:\n"
                    "items:\n"
                    "  - \"key\"\n"
                    "  - { id: \"door\", x: 0.250000 }\n"
                    "  - { id: \"door\", open: false }\n"
                    "  - { id: \"door\", state: open }\n"
                    "  - { id: \"door\", z: 7 }\n"
                    "  - { id: \"a\", on: \"true\", b: \"c\" }\n"
                    "  - { id: \"pad\", labels: \"2\", ok_down: \"true\" }\n"
                    "  - { id: \"hall\", xy: [3, -4] }\n"
                    "  - { id: \"hall\", names: [p, q] }\n"
                    "  - { id: \"hall\", empty: [] }\n"
                    "last: false\n");
}

TEST(YamlWriterTest, NestedSectionsIndentAndReturnToColumnZero) {
    const std::string text = write_file("writer_nested.yaml", [](Yaml_writer& y) {
        y.start_section("a");
        y.start_section("b");
        y.write("deep", true);
        y.end_section();
        y.end_section();
        y.write("top", 1);
    });
    EXPECT_EQ(text, "a:\n  b:\n    deep: true\ntop: 1\n");
}

TEST(YamlWriterTest, EndSectionAtColumnZeroIsHarmless) {
    const std::string text = write_file("writer_underflow.yaml", [](Yaml_writer& y) {
        y.end_section();
        y.write("a", 1);
        y.start_section("s");
        y.end_section();
        y.end_section();
        y.write("b", 2);
    });
    EXPECT_EQ(text, "a: 1\ns:\nb: 2\n");
}

TEST(YamlWriterTest, QuotesAndBackslashesAreEscaped) {
    const std::string text = write_file("writer_escapes.yaml", [](Yaml_writer& y) {
        y.write("q", std::string("say \"hi\""));
        y.write("b", std::string("C:\\games\\"));
        y.write("n", std::string("two\nlines"));
        y.write("plain", std::string("colon: and 'single' quotes"));
    });
    EXPECT_EQ(text, "q: \"say \\\"hi\\\"\"\n"
                    "b: \"C:\\\\games\\\\\"\n"
                    "n: \"two\\nlines\"\n"
                    "plain: \"colon: and 'single' quotes\"\n");
}

TEST(YamlWriterTest, WrittenFileReadsBackAsWritten) {
    const std::vector<std::string> awkward = {
        "",
        "plain",
        "say \"hi\"",
        "back\\slash\\",
        "\\\"",
        "colon: value",
        "# hash",
        "- dash",
        "[bracket",
        "{brace}",
        "tab\there",
        "two\nlines\r\n",
        "bell\x07",
        "été ∑",
        "'single'",
        "trailing space ",
        // line separators and characters a reader refuses raw
        "nel\xC2\x85",
        "c1\xC2\x80\xC2\x9F",
        "ls\xE2\x80\xA8ps\xE2\x80\xA9",
        "nc\xEF\xBF\xBE\xEF\xBF\xBF",
    };
    write_file("writer_round_trip.yaml", [&](Yaml_writer& y) {
        y.write("flag", true);
        y.write("window", 1280, 720);
        y.write("volume", 0.75);
        y.write("mode", Orvane::TOUCHSCREEN);
        y.start_section("texts");
        for (std::size_t i = 0; i < awkward.size(); ++i)
            y.write("t" + std::to_string(i), awkward[i]);
        y.end_section();
        y.write("list", awkward);
        y.start_section("items");
        y.write_list_item("id", std::string("a\"b"), "value", 3);
        y.write_list_item("id", std::string("c\\d"), "on", false, "name", std::string("x\"y"));
        y.write_list_item("id", std::string("e"), "xy", {1, 2});
        y.end_section();
    });

    Yaml reader("writer_round_trip.yaml", true);
    ASSERT_TRUE(reader.parse());
    EXPECT_TRUE(reader["flag"].boolean());
    ASSERT_EQ(reader["window"].size(), 2u);
    EXPECT_EQ(reader["window"][0].integer(), 1280);
    EXPECT_EQ(reader["window"][1].integer(), 720);
    EXPECT_DOUBLE_EQ(reader["volume"].floating(), 0.75);
    EXPECT_EQ(reader["mode"].integer(), 1);
    for (std::size_t i = 0; i < awkward.size(); ++i) {
        SCOPED_TRACE("text " + std::to_string(i));
        EXPECT_EQ(reader["texts"]["t" + std::to_string(i)].string(), awkward[i]);
    }
    EXPECT_EQ(reader["list"].string_array(), awkward);
    const auto& items = reader["items"];
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0]["id"].string(), "a\"b");
    EXPECT_EQ(items[0]["value"].integer(), 3);
    EXPECT_EQ(items[1]["id"].string(), "c\\d");
    EXPECT_FALSE(items[1]["on"].boolean());
    EXPECT_EQ(items[1]["name"].string(), "x\"y");
    EXPECT_EQ(items[2]["xy"][1].integer(), 2);
}

TEST(YamlWriterTest, RewritingReplacesThePreviousFileWhole) {
    write_file("writer_replace.yaml", [](Yaml_writer& y) { y.write("version", 1); });
    // Lines written in memory leave the previous file in place until the text is saved.
    Yaml_writer unfinished;
    unfinished.write("version", 2);
    EXPECT_EQ(read_pref_file("writer_replace.yaml"), "version: 1\n");
    EXPECT_EQ(unfinished.text(), "version: 2\n");
    unfinished.save("writer_replace.yaml");
    EXPECT_EQ(read_pref_file("writer_replace.yaml"), "version: 2\n");
}

// The player's files never stop the game: a file that cannot be written is warned about, and
// the writer answers false.
TEST(YamlWriterTest, FileThatCannotBeCreatedWarnsAndAnswersFalse) {
    Yaml_writer writer;
    writer.write("a", 1);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(writer.save("no_such_folder/settings.yaml"));
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Warning: Can't write no_such_folder/settings.yaml: "), std::string::npos)
        << err;
    EXPECT_NE(err.find("No such file or directory"), std::string::npos) << err;
}

} // namespace
