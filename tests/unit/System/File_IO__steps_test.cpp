#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Assets/Packaged_asset.h>
#include <Orvane/Component/Action.h>
#include <Orvane/Content.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Third_party/Yaml.h>

#include "support/Text.h"

namespace Orvane::System {
namespace {

using Test::steps_of;
using Third_party::Yaml;

// Functions declared from a text, then a script read from another.
class Steps : public ::testing::Test {
  protected:
    void declare(const std::string& name, const std::string& body) {
        Yaml yaml("data/init.yaml", Packaged_asset(body.data(), body.size()));
        ASSERT_TRUE(yaml.parse());
        auto function = std::make_shared<Component::Action>(name, "function");
        file_io.read_steps(yaml["effect"], *function, false);
        content.set(function);
    }
    std::vector<std::string> read(const std::string& text) {
        Yaml yaml("data/actions/test.yaml", Packaged_asset(text.data(), text.size()));
        EXPECT_TRUE(yaml.parse());
        Component::Action action("test", "action");
        file_io.read_steps(yaml["effect"], action, true);
        return steps_of(action);
    }

    Content content;
    File_IO file_io{content};
};

TEST_F(Steps, FunctionsAreStoredAsWritten) {
    declare("Greet", "effect:\n  - talk: [Player, ARG0]\n  - func: [say, ARG0]\n  - wait: x\n");
    EXPECT_EQ(steps_of(*content.get<Component::Action>("Greet", "function")),
              (std::vector<std::string>{"talk:[Player, ARG0]", "func:[say, ARG0]", "wait:[]"}));
}

TEST_F(Steps, CallsAreExpandedWithTheirArguments) {
    declare("Open_with", "effect:\n  - set: [ARG0, ARG1]\n");
    declare("Say_twice", "effect:\n  - talk: [Player, ARG]\n  - talk: [Player, ARG0]\n");
    declare("Greet", "effect:\n  - look: []\n  - func: [say_twice, ARG1b]\n  - set: [XARG1, x]\n");
    EXPECT_EQ(read("effect:\n  - func: [open_with, door, open]\n"),
              (std::vector<std::string>{"set:[door, open]"}));
    EXPECT_EQ(read("effect:\n  - wait: [1]\n  - func: [Greet, a, Hello]\n  - wait: [2]\n"),
              (std::vector<std::string>{"wait:[1]", "look:[]", "talk:[Player, Hello]",
                                        "talk:[Player, Hello]", "set:[XARG1, x]", "wait:[2]"}));
}

TEST_F(Steps, WithoutExpansionACallStaysAStep) {
    declare("Open_with", "effect:\n  - set: [ARG0, ARG1]\n");
    const std::string text = "effect:\n  - func: [open_with, door, open]\n";
    Yaml yaml("x.yaml", Packaged_asset(text.data(), text.size()));
    ASSERT_TRUE(yaml.parse());
    Component::Action action("test", "action");
    file_io.read_steps(yaml["effect"], action, false);
    EXPECT_EQ(steps_of(action), (std::vector<std::string>{"func:[open_with, door, open]"}));
}

using StepsDeathTest = Steps;

TEST_F(StepsDeathTest, BadCallsStopWithAMessageNamingTheFault) {
    declare("Say", "effect:\n  - func: [greet]\n");
    declare("Greet", "effect:\n  - func: [say]\n");
    declare("Loop", "effect:\n  - talk: [a]\n  - func: [loop]\n");
    declare("Two", "effect:\n  - set: [ARG0, ARG1]\n");
    declare("Minus", "effect:\n  - set: [ARG-1]\n");
    struct Case {
        const char* text;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"effect:\n  - func: [say]\n", "test:action: Say -> Greet -> Say"},
        {"effect:\n  - func: [loop]\n", "Loop -> Loop"},
        {"effect:\n  - func: [two, a]\n", "Function Two uses ARG1 but the call in test:action "
                                          "gives 1 arguments"},
        {"effect:\n  - func: [minus, a]\n", "Function Minus uses ARG-1"},
        {"effect:\n  - func: [nobody]\n", "Cannot find Nobody:function"},
        {"effect:\n  - func: []\n", "names no function"},
        {"effect:\n  - {look: [], talk: []}\n",
         "Checking for nstring in non-singular input \\(effect/0, data/actions/test.yaml:2\\)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EXIT(read(c.text), ::testing::ExitedWithCode(1), c.message);
    }
}

} // namespace
} // namespace Orvane::System
