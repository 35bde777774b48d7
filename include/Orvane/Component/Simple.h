#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <tuple>
#include <typeinfo>
#include <unordered_set>
#include <utility>
#include <vector>

#include <Orvane/Component/Base.h>

namespace Orvane::Component {

/// Printed name of a held type: "double", "int", "std::string", else the platform's
/// run-time type name.
template <typename T> std::string type_name() {
    if constexpr (std::is_same_v<T, double>)
        return "double";
    else if constexpr (std::is_same_v<T, int>)
        return "int";
    else if constexpr (std::is_same_v<T, std::string>)
        return "std::string";
    else
        return typeid(T).name();
}

/// A component holding one value of type T. Its printed form shows no value.
template <typename T> class Simple : public Base {
  public:
    using value_type = T;
    using const_reference = const T&;

    Simple(const std::string& entity, const std::string& component, const T& value = T())
        : Base(entity, component), m_value(value) {}

    std::string str_name() const override { return "Simple<" + type_name<T>() + ">"; }

    virtual const T& value() const { return m_value; }

    /// Replaces the value and marks the component as altered (even when the value is equal).
    void set(const T& v) {
        m_value = v;
        mark_as_altered();
    }

  protected:
    T m_value;
};

/// A tuple of values, read by position from value().
template <typename... Ts> class Tuple : public Simple<std::tuple<Ts...>> {
  public:
    Tuple(const std::string& entity, const std::string& component, const Ts&... values)
        : Simple<std::tuple<Ts...>>(entity, component, std::tuple<Ts...>(values...)) {}

    std::string str_name() const override { return "Tuple<...>"; }
};

template <typename A, typename B> class Pair : public Simple<std::pair<A, B>> {
  public:
    Pair(const std::string& entity, const std::string& component, const A& first, const B& second)
        : Simple<std::pair<A, B>>(entity, component, std::pair<A, B>(first, second)) {}

    std::string str_name() const override {
        return "Pair<" + type_name<A>() + "," + type_name<B>() + ">";
    }
};

template <typename T, std::size_t N> class Array : public Simple<std::array<T, N>> {
  public:
    template <typename... Args>
    requires(sizeof...(Args) == N)
        Array(const std::string& entity, const std::string& component, const Args&... values)
        : Simple<std::array<T, N>>(entity, component, std::array<T, N>{T(values)...}) {}

    std::string str_name() const override {
        return "Array<" + type_name<T>() + "," + std::to_string(N) + ">";
    }
};

/// An unordered set of values, starting empty.
template <typename T> class Set : public Simple<std::unordered_set<T>> {
  public:
    Set(const std::string& entity, const std::string& component)
        : Simple<std::unordered_set<T>>(entity, component) {}

    std::string str_name() const override { return "Set<" + type_name<T>() + ">"; }
};

/// An ordered list of values (empty unless an initial list is given).
template <typename T> class Vector : public Simple<std::vector<T>> {
  public:
    Vector(const std::string& entity, const std::string& component,
           const std::vector<T>& values = {})
        : Simple<std::vector<T>>(entity, component, values) {}

    std::string str_name() const override { return "Vector<" + type_name<T>() + ">"; }

    /// Erases the first element equal to s, keeping the order of the others; does not mark
    /// the component as altered.
    void remove(const T& s) {
        auto& v = this->m_value;
        auto it = std::find(v.begin(), v.end(), s);
        if (it != v.end())
            v.erase(it);
    }
};

/// A conditional that stands for another component (its target, possibly null) and can be
/// pointed elsewhere: typed lookups of its key see the target.
class Variable : public Conditional_base {
  public:
    Variable(const std::string& entity, const std::string& component, std::shared_ptr<Base> target)
        : Conditional_base(entity, component), m_target(std::move(target)) {}

    std::string str_name() const override { return "Variable"; }
    std::string str_sub(const std::size_t& indent) const override {
        return component_str(m_target, indent + 1, "Target = ");
    }
    std::shared_ptr<Base> get() const override { return m_target; }

    /// Points the variable elsewhere; does not mark it as altered.
    void set(std::shared_ptr<Base> target) { m_target = std::move(target); }

  private:
    std::shared_ptr<Base> m_target;
};

} // namespace Orvane::Component
