#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <support/Packages.h>
#include <support/Save_store.h>
#include <support/Temp_pref_folder.h>

#include <Orvane/Assets/Packaged_asset.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/Keys.h>
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
    // a slot outside the six: refused with a warning, and no file is touched
    content.set<Component::Simple<std::string>>(Key::savegame_id, "6");
    File_IO file_io(content);
    ::testing::internal::CaptureStderr();
    file_io.write_savefile();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("not a save slot"), std::string::npos);
    EXPECT_FALSE(content.request<Component::Simple<std::string>>(Key::savegame_id));
}

TEST(File_IODeathTest, SavingWithoutASlotNameIsFatal) {
    Content content;
    File_IO file_io(content);
    EXPECT_EXIT(file_io.write_savefile(), ::testing::ExitedWithCode(1), "Cannot find Savegame:id");
}

} // namespace
} // namespace Orvane::System

namespace Orvane::System {
namespace {

// A data system that notes the requests it serves and the items its readers get.
class Noting_file_io : public File_IO {
  public:
    using File_IO::File_IO;
    std::vector<std::string> log;

    bool read_savefile(const std::string& slot) override {
        log.push_back("read_savefile " + slot);
        // a save names its room, which the same frame loads
        m_content.set<Component::Simple<std::string>>("Game", "new_room", "saved_room");
        return true;
    }
    void read_room(const std::string& id) override {
        log.push_back("read_room " + id + (signal(Key::time_speedup) ? " speedup" : ""));
    }
    void write_savefile() override { log.push_back("write_savefile"); }
    void write_config() override { log.push_back("write_config"); }

    void read_action(const std::string& id, const Third_party::Yaml::Node&) override {
        log.push_back("actions:" + id);
    }
    void read_object(const std::string& id, const Third_party::Yaml::Node&) override {
        log.push_back("objects:" + id);
    }
    void read_sound(const std::string& id, const Third_party::Yaml::Node&) override {
        log.push_back("sounds:" + id);
    }
    void read_character(const std::string& id, const Third_party::Yaml::Node&) override {
        log.push_back("characters:" + id);
    }
};

TEST(File_IOTest, RequestsAreServedInOrderAndALoadedSaveGetsItsRoomInTheSameFrame) {
    // a usable save in slot 3: the load is checked before the store is cleaned
    const Orvane::Test::Temp_pref_folder pref;
    pref.write("save_3.yaml", "time: 1.0\nroom: \"saved_room\"\nplayer: \"mara\"\ncamera: 0\n"
                              "inventory:\ncharacters:\nstates:\nsignals:\npositions:\n"
                              "integers:\nhidden:\nactive_animations:\n");
    Orvane::Test::load_packages(
        {Orvane::Test::raw_entry("data/rooms/saved_room.yaml", "name: Saved\ncharacters: [mara]\n"),
         Orvane::Test::raw_entry("data/characters/mara.yaml", Orvane::Test::character_file())});
    Content content;
    content.set<Component::Inventory>("Game", "inventory");
    content.set<Component::Simple<std::string>>("room_thing", "label", "dropped by the load");
    Noting_file_io file_io(content);
    for (const char* s : {"Game:config_changed", "Game:save", "Time:speedup", "Game:load"}) {
        const std::string key = s;
        content.emit(key.substr(0, key.find(':')), key.substr(key.find(':') + 1));
    }
    content.set<Component::Simple<std::string>>(Key::savegame_id, "3");
    content.set<Component::Simple<std::string>>("Game", "new_room", "hall");
    file_io.run();
    EXPECT_EQ(file_io.log, (std::vector<std::string>{"read_savefile 3", "read_room saved_room",
                                                     "write_savefile", "write_config"}));
    EXPECT_FALSE(content.request<Component::Base>("room_thing", "label"));
    EXPECT_FALSE(content.request<Component::Base>(Key::savegame_id));
    EXPECT_FALSE(content.request<Component::Base>("Game", "new_room"));
    for (const char* s : {"load", "save", "config_changed"})
        EXPECT_FALSE(content.signal("Game", s)) << s;
    EXPECT_FALSE(content.signal(Key::time_speedup));
    EXPECT_TRUE(content.signal("Game", "clear_notifications"));
    EXPECT_TRUE(content.signal("Game", "clear_managers"));

    file_io.log.clear();
    file_io.run();
    EXPECT_TRUE(file_io.log.empty());
}

TEST(File_IOTest, ItemKindsAreWalkedInTheirFixedOrder) {
    Content content;
    Noting_file_io file_io(content);
    const std::string room = "actions: [a1, a2]\ncharacters: [c]\nobjects: [o]\nsounds: [s]\n"
                             "unknown: [u]\n";
    Third_party::Yaml yaml("data/rooms/hall.yaml", Packaged_asset(room.data(), room.size()));
    ASSERT_TRUE(yaml.parse());
    file_io.for_each_kind(yaml.root(), [&](const std::string&, const File_IO::Reader& reader,
                                           const Third_party::Yaml::Node& items) {
        for (std::size_t i = 0; i < items.size(); ++i)
            reader(items[i].string(), items[i]);
    });
    EXPECT_EQ(file_io.log, (std::vector<std::string>{"sounds:s", "objects:o", "characters:c",
                                                     "actions:a1", "actions:a2"}));
}

// A lookup of a conditional's own type gets the conditional itself, not what it selects.
TEST(File_IOTest, AStoredConditionalIsFoundUnderItsOwnType) {
    Content content;
    auto state = content.set<Component::Simple<std::string>>("door", "state", "open");
    auto conditional =
        content.set<Component::Simple_conditional<std::string>>("door", "action", state);
    conditional->add("open", std::make_shared<Component::Simple<std::string>>("x", "y", "z"));
    EXPECT_EQ(content.get<Component::Simple_conditional<std::string>>("door", "action"),
              conditional);
    EXPECT_EQ(content.get<Component::Simple<std::string>>("door", "action")->value(), "z");
}

} // namespace
} // namespace Orvane::System
