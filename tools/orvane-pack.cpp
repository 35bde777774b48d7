// orvane-pack <source folder> <output folder>: turns a game's source folder into the six
// package files that the engine reads.
#include <cstdio>
#include <exception>

#include <Packer/Package_writer.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <source folder> <output folder>\n", argv[0]);
        return 2;
    }
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
