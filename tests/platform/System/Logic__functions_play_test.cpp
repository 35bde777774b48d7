#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Code.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/System/Logic.h>

#include "support/Logic_steps_fixture.h"

namespace Orvane::Test {
namespace {

using Text = Component::Simple<std::string>;

// A sound item, the quay's music, two animations on the sample sheet (the waves loop, the
// splash plays once), the player mara walking, an ordinary picture, a group, a window and a
// code lock's window.
void add_items(Content& content) {
    content.set<Component::Base>("gull", "sound");
    content.set<Component::Music>("quay_music", "music");
    content.set<Component::Animation>("waves", "image", "images/animations/sheet.png", 100, 4, 1,
                                      true);
    content.set<Component::Animation>("splash", "image", "images/animations/sheet.png", 100, 4, 1,
                                      false);
    content.set<Text>("Player", "name", "mara");
    content.set<Component::Base>("mara", "path");
    content.set<Component::Absolute_position>("crate", "position", Point(1500, 800), false);
    auto title = content.set<Component::Image>("title", "image", 200, 40);
    title->z() = 1000002;
    title->on() = false;
    content.set<Component::Group>("ferran", "group");
    for (const char* window : {"note_sheet", "lock_window"}) {
        auto image = content.set<Component::Image>(window, "image", 400, 300);
        image->on() = false;
    }
    content.set<Component::Code>("lock_window", "code");
}

void nothing(Content&) {}

// The running action is "crate_use": the player is using the crate.
void player_uses_crate(Content& c) {
    c.set<Component::Variable>("Character", "action",
                               c.get<Component::Action>("crate_use", "action"));
}

Status top(const Content& c) { return c.get<Component::Status>("Game", "status")->value(); }

const std::vector<Step_case>& play_step_cases() {
    static const std::vector<Step_case> cases = {
        {"a sound outside a player's action plays centred",
         nothing,
         "play",
         {"gull"},
         1.0,
         {},
         [](Content& c) {
             EXPECT_TRUE(c.signal("gull", "play_sound"));
             const auto panning = c.get<Component::Simple<double>>("gull", "panning");
             EXPECT_DOUBLE_EQ(panning->value(), 0.5);
             EXPECT_FALSE(panning->was_altered());
         }},
        {"a sound of an action on an object comes from the object's side",
         player_uses_crate,
         "play",
         {"gull", "ignored"},
         1.0,
         {},
         [](Content& c) {
             EXPECT_TRUE(c.signal("gull", "play_sound"));
             const auto panning = c.get<Component::Simple<double>>("gull", "panning");
             // the crate at x 1500 with the camera at 960: 540 pixels into the view
             EXPECT_DOUBLE_EQ(panning->value(), 1 - 540.0 / 1920);
             EXPECT_TRUE(panning->was_altered());
         }},
        {"a sound of an action whose object has no position plays centred",
         [](Content& c) {
             auto look = c.set<Component::Action>("sky_look", "action");
             c.set<Component::Variable>("Character", "action", look);
         },
         "play",
         {"gull"},
         1.0,
         {},
         [](Content& c) {
             EXPECT_DOUBLE_EQ(c.get<Component::Simple<double>>("gull", "panning")->value(), 0.5);
         }},
        {"a music starts at once",
         nothing,
         "play",
         {"quay_music"},
         1.0,
         {},
         [](Content& c) {
             EXPECT_EQ(c.request<Component::Music>("Game", "music"),
                       c.get<Component::Music>("quay_music", "music"));
             EXPECT_TRUE(c.signal("Music", "start"));
             EXPECT_FALSE(c.request<Component::Base>("Music", "fade"));
         }},
        {"a music with a duration fades in",
         nothing,
         "play",
         {"quay_music", "2.5"},
         4.0,
         {},
         [](Content& c) {
             EXPECT_EQ(c.request<Component::Music>("Game", "music"),
                       c.get<Component::Music>("quay_music", "music"));
             EXPECT_EQ((c.get<Component::Tuple<double, double, bool>>("Music", "fade")->value()),
                       std::make_tuple(4.0, 6.5, true));
             EXPECT_FALSE(c.signal("Music", "start"));
         }},
        {"a music with three arguments ignores the third and starts at once",
         nothing,
         "play",
         {"quay_music", "2.5", "x"},
         4.0,
         {},
         [](Content& c) {
             EXPECT_TRUE(c.signal("Music", "start"));
             EXPECT_FALSE(c.request<Component::Base>("Music", "fade"));
         }},
        {"a looping animation starts and records the state Dummy",
         nothing,
         "play",
         {"waves"},
         1.0,
         {},
         [](Content& c) {
             EXPECT_TRUE(c.signal("waves", "start_animation"));
             EXPECT_EQ(c.value<Text>("waves", "state", ""), "Dummy");
         }},
        {"an animation that plays once holds the action until its last frame",
         nothing,
         "play",
         {"splash"},
         1.0,
         {{0.0, "splash:image", "Animation"}},
         [](Content& c) {
             EXPECT_TRUE(c.signal("splash", "start_animation"));
             EXPECT_FALSE(c.request<Component::Base>("splash", "state"));
         }},
        {"a player's animation with a duration holds the action, then ends",
         nothing,
         "play",
         {"hands_on_hips", "3"},
         10.0,
         {{13.0, "mara:stop_animation", "Signal"}},
         [](Content& c) {
             EXPECT_EQ(c.value<Text>("mara", "start_animation", ""), "hands_on_hips");
             EXPECT_TRUE(c.signal("mara", "stop_walking"));
             EXPECT_FALSE(c.request<Component::Base>("mara", "path")) << "the walk stops";
             EXPECT_FALSE(c.signal("mara", "stop_animation")) << "not before its time";
         }},
        {"a character's animation of no duration plays until a stop",
         nothing,
         "play",
         {"ferran", "down", "0"},
         10.0,
         {},
         [](Content& c) {
             EXPECT_EQ(c.value<Text>("ferran", "start_animation", ""), "down");
             EXPECT_TRUE(c.signal("ferran", "stop_walking"));
             EXPECT_TRUE(c.request<Component::Base>("mara", "path")) << "the player walks on";
         }},
        {"pause freezes an animation",
         nothing,
         "pause",
         {"waves"},
         1.0,
         {},
         [](Content& c) { EXPECT_TRUE(c.signal("waves", "pause")); }},
        {"set12fps asks for the state at the next animation frame",
         [](Content& c) { c.set<Text>("tower_door", "state", "closed"); },
         "set12fps",
         {"tower_door", "open"},
         1.0,
         {},
         [](Content& c) {
             EXPECT_EQ(c.value<Text>("tower_door", "set_state", ""), "open");
             EXPECT_EQ(c.value<Text>("tower_door", "state", ""), "closed");
         }},
        {"show of a group shows its images at the next animation frame",
         nothing,
         "show",
         {"ferran"},
         1.0,
         {},
         [](Content& c) { EXPECT_TRUE(c.signal("ferran", "set_visible")); }},
        {"show of an image switches it on at once",
         nothing,
         "show",
         {"title"},
         1.0,
         {},
         [](Content& c) {
             EXPECT_TRUE(c.get<Component::Image>("title", "image")->on());
             EXPECT_EQ(top(c), Status::IDLE);
         }},
        {"show of a window opens it and pushes in_window",
         nothing,
         "show",
         {"note_sheet"},
         1.0,
         {},
         [](Content& c) {
             const auto window = c.get<Component::Image>("note_sheet", "image");
             EXPECT_FALSE(window->on()) << "the screen interface switches it on";
             EXPECT_EQ(c.request<Component::Image>("Game", "window"), window);
             EXPECT_TRUE(c.signal("Interface", "show_window"));
             EXPECT_EQ(top(c), Status::IN_WINDOW);
             EXPECT_FALSE(c.request<Component::Base>("Game", "code"));
         }},
        {"show of a code lock's window pushes in_code",
         nothing,
         "show",
         {"lock_window"},
         1.0,
         {},
         [](Content& c) {
             EXPECT_EQ(c.request<Component::Image>("Game", "window"),
                       c.get<Component::Image>("lock_window", "image"));
             EXPECT_TRUE(c.signal("Interface", "show_window"));
             EXPECT_EQ(top(c), Status::IN_CODE);
             EXPECT_EQ(c.request<Component::Code>("Game", "code"),
                       c.get<Component::Code>("lock_window", "code"));
         }},
    };
    return cases;
}

TEST_F(Logic_steps_test, ShowPlayPauseAndSet12fpsSteps) {
    run_step_cases(play_step_cases(), [](Content& store) {
        store.set_fac<Component::Absolute_position>(Fast_access_component::CAMERA_POSITION,
                                                    "Camera", "position", Point(960, 0), false);
        auto stack =
            store.set_fac<Component::Status>(Fast_access_component::GAME_STATUS, "Game", "status");
        stack->pop(); // IDLE, as in play
        add_items(store);
    });
}

} // namespace
} // namespace Orvane::Test
