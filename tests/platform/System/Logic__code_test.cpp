// The code-lock logic, frame by frame with the logic system's time: presses written as the input
// system writes them (Code::click, then the signal code:button_clicked).

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Code.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>

#include "support/Logic_store.h"
#include "support/Sdl_fixture.h"

namespace Orvane::Test {
namespace {

using Component::Action;
using Component::Image;

/// The lock "lock" open as the "show" step leaves it: four buttons in a row of the window
/// picture, the answer c, a, d, b, the window at (960, 540), the pad picture, the two result
/// pictures, the hover highlight, IN_CODE on the status, and the lock's action, which emits
/// opened:signal.
class Code_lock_test : public Sdl_test {
  public:
    void SetUp() override {
        Sdl_test::SetUp();
        code = s.content.set<Component::Code>("lock", "code");
        for (int i = 0; i < 4; ++i)
            code->add_button(std::string(1, char('a' + i)), 30 + 200 * i, 280, 160, 120);
        for (const char* value : {"c", "a", "d", "b"})
            code->add_answer_item(value);
        window = s.content.set<Image>("lock", "image", 800, 600);
        window->z() = Config::INTERFACE_BACK;
        s.content.set<Component::Absolute_position>("lock", "position", Point(960, 540));
        flash = s.content.set<Component::Cropped>("lock_button", "image", "images/objects/box.png",
                                                  Config::INTERFACE_ITEMS);
        flash->on() = false;
        success = s.content.set<Image>("Code_success", "image", 40, 40);
        failure = s.content.set<Image>("Code_failure", "image", 60, 60);
        for (const auto& picture : {success, failure})
            picture->on() = false;
        s.content.set<Image>("Code_hover", "image", 160, 120);
        s.action("lock", {{"emit", {"opened"}}});

        s.content.set<Component::Variable>("Game", "window", window);
        s.content.set<Component::Variable>("Game", "code", code);
        s.status->push(Status::IN_CODE);
    }

    /// Presses button i (its centre, in window-picture pixels).
    void press(int i) {
        ASSERT_TRUE(code->click(30 + 200 * i + 80, 340));
        s.content.emit(Key::code_button_clicked);
    }

    /// Which of the three sound signals are set ("click", "success", "failure", joined by
    /// spaces); consumes them, as the sound system does.
    std::string sounds() {
        std::string out;
        for (const char* sound : {"click", "success", "failure"})
            if (s.content.receive("code", std::string("play_") + sound))
                out += out.empty() ? sound : std::string(" ") + sound;
        return out;
    }

    /// The picture Code_result:image shares: "success", "failure", or "none".
    std::string result() const {
        auto image = s.content.request<Image>("Code_result", "image");
        if (!image)
            return "none";
        EXPECT_TRUE(image->on());
        return image->core() == success->core()   ? "success"
               : image->core() == failure->core() ? "failure"
                                                  : "another";
    }

    /// Whether the lock's action has run since the last call.
    bool opened() { return s.content.receive("opened", "signal"); }

    Point flash_position() const {
        return s.content.get<Component::Position>("lock_button", "position")->value();
    }

    Logic_store s;
    std::shared_ptr<Component::Code> code;
    std::shared_ptr<Image> window;
    std::shared_ptr<Component::Cropped> flash;
    std::shared_ptr<Image> success;
    std::shared_ptr<Image> failure;
};

TEST_F(Code_lock_test, AWrongSequenceClicksThriceThenFailsAndStartsAgain) {
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE("press " + std::to_string(k + 1));
        const double t = 1.0 + 0.25 * k;
        press(k);
        s.frame(t);
        EXPECT_EQ(sounds(), "click");
        EXPECT_EQ(result(), "none");
        EXPECT_EQ(code->entered().size(), std::size_t(k + 1));
        EXPECT_TRUE(flash->on());
        s.frame(t + 0.15);
        EXPECT_FALSE(flash->on()) << "the flash lasts 0.1 s";
    }

    press(3);
    s.frame(1.75);
    EXPECT_EQ(sounds(), "failure");
    EXPECT_EQ(result(), "failure");
    EXPECT_TRUE(code->entered().empty()) << "the sequence starts again";
    EXPECT_TRUE(flash->on());
    EXPECT_EQ(flash_position(), Point(960 + 630, 540 + 280));

    s.frame(1.86);
    EXPECT_FALSE(flash->on()) << "the flash lasts 0.1 s";
    s.frame(2.24);
    EXPECT_EQ(result(), "failure") << "the picture stays 0.5 s";
    s.frame(2.26);
    EXPECT_EQ(result(), "none");

    s.frame(3.0);
    EXPECT_TRUE(s.status->is(Status::IN_CODE)) << "a wrong code leaves the screen open";
    EXPECT_FALSE(s.content.signal("Interface", "hide_window"));
    EXPECT_FALSE(opened());
    EXPECT_EQ(sounds(), "");
}

TEST_F(Code_lock_test, TheRightSequenceFlashesSucceedsAndClosesTheScreen) {
    const int order[] = {2, 0, 3};
    for (int k = 0; k < 3; ++k) {
        press(order[k]);
        s.frame(1.0 + 0.25 * k);
        s.frame(1.15 + 0.25 * k); // the flash ends before the next press
    }
    EXPECT_EQ(sounds(), "click");

    press(1);
    s.frame(2.0);
    EXPECT_EQ(flash->xmin(), 230);
    EXPECT_EQ(flash->xmax(), 390);
    EXPECT_EQ(flash->ymin(), 280);
    EXPECT_EQ(flash->ymax(), 400);
    EXPECT_EQ(flash_position(), Point(960 + 230, 540 + 280));
    EXPECT_TRUE(s.content.get<Component::Position>("lock_button", "position")->is_interface());
    EXPECT_TRUE(flash->on());
    EXPECT_EQ(sounds(), "success");
    EXPECT_EQ(result(), "success");
    EXPECT_TRUE(code->entered().empty());
    EXPECT_TRUE(s.status->is(Status::LOCKED));
    EXPECT_TRUE(s.status->was(Status::IN_CODE));
    EXPECT_FALSE(opened());

    s.frame(2.09);
    EXPECT_FALSE(s.content.signal("Interface", "hide_window"));
    EXPECT_TRUE(s.status->is(Status::LOCKED));

    s.frame(2.11);
    EXPECT_TRUE(s.content.signal("Interface", "hide_window"));
    EXPECT_FALSE(s.has("Code_hover", "image"));
    EXPECT_EQ(s.status->size(), 1u) << "LOCKED and IN_CODE popped";
    EXPECT_TRUE(s.status->is(Status::IDLE));
    EXPECT_TRUE(opened()) << "the lock's action runs in the frame the screen closes";
    EXPECT_FALSE(flash->on());
    EXPECT_EQ(result(), "success");

    s.frame(2.49);
    EXPECT_EQ(result(), "success");
    s.frame(2.51);
    EXPECT_EQ(result(), "none") << "gone 0.5 s after the press";
    EXPECT_FALSE(opened()) << "launched once";
    EXPECT_EQ(s.status->size(), 1u);
}

TEST_F(Code_lock_test, ASecondPressWithinTheFlashMovesItAndTheFirstEndHidesItEarly) {
    press(0);
    s.frame(1.0);
    press(2);
    s.frame(1.05);
    EXPECT_EQ(flash->xmin(), 430);
    EXPECT_EQ(flash->xmax(), 590);
    EXPECT_EQ(flash_position(), Point(960 + 430, 540 + 280));
    EXPECT_TRUE(flash->on());

    s.frame(1.11);
    EXPECT_FALSE(flash->on()) << "the first press's end hides the second flash";
    s.frame(1.16);
    EXPECT_FALSE(flash->on());
    EXPECT_EQ(code->entered().size(), 2u);
}

TEST_F(Code_lock_test, CheatSolvesTheLockWithoutAPicture) {
    press(0);
    s.frame(1.0);
    sounds();
    s.content.emit(Key::code_cheat);
    s.frame(1.5);
    EXPECT_EQ(sounds(), "success");
    EXPECT_EQ(result(), "none");
    EXPECT_TRUE(code->entered().empty());
    EXPECT_TRUE(s.status->is(Status::LOCKED));

    s.frame(1.61);
    EXPECT_TRUE(s.content.signal("Interface", "hide_window"));
    EXPECT_TRUE(s.status->is(Status::IDLE));
    EXPECT_EQ(s.status->size(), 1u);
    EXPECT_TRUE(opened());
    EXPECT_FALSE(s.has("Code_hover", "image"));
}

// A room entry as the data system leaves it: the room read, Game:in_new_room set for one frame,
// the entry action of the origin "entry" waiting to be launched.
void enter_room(Logic_store& s) {
    s.content.remove("Game", "new_room", true);
    s.content.set<Component::Simple<std::string>>("Game", "new_room_origin", "entry");
    s.content.emit("Game", "in_new_room");
}

/// What leads from a success at 1.0 to a room entry, and when the room is entered.
struct Entry_case {
    const char* name;
    std::function<void(Code_lock_test&)> before_entry;
    double entry;
    bool hidden_at_entry;
};

void PrintTo(const Entry_case& c, std::ostream* os) { *os << c.name; }

class Code_lock_room_entry : public Code_lock_test,
                             public ::testing::WithParamInterface<Entry_case> {};

TEST_P(Code_lock_room_entry, LeavesNoPictureNoLockedAndRunsTheLockActionOnceAtMost) {
    const Entry_case& c = GetParam();
    s.action("entry", {{"emit", {"entered"}}});
    for (int i : {2, 0, 3, 1})
        press(i);
    s.frame(1.0);
    ASSERT_EQ(result(), "success");
    c.before_entry(*this);

    enter_room(s);
    s.frame(c.entry);
    s.content.remove("Game", "in_new_room");
    EXPECT_EQ(result(), "none") << "the picture goes with the schedule that was to end it";
    EXPECT_TRUE(s.content.receive("entered", "signal"));
    EXPECT_EQ(s.content.receive("Interface", "hide_window"), c.hidden_at_entry);
    EXPECT_FALSE(s.has("Code_hover", "image"));
    EXPECT_EQ(s.status->size(), 1u) << "no LOCKED and no IN_CODE left";
    EXPECT_TRUE(s.status->is(Status::IDLE));
    EXPECT_FALSE(flash->on());
    EXPECT_TRUE(code->entered().empty());

    for (double t : {c.entry + 0.2, c.entry + 1.0})
        s.frame(t);
    EXPECT_FALSE(opened()) << "the lock's action is launched once, if ever";
    EXPECT_EQ(s.status->size(), 1u);
    EXPECT_TRUE(s.content.get<Action>("Logic", "action")->scheduled().empty());
}

const std::vector<Entry_case> entry_cases = {
    {"lock_action_loads_a_room",
     [](Code_lock_test& lock) {
         lock.s.action("lock", {{"emit", {"opened"}}, {"load", {"hall", "entry"}}});
         lock.s.frame(1.11); // the screen closes, the action asks for the room
         EXPECT_TRUE(lock.opened());
         EXPECT_TRUE(lock.s.status->is(Status::LOCKED)) << "the load's own LOCKED";
         EXPECT_EQ(lock.s.status->size(), 2u);
         lock.s.content.receive("Interface", "hide_window");
     },
     1.2, false},
    {"another_script_loads_a_room_while_the_screen_closes",
     [](Code_lock_test& lock) {
         lock.s.action("other", {{"load", {"hall", "entry"}}})->launch();
         lock.s.frame(1.05);
         EXPECT_FALSE(lock.s.content.signal("Interface", "hide_window"));
     },
     1.08, true},
};

INSTANTIATE_TEST_SUITE_P(Cases, Code_lock_room_entry, ::testing::ValuesIn(entry_cases),
                         [](const ::testing::TestParamInfo<Entry_case>& param) {
                             return std::string(param.param.name);
                         });

using Code_lockDeathTest = Code_lock_test;

// One missing component per row: the frame that needs it stops the program.
TEST_F(Code_lockDeathTest, MissingComponentsAreFatal) {
    struct Case {
        const char* name;
        const char* signal;
        const char* entity;
        const char* component;
    };
    const std::vector<Case> cases = {
        {"a press without Game:code", "button_clicked", "Game", "code"},
        {"a press without Game:window", "button_clicked", "Game", "window"},
        {"a press without the window's position", "button_clicked", "lock", "position"},
        {"a press without the pad picture", "button_clicked", "lock_button", "image"},
        {"a failure without its picture", "button_clicked", "Code_failure", "image"},
        {"a success without its picture", "button_clicked", "Code_success", "image"},
        {"a press without Logic:action", "button_clicked", "Logic", "action"},
        {"a flash end without the pad picture", "stop_flashing", "lock_button", "image"},
        {"a quit without the lock's action", "quit", "lock", "action"},
        {"a cheat without Game:code", "cheat", "Game", "code"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string entered = std::string(c.name) == "a success without its picture"
                                        ? "cadb"
                                        : "aaaa"; // a complete sequence, right or wrong
        EXPECT_EXIT(
            {
                for (char value : entered)
                    code->click(30 + 200 * (value - 'a') + 80, 340);
                s.content.remove(c.entity, c.component);
                s.content.emit("code", c.signal);
                s.frame(1.0);
            },
            ::testing::ExitedWithCode(1),
            std::string("Cannot find ") + c.entity + ":" + c.component);
    }
}

} // namespace
} // namespace Orvane::Test
