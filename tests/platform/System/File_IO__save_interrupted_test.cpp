// Saves interrupted in a child process: killed in the middle of the write, or refused by the
// file-size limit. The slot's previous file must come through whole either way, and what a
// killed writer leaves behind is removed at the next start.

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <poll.h>
#include <support/Packages.h>
#include <support/Save_store.h>
#include <support/Temp_pref_folder.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>

namespace Orvane::Test {
namespace {

// Written by the child's handler of the file-size signal, so that the parent knows the child
// is stopped in the middle of its write.
int g_stopped_fd = -1;

void stop_in_the_write(int) {
    const char byte = 'x';
    (void)!::write(g_stopped_fd, &byte, 1);
    for (;;)
        ::pause();
}

// A store whose save is some 80 kB, in the quay.
void fill(Content& c, const std::string& state) {
    save_components(c, 1.0);
    c.set<Component::Simple<std::string>>("Game", "current_room", "quay");
    c.set<Component::Simple<std::string>>("Game", "current_room_name", "The quay");
    c.set<Component::Simple<std::string>>("Player", "name", "mara");
    for (int i = 0; i < 2000; ++i)
        c.set<Component::Simple<std::string>>("thing" + std::to_string(i), "state", "")->set(state);
}

class Interrupted_save : public ::testing::Test {
  protected:
    void SetUp() override {
        load_packages({raw_entry("data/rooms/quay.yaml", "name: The quay\ncharacters: [mara]\n"),
                       raw_entry("data/characters/mara.yaml", character_file())});
        fill(old_store, "old");
        save(old_store);
        previous = pref.read("save_auto.yaml");
        ASSERT_GT(previous.size(), 40000u);
        fill(new_store, "new");
        new_store.set<Component::Simple<std::string>>(Key::savegame_id, "auto");
        std::fflush(nullptr); // nothing buffered is written twice by the child
    }

    static void save(Content& c) {
        c.set<Component::Simple<std::string>>(Key::savegame_id, "auto");
        System::File_IO(c).write_savefile();
    }

    // The temporary files beside the slot's file.
    std::vector<std::filesystem::path> temporaries() const {
        std::vector<std::filesystem::path> out;
        for (const auto& entry : std::filesystem::directory_iterator(pref.pref_path()))
            if (entry.path().filename().string().rfind("save_auto.yaml.", 0) == 0)
                out.push_back(entry.path());
        return out;
    }

    // The previous save is still there, byte for byte, and loads.
    void previous_save_is_whole() {
        EXPECT_EQ(pref.read("save_auto.yaml"), previous);
        Content c;
        c.set<Component::Inventory>("Game", "inventory");
        EXPECT_TRUE(System::File_IO(c).read_savefile("auto"));
        EXPECT_EQ(c.get<Component::Simple<std::string>>("thing7", "state")->value(), "old");
    }

    // The next save works and replaces the file.
    void next_save_succeeds() {
        const std::size_t before = temporaries().size();
        save(new_store);
        Content c;
        c.set<Component::Inventory>("Game", "inventory");
        ASSERT_TRUE(System::File_IO(c).read_savefile("auto"));
        EXPECT_EQ(c.get<Component::Simple<std::string>>("thing7", "state")->value(), "new");
        EXPECT_EQ(temporaries().size(), before);
    }

    Temp_pref_folder pref;
    Content old_store;
    Content new_store;
    std::string previous;
    const rlim_t limit = 20000;
};

TEST_F(Interrupted_save, AChildKilledInTheMiddleOfTheWriteLeavesThePreviousSave) {
    int stopped[2];
    ASSERT_EQ(::pipe(stopped), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::close(stopped[0]);
        g_stopped_fd = stopped[1];
        std::signal(SIGXFSZ, stop_in_the_write);
        const rlimit size{limit, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &size);
        System::File_IO(new_store).write_savefile();
        std::_Exit(0); // not reached: the write goes past the limit
    }
    ::close(stopped[1]);
    pollfd wait_for{stopped[0], POLLIN, 0};
    const bool in_the_write = ::poll(&wait_for, 1, 30000) == 1;
    if (in_the_write) {
        // halfway: part of the new save is in the temporary file, the old one is untouched
        const auto temps = temporaries();
        ASSERT_EQ(temps.size(), 1u);
        EXPECT_EQ(std::filesystem::file_size(temps[0]), limit);
        EXPECT_EQ(pref.read("save_auto.yaml"), previous);
    }
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(stopped[0]);
    ASSERT_TRUE(in_the_write) << "the child never reached the middle of its write";
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);

    previous_save_is_whole();

    // The next start removes what the killed writer left, and only that.
    const auto left = temporaries();
    ASSERT_EQ(left.size(), 1u);
    const std::vector<std::string> kept = {"save_auto.yaml.bak", "save_auto.yaml.ABCDEFG",
                                           "notes.yaml.ABCDEF", "save_auto.yaml.AB-DEF"};
    for (const std::string& name : kept)
        pref.write(name, "not a temporary file of the engine");
    pref.write("config.yaml.Zx81Qa", "a temporary file of the settings");
    std::filesystem::create_directory(pref.pref_path() + "save_1.yaml.Folder");
    Content c;
    System::File_IO(c).remove_stale_temporaries();
    EXPECT_FALSE(std::filesystem::exists(left[0]));
    EXPECT_EQ(pref.read("config.yaml.Zx81Qa"), "");
    for (const std::string& name : kept)
        EXPECT_EQ(pref.read(name), "not a temporary file of the engine") << name;
    EXPECT_TRUE(std::filesystem::is_directory(pref.pref_path() + "save_1.yaml.Folder"));
    EXPECT_EQ(pref.read("save_auto.yaml"), previous);
    next_save_succeeds();
}

// A write the disk refuses (the size limit fails it as a full disk would) is warned about with
// the file and the reason; the game goes on, and the save is not reported as made.
TEST_F(Interrupted_save, AWriteRefusedByTheSizeLimitWarnsAndLeavesThePreviousSave) {
    int errors[2];
    ASSERT_EQ(::pipe(errors), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::close(errors[0]);
        ::dup2(errors[1], 2);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{limit, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &size);
        System::File_IO(new_store).write_savefile();
        const bool reported = new_store.signal("Saves", "have_changed") ||
                              new_store.request<Component::Base>("Save_auto", "info");
        std::_Exit(reported ? 3 : 0);
    }
    ::close(errors[1]);
    std::string message;
    char buffer[512];
    for (ssize_t n; (n = ::read(errors[0], buffer, sizeof buffer)) > 0;)
        message.append(buffer, static_cast<std::size_t>(n));
    ::close(errors[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << message;
    EXPECT_EQ(WEXITSTATUS(status), 0) << "3: the failed save was reported as made\n" << message;
    EXPECT_NE(message.find("Warning: Can't write save_auto.yaml: writing "), std::string::npos)
        << message;
    EXPECT_NE(message.find("File too large"), std::string::npos) << message;

    EXPECT_TRUE(temporaries().empty()) << "the failed write leaves no temporary file";
    previous_save_is_whole();
    next_save_succeeds();
}

} // namespace
} // namespace Orvane::Test
