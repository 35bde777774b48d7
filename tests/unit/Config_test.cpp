#include <string>

#include <gtest/gtest.h>

#include <Orvane/Config.h>

namespace {

TEST(Config, ViewAndLists) {
    EXPECT_EQ(Orvane::Config::world_width, 1920);
    EXPECT_EQ(Orvane::Config::world_height, 1080);
    EXPECT_EQ(Orvane::Config::no_value, 2147483647);
    EXPECT_DOUBLE_EQ(Orvane::Config::interface_scale, 1.0);
    EXPECT_EQ(std::string(Orvane::Config::possible_actions[6]), "goto");
    EXPECT_EQ(std::string(Orvane::Config::save_ids[0]), "auto");
    EXPECT_EQ(std::string(Orvane::Config::exit_menu_items[3]), "New_game");
    EXPECT_EQ(std::string(Orvane::Config::menus[5]), "Save");
}

TEST(Config, DepthsAndInputModes) {
    EXPECT_EQ(Orvane::Config::Depth::INTERFACE_BACK, 1000000);
    EXPECT_EQ(Orvane::Config::Depth::DIALOG_LINES, 1000004);
    EXPECT_GT(Orvane::Config::Depth::TOPMOST, Orvane::Config::Depth::CURSOR);
    EXPECT_EQ(Orvane::Input_mode::MOUSE, 0);
    EXPECT_EQ(Orvane::Input_mode::TOUCHSCREEN, 1);
    EXPECT_EQ(Orvane::Input_mode::GAMEPAD, 2);
}

} // namespace
