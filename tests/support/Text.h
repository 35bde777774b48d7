#pragma once

// Text helpers of the tests: fatal messages matched literally, fixture texts with one line
// changed, and an action's steps as text.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>

namespace Orvane::Test {

/// The text as a regular expression that matches only itself (for EXPECT_EXIT messages).
inline std::string literal(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos)
            out += '\\';
        out += c;
    }
    return out;
}

/// The text with the first occurrence of `line` replaced by `by`; a failure of the calling
/// test when `line` is not in it (the fixture changed under the test).
inline std::string replaced(std::string text, const std::string& line, const std::string& by) {
    const std::size_t at = text.find(line);
    EXPECT_NE(at, std::string::npos) << line;
    if (at != std::string::npos)
        text.replace(at, line.size(), by);
    return text;
}

/// The steps of an action, each as its to_string() gives it.
inline std::vector<std::string> steps_of(const Component::Action& action) {
    std::vector<std::string> out;
    for (const auto& step : action)
        out.push_back(step.to_string());
    return out;
}

/// The steps of an action, none when there is no action.
inline std::vector<std::string> steps_of(const std::shared_ptr<Component::Action>& action) {
    return action ? steps_of(*action) : std::vector<std::string>{};
}

} // namespace Orvane::Test
