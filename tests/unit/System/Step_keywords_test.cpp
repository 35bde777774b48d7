// The keyword table that the data reader checks scripts against is the logic system's own:
// the same keywords, and the counts outside its ranges are the ones the handlers stop on.

#include <set>
#include <string>

#include <gtest/gtest.h>

#include <Orvane/System/Step_keywords.h>

#include "support/Logic_store.h"

namespace Orvane::Test {
namespace {

TEST(Step_keywords, AreTheLogicSystemsKeywords) {
    Logic_store s;
    std::set<std::string> handled;
    for (const auto& [keyword, handler] : s.logic->step_handlers)
        handled.insert(keyword);
    // the steps that only the tests' logic system knows
    for (const char* test_step : {"walk", "hold", "later", "forget"})
        handled.erase(test_step);
    std::set<std::string> listed;
    for (const System::Step_keyword& entry : System::step_keywords()) {
        listed.insert(std::string(entry.keyword));
        EXPECT_EQ(System::find_step_keyword(entry.keyword)->keyword, entry.keyword);
    }
    EXPECT_EQ(listed, handled);
    EXPECT_EQ(listed.size(), 37u);
    EXPECT_FALSE(System::find_step_keyword("wiat"));
    EXPECT_FALSE(System::find_step_keyword("func")) << "calls are expanded when read";
}

TEST(Step_keywords, CountsInWords) {
    const std::pair<const char*, const char*> cases[] = {
        {"shake", "2"},        {"fadein", "1 or 3"},  {"goto", "0 to 3"}, {"zoom", "1 or 2"},
        {"trigger", "1 or more"}, {"randomize", "2 or more"}, {"cutscene", "any"},
    };
    for (const auto& [keyword, text] : cases) {
        SCOPED_TRACE(keyword);
        EXPECT_EQ(System::find_step_keyword(keyword)->counts_text(), text);
    }
    const auto fadein = *System::find_step_keyword("fadein");
    EXPECT_TRUE(fadein.takes(1));
    EXPECT_FALSE(fadein.takes(2));
    EXPECT_TRUE(fadein.takes(3));
    EXPECT_FALSE(fadein.takes(4));
    EXPECT_TRUE(System::find_step_keyword("exit")->takes(7));
    EXPECT_FALSE(System::find_step_keyword("trigger")->takes(0));
    EXPECT_TRUE(System::find_step_keyword("trigger")->takes(40));
}

// Each count that the table refuses, next to the ones it takes, stops the handler on its count.
TEST(Step_keywords_DeathTest, CountsTheTableRefusesStopTheHandler) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const System::Step_keyword& entry : System::step_keywords()) {
        for (std::size_t count = 0; count <= 6; ++count) {
            const bool near = (count > 0 && entry.takes(count - 1)) || entry.takes(count + 1);
            if (entry.takes(count) || !near)
                continue;
            SCOPED_TRACE(std::string(entry.keyword) + " with " + std::to_string(count) +
                         " arguments");
            EXPECT_EXIT(
                {
                    Logic_store s;
                    s.logic->step_handlers.at(std::string(entry.keyword))(
                        System::Logic::Arguments(count, "1"));
                },
                ::testing::ExitedWithCode(1), "function_" + std::string(entry.keyword) + " take");
        }
    }
}

} // namespace
} // namespace Orvane::Test
