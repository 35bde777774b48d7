#include <cstdlib>

#include <Orvane/Component/Condition.h>

namespace Orvane::Component {

std::string Condition::str() const { return Base::str() + " " + (value() ? "TRUE" : "FALSE"); }

std::shared_ptr<And> make_and(std::shared_ptr<Condition> a, std::shared_ptr<Condition> b) {
    const std::string entity = a->entity() + "_" + b->entity();
    return std::make_shared<And>(entity, "and", std::move(a), std::move(b));
}

std::shared_ptr<Or> make_or(std::shared_ptr<Condition> a, std::shared_ptr<Condition> b) {
    const std::string entity = a->entity() + "_" + b->entity();
    return std::make_shared<Or>(entity, "or", std::move(a), std::move(b));
}

std::shared_ptr<Not> make_not(std::shared_ptr<Condition> a) {
    const std::string entity = a->entity();
    return std::make_shared<Not>(entity, "not", std::move(a));
}

std::string Conditional::str_sub(const std::size_t& indent) const {
    return component_str(m_condition, indent + 1, "Condition = ") +
           component_str(m_if_true, indent + 1, "If true = ") +
           component_str(m_if_false, indent + 1, "If false = ");
}

std::shared_ptr<Base> Functional_conditional::get() const {
    const std::size_t i = m_function(m_argument);
    // An index outside the candidates selects nothing rather than reading past the list.
    return i < m_candidates.size() ? m_candidates[i] : nullptr;
}

std::shared_ptr<Base> Random_conditional::get() const {
    if (m_candidates.empty())
        return nullptr;
    return choose(std::rand() / 2147483647.0);
}

std::shared_ptr<Base> Random_conditional::choose(double r) const {
    if (m_candidates.empty())
        return nullptr;
    const double step = 1.0 / static_cast<double>(m_candidates.size());
    double sum = 0.0;
    for (const auto& c : m_candidates) {
        sum += step;
        if (r < sum)
            return c;
    }
    // r == 1, or rounding left the sum just below 1.
    return m_candidates.back();
}

} // namespace Orvane::Component
