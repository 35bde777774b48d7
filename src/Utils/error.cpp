#include <cstdio>
#include <cstdlib>

#include <Orvane/Utils/error.h>

namespace Orvane {

void check_impl(const char* file, int line, const std::string& message) {
    std::fprintf(stderr, "%s:%d: %s\n", file, line, message.c_str());
    std::fflush(stderr);
    std::exit(1);
}

} // namespace Orvane
