#pragma once

#include <string>

namespace Orvane {

enum class Event_value : int; // defined with the input events (Third_party/SDL_events.h)

/// Style of the labels printed on a controller's four face buttons; stored as its number
/// under the settings key "labels".
enum class Gamepad_labels : int {
    NO_LABEL = 0,    ///< no known style: every label is empty
    NINTENDO = 1,    ///< letters, A on the right and B at the bottom
    XBOX = 2,        ///< letters, A at the bottom and B on the right
    PLAYSTATION = 3, ///< the four PlayStation symbols
};

/// Description of a game controller: the model's identifier (vendor and product numbers in
/// decimal joined by ":", settings key "id"), the device name, the label style of its face
/// buttons (settings key "labels") and whether the bottom face button confirms while the right
/// one cancels (settings key "ok_down"). Copied freely.
struct Gamepad_info {
    std::string id;
    std::string name;
    Gamepad_labels labels;
    bool ok_down;

    /// A connected device: the id comes from the vendor and product numbers, the label style
    /// and the confirm side are guessed from the name.
    Gamepad_info(unsigned short vendor, unsigned short product, const std::string& name);
    /// A controller read back from the settings file: the saved choices are kept as they are
    /// and the name is "Saved controller".
    Gamepad_info(const std::string& id, const Gamepad_labels& labels, const bool& ok_down);
    Gamepad_info(const Gamepad_info& other) = default;
    Gamepad_info& operator=(const Gamepad_info& other) = default;
};

/// Text shown for a face button (NORTH, EAST, SOUTH or WEST) in the controller's label style:
/// a letter, or the name of a PlayStation symbol ("Playstation_cross"...). Empty for a
/// controller without a label style and for any button that is not a face button.
std::string gamepad_label(const Gamepad_info& info, const Event_value& button);

} // namespace Orvane
