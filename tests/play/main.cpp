// orvane-play <data folder> <play file> [screenshot folder] [--record <file>]: plays a game
// from a play file on the engine with the fixed 60 Hz step (frame n at n / 60 s, no sleeping),
// in a 1920 x 1080 window over a scratch per-user folder, with a fixed seed for std::rand.
// Exits with the engine's status (0 when the play ran and the game ended, 1 on a fatal error),
// 2 when a step waited in vain, 3 when a check of the play failed. With --record, the events
// the engine read are written to <file>, frame by frame, in the input fuzzer's byte format (a
// seed of fuzz_input). Run it headless (SDL_VIDEODRIVER=dummy, SDL_RENDER_DRIVER=software,
// SDL_AUDIODRIVER=dummy).

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <SDL.h>

#include <Orvane/System/Graphic.h>
#include <Orvane/Third_party/SDL.h>
#include <Orvane/Third_party/SDL_events.h>

#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>

#include "Play.h"
#include "support/Event_stream.h"
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

/// Writes the events the engine reads from SDL's queue, frame by frame: installed as the event
/// source, it reads the queue itself and hands each event on unchanged. Runs of frames without
/// events are written as waits.
class Recorder {
  public:
    Recorder() {
        // the closure only hands over: the source it lives in is moved while read() runs
        Third_party::SDL_events::set_source([this] { return read(); });
    }
    ~Recorder() { Third_party::SDL_events::set_source({}); }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void end_frame() {
        if (m_frame.empty()) {
            ++m_quiet;
            return;
        }
        if (m_quiet > 0)
            m_out.wait(m_quiet - 1);
        m_quiet = 0;
        for (const Event& e : m_frame)
            m_out.event(e);
        m_out.frame();
        m_frame.clear();
    }

    bool save(const std::string& path) {
        std::ofstream file(path, std::ios::binary);
        const auto& bytes = m_out.bytes();
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return bool(file);
    }

  private:
    Event read() {
        // SDL's own queue, read through a reader of its own while this source is out
        auto self = Third_party::SDL_events::set_source({});
        Event e = m_queue.next_event();
        // the engine's reader tells its controller switches itself
        while (e.type() == Event_type::GAMEPAD_SWITCHED)
            e = m_queue.next_event();
        Third_party::SDL_events::set_source(std::move(self));
        if (e.type() != Event_type::EMPTY)
            m_frame.push_back(e);
        return e;
    }

    Third_party::SDL_events m_queue;
    Test::Frame_events m_frame;
    Test::Event_stream_writer m_out;
    int m_quiet = 0;
};

int play(const std::string& data, const std::string& path, const std::string& shots,
         const std::string& record) {
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
            std::optional<Recorder> recorder;
            if (!record.empty())
                recorder.emplace();
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
            if (recorder) {
                auto traced = hooks.after_frame;
                hooks.after_frame = [&recorder, traced](Content& c, int n) {
                    recorder->end_frame();
                    if (traced)
                        traced(c, n);
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
            if (recorder && !recorder->save(record)) {
                std::fprintf(stderr, "Cannot write %s\n", record.c_str());
                return 1;
            }
        }
    }
    if (outcome.status != 0)
        std::fprintf(stderr, "%s\n", outcome.message.c_str());
    return outcome.status;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string record;
    for (std::size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == "--record") {
            record = args[i + 1];
            args.erase(args.begin() + std::ptrdiff_t(i), args.begin() + std::ptrdiff_t(i) + 2);
            break;
        }
    if (args.size() < 2 || args.size() > 3) {
        std::fprintf(stderr, "usage: orvane-play <data folder> <play file> [screenshot folder] "
                             "[--record <file>]\n");
        return 2;
    }
    std::string data = args[0];
    if (!data.empty() && data.back() != '/')
        data += '/';
    try {
        return play(data, args[1], args.size() == 3 ? args[2] : "", record);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
}
