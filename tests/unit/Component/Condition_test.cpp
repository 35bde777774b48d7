#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>

namespace {

using namespace Orvane;
using namespace Orvane::Component;

// A condition that counts how often it is asked.
class Counting : public Condition {
  public:
    Counting(const std::string& entity, bool given)
        : Condition(entity, "counting"), answer(given) {}
    bool value() const override {
        ++asked;
        return answer;
    }
    bool answer;
    mutable int asked = 0;
};

std::shared_ptr<Signal> leaf(const std::string& entity) {
    return std::make_shared<Signal>(entity, "image");
}

TEST(ConditionTest, BooleanSetToggleAndTemporaryTrue) {
    Boolean b("Window", "fullscreen", false);
    b.toggle();
    EXPECT_TRUE(b.value());
    EXPECT_FALSE(b.was_altered()) << "toggle does not mark";
    b.set(true);
    EXPECT_TRUE(b.was_altered()) << "set marks even with the current value";
    b.set(false);
    b.begin_temporary_true();
    EXPECT_TRUE(b.value());
    b.end_temporary_true();
    EXPECT_FALSE(b.value());
}

TEST(ConditionTest, LogicShortCircuits) {
    struct Case {
        bool a, b;
        bool and_value, or_value;
        int b_asked_by_and, b_asked_by_or;
    };
    const Case cases[] = {{false, true, false, true, 0, 1},
                          {true, false, false, true, 1, 0},
                          {true, true, true, true, 1, 0},
                          {false, false, false, false, 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "a=" << c.a << " b=" << c.b);
        auto a = std::make_shared<Counting>("x", c.a);
        auto b = std::make_shared<Counting>("y", c.b);
        EXPECT_EQ(make_and(a, b)->value(), c.and_value);
        EXPECT_EQ(b->asked, c.b_asked_by_and);
        b->asked = 0;
        EXPECT_EQ(make_or(a, b)->value(), c.or_value);
        EXPECT_EQ(b->asked, c.b_asked_by_or);
        EXPECT_EQ(make_not(a)->value(), !c.a);
    }
}

TEST(ConditionTest, BuildersNameTheirComponents) {
    auto a = std::make_shared<Boolean>("x", "c", true);
    auto b = std::make_shared<Boolean>("y", "c", true);
    EXPECT_EQ(make_and(a, b)->id().str(), "x_y:and");
    EXPECT_EQ(make_or(a, b)->id().str(), "x_y:or");
    EXPECT_EQ(make_not(a)->id().str(), "x:not");
    auto status = std::make_shared<Component::Status>("Game", "status");
    EXPECT_EQ(make_value_condition<Orvane::Status>(status, Orvane::Status::PAUSE)->id().str(),
              "Game:value_cond");
}

TEST(ConditionTest, UnlockedFollowsTheStatusStack) {
    auto status = std::make_shared<Component::Status>("Game", "status");
    auto unlocked =
        make_and(make_not(make_value_condition<Orvane::Status>(status, Orvane::Status::PAUSE)),
                 make_not(make_value_condition<Orvane::Status>(status, Orvane::Status::CUTSCENE)));
    EXPECT_EQ(unlocked->id().str(), "Game_Game:and");
    EXPECT_TRUE(unlocked->value()) << "locked is neither pause nor cutscene";
    status->push(Orvane::Status::CUTSCENE);
    EXPECT_FALSE(unlocked->value());
    status->push(Orvane::Status::PAUSE);
    EXPECT_FALSE(unlocked->value());
    status->pop();
    status->pop();
    EXPECT_TRUE(unlocked->value());
}

TEST(ConditionTest, FunctionalCondition) {
    std::string seen;
    Functional_condition f(
        "Door", "open",
        [&](const std::string& arg) {
            seen = arg;
            return arg == "door";
        },
        "door");
    EXPECT_TRUE(f.value());
    EXPECT_EQ(seen, "door");
    EXPECT_EQ(f.str_name(), "Function_condition");
    EXPECT_EQ(f.str_value(), "door");
}

TEST(ConditionTest, PrintedForms) {
    auto b = std::make_shared<Boolean>("Window", "fullscreen", true);
    EXPECT_EQ(static_cast<const Condition&>(*b).str(), "Boolean(Window:fullscreen) = true TRUE");
    EXPECT_EQ(static_cast<const Base&>(*b).str(), "Boolean(Window:fullscreen) = true");
    auto n = make_not(b);
    EXPECT_EQ(static_cast<const Condition&>(*n).str(),
              "Not(Window:not)\n--Negate = Boolean(Window:fullscreen) = true\n FALSE");
    auto a = make_and(b, std::make_shared<Boolean>("x", "c", false));
    EXPECT_EQ(a->str_sub(0), "--A = Boolean(Window:fullscreen) = true\n"
                             "--B = Boolean(x:c) = false\n");
    auto status = std::make_shared<Component::Status>("Game", "status");
    auto pause = make_value_condition<Orvane::Status>(status, Orvane::Status::PAUSE);
    EXPECT_EQ(pause->str_value(), "2");
    EXPECT_EQ(pause->str_sub(0), "--Reference = Status(Game:status) =  locked idle\n");
    auto conditional = std::make_shared<Conditional>("hero", "skin", b, leaf("t"), nullptr);
    EXPECT_EQ(conditional->str_sub(0), "--Condition = Boolean(Window:fullscreen) = true\n"
                                       "--If true = Signal(t:image)\n"
                                       "--If false = nullptr\n");
    EXPECT_EQ(Random_conditional("a", "b").str_name(), "Base");
}

TEST(ConditionalTest, ConditionalFollowsItsCondition) {
    auto flag = std::make_shared<Boolean>("hero", "disguised", false);
    auto yes = leaf("yes");
    auto no = leaf("no");
    Conditional c("hero", "skin", flag, yes, no);
    EXPECT_EQ(c.get(), no);
    flag->set(true);
    EXPECT_EQ(c.get(), yes);
}

TEST(ConditionalTest, FunctionalConditionalOutOfRangeIsNull) {
    std::size_t index = 0;
    Functional_conditional f(
        "Fast_forward", "image", [&](const std::string&) { return index; }, "arg");
    EXPECT_EQ(f.get(), nullptr) << "no candidates";
    auto first = leaf("a");
    auto second = leaf("b");
    f.add(first);
    f.add(second);
    EXPECT_EQ(f.get(), first);
    index = 1;
    EXPECT_EQ(f.get(), second);
    index = 2;
    EXPECT_EQ(f.get(), nullptr);
    index = static_cast<std::size_t>(-1);
    EXPECT_EQ(f.get(), nullptr);
}

TEST(ConditionalTest, RandomConditional) {
    Random_conditional r("Default", "comment");
    EXPECT_EQ(r.get(), nullptr) << "no candidates";
    EXPECT_EQ(r.choose(0.3), nullptr);
    auto first = leaf("a");
    r.add(first);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(r.get(), first);
    auto second = leaf("b");
    r.add(second);
    const std::pair<double, std::shared_ptr<Base>> draws[] = {
        {0.0, first}, {0.4999, first}, {0.5, second}, {0.9, second}, {1.0, second}};
    for (const auto& [draw, expected] : draws) {
        SCOPED_TRACE(draw);
        EXPECT_EQ(r.choose(draw), expected);
    }
    auto third = leaf("c");
    r.add(third);
    EXPECT_EQ(r.choose(1.0), third) << "a sum just below 1 falls back on the last";
    bool seen_first = false, seen_third = false;
    for (int i = 0; i < 200; ++i) {
        auto c = r.get();
        seen_first |= c == first;
        seen_third |= c == third;
    }
    EXPECT_TRUE(seen_first && seen_third) << "draws anew at every get";
}

TEST(ConditionalTest, SimpleConditionalByStringAndInputMode) {
    auto state = std::make_shared<Simple<std::string>>("door", "state", "closed");
    Simple_conditional<std::string> image("door", "image", state);
    auto closed = leaf("closed");
    image.add("closed", closed);
    image.add("closed", leaf("other")); // the first stays
    EXPECT_EQ(image.get(), closed);
    EXPECT_EQ(image.str_value(), "closed");
    EXPECT_EQ(image.str_sub(0), "--If closed = Signal(closed:image)\n");
    state->set("open");
    EXPECT_EQ(image.get(), nullptr);

    auto mode =
        std::make_shared<Simple<Input_mode>>("Interface", "input_mode", Input_mode::GAMEPAD);
    Simple_conditional<Input_mode> action("door", "action", mode);
    auto pad = leaf("pad");
    action.add(Input_mode::GAMEPAD, pad);
    EXPECT_EQ(action.get(), pad);
    EXPECT_EQ(action.str_value(), "2");
    mode->set(Input_mode::MOUSE);
    EXPECT_EQ(action.get(), nullptr);
}

// Every typed reader of the store looks through each kind of conditional.
TEST(ConditionalTest, StoreReadersLookThroughEveryConditional) {
    Content content;
    auto target = std::make_shared<Simple<std::string>>("t", "text", "hello");
    auto yes = std::make_shared<Boolean>("c", "flag", true);
    auto state = std::make_shared<Simple<std::string>>("s", "state", "on");
    auto by_state = std::make_shared<Simple_conditional<std::string>>("k", "text", state);
    by_state->add("on", target);
    auto random = std::make_shared<Random_conditional>("k", "text");
    random->add(target);
    auto functional = std::make_shared<Functional_conditional>(
        "k", "text", [](const std::string&) { return std::size_t{0}; }, "");
    functional->add(target);
    const std::shared_ptr<Conditional_base> conditionals[] = {
        std::make_shared<Conditional>("k", "text", yes, target, nullptr),
        functional,
        random,
        by_state,
        std::make_shared<Variable>("k", "text", target),
        std::make_shared<Variable>("k", "text", std::make_shared<Variable>("v", "v", by_state))};
    for (const auto& conditional : conditionals) {
        SCOPED_TRACE(conditional->str());
        content.set(conditional);
        EXPECT_EQ(content.request<Simple<std::string>>("k", "text"), target);
        EXPECT_EQ(content.get<Simple<std::string>>("k", "text"), target);
        EXPECT_EQ(content.value<Simple<std::string>>("k", "text", "none"), "hello");
        EXPECT_EQ(content.get_or_set<Simple<std::string>>("k", "text"), target);
        EXPECT_EQ(content.request<Simple<int>>("k", "text"), nullptr);
        EXPECT_EQ(content.request<Component::Base>("k", "text"), conditional);
    }
}

TEST(ConditionalDeathTest, GetOfAConditionalSelectingNothingIsFatal) {
    Content content;
    auto state = std::make_shared<Simple<std::string>>("door", "state", "broken");
    content.set<Simple_conditional<std::string>>("door", "image", state);
    EXPECT_EQ(content.request<Signal>("door", "image"), nullptr);
    EXPECT_EXIT(content.get<Signal>("door", "image"), ::testing::ExitedWithCode(1),
                "Cannot find door:image");
}

} // namespace
