#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>

namespace Orvane::Component {

/// Hash of a name, the same for a string and a view of the same text: eight bytes at a time,
/// inline, so that a lookup hashes its names in a few cycles. Consistent within one run only.
inline std::size_t hash_name(std::string_view name) noexcept {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ name.size();
    const char* p = name.data();
    std::size_t n = name.size();
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        h = (h ^ word) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    std::uint64_t tail = 0;
    for (std::size_t i = 0; i < n; ++i)
        tail |= std::uint64_t(static_cast<unsigned char>(p[i])) << (8 * i);
    h = (h ^ tail) * 0xC4CEB9FE1A85EC53ull;
    return static_cast<std::size_t>(h ^ (h >> 29));
}

/// Key of a stored component: an entity name and a component name, with their hash (hash_name
/// of the entity XOR hash_name of the component) computed once at construction so that map
/// operations never hash strings again. Printed as
/// "entity:component".
class Id {
  public:
    Id(const std::string& entity, const std::string& component);

    const std::string& entity() const { return m_entity; }
    const std::string& component() const { return m_component; }
    std::size_t hash() const { return m_hash; }

    /// Both names equal, byte-wise; the hashes are not compared.
    bool operator==(const Id& other) const {
        return m_entity == other.m_entity && m_component == other.m_component;
    }

    /// "entity:component".
    std::string str() const { return m_entity + ":" + m_component; }

  private:
    std::string m_entity;
    std::string m_component;
    std::size_t m_hash;
};

/// Hash functor for maps keyed by Id: returns the key's stored hash.
struct Id_hash {
    std::size_t operator()(const Id& id) const noexcept { return id.hash(); }
};

/// Root of every component: its key (entity and component names, fixed at construction), the
/// altered flag that the save writer reads, and the printed forms used in fatal messages and
/// debug output. Components are always held by std::shared_ptr.
class Base {
  public:
    Base(const std::string& entity, const std::string& component);
    virtual ~Base() = default;

    /// Class name as printed.
    virtual std::string str_name() const { return "Base"; }
    /// Value as one line of text; empty when the component prints no value.
    virtual std::string str_value() const { return ""; }
    /// Nested dumps (see component_str) of the components this one refers to.
    virtual std::string str_sub(const std::size_t& /*indent*/) const { return ""; }

    const std::string& entity() const { return m_id.entity(); }
    const std::string& component() const { return m_id.component(); }
    const Id& id() const { return m_id; }

    void mark_as_altered() { m_altered = true; }
    void mark_as_unaltered() { m_altered = false; }
    bool was_altered() const { return m_altered; }

    /// True when the entity name begins with an upper-case letter A to Z (engine entities
    /// such as Game or Camera, as opposed to room content).
    bool is_system() const;

    /// The character behind a body-part entity: the name before the first "_body", else
    /// before the first "_head", else before the first "_mouth", else the whole name.
    std::string character_entity() const;

    /// The object an action entity is about: the name before the first "_inventory_", else
    /// before the last '_', else an empty string.
    std::string target_entity() const;

    /// "Name(entity:component)", then " = value" when the value is not empty, then a line
    /// break and the nested dumps when there are any.
    std::string str() const;

  private:
    Id m_id;
    bool m_altered = false;
};

/// Family head of the components that compute a value of type T.
template <typename T> class Value : public Base {
  public:
    using value_type = T;
    using const_reference = T;

    using Base::Base;
    virtual T value() const = 0;
};

/// Family head of the conditionals: components that stand in for the component they select
/// at the moment of each lookup. Typed lookups look through them (see cast).
class Conditional_base : public Base {
  public:
    using Base::Base;
    /// The component selected now; may be null.
    virtual std::shared_ptr<Base> get() const = 0;
};

/// An empty component whose presence is an event: emitted, tested and received through the
/// store.
class Signal : public Base {
  public:
    using Base::Base;
    std::string str_name() const override { return "Signal"; }
};

/// One entry of a nested dump: 2 x indent '-', the prefix, c's printed form (or "nullptr"),
/// a line break, then c's own nested dumps at the same indent.
std::string component_str(std::shared_ptr<Base> c, const std::size_t& indent,
                          const std::string& prefix);

/// Chains of conditionals longer than this are treated as selecting nothing, so that a
/// conditional selecting itself (directly or through others) cannot recurse without end.
inline constexpr std::size_t max_conditional_depth = 64;

/// Typed view of a component: c itself when it is a T; when it is a conditional, the cast
/// of what it selects now (evaluated afresh at each call); null otherwise, and null for a
/// chain of conditionals deeper than max_conditional_depth. Shares c's ownership.
template <typename T> std::shared_ptr<T> cast(std::shared_ptr<Base> c) {
    if constexpr (std::is_same_v<T, Base>) {
        return c;
    } else {
        for (std::size_t depth = 0; c && depth <= max_conditional_depth; ++depth) {
            // The common case first: c is exactly a T. Comparing the dynamic type costs a load
            // and a compare, where dynamic_cast walks the class hierarchy.
            if constexpr (requires(Base* b) { static_cast<T*>(b); }) {
                const Base& object = *c;
                if (typeid(object) == typeid(T)) {
                    T* typed = static_cast<T*>(c.get());
                    return std::shared_ptr<T>(std::move(c), typed);
                }
            }
            if (T* typed = dynamic_cast<T*>(c.get()))
                return std::shared_ptr<T>(std::move(c), typed);
            const auto* conditional = dynamic_cast<const Conditional_base*>(c.get());
            if (!conditional)
                return nullptr;
            c = conditional->get();
        }
        return nullptr;
    }
}

} // namespace Orvane::Component
