#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>

namespace {

using namespace Orvane;
using Component::Absolute_position;
using Component::Double_relative_position;
using Component::Functional_position;
using Component::Position;
using Component::Relative_position;

void expect_point(const Point& actual, double x, double y) {
    EXPECT_NEAR(actual.x(), x, 1e-9) << "x of " << to_string(actual);
    EXPECT_NEAR(actual.y(), y, 1e-9) << "y of " << to_string(actual);
}

std::shared_ptr<Absolute_position> absolute(double x, double y, bool interface = true) {
    return std::make_shared<Absolute_position>("a", "position", Point(x, y), interface);
}

TEST(PositionTest, Absolute) {
    auto p = std::make_shared<Absolute_position>("door", "position", Point(1.5, 2));
    EXPECT_TRUE(p->is_interface()) << "interface unless told otherwise";
    EXPECT_FALSE(p->was_altered());
    EXPECT_EQ(p->str_value(), "Point(1.500000;2.000000)");
    EXPECT_EQ(p->str(), "Absolute_position(door:position) = Point(1.500000;2.000000)");
    p->set(Point(3, 4));
    expect_point(p->value(), 3, 4);
    EXPECT_TRUE(p->was_altered());
    p->is_interface() = false; // the room reader clears the flag this way
    EXPECT_FALSE(std::as_const(*p).is_interface());
}

// value() of each kind, given its references, as a table.
TEST(PositionTest, ValuesOfEveryKind) {
    auto ref = absolute(10, 20, false);
    auto second = absolute(1, 2);
    struct Case {
        std::string name;
        std::shared_ptr<Position> position;
        double x, y;
        bool interface;
    };
    const Case cases[] = {
        {"relative", std::make_shared<Relative_position>("r", "p", ref, Orvane::Vector(-10, 0)), 0,
         20, false},
        {"relative scaled",
         std::make_shared<Relative_position>("r", "p", ref, Orvane::Vector(1, 1), 0.5), 6, 11,
         false},
        {"relative without offset", std::make_shared<Relative_position>("r", "p", ref), 10, 20,
         false},
        {"relative factor 0",
         std::make_shared<Relative_position>("r", "p", ref, Orvane::Vector(7, 8), 0.0), 7, 8,
         false},
        {"double", std::make_shared<Double_relative_position>("d", "p", ref, second, 2.0), 21, 42,
         false},
        {"functional",
         std::make_shared<Functional_position>(
             "f", "p", [](const std::string& arg) { return Point(arg.size(), 5); }, "abc", true),
         3, 5, true},
        {"relative over double",
         std::make_shared<Relative_position>(
             "r", "p", std::make_shared<Double_relative_position>("d", "p", second, ref, 1.0),
             Orvane::Vector(0, 1)),
         11, 23, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expect_point(c.position->value(), c.x, c.y);
        EXPECT_EQ(c.position->is_interface(), c.interface);
    }
}

TEST(PositionTest, RelativeSetSolvesForTheOffset) {
    auto ref = absolute(10, 20);
    auto label =
        std::make_shared<Relative_position>("door", "label", ref, Orvane::Vector(-10, 0), 2.0);
    EXPECT_EQ(label->str_value(), "Vector(-10.000000;0.000000)");
    label->set(Point(25, 45));
    expect_point(label->value(), 25, 45);
    EXPECT_TRUE(label->was_altered());
    EXPECT_FALSE(ref->was_altered()) << "the reference is not touched";
    ref->set(Point(11, 20));
    expect_point(label->value(), 27, 45); // moves by the reference's move times the factor
    label->mark_as_unaltered();
    label->set(Orvane::Vector(1, 1));
    expect_point(label->value(), 23, 41);
    EXPECT_FALSE(label->was_altered());
    EXPECT_EQ(label->str_sub(0), "--Reference -> Absolute_position(a:position) = "
                                 "Point(11.000000;20.000000)\n");
}

TEST(PositionTest, DoubleSetMovesTheSharedSecondReference) {
    auto first = absolute(100, 100);
    auto shared = absolute(0, 0);
    auto a = std::make_shared<Double_relative_position>("a", "position", first, shared, 0.5);
    auto b =
        std::make_shared<Double_relative_position>("b", "position", absolute(0, 0), shared, 1.0);
    a->set(Point(60, 70));
    expect_point(a->value(), 60, 70);
    expect_point(shared->value(), 10, 20);
    EXPECT_TRUE(a->was_altered());
    EXPECT_TRUE(shared->was_altered()) << "an absolute second reference marks itself";
    // everything built on the second reference moves
    expect_point(b->value(), 10, 20);
    first->set(Point(120, 100));
    expect_point(a->value(), 70, 70);
    a->set(Orvane::Vector(1, 2));
    expect_point(shared->value(), 1, 2);
    EXPECT_EQ(a->str_value(), "");
    EXPECT_EQ(a->str_sub(0),
              "--Ref = Absolute_position(a:position) = Point(120.000000;100.000000)\n"
              "--Diff = Absolute_position(a:position) = Point(1.000000;2.000000)\n");
}

TEST(PositionTest, FunctionalFixedPoint) {
    Functional_position f(
        "door", "label", [](const std::string&) { return Point(1, 1); }, "door", false);
    EXPECT_FALSE(f.is_interface());
    EXPECT_EQ(f.str_value(), "arg(door)");
    expect_point(f.value(), 1, 1);
    f.set(Point(5, 6));
    EXPECT_FALSE(f.was_altered());
    expect_point(f.value(), 5, 6);
    f.set([](const std::string&) { return Point(9, 9); });
    // replacing the function keeps the fixed point
    expect_point(f.value(), 5, 6);
    expect_point(f.function()("x"), 9, 9);
    f.set(Point::invalid());
    // the invalid point clears the fixed point
    expect_point(f.value(), 9, 9);
}

TEST(PositionTest, AbsoluteReference) {
    auto root = absolute(1, 1);
    auto middle = std::make_shared<Relative_position>("m", "p", root, Orvane::Vector(0, 0));
    auto top = std::make_shared<Relative_position>("t", "p", middle, Orvane::Vector(1, 0));
    EXPECT_EQ(top->absolute_reference(), root);
    EXPECT_EQ(
        std::make_shared<Double_relative_position>("d", "p", top, root, 1.0)->absolute_reference(),
        root);
    auto functional = std::make_shared<Functional_position>(
        "f", "p", [](const std::string&) { return Point(0, 0); }, "", true);
    EXPECT_EQ(std::make_shared<Relative_position>("r", "p", functional, Orvane::Vector(0, 0))
                  ->absolute_reference(),
              nullptr);
}

TEST(PositionTest, StoreSlotsReadPositions) {
    Content content;
    content.set_fac<Absolute_position>(Fast_access_component::CAMERA_POSITION, "Camera", "position",
                                       Point(0, 0));
    content.set_fac<Absolute_position>(Fast_access_component::CURSOR_POSITION, "Cursor", "position",
                                       Point(3, 4));
    expect_point(content.value<Position>(Fast_access_component::CURSOR_POSITION), 3, 4);
    expect_point(content.value<Absolute_position>(Fast_access_component::CAMERA_POSITION), 0, 0);
    content.clear([](const std::shared_ptr<Component::Base>&) { return true; });
    expect_point(content.value<Position>(Fast_access_component::CAMERA_POSITION), 0, 0);
}

} // namespace
