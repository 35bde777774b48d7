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

    /// Opens a disk file. For reading, only a regular file opens (a directory, a FIFO or a
    /// device does not, and never blocks); one that cannot be opened gives an empty asset
    /// without a message. For writing, the bytes go to a temporary file of this stream's own
    /// beside `path` (path + "." and six random characters, made by mkstemp, mode 0600), which
    /// is flushed to the disk and renamed over `path` when the stream closes after every write
    /// succeeded, and the folder is flushed after the rename. A crash, a failed write or a power
    /// loss thus leaves the previous file or the new one whole, and two writers of one file at
    /// once leave the whole file of one of them. A file that cannot be created is fatal:
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
    /// final rename, after which the previous file is still in place) is fatal: "Can't close
    /// file, <SDL error>; <path> is left as it was".
    static void close(Asset asset);

    /// Puts `bytes` into the file `path` whole, through the same temporary file as a stream
    /// opened for writing: the previous file is replaced only once every byte, the flush and
    /// the rename succeeded. Never fatal: false when the temporary file cannot be created or a
    /// write, the flush or the rename fails (a full disk, a read-only folder, a directory in
    /// the way); the previous file is then left as it was, no temporary file remains, and
    /// SDL_GetError() tells why.
    static bool replace(const std::string& path, const std::string& bytes);

    /// Why `path` cannot be read as a file although something is there: "a directory",
    /// "a FIFO", "a socket", "a device", "a symbolic link to " one of those, "a symbolic link
    /// that leads nowhere", "a symbolic link that leads back to itself" or "unreadable
    /// (<reason>)". Empty when nothing is there or when it is a readable regular file (or a
    /// link to one).
    static std::string not_a_file(const std::string& path);

    /// Removes what killed writers of `path` left behind: the regular files beside it named
    /// after it, '.', and six letters or digits (the temporary files of open(path, true)).
    /// Returns how many were removed.
    static int remove_temporaries(const std::string& path);

    /// The machine's memory in bytes, 0 when unknown: a file larger than this cannot be read
    /// whole into memory, and is refused before anything is allocated for it.
    static std::size_t memory_size();

    /// The executable's folder, ending with the path separator.
    static std::string base_path();

    /// The per-user folder of organisation "quenlo", application "velmoor-demo", created when
    /// missing and ending with the path separator.
    static std::string pref_path();
};

} // namespace Orvane::Third_party
