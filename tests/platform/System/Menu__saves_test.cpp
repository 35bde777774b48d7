// The load and save pages of the menus, built from the slot records the save files leave in the
// store, on the packed sample game.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/Utils/helpers.h>

#include "support/Menu_fixture.h"

namespace Orvane::Test {
namespace {

using Text = Component::Simple<std::string>;

using Info = Component::Tuple<std::string, double, std::int64_t>;

constexpr std::int64_t date = 2000000000; // 2033-05-18 UTC
constexpr double play_time = 3725;        // 01:02

struct Slot_case {
    std::vector<std::string> used;  ///< slots holding a game
    std::vector<std::string> save;  ///< the Save page's entries, in order
    std::size_t save_used;          ///< how many of them show a game
    std::vector<std::string> load;  ///< the Load page's entries, in order
};

using Menu_saves_test = Menu_test;

TEST_F(Menu_saves_test, ThePagesListTheUsedSlotsAndOneFreeOne) {
    const std::vector<Slot_case> cases = {
        {{}, {"Save_1"}, 0, {}},
        {{"1", "2", "3", "4", "5"},
         {"Save_1", "Save_2", "Save_3", "Save_4", "Save_5"},
         5,
         {"Load_1", "Load_2", "Load_3", "Load_4", "Load_5"}},
        {{"auto"}, {"Save_1"}, 0, {"Load_auto"}},
        // a slot after a gap is neither listed nor offered
        {{"1", "3"}, {"Save_1", "Save_2"}, 1, {"Load_1"}},
        {{"auto", "1", "3"}, {"Save_1", "Save_2"}, 1, {"Load_auto", "Load_1"}},
        {{"auto", "1", "2", "3"},
         {"Save_1", "Save_2", "Save_3", "Save_4"},
         3,
         {"Load_auto", "Load_1", "Load_2", "Load_3"}},
    };
    const std::string details = date_to_string(date) + " (elapsed = 01:02)";
    for (const Slot_case& c : cases) {
        std::string name = "used:";
        for (const std::string& slot : c.used)
            name += " " + slot;
        SCOPED_TRACE(name);
        for (const char* slot : Config::save_ids)
            content().remove(Key::save_slot(slot), "info", true);
        for (const std::string& slot : c.used)
            content().set<Info>(Key::save_slot(slot), "info", std::string("Quay"), play_time,
                                date);
        content().emit(Key::saves_have_changed);
        menu().run();

        auto save = page("Save");
        ASSERT_EQ(save->nb_children(), c.save.size() + 2);
        EXPECT_EQ(save->root()[0].image(), image("Title_Save"));
        for (std::size_t i = 0; i < c.save.size(); ++i) {
            const std::string& e = c.save[i];
            SCOPED_TRACE(e);
            const Component::Menu::Vertex_wrapper entry = (*save)[i + 1];
            EXPECT_EQ(entry.image(), image(e + "_button"));
            EXPECT_EQ(offset(e + "_button"), Point(240, 135 + 115 * double(i) + 50));
            EXPECT_EQ(content().get<Text>(e, "effect")->value(), e);
            ASSERT_EQ(entry.nb_children(), 2u);
            EXPECT_EQ(entry[0].image(), image(e + "_slot"));
            EXPECT_EQ(entry[1].image(), image(e + "_info"));
            EXPECT_EQ(offset(e + "_slot"), Point(35, 135 + 115 * double(i) + 35));
            EXPECT_EQ(offset(e + "_info"), Point(35, 135 + 115 * double(i) + 75));
            const bool used = i < c.save_used;
            const std::string number = std::to_string(i + 1) + ". ";
            EXPECT_EQ(image(e + "_slot")->width(),
                      text_width(Key::interface_font, used ? number + "Quay" : number));
            EXPECT_EQ(image(e + "_info")->width(),
                      text_width(Key::interface_light_font, used ? details : "Free slot"));
        }
        EXPECT_EQ((*save)[c.save.size() + 1].image(), image("Ok_alone_button"));

        auto load = page("Load");
        if (c.load.empty()) {
            ASSERT_EQ(load->nb_children(), 3u);
            EXPECT_EQ(load->root()[1][0].image(), image("No_savegame_0"));
            EXPECT_EQ(load->root()[2].image(), image("Ok_alone_button"));
            continue;
        }
        ASSERT_EQ(load->nb_children(), c.load.size() + 2);
        for (std::size_t j = 0; j < c.load.size(); ++j) {
            const std::string& e = c.load[j];
            SCOPED_TRACE(e);
            EXPECT_EQ((*load)[j + 1].image(), image(e + "_button"));
            EXPECT_EQ(offset(e + "_button"), Point(240, 135 + 115 * double(j) + 50));
            EXPECT_EQ(content().get<Text>(e, "effect")->value(), e);
            const std::string slot = e.substr(5);
            EXPECT_EQ(image(e + "_slot")->width(),
                      text_width(Key::interface_font,
                                 (slot == "auto" ? std::string("(Auto) ") : slot + ". ") +
                                     "Quay"));
            EXPECT_EQ(image(e + "_info")->width(), text_width(Key::interface_light_font, details));
        }
    }
}

TEST_F(Menu_saves_test, DatesAndPlayTimesAreShownWhole) {
    struct Record {
        std::int64_t date;
        double time;
        const char* shown_time;
    };
    // the second date lies past 2038: the record keeps 64 bits
    for (const Record& r : {Record{2000000000, 59, "00:00"}, Record{4102444800, 36000, "10:00"},
                            Record{4102444800, 360000, "100:00"}}) {
        SCOPED_TRACE(std::to_string(r.date));
        content().set<Info>(Key::save_slot("1"), "info", std::string("Lighthouse"), r.time,
                            r.date);
        menu().init_loadsave_menus();
        const std::string shown = date_to_string(r.date);
        // (local time: the last day of 2099 west of Greenwich)
        EXPECT_GE(std::stoi(shown.substr(0, 4)), r.date == 2000000000 ? 2033 : 2099) << shown;
        const std::string details = shown + " (elapsed = " + r.shown_time + ")";
        EXPECT_EQ(image("Save_1_info")->width(), text_width(Key::interface_light_font, details));
        EXPECT_EQ(image("Load_1_info")->width(), text_width(Key::interface_light_font, details));
        EXPECT_EQ(image("Load_1_slot")->width(),
                  text_width(Key::interface_font, "1. Lighthouse"));
    }
}

TEST_F(Menu_saves_test, ARebuildKeepsTheButtonsAndRemakesTheLines) {
    auto button = image("Save_1_button");
    auto line = image("Save_1_slot");
    content().set<Info>(Key::save_slot("1"), "info", std::string("Quay"), 60.0, date);
    content().emit(Key::saves_have_changed);
    menu().run();
    EXPECT_EQ(image("Save_1_button"), button);
    EXPECT_NE(image("Save_1_slot"), line);
    EXPECT_EQ(page("Save")->root()[1][0].image(), image("Save_1_slot"));
}

} // namespace
} // namespace Orvane::Test
