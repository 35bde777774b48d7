#include <Orvane/System/Interface.h>

namespace Orvane::System {

void Interface::create_label(const std::string&, std::string, const Label_type&,
                             const Component::Collision_type&, double) {}

void Interface::update_label(const std::string&, const Label_type&,
                             std::shared_ptr<Component::Position>, double) {}

void Interface::animate_label(const std::string&, const Animation_style&, bool, const Point&) {}

std::shared_ptr<Component::Functional_position>
Interface::wriggly_position(const std::string& entity, const std::string& component,
                            std::shared_ptr<Component::Position> base, const Vector& offset,
                            const Button_orientation&, bool insert, bool) {
    auto position = std::make_shared<Component::Functional_position>(
        entity, component, [base, offset](const std::string&) { return base->value() + offset; },
        entity, true);
    if (insert)
        m_content.set(position);
    return position;
}

void Interface::update_label_position(const std::string&, double) {}

void Interface::delete_label(const std::string&, bool) {}

bool Interface::labels_intersect(const std::string&, const std::string&) { return false; }

std::shared_ptr<Component::Image>
Interface::join_label_back(const std::string&, const std::shared_ptr<Component::Image>&, int,
                           const std::shared_ptr<Component::Image>&) {
    return nullptr;
}

} // namespace Orvane::System
