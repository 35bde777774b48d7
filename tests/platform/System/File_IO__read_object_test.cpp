#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/File_IO__readers_fixture.h"

namespace Orvane::Test {
namespace {

using Component::Collision_type;
using Component::Image;

const std::string door = R"(name: Door
coordinates: [100, 200, 30]
box_collision: false
label: [+10, -40]
view: [150, 250]
reach_factor: 1.5
states:
  - {id: closed, skin: door}
  - {id: inventory_big, skin: key}
  - {id: on_table, skin: key}
  - {id: ajar, mask: door}
  - {id: gone}
  - {id: lit, skin: lamp, frames: 4, duration: 3}
)";

TEST_F(Room_reader, ObjectStatesImagesAndPositions) {
    read("objects", "door", door);
    EXPECT_EQ(string_of("door", "name"), "Door");
    auto state = content.get<Component::Simple<std::string>>("door", "state");
    EXPECT_EQ(state->value(), "closed");
    EXPECT_FALSE(state->was_altered()) << "an object's first state is not saved";

    auto position = content.get<Component::Position>("door", "position");
    EXPECT_EQ(position->value(), Point(100, 200));
    EXPECT_FALSE(position->is_interface());
    auto label = content.get<Component::Position>("door", "label");
    EXPECT_EQ(label->value(), Point(110, 160));
    position->set(Point(0, 0));
    EXPECT_EQ(label->value(), Point(10, -40)) << "a signed label follows the object";
    auto view = content.get<Component::Position>("door", "view");
    EXPECT_EQ(view->value(), Point(150, 250));
    EXPECT_FALSE(view->is_interface());
    EXPECT_DOUBLE_EQ(content.get<Component::Simple<double>>("door", "reach_factor")->value(), 1.5);

    struct Case {
        const char* state;
        int z;
        double fx;
        double fy;
        int width;
        int alpha;
        bool animated;
    };
    const Case cases[] = {
        {"closed", 30, 0.5, 1.0, 40, 255, false},
        {"inventory_big", Config::INTERFACE_ITEMS, 0.5, 0.5, 20, 255, false},
        {"on_table", 30, 0.5, 1.0, 30, 255, false},
        {"ajar", 30, 0.5, 1.0, 40, 0, false},
        {"lit", 30, 0.5, 1.0, 30, 255, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        state->set(c.state);
        auto image = content.request<Image>("door", "image");
        ASSERT_TRUE(image);
        EXPECT_EQ(image->z(), c.z);
        EXPECT_EQ(image->collision(), Collision_type::PIXEL_PERFECT);
        EXPECT_EQ(image->width(), c.width);
        EXPECT_EQ(image->origin(), Point(c.fx * image->width(), c.fy * image->height()));
        EXPECT_EQ(image->alpha(), c.alpha);
        EXPECT_EQ(image->on(), true);
        auto animation = content.request<Component::Animation>("door", "image");
        EXPECT_EQ(static_cast<bool>(animation), c.animated);
        if (animation) {
            ASSERT_EQ(animation->frames().size(), 4u);
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(animation->frames()[i].x, i);
                EXPECT_EQ(animation->frames()[i].duration, 3);
            }
            EXPECT_TRUE(animation->loop());
        }
    }
    state->set("gone");
    EXPECT_FALSE(content.request<Image>("door", "image"));
}

TEST_F(Room_reader, ObjectKeepsItsStateAndPosition) {
    auto state = content.set<Component::Simple<std::string>>("door", "state", "ajar");
    content.set<Component::Absolute_position>("door", "position", Point(5, 6), true);
    read("objects", "door", door);
    EXPECT_EQ(content.get<Component::Simple<std::string>>("door", "state"), state);
    EXPECT_EQ(state->value(), "ajar");
    auto position = content.get<Component::Position>("door", "position");
    EXPECT_EQ(position->value(), Point(5, 6));
    EXPECT_FALSE(position->is_interface());
}

TEST_F(Room_reader, SizeRectangleTakesTheObjectsDepthAndCollision) {
    read("objects", "crate", R"(name: Crate
coordinates: [10, 20, 40]
box_collision: true
view: [0, 0]
states:
  - {id: here, size: [200, 300]}
)");
    auto image = content.get<Image>("crate", "image");
    EXPECT_EQ(image->z(), 40);
    EXPECT_EQ(image->collision(), Collision_type::BOX);
    EXPECT_EQ(image->width(), 200);
    EXPECT_EQ(image->height(), 300);
    EXPECT_EQ(image->origin(), Point(100, 300));
}

// Each verb entry, read for an object "box" in state "closed" (a global one for the last
// rows), and the components it leaves, looked up in the states listed.
struct Verb_case {
    const char* name;
    const char* entries;
    bool global;
    // "entity:component=value@state": a label's text or an action's steps
    std::vector<std::string> expected;
};

std::string looked_up(const Content& content, const std::string& key) {
    const std::size_t colon = key.find(':');
    const std::string entity = key.substr(0, colon);
    const std::string component = key.substr(colon + 1);
    if (component == "label") {
        auto label = content.request<Component::Simple<std::string>>(entity, component);
        return label ? label->value() : "<none>";
    }
    if (component == "right") {
        auto right = content.request<Component::Boolean>(entity, component);
        return right ? (right->value() ? "true" : "false") : "<none>";
    }
    if (component == "is_global")
        return content.signal(entity, component) ? "yes" : "no";
    auto action = content.request<Component::Action>(entity, component);
    if (!action)
        return "<none>";
    std::string out;
    for (const auto& step : steps_of(action))
        out += step;
    return out;
}

TEST_F(Room_reader, VerbEntries) {
    const std::vector<Verb_case> cases = {
        {"Form A by state",
         "look:\n  - {state: closed, label: Shut, effect: [{talk: [a]}]}\n"
         "  - {state: open, label: Wide, effect: [{talk: [b]}]}\n",
         false,
         {"box_look:label=Shut@closed", "box_look:action=talk:[a]@closed",
          "box_look:label=Wide@open", "box_look:action=talk:[b]@open",
          "box_look:label=<none>@broken", "box_look:action=<none>@broken"}},
        {"two-object verbs",
         "inventory:\n  - {object: door, label: Use, effect: [{open: [door]}]}\n"
         "  - {object: crate, label: Use on, effect: [{open: [crate]}]}\n",
         false,
         {"box_inventory_door:action=open:[door]@closed",
          "box_inventory_crate:action=open:[crate]@closed", "box_inventory:label=Use on@closed"}},
        {"right arrow",
         "goto: {label: Out, right: true, effect: [{go: [tower]}]}\n",
         false,
         {"box_goto:right=true@closed", "box_goto:label=Out@closed",
          "box_goto:action=go:[tower]@closed"}},
        {"state outside a list",
         "take: {state: open, label: Take, effect: [{take: [box]}]}\n",
         false,
         {"box_take:label=<none>@closed", "box_take:action=<none>@closed",
          "box_take:label=Take@open", "box_take:action=take:[box]@open"}},
        {"global object",
         "look: {label: Look, effect: [{talk: [x]}]}\n",
         true,
         {"box_look:is_global=yes@closed", "box_look:label=Look@closed"}},
        {"local object", "look: {label: Look}\n", false, {"box_look:is_global=no@closed"}},
        {"function call with arguments",
         "use: {effect: [{func: [say_twice, Hi]}, {wait: [1]}]}\n",
         false,
         {"box_use:action=talk:[Player, Hi]talk:[Player, Hi]wait:[1]@closed"}},
    };
    for (const Verb_case& c : cases) {
        SCOPED_TRACE(c.name);
        content.clear();
        auto say = content.set<Component::Action>("Say_twice", "function");
        say->add("talk", {"Player", "ARG0"});
        say->add("talk", {"Player", "ARG0"});
        if (c.global)
            content.emit("box", "is_global");
        read("objects", "box",
             std::string("name: Box\ncoordinates: [0, 0, 0]\nbox_collision: true\n"
                         "view: [0, 0]\nstates:\n  - {id: closed}\n  - {id: open}\n") +
                 c.entries);
        auto state = content.get<Component::Simple<std::string>>("box", "state");
        for (const std::string& e : c.expected) {
            const std::size_t eq = e.find('=');
            const std::size_t at = e.rfind('@');
            state->set(e.substr(at + 1));
            EXPECT_EQ(looked_up(content, e.substr(0, eq)), e.substr(eq + 1, at - eq - 1)) << e;
        }
    }
}

} // namespace
} // namespace Orvane::Test
