#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Inventory.h>

namespace {

using Orvane::Component::Inventory;

Inventory with_items(std::size_t n) {
    Inventory inventory("Game", "inventory");
    for (std::size_t i = 0; i < n; ++i)
        inventory.add("item" + std::to_string(i));
    return inventory;
}

TEST(InventoryTest, Paging) {
    struct Case {
        std::size_t items;
        std::size_t nexts_that_move;
    };
    const Case cases[] = {{0, 0}, {9, 0}, {10, 1}, {12, 3}};
    for (const auto& [items, moves] : cases) {
        SCOPED_TRACE(::testing::Message() << items << " items");
        Inventory inventory = with_items(items);
        for (std::size_t i = 0; i < moves; ++i)
            EXPECT_TRUE(inventory.next());
        EXPECT_FALSE(inventory.next());
        EXPECT_EQ(inventory.position(), moves);
        for (std::size_t i = 0; i < moves; ++i)
            EXPECT_TRUE(inventory.prev());
        EXPECT_FALSE(inventory.prev());
        EXPECT_EQ(inventory.position(), 0u);
    }
}

TEST(InventoryTest, RemoveTakesTheFirstMatchAndKeepsThePosition) {
    Inventory inventory = with_items(12);
    for (int i = 0; i < 3; ++i)
        inventory.next();
    inventory.remove("item5");
    EXPECT_EQ(inventory.position(), 3u);
    EXPECT_EQ(inventory.size(), 11u);
    EXPECT_EQ(inventory.size() - inventory.position(), 8u) << "eight items shown";
    inventory.remove("absent");
    EXPECT_EQ(inventory.size(), 11u);

    Inventory twice("Game", "inventory");
    twice.add("key");
    twice.add("map");
    twice.add("key");
    twice.remove("key");
    EXPECT_EQ(twice.data(), (std::vector<std::string>{"map", "key"}));
    EXPECT_EQ(twice.get(1), "key");
    EXPECT_EQ(std::vector<std::string>(twice.begin(), twice.end()), twice.data());
}

TEST(InventoryTest, ClearResetsThePosition) {
    Inventory inventory = with_items(10);
    inventory.next();
    inventory.clear();
    EXPECT_EQ(inventory.size(), 0u);
    EXPECT_EQ(inventory.position(), 0u);
    EXPECT_EQ(inventory.str(), "Inventory(Game:inventory)");
}

TEST(InventoryDeathTest, GetPastTheEnd) {
    Inventory inventory = with_items(2);
    EXPECT_EXIT(inventory.get(2), ::testing::ExitedWithCode(1),
                "Inventory item 2 requested from Inventory\\(Game:inventory\\) of size 2");
}

} // namespace
