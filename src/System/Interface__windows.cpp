#include <Orvane/System/Interface.h>

namespace Orvane::System {

void Interface::update_code_hover() {}

void Interface::update_dialog_choices() {}

void Interface::update_cursor() {}

} // namespace Orvane::System
