#include <memory>
#include <string>
#include <unordered_set>

#include <gtest/gtest.h>

#include <Orvane/Component/Base.h>
#include <Orvane/Component/Simple.h>

namespace {

using namespace Orvane::Component;

// A conditional whose selection the test sets.
class Pointer : public Conditional_base {
  public:
    using Conditional_base::Conditional_base;
    std::shared_ptr<Base> get() const override { return target; }
    std::shared_ptr<Base> target;
};

std::shared_ptr<Signal> make_signal(const std::string& entity) {
    return std::make_shared<Signal>(entity, "c");
}

TEST(IdTest, EqualNamesGiveEqualKeysAndHashes) {
    const Id a("Game", "status"), b("Game", "status");
    EXPECT_EQ(a, b);
    EXPECT_EQ(Id_hash{}(a), Id_hash{}(b));
    EXPECT_EQ(a.str(), "Game:status");
}

TEST(IdTest, SplitPointMattersAndCaseMatters) {
    EXPECT_FALSE(Id("a_b", "c") == Id("a", "b_c"));
    EXPECT_FALSE(Id("game", "status") == Id("Game", "status"));
    // Keys with equal hashes but different names stay distinct in a set.
    std::unordered_set<Id, Id_hash> keys{Id("x", "y"), Id("y", "x")};
    EXPECT_EQ(keys.size(), 2u);
}

TEST(BaseTest, IsSystem) {
    const std::pair<std::string, bool> cases[] = {{"Game", true},   {"Z", true},    {"game", false},
                                                  {"_Game", false}, {"1st", false}, {"", false}};
    for (const auto& [entity, expected] : cases) {
        SCOPED_TRACE("entity '" + entity + "'");
        EXPECT_EQ(make_signal(entity)->is_system(), expected);
    }
}

TEST(BaseTest, CharacterEntity) {
    const std::pair<std::string, std::string> cases[] = {{"hero", "hero"},
                                                         {"hero_body", "hero"},
                                                         {"hero_head", "hero"},
                                                         {"hero_mouth", "hero"},
                                                         {"hero_mouth_body", "hero_mouth"},
                                                         {"bob_head_body", "bob_head"},
                                                         {"_body", ""}};
    for (const auto& [entity, expected] : cases) {
        SCOPED_TRACE("entity '" + entity + "'");
        EXPECT_EQ(make_signal(entity)->character_entity(), expected);
    }
}

TEST(BaseTest, TargetEntity) {
    const std::pair<std::string, std::string> cases[] = {
        {"door", ""},          {"a_inventory_b_look", "a"},   {"_look", ""},
        {"door_look", "door"}, {"old_door_look", "old_door"}, {"key_inventory_door", "key"}};
    for (const auto& [entity, expected] : cases) {
        SCOPED_TRACE("entity '" + entity + "'");
        EXPECT_EQ(make_signal(entity)->target_entity(), expected);
    }
}

TEST(BaseTest, AlteredFlag) {
    auto s = make_signal("a");
    EXPECT_FALSE(s->was_altered());
    s->mark_as_altered();
    EXPECT_TRUE(s->was_altered());
    s->mark_as_unaltered();
    EXPECT_FALSE(s->was_altered());
}

TEST(BaseTest, PrintedForms) {
    EXPECT_EQ(std::make_shared<Signal>("Game", "exit")->str(), "Signal(Game:exit)");
    EXPECT_EQ(std::make_shared<Simple<int>>("Music", "volume", 3)->str(),
              "Simple<int>(Music:volume)");
    auto v = std::make_shared<Variable>("Game", "music", std::make_shared<Signal>("A", "b"));
    EXPECT_EQ(v->str(), "Variable(Game:music)\n--Target = Signal(A:b)\n");
}

TEST(BaseTest, ComponentStr) {
    EXPECT_EQ(component_str(nullptr, 2, "A = "), "----A = nullptr\n");
    EXPECT_EQ(component_str(make_signal("e"), 0, ""), "Signal(e:c)\n");
    // A nested composite shows its sub-components inside its str() and again after it.
    auto inner = std::make_shared<Variable>("in", "v", make_signal("leaf"));
    EXPECT_EQ(component_str(inner, 1, "P = "), "--P = Variable(in:v)\n--Target = Signal(leaf:c)\n\n"
                                               "----Target = Signal(leaf:c)\n");
}

TEST(CastTest, TypedViewAndLookThrough) {
    auto leaf = make_signal("leaf");
    auto first = std::make_shared<Pointer>("a", "b");
    auto second = std::make_shared<Pointer>("c", "d");
    EXPECT_EQ(cast<Signal>(nullptr), nullptr);
    EXPECT_EQ(cast<Signal>(leaf), leaf);
    EXPECT_EQ(cast<Base>(first), first);
    EXPECT_EQ(cast<Simple<int>>(leaf), nullptr);
    EXPECT_EQ(cast<Signal>(first), nullptr) << "a conditional selecting null";
    first->target = second;
    second->target = leaf;
    EXPECT_EQ(cast<Signal>(first), leaf) << "a chain of two conditionals";
    EXPECT_EQ(cast<Conditional_base>(first), first);
    second->target = std::make_shared<Simple<int>>("x", "y");
    EXPECT_EQ(cast<Signal>(first), nullptr) << "selects a component of another type";
}

TEST(CastTest, SelfSelectingChainsGiveNull) {
    auto a = std::make_shared<Pointer>("a", "x");
    auto b = std::make_shared<Pointer>("b", "x");
    a->target = a;
    EXPECT_EQ(cast<Signal>(a), nullptr);
    a->target = b;
    b->target = a;
    EXPECT_EQ(cast<Signal>(a), nullptr);
    // Break the cycles so that the test does not leak.
    a->target.reset();
    b->target.reset();
}

TEST(CastTest, LongButFiniteChainsAreFollowedUpToTheLimit) {
    auto leaf = make_signal("leaf");
    std::shared_ptr<Base> head = leaf;
    for (std::size_t i = 0; i < max_conditional_depth; ++i) {
        auto p = std::make_shared<Pointer>("p", std::to_string(i));
        p->target = head;
        head = p;
    }
    EXPECT_EQ(cast<Signal>(head), leaf);
    auto one_more = std::make_shared<Pointer>("p", "last");
    one_more->target = head;
    EXPECT_EQ(cast<Signal>(one_more), nullptr);
}

} // namespace
