// Fuzzes the YAML reader: any byte string is parsed as a file. Fatal checks (malformed files,
// missing keys, items out of range) end here in an exception instead of ending the process, so
// that the fuzzer goes on; everything else must hold: no crash, no out-of-bounds access, no leak,
// and a successful parse always gives a mapping at the top.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include <Orvane/Assets/Packaged_asset.h>
#include <Orvane/Third_party/Yaml.h>
#include <Orvane/Utils/error.h>

namespace {

// Fatal checks throw in this program, so that the fuzzer goes on.
void throw_on_fatal(const char* /*file*/, int /*line*/, const std::string& message) {
    throw std::runtime_error(message);
}

using Orvane::Third_party::Yaml;

template <typename F> void guarded(F&& f) {
    try {
        f();
    } catch (const std::runtime_error&) {
    }
}

// Walks the whole tree through the public accessors, without recursion.
void walk(const Yaml::Node& root) {
    std::vector<const Yaml::Node*> pending{&root};
    std::size_t visited = 0;
    while (!pending.empty() && visited < 100000) {
        const Yaml::Node& node = *pending.back();
        pending.pop_back();
        ++visited;
        (void)node.integer();
        (void)node.floating();
        (void)node.boolean();
        (void)node.is_relative();
        (void)node.string("images", "png");
        (void)node.string_array();
        guarded([&] { (void)node.time(); });
        guarded([&] { (void)node.nstring(); });
        guarded([&] { (void)node[node.size()]; });
        guarded([&] { (void)node["missing key"]; });
        for (std::size_t i = 0; i < node.size(); ++i)
            pending.push_back(&node[i]);
        for (const auto& [key, child] : node) {
            if (!node.has(key) || &node[key] != child.get())
                std::abort();
            pending.push_back(child.get());
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Orvane::set_fatal_handler(throw_on_fatal);
    // exactly sized, so that any read past the end is caught
    std::vector<char> text(reinterpret_cast<const char*>(data),
                           reinterpret_cast<const char*>(data) + size);
    Yaml yaml("fuzz.yaml", Orvane::Packaged_asset(text.data(), text.size()));
    bool parsed = false;
    try {
        parsed = yaml.parse();
    } catch (const std::runtime_error&) {
        return 0;
    }
    if (parsed) {
        if (yaml.root().is_sequence || !yaml.root().value.empty())
            std::abort();
        walk(yaml.root());
        yaml.root().print("");
    } else {
        // a top-level sequence keeps its tree although it is refused
        guarded([&] { walk(yaml.root()); });
    }
    return 0;
}
