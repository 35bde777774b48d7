#include <Orvane/Component/Status.h>

namespace Orvane::Component {

namespace {

constexpr const char* status_names[] = {
    " idle",   " cutscene", " pause",        " locked",  " action",    " inventory_action",
    " dialog", " object",   " in_inventory", " in_menu", " in_window", " in_code"};

} // namespace

Status::Status(const std::string& entity, const std::string& component)
    : Value<Orvane::Status>(entity, component) {
    reset();
}

std::string Status::str_value() const {
    std::string out;
    for (auto it = m_stack.rbegin(); it != m_stack.rend(); ++it) {
        const int i = static_cast<int>(*it);
        if (i >= 0 && i < static_cast<int>(std::size(status_names)))
            out += status_names[i];
    }
    return out;
}

void Status::reset() {
    m_stack.clear();
    m_stack.push_back(Orvane::Status::IDLE);
    m_stack.push_back(Orvane::Status::LOCKED);
}

void Status::pop() {
    // An unbalanced pop (one "unlock" too many in a script) must not leave the stack empty.
    if (m_stack.size() > 1)
        m_stack.pop_back();
}

Orvane::Status Status::next_value() const {
    return m_stack.size() > 1 ? m_stack[m_stack.size() - 2] : m_stack.back();
}

} // namespace Orvane::Component
