#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeinfo>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Control.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::System {

namespace {

using Text = Component::Simple<std::string>;
using Names = Component::Vector<std::string>;

// Below this line the whole bottom edge opens the inventory bar.
constexpr double strip_line = 1070;
// Height of the inventory's tab (times the interface scale), and of the touch strip.
constexpr double tab_height = 50;

// An object's label is named "<object>_label...": the part before it names the object.
std::string_view object_of_label(std::string_view e) {
    const std::size_t label = e.find("_label");
    return label == std::string_view::npos ? e : e.substr(0, label);
}

// The image a stored component is or selects, without taking a share of it: the walk over
// every image of the room stays free of reference counting.
const Component::Image* image_of(const std::shared_ptr<Component::Base>& c) {
    const Component::Base& object = *c;
    if (typeid(object) == typeid(Component::Image))
        return static_cast<const Component::Image*>(&object);
    // other kinds and conditionals: the component selected lives on in the store meanwhile
    return Component::cast<Component::Image>(c).get();
}

// The position of an entity's image (fatal when there is none), looked up without the cost of
// a general cast for the common absolute position.
const Component::Position& position_of(const Content& content, const std::string& entity) {
    auto c = content.request<Component::Base>(entity, "position");
    if (c) {
        const Component::Base& object = *c;
        if (typeid(object) == typeid(Component::Absolute_position))
            return static_cast<const Component::Absolute_position&>(object);
    }
    // the store keeps it while the hit test reads it
    return *content.get<Component::Position>(entity, "position");
}

/// The pointer's pixel within the box an image is drawn in, and the drawn scale.
struct Box_pixel {
    int dx;
    int dy;
    double scale;
};

/// Where the screen point falls in the box `image` is drawn in, or nothing outside it. The box
/// is the render list's: the entity's position through the camera and the zoom for a room
/// position, unchanged for an interface one.
std::optional<Box_pixel> pixel_in_box(const Content& content, const Point& pointer,
                                      const Component::Image& image, const View& view) {
    const Component::Position& position = position_of(content, image.entity());
    const auto [top_left, drawn_scale] =
        view.place(position.value(), image.origin(), image.scale(), position.is_interface());
    const int w = image.width();
    const int h = image.height();
    // far from the box: no rounding needed to tell
    if (pointer.x() < top_left.x() - 1 || pointer.y() < top_left.y() - 1 ||
        pointer.x() > top_left.x() + drawn_scale * w + 1 ||
        pointer.y() > top_left.y() + drawn_scale * h + 1)
        return std::nullopt;
    const int dx = round(pointer.x()) - round(top_left.x());
    const int dy = round(pointer.y()) - round(top_left.y());
    if (dx < 0 || dy < 0 || dx >= int(drawn_scale * w) || dy >= int(drawn_scale * h))
        return std::nullopt;
    return Box_pixel{dx, dy, drawn_scale};
}

} // namespace

bool Control::in_drawn_box(const Point& pointer, const Component::Image& image,
                           const View& view) const {
    return pixel_in_box(m_content, pointer, image, view).has_value();
}

bool Control::collides(const Point& pointer, const Component::Image& image,
                       const View& view) const {
    const auto hit = pixel_in_box(m_content, pointer, image, view);
    if (!hit)
        return false;
    if (image.collision() != Component::Collision_type::PIXEL_PERFECT)
        return true;
    // the mask holds the picture's own pixels: the offset in the drawn box shrinks back by the
    // drawn scale, and stays within the shown part of the picture
    const int mx = std::clamp(int(std::floor(hit->dx / hit->scale)), 0, image.width() - 1);
    const int my = std::clamp(int(std::floor(hit->dy / hit->scale)), 0, image.height() - 1);
    return image.is_target_inside(image.xmin() + mx, image.ymin() + my);
}

bool Control::collides(const std::shared_ptr<Component::Position>& position,
                       const std::shared_ptr<Component::Image>& image) {
    return collides(position->value(), *image, camera_view(m_content));
}

std::string Control::first_collision(const std::shared_ptr<Component::Position>& position,
                                     const Image_filter& accept) {
    const View view = camera_view(m_content);
    const Point pointer = position->value();
    const Component::Image* best = nullptr;
    for (const auto& [key, c] : components("image")) {
        const Component::Image* image = image_of(c);
        if (!image)
            continue;
        // only a strictly lower depth is passed over: of equal depths the later one wins
        if (best && image->z() < best->z())
            continue;
        if (!image->on() || image->collision() == Component::Collision_type::UNCLICKABLE)
            continue;
        if (collides(pointer, *image, view) && accept(Component::cast<Component::Image>(c)))
            best = image;
    }
    return best ? best->entity() : std::string();
}

void Control::idle_mouse() {
    auto cursor = pointer();
    const Point p = cursor->value();
    const double scale = Config::interface_scale;

    bool in_strip = p.y() > strip_line;
    if (!in_strip && p.y() > Config::world_height - tab_height * scale) {
        // the tab as drawn: it is built at the interface scale already
        auto tab = m_content.get<Component::Image>(Key::inventory_label_background_image);
        in_strip = p.x() < tab->width() * tab->scale();
    }
    if (in_strip) {
        if (receive(Key::cursor_clicked))
            emit(Key::cancel_action);
        status()->push(Orvane::Status::IN_INVENTORY);
        return;
    }

    const bool holding = m_content.request<Component::Base>(Key::interface_source_object) != nullptr;
    const std::string id = first_collision(cursor, [&](std::shared_ptr<Component::Image> image) {
        const std::string& e = image->entity();
        if (!m_content.request<Text>(e, "name") || signal(e, "no_interact"))
            return false;
        auto state = m_content.request<Text>(e, "state");
        if (state && std::string_view(state->value()).starts_with("inventory"))
            return false;
        // while an item is held, what leads elsewhere is not offered
        return !holding || !m_content.request<Component::Boolean>(Key::go_to(e), "right");
    });
    hover(Key::interface_active_object, id);

    if (receive(Key::cursor_clicked))
        idle_sub_click(id);
}

void Control::idle_touchscreen() {
    if (signal(Key::cursor_clicked))
        remove(Key::player_not_moved_yet, true);

    idle_sub_update_active_objects();

    if (!receive(Key::cursor_clicked))
        return;
    auto cursor = pointer();
    if (cursor->value().y() > Config::world_height - tab_height) {
        status()->push(Orvane::Status::IN_INVENTORY);
        return;
    }

    std::string id;
    if (auto listed = m_content.request<Names>(Key::interface_active_objects)) {
        const std::vector<std::string>& names = listed->value();
        id = first_collision(cursor, [&](std::shared_ptr<Component::Image> image) {
            const std::string_view object = object_of_label(image->entity());
            return m_content.request<Text>(object, "name") &&
                   std::find(names.begin(), names.end(), object) != names.end();
        });
    }
    // a touch on an object's label acts on the object
    id = std::string(object_of_label(id));
    if (!id.empty())
        set<Text>(Key::interface_active_object, id);
    idle_sub_click(id);
}

void Control::idle_sub_click(const std::string& id) {
    emit(Key::cancel_action);
    auto source = m_content.request<Text>(Key::interface_source_object);

    if (id.empty()) {
        // on the ground: a held item is put back, else the click is the order to walk there
        if (source)
            remove(source);
        else
            emit(Key::cursor_clicked);
        return;
    }

    if (source) {
        set<Text>(Key::click_target, id);
        set_action(id + "_inventory_" + source->value(), "Default_inventory");
        emit(Key::click_play_sound);
        remove(source);
    } else {
        if (m_content.request<Component::Boolean>(Key::go_to(id), "right")) {
            set_action(Key::go_to(id), "Default_goto");
        } else {
            set<Text>(Key::interface_action_choice_target, id);
            status()->push(Orvane::Status::ACTION);
        }
        emit(Key::click_play_sound);
    }
    remove(Key::interface_active_object, true);
}

void Control::hover(const Store_key& key, const std::string& id) {
    if (id.empty()) {
        remove(key, true);
        return;
    }
    // hovering the same thing frame after frame writes nothing
    auto current = m_content.request<Text>(key);
    if (!current || current->value() != id)
        set<Text>(key, id);
}

} // namespace Orvane::System
