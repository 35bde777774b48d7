#include <cstdio>
#include <string>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Engine.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Version.h>
#include <Orvane/Third_party/SDL_file.h>

namespace {

void print_usage(const char* program, const std::string& folder) {
    std::printf("usage: %s [--locale <locale>]\n"
                "\n"
                "Runs the game whose package files lie in %s\n"
                "(%s.data and the five others beside it).\n"
                "\n"
                "  -l, --locale <locale>  play in this language (for example fr_FR) when the\n"
                "                         game offers it; a language chosen in the game's\n"
                "                         settings wins over it\n"
                "  --help                 show this text and end\n"
                "  --version              show the engine's version and end\n"
                "\n"
                "Settings and saves are kept in %s\n",
                program, folder.c_str(), Orvane::Packaged_asset_manager::packages[0],
                Orvane::Third_party::SDL_file::pref_path().c_str());
}

} // namespace

int main(int argc, char** argv) {
    const std::string folder = Orvane::Third_party::SDL_file::base_path() + "data/";
    // Answered before anything opens, so that they work without a display or game data.
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--locale" || arg == "-l") {
            ++i;
        } else if (arg == "--help") {
            print_usage(argv[0], folder);
            return 0;
        } else if (arg == "--version") {
            std::printf("orvane %s\n", Orvane::Version::str(false).c_str());
            return 0;
        }
    }
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
