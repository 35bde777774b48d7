#pragma once

// The engine with every real system, and a time system that steps a fixed 1/60 s per frame:
// the end-to-end tests play the sample game through it in this process, the same frames on
// every machine.

#include <memory>
#include <string>

#include <Orvane/Component/Simple.h>
#include <Orvane/Engine.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/System/Sound.h>
#include <Orvane/System/Time.h>

#include "Manual_clock.h"
#include "Sample_data.h"

namespace Orvane::Test {

/// The data system starting the game in the tower, entered from the quay, with Mara as the
/// player (the opening's "control" step, which this start passes by).
class Tower_file_io : public System::File_IO {
  public:
    using File_IO::File_IO;
    void read_init() override {
        m_content.set<Component::Simple<std::string>>(Key::force_load_room, "tower");
        m_content.set<Component::Simple<std::string>>(Key::force_load_origin, "from_quay");
        m_content.set<Component::Simple<std::string>>("Player", "name", "mara");
        File_IO::read_init();
    }
};

/// The time system with a fixed step: frame n runs at n / 60 s, whatever the machine does.
class Fixed_step_time : public System::Time {
  public:
    using Time::Time;
    void run() override {
        Time::run();
        ++frames;
        m_content.request<Component::Simple<double>>(Fast_access_component::CLOCK_TIME)
            ->set(frames / 60.0);
    }
    int frames = 0;
};

/// The engine with the fixed-step time system; a test may replace more systems in its own
/// make_systems().
class Fixed_step_engine : public Engine {
  public:
    Fixed_step_engine() : Engine(1, const_cast<char**>(args)) {
        set_clock(clock.source(), clock.sleeper());
    }
    Manual_clock clock;

  protected:
    Systems make_systems() override {
        Systems s = Engine::make_systems();
        s.time = std::make_shared<Fixed_step_time>(content(), clock_source(), clock_sleeper());
        return s;
    }

  private:
    static constexpr const char* args[] = {"orvane", nullptr};
};

} // namespace Orvane::Test
