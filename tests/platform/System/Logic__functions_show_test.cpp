#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Simple.h>

#include "support/Logic_world_fixture.h"

namespace Orvane::Test {
namespace {

/// One "hide" or "stop" step on a fresh store, and what it leaves.
struct Show_case {
    const char* name;
    std::function<void(Logic_world&)> before;
    std::string keyword;
    std::vector<std::string> args;
    std::function<void(Logic_world&)> after;
};

class Logic_show_steps : public Sdl_test {};

TEST_F(Logic_show_steps, HideAndStop) {
    const std::vector<Show_case> cases = {
        {"hide of a group: a command for the next animation frame",
         [](Logic_world& w) { w.character("bob", 0, 0); },
         "hide",
         {"bob"},
         [](Logic_world& w) {
             EXPECT_TRUE(w.content.signal("bob", "set_hidden"));
             EXPECT_TRUE(w.content.get<Component::Image>("bob_head", "image")->on())
                 << "the animation system switches the group's images off";
         }},
        {"hide of an image: off at once",
         [](Logic_world& w) { w.item("box", 0, 0, 1); },
         "hide",
         {"box"},
         [](Logic_world& w) {
             EXPECT_FALSE(w.content.get<Component::Image>("box", "image")->on());
             EXPECT_FALSE(w.content.signal("box", "set_hidden"));
         }},
        {"stop music: the sound system fades every track out",
         nullptr,
         "stop",
         {"music"},
         [](Logic_world& w) {
             EXPECT_TRUE(w.content.signal("Music", "stop"));
             EXPECT_FALSE(w.content.signal("music", "stop_animation"))
                 << "never an entity called music";
         }},
        {"stop Player: whoever Player:name names",
         nullptr,
         "stop",
         {"Player"},
         [](Logic_world& w) {
             EXPECT_TRUE(w.content.signal("mara", "stop_animation"));
             EXPECT_FALSE(w.content.signal("Player", "stop_animation"));
         }},
        {"stop of an animation",
         nullptr,
         "stop",
         {"lamp"},
         [](Logic_world& w) { EXPECT_TRUE(w.content.signal("lamp", "stop_animation")); }},
    };
    for (const Show_case& c : cases) {
        SCOPED_TRACE(c.name);
        Logic_world world;
        if (c.before)
            c.before(world);
        EXPECT_TRUE(world.logic->step_handlers.at(c.keyword)(c.args));
        c.after(world);
        EXPECT_TRUE(world.script->scheduled().empty()) << "nothing holds the action";
    }
}

TEST(Logic_show_stepsDeathTest, HideOfNeitherGroupNorImage) {
    Logic_world world;
    EXPECT_EXIT(world.logic->function_hide({"ghost"}), ::testing::ExitedWithCode(1),
                "Cannot find ghost:image");
}

} // namespace
} // namespace Orvane::Test
