#include <gtest/gtest.h>

#include <Orvane/Assets/Bitmap_2.h>

namespace {

using Orvane::Bitmap_2;

TEST(Bitmap_2, SizeAndFill) {
    const Bitmap_2 full(10, 10, true);
    EXPECT_EQ(full.size(), 13u);
    EXPECT_EQ(full.width(), 10u);
    EXPECT_EQ(full.height(), 10u);
    for (std::size_t i = 0; i < full.size(); ++i)
        EXPECT_EQ(full.data()[i], 0xFF) << "byte " << i;

    const Bitmap_2 narrow(1, 10, false);
    EXPECT_EQ(narrow.size(), 2u);
    EXPECT_EQ(narrow.height(), 16u);
    EXPECT_EQ(narrow.data()[0], 0);
    EXPECT_EQ(Bitmap_2(8, 4, false).height(), 5u);
}

TEST(Bitmap_2, EmptyAndZeroWidthMasks) {
    const Bitmap_2 none;
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none.size(), 0u);
    EXPECT_EQ(none.height(), 0u);

    const Bitmap_2 zero(0, 5, true);
    EXPECT_FALSE(zero.empty());
    EXPECT_EQ(zero.size(), 1u);
    EXPECT_EQ(zero.height(), 0u);
}

TEST(Bitmap_2, BitsArePackedLeastSignificantFirst) {
    Bitmap_2 mask(10, 10, false);
    mask.set(3, 1, true);
    EXPECT_EQ(mask.data()[1], 1 << 5);
    EXPECT_TRUE(mask(3, 1));
    EXPECT_FALSE(mask(2, 1));
    mask.set(3, 1, false);
    EXPECT_EQ(mask.data()[1], 0);

    Bitmap_2 full(10, 10, true);
    full.set(9, 9, false);
    EXPECT_FALSE(full(9, 9));
    EXPECT_EQ(full.data()[12], 0xFF & ~(1 << 3));
}

} // namespace
