#include <functional>

#include <Orvane/Component/Base.h>

namespace Orvane::Component {

Id::Id(const std::string& entity, const std::string& component)
    : m_entity(entity), m_component(component),
      m_hash(hash_name(entity) ^ hash_name(component)) {}

Base::Base(const std::string& entity, const std::string& component) : m_id(entity, component) {}

bool Base::is_system() const {
    const std::string& e = entity();
    return !e.empty() && e[0] >= 'A' && e[0] <= 'Z';
}

std::string Base::character_entity() const {
    const std::string& e = entity();
    for (const char* marker : {"_body", "_head", "_mouth"}) {
        const std::size_t p = e.find(marker);
        if (p != std::string::npos)
            return e.substr(0, p);
    }
    return e;
}

std::string Base::target_entity() const {
    const std::string& e = entity();
    std::size_t p = e.find("_inventory_");
    if (p != std::string::npos)
        return e.substr(0, p);
    p = e.rfind('_');
    if (p != std::string::npos)
        return e.substr(0, p);
    return "";
}

std::string Base::str() const {
    std::string out = str_name() + "(" + entity() + ":" + component() + ")";
    const std::string v = str_value();
    if (!v.empty())
        out += " = " + v;
    const std::string s = str_sub(0);
    if (!s.empty())
        out += "\n" + s;
    return out;
}

std::string component_str(std::shared_ptr<Base> c, const std::size_t& indent,
                          const std::string& prefix) {
    std::string out(2 * indent, '-');
    out += prefix;
    out += c ? c->str() : "nullptr";
    out += "\n";
    if (c)
        out += c->str_sub(indent);
    return out;
}

} // namespace Orvane::Component
