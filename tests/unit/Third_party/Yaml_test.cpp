#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Assets/Packaged_asset.h>
#include <Orvane/Third_party/Yaml.h>

namespace {

using Orvane::Packaged_asset;
using Orvane::Third_party::Yaml;

// A reader over a text held in memory; the text must outlive the reader.
struct Parsed {
    std::string text;
    std::unique_ptr<Yaml> yaml;
    bool ok = false;

    explicit Parsed(std::string t, std::string name = "test.yaml") : text(std::move(t)) {
        yaml = std::make_unique<Yaml>(name, Packaged_asset(text.data(), text.size()));
        ok = yaml->parse();
    }
    const Yaml::Node& root() const { return yaml->root(); }
};

TEST(YamlReaderTest, MappingsSequencesAndScalarsMakeTheTree) {
    Parsed p("name: hall\n"
             "size: [1920, 1080]\n"
             "objects:\n"
             "  - door\n"
             "  - { id: key, z: 12 }\n"
             "music:\n"
             "  volume: 0.5\n");
    ASSERT_TRUE(p.ok);
    const Yaml& y = *p.yaml;
    EXPECT_EQ(y["name"].string(), "hall");
    EXPECT_TRUE(y.has("music"));
    EXPECT_FALSE(y.has("musics"));
    ASSERT_EQ(y["size"].size(), 2u);
    EXPECT_TRUE(y["size"].is_sequence);
    EXPECT_EQ(y["size"][0].integer(), 1920);
    EXPECT_EQ(y["size"][std::size_t(1)].integer(), 1080);
    EXPECT_EQ(y["objects"][0].string(), "door");
    EXPECT_EQ(y["objects"][1]["id"].string(), "key");
    EXPECT_EQ(y["objects"][1]["z"].integer(), 12);
    EXPECT_DOUBLE_EQ(y["music"]["volume"].floating(), 0.5);
    EXPECT_EQ(y.root().size(), 0u);
}

TEST(YamlReaderTest, ChildrenIterateInKeyOrder) {
    Parsed p("c: 3\na: 1\nb: 2\n");
    ASSERT_TRUE(p.ok);
    std::string keys;
    for (const auto& [key, node] : p.root())
        keys += key + "=" + node->string() + " ";
    EXPECT_EQ(keys, "a=1 b=2 c=3 ");
}

TEST(YamlReaderTest, FirstOfDuplicateKeysWins) {
    Parsed p("a: first\na: second\nm: {x: 1}\nm: {x: 2}\ns: [1]\ns: [2, 3]\n");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.root()["a"].string(), "first");
    EXPECT_EQ(p.root()["m"]["x"].integer(), 1);
    EXPECT_EQ(p.root()["s"].size(), 1u);
}

TEST(YamlReaderTest, KeyWithoutValueGivesEmptyText) {
    Parsed p("empty:\nnext: 1\n");
    ASSERT_TRUE(p.ok);
    ASSERT_TRUE(p.root().has("empty"));
    EXPECT_EQ(p.root()["empty"].string(), "");
    EXPECT_EQ(p.root()["next"].integer(), 1);
}

TEST(YamlReaderTest, EmptyScalarKeyLeavesThePendingKeyEmpty) {
    // The empty key is skipped, so the following scalar is taken as the key.
    Parsed p("{ \"\": a, b: c }");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.root()["a"].string(), "b");
    EXPECT_FALSE(p.root().has("c"));
}

TEST(YamlReaderTest, TopLevelSequenceOfMappingsKeepsItsWholeTree) {
    Parsed p("- a: 1\n- b: 2\n- c: 3\n");
    EXPECT_FALSE(p.ok) << "the top level is not a mapping";
    ASSERT_EQ(p.root().size(), 3u);
    EXPECT_EQ(p.root()[0]["a"].integer(), 1);
    EXPECT_EQ((*p.yaml)[2]["c"].integer(), 3);
}

TEST(YamlReaderTest, FilesWithoutATopLevelMappingAreRefused) {
    const std::vector<std::string> texts = {
        "", "   \n", "# only a comment\n", "just a scalar\n", "[1, 2]\n", "---\n...\n"};
    for (const auto& text : texts) {
        SCOPED_TRACE("text: '" + text + "'");
        Parsed p(text);
        EXPECT_FALSE(p.ok);
        EXPECT_FALSE(p.yaml->has("anything"));
    }
}

TEST(YamlReaderTest, StreamThatDidNotOpenIsFalseWithoutMessage) {
    Yaml y("missing.yaml", Packaged_asset());
    EXPECT_FALSE(y.parse());
    EXPECT_FALSE(y.has("a"));
}

TEST(YamlReaderTest, NestedNodesKnowTheirFile) {
    Parsed p("a: {b: [x]}\n", "data/rooms/hall.yaml");
    ASSERT_TRUE(p.ok);
    ASSERT_TRUE(p.root()["a"]["b"][0].file);
    EXPECT_EQ(*p.root()["a"]["b"][0].file, "data/rooms/hall.yaml");
}

// Nesting of `depth` flow sequences under key "a", in one line or one bracket per line.
std::string nested(int depth, bool one_per_line) {
    std::string text = "a: ";
    for (int i = 0; i < depth; ++i)
        text += one_per_line ? "[\n" : "[";
    for (int i = 0; i < depth; ++i)
        text += "]";
    return text + "\n";
}

TEST(YamlReaderTest, NestingOfSixtyFourLevelsIsRead) {
    for (const bool one_per_line : {false, true}) {
        SCOPED_TRACE(one_per_line ? "one bracket per line" : "one line");
        // the root mapping is the first level
        Parsed p(nested(63, one_per_line));
        ASSERT_TRUE(p.ok);
        const Yaml::Node* node = &p.root()["a"];
        int levels = 2;
        while (node->size() == 1) {
            node = &(*node)[0];
            ++levels;
        }
        EXPECT_EQ(levels, 64);
    }
}

TEST(YamlReaderTest, DeepTreeIsReleasedWithoutRecursion) {
    // Far deeper than the stack could take if each level released the next recursively.
    auto root = std::make_shared<Yaml::Node>();
    Yaml::Node* last = root.get();
    for (int i = 0; i < 2000000; ++i) {
        auto child = std::make_shared<Yaml::Node>();
        Yaml::Node* next = child.get();
        if (i % 2 == 0)
            last->items.push_back(std::move(child));
        else
            last->children.emplace("k", std::move(child));
        last = next;
    }
    root.reset();
    SUCCEED();
}

TEST(YamlReaderTest, ScalarConversions) {
    Parsed p("i: 42abc\nneg: -7\nnone: abc\nd: 2.5e1\nt: true\nT: True\none: 1\n"
             "rel: +30\nrelneg: -4\nabs: 30\n");
    ASSERT_TRUE(p.ok);
    const Yaml& y = *p.yaml;
    EXPECT_EQ(y["i"].integer(), 42);
    EXPECT_EQ(y["neg"].integer(), -7);
    EXPECT_EQ(y["none"].integer(), 0);
    EXPECT_DOUBLE_EQ(y["d"].floating(), 25.0);
    EXPECT_DOUBLE_EQ(y["none"].floating(), 0.0);
    EXPECT_TRUE(y["t"].boolean());
    EXPECT_FALSE(y["T"].boolean());
    EXPECT_FALSE(y["one"].boolean());
    EXPECT_TRUE(y["rel"].is_relative());
    EXPECT_TRUE(y["relneg"].is_relative());
    EXPECT_FALSE(y["abs"].is_relative());
    EXPECT_FALSE(y["none"].is_relative());
}

TEST(YamlReaderTest, PathsAndListsAndSingleKeyEntries) {
    Parsed p("image: hall\nlist: [a, b, c]\nentries:\n  - door: {z: 1}\n");
    ASSERT_TRUE(p.ok);
    const Yaml& y = *p.yaml;
    EXPECT_EQ(y["image"].string("images", "png"), "images/hall.png");
    EXPECT_EQ(y["image"].string("images", "backgrounds", "png"), "images/backgrounds/hall.png");
    EXPECT_EQ(y["list"].string_array(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(y["image"].string_array(), std::vector<std::string>{});
    EXPECT_EQ(y["entries"][0].nstring(), "door");
}

TEST(YamlReaderTest, TimeIsMinutesSecondsThousandths) {
    struct Case {
        const char* text;
        double seconds;
    };
    const Case cases[] = {{"2:05.250", 125.25}, {"1:02.5", 62.005}, {"0:00.000", 0.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Parsed p(std::string("t: \"") + c.text + "\"\n");
        ASSERT_TRUE(p.ok);
        EXPECT_DOUBLE_EQ(p.root()["t"].time(), c.seconds);
    }
}

TEST(YamlReaderTest, PrintWalksTheTreeSilently) {
    const int depth = 63; // as deep as a file may nest
    Parsed p("a: {b: [x, {c: 1}]}\ndeep: " + std::string(depth, '[') + std::string(depth, ']') +
             "\n");
    ASSERT_TRUE(p.ok);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    p.root().print("");
    p.root()["a"].print("a");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(YamlReaderTest, CopiedNodeSharesItsChildren) {
    Parsed p("a: {b: 1}\n");
    ASSERT_TRUE(p.ok);
    Yaml::Node copy = p.root();
    EXPECT_EQ(copy.children.at("a").get(), p.root().children.at("a").get());
    p.yaml.reset();
    EXPECT_EQ(copy["a"]["b"].integer(), 1);
}

TEST(YamlReaderDeathTest, MissingKeyNamesTheKeyPathAndFile) {
    Parsed p("a: {b: 1}\nl: [{x: 1}, {y: 2}]\n", "data/init.yaml");
    ASSERT_TRUE(p.ok);
    EXPECT_EXIT(p.root()["a"]["c"], ::testing::ExitedWithCode(1),
                "Value c not found in Yaml input \\(a, data/init\\.yaml:1\\)");
    EXPECT_EXIT(p.root()["l"][1]["x"], ::testing::ExitedWithCode(1),
                "Value x not found in Yaml input \\(l/1, data/init\\.yaml:2\\)");
    EXPECT_EXIT(p.root()["a"]["b"]["z"], ::testing::ExitedWithCode(1),
                "Value z not found in Yaml input 1 \\(a/b, data/init\\.yaml:1\\)");
    EXPECT_EXIT((*p.yaml)["zz"], ::testing::ExitedWithCode(1),
                "Value zz not found in Yaml input \\(data/init\\.yaml:1\\)");
}

TEST(YamlReaderDeathTest, ItemPastTheEndIsFatalNamingTheListAndFile) {
    Parsed p("cursor: [a, b]\nmap: {x: 1}\ndeep: [[a], {l: [1]}]\n", "data/init.yaml");
    ASSERT_TRUE(p.ok);
    const auto& list = p.root()["cursor"];
    EXPECT_EXIT(list[3], ::testing::ExitedWithCode(1),
                "Item 3 of cursor out of range in Yaml input \\(size 2, data/init\\.yaml:1\\)");
    EXPECT_EXIT(list[std::size_t(7)], ::testing::ExitedWithCode(1), "Item 7 of cursor out of range");
    EXPECT_EXIT(list[-1], ::testing::ExitedWithCode(1), "Item -1 of cursor out of range");
    EXPECT_EXIT(p.root()["map"][0], ::testing::ExitedWithCode(1),
                "Item 0 of map out of range in Yaml input \\(size 0");
    EXPECT_EXIT(p.root()["deep"][0][1], ::testing::ExitedWithCode(1),
                "Item 1 of deep/0 out of range in Yaml input \\(size 1");
    EXPECT_EXIT(p.root()["deep"][1]["l"][1], ::testing::ExitedWithCode(1),
                "Item 1 of deep/1/l out of range in Yaml input \\(size 1");
    EXPECT_EXIT(p.root()[0], ::testing::ExitedWithCode(1),
                "Item 0 out of range in Yaml input \\(size 0, data/init\\.yaml:1\\)");
}

TEST(YamlReaderDeathTest, NstringNeedsExactlyOneKey) {
    Parsed p("two: {a: 1, b: 2}\nnone: x\n");
    ASSERT_TRUE(p.ok);
    EXPECT_EXIT(p.root()["two"].nstring(), ::testing::ExitedWithCode(1),
                "Checking for nstring in non-singular input");
    EXPECT_EXIT(p.root()["none"].nstring(), ::testing::ExitedWithCode(1),
                "Checking for nstring in non-singular input");
}

TEST(YamlReaderDeathTest, TimeNeedsColonAndDot) {
    Parsed p("a: \"205.250\"\nb: \"2:05\"\n");
    ASSERT_TRUE(p.ok);
    EXPECT_EXIT(p.root()["a"].time(), ::testing::ExitedWithCode(1),
                "Time string should have ':' character");
    EXPECT_EXIT(p.root()["b"].time(), ::testing::ExitedWithCode(1),
                "Time string should have '.' character");
}

TEST(YamlReaderDeathTest, RootOfAnEmptyFileIsFatal) {
    Parsed p("", "config.yaml");
    EXPECT_EXIT(p.root(), ::testing::ExitedWithCode(1), "No Yaml document in config\\.yaml");
}

TEST(YamlReaderDeathTest, NestingPastSixtyFourLevelsStopsWithFileAndLine) {
    struct Case {
        std::string what;
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"one level too many", nested(64, false),
         "Failed parsing Yaml file \\(deep\\.yaml:1\\): nesting deeper than 64 levels"},
        {"one bracket per line", nested(64, true),
         "Failed parsing Yaml file \\(deep\\.yaml:64\\): nesting deeper than 64 levels"},
        // libyaml alone takes seconds over this, growing with the square of the depth
        {"100 KB of [", std::string(100000, '['),
         "Failed parsing Yaml file \\(deep\\.yaml:1\\): nesting deeper than 64 levels"},
        {"block mappings", [] {
             std::string text;
             for (int i = 0; i < 70; ++i)
                 text += std::string(static_cast<std::size_t>(i), ' ') + "k:\n";
             return text;
         }(),
         "Failed parsing Yaml file \\(deep\\.yaml:65\\): nesting deeper than 64 levels"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EXIT(Parsed(c.text, "deep.yaml"), ::testing::ExitedWithCode(1), c.message);
    }
}

TEST(YamlReaderDeathTest, MalformedFilesNameFileAndLine) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"a: 1\nb: [1, 2\n", "Failed parsing Yaml file \\(bad\\.yaml:[0-9]+\\)"},
        {"a: 1\n  b: 2\nc: 3\n", "Failed parsing Yaml file \\(bad\\.yaml:2\\)"},
        {"a: &x 1\nb: 2\n", "Failed parsing Yaml file \\(bad\\.yaml:1\\): anchors"},
        {"a: 1\nb: *x\n", "Failed parsing Yaml file \\(bad\\.yaml:2\\): anchors"},
        {"a: 1\nb:\n  - &y {c: 1}\n", "Failed parsing Yaml file \\(bad\\.yaml:3\\): anchors"},
        {"? [a, b]\n: c\n", "Failed parsing Yaml file \\(bad\\.yaml:1\\): only scalars"},
        {"x: 1\n? {a: b}\n: c\n", "Failed parsing Yaml file \\(bad\\.yaml:2\\): only scalars"},
        {"a: \"\x01\"\n", "Failed parsing Yaml file \\(bad\\.yaml:[0-9]+\\)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EXIT(Parsed(c.text, "bad.yaml"), ::testing::ExitedWithCode(1), c.message);
    }
}

} // namespace

namespace {

using Orvane::Third_party::Yaml;

// The warnings a reader's walk leaves, as warn_unknown_keys gives them.
std::string unknown_keys_after(const std::function<void(const Yaml::Node&)>& read,
                               const std::string& text, const std::string& name) {
    Yaml::Node::forget_reported_keys();
    Parsed p(text, name);
    EXPECT_TRUE(p.ok);
    read(p.root());
    ::testing::internal::CaptureStderr();
    p.root().warn_unknown_keys();
    p.root().warn_unknown_keys(); // once per key
    return ::testing::internal::GetCapturedStderr();
}

TEST(YamlUnknownKeysTest, KeysNoReaderAskedForAreNamedWithFileLineAndTheNearestKnownKey) {
    const std::string room = "name: Quay\n"
                             "backgrond: quay\n"
                             "objcts:\n"
                             "  - rope\n"
                             "  - id: door\n"
                             "    name: Door\n"
                             "    colour: red\n"
                             "    states:\n"
                             "      - {id: open, skn: door_open}\n"
                             "extra:\n"
                             "  deep: {deeper: 1}\n"
                             "sounds: [gull]\n";
    const auto reader = [](const Yaml::Node& root) {
        root["name"].string();
        root.has("background");
        if (root.has("objects"))
            root["objects"].size();
        root.has("sounds");
    };
    EXPECT_EQ(unknown_keys_after(reader, room, "data/rooms/quay.yaml"),
              "Warning: data/rooms/quay.yaml:2: unknown key backgrond is ignored (did you mean "
              "background?)\n"
              "Warning: data/rooms/quay.yaml:3: unknown key objcts is ignored (did you mean "
              "objects?)\n"
              "Warning: data/rooms/quay.yaml:10: unknown key extra is ignored\n");

    // what an item's reader reads in nested mappings and lists counts the same way
    const auto item_reader = [](const Yaml::Node& root) {
        root["name"].string();
        root["backgrond"].string();
        root["extra"]["deep"].has("deeper");
        root["sounds"][0].string();
        const Yaml::Node& objects = root["objcts"];
        for (std::size_t i = 0; i < objects.size(); ++i) {
            if (objects[i].string().empty()) {
                objects[i]["id"].string();
                objects[i]["name"].string();
                objects[i].has("color");
                const Yaml::Node& states = objects[i]["states"];
                states[0]["id"].string();
                states[0].has("skin");
            }
        }
    };
    EXPECT_EQ(unknown_keys_after(item_reader, room, "data/rooms/quay.yaml"),
              "Warning: data/rooms/quay.yaml:7: unknown key colour is ignored (did you mean "
              "color?)\n"
              "Warning: data/rooms/quay.yaml:9: unknown key skn is ignored (did you mean "
              "skin?)\n");
}

TEST(YamlUnknownKeysTest, WalkedAndConsumedPartsAreRead) {
    const std::string text = "lines:\n  hello: Bonjour\n  bye: Au revoir\n"
                             "skipped: {a: 1, b: [{c: 2}]}\n";
    const auto reader = [](const Yaml::Node& root) {
        for (const auto& entry : root["lines"])
            (void)entry;
        root["skipped"].consume();
    };
    EXPECT_EQ(unknown_keys_after(reader, text, "data/locale.yaml"), "");
    // nothing read at all: only the top keys are named
    EXPECT_EQ(unknown_keys_after([](const Yaml::Node&) {}, text, "data/locale.yaml"),
              "Warning: data/locale.yaml:1: unknown key lines is ignored\n"
              "Warning: data/locale.yaml:4: unknown key skipped is ignored\n");
}

TEST(YamlUnknownKeysDeathTest, MissingKeyNamesTheLineAndTheKeyThatLooksLikeIt) {
    Parsed p("name: Quay\nfornt_z: 3240\nback_z: 1620\n", "data/rooms/quay.yaml");
    ASSERT_TRUE(p.ok);
    EXPECT_EXIT(p.root()["front_z"], ::testing::ExitedWithCode(1),
                "Value front_z not found in Yaml input \\(data/rooms/quay\\.yaml:1\\): fornt_z "
                "at line 2 looks like a misspelling of it");
    // a key the reader knows is no misspelling of another
    EXPECT_EXIT(
        {
            p.root()["back_z"];
            p.root()["back_y"];
        },
        ::testing::ExitedWithCode(1),
        "Value back_y not found in Yaml input \\(data/rooms/quay\\.yaml:1\\)\n");
}

TEST(YamlUnknownKeysTest, ObserverSeesEveryKeyAReaderAsksFor) {
    static std::vector<std::string> seen;
    seen.clear();
    Yaml::Node::set_key_observer([](const Yaml::Node& mapping, const std::string& key) {
        seen.push_back((mapping.path.empty() ? "" : mapping.path + "/") + key);
    });
    Parsed p("a: {b: 1}\nl: [{x: 1}]\n");
    p.root()["a"].has("c");
    p.root()["l"][0]["x"];
    Yaml::Node::set_key_observer(nullptr);
    p.root().has("d");
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "a/c", "l", "l/0/x"}));
}

} // namespace
