// Fuzzes resuming a save: any byte string is the player's newest save, placed as save_auto.yaml
// beside nothing else. The engine then starts on the sample game: the start-up scan checks the
// save and resumes it (in the quay, the tower or wherever it names), or starts a new game when
// it refuses it, and the game runs 120 frames on a fixed clock. A save the check lets through
// must never stop the game: any fatal check or sanitizer report is a finding.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <Orvane/Engine.h>
#include <Orvane/Utils/error.h>

#include "Sample_game.h"
#include "support/Fixed_step_engine.h"

namespace {

using namespace Orvane;

[[noreturn]] void abort_on_fatal(const char* file, int line, const std::string& message) {
    std::fprintf(stderr, "fatal check while resuming a save: %s:%d: %s\n", file, line,
                 message.c_str());
    std::abort();
}

std::string pref;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pref = Fuzz::start_headless_game();
    set_fatal_handler(abort_on_fatal);
    // a small window keeps the 120 frames of every input quick
    std::ofstream(pref + "config.yaml") << "fullscreen: false\nwindow: [320, 180]\n";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream out(pref + "save_auto.yaml", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Test::Fixed_step_engine engine;
    if (!engine.start_up(ORVANE_SAMPLE_DATA)) {
        std::fprintf(stderr, "the sample game's packages are missing in %s\n", ORVANE_SAMPLE_DATA);
        std::abort();
    }
    for (int frame = 1; frame <= 120; ++frame) {
        engine.clock.at_frame(frame);
        if (!engine.run())
            break;
    }
    engine.tear_down();
    return 0;
}
