// Mara walks in the sample game's quay, headless, through the engine in this process: a click
// sends her across the quay, the camera glides after her, her steps are heard and Pip follows.

#include <cmath>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Path.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Base.h>
#include <Orvane/Utils/View.h>

#include "support/Fixed_step_engine.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;

// The sound system, counting the step sounds asked of it before it takes them.
class Step_counting_sound : public System::Sound {
  public:
    using Sound::Sound;
    void run() override {
        if (signal("Step", "play_sound"))
            ++steps;
        Sound::run();
    }
    int steps = 0;
};

class Walk_engine : public Orvane::Test::Fixed_step_engine {
  public:
    std::shared_ptr<Step_counting_sound> sound;

  protected:
    Systems make_systems() override {
        Systems s = Fixed_step_engine::make_systems();
        s.sound.reset(); // the audio device is opened by one sound system at a time
        sound = std::make_shared<Step_counting_sound>(content());
        s.sound = sound;
        return s;
    }
};

Point position_of(const Content& content, const std::string& entity) {
    return content.get<Component::Position>(entity, "position")->value();
}

TEST(EngineWalkTest, AClickSendsMaraAcrossTheQuayWithTheCameraAndPip) {
    const Orvane::Test::Temp_pref_folder pref;
    ASSERT_FALSE(Orvane::Test::sample_data().empty()) << "ORVANE_BUILD_DIR is not set: run through ctest";
    Walk_engine engine;
    ASSERT_TRUE(engine.start_up(Orvane::Test::sample_data()));
    Content& content = engine.content();
    auto status = [&] {
        return content.request<Component::Status>(Fast_access_component::GAME_STATUS)->value();
    };

    // The opening, skipped a few frames in, until the game waits for the player.
    int frame = 0;
    bool idle = false;
    while (!idle && frame < 1200) {
        if (++frame == 5)
            content.emit(Key::game_skip_cutscene);
        ASSERT_TRUE(engine.run());
        auto start = content.request<Component::Action>("start", "action");
        idle = frame > 5 && status() == Status::IDLE && start && !start->on();
    }
    ASSERT_TRUE(idle) << "the opening did not end";
    ASSERT_EQ(content.get<Component::Simple<std::string>>("Player", "name")->value(), "mara");
    const Point pip_before = position_of(content, "pip_body");

    // A click on the quay, right of the bench, as the input system leaves it in the store.
    const Point target(2400, 950);
    const Point screen = System::camera_view(content).to_screen(target, false);
    auto cursor = content.request<Component::Position>(Fast_access_component::CURSOR_POSITION);
    ASSERT_TRUE(cursor);
    cursor->set(screen);
    content.emit(Key::cursor_clicked);

    bool glided = false;
    bool pip_set_off = false;
    int pip_set_off_frame = 0;
    const int click_frame = frame;
    bool arrived = false;
    for (int i = 0; i < 1200 && !arrived; ++i, ++frame) {
        ASSERT_TRUE(engine.run());
        glided = glided || content.request<Component::Base>("Camera", "animation");
        if (!pip_set_off && content.request<Component::Path>("pip", "path")) {
            pip_set_off = true;
            pip_set_off_frame = frame;
        }
        arrived = frame > click_frame + 2 && !content.request<Component::Path>("mara", "path");
    }
    ASSERT_TRUE(arrived) << "Mara is still walking";
    const Point mara = position_of(content, "mara_body");
    EXPECT_LT(std::hypot(mara.x() - target.x(), mara.y() - target.y()), 2.0)
        << "Mara stopped at " << to_string(mara);
    // standing again, she idles through the poses of her "transition" sheet, two ticks of its
    // first column between them
    auto body = content.get<Component::Animation>("mara_body", "image");
    ASSERT_EQ(body->frames().size(), 20U);
    for (std::size_t i = 0; i < body->frames().size(); i += 2) {
        EXPECT_TRUE(body->frames()[i].x == 1 || body->frames()[i].x == 2);
        EXPECT_EQ(body->frames()[i + 1].x, 0);
    }
    EXPECT_TRUE(glided) << "the camera did not follow Mara";
    EXPECT_GT(engine.sound->steps, 0) << "no step was heard";
    ASSERT_TRUE(pip_set_off) << "Pip did not follow";
    EXPECT_LE(pip_set_off_frame - click_frame, 120) << "Pip set off later than two seconds";

    // Pip comes to rest near her, without walking on for ever.
    bool pip_resting = false;
    for (int i = 0; i < 600 && !pip_resting; ++i) {
        ASSERT_TRUE(engine.run());
        pip_resting = !content.request<Component::Path>("pip", "path") && i > 120;
    }
    EXPECT_TRUE(pip_resting) << "Pip is still walking";
    const Point pip = position_of(content, "pip_body");
    EXPECT_LT(std::abs(pip.x() - mara.x()), std::abs(pip_before.x() - mara.x()))
        << "Pip did not come closer";
    // the follower's limits grow with the player's depth: 270 by 120 pixels at depth 1500
    const double depth = content.get<Component::Image>("mara_body", "image")->z();
    EXPECT_LE(std::abs(pip.x() - mara.x()), 270.0 * depth / 1500);
    EXPECT_LE(std::abs(pip.y() - mara.y()), 120.0 * depth / 1500);
    engine.tear_down();
}

} // namespace
