// orvane-screenshot <data folder> <output.png> [seconds]: runs the engine on a game's packages
// with a 1920 x 1080 window and every system, on a clock that steps one 60 Hz frame at a time
// without waiting, for the given seconds of game time (6 by default), then reads the last frame
// back from the renderer and writes it as a PNG. Run it headless (SDL_VIDEODRIVER=dummy,
// SDL_RENDER_DRIVER=software, SDL_AUDIODRIVER=dummy) with XDG_DATA_HOME on a scratch folder:
// it writes the settings file it needs there.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <SDL.h>

#include <Orvane/Engine.h>
#include <Orvane/System/Graphic.h>
#include <Orvane/Third_party/SDL.h>
#include <Orvane/Third_party/SDL_file.h>
#include <Packer/Package_writer.h>

namespace {

using namespace Orvane;

class Screenshot_engine : public Engine {
  public:
    Screenshot_engine() : Engine(3, const_cast<char**>(args)) {
        set_clock([this] { return now; }, [this](std::int64_t ms) { now += ms; });
    }
    std::int64_t now = 0;

  protected:
    Systems make_systems() override {
        Systems s = Engine::make_systems();
        // the frame is read back, not shown: a shown frame may leave the renderer's buffer
        s.graphic->set_presenter([] { SDL_RenderFlush(Third_party::SDL::m_renderer); });
        return s;
    }

  private:
    static constexpr const char* args[] = {"orvane", "--locale", "en_US"};
};

int run(const std::string& data, const std::string& output, double seconds) {
    std::ofstream(Third_party::SDL_file::pref_path() + "config.yaml")
        << "fullscreen: false\nwindow: [1920, 1080]\nlocale: en_US\n";
    Screenshot_engine engine;
    if (!engine.start_up(data)) {
        std::fprintf(stderr, "No game packages in %s\n", data.c_str());
        return 1;
    }
    const int frames = int(seconds * 60);
    for (int frame = 1; frame <= frames; ++frame) {
        engine.now = (std::int64_t{frame} * 1000 + 30) / 60;
        if (!engine.run())
            break;
    }

    Packer::Image shot{1920, 1080, std::vector<unsigned char>(std::size_t(1920) * 1080 * 4)};
    SDL_Rect view{0, 0, 1920, 1080};
    if (SDL_RenderReadPixels(Third_party::SDL::m_renderer, &view, SDL_PIXELFORMAT_ABGR8888,
                             shot.pixels.data(), 1920 * 4) != 0) {
        std::fprintf(stderr, "Cannot read the frame back: %s\n", SDL_GetError());
        return 1;
    }
    // the stage is opaque: what the renderer leaves in the alpha byte is not the picture's
    for (std::size_t i = 3; i < shot.pixels.size(); i += 4)
        shot.pixels[i] = 255;
    engine.tear_down();
    Packer::write_png(output, shot);
    std::printf("%s: %d frames of the game drawn\n", output.c_str(), frames);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: orvane-screenshot <data folder> <output.png> [seconds]\n");
        return 2;
    }
    try {
        return run(argv[1], argv[2], argc == 4 ? std::atof(argv[3]) : 6.0);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
