// Fuzzes the player's input: the bytes are read as frames of events (see
// tests/support/Event_stream.h: mouse, fingers, keys, controller buttons and sticks, the window
// hidden, shown and closed, a controller added and removed), fed through the event source in
// place of SDL's queue to the engine on the packed sample game, at most 2,000 frames on a fixed
// clock in a small window. Every input starts a new game from a per-user folder holding only
// the settings, so that it plays the same way alone. Any fatal check, sanitizer report or frame
// that never ends (libFuzzer's timeout) is a finding.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <SDL.h>

#include <Orvane/Engine.h>
#include <Orvane/Utils/error.h>

#include "Sample_game.h"
#include "support/Event_feed.h"
#include "support/Event_stream.h"
#include "support/Fixed_step_engine.h"

namespace {

using namespace Orvane;

constexpr std::size_t max_frames = 2000;

// A fatal check, carried out of the engine to the fuzzer's report.
struct Fatal_check : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Printed at once, in case unwinding the engine goes wrong too.
[[noreturn]] void throw_on_fatal(const char* file, int line, const std::string& message) {
    std::fprintf(stderr, "fatal check while playing input: %s:%d: %s\n", file, line,
                 message.c_str());
    throw Fatal_check(std::string(file) + ":" + std::to_string(line) + ": " + message);
}

std::string pref;

// The settings every input starts from: a small window keeps the frames quick.
void reset_pref_folder() {
    for (const auto& entry : std::filesystem::directory_iterator(pref))
        std::filesystem::remove_all(entry.path());
    std::ofstream(pref + "config.yaml") << "fullscreen: false\nwindow: [320, 180]\n";
}

// A controller that exists only in SDL, for the inputs that add one: its device index and
// instance id stand for operand 0 of the added and removed records. Attached while SDL's
// controller subsystem runs (the engine's start-up begins it, its teardown ends it).
class Virtual_pad {
  public:
    Virtual_pad() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
        // an Xbox controller's vendor and product
        desc.vendor_id = 1118;
        desc.product_id = 736;
        desc.name = "Xbox Series X Controller";
        m_index = SDL_JoystickAttachVirtualEx(&desc);
        if (m_index >= 0)
            m_instance_id = SDL_JoystickGetDeviceInstanceID(m_index);
    }
    ~Virtual_pad() {
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (m_instance_id >= 0 && SDL_JoystickGetDeviceInstanceID(i) == m_instance_id)
                SDL_JoystickDetachVirtual(i);
    }
    Virtual_pad(const Virtual_pad&) = delete;
    Virtual_pad& operator=(const Virtual_pad&) = delete;

    // The event as SDL would give it for this device: operand 0 names it, others no device.
    Event translated(const Event& e) const {
        if (e.x() != 0)
            return e;
        if (e.type() == Event_type::NEW_GAMEPAD)
            return Event(e.type(), e.value(), m_index, -1);
        if (e.type() == Event_type::GAMEPAD_REMOVED)
            return Event(e.type(), e.value(), m_instance_id, -1);
        return e;
    }

  private:
    int m_index = -1;
    int m_instance_id = -1;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pref = Fuzz::start_headless_game();
    set_fatal_handler(throw_on_fatal);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<Test::Frame_events> frames = Test::Event_stream::read(data, size, max_frames);
    reset_pref_folder();
    std::size_t frame = 0;
    try {
        Test::Event_feed feed;
        Test::Fixed_step_engine engine;
        if (!engine.start_up(ORVANE_SAMPLE_DATA)) {
            std::fprintf(stderr, "the sample game's packages are missing in %s\n",
                         ORVANE_SAMPLE_DATA);
            std::abort();
        }
        {
            const Virtual_pad pad;
            for (; frame < frames.size(); ++frame) {
                for (const Event& e : frames[frame])
                    feed.push(pad.translated(e));
                engine.clock.at_frame(static_cast<int>(frame) + 1);
                if (!engine.run())
                    break;
            }
        }
        engine.tear_down();
    } catch (const Fatal_check& fatal) {
        std::fprintf(stderr, "fatal check in frame %zu of %zu: %s\n", frame + 1, frames.size(),
                     fatal.what());
        std::abort();
    }
    return 0;
}
