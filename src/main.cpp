#include <Orvane/Engine.h>
#include <Orvane/Third_party/SDL_file.h>

int main(int argc, char** argv) {
    bool ok = false;
    {
        Orvane::Engine engine(argc, argv);
        ok = engine.run(Orvane::Third_party::SDL_file::base_path() + "data/");
    }
    return ok ? 0 : 1;
}
