#include <initializer_list>
#include <unordered_map>

#include <Orvane/Third_party/Gamepad.h>
#include <Orvane/Third_party/SDL_events.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane {

namespace {

bool contains_any(const std::string& name, std::initializer_list<const char*> parts) {
    for (const char* part : parts)
        if (contains(name, part))
            return true;
    return false;
}

// Guesses the label style and the confirm side from the device name; the first matching rule
// wins, so a name with both "Xbox" and "PS4" is an Xbox-style controller.
void guess_style(const std::string& name, Gamepad_labels& labels, bool& ok_down) {
    if (contains_any(name, {"Xbox", "Steam"})) {
        labels = Gamepad_labels::XBOX;
        ok_down = true;
    } else if (startswith(name, "Nintendo") || startswith(name, "8BitDo")) {
        labels = Gamepad_labels::NINTENDO;
        ok_down = false;
    } else if (contains_any(name, {"PlayStation", "PS2", "PS3", "PS4", "PS5", "PSX"})) {
        labels = Gamepad_labels::PLAYSTATION;
        ok_down = true;
    } else {
        labels = Gamepad_labels::NO_LABEL;
        ok_down = true;
    }
}

using Label_table = std::unordered_map<Event_value, std::string>;

const Label_table* label_table(Gamepad_labels labels) {
    static const Label_table nintendo = {{Event_value::NORTH, "X"},
                                         {Event_value::EAST, "A"},
                                         {Event_value::SOUTH, "B"},
                                         {Event_value::WEST, "Y"}};
    static const Label_table xbox = {{Event_value::NORTH, "Y"},
                                     {Event_value::EAST, "B"},
                                     {Event_value::SOUTH, "A"},
                                     {Event_value::WEST, "X"}};
    static const Label_table playstation = {{Event_value::NORTH, "Playstation_triangle"},
                                            {Event_value::EAST, "Playstation_circle"},
                                            {Event_value::SOUTH, "Playstation_cross"},
                                            {Event_value::WEST, "Playstation_square"}};
    switch (labels) {
    case Gamepad_labels::NINTENDO:
        return &nintendo;
    case Gamepad_labels::XBOX:
        return &xbox;
    case Gamepad_labels::PLAYSTATION:
        return &playstation;
    default:
        return nullptr;
    }
}

} // namespace

Gamepad_info::Gamepad_info(unsigned short vendor, unsigned short product, const std::string& name_)
    : id(std::to_string(vendor) + ":" + std::to_string(product)), name(name_),
      labels(Gamepad_labels::NO_LABEL), ok_down(true) {
    guess_style(name, labels, ok_down);
}

Gamepad_info::Gamepad_info(const std::string& id_, const Gamepad_labels& labels_,
                           const bool& ok_down_)
    : id(id_), name("Saved controller"), labels(labels_), ok_down(ok_down_) {}

std::string gamepad_label(const Gamepad_info& info, const Event_value& button) {
    const Label_table* table = label_table(info.labels);
    if (table == nullptr)
        return "";
    // Only the four face buttons have labels.
    const auto found = table->find(button);
    return found != table->end() ? found->second : "";
}

} // namespace Orvane
