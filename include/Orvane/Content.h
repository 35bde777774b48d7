#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include <Orvane/Component/Base.h>
#include <Orvane/Store_key.h>
#include <Orvane/Utils/error.h>

namespace Orvane {

/// The fixed slots of the store for the components read every frame.
enum class Fast_access_component : std::size_t {
    CAMERA_POSITION = 0,
    CAMERA_ZOOM,
    CURSOR_POSITION,
    CLOCK_SAVED_TIME,
    CLOCK_DISCOUNTED_TIME,
    CLOCK_TIME,
    CLOCK_LATEST_ACTIVE,
    GAME_DEBUG,
    GAME_STATUS,
    GAME_LOCALE,
    GAME_CURRENT_LOCALE,
    LOADING_SPIN_IMAGE,
    LOADING_SPIN_POSITION,
    INTERFACE_INPUT_MODE,
    STICK_DIRECTION,
    SIZE
};

/// Name of a slot for messages: "CAMERA_ZOOM (Camera:zoom)".
std::string fast_access_name(const Fast_access_component& slot);

/// The single store of game state. Components are filed under their own (entity, component)
/// key in one of 31 hash maps chosen by component name (30 fixed names have a map of their
/// own, every other name shares map 0), so that a system can walk every component of one
/// name. Fifteen hot components are also held in fast-access slots. Every typed lookup
/// converts through Component::cast, so conditionals are looked through.
///
/// Lookups (request, get, value, remove, receive, signal) take the names as views and build no
/// strings: each name is hashed once, and the maps find the key by that hash and the two names
/// (see Key). A lookup allocates nothing. Every operation on a key also takes a Store_key, the
/// fixed keys declared in Keys.h.
///
/// Walking the components of one name: use walk() whenever the body may set or remove
/// components (of that name or any other); it goes over a snapshot and skips what the body
/// removed. Iterate components() directly only in a body that changes nothing in the store:
/// it is the live map, and filing or removing while it is iterated invalidates the iteration.
class Content {
  public:
    /// A key that owns nothing: both names as views and the hash that Component::Id computes
    /// for them (hash_name of the entity XOR hash_name of the component), so that the maps find
    /// a component without building an Id.
    struct Key {
        std::string_view entity;
        std::string_view component;
        std::size_t hash;
    };
    /// Hash of the maps: a stored Id's hash, or a Key's, never recomputed.
    struct Key_hash {
        using is_transparent = void;
        std::size_t operator()(const Component::Id& id) const noexcept { return id.hash(); }
        std::size_t operator()(const Key& key) const noexcept { return key.hash; }
    };
    /// Equality of the maps: both names equal, byte-wise.
    struct Key_equal {
        using is_transparent = void;
        // The stored hashes first: the names are compared only when they agree.
        bool operator()(const Component::Id& a, const Component::Id& b) const {
            return a.hash() == b.hash() && a == b;
        }
        bool operator()(const Key& a, const Component::Id& b) const {
            return a.hash == b.hash() && a.entity == b.entity() && a.component == b.component();
        }
        bool operator()(const Component::Id& a, const Key& b) const { return (*this)(b, a); }
    };

    using Component_ptr = std::shared_ptr<Component::Base>;
    using Component_map = std::unordered_map<Component::Id, Component_ptr, Key_hash, Key_equal>;
    using Map_list = std::vector<Component_map>;

    static constexpr std::size_t number_of_maps = 31;
    static constexpr std::size_t number_of_slots =
        static_cast<std::size_t>(Fast_access_component::SIZE);

    /// 31 empty maps, the name index, all slots empty.
    Content();

    /// Files c under its own key in the map of its component name, replacing whatever was
    /// stored under that key.
    template <typename T> void set(const std::shared_ptr<T>& c) { file(c); }

    /// Creates a T from (entity, component, args...), files it and returns it.
    template <typename T, typename... Args>
    std::shared_ptr<T> set(const std::string& entity, const std::string& component,
                           Args&&... args) {
        auto c = std::make_shared<T>(entity, component, std::forward<Args>(args)...);
        file(c);
        return c;
    }
    template <typename T, typename... Args>
    std::shared_ptr<T> set(const Store_key& key, Args&&... args) {
        return set<T>(std::string(key.entity), std::string(key.component),
                      std::forward<Args>(args)...);
    }

    /// As set, and also holds the new component in the slot (replacing what it held). The slot
    /// keeps its own reference: removing the key from the maps leaves the slot filled.
    template <typename T, typename... Args>
    std::shared_ptr<T> set_fac(const Fast_access_component& slot, const std::string& entity,
                               const std::string& component, Args&&... args) {
        auto c = set<T>(entity, component, std::forward<Args>(args)...);
        m_fast_access[index(slot)] = c;
        return c;
    }
    template <typename T, typename... Args>
    std::shared_ptr<T> set_fac(const Fast_access_component& slot, const Store_key& key,
                               Args&&... args) {
        return set_fac<T>(slot, std::string(key.entity), std::string(key.component),
                          std::forward<Args>(args)...);
    }

    /// The component under the key as a T, or null when absent or of another type.
    template <typename T>
    std::shared_ptr<T> request(std::string_view entity, std::string_view component) const {
        return Component::cast<T>(find(entity, component));
    }
    template <typename T> std::shared_ptr<T> request(const Store_key& key) const {
        return request<T>(key.entity, key.component);
    }

    /// The component held in a fast-access slot as a T, or null when the slot is empty or
    /// holds something else.
    template <typename T> std::shared_ptr<T> request(const Fast_access_component& slot) const {
        return Component::cast<T>(m_fast_access[index(slot)]);
    }

    /// As request, but null is fatal: "Cannot find entity:component".
    template <typename T>
    std::shared_ptr<T> get(std::string_view entity, std::string_view component) const {
        auto c = request<T>(entity, component);
        ORVANE_CHECK(c, "Cannot find " + joined(entity, component));
        return c;
    }
    template <typename T> std::shared_ptr<T> get(const Store_key& key) const {
        return get<T>(key.entity, key.component);
    }

    /// Value of the component held in a fast-access slot. An empty slot, or one holding
    /// something that is not a T, is fatal with a message naming the slot.
    template <typename T>
    typename T::const_reference value(const Fast_access_component& slot) const {
        const Component_ptr& held = m_fast_access[index(slot)];
        ORVANE_CHECK(held, "Fast-access slot " + fast_access_name(slot) + " is empty");
        auto c = Component::cast<T>(held);
        ORVANE_CHECK(c, "Fast-access slot " + fast_access_name(slot) +
                            " does not hold the requested type: " + held->str());
        return c->value();
    }

    /// Copy of the value of the T under the key, or of the default when there is none.
    template <typename T>
    typename T::value_type value(std::string_view entity, std::string_view component,
                                 const typename T::value_type& default_value) const {
        auto c = request<T>(entity, component);
        if (!c)
            return default_value;
        return c->value();
    }
    template <typename T>
    typename T::value_type value(const Store_key& key,
                                 const typename T::value_type& default_value) const {
        return value<T>(key.entity, key.component, default_value);
    }

    /// The T under the key; when there is none (or it is of another type), a new T from
    /// (entity, component, args...) is filed in its place and returned.
    template <typename T, typename... Args>
    std::shared_ptr<T> get_or_set(const std::string& entity, const std::string& component,
                                  Args&&... args) {
        if (auto c = request<T>(entity, component))
            return c;
        return set<T>(entity, component, std::forward<Args>(args)...);
    }
    template <typename T, typename... Args>
    std::shared_ptr<T> get_or_set(const Store_key& key, Args&&... args) {
        if (auto c = request<T>(key))
            return c;
        return set<T>(key, std::forward<Args>(args)...);
    }

    /// Erases the entry under the key and returns true. Absent: false when optional, else
    /// fatal "Id entity:component doesn't exist".
    bool remove(std::string_view entity, std::string_view component, bool optional = false);
    bool remove(const Store_key& key, bool optional = false) {
        return remove(key.entity, key.component, optional);
    }
    bool remove(const Component_ptr& c, bool optional = false);

    /// Files a new Component::Signal under the key, replacing whatever was there.
    void emit(std::string_view entity, std::string_view component);
    void emit(const Store_key& key) { emit(key.entity, key.component); }
    /// True and consumed when the key holds a signal; otherwise false, nothing changes.
    bool receive(std::string_view entity, std::string_view component);
    bool receive(const Store_key& key) { return receive(key.entity, key.component); }
    /// True when the key holds a signal; consumes nothing.
    bool signal(std::string_view entity, std::string_view component) const;
    bool signal(const Store_key& key) const { return signal(key.entity, key.component); }

    /// The live map of a component name (map 0 for names without a map of their own, shared
    /// with every other such name). For walks whose body changes the store, use walk().
    Component_map& components(std::string_view component);
    const Component_map& components(std::string_view component) const;

    /// Calls body(const Component_ptr&) once for every component named `component` that the
    /// store holds when the walk begins, in no set order. The body may set and remove any
    /// components: the walk goes over a snapshot of them, and skips one that is no longer
    /// stored under its key when its turn comes (removed, or replaced by another component).
    /// Components filed during the walk are not visited. The component passed stays alive for
    /// the whole call, even when the body removes it.
    template <typename F> void walk(std::string_view component, F&& body) {
        const std::vector<Component_ptr> snapshot = collect(component);
        for (const Component_ptr& c : snapshot)
            if (holds(c))
                body(c);
    }

    /// Releases every slot and every map: the store holds nothing afterwards.
    void clear();
    /// Removes from every map each component for which drop returns true; slots untouched.
    void clear(const std::function<bool(Component_ptr)>& drop);

    /// Iteration over the component maps (not over components).
    Map_list::const_iterator begin() const { return m_maps.begin(); }
    Map_list::const_iterator end() const { return m_maps.end(); }
    /// Number of component maps.
    std::size_t size() const { return m_maps.size(); }

    /// Index of the map that holds a component name.
    std::size_t map_index(std::string_view component) const;

  private:
    static std::size_t index(const Fast_access_component& slot) {
        const auto i = static_cast<std::size_t>(slot);
        ORVANE_CHECK(i < number_of_slots, "Invalid fast-access slot " + std::to_string(i));
        return i;
    }

    // A component name with its hash, so that one hash serves the name index and the key.
    struct Name {
        std::string_view text;
        std::size_t hash;
    };
    // One slot of the name index; index 0 marks a free slot (map 0 has no name of its own).
    struct Name_slot {
        std::string_view text;
        std::size_t hash = 0;
        std::size_t index = 0;
    };
    // Slots of the name index: a power of two, at least twice the names, so that the low bits
    // of a hash find a name in a probe or two.
    static constexpr std::size_t name_slots = 64;
    static_assert(2 * (number_of_maps - 1) <= name_slots);

    /// "entity:component", for messages.
    static std::string joined(std::string_view entity, std::string_view component);

    std::size_t map_index(const Name& component) const;
    /// The map of a hashed component name.
    Component_map& map_of(const Name& component) { return m_maps[map_index(component)]; }
    const Component_map& map_of(const Name& component) const {
        return m_maps[map_index(component)];
    }
    /// A component name with its hash; the key of (entity, component) from it, the entity
    /// hashed once.
    static Name name(std::string_view component) {
        return {component, Component::hash_name(component)};
    }
    static Key key(std::string_view entity, const Name& component) {
        return {entity, component.text, Component::hash_name(entity) ^ component.hash};
    }

    void file(const Component_ptr& c);
    Component_ptr find(std::string_view entity, std::string_view component) const;
    /// The components named `component`, for walk().
    std::vector<Component_ptr> collect(std::string_view component) const;
    /// Whether c itself is stored under its key.
    bool holds(const Component_ptr& c) const;

    Map_list m_maps;
    std::array<Component_ptr, number_of_slots> m_fast_access;
    // The names with a map of their own, open-addressed by hash (the names are static text).
    std::array<Name_slot, name_slots> m_name_index{};
};

} // namespace Orvane
