// The tower's code box in the packed sample game, headless, through the engine in this process:
// Mara uses the box, whose action shows the lock of four shapes; presses are written as the input
// system will write them (Code::click on a button of the window picture, then the signal
// code:button_clicked). A wrong code leaves the lock open and the hatch closed; the note's code
// opens the hatch and gives the game back to the player.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Code.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/System/Sound.h>

#include "support/Fixed_step_engine.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;
using Text = Component::Simple<std::string>;

// The sound system, counting the code-lock sounds it takes.
class Code_sound : public System::Sound {
  public:
    using Sound::Sound;
    void run() override {
        std::vector<std::string> asked;
        for (const char* sound : {"play_click", "play_success", "play_failure"})
            if (signal("code", sound))
                asked.push_back(sound);
        Sound::run();
        for (const std::string& sound : asked)
            if (!signal("code", sound))
                ++taken[sound];
    }
    std::map<std::string, int> taken;
};

class Code_lock_engine : public Orvane::Test::Fixed_step_engine {
  public:
    std::shared_ptr<Code_sound> sound;

  protected:
    Systems make_systems() override {
        Systems s = Fixed_step_engine::make_systems();
        s.file_io = std::make_shared<Orvane::Test::Tower_file_io>(content());
        s.sound.reset(); // the audio device is opened by one sound system at a time
        s.sound = sound = std::make_shared<Code_sound>(content());
        return s;
    }
};

// The buttons' centres in the lock's window picture.
const std::map<std::string, int> button_x = {
    {"circle", 110}, {"square", 310}, {"triangle", 510}, {"star", 710}};
constexpr int button_y = 360;

TEST(EngineCodeLockTest, TheCodeBoxRefusesAWrongCodeAndOpensTheHatchWithTheNotesCode) {
    const Orvane::Test::Temp_pref_folder pref;
    ASSERT_FALSE(Orvane::Test::sample_data().empty())
        << "ORVANE_BUILD_DIR is not set: run through ctest";
    Code_lock_engine engine;
    ASSERT_TRUE(engine.start_up(Orvane::Test::sample_data()));
    Content& content = engine.content();
    auto status = content.request<Component::Status>(Fast_access_component::GAME_STATUS);
    ASSERT_TRUE(status);
    auto run = [&](int frames) {
        for (int i = 0; i < frames; ++i)
            ASSERT_TRUE(engine.run());
    };
    auto state = [&](const std::string& id) { return content.get<Text>(id, "state")->value(); };

    // The tower, entered and handed over to the player.
    for (int i = 0; i < 120 && !(status->is(Status::IDLE) &&
                                 content.value<Text>("Game", "current_room", "") == "tower");
         ++i)
        run(1);
    ASSERT_EQ(content.value<Text>("Game", "current_room", ""), "tower");
    ASSERT_TRUE(status->is(Status::IDLE));
    const std::size_t depth = status->size();
    EXPECT_EQ(state("hatch"), "closed");
    EXPECT_EQ(state("code_box"), "locked");

    // Mara uses the box: she walks to it and its action shows the lock.
    content.set<Component::Variable>(Key::character_triggered_action,
                                     content.get<Component::Action>("code_box_move", "action"));
    for (int i = 0; i < 600 && !status->is(Status::IN_CODE); ++i)
        run(1);
    ASSERT_TRUE(status->is(Status::IN_CODE)) << "the box's use did not open the lock";
    auto code = content.get<Component::Code>("Game", "code");
    EXPECT_EQ(code->entity(), "shapes_lock");
    EXPECT_TRUE(content.request<Component::Base>("Game", "window"));

    // The flash's top-left corner on the screen, in the frame of a press, against the button's.
    auto window = content.get<Component::Image>("Game", "window");
    const Point window_at = content.get<Component::Position>("shapes_lock", "position")->value();
    const double left = window_at.x() - window->origin().x();
    const double top = window_at.y() - window->origin().y();
    auto flash = content.get<Component::Image>("shapes_lock_button", "image");
    auto press = [&](const std::string& shape) {
        SCOPED_TRACE(shape);
        ASSERT_TRUE(code->click(button_x.at(shape), button_y));
        content.emit(Key::code_button_clicked);
        run(1);
        EXPECT_TRUE(flash->on());
        const Point at =
            content.get<Component::Position>("shapes_lock_button", "position")->value();
        EXPECT_EQ(at.x() - flash->origin().x(), left + button_x.at(shape) - 80)
            << "the flash lands on the button";
        EXPECT_EQ(at.y() - flash->origin().y(), top + button_y - 80);
        EXPECT_EQ(flash->xmax() - flash->xmin(), 160);
        run(11); // 0.2 s: the flash is over
        EXPECT_FALSE(flash->on());
    };

    // A wrong code: three clicks, then the failure picture, and the lock stays open.
    for (const char* shape : {"circle", "square", "triangle", "star"})
        press(shape);
    EXPECT_TRUE(status->is(Status::IN_CODE));
    EXPECT_TRUE(content.request<Component::Base>("Code_result", "image"))
        << "the failure picture lasts half a second";
    run(30);
    EXPECT_FALSE(content.request<Component::Base>("Code_result", "image"));
    EXPECT_TRUE(status->is(Status::IN_CODE));
    EXPECT_EQ(state("hatch"), "closed");
    EXPECT_TRUE(code->entered().empty());

    // The note's code.
    for (const char* shape : {"triangle", "circle", "star", "square"})
        press(shape);
    EXPECT_EQ(state("hatch"), "open");
    EXPECT_EQ(state("code_box"), "unlocked");
    EXPECT_TRUE(status->is(Status::IDLE));
    EXPECT_EQ(status->size(), depth) << "the status is back to what it was";
    run(30);
    EXPECT_FALSE(content.request<Component::Base>("Code_result", "image"));
    EXPECT_FALSE(content.get<Component::Image>("shapes_lock_button", "image")->on());

    // Every code sound asked for was taken by the sound system.
    EXPECT_EQ(engine.sound->taken["play_click"], 6);
    EXPECT_EQ(engine.sound->taken["play_failure"], 1);
    EXPECT_EQ(engine.sound->taken["play_success"], 1);
    engine.tear_down();
}

} // namespace
