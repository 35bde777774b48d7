#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Interface.h>

#include "support/Interface_fixture.h"

namespace Orvane::System {
namespace {

using Component::Collision_type;
using Component::Image;
using Type = Interface::Label_type;

class Interface_object_labels_test : public Orvane::Test::Interface_fixture {
  protected:
    void SetUp() override {
        Interface_fixture::SetUp();
        interface.init();
    }
    // A room object with a picture, a name, a state and an absolute label point.
    void object(const std::string& id, const std::string& name, const Point& label,
                const std::string& state = "here") {
        content.set<Image>(id, "image", 40, 40, 200, 200, 200);
        text(id, "name", name);
        text(id, "state", state);
        content.set<Component::Absolute_position>(id, "label", label, false);
        content.set<Component::Absolute_position>(id, "position", label + Vector(0, 100), false);
    }
    void walk_to(const std::string& id, bool right) {
        content.set<Component::Boolean>(Key::go_to(id), "right", right);
    }
    void active(const std::string& id) { text("Interface", "active_object", id); }
    void active_list(const std::vector<std::string>& ids) {
        content.set<Component::Vector<std::string>>(Key::interface_active_objects, ids);
    }
    double back_x(const std::string& id) { return at(id + "_label_back").x(); }
    double back_width(const std::string& id) {
        return image(id + "_label_back")->width() * Config::interface_scale;
    }
    unsigned char highlight(const std::string& id) {
        // the highlight is printed with the image's state
        const std::string s = image(id)->str_value();
        return static_cast<unsigned char>(std::stoi(s.substr(s.find("highlight=") + 10)));
    }
    // Runs every running animation of these entities to its end and removes it, as the
    // animation system does.
    void finish(const std::vector<std::string>& entities) {
        for (const auto& e : entities)
            if (auto a = content.request<Component::GUI_animation>(e, "animation")) {
                a->update(clock->value() + 1);
                content.remove(a);
            }
    }
};

// The text's offset from the back and the back's offset from the anchor, by label type.
struct Offsets {
    double back;
    double text;
};
Offsets offsets_of(Type type, double back_width, double k, Input_mode mode) {
    const double q = std::lround(back_width * k) * 0.25;
    const double away = mode == MOUSE ? 0 : 30 * k;
    switch (type) {
    case Type::OPEN_LEFT:
        return {q, q + 5};
    case Type::OPEN_RIGHT:
        return {-q, -q - 5};
    case Type::GOTO_LEFT:
        return {q, q + away};
    case Type::GOTO_RIGHT:
        return {-q, -q - away};
    default:
        return {0, 0};
    }
}

TEST_F(Interface_object_labels_test, ObjectLabelByStatusModeAndObject) {
    struct Case {
        const char* name;
        Status status;
        Input_mode mode;
        bool current;
        int walk_to; // -1 none, 0 left, 1 right
        bool item_held;
        double cursor_x;
        Type type;
        double k;
        Collision_type collision;
        int anchor; // 0 the item in the bar, 1 the cursor, 2 the swaying label point
        unsigned char text_alpha;
    };
    const std::vector<Case> cases = {
        {"bar, mouse", Status::IN_INVENTORY, MOUSE, true, -1, false, 960, Type::PLAIN, 1,
         Collision_type::UNCLICKABLE, 0, 255},
        {"bar, second object, controller", Status::OBJECT, GAMEPAD, false, 1, false, 960,
         Type::PLAIN, 1, Collision_type::UNCLICKABLE, 0, 255},
        {"mouse", Status::IDLE, MOUSE, true, -1, false, 960, Type::OPEN_LEFT, 1,
         Collision_type::UNCLICKABLE, 1, 255},
        {"mouse, walk left", Status::IDLE, MOUSE, true, 0, false, 960, Type::GOTO_LEFT, 1,
         Collision_type::UNCLICKABLE, 1, 255},
        {"mouse, walk right", Status::IDLE, MOUSE, true, 1, false, 960, Type::GOTO_RIGHT, 1,
         Collision_type::UNCLICKABLE, 1, 255},
        {"mouse near the edge", Status::IDLE, MOUSE, true, -1, false, 1800, Type::OPEN_RIGHT, 1,
         Collision_type::UNCLICKABLE, 1, 255},
        {"mouse near the edge, walk right", Status::IDLE, MOUSE, true, 1, false, 1800,
         Type::GOTO_RIGHT, 1, Collision_type::UNCLICKABLE, 1, 255},
        {"mouse near the edge, walk right, item held", Status::OBJECT, MOUSE, true, 1, true,
         1800, Type::PLAIN, 1, Collision_type::UNCLICKABLE, 0, 255},
        {"mouse near the edge, walk left, item held", Status::IDLE, MOUSE, true, 0, true, 1800,
         Type::OPEN_RIGHT, 1, Collision_type::UNCLICKABLE, 1, 255},
        {"mouse near the edge, walk left", Status::IDLE, MOUSE, true, 0, false, 1800,
         Type::OPEN_RIGHT, 1, Collision_type::UNCLICKABLE, 1, 255},
        {"mouse near the edge, walk right, item held", Status::IDLE, MOUSE, true, 1, true,
         1800, Type::GOTO_RIGHT, 1, Collision_type::UNCLICKABLE, 1, 255},
        {"touch", Status::IDLE, TOUCHSCREEN, true, -1, false, 960, Type::PLAIN, 1,
         Collision_type::BOX, 2, 255},
        {"touch, walk left", Status::IDLE, TOUCHSCREEN, false, 0, false, 960, Type::GOTO_LEFT,
         1, Collision_type::BOX, 2, 255},
        {"controller, current", Status::IDLE, GAMEPAD, true, -1, false, 960, Type::PLAIN, 1,
         Collision_type::UNCLICKABLE, 2, 255},
        {"controller, other", Status::IDLE, GAMEPAD, false, -1, false, 960, Type::PLAIN, 0.75,
         Collision_type::UNCLICKABLE, 2, 192},
        {"controller, other, walk right", Status::IDLE, GAMEPAD, false, 1, false, 960,
         Type::GOTO_RIGHT, 0.75, Collision_type::UNCLICKABLE, 2, 192},
    };
    camera->set(Point(100, 50));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Interface fresh(content);
        object("crate", "crate", Point(600, 400));
        content.set<Component::Absolute_position>("crate", "position", Point(900, 1000));
        content.remove(Key::go_to("crate"), "right", true);
        if (c.walk_to >= 0)
            walk_to("crate", c.walk_to == 1);
        content.remove(Key::interface_source_object, true);
        if (c.item_held)
            text("Interface", "source_object", "key");
        game_status->push(c.status);
        mode->set(c.mode);
        cursor->set(Point(c.cursor_x, 700));
        if (c.current && c.mode == GAMEPAD) {
            active("crate");
            active_list({"crate"});
            fresh.update_active_objects(); // makes crate the current object
        } else {
            fresh.create_object_label("crate");
        }

        auto text_image = image("crate_label");
        ASSERT_TRUE(text_image);
        EXPECT_DOUBLE_EQ(text_image->scale(), 0.5 * c.k);
        EXPECT_EQ(text_image->collision(), c.collision);
        EXPECT_EQ(image("crate_label_back")->collision(), c.collision);
        EXPECT_EQ(int(text_image->alpha()), int(c.text_alpha));
        // fading in from nothing
        ASSERT_TRUE(content.request<Component::GUI_animation>("crate_label", "animation"));

        Point anchor;
        double tolerance = 1e-9;
        if (c.anchor == 0) {
            anchor = Point(900, 1000 - 40 - 75);
        } else if (c.anchor == 1) {
            anchor = cursor->value();
        } else {
            anchor = Point(600 - 100, 400 - 50);
            tolerance = 2.5 + 1e-9; // the sway, half of 5 pixels each way
            EXPECT_NEAR(at("crate_label", "global_position").x(), anchor.x(), tolerance);
            EXPECT_NEAR(at("crate_label", "global_position").y(), anchor.y(), tolerance);
        }
        const Offsets o = offsets_of(c.type, image("crate_label_back")->width(), c.k, c.mode);
        EXPECT_NEAR(back_x("crate"), anchor.x() + o.back, tolerance);
        EXPECT_NEAR(at("crate_label").x() - back_x("crate"), o.text - o.back, 1e-9);
        game_status->pop();
        content.remove("crate_label", "animation", true);
        content.remove("crate_label_back", "animation", true);
    }
}

TEST_F(Interface_object_labels_test, ItemLabelsStayClearOfTheChamferAndTheRightEdge) {
    game_status->push(Status::IN_INVENTORY);
    for (double scale : {1.0, 1.5}) {
        SCOPED_TRACE(scale);
        Config::interface_scale = scale;
        interface.init();
        const double chamfer = at("Chamfer").x();
        object("key", "old brass key", Point(0, 0), "inventory");
        content.set<Component::Absolute_position>("key", "position", Point(10, 1000));
        interface.create_object_label("key");
        EXPECT_NEAR(back_x("key") - 0.25 * image("key_label_back")->width() * scale,
                    chamfer + 50, 1e-9);

        content.set<Component::Absolute_position>("key", "position", Point(1910, 1000));
        interface.create_object_label("key");
        EXPECT_NEAR(back_x("key") + (0.25 * image("key_label_back")->width() + 20) * scale,
                    1920, 1e-9);

        // in the middle of the bar, right above the item
        content.set<Component::Absolute_position>("key", "position", Point(960, 1000));
        interface.create_object_label("key");
        EXPECT_DOUBLE_EQ(back_x("key"), 960);
        EXPECT_DOUBLE_EQ(at("key_label_back").y(), 1000 - 40 * scale - 75);
    }
}

TEST_F(Interface_object_labels_test, MouseLabelFlipsPast1895AndBackBelow1870) {
    object("crate", "crate", Point(600, 400));
    active("crate");
    cursor->set(Point(1000, 500));
    interface.update_active_objects();
    ASSERT_EQ(interface.labelled(), "crate");
    EXPECT_EQ(highlight("crate"), 255);
    const double w = back_width("crate");
    auto hangs_right = [&] { return back_x("crate") > cursor->value().x(); };
    ASSERT_TRUE(hangs_right());

    // rightwards: the label's right end (cursor + w / 2) passes 1895
    double flipped_at = -1;
    for (double x = 1000; x < 1920 && flipped_at < 0; x += 1) {
        cursor->set(Point(x, 500));
        interface.update_active_objects();
        if (!hangs_right())
            flipped_at = x;
    }
    EXPECT_EQ(flipped_at, std::floor(1895 - w / 2) + 1);

    // leftwards: back only once cursor + w / 2 is below 1870
    double back_at = -1;
    for (double x = flipped_at; x > 0 && back_at < 0; x -= 1) {
        cursor->set(Point(x, 500));
        interface.update_active_objects();
        if (hangs_right())
            back_at = x;
    }
    EXPECT_EQ(back_at, std::ceil(1870 - w / 2) - 1);
}

TEST_F(Interface_object_labels_test, WalkRightLabelNeverFlips) {
    object("door", "door", Point(600, 400));
    walk_to("door", true);
    active("door");
    for (double x = 100; x < 1920; x += 10) {
        cursor->set(Point(x, 500));
        interface.update_active_objects();
        ASSERT_LT(back_x("door"), x) << "at x = " << x;
    }
}

TEST_F(Interface_object_labels_test, SideCheckIsSkippedWhenTheLabelIsGone) {
    object("crate", "crate", Point(600, 400));
    active("crate");
    interface.update_active_objects();
    interface.delete_label("crate_label", false);
    content.remove("crate_label_back", "position");
    interface.update_active_objects(); // same object, no back to measure: nothing happens
    EXPECT_FALSE(content.request<Component::Group>("crate_label", "group"));
    EXPECT_EQ(interface.labelled(), "crate");
}

class Interface_controller_labels_test : public Interface_object_labels_test {
  protected:
    void SetUp() override {
        Interface_object_labels_test::SetUp();
        mode->set(GAMEPAD);
        for (const auto& [id, x] : std::vector<std::pair<std::string, double>>{
                 {"anchor", 300}, {"bell", 700}, {"chest", 1100}, {"drum", 1500}})
            object(id, id, Point(x, 400));
        active_list({"anchor", "bell", "chest"});
        active("anchor");
        interface.update_active_objects();
        finish({"anchor_label", "anchor_label_back", "bell_label", "bell_label_back",
                "chest_label", "chest_label_back"});
    }
    std::shared_ptr<Component::Group> group(const std::string& id) {
        return content.request<Component::Group>(id + "_label", "group");
    }
    // scale and alpha of the text once its animations are over
    void expect_look(const std::string& id, bool current) {
        SCOPED_TRACE(id);
        finish({id + "_label", id + "_label_back"});
        EXPECT_DOUBLE_EQ(image(id + "_label")->scale(), current ? 0.5 : 0.375);
        EXPECT_EQ(int(image(id + "_label")->alpha()), current ? 255 : 192);
        EXPECT_EQ(int(highlight(id)), current ? 255 : 192);
    }
};

TEST_F(Interface_controller_labels_test, CurrentObjectIsBigAndBright) {
    EXPECT_EQ(interface.labelled(), "anchor");
    EXPECT_EQ(interface.labelled_list(), (std::vector<std::string>{"anchor", "bell", "chest"}));
    expect_look("anchor", true);
    expect_look("bell", false);
    expect_look("chest", false);
    EXPECT_FALSE(group("drum"));
}

TEST_F(Interface_controller_labels_test, SwitchingTheCurrentObjectCreatesNoLabel) {
    const auto a = group("anchor");
    const auto b = group("bell");
    const auto c = group("chest");
    active("bell");
    interface.update_active_objects();
    EXPECT_EQ(group("anchor"), a);
    EXPECT_EQ(group("bell"), b);
    EXPECT_EQ(group("chest"), c);
    // both zoom over a quarter second
    EXPECT_TRUE(content.request<Component::GUI_animation>("anchor_label", "animation"));
    EXPECT_TRUE(content.request<Component::GUI_animation>("bell_label", "animation"));
    EXPECT_FALSE(content.request<Component::GUI_animation>("chest_label", "animation"));
    expect_look("anchor", false);
    expect_look("bell", true);
    expect_look("chest", false);

    // and back
    active("anchor");
    interface.update_active_objects();
    expect_look("anchor", true);
    expect_look("bell", false);
    EXPECT_EQ(group("anchor"), a);
}

TEST_F(Interface_controller_labels_test, NewCurrentObjectAndReorderedList) {
    const auto a = group("anchor");
    const auto b = group("bell");
    active_list({"anchor", "bell", "drum"});
    active("drum");
    interface.update_active_objects();
    EXPECT_FALSE(group("chest"));
    EXPECT_TRUE(content.request<Image>("chest_label_old", "image")) << "chest fades out";
    EXPECT_EQ(int(highlight("chest")), 0);
    expect_look("drum", true);
    expect_look("anchor", false);
    expect_look("bell", false);
    EXPECT_EQ(group("anchor"), a);

    // the same objects in another order: the list counts as changed, no label is made again
    const auto d = group("drum");
    active_list({"drum", "bell", "anchor"});
    interface.update_active_objects();
    EXPECT_EQ(interface.labelled_list(), (std::vector<std::string>{"drum", "bell", "anchor"}));
    EXPECT_EQ(group("anchor"), a);
    EXPECT_EQ(group("bell"), b);
    EXPECT_EQ(group("drum"), d);
}

TEST_F(Interface_controller_labels_test, EveryLabelIsResetOnModeMenuAndRoom) {
    struct Case {
        const char* name;
        std::function<void()> cause;
        std::function<void()> undo;
    };
    const std::vector<Case> cases = {
        {"mode change", [&] { content.emit(Key::input_mode_changed); },
         [&] { content.receive(Key::input_mode_changed); }},
        {"menu", [&] { game_status->push(Status::IN_MENU); }, [&] { game_status->pop(); }},
        {"room entry", [&] { content.emit(Key::game_in_new_room); },
         [&] { content.receive(Key::game_in_new_room); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        active_list({"anchor", "bell", "chest"});
        active("anchor");
        interface.update_active_objects();
        ASSERT_TRUE(group("anchor"));
        c.cause();
        interface.update_active_objects();
        for (const char* id : {"anchor", "bell", "chest"}) {
            EXPECT_FALSE(group(id)) << id;
            EXPECT_EQ(int(highlight(id)), 0) << id;
            EXPECT_TRUE(content.request<Image>(std::string(id) + "_label_back_old", "image"));
        }
        EXPECT_TRUE(interface.labelled().empty());
        EXPECT_TRUE(interface.labelled_list().empty());
        c.undo();
    }
}

TEST_F(Interface_object_labels_test, MouseLabelIsResetOnModeMenuAndRoom) {
    object("crate", "crate", Point(600, 400));
    for (int cause = 0; cause < 3; ++cause) {
        SCOPED_TRACE(cause);
        active("crate");
        interface.update_active_objects();
        ASSERT_TRUE(content.request<Component::Group>("crate_label", "group"));
        if (cause == 0)
            content.emit(Key::input_mode_changed);
        else if (cause == 1)
            game_status->push(Status::IN_MENU);
        else
            content.emit(Key::game_in_new_room);
        interface.update_active_objects();
        EXPECT_FALSE(content.request<Component::Group>("crate_label", "group"));
        EXPECT_TRUE(interface.labelled().empty());
        EXPECT_EQ(int(highlight("crate")), 0);
        content.receive(Key::input_mode_changed);
        content.receive(Key::game_in_new_room);
        if (cause == 1)
            game_status->pop();
    }
}

TEST_F(Interface_object_labels_test, ItemLabelFadesAndStaysAwayWhileAVerbIsChosen) {
    object("key", "key", Point(0, 0), "inventory");
    content.set<Component::Absolute_position>("key", "position", Point(500, 1000));
    game_status->push(Status::IN_INVENTORY);
    active("key");
    interface.update_active_objects();
    ASSERT_TRUE(content.request<Component::Group>("key_label", "group"));

    game_status->push(Status::INVENTORY_ACTION);
    interface.update_active_objects();
    EXPECT_FALSE(content.request<Component::Group>("key_label", "group"));
    EXPECT_TRUE(content.request<Image>("key_label_old", "image"));
    EXPECT_EQ(interface.labelled(), "key");
    for (int frame = 0; frame < 3; ++frame) {
        interface.update_active_objects();
        EXPECT_FALSE(content.request<Component::Group>("key_label", "group"));
    }
    // the verb is chosen, the bar is back: the same item, still no label
    game_status->pop();
    interface.update_active_objects();
    EXPECT_FALSE(content.request<Component::Group>("key_label", "group"));
}

// The layout's box of a label point: PLAIN width is 16 per byte + 50, 5 pixels of margin.
struct Box {
    double left, right, top, bottom;
};
Box box_of(const Point& p, double w) {
    return {p.x() - w / 2 - 5, p.x() + w / 2 + 5, p.y() - 30, p.y() + 30};
}
bool overlap(const Box& a, const Box& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

TEST_F(Interface_object_labels_test, LayoutPushesOverlappingLabelsApartAndRepeatsTheSame) {
    object("lamp", "lamp", Point(900, 400));
    object("hatch", "hatch", Point(930, 420));
    object("note", "note", Point(1500, 400));
    interface.update_object_labels(); // no signal: nothing
    EXPECT_FALSE(content.request<Component::Base>("lamp", "label_backup"));

    content.emit(Key::game_new_room_loaded);
    interface.update_object_labels();
    EXPECT_FALSE(content.signal(Key::game_new_room_loaded)) << "the signal is taken";
    const Point lamp = at("lamp", "label");
    const Point hatch = at("hatch", "label");
    EXPECT_FALSE(overlap(box_of(lamp, 16 * 4 + 50), box_of(hatch, 16 * 5 + 50)));
    EXPECT_EQ(at("note", "label"), Point(1500, 400)) << "a label alone stays";
    EXPECT_EQ(at("lamp", "label_backup"), Point(900, 400));
    EXPECT_LT(lamp.x(), 900);
    EXPECT_GT(hatch.x(), 930);

    // a forced refresh lays out again from the game data's points: the same result
    content.emit(Key::interface_force_refresh);
    interface.update_object_labels();
    EXPECT_EQ(at("lamp", "label"), lamp);
    EXPECT_EQ(at("hatch", "label"), hatch);
}

TEST_F(Interface_object_labels_test, LayoutBoundsEqualPointsAndOthersLeftAlone) {
    struct Case {
        const char* name;
        int background_width; // 0: none
        Point label;
        Point expected;
    };
    // "crate": w = 16 * 5 + 50 = 130, half 65, with the 5-pixel margin 70
    const std::vector<Case> cases = {
        {"past the background", 400, Point(390, 500), Point(400 - 5 - 70, 500)},
        {"inside the background", 400, Point(200, 500), Point(200, 500)},
        {"no background: 1920", 0, Point(1910, 500), Point(1920 - 5 - 70, 500)},
        {"left edge", 0, Point(10, 500), Point(5 + 70, 500)},
        {"top edge", 0, Point(500, 0), Point(500, 35)},
        {"bottom edge", 0, Point(500, 1080), Point(500, 1045)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        content.remove(Key::background_image, true);
        if (c.background_width)
            content.set<Image>(Key::background_image, c.background_width, 100);
        object("crate", "crate", c.label);
        content.remove("crate", "label_backup", true);
        content.emit(Key::game_new_room_loaded);
        interface.update_object_labels();
        EXPECT_NEAR(at("crate", "label").x(), c.expected.x(), 1e-9);
        EXPECT_NEAR(at("crate", "label").y(), c.expected.y(), 1e-9);
    }

    // equal points of the game data are never pushed apart; relative labels, carried items
    // and unnamed entities are left alone
    content.remove(Key::background_image, true);
    content.remove("crate", "label_backup", true);
    object("crate", "crate", Point(800, 500));
    object("barrel", "barrel", Point(800, 500));
    object("key", "key", Point(810, 500), "inventory_1");
    content.set<Component::Absolute_position>("stray", "label", Point(805, 500), false);
    content.set<Component::Relative_position>(
        "rope", "label", content.get<Component::Position>("crate", "label"), Vector(5, 0));
    text("rope", "name", "rope");
    text("rope", "state", "here");
    content.emit(Key::game_new_room_loaded);
    interface.update_object_labels();
    EXPECT_EQ(at("crate", "label"), Point(800, 500));
    EXPECT_EQ(at("barrel", "label"), Point(800, 500));
    EXPECT_EQ(at("key", "label"), Point(810, 500));
    EXPECT_EQ(at("stray", "label"), Point(805, 500));
    EXPECT_FALSE(content.request<Component::Base>("key", "label_backup"));
    EXPECT_FALSE(content.request<Component::Base>("rope", "label_backup"));
}

TEST_F(Interface_object_labels_test, LayoutStopsAfterAHundredRoundsWithOverlapsLeft) {
    // thirty labels in a room too narrow and too low for them: the overlaps never end
    content.set<Image>(Key::background_image, 150, 100);
    for (int i = 0; i < 30; ++i)
        object("box" + std::to_string(i), "crate", Point(75, 500 + i));
    content.emit(Key::game_new_room_loaded);
    interface.update_object_labels();
    std::vector<Point> first;
    bool overlaps = false;
    for (int i = 0; i < 30; ++i) {
        first.push_back(at("box" + std::to_string(i), "label"));
        for (int j = 0; j < i; ++j)
            overlaps = overlaps || overlap(box_of(first[i], 130), box_of(first[j], 130));
    }
    EXPECT_TRUE(overlaps);
    // it ended, and from the game data's points it ends the same way again
    content.emit(Key::game_new_room_loaded);
    interface.update_object_labels();
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(at("box" + std::to_string(i), "label"), first[i]);
}

} // namespace
} // namespace Orvane::System
