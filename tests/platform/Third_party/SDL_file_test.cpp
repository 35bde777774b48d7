#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Third_party/SDL_file.h>

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

// The names in a folder, sorted.
std::vector<std::string> files_in(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SDL_file, MissingFileForReadingGivesAnEmptyAsset) {
    const SDL_file::Asset asset = SDL_file::open("/nonexistent/folder/file.yaml", false);
    EXPECT_FALSE(asset);
    EXPECT_EQ(asset.size, 0u);
}

// A directory opens for reading on Linux and reports a size of 2^63 - 1; a FIFO blocks the
// open until a writer comes. Neither is a file the engine can read.
TEST(SDL_file, OnlyRegularFilesOpenForReading) {
    const Temp_pref_folder home;
    const std::string folder = home.pref_path() + "settings.yaml";
    std::filesystem::create_directory(folder);
    const std::string fifo = home.pref_path() + "save_1.yaml";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {folder, fifo}) {
        SCOPED_TRACE(path);
        const SDL_file::Asset asset = SDL_file::open(path, false);
        EXPECT_FALSE(asset);
        EXPECT_EQ(asset.size, 0u);
    }
    home.write("config.yaml", "a: 1\n");
    SDL_file::Asset asset = SDL_file::open(home.pref_path() + "config.yaml", false);
    ASSERT_TRUE(asset);
    EXPECT_EQ(asset.size, 5u);
    char out[8] = {};
    EXPECT_EQ(SDL_file::read(asset, out, sizeof out), 5u);
    EXPECT_EQ(std::string(out), "a: 1\n");
    SDL_file::close(asset);
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
    EXPECT_EQ(files_in(home.pref_path()), std::vector<std::string>{"config.yaml"})
        << "the temporary file is gone";
}

// Two processes write one file at once, each a whole file of its own letter in many writes:
// the file ends as one writer's whole file, never a mix, and neither reports a failure.
TEST(SDL_file, TwoWritersAtOnceLeaveOneWritersWholeFile) {
    const Temp_pref_folder home;
    const std::string path = home.pref_path() + "save_auto.yaml";
    const std::string line = std::string(1023, 'x') + "\n";
    constexpr int lines = 512; // 512 KiB each
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        int go[2];
        ASSERT_EQ(pipe(go), 0);
        pid_t writers[2];
        for (int w = 0; w < 2; ++w) {
            writers[w] = fork();
            ASSERT_GE(writers[w], 0);
            if (writers[w] == 0) {
                close(go[1]);
                char start;
                if (read(go[0], &start, 1) != 0)
                    _exit(2);
                std::string mine = line;
                std::fill(mine.begin(), mine.end() - 1, w == 0 ? 'a' : 'b');
                SDL_file::Asset asset = SDL_file::open(path, true);
                for (int i = 0; i < lines; ++i)
                    if (SDL_file::write(asset, mine.c_str()) != mine.size())
                        _exit(3);
                SDL_file::close(asset);
                _exit(0);
            }
        }
        close(go[0]);
        close(go[1]); // both start now
        for (const pid_t writer : writers) {
            int status = 0;
            ASSERT_EQ(waitpid(writer, &status, 0), writer);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                << "a writer failed with status " << status;
        }
        const std::string text = home.read("save_auto.yaml");
        ASSERT_EQ(text.size(), line.size() * lines);
        const char letter = text[0];
        ASSERT_TRUE(letter == 'a' || letter == 'b') << int(letter);
        std::string whole;
        for (int i = 0; i < lines; ++i)
            whole += std::string(line.size() - 1, letter) + "\n";
        EXPECT_TRUE(text == whole) << "the file mixes both writers";
        EXPECT_EQ(files_in(home.pref_path()), std::vector<std::string>{"save_auto.yaml"});
    }
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
    EXPECT_EQ(files_in(home.pref_path()), std::vector<std::string>{"config.yaml"});
}

} // namespace
