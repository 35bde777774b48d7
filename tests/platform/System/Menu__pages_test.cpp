// The pages that the menu system's init builds from the packed sample game: their trees, the
// images and where they lie from Menu:reference, the text blocks, the shared Ok and Cancel
// images, the support link and the titles.

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Keys.h>

#include "support/Menu_fixture.h"

namespace Orvane::Test {
namespace {

using Text = Component::Simple<std::string>;

/// One vertex of a page: reached by `path` from the root, with its children and the image it
/// shows (none when empty), placed at (x, y) from Menu:reference at depth z.
struct Shape {
    std::string page;
    std::vector<std::size_t> path;
    std::size_t children;
    std::string image;
    double x = NAN;
    double y = NAN;
    int z = 0;
};

std::string path_name(const Shape& s) {
    std::string out = s.page;
    for (std::size_t i : s.path)
        out += "[" + std::to_string(i) + "]";
    return out;
}

const int text = Config::MENU_TEXTS;
const int menu_button = Config::MENU_BUTTONS;

const std::vector<Shape> shapes = {
    {"Exit", {}, 10, ""},
    {"Exit", {0}, 0, "Menu_logo", 240, 130, text},
    {"Exit", {1}, 1, "Phone_button", 240, 220, menu_button},
    {"Exit", {1, 0}, 2, ""},
    {"Exit", {1, 0, 0}, 0, "Phone_icon", 90, 220, text},
    {"Exit", {1, 0, 1}, 0, "Exit_Phone", 150, 220, text},
    {"Exit", {2, 0, 1}, 0, "Exit_Settings", 150, 310, text},
    {"Exit", {4}, 1, "New_game_button", 240, 490, menu_button},
    {"Exit", {4, 0, 0}, 0, "New_game_icon", 90, 490, text},
    {"Exit", {7}, 1, "Quit_button", 240, 760, menu_button},
    {"Exit", {7, 0, 1}, 0, "Exit_Quit", 150, 760, text},
    {"Exit", {8}, 1, "Ok_alone_button", 240, 858, menu_button},
    {"Exit", {8, 0}, 0, "Ok_alone_icon", 240, 858, text},
    {"Exit", {9}, 1, "Support_button", NAN, NAN, menu_button},
    {"Exit", {9, 0}, 0, "Support_text", NAN, NAN, text},
    {"New_game", {}, 3, ""},
    {"New_game", {0}, 0, "Title_New_game", 240, 90, text},
    {"New_game", {1}, 3, ""},
    {"New_game", {1, 0}, 0, "Wanna_restart_0", 35, 220, text},
    {"New_game", {1, 2}, 0, "Wanna_restart_2", 35, 290, text},
    {"New_game", {2}, 2, ""},
    {"New_game", {2, 0}, 1, "Ok_button", 120, 858, menu_button},
    {"New_game", {2, 0, 0}, 0, "Ok_icon", 120, 858, text},
    {"New_game", {2, 1}, 1, "Cancel_button", 360, 858, menu_button},
    {"New_game", {2, 1, 0}, 0, "Cancel_icon", 360, 858, text},
    {"Wanna_save", {}, 3, ""},
    {"Wanna_save", {0}, 0, "Title_Save", 240, 90, text},
    {"Wanna_save", {1, 0}, 0, "Wanna_save_0", 35, 220, text},
    {"Wanna_save", {2, 1, 0}, 0, "Cancel_icon", 360, 858, text},
    {"Wanna_load", {0}, 0, "Title_Load", 240, 90, text},
    {"Wanna_load", {1}, 3, ""},
    {"Wanna_load", {1, 1}, 0, "Wanna_load_1", 35, 255, text},
    {"Wanna_load", {2, 0}, 1, "Ok_button", 120, 858, menu_button},
    {"Saved", {}, 3, ""},
    {"Saved", {0}, 0, "Title_Save", 240, 90, text},
    {"Saved", {1, 0}, 0, "Saved_0", 35, 220, text},
    {"Saved", {2}, 1, "Ok_alone_button", 240, 858, menu_button},
    {"Phone", {}, 3, ""},
    {"Phone", {0}, 0, "Title_Phone", 240, 90, text},
    {"Phone", {1}, 2, ""},
    {"Phone", {1, 1}, 0, "No_number_text_1", 35, 255, text},
    {"Phone", {2, 0}, 0, "Ok_alone_icon", 240, 858, text},
    {"Settings", {}, 8, ""},
    {"Settings", {0}, 0, "Title_Settings", 240, 90, text},
    {"Settings", {1}, 4, "Language_button", 240, 185, menu_button},
    {"Settings", {1, 0}, 0, "Language_setting", 35, 170, text},
    {"Settings", {1, 1}, 0, "Language_English", 35, 210, text},
    {"Settings", {1, 2}, 0, "Language_left_arrow", 385, 195, text},
    {"Settings", {1, 3}, 0, "Language_right_arrow", 435, 195, text},
    {"Settings", {2}, 4, "Fullscreen_button", 240, 300, menu_button},
    {"Settings", {2, 1}, 0, "Fullscreen_Yes", 35, 325, text},
    {"Settings", {3, 1}, 0, "Interface_scale_Tiny", 35, 440, text},
    {"Settings", {4, 1}, 0, "Text_speed_Slow", 35, 555, text},
    {"Settings", {5, 0}, 0, "Music_volume_setting", 35, 630, text},
    {"Settings", {6}, 4, "Sound_volume_button", 240, 760, menu_button},
    {"Settings", {6, 1}, 0, "Sound_volume_0", 35, 785, text},
    {"Settings", {6, 3}, 0, "Sound_volume_right_arrow", 435, 770, text},
    {"Settings", {7}, 1, "Ok_alone_button", 240, 858, menu_button},
    {"Controls", {}, 3, ""},
    {"Controls", {0}, 0, "Title_Controls", 240, 90, text},
    {"Controls", {1}, 0, "Controls_text", 28, 135, text},
    {"Controls", {2}, 1, "Ok_alone_button", 240, 858, menu_button},
    {"Load", {}, 3, ""},
    {"Load", {0}, 0, "Title_Load", 240, 90, text},
    {"Load", {1}, 1, ""},
    {"Load", {1, 0}, 0, "No_savegame_0", 35, 220, text},
    {"Load", {2}, 1, "Ok_alone_button", 240, 858, menu_button},
    {"Save", {}, 3, ""},
    {"Save", {0}, 0, "Title_Save", 240, 90, text},
    {"Save", {1}, 2, "Save_1_button", 240, 185, menu_button},
    {"Save", {1, 0}, 0, "Save_1_slot", 35, 170, text},
    {"Save", {1, 1}, 0, "Save_1_info", 35, 210, text},
    {"Save", {2}, 1, "Ok_alone_button", 240, 858, menu_button},
    {"Message", {}, 0, ""},
    {"End", {}, 0, ""},
};

using Menu_pages_test = Menu_test;

TEST_F(Menu_pages_test, EveryPageHasItsShape) {
    for (const Shape& s : shapes) {
        SCOPED_TRACE(path_name(s));
        Component::Menu::Vertex_wrapper vertex = page(s.page)->root();
        for (std::size_t i : s.path)
            vertex = vertex[i];
        EXPECT_EQ(vertex.nb_children(), s.children);
        if (s.image.empty()) {
            EXPECT_FALSE(vertex.has_image());
            continue;
        }
        ASSERT_TRUE(vertex.image());
        EXPECT_EQ(vertex.image()->entity(), s.image);
        // the tree holds the stored image and position, which the graphic system draws
        EXPECT_EQ(vertex.image(), image(s.image));
        EXPECT_EQ(vertex.image()->z(), s.z);
        EXPECT_FALSE(vertex.image()->on());
        if (!std::isnan(s.x)) {
            EXPECT_EQ(offset(s.image), Point(s.x, s.y));
            EXPECT_EQ(vertex.position()->value(),
                      content().get<Component::Position>(s.image, "position")->value());
        }
    }
    // the support link stays where the scene puts it, whatever the menu's place
    EXPECT_EQ(content().get<Component::Position>("Support_text", "position")->value(),
              Point(335, 90));
    EXPECT_EQ(content().get<Component::Position>("Support_button", "position")->value(),
              Point(335, 90));
    EXPECT_EQ(content().get<Component::Position>(Key::menu_reference)->value(), Point(720, 120));
}

TEST_F(Menu_pages_test, TheExitRowsCarryTheirEffects) {
    for (const char* item : Config::exit_menu_items)
        EXPECT_EQ(content().get<Text>(item, "effect")->value(), item);
    for (const auto& [item, effect] : std::vector<std::pair<std::string, std::string>>{
             {"Support", "Support"}, {"Ok", "Ok"}, {"Ok_alone", "Ok"}, {"Cancel", "Cancel"}})
        EXPECT_EQ(content().get<Text>(item, "effect")->value(), effect);
    // labels are texts at half size, left-aligned and unclickable; buttons copy the picture
    auto label = image("Exit_Phone");
    EXPECT_EQ(label->scale(), 0.5);
    EXPECT_EQ(label->origin(), Point(0, label->height() / 2.0));
    EXPECT_EQ(label->collision(), Component::Collision_type::UNCLICKABLE);
    EXPECT_EQ(label->width(), text_width(Key::interface_font, "Phone"));
    EXPECT_EQ(image("Phone_button")->core(), image("Menu_main_button")->core());
    EXPECT_EQ(image("Ok_alone_icon")->core(), image("Ok_icon")->core());
    auto overlay = image("Menu_overlay");
    EXPECT_EQ(overlay->z(), Config::MENU_OVERLAY);
    EXPECT_EQ(overlay->collision(), Component::Collision_type::UNCLICKABLE);
    EXPECT_FALSE(overlay->on());
}

struct Block_case {
    const char* text;
    std::vector<std::string> lines;
};

TEST_F(Menu_pages_test, ATextBlockShowsTheLinesEndedByABreak) {
    const std::vector<Block_case> cases = {
        {"one\ntwo\n", {"one", "two"}},
        {"one\n\nthree\n", {"one", " ", "three"}},
        {"no break at all", {"no break at all"}},
        {"one\nlost", {"one"}},
    };
    for (const Block_case& c : cases) {
        SCOPED_TRACE(c.text);
        content().set<Text>("Block", "text", std::string(c.text));
        Component::Menu probe("Probe", "menu");
        menu().make_text_menu_text(probe.root(), "Block");
        ASSERT_EQ(probe.nb_children(), c.lines.size());
        for (std::size_t i = 0; i < c.lines.size(); ++i) {
            const std::string id = "Block_" + std::to_string(i);
            EXPECT_EQ(probe[i].image(), image(id));
            EXPECT_EQ(offset(id), Point(35, 220 + 35 * double(i)));
            EXPECT_EQ(image(id)->width(), text_width(Key::interface_light_font, c.lines[i]));
            EXPECT_EQ(image(id)->scale(), 0.5);
            EXPECT_EQ(image(id)->origin(), Point(0, 0));
        }
    }
}

TEST_F(Menu_pages_test, TheMessageIsNamedAfterTheTextItShows) {
    content().set<Component::Variable>("Message", "text",
                                       content().get<Text>("radio_dark", "text"));
    open("Message");
    auto message = page("Message");
    ASSERT_EQ(message->nb_children(), 2u);
    ASSERT_EQ(message->root()[0].nb_children(), 3u);
    EXPECT_EQ(message->root()[0][2].image()->entity(), "radio_dark_2");
    EXPECT_EQ(image("radio_dark_0")->width(),
              text_width(Key::interface_light_font, "Harbour here."));
    EXPECT_EQ(message->root()[1].image(), image("Ok_alone_button"));

    // shown again, the block is made anew from the text pointed at now
    menu().hide_menu("Message");
    content().set<Component::Variable>("Message", "text",
                                       content().get<Text>("radio_lit", "text"));
    menu().show_menu("Message");
    EXPECT_NE(page("Message"), message);
    EXPECT_EQ(page("Message")->root()[0].nb_children(), 2u);
    EXPECT_EQ(page("Message")->root()[0][0].image()->entity(), "radio_lit_0");
}

TEST_F(Menu_pages_test, ASecondInitKeepsTheOkAndCancelImages) {
    auto ok = image("Ok_button");
    auto cancel = image("Cancel_button");
    auto alone = image("Ok_alone_button");
    auto phone = image("Phone_button");
    auto old_page = page("New_game");
    menu().init();
    EXPECT_EQ(image("Ok_button"), ok);
    EXPECT_EQ(image("Cancel_button"), cancel);
    EXPECT_EQ(image("Ok_alone_button"), alone);
    EXPECT_EQ(image("Phone_button"), phone);
    EXPECT_NE(page("New_game"), old_page);
    // a page built before and one built after share them
    EXPECT_EQ(old_page->root()[2][0].image(), page("New_game")->root()[2][0].image());
    EXPECT_EQ(page("Settings")->root()[7].image(), page("Exit")->root()[8].image());
}

TEST_F(Menu_pages_test, AGivenSupportPositionIsKept) {
    auto given = content().set<Component::Absolute_position>("Support_text", "position",
                                                             Point(100, 200), true);
    menu().init();
    EXPECT_EQ(content().get<Component::Position>("Support_text", "position"), given);
    EXPECT_EQ(given->value(), Point(100, 200));
    EXPECT_EQ(page("Exit")->root()[9][0].position(), given);
    EXPECT_EQ(content().get<Component::Position>("Support_button", "position")->value(),
              Point(100, 200));
}

TEST_F(Menu_pages_test, EveryPageShowsItsTitle) {
    // pages sharing a title share its image, the one stored and drawn
    open("End");
    for (const auto& [name, title] : std::vector<std::pair<std::string, std::string>>{
             {"New_game", "New_game"},
             {"Wanna_save", "Save"},
             {"Wanna_load", "Load"},
             {"Saved", "Save"},
             {"Phone", "Phone"},
             {"Settings", "Settings"},
             {"Controls", "Controls"},
             {"Load", "Load"},
             {"Save", "Save"},
             {"End", "End"}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(page(name)->root()[0].image(), image("Title_" + title));
        EXPECT_EQ(image("Title_" + title)->width(),
                  text_width(Key::interface_font, content().get<Text>(title, "text")->value()));
    }
    EXPECT_EQ(image("Title_Save")->scale(), 0.75);
    EXPECT_EQ(offset("Title_Save"), Point(240, 90));
}

} // namespace
} // namespace Orvane::Test
