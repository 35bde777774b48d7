#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct SDL_RWops;

namespace Orvane {

/// A readable (and, for disk files, writable) byte stream over a package entry, a buffer in
/// memory or a disk file. A small value: copies share one stream, and closing any copy closes it
/// for all of them. Nothing closes the stream by itself: the holder calls close() once it is
/// done (a music stream keeps reading it until the music is deleted).
class Packaged_asset {
  public:
    /// An empty asset: false, size 0; close() does nothing.
    Packaged_asset() = default;

    /// A disk file. Reading a missing file gives an empty asset; writing goes through a
    /// temporary file that replaces `path` on close (failure to create it is fatal).
    Packaged_asset(const std::string& path, bool write);
    Packaged_asset(const char* path, std::same_as<bool> auto write)
        : Packaged_asset(std::string(path), static_cast<bool>(write)) {}

    /// Takes ownership of `buffer` (allocated with new) and reads from its bytes; close() frees it.
    explicit Packaged_asset(std::vector<char>* buffer);

    /// Takes ownership of `size` bytes and reads from them; close() frees them. Unlike a vector,
    /// the bytes need not be zero-filled first (a decompressed entry overwrites them all).
    Packaged_asset(std::unique_ptr<char[]> bytes, std::size_t size);

    /// Reads `size` bytes owned elsewhere, which must outlive the stream.
    Packaged_asset(const void* data, std::size_t size);

    /// True while a stream is open.
    explicit operator bool() const;

    /// Closes the stream (fatal "Can't close file, <SDL error>" on failure) and frees the owned
    /// buffer. Closing an empty asset, or any copy of an asset already closed, does nothing.
    void close();

    /// The SDL stream, for libraries that read streams themselves; null when closed or empty.
    SDL_RWops* base() const;

    /// The first of the owned bytes (a decompressed entry or a vector given to the asset), or
    /// null when the asset borrows its bytes, is empty or is closed.
    const char* buffer() const;

    /// The stream's size in bytes when it was opened; 0 for an empty asset.
    std::size_t size() const;

    /// Reads up to `size` bytes; returns the count read (0 at the end, on error or when closed).
    std::size_t read(void* data, std::size_t size);

    /// Writes `text` up to its first NUL byte; returns the count written.
    std::size_t write(const std::string& text);

    /// The current position; -1 when closed or on error.
    std::int64_t tell();

    /// Moves to an absolute position; returns it, or -1 when closed or on error.
    std::int64_t seek(std::size_t position);

    /// Reads from the current position until `size` bytes are in `data` or the stream ends or
    /// fails (a single read() may stop short); returns the count read, `size` when all came in.
    /// The one way the engine reads a whole file or entry.
    std::size_t read_whole(void* data, std::size_t size);

    /// Reads data.size() bytes into `data`, as read_whole(); returns the count read.
    std::size_t binary_read(std::vector<char>& data);

  private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace Orvane
