#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Menu.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Third_party/SDL.h>

namespace {

using Orvane::Point;
using Orvane::Split_direction;
using Orvane::Component::Absolute_position;
using Orvane::Component::Image;
using Orvane::Component::Menu;
using Orvane::Component::Position;

/// Menus hold real images, which need the dummy window's renderer: one window for the suite.
class Menu_tree : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        sdl = new Orvane::Third_party::SDL();
        int width = 320;
        int height = 200;
        sdl->init(width, height, false);
    }
    static void TearDownTestSuite() {
        delete sdl;
        sdl = nullptr;
    }
    static Orvane::Third_party::SDL* sdl;
};

Orvane::Third_party::SDL* Menu_tree::sdl = nullptr;

using Menu_treeDeathTest = Menu_tree;

/// A 2 x 2 rectangle image named `entity`.
std::shared_ptr<Image> make_image(const std::string& entity) {
    return std::make_shared<Image>(entity, "image", 2, 2);
}

std::shared_ptr<Position> make_position(const std::string& entity) {
    return std::make_shared<Absolute_position>(entity, "position", Point(0, 0));
}

/// A setting leaf: one image per value, named id_value; `current` is selected and shown.
struct Setting {
    std::vector<std::shared_ptr<Image>> images;

    Setting(Menu::Vertex_wrapper vertex, const std::string& id,
            const std::vector<std::string>& values) {
        for (const std::string& v : values)
            images.push_back(make_image(id + "_" + v));
        vertex.init(images[0], make_position(id));
        for (std::size_t i = 1; i < images.size(); ++i)
            vertex.add(images[i]);
    }
    std::vector<bool> on() const {
        std::vector<bool> flags;
        for (const auto& image : images)
            flags.push_back(image->on());
        return flags;
    }
    void set_on(const std::vector<bool>& flags) {
        for (std::size_t i = 0; i < images.size(); ++i)
            images[i]->on() = flags[i];
    }
};

TEST_F(Menu_tree, CopiesOfAWrapperReferToTheSameVertex) {
    Menu menu("Settings", "menu");
    menu.split(Split_direction::SINGLE, 1);
    Menu::Vertex_wrapper a = menu[0];
    Menu::Vertex_wrapper b = a;
    auto image = make_image("Title");
    b.init(image, make_position("Title"));
    EXPECT_EQ(a.image(), image);
    EXPECT_EQ(menu[0].image(), image);
}

TEST_F(Menu_tree, InitAppendsAndReplacesThePosition) {
    Menu menu("Settings", "menu");
    auto first = make_image("A");
    auto second = make_image("B");
    auto p1 = make_position("P1");
    auto p2 = make_position("P2");
    menu.root().init(first, p1);
    menu.root().init(second, p2);
    EXPECT_TRUE(menu.root().has_image());
    EXPECT_EQ(menu.root().image(), first) << "the image at the current index";
    EXPECT_EQ(menu.root().position(), p2);
    menu.root().add(make_image("C"));
    EXPECT_EQ(menu.root().position(), p2);
}

struct Step_case {
    const char* name;
    std::size_t start;
    bool forward;
    std::string result;
    std::vector<bool> on; // after the step, from all-off but the start value
};

TEST_F(Menu_tree, ChangeSettingStepsAndWraps) {
    const Step_case cases[] = {
        {"increment from Blue wraps to Red", 2, true, "Red", {true, false, false}},
        {"increment from Red", 0, true, "Green", {false, true, false}},
        {"decrement from Red wraps to Blue", 0, false, "Blue", {false, false, true}},
        {"decrement from Green", 1, false, "Red", {true, false, false}},
    };
    for (const Step_case& c : cases) {
        SCOPED_TRACE(c.name);
        Menu menu("Settings", "menu");
        menu.split(Split_direction::VERTICALLY, 1);
        Setting color(menu[0], "Color", {"Red", "Green", "Blue"});
        menu.update_setting("Color", color.images[c.start]->entity().substr(6));
        std::vector<bool> shown(3, false);
        shown[c.start] = true;
        color.set_on(shown);

        EXPECT_EQ(c.forward ? menu.increment("Color") : menu.decrement("Color"), c.result);
        EXPECT_EQ(color.on(), c.on);
        EXPECT_EQ(menu[0].image()->entity(), "Color_" + c.result);
    }
}

TEST_F(Menu_tree, IncrementThenDecrementReturns) {
    Menu menu("Settings", "menu");
    Setting color(menu.root(), "Color", {"Red", "Green", "Blue"});
    menu.update_setting("Color", "Blue");
    EXPECT_EQ(menu.increment("Color"), "Red");
    EXPECT_EQ(menu.decrement("Color"), "Blue");
    EXPECT_EQ(menu.decrement("Color"), "Green");
}

TEST_F(Menu_tree, OnlyTheFirstSettingOfAnIdChangesButUpdateSetsAll) {
    Menu menu("Settings", "menu");
    menu.split(Split_direction::VERTICALLY, 2);
    menu[0].split(Split_direction::HORIZONTALLY, 2);
    menu[0][0].init(make_image("Label"), make_position("Label"));
    Setting first(menu[0][1], "Volume", {"Low", "High"});
    Setting second(menu[1], "Volume", {"Low", "High"});

    EXPECT_EQ(menu.increment("Volume"), "High");
    EXPECT_EQ(menu[0][1].image(), first.images[1]);
    EXPECT_EQ(menu[1].image(), second.images[0]) << "the second setting is not stepped";

    menu.update_setting("Volume", "Low");
    menu[1].update_setting("Volume", "High");
    EXPECT_EQ(menu[0][1].image(), first.images[0]);
    EXPECT_EQ(menu[1].image(), second.images[1]);
    menu.update_setting("Volume", "High");
    EXPECT_EQ(menu[0][1].image(), first.images[1]);
    EXPECT_EQ(menu[1].image(), second.images[1]);
}

struct Not_setting_case {
    const char* name;
    std::vector<std::string> images; // entity names
    bool with_position;
    std::string id;
};

TEST_F(Menu_tree, ChangeSettingOnSomethingElseReturnsEmpty) {
    const Not_setting_case cases[] = {
        {"a leaf with one image is not a setting", {"Color_Red"}, true, "Color"},
        {"another id", {"Color_Red", "Color_Blue"}, true, "Size"},
        {"values without a position", {"Color_Red", "Color_Blue"}, false, "Color"},
        {"no image at all", {}, false, "Color"},
    };
    for (const Not_setting_case& c : cases) {
        SCOPED_TRACE(c.name);
        Menu menu("Settings", "menu");
        menu.split(Split_direction::SINGLE, 1);
        std::vector<std::shared_ptr<Image>> images;
        for (const std::string& name : c.images)
            images.push_back(make_image(name));
        for (std::size_t i = 0; i < images.size(); ++i) {
            if (i == 0 && c.with_position)
                menu[0].init(images[0], make_position("Color"));
            else
                menu[0].add(images[i]);
        }
        EXPECT_EQ(menu.increment(c.id), "");
        EXPECT_EQ(menu.decrement(c.id), "");
        menu.update_setting(c.id, "Blue");
        for (const auto& image : images)
            EXPECT_TRUE(image->on());
    }
}

TEST_F(Menu_tree, SettingValueNamesShorterThanTheIdGiveEmptyNames) {
    Menu menu("Settings", "menu");
    auto a = make_image("C");
    menu.root().init(a, make_position("Color"));
    menu.root().add(make_image("Color_Red"));
    EXPECT_EQ(menu.increment("Color"), "Red");
    EXPECT_EQ(menu.increment("Color"), "") << "value of an oddly named image";
    EXPECT_TRUE(a->on());
}

TEST_F(Menu_tree, UpdateSettingSelectsWithoutShowing) {
    Menu menu("Settings", "menu");
    Setting color(menu.root(), "Color", {"Red", "Green", "Blue"});
    color.set_on({false, false, true});
    menu.update_setting("Color", "Green");
    EXPECT_EQ(menu.root().image(), color.images[1]);
    EXPECT_EQ(color.on(), (std::vector<bool>{false, false, true}));
}

TEST_F(Menu_treeDeathTest, UpdateSettingWithAnUnknownValueIsFatal) {
    Menu menu("Settings", "menu");
    Setting color(menu.root(), "Color", {"Red", "Green", "Blue"});
    EXPECT_EXIT(menu.update_setting("Color", "Purple"), ::testing::ExitedWithCode(1),
                "Value Purple not found in setting Color");
}

/// Root split in two: a title row (one child holding an image) and a row of two buttons.
struct Page {
    Menu menu{"Settings", "menu"};
    std::shared_ptr<Image> root_image = make_image("Background");
    std::shared_ptr<Image> row_image = make_image("Row");
    std::shared_ptr<Image> title = make_image("Title");
    std::shared_ptr<Image> ok = make_image("Ok");
    std::shared_ptr<Image> cancel = make_image("Cancel");

    Page() {
        menu.root().init(root_image, make_position("Background"));
        menu.split(Split_direction::VERTICALLY, 2);
        menu[0].split(Split_direction::SINGLE, 1);
        menu[0][0].init(title, make_position("Title"));
        menu[1].init(row_image, make_position("Row"));
        menu[1].split(Split_direction::HORIZONTALLY, 2);
        menu[1][0].init(ok, make_position("Ok"));
        menu[1][1].init(cancel, make_position("Cancel"));
    }
};

TEST_F(Menu_tree, ApplyGivesTheImagesOfVerticesWithFewerThanTwoChildren) {
    Page page;
    std::vector<std::string> seen;
    page.menu.apply([&](std::shared_ptr<Image> image) { seen.push_back(image->entity()); });
    // The root and the button row have two children: passed over. menu[0] has one child but
    // no image: skipped.
    EXPECT_EQ(seen, (std::vector<std::string>{"Title", "Ok", "Cancel"}));

    seen.clear();
    page.menu[0].init(make_image("Header"), make_position("Header"));
    page.menu[0].apply([&](std::shared_ptr<Image> image) { seen.push_back(image->entity()); });
    EXPECT_EQ(seen, (std::vector<std::string>{"Header", "Title"})) << "vertex first, then child";
}

TEST_F(Menu_tree, ApplyOnAnEmptyMenuCallsNothing) {
    Menu menu("Settings", "menu");
    menu.split(Split_direction::SINGLE, 1);
    int calls = 0;
    menu.apply([&](std::shared_ptr<Image>) { ++calls; });
    EXPECT_EQ(calls, 0);
}

TEST_F(Menu_tree, HideSwitchesOffTheShownImages) {
    Page page;
    page.menu[0][0].split(Split_direction::SINGLE, 1);
    Setting color(page.menu[0][0][0], "Color", {"Red", "Green"});
    page.menu.update_setting("Color", "Green");
    color.set_on({true, true});
    page.menu.hide();
    for (const auto& image : {page.root_image, page.row_image, page.title, page.ok, page.cancel})
        EXPECT_FALSE(image->on()) << image->entity();
    EXPECT_EQ(color.on(), (std::vector<bool>{true, false})) << "only the shown value is touched";
}

} // namespace
