// The program's options: --help and --version are answered at once, before any window or game
// data opens; an option the engine does not know is warned about and the game starts anyway.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <Orvane/Component/Simple.h>
#include <Orvane/Engine.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Version.h>

#include "support/Fixed_step_engine.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;

struct Program_run {
    int status = -1;
    std::string output;
};

// The game program of the build with these arguments, its standard output and exit status.
Program_run run_program(const std::string& arguments) {
    const char* build = std::getenv("ORVANE_BUILD_DIR");
    Program_run run;
    if (build == nullptr)
        return run;
    const std::string command = std::string(build) + "/orvane " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    std::array<char, 512> buffer{};
    std::size_t read = 0;
    while ((read = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.output.append(buffer.data(), read);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(EngineCommandLineTest, HelpShowsTheUsageTheDataFolderAndThePerUserFolder) {
    const Orvane::Test::Temp_pref_folder pref;
    ASSERT_NE(std::getenv("ORVANE_BUILD_DIR"), nullptr) << "run through ctest";
    const Program_run help = run_program("--help");
    EXPECT_EQ(help.status, 0);
    for (const std::string& part :
         {std::string("usage: "), std::string("[--locale <locale>]"),
          std::string(std::getenv("ORVANE_BUILD_DIR")) + "/data/", std::string("general.data"),
          std::string("-l, --locale <locale>"), std::string("--version"),
          std::string("Settings and saves are kept in ") + pref.pref_path()})
        EXPECT_NE(help.output.find(part), std::string::npos) << part << " in\n" << help.output;
    // answered before the locale option is looked at, wherever it stands
    EXPECT_EQ(run_program("-l fr_FR --help").output, help.output);
}

TEST(EngineCommandLineTest, VersionShowsTheEnginesVersion) {
    ASSERT_NE(std::getenv("ORVANE_BUILD_DIR"), nullptr) << "run through ctest";
    const Program_run version = run_program("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, "orvane " + Version::str(false) + "\n");
}

TEST(EngineCommandLineTest, UnknownOptionIsWarnedAboutAndTheGameStarts) {
    const Orvane::Test::Temp_pref_folder pref;
    ASSERT_FALSE(Orvane::Test::sample_data().empty()) << "run through ctest";
    const char* args[] = {"orvane", "--frobnicate", "-l", "fr_FR", "extra", nullptr};
    testing::internal::CaptureStderr();
    Engine engine(5, const_cast<char**>(args));
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_EQ(warnings,
              "Warning: Unknown option --frobnicate is ignored (orvane --help lists the options)\n"
              "Warning: Unknown option extra is ignored (orvane --help lists the options)\n");
    EXPECT_EQ(engine.content().value<Component::Simple<std::string>>("Cmdline", "locale", ""),
              "fr_FR");
    ASSERT_TRUE(engine.start_up(Orvane::Test::sample_data()));
    EXPECT_TRUE(engine.run());
    EXPECT_EQ(engine.content().value<Component::Simple<std::string>>("Game", "current_locale", ""),
              "fr_FR");
    engine.tear_down();
}

} // namespace
