#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

namespace Orvane::Third_party {

/// A cache of shared resources by name. Every handle that it makes carries the deleter given
/// at construction, so the outside resource (texture, font) goes when the last holder, cache
/// or user, lets go of it.
template <typename T> class Resource_manager {
  public:
    using Handle = std::shared_ptr<T>;

    explicit Resource_manager(const std::function<void(T*)>& deleter) : m_deleter(deleter) {}

    /// Wraps what `maker` returns in a handle with the cache's deleter, without caching it.
    Handle make_single_base(const std::function<T*()>& maker) const {
        return Handle(maker(), m_deleter);
    }

    /// The entry under `key`, made with `maker` on its first request. The caller co-owns it.
    Handle get(const std::string& key, const std::function<T*()>& maker) {
        auto [it, inserted] = m_entries.try_emplace(key);
        if (inserted) {
            // an exception or fatal stop inside the maker must not leave an empty entry behind
            try {
                it->second = make_single_base(maker);
            } catch (...) {
                m_entries.erase(it);
                throw;
            }
        }
        return it->second;
    }

    /// The cached entry under `key`, or null.
    Handle request(const std::string& key) const {
        auto it = m_entries.find(key);
        return it == m_entries.end() ? Handle() : it->second;
    }

    /// Drops every entry that only the cache holds; entries still held elsewhere stay.
    void clear() {
        std::unordered_map<std::string, Handle> kept;
        for (auto& [key, handle] : m_entries)
            if (handle.use_count() > 1)
                kept.emplace(key, handle);
        std::swap(kept, m_entries);
    }

    /// Forgets every entry: what only the cache held is destroyed, holders keep the rest.
    void reset() { std::unordered_map<std::string, Handle>().swap(m_entries); }

    std::size_t size() const { return m_entries.size(); }

  private:
    std::unordered_map<std::string, Handle> m_entries;
    std::function<void(T*)> m_deleter;
};

} // namespace Orvane::Third_party
