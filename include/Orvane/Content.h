#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <Orvane/Component/Base.h>
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
class Content {
  public:
    using Component_ptr = std::shared_ptr<Component::Base>;
    using Component_map = std::unordered_map<Component::Id, Component_ptr, Component::Id_hash>;
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

    /// As set, and also holds the new component in the slot (replacing what it held). The slot
    /// keeps its own reference: removing the key from the maps leaves the slot filled.
    template <typename T, typename... Args>
    std::shared_ptr<T> set_fac(const Fast_access_component& slot, const std::string& entity,
                               const std::string& component, Args&&... args) {
        auto c = set<T>(entity, component, std::forward<Args>(args)...);
        m_fast_access[index(slot)] = c;
        return c;
    }

    /// The component under the key as a T, or null when absent or of another type.
    template <typename T>
    std::shared_ptr<T> request(const std::string& entity, const std::string& component) const {
        return Component::cast<T>(find(entity, component));
    }

    /// The component held in a fast-access slot as a T, or null when the slot is empty or
    /// holds something else.
    template <typename T> std::shared_ptr<T> request(const Fast_access_component& slot) const {
        return Component::cast<T>(m_fast_access[index(slot)]);
    }

    /// As request, but null is fatal: "Cannot find entity:component".
    template <typename T>
    std::shared_ptr<T> get(const std::string& entity, const std::string& component) const {
        auto c = request<T>(entity, component);
        ORVANE_CHECK(c, "Cannot find " + entity + ":" + component);
        return c;
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
    typename T::value_type value(const std::string& entity, const std::string& component,
                                 const typename T::value_type& default_value) const {
        auto c = request<T>(entity, component);
        if (!c)
            return default_value;
        return c->value();
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

    /// Erases the entry under the key and returns true. Absent: false when optional, else
    /// fatal "Id entity:component doesn't exist".
    bool remove(const std::string& entity, const std::string& component, bool optional = false);
    bool remove(const Component_ptr& c, bool optional = false);

    /// Files a new Component::Signal under the key, replacing whatever was there.
    void emit(const std::string& entity, const std::string& component);
    /// True and consumed when the key holds a signal; otherwise false, nothing changes.
    bool receive(const std::string& entity, const std::string& component);
    /// True when the key holds a signal; consumes nothing.
    bool signal(const std::string& entity, const std::string& component) const;

    /// The map of a component name (map 0 for names without a map of their own).
    Component_map& components(const std::string& component);
    const Component_map& components(const std::string& component) const;

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
    std::size_t map_index(const std::string& component) const;

  private:
    static std::size_t index(const Fast_access_component& slot) {
        const auto i = static_cast<std::size_t>(slot);
        ORVANE_CHECK(i < number_of_slots, "Invalid fast-access slot " + std::to_string(i));
        return i;
    }

    void file(const Component_ptr& c);
    Component_ptr find(const std::string& entity, const std::string& component) const;

    Map_list m_maps;
    std::array<Component_ptr, number_of_slots> m_fast_access;
    std::unordered_map<std::string, std::size_t> m_name_index;
};

} // namespace Orvane
