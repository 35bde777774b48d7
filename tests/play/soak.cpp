// orvane_soak <data folder> <play file> [--plays N] [--per-run M]: plays a game N times (100 by
// default) in one process, M plays (10 by default) in each run of the engine, runs in turn.
// The play file plays from the opening to the End page; its "New game" entry starts the next
// play, and the last play of a run quits. Each run starts at the opening: the game's first room
// is forced, since the newest save would otherwise be resumed. Input goes through the
// event-source seam, with a 480 x 270 window (the logical view stays 1920 x 1080).
//
// Each time the End page shows, the store's components, the cached images and fonts, the live
// textures and music streams are counted, and the peak resident size is read. Exits with 1 and
// says what grew when, from the tenth play on, a count exceeds its value then, or when the peak
// resident size after the last play is more than 5% above its value after the tenth; with the
// player's status when a play stops. Fewer than ten plays only play (the sanitizer build's
// leak check). Run it headless (SDL_VIDEODRIVER=dummy, SDL_RENDER_DRIVER=software,
// SDL_AUDIODRIVER=dummy).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <SDL.h>

#include <Orvane/Component/Simple.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/System/Graphic.h>
#include <Orvane/Third_party/SDL.h>
#include <Orvane/Third_party/SDL_events.h>

#include "Play.h"
#include "support/Event_feed.h"
#include "support/Fixed_step_engine.h"
#include "support/Soak_counts.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;

constexpr unsigned soak_seed = 29;

/// The data system starting every run at the game's opening, saves or not.
class Opening_file_io : public System::File_IO {
  public:
    using File_IO::File_IO;
    void read_init() override {
        m_content.set<Component::Simple<std::string>>(Key::force_load_room, "quay");
        m_content.set<Component::Simple<std::string>>(Key::force_load_origin, "start");
        File_IO::read_init();
    }
};

class Soak_engine : public Test::Fixed_step_engine {
  protected:
    Systems make_systems() override {
        Systems s = Fixed_step_engine::make_systems();
        s.file_io = std::make_shared<Opening_file_io>(content());
        // nothing is shown: the frame goes no further than the renderer
        s.graphic->set_presenter([] { SDL_RenderFlush(Third_party::SDL::m_renderer); });
        return s;
    }
};

/// The events a player posts to SDL's queue, handed to the engine through the event-source
/// seam instead: after each frame the queue is read (in the engine's vocabulary) into the feed
/// that the next frame reads. Pointer positions stay in logical scene pixels whatever the
/// window's size.
class Relay {
  public:
    void after_frame() {
        const auto feed = Third_party::SDL_events::set_source({});
        for (Event e = m_reader.next_event(); e; e = m_reader.next_event())
            m_feed.push(e);
        Third_party::SDL_events::set_source(feed);
    }

  private:
    Test::Event_feed m_feed;
    Third_party::SDL_events m_reader;
};

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("Cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// The script of one run: the play file's text once per play, each play ended by the End
/// page's entry that starts the next one, or quits after the last.
std::string run_text(const std::string& play, int plays) {
    std::string text;
    for (int i = 1; i <= plays; ++i)
        text += play + "\nclick entry " + (i < plays ? "End_new_game_button" : "End_quit_button") +
                "\n";
    return text;
}

struct Options {
    std::string data;
    std::string play;
    int plays = 100;
    int per_run = 10;
};

int soak(const Options& o) {
    const std::string play = read_file(o.play);
    const Play::Script first = Play::parse_text(play, o.play);
    const Test::Temp_pref_folder pref;
    std::string config = "fullscreen: false\nwindow: [480, 270]\n";
    for (const std::string& line : first.settings)
        config += line + "\n";
    pref.write("config.yaml", config);

    Test::Soak_record record;
    int played = 0;
    const auto began = std::chrono::steady_clock::now();
    auto last = began;
    while (played < o.plays) {
        const int plays = std::min(o.per_run, o.plays - played);
        const Play::Script script = Play::parse_text(run_text(play, plays), o.play);
        Play::Outcome outcome;
        {
            Soak_engine engine;
            std::srand(soak_seed); // after the engine's own seeding
            if (!engine.start_up(o.data)) {
                std::fprintf(stderr, "No game packages in %s\n", o.data.c_str());
                return 1;
            }
            Relay relay;
            bool on_end_page = false;
            Play::Hooks hooks;
            hooks.after_frame = [&](Content& c, int) {
                relay.after_frame();
                const bool end = c.value<Component::Simple<std::string>>(Key::game_current_menu,
                                                                          std::string()) == "End";
                if (end && !on_end_page) {
                    ++played;
                    const auto now = std::chrono::steady_clock::now();
                    const double seconds = std::chrono::duration<double>(now - last).count();
                    last = now;
                    record.add(Test::count(c));
                    std::printf("play %d: %.1f s, %s\n", played, seconds,
                                record.latest().describe().c_str());
                    std::fflush(stdout);
                }
                on_end_page = end;
            };
            Play::Player player(engine, script, hooks);
            outcome = player.play();
            engine.tear_down();
        }
        if (outcome.status != 0) {
            std::fprintf(stderr, "The soak stopped in play %d: %s\n", played + 1,
                         outcome.message.c_str());
            return outcome.status;
        }
    }
    const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - began)
                             .count();
    std::printf("%d plays in %.0f s: %.1f s per play\n", played, total, total / played);
    const std::string fault = record.fault();
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--plays" || arg == "--per-run") && i + 1 < argc)
            (arg == "--plays" ? o.plays : o.per_run) = std::atoi(argv[++i]);
        else
            positional.push_back(arg);
    }
    if (positional.size() != 2 || o.plays < 1 || o.per_run < 1) {
        std::fprintf(stderr, "usage: orvane_soak <data folder> <play file> [--plays N] "
                             "[--per-run M]\n");
        return 2;
    }
    o.data = positional[0];
    if (!o.data.empty() && o.data.back() != '/')
        o.data += '/';
    o.play = positional[1];
    try {
        return soak(o);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
}
