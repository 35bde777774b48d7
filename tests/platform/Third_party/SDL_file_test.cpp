#include <csignal>
#include <filesystem>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Third_party/SDL_file.h>
#include <Orvane/Third_party/Steam.h>

#include "support/Temp_pref_folder.h"

namespace {

using Orvane::Packaged_asset_manager;
using Orvane::Test::Temp_pref_folder;
using Orvane::Third_party::SDL_file;

// The file-size limit makes the writes fail as a full disk would.
void write_past_the_file_size_limit(const std::string& name) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = 4096; // room for the fatal message on stderr
    setrlimit(RLIMIT_FSIZE, &limit);
    auto asset = Packaged_asset_manager::open_pref(name, true);
    asset.write(std::string(100000, 'x'));
    asset.close();
}

TEST(SDL_file, MissingFileForReadingGivesAnEmptyAsset) {
    const SDL_file::Asset asset = SDL_file::open("/nonexistent/folder/file.yaml", false);
    EXPECT_FALSE(asset);
    EXPECT_EQ(asset.size, 0u);
}

TEST(SDL_file, MemoryStreamReadsSeeksAndTells) {
    const std::string text = "0123456789";
    SDL_file::Asset asset = SDL_file::open(text.data(), text.size());
    ASSERT_TRUE(asset);
    EXPECT_EQ(asset.size, 10u);
    EXPECT_EQ(SDL_file::seek(asset, 7), 7);
    char out[8] = {};
    EXPECT_EQ(SDL_file::read(asset, out, sizeof out), 3u);
    EXPECT_EQ(std::string(out, 3), "789");
    EXPECT_EQ(SDL_file::tell(asset), 10);
    EXPECT_EQ(SDL_file::read(asset, out, sizeof out), 0u);
    SDL_file::close(asset);
}

TEST(SDL_file, ZeroBytesGiveAValidEmptyStream) {
    SDL_file::Asset asset = SDL_file::open(nullptr, 0);
    ASSERT_TRUE(asset);
    EXPECT_EQ(asset.size, 0u);
    char out[4];
    EXPECT_EQ(SDL_file::read(asset, out, sizeof out), 0u);
    EXPECT_EQ(SDL_file::seek(asset, 0), 0);
    EXPECT_EQ(SDL_file::tell(asset), 0);
    SDL_file::close(asset);
}

TEST(SDL_file, PrefPathIsTheGamesFolderInsideTheUsersDataFolder) {
    const Temp_pref_folder home;
    const std::string path = SDL_file::pref_path();
    EXPECT_EQ(path, home.root() + "/quenlo/velmoor-demo/");
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_TRUE(SDL_file::base_path().ends_with("/"));
}

TEST(SDL_file, WrittenFileReplacesThePreviousOneOnClose) {
    const Temp_pref_folder home;
    home.write("config.yaml", "old: 1\n");
    SDL_file::Asset asset = SDL_file::open(home.pref_path() + "config.yaml", true);
    ASSERT_TRUE(asset);
    EXPECT_EQ(SDL_file::write(asset, "new: 2\n"), 7u);
    EXPECT_EQ(home.read("config.yaml"), "old: 1\n") << "replaced before the close";
    SDL_file::close(asset);
    EXPECT_EQ(home.read("config.yaml"), "new: 2\n");
    EXPECT_FALSE(std::filesystem::exists(home.pref_path() + "config.yaml.tmp"));
}

TEST(SDL_file, WriteStopsAtTheFirstNul) {
    const Temp_pref_folder home;
    SDL_file::Asset asset = SDL_file::open(home.pref_path() + "save_1.yaml", true);
    const char text[] = "ab\0cd";
    EXPECT_EQ(SDL_file::write(asset, text), 2u);
    SDL_file::close(asset);
    EXPECT_EQ(home.read("save_1.yaml"), "ab");
}

TEST(SDL_fileDeathTest, WritingInAMissingFolderIsFatal) {
    EXPECT_EXIT(SDL_file::open("/nonexistent/folder/config.yaml", true),
                ::testing::ExitedWithCode(1), "Can't open /nonexistent/folder/config.yaml, .+");
}

TEST(SDL_fileDeathTest, ACrashBeforeTheCloseKeepsThePreviousFile) {
    const Temp_pref_folder home;
    home.write("save_auto.yaml", "room: hall\n");
    EXPECT_EXIT(
        {
            auto asset = Packaged_asset_manager::open_pref("save_auto.yaml", true);
            asset.write("room: cel");
            _exit(3);
        },
        ::testing::ExitedWithCode(3), "");
    EXPECT_EQ(home.read("save_auto.yaml"), "room: hall\n");
}

TEST(SDL_fileDeathTest, AFailedWriteIsFatalAndKeepsThePreviousFile) {
    const Temp_pref_folder home;
    home.write("config.yaml", "old: 1\n");
    EXPECT_EXIT(write_past_the_file_size_limit("config.yaml"), ::testing::ExitedWithCode(1),
                "Can't close file, .*config.yaml is left as it was");
    EXPECT_EQ(home.read("config.yaml"), "old: 1\n");
    EXPECT_FALSE(std::filesystem::exists(home.pref_path() + "config.yaml.tmp"));
}

TEST(Steam, HooksDoNothingAndAchievementsAreNotTaken) {
    Orvane::Third_party::Steam::init();
    Orvane::Third_party::Steam::run();
    for (const char* name : {"", "first_room", "finished"})
        EXPECT_FALSE(Orvane::Third_party::Steam::set_achievement(name)) << name;
    EXPECT_EQ(Orvane::Third_party::Steam::game_language(), "");
    Orvane::Third_party::Steam::shutdown();
}

} // namespace
