#include <Orvane/Component/Locale.h>
#include <Orvane/Utils/error.h>

namespace Orvane::Component {

Locale::Locale(const std::string& entity, const std::string& component) : Base(entity, component) {
    m_lines.max_load_factor(1.0f);
}

void Locale::add(const std::string& key, const std::string& line) { m_lines.emplace(key, line); }

const std::string& Locale::get(const std::string& key) const {
    auto it = m_lines.find(key);
    ORVANE_CHECK(it != m_lines.end(), "Line " + key + " not found in locale " + str());
    return it->second;
}

} // namespace Orvane::Component
