#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Interface.h>

#include "support/Interface_fixture.h"

namespace Orvane::System {
namespace {

using Component::Image;

// The hint's images: the letters and the words are texts, the rest backs.
const std::vector<std::string> hint_images = {"Gamepad_switcher_left", "Gamepad_switcher_left_back",
                                              "Gamepad_switcher_label",
                                              "Gamepad_switcher_label_back",
                                              "Gamepad_switcher_right",
                                              "Gamepad_switcher_right_back"};

class Interface_switcher_test : public Orvane::Test::Interface_fixture {
  protected:
    void SetUp() override {
        Interface_fixture::SetUp();
        interface.init();
        mode->set(GAMEPAD);
        objects({"anchor", "bell", "chest"});
    }
    void objects(const std::vector<std::string>& ids) {
        content.set<Component::Vector<std::string>>(Key::interface_active_objects, ids);
    }
    // Time t: the switcher's frame, then the animations advanced and the ended ones removed, as
    // the animation system does later in the frame.
    void frame(double t) {
        clock->set(t);
        interface.update_object_switcher();
        std::vector<std::shared_ptr<Component::GUI_animation>> ended;
        for (const auto& [key, c] : content.components("animation"))
            if (auto a = Component::cast<Component::GUI_animation>(c); a && !a->update(t))
                ended.push_back(a);
        for (const auto& a : ended)
            content.remove(a);
    }
    int left_alpha() { return image("Gamepad_switcher_left")->alpha(); }
    bool fading() {
        return bool(content.request<Component::GUI_animation>("Gamepad_switcher_left",
                                                               "animation"));
    }
};

TEST_F(Interface_switcher_test, HintFadesInAfterFiveIdleSecondsAndOutBelow) {
    latest_active->set(100);
    frame(104.9);
    EXPECT_EQ(left_alpha(), 0);
    EXPECT_FALSE(image("Gamepad_switcher_left")->on()) << "hidden while transparent";
    EXPECT_FALSE(fading());

    // exactly five seconds: shown (the controller's idle selector waits for more than five)
    frame(105);
    EXPECT_TRUE(fading());
    EXPECT_TRUE(image("Gamepad_switcher_left")->on());
    frame(105.125);
    EXPECT_GT(left_alpha(), 0);
    EXPECT_LT(left_alpha(), 255);
    frame(105.25);
    EXPECT_FALSE(fading());
    for (const auto& e : hint_images) {
        SCOPED_TRACE(e);
        EXPECT_TRUE(image(e)->on());
        EXPECT_EQ(int(image(e)->alpha()), e == "Gamepad_switcher_label_back" ? 100 : 255);
    }
    frame(106);
    EXPECT_FALSE(fading()) << "shown: nothing more to do";

    // an input: out again, then hidden once transparent
    latest_active->set(106);
    frame(106.1);
    EXPECT_TRUE(fading());
    frame(106.35);
    for (const auto& e : hint_images)
        EXPECT_EQ(int(image(e)->alpha()), 0) << e;
    frame(106.4);
    EXPECT_FALSE(image("Gamepad_switcher_left")->on());
}

TEST_F(Interface_switcher_test, FirstMinuteAfterLaunchShowsTheHint) {
    content.emit(Key::game_just_launched);
    latest_active->set(10);
    frame(10);
    EXPECT_FALSE(content.signal(Key::game_just_launched)) << "taken";
    ASSERT_TRUE(content.request<Component::Simple<double>>(Key::first_idle_time));
    EXPECT_EQ(content.get<Component::Simple<double>>(Key::first_idle_time)->value(), 10);
    EXPECT_TRUE(fading());
    for (double t = 10.5; t < 69.9; t += 0.5) {
        latest_active->set(t); // the player plays on
        frame(t);
    }
    EXPECT_EQ(left_alpha(), 255);
    // sixty seconds old: removed, and the inactivity rule applies again
    latest_active->set(70);
    frame(70);
    EXPECT_FALSE(content.request<Component::Simple<double>>(Key::first_idle_time));
    EXPECT_TRUE(fading());
    frame(70.3);
    EXPECT_EQ(left_alpha(), 0);
}

TEST_F(Interface_switcher_test, LaunchSignalIsKeptUntilControllerPlayWithTwoObjects) {
    content.emit(Key::game_just_launched);
    objects({"anchor"});
    frame(1);
    EXPECT_TRUE(content.signal(Key::game_just_launched));
    mode->set(MOUSE);
    objects({"anchor", "bell"});
    frame(2);
    EXPECT_TRUE(content.signal(Key::game_just_launched));
    EXPECT_FALSE(content.request<Component::Simple<double>>(Key::first_idle_time));
}

TEST_F(Interface_switcher_test, OneObjectMenuOrMouseFadeTheHintOut) {
    struct Case {
        const char* name;
        std::vector<std::string> objects;
        Status status;
        Input_mode mode;
    };
    const std::vector<Case> cases = {
        {"one object", {"anchor"}, Status::IDLE, GAMEPAD},
        {"no objects", {}, Status::IDLE, GAMEPAD},
        {"menu", {"anchor", "bell"}, Status::IN_MENU, GAMEPAD},
        {"mouse", {"anchor", "bell"}, Status::IDLE, MOUSE},
    };
    double t = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mode->set(GAMEPAD);
        objects({"anchor", "bell", "chest"});
        frame(t += 1);
        frame(t += 0.3);
        ASSERT_EQ(left_alpha(), 255);
        objects(c.objects);
        game_status->push(c.status);
        mode->set(c.mode);
        frame(t += 1);
        EXPECT_TRUE(fading());
        frame(t += 0.3);
        EXPECT_EQ(left_alpha(), 0);
        frame(t += 0.1);
        EXPECT_FALSE(image("Gamepad_switcher_left")->on());
        game_status->pop();
    }
}

TEST_F(Interface_switcher_test, AChangeDuringAFadeWaitsForItsEnd) {
    frame(10); // idle for ten seconds: fading in
    ASSERT_TRUE(fading());
    latest_active->set(10.1);
    frame(10.1); // an input midway: the fade in goes on
    auto animation = content.request<Component::GUI_animation>("Gamepad_switcher_left",
                                                                "animation");
    frame(10.2);
    EXPECT_EQ(content.request<Component::GUI_animation>("Gamepad_switcher_left", "animation"),
              animation);
    frame(10.25);
    EXPECT_EQ(left_alpha(), 255);
    // the fade out starts from the target alpha, not from where a fade stopped
    frame(10.26);
    ASSERT_TRUE(fading());
    EXPECT_EQ(left_alpha(), 255);
}

TEST_F(Interface_switcher_test, FirstIdleTimeSixtySecondsOldIsRemovedInMouseMode) {
    mode->set(MOUSE);
    content.set<Component::Simple<double>>(Key::first_idle_time, 0.0);
    frame(59.9);
    EXPECT_TRUE(content.request<Component::Simple<double>>(Key::first_idle_time));
    frame(60);
    EXPECT_FALSE(content.request<Component::Simple<double>>(Key::first_idle_time));
}

TEST_F(Interface_switcher_test, FadeActionSelectorFadesEveryImageOfTheGroup) {
    clock->set(3);
    interface.fade_action_selector("Gamepad_switcher", true);
    for (const auto& e : hint_images) {
        SCOPED_TRACE(e);
        auto a = content.request<Component::GUI_animation>(e, "animation");
        ASSERT_TRUE(a);
        EXPECT_TRUE(image(e)->on());
        a->update(3.25);
        EXPECT_EQ(int(image(e)->alpha()), e == "Gamepad_switcher_label_back" ? 100 : 255);
    }
    // running: a second call starts nothing
    auto before = content.request<Component::GUI_animation>("Gamepad_switcher_right", "animation");
    interface.fade_action_selector("Gamepad_switcher", false);
    EXPECT_EQ(content.request<Component::GUI_animation>("Gamepad_switcher_right", "animation"),
              before);
}

} // namespace
} // namespace Orvane::System
