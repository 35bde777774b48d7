// Writes seeds for fuzz_config: settings files from the engine's own writer (the defaults, and
// every setting changed with two controllers), and the broken files that the reader must
// survive.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Third_party/Gamepad.h>
#include <Orvane/Third_party/SDL_file.h>

#include "Seed_folder.h"
#include "support/Settings_files.h"

using namespace Orvane;

int main(int argc, char** argv) {
    const auto seeds = Fuzz::seed_folder(argc, argv);
    if (!seeds)
        return 2;
    const std::filesystem::path& folder = seeds->folder;

    {
        Content content;
        System::File_IO file_io(content);
        file_io.read_config();
        file_io.write_config();
        seeds->take("config.yaml", "config_defaults.yaml");

        Test::change_every_setting(content, 9);
        file_io.write_config();
        seeds->take("config.yaml", "config_changed.yaml");
    }

    Fuzz::write_broken_seeds(folder, Test::broken_settings_files());
    return 0;
}
