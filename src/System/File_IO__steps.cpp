#include <algorithm>
#include <string>
#include <vector>

#include <Orvane/Component/Action.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/System/Step_keywords.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

using Third_party::Yaml;

void File_IO::read_steps(const Yaml::Node& steps, Component::Action& action, bool expand_calls) {
    for (std::size_t i = 0; i < steps.size(); ++i)
        read_step(steps[i], action, expand_calls);
}

namespace {

// A step the logic system would stop on when it plays it is named now, where it is written.
void warn_about_step(const Yaml::Node& step, const Component::Action& action,
                     const std::string& keyword, std::size_t count) {
    if (keyword == "func")
        return;
    const std::string where = (step.file ? *step.file : std::string("?")) + ":" +
                              std::to_string(step.line) + ": in script " + action.id().str() +
                              ", ";
    const auto known = find_step_keyword(keyword);
    if (!known) {
        std::vector<std::string> keywords;
        for (const Step_keyword& entry : step_keywords())
            keywords.emplace_back(entry.keyword);
        const auto meant = closest_word(keyword, keywords);
        warning(where + keyword + " is not a valid function" +
                (meant ? " (did you mean " + *meant + "?)" : std::string()));
    } else if (!known->takes(count)) {
        warning(where + keyword + " takes " + known->counts_text() + " arguments, has " +
                std::to_string(count));
    }
}

} // namespace

void File_IO::read_step(const Yaml::Node& step, Component::Action& action, bool expand_calls) {
    const std::string& keyword = step.nstring();
    // the keyword is the step's content, not a key of the file's format
    step.consume();
    // a scalar in place of the argument list gives no arguments
    std::vector<std::string> args = step.children.begin()->second->string_array();
    if (action.file().empty() && step.file)
        action.set_file(*step.file);
    warn_about_step(step, action, keyword, args.size());
    if (expand_calls && keyword == "func")
        parse_function(args, action);
    else
        action.add(keyword, args);
}

void File_IO::parse_function(const std::vector<std::string>& call, Component::Action& action) {
    std::vector<std::string> chain;
    expand_call(call, action, chain);
}

void File_IO::expand_call(const std::vector<std::string>& call, Component::Action& action,
                          std::vector<std::string>& chain) {
    ORVANE_CHECK(!call.empty(), "A func step of " + action.entity() + ":" + action.component() +
                                    " names no function");
    std::string name = call[0];
    capitalize(name);
    if (std::find(chain.begin(), chain.end(), name) != chain.end()) {
        std::string path;
        for (const std::string& f : chain)
            path += f + " -> ";
        check_impl(__FILE__, __LINE__,
                   "Function calls itself while reading " + action.entity() + ":" +
                       action.component() + ": " + path + name);
    }
    auto function = m_content.get<Component::Action>(name, "function");
    chain.push_back(name);
    for (const Component::Action::Step& step : *function) {
        std::vector<std::string> args = step.args();
        for (std::string& arg : args) {
            if (!startswith(arg, "ARG"))
                continue;
            const int n = to_int(arg.substr(3));
            ORVANE_CHECK(n >= 0 && static_cast<std::size_t>(n) + 1 < call.size(),
                         "Function " + name + " uses " + arg + " but the call in " +
                             action.entity() + ":" + action.component() + " gives " +
                             std::to_string(call.size() - 1) + " arguments");
            arg = call[static_cast<std::size_t>(n) + 1];
        }
        if (step.function() == "func")
            expand_call(args, action, chain);
        else
            action.add(step.function(), args);
    }
    chain.pop_back();
}

} // namespace Orvane::System
