#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Third_party/SDL_file.h>
#include <Orvane/Third_party/Yaml.h>

namespace {

using Orvane::Third_party::SDL_file;
using Orvane::Third_party::Yaml;

TEST(YamlReaderTest, MissingPerUserFileIsNotParsed) {
    std::remove((SDL_file::pref_path() + "writer_missing.yaml").c_str());
    Yaml reader("writer_missing.yaml", true);
    EXPECT_FALSE(reader.parse());
}

TEST(YamlReaderTest, DirectoryInPlaceOfAPerUserFileIsNotParsed) {
    const std::string path = SDL_file::pref_path() + "writer_folder.yaml";
    std::filesystem::remove_all(path);
    std::filesystem::create_directory(path);
    Yaml reader("writer_folder.yaml", true);
    EXPECT_FALSE(reader.parse());
    std::filesystem::remove(path);
}

// The player's own files never stop the game: what libyaml refuses, anchors and aliases give
// false and one warning naming the file and the line.
TEST(YamlReaderTest, BrokenPerUserFileWarnsAndAnswersFalse) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"a: 1\nb: [1, 2\n", "Failed parsing Yaml file (user_broken.yaml:"},
        {"a: 1\n  b: 2\nc: 3\n", "Failed parsing Yaml file (user_broken.yaml:2)"},
        {"a: &x 1\nb: 2\n", "Failed parsing Yaml file (user_broken.yaml:1): anchors"},
        {"a: 1\nb: *x\n", "Failed parsing Yaml file (user_broken.yaml:2): anchors"},
        {"x: 1\n? {a: b}\n: c\n", "Failed parsing Yaml file (user_broken.yaml:2): only scalars"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        {
            std::ofstream out(SDL_file::pref_path() + "user_broken.yaml", std::ios::binary);
            out << c.text;
        }
        Yaml reader("user_broken.yaml", true);
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(reader.parse());
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(err.rfind("Warning: ", 0), 0u) << err;
        EXPECT_NE(err.find(c.message), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_FALSE(reader.has("a"));
    }
}

} // namespace
