#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Ground_map.h>
#include <Orvane/Component/Locale.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Base.h>

namespace Orvane::System {

std::shared_ptr<Component::Status> Base::status() const {
    return m_content.request<Component::Status>(Fast_access_component::GAME_STATUS);
}

std::shared_ptr<Component::Ground_map> Base::ground_map_of(const std::string& id) const {
    auto second = m_content.request<Component::Boolean>(id, "uses_2nd_map");
    return m_content.request<Component::Ground_map>(
        "background", second && second->value() ? "2nd_ground_map" : "ground_map");
}

std::string Base::locale(const std::string& line) const {
    auto table = m_content.request<Component::Locale>(Key::game_locale);
    if (!table)
        return line;
    return table->get(line);
}

std::string Base::locale_get(std::string_view entity, std::string_view component) const {
    return locale(m_content.get<Component::Simple<std::string>>(entity, component)->value());
}

View camera_view(const Content& content) {
    return {content.value<Component::Position>(Fast_access_component::CAMERA_POSITION),
            content.value<Component::Simple<double>>(Fast_access_component::CAMERA_ZOOM)};
}

} // namespace Orvane::System
