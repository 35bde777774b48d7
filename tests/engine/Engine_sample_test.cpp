// The engine on the packed sample game (build/data), in this process: every real system, the
// data-file system watched right after it reads the init file, and a temporary per-user folder.

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Engine.h>
#include <Orvane/System/Animation.h>
#include <Orvane/System/Control.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/System/Graphic.h>
#include <Orvane/System/Input.h>
#include <Orvane/System/Interface.h>
#include <Orvane/System/Logic.h>
#include <Orvane/System/Menu.h>
#include <Orvane/System/Sound.h>
#include <Orvane/System/Time.h>
#include <Orvane/Third_party/SDL.h>
#include <Orvane/Version.h>

#include "support/Manual_clock.h"
#include "support/Sample_data.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;
using Test::sample_data;
using Probe = std::function<void(Content&)>;

// The packed sample game that the build puts in build/data/.
// The real data-file system, with a look at the store once the init file is read.
class Probed_file_io : public System::File_IO {
  public:
    Probed_file_io(Content& content, Probe probe) : File_IO(content), m_probe(std::move(probe)) {}
    void read_init() override {
        File_IO::read_init();
        ++read_inits;
        if (m_probe)
            m_probe(m_content);
    }
    int read_inits = 0;

  private:
    Probe m_probe;
};

// A real system that, as a stand-in for the player, asks to quit at the end of frame `last`.
template <typename T> class Quits_after : public T {
  public:
    Quits_after(Content& content, int last) : T(content), m_last(last) {}
    void run() override {
        T::run();
        if (++frames == m_last)
            this->m_content.emit("Game", "exit");
    }
    int frames = 0;

  private:
    int m_last;
};

class Sample_engine : public Engine {
  public:
    Sample_engine(std::vector<const char*> args, Probe probe)
        : Engine(static_cast<int>(args.size()), const_cast<char**>(args.data())),
          m_probe(std::move(probe)) {
        set_clock(clock.source(), clock.sleeper());
    }

    Orvane::Test::Manual_clock clock;
    std::shared_ptr<Probed_file_io> file_io;
    std::shared_ptr<Quits_after<System::Logic>> logic;

  protected:
    Systems make_systems() override {
        Systems s = Engine::make_systems();
        s.file_io = file_io = std::make_shared<Probed_file_io>(content(), m_probe);
        s.logic = logic = std::make_shared<Quits_after<System::Logic>>(content(), 30);
        return s;
    }

  private:
    Probe m_probe;
};

std::string current_locale(Content& content) {
    return content.get<Component::Simple<std::string>>("Game", "current_locale")->value();
}

// What read_init leaves in the store for the sample game, in either language.
void check_sample_init(Content& content) {
    EXPECT_EQ(content.get<Component::Simple<std::string>>("Game", "name")->value(),
              "The Lamp at Gull Point");
    EXPECT_EQ(content.get<Component::Simple<std::string>>("Version", "string")->value(),
              "v" + Version::str(false) + "-d1-sample");
    EXPECT_EQ(content.get<Component::Vector<std::string>>("Game", "available_locales")->value(),
              (std::vector<std::string>{"en_US", "fr_FR"}));
    EXPECT_EQ(content.get<Component::Simple<std::string>>("Game", "new_room")->value(), "quay");
    EXPECT_EQ(content.get<Component::Simple<std::string>>("Game", "new_room_origin")->value(),
              "start");

    // The support text follows the language: each locale selects its own picture (the
    // images share the cached picture of their package entry).
    auto support = content.request<Component::Simple_conditional<std::string>>("Support_text",
                                                                               "image");
    ASSERT_TRUE(support) << "the sample has a French support picture";
    auto current = content.get<Component::Simple<std::string>>("Game", "current_locale");
    const std::string saved = current->value();
    const std::pair<const char*, const char*> pictures[] = {
        {"en_US", "images/interface/support_text.png"},
        {"fr_FR", "images/interface/support_text.fr_FR.png"}};
    for (const auto& [locale, file] : pictures) {
        SCOPED_TRACE(locale);
        current->set(locale);
        auto image = content.get<Component::Image>("Support_text", "image");
        EXPECT_EQ(image->core(), Third_party::SDL::load_image(file));
        EXPECT_FALSE(image->on());
    }
    EXPECT_NE(Third_party::SDL::load_image(pictures[0].second),
              Third_party::SDL::load_image(pictures[1].second));
    current->set(saved);
}

TEST(EngineSampleTest, SampleGameStartsRunsAndQuits) {
    const Orvane::Test::Temp_pref_folder pref;
    ASSERT_FALSE(sample_data().empty()) << "ORVANE_BUILD_DIR is not set: run through ctest";
    bool probed = false;
    std::string locale_at_start;
    Sample_engine engine({"orvane"}, [&](Content& content) {
        probed = true;
        locale_at_start = current_locale(content);
        check_sample_init(content);
    });
    EXPECT_TRUE(engine.run(sample_data()));
    EXPECT_TRUE(probed);
    EXPECT_EQ(engine.file_io->read_inits, 1);
    EXPECT_EQ(engine.logic->frames, 30);
    EXPECT_TRUE(locale_at_start == "en_US" || locale_at_start == "fr_FR") << locale_at_start;

    const std::string config = pref.read("config.yaml");
    ASSERT_FALSE(config.empty()) << "config.yaml was not written in " << pref.pref_path();
    EXPECT_NE(config.find("locale: \"" + locale_at_start + "\""), std::string::npos) << config;
}

TEST(EngineSampleTest, CommandLineLocaleIsKeptAtTheNextStart) {
    const Orvane::Test::Temp_pref_folder pref;
    ASSERT_FALSE(sample_data().empty()) << "ORVANE_BUILD_DIR is not set: run through ctest";
    std::vector<std::string> seen;
    auto note_locale = [&](Content& content) { seen.push_back(current_locale(content)); };
    {
        Sample_engine engine({"orvane", "--locale", "fr_FR"}, note_locale);
        EXPECT_TRUE(engine.run(sample_data()));
    }
    const std::string config = pref.read("config.yaml");
    EXPECT_NE(config.find("locale: \"fr_FR\""), std::string::npos) << config;
    {
        Sample_engine engine({"orvane"}, note_locale);
        EXPECT_TRUE(engine.run(sample_data()));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"fr_FR", "fr_FR"}));
}

// Whether process `pid` catches `signal`, from the SigCgt mask of its /proc status.
bool catches(pid_t pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

// Waits up to `limit` for `pid` to end; its wait status, or nothing (the process then killed).
std::optional<int> wait_for(pid_t pid, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    return std::nullopt;
}

// The game program on the sample data (build/data beside it), ended by a termination request
// from the system once SDL has put its handler in: a clean quit, status 0.
TEST(EngineSampleTest, ProgramEndsCleanlyOnTerminationRequest) {
    const Orvane::Test::Temp_pref_folder pref;
    const char* build = std::getenv("ORVANE_BUILD_DIR");
    ASSERT_NE(build, nullptr) << "ORVANE_BUILD_DIR is not set: run through ctest";
    std::string program = std::string(build) + "/orvane";
    char* argv[] = {program.data(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0) << program;

    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool ready = false;
    while (!ready && std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            FAIL() << "the program ended before handling SIGTERM, status " << status;
        ready = catches(pid, SIGTERM);
        if (!ready)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!ready) {
        wait_for(pid, std::chrono::seconds(0));
        FAIL() << "SDL's SIGTERM handler was not set within 60 s";
    }
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    const std::optional<int> status = wait_for(pid, std::chrono::seconds(60));
    ASSERT_TRUE(status) << "the program did not end within 60 s of SIGTERM";
    ASSERT_TRUE(WIFEXITED(*status)) << "wait status " << *status;
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    EXPECT_FALSE(pref.read("config.yaml").empty()) << "the settings are written on the way out";
}

} // namespace
