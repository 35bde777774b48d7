#include <Orvane/System/Interface.h>

namespace Orvane::System {

void Interface::update_object_switcher() {}

} // namespace Orvane::System
