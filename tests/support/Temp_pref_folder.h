#pragma once

// Header only: the benchmarks and the fuzz targets use it without the tests' support library.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include <Orvane/Third_party/SDL_file.h>

namespace Orvane::Test {

/// A fresh per-user folder for one test, benchmark or fuzz run: points XDG_DATA_HOME at a new
/// temporary folder (so the engine's per-user folder lies inside it; in ORVANE_BUILD_DIR when
/// set, else in the system's temporary folder) and puts everything back, removing the folder,
/// when destroyed.
class Temp_pref_folder {
  public:
    Temp_pref_folder() {
        const char* base = std::getenv("ORVANE_BUILD_DIR");
        std::string pattern = (base != nullptr ? std::string(base)
                                               : std::filesystem::temp_directory_path().string()) +
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
    ~Temp_pref_folder() {
        if (m_had_previous)
            setenv("XDG_DATA_HOME", m_previous.c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    Temp_pref_folder(const Temp_pref_folder&) = delete;
    Temp_pref_folder& operator=(const Temp_pref_folder&) = delete;

    /// The temporary XDG_DATA_HOME.
    const std::string& root() const { return m_root; }

    /// The engine's per-user folder inside it, ending with '/'.
    std::string pref_path() const { return Third_party::SDL_file::pref_path(); }

    /// Whole content of a file of the per-user folder ("" when missing).
    std::string read(const std::string& name) const {
        std::ifstream in(pref_path() + name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    /// Writes a file of the per-user folder directly.
    void write(const std::string& name, const std::string& content) const {
        std::ofstream out(pref_path() + name, std::ios::binary | std::ios::trunc);
        out << content;
    }

  private:
    std::string m_root;
    std::string m_previous;
    bool m_had_previous = false;
};

} // namespace Orvane::Test
