#include "Logic_store.h"

#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Path.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::Test {

Test_logic::Test_logic(Content& content) : Logic(content) {
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
