#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Third_party/Gamepad.h>
#include <Orvane/Third_party/SDL_events.h>

namespace {

using Orvane::Event_value;
using Orvane::Gamepad_info;
using Orvane::Gamepad_labels;

struct Name_case {
    std::string name;
    Gamepad_labels labels;
    bool ok_down;
};

TEST(GamepadInfoTest, NameRulesGuessLabelStyleAndConfirmSide) {
    const std::vector<Name_case> cases = {
        {"Xbox Series X Controller", Gamepad_labels::XBOX, true},
        {"Steam Virtual Gamepad", Gamepad_labels::XBOX, true},
        {"Nintendo Switch Pro Controller", Gamepad_labels::NINTENDO, false},
        {"8BitDo SN30 Pro", Gamepad_labels::NINTENDO, false},
        // Only a name that starts with "Nintendo" counts.
        {"Pro Controller (Nintendo)", Gamepad_labels::NO_LABEL, true},
        {"PS4 Controller", Gamepad_labels::PLAYSTATION, true},
        {"PS5 Controller", Gamepad_labels::PLAYSTATION, true},
        {"Sony PlayStation 3 Controller", Gamepad_labels::PLAYSTATION, true},
        {"PS2 Adapter", Gamepad_labels::PLAYSTATION, true},
        {"PSX Pad", Gamepad_labels::PLAYSTATION, true},
        {"Generic USB Joystick", Gamepad_labels::NO_LABEL, true},
        {"", Gamepad_labels::NO_LABEL, true},
        // The first rule wins.
        {"Xbox pad with PS4 layout", Gamepad_labels::XBOX, true},
        {"Nintendo Steam Link", Gamepad_labels::XBOX, true},
        {"8BitDo PS4 mode", Gamepad_labels::NINTENDO, false},
        // Case-sensitive.
        {"XBOX 360 pad", Gamepad_labels::NO_LABEL, true},
        {"playstation pad", Gamepad_labels::NO_LABEL, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("name: \"" + c.name + "\"");
        const Gamepad_info info(1, 2, c.name);
        EXPECT_EQ(info.name, c.name);
        EXPECT_EQ(info.labels, c.labels);
        EXPECT_EQ(info.ok_down, c.ok_down);
    }
}

TEST(GamepadInfoTest, IdJoinsVendorAndProductInDecimal) {
    EXPECT_EQ(Gamepad_info(1118, 736, "Xbox One").id, "1118:736");
    EXPECT_EQ(Gamepad_info(0, 0, "Default controller").id, "0:0");
    EXPECT_EQ(Gamepad_info(65535, 65535, "x").id, "65535:65535");
}

TEST(GamepadInfoTest, DefaultControllerHasNoLabelsAndConfirmsDown) {
    const Gamepad_info info(0, 0, "Default controller");
    EXPECT_EQ(info.labels, Gamepad_labels::NO_LABEL);
    EXPECT_TRUE(info.ok_down);
}

TEST(GamepadInfoTest, SavedDescriptionKeepsSavedChoices) {
    // Neither the id nor the fixed name would give these choices.
    const Gamepad_info saved("1118:736", Gamepad_labels::PLAYSTATION, false);
    EXPECT_EQ(saved.id, "1118:736");
    EXPECT_EQ(saved.name, "Saved controller");
    EXPECT_EQ(saved.labels, Gamepad_labels::PLAYSTATION);
    EXPECT_FALSE(saved.ok_down);

    const Gamepad_info copy(saved);
    EXPECT_EQ(copy.id, saved.id);
    EXPECT_EQ(copy.name, saved.name);
    EXPECT_EQ(copy.labels, saved.labels);
    EXPECT_EQ(copy.ok_down, saved.ok_down);
}

struct Label_case {
    Gamepad_labels style;
    Event_value button;
    std::string label;
};

TEST(GamepadLabelTest, FaceButtonLabelsPerStyle) {
    using enum Event_value;
    const std::vector<Label_case> cases = {
        {Gamepad_labels::NINTENDO, NORTH, "X"},
        {Gamepad_labels::NINTENDO, EAST, "A"},
        {Gamepad_labels::NINTENDO, SOUTH, "B"},
        {Gamepad_labels::NINTENDO, WEST, "Y"},
        {Gamepad_labels::XBOX, NORTH, "Y"},
        {Gamepad_labels::XBOX, EAST, "B"},
        {Gamepad_labels::XBOX, SOUTH, "A"},
        {Gamepad_labels::XBOX, WEST, "X"},
        {Gamepad_labels::PLAYSTATION, NORTH, "Playstation_triangle"},
        {Gamepad_labels::PLAYSTATION, EAST, "Playstation_circle"},
        {Gamepad_labels::PLAYSTATION, SOUTH, "Playstation_cross"},
        {Gamepad_labels::PLAYSTATION, WEST, "Playstation_square"},
        {Gamepad_labels::NO_LABEL, NORTH, ""},
        {Gamepad_labels::NO_LABEL, SOUTH, ""},
        // Buttons without a label give an empty text in every style.
        {Gamepad_labels::XBOX, START, ""},
        {Gamepad_labels::NINTENDO, LEFT_SHOULDER, ""},
        {Gamepad_labels::PLAYSTATION, NONE, ""},
        {Gamepad_labels::PLAYSTATION, UP_ARROW, ""},
        // An unknown style number, as a hand-edited settings file may hold.
        {static_cast<Gamepad_labels>(7), SOUTH, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("style " + std::to_string(static_cast<int>(c.style)) + ", button " +
                     Orvane::to_string(c.button));
        const Gamepad_info info("1:1", c.style, true);
        EXPECT_EQ(Orvane::gamepad_label(info, c.button), c.label);
    }
}

} // namespace
