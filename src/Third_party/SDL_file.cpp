#include <cstdio>
#include <memory>
#include <string>

#include <SDL.h>

#include <Orvane/Third_party/SDL_file.h>
#include <Orvane/Utils/error.h>

namespace Orvane::Third_party {

namespace {

// A file being written: the bytes go to `temp`, which replaces `target` only when every write
// and the close succeeded.
struct Replacing_file {
    SDL_RWops* inner = nullptr;
    std::string temp;
    std::string target;
    bool failed = false;
};

Replacing_file* replacing(SDL_RWops* context) {
    return static_cast<Replacing_file*>(context->hidden.unknown.data1);
}

Sint64 replacing_size(SDL_RWops* context) { return SDL_RWsize(replacing(context)->inner); }

Sint64 replacing_seek(SDL_RWops* context, Sint64 offset, int whence) {
    return SDL_RWseek(replacing(context)->inner, offset, whence);
}

size_t replacing_read(SDL_RWops* context, void* data, size_t size, size_t count) {
    return SDL_RWread(replacing(context)->inner, data, size, count);
}

size_t replacing_write(SDL_RWops* context, const void* data, size_t size, size_t count) {
    Replacing_file* file = replacing(context);
    const size_t written = SDL_RWwrite(file->inner, data, size, count);
    if (written != count)
        file->failed = true;
    return written;
}

int replacing_close(SDL_RWops* context) {
    std::unique_ptr<Replacing_file> file(replacing(context));
    SDL_FreeRW(context);
    // The stdio stream reports buffered write errors when it is closed.
    int result = SDL_RWclose(file->inner);
    if (result == 0 && file->failed)
        result = SDL_SetError("writing %s failed", file->temp.c_str());
    if (result == 0 && std::rename(file->temp.c_str(), file->target.c_str()) != 0)
        result = SDL_SetError("cannot replace %s", file->target.c_str());
    if (result != 0) {
        const std::string reason = SDL_GetError();
        std::remove(file->temp.c_str());
        SDL_SetError("%s; %s is left as it was", reason.c_str(), file->target.c_str());
    }
    return result;
}

SDL_RWops* open_replacing(const std::string& path) {
    auto file = std::make_unique<Replacing_file>();
    file->temp = path + ".tmp";
    file->target = path;
    file->inner = SDL_RWFromFile(file->temp.c_str(), "w");
    if (file->inner == nullptr)
        return nullptr;
    SDL_RWops* context = SDL_AllocRW();
    if (context == nullptr) {
        SDL_RWclose(file->inner);
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
    return make_asset(SDL_RWFromFile(path.c_str(), "r"));
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

std::string SDL_file::base_path() {
    char* path = SDL_GetBasePath();
    std::string result = path != nullptr ? path : "./";
    SDL_free(path);
    return result;
}

std::string SDL_file::pref_path() {
    char* path = SDL_GetPrefPath("quenlo", "velmoor-demo");
    ORVANE_CHECK(path != nullptr, std::string("Can't find the per-user folder, ") + SDL_GetError());
    std::string result = path;
    SDL_free(path);
    return result;
}

} // namespace Orvane::Third_party
