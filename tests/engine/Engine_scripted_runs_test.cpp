// The rooms' scripted runs in the packed sample game: the engine started with only
// Force_load:room set enters that room through its "<room>_test" action, which plays the room's
// walkthrough as state changes, saves and exits. The run must end by itself, and the save it
// leaves must hold what the walkthrough reached.

#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Simple.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>

#include "support/Fixed_step_engine.h"
#include "support/Sample_data.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;

// The data system starting in a forced room, with no forced origin.
class Forced_file_io : public System::File_IO {
  public:
    Forced_file_io(Content& content, std::string room)
        : File_IO(content), m_room(std::move(room)) {}
    void read_init() override {
        m_content.set<Component::Simple<std::string>>(Key::force_load_room, m_room);
        File_IO::read_init();
    }

  private:
    std::string m_room;
};

class Forced_engine : public Orvane::Test::Fixed_step_engine {
  public:
    explicit Forced_engine(std::string room) : m_room(std::move(room)) {}

  protected:
    Systems make_systems() override {
        Systems s = Fixed_step_engine::make_systems();
        s.file_io = std::make_shared<Forced_file_io>(content(), m_room);
        return s;
    }

  private:
    std::string m_room;
};

struct Scripted_run {
    const char* room;
    // lines the save must hold, each as written by the save writer
    std::vector<std::string> lines;
};

void PrintTo(const Scripted_run& run, std::ostream* out) { *out << run.room; }

class EngineScriptedRunTest : public testing::TestWithParam<Scripted_run> {};

TEST_P(EngineScriptedRunTest, EndsByItselfAndSavesWhatItReached) {
    const Scripted_run& run = GetParam();
    ASSERT_FALSE(Orvane::Test::sample_data().empty())
        << "ORVANE_BUILD_DIR is not set: run through ctest";
    const Orvane::Test::Temp_pref_folder pref;
    {
        Forced_engine engine(run.room);
        ASSERT_TRUE(engine.start_up(Orvane::Test::sample_data()));
        int frames = 0;
        while (frames < 600 && engine.run())
            ++frames;
        EXPECT_LT(frames, 600) << "the " << run.room << "_test run did not exit";
        EXPECT_EQ(engine.content().value<Component::Simple<std::string>>(
                      Key::game_current_room, std::string("<none>")),
                  run.room);
        engine.tear_down();
    }
    const std::string save = pref.read("save_auto.yaml");
    ASSERT_FALSE(save.empty()) << "no save_auto.yaml in " << pref.pref_path();
    for (const std::string& line : run.lines)
        EXPECT_NE(save.find(line), std::string::npos) << "no line \"" << line << "\" in\n" << save;
}

INSTANTIATE_TEST_SUITE_P(
    SampleRooms, EngineScriptedRunTest,
    testing::Values(Scripted_run{"quay",
                                 {"room: \"quay\"", "{ id: \"tower_door\", value: open }",
                                  "{ id: \"key\", value: gone }", "{ id: \"crate\", value: open }",
                                  "{ id: \"coins\", value: 1 }"}},
                    Scripted_run{"tower",
                                 {"room: \"tower\"", "{ id: \"hatch\", value: open }",
                                  "{ id: \"code_box\", value: unlocked }",
                                  "{ id: \"lamp\", value: on }"}}),
    [](const testing::TestParamInfo<Scripted_run>& run) { return std::string(run.param.room); });

} // namespace
