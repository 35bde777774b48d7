#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Third_party/Resource_manager.h>

namespace Orvane::Third_party {
namespace {

struct Counted_cache : ::testing::Test {
    std::vector<int> deleted;
    int made = 0;
    Resource_manager<int> cache{[this](int* v) {
        deleted.push_back(*v);
        delete v;
    }};
    std::function<int*()> maker(int value) {
        return [this, value] {
            ++made;
            return new int(value);
        };
    }
};

TEST_F(Counted_cache, SameKeyIsMadeOnce) {
    auto a = cache.get("a", maker(1));
    auto b = cache.get("a", maker(2));
    EXPECT_EQ(a.get(), b.get());
    EXPECT_EQ(*b, 1);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(cache.request("a").get(), a.get());
    EXPECT_EQ(cache.request("b"), nullptr);
}

TEST_F(Counted_cache, ClearKeepsOnlyHeldEntries) {
    auto held = cache.get("held", maker(1));
    cache.get("dropped", maker(2));
    cache.clear();
    EXPECT_EQ(deleted, std::vector<int>{2});
    EXPECT_EQ(cache.size(), 1U);
    EXPECT_EQ(cache.get("held", maker(3)).get(), held.get());
    // made again after being dropped
    EXPECT_EQ(*cache.get("dropped", maker(4)), 4);
    EXPECT_EQ(made, 3);
}

TEST_F(Counted_cache, LastHolderRunsTheDeleter) {
    auto held = cache.get("a", maker(7));
    cache.clear();
    EXPECT_TRUE(deleted.empty());
    held.reset();
    EXPECT_TRUE(deleted.empty()); // the cache still holds it
    cache.clear();
    EXPECT_EQ(deleted, std::vector<int>{7});
}

TEST_F(Counted_cache, ResetForgetsEveryEntry) {
    auto held = cache.get("held", maker(1));
    cache.get("dropped", maker(2));
    cache.reset();
    EXPECT_EQ(deleted, std::vector<int>{2});
    EXPECT_EQ(cache.size(), 0U);
    EXPECT_NE(cache.get("held", maker(3)).get(), held.get());
    held.reset();
    EXPECT_EQ(deleted, (std::vector<int>{2, 1}));
}

TEST_F(Counted_cache, UncachedHandlesCarryTheDeleter) {
    {
        auto single = cache.make_single_base(maker(5));
        EXPECT_EQ(cache.size(), 0U);
    }
    EXPECT_EQ(deleted, std::vector<int>{5});
}

} // namespace
} // namespace Orvane::Third_party
