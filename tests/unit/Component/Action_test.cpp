#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>

namespace {

using Orvane::Component::Action;
using Orvane::Component::Base;
using Orvane::Component::Signal;

std::shared_ptr<Action> script(const std::vector<std::string>& keywords) {
    auto action = std::make_shared<Action>("door_look", "action");
    for (const auto& k : keywords)
        action->add(k, {});
    return action;
}

TEST(ActionTest, StartsEmptyAndOff) {
    Action a("door_look", "action");
    EXPECT_EQ(a.size(), 0u);
    EXPECT_FALSE(a.on());
    EXPECT_TRUE(a.ready());
    EXPECT_TRUE(a.scheduled().empty());
    EXPECT_EQ(a.str_value(), "");
    EXPECT_EQ(a.str(), "Action(door_look:action)");
}

TEST(ActionTest, PrintedForms) {
    EXPECT_EQ(Action::Step("play", {"a", "b"}).to_string(), "play:[a, b]");
    EXPECT_EQ(Action::Step("wait", {}).to_string(), "wait:[]");
    Action a("door_look", "action");
    a.add("look", {"Door"});
    a.add("wait", {});
    EXPECT_EQ(a.str_value(), "\n * look:[Door]\n * wait:[]");
    EXPECT_EQ(a.first_step().function(), "look");
    EXPECT_EQ(a.last_step().function(), "wait");
    std::vector<std::string> seen;
    for (const auto& step : a)
        seen.push_back(step.function());
    EXPECT_EQ(seen, (std::vector<std::string>{"look", "wait"}));
}

// Keywords handed out, in order, from launch() to the end; "on" after each call.
TEST(ActionTest, StepHandOutWithSkipAndInclude) {
    struct Case {
        std::vector<std::string> steps;
        std::vector<std::string> handed_out;
        std::vector<std::size_t> on_after; // 1 when still on
    };
    const Case cases[] = {
        {{"x"}, {"x"}, {0}},
        {{"a", "b"}, {"a", "b"}, {1, 0}},
        {{"skip", "x", "include", "y", "z"}, {"y", "z"}, {1, 0}},
        {{"include", "x"}, {"include", "x"}, {1, 0}},
        {{"a", "skip", "include", "b"}, {"a", "b"}, {1, 0}},
        {{"skip", "skip", "x", "include", "y", "include", "z"}, {"y", "include", "z"}, {1, 1, 0}},
        {{"SKIP", "include"}, {"SKIP", "include"}, {1, 0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.steps));
        auto a = script(c.steps);
        a->launch();
        EXPECT_TRUE(a->on());
        std::vector<std::string> handed_out;
        std::vector<std::size_t> on_after;
        while (a->on()) {
            handed_out.push_back(a->next_step().function());
            on_after.push_back(a->on() ? 1 : 0);
        }
        EXPECT_EQ(handed_out, c.handed_out);
        EXPECT_EQ(on_after, c.on_after);
    }
}

TEST(ActionTest, StepKeepsItsArguments) {
    Action a("x", "action");
    a.add("say", {"Hello", "there"});
    a.launch();
    const auto& step = a.next_step();
    EXPECT_EQ(step.args(), (std::vector<std::string>{"Hello", "there"}));
}

TEST(ActionTest, HandedOutStepOutlivesARewriteOfItsAction) {
    auto a = script({});
    a->add("trigger", {"intro", "continue"});
    a->launch();
    // A handler may clear and refill the action that it runs from while it reads its step.
    const Action::Step& step = a->next_step();
    a->clear();
    for (int i = 0; i < 16; ++i)
        a->add("talk", {"line " + std::to_string(i)});
    EXPECT_EQ(step.function(), "trigger");
    EXPECT_EQ(step.args(), (std::vector<std::string>{"intro", "continue"}));
}

TEST(ActionTest, AddToARunningActionAndRelaunch) {
    auto a = script({"a", "b"});
    a->launch();
    EXPECT_EQ(a->next_step().function(), "a");
    a->add("c", {});
    EXPECT_TRUE(a->on());
    EXPECT_EQ(a->next_step().function(), "b");
    EXPECT_TRUE(a->on());
    EXPECT_EQ(a->next_step().function(), "c");
    EXPECT_FALSE(a->on());
    a->launch();
    EXPECT_EQ(a->next_step().function(), "a") << "launch starts over";
}

TEST(ActionTest, ScheduleOrderAndDuplicates) {
    Action a("x", "action");
    auto c = std::make_shared<Signal>("door", "effect");
    auto d = std::make_shared<Signal>("lamp", "effect");
    a.schedule(5.0, c);
    a.schedule(5.0, c);
    EXPECT_EQ(a.scheduled().size(), 1u);
    a.schedule(2.0, c);
    a.schedule(3.0, d);
    ASSERT_EQ(a.scheduled().size(), 3u);
    std::vector<double> times;
    for (const auto& [time, component] : a.scheduled())
        times.push_back(time);
    EXPECT_EQ(times, (std::vector<double>{2.0, 3.0, 5.0}));
    a.reset_scheduled();
    EXPECT_TRUE(a.scheduled().empty());
}

TEST(ActionTest, ReadyFollowsTheHoldFlagAndWaitEntries) {
    Action a("x", "action");
    auto effect = std::make_shared<Signal>("door", "effect");
    auto wait = std::make_shared<Signal>("wait", "until");
    a.schedule(1.0, effect);
    EXPECT_TRUE(a.ready()) << "not held back before the first update";
    a.update_scheduled([](const Action::Scheduled&) { return true; });
    EXPECT_FALSE(a.ready());

    a.schedule(0.5, wait);
    a.update_scheduled([](const Action::Scheduled& e) { return e.second->entity() != "wait"; });
    EXPECT_TRUE(a.ready()) << "the dropped wait entry releases the script";
    ASSERT_EQ(a.scheduled().size(), 1u);
    EXPECT_EQ(a.scheduled().begin()->second, effect);

    a.update_scheduled([](const Action::Scheduled&) { return true; });
    EXPECT_FALSE(a.ready());
    a.update_scheduled([](const Action::Scheduled&) { return false; });
    EXPECT_TRUE(a.ready()) << "an empty schedule";
}

TEST(ActionTest, UpdateOnAnEmptyScheduleCallsNothing) {
    Action a("x", "action");
    int calls = 0;
    a.update_scheduled([&](const Action::Scheduled&) {
        ++calls;
        return true;
    });
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(a.ready());
}

TEST(ActionTest, ClearStopAndLaunchTouchTheRightFields) {
    auto a = script({"a", "b"});
    auto effect = std::make_shared<Signal>("door", "effect");
    a->schedule(1.0, effect);
    a->launch();
    EXPECT_EQ(a->scheduled().size(), 1u) << "launch keeps the schedule";
    a->next_step();
    a->stop();
    EXPECT_FALSE(a->on());
    EXPECT_TRUE(a->scheduled().empty());
    EXPECT_EQ(a->size(), 2u);
    a->schedule(1.0, effect);
    a->clear();
    EXPECT_EQ(a->size(), 0u);
    EXPECT_TRUE(a->scheduled().empty());
    EXPECT_FALSE(a->on());
}

TEST(ActionTest, ClearingTheStepsKeepsTheSchedule) {
    auto a = script({"a", "b"});
    auto effect = std::make_shared<Signal>("door", "effect");
    a->schedule(1.0, effect);
    a->launch();
    a->next_step();
    a->clear_steps();
    EXPECT_EQ(a->size(), 0u);
    EXPECT_FALSE(a->on());
    ASSERT_EQ(a->scheduled().size(), 1u) << "what earlier steps scheduled still ends on time";
    EXPECT_EQ(a->scheduled().begin()->second, effect);
    // refilled, it starts again at its first step
    a->add("c", {});
    a->launch();
    EXPECT_EQ(a->next_step().function(), "c");
}

TEST(ActionDeathTest, NextStepPastTheEnd) {
    struct Case {
        std::vector<std::string> steps;
        int calls_before; // successful next_step() calls after launch()
        std::string message;
    };
    const Case cases[] = {
        {{"a", "b"}, 2, "Trying to access step 2 of action Action\\(door_look:action\\)"},
        {{"skip", "x"}, 0, "Trying to access step 2 of action .* of size 2"},
        {{"a", "skip", "include"}, 1, "Trying to access step 3 of action .* of size 3"},
        {{}, 0, "Trying to access step 0 of action Action\\(door_look:action\\) of size 0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.steps));
        auto a = script(c.steps);
        a->launch();
        for (int i = 0; i < c.calls_before; ++i)
            a->next_step();
        EXPECT_EXIT(a->next_step(), ::testing::ExitedWithCode(1), c.message);
    }
}

TEST(ActionDeathTest, MessageShowsTheScript) {
    auto a = script({"a", "b"});
    a->launch();
    a->next_step();
    a->next_step();
    EXPECT_EXIT(a->next_step(), ::testing::ExitedWithCode(1),
                "Trying to access step 2 of action Action\\(door_look:action\\) = \n"
                " \\* a:\\[\\]\n \\* b:\\[\\] of size 2");
    EXPECT_EXIT(script({})->first_step(), ::testing::ExitedWithCode(1), "has no steps");
}

TEST(ActionDeathTest, ATimeThatIsNotANumberHasNoPlaceInTheSchedule) {
    auto a = script({"wait"});
    a->schedule(1.5, std::make_shared<Base>("wait", "wait"));
    EXPECT_EXIT(a->schedule(std::nan(""), std::make_shared<Base>("wait", "wait")),
                ::testing::ExitedWithCode(1),
                "Cannot schedule wait:wait on door_look:action at a time that is not a number");
}

} // namespace
