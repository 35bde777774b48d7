#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "Canvas.h"

namespace Sample {

/// The staging folder the generator fills; keys are paths below it ('/' separated).
class Output {
  public:
    explicit Output(std::filesystem::path root) : m_root(std::move(root)) {}
    /// Writes a picture as PNG under `key` (such as "images/interface/icon.png").
    void picture(const std::string& key, const Canvas& canvas) const;
    /// Writes a file's bytes under `key` (such as "sounds/effects/click.ogg").
    void file(const std::string& key, const std::vector<char>& bytes) const;

  private:
    std::filesystem::path m_root;
};

// One function per family of generated files.

/// The interface pictures that init.yaml names, with the French variants of the locale-dependent
/// ones.
void draw_interface(const Output& out);
/// The rooms' backgrounds and their ground maps.
void draw_backgrounds(const Output& out);
/// The sheets of the characters.
void draw_characters(const Output& out);
/// Objects, inventory pictures, masks, animations, scenery, windows and the code lock.
void draw_items(const Output& out);
/// The sound effects and music tracks.
void make_sounds(const Output& out);

} // namespace Sample
