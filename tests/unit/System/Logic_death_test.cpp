// Scripts that stop the program: wrong argument counts, unknown keywords, scripts that never
// wait, and bound actions that set their own value.

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Simple.h>

#include "support/Logic_store.h"
#include "support/Text.h"

namespace Orvane::Test {
namespace {

// A step keyword with its argument range (max = no upper bound when unbounded) and the message
// of a failed count.
struct Bounded {
    const char* keyword;
    std::size_t min;
    std::size_t max;
    const char* message;
};

constexpr std::size_t unbounded = std::numeric_limits<std::size_t>::max();

const Bounded bounded_keywords[] = {
    {"add", 2, 2, "function_add takes 2 arguments"},
    {"control", 1, 2, "function_control takes 1 or 2 arguments"},
    {"emit", 1, 1, "function_emit takes 1 argument"},
    {"goto", 0, 3, "function_goto takes at most 3 arguments"},
    {"load", 2, 2, "function_load takes 2 arguments"},
    {"look", 0, 2, "function_look takes at most 2 argument"},
    {"message", 1, 1, "function_message takes 1 argument"},
    {"randomize", 2, unbounded, "function_randomize takes more than 1 argument"},
    {"receive", 1, 3, "function_receive takes 1, 2 or 3 argument"},
    {"remove", 2, 2, "function_remove takes 2 3 arguments"},
    {"set", 2, 3, "function_set takes 2 or 3 arguments"},
    {"talk", 1, 3, "function_talk takes 1, 2 or 3 arguments"},
    {"timer", 1, 1, "function_timer takes 1 argument"},
    {"trigger", 1, unbounded, "function_trigger takes at least 1 argument"},
    {"wait", 0, 2, "function_wait takes at most 2 arguments"},
};

// Every bounded keyword, through the step table, with one argument too few and one too many.
TEST(Logic_DeathTest, ArgumentCounts) {
    for (const Bounded& k : bounded_keywords) {
        std::vector<std::size_t> counts;
        if (k.min > 0)
            counts.push_back(k.min - 1);
        if (k.max != unbounded)
            counts.push_back(k.max + 1);
        for (std::size_t count : counts) {
            SCOPED_TRACE(std::string(k.keyword) + " with " + std::to_string(count) +
                         " arguments");
            EXPECT_EXIT(
                {
                    Logic_store s;
                    s.logic->step_handlers.at(k.keyword)(
                        System::Logic::Arguments(count, "1"));
                },
                ::testing::ExitedWithCode(1), literal(k.message));
        }
    }
}

TEST(Logic_DeathTest, UnknownKeyword) {
    EXPECT_EXIT(
        {
            Logic_store s;
            s.action("script", {{"emit", {"a"}}, {"dance", {"now"}}})->launch();
            s.frame(1);
        },
        ::testing::ExitedWithCode(1), "dance is not a valid function");
}

// Scripts that never wait stop with a message naming the action, not a frame without end.
TEST(Logic_DeathTest, StepGuard) {
    const Steps scripts[] = {
        {{"emit", {"a"}}, {"loop", {}}},
        {{"trigger", {"script"}}},
        {{"emit", {"x"}}, {"trigger", {"other"}}},
    };
    for (const Steps& steps : scripts) {
        SCOPED_TRACE(steps.back().first);
        EXPECT_EXIT(
            {
                Logic_store s;
                s.action("other", {{"trigger", {"script"}}});
                s.action("script", steps)->launch();
                s.frame(1);
            },
            ::testing::ExitedWithCode(1),
            "Action (script|other):action applied more than 10000 steps in one frame");
    }
}

TEST(Logic_DeathTest, LoopingBoundActionIsStopped) {
    EXPECT_EXIT(
        {
            Logic_store s;
            s.content.set<Component::Simple<int>>("coins", "value", 0);
            s.action("coins", {{"emit", {"a"}}, {"loop", {}}}, "1");
            s.action("script", {{"set", {"coins", "1"}}})->launch();
            s.frame(1);
        },
        ::testing::ExitedWithCode(1), "Action coins:1 applied more than 10000 steps");
}

TEST(Logic_DeathTest, BoundActionSettingItsOwnValue) {
    EXPECT_EXIT(
        {
            Logic_store s;
            s.content.set<Component::Simple<int>>("coins", "value", 0);
            s.content.set<Component::Simple<int>>("gems", "value", 0);
            s.action("coins", {{"set", {"gems", "2"}}}, "1");
            s.action("gems", {{"add", {"coins", "-1"}}, {"add", {"coins", "1"}}}, "default");
            s.action("script", {{"set", {"coins", "1"}}})->launch();
            s.frame(1);
        },
        ::testing::ExitedWithCode(1),
        "Bound actions nest more than 32 deep .*: coins:1 -> gems:default -> coins:1 -> ");
}

} // namespace
} // namespace Orvane::Test
