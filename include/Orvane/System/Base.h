#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include <Orvane/Content.h>
#include <Orvane/Utils/View.h>

namespace Orvane::Component {
class Ground_map;
class Status;
} // namespace Orvane::Component

namespace Orvane::System {

/// Base of the ten systems: a reference to the shared store (which outlives every system),
/// init() and run(), and operations that forward to the store, taking the names as views (so
/// that they build no strings) or a fixed key of Keys.h. Other store operations are reached
/// through m_content directly.
class Base {
  public:
    explicit Base(Content& content) : m_content(content) {}
    virtual ~Base() = default;

    Base(const Base&) = delete;
    Base& operator=(const Base&) = delete;

    /// Called at most once, after the data the system needs is loaded; does nothing by
    /// default.
    virtual void init() {}
    /// Called once per frame.
    virtual void run() = 0;

    /// The store's map of a component name.
    Content::Component_map& components(std::string_view component) {
        return m_content.components(component);
    }
    bool remove(std::string_view entity, std::string_view component, bool optional = false) {
        return m_content.remove(entity, component, optional);
    }
    bool remove(const Store_key& key, bool optional = false) {
        return m_content.remove(key, optional);
    }
    bool remove(const std::shared_ptr<Component::Base>& c, bool optional = false) {
        return m_content.remove(c, optional);
    }
    void emit(std::string_view entity, std::string_view component) {
        m_content.emit(entity, component);
    }
    void emit(const Store_key& key) { m_content.emit(key); }
    bool receive(std::string_view entity, std::string_view component) {
        return m_content.receive(entity, component);
    }
    bool receive(const Store_key& key) { return m_content.receive(key); }
    bool signal(std::string_view entity, std::string_view component) const {
        return m_content.signal(entity, component);
    }
    bool signal(const Store_key& key) const { return m_content.signal(key); }

    /// Game:status from its fast-access slot; null before it is created.
    std::shared_ptr<Component::Status> status() const;
    /// The ground map the character `id` walks on: the room's second one when the character
    /// uses it, else the first; null when the room has none.
    std::shared_ptr<Component::Ground_map> ground_map_of(const std::string& id) const;

    /// The translation of line in the current language's table (Game:locale), or line itself
    /// when there is no table. Returned by value: the argument may be a temporary.
    std::string locale(const std::string& line) const;
    /// locale() of the string held under the key (fatal "Cannot find ..." when absent).
    std::string locale_get(std::string_view entity, std::string_view component) const;
    std::string locale_get(const Store_key& key) const {
        return locale_get(key.entity, key.component);
    }

    /// Creates a T from (entity, component, args...), files it (replacing what was under the
    /// key) and returns it.
    template <typename T, typename... Args> std::shared_ptr<T> set(Args&&... args) {
        auto c = std::make_shared<T>(std::forward<Args>(args)...);
        m_content.set(c);
        return c;
    }
    template <typename T, typename... Args>
    std::shared_ptr<T> set(const Store_key& key, Args&&... args) {
        return m_content.set<T>(key, std::forward<Args>(args)...);
    }

    /// Copy of the value of the T under the key (fatal "Cannot find ..." when absent).
    template <typename T>
    typename T::value_type value(std::string_view entity, std::string_view component) const {
        return m_content.get<T>(entity, component)->value();
    }
    template <typename T> typename T::value_type value(const Store_key& key) const {
        return m_content.get<T>(key)->value();
    }

  protected:
    Content& m_content;
};

/// The view the store holds: Camera:position and Camera:zoom from their fast-access slots
/// (fatal when either is empty).
View camera_view(const Content& content);

} // namespace Orvane::System
