#pragma once

#include <string>
#include <vector>

#include <Orvane/Component/Base.h>

namespace Orvane {

/// The game's global mode; Game:status holds a stack of them, the top being current.
enum class Status : int {
    IDLE = 0,
    CUTSCENE = 1,
    PAUSE = 2,
    LOCKED = 3,
    ACTION = 4,
    INVENTORY_ACTION = 5,
    DIALOG = 6,
    OBJECT = 7,
    IN_INVENTORY = 8,
    IN_MENU = 9,
    IN_WINDOW = 10,
    IN_CODE = 11
};

namespace Component {

/// The stack of game modes: a mode starts with push and ends with pop; the top is current.
/// The bottom entry is never popped, so the stack is never empty. Nothing here marks the
/// component as altered.
class Status : public Value<Orvane::Status> {
  public:
    /// Starts as after reset(): IDLE under LOCKED.
    Status(const std::string& entity, const std::string& component);

    std::string str_name() const override { return "Status"; }
    /// Printed names of the entries from the top down, each beginning with a blank.
    std::string str_value() const override;

    /// The top entry.
    Orvane::Status value() const override { return m_stack.back(); }

    /// Empties the stack, then pushes IDLE and LOCKED.
    void reset();
    void push(const Orvane::Status& s) { m_stack.push_back(s); }
    /// Removes the top entry, unless it is the last one (an extra pop is ignored).
    void pop();
    /// The entry under the top; the only entry when there is just one.
    Orvane::Status next_value() const;

    bool is(const Orvane::Status& a) const { return value() == a; }
    bool is(const Orvane::Status& a, const Orvane::Status& b) const { return is(a) || is(b); }
    bool is(const Orvane::Status& a, const Orvane::Status& b, const Orvane::Status& c) const {
        return is(a) || is(b) || is(c);
    }
    bool was(const Orvane::Status& s) const { return next_value() == s; }

    /// Number of entries (for inspection).
    std::size_t size() const { return m_stack.size(); }

  private:
    std::vector<Orvane::Status> m_stack;
};

} // namespace Component
} // namespace Orvane
