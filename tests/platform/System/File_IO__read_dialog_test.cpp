#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Code.h>
#include <Orvane/Component/Dialog.h>

#include "support/File_IO__readers_fixture.h"

namespace Orvane::Test {
namespace {

using Component::Collision_type;
using Component::Image;

TEST_F(Room_reader, CodeLock) {
    content.emit("lock", "is_global");
    auto say = content.set<Component::Action>("Open", "function");
    say->add("set", {"ARG0", "open"});
    read("codes", "lock", R"(button_sound: bell
success_sound: bell
failure_sound: bell
states:
  - {id: dark, skin: [map, pad]}
  - {id: lit, skin: [pad, map]}
buttons:
  - {value: "1", coordinates: [10, 20, 30, 40]}
  - {value: "2", coordinates: [50, 20, 30, 40]}
answer: ["2", "1"]
on_success:
  - func: [open, gate]
)");
    auto state = content.get<Component::Simple<std::string>>("lock", "state");
    EXPECT_EQ(state->value(), "dark");
    EXPECT_TRUE(state->was_altered());
    auto window = content.get<Image>("lock", "image");
    EXPECT_EQ(window->width(), 100);
    EXPECT_EQ(window->z(), Config::INTERFACE_BACK);
    EXPECT_EQ(window->collision(), Collision_type::BOX);
    EXPECT_FALSE(window->on());
    auto keypad = content.get<Component::Cropped>("lock_button", "image");
    EXPECT_EQ(keypad->z(), Config::INTERFACE_ITEMS);
    EXPECT_EQ(keypad->origin(), Point(40, 30));
    EXPECT_TRUE(content.get<Component::Position>("lock", "position")->is_interface());
    EXPECT_EQ(steps_of(content.get<Component::Action>("lock", "action")),
              std::vector<std::string>{"set:[gate, open]"});
    for (const char* part : {"lock_failure", "lock_success", "lock_button"})
        EXPECT_TRUE(content.signal(part, "is_global")) << part;
    // the buttons where the file puts them, and the answer in its order
    auto code = content.get<Component::Code>("lock", "code");
    EXPECT_TRUE(code->click(60, 30));
    EXPECT_TRUE(code->click(20, 30));
    EXPECT_TRUE(code->success());
}

// A dialog's graph as "from->to line|condition|unless|displayed" edges and vertex lines.
std::vector<std::string> edges_of(const Component::Dialog& dialog) {
    using Edge_id = Component::Dialog::Edge_handle;
    const auto& graph = dialog.graph();
    std::vector<std::string> out;
    for (std::size_t i = 0; i < graph.edge_count(); ++i) {
        const Edge_id e(i);
        const auto& edge = graph.edge(e);
        out.push_back(std::to_string(graph.source(e).index()) + "->" +
                      std::to_string(graph.target(e).index()) + " " + edge.line + "|" +
                      edge.condition + "|" + std::to_string(edge.unless) + "|" +
                      std::to_string(edge.displayed));
    }
    return out;
}

TEST_F(Room_reader, DialogGraphs) {
    struct Case {
        const char* lines;
        std::vector<std::string> edges;
    };
    const std::vector<Case> cases = {
        {"  - line: [mara, Hello]\n  - line: [pip, Hi]\n    goto: end\n",
         {"0->2 ||0|1", "2->3 ||0|1", "3->1 ||0|1"}},
        {"  - target: a\n  - target: b\n  - line: [mara, One]\n"
         "  - choices:\n      - {line: Again, goto: b, if: ok, unless: no}\n"
         "      - {line: Stop, goto: end, unless: bored, displayed: no}\n"
         "      - {line: Lost, goto: a}\n"
         "  - target: a\n  - line: [pip, Two]\n    goto: end\n",
         {"0->2 ||0|1", "2->3 ||0|1", "3->2 Again|ok|0|1", "3->1 Stop|bored|1|0", "3->4 Lost||0|1",
          "4->1 ||0|1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        read("dialogs", "talk", std::string("end: bye\nlines:\n") + c.lines);
        auto dialog = content.get<Component::Dialog>("talk", "dialog");
        EXPECT_EQ(edges_of(*dialog), c.edges);
    }
}

} // namespace
} // namespace Orvane::Test
