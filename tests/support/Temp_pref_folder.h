#pragma once

#include <string>

namespace Orvane::Test {

/// A fresh per-user folder for one test: points XDG_DATA_HOME at a new temporary folder (so
/// the engine's per-user folder lies inside it) and puts everything back when destroyed.
class Temp_pref_folder {
  public:
    Temp_pref_folder();
    ~Temp_pref_folder();
    Temp_pref_folder(const Temp_pref_folder&) = delete;
    Temp_pref_folder& operator=(const Temp_pref_folder&) = delete;

    /// The temporary XDG_DATA_HOME.
    const std::string& root() const { return m_root; }

    /// The engine's per-user folder inside it, ending with '/'.
    std::string pref_path() const;

    /// Whole content of a file of the per-user folder ("" when missing).
    std::string read(const std::string& name) const;

    /// Writes a file of the per-user folder directly.
    void write(const std::string& name, const std::string& content) const;

  private:
    std::string m_root;
    std::string m_previous;
    bool m_had_previous = false;
};

} // namespace Orvane::Test
