#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <SDL.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <Orvane/Third_party/SDL_file.h>
#include <Orvane/Utils/error.h>

namespace Orvane::Third_party {

namespace {

// A file being written: the bytes go to `temp`, a file of its own in the same folder (so that
// two writers of one file never share it), which replaces `target` only when every write, the
// flush to the disk and the close succeeded.
struct Replacing_file {
    std::FILE* stream = nullptr;
    std::string temp;
    std::string target;
    int write_error = -1; // the errno of the first failed write; -1 while every write succeeded
};

Replacing_file* replacing(SDL_RWops* context) {
    return static_cast<Replacing_file*>(context->hidden.unknown.data1);
}

Sint64 replacing_size(SDL_RWops* context) {
    struct stat info {};
    Replacing_file* file = replacing(context);
    if (std::fflush(file->stream) != 0 || ::fstat(::fileno(file->stream), &info) != 0)
        return SDL_SetError("cannot find the size of %s", file->temp.c_str());
    return static_cast<Sint64>(info.st_size);
}

Sint64 replacing_seek(SDL_RWops* context, Sint64 offset, int whence) {
    static constexpr int origins[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (whence < RW_SEEK_SET || whence > RW_SEEK_END)
        return SDL_SetError("unknown seek origin");
    std::FILE* stream = replacing(context)->stream;
    if (::fseeko(stream, static_cast<off_t>(offset), origins[whence]) != 0)
        return SDL_SetError("cannot seek in %s", replacing(context)->temp.c_str());
    return static_cast<Sint64>(::ftello(stream));
}

size_t replacing_read(SDL_RWops*, void*, size_t, size_t) {
    SDL_SetError("write-only stream");
    return 0;
}

size_t replacing_write(SDL_RWops* context, const void* data, size_t size, size_t count) {
    Replacing_file* file = replacing(context);
    const size_t written = std::fwrite(data, size, count, file->stream);
    if (written != count && file->write_error < 0)
        file->write_error = errno;
    return written;
}

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

int replacing_close(SDL_RWops* context) {
    std::unique_ptr<Replacing_file> file(replacing(context));
    SDL_FreeRW(context);
    int result = 0;
    if (file->write_error >= 0)
        result = SDL_SetError("writing %s failed (%s)", file->temp.c_str(),
                              std::strerror(file->write_error));
    // The bytes reach the disk before the rename: a power loss then leaves the old file or the
    // new one, never an empty one.
    const bool flushed = std::fflush(file->stream) == 0 && ::fsync(::fileno(file->stream)) == 0;
    if (!flushed && result == 0)
        result = SDL_SetError("flushing %s failed (%s)", file->temp.c_str(), std::strerror(errno));
    if (std::fclose(file->stream) != 0 && result == 0)
        result = SDL_SetError("closing %s failed (%s)", file->temp.c_str(), std::strerror(errno));
    if (result == 0 && std::rename(file->temp.c_str(), file->target.c_str()) != 0)
        result = SDL_SetError("cannot replace %s (%s)", file->target.c_str(), std::strerror(errno));
    if (result != 0) {
        const std::string reason = SDL_GetError();
        std::remove(file->temp.c_str());
        SDL_SetError("%s; %s is left as it was", reason.c_str(), file->target.c_str());
        return result;
    }
    // The rename itself lasts once the folder is flushed. The file is in place whatever this
    // gives: some file systems cannot flush a folder, and that is no failure of the write.
    const int folder = ::open(folder_of(file->target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return 0;
}

// The temporary files of `path`: its name, '.', and the six letters or digits mkstemp chose.
bool is_temporary_of(const std::string& name, const std::string& target_name) {
    if (name.size() != target_name.size() + 7 || name.compare(0, target_name.size(), target_name) != 0 ||
        name[target_name.size()] != '.')
        return false;
    for (std::size_t i = target_name.size() + 1; i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

SDL_RWops* open_replacing(const std::string& path) {
    auto file = std::make_unique<Replacing_file>();
    file->target = path;
    std::string name = path + ".XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        SDL_SetError("cannot create a temporary file beside %s (%s)", path.c_str(),
                     std::strerror(errno));
        return nullptr;
    }
    file->temp = name;
    file->stream = ::fdopen(fd, "wb");
    if (file->stream == nullptr) {
        ::close(fd);
        std::remove(file->temp.c_str());
        SDL_SetError("cannot write %s", file->temp.c_str());
        return nullptr;
    }
    SDL_RWops* context = SDL_AllocRW();
    if (context == nullptr) {
        std::fclose(file->stream);
        std::remove(file->temp.c_str());
        return nullptr;
    }
    context->type = SDL_RWOPS_UNKNOWN;
    context->size = replacing_size;
    context->seek = replacing_seek;
    context->read = replacing_read;
    context->write = replacing_write;
    context->close = replacing_close;
    context->hidden.unknown.data1 = file.release();
    return context;
}

// SDL refuses memory streams of zero bytes; an empty entry is still a valid stream.
Sint64 empty_size(SDL_RWops*) { return 0; }
Sint64 empty_seek(SDL_RWops*, Sint64 offset, int whence) {
    if (whence != RW_SEEK_SET && whence != RW_SEEK_CUR && whence != RW_SEEK_END)
        return SDL_SetError("unknown seek origin");
    return offset == 0 ? 0 : SDL_SetError("seek past the end of an empty stream");
}
size_t empty_read(SDL_RWops*, void*, size_t, size_t) { return 0; }
size_t empty_write(SDL_RWops*, const void*, size_t, size_t) {
    SDL_SetError("read-only stream");
    return 0;
}
int empty_close(SDL_RWops* context) {
    SDL_FreeRW(context);
    return 0;
}

SDL_RWops* open_empty() {
    SDL_RWops* context = SDL_AllocRW();
    if (context == nullptr)
        return nullptr;
    context->type = SDL_RWOPS_UNKNOWN;
    context->size = empty_size;
    context->seek = empty_seek;
    context->read = empty_read;
    context->write = empty_write;
    context->close = empty_close;
    return context;
}

// Only a regular file is read: a directory opens on some systems and reports a size of
// 2^63 - 1, and a FIFO or a device may block or never end.
SDL_RWops* open_regular(const std::string& path) {
    // O_NONBLOCK, so that opening a FIFO does not wait for a writer before fstat can refuse it
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        SDL_SetError("cannot open %s", path.c_str());
        return nullptr;
    }
    struct stat info {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags == -1 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        SDL_SetError("%s is not a regular file", path.c_str());
        return nullptr;
    }
    FILE* stream = ::fdopen(fd, "rb");
    if (stream == nullptr) {
        ::close(fd);
        return nullptr;
    }
    SDL_RWops* handle = SDL_RWFromFP(stream, SDL_TRUE);
    if (handle == nullptr)
        std::fclose(stream);
    return handle;
}

SDL_file::Asset make_asset(SDL_RWops* handle) {
    if (handle == nullptr)
        return {};
    const Sint64 size = SDL_RWsize(handle);
    return {handle, size > 0 ? static_cast<std::size_t>(size) : 0};
}

} // namespace

SDL_file::Asset SDL_file::open(const std::string& path, bool write) {
    if (write) {
        SDL_RWops* handle = open_replacing(path);
        ORVANE_CHECK(handle != nullptr, "Can't open " + path + ", " + SDL_GetError());
        return make_asset(handle);
    }
    return make_asset(open_regular(path));
}

SDL_file::Asset SDL_file::open(const void* data, std::size_t size) {
    if (size == 0)
        return make_asset(open_empty());
    if (size > static_cast<std::size_t>(INT32_MAX) || data == nullptr)
        return {};
    return make_asset(SDL_RWFromConstMem(data, static_cast<int>(size)));
}

std::size_t SDL_file::read(Asset asset, void* buffer, std::size_t size) {
    if (!asset || size == 0)
        return 0;
    return SDL_RWread(asset.handle, buffer, 1, size);
}

std::size_t SDL_file::write(Asset asset, const char* text) {
    const std::size_t length = SDL_strlen(text);
    if (!asset || length == 0)
        return 0;
    return SDL_RWwrite(asset.handle, text, 1, length);
}

std::int64_t SDL_file::tell(Asset asset) { return asset ? SDL_RWtell(asset.handle) : -1; }

std::int64_t SDL_file::seek(Asset asset, std::size_t position) {
    if (!asset)
        return -1;
    return SDL_RWseek(asset.handle, static_cast<Sint64>(position), RW_SEEK_SET);
}

void SDL_file::close(Asset asset) {
    if (!asset)
        return;
    ORVANE_CHECK(SDL_RWclose(asset.handle) == 0, std::string("Can't close file, ") + SDL_GetError());
}

std::size_t SDL_file::memory_size() {
    const int mebibytes = SDL_GetSystemRAM();
    return mebibytes > 0 ? static_cast<std::size_t>(mebibytes) << 20 : 0;
}

std::string SDL_file::base_path() {
    char* path = SDL_GetBasePath();
    std::string result = path != nullptr ? path : "./";
    SDL_free(path);
    return result;
}

bool SDL_file::replace(const std::string& path, const std::string& bytes) {
    SDL_RWops* handle = open_replacing(path);
    if (handle == nullptr)
        return false;
    if (!bytes.empty())
        SDL_RWwrite(handle, bytes.data(), 1, bytes.size());
    // A failed write is noted by the stream: the close then keeps the previous file and
    // removes the temporary one.
    return SDL_RWclose(handle) == 0;
}

std::string SDL_file::not_a_file(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0)
        return errno == ENOENT ? std::string()
                               : "unreadable (" + std::string(std::strerror(errno)) + ")";
    auto kind = [](mode_t mode) -> std::string {
        if (S_ISDIR(mode))
            return "a directory";
        if (S_ISFIFO(mode))
            return "a FIFO";
        if (S_ISSOCK(mode))
            return "a socket";
        if (S_ISCHR(mode) || S_ISBLK(mode))
            return "a device";
        return S_ISREG(mode) ? "" : "not a regular file";
    };
    std::string what = kind(link.st_mode);
    if (S_ISLNK(link.st_mode)) {
        struct stat target {};
        if (::stat(path.c_str(), &target) != 0)
            return errno == ELOOP ? "a symbolic link that leads back to itself"
                                  : "a symbolic link that leads nowhere";
        what = kind(target.st_mode);
        if (!what.empty())
            return "a symbolic link to " + what;
    }
    if (!what.empty())
        return what;
    // a regular file, or a link to one: usable unless the system refuses to open it
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return "unreadable (" + std::string(std::strerror(errno)) + ")";
    ::close(fd);
    return {};
}

int SDL_file::remove_temporaries(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string folder = folder_of(path);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return 0;
    std::vector<std::string> found;
    while (const dirent* entry = ::readdir(dir))
        if (is_temporary_of(entry->d_name, name))
            found.emplace_back(entry->d_name);
    ::closedir(dir);
    int removed = 0;
    for (const std::string& temp : found) {
        const std::string temp_path = folder + "/" + temp;
        struct stat info {};
        // only the files a writer made; anything else of that name is left alone
        if (::lstat(temp_path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::unlink(temp_path.c_str()) == 0)
            ++removed;
    }
    return removed;
}

std::string SDL_file::pref_path() {
    char* path = SDL_GetPrefPath("quenlo", "velmoor-demo");
    ORVANE_CHECK(path != nullptr, std::string("Can't find the per-user folder, ") + SDL_GetError());
    std::string result = path;
    SDL_free(path);
    return result;
}

} // namespace Orvane::Third_party
