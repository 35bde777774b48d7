#pragma once

#include <string>

namespace Orvane {

/// What a failed fatal check calls: the file and line of the check and its message. A handler
/// may end the process or throw; if it returns, the default handler ends the process.
using Fatal_handler = void (*)(const char* file, int line, const std::string& message);

/// Installs `handler` for every later fatal check and returns the one it replaces; null
/// restores the default. The default writes "<file>:<line>: <message>" to standard error and
/// ends the process with status 1 without running static destructors, so that threads still
/// running (the audio callback) never see the program's objects torn down.
Fatal_handler set_fatal_handler(Fatal_handler handler);

/// Ends the program through the installed fatal handler. Every fatal check of the engine ends
/// here; the player never sees the text, authors and tests read it.
[[noreturn]] void check_impl(const char* file, int line, const std::string& message);

/// The default fatal handler: writes "<file>:<line>: <message>" to standard error, flushes
/// every output stream and ends the process with status 1.
[[noreturn]] void exit_on_fatal(const char* file, int line, const std::string& message);

/// Writes "Warning: <message>" as one line to standard error and goes on: for faults in the
/// player's own files (settings, saves), which never stop the game.
void warning(const std::string& message);

} // namespace Orvane

/// Fatal check, active in every build type: when `condition` is false the message is built
/// and the program ends through check_impl().
#define ORVANE_CHECK(condition, message)                                                       \
    do {                                                                                       \
        if (!(condition)) [[unlikely]]                                                         \
            ::Orvane::check_impl(__FILE__, __LINE__, (message));                               \
    } while (false)
