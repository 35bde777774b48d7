#include <Orvane/System/Interface.h>

namespace Orvane::System {

void Interface::update_action_selector() {}

void Interface::set_action_selector(const Selector_type&, const std::string&) {}

void Interface::reset_action_selector() {}

void Interface::generate_action(const std::string&, const std::string&, const Button_orientation&,
                                const std::string&, const std::shared_ptr<Component::Position>&,
                                const Animation_style&) {}

void Interface::compute_action_positions(const Button_orientation&, std::size_t&, Vector&,
                                         Vector&, Vector&, Label_type&) {}

} // namespace Orvane::System
