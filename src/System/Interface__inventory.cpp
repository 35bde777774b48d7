#include <cstddef>
#include <memory>
#include <string>

#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Interface.h>
#include <Orvane/Utils/error.h>

namespace Orvane::System {

namespace {

using Component::GUI_position_animation;
using Component::Image;
using Component::Position;
using Slot = Fast_access_component;

/// The slides of the bar's origin and of the selector anchor.
constexpr Store_key bar_slide{"Inventory", "animation"};
constexpr Store_key selector_slide{"Gamepad_action_selector", "animation"};
/// Seconds a slide of the bar or of the selector anchor takes.
constexpr double slide_seconds = 0.25;
/// Top of the bar when it is open: the view less the bar.
constexpr double open_y = Config::world_height - Config::inventory_height;

/// Slides `position` to `target`: a running slide turns towards the new target (it keeps its
/// start and its interval), otherwise a new one starts at t. Nothing happens when the position
/// already has the target's height.
void slide(Content& content, const Store_key& animation, const std::shared_ptr<Position>& position,
           const Point& target, double t) {
    if (position->value().y() == target.y())
        return;
    if (auto running = content.request<GUI_position_animation>(animation))
        running->update(target);
    else
        content.set<GUI_position_animation>(animation, t, t + slide_seconds, position, target);
}

/// x of the bar's slot `slot` (0 to 8) from the bar's left edge: nine slots from 272 to 1648.
double slot_x(std::size_t slot) { return int(double(slot + 1) / 10 * 1720) + 100; }

} // namespace

void Interface::update_inventory() {
    auto game_status = status();
    ORVANE_CHECK(game_status, "Cannot find Game:status");
    // the bar and its items stay as they are under a menu
    if (game_status->is(Status::IN_MENU))
        return;

    const double s = Config::interface_scale;
    const double t = m_content.value<Component::Simple<double>>(Slot::CLOCK_TIME);
    const Input_mode mode =
        m_content.value<Component::Simple<Input_mode>>(Slot::INTERFACE_INPUT_MODE);
    auto origin = m_content.get<Position>(Key::inventory_origin);
    auto inventory = m_content.get<Component::Inventory>(Key::game_inventory);
    const std::string active =
        m_content.value<Component::Simple<std::string>>(Key::interface_active_object, "");
    const std::string source =
        m_content.value<Component::Simple<std::string>>(Key::interface_source_object, "");
    auto selector = m_content.get<Position>(Key::gamepad_action_selector_position);

    double bar_y = 0;
    double selector_y = selector->value().y();
    if (game_status->is(Status::IN_INVENTORY, Status::OBJECT, Status::INVENTORY_ACTION)) {
        bar_y = open_y;
        if (m_content.request<Image>(active + "_label_back", "image")) {
            selector_y = open_y - 120 * s;
            // the selector's labels hang on the anchor: tried at the new height, then put back
            const Point before = selector->value();
            selector->set(Point(before.x(), selector_y));
            const std::string label = active + "_label";
            bool overlap = false;
            if (game_status->is(Status::IN_INVENTORY))
                overlap = labels_intersect(label, active + "_Cancel_label");
            if (!overlap && game_status->is(Status::OBJECT))
                overlap = labels_intersect(label, "oknotok_Cancel_label");
            selector->set(before);
            if (overlap)
                selector_y -= 75 * s;
        }
    } else if (mode == Input_mode::GAMEPAD) {
        bar_y = Config::world_height + 50 * s; // bar and tab below the view
        selector_y = bar_y - 180 * s;
    } else if (game_status->is(Status::IDLE)) {
        bar_y = Config::world_height; // only the tab shows, along the bottom edge
        selector_y = bar_y - 180 * s;
    } else {
        bar_y = Config::world_height + 50 * s;
        selector_y = bar_y - 180 * s;
    }

    slide(m_content, bar_slide, origin, Point(0, bar_y), t);
    slide(m_content, selector_slide, selector, Point(Config::world_width - 260 * s, selector_y), t);

    const std::size_t first = inventory->position();
    const std::size_t size = inventory->size();
    for (std::size_t i = 0; i < size; ++i) {
        const std::string& item = inventory->data()[i];
        auto image = m_content.get<Image>(item, "image");
        if (i < first || i >= first + Component::Inventory::shown_items) {
            image->on() = false;
            continue;
        }
        double scale = 0.7;
        unsigned char highlight = 0;
        unsigned char alpha = 255;
        if (item == active) {
            scale = 0.9;
            highlight = 255;
        }
        if (item == source) { // the item in use: small and dimmed
            scale = 0.5;
            alpha = 128;
            highlight = 0;
        }
        image->on() = true;
        image->set_scale(scale);
        image->set_alpha(alpha);
        image->set_highlight(highlight);
        m_content.set<Component::Relative_position>(item, "position", origin,
                                                    Vector(slot_x(i - first), 75));
    }

    m_content.get<Image>(Key::left_arrow_image)->on() = first != 0;
    m_content.get<Image>(Key::right_arrow_image)->on() =
        size > first + Component::Inventory::shown_items;
}

} // namespace Orvane::System
