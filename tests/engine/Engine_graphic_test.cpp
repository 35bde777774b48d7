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
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;
using Test::build_folder;
using Test::sample_data;
using Test::sample_stage;

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

struct Rgba {
    int r = 0;
    int g = 0;
    int b = 0;
    int a = 255;
};

// The whole view as drawn, row by row.
struct Screen {
    std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(1920 * 1080);
    Screen() {
        SDL_RenderReadPixels(Third_party::SDL::m_renderer, nullptr, SDL_PIXELFORMAT_ARGB8888,
                             pixels.data(), 1920 * 4);
    }
    Rgba at(int x, int y) const {
        const std::uint32_t p = pixels[std::size_t(y) * 1920 + std::size_t(x)];
        return {int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255)};
    }
};

// A picture the generator wrote.
struct Picture {
    Packer::Image image;
    explicit Picture(const std::string& file)
        : image(Packer::read_png(sample_stage() + "/" + file)) {}
    Rgba at(int x, int y) const {
        const unsigned char* p = &image.pixels[(std::size_t(y) * image.width + std::size_t(x)) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
    // Opaque and of one colour over the 3 x 3 pixels around (x, y): the sampling of a scaled
    // copy cannot change it.
    bool flat(int x, int y) const {
        if (x < 1 || y < 1 || x + 1 >= int(image.width) || y + 1 >= int(image.height))
            return false;
        const Rgba c = at(x, y);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const Rgba o = at(x + dx, y + dy);
                if (o.r != c.r || o.g != c.g || o.b != c.b || o.a != 255)
                    return false;
            }
        return true;
    }
};

// A screen point and the colour expected there.
struct Probe {
    int x;
    int y;
    Rgba expected;
};

const System::Graphic::Entry* find(const System::Graphic::Render_list& list,
                                   const std::string& entity) {
    for (const auto& e : list)
        if (e.image->entity() == entity)
            return &e;
    return nullptr;
}

// Up to `count` screen points where the entry of `entity` shows a flat, opaque part of its
// picture and no later entry of the list covers it, spread over the entry's visible part.
std::vector<Probe> probes(const System::Graphic::Render_list& list, const std::string& entity,
                          const Picture& picture, std::size_t count) {
    std::vector<Probe> out;
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const auto& e) { return e.image->entity() == entity; });
    if (it == list.end())
        return out;
    const auto& e = *it;
    const auto& image = *e.image;
    const int left = std::max(0, int(e.x0) + 2);
    const int top = std::max(0, int(e.y0) + 2);
    const int right = std::min(1919, int(e.x1) - 2);
    const int bottom = std::min(1079, int(e.y1) - 2);
    const int step = std::max(7, std::min(right - left, bottom - top) / 9);
    for (int y = top; y <= bottom && out.size() < count; y += step) {
        for (int x = left; x <= right && out.size() < count; x += step) {
            const bool covered = std::any_of(it + 1, list.end(), [&](const auto& o) {
                return x >= o.x0 - 2 && x <= o.x1 + 2 && y >= o.y0 - 2 && y <= o.y1 + 2;
            });
            if (covered)
                continue;
            // the picture pixel under the centre of screen pixel (x, y)
            const int u = image.xmin() + int((x + 0.5 - e.x0) / (e.x1 - e.x0) * image.width());
            const int v = image.ymin() + int((y + 0.5 - e.y0) / (e.y1 - e.y0) * image.height());
            if (!picture.flat(u, v))
                continue;
            out.push_back({x, y, picture.at(u, v)});
        }
    }
    return out;
}

// The colour at each probe is the expected one, darkened by a black layer of opacity `black`.
void expect_probes(const Screen& screen, const std::vector<Probe>& points, int black = 0) {
    for (const Probe& p : points) {
        const Rgba got = screen.at(p.x, p.y);
        const auto dim = [&](int c) { return c * (255 - black) / 255; };
        SCOPED_TRACE("at (" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")");
        EXPECT_NEAR(got.r, dim(p.expected.r), 2);
        EXPECT_NEAR(got.g, dim(p.expected.g), 2);
        EXPECT_NEAR(got.b, dim(p.expected.b), 2);
    }
}

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
        ASSERT_NE(find(list, p.entity), nullptr);
        const auto points = probes(list, p.entity, Picture(p.file), 6);
        ASSERT_GE(points.size(), p.at_least) << "too few flat points left uncovered";
        expect_probes(screen, points, black);
    }
}

TEST_F(Engine_graphic_test, QuayShowsTheGeneratorsColours) {
    frame();
    const auto* arrow = find(list, "Right_arrow");
    ASSERT_NE(arrow, nullptr);
    EXPECT_DOUBLE_EQ(arrow->x1, 1900) << "anchored by its right edge at x 1900";
    expect_quay(*screen, list);
}

TEST_F(Engine_graphic_test, CameraMovedAndZoomTwo) {
    Content& content = engine.content();
    frame();
    const System::Graphic::Entry arrow = *find(list, "Right_arrow");
    const System::Graphic::Entry crate = *find(list, "floating_crate");

    content.get<Component::Position>("Camera", "position")->set(Point(700, 300));
    content.get<Component::Simple<double>>("Camera", "zoom")->set(2.0);
    frame();
    const auto* background = find(list, "background");
    ASSERT_NE(background, nullptr);
    EXPECT_DOUBLE_EQ(background->x0, -1400);
    EXPECT_DOUBLE_EQ(background->y0, -600);
    const auto* zoomed = find(list, "floating_crate");
    ASSERT_NE(zoomed, nullptr);
    EXPECT_DOUBLE_EQ(zoomed->x0, 2 * (crate.x0 - 700));
    EXPECT_DOUBLE_EQ(zoomed->y1, 2 * (crate.y1 - 300));
    const auto* still = find(list, "Right_arrow");
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
