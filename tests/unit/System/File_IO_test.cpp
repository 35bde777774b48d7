#include <string>

#include <gtest/gtest.h>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/System/File_IO.h>

namespace Orvane::System {
namespace {

TEST(File_IOTest, SettingsComponentsExistAfterReadingTheSettings) {
    Content content;
    File_IO file_io(content);
    file_io.read_config();
    for (const char* key : {"width", "height"}) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(content.request<Component::Simple<int>>("Window", key));
    }
    EXPECT_TRUE(content.request<Component::Boolean>("Window", "fullscreen"));
    auto locale = content.request<Component::Simple<std::string>>("Game", "current_locale");
    ASSERT_TRUE(locale);
    EXPECT_EQ(
        content.request<Component::Simple<std::string>>(Fast_access_component::GAME_CURRENT_LOCALE),
        locale);
    auto mode = content.request<Component::Simple<Input_mode>>("Interface", "input_mode");
    ASSERT_TRUE(mode);
    EXPECT_EQ(
        content.request<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE),
        mode);
}

TEST(File_IOTest, SavingConsumesTheSlotName) {
    Content content;
    content.set<Component::Simple<std::string>>("Savegame", "id", "auto");
    File_IO file_io(content);
    file_io.write_savefile();
    EXPECT_FALSE(content.request<Component::Simple<std::string>>("Savegame", "id"));
}

TEST(File_IODeathTest, SavingWithoutASlotNameIsFatal) {
    Content content;
    File_IO file_io(content);
    EXPECT_EXIT(file_io.write_savefile(), ::testing::ExitedWithCode(1), "Cannot find Savegame:id");
}

} // namespace
} // namespace Orvane::System
