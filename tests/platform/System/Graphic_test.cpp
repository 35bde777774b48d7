#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Path.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Graphic.h>
#include <Orvane/Utils/Clock.h>

#include "support/Sdl_fixture.h"

namespace Orvane::System {
namespace {

using Orvane::Test::Rgb;

TEST(Graphic_systemDeathTest, WindowNeedsEverySetting) {
    struct Case {
        const char* message;
        std::function<void(Content&)> settings;
    };
    const std::vector<Case> cases = {
        {"Cannot find Window:width", [](Content&) {}},
        {"Cannot find Window:height",
         [](Content& c) { c.set<Component::Simple<int>>("Window", "width", 800); }},
        {"Cannot find Window:fullscreen",
         [](Content& c) {
             c.set<Component::Simple<int>>("Window", "width", 800);
             c.set<Component::Simple<int>>("Window", "height", 600);
         }},
        {"Cannot find Window:fullscreen", // present, but not a Boolean
         [](Content& c) {
             c.set<Component::Simple<int>>("Window", "width", 800);
             c.set<Component::Simple<int>>("Window", "height", 600);
             c.set<Component::Simple<int>>("Window", "fullscreen", 0);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Content content;
        c.settings(content);
        Graphic graphic(content);
        EXPECT_EXIT(graphic.init(), ::testing::ExitedWithCode(1), c.message);
    }
}

/// A graphic system with its 1920 x 1080 dummy window, the camera at (0, 0) unzoomed, a red
/// 100 x 100 spinner centred on (960, 540) and a green room picture over the whole view. Frames
/// are drawn but not shown, so that they can be read back; the support address is noted.
class Graphic_window_test : public ::testing::Test {
  protected:
    void SetUp() override {
        Orvane::Test::load_packages(Orvane::Test::window_packages());
        content.set<Component::Simple<int>>("Window", "width", 1920);
        content.set<Component::Simple<int>>("Window", "height", 1080);
        content.set<Component::Boolean>("Window", "fullscreen", false);
        content.set_fac<Component::Status>(Fast_access_component::GAME_STATUS, "Game", "status");
        camera = content.set_fac<Component::Absolute_position>(
            Fast_access_component::CAMERA_POSITION, "Camera", "position", Point(0, 0), false);
        zoom = content.set_fac<Component::Simple<double>>(Fast_access_component::CAMERA_ZOOM,
                                                          "Camera", "zoom", 1.0);
        graphic = std::make_unique<Graphic>(content);
        graphic->init();
        graphic->set_presenter([this] { ++presented; });
        graphic->set_browser([this](const std::string& url) { browsed.push_back(url); });

        auto spin =
            content.set_fac<Component::Image>(Fast_access_component::LOADING_SPIN_IMAGE,
                                              "Loading_spin", "image", 100, 100, 255, 0, 0, 255);
        spin->set_relative_origin(0.5, 0.5);
        spin->on() = false; // the loading screen draws it whatever its flag
        content.set_fac<Component::Absolute_position>(Fast_access_component::LOADING_SPIN_POSITION,
                                                      "Loading_spin", "position", Point(960, 540));
        auto room =
            content.set<Component::Image>("background", "image", 1920, 1080, 0, 255, 0, 255);
        room->z() = 0;
        content.set<Component::Absolute_position>("background", "position", Point(0, 0), false);
    }

    static Rgb pixel(int x, int y) {
        Uint32 raw = 0;
        SDL_Rect rect{x, y, 1, 1};
        SDL_RenderReadPixels(Third_party::SDL::m_renderer, &rect, SDL_PIXELFORMAT_ARGB8888, &raw,
                             4);
        return {int(raw >> 16 & 255), int(raw >> 8 & 255), int(raw & 255)};
    }

    Clock debug_clock;
    Content content;
    std::shared_ptr<Component::Absolute_position> camera;
    std::shared_ptr<Component::Simple<double>> zoom;
    std::unique_ptr<Graphic> graphic;
    int presented = 0;
    std::vector<std::string> browsed;
};

const Rgb black{0, 0, 0};
const Rgb red{255, 0, 0};
const Rgb green{0, 255, 0};

TEST_F(Graphic_window_test, PendingRoomShowsOnlyTheSpinnerAndWindowSignalsWait) {
    content.set<Component::Simple<std::string>>("Game", "new_room", "hall");
    content.set<Component::Simple<std::string>>("Support_url", "text", "https://example.org/help");
    for (const char* signal : {"rescaled", "toggle_fullscreen"})
        content.emit("Window", signal);
    for (const char* signal : {"clear_managers", "support"})
        content.emit("Game", signal);

    graphic->run();
    EXPECT_EQ(presented, 1);
    EXPECT_EQ(pixel(960, 540), red);
    EXPECT_EQ(pixel(911, 491), red);
    EXPECT_EQ(pixel(905, 540), black) << "the spinner is 100 pixels wide, centred";
    EXPECT_EQ(pixel(100, 100), black) << "the room is not drawn while it loads";
    EXPECT_TRUE(content.signal("Window", "rescaled"));
    EXPECT_TRUE(content.signal(Key::window_toggle_fullscreen));
    EXPECT_TRUE(content.signal("Game", "clear_managers"));
    EXPECT_TRUE(content.signal(Key::game_support));
    EXPECT_TRUE(browsed.empty());

    content.remove("Game", "new_room");
    graphic->run();
    EXPECT_EQ(presented, 2);
    EXPECT_EQ(pixel(100, 100), green);
    EXPECT_EQ(pixel(960, 540), green) << "the spinner is off outside the loading screen";
    for (const char* signal : {"rescaled", "toggle_fullscreen"})
        EXPECT_FALSE(content.signal("Window", signal)) << signal;
    for (const char* signal : {"clear_managers", "support"})
        EXPECT_FALSE(content.signal("Game", signal)) << signal;
    EXPECT_EQ(browsed, (std::vector<std::string>{"https://example.org/help"}));
}

TEST_F(Graphic_window_test, NameChangeRetitlesTheWindowEvenWhileLoading) {
    content.set<Component::Simple<std::string>>("Game", "new_room", "hall");
    content.set<Component::Simple<std::string>>("Game", "name", "The Hall");
    content.set<Component::Simple<std::string>>("Icon", "filename", "images/interface/icon.png");
    content.emit("Game", "name_changed");
    graphic->run();
    EXPECT_STREQ(SDL_GetWindowTitle(Third_party::SDL::m_window), "The Hall");
    EXPECT_FALSE(content.signal("Game", "name_changed"));
}

TEST_F(Graphic_window_test, ZoomAndCameraMoveRoomPicturesNotInterfaceOnes) {
    auto post = content.set<Component::Image>("post", "image", 40, 200, 255, 0, 0, 255);
    post->z() = 10;
    content.set<Component::Absolute_position>("post", "position", Point(1000, 100), false);
    auto button = content.set<Component::Image>("Button", "image", 20, 20, 0, 0, 255, 255);
    content.set<Component::Absolute_position>("Button", "position", Point(10, 10), true);

    camera->set(Point(500, 0));
    zoom->set(2.0);
    graphic->run();
    // the post spans x 1000..1080 and y 200..600 on screen
    EXPECT_EQ(pixel(1001, 201), red);
    EXPECT_EQ(pixel(1078, 598), red);
    EXPECT_EQ(pixel(1082, 400), green);
    EXPECT_EQ(pixel(1040, 602), green);
    EXPECT_EQ(pixel(15, 15), (Rgb{0, 0, 255})) << "interface pictures stay where they are";
    EXPECT_EQ(pixel(35, 15), green);
}

TEST_F(Graphic_window_test, ReachBoxesOnlyForLabelsThatAreOn) {
    Clock clock;
    auto debug = content.set_fac<Component::Debug>(Fast_access_component::GAME_DEBUG, "Game",
                                                   "debug", content, clock);
    debug->set(true);
    content.remove("background", "image");
    auto label = content.set<Component::Image>("rope_label", "image", 10, 10, 0, 0, 0, 0);
    content.set<Component::Absolute_position>("rope_label", "position", Point(5, 5), true);
    content.set<Component::Simple<std::string>>("rope", "name", "Rope");
    content.set<Component::Absolute_position>("rope", "view", Point(500, 500), false);
    content.set<Component::Simple<double>>("rope", "reach_factor", 0.5);
    camera->set(Point(100, 0));
    zoom->set(2.0); // the overlay ignores the zoom

    graphic->run();
    // a white box of alpha 92, 250 x 100, centred on (400, 500)
    const Rgb box{92, 92, 92};
    EXPECT_EQ(pixel(400, 500), box);
    EXPECT_EQ(pixel(277, 452), box);
    EXPECT_EQ(pixel(272, 500), black);
    EXPECT_EQ(pixel(400, 448), black);

    label->on() = false;
    graphic->run();
    EXPECT_EQ(pixel(400, 500), black) << "an image that is off gives no reach box";

    label->on() = true;
    debug->set(false);
    graphic->run();
    EXPECT_EQ(pixel(400, 500), black) << "no overlay while debugging is off";
}

TEST_F(Graphic_window_test, DebugOverlayDrawsPathsFromTheBody) {
    Clock clock;
    content
        .set_fac<Component::Debug>(Fast_access_component::GAME_DEBUG, "Game", "debug", content,
                                   clock)
        ->set(true);
    content.remove("background", "image");
    std::vector<Point> points{{100, 100}, {300, 100}, {300, 400}};
    auto path = content.set<Component::Path>("mara", "path", points);
    path->current() = 1;
    content.set<Component::Absolute_position>("mara_body", "position", Point(200, 300), false);
    camera->set(Point(50, 0));

    graphic->run();
    EXPECT_EQ(pixel(150, 300), green) << "a square on the body";
    EXPECT_EQ(pixel(50, 100), black) << "points before the current one are left out";
    EXPECT_EQ(pixel(250, 100), green);
    EXPECT_EQ(pixel(250, 250), green) << "on the line between the next two points";
    EXPECT_EQ(pixel(250, 400), green);
}

using Graphic_windowDeathTest = Graphic_window_test;

TEST_F(Graphic_windowDeathTest, MissingComponentsThatAFrameNeeds) {
    struct Case {
        const char* message;
        std::function<void(Content&)> set_up;
    };
    const std::vector<Case> cases = {
        {"Cannot find lost:position",
         [](Content& c) { c.set<Component::Image>("lost", "image", 10, 10, 0, 0, 0, 255); }},
        {"Cannot find Icon:filename",
         [](Content& c) {
             c.set<Component::Simple<std::string>>("Game", "name", "The Hall");
             c.emit("Game", "name_changed");
         }},
        {"Cannot find Window:fullscreen",
         [](Content& c) {
             c.remove("Window", "fullscreen");
             c.emit(Key::window_toggle_fullscreen);
         }},
        {"Cannot find mara_body:position",
         [this](Content& c) {
             c.set<Component::Path>("mara", "path", Point(10, 10));
             c.set_fac<Component::Debug>(Fast_access_component::GAME_DEBUG, "Game", "debug", c,
                                         debug_clock)
                 ->set(true);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EXIT(
            {
                c.set_up(content);
                graphic->run();
            },
            ::testing::ExitedWithCode(1), c.message);
    }
}

} // namespace
} // namespace Orvane::System
