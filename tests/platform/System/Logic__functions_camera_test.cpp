#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>

#include "support/Logic_world_fixture.h"

namespace Orvane::Test {
namespace {

using Move = Component::Tuple<Point, Point, int, int, double, double>;
using Move60fps = Component::Tuple<Point, Point, double, double>;
using Rescale = Component::Tuple<double, double, double, double>;
using Schedule = std::vector<std::pair<double, std::string>>;

/// One step applied to a fresh store: the store set up, the step, the time, and what the store
/// and the schedule of the running action hold afterwards.
struct Camera_case {
    const char* name;
    std::function<void(Logic_world&)> before;
    std::string keyword;
    std::vector<std::string> args;
    double now;
    std::function<void(Logic_world&)> after;
    Schedule scheduled;
};

class Logic_camera_steps : public Sdl_test {
  protected:
    void run_cases(const std::vector<Camera_case>& cases) {
        for (const Camera_case& c : cases) {
            SCOPED_TRACE(c.name);
            Logic_world world;
            if (c.before)
                c.before(world);
            world.at(c.now);
            EXPECT_TRUE(world.logic->step_handlers.at(c.keyword)(c.args))
                << "every step of this kind lets the action go on in the same frame";
            c.after(world);
            // entries of one time are ordered by address: compare them by name
            Schedule got = Logic_world::schedule_of(*world.script);
            Schedule expected = c.scheduled;
            auto by_name = [](const auto& a, const auto& b) { return a.second < b.second; };
            std::stable_sort(got.begin(), got.end(), by_name);
            std::stable_sort(expected.begin(), expected.end(), by_name);
            ASSERT_EQ(got.size(), expected.size());
            for (std::size_t i = 0; i < got.size(); ++i) {
                EXPECT_EQ(got[i].second, expected[i].second);
                EXPECT_NEAR(got[i].first, expected[i].first, 1e-9) << got[i].second;
            }
        }
    }
};

TEST_F(Logic_camera_steps, Camera) {
    auto camera_at = [](double x, double y) {
        return [x, y](Logic_world& w) {
            EXPECT_EQ(w.position("Camera"), Point(x, y));
            EXPECT_FALSE(w.content.request<Component::Base>("Camera", "move60fps"));
        };
    };
    auto glides_to = [](double x, double y) {
        return [x, y](Logic_world& w) {
            EXPECT_EQ(w.position("Camera"), Point(10, 20)) << "the glide has not begun";
            auto glide = w.content.get<Component::GUI_position_animation>("Camera", "animation");
            EXPECT_DOUBLE_EQ(glide->start(), 4.0);
            EXPECT_DOUBLE_EQ(glide->end(), 5.0);
            glide->finalize();
            EXPECT_EQ(w.position("Camera"), Point(x, y));
        };
    };
    auto from_10_20 = [](Logic_world& w) { w.camera->set(Point(10, 20)); };
    run_cases({
        {"one argument: a one-second glide to (x, 0)",
         from_10_20,
         "camera",
         {"500"},
         4.0,
         glides_to(500, 0),
         {}},
        {"two arguments: a glide to (x, y)",
         from_10_20,
         "camera",
         {"500", "200"},
         4.0,
         glides_to(500, 200),
         {}},
        {"a duration of 0: at once",
         from_10_20,
         "camera",
         {"500", "200", "0"},
         4.0,
         camera_at(500, 200),
         {}},
        {"numbers are read as integers",
         nullptr,
         "camera",
         {"500.7", "-3", "0"},
         4.0,
         camera_at(500, -3),
         {}},
        {"a duration: a move every display frame that holds the action",
         from_10_20,
         "camera",
         {"500", "200", "2"},
         4.0,
         [](Logic_world& w) {
             EXPECT_EQ(w.position("Camera"), Point(10, 20));
             auto move = w.content.get<Move60fps>("Camera", "move60fps");
             EXPECT_EQ(move->value(), std::make_tuple(Point(10, 20), Point(500, 200), 4.0, 6.0));
         },
         {{6.0, "Camera:dummy"}}},
    });
}

TEST_F(Logic_camera_steps, Zoom) {
    run_cases({
        {"one argument: at once",
         nullptr,
         "zoom",
         {"2"},
         1.0,
         [](Logic_world& w) {
             EXPECT_DOUBLE_EQ(w.zoom->value(), 2.0);
             EXPECT_TRUE(w.zoom->was_altered()) << "a zoom set by a script is saved";
             EXPECT_FALSE(w.content.request<Component::Base>("Camera", "change_zoom"));
         },
         {}},
        {"a duration: the change is requested, the zoom is untouched",
         [](Logic_world& w) { w.zoom->set(1.5); },
         "zoom",
         {"2", "3"},
         1.0,
         [](Logic_world& w) {
             EXPECT_DOUBLE_EQ(w.zoom->value(), 1.5);
             auto change = w.content.get<Component::Array<double, 4>>("Camera", "change_zoom");
             EXPECT_EQ(change->value(), (std::array<double, 4>{1.5, 2.0, 1.0, 4.0}));
         },
         {{4.0, "Camera_zoom:dummy"}}},
    });
}

TEST_F(Logic_camera_steps, MoveOfAnItem) {
    auto box = [](Logic_world& w) { w.item("box", 10, 20, 30); };
    run_cases({
        {"four arguments: position and depth at once",
         box,
         "move",
         {"box", "100", "200", "40"},
         3.1,
         [](Logic_world& w) {
             EXPECT_EQ(w.position("box"), Point(100, 200));
             EXPECT_EQ(w.content.get<Component::Image>("box", "image")->z(), 40);
             EXPECT_FALSE(w.content.request<Component::Base>("box", "move"));
         },
         {}},
        {"a duration: from the start of the animation frame, the request one frame past the end",
         box,
         "move",
         {"box", "100", "200", "40", "2"},
         3.1,
         [](Logic_world& w) {
             EXPECT_EQ(w.position("box"), Point(10, 20)) << "the animation system moves it";
             auto move = w.content.get<Move>("box", "move");
             const double start = 37.0 / 12; // frame 37 holds 3.1
             EXPECT_EQ(std::get<0>(move->value()), Point(10, 20));
             EXPECT_EQ(std::get<1>(move->value()), Point(100, 200));
             EXPECT_EQ(std::get<2>(move->value()), 30);
             EXPECT_EQ(std::get<3>(move->value()), 40);
             EXPECT_NEAR(std::get<4>(move->value()), start, 1e-9);
             EXPECT_NEAR(std::get<5>(move->value()), start + 2, 1e-9);
         },
         {{37.0 / 12 + 2, "Dummy:event"}, {37.0 / 12 + 2 + 1.0 / 12, "box:move"}}},
    });
}

TEST_F(Logic_camera_steps, MoveOfACharacter) {
    auto bob = [](Logic_world& w) {
        w.character("bob", 10, 20);
        w.walk("bob", {Point(10, 20), Point(300, 400)});
    };
    auto fixed_depth = [](int z, bool rescaled) {
        return [z, rescaled](Logic_world& w) {
            EXPECT_EQ(w.content.get<Component::Simple<int>>("bob", "z")->value(), z);
            EXPECT_EQ(w.content.request<Component::Base>("bob", "z_rescaled") != nullptr, rescaled);
        };
    };
    auto placed = [](Point at, Point lookat) {
        return [at, lookat](Logic_world& w) {
            EXPECT_EQ(w.position("bob"), at);
            EXPECT_FALSE(w.content.request<Component::Base>("bob", "path"))
                << "the walk in progress stops";
            EXPECT_EQ(w.content.get<Component::Position>("bob", "lookat")->value(), lookat)
                << "faces " << (lookat == Point::right() ? "right" : "left");
            EXPECT_TRUE(w.content.signal("bob", "needs_rescale"));
            EXPECT_FALSE(w.content.request<Component::Base>("bob", "move"))
                << "a character is never moved over time";
        };
    };
    run_cases({
        {"four arguments: the ground map decides the depth again",
         [bob](Logic_world& w) {
             bob(w);
             w.content.set<Component::Simple<int>>("bob", "z", 500);
             w.content.set<Component::Base>("bob", "z_rescaled");
         },
         "move",
         {"bob", "100", "200", "true"},
         1.0,
         [placed](Logic_world& w) {
             placed(Point(100, 200), Point::right())(w);
             EXPECT_FALSE(w.content.request<Component::Base>("bob", "z"));
             EXPECT_FALSE(w.content.request<Component::Base>("bob", "z_rescaled"));
         },
         {}},
        {"five arguments, a relative depth: z and the rescaling marker",
         bob,
         "move",
         {"bob", "100", "200", "+10", "false"},
         1.0,
         [placed, fixed_depth](Logic_world& w) {
             placed(Point(100, 200), Point::left())(w);
             fixed_depth(10, true)(w);
         },
         {}},
        {"an absolute depth after a relative one drops the rescaling marker",
         [bob](Logic_world& w) {
             bob(w);
             w.content.set<Component::Simple<int>>("bob", "z", 10);
             w.content.set<Component::Base>("bob", "z_rescaled");
         },
         "move",
         {"bob", "100", "200", "2000", "true"},
         1.0,
         [placed, fixed_depth](Logic_world& w) {
             placed(Point(100, 200), Point::right())(w);
             fixed_depth(2000, false)(w);
         },
         {}},
        {"without a group nothing is turned",
         [](Logic_world& w) {
             w.character("bob", 10, 20);
             w.content.remove("bob", "group");
             w.content.remove("bob", "lookat");
         },
         "move",
         {"bob", "100", "200", "true"},
         1.0,
         [](Logic_world& w) {
             EXPECT_EQ(w.position("bob"), Point(100, 200));
             EXPECT_FALSE(w.content.request<Component::Base>("bob", "lookat"));
         },
         {}},
    });
}

TEST_F(Logic_camera_steps, Rescale) {
    auto box = [](Logic_world& w) { w.item("box", 10, 20, 30)->set_scale(0.5); };
    auto request = [](double start, double end) {
        return [start, end](Logic_world& w) {
            EXPECT_DOUBLE_EQ(w.content.get<Component::Image>("box", "image")->scale(), 0.5);
            auto rescale = w.content.get<Rescale>("box", "rescale");
            EXPECT_DOUBLE_EQ(std::get<0>(rescale->value()), 0.5);
            EXPECT_DOUBLE_EQ(std::get<1>(rescale->value()), 2.0);
            EXPECT_NEAR(std::get<2>(rescale->value()), start, 1e-9);
            EXPECT_NEAR(std::get<3>(rescale->value()), end, 1e-9);
        };
    };
    run_cases({
        {"two arguments: at once",
         box,
         "rescale",
         {"box", "2"},
         10.03,
         [](Logic_world& w) {
             EXPECT_DOUBLE_EQ(w.content.get<Component::Image>("box", "image")->scale(), 2.0);
             EXPECT_FALSE(w.content.request<Component::Base>("box", "rescale"));
         },
         {}},
        {"one second at 10.03: 12 frames from 10.0, ending at 11.0417",
         box,
         "rescale",
         {"box", "2", "1"},
         10.03,
         request(10.0, 10.0 + 12.5 / 12),
         {{10.0 + 12.5 / 12, "Dummy:event"}, {10.0 + 12.5 / 12, "box:rescale"}}},
        {"0.02 seconds: no whole frame, half a frame past the start",
         box,
         "rescale",
         {"box", "2", "0.02"},
         10.03,
         request(10.0, 10.0 + 0.5 / 12),
         {{10.0 + 0.5 / 12, "Dummy:event"}, {10.0 + 0.5 / 12, "box:rescale"}}},
    });
}

} // namespace
} // namespace Orvane::Test
