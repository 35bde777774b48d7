// The step "talk" with real text images: how long a bubble stays, when the mouth stops, where
// the bubble goes on the screen and how a new bubble replaces the last one.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>

#include "support/Logic_world_fixture.h"

namespace {

using namespace Orvane;
using Orvane::Test::Logic_world;
using String = Component::Simple<std::string>;

/// A window, and a store with the speech settings (interface size 6, medium speed), Mara as
/// the player with a fixed label and Ferran with a label above his position, both with a head
/// to talk with; the camera at (960, 0).
class Logic_talk : public Orvane::Test::Sdl_test {
  protected:
    void SetUp() override {
        Sdl_test::SetUp();
        auto& c = w.content;
        c.set<Component::Font>("Dialog", "font", "fonts/DejaVuSans.ttf", 80);
        c.set<Component::Simple<int>>("Interface", "scale", 6);
        speed = c.set<Component::Simple<int>>("Dialog", "speed", 12);
        c.set<String>("mara", "color", "FFD23F");
        c.set<Component::Absolute_position>("mara", "label", Point(1400, 280), false);
        c.set<Component::Base>("mara_head", "image");
        c.set<String>("ferran", "color", "9EC9FF");
        c.set<Component::Absolute_position>("ferran", "position", Point(2000, 790), false);
        c.set<Component::Absolute_position>("ferran", "relative_label", Point(0, -560), false);
        c.set<Component::Base>("ferran_head", "image");
        w.camera->set(Point(960, 0));
        w.at(10);
    }

    bool talk(const std::vector<std::string>& args) {
        return w.logic->step_handlers.at("talk")(args);
    }
    std::shared_ptr<Component::Image> line(int n) {
        return w.content.request<Component::Image>("Comment_" + std::to_string(n), "image");
    }
    Point place(int n) {
        auto p =
            w.content.get<Component::Absolute_position>("Comment_" + std::to_string(n), "position");
        EXPECT_TRUE(p->is_interface()) << "a bubble is placed on the screen";
        return p->value();
    }

    Logic_world w;
    std::shared_ptr<Component::Simple<int>> speed;
};

TEST_F(Logic_talk, LifetimeAndTalkingTime) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int speed;
        std::string shown; // the text of the bubble
        double lifetime;
        std::string speaker; // who stops talking, 0.6 s in; empty: nobody
    };
    const std::string twelve = "Twelve bytes";
    const Case cases[] = {
        {"slow", {"ferran", twelve}, 18, twelve, 3.15, "ferran"},
        {"medium", {"ferran", twelve}, 12, twelve, 2.1, "ferran"},
        {"fast", {"ferran", twelve}, 9, twelve, 1.575, "ferran"},
        {"explicit 0.5 is raised to a second",
         {"ferran", twelve, "0.5"},
         12,
         twelve,
         1.0,
         "ferran"},
        {"explicit 3", {"ferran", twelve, "3"}, 18, twelve, 3.0, "ferran"},
        {"the player", {twelve}, 12, twelve, 2.1, "mara"},
        // the narrator's asterisks count: 14 bytes; he has no mouth to move
        {"Hinter", {"Hinter", twelve}, 12, "*" + twelve + "*", 2.2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w.script->reset_scheduled();
        w.content.remove("ferran", "start_talking", true);
        w.content.remove("mara", "start_talking", true);
        speed->set(c.speed);
        EXPECT_TRUE(talk(c.args));

        ASSERT_TRUE(line(0));
        EXPECT_FALSE(line(1));
        std::vector<std::pair<double, std::string>> expected = {
            {10 + c.lifetime, "Comment_0:image"}};
        if (!c.speaker.empty()) {
            expected.insert(expected.begin(), {10.6, c.speaker + ":stop_talking"});
            EXPECT_TRUE(w.content.signal(c.speaker, "start_talking"));
        }
        const auto schedule = Logic_world::schedule_of(*w.script);
        ASSERT_EQ(schedule.size(), expected.size());
        for (std::size_t i = 0; i < schedule.size(); ++i) {
            EXPECT_NEAR(schedule[i].first, expected[i].first, 1e-9) << expected[i].second;
            EXPECT_EQ(schedule[i].second, expected[i].second);
        }
        EXPECT_EQ(w.content.get<Component::Simple<double>>("Dialog", "creation_time")->value(),
                  10.0);
        // the shown text: as wide as a text image of it
        auto same = std::make_shared<Component::Image>(
            "x", "image", w.content.get<Component::Font>("Dialog", "font"), "FFFFFF", c.shown,
            true);
        EXPECT_EQ(line(0)->width(), same->width());
    }
}

TEST_F(Logic_talk, TheBubbleGoesAboveTheSpeakerOnTheScreen) {
    struct Case {
        const char* name;
        std::string speaker;
        double zoom;
        double body_scale; // 0: no body picture
        Point at;
    };
    const Case cases[] = {
        // (2000, 790 - 560) seen from the camera at (960, 0); one line, 60 pixels higher
        {"label above the position", "ferran", 1, 0, {1040, 170}},
        // the label offset grows with the body's scale
        {"scaled body", "ferran", 1, 0.5, {1040, 450}},
        // zoomed out, the top is kept at 100
        {"zoomed out", "ferran", 0.5, 0, {520, 100}},
        // the narrator speaks where the player would: her label (1400, 280)
        {"Hinter", "Hinter", 1, 0, {440, 220}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w.zoom->set(c.zoom);
        w.content.remove("ferran_body", "image", true);
        if (c.body_scale > 0)
            w.content.set<Component::Image>("ferran_body", "image", 10, 10)
                ->set_scale(c.body_scale);
        talk({c.speaker, "Hm."});
        EXPECT_EQ(place(0), c.at);
        EXPECT_DOUBLE_EQ(line(0)->scale(), 0.75);
        EXPECT_EQ(line(0)->z(), Config::Depth::DIALOG_LINES);
        EXPECT_EQ(line(0)->origin(), Point(line(0)->width() * 0.5, line(0)->height() * 0.5))
            << "centred on its position";
    }
}

TEST_F(Logic_talk, ALongLineIsCutAndANewBubbleReplacesTheOld) {
    // 71 bytes at interface size 6: 1331 estimated pixels, two lines
    const std::string long_text =
        "The keeper dropped the spare key off the quay, crate and all, last week";
    talk({"ferran", long_text});
    ASSERT_TRUE(line(0));
    ASSERT_TRUE(line(1));
    EXPECT_FALSE(line(2));
    const Point first = place(0);
    const Point second = place(1);
    EXPECT_EQ(first.x(), second.x()) << "lines share their x";
    EXPECT_EQ(second.y() - first.y(), 52) << "70 * 0.75 pixels apart";
    EXPECT_EQ(first.y(), 230 - 120);
    EXPECT_EQ(Logic_world::schedule_of(*w.script).size(), 3U) << "two lines and the stop";

    // the next line, at a later time, replaces both
    w.at(11);
    talk({"ferran", "Off you go."});
    EXPECT_TRUE(line(0));
    EXPECT_FALSE(line(1)) << "the second line of the last bubble stayed";
    EXPECT_EQ(w.content.get<Component::Simple<double>>("Dialog", "creation_time")->value(), 11.0);
}

} // namespace
