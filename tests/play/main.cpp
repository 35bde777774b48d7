// orvane-play <data folder> <play file> [screenshot folder]: plays a game from a play file on
// the engine with the fixed 60 Hz step (frame n at n / 60 s, no sleeping), in a 1920 x 1080
// window over a scratch per-user folder, with a fixed seed for std::rand. Exits with the
// engine's status (0 when the play ran and the game ended, 1 on a fatal error), 2 when a step
// waited in vain, 3 when a check of the play failed. Run it headless (SDL_VIDEODRIVER=dummy,
// SDL_RENDER_DRIVER=software, SDL_AUDIODRIVER=dummy).

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include <SDL.h>

#include <Orvane/System/Graphic.h>
#include <Orvane/Third_party/SDL.h>

#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>

#include "Play.h"
#include "support/Fixed_step_engine.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;

/// The seed of every play: the same random picks (the look verb's two remarks...) each run.
constexpr unsigned play_seed = 29;

class Play_engine : public Test::Fixed_step_engine {
  protected:
    Systems make_systems() override {
        Systems s = Fixed_step_engine::make_systems();
        // the frame is read back for screenshots, not shown: flushing keeps it in the buffer
        s.graphic->set_presenter([] { SDL_RenderFlush(Third_party::SDL::m_renderer); });
        return s;
    }
};

int play(const std::string& data, const std::string& path, const std::string& shots) {
    const Play::Script script = Play::parse(path);
    const Test::Temp_pref_folder pref;
    std::string config = "fullscreen: false\nwindow: [1920, 1080]\n";
    for (const std::string& line : script.settings)
        config += line + "\n";
    pref.write("config.yaml", config);
    if (!script.controller.empty())
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");

    Play::Outcome outcome;
    {
        Play_engine engine;
        std::srand(play_seed); // after the engine's own seeding
        if (!engine.start_up(data)) {
            std::fprintf(stderr, "No game packages in %s\n", data.c_str());
            return 1;
        }
        {
            Play::Hooks hooks;
            // ORVANE_PLAY_TRACE set: each step printed as it begins, with its frame
            int frame = 0;
            if (std::getenv("ORVANE_PLAY_TRACE")) {
                const bool frames_too = std::string(std::getenv("ORVANE_PLAY_TRACE")) == "2";
                hooks.after_frame = [&, frames_too](Content& c, int n) {
                    frame = n;
                    if (frames_too)
                        std::printf("        frame %d: status%s, cursor %s, active %s, source %s\n", n,
                                    c.get<Component::Status>(Key::game_status)->str_value().c_str(),
                                    c.request<Component::Base>(Fast_access_component::CURSOR_POSITION)
                                        ->str_value().c_str(),
                                    c.value<Component::Simple<std::string>>(Key::interface_active_object, std::string("-")).c_str(),
                                    c.value<Component::Simple<std::string>>(Key::interface_source_object, std::string("-")).c_str());
                };
                hooks.before_step = [&](const Play::Step& s) {
                    std::printf("%6d  %d: %s\n", frame, s.line, s.text.c_str());
                };
            }
            Play::Player player(engine, script, hooks);
            player.set_screenshot_folder(shots);
            outcome = player.play();
            if (outcome.status == 0) {
                engine.tear_down();
                outcome = player.check(pref.pref_path());
            } else {
                engine.tear_down();
            }
            std::printf("%s: %d frames\n", path.c_str(), player.frames());
        }
    }
    if (outcome.status != 0)
        std::fprintf(stderr, "%s\n", outcome.message.c_str());
    return outcome.status;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: orvane-play <data folder> <play file> [screenshot folder]\n");
        return 2;
    }
    std::string data = argv[1];
    if (!data.empty() && data.back() != '/')
        data += '/';
    try {
        return play(data, argv[2], argc == 4 ? argv[3] : "");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
}
