#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Dialog.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>

namespace {

using Orvane::Component::Dialog;
using V = Dialog::Vertex_handle;

/// The store as get_choices sees it: signals tested by (entity, component).
struct Signals {
    std::set<std::pair<std::string, std::string>> held;
    bool signal(const std::string& entity, const std::string& component) const {
        return held.count({entity, component}) != 0;
    }
    void emit(const std::string& entity) { held.insert({entity, "signal"}); }
};

/// IN -> hello (Bob) -> choice point -> {choices...} -> bye (Bob) -> OUT.
struct Conversation {
    Dialog dialog{"Dialog_intro", "dialog", "Intro_end"};
    V hello = dialog.add_vertex("Bob", "Hello", "wave");
    V choice = dialog.add_vertex("", "", "");
    V bye = dialog.add_vertex("Bob", "Bye", "");

    Conversation() {
        dialog.add_edge(dialog.vertex_in(), hello, "", "", false, true);
        dialog.add_edge(hello, choice, "", "", false, true);
        dialog.add_edge(bye, dialog.vertex_out(), "", "", false, true);
    }
    void choice_to_bye(const std::string& line, const std::string& condition, bool unless,
                       bool displayed = true) {
        dialog.add_edge(choice, bye, line, condition, unless, displayed);
    }
};

TEST(Dialog, NewDialogHasItsTwoEnds) {
    Dialog dialog("Dialog_intro", "dialog", "Intro_end");
    EXPECT_EQ(dialog.str_name(), "Dialog");
    EXPECT_EQ(dialog.graph().vertex_count(), 2u);
    EXPECT_EQ(std::size_t(dialog.vertex_in()), 0u);
    EXPECT_EQ(std::size_t(dialog.vertex_out()), 1u);
    EXPECT_EQ(dialog.current(), V()) << "not started";
    EXPECT_EQ(dialog.graph().vertex(dialog.vertex_in()).line, "IN");
    EXPECT_EQ(dialog.graph().vertex(dialog.vertex_out()).line, "OUT");
    EXPECT_FALSE(dialog.has_incident_edges(dialog.vertex_in()));
}

TEST(Dialog, OutIsALineOnlyWithAnEndAction) {
    for (const std::string end : {"Intro_end", ""}) {
        SCOPED_TRACE("end '" + end + "'");
        Dialog dialog("Dialog_intro", "dialog", end);
        dialog.init(dialog.vertex_out());
        EXPECT_TRUE(dialog.is_over());
        EXPECT_EQ(dialog.is_line(), !end.empty());
        EXPECT_EQ(dialog.line(), (std::pair<std::string, std::string>{end, "OUT"}));
    }
}

TEST(Dialog, WalkAlongLines) {
    Conversation c;
    c.dialog.init();
    EXPECT_EQ(c.dialog.current(), c.hello);
    EXPECT_TRUE(c.dialog.is_line());
    EXPECT_TRUE(c.dialog.has_signal());
    EXPECT_EQ(c.dialog.signal(), "wave");
    EXPECT_EQ(c.dialog.line(), (std::pair<std::string, std::string>{"Bob", "Hello"}));

    c.dialog.next();
    EXPECT_EQ(c.dialog.current(), c.choice);
    EXPECT_FALSE(c.dialog.is_line());
    EXPECT_FALSE(c.dialog.has_signal());

    c.dialog.init(c.bye); // resume at a saved position
    EXPECT_EQ(c.dialog.current(), c.bye);
    c.dialog.next();
    EXPECT_TRUE(c.dialog.is_over());
}

TEST(Dialog, NextFollowsTheFirstOutEdge) {
    Conversation c;
    V other = c.dialog.add_vertex("Ann", "Hm", "");
    c.dialog.add_edge(c.hello, other, "", "", false, true);
    c.dialog.init();
    c.dialog.next();
    EXPECT_EQ(c.dialog.current(), c.choice);
}

struct End_case {
    const char* name;
    bool lines; // IN leads to a line
    bool saved; // init with a handle instead of -1
    std::size_t saved_handle;
};

TEST(Dialog, WalksWithoutAWayOnEndAtOut) {
    const End_case cases[] = {
        {"init(-1) with nothing after IN", false, false, 0},
        {"init with a handle beyond the vertices", true, true, 99},
    };
    for (const End_case& e : cases) {
        SCOPED_TRACE(e.name);
        Dialog dialog("Dialog_intro", "dialog", "Intro_end");
        if (e.lines)
            dialog.add_edge(dialog.vertex_in(), dialog.add_vertex("Bob", "Hi", ""), "", "", false,
                            true);
        dialog.init(e.saved ? V(e.saved_handle) : V());
        EXPECT_TRUE(dialog.is_over());
    }

    // next() on a line that leads nowhere.
    Dialog dialog("Dialog_intro", "dialog", "");
    V dead_end = dialog.add_vertex("Bob", "Hi", "");
    dialog.add_edge(dialog.vertex_in(), dead_end, "", "", false, true);
    dialog.init();
    ASSERT_EQ(dialog.current(), dead_end);
    dialog.next();
    EXPECT_TRUE(dialog.is_over());
    dialog.next();
    EXPECT_TRUE(dialog.is_over()) << "next() at OUT stays at OUT";
}

struct Offer_case {
    const char* name;
    std::string condition;
    bool unless;
    bool signal_held;
    bool offered;
};

TEST(Dialog, ChoicesAreOfferedByTheirCondition) {
    const Offer_case cases[] = {
        {"no condition, nothing held", "", false, false, true},
        {"no condition, unless set", "", true, false, true},
        {"X held", "Door_open", false, true, true},
        {"X absent", "Door_open", false, false, false},
        {"unless X, X held", "Door_open", true, true, false},
        {"unless X, X absent", "Door_open", true, false, true},
    };
    for (const Offer_case& o : cases) {
        SCOPED_TRACE(o.name);
        Conversation c;
        c.choice_to_bye("Ask", o.condition, o.unless);
        c.choice_to_bye("Leave", "", false);
        Signals store;
        if (o.signal_held)
            store.emit("Door_open");
        c.dialog.init(c.choice);
        std::vector<std::string> choices;
        c.dialog.get_choices(choices, store);
        const std::vector<std::string> expected = o.offered
                                                      ? std::vector<std::string>{"Ask", "Leave"}
                                                      : std::vector<std::string>{"Leave"};
        EXPECT_EQ(choices, expected);
    }
}

TEST(Dialog, ConditionIsReadFromTheSignalComponent) {
    Conversation c;
    c.choice_to_bye("Ask", "Door_open", false);
    Signals store;
    store.held.insert({"Door_open", "state"});
    c.dialog.init(c.choice);
    std::vector<std::string> choices;
    c.dialog.get_choices(choices, store);
    EXPECT_TRUE(choices.empty());
}

TEST(Dialog, SaidChoiceIsOfferedUntilPicked) {
    Conversation c;
    c.choice_to_bye("First", "said", true);
    c.choice_to_bye("Second", "", false, false);
    c.choice_to_bye("Third", "", false);
    Signals store;

    c.dialog.init(c.choice);
    std::vector<std::string> choices;
    c.dialog.get_choices(choices, store);
    EXPECT_EQ(choices, (std::vector<std::string>{"First", "Second", "Third"}));
    EXPECT_FALSE(c.dialog.is_displayed(1));

    // The first choice is edge 3 of the dialog.
    const std::string key = c.dialog.next(0);
    EXPECT_EQ(key, "Dialog_intro3");
    EXPECT_EQ(c.dialog.current(), c.bye);
    store.emit(key);

    c.dialog.init(c.choice);
    choices.clear();
    c.dialog.get_choices(choices, store);
    EXPECT_EQ(choices, (std::vector<std::string>{"Second", "Third"}));
    // Numbers shift down: choice 0 is now "Second".
    EXPECT_FALSE(c.dialog.is_displayed(0));
    EXPECT_TRUE(c.dialog.is_displayed(1));
    EXPECT_EQ(c.dialog.next(0), "") << "a choice without 'said' gives no key";
    EXPECT_EQ(c.dialog.current(), c.bye);
}

TEST(Dialog, SaidKeyIsEntityAndEdgeIndex) {
    Dialog dialog("Dialog_intro", "dialog", "");
    EXPECT_EQ(dialog.said_key(Dialog::Edge_handle(12)), "Dialog_intro12");
}

TEST(Dialog, GetChoicesAppends) {
    Conversation c;
    c.choice_to_bye("Ask", "", false);
    Signals store;
    std::vector<std::string> choices{"kept"};

    c.dialog.init(c.bye); // bye leads to OUT through a plain link with an empty line
    c.dialog.next();
    c.dialog.get_choices(choices, store); // OUT has no out-edges
    EXPECT_EQ(choices, (std::vector<std::string>{"kept"}));

    c.dialog.init(c.choice);
    c.dialog.get_choices(choices, store);
    EXPECT_EQ(choices, (std::vector<std::string>{"kept", "Ask"}));
}

struct Pick_case {
    const char* name;
    int choice;
    bool moves;
    bool displayed;
};

TEST(Dialog, PickingOutOfRange) {
    const Pick_case cases[] = {
        {"first", 0, true, true},
        {"third (displayed false)", 2, true, false},
        {"fifth of three", 4, false, true},
        {"negative", -1, false, true},
    };
    for (const Pick_case& p : cases) {
        SCOPED_TRACE(p.name);
        Conversation c;
        c.choice_to_bye("A", "", false);
        c.choice_to_bye("B", "", false);
        c.choice_to_bye("C", "", false, false);
        c.choice_to_bye("D", "Never", false); // disabled by get_choices
        Signals store;
        std::vector<std::string> choices;
        c.dialog.init(c.choice);
        c.dialog.get_choices(choices, store);
        ASSERT_EQ(choices.size(), 3u);
        EXPECT_EQ(c.dialog.is_displayed(p.choice), p.displayed);
        EXPECT_EQ(c.dialog.next(p.choice), "");
        EXPECT_EQ(c.dialog.current(), p.moves ? c.bye : c.choice);
    }
}

TEST(Dialog, EnabledFlagsPersistUntilTheNextGetChoices) {
    Conversation c;
    c.choice_to_bye("Ask", "Door_open", false);
    c.choice_to_bye("Leave", "", false);
    Signals store;
    c.dialog.init(c.choice);
    // Before any get_choices every edge counts as offered.
    EXPECT_TRUE(c.dialog.is_displayed(1));
    std::vector<std::string> choices;
    c.dialog.get_choices(choices, store);
    store.emit("Door_open"); // not seen until get_choices runs again
    c.dialog.next(0);
    EXPECT_EQ(c.dialog.current(), c.bye) << "choice 0 is Leave";
}

TEST(Dialog, ChoicesWithTheEngineStoreAndChoicesComponent) {
    Conversation c;
    c.choice_to_bye("Ask about the key", "said", true);
    c.choice_to_bye("Open the door", "Door_unlocked", false);
    c.choice_to_bye("Leave", "", false);
    Orvane::Content content;
    auto choices = content.set<Orvane::Component::Vector<std::string>>("Dialog", "choices");

    c.dialog.init(c.choice);
    c.dialog.get_choices(*choices, content);
    EXPECT_EQ(choices->value(), (std::vector<std::string>{"Ask about the key", "Leave"}));

    const std::string key = c.dialog.next(0);
    content.emit(key, "signal");
    content.emit("Door_unlocked", "signal");
    c.dialog.init(c.choice);
    choices->set({});
    c.dialog.get_choices(*choices, content);
    EXPECT_EQ(choices->value(), (std::vector<std::string>{"Open the door", "Leave"}));
    EXPECT_TRUE(content.signal(key, "signal")) << "conditions are tested, not consumed";
}

TEST(DialogDeathTest, ReadingBeforeInitIsFatal) {
    Dialog dialog("Dialog_intro", "dialog", "");
    EXPECT_EXIT(dialog.is_line(), ::testing::ExitedWithCode(1),
                "Dialog Dialog_intro:dialog read before it was started");
}

} // namespace
