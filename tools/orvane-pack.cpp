// orvane-pack <source folder> <output folder>: turns a game's source folder into the six
// package files that the engine reads.
#include <chrono>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

#include <Orvane/Utils/error.h>
#include <Packer/Package_writer.h>

namespace {

/// The ground map whose graph is being built, and whether its progress line is open.
std::string current_graph;
bool progress_open = false;

/// Shows how far the builder of a ground map's walkable graph has come, once an image has taken
/// more than a second, on one line of standard error rewritten a few times a second.
void show_graph_progress(const std::string& key, int phase, double done) {
    using Clock = std::chrono::steady_clock;
    static Clock::time_point start, shown;
    static bool closed = false;
    const Clock::time_point now = Clock::now();
    if (key != current_graph) {
        if (progress_open)
            std::fputc('\n', stderr);
        current_graph = key;
        start = now;
        progress_open = closed = false;
    }
    const bool finished = phase == 3 && done >= 1;
    if (closed || (now - start < std::chrono::seconds(1) && !progress_open))
        return;
    if (progress_open && !finished && now - shown < std::chrono::milliseconds(200))
        return;
    static const char* const phases[] = {"tracing the outline", "simplifying the outline",
                                         "linking the outline"};
    std::fprintf(stderr, "\rorvane-pack: walkable graph of %s: %s, %3d%% (%.0f s)",
                 key.c_str(), phases[phase < 1 ? 0 : phase > 3 ? 2 : phase - 1],
                 int(done * 100), std::chrono::duration<double>(now - start).count());
    std::fflush(stderr);
    shown = now;
    progress_open = !finished;
    closed = finished;
    if (finished)
        std::fputc('\n', stderr);
}

/// A failed check (a graph no graph file holds) ends the packing with its message, on a line of
/// its own after any progress line.
[[noreturn]] void fail(const char*, int, const std::string& message) {
    if (progress_open)
        std::fputc('\n', stderr);
    progress_open = false;
    throw std::runtime_error(message);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <source folder> <output folder>\n", argv[0]);
        return 2;
    }
    Orvane::Packer::set_graph_progress(show_graph_progress);
    Orvane::set_fatal_handler(fail);
    try {
        std::vector<std::string> skipped;
        const auto entries = Orvane::Packer::read_folder(argv[1], skipped, argv[2]);
        for (const std::string& name : skipped)
            std::fprintf(stderr, "orvane-pack: %s is empty and was left out\n", name.c_str());
        Orvane::Packer::write_packages(Orvane::Packer::build(entries), argv[2]);
        std::printf("orvane-pack: %zu entries packed into %s\n", entries.size(), argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvane-pack: %s\n", error.what());
        return 1;
    }
    return 0;
}
