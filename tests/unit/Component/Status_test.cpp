#include <gtest/gtest.h>

#include <Orvane/Component/Status.h>

namespace {

using Orvane::Status;
using Stack = Orvane::Component::Status;

TEST(StatusTest, ResetLeavesLockedOverIdle) {
    Stack s("Game", "status");
    EXPECT_EQ(s.value(), Status::LOCKED);
    EXPECT_EQ(s.next_value(), Status::IDLE);
    EXPECT_EQ(s.str_value(), " locked idle");
    EXPECT_EQ(s.str(), "Status(Game:status) =  locked idle");
    s.push(Status::DIALOG);
    s.reset();
    EXPECT_EQ(s.size(), 2u);
    EXPECT_EQ(s.value(), Status::LOCKED);
}

TEST(StatusTest, PushPopAndTests) {
    Stack s("Game", "status");
    s.push(Status::DIALOG);
    s.push(Status::IN_MENU);
    EXPECT_EQ(s.value(), Status::IN_MENU);
    EXPECT_EQ(s.next_value(), Status::DIALOG);
    EXPECT_TRUE(s.was(Status::DIALOG));
    EXPECT_TRUE(s.is(Status::ACTION, Status::IN_MENU));
    EXPECT_TRUE(s.is(Status::IN_MENU));
    EXPECT_FALSE(s.is(Status::IDLE, Status::PAUSE, Status::IN_CODE));
    EXPECT_TRUE(s.is(Status::IDLE, Status::PAUSE, Status::IN_MENU));
    s.pop();
    EXPECT_EQ(s.value(), Status::DIALOG);
    EXPECT_EQ(s.next_value(), Status::LOCKED);
    EXPECT_FALSE(s.was_altered());
}

TEST(StatusTest, PopNeverRemovesTheLastEntry) {
    Stack s("Game", "status");
    s.pop();
    EXPECT_EQ(s.value(), Status::IDLE);
    EXPECT_EQ(s.next_value(), Status::IDLE) << "a single entry is its own next value";
    EXPECT_TRUE(s.was(Status::IDLE));
    s.pop(); // one "unlock" too many: ignored
    s.pop();
    EXPECT_EQ(s.size(), 1u);
    EXPECT_EQ(s.value(), Status::IDLE);
    s.push(Status::CUTSCENE);
    EXPECT_EQ(s.value(), Status::CUTSCENE);
}

TEST(StatusTest, PrintsEveryMode) {
    Stack s("Game", "status");
    for (int i = 1; i <= 11; ++i)
        s.push(static_cast<Status>(i));
    s.push(static_cast<Status>(42)); // outside the table: prints nothing
    EXPECT_EQ(s.str_value(), " in_code in_window in_menu in_inventory object dialog"
                             " inventory_action action locked pause cutscene locked idle");
}

} // namespace
