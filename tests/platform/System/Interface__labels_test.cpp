#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/System/Interface.h>

#include "support/Interface_fixture.h"

namespace Orvane::System {
namespace {

using Component::Collision_type;
using Component::Group;
using Component::Image;
using Component::Position;
using Type = Interface::Label_type;
using Style = Interface::Animation_style;
using Orientation = Interface::Button_orientation;

class Interface_labels_test : public Orvane::Test::Interface_fixture {
  protected:
    std::shared_ptr<Position> anchor_at(const Point& p) {
        return std::make_shared<Component::Absolute_position>("Anchor", "position", p);
    }
    // Runs the label's running animations to time t, as the animation system does.
    void animate_to(double t, const std::vector<std::string>& entities) {
        clock->set(t);
        for (const auto& entity : entities)
            if (auto a = content.request<Component::GUI_animation>(entity, "animation"))
                a->update(t);
    }
    // Draws an image where the graphic system would: its origin on its position, scaled.
    void draw(const std::string& entity) {
        auto image = content.get<Image>(entity, "image");
        const Point p = at(entity);
        const double scale = image->scale();
        sdl.draw(image->core(), image->alpha(), 0, 0, 0, image->width(), image->height(),
                 p.x() - image->origin().x() * scale, p.y() - image->origin().y() * scale,
                 image->width() * scale, image->height() * scale);
    }
};

TEST_F(Interface_labels_test, EndsWidthDepthsAlphasAndOffsetsByType) {
    struct Case {
        const char* name;
        Type type;
        std::string text;
        double k;
        Input_mode mode;
        bool choosing_second_object;
        int left;        // native width of the left end (0: none)
        int right;       // the same on the right
        int margin;      // half-width beyond half the text; -1: from the byte count
        int text_z;
        unsigned char back_alpha;
        unsigned char text_alpha;
        double text_shift; // text offset beyond the back's, in pixels
        double back_side;  // back offset in quarters of w: 0 centred, +1 right, -1 left
        double back_extra; // added to the back offset
    };
    const std::vector<Case> cases = {
        {"plain", Type::PLAIN, "look", 1, MOUSE, false, 50, 50, 20, 1000002, 100, 255, 0, 0, 0},
        {"opaque", Type::OPAQUE, "Tab", 1, MOUSE, false, 50, 50, -1, 1000003, 255, 255, 0, 0, 0},
        {"square", Type::SQUARE, "switch", 1, MOUSE, false, 0, 0, 60, 1000002, 100, 255, 0, 0, 0},
        {"open left", Type::OPEN_LEFT, "wide", 1, MOUSE, false, 0, 50, 40, 1000002, 100, 255, 5,
         1, 0},
        {"open right", Type::OPEN_RIGHT, "wide", 1, MOUSE, false, 50, 0, 40, 1000002, 100, 255,
         -5, -1, 0},
        {"right of button", Type::RIGHT_OF_BUTTON, "look", 1, MOUSE, false, 50, 50, 40, 1000002,
         100, 255, -5, 1, -25},
        {"left of button", Type::LEFT_OF_BUTTON, "take", 1, MOUSE, false, 50, 50, 40, 1000002,
         100, 255, 5, -1, 25},
        {"goto left, mouse", Type::GOTO_LEFT, "door", 1, MOUSE, false, 0, 50, 20, 1000002, 100,
         255, 0, 1, 0},
        {"goto left, controller", Type::GOTO_LEFT, "door", 1, GAMEPAD, false, 60, 50, 20,
         1000002, 100, 255, 30, 1, 0},
        {"goto right, mouse", Type::GOTO_RIGHT, "door", 1, MOUSE, false, 50, 0, 20, 1000002, 100,
         255, 0, -1, 0},
        {"goto right, touch", Type::GOTO_RIGHT, "door", 1, TOUCHSCREEN, false, 50, 60, 20,
         1000002, 100, 255, -30, -1, 0},
        {"second object", Type::PLAIN, "look", 1, MOUSE, true, 50, 50, 60, 1000002, 100, 255, 0,
         0, 0},
        {"second object, opaque", Type::OPAQUE, "Tab", 1, MOUSE, true, 50, 50, -1, 1000003, 255,
         255, 0, 0, 0},
        {"one letter", Type::PLAIN, "a", 1, MOUSE, false, 50, 50, -1, 1000002, 100, 255, 0, 0, 0},
        {"glyph", Type::OPAQUE, "Playstation_cross", 1, GAMEPAD, false, 50, 50, -1, 1000003, 255,
         255, 0, 0, 0},
        {"dimmed", Type::PLAIN, "lamp", 0.75, GAMEPAD, false, 50, 50, 20, 1000002, 100, 191, 0,
         0, 0},
        {"dimmed goto", Type::GOTO_LEFT, "lamp", 0.75, GAMEPAD, false, 60, 50, 20, 1000002, 100,
         191, 22.5, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mode->set(c.mode);
        if (c.choosing_second_object)
            text("Interface", "source_object", "key");
        else
            content.remove("Interface", "source_object", true);
        interface.create_label("l", c.text, c.type, Collision_type::BOX, c.k);
        interface.update_label("l", c.type, anchor_at(Point(500, 400)), c.k);

        auto text = image("l");
        auto back = image("l_back");
        ASSERT_TRUE(text);
        ASSERT_TRUE(back);
        EXPECT_EQ(content.get<Group>("l", "group")->members().size(), 2u);
        const double s = c.k;
        int h = c.margin < 0 ? 20 * int(c.text.size() == 17 ? 1 : c.text.size()) - 20
                             : text->width() / 2 + c.margin;
        if (c.k != 1)
            while (h % 4 != 0)
                ++h;
        EXPECT_EQ(back->width(), c.left + 2 * h + c.right) << "half-width " << h;
        EXPECT_EQ(back->height(), 100);
        EXPECT_EQ(text->z(), c.text_z);
        EXPECT_EQ(back->z(), c.text_z - 1);
        EXPECT_EQ(back->alpha(), c.back_alpha);
        EXPECT_EQ(text->alpha(), c.text_alpha);
        EXPECT_DOUBLE_EQ(text->scale(), 0.5 * s);
        EXPECT_DOUBLE_EQ(back->scale(), 0.5 * s);
        EXPECT_EQ(text->origin(), Point(text->width() / 2.0, text->height() / 2.0));
        EXPECT_EQ(back->collision(), Collision_type::BOX);
        EXPECT_TRUE(back->on());
        EXPECT_TRUE(text->on());

        const double w = double(std::lround(back->width() * s));
        EXPECT_EQ(at("l_back"), Point(500 + c.back_side * w / 4 + c.back_extra, 400));
        EXPECT_EQ(at("l"), Point(500 + c.back_side * w / 4 + c.text_shift, 400));
    }
}

TEST_F(Interface_labels_test, EmptyTextIsTwoEndsWithPositionsOnlyWhenCentred) {
    interface.create_label("e", "", Type::PLAIN, Collision_type::UNCLICKABLE, 1);
    EXPECT_FALSE(image("e"));
    EXPECT_EQ(image("e_back")->width(), 100);
    EXPECT_EQ(content.get<Group>("e", "group")->members().size(), 1u);
    interface.update_label("e", Type::PLAIN, anchor_at(Point(10, 20)), 1);
    EXPECT_EQ(at("e"), Point(10, 20));

    interface.create_label("r", "", Type::RIGHT_OF_BUTTON, Collision_type::UNCLICKABLE, 1);
    interface.update_label("r", Type::RIGHT_OF_BUTTON, anchor_at(Point(10, 20)), 1);
    EXPECT_FALSE(content.request<Position>("r", "position"));
    EXPECT_EQ(at("r_back"), Point(10 + 25 - 25, 20));
}

TEST_F(Interface_labels_test, TextIsCapitalisedAndGlyphsShowTheirPicture) {
    interface.create_label("a", "look", Type::PLAIN, Collision_type::BOX, 1);
    interface.create_label("b", "Look", Type::PLAIN, Collision_type::BOX, 1);
    EXPECT_EQ(image("a")->core(), image("b")->core());
    interface.create_label("g", "Playstation_cross", Type::OPAQUE, Collision_type::BOX, 1);
    EXPECT_EQ(image("g")->core(), image("Playstation_cross")->core());
    EXPECT_FALSE(image("Playstation_cross")->on());
}

TEST_F(Interface_labels_test, UpdateFinishesARunningFadeBeforePlacingTheLabelAnew) {
    mode->set(GAMEPAD);
    interface.create_label("l", "lamp", Type::PLAIN, Collision_type::BOX, 1);
    auto anchor = anchor_at(Point(500, 400));
    interface.update_label("l", Type::PLAIN, anchor, 1);
    interface.animate_label("l", Style::FADE, false, Point(0, 0));
    animate_to(0.1, {"l", "l_back"}); // switched again a tenth of a second into the fade-in
    ASSERT_LT(image("l_back")->alpha(), 100);
    ASSERT_LT(image("l")->alpha(), 255);

    interface.update_label("l", Type::PLAIN, anchor, 0.75);
    EXPECT_FALSE(content.request<Component::Base>("l", "animation"));
    EXPECT_FALSE(content.request<Component::Base>("l_back", "animation"));
    EXPECT_EQ(image("l_back")->alpha(), 100);
    EXPECT_EQ(image("l")->alpha(), 255);
    EXPECT_DOUBLE_EQ(image("l")->scale(), 0.375);
    EXPECT_DOUBLE_EQ(image("l_back")->scale(), 0.375);
}

TEST_F(Interface_labels_test, LongBackSpansItsWholeText) {
    const std::string words(90, 'w');
    interface.create_label("n", words, Type::PLAIN, Collision_type::BOX, 1);
    const int text_width = image("n")->width();
    ASSERT_GT(text_width, 2 * 2622) << "the text must need a bar wider than 2621 pixels";
    EXPECT_EQ(image("n_back")->width(), 50 + 2 * (text_width / 2 + 20) + 50);

    auto bar = Interface::join_label_back("x", nullptr, 6000, nullptr);
    EXPECT_EQ(bar->width(), 6000);
    EXPECT_EQ(bar->height(), 100);
    auto ends = Interface::join_label_back("x", image("Left_circle"), 0, image("Goto_right"));
    EXPECT_EQ(ends->width(), 110);
    EXPECT_EQ(image("Left_circle")->width(), 50); // the ends themselves are untouched
}

TEST_F(Interface_labels_test, HalfWidthIsRaisedToAMultipleOfTheScaleStep) {
    struct Case {
        double scale;
        double k;
        int step;
    };
    for (const Case& c : {Case{1, 0.75, 4}, Case{0.5, 1, 2}, Case{4.0 / 6, 1, 3},
                          Case{1.5, 1, -2}, Case{2, 1, -1}, Case{1.5, 0.75, -8}}) {
        SCOPED_TRACE(std::to_string(c.scale) + " x " + std::to_string(c.k));
        Config::interface_scale = c.scale;
        for (const char* word : {"Lamp", "Lamps", "Lampss", "Lampsss"}) {
            interface.create_label("l", word, Type::SQUARE, Collision_type::BOX, c.k);
            const int h = image("l_back")->width() / 2;
            EXPECT_EQ(h % c.step, 0) << word;
            EXPECT_GE(h, image("l")->width() / 2 + 60);
            EXPECT_LT(h, image("l")->width() / 2 + 60 + std::abs(c.step));
        }
    }
}

TEST_F(Interface_labels_test, WrigglySwingsOutwardAndBackAlongItsButton) {
    constexpr double pi = std::numbers::pi;
    auto base = anchor_at(Point(100, 200));
    struct Case {
        const char* name;
        Input_mode input;
        Status top;
        Orientation orientation;
        bool random;
        Vector direction;
    };
    const std::vector<Case> cases = {
        {"mouse, right", MOUSE, Status::IDLE, Orientation::RIGHT, false, Vector(1, 0)},
        {"mouse, up-left steep", MOUSE, Status::ACTION, Orientation::UP_LEFT_STEEP, false,
         Vector(-0.5, -0.866025404)},
        {"controller idle: phase 0", GAMEPAD, Status::IDLE, Orientation::DOWN, false,
         Vector(0, 1)},
        {"controller choosing: phase of the clock", GAMEPAD, Status::ACTION,
         Orientation::DOWN_RIGHT, false, Vector(0.866025404, 0.5)},
        {"random, up", MOUSE, Status::IDLE, Orientation::UP, true, Vector(0, 1)},
        {"random, sideways", GAMEPAD, Status::IDLE, Orientation::LEFT_FAR, true, Vector(1, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mode->set(c.input);
        if (c.top != Status::IDLE)
            game_status->push(c.top);
        const double t0 = 3.0;
        clock->set(t0);
        auto p = interface.wriggly_position("w", "global_position", base, Vector(10, -10),
                                            c.orientation, true, c.random);
        EXPECT_EQ(content.request<Position>("w", "global_position"), p);
        EXPECT_TRUE(p->is_interface());
        double phase = t0 / -0.75 - pi / 2 - 0.25;
        if (c.input == GAMEPAD && c.top != Status::ACTION)
            phase = 0;
        if (c.random)
            phase = double(std::hash<std::string>{}("w")) / 18446744073709551616.0 * 2 * pi;
        for (double t : {3.0, 3.4, 4.7, 10.0}) {
            clock->set(t);
            const double u = std::sin(t / 0.75 + phase);
            const double amount = c.random ? 0.5 * u * 5 : (0.5 * u + 0.5) * 5;
            const Point expected = Point(110, 190) + c.direction * amount;
            EXPECT_NEAR(p->value().x(), expected.x(), 1e-9) << "t = " << t;
            EXPECT_NEAR(p->value().y(), expected.y(), 1e-9) << "t = " << t;
        }
        if (c.top != Status::IDLE)
            game_status->pop();
    }
    // a new position starts close to its resting point
    mode->set(MOUSE);
    clock->set(7.0);
    auto fresh = interface.wriggly_position("f", "p", base, Vector(0, 0), Orientation::RIGHT,
                                            false, false);
    EXPECT_LT(fresh->value().x() - 100, 0.1);
    EXPECT_FALSE(content.request<Position>("f", "p"));
}

TEST_F(Interface_labels_test, FadedOutLabelLivesOnUnderOldNamesAndTheIdIsFreeAtOnce) {
    interface.create_label("l", "lamp", Type::PLAIN, Collision_type::BOX, 1);
    auto anchor = anchor_at(Point(500, 400));
    content.set<Component::Relative_position>("l", "global_position", anchor);
    interface.update_label("l", Type::PLAIN, anchor, 1);
    auto back = image("l_back");

    interface.delete_label("l", true);
    EXPECT_FALSE(content.request<Component::Base>("l", "group"));
    EXPECT_FALSE(content.request<Component::Base>("l", "global_position"));
    for (const char* gone : {"l", "l_back"}) {
        EXPECT_FALSE(image(gone));
        EXPECT_FALSE(content.request<Position>(gone, "position"));
    }
    auto old_back = image("l_back_old");
    ASSERT_TRUE(old_back);
    EXPECT_EQ(old_back->core(), back->core());
    EXPECT_EQ(at("l_back_old"), Point(500, 400));
    EXPECT_TRUE(image("l_old"));
    auto fade = content.get<Component::GUI_animation>("l_back_old", "animation");
    EXPECT_TRUE(fade->remove_after());
    fade->update(0.25);
    EXPECT_EQ(old_back->alpha(), 0);
    EXPECT_FALSE(old_back->on());

    interface.delete_label("l", true); // no group any more: nothing happens
    interface.create_label("l", "lamp", Type::PLAIN, Collision_type::BOX, 1);
    interface.update_label("l", Type::PLAIN, anchor, 1);
    EXPECT_TRUE(image("l_back"));

    interface.delete_label("l", false);
    EXPECT_FALSE(image("l"));
    EXPECT_FALSE(image("l_back"));
    EXPECT_EQ(at("l_back"), Point(500, 400)); // without fading, the positions stay
}

TEST_F(Interface_labels_test, BacksIntersectWhenTheyOverlapOrTouch) {
    auto place = [&](const std::string& id, const std::string& words, const Point& p) {
        interface.create_label(id, words, Type::PLAIN, Collision_type::BOX, 1);
        interface.update_label(id, Type::PLAIN, anchor_at(p), 1);
    };
    place("a", "lamp", Point(500, 400));
    const double half = 0.25 * image("a_back")->width();
    place("b", "lamp", Point(500 + 2 * half, 400)); // touching
    place("c", "lamp", Point(500 + 2 * half + 1, 400));
    place("d", "lamp", Point(500, 400 + 50));  // touching below
    place("f", "lamp", Point(500, 400 + 51));
    EXPECT_TRUE(interface.labels_intersect("a", "a"));
    EXPECT_TRUE(interface.labels_intersect("a", "b"));
    EXPECT_FALSE(interface.labels_intersect("a", "c"));
    EXPECT_TRUE(interface.labels_intersect("a", "d"));
    EXPECT_FALSE(interface.labels_intersect("a", "f"));
    EXPECT_FALSE(interface.labels_intersect("a", "nothing"));
}

TEST_F(Interface_labels_test, AnimationsByStyle) {
    mode->set(GAMEPAD);
    clock->set(2.0);
    auto anchor = anchor_at(Point(500, 400));
    auto make = [&](const std::string& id) {
        interface.create_label(id, "lamp", Type::PLAIN, Collision_type::BOX, 1);
        interface.update_label(id, Type::PLAIN, anchor, 1);
    };
    make("f");
    interface.animate_label("f", Style::FADE_IN_PLACE, true, Point(0, 0));
    EXPECT_FALSE(content.request<Component::Base>("f", "animation"));
    interface.animate_label("f", Style::FADE_IN_PLACE, false, Point(0, 0));
    animate_to(2.0, {"f", "f_back"});
    EXPECT_EQ(image("f")->alpha(), 0);
    EXPECT_EQ(image("f_back")->alpha(), 0);
    animate_to(2.25, {"f", "f_back"});
    EXPECT_EQ(image("f")->alpha(), 255);
    EXPECT_EQ(image("f_back")->alpha(), 100);

    clock->set(2.0);
    make("m");
    interface.animate_label("m", Style::MOVE, false, Point(0, 0));
    animate_to(2.0, {"m", "m_back"});
    EXPECT_DOUBLE_EQ(image("m")->scale(), 0.05);
    animate_to(2.25, {"m", "m_back"});
    EXPECT_DOUBLE_EQ(image("m")->scale(), 0.5);

    clock->set(2.0);
    make("g");
    auto global = interface.wriggly_position("g", "global_position", anchor, Vector(0, 0),
                                             Orientation::UP, true, false);
    global->set(Point(480, 400));
    interface.animate_label("g", Style::MOVE, true, Point(540, 400));
    animate_to(2.0, {"g", "g_back", "g_label"});
    EXPECT_NEAR(image("g_back")->scale(), 0.177, 1e-12);
    EXPECT_EQ(image("g")->alpha(), 0);
    animate_to(2.25, {"g", "g_back", "g_label"});
    EXPECT_DOUBLE_EQ(image("g_back")->scale(), 0.5);
    EXPECT_EQ(image("g")->alpha(), 100);
    EXPECT_NE(global->value(), Point(540, 400)); // handed back to its sway
}

TEST_F(Interface_labels_test, ZoomKeepsTheArrowEndInPlace) {
    mode->set(GAMEPAD);
    for (bool right : {true, false}) {
        SCOPED_TRACE(right ? "arrow right" : "arrow left");
        content.set<Component::Boolean>("door_goto", "right", right);
        const Type type = right ? Type::GOTO_RIGHT : Type::GOTO_LEFT;
        clock->set(1.0);
        interface.create_label("door_label", "door", type, Collision_type::BOX, 1);
        interface.update_label("door_label", type, anchor_at(Point(800, 300)), 1);
        auto back = image("door_label_back");
        auto arrow_edge = [&] {
            const double half = back->scale() * back->width() / 2;
            return at("door_label_back").x() + (right ? half : -half);
        };
        const std::vector<std::string> animated = {"door_label", "door_label_back",
                                                   "door_label_back_pos", "door_label_pos"};

        // to the selected look, then from it
        for (double from : {0.5, 0.375}) {
            clock->set(1.0);
            image("door_label")->set_scale(from);
            back->set_scale(from);
            const double edge = arrow_edge();
            interface.animate_label("door_label", Style::ZOOM, false, Point(0, 0));
            for (double t : {1.0, 1.05, 1.125, 1.2, 1.25}) {
                animate_to(t, animated);
                EXPECT_NEAR(arrow_edge(), edge, 1e-6) << "from " << from << ", t = " << t;
            }
            const double end = from == 0.5 ? 0.5 : 0.375;
            EXPECT_DOUBLE_EQ(image("door_label")->scale(), end);
            EXPECT_DOUBLE_EQ(back->scale(), end);
            EXPECT_EQ(image("door_label")->alpha(), end == 0.5 ? 255 : 192);
        }
    }
}

TEST_F(Interface_labels_test, ObjectLabelIsAnchoredAtItsPointAsSeenNow) {
    mode->set(GAMEPAD);
    camera->set(Point(100, 0));
    content.set<Component::Absolute_position>("door", "label", Point(700, 300), false);
    content.set<Component::Boolean>("door_goto", "right", false);
    interface.create_label("door_label", "door", Type::GOTO_LEFT, Collision_type::BOX, 1);
    interface.update_label_position("door", 1);
    EXPECT_EQ(at("door_label", "base_global_position"), Point(600, 300));
    const Point sway = at("door_label", "global_position");
    EXPECT_NEAR(sway.x(), 600, 2.5);
    EXPECT_EQ(sway.y(), 300);
    const double w = image("door_label_back")->width();
    EXPECT_DOUBLE_EQ(at("door_label_back").x(), sway.x() + w / 4);
    camera->set(Point(0, 0)); // anchored on the point as it was, seen from the camera now
    EXPECT_EQ(at("door_label", "base_global_position"), Point(700, 300));

    game_status->push(Status::IN_INVENTORY);
    content.remove("door_label", "global_position");
    interface.update_label_position("door", 1);
    EXPECT_FALSE(content.request<Position>("door_label", "global_position"));
}

TEST_F(Interface_labels_test, PlainAndArrowLabelsOnScreen) {
    mode->set(GAMEPAD);
    interface.create_label("p", "Ab", Type::PLAIN, Collision_type::BOX, 1);
    interface.update_label("p", Type::PLAIN, anchor_at(Point(500, 300)), 1);
    interface.create_label("g", "Ab", Type::GOTO_RIGHT, Collision_type::BOX, 1);
    interface.update_label("g", Type::GOTO_RIGHT, anchor_at(Point(1200, 700)), 1);
    sdl.begin();
    for (const char* entity : {"p_back", "p", "g_back", "g"})
        draw(entity);

    auto near = [](const Orvane::Test::Rgb& got, const Orvane::Test::Rgb& want) {
        return std::abs(got.r - want.r) <= 2 && std::abs(got.g - want.g) <= 2 &&
               std::abs(got.b - want.b) <= 2;
    };
    const Orvane::Test::Rgb dim_blue{0, 0, 100};
    const Orvane::Test::Rgb dim_green{0, 100, 0};
    const Orvane::Test::Rgb dim_magenta{100, 0, 100};
    const Orvane::Test::Rgb unlit{0, 0, 0};
    // plain: circle ends at a quarter of the back's width from the anchor, translucent
    const int p_half = image("p_back")->width() / 4;
    EXPECT_TRUE(near(pixel(500 - p_half + 3, 300), dim_blue)) << pixel(500 - p_half + 3, 300);
    EXPECT_TRUE(near(pixel(500 + p_half - 3, 300), dim_green)) << pixel(500 + p_half - 3, 300);
    EXPECT_TRUE(near(pixel(500 - p_half - 3, 300), unlit));
    EXPECT_TRUE(near(pixel(500, 300 - 26), unlit)); // 50 pixels high
    int bright = 0;
    for (const auto& c : read(500 - p_half + 25, 300, 2 * p_half - 50, 1))
        bright += c.r > 200 && c.g > 200 && c.b > 200;
    EXPECT_GT(bright, 0) << "no white text between the ends";

    // arrow to the right: the back ends at the anchor, the arrow just left of it
    const int g_width = image("g_back")->width();
    EXPECT_TRUE(near(pixel(1200 - 3, 700), dim_magenta)) << pixel(1200 - 3, 700);
    EXPECT_TRUE(near(pixel(1200 + 3, 700), unlit));
    EXPECT_TRUE(near(pixel(1200 - g_width / 2 + 3, 700), dim_blue))
        << pixel(1200 - g_width / 2 + 3, 700);
    EXPECT_TRUE(near(pixel(1200 - g_width / 2 - 3, 700), unlit));
}

using Interface_labels_DeathTest = Interface_labels_test;

TEST_F(Interface_labels_DeathTest, MissingPicturesAndBacksAreNamed) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(interface.update_label("nothing", Type::PLAIN, anchor_at(Point(0, 0)), 1),
                ::testing::ExitedWithCode(1), "Cannot find nothing_back:image");
    content.remove("Right_circle", "image");
    EXPECT_EXIT(interface.create_label("l", "x", Type::PLAIN, Collision_type::BOX, 1),
                ::testing::ExitedWithCode(1), "Cannot find Right_circle:image");
    content.remove("Interface", "font");
    EXPECT_EXIT(interface.create_label("l", "x", Type::SQUARE, Collision_type::BOX, 1),
                ::testing::ExitedWithCode(1), "Cannot find Interface:font");
    EXPECT_EXIT(interface.update_label_position("door", 1), ::testing::ExitedWithCode(1),
                "Cannot find door:label");
}

} // namespace
} // namespace Orvane::System
