// Mara talks with Ferran in the sample game's quay, headless, through the engine in this
// process: his dialog, chosen as the player's action, is played to its end with the choices
// picked by index as the control system will pick them, and leaves the coins, the hook and the
// radio channel as the dialog file says.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Dialog.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Logic.h>

#include "support/Fixed_step_engine.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;
using String = Component::Simple<std::string>;
using Lines = std::vector<std::string>;

// The logic system, noting every line that a "talk" step says.
class Listening_logic : public System::Logic {
  public:
    explicit Listening_logic(Content& content) : Logic(content) {
        auto talk = step_handlers.at("talk");
        step_handlers["talk"] = [this, talk](const Arguments& args) {
            std::string said;
            for (const std::string& arg : args)
                said += (said.empty() ? "" : " | ") + arg;
            lines.push_back(said);
            return talk(args);
        };
    }
    Lines lines;
};

class Dialog_engine : public Orvane::Test::Fixed_step_engine {
  public:
    std::shared_ptr<Listening_logic> logic;

  protected:
    Systems make_systems() override {
        Systems s = Fixed_step_engine::make_systems();
        s.logic = logic = std::make_shared<Listening_logic>(content());
        return s;
    }
};

TEST(EngineDialogTest, FerransDialogPlaysToItsEndWithPickedChoices) {
    const Orvane::Test::Temp_pref_folder pref;
    ASSERT_FALSE(Orvane::Test::sample_data().empty())
        << "ORVANE_BUILD_DIR is not set: run through ctest";
    Dialog_engine engine;
    ASSERT_TRUE(engine.start_up(Orvane::Test::sample_data()));
    Content& content = engine.content();
    auto status = content.request<Component::Status>(Fast_access_component::GAME_STATUS);

    // The opening, skipped a few frames in, until the game waits for the player.
    int frame = 0;
    bool idle = false;
    while (!idle && frame < 1200) {
        if (++frame == 5)
            content.emit(Key::game_skip_cutscene);
        ASSERT_TRUE(engine.run());
        auto start = content.request<Component::Action>("start", "action");
        idle = frame > 5 && status->value() == Status::IDLE && start && !start->on();
    }
    ASSERT_TRUE(idle) << "the opening did not end";

    // Mara carries the rope and has three coins, through the steps a script would use.
    for (const char* step : {"set rope inventory_rope", "emit rope_carried", "add coins 3"}) {
        content.set<String>(Key::test_console_action, std::string(step));
        ASSERT_TRUE(engine.run());
    }
    ASSERT_TRUE(content.signal("ferran_can_pay", "signal"));
    const std::string status_before = status->str_value();
    engine.logic->lines.clear();

    // Talk to Ferran, as a click on his verb chooses it.
    content.set<Component::Variable>(Key::character_triggered_action,
                                     content.get<Component::Action>("ferran_move", "action"));

    // The picks, by their text; the index written is the choice's place among those offered.
    const Lines picks = {"How do I call the harbour?", "Could you lend me a hook?",
                         "Here are two coins."};
    std::vector<Lines> offers;
    // bubbles made (each stamps its creation time) and bubbles gone from the screen
    int bubbles = 0;
    int bubbles_gone = 0;
    double made_at = content.value<Component::Simple<double>>("Dialog", "creation_time", -1.0);
    bool bubble_shown = false;
    bool ended = false;
    for (int i = 0; i < 6000 && !ended; ++i) {
        ASSERT_TRUE(engine.run());
        const bool shown = content.request<Component::Base>("Comment_0", "image") != nullptr;
        const double made =
            content.value<Component::Simple<double>>("Dialog", "creation_time", -1.0);
        if (made != made_at) {
            EXPECT_TRUE(shown) << "a bubble was made at " << made;
            ++bubbles;
            made_at = made;
        }
        bubbles_gone += bubble_shown && !shown ? 1 : 0;
        bubble_shown = shown;
        if (status->value() == Status::DIALOG) {
            EXPECT_FALSE(shown) << "a bubble is still up while the choices are offered";
            EXPECT_EQ(content.value<String>("Game", "current_dialog", ""), "ferran");
            const Lines offered =
                content.get<Component::Vector<std::string>>("Dialog", "choices")->value();
            offers.push_back(offered);
            ASSERT_LT(offers.size(), picks.size() + 1) << "offered once more than picked";
            const auto pick = std::find(offered.begin(), offered.end(), picks[offers.size() - 1]);
            ASSERT_NE(pick, offered.end()) << picks[offers.size() - 1] << " is not offered";
            content.set<Component::Simple<int>>(Key::dialog_choice,
                                                static_cast<int>(pick - offered.begin()));
            content.emit(Key::dialog_clean);
            content.remove("Game", "current_dialog");
            content.remove("Game", "dialog_position");
            status->pop();
            continue;
        }
        auto pays = content.request<Component::Action>("ferran_pays", "action");
        ended = offers.size() == picks.size() && status->str_value() == status_before && !shown &&
                pays && !pays->on() &&
                !content.request<Component::Base>(Key::character_triggered_action);
    }
    ASSERT_TRUE(ended) << "the dialog did not end; status" << status->str_value();

    // What was offered: the harbour question once, the coins only after the hook was asked
    // for; the silent "Goodbye." is offered with the others.
    EXPECT_EQ(offers, (std::vector<Lines>{
                          {"What happened to the lamp?", "Could you lend me a hook?",
                           "How do I call the harbour?", "Goodbye."},
                          {"What happened to the lamp?", "Could you lend me a hook?", "Goodbye."},
                          {"Here are two coins.", "Not just now."}}));
    // What was said, in order: each picked line by Mara, then Ferran's answer; the narrator last.
    EXPECT_EQ(engine.logic->lines,
              (Lines{"ferran | Evening, Mara. Come about the lamp?", "How do I call the harbour?",
                     "ferran | Channel sixteen. The harbour master listens all night.",
                     "Could you lend me a hook?", "ferran | Two coins and it's yours.",
                     "Here are two coins.", "ferran | Thank you kindly. Here's the hook.",
                     "Hinter | A rope and a hook: that makes a grapnel."}));
    EXPECT_EQ(bubbles, static_cast<int>(engine.logic->lines.size())) << "one bubble a line";
    // a line that follows another in the same stretch replaces its bubble in the same frame
    EXPECT_EQ(bubbles_gone, 5) << "each stretch's last bubble goes before what comes next";

    // The end action settled both signals: two coins paid for the hook, and the channel noted.
    EXPECT_EQ(content.value<Component::Simple<int>>("coins", "value", -1), 1);
    EXPECT_EQ(content.value<String>("hook", "state", ""), "inventory_hook");
    EXPECT_FALSE(content.signal("paid_ferran", "signal"));
    EXPECT_FALSE(content.signal("radio_known", "signal"));
    EXPECT_FALSE(content.signal("rope_carried", "signal")) << "the hook question stays";
    const auto numbers = content.get<Component::Vector<std::string>>("phone_numbers", "list");
    EXPECT_EQ(numbers->value(), Lines{"harbour_radio"});
    // the harbour question is marked as said
    auto dialog = content.get<Component::Dialog>("ferran", "dialog");
    int said = 0;
    for (std::size_t e = 0; e < dialog->graph().edge_count(); ++e) {
        const Component::Dialog::Edge_handle edge(e);
        if (dialog->graph().edge(edge).condition == "said") {
            ++said;
            EXPECT_TRUE(content.signal(dialog->said_key(edge), "signal"));
        }
    }
    EXPECT_EQ(said, 1);
    engine.tear_down();
}

} // namespace
