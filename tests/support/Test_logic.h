#pragma once

#include <memory>
#include <string>

#include <Orvane/Component/Action.h>
#include <Orvane/Content.h>
#include <Orvane/System/Logic.h>

namespace Orvane::Test {

/// The logic system with the members that tests drive directly: its step engine, its frame time
/// and running action, and the handlers the tests call one by one. The one such class of the
/// tests (every fixture holds this one).
class Test_logic : public System::Logic {
  public:
    using Logic::Logic;

    /// Adds four steps that only tests use: "walk" [id] stores <id>:path and schedules it at
    /// time 0 (as a walk does), "hold" [id, s] stores <id>:held and schedules its end s
    /// seconds from now, "later" [id, s] schedules the signal <id>:signal s seconds from now,
    /// and "forget" removes the running action from the store.
    void add_test_steps();

    /// Applies the step `keyword` with `args` at time t as a step of `action`, through the
    /// system's own table.
    bool apply(const std::string& keyword, const Arguments& args, double t,
               const std::shared_ptr<Component::Action>& action) {
        now = t;
        current_action = action;
        return step_handlers.at(keyword)(args);
    }

    using Logic::bound_chain;
    using Logic::check_arguments;
    using Logic::current_action;
    using Logic::end_scheduled;
    using Logic::notification_ended;
    using Logic::now;
    using Logic::place_walker;
    using Logic::run_bound_action;
    using Logic::run_list;
    using Logic::skip_goto;
    using Logic::skip_to_unlock;
    using Logic::step_handlers;
};

} // namespace Orvane::Test
