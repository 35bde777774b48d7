#include "Temp_pref_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <Orvane/Third_party/SDL_file.h>

namespace Orvane::Test {

namespace fs = std::filesystem;

Temp_pref_folder::Temp_pref_folder() {
    const char* base = std::getenv("ORVANE_BUILD_DIR");
    std::string pattern =
        (base != nullptr ? std::string(base) : fs::temp_directory_path().string()) +
        "/test-pref-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder from " + pattern);
    m_root = pattern;
    if (const char* previous = std::getenv("XDG_DATA_HOME")) {
        m_previous = previous;
        m_had_previous = true;
    }
    setenv("XDG_DATA_HOME", m_root.c_str(), 1);
}

Temp_pref_folder::~Temp_pref_folder() {
    if (m_had_previous)
        setenv("XDG_DATA_HOME", m_previous.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
    std::error_code ignored;
    fs::remove_all(m_root, ignored);
}

std::string Temp_pref_folder::pref_path() const { return Third_party::SDL_file::pref_path(); }

std::string Temp_pref_folder::read(const std::string& name) const {
    std::ifstream in(pref_path() + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Temp_pref_folder::write(const std::string& name, const std::string& content) const {
    std::ofstream out(pref_path() + name, std::ios::binary | std::ios::trunc);
    out << content;
}

} // namespace Orvane::Test
