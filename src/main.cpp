#include <cstdio>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Engine.h>
#include <Orvane/Third_party/SDL_file.h>

int main(int argc, char** argv) {
    const std::string folder = Orvane::Third_party::SDL_file::base_path() + "data/";
    bool ok = false;
    {
        Orvane::Engine engine(argc, argv);
        ok = engine.run(folder);
    }
    if (!ok)
        std::fprintf(stderr, "Cannot open the game data: %s%s.data is missing or unreadable\n",
                     folder.c_str(), Orvane::Packaged_asset_manager::packages[0]);
    return ok ? 0 : 1;
}
