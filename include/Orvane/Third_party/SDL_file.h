#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>

struct SDL_RWops;

namespace Orvane::Third_party {

/// The engine's only access to files and memory streams, over SDL's read/write streams, and
/// to its two folders: the executable's folder and the per-user folder.
class SDL_file {
  public:
    /// An open stream and its size in bytes when it was opened; a null handle means nothing is
    /// open (size 0). A plain value: copies refer to the same stream.
    struct Asset {
        SDL_RWops* handle = nullptr;
        std::size_t size = 0;

        explicit operator bool() const { return handle != nullptr; }
    };

    /// Opens a disk file. For reading, a file that cannot be opened gives an empty asset without
    /// a message. For writing, the bytes go to a temporary file beside `path` (path + ".tmp")
    /// that replaces `path` only when the stream closes after every write succeeded, so a crash
    /// or a failed write leaves the previous file whole; a file that cannot be created is fatal:
    /// "Can't open <path>, <SDL error>".
    static Asset open(const std::string& path, bool write);
    /// A path given as a literal (the bool keeps it apart from the memory overload).
    static Asset open(const char* path, std::same_as<bool> auto write) {
        return open(std::string(path), static_cast<bool>(write));
    }

    /// A read-only stream over `size` bytes that stay owned by the caller. Zero bytes give a
    /// valid empty stream; an empty asset only when SDL refuses the memory.
    static Asset open(const void* data, std::size_t size);

    /// Reads up to `size` bytes; returns the count read (0 at the end or on error).
    static std::size_t read(Asset asset, void* buffer, std::size_t size);

    /// Writes `text` up to its terminating NUL; returns the count written.
    static std::size_t write(Asset asset, const char* text);

    /// The current position, -1 on error.
    static std::int64_t tell(Asset asset);

    /// Moves to an absolute position; returns the new position, -1 on error.
    static std::int64_t seek(Asset asset, std::size_t position);

    /// Closes the stream. A failing close (for a written file: a failed write, flush or the
    /// final rename) is fatal: "Can't close file, <SDL error>".
    static void close(Asset asset);

    /// The executable's folder, ending with the path separator.
    static std::string base_path();

    /// The per-user folder of organisation "quenlo", application "velmoor-demo", created when
    /// missing and ending with the path separator.
    static std::string pref_path();
};

} // namespace Orvane::Third_party
