#pragma once

// Where the benchmarks find the sample game's packages.

#include <cstdlib>
#include <string>

namespace Orvane::Bench {

/// ORVANE_SAMPLE_DATA when set, else the data/ folder of ORVANE_BUILD_DIR (default "build").
inline std::string sample_data_folder() {
    if (const char* folder = std::getenv("ORVANE_SAMPLE_DATA"))
        return folder;
    const char* build = std::getenv("ORVANE_BUILD_DIR");
    return std::string(build != nullptr ? build : "build") + "/data/";
}

} // namespace Orvane::Bench
