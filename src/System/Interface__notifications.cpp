#include <Orvane/System/Interface.h>

namespace Orvane::System {

void Interface::update_notifications() {}

} // namespace Orvane::System
