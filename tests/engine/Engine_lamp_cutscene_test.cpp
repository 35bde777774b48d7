// The engine on the packed sample game (build/data), in this process and headless, started in
// the tower: once the room is in, the presentation steps of the lamp cutscene (fades, shake,
// 60-fps move and rescale, play, pause, set12fps) are applied to the real store through the
// logic system's keyword table, so that every item they name is found and every request they
// write is the one the animation and sound systems will play.

#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
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

#include "support/Fixed_step_engine.h"
#include "support/Manual_clock.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;
using Text = Component::Simple<std::string>;

using Orvane::Test::sample_data;

// The steps checked here; the others of the cutscene belong to the rest of the step engine.
const std::set<std::string> presentation_steps = {
    "fadein", "fadeout", "move60fps", "rescale60fps", "shake", "pause", "play", "set12fps", "show"};

// The logic system, which at frame 5 applies the cutscene's presentation steps and looks at
// what they wrote before the later systems of the frame take it; it quits at frame 6.
class Lamp_logic : public System::Logic {
  public:
    using Logic::Logic;
    void run() override {
        Logic::run();
        ++frames;
        if (frames == 5)
            play_cutscene();
        else if (frames == 6)
            m_content.emit("Game", "exit");
    }
    int frames = 0;
    std::set<std::string> applied;

  private:
    void play_cutscene() {
        ASSERT_EQ(m_content.get<Text>("Game", "current_room")->value(), "tower");
        // Mara is the player, as the opening's "control" step makes her.
        m_content.set<Text>("Player", "name", "mara");
        auto cutscene = m_content.get<Component::Action>("lamp_ending", "action");
        current_action = cutscene;
        now = 100;
        for (const auto& step : *cutscene) {
            if (!presentation_steps.count(step.function()))
                continue;
            SCOPED_TRACE(step.to_string());
            EXPECT_TRUE(step_handlers.at(step.function())(step.args()));
            applied.insert(step.function());
        }

        EXPECT_EQ(m_content.value<Text>("mara", "start_animation", ""), "hands_on_hips");
        EXPECT_TRUE(m_content.signal("lamp", "play_sound"));
        EXPECT_EQ(m_content.value<Text>("lamp", "set_state", ""), "on");
        EXPECT_TRUE(m_content.signal("lamp_beam", "start_animation"));
        EXPECT_EQ(m_content.value<Text>("lamp_beam", "state", ""), "Dummy") << "the beam loops";
        EXPECT_TRUE(m_content.signal("lamp_beam", "pause"));
        EXPECT_TRUE(m_content.request<Component::Base>("lamp_beam", "rescale60fps"));
        EXPECT_TRUE(m_content.request<Component::Base>("mara", "move60fps"));
        EXPECT_TRUE(m_content.request<Component::Base>("Camera", "shake"));
        const auto fade = m_content.get<Component::Tuple<double, double, bool>>("Camera", "fade");
        EXPECT_TRUE(std::get<2>(fade->value())) << "the last fade brings the view up";
        // Nothing of this is left for the next frames of a test that plays no further.
        cutscene->stop();
    }
};

class Lamp_engine : public Engine {
  public:
    Lamp_engine(std::vector<const char*> args)
        : Engine(static_cast<int>(args.size()), const_cast<char**>(args.data())) {
        set_clock(clock.source(), clock.sleeper());
    }

    Orvane::Test::Manual_clock clock;
    std::shared_ptr<Lamp_logic> logic;

  protected:
    Systems make_systems() override {
        Systems s = Engine::make_systems();
        s.file_io = std::make_shared<Orvane::Test::Tower_file_io>(content());
        s.logic = logic = std::make_shared<Lamp_logic>(content());
        return s;
    }
};

TEST(EngineLampCutsceneTest, PresentationStepsFindWhatTheyNameInTheTower) {
    const Orvane::Test::Temp_pref_folder pref;
    ASSERT_FALSE(sample_data().empty()) << "ORVANE_BUILD_DIR is not set: run through ctest";
    Lamp_engine engine({"orvane", "--locale", "en_US"});
    EXPECT_TRUE(engine.run(sample_data()));
    EXPECT_EQ(engine.logic->frames, 6);
    EXPECT_EQ(engine.logic->applied,
              (std::set<std::string>{"fadein", "fadeout", "move60fps", "rescale60fps", "shake",
                                     "pause", "play", "set12fps"}))
        << "the cutscene uses these steps";
}

} // namespace
