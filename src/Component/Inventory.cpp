#include <algorithm>

#include <Orvane/Component/Inventory.h>
#include <Orvane/Utils/error.h>

namespace Orvane::Component {

Inventory::Inventory(const std::string& entity, const std::string& component)
    : Base(entity, component) {}

void Inventory::remove(const std::string& item) {
    auto it = std::find(m_items.begin(), m_items.end(), item);
    if (it != m_items.end())
        m_items.erase(it);
}

bool Inventory::next() {
    if (m_position + shown_items < m_items.size()) {
        ++m_position;
        return true;
    }
    return false;
}

bool Inventory::prev() {
    if (m_position > 0) {
        --m_position;
        return true;
    }
    return false;
}

void Inventory::clear() {
    m_items.clear();
    m_position = 0;
}

std::string Inventory::get(std::size_t i) const {
    ORVANE_CHECK(i < m_items.size(), "Inventory item " + std::to_string(i) + " requested from " + str() +
                                  " of size " + std::to_string(m_items.size()));
    return m_items[i];
}

} // namespace Orvane::Component
