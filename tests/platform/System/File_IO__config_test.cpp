#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <support/Settings_files.h>
#include <support/Temp_pref_folder.h>
#include <sys/stat.h>
#include <unistd.h>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Third_party/Gamepad.h>

namespace Orvane::System {
namespace {

// Every setting as the store holds it after reading.
struct Settings {
    std::string locale;
    bool fullscreen = false;
    int input_mode = -1;
    int dialog_speed = 0;
    int interface_scale = 0;
    double config_scale = 0;
    int music_volume = 0;
    int sounds_volume = 0;
    bool autosave = false;
    int width = 0;
    int height = 0;
    std::map<std::string, std::tuple<std::string, int, bool>> gamepads;

    bool operator==(const Settings&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Settings& s) {
    out << "{locale \"" << s.locale << "\", fullscreen " << s.fullscreen << ", input_mode "
        << s.input_mode << ", dialog_speed " << s.dialog_speed << ", interface_scale "
        << s.interface_scale << " (" << s.config_scale << "), volumes " << s.music_volume << "/"
        << s.sounds_volume << ", autosave " << s.autosave << ", window " << s.width << "x"
        << s.height << ", gamepads";
    for (const auto& [entity, pad] : s.gamepads)
        out << " " << entity << "=" << std::get<0>(pad) << "/" << std::get<1>(pad) << "/"
            << std::get<2>(pad);
    return out << "}";
}

Settings settings(const Content& content) {
    Settings s;
    s.locale =
        content.value<Component::Simple<std::string>>(Fast_access_component::GAME_CURRENT_LOCALE);
    s.fullscreen = content.get<Component::Boolean>("Window", "fullscreen")->value();
    s.input_mode =
        content.value<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE);
    s.dialog_speed = content.get<Component::Simple<int>>("Dialog", "speed")->value();
    s.interface_scale = content.get<Component::Simple<int>>("Interface", "scale")->value();
    s.config_scale = Config::interface_scale;
    s.music_volume = content.get<Component::Simple<int>>("Music", "volume")->value();
    s.sounds_volume = content.get<Component::Simple<int>>("Sounds", "volume")->value();
    s.autosave = content.get<Component::Boolean>("Game", "autosave")->value();
    s.width = content.get<Component::Simple<int>>("Window", "width")->value();
    s.height = content.get<Component::Simple<int>>("Window", "height")->value();
    for (const auto& [key, c] : const_cast<Content&>(content).components("gamepad"))
        if (auto pad = Component::cast<Component::Simple<Gamepad_info>>(c))
            s.gamepads[c->entity()] = {pad->value().id, static_cast<int>(pad->value().labels),
                                       pad->value().ok_down};
    return s;
}

Settings defaults() {
    Settings s;
    s.fullscreen = true;
    s.input_mode = 0;
    s.dialog_speed = 12;
    s.interface_scale = 6;
    s.config_scale = 1.0;
    s.music_volume = 7;
    s.sounds_volume = 9;
    s.autosave = true;
    s.width = -1;
    s.height = -1;
    return s;
}

// Reads the settings into a fresh store, returning them with what went to standard error.
std::pair<Settings, std::string> read_settings() {
    Content content;
    File_IO file_io(content);
    ::testing::internal::CaptureStderr();
    file_io.read_config();
    std::string err = ::testing::internal::GetCapturedStderr();
    return {settings(content), err};
}

// Reads, writes and reads again: the second reading must equal the first.
void expect_stable_after_writing(const Test::Temp_pref_folder& pref) {
    Content content;
    File_IO file_io(content);
    ::testing::internal::CaptureStderr();
    file_io.read_config();
    ::testing::internal::GetCapturedStderr();
    const Settings first = settings(content);
    file_io.write_config();
    auto [second, err] = read_settings();
    EXPECT_EQ(second, first) << "written file:\n" << pref.read("config.yaml");
    EXPECT_EQ(err, "");
}

const char* const defaults_file = "locale: \"\"\n"
                                  "fullscreen: true\n"
                                  "input_mode: 0\n"
                                  "gamepads:\n"
                                  "dialog_speed: 12\n"
                                  "interface_scale: 6\n"
                                  "music_volume: 7\n"
                                  "sounds_volume: 9\n"
                                  "autosave: true\n"
                                  "window: [-1, -1]\n";

TEST(File_IO_config_test, WithoutAFileTheDefaultsApplyAndAreWrittenAsTheGoldenFile) {
    Orvane::Test::Temp_pref_folder pref;
    Content content;
    File_IO file_io(content);
    ::testing::internal::CaptureStderr();
    file_io.read_config();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(settings(content), defaults());
    EXPECT_TRUE(content.components("gamepad").empty());
    file_io.write_config();
    EXPECT_EQ(pref.read("config.yaml"), defaults_file);
    auto [again, err] = read_settings();
    EXPECT_EQ(again, defaults());
    EXPECT_EQ(err, "");
}

TEST(File_IO_config_test, EverySettingChangedAndTwoControllersSurviveARoundTrip) {
    Orvane::Test::Temp_pref_folder pref;
    {
        Content content;
        File_IO file_io(content);
        file_io.read_config();
        Orvane::Test::change_every_setting(content, 12);
        // another kind of component under the same name is not a controller
        content.set<Component::Simple<int>>("Other", "gamepad", 3);
        file_io.write_config();
    }
    const std::string text = pref.read("config.yaml");
    EXPECT_NE(text.find("  - { id: \"1118:654\", labels: \"2\", ok_down: \"true\" }\n"),
              std::string::npos)
        << text;
    auto [s, err] = read_settings();
    EXPECT_EQ(err, "");
    Settings expected;
    expected.locale = "fr_FR";
    expected.fullscreen = false;
    expected.input_mode = GAMEPAD;
    expected.dialog_speed = 40;
    expected.interface_scale = 12;
    expected.config_scale = 2.0;
    expected.music_volume = 0;
    expected.sounds_volume = 10;
    expected.autosave = false;
    expected.width = 1280;
    expected.height = 720;
    expected.gamepads = {{"Gamepad(1118:654)", {"1118:654", 2, true}},
                         {"Gamepad(1356:3302)", {"1356:3302", 3, false}}};
    EXPECT_EQ(s, expected);
}

TEST(File_IO_config_test, ValuesAreReadAsTheFileGivesThem) {
    Orvane::Test::Temp_pref_folder pref;
    struct Case {
        const char* file;
        Settings expected;
    };
    Settings speed = defaults();
    speed.dialog_speed = 15;
    Settings scale = defaults();
    scale.interface_scale = 9;
    scale.config_scale = 1.5;
    Settings music = defaults();
    music.music_volume = 3;
    const std::vector<Case> cases = {
        {"dialog_speed: 15.9\n", speed},
        {"interface_scale: 9\n", scale},
        {"music_volume: 3\n", music},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        pref.write("config.yaml", c.file);
        auto [s, err] = read_settings();
        EXPECT_EQ(s, c.expected);
        EXPECT_EQ(err, "");
    }
}

TEST(File_IO_config_test, TheTestRunHookSilencesBothVolumes) {
    Orvane::Test::Temp_pref_folder pref;
    pref.write("config.yaml", "music_volume: 3\nsounds_volume: 4\n");
    Content content;
    content.emit(Key::game_test_input_mode);
    File_IO file_io(content);
    file_io.read_config();
    EXPECT_EQ(content.get<Component::Simple<int>>("Music", "volume")->value(), 0);
    EXPECT_EQ(content.get<Component::Simple<int>>("Sounds", "volume")->value(), 0);
}

// A broken or refused settings file never stops the game: the spoilt settings fall back with a
// warning, and what is written next reads back the same.
TEST(File_IO_config_test, BrokenFilesFallBackWithAWarning) {
    Orvane::Test::Temp_pref_folder pref;
    auto with = [](auto change) {
        Settings s = defaults();
        change(s);
        return s;
    };
    const std::string pad = "gamepads:\n  - { id: \"1:2\", labels: \"2\", ok_down: \"true\" }\n";
    // The files that keep some settings; every other file leaves all the defaults.
    const std::map<std::string, Settings> partly_kept = {
        {"input_mode: -1\nmusic_volume: 2\n", with([](Settings& s) { s.music_volume = 2; })},
        {"music_volume: 11\nsounds_volume: -4\n", with([](Settings& s) {
             s.music_volume = 10;
             s.sounds_volume = 0;
         })},
        {"gamepads:\n  - { id: \"1:2\", labels: \"7\", ok_down: \"true\" }\n",
         with([](Settings& s) { s.gamepads = {{"Gamepad(1:2)", {"1:2", 0, true}}}; })},
        {pad + "  - { labels: \"1\" }\n",
         with([](Settings& s) { s.gamepads = {{"Gamepad(1:2)", {"1:2", 2, true}}}; })},
    };
    std::size_t kept_files = 0;
    for (const std::string& file : Orvane::Test::broken_settings_files()) {
        SCOPED_TRACE(file);
        const auto kept = partly_kept.find(file);
        kept_files += kept == partly_kept.end() ? 0 : 1;
        const Settings expected = kept == partly_kept.end() ? defaults() : kept->second;
        pref.write("config.yaml", file);
        auto [s, err] = read_settings();
        EXPECT_EQ(s, expected);
        EXPECT_NE(err.find("Warning: "), std::string::npos) << "no warning";
        EXPECT_NE(err.find("config.yaml"), std::string::npos) << err;
        expect_stable_after_writing(pref);
    }
    EXPECT_EQ(kept_files, partly_kept.size()) << "a file that keeps settings is not in the table";
}

// Something other than a file in place of the settings file is named for what it is; the
// defaults apply, and the game goes on.
TEST(File_IO_config_test, ASpecialFileInPlaceOfTheSettingsIsNamedAndTheDefaultsApply) {
    struct Case {
        const char* name;
        std::function<void(const std::string& path)> make;
        const char* what;
    };
    const Case cases[] = {
        {"a FIFO", [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); },
         "config.yaml is a FIFO"},
        {"a link to /dev/zero",
         [](const std::string& path) { ASSERT_EQ(::symlink("/dev/zero", path.c_str()), 0); },
         "config.yaml is a symbolic link to a device"},
        {"a link to nowhere",
         [](const std::string& path) { ASSERT_EQ(::symlink("/nonexistent", path.c_str()), 0); },
         "config.yaml is a symbolic link that leads nowhere"},
        {"a directory",
         [](const std::string& path) { std::filesystem::create_directory(path); },
         "config.yaml is a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Orvane::Test::Temp_pref_folder pref;
        c.make(pref.pref_path() + "config.yaml");
        auto [s, err] = read_settings();
        EXPECT_EQ(s, defaults());
        EXPECT_NE(err.find(std::string("Warning: ") + c.what + "; the defaults are used"),
                  std::string::npos)
            << err;
    }
}

// A settings file that cannot be written is warned about with its reason; what was in its
// place stays, no temporary file is left, and the game goes on.
TEST(File_IO_config_test, SettingsThatCannotBeWrittenAreWarnedAboutAndTheGameGoesOn) {
    Orvane::Test::Temp_pref_folder pref;
    const std::string path = pref.pref_path() + "config.yaml";
    std::filesystem::create_directory(path);
    Content content;
    File_IO file_io(content);
    ::testing::internal::CaptureStderr();
    file_io.read_config();
    file_io.write_config();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Warning: Can't write config.yaml: cannot replace "), std::string::npos)
        << err;
    EXPECT_TRUE(std::filesystem::is_directory(path));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(pref.pref_path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"config.yaml"});
}

} // namespace
} // namespace Orvane::System
