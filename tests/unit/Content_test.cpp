#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/Keys.h>
#include <Orvane/Utils/geometry.h>

namespace {

using namespace Orvane;
using Component::Boolean;
using Component::Signal;
using Component::Simple;
using Component::Variable;

TEST(ContentTest, HasThirtyOneMapsAndFilesByComponentName) {
    Content content;
    EXPECT_EQ(content.size(), 31u);
    const std::pair<std::string, std::size_t> cases[] = {
        {"action", 1}, {"animation", 2},     {"image", 6}, {"position", 16}, {"signal", 23},
        {"value", 30}, {"stop_walking", 29}, {"zoom", 0},  {"status", 0},    {"Image", 0},
        {"", 0}};
    for (const auto& [name, index] : cases) {
        SCOPED_TRACE("component name '" + name + "'");
        EXPECT_EQ(content.map_index(name), index);
        content.set<Simple<int>>("e", name, 1);
        EXPECT_EQ(content.components(name).count(Component::Id("e", name)), 1u);
    }
    std::size_t total = 0;
    for (const auto& map : content)
        total += map.size();
    EXPECT_EQ(total, std::size(cases));
    EXPECT_EQ(content.components("zoom").size(), 4u) << "zoom, status, Image and '' share map 0";
}

TEST(ContentTest, SetReplacesWhateverIsUnderTheKey) {
    Content content;
    auto old_value = content.set<Simple<int>>("Music", "volume", 3);
    EXPECT_EQ(content.get<Simple<int>>("Music", "volume")->value(), 3);
    auto replacement = std::make_shared<Simple<std::string>>("Music", "volume", "loud");
    content.set(replacement);
    EXPECT_EQ(content.request<Simple<int>>("Music", "volume"), nullptr);
    EXPECT_EQ(content.request<Simple<std::string>>("Music", "volume"), replacement);
    EXPECT_EQ(old_value->value(), 3) << "holders keep a replaced component alive";
    EXPECT_EQ(content.components("volume").size(), 1u);
}

TEST(ContentTest, RequestOfAbsentOrOtherTypeIsNull) {
    Content content;
    EXPECT_EQ(content.request<Simple<int>>("No", "thing"), nullptr);
    content.set<Simple<double>>("Camera", "zoom", 2);
    EXPECT_EQ(content.request<Simple<int>>("Camera", "zoom"), nullptr);
    EXPECT_DOUBLE_EQ(content.request<Simple<double>>("Camera", "zoom")->value(), 2.0);
    EXPECT_NE(content.request<Component::Base>("Camera", "zoom"), nullptr);
}

// A component class derived from another one: its lookups as the base class must still succeed
// when the exact dynamic type is not the one asked for.
class Counted : public Simple<int> {
  public:
    using Simple<int>::Simple;
};

TEST(ContentTest, TypedLookupsMatchTheExactTypeAndItsBases) {
    Content content;
    auto plain = content.set<Simple<int>>("Door", "state", 1);
    auto counted = content.set<Counted>("Door", "count", 2);
    EXPECT_EQ(content.request<Simple<int>>("Door", "state"), plain);
    EXPECT_EQ(content.request<Counted>("Door", "state"), nullptr) << "a base is not the derived";
    EXPECT_EQ(content.request<Counted>("Door", "count"), counted);
    EXPECT_EQ(content.request<Simple<int>>("Door", "count"), counted);
    EXPECT_EQ(content.request<Simple<double>>("Door", "count"), nullptr);
}

TEST(ContentTest, LookupsSeeThroughVariables) {
    Content content;
    auto room = std::make_shared<Simple<std::string>>("Room", "name", "hall");
    content.set<Variable>("Game", "new_room", room);
    EXPECT_EQ(content.request<Simple<std::string>>("Game", "new_room"), room);
    auto other = std::make_shared<Simple<std::string>>("Room", "name", "cellar");
    content.set<Variable>("Game", "new_room", other);
    EXPECT_EQ(content.get<Simple<std::string>>("Game", "new_room"), other);
    content.set<Variable>("Game", "new_room", nullptr);
    EXPECT_EQ(content.request<Simple<std::string>>("Game", "new_room"), nullptr);
    EXPECT_NE(content.request<Variable>("Game", "new_room"), nullptr);
}

TEST(ContentTest, ValueWithDefault) {
    Content content;
    EXPECT_EQ(content.value<Simple<std::string>>("Player", "name", "nobody"), "nobody");
    content.set<Simple<std::string>>("Player", "name", "Ada");
    EXPECT_EQ(content.value<Simple<std::string>>("Player", "name", "nobody"), "Ada");
}

TEST(ContentTest, GetOrSetCreatesOnlyWhenNeeded) {
    Content content;
    auto first = content.get_or_set<Simple<std::string>>("Door", "state");
    EXPECT_EQ(first->value(), "");
    first->set("open");
    EXPECT_EQ(content.get_or_set<Simple<std::string>>("Door", "state", "closed"), first);
    // Another type under the key: a new component replaces it.
    content.set<Simple<int>>("Lamp", "state", 1);
    auto made = content.get_or_set<Simple<std::string>>("Lamp", "state", "on");
    EXPECT_EQ(made->value(), "on");
    EXPECT_EQ(content.request<Simple<int>>("Lamp", "state"), nullptr);
}

TEST(ContentTest, Remove) {
    Content content;
    EXPECT_FALSE(content.remove("No", "thing", true));
    auto c = content.set<Simple<int>>("A", "image", 1);
    EXPECT_TRUE(content.remove("A", "image"));
    EXPECT_EQ(content.request<Simple<int>>("A", "image"), nullptr);
    content.set(c);
    // Removing through a reference to the stored pointer itself.
    EXPECT_TRUE(content.remove(content.components("image").begin()->second));
    EXPECT_TRUE(content.components("image").empty());
}

TEST(ContentTest, Signals) {
    Content content;
    content.emit("Game", "exit");
    EXPECT_TRUE(content.signal("Game", "exit"));
    EXPECT_TRUE(content.signal("Game", "exit")) << "testing consumes nothing";
    EXPECT_TRUE(content.receive("Game", "exit"));
    EXPECT_FALSE(content.receive("Game", "exit"));
    EXPECT_FALSE(content.signal("Game", "exit"));

    content.set<Simple<int>>("Dialog", "choice", 2);
    EXPECT_FALSE(content.receive("Dialog", "choice"));
    EXPECT_FALSE(content.signal("Dialog", "choice"));
    EXPECT_NE(content.request<Simple<int>>("Dialog", "choice"), nullptr) << "left in place";
    content.emit("Dialog", "choice");
    EXPECT_EQ(content.request<Simple<int>>("Dialog", "choice"), nullptr);
    EXPECT_TRUE(content.receive("Dialog", "choice"));
}

TEST(ContentTest, SlotsKeepTheirOwnReference) {
    Content content;
    auto zoom =
        content.set_fac<Simple<double>>(Fast_access_component::CAMERA_ZOOM, "Camera", "zoom", 1.0);
    EXPECT_EQ(content.request<Simple<double>>("Camera", "zoom"), zoom) << "same object";
    EXPECT_EQ(&content.value<Simple<double>>(Fast_access_component::CAMERA_ZOOM), &zoom->value());

    // A later set under the key replaces the map entry only.
    content.set<Simple<double>>("Camera", "zoom", 3.0);
    EXPECT_DOUBLE_EQ(content.value<Simple<double>>(Fast_access_component::CAMERA_ZOOM), 1.0);
    EXPECT_DOUBLE_EQ(content.get<Simple<double>>("Camera", "zoom")->value(), 3.0);

    // The filtered clear drops the entry from the maps; the slot still answers.
    content.clear(
        [](const std::shared_ptr<Component::Base>& c) { return c->entity() == "Camera"; });
    EXPECT_EQ(content.request<Component::Base>("Camera", "zoom"), nullptr);
    EXPECT_DOUBLE_EQ(content.value<Simple<double>>(Fast_access_component::CAMERA_ZOOM), 1.0);
    EXPECT_EQ(content.request<Simple<double>>(Fast_access_component::CAMERA_ZOOM), zoom);
    EXPECT_EQ(content.request<Simple<double>>(Fast_access_component::CLOCK_TIME), nullptr);
}

TEST(ContentTest, FilteredClearKeepsTheOthers) {
    Content content;
    content.set<Simple<int>>("room_door", "image", 1);
    content.set<Simple<int>>("Game", "image", 2);
    content.set<Simple<int>>("room_door", "zoom", 3);
    content.emit("Game", "exit");
    std::size_t asked = 0;
    content.clear([&](const std::shared_ptr<Component::Base>& c) {
        ++asked;
        return !c->is_system();
    });
    EXPECT_EQ(asked, 4u);
    EXPECT_EQ(content.request<Component::Base>("room_door", "image"), nullptr);
    EXPECT_EQ(content.request<Component::Base>("room_door", "zoom"), nullptr);
    EXPECT_NE(content.request<Component::Base>("Game", "image"), nullptr);
    EXPECT_TRUE(content.signal("Game", "exit"));
}

TEST(ContentTest, FullClearEmptiesEverything) {
    Content content;
    content.set_fac<Simple<double>>(Fast_access_component::CLOCK_TIME, "Clock", "time", 5.0);
    content.set<Simple<int>>("A", "b", 1);
    content.clear();
    EXPECT_EQ(content.request<Simple<double>>(Fast_access_component::CLOCK_TIME), nullptr);
    EXPECT_EQ(content.request<Component::Base>("A", "b"), nullptr);
    for (const auto& map : content)
        EXPECT_TRUE(map.empty());
    content.clear(); // a second clear finds nothing to release
    EXPECT_FALSE(content.remove("A", "b", true));
}

TEST(ContentTest, SlotValuesOfEveryType) {
    Content content;
    using S = Fast_access_component;
    content.set_fac<Simple<double>>(S::CLOCK_TIME, "Clock", "time", 12.5);
    content.set_fac<Boolean>(S::GAME_DEBUG, "Game", "debug", true);
    content.set_fac<Component::Status>(S::GAME_STATUS, "Game", "status");
    content.set_fac<Simple<std::string>>(S::GAME_CURRENT_LOCALE, "Game", "current_locale", "fr");
    content.set_fac<Simple<Input_mode>>(S::INTERFACE_INPUT_MODE, "Interface", "input_mode",
                                        Input_mode::GAMEPAD);
    content.set_fac<Simple<Orvane::Vector>>(S::STICK_DIRECTION, "Stick", "direction",
                                            Orvane::Vector(0.5, -1));
    EXPECT_DOUBLE_EQ(content.value<Simple<double>>(S::CLOCK_TIME), 12.5);
    EXPECT_TRUE(content.value<Boolean>(S::GAME_DEBUG));
    EXPECT_EQ(content.value<Component::Status>(S::GAME_STATUS), Status::LOCKED);
    EXPECT_EQ(content.value<Simple<std::string>>(S::GAME_CURRENT_LOCALE), "fr");
    EXPECT_EQ(content.value<Simple<Input_mode>>(S::INTERFACE_INPUT_MODE), Input_mode::GAMEPAD);
    EXPECT_EQ(content.value<Simple<Orvane::Vector>>(S::STICK_DIRECTION), Orvane::Vector(0.5, -1));
    // Written in place, read back through the slot.
    content.get<Simple<std::string>>("Game", "current_locale")->set("de");
    EXPECT_EQ(content.value<Simple<std::string>>(S::GAME_CURRENT_LOCALE), "de");
}

TEST(ContentTest, FastAccessNames) {
    EXPECT_EQ(fast_access_name(Fast_access_component::CAMERA_POSITION),
              "CAMERA_POSITION (Camera:position)");
    EXPECT_EQ(fast_access_name(Fast_access_component::STICK_DIRECTION),
              "STICK_DIRECTION (Stick:direction)");
}

TEST(ContentTest, LookupsByViewFindWhatWasFiledUnderStrings) {
    // Names of every length (short ones live inside the string, long ones on the heap), names
    // that differ only past a common prefix, and names whose halves swap.
    const std::pair<std::string, std::string> keys[] = {
        {"A", "image"},
        {"Inventory_item_number_twenty", "image"},
        {"Inventory_item_number_twentyone", "image"},
        {"b", "a"},
        {"a", "b"},
        {"Player", "name"},
        {"Very_long_entity_name_for_the_map_0", "a_component_without_its_own_map"},
        {"", ""}};
    Content content;
    int value = 0;
    for (const auto& [entity, component] : keys)
        content.set<Simple<int>>(entity, component, value++);
    value = 0;
    for (const auto& [entity, component] : keys) {
        SCOPED_TRACE(entity + ":" + component);
        // The same names through views into other buffers, not the strings filed.
        const std::string buffer = "<" + entity + "|" + component + ">";
        const std::string_view e = std::string_view(buffer).substr(1, entity.size());
        const std::string_view c =
            std::string_view(buffer).substr(2 + entity.size(), component.size());
        auto found = content.request<Simple<int>>(e, c);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->value(), value++);
        EXPECT_EQ(found->id().hash(), Component::Id(entity, component).hash());
    }
    EXPECT_EQ(content.request<Component::Base>("Inventory_item_number_twent", "image"), nullptr);
    EXPECT_EQ(content.request<Component::Base>("A", "imag"), nullptr);
    EXPECT_EQ(content.request<Component::Base>("image", "A"), nullptr);
    EXPECT_TRUE(content.remove(std::string_view("Inventory_item_number_twentyone"), "image"));
    EXPECT_NE(content.request<Component::Base>("Inventory_item_number_twenty", "image"), nullptr);
}

// The "entity" names of a list of components, sorted.
std::multiset<std::string> entities(const std::vector<Content::Component_ptr>& components) {
    std::multiset<std::string> out;
    for (const auto& c : components)
        out.insert(c->entity());
    return out;
}

TEST(ContentTest, WalkVisitsOneNameOnly) {
    Content content;
    for (const char* e : {"a", "b", "c"}) {
        content.set<Simple<int>>(e, "image", 1);
        content.set<Simple<int>>(e, "zoom", 2); // map 0, shared with "tint"
        content.set<Simple<int>>(e, "tint", 3);
    }
    for (const char* name : {"image", "zoom", "tint", "path"}) {
        SCOPED_TRACE(name);
        std::vector<Content::Component_ptr> seen;
        content.walk(name, [&](const Content::Component_ptr& c) {
            EXPECT_EQ(c->component(), name);
            seen.push_back(c);
        });
        const std::multiset<std::string> expected = std::string(name) == "path"
                                                        ? std::multiset<std::string>{}
                                                        : std::multiset<std::string>{"a", "b", "c"};
        EXPECT_EQ(entities(seen), expected);
    }
}

TEST(ContentTest, WalkBodiesMaySetAndRemove) {
    constexpr int count = 40;
    auto fill = [](Content& content) {
        for (int i = 0; i < count; ++i)
            content.set<Simple<int>>("e" + std::to_string(i), "image", i);
    };
    struct Case {
        const char* name;
        // What the body does on each visit.
        std::function<void(Content&, const Content::Component_ptr&)> body;
        std::size_t visits; // 0: any number
        std::size_t left;   // components of the name left after the walk
    };
    const std::vector<Case> cases = {
        {"removes the component visited",
         [](Content& c, const Content::Component_ptr& v) { c.remove(v); }, count, 0},
        {"removes every other component at the first visit",
         [](Content& c, const Content::Component_ptr& v) {
             for (int i = 0; i < count; ++i)
                 if ("e" + std::to_string(i) != v->entity())
                     c.remove("e" + std::to_string(i), "image", true);
         },
         1, 1},
        {"files new components of the walked name",
         [](Content& c, const Content::Component_ptr& v) {
             c.set<Simple<int>>("new_" + v->entity(), "image", 0);
         },
         count, 2 * count},
        {"replaces every component not yet visited",
         [](Content& c, const Content::Component_ptr& v) {
             for (int i = 0; i < count; ++i) {
                 const std::string e = "e" + std::to_string(i);
                 if (e != v->entity() && c.request<Simple<int>>(e, "image")->value() >= 0)
                     c.set<Simple<int>>(e, "image", -1);
             }
         },
         1, count},
        {"clears the store", [](Content& c, const Content::Component_ptr&) { c.clear(); }, 1, 0},
        {"clears the room's components",
         [](Content& c, const Content::Component_ptr&) {
             c.clear([](const Content::Component_ptr& x) { return !x->is_system(); });
         },
         1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Content content;
        fill(content);
        std::vector<Content::Component_ptr> seen;
        content.walk("image", [&](const Content::Component_ptr& visited) {
            // Every component visited is still the one stored under its key.
            EXPECT_EQ(content.request<Component::Base>(visited->entity(), "image"), visited);
            EXPECT_EQ(visited->entity().rfind("new_", 0), std::string::npos)
                << "a component filed during the walk was visited";
            seen.push_back(visited);
            c.body(content, visited);
            // The body may have dropped the store's reference: the walk's keeps it alive.
            EXPECT_GE(std::static_pointer_cast<Simple<int>>(visited)->value(), 0);
        });
        EXPECT_EQ(seen.size(), c.visits);
        const std::multiset<std::string> visited = entities(seen);
        EXPECT_EQ(visited.size(), std::set<std::string>(visited.begin(), visited.end()).size())
            << "a component was visited twice";
        EXPECT_EQ(content.components("image").size(), c.left);
    }
}

TEST(ContentTest, WalksNest) {
    Content content;
    for (const char* e : {"a", "b", "c"})
        content.set<Simple<int>>(e, "action", 0);
    int pairs = 0;
    content.walk("action", [&](const Content::Component_ptr& outer) {
        content.walk("action", [&](const Content::Component_ptr& inner) {
            ++pairs;
            if (inner != outer)
                content.remove(inner); // the outer walk then skips it
        });
    });
    EXPECT_EQ(pairs, 3) << "the first outer visit removes the other two";
    EXPECT_EQ(content.components("action").size(), 1u);
}

TEST(ContentTest, FixedKeysReachWhatTheNamesReach) {
    Content content;
    constexpr Store_key volume{"Music", "volume"};
    auto made = content.set<Simple<int>>(volume, 3);
    EXPECT_EQ(made->entity(), "Music");
    EXPECT_EQ(made->component(), "volume");
    EXPECT_EQ(content.request<Simple<int>>("Music", "volume"), made);
    EXPECT_EQ(content.request<Simple<int>>(volume), made);
    EXPECT_EQ(content.get<Simple<int>>(volume), made);
    EXPECT_EQ(content.request<Simple<double>>(volume), nullptr);
    EXPECT_EQ(content.value<Simple<int>>(volume, 9), 3);
    EXPECT_EQ(content.get_or_set<Simple<int>>(volume, 7), made);
    EXPECT_TRUE(content.remove(volume));
    EXPECT_FALSE(content.remove(volume, true));
    EXPECT_EQ(content.value<Simple<int>>(volume, 9), 9);
    EXPECT_EQ(content.get_or_set<Simple<int>>(volume, 7)->value(), 7);

    content.emit(Key::game_exit);
    EXPECT_TRUE(content.signal("Game", "exit"));
    EXPECT_TRUE(content.signal(Key::game_exit));
    EXPECT_TRUE(content.receive(Key::game_exit));
    EXPECT_FALSE(content.receive(Key::game_exit));

    auto zoom = content.set_fac<Simple<double>>(Fast_access_component::CAMERA_ZOOM,
                                                Key::camera_zoom, 2.0);
    EXPECT_EQ(content.request<Simple<double>>(Key::camera_zoom), zoom);
    EXPECT_EQ(content.value<Simple<double>>(Fast_access_component::CAMERA_ZOOM), 2.0);
    EXPECT_EQ(Key::camera_zoom.str(), "Camera:zoom");
}

TEST(ContentTest, SuffixHelpersBuildTheEntities) {
    EXPECT_EQ(Key::body("ada"), "ada_body");
    EXPECT_EQ(Key::head("ada"), "ada_head");
    EXPECT_EQ(Key::head_move("ada"), "ada_head_move");
    EXPECT_EQ(Key::mouth("ada"), "ada_mouth");
    EXPECT_EQ(Key::idle("ada"), "ada_idle");
    EXPECT_EQ(Key::button("lock"), "lock_button");
}

TEST(ContentDeathTest, FatalMessages) {
    Content content;
    content.set<Simple<int>>("Music", "volume", 1);
    EXPECT_EXIT(content.get<Simple<int>>("Game", "missing"), ::testing::ExitedWithCode(1),
                "Cannot find Game:missing");
    EXPECT_EXIT(content.get<Simple<double>>("Music", "volume"), ::testing::ExitedWithCode(1),
                "Cannot find Music:volume");
    EXPECT_EXIT(content.remove("Game", "missing"), ::testing::ExitedWithCode(1),
                "Id Game:missing doesn't exist");
    EXPECT_EXIT(content.get<Simple<int>>(Key::player_name), ::testing::ExitedWithCode(1),
                "Cannot find Player:name");
    EXPECT_EXIT(content.remove(Key::player_name), ::testing::ExitedWithCode(1),
                "Id Player:name doesn't exist");
}

TEST(ContentDeathTest, ValueOfAnEmptyOrMistypedSlotNamesTheSlot) {
    Content content;
    EXPECT_EXIT(content.value<Simple<double>>(Fast_access_component::CLOCK_TIME),
                ::testing::ExitedWithCode(1),
                "Fast-access slot CLOCK_TIME \\(Clock:time\\) is empty");
    content.set_fac<Simple<int>>(Fast_access_component::CAMERA_ZOOM, "Camera", "zoom", 1);
    EXPECT_EXIT(content.value<Simple<double>>(Fast_access_component::CAMERA_ZOOM),
                ::testing::ExitedWithCode(1),
                "Fast-access slot CAMERA_ZOOM \\(Camera:zoom\\) does not hold the requested type: "
                "Simple<int>\\(Camera:zoom\\)");
}

} // namespace
