#include <Orvane/System/Interface.h>

namespace Orvane::System {

void Interface::update_inventory() {}

} // namespace Orvane::System
