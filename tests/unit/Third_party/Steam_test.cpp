#include <gtest/gtest.h>

#include <Orvane/Third_party/Steam.h>

namespace {

TEST(Steam, HooksDoNothingAndAchievementsAreNotTaken) {
    Orvane::Third_party::Steam::init();
    Orvane::Third_party::Steam::run();
    for (const char* name : {"", "first_room", "finished"})
        EXPECT_FALSE(Orvane::Third_party::Steam::set_achievement(name)) << name;
    EXPECT_EQ(Orvane::Third_party::Steam::game_language(), "");
    Orvane::Third_party::Steam::shutdown();
}

} // namespace
