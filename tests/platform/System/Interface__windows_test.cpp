#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Code.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Interface.h>

#include "support/Interface_fixture.h"

namespace Orvane::System {
namespace {

using Component::Image;
using String = Component::Simple<std::string>;

class Interface_windows_test : public Orvane::Test::Interface_fixture {
  protected:
    void SetUp() override {
        Interface_fixture::SetUp();
        interface.init();
        text("Player", "name", "mara");
        text("mara", "color", "FFD23F");
        // a window of 500 x 400 centred on the view, a keypad button at (100, 200), 80 x 60
        window = content.set<Image>("note_sheet", "image", 500, 400, 250, 250, 250);
        window->on() = false;
        content.set<Component::Absolute_position>("note_sheet", "position", Point(960, 540));
        content.set<Component::Variable>(Key::game_window, window);
        code = content.set<Component::Code>(Key::game_code);
        code->add_button("circle", 100, 200, 80, 60);
        code->add_button("square", 300, 200, 80, 60);
        content.set<Component::Font>(Key::dialog_font, "fonts/DejaVuSans.ttf", 60);
        state = content.set<String>(Key::cursor_state, "default");
        auto cursor_image = content.set<Component::Simple_conditional<std::string>>(
            Key::cursor_image, state);
        for (const char* s : {"default", "object", "goto_left", "goto_right", "selected"})
            cursor_image->add(s, std::make_shared<Image>("Cursor", "image", 20, 20));
    }
    void choices(const std::vector<std::string>& lines) {
        content.set<Component::Vector<std::string>>(Key::dialog_choices, lines);
    }
    std::shared_ptr<Image> line(std::size_t i, const char* look) {
        return image("Dialog_choice_" + std::to_string(i) + "_" + look);
    }
    Point line_at(std::size_t i, const char* look) {
        return at("Dialog_choice_" + std::to_string(i) + "_" + look);
    }
    // Draws an image as the graphic system does: its origin on its position, scaled.
    void draw(const std::shared_ptr<Image>& image, const Point& p) {
        const double scale = image->scale();
        sdl.draw(image->core(), image->alpha(), 0, 0, 0, image->width(), image->height(),
                 p.x() - image->origin().x() * scale, p.y() - image->origin().y() * scale,
                 image->width() * scale, image->height() * scale);
    }

    std::shared_ptr<Image> window;
    std::shared_ptr<Component::Code> code;
    std::shared_ptr<String> state;
};

TEST_F(Interface_windows_test, WindowGrowsInAndShrinksAway) {
    const double eased = std::sqrt(std::sin(std::acos(-1.0) / 4)); // half-way on the curve
    struct Step {
        double t;
        double scale;
        int alpha;
    };
    clock->set(2);
    content.emit(Key::interface_show_window);
    interface.update_code_hover();
    EXPECT_FALSE(content.signal(Key::interface_show_window));
    EXPECT_TRUE(window->on());
    auto grow = content.get<Component::GUI_animation>("note_sheet", "animation");
    for (const Step& s : {Step{2, 0, 0}, Step{2.125, eased, int(255 * eased)}, Step{2.25, 1, 255}}) {
        SCOPED_TRACE(s.t);
        grow->update(s.t);
        EXPECT_NEAR(window->scale(), s.scale, 1e-9);
        EXPECT_NEAR(window->alpha(), s.alpha, 1);
    }

    clock->set(5);
    content.emit(Key::interface_hide_window);
    interface.update_code_hover();
    auto shrink = content.get<Component::GUI_animation>("note_sheet", "animation");
    for (const Step& s :
         {Step{5, 1, 255}, Step{5.125, 1 - eased, int(255 * (1 - eased))}, Step{5.25, 0, 0}}) {
        SCOPED_TRACE(s.t);
        shrink->update(s.t);
        EXPECT_NEAR(window->scale(), s.scale, 1e-9);
        EXPECT_NEAR(window->alpha(), s.alpha, 1);
    }
    EXPECT_FALSE(window->on()) << "switched off at the end";
}

TEST_F(Interface_windows_test, HoverMarkOverTheButtonInThePlayersColour) {
    ASSERT_TRUE(code->hover(110, 210));
    content.emit(Key::code_hover);
    interface.update_code_hover();
    auto mark = image("Code_hover");
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->width(), 80);
    EXPECT_EQ(mark->height(), 60);
    EXPECT_EQ(mark->z(), Config::INTERFACE_ITEMS);
    EXPECT_EQ(mark->collision(), Component::Collision_type::UNCLICKABLE);
    // the window's centre less half its size, plus the button's corner
    EXPECT_EQ(at("Code_hover"), Point(960 - 250 + 100, 540 - 200 + 200));

    sdl.begin();
    draw(mark, at("Code_hover"));
    const Orvane::Test::Rgb got = pixel(810 + 40, 540 + 30);
    // half of FFD23F over black
    EXPECT_NEAR(got.r, 128, 2) << got;
    EXPECT_NEAR(got.g, 105, 2) << got;
    EXPECT_NEAR(got.b, 32, 2) << got;
}

TEST_F(Interface_windows_test, MouseLeavingTheKeypadRemovesTheMarkAControllerKeepsIt) {
    for (Input_mode m : {MOUSE, GAMEPAD, TOUCHSCREEN}) {
        SCOPED_TRACE(int(m));
        mode->set(m);
        code->hover(310, 210);
        content.emit(Key::code_hover);
        interface.update_code_hover();
        ASSERT_TRUE(image("Code_hover"));
        EXPECT_EQ(at("Code_hover"), Point(960 - 250 + 300, 540 - 200 + 200));
        interface.update_code_hover(); // no hover this frame
        EXPECT_EQ(bool(image("Code_hover")), m != MOUSE);
        content.remove(Key::code_hover_image, true);
    }
}

TEST_F(Interface_windows_test, LinesFromTheBottomWithAPanel) {
    game_status->push(Status::DIALOG);
    choices({"First line", "Second line", "Third line"});
    content.set<Component::Simple<int>>(Key::interface_active_dialog_item, 1);
    interface.update_dialog_choices();

    const double h = line(0, "off")->height() * 0.75;
    const int y1 = int(1070 - h);
    const int y0 = int(y1 - h);
    const int top = int(y0 - h);
    EXPECT_EQ(line_at(2, "off"), Point(10, 1070));
    EXPECT_EQ(line_at(1, "off"), Point(10, y1));
    EXPECT_EQ(line_at(0, "off"), Point(10, y0));
    EXPECT_EQ(line_at(1, "on"), Point(10, y1));
    auto panel = image("Dialog_choice_background");
    ASSERT_TRUE(panel);
    // (a rectangle this wide is stored smaller and scaled up, to within its scale)
    EXPECT_NEAR(panel->height() * panel->scale(), 1100 - top, panel->scale())
        << "20 pixels above the highest line";
    EXPECT_DOUBLE_EQ(panel->width() * panel->scale(), 1920);
    EXPECT_EQ(at("Dialog_choice_background"), Point(0, 1080));
    // the highlighted line shows in the player's colour, the others in white
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(line(i, "off")->on(), i != 1);
        EXPECT_EQ(line(i, "on")->on(), i == 1);
        EXPECT_EQ(line(i, "off")->z(), Config::DIALOG_LINES);
        EXPECT_DOUBLE_EQ(line(i, "off")->scale(), 0.75);
    }

    // 50-pixel lines: bottoms at 1070, 1020 and 970, a 180-pixel panel
    Config::interface_scale = 50.0 / (0.75 * line(0, "off")->height());
    content.emit(Key::dialog_clean);
    interface.update_dialog_choices();
    EXPECT_NEAR(line(0, "off")->height() * line(0, "off")->scale(), 50, 1e-9);
    const double y_1 = line_at(1, "off").y();
    EXPECT_TRUE(y_1 == 1020 || y_1 == 1019) << y_1; // truncated after the subtraction
    EXPECT_EQ(line_at(2, "off").y(), 1070);
    auto panel_180 = image("Dialog_choice_background");
    EXPECT_NEAR(panel_180->height() * panel_180->scale(), 180, 3);
}

TEST_F(Interface_windows_test, EmptyChoicesAndTheWidthCap) {
    game_status->push(Status::DIALOG);
    choices({});
    interface.update_dialog_choices();
    auto panel = image("Dialog_choice_background");
    EXPECT_DOUBLE_EQ(panel->height() * panel->scale(), 30);

    content.emit(Key::dialog_clean);
    choices({std::string(200, 'W'), "short"});
    interface.update_dialog_choices();
    auto wide = line(0, "off");
    EXPECT_GT(wide->width() * 0.75, 1900);
    EXPECT_NEAR(wide->width() * wide->scale(), 1900, 1e-9);
    EXPECT_DOUBLE_EQ(line(0, "on")->scale(), wide->scale());
    EXPECT_DOUBLE_EQ(line(1, "off")->scale(), 0.75);
}

TEST_F(Interface_windows_test, PauseOverADialogHidesTheLinesAndBringsThemBack) {
    game_status->push(Status::DIALOG);
    choices({"One", "Two"});
    interface.update_dialog_choices();
    const auto first = line(0, "off");
    const Point at0 = line_at(0, "off");

    game_status->push(Status::PAUSE);
    interface.update_dialog_choices();
    EXPECT_FALSE(image("Dialog_choice_background")->on());
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_FALSE(line(i, "off")->on());
        EXPECT_FALSE(line(i, "on")->on());
    }

    game_status->pop();
    interface.update_dialog_choices();
    EXPECT_TRUE(image("Dialog_choice_background")->on());
    EXPECT_EQ(line(0, "off"), first) << "not built again";
    EXPECT_TRUE(line(0, "off")->on());
    EXPECT_EQ(line_at(0, "off"), at0);

    // a status that has nothing to do with dialogs leaves them alone
    game_status->pop();
    interface.update_dialog_choices();
    EXPECT_TRUE(line(0, "off"));
}

TEST_F(Interface_windows_test, CleanUpRemovesTheLinesThatWereBuilt) {
    // the list is replaced while its lines are shown (a dialog started by another action):
    // the clean-up removes what was built, whatever the list holds now
    for (const std::vector<std::string>& replaced :
         {std::vector<std::string>{"a", "b", "c", "d", "e"}, std::vector<std::string>{"a"}}) {
        SCOPED_TRACE(replaced.size());
        game_status->push(Status::DIALOG);
        choices({"One", "Two", "Three"});
        interface.update_dialog_choices();
        ASSERT_TRUE(line(2, "off"));
        choices(replaced);
        content.emit(Key::dialog_clean);
        interface.update_dialog_choices(); // builds the new list at once
        for (std::size_t i = 0; i < 6; ++i) {
            EXPECT_EQ(bool(line(i, "off")), i < replaced.size()) << i;
            EXPECT_EQ(bool(line(i, "on")), i < replaced.size()) << i;
        }
        game_status->pop();
        interface.update_dialog_choices();
        content.emit(Key::dialog_clean);
        interface.update_dialog_choices();
        for (std::size_t i = 0; i < 6; ++i)
            EXPECT_FALSE(line(i, "off")) << i;
        EXPECT_FALSE(image("Dialog_choice_background"));
        EXPECT_FALSE(content.request<Component::Base>("Dialog_choice_background", "position"));
    }
}

TEST_F(Interface_windows_test, LeftOverCleanFromARoomChangeSparesTheNextList) {
    content.emit(Key::dialog_clean); // the store's cleaning between rooms
    interface.update_dialog_choices();
    EXPECT_FALSE(content.signal(Key::dialog_clean)) << "taken with nothing to clean";
    game_status->push(Status::DIALOG);
    choices({"One", "Two"});
    interface.update_dialog_choices();
    interface.update_dialog_choices();
    EXPECT_TRUE(line(0, "off"));
    EXPECT_TRUE(image("Dialog_choice_background"));
}

TEST_F(Interface_windows_test, HighlightedLineOnScreenInThePlayersColour) {
    game_status->push(Status::DIALOG);
    choices({"Hello", "Bye"});
    content.set<Component::Simple<int>>(Key::interface_active_dialog_item, 0);
    interface.update_dialog_choices();
    sdl.begin();
    for (std::size_t i = 0; i < 2; ++i)
        for (const char* look : {"off", "on"})
            if (line(i, look)->on())
                draw(line(i, look), line_at(i, look));
    auto count = [&](std::size_t i, const Orvane::Test::Rgb& colour) {
        auto l = line(i, "off");
        const Point p = line_at(i, "off");
        const int w = int(l->width() * l->scale());
        const int h = int(l->height() * l->scale());
        int n = 0;
        for (const auto& px : read(int(p.x()), int(p.y()) - h, w, h))
            n += std::abs(px.r - colour.r) <= 3 && std::abs(px.g - colour.g) <= 3 &&
                 std::abs(px.b - colour.b) <= 3;
        return n;
    };
    const Orvane::Test::Rgb gold{0xFF, 0xD2, 0x3F};
    const Orvane::Test::Rgb white{255, 255, 255};
    EXPECT_GT(count(0, gold), 20);
    EXPECT_EQ(count(0, white), 0);
    EXPECT_GT(count(1, white), 20);
    EXPECT_EQ(count(1, gold), 0);
}

TEST_F(Interface_windows_test, CursorStates) {
    content.set<Image>("key", "image", 30, 30, 10, 20, 30);
    text("door", "name", "door");
    content.set<Component::Absolute_position>("door", "label", Point(500, 500));
    text("crate", "name", "crate");
    content.set<Component::Absolute_position>("crate", "label", Point(900, 500));
    struct Case {
        const char* name;
        Input_mode mode;
        Status status;
        bool carried;
        std::string active; // "" none
        int walk_to;        // -1 none, 0 left, 1 right
        const char* state;
        bool carried_image;
    };
    const std::vector<Case> cases = {
        {"nothing", MOUSE, Status::IDLE, false, "", -1, "default", false},
        {"object", MOUSE, Status::IDLE, false, "crate", -1, "object", false},
        {"walk left", MOUSE, Status::IDLE, false, "door", 0, "goto_left", false},
        {"walk right", MOUSE, Status::IDLE, false, "door", 1, "goto_right", false},
        {"carried", MOUSE, Status::OBJECT, true, "", -1, "selected", true},
        {"carried, then dropped on an object", MOUSE, Status::IDLE, false, "crate", -1,
         "object", false},
        {"carried again", MOUSE, Status::OBJECT, true, "", -1, "selected", true},
        {"menu", MOUSE, Status::IN_MENU, true, "", -1, "default", false},
        {"verb for an item", MOUSE, Status::INVENTORY_ACTION, false, "crate", -1, "default",
         false},
        {"carried once more", MOUSE, Status::OBJECT, true, "", -1, "selected", true},
        {"touch", TOUCHSCREEN, Status::IDLE, true, "crate", -1, "none", false},
        {"carried under the mouse", MOUSE, Status::OBJECT, true, "", -1, "selected", true},
        {"controller", GAMEPAD, Status::IDLE, false, "crate", -1, "none", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mode->set(c.mode);
        game_status->push(c.status);
        content.remove(Key::interface_source_object, true);
        if (c.carried)
            text("Interface", "source_object", "key");
        content.remove(Key::go_to("door"), "right", true);
        if (c.walk_to >= 0)
            content.set<Component::Boolean>(Key::go_to("door"), "right", c.walk_to == 1);
        content.remove(Key::interface_active_object, true);
        if (!c.active.empty())
            text("Interface", "active_object", c.active);
        interface.update_active_objects();
        interface.update_cursor();
        EXPECT_EQ(state->value(), c.state);
        auto carried = content.request<Image>("Selected_object", "image");
        EXPECT_EQ(bool(carried), c.carried_image);
        if (carried) {
            EXPECT_DOUBLE_EQ(carried->scale(), 0.28);
            EXPECT_EQ(int(carried->alpha()), 255);
            EXPECT_EQ(carried->z(), Config::FAST_FORWARD);
            EXPECT_EQ(carried->width(), 30);
        }
        if (c.mode == MOUSE) {
            EXPECT_DOUBLE_EQ(content.get<Image>(Key::cursor_image)->scale(), 0.5);
        }
        // the carried object follows the cursor
        EXPECT_EQ(content.get<Component::Position>(Key::selected_object_position)->value(),
                  cursor->value());
        game_status->pop();
    }
}

} // namespace
} // namespace Orvane::System
