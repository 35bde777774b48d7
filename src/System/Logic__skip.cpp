#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/System/Logic.h>

namespace Orvane::System {

bool Logic::skip_cutscene() { return false; }

void Logic::skip_step(const Component::Action::Step& step) { (void)step; }

void Logic::update_debug_info(std::shared_ptr<Component::Debug> debug) { (void)debug; }

void Logic::console_action(std::shared_ptr<Component::Simple<std::string>> line) { (void)line; }

} // namespace Orvane::System
