#pragma once

// What the fuzz targets over a per-user file (the settings, a save) share: a broken per-user
// file must never stop the game, so a fatal check is a finding; and the run reads and writes
// in a per-user folder of its own.

#include <cstdio>
#include <cstdlib>
#include <string>

#include <Orvane/Utils/error.h>

#include "support/Temp_pref_folder.h"

namespace Orvane::Fuzz {

/// Makes every fatal check abort with "fatal check in the <reader>: file:line: message", points
/// the per-user folder at a temporary one (removed at exit) and returns its path, ending with
/// its separator. For LLVMFuzzerInitialize; `reader` names what is fuzzed ("save reader").
inline std::string start_per_user_target(const char* reader) {
    static const char* name = reader;
    set_fatal_handler([](const char* file, int line, const std::string& message) {
        std::fprintf(stderr, "fatal check in the %s: %s:%d: %s\n", name, file, line,
                     message.c_str());
        std::abort();
    });
    static const Test::Temp_pref_folder home;
    return home.pref_path();
}

} // namespace Orvane::Fuzz
