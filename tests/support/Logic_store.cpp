#include "Logic_store.h"

#include <Orvane/Component/Debug.h>

namespace Orvane::Test {

Logic_store::Logic_store() {
    status = content.set_fac<Component::Status>(Fast_access_component::GAME_STATUS, "Game",
                                                "status");
    status->pop();
    time = content.set_fac<Component::Simple<double>>(Fast_access_component::CLOCK_TIME, "Clock",
                                                      "time", 0.0);
    content.set_fac<Component::Debug>(Fast_access_component::GAME_DEBUG, "Game", "debug", content,
                                      clock);
    inventory = content.set<Component::Inventory>("Game", "inventory");
    logic = std::make_unique<Test_logic>(content);
    logic->add_test_steps();
}

Logic_store::~Logic_store() {
    logic.reset();
    content.clear();
}

std::shared_ptr<Component::Action> Logic_store::action(const std::string& id, const Steps& steps,
                                                       const std::string& component) {
    auto action = content.set<Component::Action>(id, component);
    for (const auto& [keyword, args] : steps)
        action->add(keyword, args);
    return action;
}

void Logic_store::frame(double t) {
    time->set(t);
    logic->run();
}

std::string Logic_store::text(const std::string& entity, const std::string& component) const {
    auto c = content.request<Component::Simple<std::string>>(entity, component);
    return c ? c->value() : "(none)";
}

} // namespace Orvane::Test
