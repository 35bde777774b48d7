#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <Orvane/Component/Base.h>

namespace Orvane::Component {

/// A script: an ordered list of steps (a keyword and its string arguments) with a cursor, and
/// a time-ordered schedule of the effects that running steps started and that still have to
/// end. The meaning of keywords and times belongs to the logic system.
class Action : public Base {
  public:
    /// One step of a script.
    class Step {
      public:
        Step(const std::string& function, const std::vector<std::string>& args)
            : m_function(function), m_args(args) {}

        const std::string& function() const { return m_function; }
        const std::vector<std::string>& args() const { return m_args; }
        /// "keyword:[a, b]"; "keyword:[]" without arguments.
        std::string to_string() const;

      private:
        std::string m_function;
        std::vector<std::string> m_args;
    };

    using Scheduled = std::pair<double, std::shared_ptr<Base>>;
    /// Ordered by time, then by component identity; an equal pair is held once.
    using Schedule = std::set<Scheduled>;

    Action(const std::string& entity, const std::string& component) : Base(entity, component) {}

    std::string str_name() const override { return "Action"; }
    /// "\n * " and the step's text for each step in order; empty without steps.
    std::string str_value() const override;

    /// Appends a step; the cursor and the on flag do not change.
    void add(const std::string& function, const std::vector<std::string>& args);
    /// Removes every step, switches the action off and empties the schedule.
    void clear();
    /// Removes every step and switches the action off; the schedule is kept, so that what
    /// earlier steps scheduled still fires or ends on time.
    void clear_steps();
    /// Switches the action on at its first step; the schedule is kept.
    void launch();
    /// Switches the action off and empties the schedule; the steps and cursor are kept.
    void stop();
    bool on() const { return m_on; }

    std::size_t size() const { return m_steps.size(); }
    /// The game file its steps were read from, named by fatal messages about them; empty for
    /// a script the engine makes itself.
    const std::string& file() const { return m_file; }
    void set_file(const std::string& file) { m_file = file; }
    std::vector<Step>::const_iterator begin() const { return m_steps.begin(); }
    std::vector<Step>::const_iterator end() const { return m_steps.end(); }
    /// First and last steps of a script that has any (fatal on an empty one).
    const Step& first_step() const;
    const Step& last_step() const;

    /// Hands out the step under the cursor and advances. A "skip" step, every step after it
    /// up to the next "include" and that "include" are passed over in the same call. The step
    /// handed out last switches the action off. Fatal ("Trying to access step ...") when no
    /// step is left to hand out, including a "skip" with no later "include". The step is
    /// handed out by value: its handler may clear or refill this very action (a dialog
    /// rewrites the script it runs from), which would leave a reference dangling.
    Step next_step();

    /// Adds (time, component) to the schedule unless that very pair is there. A time that is
    /// not a number is fatal.
    void schedule(double time, std::shared_ptr<Base> component);
    const Schedule& scheduled() const { return m_scheduled; }
    /// Empties the schedule; nothing else changes.
    void reset_scheduled() { m_scheduled.clear(); }
    /// Keeps the entries for which keep returns true. Holds the action back from now on,
    /// unless an entry of the entity "wait" is dropped, which releases it.
    void update_scheduled(const std::function<bool(Scheduled)>& keep);
    /// True when the schedule is empty or the action is not held back.
    bool ready() const { return m_scheduled.empty() || !m_hold; }

  private:
    [[noreturn]] void past_the_end() const;

    std::vector<Step> m_steps;
    std::string m_file;
    Schedule m_scheduled;
    std::size_t m_step_index = 0;
    bool m_on = false;
    bool m_hold = false;
};

} // namespace Orvane::Component
