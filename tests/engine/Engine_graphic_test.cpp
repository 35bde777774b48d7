// The quay of the packed sample game (build/data) as the engine draws it, in this process on a
// 1920 x 1080 dummy window with the software renderer, read back from the renderer and compared
// with the pictures the sample's generator made (its staging folder). The game's scripts are
// left out, so that the view stays where the test puts it: the camera, the zoom and the black
// layer of the fades are set in the store directly between frames.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <Packer/Package_writer.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Engine.h>
#include <Orvane/System/Animation.h>
#include <Orvane/System/Control.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/System/Graphic.h>
#include <Orvane/System/Input.h>
#include <Orvane/System/Interface.h>
#include <Orvane/System/Menu.h>
#include <Orvane/System/Sound.h>
#include <Orvane/System/Time.h>
#include <Orvane/Third_party/SDL.h>

#include "support/Manual_clock.h"
#include "support/Sample_data.h"
#include "support/Screen_probes.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;
using Test::build_folder;
using Test::sample_data;
using Test::expect_probes;
using Test::find_entry;
using Test::Picture;
using Test::probes;
using Test::Screen;

// Scripts left out: no step moves the camera, fades or starts anything.
class Still_logic : public System::Base {
  public:
    using Base::Base;
    void run() override {}
};

class Drawing_engine : public Engine {
  public:
    Drawing_engine() : Engine(3, const_cast<char**>(args)) {
        set_clock(clock.source(), clock.sleeper());
    }

    Orvane::Test::Manual_clock clock;

  protected:
    Systems make_systems() override {
        Systems s = Engine::make_systems();
        s.logic = std::make_shared<Still_logic>(content());
        return s;
    }

  private:
    static constexpr const char* args[] = {"orvane", "--locale", "en_US"};
};

class Engine_graphic_test : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(build_folder().empty()) << "ORVANE_BUILD_DIR is not set: run through ctest";
        // a 1920 x 1080 window (not the full screen of the dummy display): view pixels one to one
        pref.write("config.yaml", "fullscreen: false\nwindow: [1920, 1080]\n");
        ASSERT_TRUE(engine.start_up(sample_data()));
        Content& content = engine.content();
        // frames until the quay has loaded and been drawn
        for (int frame = 0; frame < 30; ++frame) {
            engine.clock.now += 17;
            ASSERT_TRUE(engine.run());
            if (!content.request<Component::Simple<std::string>>("Game", "new_room") &&
                ++drawn == 2)
                break;
        }
        ASSERT_EQ(drawn, 2) << "the quay did not load within 30 frames";
        // the inventory bar opened over ten carried items, so that it stays in view with its
        // right arrow on: the player in the inventory, the pointer on the bar
        content.set<Component::Image>("probe_item", "image", "images/interface/inv_left.png",
                                      Config::INTERFACE_ITEMS);
        auto inventory = content.get<Component::Inventory>("Game", "inventory");
        for (int i = 0; i < 10; ++i)
            inventory->add("probe_item");
        content.request<Component::Status>(Fast_access_component::GAME_STATUS)
            ->push(Status::IN_INVENTORY);
        content.get<Component::Position>("Cursor", "position")->set(Point(960, 1000));
        content.get<Component::Position>("Inventory", "origin")->set(Point(0, 930));
    }
    void TearDown() override { engine.tear_down(); }

    // One more frame, then what it drew and its render list.
    void frame() {
        engine.clock.now += 17;
        ASSERT_TRUE(engine.run());
        screen = std::make_unique<Screen>();
        System::Graphic::build_render_list(engine.content(), System::camera_view(engine.content()),
                                           list);
    }

    Orvane::Test::Temp_pref_folder pref;
    Drawing_engine engine;
    int drawn = 0;
    std::unique_ptr<Screen> screen;
    System::Graphic::Render_list list;
};

// Points of the room's background, of the floating crate (scenery) and of the right arrow of
// the inventory bar (an interface picture) show the colours of their pictures.
void expect_quay(const Screen& screen, const System::Graphic::Render_list& list, int black = 0) {
    const struct {
        const char* entity;
        const char* file;
        std::size_t at_least;
    } pictures[] = {{"background", "images/backgrounds/quay.png", 3},
                    {"floating_crate", "images/scenery/floating_crate.png", 2},
                    {"Right_arrow", "images/interface/inv_right.png", 2}};
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.entity);
        ASSERT_NE(find_entry(list, p.entity), nullptr);
        const auto points = probes(list, p.entity, Picture(p.file), 6);
        ASSERT_GE(points.size(), p.at_least) << "too few flat points left uncovered";
        expect_probes(screen, points, black);
    }
}

TEST_F(Engine_graphic_test, QuayShowsTheGeneratorsColours) {
    frame();
    const auto* arrow = find_entry(list, "Right_arrow");
    ASSERT_NE(arrow, nullptr);
    EXPECT_DOUBLE_EQ(arrow->x1, 1900) << "anchored by its right edge at x 1900";
    expect_quay(*screen, list);
}

TEST_F(Engine_graphic_test, CameraMovedAndZoomTwo) {
    Content& content = engine.content();
    frame();
    const System::Graphic::Entry arrow = *find_entry(list, "Right_arrow");
    const System::Graphic::Entry crate = *find_entry(list, "floating_crate");

    content.get<Component::Position>("Camera", "position")->set(Point(700, 300));
    content.get<Component::Simple<double>>("Camera", "zoom")->set(2.0);
    frame();
    const auto* background = find_entry(list, "background");
    ASSERT_NE(background, nullptr);
    EXPECT_DOUBLE_EQ(background->x0, -1400);
    EXPECT_DOUBLE_EQ(background->y0, -600);
    const auto* zoomed = find_entry(list, "floating_crate");
    ASSERT_NE(zoomed, nullptr);
    EXPECT_DOUBLE_EQ(zoomed->x0, 2 * (crate.x0 - 700));
    EXPECT_DOUBLE_EQ(zoomed->y1, 2 * (crate.y1 - 300));
    const auto* still = find_entry(list, "Right_arrow");
    ASSERT_NE(still, nullptr);
    EXPECT_EQ(still->x0, arrow.x0);
    EXPECT_EQ(still->y0, arrow.y0);
    EXPECT_EQ(still->x1, arrow.x1);
    EXPECT_EQ(still->y1, arrow.y1);
    expect_quay(*screen, list);
}

TEST_F(Engine_graphic_test, HalfwayThroughAFadeIn) {
    auto black = engine.content().get<Component::Image>("Blackscreen", "image");
    black->on() = true;
    black->set_alpha(127);
    frame();
    // the points are chosen as if the layer were not there, and read darkened by it
    auto layer = std::find_if(list.begin(), list.end(),
                              [](const auto& e) { return e.image->entity() == "Blackscreen"; });
    ASSERT_NE(layer, list.end());
    EXPECT_EQ(layer->x0, 0);
    EXPECT_EQ(layer->x1, 1920);
    list.erase(layer);
    expect_quay(*screen, list, 127);
}

} // namespace
