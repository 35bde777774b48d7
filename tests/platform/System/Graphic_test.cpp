#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>
#include <Orvane/System/Graphic.h>

namespace Orvane::System {
namespace {

TEST(Graphic_systemDeathTest, WindowNeedsEverySetting) {
    struct Case {
        const char* message;
        std::function<void(Content&)> settings;
    };
    const std::vector<Case> cases = {
        {"Cannot find Window:width", [](Content&) {}},
        {"Cannot find Window:height",
         [](Content& c) { c.set<Component::Simple<int>>("Window", "width", 800); }},
        {"Cannot find Window:fullscreen",
         [](Content& c) {
             c.set<Component::Simple<int>>("Window", "width", 800);
             c.set<Component::Simple<int>>("Window", "height", 600);
         }},
        {"Cannot find Window:fullscreen", // present, but not a Boolean
         [](Content& c) {
             c.set<Component::Simple<int>>("Window", "width", 800);
             c.set<Component::Simple<int>>("Window", "height", 600);
             c.set<Component::Simple<int>>("Window", "fullscreen", 0);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Content content;
        c.settings(content);
        Graphic graphic(content);
        EXPECT_EXIT(graphic.init(), ::testing::ExitedWithCode(1), c.message);
    }
}

} // namespace
} // namespace Orvane::System
