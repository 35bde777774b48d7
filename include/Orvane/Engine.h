#pragma once

#include <memory>
#include <string>
#include <vector>

#include <Orvane/Content.h>

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
/// tears everything down.
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
    /// option is "--locale" or "-l" followed by a locale, stored as Cmdline:locale) and calls
    /// the store hook's init.
    Engine(int argc, char** argv);
    /// Clears the store and calls the store hook's shutdown.
    virtual ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    /// The whole game, from start-up to teardown, over the packages of `folder` (which ends
    /// with the path separator). False only when the game data cannot be opened; nothing else
    /// is created then, and no window is opened.
    bool run(const std::string& folder);
    /// One frame: every system's run() in run order, then the store hook. False when a system
    /// emitted Game:exit during the frame, which is then the last one.
    bool run();

    Content& content() { return m_content; }

  protected:
    /// Constructs the ten systems, each given the store, in the order File_IO, Graphic,
    /// Control, Interface, Menu, Time, Animation, Input, Logic, Sound.
    virtual Systems make_systems();

  private:
    void handle_cmdline_args(int argc, char** argv);

    Content m_content;
    std::vector<std::shared_ptr<System::Base>> m_systems;
};

} // namespace Orvane
