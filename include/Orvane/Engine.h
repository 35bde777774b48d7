#pragma once

#include <memory>
#include <string>
#include <vector>

#include <Orvane/Content.h>
#include <Orvane/Utils/Clock.h>

namespace Orvane {

namespace System {
class Base;
class File_IO;
class Graphic;
class Time;
class Animation;
} // namespace System

/// One run of the game: the component store and the ten systems. The constructor reads the
/// command line; run(folder) opens the game data, starts the systems, runs frames until a
/// system emits Game:exit, saves the settings (and a save requested in the last frame) and
/// tears everything down. The three steps of a run are public too: start_up(folder), then
/// run() once per frame, then tear_down(), so that a test can run frames one at a time and
/// read or write the store between them.
class Engine {
  public:
    /// The ten systems of a run. The engine calls the named operations of the typed ones; the
    /// others it only initialises and runs.
    struct Systems {
        std::shared_ptr<System::File_IO> file_io;
        std::shared_ptr<System::Graphic> graphic;
        std::shared_ptr<System::Base> control;
        std::shared_ptr<System::Base> interface;
        std::shared_ptr<System::Base> menu;
        std::shared_ptr<System::Time> time;
        std::shared_ptr<System::Animation> animation;
        std::shared_ptr<System::Base> input;
        std::shared_ptr<System::Base> logic;
        std::shared_ptr<System::Base> sound;
    };

    /// Seeds the random generator from the current time, reads the command line (the only
    /// option is "--locale" or "-l" followed by a locale, stored as Cmdline:locale; any other
    /// argument is ignored with a warning) and calls the store hook's init.
    Engine(int argc, char** argv);
    /// Tears down a run still going (without writing the settings or a save), clears the store
    /// and calls the store hook's shutdown.
    virtual ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    /// The whole game over the packages of `folder` (which ends with the path separator):
    /// start_up(folder), run() until it returns false, tear_down(). False only when the game
    /// data cannot be opened; nothing else is created then, and no window is opened.
    bool run(const std::string& folder);

    /// Start-up: opens the packages of `folder`, creates the fixed components, builds the ten
    /// systems, reads the settings, opens the window and draws a first frame, stores the
    /// loading callback, reads the game's initial data and initialises Control, Interface and
    /// Menu. False when the game data cannot be opened: nothing else is created then. Fatal
    /// when a run is already started.
    bool start_up(const std::string& folder);
    /// One frame: every system's run() in run order, then the store hook. False when a system
    /// emitted Game:exit during the frame, which is then the last one.
    bool run();
    /// Teardown after the last frame: writes the settings and a save still requested, releases
    /// the systems (Sound, Logic, Input, Interface), clears the store, then releases the rest
    /// (Animation, Time, Menu, Control, Graphic, File_IO). Does nothing when no run is started.
    void tear_down();

    /// Gives the time system's clock this time source (monotonic milliseconds) and sleeper
    /// instead of the steady clock and a real sleep; takes effect at the next start_up. Tests
    /// use it to set the time of every frame without waiting.
    void set_clock(Clock::Source now, Clock::Sleeper sleeper);

    /// Creates in `content` the components that exist before any system runs: Game:status
    /// (its stack at its first status), Camera:position at (0, 0), Camera:zoom at 1,
    /// Game:inventory (empty), Game:visited_rooms (empty) and Unlocked:condition (holds while
    /// the game is neither paused nor in a cutscene). start_up calls it; tests and benchmarks
    /// call it to give a store what the engine gives one.
    static void create_fixed_components(Content& content);

    Content& content() { return m_content; }

  protected:
    /// Constructs the ten systems, each given the store, in the order File_IO, Graphic,
    /// Control, Interface, Menu, Time, Animation, Input, Logic, Sound. The time system's clock
    /// reads clock_source() and sleeps through clock_sleeper().
    virtual Systems make_systems();

    /// The time source and sleeper for the time system's clock (see set_clock).
    const Clock::Source& clock_source() const { return m_clock_source; }
    const Clock::Sleeper& clock_sleeper() const { return m_clock_sleeper; }

  private:
    void handle_cmdline_args(int argc, char** argv);
    /// Releases the systems in teardown order, clearing the store in between.
    void release_systems();

    Content m_content;
    std::vector<std::shared_ptr<System::Base>> m_systems;
    // The systems not in the run list's order of release, held until teardown releases them.
    Systems m_held;
    Clock::Source m_clock_source = steady_milliseconds;
    Clock::Sleeper m_clock_sleeper = sleep_milliseconds;
};

} // namespace Orvane
