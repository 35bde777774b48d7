#include "Test_logic.h"

#include <Orvane/Component/Base.h>
#include <Orvane/Component/Path.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::Test {

void Test_logic::add_test_steps() {
    step_handlers.emplace("walk", [this](const Arguments& a) {
        auto path = m_content.set<Component::Path>(a.at(0), "path", Point(0, 0));
        current_action->schedule(0, path);
        return true;
    });
    step_handlers.emplace("hold", [this](const Arguments& a) {
        auto held = m_content.set<Component::Base>(a.at(0), "held");
        current_action->schedule(now + to_double(a.at(1)), held);
        return true;
    });
    step_handlers.emplace("later", [this](const Arguments& a) {
        current_action->schedule(now + to_double(a.at(1)),
                                 std::make_shared<Component::Signal>(a.at(0), "signal"));
        return true;
    });
    step_handlers.emplace("forget", [this](const Arguments&) {
        m_content.remove(current_action->entity(), current_action->component());
        return true;
    });
}

} // namespace Orvane::Test
