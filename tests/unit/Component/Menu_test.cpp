#include <string>

#include <gtest/gtest.h>

#include <Orvane/Component/Menu.h>

namespace {

using Orvane::Split_direction;
using Orvane::Component::Menu;

TEST(Menu, NewMenuIsARootAlone) {
    Menu menu("Settings", "menu");
    EXPECT_EQ(menu.str_name(), "Menu");
    EXPECT_EQ(menu.graph().vertex_count(), 1u);
    EXPECT_EQ(std::size_t(menu.root().handle()), 0u);
    EXPECT_EQ(menu.nb_children(), 0u);
    EXPECT_EQ(menu.root().direction(), Split_direction::NO_SPLIT);
    EXPECT_FALSE(menu.root().has_image());
    EXPECT_EQ(menu.root().image(), nullptr);
    EXPECT_EQ(menu.root().position(), nullptr);
}

TEST(Menu, SplitMakesNumberedChildren) {
    Menu menu("Settings", "menu");
    menu.split(Split_direction::VERTICALLY, 3);
    EXPECT_EQ(menu.root().direction(), Split_direction::VERTICALLY);
    ASSERT_EQ(menu.nb_children(), 3u);
    EXPECT_EQ(std::size_t(menu[2].handle()), 3u) << "the third child";
    EXPECT_EQ(menu[2].direction(), Split_direction::NO_SPLIT);
    EXPECT_EQ(menu[2].nb_children(), 0u);

    menu[1].split(Split_direction::HORIZONTALLY, 2);
    EXPECT_EQ(menu[1].nb_children(), 2u);
    EXPECT_EQ(std::size_t(menu[1][1].handle()), 5u);
    EXPECT_EQ(menu.graph().vertex_count(), 6u);
}

TEST(MenuDeathTest, SplittingTwiceIsFatal) {
    for (std::size_t n : {std::size_t(3), std::size_t(0)}) {
        SCOPED_TRACE(n);
        Menu menu("Settings", "menu");
        menu.split(Split_direction::VERTICALLY, n);
        EXPECT_EXIT(menu.split(Split_direction::HORIZONTALLY, 1), ::testing::ExitedWithCode(1),
                    "Trying to split already splitted vertex");
    }
}

TEST(MenuDeathTest, MissingChildIsFatal) {
    Menu menu("Settings", "menu");
    menu.split(Split_direction::VERTICALLY, 2);
    EXPECT_EXIT(menu[2], ::testing::ExitedWithCode(1), "Menu vertex has no child 2");
}

} // namespace
