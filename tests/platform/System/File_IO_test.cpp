#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Keys.h>

#include "support/File_IO_fixture.h"

namespace Orvane::Test {
namespace {

using Component::Image;

enum class Mode { room, room_without_phones, reset };

struct Row {
    const char* entity;
    const char* component;
    const char* type;
    bool global;
    bool kept_room;
    bool kept_reset;
};

// Files one component of the row's type.
void file(Content& content, const Row& row) {
    const std::string type = row.type;
    if (type == "string") {
        content.set<Component::Simple<std::string>>(row.entity, row.component, "text");
    } else if (type == "int") {
        content.set<Component::Simple<int>>(row.entity, row.component, 4);
    } else if (type == "double") {
        content.set<Component::Simple<double>>(row.entity, row.component, 1.5);
    } else if (type == "position") {
        content.set<Component::Absolute_position>(row.entity, row.component, Point(1, 2), false);
    } else if (type == "image") {
        content.set<Image>(row.entity, row.component, 10, 10);
    } else if (type == "signal") {
        content.emit(row.entity, row.component);
    } else if (type == "achievements") {
        content.set<Component::Vector<std::string>>(row.entity, row.component,
                                                    std::vector<std::string>{"lamp_lit"});
    } else if (type == "list") {
        content.set<Component::Vector<std::string>>(row.entity, row.component,
                                                    std::vector<std::string>{"0612345678"});
    } else if (type == "int through conditional" || type == "string through conditional") {
        auto state = std::make_shared<Component::Simple<std::string>>(row.entity, "case", "a");
        auto conditional = content.set<Component::Simple_conditional<std::string>>(
            row.entity, row.component, state);
        if (type == "int through conditional")
            conditional->add("a", std::make_shared<Component::Simple<int>>(row.entity, "v", 1));
        else
            conditional->add("a",
                             std::make_shared<Component::Simple<std::string>>(row.entity, "v", ""));
    }
    if (row.global)
        content.emit(row.entity, "is_global");
}

const std::vector<Row> rows = {
    {"Comment_0", "image", "image", false, false, false},
    {"Finishing_x", "image", "image", false, false, false},
    {"Finishing_x", "value", "int", false, true, false},
    {"Interface", "label", "string", false, true, true},
    {"Game", "name", "string", false, true, true},
    {"door", "state", "string", false, true, false},
    {"door", "position", "position", false, true, false},
    {"door", "signal", "signal", false, true, false},
    {"door", "image", "image", false, false, false},
    {"gate", "image", "image", true, true, false},
    {"gate", "label", "string", true, true, false},
    {"music", "resume_at", "double", false, true, false},
    {"counter", "value", "int", false, true, false},
    {"counter", "label", "string", false, false, false},
    {"switch", "value", "int through conditional", false, true, false},
    {"lever", "value", "string through conditional", false, false, false},
    {"phone_numbers", "list", "list", false, true, false},
    {"0612345678", "label", "string", false, true, false},
    {"0799999999", "label", "string", false, false, false},
    // an achievement with an id of the game's own: its text, value and unlocking stay
    {"Achievements", "list", "achievements", false, true, true},
    {"lamp_lit", "text", "string", false, true, true},
    {"lamp_lit", "value", "int", false, true, true},
    {"lamp_lit", "done", "signal", false, true, true},
    {"lamp_unlit", "text", "string", false, false, false},
};

using Cleaning_test = File_IO_test;

TEST_F(Cleaning_test, EachComponentIsKeptOrDroppedByItsKindAndTheMode) {
    for (Mode mode : {Mode::room, Mode::room_without_phones, Mode::reset}) {
        SCOPED_TRACE(mode == Mode::room ? "room change"
                     : mode == Mode::reset ? "reset"
                                           : "room change without phone numbers");
        content.clear();
        fixed_components();
        load(game_entries());
        file_io.read_locale();
        content.set<Image>("Blackscreen", "image", 1920, 1080);
        for (const Row& row : rows)
            if (mode != Mode::room_without_phones || std::string(row.entity) != "phone_numbers")
                file(content, row);
        if (mode == Mode::reset)
            content.emit(Key::game_reset);
        file_io.clean_content();
        for (const Row& row : rows) {
            if (mode == Mode::room_without_phones && std::string(row.entity) == "phone_numbers")
                continue;
            bool expected = mode == Mode::reset ? row.kept_reset : row.kept_room;
            if (mode == Mode::room_without_phones && std::string(row.entity) == "0612345678")
                expected = false;
            EXPECT_EQ(content.request<Component::Base>(row.entity, row.component) != nullptr,
                      expected)
                << row.entity << ":" << row.component << " (" << row.type << ")";
        }
        EXPECT_FALSE(content.signal(Key::game_reset));
        EXPECT_TRUE(content.signal("Game", "clear_managers"));
        EXPECT_TRUE(content.signal("Dialog", "clean"));
    }
}

TEST_F(Cleaning_test, AResetRestartsTheSceneAndReadsTheGlobalItemsAgain) {
    load(game_entries());
    file_io.read_locale();
    auto blackscreen = content.set<Image>("Blackscreen", "image", 1920, 1080);
    blackscreen->on() = false;
    blackscreen->set_alpha(3);
    content.get<Component::Position>("Camera", "position")->set(Point(500, 20));
    auto zoom = content.get<Component::Simple<double>>("Camera", "zoom");
    zoom->set(2.0);
    zoom->mark_as_unaltered();
    auto status = content.get<Component::Status>("Game", "status");
    status->push(Status::IN_MENU);
    status->push(Status::PAUSE);
    content.get<Component::Action>("Logic", "action")->add("talk", {"a"});
    for (const char* c : {"action", "triggered_action"})
        content.set<Component::Action>("Character", c);
    content.set<Component::Simple<std::string>>("Game", "current_dialog", "d");
    content.set<Component::Simple<std::string>>("Player", "name", "mara");
    content.set<Component::Simple<std::string>>("Follower", "name", "pip");

    // the inventory: an image, no image at all, and a conditional that selects nothing
    auto key = content.set<Image>("Key", "image", 10, 10);
    auto state = content.set<Component::Simple<std::string>>("Empty", "case", "none");
    content.set<Component::Simple_conditional<std::string>>("Empty", "image", state);
    auto inventory = content.get<Component::Inventory>("Game", "inventory");
    for (const char* item : {"Key", "Ghost", "Empty"})
        inventory->add(item);

    content.emit(Key::game_reset);
    file_io.clean_content();

    EXPECT_TRUE(blackscreen->on());
    EXPECT_EQ(blackscreen->alpha(), 255);
    EXPECT_EQ(content.get<Component::Position>("Camera", "position")->value(), Point(0, 0));
    EXPECT_EQ(zoom->value(), 1.0);
    EXPECT_TRUE(zoom->was_altered());
    EXPECT_EQ(status->size(), 2u);
    EXPECT_TRUE(status->is(Status::LOCKED));
    EXPECT_EQ(content.get<Component::Action>("Logic", "action")->size(), 0u);
    for (const auto& [e, c] : {std::pair{"Character", "action"},
                               std::pair{"Character", "triggered_action"},
                               std::pair{"Game", "current_dialog"}, std::pair{"Player", "name"},
                               std::pair{"Follower", "name"}})
        EXPECT_FALSE(content.request<Component::Base>(e, c)) << e << ":" << c;
    EXPECT_FALSE(key->on());
    EXPECT_EQ(inventory->size(), 0u);
    EXPECT_EQ(file_io.calls, (std::vector<std::string>{"objects:lamp global", "objects:key global",
                                                       "windows:map global",
                                                       "actions:intro global"}));
}

TEST_F(Cleaning_test, AResetTakesACodeLockResultPictureWhoseEndWasPending) {
    load(game_entries());
    file_io.read_locale();
    content.set<Image>("Blackscreen", "image", 1920, 1080);
    // a lock solved just before the restart: its picture waits on Logic:action for its end
    auto logic_action = content.get<Component::Action>("Logic", "action");
    auto result = content.set<Image>("Code_result", "image", 10, 10);
    logic_action->schedule(5.0, result);
    logic_action->schedule(4.6, std::make_shared<Component::Signal>("code", "quit"));
    content.set<Image>("Code_success", "image", 10, 10);

    content.emit(Key::game_reset);
    file_io.clean_content();

    EXPECT_FALSE(content.request<Component::Base>("Code_result", "image"))
        << "a system component, which the cleaning keeps, and whose end is gone";
    EXPECT_TRUE(content.request<Component::Base>("Code_success", "image"));
    EXPECT_TRUE(logic_action->scheduled().empty());
    EXPECT_FALSE(content.signal("code", "quit")) << "the restart closes nothing: a new game starts";
}

} // namespace
} // namespace Orvane::Test
