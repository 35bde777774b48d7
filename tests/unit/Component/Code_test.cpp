#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Code.h>

namespace {

using Orvane::Component::Code;

struct Rect {
    std::string value;
    int x, y, w, h;
};

Code make_lock(const std::vector<Rect>& buttons, const std::vector<std::string>& answer = {}) {
    Code code("Safe", "code");
    for (const Rect& b : buttons)
        code.add_button(b.value, b.x, b.y, b.w, b.h);
    for (const std::string& a : answer)
        code.add_answer_item(a);
    return code;
}

// Two overlapping 50 x 50 buttons and one apart.
const std::vector<Rect> panel = {{"1", 0, 0, 50, 50}, {"2", 40, 40, 50, 50}, {"3", 200, 0, 20, 20}};

TEST(Code, NewLockIsEmpty) {
    Code code("Safe", "code");
    EXPECT_EQ(code.str_name(), "Code");
    EXPECT_TRUE(code.buttons().empty());
    EXPECT_TRUE(code.answer().empty());
    EXPECT_TRUE(code.entered().empty());
    EXPECT_EQ(code.hovered(), -1);
    // Both sequences empty: the empty answer is spelled.
    EXPECT_TRUE(code.success());
    EXPECT_FALSE(code.failure());
}

TEST(Code, AddedButtonsKeepTheirOrderAndStartInCellZero) {
    Code code = make_lock(panel, {"3", "1"});
    ASSERT_EQ(code.buttons().size(), 3u);
    EXPECT_EQ(code.buttons()[1].value, "2");
    EXPECT_EQ(code.buttons()[1].x, 40);
    EXPECT_EQ(code.buttons()[1].h, 50);
    EXPECT_EQ(code.buttons()[2].column, 0u);
    EXPECT_EQ(code.buttons()[2].row, 0u);
    EXPECT_EQ(code.answer(), (std::vector<std::string>{"3", "1"}));
}

struct Hover_case {
    const char* name;
    bool with_buttons;
    int start_hovered_x, start_hovered_y; // a hover done first (-2: none)
    int x, y;
    bool result;
    std::int64_t hovered;
};

TEST(Code, HoverTable) {
    const Hover_case cases[] = {
        {"(-1,-1) hovers the first button", true, -2, -2, -1, -1, true, 0},
        {"(-1,-1) without buttons hovers nothing", false, -2, -2, -1, -1, false, -1},
        {"(-1,5) is an ordinary position test", true, -2, -2, -1, 5, false, -1},
        {"inside", true, -2, -2, 10, 10, true, 0},
        {"top-left corner counts", true, -2, -2, 200, 0, true, 2},
        {"right and bottom edges count", true, -2, -2, 220, 20, true, 2},
        {"one beyond the right edge", true, -2, -2, 221, 10, false, -1},
        {"one beyond the bottom edge", true, -2, -2, 210, 21, false, -1},
        {"overlap: the earlier button wins", true, -2, -2, 45, 45, true, 0},
        {"only the later button", true, -2, -2, 80, 80, true, 1},
        {"a miss clears the earlier hover", true, 10, 10, 500, 500, false, -1},
        {"point without buttons", false, -2, -2, 10, 10, false, -1},
    };
    for (const Hover_case& c : cases) {
        SCOPED_TRACE(c.name);
        Code code = make_lock(c.with_buttons ? panel : std::vector<Rect>{});
        if (c.start_hovered_x != -2)
            code.hover(c.start_hovered_x, c.start_hovered_y);
        EXPECT_EQ(code.hover(c.x, c.y), c.result);
        EXPECT_EQ(code.hovered(), c.hovered);
    }
}

struct Click_case {
    const char* name;
    int hover_x, hover_y; // a hover done first (-2: none)
    int x, y;
    bool result;
    std::vector<std::int64_t> entered;
    std::int64_t hovered;
};

TEST(Code, ClickTable) {
    const Click_case cases[] = {
        {"press a button", -2, -2, 210, 5, true, {2}, 2},
        {"overlap: the earlier button is pressed", -2, -2, 45, 45, true, {0}, 0},
        {"outside every button", 210, 5, 500, 500, false, {}, -1},
        {"controller press of the hovered button", 80, 80, -1, 200, true, {1}, 1},
        {"x = -1 alone is a controller press", 210, 5, -1, 5, true, {2}, 2},
        {"y = -1 alone is a controller press", 210, 5, 3, -1, true, {2}, 2},
        {"controller press with nothing hovered", -2, -2, -1, -1, false, {}, -1},
        {"controller press after a missed hover", 500, 500, -1, 200, false, {}, -1},
    };
    for (const Click_case& c : cases) {
        SCOPED_TRACE(c.name);
        Code code = make_lock(panel);
        if (c.hover_x != -2)
            code.hover(c.hover_x, c.hover_y);
        EXPECT_EQ(code.click(c.x, c.y), c.result);
        EXPECT_EQ(code.entered(), c.entered);
        EXPECT_EQ(code.hovered(), c.hovered);
    }
}

TEST(Code, ControllerPressOnLockWithoutButtonsPressesNothing) {
    Code code("Safe", "code");
    EXPECT_FALSE(code.hover(-1, -1));
    EXPECT_FALSE(code.click(-1, -1));
    EXPECT_TRUE(code.entered().empty());
}

TEST(Code, SuccessAndFailureFollowTheEnteredSequence) {
    // Buttons valued 1 to 4 side by side, answer 1 2 3.
    Code code = make_lock(
        {{"1", 0, 0, 10, 10}, {"2", 20, 0, 10, 10}, {"3", 40, 0, 10, 10}, {"4", 60, 0, 10, 10}},
        {"1", "2", "3"});
    struct Step {
        int x;
        bool success, failure;
    };
    const Step wrong[] = {{5, false, false}, {25, false, false}, {65, false, true}};
    for (const Step& s : wrong) {
        SCOPED_TRACE(s.x);
        ASSERT_TRUE(code.click(s.x, 5));
        EXPECT_EQ(code.success(), s.success);
        EXPECT_EQ(code.failure(), s.failure);
    }
    code.reset();
    EXPECT_TRUE(code.entered().empty());
    EXPECT_FALSE(code.success());
    EXPECT_FALSE(code.failure());
    EXPECT_EQ(code.buttons().size(), 4u);
    EXPECT_EQ(code.answer().size(), 3u);
    EXPECT_EQ(code.hovered(), 3) << "reset keeps the hovered button";

    for (int x : {5, 25, 45})
        code.click(x, 5);
    EXPECT_TRUE(code.success());
    EXPECT_FALSE(code.failure());

    code.click(5, 5);
    EXPECT_FALSE(code.success()) << "one press too many";
    EXPECT_FALSE(code.failure()) << "lengths differ";
}

TEST(Code, HoveredRectangle) {
    Code code = make_lock(panel);
    code.hover(80, 80);
    EXPECT_EQ(code.xmin(), 40);
    EXPECT_EQ(code.xmax(), 90);
    EXPECT_EQ(code.ymin(), 40);
    EXPECT_EQ(code.ymax(), 90);

    code.hover(500, 500);
    EXPECT_EQ(code.xmin(), 0) << "nothing hovered";
    EXPECT_EQ(code.xmax(), 0);
    EXPECT_EQ(code.ymin(), 0);
    EXPECT_EQ(code.ymax(), 0);
}

struct Move_case {
    const char* name;
    std::int64_t from;
    double dx, dy;
    std::int64_t to;
};

// Four buttons at (0,0), (100,0), (0,100), (100,100): a 2 x 2 grid.
const std::vector<Rect> square = {
    {"a", 0, 0, 50, 50}, {"b", 100, 0, 50, 50}, {"c", 0, 100, 50, 50}, {"d", 100, 100, 50, 50}};

TEST(Code, MoveOnFullGrid) {
    const Move_case cases[] = {
        {"right", 0, 1, 0, 1},
        {"diagonal down right", 0, 0.7, 0.7, 3},
        {"diagonal up right drops the upward part at row 0", 0, 0.7, -0.7, 1},
        {"left at column 0 stays", 0, -1, 0, 0},
        {"down", 0, 0, 1, 2},
        {"up", 2, 0, -1, 0},
        {"left", 3, -1, 0, 2},
        {"diagonal up left", 3, -0.7, -0.7, 0},
        {"diagonal left with dy = 0 goes up", 3, -0.5, 0, 0},
        {"right at the last column stays", 1, 1, 0, 1},
        {"down at the last row stays", 3, 0, 1, 3},
        {"dx = 0.9 is diagonal, not right", 0, 0.9, 0.5, 3},
        {"dx = 0.4 makes no step", 0, 0.4, 0.5, 0},
        {"dy = 0.9 alone makes no step", 0, 0, 0.9, 0},
        {"dx wins over dy", 0, 1, 1, 1},
        {"dead zone", 3, 0.1, -0.1, 3},
    };
    for (const Move_case& c : cases) {
        SCOPED_TRACE(c.name);
        Code code = make_lock(square);
        code.hover(square[static_cast<std::size_t>(c.from)].x + 1,
                   square[static_cast<std::size_t>(c.from)].y + 1);
        ASSERT_EQ(code.hovered(), c.from);
        code.move(c.dx, c.dy);
        EXPECT_EQ(code.hovered(), c.to);
    }
}

TEST(Code, GridIsBuiltFromDistinctCoordinates) {
    // Out of order, with a second button on the cell of the first.
    Code code = make_lock({{"x", 300, 50, 10, 10},
                           {"y", 0, 50, 10, 10},
                           {"z", 300, 0, 10, 10},
                           {"w", 300, 50, 5, 5}});
    code.hover(-1, -1);
    code.move(0, 0);
    const auto& b = code.buttons();
    EXPECT_EQ(b[0].column, 1u);
    EXPECT_EQ(b[0].row, 1u);
    EXPECT_EQ(b[1].column, 0u);
    EXPECT_EQ(b[1].row, 1u);
    EXPECT_EQ(b[2].column, 1u);
    EXPECT_EQ(b[2].row, 0u);
    // From y, moving right lands on the cell's later button.
    code.hover(1, 51);
    code.move(1, 0);
    EXPECT_EQ(code.hovered(), 3);
}

TEST(Code, MoveOntoAnEmptyCellStays) {
    // Row 1 lacks its right button.
    Code code = make_lock({{"a", 0, 0, 10, 10}, {"b", 100, 0, 10, 10}, {"c", 0, 100, 10, 10}});
    code.hover(1, 101);
    code.move(1, 0);
    EXPECT_EQ(code.hovered(), 2);
    // From b, down is empty too: no skipping over.
    code.hover(101, 1);
    code.move(0, 1);
    EXPECT_EQ(code.hovered(), 1);
}

TEST(Code, GridIsNotRebuiltForLaterButtons) {
    Code code = make_lock({{"a", 0, 0, 10, 10}});
    code.hover(-1, -1);
    code.move(1, 0);
    code.add_button("b", 100, 0, 10, 10);
    code.move(1, 0);
    EXPECT_EQ(code.hovered(), 0);
}

TEST(Code, MoveWithNothingHoveredDoesNothing) {
    Code empty("Safe", "code");
    empty.move(1, 0);
    EXPECT_EQ(empty.hovered(), -1);

    Code code = make_lock(square);
    code.move(1, 0);
    EXPECT_EQ(code.hovered(), -1);
    code.hover(-1, -1);
    code.move(1, 0);
    EXPECT_EQ(code.hovered(), 1) << "the grid is still built on the first move with a hover";
}

TEST(Code, NegativeCoordinatesBuildAGrid) {
    Code code = make_lock({{"a", -50, -50, 10, 10}, {"b", 0, -50, 10, 10}});
    code.hover(-45, -45);
    code.move(1, 0);
    EXPECT_EQ(code.hovered(), 1);
}

} // namespace
