#include <Orvane/System/Interface.h>

namespace Orvane::System {

Interface::Interface(Content& content) : Base(content) {}

void Interface::init() {}

void Interface::run() {}

} // namespace Orvane::System
