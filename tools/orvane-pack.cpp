// orvane-pack <source folder> <output folder>: turns a game's source folder into the six
// package files that the engine reads.
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

#include <Packer/Package_writer.h>

namespace {

/// Shows how far the builder of a ground map's walkable graph has come, once an image has taken
/// more than a second, on one line of standard error rewritten a few times a second.
void show_graph_progress(const std::string& key, int phase, double done) {
    using Clock = std::chrono::steady_clock;
    static std::string current;
    static Clock::time_point start, shown;
    static bool showing = false, closed = false;
    const Clock::time_point now = Clock::now();
    if (key != current) {
        if (showing)
            std::fputc('\n', stderr);
        current = key;
        start = now;
        showing = closed = false;
    }
    const bool finished = phase == 3 && done >= 1;
    if (closed || (now - start < std::chrono::seconds(1) && !showing))
        return;
    if (showing && !finished && now - shown < std::chrono::milliseconds(200))
        return;
    static const char* const phases[] = {"tracing the outline", "simplifying the outline",
                                         "linking the outline"};
    std::fprintf(stderr, "\rorvane-pack: walkable graph of %s: %s, %3d%% (%.0f s)",
                 key.c_str(), phases[phase < 1 ? 0 : phase > 3 ? 2 : phase - 1],
                 int(done * 100), std::chrono::duration<double>(now - start).count());
    std::fflush(stderr);
    shown = now;
    showing = !finished;
    closed = finished;
    if (finished)
        std::fputc('\n', stderr);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <source folder> <output folder>\n", argv[0]);
        return 2;
    }
    Orvane::Packer::set_graph_progress(show_graph_progress);
    try {
        std::vector<std::string> skipped;
        const auto entries = Orvane::Packer::read_folder(argv[1], skipped);
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
