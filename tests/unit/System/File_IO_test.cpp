#include <string>

#include <gtest/gtest.h>

#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>
#include <Orvane/System/File_IO.h>

namespace Orvane::System {
namespace {

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
