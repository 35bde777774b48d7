#include <gtest/gtest.h>

#include <Orvane/Utils/error.h>

namespace {

TEST(CheckDeathTest, FailedCheckPrintsFileLineAndMessageThenExitsWithOne) {
    EXPECT_EXIT(check(1 + 1 == 3, "Arithmetic is broken"), ::testing::ExitedWithCode(1),
                "error_test\\.cpp:[0-9]+: Arithmetic is broken");
}

TEST(CheckDeathTest, PassingCheckDoesNotBuildTheMessage) {
    int built = 0;
    auto message = [&] {
        ++built;
        return std::string("never");
    };
    check(true, message());
    EXPECT_EQ(built, 0);
}

} // namespace
