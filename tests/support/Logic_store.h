#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/System/Logic.h>
#include <Orvane/Utils/Clock.h>

#include "Test_logic.h"

namespace Orvane::Test {

/// One step: a keyword and its arguments.
using Step = std::pair<std::string, std::vector<std::string>>;
using Steps = std::vector<Step>;

/// A store with Game:status (IDLE), Clock:time at 0, Game:debug (off), Game:inventory and a
/// Test_logic with the test steps on it: the logic system's frame run by hand, at times the
/// test sets.
class Logic_store {
  public:
    Logic_store();
    ~Logic_store();
    Logic_store(const Logic_store&) = delete;
    Logic_store& operator=(const Logic_store&) = delete;

    /// Stores <id>:<component> with the steps (replacing any) and returns it, not launched.
    std::shared_ptr<Component::Action> action(const std::string& id, const Steps& steps,
                                              const std::string& component = "action");
    /// Sets Clock:time to t and runs one frame of the logic system.
    void frame(double t);
    /// The value of the Simple<std::string> under the key, or "(none)".
    std::string text(const std::string& entity, const std::string& component) const;
    /// Whether anything is stored under the key.
    bool has(const std::string& entity, const std::string& component) const {
        return content.request<Component::Base>(entity, component) != nullptr;
    }

    Content content;
    Clock clock;
    std::shared_ptr<Component::Status> status;
    std::shared_ptr<Component::Simple<double>> time;
    std::shared_ptr<Component::Inventory> inventory;
    std::unique_ptr<Test_logic> logic;
};

} // namespace Orvane::Test
