#include <Orvane/System/Menu.h>

namespace Orvane::System {

Menu::Menu(Content& content) : Base(content) {}

void Menu::init() {}

void Menu::run() {}

} // namespace Orvane::System
