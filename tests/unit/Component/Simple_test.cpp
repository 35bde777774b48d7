#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>
#include <Orvane/Utils/geometry.h>

namespace {

using namespace Orvane;
using namespace Orvane::Component;

TEST(SimpleTest, ValueDefaultsAndConversion) {
    EXPECT_EQ(Simple<int>("a", "b").value(), 0);
    EXPECT_EQ(Simple<std::string>("a", "b").value(), "");
    EXPECT_DOUBLE_EQ(Simple<double>("Camera", "zoom", 2).value(), 2.0) << "an int is accepted";
}

TEST(SimpleTest, SetMarksEvenAnEqualValue) {
    Simple<int> volume("Music", "volume", 3);
    EXPECT_FALSE(volume.was_altered());
    volume.set(3);
    EXPECT_TRUE(volume.was_altered());
    EXPECT_EQ(volume.value(), 3);
    volume.set(7);
    EXPECT_EQ(volume.value(), 7);
}

TEST(SimpleTest, PrintedNames) {
    struct Case {
        std::shared_ptr<Base> c;
        std::string name;
    };
    const Case cases[] = {
        {std::make_shared<Simple<double>>("a", "b"), "Simple<double>"},
        {std::make_shared<Simple<int>>("a", "b"), "Simple<int>"},
        {std::make_shared<Simple<std::string>>("a", "b"), "Simple<std::string>"},
        {std::make_shared<Tuple<double, double, bool>>("a", "b", 1.0, 2.0, true), "Tuple<...>"},
        {std::make_shared<Pair<double, double>>("a", "b", 1.0, 2.0), "Pair<double,double>"},
        {std::make_shared<Array<double, 4>>("a", "b", 1.0, 2.0, 3.0, 4.0), "Array<double,4>"},
        {std::make_shared<Set<std::string>>("a", "b"), "Set<std::string>"},
        {std::make_shared<Component::Vector<std::string>>("a", "b"), "Vector<std::string>"},
        {std::make_shared<Variable>("a", "b", nullptr), "Variable"}};
    for (const auto& [c, name] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(c->str_name(), name);
        EXPECT_EQ(c->str_value(), "") << "holders print no value";
    }
    const std::string other = Simple<Orvane::Vector>("Stick", "direction").str_name();
    EXPECT_EQ(other.rfind("Simple<", 0), 0u);
    EXPECT_GT(other.size(), std::string("Simple<>").size()) << "a run-time type name";
    EXPECT_EQ(Simple<int>("Music", "volume", 3).str(), "Simple<int>(Music:volume)");
}

TEST(SimpleTest, CompoundValuesAreReadByPosition) {
    Tuple<Point, Point, int, int, double, double> move("hero", "move", Point(1, 2), Point(3, 4), 5,
                                                       6, 7.5, 8.5);
    EXPECT_EQ(std::get<1>(move.value()), Point(3, 4));
    EXPECT_EQ(std::get<3>(move.value()), 6);
    EXPECT_DOUBLE_EQ(std::get<5>(move.value()), 8.5);
    Pair<double, double> rumble("Gamepad", "rumble", 0.5, 2.0);
    EXPECT_DOUBLE_EQ(rumble.value().second, 2.0);
    Array<double, 4> shake("Camera", "shake", 1.0, 2.0, 3.0, 4.0);
    EXPECT_DOUBLE_EQ(shake.value()[3], 4.0);
    Set<std::string> rooms("Game", "visited_rooms");
    EXPECT_TRUE(rooms.value().empty());
    Component::Vector<std::string> choices("Dialog", "choices", {"x", "y"});
    EXPECT_EQ(choices.value(), (std::vector<std::string>{"x", "y"}));
    Simple<std::function<void()>> callback("Game", "loading_callback", [] {});
    EXPECT_TRUE(static_cast<bool>(callback.value()));
}

TEST(SimpleTest, VectorRemoveErasesTheFirstMatchOnly) {
    struct Case {
        std::vector<std::string> before;
        std::string removed;
        std::vector<std::string> after;
    };
    const Case cases[] = {{{"a", "b", "c", "b"}, "b", {"a", "c", "b"}},
                          {{"a", "c"}, "b", {"a", "c"}},
                          {{}, "b", {}},
                          {{"b"}, "b", {}}};
    for (const auto& [before, removed, after] : cases) {
        SCOPED_TRACE(::testing::PrintToString(before));
        Component::Vector<std::string> list("Dialog", "choices", before);
        list.remove(removed);
        EXPECT_EQ(list.value(), after);
        EXPECT_FALSE(list.was_altered());
    }
}

TEST(VariableTest, StandsForItsTarget) {
    auto room = std::make_shared<Simple<std::string>>("Room", "name", "hall");
    Variable v("Game", "new_room", room);
    EXPECT_EQ(v.get(), room);
    EXPECT_EQ(cast<Simple<std::string>>(v.get()), room);
    auto other = std::make_shared<Simple<std::string>>("Room", "name", "cellar");
    v.set(other);
    EXPECT_EQ(v.get(), other);
    EXPECT_FALSE(v.was_altered());
    EXPECT_EQ(v.str(), "Variable(Game:new_room)\n--Target = Simple<std::string>(Room:name)\n");
    v.set(nullptr);
    EXPECT_EQ(v.str_sub(0), "--Target = nullptr\n");
}

} // namespace
