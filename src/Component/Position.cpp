#include <Orvane/Component/Position.h>

namespace Orvane::Component {

namespace {

std::shared_ptr<Absolute_position> root_of(const std::shared_ptr<Position>& reference) {
    if (auto absolute = cast<Absolute_position>(reference))
        return absolute;
    if (auto relative = cast<Relative_position>(reference))
        return relative->absolute_reference();
    return nullptr;
}

} // namespace

std::shared_ptr<Absolute_position> Relative_position::absolute_reference() const {
    return root_of(m_reference);
}

std::shared_ptr<Absolute_position> Double_relative_position::absolute_reference() const {
    return root_of(m_first);
}

} // namespace Orvane::Component
