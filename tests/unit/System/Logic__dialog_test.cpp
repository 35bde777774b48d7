// The dialog walk over small graphs: the steps it generates into Logic:action, played frame by
// frame, with the choices picked as the control system will pick them. Speech, looks and
// notifications are only recorded here; the bubbles themselves are tested with a window.

#include <algorithm>
#include <cctype>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Code.h>
#include <Orvane/Component/Dialog.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>

#include "support/Logic_store.h"

namespace {

using namespace Orvane;
using Component::Dialog;
using Orvane::Test::Logic_store;
using String = Component::Simple<std::string>;
using Choices = Component::Vector<std::string>;

/// A store with Mara as the player and Pip following, whose step engine logs the steps that a
/// dialog plays; "look", "talk" and "notify" are only logged.
class Dialog_walk : public Logic_store {
  public:
    Dialog_walk() {
        content.set<String>("Player", "name", "mara");
        content.set<String>("Follower", "name", "pip");
        // Pip stays where he is: following needs the characters' pictures
        content.set<Component::Base>("pip", "nofollow");
        for (const char* keyword : {"look", "talk", "notify"})
            logic->step_handlers[keyword] = [this, keyword](const auto& args) {
                log_step(keyword, args);
                return true;
            };
        for (const char* keyword : {"emit", "wait", "trigger"}) {
            auto real = logic->step_handlers.at(keyword);
            logic->step_handlers[keyword] = [this, keyword, real](const auto& args) {
                log_step(keyword, args);
                return real(args);
            };
        }
        // the end action of dialogs that have one
        action("bye", {{"emit", {"bye_ran"}}});
    }

    /// The dialog "chat", ending with the action of `end` (none when empty).
    std::shared_ptr<Dialog> dialog(const std::string& end) {
        return content.set<Dialog>("chat", "dialog", end);
    }

    /// Starts the dialog as the player's action and plays frames 0.1 s apart; at each offer
    /// logs the choices and picks the next of `picks`, as the control system does. Stops at
    /// an offer with no pick left, or after `frames` frames.
    void play(const std::vector<int>& picks, int frames = 60) {
        content.set<Component::Variable>(Key::character_triggered_action,
                                         action("chat_use", {{"trigger", {"chat"}}}));
        std::size_t next_pick = 0;
        for (int i = 1; i <= frames; ++i) {
            frame(i * 0.1);
            if (!status->is(Status::DIALOG))
                continue;
            const auto offered = content.get<Choices>("Dialog", "choices")->value();
            std::string line = "choices:";
            for (const std::string& choice : offered)
                line += " [" + choice + "]";
            log.push_back(line);
            EXPECT_EQ(text("Game", "current_dialog"), "chat");
            EXPECT_TRUE(has("Game", "dialog_position"));
            if (next_pick == picks.size())
                return;
            content.set<Component::Simple<int>>(Key::dialog_choice, picks[next_pick++]);
            content.emit(Key::dialog_clean);
            content.remove("Game", "current_dialog");
            content.remove("Game", "dialog_position");
            status->pop();
        }
    }

    std::vector<std::string> log;

  private:
    void log_step(const std::string& keyword, const std::vector<std::string>& args) {
        log.push_back(Component::Action::Step(keyword, args).to_string());
    }
};

/// The usual graph: a greeting, then a choice point C offering "Lamp?" (answered, back to C),
/// "Radio?" (once: unless said; its answer has a signal), "More?" (to a second choice point
/// offering "Back." to C and the silent "Later." to C) and "Bye." to the exit.
struct Usual {
    Dialog::Vertex_handle choices;
    explicit Usual(Dialog& d, bool bye_displayed = true) {
        const auto greet = d.add_vertex("ferran", "Evening.", "");
        choices = d.add_vertex("", "", "");
        const auto lamp = d.add_vertex("ferran", "Dark.", "");
        const auto radio = d.add_vertex("ferran", "Sixteen.", "radio_known");
        const auto more = d.add_vertex("", "", "");
        d.add_edge(d.vertex_in(), greet, "", "", false, true);
        d.add_edge(greet, choices, "", "", false, true);
        d.add_edge(choices, lamp, "Lamp?", "", false, true);
        d.add_edge(choices, radio, "Radio?", "said", true, true);
        d.add_edge(choices, more, "More?", "", false, true);
        d.add_edge(choices, d.vertex_out(), "Bye.", "", false, bye_displayed);
        d.add_edge(lamp, choices, "", "", false, true);
        d.add_edge(radio, choices, "", "", false, true);
        d.add_edge(more, choices, "Back.", "", false, true);
        d.add_edge(more, choices, "Later.", "", false, false);
    }
};

// The steps of the greeting, up to the first offer.
const std::vector<std::string> greeting = {
    "trigger:[chat]",          "look:[ferran]", "look:[pip, ferran]",
    "talk:[ferran, Evening.]", "wait:[]",       "trigger:[chat, continue]"};
const std::string first_offer = "choices: [Lamp?] [Radio?] [More?] [Bye.]";

std::vector<std::string> concat(std::vector<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(LogicDialogTest, LinesOfEachSpeakerAndTheirSignals) {
    Dialog_walk w;
    auto d = w.dialog("");
    const auto a = d->add_vertex("ferran", "Hello.", "greeted");
    const auto b = d->add_vertex("mara", "Hi.", "");
    const auto c = d->add_vertex("pip", "Woof.", "ACH_DOG");
    const auto h = d->add_vertex("Hinter", "Psst.", "");
    d->add_edge(d->vertex_in(), a, "", "", false, true);
    d->add_edge(a, b, "", "", false, true);
    d->add_edge(b, c, "", "", false, true);
    d->add_edge(c, h, "", "", false, true);
    w.play({});
    EXPECT_EQ(w.log,
              (std::vector<std::string>{
                  "trigger:[chat]",
                  // another character: both turn to him; his signal is emitted
                  "look:[ferran]", "look:[pip, ferran]", "talk:[ferran, Hello.]", "emit:[greeted]",
                  "wait:[]", "trigger:[chat, continue]",
                  // the player: only the follower turns
                  "look:[pip, mara]", "talk:[mara, Hi.]", "wait:[]", "trigger:[chat, continue]",
                  // the follower: only the player turns; an ACH_ signal is notified
                  "look:[pip]", "talk:[pip, Woof.]", "notify:[ACH_DOG]", "wait:[]",
                  "trigger:[chat, continue]",
                  // the narrator: nobody turns
                  "talk:[Hinter, Psst.]", "wait:[]", "trigger:[chat, continue]"}));
    EXPECT_TRUE(w.has("greeted", "signal"));
    EXPECT_EQ(w.status->value(), Status::IDLE) << "LOCKED popped at the end";
    EXPECT_EQ(w.status->size(), 1U);
    EXPECT_FALSE(w.has("Character", "triggered_action"));
}

// A walk through the usual graph: what is played and offered for a sequence of picks.
struct Walk_case {
    const char* name;
    std::string end;                // the end action, or none
    bool bye_displayed;             // whether the player says "Bye."
    int saved_position;             // -2: none; -1: the usual graph's choice point
    std::vector<int> picks;         // indices among the offered choices
    std::vector<std::string> log;   // the steps played and the choices offered
    std::vector<std::string> fired; // signals stored at the end
};

void PrintTo(const Walk_case& c, std::ostream* out) { *out << c.name; }

class LogicDialogWalkTest : public ::testing::TestWithParam<Walk_case> {};

TEST_P(LogicDialogWalkTest, PlaysAndOffers) {
    const Walk_case& c = GetParam();
    Dialog_walk w;
    auto d = w.dialog(c.end);
    const Usual graph(*d, c.bye_displayed);
    if (c.saved_position != -2)
        w.content.set<Component::Simple<int>>("Saved_game", "dialog_position",
                                              static_cast<int>(std::size_t(graph.choices)));
    w.play(c.picks);
    EXPECT_EQ(w.log, c.log);
    for (const std::string& signal : c.fired)
        EXPECT_TRUE(w.has(signal, "signal")) << signal;
    EXPECT_EQ(w.status->size(), 1U) << "the dialog left its statuses:" << w.status->str_value();
    EXPECT_FALSE(w.has("Character", "triggered_action"));
    EXPECT_FALSE(w.has("Dialog", "choice"));
    EXPECT_FALSE(w.has("Saved_game", "dialog_position"));
    EXPECT_EQ(w.content.get<Component::Action>("Logic", "action")->on(), false);
}

INSTANTIATE_TEST_SUITE_P(
    Picks, LogicDialogWalkTest,
    ::testing::Values(
        // "Radio?" is said and answered, then gone; "More?" leads straight to another choice
        // point, offered only once the player has said it; the silent "Later." goes straight
        // on; "Bye." reaches the exit, whose end action takes over at once: "Bye." is not said
        Walk_case{"said, no_next_continue, silent, exit with end action",
                  "bye",
                  true,
                  -2,
                  {1, 1, 1, 2},
                  concat({greeting,
                          {first_offer,
                           "trigger:[chat, continue]",
                           "talk:[Radio?]",
                           "wait:[]",
                           "look:[ferran]",
                           "look:[pip, ferran]",
                           "talk:[ferran, Sixteen.]",
                           "emit:[radio_known]",
                           "wait:[]",
                           "trigger:[chat, continue]",
                           "choices: [Lamp?] [More?] [Bye.]",
                           "trigger:[chat, continue]",
                           "talk:[More?]",
                           "wait:[]",
                           "trigger:[chat, no_next_continue]",
                           "choices: [Back.] [Later.]",
                           "trigger:[chat, continue]",
                           "choices: [Lamp?] [More?] [Bye.]",
                           "trigger:[chat, continue]",
                           "emit:[bye_ran]"}}),
                  // chat3: the said-marker of the fourth edge, "Radio?"
                  {"radio_known", "chat3", "bye_ran"}},
        // without an end action the picked line leading to the exit is said
        Walk_case{
            "exit without end action",
            "",
            true,
            -2,
            {3},
            concat({greeting, {first_offer, "trigger:[chat, continue]", "talk:[Bye.]", "wait:[]"}}),
            {}},
        // a silent "Bye." to an end action: nothing more is said
        Walk_case{"silent exit",
                  "bye",
                  false,
                  -2,
                  {3},
                  concat({greeting, {first_offer, "trigger:[chat, continue]", "emit:[bye_ran]"}}),
                  {"bye_ran"}},
        // a game saved at the choice point offers the same choices at once
        Walk_case{"saved position",
                  "bye",
                  true,
                  -1,
                  {0, 3},
                  {"trigger:[chat]", first_offer, "trigger:[chat, continue]", "talk:[Lamp?]",
                   "wait:[]", "look:[ferran]", "look:[pip, ferran]", "talk:[ferran, Dark.]",
                   "wait:[]", "trigger:[chat, continue]", first_offer, "trigger:[chat, continue]",
                   "emit:[bye_ran]"},
                  {"bye_ran"}},
        // a pick outside the offered choices is dropped and they are offered again
        Walk_case{"out-of-range picks",
                  "bye",
                  true,
                  -2,
                  {4, -1, 3},
                  concat({greeting,
                          {first_offer, "trigger:[chat, continue]", first_offer,
                           "trigger:[chat, continue]", first_offer, "trigger:[chat, continue]",
                           "emit:[bye_ran]"}}),
                  {"bye_ran"}}),
    [](const auto& param_info) {
        std::string name = param_info.param.name;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

// A choice point that offers nothing ends the dialog as its exit would, instead of waiting
// for a pick that cannot come.
TEST(LogicDialogTest, AChoicePointOfferingNothingEndsTheDialog) {
    struct Case {
        const char* name;
        std::string end;
        bool conditioned; // every choice disabled, or no choice at all
        std::vector<std::string> log;
    };
    const std::vector<std::string> line = {
        "trigger:[chat]",     "look:[ferran]", "look:[pip, ferran]",
        "talk:[ferran, Hm.]", "wait:[]",       "trigger:[chat, continue]"};
    const Case cases[] = {
        {"all disabled, end action", "bye", true, concat({line, {"emit:[bye_ran]"}})},
        {"all disabled, no end action", "", true, line},
        {"no choices, end action", "bye", false, concat({line, {"emit:[bye_ran]"}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Dialog_walk w;
        auto d = w.dialog(c.end);
        const auto hm = d->add_vertex("ferran", "Hm.", "");
        const auto choices = d->add_vertex("", "", "");
        d->add_edge(d->vertex_in(), hm, "", "", false, true);
        d->add_edge(hm, choices, "", "", false, true);
        if (c.conditioned) {
            d->add_edge(choices, hm, "Again?", "never_set", false, true);
            d->add_edge(choices, d->vertex_out(), "Bye.", "always_set", true, true);
            w.content.emit("always_set", "signal");
        }
        w.play({});
        EXPECT_EQ(w.log, c.log);
        EXPECT_EQ(w.status->size(), 1U) << w.status->str_value();
        EXPECT_FALSE(w.has("Dialog", "choices"));
    }
}

// A dialog started from the inventory leaves the inventory first.
TEST(LogicDialogTest, StartingDropsTheInventoryAndLocks) {
    Dialog_walk w;
    auto d = w.dialog("");
    const auto a = d->add_vertex("ferran", "Hello.", "");
    d->add_edge(d->vertex_in(), a, "", "", false, true);
    w.status->push(Status::IN_INVENTORY);
    w.action("chat_use", {{"trigger", {"chat"}}})->launch();
    w.frame(0.1);
    EXPECT_EQ(w.status->value(), Status::LOCKED);
    EXPECT_EQ(w.status->next_value(), Status::IDLE);
    auto act = w.content.get<Component::Action>("Logic", "action");
    EXPECT_EQ(w.content.get<Component::Action>(Key::character_triggered_action), act);
    EXPECT_EQ(act->str_value(), "\n * look:[ferran]\n * look:[pip, ferran]\n * talk:[ferran, "
                                "Hello.]\n * wait:[]\n * trigger:[chat, continue]");
}

// A code lock's action that goes into a dialog: the lock's timers on Logic:action (the picture
// to remove, the flash to stop, the quit that pops its two statuses) are kept by the dialog
// walk and carried out on time.
TEST(LogicDialogTest, ALockActionIntoADialogKeepsTheLocksTimers) {
    Dialog_walk w;
    auto d = w.dialog("");
    const auto a = d->add_vertex("ferran", "Well done.", "");
    d->add_edge(d->vertex_in(), a, "", "", false, true);

    // the right code was pressed at time 0: the lock "code_box" is open and locked, its quit
    // and the end of its result picture are due on Logic:action, and its action starts the
    // dialog
    auto code = w.content.set<Component::Code>("code_box", "code");
    w.content.set<Component::Variable>("Game", "code", code);
    w.action("code_box", {{"trigger", {"chat"}}});
    w.status->push(Status::IN_CODE);
    w.status->push(Status::LOCKED);
    auto logic_action = w.content.get<Component::Action>("Logic", "action");
    auto result = w.content.set<Component::Base>("Code_result", "image");
    logic_action->schedule(0.1, std::make_shared<Component::Signal>("code", "quit"));
    logic_action->schedule(0.5, result);

    for (int i = 1; i <= 40; ++i)
        w.frame(i * 0.05);
    EXPECT_TRUE(std::find(w.log.begin(), w.log.end(), "talk:[ferran, Well done.]") != w.log.end());
    EXPECT_TRUE(w.content.signal("Interface", "hide_window"));
    EXPECT_FALSE(w.has("Code_result", "image")) << "the result picture stayed on screen";
    EXPECT_EQ(w.status->size(), 1U) << "statuses left:" << w.status->str_value();
    EXPECT_TRUE(logic_action->scheduled().empty());
}

} // namespace
