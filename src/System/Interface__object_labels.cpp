#include <Orvane/System/Interface.h>

namespace Orvane::System {

void Interface::update_object_labels() {}

void Interface::update_active_objects() {}

} // namespace Orvane::System
