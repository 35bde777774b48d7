// Writes seeds for fuzz_yaml with the engine's own line writer: settings-like and save-like
// files using every line form, escaped texts included. The per-user folder is a temporary one,
// and each written file is then copied into the seed folder.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <Orvane/Third_party/SDL_file.h>
#include <Orvane/Third_party/Yaml_writer.h>

#include "Seed_folder.h"

using Orvane::Third_party::Yaml_writer;

int main(int argc, char** argv) {
    const auto seeds = Orvane::Fuzz::seed_folder(argc, argv);
    if (!seeds)
        return 2;

    {
        Yaml_writer y;
        y.write("locale", std::string("fr_FR"));
        y.write("fullscreen", false);
        y.write("input_mode", 2);
        y.start_section("gamepads");
        y.write_list_item("id", std::string("045e:028e"), "labels", 2, "ok_down", true);
        y.end_section();
        y.write("dialog_speed", 12);
        y.write("volume", 0.5);
        y.write("window", 1280, 720);
        y.save("writer_config.yaml");
    }
    {
        Yaml_writer y;
        y.write("room", std::string("hall"));
        y.write("play_time", 3599.25);
        y.write("inventory", std::vector<std::string>{"key", "say \"hi\"", "C:\\path", "a\nb"});
        y.start_section("objects");
        y.start_section("door");
        y.write("state", std::string("open"));
        y.write("position", 100, -20);
        y.end_section();
        y.end_section();
        y.start_section("signals");
        y.write_list_item("played_intro");
        y.write_list_item("id", std::string("lamp"), "on", false);
        y.write_list_item("id", std::string("dog"), "name", std::string("Rex"));
        y.write_list_item("id", std::string("hall"), "xy", {3, 4});
        y.write_list_item<int>("id", std::string("hall"), "none", {});
        y.write_list_item("id", std::string("t"), "time", std::string("1:02.500"), "on",
                          std::string("true"));
        y.end_section();
        y.save("writer_save.yaml");
    }
    for (const char* name : {"writer_config.yaml", "writer_save.yaml"})
        seeds->take(name, name);
    return 0;
}
