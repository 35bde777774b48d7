#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Third_party/Gamepad.h>
#include <Orvane/Third_party/SDL_file.h>
#include <Orvane/Third_party/Yaml.h>
#include <Orvane/Third_party/Yaml_writer.h>

namespace {

using Orvane::Gamepad_info;
using Orvane::Gamepad_labels;
using Orvane::Third_party::SDL_file;
using Orvane::Third_party::Yaml;
using Orvane::Third_party::Yaml_writer;

// The settings file keeps each controller as one list line; read back, the description keeps
// the player's choices whatever its name would suggest.
TEST(GamepadSettingsTest, ControllerLinesReadBackAsWritten) {
    const std::vector<Gamepad_info> controllers = {
        Gamepad_info(1118, 736, "Xbox Series X Controller"),
        Gamepad_info("1356:3302", Gamepad_labels::NINTENDO, false),
        Gamepad_info(0, 0, "Default controller"),
        Gamepad_info("7:7", Gamepad_labels::PLAYSTATION, true),
    };
    const std::string file = "gamepad_settings.yaml";
    {
        Yaml_writer yaml;
        yaml.start_section("gamepads");
        for (const auto& c : controllers)
            yaml.write_list_item("id", c.id, "labels", c.labels, "ok_down", c.ok_down);
        yaml.end_section();
        yaml.save(file);
    }

    std::ifstream in(SDL_file::pref_path() + file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "gamepads:\n"
                          "  - { id: \"1118:736\", labels: \"2\", ok_down: \"true\" }\n"
                          "  - { id: \"1356:3302\", labels: \"1\", ok_down: \"false\" }\n"
                          "  - { id: \"0:0\", labels: \"0\", ok_down: \"true\" }\n"
                          "  - { id: \"7:7\", labels: \"3\", ok_down: \"true\" }\n");

    Yaml yaml(file, true);
    ASSERT_TRUE(yaml.parse());
    const Yaml::Node& list = yaml["gamepads"];
    ASSERT_EQ(list.size(), controllers.size());
    for (std::size_t i = 0; i < controllers.size(); ++i) {
        SCOPED_TRACE(controllers[i].id);
        const Gamepad_info read(list[i]["id"].string(),
                                static_cast<Gamepad_labels>(list[i]["labels"].integer()),
                                list[i]["ok_down"].boolean());
        EXPECT_EQ(read.id, controllers[i].id);
        EXPECT_EQ(read.name, "Saved controller");
        EXPECT_EQ(read.labels, controllers[i].labels);
        EXPECT_EQ(read.ok_down, controllers[i].ok_down);
    }
}

} // namespace
