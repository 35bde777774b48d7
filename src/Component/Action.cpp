#include <cmath>

#include <Orvane/Component/Action.h>
#include <Orvane/Utils/error.h>

namespace Orvane::Component {

std::string Action::Step::to_string() const {
    std::string out = m_function + ":[";
    for (std::size_t i = 0; i < m_args.size(); ++i) {
        if (i > 0)
            out += ", ";
        out += m_args[i];
    }
    return out + "]";
}

std::string Action::str_value() const {
    std::string out;
    for (const Step& step : m_steps)
        out += "\n * " + step.to_string();
    return out;
}

void Action::add(const std::string& function, const std::vector<std::string>& args) {
    m_steps.emplace_back(function, args);
}

void Action::clear() {
    m_steps.clear();
    m_on = false;
    m_scheduled.clear();
}

void Action::clear_steps() {
    m_steps.clear();
    m_step_index = 0;
    m_on = false;
}

void Action::launch() {
    m_on = true;
    m_step_index = 0;
}

void Action::stop() {
    m_on = false;
    m_scheduled.clear();
}

const Action::Step& Action::first_step() const {
    ORVANE_CHECK(!m_steps.empty(), "Action " + str() + " has no steps");
    return m_steps.front();
}

const Action::Step& Action::last_step() const {
    ORVANE_CHECK(!m_steps.empty(), "Action " + str() + " has no steps");
    return m_steps.back();
}

void Action::past_the_end() const {
    check_impl(__FILE__, __LINE__,
               "Trying to access step " + std::to_string(m_step_index) + " of action " + str() +
                   " of size " + std::to_string(m_steps.size()));
}

Action::Step Action::next_step() {
    if (m_step_index >= m_steps.size())
        past_the_end();
    if (m_steps[m_step_index].function() == "skip") {
        // Pass over everything up to and including the next "include"; a "skip" without one
        // runs out of steps and ends as any step past the end does.
        while (true) {
            if (m_step_index >= m_steps.size())
                past_the_end();
            if (m_steps[m_step_index++].function() == "include")
                break;
        }
        if (m_step_index >= m_steps.size())
            past_the_end();
    }
    const Step& step = m_steps[m_step_index++];
    if (m_step_index == m_steps.size())
        m_on = false;
    return step;
}

void Action::schedule(double time, std::shared_ptr<Base> component) {
    // The schedule is ordered by time: a time that is not a number ("wait: [nan]") has no place
    // in it.
    ORVANE_CHECK(!std::isnan(time), "Cannot schedule " + component->id().str() + " on " +
                                        id().str() + " at a time that is not a number");
    m_scheduled.emplace(time, std::move(component));
}

void Action::update_scheduled(const std::function<bool(Scheduled)>& keep) {
    m_hold = true;
    if (m_scheduled.empty())
        return;
    Schedule kept;
    for (const Scheduled& entry : m_scheduled) {
        if (keep(entry))
            kept.insert(entry);
        else if (entry.second && entry.second->entity() == "wait")
            m_hold = false;
    }
    m_scheduled.swap(kept);
}

} // namespace Orvane::Component
