#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include <Orvane/Component/Base.h>
#include <Orvane/Component/Simple.h>

namespace Orvane::Component {

/// Text of a value used as a key or reference: strings unchanged, enumerations and numbers
/// as decimal numbers.
template <typename T> std::string key_str(const T& v) {
    if constexpr (std::is_same_v<T, std::string>)
        return v;
    else if constexpr (std::is_enum_v<T>)
        return std::to_string(static_cast<std::underlying_type_t<T>>(v));
    else
        return std::to_string(v);
}

/// A yes/no question answered by value().
class Condition : public Value<bool> {
  public:
    using Value<bool>::Value;

    /// The base printed form, then " TRUE" or " FALSE".
    virtual std::string str() const;
};

/// A stored truth value.
class Boolean : public Condition {
  public:
    Boolean(const std::string& entity, const std::string& component, bool value)
        : Condition(entity, component), m_value(value), m_saved(value) {}

    std::string str_name() const override { return "Boolean"; }
    std::string str_value() const override { return m_value ? "true" : "false"; }
    bool value() const override { return m_value; }

    /// Sets the value and marks the component as altered (even when it is unchanged).
    void set(const bool& v) {
        m_value = v;
        mark_as_altered();
    }
    /// Flips the value; does not mark.
    void toggle() { m_value = !m_value; }
    /// Saves the value and holds true until end_temporary_true(); neither marks.
    void begin_temporary_true() {
        m_saved = m_value;
        m_value = true;
    }
    void end_temporary_true() { m_value = m_saved; }

  private:
    bool m_value;
    bool m_saved;
};

/// A truth value computed by a function of a string argument.
class Functional_condition : public Condition {
  public:
    Functional_condition(const std::string& entity, const std::string& component,
                         std::function<bool(const std::string&)> function,
                         const std::string& argument)
        : Condition(entity, component), m_function(std::move(function)), m_argument(argument) {}

    std::string str_name() const override { return "Function_condition"; }
    std::string str_value() const override { return m_argument; }
    bool value() const override { return m_function(m_argument); }

  private:
    std::function<bool(const std::string&)> m_function;
    std::string m_argument;
};

/// First and second; the second is not asked when the first is false.
class And : public Condition {
  public:
    And(const std::string& entity, const std::string& component, std::shared_ptr<Condition> first,
        std::shared_ptr<Condition> second)
        : Condition(entity, component), m_first(std::move(first)), m_second(std::move(second)) {}

    std::string str_name() const override { return "And"; }
    std::string str_sub(const std::size_t& indent) const override {
        return component_str(m_first, indent + 1, "A = ") +
               component_str(m_second, indent + 1, "B = ");
    }
    bool value() const override { return m_first->value() && m_second->value(); }

  private:
    std::shared_ptr<Condition> m_first;
    std::shared_ptr<Condition> m_second;
};

/// First or second; the second is not asked when the first is true.
class Or : public Condition {
  public:
    Or(const std::string& entity, const std::string& component, std::shared_ptr<Condition> first,
       std::shared_ptr<Condition> second)
        : Condition(entity, component), m_first(std::move(first)), m_second(std::move(second)) {}

    std::string str_name() const override { return "Or"; }
    std::string str_sub(const std::size_t& indent) const override {
        return component_str(m_first, indent + 1, "A = ") +
               component_str(m_second, indent + 1, "B = ");
    }
    bool value() const override { return m_first->value() || m_second->value(); }

  private:
    std::shared_ptr<Condition> m_first;
    std::shared_ptr<Condition> m_second;
};

/// The negation of its operand.
class Not : public Condition {
  public:
    Not(const std::string& entity, const std::string& component, std::shared_ptr<Condition> operand)
        : Condition(entity, component), m_operand(std::move(operand)) {}

    std::string str_name() const override { return "Not"; }
    std::string str_sub(const std::size_t& indent) const override {
        return component_str(m_operand, indent + 1, "Negate = ");
    }
    bool value() const override { return !m_operand->value(); }

  private:
    std::shared_ptr<Condition> m_operand;
};

/// True while a value component equals a reference value.
template <typename T> class Value_condition : public Condition {
  public:
    Value_condition(const std::string& entity, const std::string& component,
                    std::shared_ptr<Value<T>> state, const T& reference)
        : Condition(entity, component), m_state(std::move(state)), m_reference(reference) {}

    std::string str_name() const override { return "Value_condition"; }
    std::string str_value() const override { return key_str(m_reference); }
    std::string str_sub(const std::size_t& indent) const override {
        return component_str(m_state, indent + 1, "Reference = ");
    }
    bool value() const override { return m_state->value() == m_reference; }

  private:
    std::shared_ptr<Value<T>> m_state;
    T m_reference;
};

/// And of a and b, entity "<a's entity>_<b's entity>", component "and".
std::shared_ptr<And> make_and(std::shared_ptr<Condition> a, std::shared_ptr<Condition> b);
/// Or of a and b, entity "<a's entity>_<b's entity>", component "or".
std::shared_ptr<Or> make_or(std::shared_ptr<Condition> a, std::shared_ptr<Condition> b);
/// Not of a, with a's entity and component "not".
std::shared_ptr<Not> make_not(std::shared_ptr<Condition> a);
/// Value_condition on state with reference v, with the state's entity and component
/// "value_cond".
template <typename T>
std::shared_ptr<Value_condition<T>> make_value_condition(std::shared_ptr<Value<T>> state,
                                                         const T& v) {
    const std::string entity = state->entity();
    return std::make_shared<Value_condition<T>>(entity, "value_cond", std::move(state), v);
}

/// Selects one of two components by a condition.
class Conditional : public Conditional_base {
  public:
    Conditional(const std::string& entity, const std::string& component,
                std::shared_ptr<Condition> condition, std::shared_ptr<Base> if_true,
                std::shared_ptr<Base> if_false)
        : Conditional_base(entity, component), m_condition(std::move(condition)),
          m_if_true(std::move(if_true)), m_if_false(std::move(if_false)) {}

    std::string str_name() const override { return "Conditional"; }
    std::string str_sub(const std::size_t& indent) const override;
    /// The if-true component while the condition holds, else the if-false one.
    std::shared_ptr<Base> get() const override {
        return m_condition->value() ? m_if_true : m_if_false;
    }

  private:
    std::shared_ptr<Condition> m_condition;
    std::shared_ptr<Base> m_if_true;
    std::shared_ptr<Base> m_if_false;
};

/// Selects the candidate whose index a function of a string argument returns.
class Functional_conditional : public Conditional_base {
  public:
    Functional_conditional(const std::string& entity, const std::string& component,
                           std::function<std::size_t(const std::string&)> function,
                           const std::string& argument)
        : Conditional_base(entity, component), m_function(std::move(function)),
          m_argument(argument) {}

    std::string str_name() const override { return "Base"; }
    void add(std::shared_ptr<Base> c) { m_candidates.push_back(std::move(c)); }
    /// The candidate at the function's index; null when the index is out of range.
    std::shared_ptr<Base> get() const override;

  private:
    std::function<std::size_t(const std::string&)> m_function;
    std::vector<std::shared_ptr<Base>> m_candidates;
    std::string m_argument;
};

/// Selects a candidate at random, drawing anew at every lookup.
class Random_conditional : public Conditional_base {
  public:
    using Conditional_base::Conditional_base;

    std::string str_name() const override { return "Base"; }
    void add(std::shared_ptr<Base> c) { m_candidates.push_back(std::move(c)); }
    /// choose() of a draw of the standard generator; null when there are no candidates.
    std::shared_ptr<Base> get() const override;
    /// The candidate for a draw r in [0, 1]: the candidates share the interval in equal
    /// parts, in the order they were added; null when there are none.
    std::shared_ptr<Base> choose(double r) const;

  private:
    std::vector<std::shared_ptr<Base>> m_candidates;
};

/// Selects the component filed under the current value of a state component.
template <typename T> class Simple_conditional : public Conditional_base {
  public:
    Simple_conditional(const std::string& entity, const std::string& component,
                       std::shared_ptr<Simple<T>> state)
        : Conditional_base(entity, component), m_state(std::move(state)) {}

    std::string str_name() const override { return "Simple_conditional"; }
    std::string str_value() const override { return key_str(m_state->value()); }
    std::string str_sub(const std::size_t& indent) const override {
        std::string out;
        for (const auto& [key, c] : m_choices)
            out += component_str(c, indent + 1, "If " + key_str(key) + " = ");
        return out;
    }

    /// Files c under key unless the key is present already (the first component stays).
    void add(const T& key, std::shared_ptr<Base> c) { m_choices.emplace(key, std::move(c)); }

    /// The component under the state's current value, or null when there is none.
    std::shared_ptr<Base> get() const override {
        auto it = m_choices.find(m_state->value());
        return it == m_choices.end() ? nullptr : it->second;
    }

  private:
    std::shared_ptr<Simple<T>> m_state;
    std::unordered_map<T, std::shared_ptr<Base>> m_choices;
};

} // namespace Orvane::Component
