#include <gtest/gtest.h>

#include <Orvane/Assets/Splitter.h>

namespace {

using Orvane::Splitter;

TEST(Splitter, NumberOfTilesAlongAnAxis) {
    const std::pair<unsigned int, unsigned int> cases[] = {{0, 1},    {1, 1},    {511, 1}, {512, 2},
                                                           {1023, 2}, {1024, 3}, {1920, 4}};
    for (const auto& [size, tiles] : cases) {
        SCOPED_TRACE("size " + std::to_string(size));
        EXPECT_EQ(Splitter::nb_sub(size), tiles);
    }
}

struct Columns_case {
    unsigned int width;
    std::vector<unsigned int> widths;
};

TEST(Splitter, ColumnsTakeTheEvenSharePlusOneAndTheLastTheRemainder) {
    const Columns_case cases[] = {{0, {0}},
                                  {511, {511}},
                                  {512, {257, 255}},
                                  {1024, {342, 342, 340}},
                                  {1920, {481, 481, 481, 477}}};
    for (const auto& [width, widths] : cases) {
        SCOPED_TRACE("width " + std::to_string(width));
        ASSERT_EQ(Splitter::nb_sub(width), widths.size());
        unsigned int origin = 0;
        for (unsigned int x = 0; x < widths.size(); ++x) {
            const Splitter::Rect rect = Splitter::rect(width, 10, x, 0);
            EXPECT_EQ(rect.x, origin) << "column " << x;
            EXPECT_EQ(rect.w, widths[x]) << "column " << x;
            origin += rect.w;
        }
        EXPECT_EQ(origin, width);
    }
}

TEST(Splitter, RowsFollowTheSameRule) {
    EXPECT_EQ(Splitter::rect(100, 1080, 0, 2), (Splitter::Rect{0, 722, 100, 358}));
    EXPECT_EQ(Splitter::rect(1920, 1080, 3, 1), (Splitter::Rect{1443, 361, 477, 361}));
}

} // namespace
