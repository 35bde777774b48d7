#include <memory>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include <Orvane/Component/Locale.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Base.h>

namespace {

using namespace Orvane;

class Probe : public System::Base {
  public:
    using System::Base::Base;
    void run() override { ++runs; }
    int runs = 0;
};

class SystemBaseTest : public ::testing::Test {
  protected:
    Content content;
    Probe probe{content};
};

TEST_F(SystemBaseTest, ForwardsToTheStore) {
    probe.emit("Game", "exit");
    EXPECT_TRUE(probe.signal("Game", "exit"));
    EXPECT_TRUE(probe.receive("Game", "exit"));
    EXPECT_FALSE(probe.signal("Game", "exit"));

    auto volume = probe.set<Component::Simple<int>>("Music", "volume");
    EXPECT_EQ(content.request<Component::Simple<int>>("Music", "volume"), volume);
    EXPECT_EQ(probe.value<Component::Simple<int>>("Music", "volume"), 0);
    EXPECT_FALSE(probe.receive("Music", "volume"));
    EXPECT_EQ(&probe.components("volume"), &content.components("volume"));
    EXPECT_TRUE(probe.remove(volume));
    EXPECT_FALSE(probe.remove("Music", "volume", true));
    probe.init();
    probe.run();
    EXPECT_EQ(probe.runs, 1);
}

TEST_F(SystemBaseTest, ForwardsFixedKeysToTheStore) {
    probe.emit(Key::game_save);
    EXPECT_TRUE(probe.signal(Key::game_save));
    EXPECT_TRUE(probe.receive(Key::game_save));
    EXPECT_FALSE(probe.signal(Key::game_save));

    auto volume = probe.set<Component::Simple<int>>(Key::music_volume, 4);
    EXPECT_EQ(content.request<Component::Simple<int>>("Music", "volume"), volume);
    EXPECT_EQ(probe.value<Component::Simple<int>>(Key::music_volume), 4);
    EXPECT_TRUE(probe.remove(Key::music_volume));
    EXPECT_FALSE(probe.remove(Key::music_volume, true));

    // Names given as views of a longer text: only the viewed part counts.
    const std::string text = "Game:exit";
    const std::string_view whole = text;
    probe.emit(whole.substr(0, 4), whole.substr(5));
    EXPECT_TRUE(content.signal("Game", "exit"));
    EXPECT_TRUE(probe.receive(whole.substr(0, 4), whole.substr(5)));
}

TEST_F(SystemBaseTest, StatusComesFromItsSlot) {
    EXPECT_EQ(probe.status(), nullptr);
    auto status =
        content.set_fac<Component::Status>(Fast_access_component::GAME_STATUS, "Game", "status");
    EXPECT_EQ(probe.status(), status);
    EXPECT_EQ(content.value<Component::Status>(Fast_access_component::GAME_STATUS), Status::LOCKED);
}

TEST_F(SystemBaseTest, LocaleTranslatesThroughGameLocale) {
    EXPECT_EQ(probe.locale("Hello"), "Hello") << "no table yet";
    // Game:locale pointing at nothing still gives the line back.
    content.set<Component::Variable>("Game", "locale", nullptr);
    EXPECT_EQ(probe.locale("Hello"), "Hello");

    auto french = std::make_shared<Component::Locale>("fr", "locale");
    french->add("Hello", "Bonjour");
    content.set<Component::Variable>("Game", "locale", french);
    // The argument is a temporary: the result is a copy, safe to keep.
    const std::string kept = probe.locale(std::string("Hel") + "lo");
    EXPECT_EQ(kept, "Bonjour");

    content.set<Component::Simple<std::string>>("Door", "name", "Hello");
    EXPECT_EQ(probe.locale_get("Door", "name"), "Bonjour");
}

TEST(SystemBaseDeathTest, FatalMessagesComeFromTheStore) {
    Content content;
    Probe probe(content);
    EXPECT_EXIT(probe.locale_get("Door", "name"), ::testing::ExitedWithCode(1),
                "Cannot find Door:name");
    EXPECT_EXIT(probe.value<Component::Simple<int>>("A", "b"), ::testing::ExitedWithCode(1),
                "Cannot find A:b");
    EXPECT_EXIT(probe.remove("A", "b"), ::testing::ExitedWithCode(1), "Id A:b doesn't exist");
    content.set<Component::Locale>("Game", "locale");
    EXPECT_EXIT(probe.locale("Missing"), ::testing::ExitedWithCode(1),
                "Line Missing not found in locale Locale\\(Game:locale\\)");
}

} // namespace
