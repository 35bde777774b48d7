#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <Orvane/Utils/error.h>

namespace Orvane {

namespace {

std::atomic<Fatal_handler> g_handler{nullptr};

// The source file named from the project root. The build maps the root's absolute path away;
// a compiler cache may instead name the file relative to the build folder ("../src/...").
const char* project_relative(const char* file) {
    while (std::strncmp(file, "../", 3) == 0 || std::strncmp(file, "./", 2) == 0)
        file += file[1] == '/' ? 2 : 3;
    return file;
}

} // namespace

Fatal_handler set_fatal_handler(Fatal_handler handler) {
    return g_handler.exchange(handler);
}

void exit_on_fatal(const char* file, int line, const std::string& message) {
    std::fprintf(stderr, "%s:%d: %s\n", file, line, message.c_str());
    std::fflush(nullptr);
    // _Exit, not exit: static destructors would free the streams and packages that SDL's audio
    // thread may still be reading.
    std::_Exit(1);
}

void warning(const std::string& message) {
    std::fprintf(stderr, "Warning: %s\n", message.c_str());
    std::fflush(stderr);
}

void check_impl(const char* file, int line, const std::string& message) {
    file = project_relative(file);
    if (Fatal_handler handler = g_handler.load())
        handler(file, line, message);
    exit_on_fatal(file, line, message);
}

} // namespace Orvane
